#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>

#include "tests/engine/engine_test_support.h"

// Seconds from play to the end of stream, minus the file's own length.
static double endLateness(const QString &path, int *result)
{
    EngineRig rig;
    EXPECT_TRUE(rig.engine->set(Disp::FileName, path));
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(rig.engine->call(Disp::Play));
    double length = 0;
    const qsizetype seen = rig.ends.size();
    waitFor([&] {
        length = std::max(length, number(*rig.engine, Disp::Duration));
        return rig.ends.size() > seen;
    }, 6000);
    const double elapsed = t.elapsed() / 1000.0;
    *result = rig.ends.size() > seen ? rig.ends.at(seen).at(0).toInt() : -999;
    EXPECT_GT(length, 1.0) << path.toStdString();
    EXPECT_EQ(rig.nextEnd(400), -999) << "a second end of stream";
    return elapsed - length;
}

TEST(EnginePlayback, EndsOnceTheLastSoundIsHeard)
{
    QTemporaryDir dir;
    const QString video = dir.filePath("clip.mp4"), audio = dir.filePath("tone.wav");
    ASSERT_TRUE(makeVideo(video, 1.5));
    ASSERT_TRUE(writeWav(audio, 1.5));
    for (const QString &path : {video, audio}) {
        int result = -1;
        const double late = endLateness(path, &result);
        std::printf("[ timing ] %s: end of stream %+.3f s after the full length\n",
                    qPrintable(QFileInfo(path).fileName()), late);
        EXPECT_EQ(result, 0);
        // Not before the end has been heard, and soon after it.
        EXPECT_GE(late, -0.05);
        EXPECT_LE(late, 0.3);
    }
}

TEST(EnginePlayback, PlayCountRewindAndPlayAfterTheEnd)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(writeWav(tone, 0.8));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    ASSERT_TRUE(mp.set(Disp::PlayCount, 2));
    ASSERT_TRUE(mp.set(Disp::AutoRewind, true));
    ASSERT_TRUE(mp.set(Disp::FileName, tone));
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(4000), 0);
    const double elapsed = t.elapsed() / 1000.0;
    std::printf("[ timing ] play count 2 of 0.8 s: end after %.3f s\n", elapsed);
    EXPECT_GE(elapsed, 1.55);
    EXPECT_EQ(rig.ends.size(), 1);
    EXPECT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) == 0.0; }, 500)) << "rewound";

    // Without rewinding the end stays on the last moment; play starts over.
    ASSERT_TRUE(mp.set(Disp::PlayCount, 1));
    ASSERT_TRUE(mp.set(Disp::AutoRewind, false));
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) > 0.1; }, 1000));
    EXPECT_EQ(rig.nextEnd(2000), 0);
    EXPECT_GT(number(mp, Disp::CurrentPosition), 0.7);
    EXPECT_EQ(rig.ends.size(), 2);
}

TEST(EnginePlayback, PauseStopPositionAndDuration)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(writeWav(tone, 1.2));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    EXPECT_EQ(number(mp, Disp::CurrentPosition), -1.0);
    EXPECT_EQ(number(mp, Disp::Duration), 0.0);
    EXPECT_FALSE(mp.call(Disp::Play)) << "nothing to play";

    // Not started on open: it waits at 0 until play.
    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, tone));
    ASSERT_TRUE(waitFor([&] { return number(mp, Disp::Duration) > 1.1; }, 2000));
    QTest::qWait(300);
    EXPECT_EQ(number(mp, Disp::CurrentPosition), 0.0);
    EXPECT_NEAR(number(mp, Disp::Duration), 1.2, 0.02);

    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) > 0.3; }, 2000));
    ASSERT_TRUE(mp.call(Disp::Pause));
    const double paused = number(mp, Disp::CurrentPosition);
    QTest::qWait(300);
    EXPECT_NEAR(number(mp, Disp::CurrentPosition), paused, 0.05);
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) > paused + 0.1; }, 1000)) << "resumes";

    // Stop: back to 0, the file still open, and no end of stream.
    ASSERT_TRUE(mp.call(Disp::Stop));
    EXPECT_EQ(number(mp, Disp::CurrentPosition), 0.0);
    EXPECT_NEAR(number(mp, Disp::Duration), 1.2, 0.02);
    EXPECT_EQ(rig.nextEnd(1200), -999);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(3000), 0);
    EXPECT_GE(t.elapsed(), 1100) << "played from the beginning";

    // Moved to the very end while paused: play ends it at once.
    ASSERT_TRUE(mp.call(Disp::Pause));
    ASSERT_TRUE(mp.set(Disp::CurrentPosition, 1.3));
    QTest::qWait(200);
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(500), 0);
    EXPECT_EQ(rig.ends.size(), 2);
}

TEST(EnginePlayback, NamesThatLookLikeProtocolsOrOptionsAreFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("av:"));
    ASSERT_TRUE(writeWav(dir.filePath("av:/x.wav"), 0.3));
    ASSERT_TRUE(writeWav(dir.filePath("--foo.wav"), 0.3));
    ASSERT_TRUE(writeWav(dir.filePath("memory:x.wav"), 0.3));
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EngineRig rig(untimedOutputs());
    MpvEngine &mp = *rig.engine;
    for (const QString &name : {QStringLiteral("av://x.wav"), QStringLiteral("--foo.wav"),
                                QStringLiteral("memory:x.wav"), dir.filePath("--foo.wav")}) {
        ASSERT_TRUE(mp.set(Disp::FileName, name));
        mp.call(Disp::Play);
        EXPECT_EQ(rig.nextEnd(2000), 0) << name.toStdString();
    }
    // Real protocol texts are only names of files that do not exist.
    for (const QString &name : {QStringLiteral("av://lavfi:sine=d=0.2"), QStringLiteral("memory://RIFF"),
                                QStringLiteral("--ao=pcm")}) {
        ASSERT_TRUE(mp.set(Disp::FileName, name));
        mp.call(Disp::Play);
        const int result = rig.nextEnd(1000);
        EXPECT_NE(result, 0) << name.toStdString();
        EXPECT_NE(result, -999) << name.toStdString();
    }
    QDir::setCurrent(before);
}

TEST(EnginePlayback, SameFileTwiceInARowAndReplacedFiles)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.wav"), b = dir.filePath("b.wav");
    ASSERT_TRUE(writeWav(a, 0.8));
    ASSERT_TRUE(writeWav(b, 0.6));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    // What the video window does at the end of a one-entry looping list.
    int replays = 1;
    QElapsedTimer sinceReplay;
    QObject::connect(&mp, &MediaEngine::EndOfStream, &mp, [&](int) {
        if (replays-- <= 0)
            return;
        mp.set(Disp::FileName, a);
        mp.set(Disp::FileName, a);
        mp.call(Disp::Play);
        sinceReplay.start();
    });
    ASSERT_TRUE(mp.set(Disp::FileName, a));
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(3000), 0);
    EXPECT_EQ(rig.nextEnd(3000), 0);
    const double again = sinceReplay.elapsed() / 1000.0;
    std::printf("[ timing ] replay of 0.8 s took %.3f s\n", again);
    EXPECT_GE(again, 0.75);
    EXPECT_LE(again, 1.2) << "played twice over";
    EXPECT_EQ(rig.nextEnd(1200), -999);

    // A file replaced while it plays never reports its end; the new one does.
    ASSERT_TRUE(mp.set(Disp::FileName, a));
    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(waitFor([&] { return number(mp, Disp::CurrentPosition) > 0.2; }, 2000));
    ASSERT_TRUE(mp.set(Disp::FileName, b));
    ASSERT_TRUE(mp.call(Disp::Play));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rig.nextEnd(3000), 0);
    EXPECT_GE(t.elapsed(), 550) << "the end came from the replaced file";
    EXPECT_EQ(rig.ends.size(), 3);
}
