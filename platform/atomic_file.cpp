#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
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

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
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
    // and only then takes the target's name in one step.
    QByteArray aside = QFile::encodeName(target.absolutePath() + QLatin1String("/.") + target.fileName() +
                                         QLatin1String(".XXXXXX"));
    const int fd = ::mkstemp(aside.data());
    if (fd < 0)
        return false;

    // The replacement looks like what it replaces: the old file's mode and
    // owners, or for a new file what the umask allows.
    struct stat old{};
    if (::stat(targetName.constData(), &old) == 0) {
        // Owners can only be kept by a privileged process; no reason to stop.
        (void)::fchown(fd, old.st_uid, old.st_gid);
        (void)::fchmod(fd, old.st_mode & 07777);
    } else {
        (void)::fchmod(fd, 0666 & ~currentUmask());
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
