#pragma once
#include <QPoint>
#include <functional>

class QWidget;

// Moves a window with the mouse, as dragging its title bar would. The window
// manager runs the move where it can; without one the window follows the
// mouse by hand. `onMoved` runs with the window's outer top-left as the
// window moves and once when the move ends, so a docked window can follow.
void dragWindow(QWidget *window, std::function<void(QPoint)> onMoved);
