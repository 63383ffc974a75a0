#pragma once
#include <QString>
#include <optional>

// "mm:ss / mm:ss" for a position and a duration in seconds. Minutes come from
// the seconds rounded to the nearest whole (halves to even) and divided with
// the quotient truncated; a position of -1 (nothing open) shows as 00:00.
QString timeText(double position, double duration);

// The knob's left edge in twips along the 2630-twip bar that starts at 1320,
// never off it; nothing when the duration is 0 (the knob keeps its place).
std::optional<double> knobLeft(double position, double duration);
