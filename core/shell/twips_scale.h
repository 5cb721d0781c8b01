#pragma once

#include <cmath>

namespace qfd {

// The windows are designed in twips, 1440 to the inch, at 96 dots per inch: 15 twips to a pixel
// there. Both front ends turn twips into pixels by the one rule below; Qt stays at the design's
// dpi (its device pixel ratio scales the result), Win32 passes the screen's real dpi.
inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr int kDesignDpi = 96;
inline constexpr double kTwipsPerPixel = kTwipsPerInch / kDesignDpi;

// A dpi the arithmetic can use: a device that reports none counts as the design's 96.
constexpr int UsableDpi(int dpi) { return dpi > 0 ? dpi : kDesignDpi; }

// Rounded to the nearest pixel, halves away from zero.
inline int TwipsToPixels(double twips, int dpi = kDesignDpi) {
    return static_cast<int>(std::lround(twips * UsableDpi(dpi) / kTwipsPerInch));
}

}  // namespace qfd
