#include <QDBusPendingCallWatcher>
#include <QCheckBox>
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
const QString kProps = "org.freedesktop.DBus.Properties";

// What a desktop's sound menu hears: the last announced value of every
// property of the player.
class ChangeLog : public QObject
{
    Q_OBJECT
public:
    QVariant last(const QString &property) const { return latest.value(property); }
    QVariantMap latest;
public slots:
    void onChanged(const QString &interface, const QVariantMap &properties, const QStringList &)
    {
        if (interface == kPlayer)
            latest.insert(properties);
    }
};

// A desktop's remote. The player answers in this very thread, so every call
// waits for its answer with events going.
struct Remote
{
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
    bool call(const QString &method, const QVariantList &args = {}, const QString &interface = kPlayer)
    {
        return send(interface, method, args).type() == QDBusMessage::ReplyMessage;
    }
    QVariant get(const QString &name, const QString &interface = kPlayer)
    {
        const QDBusMessage reply = send(kProps, "Get", {interface, name});
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().at(0).value<QDBusVariant>().variant();
    }
    bool setVolume(double v) { return call("Set", {kPlayer, QString("Volume"), QVariant::fromValue(QDBusVariant(v))}, kProps); }
    QDBusConnection bus;
};
}  // namespace

// Status, metadata, pause, seek (and its Seeked signal), next (and its new
// metadata) and quit are driven on the real program in the e2e test; this
// test holds what only the stand-in engine can show.
TEST(Mpris, RemoteDrivesThePlayerAndHearsEveryChange)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    StartedApp s;
    MprisService mpris(s.app, bus.connect());
    ASSERT_TRUE(mpris.serving());
    Remote remote{bus.connect()};
    ChangeLog log;
    ASSERT_TRUE(remote.bus.connect(kService, kPath, kProps, "PropertiesChanged", &log,
                                   SLOT(onChanged(QString, QVariantMap, QStringList))));

    // The desktop finds the program's icon and name through its desktop file.
    EXPECT_EQ(remote.get("DesktopEntry", "org.mpris.MediaPlayer2").toString(), "solvane");

    // An empty playlist: play would open the file dialog, so a remote cannot.
    EXPECT_FALSE(remote.get("CanPlay").toBool());
    EXPECT_TRUE(remote.call("Play"));
    EXPECT_TRUE(s.engine->entries("call 2001").isEmpty());

    frmPlayList *list = s.app.playList();
    list->AddItems({s.path("un.ogg"), s.path("deux.ogg")});
    list->setListIndex(0);
    PlaySelected(s.app);
    RecordingEngine *mp = s.engine;
    mp->values[Disp::Duration] = 10.0;
    mp->values[Disp::CurrentPosition] = 2.0;
    mp->tellState(mpPlaying);
    QTRY_COMPARE(log.last("PlaybackStatus").toString(), QString("Playing"));
    EXPECT_FALSE(remote.get("CanGoPrevious").toBool());

    // Play after a pause goes on from there, as the pause zone does: no new open.
    EXPECT_TRUE(remote.call("Pause"));
    mp->tellState(mpPaused);
    mp->log.clear();
    EXPECT_TRUE(remote.call("PlayPause"));
    EXPECT_EQ(mp->entries("call"), QStringList{"call 2001"});
    EXPECT_TRUE(mp->entries("set 1026").isEmpty());
    mp->tellState(mpPlaying);

    // Seek moves from where it is.
    mp->log.clear();
    EXPECT_TRUE(remote.call("Seek", {QVariant::fromValue(qlonglong(3'000'000))}));
    EXPECT_EQ(mp->entries("set 1027"), QStringList{"set 1027 5"});
    // Next plays the following entry, as the end of a stream would.
    EXPECT_TRUE(remote.call("Next"));
    EXPECT_EQ(s.app.CurrentFile, s.path("deux.ogg"));
    QTRY_COMPARE(log.last("CanGoNext").toBool(), false);
    EXPECT_TRUE(remote.call("Previous"));
    EXPECT_EQ(list->ListIndex(), 0);

    // Volume is the sound's amplitude, 0 its silence: the mute. As with the
    // engine's own controls, the setting and the engine take it.
    EXPECT_TRUE(remote.setVolume(0.1));
    EXPECT_EQ(QList({int(s.app.settings.CfgVolume), mp->values.value(Disp::Volume).toInt()}), QList({-2000, -2000}));
    QTRY_COMPARE(log.last("Volume").toDouble(), 0.1);
    EXPECT_TRUE(remote.setVolume(0));
    EXPECT_EQ(mp->values.value(Disp::Mute), QVariant(true));
    QTRY_COMPARE(log.last("Volume").toDouble(), 0.0);
    // With the dialog open its controls follow, so its apply keeps the sound.
    auto *conf = static_cast<FrmConf *>(s.app.forms.get(FormId::FrmConf));
    ASSERT_NE(conf, nullptr);
    EXPECT_TRUE(remote.setVolume(1));
    EXPECT_TRUE(conf->Slider1->value() == 0 && !conf->Check8->isChecked());
    EXPECT_EQ(mp->values.value(Disp::Mute), QVariant(false));
    // The engine's own slider is heard too.
    emit mp->SoundChanged(-602, false);
    QTRY_COMPARE(std::round(log.last("Volume").toDouble() * 1000), 500.0);
    s.app.forms.unload(FormId::FrmConf);

    // Stop closes the video window: stopped, and nothing read loads it again.
    EXPECT_TRUE(remote.call("Stop"));
    QTRY_COMPARE(log.last("PlaybackStatus").toString(), QString("Stopped"));
    EXPECT_EQ(remote.get("Position").toLongLong(), 0);
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);

    // OpenUri acts as a later start's command line; other schemes are ignored.
    EXPECT_TRUE(remote.call("OpenUri", {s.path("trois.ogg").prepend("file://")}));
    EXPECT_EQ(list->selectedText(), s.path("trois.ogg"));
    EXPECT_TRUE(remote.call("OpenUri", {QString("av://lavfi:sine")}));
    EXPECT_EQ(list->ListCount(), 3);

    // Raise is the notification icon's left click.
    s.app.Solvane()->hide();
    EXPECT_TRUE(remote.call("Raise", {}, "org.mpris.MediaPlayer2"));
    EXPECT_TRUE(s.app.Solvane()->isVisible());
}

#include "test_mpris.moc"
