#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/atomic_file.h"
#include "support/files.h"

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

}  // namespace

// A replaced file looks like the one it replaces: same mode, still behind its
// symbolic link; a new file gets what the umask allows.
TEST(AtomicFile, ReplacementKeepsModeAndLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Solvane.cfg");
    const mode_t oldMask = ::umask(027);
    EXPECT_TRUE(writeFileAtomically(path, "new\r\n"));
    EXPECT_EQ(modeOf(path), 0640u);
    ::umask(oldMask);

    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0604), 0);
    ASSERT_TRUE(writeFileAtomically(path, "again\r\n"));
    EXPECT_EQ(modeOf(path), 0604u);
    EXPECT_EQ(fileBytes(path), "again\r\n");

    // Through a link (relative, and a chain of two) to a file in another folder.
    QDir(dir.path()).mkdir("real");
    const QString real = dir.filePath("real/list.m3u");
    ASSERT_TRUE(writeFileAtomically(real, "old\r\n"));
    ASSERT_EQ(::chmod(QFile::encodeName(real).constData(), 0600), 0);
    ASSERT_EQ(::symlink("real/list.m3u", QFile::encodeName(dir.filePath("hop.m3u")).constData()), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("hop.m3u"), dir.filePath("link.m3u")));
    ASSERT_TRUE(writeFileAtomically(dir.filePath("link.m3u"), "through\r\n"));
    EXPECT_TRUE(QFileInfo(dir.filePath("link.m3u")).isSymLink());
    EXPECT_EQ(fileBytes(real), "through\r\n");
    EXPECT_EQ(modeOf(real), 0600u);
    EXPECT_EQ(QDir(dir.filePath("real")).entryList(QDir::Files | QDir::Hidden), QStringList{"list.m3u"});

    // A name as long as a folder allows: no room left for a longer
    // temporary name beside it.
    const QString longName = dir.filePath(QString(251, u'n') + ".m3u");
    EXPECT_TRUE(writeFileAtomically(longName, "long\r\n"));
    EXPECT_EQ(fileBytes(longName), "long\r\n");
}
