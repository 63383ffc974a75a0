#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/instance_message.h"

namespace {
// A peer gets this long to send its message.
constexpr int kReadTimeoutMs = 2000;
// More connections than a few at once are not second starts.
constexpr int kMaxPending = 8;

// The user's own runtime folder, or one of ours under the temporary folder;
// "" when it is not a folder of this user that only this user can enter.
QString privateFolder()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        dir = QDir::tempPath() + QLatin1String("/solvane-") + QString::number(getuid());
        ::mkdir(QFile::encodeName(dir).constData(), 0700);
    }
    struct stat st {};
    if (::lstat(QFile::encodeName(dir).constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 077) != 0)
        return QString();
    return dir;
}

bool peerIsThisUser(const QLocalSocket *socket)
{
#ifdef SO_PEERCRED
    struct ucred cred {};
    socklen_t size = sizeof cred;
    if (::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0)
        return false;
    return cred.uid == getuid();
#else
    Q_UNUSED(socket);
    return true;  // the folder's mode keeps other users out
#endif
}
}  // namespace

SingleInstance::SingleInstance(const QString &programFile, QObject *parent) : QObject(parent)
{
    const QString canonical = QFileInfo(programFile).canonicalFilePath();
    const QString key = QString::fromLatin1(
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString folder = privateFolder();
    const QString lockDir = folder.isEmpty() ? QDir::tempPath() : folder;
    lock_ = std::make_unique<QLockFile>(lockDir + QLatin1String("/solvane-") + key + QLatin1String(".lock"));
    // A lock left by a crashed run names a dead process and is taken over.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
    if (!folder.isEmpty())
        socketPath_ = folder + QLatin1String("/solvane-") + key + QLatin1String(".sock");
    if (held_)
        listen();
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
}

void SingleInstance::listen()
{
    if (socketPath_.isEmpty())
        return;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxPending);
    // We hold the lock: a socket left there is from a run that crashed.
    QLocalServer::removeServer(socketPath_);
    if (!server_->listen(socketPath_)) {
        delete server_;
        server_ = nullptr;
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
}

void SingleInstance::accept()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (server_->findChildren<QLocalSocket *>().size() > kMaxPending || !peerIsThisUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto *buffer = new QByteArray;
        auto *timer = new QTimer(socket);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
        connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
        const auto onData = [this, socket, buffer] {
            *buffer += socket->readAll();
            HandOver message;
            const HandOverParse result =
                buffer->size() > kHandOverHeader + kHandOverMaxPayload ? HandOverParse::Bad
                                                                      : decodeHandOver(*buffer, message);
            if (result == HandOverParse::NeedMore)
                return;
            socket->abort();
            socket->deleteLater();
            if (result == HandOverParse::Done)
                emit commandLineReceived(message.currentDir, message.arguments);
        };
        connect(socket, &QLocalSocket::readyRead, this, onData);
        if (socket->bytesAvailable() > 0)
            onData();
        timer->start(kReadTimeoutMs);
    }
}

bool SingleInstance::handOver(const QString &currentDir, const QStringList &arguments, int timeoutMs)
{
    if (socketPath_.isEmpty())
        return false;
    const QByteArray message = encodeHandOver({currentDir, arguments});
    if (message.size() > kHandOverHeader + kHandOverMaxPayload)
        return false;
    QElapsedTimer clock;
    clock.start();
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        const int left = timeoutMs - int(clock.elapsed());
        if (left <= 0 || !socket.waitForBytesWritten(left))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
