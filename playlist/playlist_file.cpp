#include "playlist/playlist_file.h"

#include <QBuffer>
#include <QFile>
#include <algorithm>

#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "platform/text_file.h"

namespace playlist {

namespace {

bool endsWithCi(const QString &path, QLatin1StringView suffix)
{
    return path.endsWith(suffix, Qt::CaseInsensitive);
}

// Windows-1252 for 0x80-0x9F; the rest of the code page is Latin-1. The five
// unassigned bytes keep their Latin-1 value, as browsers do.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QByteArray cp1252ToUtf8(QByteArrayView line)
{
    QByteArray out;
    out.reserve(line.size() * 3);
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        const char16_t u = b < 0x80 ? b : (b < 0xA0 ? kCp1252High[b - 0x80] : b);
        if (u < 0x80) {
            out += char(u);
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
    out.squeeze();
    return out;
}

QByteArrayView withoutLeadingSpaces(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] == ' ')
        ++i;
    return line.sliced(i);
}

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); });
}

bool startsWithCi(QByteArrayView text, QByteArrayView prefix)
{
    return text.size() >= prefix.size() && qstrnicmp(text.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

ListFormat listFormat(const QString &path)
{
    if (endsWithCi(path, QLatin1StringView(".m3u")) || endsWithCi(path, QLatin1StringView(".m3u8")))
        return ListFormat::M3U;
    if (endsWithCi(path, QLatin1StringView(".pls")))
        return ListFormat::PLS;
    return ListFormat::Unknown;
}

QString listFolder(const QString &path)
{
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.left(cut + 1);
}

bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        // Length and the range of the first continuation byte, which rules
        // out overlong forms, surrogates and code points past U+10FFFF.
        int len = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            lo = b == 0xE0 ? 0xA0 : 0x80;
            hi = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            lo = b == 0xF0 ? 0x90 : 0x80;
            hi = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + len > n || p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k < len; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += len;
    }
    return true;
}

bool isEntryName(QStringView name)
{
    return !name.contains(u'\n') && !name.contains(u'\r') && !name.contains(QChar(0));
}

QByteArray resolveEntry(QByteArrayView folder, QByteArrayView text)
{
    // The rules of paths::isWebUrl and paths::isAbsolute, on bytes.
    // A "\\" at the start roots a path of a list written on Windows.
    const bool kept = startsWithCi(text, "http://") || startsWithCi(text, "https://") || text.startsWith('/') ||
                      text.startsWith('\\');
    if (kept)
        return text.toByteArray();
    // Sized exactly: a long list keeps tens of thousands of these.
    QByteArray entry;
    entry.reserve(folder.size() + text.size());
    entry += folder;
    entry += text;
    std::replace(entry.begin() + folder.size(), entry.end(), '\\', char(paths::kSeparator.unicode()));
    return entry;
}

namespace {

// A line that is not valid UTF-8 was written in Windows-1252.
void addEntry(QByteArrayList &entries, QByteArrayView folder, QByteArrayView text)
{
    if (isValidUtf8(text))
        entries << resolveEntry(folder, text);
    else
        entries << resolveEntry(folder, cp1252ToUtf8(text));
}

}  // namespace

namespace {

// The entries of the lines `reader` yields, at most kMaxEntries: reading
// stops at the cap.
QByteArrayList readEntries(LineReader &reader, ListFormat format, QByteArrayView folder, int *leftOut = nullptr)
{
    QByteArrayList entries;
    QByteArray raw;
    bool first = true;
    while (entries.size() < kMaxEntries && reader.next(raw)) {
        QByteArrayView line = raw;
        if (first && line.startsWith("\xEF\xBB\xBF"))
            line = line.sliced(3);
        first = false;
        line = withoutLeadingSpaces(line);
        if (line.contains('\0')) {
            if (leftOut)
                ++*leftOut;
            continue;
        }
        if (format == ListFormat::M3U) {
            // Blank lines and comments (#EXTM3U, #EXTINF…) name no file.
            if (!line.startsWith('#') && !isBlank(line))
                addEntry(entries, folder, line);
        } else {
            // The key is case-sensitive and its number is not read: file
            // order is play order. A blank value names no file, as a blank
            // M3U line does not.
            const qsizetype eq = line.indexOf('=');
            if (line.startsWith("File") && eq >= 0 && !isBlank(line.sliced(eq + 1)))
                addEntry(entries, folder, line.sliced(eq + 1));
        }
    }
    return entries;
}

QByteArrayList entriesOf(QByteArrayView bytes, ListFormat format, QByteArrayView folder)
{
    QByteArray copy = bytes.toByteArray();
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    return readEntries(reader, format, folder);
}

}  // namespace

QByteArrayList m3uEntries(QByteArrayView bytes, QByteArrayView folder)
{
    return entriesOf(bytes, ListFormat::M3U, folder);
}

QByteArrayList plsEntries(QByteArrayView bytes, QByteArrayView folder)
{
    return entriesOf(bytes, ListFormat::PLS, folder);
}

QStringList ListRead::texts() const
{
    QStringList out;
    out.reserve(entries.size());
    for (const QByteArray &entry : entries)
        out << QString::fromUtf8(entry);
    return out;
}

std::optional<ListRead> readPlaylist(const QString &path)
{
    const ListFormat format = listFormat(path);
    if (format == ListFormat::Unknown)
        return std::nullopt;
    // Only a regular file: a FIFO would block, a device would never end.
    QFile file;
    if (!openRegularFile(file, path))
        return std::nullopt;
    // Read as a stream up to the cap; a line cut short by an error would
    // name another file, so only whole lines count.
    LineReader reader(file);
    ListRead read;
    read.entries = readEntries(reader, format, listFolder(path).toUtf8(), &read.leftOut);
    read.complete = !reader.failed();
    return read;
}

QByteArray m3uBytes(const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &entry : entries) {
        bytes += entry.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

bool writeM3U(const QString &path, const QStringList &entries)
{
    return writeFileAtomically(path, m3uBytes(entries));
}

}  // namespace playlist
