#pragma once

class App;
class HelpWindow;

// Opens the help file at its contents page in the help window, which exists
// once per program and is brought up again when it is already open. The
// video window is not involved: help never shows it.
void showHelp(App &app);

// The help window of `app`, or nullptr while none is open.
HelpWindow *helpWindow(App &app);
