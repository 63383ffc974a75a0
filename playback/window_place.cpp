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
    const QPoint centre(screen.x() + (screen.width() - outer.width()) / 2,
                        screen.y() + (screen.height() - outer.height()) / 2);
    if (avoid.isEmpty())
        return centre;
    for (const QPoint &p : candidates) {
        const QRect r(p, outer);
        if (screen.contains(r) && !r.intersects(avoid))
            return p;
    }
    // No room: on the screen, where it hides the least of them (a scaled
    // desktop has little room, and a window over the main one hides it whole).
    const QPoint corners[] = {screen.topLeft(), {screen.right() + 1 - outer.width(), screen.top()},
                              {screen.left(), screen.bottom() + 1 - outer.height()},
                              {screen.right() + 1 - outer.width(), screen.bottom() + 1 - outer.height()}};
    QPoint best = centre;
    qint64 least = -1;
    auto consider = [&](QPoint p) {
        p = {clampX(p.x()), clampY(p.y())};
        const QRect hidden = QRect(p, outer).intersected(avoid);
        const qint64 area = hidden.isEmpty() ? 0 : qint64(hidden.width()) * hidden.height();
        if (least < 0 || area < least) {
            least = area;
            best = p;
        }
    };
    for (const QPoint &p : candidates)
        consider(p);
    for (const QPoint &p : corners)
        consider(p);
    return best;
}
