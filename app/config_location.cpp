#include "app/config_location.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>

#include "app/settings.h"
#include "platform/paths.h"

namespace {
QString userConfigDir() { return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); }

QString usersOwnFile(const QString &configDir)
{
    return paths::WithBackslash(configDir) + QLatin1String("Solvane/Solvane.cfg");
}

QString whyNot(int error)
{
    switch (error) {
    case EACCES:
    case EPERM: return QStringLiteral("accès refusé");
    case EROFS: return QStringLiteral("disque en lecture seule");
    case ENOSPC:
    case EDQUOT: return QStringLiteral("disque plein");
    default: return QStringLiteral("écriture impossible");
    }
}
}  // namespace

QString settingsFilePath(const QString &appFolder, bool folderWritable, const QString &configDir)
{
    const QString own = usersOwnFile(configDir);
    const QString beside = paths::WithBackslash(appFolder) + QLatin1String("Solvane.cfg");
    if (!QFileInfo::exists(own) && (folderWritable || QFileInfo::exists(beside)))
        return beside;
    return own;
}

QString settingsFilePath(const QString &appFolder)
{
    return settingsFilePath(appFolder, QFileInfo(appFolder).isWritable(), userConfigDir());
}

QStringList saveSettingsFile(QString &cfgPath, const Settings &s)
{
    QStringList failed;
    const QString own = usersOwnFile(userConfigDir());
    for (const QString &path : {cfgPath, own}) {
        if (!failed.isEmpty() && path == cfgPath)
            break;
        errno = 0;
        if (writeSettingsFile(path, s)) {
            cfgPath = path;
            return {};
        }
        const int error = errno;
        const bool folder = QFileInfo(QFileInfo(path).absolutePath()).isDir();
        failed << path + QLatin1String(" : ") + (folder ? whyNot(error) : QStringLiteral("dossier impossible à créer"));
    }
    return failed;
}
