#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "playlist/playlist_file.h"
#include "support/files.h"

using namespace playlist;

namespace {

struct ListDir
{
    QString write(const QString &name, const QByteArray &bytes) const
    {
        EXPECT_TRUE(writeFile(dir.filePath(name), bytes));
        return dir.filePath(name);
    }
    QStringList read(const QString &name, const QByteArray &bytes) const
    {
        const auto r = readPlaylist(write(name, bytes));
        return r ? r->texts() : QStringList{"<nothing>"};
    }
    QString folder() const { return dir.path() + '/'; }
    QTemporaryDir dir;
};

}  // namespace

TEST(PlaylistRead, EntriesResolvedDecodedAndCapped)
{
    ListDir d;
    const QByteArray m3u = "#EXTM3U\r\n"
                           "#EXTINF:123,Artiste - Titre\r\n"
                           "  C:\\Musique\\a.mp3\r\n"
                           "\r\n"
                           "  #EXTINF:5,indented comment\r"
                           "D:b.mp3\n"
                           "\\Musique\\b.mp3\r\n"
                           "/srv/c.ogg  \r\n"
                           "..\\Sons\\d.wav\r\n"
                           "sous dossier/e.flac\r\n"
                           "HTTPS://radio.example/x?a=1\\b\n"
                           "\tf.mp3";
    EXPECT_EQ(d.read("x.m3u", m3u),
              (QStringList{d.folder() + "C:/Musique/a.mp3", d.folder() + "D:b.mp3", "\\Musique\\b.mp3", "/srv/c.ogg  ",
                           d.folder() + "../Sons/d.wav", d.folder() + "sous dossier/e.flac",
                           "HTTPS://radio.example/x?a=1\\b", d.folder() + "\tf.mp3"}));
    // The extension decides (its case and .m3u8: the fuzzer's lists).
    EXPECT_FALSE(readPlaylist(d.write("x.m3u.mp3", "/m/a.mp3\r\n")));
    EXPECT_FALSE(readPlaylist(d.dir.filePath("missing.m3u")));

    // PLS: the File values in file order, whatever their numbers.
    const QByteArray pls = "[playlist]\r\n"
                           "File9=C:\\a.mp3\r\n"
                           "file1=C:\\ignored.mp3\r\n"
                           "  File2 = C:\\b.mp3\r\n"
                           "File3\r\n"
                           "File4=http://h/x.mp3?x=1=2\n"
                           "File5=rel\\c.mp3\n"
                           "File7=  \t\r\n";
    EXPECT_EQ(d.read("x.Pls", pls),
              (QStringList{d.folder() + "C:/a.mp3", d.folder() + " C:/b.mp3", "http://h/x.mp3?x=1=2", d.folder() + "rel/c.mp3"}));

    // The fuzzer checks the cap is never passed, in both kinds of list; here
    // that it is reached exactly.
    QByteArray longList;
    for (int i = 0; i < kMaxEntries + 100; ++i)
        longList += "File" + QByteArray::number(i) + "=/m/" + QByteArray::number(i) + ".mp3\n";
    const QStringList entries = d.read("long.pls", longList);
    EXPECT_EQ(entries.size(), kMaxEntries);
    EXPECT_EQ(entries.value(kMaxEntries - 1), "/m/32765.mp3");
    // A line longer than any name (an endless one in a huge file) is skipped,
    // not held whole.
    EXPECT_EQ(d.read("wide.m3u", "/m/a.mp3\n" + QByteArray(100 << 10, 'x') + "\n/m/z.mp3\n"),
              (QStringList{"/m/a.mp3", "/m/z.mp3"}));

    // Text is UTF-8, or else Windows-1252, line by line.
    const QByteArray bytes = "\xEF\xBB\xBF#EXTM3U\r\n"
                             "/m/Caf\xC3\xA9 \xE2\x82\xAC.mp3\r\n"   // UTF-8
                             "/m/Caf\xE9 \x80 \x92.mp3\r\n"          // Windows-1252
                             "/m/\xC3(.mp3\r\n"                      // broken UTF-8
                             "/m/x\xE2\x82";                         // cut short
    EXPECT_EQ(d.read("enc.m3u", bytes), (QStringList{QString::fromUtf8("/m/Café €.mp3"),
                                                     QString::fromUtf8("/m/Café € ’.mp3"),
                                                     QString::fromUtf8("/m/Ã(.mp3"), QString::fromUtf8("/m/xâ‚")}));
}

// Saved through the real dialog, read back, in the dialog test; written whole
// or not at all, in the kill test.
TEST(PlaylistWrite, EntriesInUtf8WithCrLfAndNothingElse)
{
    ListDir d;
    EXPECT_EQ(m3uBytes({QString::fromUtf8("/m/Été à.ogg")}), QByteArray("/m/\xC3\x89t\xC3\xA9 \xC3\xA0.ogg\r\n"));
    ASSERT_TRUE(writeM3U(d.dir.filePath("empty.m3u"), {}));
    EXPECT_EQ(fileBytes(d.dir.filePath("empty.m3u")), "");
    EXPECT_FALSE(writeM3U(d.dir.filePath("no/such/folder.m3u"), {"/m/a.mp3"}));
}
