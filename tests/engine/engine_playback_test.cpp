#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <cstdio>

#include "engine/engine_rules.h"
#include "tests/engine/engine_test_support.h"

TEST(EnginePlayback, EndsOnceTheLastSoundIsHeardAlsoReplayedAndNotWhenReplaced)
{
    QTemporaryDir dir;
    const QString video = dir.filePath("clip.mp4"), audio = dir.filePath("tone.wav"), other = dir.filePath("b.wav");
    ASSERT_TRUE(makeVideo(video, 1.5));
    ASSERT_TRUE(writeWav(audio, 1.5));
    ASSERT_TRUE(writeWav(other, 0.6));
    for (const QString &path : {video, audio}) {
        EngineRig rig;
        MpvEngine &mp = *rig.engine;
        // What the video window does at the end of a one-entry looping list.
        int replays = 1;
        QObject::connect(&mp, &MediaEngine::EndOfStream, &mp, [&](int) {
            if (replays-- > 0 && mp.set(Disp::FileName, path) && mp.set(Disp::FileName, path))
                mp.call(Disp::Play);
        });
        ASSERT_TRUE(mp.set(Disp::FileName, path));
        QElapsedTimer t;
        t.start();
        ASSERT_TRUE(mp.call(Disp::Play));
        for (const char *round : {"played", "replayed"}) {
            EXPECT_EQ(rig.nextEnd(6000), 0) << round;
            const double late = t.restart() / 1000.0 - 1.5;
            std::printf("[ timing ] %s %s: end of stream %+.3f s after the full length\n", qPrintable(path), round, late);
            // Not before the end has been heard, and soon after it.
            EXPECT_GE(late, -0.05) << round;
            EXPECT_LE(late, 0.3) << round;
        }
        EXPECT_EQ(rig.nextEnd(1200), -999) << "a third end of stream";

        // A file replaced while it plays never reports its end; the new one does.
        rig.play(path);
        ASSERT_TRUE(QTest::qWaitFor([&] { return number(mp, Disp::CurrentPosition) > 0.2; }, 2000));
        rig.play(other);
        t.start();
        EXPECT_EQ(rig.nextEnd(3000), 0);
        EXPECT_GE(t.elapsed(), 550) << "the end came from the replaced file";
        EXPECT_EQ(rig.ends.size(), 3);
    }
}

TEST(EnginePlayback, PauseStopRewindAndPlayCount)
{
    QTemporaryDir dir;
    const QString tone = dir.filePath("tone.wav");
    ASSERT_TRUE(writeWav(tone, 0.8));
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    const auto position = [&] { return number(mp, Disp::CurrentPosition); };
    EXPECT_FALSE(mp.call(Disp::Play)) << "nothing to play";

    ASSERT_TRUE(mp.set(Disp::AutoStart, false));
    ASSERT_TRUE(mp.set(Disp::FileName, tone));
    ASSERT_TRUE(QTest::qWaitFor([&] { return number(mp, Disp::Duration) > 0.7; }, 2000));
    EXPECT_NEAR(number(mp, Disp::Duration), 0.8, 0.02);
    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(QTest::qWaitFor([&] { return position() > 0.2; }, 2000));
    ASSERT_TRUE(mp.call(Disp::Pause));
    const double paused = position();
    QTest::qWait(300);
    EXPECT_NEAR(position(), paused, 0.05);
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() > paused + 0.1; }, 1000)) << "resumes";

    // Stop: back to 0, the file still open, and no end of stream.
    ASSERT_TRUE(mp.call(Disp::Stop));
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(rig.nextEnd(1000), -999);

    // Played twice from the beginning, then rewound.
    ASSERT_TRUE(mp.set(Disp::PlayCount, 2));
    ASSERT_TRUE(mp.set(Disp::AutoRewind, true));
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(4000), 0);
    std::printf("[ timing ] play count 2 of 0.8 s: end after %.3f s\n", t.elapsed() / 1000.0);
    EXPECT_GE(t.elapsed(), 1550);
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() == 0.0; }, 500)) << "rewound";

    // Without rewinding the end stays on the last moment; play starts over.
    ASSERT_TRUE(mp.set(Disp::PlayCount, 1));
    ASSERT_TRUE(mp.set(Disp::AutoRewind, false));
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_TRUE(QTest::qWaitFor([&] { return position() > 0.1; }, 1000));
    EXPECT_EQ(rig.nextEnd(2000), 0);
    EXPECT_GT(position(), 0.7);

    // Moved to the very end while paused: play ends it at once.
    ASSERT_TRUE(mp.call(Disp::Pause));
    ASSERT_TRUE(mp.set(Disp::CurrentPosition, 0.9));
    QTest::qWait(200);
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(500), 0);
    EXPECT_EQ(rig.ends.size(), 3);
}

TEST(EnginePlayback, NamesThatLookLikeProtocolsOrOptionsAreFiles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("av:"));
    for (const char *name : {"av:/x.wav", "--foo.wav", "memory:x.wav"})
        ASSERT_TRUE(writeWav(dir.filePath(name), 0.3)) << name;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EngineRig rig(untimedOutputs());
    // Real protocol texts are only names of files that do not exist.
    for (const QString &name : {QStringLiteral("av://x.wav"), QStringLiteral("--foo.wav"), QStringLiteral("memory:x.wav"),
                                dir.filePath("--foo.wav"), QStringLiteral("av://lavfi:sine=d=0.2"),
                                QStringLiteral("memory://RIFF"), QStringLiteral("--ao=pcm")}) {
        ASSERT_TRUE(rig.engine->set(Disp::FileName, name));
        rig.engine->call(Disp::Play);
        const int result = rig.nextEnd(2000);
        EXPECT_NE(result, -999) << name.toStdString();
        EXPECT_EQ(result == 0, name.endsWith(".wav")) << name.toStdString();
    }
    QDir::setCurrent(before);
    // Only web addresses reach libmpv as addresses.
    EXPECT_EQ(mpvTarget("HTTPS://host/a.mp3", "/music"), "HTTPS://host/a.mp3");
}

// A "song" that is really a text list of a web address, an edl:// line and
// another file makes the engine open that file and nothing else. The test
// runs itself again under strace, which sees every file opened and every
// connection made.
TEST(EnginePlayback, APlayedFileOpensNothingItNames)
{
    if (qEnvironmentVariableIsSet("SOLVANE_TRACED")) {
        EngineRig rig(untimedOutputs());
        rig.play(qEnvironmentVariable("SOLVANE_TRACED"));
        EXPECT_NE(rig.nextEnd(5000), -999);
        return;
    }
    QTemporaryDir dir;
    const QString other = dir.filePath("other.wav"), song = dir.filePath("tune.mp3"), log = dir.filePath("trace");
    ASSERT_TRUE(writeWav(other, 0.2));
    ASSERT_TRUE(writeFile(song, ("#EXTM3U\nhttp://127.0.0.1:9/a.mp3\nedl://" + other + "\n" + other + "\n").toUtf8()));
    qputenv("SOLVANE_TRACED", song.toUtf8());
    EXPECT_EQ(QProcess::execute("strace", {"-f", "-s", "4096", "-e", "trace=openat,connect", "-o", log,
                                           QCoreApplication::applicationFilePath(), "--gtest_filter=*APlayedFile*"}),
              0);
    qunsetenv("SOLVANE_TRACED");
    const QStringList calls = QString::fromUtf8(fileBytes(log)).split('\n');
    EXPECT_FALSE(calls.filter(song).isEmpty());
    for (const QString &call : calls.filter(dir.path()))
        EXPECT_TRUE(call.contains('"' + song + '"')) << call.toStdString();
    EXPECT_TRUE(calls.filter("AF_INET").isEmpty()) << calls.filter("AF_INET").join('\n').toStdString();
}
