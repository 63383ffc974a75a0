#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <cstdio>

#include "engine/engine_rules.h"
#include "tests/engine/engine_test_support.h"

// One engine through a file's ends: each once the last sound is heard, also
// when the file is set again from the end's own handler, as often as the
// play count says, and none for a file replaced or stopped.
TEST(EnginePlayback, EndsOnceHeardAsCountedNotWhenReplacedOrStopped)
{
    EngineRig rig;
    MpvEngine &mp = *rig.engine;
    const auto position = [&] { return number(mp, Disp::CurrentPosition); };
    // What the video window does at the end of a one-entry looping list.
    QString looping;
    QObject::connect(&mp, &MediaEngine::EndOfStream, &mp, [&](int) {
        if (!looping.isEmpty() && mp.set(Disp::FileName, looping) && mp.set(Disp::FileName, looping))
            mp.call(Disp::Play);
        looping.clear();
    });
    QElapsedTimer t;
    for (const QString &path : {clip(1.5), tone(1.5)}) {
        looping = path;
        t.start();
        rig.play(path);
        for (const char *round : {"played", "replayed"}) {
            EXPECT_EQ(rig.nextEnd(6000), 0) << round;
            const double late = t.restart() / 1000.0 - 1.5;
            std::printf("[ timing ] %s %s: end of stream %+.3f s after the full length\n", qPrintable(path), round, late);
            // Not before the end has been heard, and soon after it.
            EXPECT_GE(late, -0.05) << round;
            EXPECT_LE(late, 0.3) << round;
        }
        EXPECT_EQ(rig.nextEnd(1200), -999) << "a third end of stream";
    }

    // A file replaced while it plays never reports its end; the new one does.
    rig.play(clip(1.5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return position() > 0.2; }, 2000));
    rig.play(tone(0.8));
    t.start();
    EXPECT_EQ(rig.nextEnd(3000), 0);
    EXPECT_GE(t.elapsed(), 750) << "the end came from the replaced file";

    // Stopped it is back at 0 and does not end. (Pause and play are driven on
    // the real program end to end.)
    ASSERT_TRUE(mp.call(Disp::Play));
    ASSERT_TRUE(QTest::qWaitFor([&] { return position() > 0.1 && position() < 0.5; }, 1000)) << "starts over";
    ASSERT_TRUE(mp.call(Disp::Stop));
    EXPECT_EQ(position(), 0.0);
    EXPECT_EQ(rig.nextEnd(1000), -999);

    // Played twice from the beginning then rewound, or once and left at its end.
    for (auto [count, rewind, least] : {std::tuple{2, true, 1550}, {1, false, 750}}) {
        ASSERT_TRUE(mp.set(Disp::PlayCount, count));
        ASSERT_TRUE(mp.set(Disp::AutoRewind, rewind));
        t.start();
        ASSERT_TRUE(mp.call(Disp::Play));
        EXPECT_EQ(rig.nextEnd(4000), 0) << count;
        std::printf("[ timing ] play count %d of 0.8 s: end after %.3f s\n", count, t.elapsed() / 1000.0);
        EXPECT_GE(t.elapsed(), least);
        EXPECT_TRUE(QTest::qWaitFor([&] { return rewind ? position() == 0.0 : position() > 0.7; }, 500)) << count;
    }

    // Moved to the very end while paused: play ends it at once.
    ASSERT_TRUE(mp.call(Disp::Pause));
    ASSERT_TRUE(mp.set(Disp::CurrentPosition, 0.9));
    ASSERT_TRUE(mp.call(Disp::Play));
    EXPECT_EQ(rig.nextEnd(500), 0);
    EXPECT_EQ(rig.ends.size(), 8);
}

// A "song" that is really a text list of a web address, an edl:// line and
// another file makes the engine open that file and nothing else, and names
// that look like protocols or options are only files. The test runs itself
// again under strace, which sees every file opened and every connection made.
TEST(EnginePlayback, NamesAreOnlyFilesAndAPlayedFileOpensNothingItNames)
{
    const QStringList names{"av://x.wav",    "--foo.wav", "memory:x.wav", "av://lavfi:sine=d=0.2",
                            "memory://RIFF", "--ao=pcm",  "tune.mp3"};
    if (qEnvironmentVariableIsSet("SOLVANE_TRACED")) {
        QDir::setCurrent(qEnvironmentVariable("SOLVANE_TRACED"));
        EngineRig rig(untimedOutputs());
        for (const QString &name : names) {
            ASSERT_TRUE(rig.engine->set(Disp::FileName, name));
            rig.engine->call(Disp::Play);
            const int result = rig.nextEnd(2000);
            EXPECT_NE(result, -999) << name.toStdString();
            // Real protocol texts are only names of files that do not exist.
            EXPECT_EQ(result == 0, name.endsWith(".wav")) << name.toStdString();
        }
        return;
    }
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("av:"));
    for (const char *name : {"av:/x.wav", "--foo.wav", "memory:x.wav"})
        ASSERT_TRUE(writeWav(dir.filePath(name), 0.3)) << name;
    const QString other = dir.filePath("other.wav"), song = dir.filePath("tune.mp3"), log = dir.filePath("trace");
    ASSERT_TRUE(writeWav(other, 0.2));
    ASSERT_TRUE(writeFile(song, ("#EXTM3U\nhttp://127.0.0.1:9/a.mp3\nedl://" + other + "\n" + other + "\n").toUtf8()));
    qputenv("SOLVANE_TRACED", dir.path().toUtf8());
    // LeakSanitizer cannot work in a traced process; the other tests look for leaks.
    if (qEnvironmentVariableIsSet("ASAN_OPTIONS"))
        qputenv("ASAN_OPTIONS", qgetenv("ASAN_OPTIONS") + ":detect_leaks=0");
    EXPECT_EQ(QProcess::execute("strace", {"-f", "-s", "4096", "-e", "trace=openat,connect", "-o", log,
                                           QCoreApplication::applicationFilePath(), "--gtest_filter=*NamesAreOnlyFiles*"}),
              0);
    qunsetenv("SOLVANE_TRACED");
    const QStringList calls = QString::fromUtf8(fileBytes(log)).split('\n');
    EXPECT_FALSE(calls.filter(song).isEmpty());
    EXPECT_TRUE(calls.filter(other).isEmpty()) << calls.filter(other).join('\n').toStdString();
    EXPECT_TRUE(calls.filter("AF_INET").isEmpty()) << calls.filter("AF_INET").join('\n').toStdString();
    // Only web addresses reach libmpv as addresses.
    EXPECT_EQ(mpvTarget("HTTPS://host/a.mp3", "/music"), "HTTPS://host/a.mp3");
}
