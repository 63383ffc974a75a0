// What the user meets in the engine's own area: full screen, the panels, the
// bars, the picture scaled with its border, the panels' texts, the picture of
// a file without video, the name the sound mixer shows.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStyle>

#include "engine/engine_panels.h"
#include "tests/engine/engine_test_support.h"

namespace {
QString text(MediaEngine &mp, const char *label) { return part<QLabel>(mp, label)->text(); }

// The point of a bar that stands for `value`.
QPoint pointOf(QSlider *bar, int value)
{
    const int handle = bar->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, bar);
    const int span = bar->width() - handle;
    return {handle / 2 + QStyle::sliderPositionFromValue(bar->minimum(), bar->maximum(), value, span), bar->height() / 2};
}

}  // namespace

// (The picture at each size and in full screen is checked on the real
// program end to end, and the play, pause and jumps its remote drives.)
TEST(EngineForTheUser, FullScreenBarsPanelsAndBorder)
{
    EngineRig rig(nullOutputs(), {800, 500});
    MpvEngine &mp = *rig.engine;
    QWidget *picture = part(mp, "picture");
    QWidget &window = *rig.host;
    auto *bar = part<QSlider>(mp, "positionSlider");

    // A stream too long to count in milliseconds (a header can claim 60
    // days): the bar still spans it, and a place on it is a place in it.
    auto *panels = mp.widget()->findChild<EnginePanels *>();
    QSignalSpy seeks(panels, &EnginePanels::seekRequested);
    panels->setTimes(40 * 86400.0, 60 * 86400.0);
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 2.0 / 3, 1e-6);
    bar->setValue(bar->maximum() / 2);
    EXPECT_NEAR(seeks.value(0).value(0).toDouble(), 30 * 86400.0, 1);

    // Full screen, which the video window setting its own state keeps, with
    // the controls over the picture when the mouse moves. Left by hand (a
    // key, a double click), the window is told which size is in use again.
    ASSERT_TRUE(mp.set(Disp::EnableFullScreenControls, true));
    QWidget *overlay = part(mp, "fullScreenControls");
    QSignalSpy left(&mp, &MediaEngine::DisplaySizeChanged);
    const std::function<void()> leaveByHand[] = {[&] { QTest::keyClick(&window, Qt::Key_Escape); },
                                                 [&] { QTest::mouseDClick(picture, Qt::LeftButton); }};
    // (The state is taken away once only: a few fights in a row, and the
    // area gives full screen up.)
    ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
    window.setWindowState(Qt::WindowNoState);
    for (const auto &leave : leaveByHand) {
        ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen() && picture->size() == window.size(); }, 2000));
        EXPECT_FALSE(part(mp, "statusBar")->isVisible());
        EXPECT_FALSE(overlay->isVisible());
        QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), picture->mapToGlobal(QPointF(50, 50)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &move);
        EXPECT_TRUE(overlay->isVisible());
        leave();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }, 1000));
        EXPECT_TRUE(part(mp, "statusBar")->isVisible());
        EXPECT_FALSE(overlay->isVisible());
    }
    EXPECT_EQ(left, (QList<QVariantList>{{0}, {0}}));

    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, clip(8.0)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 7000 && picture->size() == QSize(320, 240); }, 5000));

    // Dragged onto its very end while playing: the file ends as if played to
    // it, or starts again under a play count of 0; it follows the drag before
    // the button is let go.
    const auto pos = [&] { return number(mp, Disp::CurrentPosition); };
    for (int count : {0, 1}) {
        ASSERT_TRUE(mp.set(Disp::PlayCount, count));
        ASSERT_TRUE(mp.call(Disp::Play));
        QTest::mousePress(bar, Qt::LeftButton, {}, pointOf(bar, 4000));
        QTest::mouseMove(bar, pointOf(bar, bar->maximum()));
        if (count == 1)
            EXPECT_EQ(rig.nextEnd(2000), 0);
        else
            EXPECT_TRUE(QTest::qWaitFor([&] { return pos() < 1.0 && int(number(mp, Disp::PlayState)) == mpPlaying; }, 2000));
        QTest::mouseRelease(bar, Qt::LeftButton, {}, pointOf(bar, bar->maximum()));
    }

    // The bars jump where clicked, and the volume bar says so for the
    // settings to keep.
    auto *volume = part<QSlider>(mp, "volumeSlider");
    QSignalSpy sound(&mp, &MediaEngine::SoundChanged);
    QTest::mouseClick(volume, Qt::LeftButton, {}, pointOf(volume, -1000));
    EXPECT_NEAR(number(mp, Disp::Volume), -1000, 150);
    EXPECT_EQ(sound.value(0), (QVariantList{number(mp, Disp::Volume), false}));

    // Every panel hides as set. The picture then scales to the whole area,
    // aspect kept, with a border of its width all round.
    const std::pair<Disp, const char *> shown[] = {{Disp::ShowControls, "controlButtons"},
        {Disp::ShowAudioControls, "soundControls"}, {Disp::ShowPositionControls, "positionBar"},
        {Disp::ShowStatusBar, "statusBar"}, {Disp::ShowDisplay, "titlePanel"}};
    for (auto [id, name] : shown) {
        ASSERT_TRUE(mp.set(id, false));
        EXPECT_FALSE(part(mp, name)->isVisible()) << name;
    }
    QWidget *frame = part(mp, "pictureFrame");
    ASSERT_TRUE(mp.set(Disp::VideoBorderWidth, 6));
    ASSERT_TRUE(mp.set(Disp::VideoBorderColor, 0x0000FF));
    ASSERT_TRUE(mp.set(Disp::DisplaySize, 4));
    EXPECT_EQ(frame->geometry(), QRect(frame->pos(), picture->size() + QSize(12, 12)));
    EXPECT_EQ(picture->pos(), QPoint(6, 6));
    EXPECT_TRUE(mp.widget()->rect().contains(frame->geometry()));
    EXPECT_TRUE(frame->width() == 800 || frame->height() == 500) << "fills one way";
    EXPECT_NEAR(double(picture->width()) / picture->height(), 4.0 / 3.0, 0.01);
    EXPECT_EQ(frame->grab().toImage().pixelColor(2, 2), QColor(255, 0, 0)) << "0x00BBGGRR";
}

// What the desktop remote, the screen saver and the user see of each kind of
// file: the engine's state as it starts, why a file did not play, a song's
// cover and its name cut to the panel. (Pause, stop and a sound after a video
// showing no frame of it are checked on the real program end to end.)
TEST(EngineForTheUser, EachKindOfFileTellsItsStatePictureOrWhyItDidNotPlay)
{
    QTemporaryDir dir;
    const QString corrupt = dir.filePath("pas-un-son.mp3");
    ASSERT_TRUE(writeFile(corrupt, QByteArray(20000, '\x5a')));
    // Two seconds of sound with a 300 x 300 blue cover, as music files carry it.
    const QString song = dir.filePath(QString(200, u'a') + QStringLiteral(" la fin du titre.mp3"));
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=500:duration=2", "-f", "lavfi", "-i",
                        "color=c=0x2050E0:size=300x300:duration=0.04", "-frames:v", "1", "-map", "0:a", "-map", "1:v",
                        "-c:a", "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic", "-id3v2_version", "3", song}));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    QSignalSpy states(&mp, &MediaEngine::PlayStateChange);

    rig.play(clip(3.0));
    ASSERT_TRUE(QTest::qWaitFor([&] { return int(number(mp, Disp::PlayState)) == mpPlaying; }, 10000));
    EXPECT_EQ(states.value(0), (QVariantList{mpClosed, mpWaiting}));
    EXPECT_EQ(states.last(), (QVariantList{mpWaiting, mpPlaying}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return number(mp, Disp::HasVideo) == 1; }, 3000));

    // A file that cannot play ends and says why; the panel keeps no title or
    // times of it.
    for (auto [path, why] : {std::pair{dir.filePath("absent.mp3"), "Fichier introuvable"}, {corrupt, "Format non reconnu"}}) {
        ASSERT_TRUE(mp.set(Disp::FileName, path));
        mp.call(Disp::Play);
        EXPECT_NE(rig.nextEnd(2000), -999) << why;
        EXPECT_EQ(number(mp, Disp::CurrentPosition), -1.0);
        EXPECT_EQ(text(mp, "stateText"), QString::fromUtf8(why));
        EXPECT_EQ(text(mp, "titleText") + text(mp, "timesText"), "");
    }

    // A song with its cover: the cover is the picture, but not a video. Its
    // name, too long for the panel, keeps its end in whole letters.
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, song));
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(mp, "stateText") == QStringLiteral("Arrêté"); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return part(mp, "picture")->size() == QSize(300, 300); }, 3000));
    EXPECT_EQ(number(mp, Disp::HasVideo), 0) << "a still picture: no video to keep the screen on for";
    auto *title = part<QLabel>(mp, "titleText");
    EXPECT_TRUE(title->text().startsWith(QChar(0x2026))) << title->text().toStdString();
    EXPECT_TRUE(title->text().endsWith(QStringLiteral("la fin du titre.mp3")));
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->contentsRect().width());
    EXPECT_EQ(text(mp, "timesText"), "0:00 / 0:02");

    // The name the sound server and its mixer list the player under.
    MpvCore core(engineOptions(false) + nullOutputs());
    EXPECT_EQ(core.getString("audio-client-name"), "Solvane");
}
