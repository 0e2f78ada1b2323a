#pragma once
// Twips (1/1440 inch) and pixels: the one conversion between them. The screen is taken at 96
// dots per inch, 15 twips a pixel, as every window of KIVRA is designed. Conversions round to
// the nearest pixel or twip, halves away from zero.
#include <cmath>

namespace twips {

inline constexpr double PerPixel = 15.0;

inline int ToPixels(double twips) { return int(std::lround(twips / PerPixel)); }
inline int FromPixels(double pixels) { return int(std::lround(pixels * PerPixel)); }

} // namespace twips
