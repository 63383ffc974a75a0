#include "app/geometry_text.h"

#include <QLocale>
#include <cmath>

QString numberToText(double value)
{
    QString digits = QLocale::c().toString(std::fabs(value), 'g', 15);
    // Fifteen digits round the very largest numbers past the largest double,
    // and that text would not read back.
    bool ok = false;
    QLocale::c().toDouble(digits, &ok);
    if (!ok)
        digits = QLocale::c().toString(std::fabs(value), 'g', QLocale::FloatingPointShortest);
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);  // ".5", as the number-to-text form writes it
    return (value < 0 ? QLatin1String("-") : QLatin1String(" ")) + digits;
}

std::optional<double> textToNumber(const QString &text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}
