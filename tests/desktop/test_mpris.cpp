#include <QDBusArgument>
#include <QDBusPendingCallWatcher>
#include <QListWidget>
#include <QSlider>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/mpris.h"
#include "desktop/private_bus.h"
#include "dialogs/frm_conf.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

namespace {
const QString kService = "org.mpris.MediaPlayer2.solvane";
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";

// What a desktop's sound menu hears: every PropertiesChanged of the player.
class ChangeLog : public QObject
{
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    // The last announced value of `property`.
    QVariant last(const QString &property) const
    {
        for (auto it = changes.crbegin(); it != changes.crend(); ++it)
            if (it->contains(property))
                return it->value(property);
        return {};
    }
    QList<qlonglong> seeks;
signals:
    void changed();
public slots:
    void onSeeked(qlonglong position) { seeks << position; }
    void onChanged(const QString &interface, const QVariantMap &properties, const QStringList &)
    {
        if (interface == kPlayer) {
            changes << properties;
            emit changed();
        }
    }
};

QVariantMap toMap(const QVariant &v)
{
    if (v.canConvert<QDBusArgument>()) {
        QVariantMap m;
        v.value<QDBusArgument>() >> m;
        return m;
    }
    return v.toMap();
}

// A desktop's remote. The player answers in this very thread, so every call
// waits for its answer with events going.
struct Remote
{
    explicit Remote(QDBusConnection c) : bus(c) {}
    QDBusMessage send(const QString &interface, const QString &method, const QVariantList &args = {})
    {
        QDBusMessage m = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        m.setArguments(args);
        QDBusPendingCallWatcher watcher(bus.asyncCall(m));
        QSignalSpy done(&watcher, &QDBusPendingCallWatcher::finished);
        if (!watcher.isFinished())
            done.wait(5000);
        return watcher.reply();
    }
    QVariant get(const QString &interface, const QString &name)
    {
        const QDBusMessage reply = send("org.freedesktop.DBus.Properties", "Get", {interface, name});
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().at(0).value<QDBusVariant>().variant();
    }
    QVariant prop(const QString &name) { return get(kPlayer, name); }
    QVariantMap metadata() { return toMap(prop("Metadata")); }
    bool call(const QString &method, const QVariant &arg = {})
    {
        return send(kPlayer, method, arg.isValid() ? QVariantList{arg} : QVariantList{}).type() ==
               QDBusMessage::ReplyMessage;
    }
    bool callRoot(const QString &method)
    {
        return send("org.mpris.MediaPlayer2", method).type() == QDBusMessage::ReplyMessage;
    }
    bool setVolume(double v)
    {
        return send("org.freedesktop.DBus.Properties", "Set", {kPlayer, QString("Volume"), QVariant::fromValue(QDBusVariant(v))})
                   .type() == QDBusMessage::ReplyMessage;
    }
    QDBusConnection bus;
};
}  // namespace

TEST(Mpris, RemoteDrivesThePlayerAndHearsEveryChange)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    StartedApp s;
    MprisService mpris(s.app, bus.connect());
    ASSERT_TRUE(mpris.serving());
    Remote remote(bus.connect());
    ChangeLog log;
    ASSERT_TRUE(remote.bus.connect(kService, kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged", &log,
                                   SLOT(onChanged(QString, QVariantMap, QStringList))));
    ASSERT_TRUE(remote.bus.connect(kService, kPath, kPlayer, "Seeked", &log, SLOT(onSeeked(qlonglong))));

    EXPECT_EQ(remote.get("org.mpris.MediaPlayer2", "Identity").toString(), "Solvane");
    // The desktop finds the program's icon and name through its desktop file.
    EXPECT_EQ(remote.get("org.mpris.MediaPlayer2", "DesktopEntry").toString(), "solvane");
    EXPECT_EQ(remote.prop("PlaybackStatus").toString(), "Stopped");

    // An empty playlist: play would open the file dialog, so a remote cannot.
    EXPECT_FALSE(remote.prop("CanPlay").toBool());
    EXPECT_TRUE(remote.call("Play"));
    EXPECT_EQ(s.app.playList()->ListCount(), 0);
    EXPECT_TRUE(s.engine->entries("call 2001").isEmpty());

    frmPlayList *list = s.app.playList();
    list->AddItems({s.path("un.ogg"), s.path("deux.ogg")});
    list->setListIndex(0);
    PlaySelected(s.app);
    RecordingEngine *mp = s.engine;
    mp->values[Disp::Duration] = 10.0;
    mp->values[Disp::CurrentPosition] = 2.0;
    mp->values[Disp::ClipTitle] = "Premier titre";
    mp->values[Disp::ClipAuthor] = "Ana";
    mp->tellState(mpPlaying);
    QTRY_COMPARE(log.last("PlaybackStatus").toString(), QString("Playing"));
    const QVariantMap m = remote.metadata();
    EXPECT_EQ(m.value("xesam:url").toString(), QUrl::fromLocalFile(s.path("un.ogg")).toString());
    EXPECT_EQ(m.value("xesam:title").toString(), "Premier titre");
    EXPECT_EQ(m.value("xesam:artist").toStringList(), QStringList{"Ana"});
    EXPECT_EQ(m.value("mpris:length").toLongLong(), 10'000'000);
    EXPECT_EQ(remote.prop("Position").toLongLong(), 2'000'000);
    EXPECT_TRUE(remote.prop("CanGoNext").toBool());
    EXPECT_FALSE(remote.prop("CanGoPrevious").toBool());

    // Pause does what the pause zone does; play goes on from there.
    mp->log.clear();
    EXPECT_TRUE(remote.call("Pause"));
    EXPECT_EQ(mp->entries("call"), QStringList{"call 2002"});
    mp->tellState(mpPaused);
    QTRY_COMPARE(log.last("PlaybackStatus").toString(), QString("Paused"));
    mp->log.clear();
    EXPECT_TRUE(remote.call("PlayPause"));
    EXPECT_EQ(mp->entries("call"), QStringList{"call 2001"});
    EXPECT_TRUE(mp->entries("set 1026").isEmpty());
    mp->tellState(mpPlaying);

    // Seek moves from where it is; past the end it is the next file.
    mp->log.clear();
    EXPECT_TRUE(remote.call("Seek", QVariant::fromValue(qlonglong(3'000'000))));
    EXPECT_EQ(mp->entries("set 1027"), QStringList{"set 1027 5"});
    emit mp->PositionChange(2.0, 5.0);  // as the engine tells any jump
    QTRY_COMPARE(log.seeks, QList<qlonglong>{5'000'000});
    // Next plays the following entry, as the end of a stream would.
    EXPECT_TRUE(remote.call("Next"));
    EXPECT_EQ(list->ListIndex(), 1);
    EXPECT_EQ(mp->values.value(Disp::FileName).toString(), s.path("deux.ogg"));
    EXPECT_EQ(s.app.CurrentFile, s.path("deux.ogg"));
    QTRY_VERIFY(toMap(log.last("Metadata")).value("xesam:url").toString().endsWith("deux.ogg"));
    QTRY_COMPARE(log.last("CanGoNext").toBool(), false);
    EXPECT_TRUE(remote.call("Previous"));
    EXPECT_EQ(list->ListIndex(), 0);

    // Volume is the setting and the engine's, as the dialog's slider moves them.
    EXPECT_TRUE(remote.setVolume(0.5));
    EXPECT_EQ(s.app.settings.CfgVolume, -1000);
    EXPECT_EQ(mp->values.value(Disp::Volume).toInt(), -1000);
    QTRY_COMPARE(log.last("Volume").toDouble(), 0.5);
    // With the dialog open its slider follows, so its apply keeps the level.
    auto *conf = static_cast<FrmConf *>(s.app.forms.get(FormId::FrmConf));
    ASSERT_NE(conf, nullptr);
    EXPECT_TRUE(remote.setVolume(0.25));
    EXPECT_EQ(conf->Slider1->value(), -1500);
    EXPECT_EQ(s.app.settings.CfgVolume, -1500);
    EXPECT_EQ(mp->values.value(Disp::Volume).toInt(), -1500);
    s.app.forms.unload(FormId::FrmConf);

    // Stop closes the video window: stopped, and nothing read loads it again.
    EXPECT_TRUE(remote.call("Stop"));
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);
    QTRY_COMPARE(log.last("PlaybackStatus").toString(), QString("Stopped"));
    EXPECT_EQ(remote.prop("Position").toLongLong(), 0);
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);

    // OpenUri acts as a later start's command line; other schemes are ignored.
    EXPECT_TRUE(remote.call("OpenUri", s.path("trois.ogg").prepend("file://")));
    EXPECT_EQ(list->ListCount(), 3);
    EXPECT_EQ(list->selectedText(), s.path("trois.ogg"));
    EXPECT_TRUE(remote.call("OpenUri", QString("av://lavfi:sine")));
    EXPECT_EQ(list->ListCount(), 3);

    // Raise is the notification icon's left click; Quit is the exit zone.
    s.app.Solvane()->hide();
    EXPECT_TRUE(remote.callRoot("Raise"));
    EXPECT_TRUE(s.app.Solvane()->isVisible());
    EXPECT_TRUE(remote.callRoot("Quit"));
    QTRY_VERIFY(s.app.hasEnded());
}

TEST(Mpris, WithoutABusNothingIsServed)
{
    StartedApp s;
    MprisService mpris(s.app, QDBusConnection::connectToBus("unix:path=/nonexistent/bus", "nobus"));
    EXPECT_FALSE(mpris.serving());
    mpris.refresh();
    QDBusConnection::disconnectFromBus("nobus");
}

#include "test_mpris.moc"
