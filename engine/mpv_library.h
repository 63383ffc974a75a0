#pragma once

// libmpv is opened at run time, not linked: it brings some two hundred
// libraries whose loading would hold up every start, and the memory they take,
// even when nothing is played. The program's calls to the mpv_* functions go
// through stand-ins (mpv_library.cpp) that reach the library once it is open.

// Opens libmpv if it is not open yet, waiting for a load already under way on
// another thread. False when the library cannot be found or lacks a function.
bool loadMpvLibrary();

// Starts opening libmpv on a thread of its own, for a start-up that knows a
// file is about to be played.
void preloadMpvLibrary();
