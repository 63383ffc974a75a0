#include "dialogs/help_path.h"

#include "platform/paths.h"

QString helpFilePath(const QString &appFolder)
{
    return paths::WithBackslash(appFolder) + QLatin1String("Solvane.hlp");
}
