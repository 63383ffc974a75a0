#pragma once
#include <QObject>
#include <QStringList>
#include <functional>

#include "app/settings.h"
#include "platform/form_registry.h"
#include "platform/user_store.h"

class QWidget;
class Form;
class MediaEngine;
class FrmSolvane;
class frmMovie;
class frmPlayList;

// The state the windows share for the whole run, and the registry of the
// windows. main() makes one; each test makes its own with a recording engine.
class App : public QObject
{
    Q_OBJECT
public:
    using EngineFactory = std::function<MediaEngine *(QWidget *parent)>;

    // `engineFactory` empty: the libmpv engine.
    explicit App(EngineFactory engineFactory = {});
    ~App() override;

    Settings settings;
    QString AppFolder;
    QString CfgPath;
    // Window geometry in twips, kept as the store's text until replaced.
    QString WinX, WinY, VideoW, VideoH;
    // The video window's place: the left and top of its client area, kept
    // for the run and stored beside its size; empty until it has a place of
    // its own.
    QString VideoX, VideoY;
    QString CurrentFile;
    QString PendingListFile;

    // The command line after the program name, and the folder it was typed in.
    QStringList arguments;
    QString currentDir;
    // The program file, the key of the one-instance rule.
    QString programFile;
    // The process's exit status: not 0 when a second start's files were
    // not all taken.
    int exitCode = 0;

    FormRegistry forms;
    UserStore store;

    MediaEngine *createEngine(QWidget *parent);

    // Windows, loaded hidden on first reference.
    FrmSolvane *Solvane();
    frmMovie *movie();
    frmPlayList *playList();
    // The engine of the video window (loading it when needed).
    MediaEngine *Mp();

    // Ends the program: the event loop stops and nothing else runs.
    void endProgram();
    bool hasEnded() const { return ended_; }

signals:
    void programEnded();
    // A new video window made its engine (each load of the window makes one).
    void engineCreated(MediaEngine *engine);

private:
    Form *acceptFileDrops(Form *form);

    EngineFactory engineFactory_;
    bool ended_ = false;
};
