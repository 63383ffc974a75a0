#include <gtest/gtest.h>

#include "platform/instance_message.h"

namespace {
// The magic and a big-endian payload length.
QByteArray header(quint32 n)
{
    return QByteArray("SOLVANE1") + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n);
}
}  // namespace

// Round trips and cut messages are the fuzzer's; garbage, huge lengths and a
// message that arrives in pieces, the hand-over test's on the real socket.
TEST(InstanceMessage, OnlyOneWholeWellFormedMessageIsTaken)
{
    const HandOver sent{"/home/ana/Vidéos", {"été.mkv", "/srv/a b.mp3", "liste.m3u"}};
    HandOver got;
    ASSERT_EQ(decodeHandOver(encodeHandOver(sent), got), HandOverParse::Done);
    // Bytes after it, an empty payload, broken UTF-8, an unterminated one.
    for (const QByteArray &bad : {encodeHandOver(sent) + "x", header(0), header(4) + QByteArray("/a\xff\0", 4), header(2) + "/a"})
        EXPECT_EQ(decodeHandOver(bad, got), HandOverParse::Bad) << bad.toHex().constData();
    EXPECT_EQ(got.arguments, sent.arguments);  // untouched by the bad ones
}
