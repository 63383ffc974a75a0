#include <gtest/gtest.h>

#include "playback/end_of_stream.h"

// The edges the video window's own test does not reach: quitting and looping
// only for one play that ended normally, and only on a flag of exactly 1.
TEST(EndOfStream, QuitAndLoopOnlyAfterOneNormalPlay)
{
    using A = EndOfStreamAction;
    const struct { qint16 exitAtEnd, playCount, loopList; int index, result; A action; } cases[] = {
        {1, 2, 0, 0, 0, A::PlayNext},   {2, 1, 0, 0, 0, A::PlayNext},  {1, 1, 0, 0, -14, A::PlayNext},
        {1, 1, 1, 2, 0, A::Quit},       {0, 1, 1, 2, 0, A::LoopToStart}, {0, 1, 0, 2, 0, A::Nothing},
        {0, 1, 1, 2, 1, A::Nothing},    {0, 2, 1, 2, 0, A::Nothing},   {0, 1, 2, 2, 0, A::Nothing},
    };
    for (const auto &c : cases) {
        Settings s = Settings::defaults();
        s.CfgExitAtEnd = c.exitAtEnd;
        s.CfgPlayCount = c.playCount;
        s.CfgLoopList = c.loopList;
        EXPECT_EQ(endOfStreamAction(s, c.index, 3, c.result), c.action) << &c - cases;
    }
}
