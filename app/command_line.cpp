#include "app/command_line.h"

#include "platform/paths.h"

namespace {
bool endsWithCi(const QString &path, const char *ext)
{
    return path.endsWith(QLatin1String(ext), Qt::CaseInsensitive);
}
}  // namespace

bool isM3uFile(const QString &path) { return endsWithCi(path, ".m3u") || endsWithCi(path, ".m3u8"); }
bool isPlsFile(const QString &path) { return endsWithCi(path, ".pls"); }
bool isPlaylistFile(const QString &path) { return isM3uFile(path) || isPlsFile(path); }

CommandLine parseCommandLine(const QStringList &args, const QString &currentDir)
{
    CommandLine out;
    for (const QString &arg : args) {
        if (arg.isEmpty())
            continue;
        out.paths << (paths::isAbsolute(arg) ? arg : paths::joinToCurrentDir(currentDir, arg));
    }
    out.firstIsList = !out.paths.isEmpty() && isPlaylistFile(out.paths.constFirst());
    return out;
}
