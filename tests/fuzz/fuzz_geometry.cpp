// The geometry-text reader on arbitrary text: a number it accepts is stored
// as text that reads back as the same number, exactly for whole numbers (what
// windows hold), to fifteen digits otherwise (what the text keeps).
#include <cmath>
#include <cstring>

#include "app/geometry_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool sameNumber(double back, double v)
{
    if (v == std::trunc(v) && std::fabs(v) < 1e15)
        return back == v;
    return std::fabs(back - v) <= 1e-14 * std::fabs(v) || (std::isinf(back) == false && std::fabs(v) < 1e-300);
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
        const std::optional<double> back = textToNumber(stored);
        FUZZ_REQUIRE(back.has_value());
        FUZZ_REQUIRE(sameNumber(*back, *v));
    }
    // Raw doubles as a window's edge may hold them, through their text.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        if (std::isfinite(raw)) {
            const std::optional<double> back = textToNumber(numberToText(raw));
            FUZZ_REQUIRE(back.has_value());
            FUZZ_REQUIRE(sameNumber(*back, raw));
        }
    }
    return 0;
}
