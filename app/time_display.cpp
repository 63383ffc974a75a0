#include "app/time_display.h"

#include <algorithm>
#include <cmath>

namespace {

qint64 minutesOf(double seconds) { return qint64(std::nearbyint(seconds)) / 60; }

QString twoDigits(qint64 v)
{
    const QString digits = QString::number(v < 0 ? -v : v).rightJustified(2, u'0');
    return v < 0 ? u'-' + digits : digits;
}

}  // namespace

QString timeText(double position, double duration)
{
    if (!std::isfinite(position) || !std::isfinite(duration))
        return QStringLiteral("00:00 / 00:00");
    const qint64 m1 = minutesOf(position);
    qint64 s1 = qint64(std::nearbyint(position - 60.0 * double(m1)));
    if (s1 == -1)
        s1 = 0;
    const qint64 m2 = minutesOf(duration);
    // Rounding the duration up to a whole minute can leave a sliver below 0
    // (half a second at most): it prints as 00, not as "-01".
    qint64 s2 = qint64(std::round(duration - 60.0 * double(m2)));
    if (s2 < 0)
        s2 = 0;
    return twoDigits(m1) + u':' + twoDigits(s1) + QLatin1String(" / ") + twoDigits(m2) + u':' + twoDigits(s2);
}

std::optional<double> knobLeft(double position, double duration)
{
    if (duration == 0 || !std::isfinite(position) || !std::isfinite(duration))
        return std::nullopt;
    // Kept on the bar: a position past the end (or before the start) would
    // put the knob over the zones beside it.
    return float(std::clamp(1320.0 + std::floor(position / duration * 2630.0), 1320.0, 3950.0));
}
