#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// List files: reading M3U and PLS lists, writing M3U lists. No widgets here;
// the playlist window puts what these return into its list box.
namespace playlist {

// One load adds at most this many entries.
inline constexpr int kMaxEntries = 32766;

enum class ListFormat { Unknown, M3U, PLS };

// Decided from the end of the name alone, without regard to case: "M3U"
// (and "M3U8") are M3U lists, "PLS" are PLS lists.
ListFormat listFormat(const QString &path);

// The list's folder: the path up to and including its last "/" or "\";
// "" for a bare file name.
QString listFolder(const QString &path);

// The entry an entry text of a list stands for. http and https URLs, rooted
// paths ("/", "\") and paths with a drive letter are kept as written;
// anything else is relative to the list folder, with "\" read as "/".
QString resolveEntry(const QString &folder, const QString &text);

// A line of a list as text: UTF-8, or Windows-1252 when it is not valid
// UTF-8.
QString decodeLine(QByteArrayView bytes);

// The entries of a list's bytes, in file order and at most kMaxEntries. A
// line ends at CR LF, a lone CR or a lone LF, and loses its leading spaces;
// a UTF-8 byte-order mark at the start is dropped. M3U: every line but blank
// ones and "#" comments. PLS: the values of the "File…=" lines.
QStringList m3uEntries(const QByteArray &bytes, const QString &folder);
QStringList plsEntries(const QByteArray &bytes, const QString &folder);

struct ListRead
{
    QStringList entries;
    // False when reading failed part way: `entries` holds what came before.
    bool complete = true;
};

// Reads the list at `path`. nullopt when the name is not an M3U or PLS list
// or the file cannot be opened: the caller's playlist stays as it was.
std::optional<ListRead> readPlaylist(const QString &path);

// An M3U list: each entry, in UTF-8, followed by CR LF; nothing else.
QByteArray m3uBytes(const QStringList &entries);

// Writes the M3U list at `path` in one piece: on failure the file that was
// there is left as it was.
bool writeM3U(const QString &path, const QStringList &entries);

}  // namespace playlist
