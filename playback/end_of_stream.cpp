#include "playback/end_of_stream.h"

EndOfStreamAction endOfStreamAction(const Settings &s, int selectedIndex, int count, int Result)
{
    const bool playedOnceAndEnded = s.CfgPlayCount == 1 && Result == 0;
    if (s.CfgExitAtEnd == 1 && playedOnceAndEnded)
        return EndOfStreamAction::Quit;
    // -1 in a list of entries counts as "before the first": entry 0 follows.
    // An empty list (-1 of 0) is the same as the last entry ending.
    if (selectedIndex != count - 1)
        return EndOfStreamAction::PlayNext;
    if (s.CfgLoopList == 1 && playedOnceAndEnded)
        return EndOfStreamAction::LoopToStart;
    return EndOfStreamAction::Nothing;
}

int nextEntryAfterEnd(const Settings &s, int selectedIndex, int count)
{
    switch (endOfStreamAction(s, selectedIndex, count, 0)) {
    case EndOfStreamAction::PlayNext: return selectedIndex + 1 < count ? selectedIndex + 1 : -1;
    case EndOfStreamAction::LoopToStart: return count > 0 ? 0 : -1;
    default: return -1;
    }
}
