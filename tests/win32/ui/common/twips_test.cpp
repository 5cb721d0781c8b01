#include "win32/common/twips.h"

#include <gtest/gtest.h>

#include <string>

namespace qfd {
namespace {

struct DpiCase {
    int dpi;
    int splashWidth;   // 7305 twips
    int splashHeight;  // 4245 twips
    long bigFont;      // 72 pt
    long linkFont;     // 8.25 pt
};

class TwipsAtDpi : public testing::TestWithParam<DpiCase> {};

TEST_P(TwipsAtDpi, SplashAndFontsScaleWithTheScreen) {
    const DpiCase& c = GetParam();
    EXPECT_EQ(TwipsToPixels(7305, c.dpi), c.splashWidth);
    EXPECT_EQ(TwipsToPixels(4245, c.dpi), c.splashHeight);
    EXPECT_EQ(FontHeight(72, c.dpi), c.bigFont);
    EXPECT_EQ(FontHeight(8.25, c.dpi), c.linkFont);
}

INSTANTIATE_TEST_SUITE_P(Screens, TwipsAtDpi,
                         testing::Values(DpiCase{96, 487, 283, -96, -11},
                                         DpiCase{120, 609, 354, -120, -14},
                                         DpiCase{144, 731, 425, -144, -17},
                                         DpiCase{192, 974, 566, -192, -22}),
                         [](const testing::TestParamInfo<DpiCase>& row) {
                             return "Dpi" + std::to_string(row.param.dpi);
                         });

TEST(Twips, ScreenPixelsComeBackAsTheSameTwips) {
    for (const int dpi : {96, 120, 144, 192}) {
        EXPECT_EQ(TwipsToPixels(PixelsToTwips(1024, dpi), dpi), 1024) << dpi;
        EXPECT_EQ(TwipsToPixels(PixelsToTwips(1, dpi), dpi), 1) << dpi;
    }
    // The small alert: 300 x 250 pixels at 96 dpi.
    EXPECT_EQ(TwipsToPixels(4500, 96), 300);
    EXPECT_EQ(TwipsToPixels(3750, 96), 250);
}

TEST(Twips, ADeviceWithoutDpiCountsAsNinetySix) {
    EXPECT_EQ(TwipsToPixels(1440, 0), 96);
    EXPECT_EQ(TwipsToPixels(1440, -5), 96);
    EXPECT_DOUBLE_EQ(PixelsToTwips(96, 0), 1440);
    EXPECT_EQ(FontHeight(12, 0), -16);
}

TEST(Twips, TouchingControlsStillTouchAtEveryDpi) {
    // The swatch stands right of its button's frame at 5760; rounding must not open a gap or
    // make the two overlap whatever the scale.
    for (const int dpi : {96, 110, 120, 125, 144, 168}) {
        const PixelRect left = TwipsRect(4440, 4080, 1320, 375, dpi);
        const PixelRect right = TwipsRect(5760, 4080, 135, 375, dpi);
        EXPECT_EQ(left.Right(), right.left) << dpi;
    }
}

TEST(Twips, RectangleContainsItsEdgesOnTheTopLeftOnly) {
    const PixelRect rect{10, 20, 5, 4};
    EXPECT_TRUE(rect.Contains(10, 20));
    EXPECT_TRUE(rect.Contains(14, 23));
    EXPECT_FALSE(rect.Contains(15, 23));
    EXPECT_FALSE(rect.Contains(14, 24));
    EXPECT_FALSE(rect.Contains(9, 20));
    EXPECT_FALSE(PixelRect{}.Contains(0, 0));
}

TEST(Twips, ColourValuesDropTheirTopByte) {
    EXPECT_EQ(ColourRef(255), 0x0000FFu);
    EXPECT_EQ(ColourRef(16777215), 0xFFFFFFu);
    // A hand-edited negative value such as -1 is white, not an invalid COLORREF.
    EXPECT_EQ(ColourRef(static_cast<std::uint32_t>(-1)), 0xFFFFFFu);
    EXPECT_EQ(ColourRef(0x01C0E0FF), 0xC0E0FFu);
}

}  // namespace
}  // namespace qfd
