#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "app/settings.h"
#include "playlist/playlist_file.h"

namespace {

long peakRssKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

}  // namespace

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
