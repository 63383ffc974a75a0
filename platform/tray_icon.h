#pragma once
#include <QObject>
#include <QSystemTrayIcon>

// The notification-area icon. Its clicks arrive as the mouse message numbers
// the main window decodes: left button up 514, double-click 515, right
// button up 517.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    enum Message { LeftButtonUp = 514, LeftDoubleClick = 515, RightButtonUp = 517 };

    explicit TrayIcon(QObject *parent = nullptr);
    // Adds the icon; false when the desktop has no notification area.
    bool add(const QIcon &icon, const QString &tip);
    void remove();
    bool isShown() const { return icon_.isVisible(); }

signals:
    void notification(int message);

private:
    QSystemTrayIcon icon_;
};
