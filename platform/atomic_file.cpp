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

}  // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (target.isDir())
        return false;

    // The new content goes into a file beside the target, reaches the disk,
    // and only then takes the target's name in one step.
    QByteArray aside = QFile::encodeName(target.absolutePath() + QLatin1String("/.") + target.fileName() +
                                         QLatin1String(".XXXXXX"));
    const int fd = ::mkstemp(aside.data());
    if (fd < 0)
        return false;

    struct stat old{};
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    // Keeping the old file's mode is a courtesy; failing it is no reason to stop.
    (void)::fchmod(fd, mode);
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(aside.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok)
        ::unlink(aside.constData());
    return ok;
}
