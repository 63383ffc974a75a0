#pragma once
#include <QTemporaryDir>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "platform/tray_icon.h"
#include "support/recording_engine.h"

// A program started as main() starts it, with the recording engine in place
// of libmpv and its folder in a temporary directory, on a desktop with a
// notification area unless the test says otherwise (tray.present).
struct StartedApp
{
    explicit StartedApp(const QStringList &args = {}, bool start = true)
        : app([this](QWidget *parent) { return engine = new RecordingEngine(parent); })
    {
        TrayIcon::setAvailability([this] { return tray.present; });
        app.AppFolder = dir.path();
        app.currentDir = dir.path();
        app.arguments = args;
        if (start)
            app.Solvane();
    }
    ~StartedApp() { TrayIcon::setAvailability({}); }

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    struct { bool present = true; } tray;
    RecordingEngine *engine = nullptr;
    App app;
};
