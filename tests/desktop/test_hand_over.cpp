#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/instance_message.h"
#include "platform/single_instance.h"

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
    ASSERT_FALSE(first.socketPath().isEmpty());
    // Only its user may reach it: the socket lives in a folder nobody else can enter.
    const QFileInfo folder(QFileInfo(first.socketPath()).path());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther), 0);
    QSignalSpy received(&first, &SingleInstance::commandLineReceived);

    // Garbage, an oversized length and a message that never ends are dropped.
    EXPECT_TRUE(droppedAfter(first.socketPath(), "GET / HTTP/1.1\r\nHost: x\r\n\r\n"));
    EXPECT_TRUE(droppedAfter(first.socketPath(), QByteArray("SOLVANE1\xff\xff\xff\xff", 12)));
    EXPECT_TRUE(droppedAfter(first.socketPath(), encodeHandOver({"/tmp", {"a.wav"}}).chopped(3)));
    EXPECT_EQ(received.size(), 0);

    // A listening first one is handed the files in the e2e test. Nobody
    // listening (the first is gone): the second start still ends soon.
    QFile::remove(first.socketPath());
    SingleInstance second(program);
    ASSERT_TRUE(second.anotherIsRunning());
    EXPECT_FALSE(second.handOver("/", {"x.wav"}, 300));
}
