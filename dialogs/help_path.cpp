#include "dialogs/help_path.h"

#include <QDir>
#include <QFileInfo>

#include "platform/paths.h"

QString helpFilePath(const QString &appFolder)
{
    const QString beside = paths::WithBackslash(appFolder) + QLatin1String("Solvane.hlp");
    if (QFileInfo(beside).isFile())
        return beside;
    const QString installed =
        QDir::cleanPath(paths::WithBackslash(appFolder) + QLatin1String("../share/solvane/Solvane.hlp"));
    return QFileInfo(installed).isFile() ? installed : beside;
}
