#pragma once
#include <QDBusConnection>
#include <QProcess>
#include <QUuid>

// A session bus of the test's own, so nothing reaches the tester's desktop.
// Empty address when no dbus-daemon could be started.
struct PrivateBus
{
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
        if (daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        for (const QString &name : names)
            QDBusConnection::disconnectFromBus(name);
        daemon.kill();
        daemon.waitForFinished(5000);
    }

    // A new connection to this bus, as another process would have.
    QDBusConnection connect()
    {
        const QString name = QUuid::createUuid().toString();
        names << name;
        return QDBusConnection::connectToBus(address, name);
    }

    QProcess daemon;
    QString address;
    QStringList names;
};

#define REQUIRE_BUS(bus)                                              \
    if ((bus).address.isEmpty())                                      \
    GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup)"
