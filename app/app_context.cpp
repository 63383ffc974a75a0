#include "app/app_context.h"

#include <QGuiApplication>
#include <QIcon>

#include "app/frm_solvane.h"
#include "dialogs/frm_apropos.h"
#include "dialogs/frm_conf.h"
#include "playback/frm_movie.h"
#include "engine/mpv_engine.h"
#include "playlist/frm_playlist.h"
#include "platform/file_drop.h"

static void initResources()
{
    // The pictures live in a static library: register them by hand.
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(playlist);
    Q_INIT_RESOURCE(toolbar);
}

App::App(EngineFactory engineFactory) : engineFactory_(std::move(engineFactory))
{
    initResources();
    // Every window shows the program's icon, not the generic one.
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/skin/icon.svg")));
    forms.setFactory(FormId::Solvane, [this] { return acceptFileDrops(new FrmSolvane(*this)); });
    forms.setFactory(FormId::frmMovie, [this] { return acceptFileDrops(new frmMovie(*this)); });
    forms.setFactory(FormId::frmPlayList, [this] { return new frmPlayList(*this); });
    forms.setFactory(FormId::FrmConf, [this] { return new FrmConf(*this); });
    forms.setFactory(FormId::FrmApropos, [this] { return new FrmApropos(*this); });
}

App::~App() { forms.destroyAll(); }

Form *App::acceptFileDrops(Form *form)
{
    // Files dropped on the main or the video window go where a drop on the
    // playlist window goes.
    ::acceptFileDrops(form, [this](const QStringList &files) {
        if (frmPlayList *list = playList())
            list->dropFiles(files);
    });
    return form;
}

MediaEngine *App::createEngine(QWidget *parent)
{
    MediaEngine *engine = engineFactory_ ? engineFactory_(parent) : new MpvEngine(parent);
    emit engineCreated(engine);
    return engine;
}

FrmSolvane *App::Solvane() { return static_cast<FrmSolvane *>(forms.get(FormId::Solvane)); }
frmMovie *App::movie() { return static_cast<frmMovie *>(forms.get(FormId::frmMovie)); }
frmPlayList *App::playList() { return static_cast<frmPlayList *>(forms.get(FormId::frmPlayList)); }

MediaEngine *App::Mp()
{
    frmMovie *m = movie();
    return m ? m->Mp() : nullptr;
}

void App::endProgram()
{
    if (ended_)
        return;
    ended_ = true;
    emit programEnded();
}
