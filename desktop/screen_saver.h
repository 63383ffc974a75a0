#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QTimer>

class App;
class MediaEngine;

// Keeps the screen from blanking while a picture plays: asks the session's
// screen saver (org.freedesktop.ScreenSaver) to hold off while a file with
// video plays, and releases the request on pause, stop, end and exit.
// Without such a service nothing happens.
class ScreenSaverInhibitor : public QObject
{
    Q_OBJECT
public:
    ScreenSaverInhibitor(App &app, QDBusConnection bus, QObject *parent = nullptr);
    ~ScreenSaverInhibitor() override;

    bool inhibiting() const { return wanted_; }
    // Asks or releases as the player now needs.
    void update();

private:
    void watch(MediaEngine *engine);
    bool videoPlays() const;
    void inhibit();
    void release(bool wait);

    App &app_;
    QDBusConnection bus_;
    QTimer poll_;
    bool wanted_ = false;
    // The screen saver's cookie, once its answer came; a release asked for
    // before that is sent when it comes.
    bool awaiting_ = false;
    bool haveCookie_ = false;
    uint cookie_ = 0;
};
