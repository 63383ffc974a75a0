#include "playlist/playlist_file.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

#include "platform/atomic_file.h"
#include "platform/paths.h"

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

QString fromCp1252(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

// Calls `line(bytes)` for each line: a line ends at CR LF, a lone CR or a
// lone LF, and the last one needs no end. A UTF-8 byte-order mark goes.
template <typename Fn>
void forEachLine(QByteArrayView bytes, Fn line)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const char *p = bytes.data();
    const qsizetype n = bytes.size();
    qsizetype start = 0, i = 0;
    while (i < n) {
        const char c = p[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        if (!line(QByteArrayView(p + start, i - start)))
            return;
        i += (c == '\r' && i + 1 < n && p[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < n)
        line(QByteArrayView(p + start, n - start));
}

// Lines keep their trailing spaces; only leading spaces (not tabs) go.
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

QString resolveEntry(const QString &folder, const QString &text)
{
    if (paths::isWebUrl(text) || paths::hasDriveLetter(text) || text.startsWith(u'/') ||
        text.startsWith(u'\\'))
        return text;
    // Sized exactly: a long list keeps tens of thousands of these.
    QString entry;
    entry.reserve(folder.size() + text.size());
    entry += folder;
    entry += text;
    std::replace(entry.begin() + folder.size(), entry.end(), QChar(u'\\'), paths::kSeparator);
    return entry;
}

QString decodeLine(QByteArrayView bytes)
{
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return fromCp1252(bytes);
}

QStringList m3uEntries(const QByteArray &bytes, const QString &folder)
{
    QStringList entries;
    forEachLine(bytes, [&](QByteArrayView raw) {
        const QByteArrayView line = withoutLeadingSpaces(raw);
        // Blank lines and comments (#EXTM3U, #EXTINF…) name no file.
        if (!line.startsWith('#') && !isBlank(line))
            entries << resolveEntry(folder, decodeLine(line));
        return entries.size() < kMaxEntries;
    });
    return entries;
}

QStringList plsEntries(const QByteArray &bytes, const QString &folder)
{
    QStringList entries;
    forEachLine(bytes, [&](QByteArrayView raw) {
        const QByteArrayView line = withoutLeadingSpaces(raw);
        // The key is case-sensitive and its number is not read: file order
        // is play order. The value is taken whole, spaces and all.
        const qsizetype eq = line.indexOf('=');
        if (line.startsWith("File") && eq >= 0)
            entries << resolveEntry(folder, decodeLine(line.sliced(eq + 1)));
        return entries.size() < kMaxEntries;
    });
    return entries;
}

std::optional<ListRead> readPlaylist(const QString &path)
{
    const ListFormat format = listFormat(path);
    if (format == ListFormat::Unknown)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    ListRead read;
    if (file.error() != QFileDevice::NoError) {
        // Keep the lines read whole; a line cut short would name another file.
        read.complete = false;
        const qsizetype lastEnd = qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        bytes.truncate(lastEnd + 1);
    }
    file.close();
    const QString folder = listFolder(path);
    read.entries = format == ListFormat::M3U ? m3uEntries(bytes, folder) : plsEntries(bytes, folder);
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
