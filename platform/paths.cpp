#include "platform/paths.h"

#include <QFileInfo>

namespace paths {

bool isAbsolute(const QString &path) { return path.startsWith(kSeparator) || isWebUrl(path); }

QString WithBackslash(const QString &folder)
{
    if (folder.endsWith(kSeparator))
        return folder;
    return folder + kSeparator;
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}

bool isWebUrl(const QString &entry)
{
    return entry.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           entry.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

QString joinToCurrentDir(const QString &currentDir, const QString &arg)
{
    return WithBackslash(currentDir) + arg;
}

}  // namespace paths
