#include "desktop/desktop_services.h"

#include "desktop/mpris.h"
#include "desktop/screen_saver.h"

DesktopServices::DesktopServices(App &app, QDBusConnection bus)
{
    if (!bus.isConnected())
        return;
    mpris_ = std::make_unique<MprisService>(app, bus);
    screenSaver_ = std::make_unique<ScreenSaverInhibitor>(app, bus);
}

DesktopServices::~DesktopServices() = default;
