#include "app/command_line.h"

#include "platform/paths.h"
#include "playlist/playlist_file.h"

CommandLine parseCommandLine(const QStringList &args, const QString &currentDir)
{
    CommandLine out;
    for (const QString &arg : args) {
        if (arg.isEmpty())
            continue;
        out.paths << (paths::isAbsolute(arg) ? arg : paths::joinToCurrentDir(currentDir, arg));
    }
    out.firstIsList = !out.paths.isEmpty() && playlist::listFormat(out.paths.constFirst()) != playlist::ListFormat::Unknown;
    return out;
}
