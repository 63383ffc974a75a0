// The list reader on arbitrary bytes. The first byte picks the kind of list
// (M3U, M3U8, PLS), whether the list sits in a folder, and now and then a
// list long enough to reach the cap; the rest is the file.

#include "playlist/playlist_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t pick = data[0];
    QByteArray body(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    static const char *const kExtensions[] = {".m3u", ".m3u8", ".pls", ".M3U"};
    const char *ext = kExtensions[pick & 3];
    // Past the cap: the body's start again and again, more lines than one
    // load may add (rare, since such a read is slow).
    const bool pastCap = (pick & 0xFE) == 0xFE;
    if (pastCap && !body.isEmpty())
        body = (body.left(16) + "\n").repeated(playlist::kMaxEntries + 3);

    const QString path = fuzz::scratchDir() + QStringLiteral("/list") + QLatin1String(ext);
    FUZZ_REQUIRE(writeFile(path, body));
    const std::optional<playlist::ListRead> read = playlist::readPlaylist(path);
    FUZZ_REQUIRE(read.has_value() && read->complete);
    const QByteArrayList &entries = read->entries;
    FUZZ_REQUIRE(entries.size() <= playlist::kMaxEntries);

    // The file read as a stream gives what its bytes give.
    const QByteArray folder = playlist::listFolder(path).toUtf8();
    const bool pls = (pick & 3) == 2;
    if (!pastCap) {
        const QByteArrayList fromBytes = pls ? playlist::plsEntries(body, folder) : playlist::m3uEntries(body, folder);
        FUZZ_REQUIRE(fromBytes == entries);
    }

    // A list without a folder: relative entries stay as written, and still
    // never reach libmpv as anything but a file or a web stream.
    const QByteArrayList bare = (pick & 4) && !pastCap ? (pls ? playlist::plsEntries(body, {}) : playlist::m3uEntries(body, {}))
                                           : QByteArrayList{};
    for (const QByteArrayList *list : {&entries, &bare}) {
        for (const QByteArray &entry : *list) {
            FUZZ_REQUIRE(!entry.isEmpty());
            // A blank or dot-only line does not become the list's folder; a
            // line that writes the folder out in full names it, as written.
            FUZZ_REQUIRE(entry != folder || body.contains(folder));
            FUZZ_REQUIRE(playlist::isEntryName(QString::fromUtf8(entry)));
            FUZZ_REQUIRE(playlist::isValidUtf8(entry));
            FUZZ_REQUIRE(fuzz::safeForMpv(QString::fromUtf8(entry)));
        }
    }
    return 0;
}
