// The geometry-text reader on arbitrary text: a number it accepts is stored
// as text that reads back as the same number, exactly for whole numbers (what
// windows hold), to fifteen digits otherwise (what the text keeps); and the
// window placed at that number on screens made of the same bytes can be
// reached by its title bar.
#include <cmath>
#include <cstring>

#include "app/geometry_fit.h"
#include "app/geometry_text.h"
#include "platform/twips.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Whether `v` stored as text reads back as the same number.
bool roundTrips(double v)
{
    const std::optional<double> back = textToNumber(numberToText(v));
    if (!back)
        return false;
    if (v == std::trunc(v) && std::fabs(v) < 1e15)
        return *back == v;
    return std::fabs(*back - v) <= 1e-14 * std::fabs(v) || (std::isinf(*back) == false && std::fabs(v) < 1e-300);
}

// One or two screens side by side and a window of any size, all from the
// input's bytes; the stored number is the window's left and top.
void checkPlacement(double stored, const uint8_t *data, size_t size)
{
    uint8_t b[7] = {};
    std::memcpy(b, data, std::min(size, sizeof b));
    const double tw = saneTwips(stored);
    FUZZ_REQUIRE(std::isfinite(tw) && std::fabs(tw) <= 15e6);
    const int px = twips::toPx(tw);
    QList<QRect> screens{QRect(0, 0, 640 + 16 * b[0], 480 + 8 * b[1])};
    if (b[2] & 1)
        screens << QRect(screens[0].right() + 1, 64 * (b[3] % 8), 800, 600);
    // A frame holds its title bar: never less high than it.
    const QSize windowSize(1 + 2 * b[4], 24 + 2 * b[5]);
    const QRect frame(QPoint(px, b[6] & 1 ? -px : px), windowSize);
    const QRect placed(reachablePosition(frame, screens), windowSize);
    bool reachable = false;
    for (const QRect &s : screens) {
        const int overlap = qMin(placed.right(), s.right()) - qMax(placed.left(), s.left()) + 1;
        reachable = reachable || (placed.top() >= s.top() && placed.top() <= s.bottom() + 1 - 24 &&
                                  overlap >= qMin(48, placed.width()));
    }
    FUZZ_REQUIRE(reachable);

    const double available = twips::fromPx(screens[0].height());
    const double h = dimensionWithin(stored, 3000, available);
    FUZZ_REQUIRE(h >= qMin(3000.0, available) && h <= available);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<double> v = textToNumber(text);
    if (v) {
        FUZZ_REQUIRE(std::isfinite(*v));
        const QString stored = numberToText(*v);
        FUZZ_REQUIRE(stored.startsWith(QLatin1Char(' ')) || stored.startsWith(QLatin1Char('-')));
        FUZZ_REQUIRE(roundTrips(*v));
        checkPlacement(*v, data, size);
    }
    // Raw doubles as a window's edge may hold them, through their text.
    double raw = 0;
    std::memcpy(&raw, data, std::min(size, sizeof raw));
    FUZZ_REQUIRE(!std::isfinite(raw) || roundTrips(raw));
    return 0;
}
