// The command line on arbitrary arguments: the bytes split at zero bytes, as
// the system hands them over; the first one is the current directory.
#include "app/command_line.h"
#include "platform/paths.h"
#include "playlist/playlist_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayList parts = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0');
    // The current directory is always absolute.
    const QString cwd = QLatin1Char('/') + QString::fromLocal8Bit(parts.constFirst());
    QStringList args;
    for (qsizetype i = 1; i < parts.size(); ++i)
        args << QFile::decodeName(parts[i]);

    const CommandLine line = parseCommandLine(args, cwd);
    FUZZ_REQUIRE(line.paths.size() == args.size() - args.count(QString()));
    for (const QString &path : line.paths) {
        FUZZ_REQUIRE(paths::isAbsolute(path));  // so never empty
        FUZZ_REQUIRE(fuzz::safeForMpv(path));
    }
    FUZZ_REQUIRE(line.firstIsList ==
                 (!line.paths.isEmpty() && playlist::listFormat(line.paths.constFirst()) != playlist::ListFormat::Unknown));
    return 0;
}
