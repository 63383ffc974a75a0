#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
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

TEST(HandOver, ASecondStartsCommandLineReachesTheFirstAndNothingElseDoes)
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
    QByteArray huge("SOLVANE1\xff\xff\xff\xff", 12);
    EXPECT_TRUE(droppedAfter(first.socketPath(), huge));
    QByteArray cut = encodeHandOver({"/tmp", {"a.wav"}});
    cut.chop(3);
    EXPECT_TRUE(droppedAfter(first.socketPath(), cut));  // after its time runs out
    EXPECT_EQ(received.size(), 0);

    // The second start hands over and is done.
    SingleInstance second(program);
    ASSERT_TRUE(second.anotherIsRunning());
    EXPECT_TRUE(second.handOver("/home/ana", {"été.wav", "/srv/b.wav"}));
    ASSERT_TRUE(received.wait(5000) || received.size() == 1);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received.at(0).at(0).toString(), "/home/ana");
    EXPECT_EQ(received.at(0).at(1).toStringList(), (QStringList{"été.wav", "/srv/b.wav"}));

    // Nobody listening (the first is gone): the second start still ends soon.
    const QString path = first.socketPath();
    QFile::remove(path);
    EXPECT_FALSE(second.handOver("/", {"x.wav"}, 300));
}
