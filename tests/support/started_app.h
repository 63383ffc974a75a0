#pragma once
#include <QTemporaryDir>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "support/recording_engine.h"

// A program started as main() starts it, with the recording engine in place
// of libmpv and its folder in a temporary directory.
struct StartedApp
{
    explicit StartedApp(const QStringList &args = {}, bool start = true)
        : app([this](QWidget *parent) { return engine = new RecordingEngine(parent); })
    {
        app.AppFolder = dir.path();
        app.currentDir = dir.path();
        app.arguments = args;
        if (start)
            app.Solvane();
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    RecordingEngine *engine = nullptr;
    App app;
};
