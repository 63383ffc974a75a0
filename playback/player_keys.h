#pragma once

class Form;

// The keys players on this desktop have taught users, in the video window
// and the main window: Space pause/resume, F1 help, F and F11 full screen,
// Left/Right 5 s back and forth, Up/Down volume, M mute. They never act while
// a text box has the focus.
void installPlayerKeys(Form *window);
