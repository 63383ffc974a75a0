#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

// One running instance per user and program file. The lock is released when
// the process ends, crashed or not; a lock file that is not the user's own
// never stops a start. The instance that holds it also listens on a local
// socket in the user's private runtime folder, where a second start hands
// over its command line and learns which files were not taken.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &programFile, QObject *parent = nullptr);
    ~SingleInstance() override;
    // True when another instance of the same program file already runs.
    bool anotherIsRunning() const { return !held_; }

    // From a second start: gives `arguments` to the running instance and
    // waits, at most `timeoutMs`, for its answer. Returns the files not
    // taken (those that do not fit in a message among them); nullopt when
    // nobody answered.
    std::optional<QStringList> handOver(const QString &currentDir, const QStringList &arguments,
                                        int timeoutMs = 30000);

    // Acts on a well-formed command line from a later start of the same
    // user and returns the files it did not take.
    using Handler = std::function<QStringList(const QString &currentDir, const QStringList &arguments)>;
    void setCommandLineHandler(Handler handler) { handler_ = std::move(handler); }

    // The socket's path ("" when there is no private folder to put it in).
    QString socketPath() const { return socketPath_; }
    QString lockPath() const { return lockPath_; }

private:
    void listen();
    void accept();
    void serve(QLocalSocket *socket);

    int lockFd_ = -1;
    bool held_ = false;
    QString lockPath_;
    QString socketPath_;
    QLocalServer *server_ = nullptr;
    Handler handler_;
};
