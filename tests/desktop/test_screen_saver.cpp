#include <QDBusConnection>
#include <QTest>
#include <gtest/gtest.h>

#include "desktop/private_bus.h"
#include "desktop/screen_saver.h"
#include "playback/frm_movie.h"
#include "support/started_app.h"

namespace {
// Stands in for the session's screen saver and notes what it was asked.
class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public:
    QStringList calls;
    int held = 0;
public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        calls << QStringLiteral("Inhibit %1: %2").arg(application, reason);
        ++held;
        return 40 + uint(calls.size());
    }
    void UnInhibit(uint cookie)
    {
        calls << QStringLiteral("UnInhibit %1").arg(cookie);
        --held;
    }
};
}  // namespace

TEST(ScreenSaver, HeldWhileVideoPlaysAndReleasedOtherwise)
{
    PrivateBus bus;
    REQUIRE_BUS(bus);
    StartedApp s;
    RecordingEngine *mp = s.engine;

    // No screen saver on the bus yet: nothing breaks.
    {
        ScreenSaverInhibitor none(s.app, bus.connect());
        mp->values[Disp::HasVideo] = true;
        mp->tellState(mpPlaying);
        QTest::qWait(50);
        mp->tellState(mpPaused);
    }

    QDBusConnection session = bus.connect();
    FakeScreenSaver saver;
    ASSERT_TRUE(session.registerObject("/org/freedesktop/ScreenSaver", &saver, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(session.registerService("org.freedesktop.ScreenSaver"));
    auto inhibitor = std::make_unique<ScreenSaverInhibitor>(s.app, bus.connect());

    // Sound, with its cover art or without: the screen may blank.
    mp->values[Disp::ImageSourceWidth] = 300;
    mp->values[Disp::HasVideo] = false;
    mp->tellState(mpPlaying);
    inhibitor->update();
    EXPECT_FALSE(inhibitor->inhibiting());

    // A picture playing holds it, with a reason in French; pause lets go.
    mp->values[Disp::HasVideo] = true;
    inhibitor->update();
    QTRY_COMPARE(saver.calls, QStringList{"Inhibit Solvane: Lecture d'une vidéo"});
    mp->tellState(mpPaused);
    QTRY_COMPARE(saver.held, 0);
    EXPECT_EQ(saver.calls.last(), "UnInhibit 41");

    // Stop closes the video window with its engine; the end of the stream
    // leaves the engine stopped.
    mp->tellState(mpPlaying);
    QTRY_COMPARE(saver.held, 1);
    s.app.forms.unload(FormId::frmMovie);
    QTRY_COMPARE(saver.held, 0);
    mp = static_cast<RecordingEngine *>(s.app.Mp());
    mp->values[Disp::HasVideo] = true;
    mp->tellState(mpPlaying);
    QTRY_COMPARE(saver.held, 1);
    mp->tellState(mpStopped);
    QTRY_COMPARE(saver.held, 0);

    // A release asked for before the grant came still reaches it.
    mp->tellState(mpPlaying);
    mp->tellState(mpPaused);
    QTRY_COMPARE(saver.calls.size(), 8);
    QTRY_COMPARE(saver.held, 0);

    // Ending the program while a picture plays lets go too.
    mp->tellState(mpPlaying);
    QTRY_COMPARE(saver.held, 1);
    inhibitor.reset();
    QTRY_COMPARE(saver.held, 0);
}

#include "test_screen_saver.moc"
