#include "app/config_location.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "platform/paths.h"

QString settingsFilePath(const QString &appFolder)
{
    const QString beside = paths::WithBackslash(appFolder) + QLatin1String("Solvane.cfg");
    if (QFileInfo::exists(beside) || QFileInfo(appFolder).isWritable())
        return beside;
    const QString userDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return paths::WithBackslash(userDir) + QLatin1String("Solvane/Solvane.cfg");
}
