// The whole program (windows and libmpv) on a list that mixes good clips with
// files that cannot play: each broken entry ends with an error at once and
// the list goes on.
#include <QDir>
#include <QElapsedTimer>
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

TEST(BrokenMedia, EachBrokenEntryEndsWithAnErrorWithinASecondAndTheListGoesOn)
{
    QTemporaryDir dir;
    auto at = [&](const char *name) { return dir.filePath(QString::fromLatin1(name)); };
    QByteArray noise(200000, '\0');
    QRandomGenerator(13).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    // Without its end an MP4 written in one pass has lost its index.
    const QByteArray whole = fileBytes(clip(2.0));
    // A WAV whose header claims sound that is not there: no channels, a huge
    // block and a data chunk far longer than the file.
    const QByteArray liar("RIFF\xff\xff\xff\x7fWAVEfmt \x10\0\0\0\x01\0\0\0\x80\xbb\0\0\0\0\0\0\xff\xff\x10\0data\xff\xff\xff\x7f", 44);
    const std::pair<const char *, QByteArray> broken[] = {{"zero.mp4", {}}, {"noise.mkv", noise},
        {"truncated.mp4", whole.left(whole.size() / 2)}, {"liar.wav", liar + QByteArray(4000, '\x11')}};
    for (const auto &[name, bytes] : broken)
        ASSERT_TRUE(writeFile(at(name), bytes)) << name;
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.mp4"));

    // The good entries are shared media, outside the folder of the broken ones.
    const QStringList entries{tone(0.3),      at("zero.mp4"), at("noise.mkv"),   clip(0.4), at("truncated.mp4"),
                              at("liar.wav"), at("x.mp4"),    at("missing.mp4"), tone(0.3)};
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
    ASSERT_NE(app.Mp(), nullptr);
    QString playing = app.CurrentFile;
    EXPECT_EQ(playing, entries.first());

    // Runs after the video window's own handler, which has started the next
    // entry by then: the entry that ended, its result and how long it took.
    std::vector<std::tuple<QString, int, qint64>> ends;
    QObject::connect(app.Mp(), &MediaEngine::EndOfStream, app.Mp(), [&](int result) {
        ends.push_back({playing, result, clock.restart()});
        playing = app.CurrentFile;
    });
    // Nothing stalls: every entry ends, and nothing more happens after the last.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ends.size() >= size_t(entries.size()); }, 60000));
    QTest::qWait(500);
    ASSERT_EQ(ends.size(), size_t(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
        const auto [file, result, ms] = ends[size_t(i)];
        const QString name = QFileInfo(file).fileName();
        std::printf("%-14s Result %3d after %4lld ms\n", qPrintable(name), result, ms);
        EXPECT_EQ(file, entries[i]);
        if (!file.startsWith(dir.path())) {
            EXPECT_EQ(result, 0) << qPrintable(name);
        } else {
            EXPECT_NE(result, 0) << qPrintable(name);
            EXPECT_LE(ms, 1000) << qPrintable(name);
        }
    }
    EXPECT_EQ(app.playList()->ListIndex(), entries.size() - 1);
    EXPECT_FALSE(app.hasEnded());
}
