#pragma once
#include <QList>
#include <QRect>

// Stored window geometry checked against the screens there are now: a
// monitor may be gone, and the store may hold any number.

// Where a window with the outer rectangle `frame` (pixels) can stay. It stays
// put while a `minVisible`-wide part of its title bar (`titleHeight` high) lies
// on one of `screens` (their available areas); otherwise it moves into the
// screen nearest to it.
QPoint reachablePosition(const QRect &frame, const QList<QRect> &screens, int titleHeight = 24,
                         int minVisible = 48);

// One outer dimension of a window kept between `minimum` and `available`
// (the screen's available area wins when it is the smaller).
double dimensionWithin(double value, double minimum, double available);

// A stored coordinate or size in twips, brought into a range where it can be
// turned into pixels without overflowing.
double saneTwips(double value);
