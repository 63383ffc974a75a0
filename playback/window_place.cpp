#include "playback/window_place.h"

#include <algorithm>

QPoint placeBeside(const QRect &avoid, QSize outer, const QRect &screen)
{
    constexpr int gap = 8;
    // Slides a place along the screen's edge it is not moved away from.
    auto clampY = [&](int y) { return std::clamp(y, screen.top(), std::max(screen.top(), screen.bottom() + 1 - outer.height())); };
    auto clampX = [&](int x) { return std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - outer.width())); };
    const QPoint candidates[] = {
        {avoid.right() + 1 + gap, clampY(avoid.top())},
        {avoid.left() - gap - outer.width(), clampY(avoid.top())},
        {clampX(avoid.left()), avoid.bottom() + 1 + gap},
        {clampX(avoid.left()), avoid.top() - gap - outer.height()},
    };
    for (const QPoint &p : candidates) {
        if (avoid.isEmpty())
            break;
        const QRect r(p, outer);
        if (screen.contains(r) && !r.intersects(avoid))
            return p;
    }
    return {screen.x() + (screen.width() - outer.width()) / 2, screen.y() + (screen.height() - outer.height()) / 2};
}
