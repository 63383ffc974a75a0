#pragma once
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of `outer` size opens when it has no place of its own: beside
// `avoid` (the windows it must not cover), to the right, else to the left,
// else below, else above, inside `screen`. When none of those has the room, the
// place on the screen that hides the least of `avoid`; centred when there is
// nothing to avoid.
QPoint placeBeside(const QRect &avoid, QSize outer, const QRect &screen);
