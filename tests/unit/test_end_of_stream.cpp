#include <gtest/gtest.h>

#include "playback/end_of_stream.h"

// Quitting wins only for one play that ended normally; otherwise the next
// entry follows, and the last loops only when asked and ended normally.
TEST(EndOfStream, QuitNextOrLoop)
{
    using A = EndOfStreamAction;
    const struct { qint16 exitAtEnd, playCount, loopList; int index, count, result; A action; } cases[] = {
        {1, 1, 0, 0, 3, 0, A::Quit},  // the second entry is not played
        {1, 2, 0, 0, 3, 0, A::PlayNext},
        {2, 1, 0, 0, 3, 0, A::PlayNext},
        {1, 1, 0, 0, 3, -14, A::PlayNext},
        {0, 1, 1, -1, 4, 0, A::PlayNext},  // nothing selected: entry 0 follows
        {0, 1, 1, 2, 3, 0, A::LoopToStart},
        {0, 1, 0, 2, 3, 0, A::Nothing},
        {0, 1, 1, 2, 3, 1, A::Nothing},
        {0, 1, 2, 2, 3, 0, A::Nothing},
        {0, 1, 1, -1, 0, 0, A::LoopToStart},  // an empty list: as if its last entry ended
    };
    for (const auto &c : cases) {
        Settings s = Settings::defaults();
        s.CfgExitAtEnd = c.exitAtEnd;
        s.CfgPlayCount = c.playCount;
        s.CfgLoopList = c.loopList;
        EXPECT_EQ(endOfStreamAction(s, c.index, c.count, c.result), c.action)
            << c.exitAtEnd << ' ' << c.playCount << ' ' << c.loopList << ' ' << c.index << ' ' << c.count << ' ' << c.result;
    }
}
