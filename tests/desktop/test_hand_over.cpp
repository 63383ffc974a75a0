#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

#include "platform/instance_message.h"
#include "platform/single_instance.h"
#include "support/files.h"

namespace {
// Sends raw bytes as any local program could, and waits to be hung up on
// (the player runs in this thread, so the wait must keep events going).
bool droppedAfter(const QString &path, const QByteArray &bytes)
{
    QLocalSocket socket;
    QSignalSpy hungUp(&socket, &QLocalSocket::disconnected);
    socket.connectToServer(path);
    if (socket.state() != QLocalSocket::ConnectedState)
        return false;
    socket.write(bytes);
    return hungUp.wait(5000);
}
}  // namespace

TEST(HandOver, OnlyWellFormedMessagesOfItsOwnUserReachTheFirst)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("solvane");
    QFile(program).open(QIODevice::WriteOnly);

    SingleInstance first(program);
    ASSERT_FALSE(first.anotherIsRunning());
    // Only its user may reach it: the socket lives in a folder nobody else can enter.
    const QFileInfo folder(QFileInfo(first.socketPath()).path());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther), 0);
    QStringList received;
    first.setCommandLineHandler([&](const QString &, const QStringList &args) {
        received += args;
        return args.mid(2000);  // what a full list would not take
    });

    // Garbage, an oversized length and a message that never ends are dropped.
    EXPECT_TRUE(droppedAfter(first.socketPath(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_TRUE(droppedAfter(first.socketPath(), QByteArray("SOLVANE1\xff\xff\xff\xff", 12)));
    EXPECT_TRUE(droppedAfter(first.socketPath(), encodeHandOver({"/tmp", {"a.wav"}}).chopped(3)));
    EXPECT_TRUE(received.isEmpty());

    // "Open with" on 3000 files (over 256 KiB) while the player is busy:
    // every file is taken or named back to the second start.
    QStringList files;
    for (int i = 0; i < 3000; ++i)
        files << QStringLiteral("/musique/%1/").arg(i) + QString(100, u'x') + ".mp3";
    std::optional<QStringList> leftOut;
    std::atomic<bool> done = false;
    std::thread second([&] {
        SingleInstance later(program);
        if (later.anotherIsRunning())
            leftOut = later.handOver("/", files);
        done = true;
    });
    QThread::msleep(2500);  // busy: no event is handled meanwhile
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 20000));
    second.join();
    EXPECT_TRUE(received == files);
    EXPECT_TRUE(leftOut == files.mid(2000));

    // Nobody listening (the first is gone): the second start hears nothing
    // back, soon.
    QFile::remove(first.socketPath());
    SingleInstance third(program);
    ASSERT_TRUE(third.anotherIsRunning());
    EXPECT_FALSE(third.handOver("/", {"x.wav"}, 300));
}

// A lock left empty by a killed player, or a file of another user under
// its name, even one held, stops no start.
TEST(HandOver, OnlyALiveLockOfTheSameUserStopsAStart)
{
    QTemporaryDir dir;
    const QString program = dir.filePath("solvane");
    const QString lock = SingleInstance(program).lockPath();
    ASSERT_TRUE(writeFile(lock));
    EXPECT_FALSE(SingleInstance(program).anotherIsRunning());
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(lock).constData(), 65534, 65534), 0);
        const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        EXPECT_FALSE(SingleInstance(program).anotherIsRunning());
        ::close(fd);
    }
    QFile::remove(lock);
}
