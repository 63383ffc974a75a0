// A writer killed at any moment leaves each file whole: its old content or its
// new one, never a mix or a truncation. The real writers run in a child
// process that rewrites the file over and over, two contents in turn, until
// it is killed with SIGKILL at a random moment of a write.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/settings.h"
#include "playlist/playlist_file.h"
#include "support/files.h"

namespace {

constexpr int kRuns = 200;

// Forks a child that calls `write(k)` for k = 1, 2, 3… and kills it after
// `delayUs`, counted from just before its first write.
void killWhileWriting(const std::function<bool(int)> &write, qint64 delayUs)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        (void)!::write(ready[1], "w", 1);
        for (int k = 1; write(k); ++k) {
        }
        ::_exit(3);
    }
    ::close(ready[1]);
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ::usleep(useconds_t(delayUs));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // A writer that failed by itself would prove nothing.
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "writer ended with status " << status;
}

// Runs kRuns kills over about two writes each and checks the file after each.
// Some kills must land in the middle of a write, which leaves its unfinished
// copy aside: otherwise the runs proved nothing.
void killRuns(const char *what, const QString &path, const QByteArray &oldBytes, const QByteArray &newBytes,
              const std::function<bool(int)> &write)
{
    QElapsedTimer t;
    t.start();
    EXPECT_TRUE(write(1) && write(0));  // leaves the old content
    const qint64 oneWriteUs = qMax<qint64>(t.nsecsElapsed() / 2000, 200);
    EXPECT_EQ(fileBytes(path), oldBytes);

    int sawNew = 0, midWrite = 0;
    QRandomGenerator rng(20261206);
    for (int run = 0; run < kRuns && !::testing::Test::HasFatalFailure(); ++run) {
        killWhileWriting(write, qint64(rng.bounded(quint32(2 * oneWriteUs))));
        const QByteArray now = fileBytes(path);
        sawNew += now == newBytes;
        EXPECT_TRUE(now == newBytes || now == oldBytes) << "run " << run << ": " << now.size() << " bytes, neither old nor new";
        // Start each run from the old content, whatever the kill left.
        EXPECT_TRUE(write(0));
        // A killed write may leave its unfinished copy aside, never under the
        // file's own name; take it away so that the folder stays small.
        const QStringList asides = QDir(QFileInfo(path).path()).entryList({".*"}, QDir::Files | QDir::Hidden);
        midWrite += !asides.isEmpty();
        for (const QString &aside : asides)
            QFile::remove(QFileInfo(path).path() + "/" + aside);
    }
    std::printf("%s: %d kills, %d in the middle of a write, %d found the new content\n", what, kRuns, midWrite, sawNew);
    EXPECT_GT(midWrite, 0) << "no kill came during a write";
}

}  // namespace

TEST(KillWhileWriting, SettingsFileAndSavedListAreOldOrNewWhole)
{
    QTemporaryDir dir;
    const QString cfg = dir.filePath("Solvane.cfg"), list = dir.filePath("soir.m3u");
    Settings oldS = Settings::defaults();
    Settings newS;
    newS.fromArray({4, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 1, 12345, 16777215, -32768, 1, -10000, 32767, 1});
    killRuns("settings file", cfg, formatSettings(oldS), formatSettings(newS),
             [&](int k) { return writeSettingsFile(cfg, k % 2 ? newS : oldS); });

    QStringList oldList, newList;
    for (int i = 0; i < playlist::kMaxEntries; ++i) {
        oldList << QStringLiteral("/musique/ancienne/%1.mp3").arg(i);
        newList << QStringLiteral("/films/nouvelle liste/épisode %1.mkv").arg(i);
    }
    killRuns("32766-entry list", list, playlist::m3uBytes(oldList), playlist::m3uBytes(newList),
             [&](int k) { return playlist::writeM3U(list, k % 2 ? newList : oldList); });
}
