#include <gtest/gtest.h>

#include "playback/end_of_stream.h"

namespace {
Settings with(qint16 exitAtEnd, qint16 playCount, qint16 loopList)
{
    Settings s = Settings::defaults();
    s.CfgExitAtEnd = exitAtEnd;
    s.CfgPlayCount = playCount;
    s.CfgLoopList = loopList;
    return s;
}
using A = EndOfStreamAction;
}  // namespace

TEST(EndOfStream, QuitNeedsExactlyOnePlayAndANormalEnd)
{
    // Quitting wins over a next entry: the second of three is not played.
    EXPECT_EQ(endOfStreamAction(with(1, 1, 0), 0, 3, 0), A::Quit);
    EXPECT_EQ(endOfStreamAction(with(1, 1, 1), 2, 3, 0), A::Quit);
    // Any other value of either setting, or a failed file, moves on instead.
    EXPECT_EQ(endOfStreamAction(with(1, 2, 0), 0, 3, 0), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(1, 0, 0), 0, 3, 0), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(2, 1, 0), 0, 3, 0), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(1, 1, 0), 0, 3, -14), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(1, 1, 0), 2, 3, 5), A::Nothing);
}

TEST(EndOfStream, NextEntryWhateverTheCountAndResult)
{
    EXPECT_EQ(endOfStreamAction(with(0, 0, 0), 0, 2, 0), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(0, 7, 1), 1, 3, -1), A::PlayNext);
    // Nothing selected in a list of entries: entry 0 comes next.
    EXPECT_EQ(endOfStreamAction(with(0, 1, 1), -1, 4, 0), A::PlayNext);
    EXPECT_EQ(endOfStreamAction(with(0, 1, 0), -1, 1, 0), A::PlayNext);
}

TEST(EndOfStream, LastEntryLoopsOnlyWhenAskedAndEndedNormally)
{
    EXPECT_EQ(endOfStreamAction(with(0, 1, 1), 2, 3, 0), A::LoopToStart);
    EXPECT_EQ(endOfStreamAction(with(0, 1, 1), 0, 1, 0), A::LoopToStart);
    EXPECT_EQ(endOfStreamAction(with(0, 1, 0), 2, 3, 0), A::Nothing);
    EXPECT_EQ(endOfStreamAction(with(0, 1, 1), 2, 3, 1), A::Nothing);
    EXPECT_EQ(endOfStreamAction(with(0, 0, 1), 2, 3, 0), A::Nothing);
    EXPECT_EQ(endOfStreamAction(with(0, 1, 2), 2, 3, 0), A::Nothing);
    // An empty list counts as its last entry having ended.
    EXPECT_EQ(endOfStreamAction(with(0, 1, 1), -1, 0, 0), A::LoopToStart);
    EXPECT_EQ(endOfStreamAction(with(0, 0, 0), -1, 0, 0), A::Nothing);
}
