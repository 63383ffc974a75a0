// What the user meets in the engine's own area: full screen, the panels and
// picture sizes, the bars, the panels' texts, the picture of a file without
// video, the name the sound mixer shows.
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

// Two seconds of sound with a 300 x 300 blue cover, as music files carry it.
bool makeSongWithCover(const QString &path)
{
    return ffmpeg({"-f", "lavfi", "-i", "sine=frequency=500:duration=2", "-f", "lavfi", "-i",
                   "color=c=0x2050E0:size=300x300:duration=0.04", "-frames:v", "1", "-map", "0:a", "-map", "1:v", "-c:a",
                   "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic", "-id3v2_version", "3", path});
}
}  // namespace

TEST(EngineDisplay, FullScreenPanelsSizesBorderAndTitle)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(makeVideo(clip, 1.0));
    EngineRig rig(nullOutputs(), {800, 600});
    MpvEngine &mp = *rig.engine;
    QWidget *picture = part(mp, "picture");
    QWidget &window = *rig.host;
    ASSERT_TRUE(mp.set(Disp::EnableFullScreenControls, true));

    ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen() && picture->size() == window.size(); }, 2000));
    EXPECT_EQ(picture->mapTo(&window, QPoint(0, 0)), QPoint(0, 0));
    EXPECT_FALSE(part(mp, "statusBar")->isVisible());
    EXPECT_TRUE(mp.get(Disp::ShowStatusBar).value_or(false).toBool()) << "reads what is set";

    // The controls come over the picture when the mouse moves.
    QWidget *overlay = part(mp, "fullScreenControls");
    EXPECT_FALSE(overlay->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 50), picture->mapToGlobal(QPointF(50, 50)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picture, &move);
    EXPECT_TRUE(overlay->isVisible());

    // The video window setting its own state keeps the picture full screen.
    window.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen(); }, 1000));

    // Left by hand, the window is told which size is in use again.
    QSignalSpy left(&mp, &MediaEngine::DisplaySizeChanged);
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }, 1000));
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left.at(0).at(0).toInt(), 0);
    EXPECT_TRUE(part(mp, "statusBar")->isVisible());
    EXPECT_FALSE(overlay->isVisible());
    EXPECT_EQ(mp.get(Disp::DisplaySize).value_or(-1).toInt(), 0);

    ASSERT_TRUE(mp.set(Disp::DisplaySize, 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen(); }, 1000));
    QTest::mouseDClick(picture, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }, 1000));
    EXPECT_EQ(left.size(), 2);
    EXPECT_TRUE(part(mp, "controlButtons")->isVisible());

    // Every panel hides as set; with none the picture takes the whole area.
    const std::pair<Disp, const char *> panels[] = {{Disp::ShowControls, "controlButtons"},
        {Disp::ShowAudioControls, "soundControls"}, {Disp::ShowPositionControls, "positionBar"},
        {Disp::ShowStatusBar, "statusBar"}, {Disp::ShowDisplay, "titlePanel"}};
    for (auto [id, name] : panels) {
        ASSERT_TRUE(mp.set(id, false));
        EXPECT_FALSE(part(mp, name)->isVisible()) << name;
    }
    EXPECT_EQ(picture->size(), mp.widget()->size());
    EXPECT_FALSE(mp.set(Disp::ShowControls, QVariant()));
    EXPECT_FALSE(mp.set(Disp::DisplaySize, 7));

    ASSERT_TRUE(mp.set(Disp::ShowDisplay, true));
    EXPECT_TRUE(part(mp, "titlePanel")->isVisible());
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, clip));
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture->size() == QSize(320, 240); }, 3000)) << picture->width();
    EXPECT_EQ(part(mp, "titlePanel")->findChild<QLabel *>()->text(), "clip.mp4") << "the name without a title tag";
    QWidget *frame = part(mp, "pictureFrame");
    const QRect region(0, 0, 800, 600 - part(mp, "titlePanel")->height());
    for (auto [mode, expected] : {std::pair{1, QSize(160, 120)}, {2, QSize(640, 480)}, {0, QSize(320, 240)}}) {
        ASSERT_TRUE(mp.set(Disp::DisplaySize, mode));
        EXPECT_EQ(picture->size(), expected) << mode;
        EXPECT_EQ(frame->geometry().center(), region.center()) << "centred " << mode;
    }
    // Scaled to the area, aspect kept, with a border of its width all round.
    ASSERT_TRUE(mp.set(Disp::VideoBorderWidth, 6));
    ASSERT_TRUE(mp.set(Disp::VideoBorderColor, 0x0000FF));
    ASSERT_TRUE(mp.set(Disp::DisplaySize, 4));
    EXPECT_EQ(frame->geometry(), QRect(frame->pos(), picture->size() + QSize(12, 12)));
    EXPECT_EQ(picture->pos(), QPoint(6, 6));
    EXPECT_TRUE(region.contains(frame->geometry()));
    EXPECT_TRUE(frame->width() == region.width() || frame->height() == region.height()) << "fills one way";
    EXPECT_NEAR(double(picture->width()) / picture->height(), 4.0 / 3.0, 0.01);
    EXPECT_EQ(frame->grab().toImage().pixelColor(2, 2), QColor(255, 0, 0)) << "0x00BBGGRR";
}

TEST(EngineForTheUser, BarsJumpWhereClickedAndSeekWhileDragged)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(makeVideo(clip, 8.0));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    auto *bar = part<QSlider>(mp, "positionSlider");

    // A stream too long to count in milliseconds (a header can claim 60
    // days): the bar still spans it, and a place on it is a place in it.
    auto *panels = mp.widget()->findChild<EnginePanels *>();
    QSignalSpy seeks(panels, &EnginePanels::seekRequested);
    panels->setTimes(40 * 86400.0, 60 * 86400.0);
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 2.0 / 3, 1e-6);
    bar->setValue(bar->maximum() / 2);
    EXPECT_NEAR(seeks.value(0).value(0).toDouble(), 30 * 86400.0, 1);

    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, clip));
    const auto pos = [&] { return number(mp, Disp::CurrentPosition); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 7000; }, 5000));

    // A click on the bar: the file goes to where it was clicked.
    QTest::mouseClick(bar, Qt::LeftButton, {}, pointOf(bar, 6000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(pos() - 6.0) < 0.4; }, 3000)) << pos();

    // Dragging the knob moves the file before the button is let go.
    QTest::mousePress(bar, Qt::LeftButton, {}, pointOf(bar, bar->value()));
    for (int v : {5000, 4000, 3000, 2000})
        QTest::mouseMove(bar, pointOf(bar, v));
    EXPECT_TRUE(QTest::qWaitFor([&] { return pos() < 3.5; }, 3000)) << pos();
    QTest::mouseRelease(bar, Qt::LeftButton, {}, pointOf(bar, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::abs(pos() - 2.0) < 0.2; }, 3000)) << pos();

    // Dragged onto its very end while playing: the file ends as if played to
    // it, or starts again under a play count of 0.
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

    // The volume bar jumps too, and says so for the settings to keep.
    auto *volume = part<QSlider>(mp, "volumeSlider");
    QSignalSpy sound(&mp, &MediaEngine::SoundChanged);
    QTest::mouseClick(volume, Qt::LeftButton, {}, pointOf(volume, -1000));
    EXPECT_NEAR(number(mp, Disp::Volume), -1000, 150);
    EXPECT_EQ(sound.value(0), (QVariantList{number(mp, Disp::Volume), false}));
}

// A file that cannot play ends with an error and says why; the panel keeps no
// title or times of it.
TEST(EngineForTheUser, SaysWhyAFileDidNotPlayAndElidesLongTitles)
{
    QTemporaryDir dir;
    const QString corrupt = dir.filePath("pas-un-son.mp3");
    ASSERT_TRUE(writeFile(corrupt, QByteArray(20000, '\x5a')));
    const QString longName = dir.filePath(QString(60, u'a') + QStringLiteral(" la fin du titre.wav"));
    ASSERT_TRUE(writeWav(longName, 2.0));

    EngineRig rig(untimedOutputs(), {300, 400});
    MpvEngine &mp = *rig.engine;
    const struct { QString path; const char *why; } cases[] = {
        {dir.filePath("absent.mp3"), "Fichier introuvable"}, {corrupt, "Format non reconnu"}};
    for (const auto &c : cases) {
        ASSERT_TRUE(mp.set(Disp::FileName, c.path));
        mp.call(Disp::Play);
        const int result = rig.nextEnd(2000);
        ASSERT_NE(result, -999) << c.why;
        EXPECT_NE(result, 0) << c.why;
        EXPECT_EQ(number(mp, Disp::CurrentPosition), -1.0);
        EXPECT_EQ(text(mp, "stateText"), QString::fromUtf8(c.why));
        EXPECT_EQ(text(mp, "titleText"), "");
        EXPECT_EQ(text(mp, "timesText"), "");
    }

    // A title too long for the panel keeps its end, in whole letters.
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, longName));
    auto *title = part<QLabel>(mp, "titleText");
    ASSERT_TRUE(QTest::qWaitFor([&] { return text(mp, "stateText") == QStringLiteral("Arrêté"); }, 3000));
    EXPECT_TRUE(title->text().startsWith(QChar(0x2026))) << title->text().toStdString();
    EXPECT_TRUE(title->text().endsWith(QStringLiteral("la fin du titre.wav")));
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->contentsRect().width());
    EXPECT_EQ(text(mp, "timesText"), "0:00 / 0:02");
}

// What the desktop remote, the screen saver and the user see of each kind of
// file: the engine's state as it changes, the picture's size, or a song's
// cover. (Jumps, and a sound after a video showing no frame of it, are
// checked on the real program end to end.)
TEST(EngineForTheUser, EachKindOfFileShowsItsPictureAndTellsItsState)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4"), wav = dir.filePath("son.wav"), song = dir.filePath("song.mp3");
    ASSERT_TRUE(makeVideo(clip, 3.0));
    ASSERT_TRUE(writeWav(wav, 3.0));
    ASSERT_TRUE(makeSongWithCover(song));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    QWidget *picture = part(mp, "picture");
    QSignalSpy states(&mp, &MediaEngine::PlayStateChange);
    const auto state = [&] { return mp.get(Disp::PlayState).value_or(-1).toInt(); };
    const auto width = [&] { return mp.get(Disp::ImageSourceWidth).value_or(-1).toInt(); };

    rig.play(clip);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state() == mpPlaying; }, 10000));
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states.at(0), (QVariantList{mpClosed, mpWaiting}));
    EXPECT_EQ(states.last(), (QVariantList{mpWaiting, mpPlaying}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return width() == 320; }, 5000));
    EXPECT_EQ(mp.get(Disp::ImageSourceHeight).value_or(0).toInt(), 240);
    const auto video = [&] { return mp.get(Disp::HasVideo).value_or(-1).toInt(); };
    EXPECT_EQ(video(), 1);
    mp.call(Disp::Pause);
    EXPECT_EQ(states.last(), (QVariantList{mpPlaying, mpPaused}));
    mp.call(Disp::Stop);
    EXPECT_EQ(states.last(), (QVariantList{mpPaused, mpStopped}));

    // A sound file: no picture size.
    rig.play(wav);
    ASSERT_TRUE(QTest::qWaitFor([&] { return state() == mpPlaying; }, 10000));
    EXPECT_EQ(width() + video(), 0);

    // A song with its cover: the cover is the picture, but not a video.
    ASSERT_TRUE(mp.set(Disp::FileName, song));
    EXPECT_TRUE(QTest::qWaitFor([&] { return picture->size() == QSize(300, 300); }, 3000))
        << picture->width() << 'x' << picture->height();
    EXPECT_EQ(video(), 0) << "a still picture: no video to keep the screen on for";

    // The name the sound server and its mixer list the player under.
    MpvCore core(engineOptions(false) + nullOutputs());
    EXPECT_EQ(core.getString("audio-client-name"), "Solvane");
}
