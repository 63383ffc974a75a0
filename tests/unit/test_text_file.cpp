#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "app/settings.h"
#include "platform/text_file.h"
#include "playlist/playlist_file.h"
#include "support/files.h"

namespace {

long peakRssKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace

// Names that are not regular files are refused before they are opened: a
// FIFO would block for ever, /dev/zero never ends. (Lists of both are given
// to the real program in the windows' end-to-end test.)
TEST(ListFiles, OnlyRegularFilesAreRead)
{
    QTemporaryDir dir;
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo.m3u")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("zero.m3u")));
    QFile file;
    EXPECT_FALSE(openRegularFile(file, dir.path()));

    // A link to a regular file is read.
    const QString real = dir.filePath("real.m3u");
    ASSERT_TRUE(writeFile(real, "/m/a.mp3\n"));
    ASSERT_TRUE(QFile::link(real, dir.filePath("link.pls.m3u")));
    EXPECT_EQ(playlist::readPlaylist(dir.filePath("link.pls.m3u"))->texts(), QStringList{"/m/a.mp3"});

    // The settings reader takes the same care: no file, so the defaults.
    for (const QString &name : {QStringLiteral("fifo.m3u"), QStringLiteral("zero.m3u")}) {
        Settings s;
        readSettingsFile(dir.filePath(name), s);
        EXPECT_EQ(s, Settings::defaults());
    }
}

// A list is read as a stream: a 96 MiB file costs no more memory than a
// small one, and an endless line is skipped.
TEST(ListFiles, HugeFilesAreReadAsAStream)
{
    QTemporaryDir dir;
    const qint64 size = 96LL << 20;
    const auto sparse = [&](const QString &name, const QByteArray &head, const QByteArray &tail) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(head);
        f.seek(size - tail.size());
        f.write(tail);
        return path;
    };
    const long before = peakRssKiB();
    const auto read = playlist::readPlaylist(sparse("big.m3u", "/m/a.mp3\n", "\n/m/z.mp3\n"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->texts(), (QStringList{"/m/a.mp3", "/m/z.mp3"}));

    Settings s;
    readSettingsFile(sparse("Solvane.cfg", " 2  1 \r\n", "\n 0 "), s);
    EXPECT_EQ(s.CfgDisplaySize, 2);
    EXPECT_EQ(s.CfgShowControls, 1);
    EXPECT_LT(peakRssKiB() - before, 32 * 1024) << "KiB more at peak";
}
