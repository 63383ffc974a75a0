#pragma once
#include <QObject>
#include <QSystemTrayIcon>
#include <functional>

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

    // Whether the desktop has a notification area now. Cheap enough to ask
    // every few seconds: a panel may start, or stop, after the program.
    static bool available();
    // Tests decide in place of the desktop; an empty function gives it back.
    static void setAvailability(std::function<bool()> probe);

signals:
    void notification(int message);

private:
    QSystemTrayIcon icon_;
};
