#include "playback/mplayer.h"

#include <QListWidget>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "playback/engine_settings.h"
#include "playback/frm_movie.h"
#include "engine/media_engine.h"
#include "playlist/frm_playlist.h"

void PlaySelected(App &app)
{
    frmPlayList *list = app.playList();
    if (!list)
        return;
    // Focus only takes while the playlist window is shown.
    if (list->isVisible())
        list->LstPlay->setFocus();
    const QString text = list->selectedText();
    if (text.isEmpty())
        return;
    app.CurrentFile = text;
    if (FrmSolvane *main = app.Solvane())
        main->setCaption(app.CurrentFile);
    if (!app.movie())
        return;
    ShowVideoWindow(app, text);
    if (MediaEngine *mp = app.Mp()) {
        // Activation may come late or never (a window manager that refuses
        // the focus): the settings must be in the engine before its first sample.
        applySettings(*mp, app.settings);
        mp->set(Disp::FileName, text);
        mp->call(Disp::Play);
    }
    // The time of the file before must not stay up until the next tick.
    if (FrmSolvane *main = app.Solvane())
        main->TCount_Timer();
}

void ShowVideoWindow(App &app, const QString &path)
{
    frmMovie *movie = app.movie();
    if (!movie)
        return;
    // Already up: the keyboard stays where the user left it, in the playlist
    // or elsewhere; only a window that must come up takes it.
    if (movie->isVisible() && !movie->isMinimized()) {
        movie->setWindowTitle(path);
        movie->raise();
        return;
    }
    movie->hide();
    movie->setWindowTitle(path);
    movie->show();
    movie->raise();
    movie->activateWindow();
}
