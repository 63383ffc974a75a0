#pragma once

class App;
class QWidget;

// Places a window that is about to be shown beside the main window and the
// playlist docked under it, where the screen has the room, so that their
// zones stay in view; in the middle of the screen while the main window is
// hidden. Its frame may not be known yet: the usual title bar is counted.
void placeBesideMainWindow(QWidget *window, App &app);
