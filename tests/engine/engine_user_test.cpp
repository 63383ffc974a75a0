// What the user meets in the engine's own area: the bars, the panels' texts,
// the picture of a file without video, the name the sound mixer shows.
#include <gtest/gtest.h>

#include <QLabel>
#include <QSlider>
#include <QStyle>

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

TEST(EngineForTheUser, BarsJumpWhereClickedAndSeekWhileDragged)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4");
    ASSERT_TRUE(makeVideo(clip, 8.0));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    rig.host->show();
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, clip));
    auto *bar = part<QSlider>(mp, "positionSlider");
    ASSERT_TRUE(waitFor([&] { return bar->maximum() > 7000; }, 5000));

    // A click on the bar: the file goes to where it was clicked.
    QTest::mouseClick(bar, Qt::LeftButton, {}, pointOf(bar, 6000));
    EXPECT_TRUE(waitFor([&] { return std::abs(number(mp, Disp::CurrentPosition) - 6.0) < 0.4; }, 3000))
        << number(mp, Disp::CurrentPosition);

    // Dragging the knob moves the file before the button is let go.
    QTest::mousePress(bar, Qt::LeftButton, {}, pointOf(bar, bar->value()));
    for (int v : {5000, 4000, 3000, 2000})
        QTest::mouseMove(bar, pointOf(bar, v));
    EXPECT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) < 3.5; }, 3000))
        << number(mp, Disp::CurrentPosition);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, pointOf(bar, 2000));
    EXPECT_TRUE(waitFor([&] { return std::abs(number(mp, Disp::CurrentPosition) - 2.0) < 0.2; }, 3000))
        << number(mp, Disp::CurrentPosition);

    // The volume bar jumps too.
    auto *volume = part<QSlider>(mp, "volumeSlider");
    QTest::mouseClick(volume, Qt::LeftButton, {}, pointOf(volume, -1000));
    EXPECT_NEAR(number(mp, Disp::Volume), -1000, 150);
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

    EngineRig rig(untimedOutputs());
    MpvEngine &mp = *rig.engine;
    rig.host->resize(300, 400);
    mp.widget()->setGeometry(0, 0, 300, 400);
    rig.host->show();
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
    ASSERT_TRUE(waitFor([&] { return text(mp, "stateText") == QStringLiteral("Arrêté"); }, 3000));
    EXPECT_TRUE(title->text().startsWith(QChar(0x2026))) << title->text().toStdString();
    EXPECT_TRUE(title->text().endsWith(QStringLiteral("la fin du titre.wav")));
    EXPECT_LE(title->fontMetrics().horizontalAdvance(title->text()), title->contentsRect().width());
    EXPECT_EQ(text(mp, "timesText"), "0:00 / 0:02");
}

// What the desktop remote, the screen saver and the user see of each kind of
// file: the engine's state as it changes, jumps in the file, the picture's
// size; a sound file after a video shows no frame of it, or its own cover.
TEST(EngineForTheUser, EachKindOfFileShowsItsPictureAndTellsItsState)
{
    QTemporaryDir dir;
    const QString clip = dir.filePath("clip.mp4"), wav = dir.filePath("son.wav"), song = dir.filePath("song.mp3");
    ASSERT_TRUE(makeVideo(clip, 3.0));
    ASSERT_TRUE(writeWav(wav, 3.0));
    ASSERT_TRUE(makeSongWithCover(song));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    rig.host->show();
    QWidget *picture = part(mp, "picture");
    QSignalSpy states(&mp, &MediaEngine::PlayStateChange);
    QSignalSpy jumps(&mp, &MediaEngine::PositionChange);
    const auto state = [&] { return mp.get(Disp::PlayState).value_or(-1).toInt(); };
    const auto width = [&] { return mp.get(Disp::ImageSourceWidth).value_or(-1).toInt(); };
    EXPECT_EQ(state(), mpClosed);

    ASSERT_TRUE(mp.set(Disp::FileName, clip));
    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(waitFor([&] { return state() == mpPlaying; }, 10000));
    ASSERT_GE(states.size(), 2);
    EXPECT_EQ(states.at(0), (QVariantList{mpClosed, mpWaiting}));
    EXPECT_EQ(states.last(), (QVariantList{mpWaiting, mpPlaying}));
    EXPECT_TRUE(waitFor([&] { return width() == 320 && picture->size() == QSize(320, 240); }, 5000));
    EXPECT_EQ(mp.get(Disp::ImageSourceHeight).value_or(0).toInt(), 240);
    mp.set(Disp::CurrentPosition, 1.5);
    ASSERT_EQ(jumps.size(), 1);
    EXPECT_DOUBLE_EQ(jumps.at(0).at(1).toDouble(), 1.5);
    mp.call(Disp::Pause);
    EXPECT_EQ(states.last(), (QVariantList{mpPlaying, mpPaused}));
    mp.call(Disp::Stop);
    EXPECT_EQ(states.last(), (QVariantList{mpPaused, mpStopped}));

    // A sound file: no picture size, the black area instead of the last frame.
    ASSERT_TRUE(mp.set(Disp::FileName, wav));
    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(waitFor([&] { return state() == mpPlaying; }, 10000));
    EXPECT_EQ(width(), 0);
    EXPECT_TRUE(waitFor([&] { return picture->width() == mp.widget()->width(); }, 3000)) << picture->width();

    // A song with its cover: the cover is the picture.
    ASSERT_TRUE(mp.set(Disp::FileName, song));
    EXPECT_TRUE(waitFor([&] { return picture->size() == QSize(300, 300); }, 3000))
        << picture->width() << 'x' << picture->height();

    // The name the sound server and its mixer list the player under.
    MpvCore core(engineOptions(false) + nullOutputs());
    EXPECT_EQ(core.getString("audio-client-name"), "Solvane");
}
