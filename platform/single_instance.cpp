#include "platform/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
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

// Held while the file stays open: the system lets go of the lock when the
// process ends, however it ends, so whatever a dead run left in the file
// does not count. A file that is not this user's own, or cannot be opened,
// stops nothing. False only while another process holds the lock.
bool takeLock(const QString &path, int &fd)
{
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == getuid()) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EWOULDBLOCK) {
            ::close(fd);
            fd = -1;
            return false;
        }
    }
    ::close(fd);
    fd = -1;
    return true;
}
}  // namespace

SingleInstance::SingleInstance(const QString &programFile, QObject *parent) : QObject(parent)
{
    const QString canonical = QFileInfo(programFile).canonicalFilePath();
    // Per user also in the shared temporary folder, where another user's
    // file could otherwise take the name.
    const QString key = QString::number(getuid()) + u'-' +
                        QString::fromLatin1(
                            QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString folder = privateFolder();
    const QString lockDir = folder.isEmpty() ? QDir::tempPath() : folder;
    lockPath_ = lockDir + QLatin1String("/solvane-") + key + QLatin1String(".lock");
    held_ = takeLock(lockPath_, lockFd_);
    if (!folder.isEmpty())
        socketPath_ = folder + QLatin1String("/solvane-") + key + QLatin1String(".sock");
    if (held_)
        listen();
}

SingleInstance::~SingleInstance()
{
    if (server_)
        server_->close();
    if (lockFd_ >= 0)
        ::close(lockFd_);
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
        serve(socket);
    }
}

void SingleInstance::serve(QLocalSocket *socket)
{
    auto *buffer = new QByteArray;
    auto *timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
    const auto onData = [this, socket, buffer, timer] {
        *buffer += socket->readAll();
        HandOver message;
        const HandOverParse result = buffer->size() > kHandOverHeader + kHandOverMaxPayload
                                         ? HandOverParse::Bad
                                         : decodeHandOver(*buffer, message);
        // Time is up only for a message that is still incomplete once what
        // has arrived is read: a busy player reads late, not never.
        if (result == HandOverParse::NeedMore && timer->isActive())
            return;
        timer->stop();
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        if (result != HandOverParse::Done) {
            socket->abort();
            socket->deleteLater();
            return;
        }
        // The answer names the files not taken; the sender reports them.
        const QPointer<QLocalSocket> alive(socket);
        const QStringList leftOut = handler_ ? handler_(message.currentDir, message.arguments) : message.arguments;
        if (!alive)
            return;
        socket->write(encodeHandOver({QStringLiteral("/"), leftOut}));
        socket->disconnectFromServer();
    };
    connect(socket, &QLocalSocket::readyRead, this, onData);
    connect(timer, &QTimer::timeout, this, onData);
    timer->start(kReadTimeoutMs);
    if (socket->bytesAvailable() > 0)
        onData();
}

std::optional<QStringList> SingleInstance::handOver(const QString &currentDir, const QStringList &arguments,
                                                    int timeoutMs)
{
    if (socketPath_.isEmpty())
        return std::nullopt;
    // As many files as one message holds; the others are not taken.
    qsizetype size = kHandOverHeader + currentDir.toUtf8().size() + 1;
    qsizetype sent = 0;
    for (; sent < arguments.size(); ++sent) {
        size += arguments.at(sent).toUtf8().size() + 1;
        if (size > kHandOverHeader + kHandOverMaxPayload)
            break;
    }
    const QByteArray message = encodeHandOver({currentDir, arguments.mid(0, sent)});

    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return qMax(1, timeoutMs - int(clock.elapsed())); };
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMs))
        return std::nullopt;
    socket.write(message);
    while (socket.bytesToWrite() > 0) {
        if (clock.elapsed() >= timeoutMs || !socket.waitForBytesWritten(left()))
            return std::nullopt;
    }
    QByteArray answer;
    HandOver reply;
    while (decodeHandOver(answer, reply) == HandOverParse::NeedMore) {
        if (clock.elapsed() >= timeoutMs || !socket.waitForReadyRead(left()))
            return std::nullopt;
        answer += socket.readAll();
    }
    if (decodeHandOver(answer, reply) != HandOverParse::Done)
        return std::nullopt;
    return reply.arguments + arguments.mid(sent);
}
