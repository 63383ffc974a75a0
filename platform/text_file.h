#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

// Sequential text files read as a stream, so that neither a huge file nor a
// device behind an ordinary-looking name can take the program down.

// Opens `path` for reading only when it names a regular file (a symbolic link
// to one counts). A FIFO, a device or a folder is refused before it is
// opened, so that nothing blocks or streams without end.
bool openRegularFile(QFile &file, const QString &path);

// The lines of a file, one at a time. A line ends at CR LF, a lone CR or a
// lone LF; the last line needs no end. A line longer than `maxLine` bytes is
// skipped whole, so memory stays bounded whatever the file holds.
class LineReader
{
public:
    static constexpr qsizetype kMaxLine = 32 * 1024;

    explicit LineReader(QIODevice &device, qsizetype maxLine = kMaxLine);

    // The next line, without its end; false at the end of the file or on a
    // read error.
    bool next(QByteArray &line);
    // True when reading stopped on an error rather than at the end.
    bool failed() const { return failed_; }

private:
    bool fill();

    QIODevice &device_;
    qsizetype maxLine_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
    bool atEnd_ = false;
    bool failed_ = false;
    bool afterCr_ = false;  // an LF right after a CR ends nothing
};
