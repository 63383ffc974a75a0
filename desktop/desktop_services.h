#pragma once
#include <QDBusConnection>
#include <memory>

class App;
class MprisService;
class ScreenSaverInhibitor;

// What the player offers the desktop session over its bus: the MPRIS remote
// and the screen saver's hold while video plays. Without a session bus it
// does nothing.
class DesktopServices
{
public:
    explicit DesktopServices(App &app, QDBusConnection bus = QDBusConnection::sessionBus());
    ~DesktopServices();

    MprisService *mpris() const { return mpris_.get(); }
    ScreenSaverInhibitor *screenSaver() const { return screenSaver_.get(); }

private:
    std::unique_ptr<MprisService> mpris_;
    std::unique_ptr<ScreenSaverInhibitor> screenSaver_;
};
