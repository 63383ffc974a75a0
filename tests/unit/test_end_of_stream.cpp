#include <gtest/gtest.h>

#include "playback/end_of_stream.h"

namespace {
EndOfStreamAction decide(qint16 exitAtEnd, qint16 playCount, qint16 loopList, int index, int count, int Result)
{
    Settings s = Settings::defaults();
    s.CfgExitAtEnd = exitAtEnd;
    s.CfgPlayCount = playCount;
    s.CfgLoopList = loopList;
    return endOfStreamAction(s, index, count, Result);
}
using A = EndOfStreamAction;
}  // namespace

TEST(EndOfStream, QuitWinsOnlyForOnePlayEndedNormally)
{
    EXPECT_EQ(decide(1, 1, 0, 0, 3, 0), A::Quit);  // the second entry is not played
    EXPECT_EQ(decide(1, 1, 1, 2, 3, 0), A::Quit);
    EXPECT_EQ(decide(1, 2, 0, 0, 3, 0), A::PlayNext);
    EXPECT_EQ(decide(2, 1, 0, 0, 3, 0), A::PlayNext);
    EXPECT_EQ(decide(1, 1, 0, 0, 3, -14), A::PlayNext);
}

TEST(EndOfStream, NextEntryWhateverTheCountAndResult)
{
    EXPECT_EQ(decide(0, 7, 1, 1, 3, -1), A::PlayNext);
    EXPECT_EQ(decide(0, 1, 1, -1, 4, 0), A::PlayNext);  // nothing selected: entry 0 follows
}

TEST(EndOfStream, LastEntryLoopsOnlyWhenAskedAndEndedNormally)
{
    EXPECT_EQ(decide(0, 1, 1, 2, 3, 0), A::LoopToStart);
    EXPECT_EQ(decide(0, 1, 0, 2, 3, 0), A::Nothing);
    EXPECT_EQ(decide(0, 1, 1, 2, 3, 1), A::Nothing);
    EXPECT_EQ(decide(0, 0, 1, 2, 3, 0), A::Nothing);
    EXPECT_EQ(decide(0, 1, 2, 2, 3, 0), A::Nothing);
    // An empty list is the same as its last entry ending.
    EXPECT_EQ(decide(0, 1, 1, -1, 0, 0), A::LoopToStart);
    EXPECT_EQ(decide(0, 0, 0, -1, 0, 0), A::Nothing);
}
