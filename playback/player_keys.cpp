#include "playback/player_keys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextEdit>
#include <algorithm>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "dialogs/help.h"
#include "engine/media_engine.h"
#include "platform/form.h"
#include "playback/engine_settings.h"
#include "playback/frm_movie.h"
#include "playlist/frm_playlist.h"


namespace {
constexpr double kSeekSeconds = 5;
constexpr int kVolumeStep = 100;  // 1 dB of the dialog's -20 to 0 dB
constexpr int kQuietest = -2000;

bool typingInTextBox()
{
    const QWidget *w = QApplication::focusWidget();
    return qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
           || qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w);
}

std::optional<double> seconds(MediaEngine *mp, Disp id)
{
    const auto v = mp ? mp->get(id) : std::nullopt;
    bool ok = false;
    const double d = v ? v->toDouble(&ok) : 0;
    return ok ? std::optional<double>(d) : std::nullopt;
}

void pauseOrResume(App &a)
{
    MediaEngine *mp = a.Mp();
    const auto state = mp ? mp->get(Disp::PlayState) : std::nullopt;
    const int now = state ? state->toInt() : mpClosed;
    if (now == mpPlaying) {
        mp->call(Disp::Pause);
    } else if (now == mpPaused) {
        mp->call(Disp::Play);
    } else if (frmPlayList *list = a.playList(); list && list->ListCount() > 0) {
        a.Solvane()->imgPlay_Click();
    }
}

void seek(App &a, double by)
{
    MediaEngine *mp = a.Mp();
    const auto position = seconds(mp, Disp::CurrentPosition);
    const auto duration = seconds(mp, Disp::Duration);
    if (!position || !duration || *position < 0 || *duration <= 0)
        return;
    mp->set(Disp::CurrentPosition, std::clamp(*position + by, 0.0, *duration));
}

// The same sound as the dialog's: kept in the settings, shown by an open
// dialog (whose apply would otherwise put the old level back).
void changeVolume(App &a, int by)
{
    setSound(a, qint16(std::clamp(a.settings.CfgVolume + by, kQuietest, 0)), a.settings.CfgMute != 0);
}

void toggleMute(App &a) { setSound(a, a.settings.CfgVolume, a.settings.CfgMute == 0); }

void fullScreen(App &a)
{
    // Only a window in view goes full screen.
    auto *movie = static_cast<frmMovie *>(a.forms.loaded(FormId::frmMovie));
    if (movie && movie->isVisible())
        movie->toggleFullScreen();
}
}  // namespace

void installPlayerKeys(Form *window)
{
    App &a = window->app();
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {Qt::Key_Space, [&a] { pauseOrResume(a); }},
        {Qt::Key_F1, [&a] { showHelp(a); }},
        {Qt::Key_F11, [&a] { fullScreen(a); }},
        {Qt::Key_F, [&a] { fullScreen(a); }},
        {Qt::Key_Left, [&a] { seek(a, -kSeekSeconds); }},
        {Qt::Key_Right, [&a] { seek(a, kSeekSeconds); }},
        {Qt::Key_Up, [&a] { changeVolume(a, kVolumeStep); }},
        {Qt::Key_Down, [&a] { changeVolume(a, -kVolumeStep); }},
        {Qt::Key_M, [&a] { toggleMute(a); }},
    };
    for (const auto &[key, act] : keys) {
        auto *shortcut = new QShortcut(key, window);
        QObject::connect(shortcut, &QShortcut::activated, window, [act] {
            if (!typingInTextBox())
                act();
        });
    }
}
