#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &programFile)
{
    const QString canonical = QFileInfo(programFile).canonicalFilePath();
    const QByteArray key =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(dir + QLatin1String("/solvane-") + QString::fromLatin1(key) +
                                        QLatin1String(".lock"));
    // A lock left by a crashed run names a dead process and is taken over.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;
