#include "app/geometry_fit.h"

#include <QtGlobal>
#include <cmath>

namespace {

bool titleReachable(const QRect &frame, const QRect &screen, int titleHeight, int minVisible)
{
    if (frame.top() < screen.top() || frame.top() > screen.bottom() + 1 - titleHeight)
        return false;
    const int overlap = qMin(frame.right(), screen.right()) - qMax(frame.left(), screen.left()) + 1;
    return overlap >= qMin(minVisible, frame.width());
}

// Distance from a point to a rectangle; 0 inside.
double distance(const QPoint &p, const QRect &r)
{
    const int dx = qMax(0, qMax(r.left() - p.x(), p.x() - r.right()));
    const int dy = qMax(0, qMax(r.top() - p.y(), p.y() - r.bottom()));
    return std::hypot(double(dx), double(dy));
}

}  // namespace

QPoint reachablePosition(const QRect &frame, const QList<QRect> &screens, int titleHeight, int minVisible)
{
    if (screens.isEmpty())
        return frame.topLeft();
    for (const QRect &s : screens) {
        if (titleReachable(frame, s, titleHeight, minVisible))
            return frame.topLeft();
    }
    const QPoint titleCentre(frame.center().x(), frame.top());
    const QRect *nearest = &screens.first();
    for (const QRect &s : screens) {
        if (distance(titleCentre, s) < distance(titleCentre, *nearest))
            nearest = &s;
    }
    // Wholly on that screen when it fits; the left and top edges first when not.
    const QRect &s = *nearest;
    const int left = qMax(s.left(), qMin(frame.left(), s.right() + 1 - frame.width()));
    const int top = qMax(s.top(), qMin(frame.top(), s.bottom() + 1 - frame.height()));
    return {left, top};
}

double dimensionWithin(double value, double minimum, double available)
{
    if (std::isnan(value))
        return minimum;
    return qMax(qMin(minimum, available), qMin(value, available));
}

double saneTwips(double value)
{
    // A million pixels each way is far past any desktop, and far from int's limits.
    constexpr double kLimit = 15.0 * 1e6;
    if (std::isnan(value))
        return 0;
    return qBound(-kLimit, value, kLimit);
}
