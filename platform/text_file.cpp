#include "platform/text_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr qsizetype kChunk = 64 * 1024;
}

bool openRegularFile(QFile &file, const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray name = QFile::encodeName(path);
    struct stat st{};
    // Checked before opening: opening a FIFO waits for a writer.
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    // Non-blocking, and checked again on what was opened, in case the name
    // changed hands in between.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

LineReader::LineReader(QIODevice &device, qsizetype maxLine) : device_(device), maxLine_(maxLine) {}

bool LineReader::fill()
{
    if (atEnd_)
        return false;
    buffer_.remove(0, pos_);
    pos_ = 0;
    const qsizetype had = buffer_.size();
    buffer_.resize(had + kChunk);
    const qint64 n = device_.read(buffer_.data() + had, kChunk);
    buffer_.resize(had + qMax<qint64>(n, 0));
    if (n < 0)
        failed_ = true;
    if (n <= 0)
        atEnd_ = true;
    return n > 0;
}

bool LineReader::next(QByteArray &line)
{
    bool skipping = false;
    qsizetype scan = pos_;
    for (;;) {
        const char *p = buffer_.constData();
        const qsizetype n = buffer_.size();
        if (afterCr_ && scan < n) {
            afterCr_ = false;
            if (p[scan] == '\n')
                pos_ = ++scan;
        }
        while (scan < n && p[scan] != '\r' && p[scan] != '\n')
            ++scan;
        if (scan < n) {
            // A whole line.
            const bool cr = p[scan] == '\r';
            const bool tooLong = skipping || scan - pos_ > maxLine_;
            if (!tooLong)
                line = QByteArray(p + pos_, scan - pos_);
            ++scan;
            if (cr) {
                if (scan < n) {
                    if (p[scan] == '\n')
                        ++scan;
                } else {
                    afterCr_ = true;
                }
            }
            pos_ = scan;
            if (!tooLong)
                return true;
            skipping = false;
            continue;
        }
        // No line end yet: a line already too long is dropped as it comes.
        if (scan - pos_ > maxLine_) {
            skipping = true;
            pos_ = scan;
        }
        const qsizetype offset = scan - pos_;
        if (!fill()) {
            if (failed_)
                return false;
            // The last line, without an end.
            if (!skipping && pos_ < buffer_.size()) {
                line = buffer_.mid(pos_);
                pos_ = buffer_.size();
                return true;
            }
            return false;
        }
        scan = pos_ + offset;
    }
}
