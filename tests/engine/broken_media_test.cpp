// The whole program (windows and libmpv) on a list that mixes good clips with
// files that cannot play: each broken entry ends with an error at once and
// the list goes on.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "app/settings.h"
#include "engine/media_engine.h"
#include "playlist/frm_playlist.h"
#include "support/files.h"
#include "tests/engine/engine_media.h"

namespace {

// A WAV whose header claims sound that is not there: no channels, a huge
// block and a data chunk far longer than the file.
QByteArray lyingWav()
{
    QByteArray h("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\0\0\x80\xbb\0\0\0\0\0\0\xff\xff\x10\0data\xff\xff\xff\x7f", 44);
    return h + QByteArray(4000, '\x11');
}

struct End
{
    QString file;  // the entry that ended
    int result;
    qint64 ms;     // from its start to its end
};

}  // namespace

TEST(BrokenMedia, EachBrokenEntryEndsWithAnErrorWithinASecondAndTheListGoesOn)
{
    QTemporaryDir dir;
    auto at = [&](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    ASSERT_TRUE(writeWav(at("good1.wav"), 0.3));
    ASSERT_TRUE(makeVideo(at("good2.mp4"), 0.4));
    ASSERT_TRUE(writeWav(at("good3.wav"), 0.3));
    ASSERT_TRUE(writeFile(at("zero.mp4"), {}));
    QByteArray noise(200000, '\0');
    QRandomGenerator rng(13);
    rng.fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    ASSERT_TRUE(writeFile(at("noise.mkv"), noise));
    // Without its end an MP4 written in one pass has lost its index.
    ASSERT_TRUE(makeVideo(at("whole.mp4"), 2.0));
    const QByteArray whole = fileBytes(at("whole.mp4"));
    ASSERT_TRUE(writeFile(at("truncated.mp4"), whole.left(whole.size() / 2)));
    ASSERT_TRUE(writeFile(at("liar.wav"), lyingWav()));
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.mp4"));

    const QStringList entries{at("good1.wav"), at("zero.mp4"),      at("noise.mkv"), at("good2.mp4"), at("truncated.mp4"),
                              at("liar.wav"),  at("x.mp4"),         at("missing.mp4"), at("good3.wav")};
    const QStringList good{at("good1.wav"), at("good2.mp4"), at("good3.wav")};
    ASSERT_TRUE(writeFile(at("mixed.m3u"), entries.join("\n").toUtf8()));

    // Each file plays once (the default repeats it without end).
    Settings once = Settings::defaults();
    once.CfgPlayCount = 1;
    ASSERT_TRUE(writeSettingsFile(at("Solvane.cfg"), once));

    App app;  // the libmpv engine
    app.AppFolder = dir.path();
    app.currentDir = dir.path();
    app.arguments = {at("mixed.m3u")};
    QElapsedTimer clock;
    clock.start();
    app.Solvane();
    ASSERT_FALSE(app.hasEnded());
    MediaEngine *mp = app.Mp();
    ASSERT_NE(mp, nullptr);

    // Runs after the video window's own handler, which has started the next
    // entry by then.
    std::vector<End> ends;
    QString playing = app.CurrentFile;
    qint64 startedAt = 0;
    QObject::connect(mp, &MediaEngine::EndOfStream, mp, [&](int result) {
        ends.push_back({playing, result, clock.elapsed() - startedAt});
        playing = app.CurrentFile;
        startedAt = clock.elapsed();
    });
    EXPECT_EQ(playing, entries.first());

    // Nothing stalls: every entry ends, and nothing more happens after the last.
    QTRY_COMPARE_WITH_TIMEOUT(int(ends.size()), int(entries.size()), 60000);
    QTest::qWait(500);
    ASSERT_EQ(ends.size(), size_t(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        const End &e = ends[size_t(i)];
        std::printf("%-14s Result %3d after %4lld ms\n", qPrintable(QFileInfo(e.file).fileName()), e.result, e.ms);
        EXPECT_EQ(e.file, entries[i]);
        if (good.contains(entries[i])) {
            EXPECT_EQ(e.result, 0) << qPrintable(e.file);
        } else {
            EXPECT_NE(e.result, 0) << qPrintable(e.file);
            EXPECT_LE(e.ms, 1000) << qPrintable(e.file);
        }
    }
    EXPECT_EQ(app.playList()->ListIndex(), entries.size() - 1);
    EXPECT_FALSE(app.hasEnded());
}
