#pragma once
#include <QSize>

class App;
class QWidget;

// Places a window that is about to be shown beside the main window and the
// playlist docked under it, where the screen has the room, so that their
// zones stay in view; where there is none, where it hides the least of them;
// in the middle of the screen while the main window is hidden. Its frame may
// not be known yet: it is counted as the main window's.
void placeBesideMainWindow(QWidget *window, App &app);

// The same for a window that may be smaller than `preferred` (but not than
// `smallest`): sized to fit beside the main window where the screen is small
// (a scaled desktop), then placed.
void fitBesideMainWindow(QWidget *window, App &app, QSize preferred, QSize smallest);
