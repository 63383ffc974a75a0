#include <gtest/gtest.h>

#include "platform/instance_message.h"

namespace {
// The magic and a big-endian payload length.
QByteArray header(quint32 n)
{
    return QByteArray("SOLVANE1") + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n);
}
}  // namespace

TEST(InstanceMessage, OneWholeWellFormedMessageOrNothing)
{
    const HandOver sent{"/home/ana/Vidéos", {"été.mkv", "/srv/a b.mp3", "liste.m3u"}};
    const QByteArray wire = encodeHandOver(sent);
    HandOver got;
    ASSERT_EQ(decodeHandOver(wire, got), HandOverParse::Done);
    EXPECT_EQ(got.arguments, sent.arguments);

    // Arrives in pieces: wait for the rest.
    for (int cut : {0, 3, 11, 12, int(wire.size()) - 1})
        EXPECT_EQ(decodeHandOver(wire.left(cut), got), HandOverParse::NeedMore) << cut;

    // Anything else is dropped (garbage and huge lengths: the socket test).
    EXPECT_EQ(decodeHandOver(wire + "x", got), HandOverParse::Bad);
    EXPECT_EQ(decodeHandOver(header(kHandOverMaxPayload + 1), got), HandOverParse::Bad);
    EXPECT_EQ(decodeHandOver(header(0), got), HandOverParse::Bad);
    EXPECT_EQ(decodeHandOver(header(4) + QByteArray("/a\xff\0", 4), got), HandOverParse::Bad);       // broken UTF-8
    EXPECT_EQ(decodeHandOver(header(2) + "/a", got), HandOverParse::Bad);              // unterminated
    EXPECT_EQ(got.arguments, sent.arguments);  // untouched by the bad ones
}
