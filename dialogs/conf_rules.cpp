#include "dialogs/conf_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

double leadingNumber(const QString &text)
{
    // As a user reads it: blanks first, an optional sign, digits with at
    // most one decimal point; whatever follows is ignored.
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    bool point = false;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            ++i;
        } else if (c == u'.' && !point) {
            point = true;
            ++i;
        } else {
            break;
        }
    }
    const QStringView number = QStringView(text).mid(start, i - start);
    bool ok = false;
    const double v = number.toDouble(&ok);
    if (ok)
        return v;
    // Digits that do not convert are too many for a double: an endless
    // number, not zero.
    const bool hasDigit = std::any_of(number.begin(), number.end(), [](QChar c) { return c.isDigit(); });
    if (!hasDigit)
        return 0.0;
    return number.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL;
}

std::optional<qint16> playCountFromText(const QString &text)
{
    const double v = leadingNumber(text);
    if (!std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v);  // the default rounding: halves to even
    if (r < std::numeric_limits<qint16>::min() || r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(r);
}

bool quitAtEndVisible(bool playCountChosen, const QString &countText)
{
    return playCountChosen && leadingNumber(countText) == 1.0;
}

bool countKeyAccepted(QChar typed)
{
    return typed == QChar(8) || QStringView(u"0123456789.").contains(typed);
}
