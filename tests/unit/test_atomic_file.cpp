#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "support/files.h"

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

// Root passes every permission: a check that needs one runs as nobody then.
bool asOrdinaryUser(const std::function<bool()> &check)
{
    if (::geteuid() != 0)
        return check();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 && check() ? 0 : 1);
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

// The writer leaves the process-wide mask alone: other threads create files
// meanwhile.
int umaskCalls = 0;
extern "C" mode_t umask(mode_t mask) noexcept
{
    ++umaskCalls;
    return mode_t(::syscall(SYS_umask, mask));
}

// A replaced file looks like the one it replaces: same mode, still behind its
// symbolic link; a new file gets what the umask allows.
TEST(AtomicFile, ReplacementKeepsModeAndLinks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Solvane.cfg");
    const mode_t oldMask = ::umask(027);
    const int calls = umaskCalls;
    EXPECT_TRUE(writeFileAtomically(path, "new\r\n"));
    EXPECT_EQ(umaskCalls, calls);
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

    // A name as long as a folder allows, and a writable list in a folder that
    // is not: both are saved; a new file there cannot be.
    const QString longName = dir.filePath(QString(251, u'n') + ".m3u");
    EXPECT_TRUE(writeFileAtomically(longName, "long\r\n"));
    EXPECT_EQ(fileBytes(longName), "long\r\n");
    const QString kept = dir.filePath("real/kept.m3u");
    ASSERT_TRUE(writeFile(kept, "old\r\n"));
    ASSERT_EQ(::chown(QFile::encodeName(kept).constData(), ::geteuid() ? ::geteuid() : 65534, -1), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.filePath("real")).constData(), 0555), 0);
    EXPECT_TRUE(asOrdinaryUser([&] {
        return writeFileAtomically(kept, "new\r\n") && !writeFileAtomically(dir.filePath("real/new.m3u"), "x");
    }));
    EXPECT_EQ(fileBytes(kept), "new\r\n");
    ::chmod(QFile::encodeName(dir.filePath("real")).constData(), 0755);
}
