#include "playback/help.h"

// The help viewer is not part of the program yet: nothing opens.
void showHelp(App &) {}
