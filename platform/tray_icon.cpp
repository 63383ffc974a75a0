#include "platform/tray_icon.h"

namespace {
std::function<bool()> availability;
}

bool TrayIcon::available()
{
    return availability ? availability() : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::setAvailability(std::function<bool()> probe) { availability = std::move(probe); }

TrayIcon::TrayIcon(QObject *parent) : QObject(parent)
{
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            emit notification(LeftButtonUp);
            break;
        case QSystemTrayIcon::DoubleClick:
            emit notification(LeftDoubleClick);
            break;
        case QSystemTrayIcon::Context:
            emit notification(RightButtonUp);
            break;
        default:
            break;
        }
    });
}

bool TrayIcon::add(const QIcon &icon, const QString &tip)
{
    if (!available())
        return false;
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
    icon_.show();
    return true;
}

void TrayIcon::remove() { icon_.hide(); }
