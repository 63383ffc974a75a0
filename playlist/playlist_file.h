#pragma once
#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

// List files: reading M3U and PLS lists, writing M3U lists. No widgets here;
// the playlist window puts what these return into its list box.
//
// Entries are read as UTF-8 bytes, the form the window keeps them in: a list
// of 32766 entries then costs half the memory of UTF-16 text.
namespace playlist {

// One load adds at most this many entries.
inline constexpr int kMaxEntries = 32766;

enum class ListFormat { Unknown, M3U, PLS };

// Decided from the extension alone, without regard to case: .m3u and .m3u8
// are M3U lists, .pls are PLS lists.
ListFormat listFormat(const QString &path);

// The list's folder: the path up to and including its last "/" or "\";
// "" for a bare file name.
QString listFolder(const QString &path);

// Lines that are not valid UTF-8 are read as Windows-1252.
bool isValidUtf8(QByteArrayView bytes);

// The entry an entry text of a list stands for (both UTF-8). http and https
// URLs and rooted paths ("/", "\") are kept as written; anything else, a
// drive letter too, is relative to the list folder, with "\" read as "/".
QByteArray resolveEntry(QByteArrayView folder, QByteArrayView text);

// A name a list can hold: one with a line break or a NUL in it would be
// saved as other names, or opened cut short.
bool isEntryName(QStringView name);

// The entries of a list's bytes, in file order and at most kMaxEntries. A
// line ends at CR LF, a lone CR or a lone LF, and loses its leading spaces
// (not tabs); a line longer than 32 KiB is skipped; a UTF-8 byte-order mark
// at the start is dropped. M3U: every line but blank ones and "#" comments.
// PLS: the values of the "File…=" lines, taken whole after the first "=".
// A line holding a NUL byte is left out.
QByteArrayList m3uEntries(QByteArrayView bytes, QByteArrayView folder);
QByteArrayList plsEntries(QByteArrayView bytes, QByteArrayView folder);

struct ListRead
{
    QByteArrayList entries;  // UTF-8
    // False when reading failed part way: `entries` holds what came before.
    bool complete = true;
    // Lines left out for holding a NUL byte.
    int leftOut = 0;

    QStringList texts() const;
};

// Reads the list at `path` as a stream, stopping at the cap. nullopt when the
// name is not an M3U or PLS list, or does not name a regular file that can be
// opened: the caller's playlist stays as it was.
std::optional<ListRead> readPlaylist(const QString &path);

// An M3U list: each entry, in UTF-8, followed by CR LF; nothing else.
QByteArray m3uBytes(const QStringList &entries);

// Writes the M3U list at `path` in one piece: on failure the file that was
// there is left as it was.
bool writeM3U(const QString &path, const QStringList &entries);

}  // namespace playlist
