#pragma once
#include <QTemporaryDir>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "platform/tray_icon.h"
#include "support/recording_engine.h"

// Whether the desktop has a notification area, as the program sees it.
struct NotificationArea
{
    explicit NotificationArea(bool present) : present(present)
    {
        TrayIcon::setAvailability([this] { return this->present; });
    }
    ~NotificationArea() { TrayIcon::setAvailability({}); }
    bool present;
};

// A program started as main() starts it, with the recording engine in place
// of libmpv and its folder in a temporary directory, on a desktop with a
// notification area unless the test says otherwise before starting.
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
    NotificationArea tray{true};
    RecordingEngine *engine = nullptr;
    App app;
};
