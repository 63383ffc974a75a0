#include "app/config_location.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "platform/paths.h"

QString settingsFilePath(const QString &appFolder, bool folderWritable, const QString &userConfigDir)
{
    const QString beside = paths::WithBackslash(appFolder) + QLatin1String("Solvane.cfg");
    if (folderWritable || QFileInfo::exists(beside))
        return beside;
    return paths::WithBackslash(userConfigDir) + QLatin1String("Solvane/Solvane.cfg");
}

QString settingsFilePath(const QString &appFolder)
{
    return settingsFilePath(appFolder, QFileInfo(appFolder).isWritable(),
                            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}
