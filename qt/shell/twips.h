#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/options/form_design.h"
#include "core/shell/twips_scale.h"

namespace qfd {

// The window layouts are given in twips and the colours as 0x00BBGGRR values. They turn into
// logical pixels at the design's dpi, so Qt's device pixel ratio scales the whole layout on a
// high-density screen.

inline QRect TwipsRect(double left, double top, double width, double height) {
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

inline QColor FromColourValue(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

// A font in points as designed at 96 dpi, sized in logical pixels so that text keeps its place
// in the twips layout whatever logical dpi the screen reports. The families are tried in turn:
// the designed face first, then a free one with the same or close metrics.
inline QFont DesignFont(const QStringList& families, double points, bool bold = false) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// Arial has the metric-compatible Liberation Sans; MS Sans Serif and Microsoft Sans Serif have no
// such twin, and Liberation Sans is the closest free face to them too.
inline const QStringList kArialFamilies{"Arial", "Liberation Sans"};
inline const QStringList kSansSerifFamilies{"Microsoft Sans Serif", "MS Sans Serif",
                                            "Liberation Sans"};

inline QFont DesignFont(const design::Font& font) {
    const bool arial = std::string_view(font.name) == "Arial";
    return DesignFont(arial ? kArialFamilies : kSansSerifFamilies, font.points, font.bold);
}

}  // namespace qfd
