#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// The file a path finally names: a symbolic link is written through, so the
// link stays a link (even one whose target does not exist yet).
QString finalTarget(const QString &path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(p);
        if (!info.isSymLink())
            return p;
        p = info.symLinkTarget();
    }
    return {};  // a loop of links
}

// A new file in `folder`, under a short name of its own: a name
// derived from the target's would pass the length limit with long names.
// Created with `mode` (the umask still applies); -1 when none can be made.
int createAside(const QString &folder, mode_t mode, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = QFile::encodeName(folder + QLatin1String("/.solvane-") +
                                 QString::number(QRandomGenerator::global()->generate64(), 36));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A writable file in a folder we may not write in is rewritten where it is.
// Its space is reserved first, so that a full disk fails before the old
// content is touched.
bool writeInPlace(const QByteArray &name, const QByteArray &bytes)
{
    const int fd = ::open(name.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st{};
    const int reserved = bytes.isEmpty() ? 0 : ::posix_fallocate(fd, 0, bytes.size());
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && (reserved == 0 || reserved == EOPNOTSUPP) &&
              writeAll(fd, bytes) && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    return ok;
}

}  // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QString targetPath = finalTarget(path);
    if (targetPath.isEmpty())
        return false;
    const QFileInfo target(targetPath);
    if (target.isDir())
        return false;
    const QByteArray targetName = QFile::encodeName(targetPath);

    // The new content goes into a file beside the target, reaches the disk,
    // and only then takes the target's name in one step. The replacement
    // looks like what it replaces: the old file's mode and owners, or for a
    // new file what the umask allows. It never allows more than that while
    // it is written.
    struct stat old{};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    QByteArray aside;
    const int fd = createAside(target.absolutePath(), replacing ? (old.st_mode & 0777) : 0666, aside);
    if (fd < 0) {
        if (replacing && (errno == EACCES || errno == EPERM))
            return writeInPlace(targetName, bytes);
        return false;
    }
    if (replacing) {
        // Owners can only be kept by a privileged process; no reason to stop.
        (void)::fchown(fd, old.st_uid, old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    }
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(aside.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(aside.constData());
        return false;
    }
    // The new name reaches the disk too.
    const int dir = ::open(QFile::encodeName(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}
