#pragma once
#include <QString>
#include <optional>

// Window geometry is kept in the per-user store as text: a leading space for
// zero and positive numbers, "-" for negative ones, then the digits, and a
// "." with the fraction digits only when there is a fraction.
QString numberToText(double value);

// The number a stored text holds (leading and trailing spaces allowed), or
// nothing when the text is not a number.
std::optional<double> textToNumber(const QString &text);
