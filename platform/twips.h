#pragma once
#include <cmath>

// The windows are laid out in twips; the screen works in logical pixels.
// 15 twips make one logical pixel (1440 twips an inch at 96 dots an inch).
namespace twips {
constexpr int kPerPixel = 15;
inline int toPx(double tw) { return int(std::lround(tw / kPerPixel)); }
constexpr int fromPx(int px) { return px * kPerPixel; }
}  // namespace twips
