#pragma once

#include <cmath>
#include <cstdint>

#include "core/shell/twips_scale.h"

namespace qfd {

// The windows are designed in twips and fonts in points; they turn into device pixels at the
// screen's real dots per inch by the core's rule, so that the whole layout grows on a high-dpi
// screen (the program declares itself dpi-aware and does its own scaling).

inline double PixelsToTwips(int pixels, int dpi) { return pixels * kTwipsPerInch / UsableDpi(dpi); }

// The height a LOGFONT takes for a size in points: negative, so that it is the character height
// without the internal leading, as a point size means.
inline long FontHeight(double points, int dpi) {
    return -std::lround(points * UsableDpi(dpi) / 72.0);
}

// Colour values are 0x00BBGGRR, the layout of a COLORREF; a top byte (a hand-edited negative
// value) means nothing for a plain colour and is dropped.
inline std::uint32_t ColourRef(std::uint32_t value) { return value & 0x00FFFFFFu; }

// A rectangle in device pixels.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
    bool Contains(int x, int y) const {
        return x >= left && x < Right() && y >= top && y < Bottom();
    }
};

// A designed rectangle in pixels. The edges are rounded, not the width, so that controls that
// touch in the design touch on the screen too.
inline PixelRect TwipsRect(double left, double top, double width, double height, int dpi) {
    const int l = TwipsToPixels(left, dpi);
    const int t = TwipsToPixels(top, dpi);
    return {l, t, TwipsToPixels(left + width, dpi) - l, TwipsToPixels(top + height, dpi) - t};
}

}  // namespace qfd
