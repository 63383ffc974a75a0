#include <QCheckBox>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/mpris.h"
#include "desktop/screen_saver.h"
#include "dialogs/frm_conf.h"
#include "playback/frm_movie.h"
#include "playback/mplayer.h"
#include "playlist/frm_playlist.h"
#include "support/started_app.h"

// Waits up to 5 s, with events going, for the condition. (QTRY_* would only
// return from the test on failure: gtest never hears of it.)
#define EXPECT_SOON(condition) EXPECT_TRUE(QTest::qWaitFor([&] { return (condition); }, 5000)) << #condition

namespace {
const QString kPlayer = "org.mpris.MediaPlayer2.Player";
const QString kProps = "org.freedesktop.DBus.Properties";

// Stands in for the session's screen saver: what it was asked, and the
// cookies it gave that were not handed back.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList asked;
    QSet<uint> held;
public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        asked << application + ": " + reason;
        held << uint(asked.size());
        return uint(asked.size());
    }
    void UnInhibit(uint cookie) { held.remove(cookie); }
};
}  // namespace

// The MPRIS remote and the screen saver's hold, on a session bus of the
// test's own so nothing reaches the tester's desktop. Status, metadata, pause,
// seek, next, stop, quit and their announcements are driven on the real
// program end to end; here is what only the stand-in engine can show.
TEST(DesktopBus, RemoteAndScreenSaverFollowThePlayer)
{
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (!daemon.waitForReadyRead(5000))
        GTEST_SKIP() << "dbus-daemon is not installed (scripts/setup)";
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    // One connection per party, as separate processes would have.
    const auto bus = [&](const QString &party) { return QDBusConnection::connectToBus(address, party); };
    const auto end = qScopeGuard([&] {
        for (const char *party : {"player", "remote", "inhibitor", "saver"})
            QDBusConnection::disconnectFromBus(party);
        daemon.kill();
        daemon.waitForFinished(5000);
    });
    StartedApp s;
    MprisService mpris(s.app, bus("player"));
    auto inhibitor = std::make_unique<ScreenSaverInhibitor>(s.app, bus("inhibitor"));
    // The player answers in this very thread: the remote waits with events going.
    const auto call = [&](const QString &method, const QVariantList &args = {}, const QString &interface = kPlayer) {
        QDBusMessage m = QDBusMessage::createMethodCall("org.mpris.MediaPlayer2.solvane", "/org/mpris/MediaPlayer2", interface, method);
        m.setArguments(args);
        return bus("remote").call(m, QDBus::BlockWithGui, 5000);
    };
    const auto get = [&](const QString &name) {
        return call("Get", {kPlayer, name}, kProps).arguments().value(0).value<QDBusVariant>().variant();
    };
    const auto setVolume = [&](double v) { call("Set", {kPlayer, "Volume", QVariant::fromValue(QDBusVariant(v))}, kProps); };

    // An empty playlist: play would open the file dialog, so a remote cannot.
    EXPECT_FALSE(get("CanPlay").toBool());
    call("Play");
    EXPECT_TRUE(s.engine->entries("call 2001").isEmpty());

    frmPlayList *list = s.app.playList();
    list->AddItems({s.path("un.ogg"), s.path("deux.ogg")});
    list->setListIndex(0);
    PlaySelected(s.app);
    RecordingEngine *mp = s.engine;
    mp->values[Disp::Duration] = 10.0;
    mp->values[Disp::CurrentPosition] = 2.0;
    // A song's cover art is a still picture: the screen may blank.
    mp->values[Disp::ImageSourceWidth] = 300;
    mp->tellState(mpPlaying);
    EXPECT_FALSE(inhibitor->inhibiting());
    // A video, with no screen saver on the bus yet: nothing breaks.
    mp->values[Disp::HasVideo] = true;
    inhibitor->update();
    QTest::qWait(50);

    // Play after a pause goes on from there, as the pause zone does: no new
    // open. The video playing again holds the screen saver, now there.
    call("Pause");
    mp->tellState(mpPaused);
    FakeScreenSaver saver;
    ASSERT_TRUE(bus("saver").registerObject("/org/freedesktop/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus("saver").registerService("org.freedesktop.ScreenSaver"));
    mp->log.clear();
    call("PlayPause");
    EXPECT_EQ(mp->entries("call"), QStringList{"call 2001"});
    EXPECT_TRUE(mp->entries("set 1026").isEmpty());
    mp->tellState(mpPlaying);
    EXPECT_SOON(saver.asked == QStringList{"Solvane: Lecture d'une vidéo"});

    // Seek moves from where it is.
    call("Seek", {QVariant::fromValue(qlonglong(3'000'000))});
    EXPECT_EQ(mp->entries("set 1027"), QStringList{"set 1027 5"});
    call("Next");
    EXPECT_EQ(s.app.CurrentFile, s.path("deux.ogg"));
    call("Previous");
    EXPECT_EQ(list->ListIndex(), 0);

    // Volume is the sound's amplitude, 0 its silence: the mute. As with the
    // engine's own controls, the setting and the engine take it.
    setVolume(0.1);
    EXPECT_EQ(QList({int(s.app.settings.CfgVolume), mp->values.value(Disp::Volume).toInt()}), QList({-2000, -2000}));
    setVolume(0);
    EXPECT_EQ(mp->values.value(Disp::Mute), QVariant(true));
    EXPECT_EQ(get("Volume").toDouble(), 0.0);
    // With the dialog open its controls follow, so its apply keeps the sound.
    auto *conf = static_cast<FrmConf *>(s.app.forms.get(FormId::FrmConf));
    setVolume(1);
    EXPECT_TRUE(conf->Slider1->value() == 0 && !conf->Check8->isChecked());
    EXPECT_EQ(mp->values.value(Disp::Mute), QVariant(false));
    // The engine's own slider is heard too.
    emit mp->SoundChanged(-602, false);
    EXPECT_SOON(std::round(get("Volume").toDouble() * 1000) == 500.0);
    s.app.forms.unload(FormId::FrmConf);

    // Stop closes the video window with its engine, and lets the screen
    // blank; nothing read loads it again.
    call("Stop");
    EXPECT_EQ(get("Position").toLongLong(), 0);
    EXPECT_EQ(s.app.forms.loaded(FormId::frmMovie), nullptr);
    EXPECT_SOON(saver.held.isEmpty());
    // The end of a stream leaves the engine stopped; a release asked for
    // before the grant came still reaches it.
    mp = static_cast<RecordingEngine *>(s.app.Mp());
    mp->values[Disp::HasVideo] = true;
    mp->tellState(mpPlaying);
    mp->tellState(mpStopped);
    EXPECT_SOON(saver.asked.size() == 2);
    EXPECT_SOON(saver.held.isEmpty());
    // Ending the program while a picture plays, once the hold was granted,
    // lets go too.
    mp->tellState(mpPlaying);
    EXPECT_SOON(saver.held.size() == 1 && inhibitor->findChildren<QDBusPendingCallWatcher *>().isEmpty());
    inhibitor.reset();
    EXPECT_SOON(saver.held.isEmpty());

    // OpenUri acts as a later start's command line; other schemes are ignored.
    call("OpenUri", {s.path("trois.ogg").prepend("file://")});
    EXPECT_EQ(list->selectedText(), s.path("trois.ogg"));
    call("OpenUri", {QString("av://lavfi:sine")});
    EXPECT_EQ(list->ListCount(), 3);

    // Raise is the notification icon's left click.
    s.app.Solvane()->hide();
    call("Raise", {}, "org.mpris.MediaPlayer2");
    EXPECT_TRUE(s.app.Solvane()->isVisible());
}

#include "test_desktop_bus.moc"
