#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running instance per user and program file. The lock is released when
// the process ends, crashed or not. The instance that holds it also listens
// on a local socket in the user's private runtime folder, where a second
// start hands over its command line before it ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &programFile, QObject *parent = nullptr);
    ~SingleInstance() override;
    // True when another instance of the same program file already runs.
    bool anotherIsRunning() const { return !held_; }

    // From a second start: gives `arguments` to the running instance. Waits
    // at most `timeoutMs`; false when the message could not be delivered.
    bool handOver(const QString &currentDir, const QStringList &arguments, int timeoutMs = 700);

    // The socket's path ("" when there is no private folder to put it in).
    QString socketPath() const { return socketPath_; }

signals:
    // A well-formed command line from a later start of the same user.
    void commandLineReceived(const QString &currentDir, const QStringList &arguments);

private:
    void listen();
    void accept();

    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
    QString socketPath_;
    QLocalServer *server_ = nullptr;
};
