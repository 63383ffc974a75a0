#pragma once
#include "app/settings.h"

// What the video window does once the engine has finished with a file.
enum class EndOfStreamAction {
    Quit,         // end the program
    PlayNext,     // select and play the entry after the selected one
    LoopToStart,  // select entry 0, hide the main and playlist windows, play it
    Nothing,
};

// The first rule that applies decides: quitting, then a next entry (any
// selection other than the last, "nothing selected" included), then looping
// the list. Quitting and looping need a play count of exactly 1 and a normal
// end (Result 0); moving on to a next entry does not look at either.
EndOfStreamAction endOfStreamAction(const Settings &s, int selectedIndex, int count, int Result);

// The entry the rule would play after a normal end of the selected one, or -1
// when it would quit or stop there.
int nextEntryAfterEnd(const Settings &s, int selectedIndex, int count);
