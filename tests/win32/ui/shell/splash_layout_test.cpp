#include "win32/shell/splash_layout.h"

#include <gtest/gtest.h>

namespace qfd {
namespace {

PixelRect Centre(const PixelRect& r) { return {r.left + r.width / 2, r.top + r.height / 2, 0, 0}; }

std::optional<SplashPart> PartAtCentreOf(const SplashLayout& layout, SplashPart part) {
    const PixelRect c = Centre(layout.Rect(part));
    return layout.PartAt(c.left, c.top);
}

TEST(SplashLayout, DesignedSizesAtNinetySixDpi) {
    const SplashLayout layout(96);
    EXPECT_EQ(layout.Client().width, 487);
    EXPECT_EQ(layout.Client().height, 283);
    // The panel leaves 120 twips (8 pixels) of margin left, top and right, 135 (9) below.
    const PixelRect panel = layout.Panel();
    EXPECT_EQ(panel.left, 8);
    EXPECT_EQ(panel.top, 8);
    EXPECT_EQ(layout.Client().width - panel.Right(), 8);
    EXPECT_EQ(layout.Client().height - panel.Bottom(), 9);
    // The logo's box is its bitmap's size: 400 x 159.
    const PixelRect logo = layout.Rect(SplashPart::imgLogo);
    EXPECT_EQ(logo.width, 400);
    EXPECT_EQ(logo.height, 159);
    EXPECT_EQ(logo.left, 8 + 32);
}

TEST(SplashLayout, EveryControlIsFoundUnderItsOwnCentre) {
    for (const int dpi : {96, 144}) {
        const SplashLayout layout(dpi);
        for (const SplashPart part :
             {SplashPart::imgLogo, SplashPart::lblPlatform, SplashPart::lblVersion,
              SplashPart::lblEmail, SplashPart::lblWebsite, SplashPart::lblCopyright,
              SplashPart::lblCompany, SplashPart::lblWarning}) {
            EXPECT_EQ(PartAtCentreOf(layout, part), part) << dpi << " " << static_cast<int>(part);
        }
    }
}

TEST(SplashLayout, MarginPanelAndOutside) {
    const SplashLayout layout(96);
    EXPECT_EQ(layout.PartAt(2, 2), SplashPart::Margin);
    EXPECT_EQ(layout.PartAt(486, 282), SplashPart::Margin);
    EXPECT_EQ(layout.PartAt(8, 8), SplashPart::Frame1);  // the panel's top-left corner
    EXPECT_EQ(layout.PartAt(10, 200), SplashPart::Frame1);
    EXPECT_EQ(layout.PartAt(487, 10), std::nullopt);
    EXPECT_EQ(layout.PartAt(-1, 10), std::nullopt);
}

TEST(SplashLayout, TrayMessagesCannotBeRealCoordinatesAtDesignDpi) {
    // The tray's messages arrive as X = 512 .. 517; at 96 dpi no point of the window lies there.
    const SplashLayout layout(96);
    for (int x = 512; x <= 517; ++x) EXPECT_EQ(layout.PartAt(x, 0), std::nullopt) << x;
    // On a 144-dpi screen they can: the window itself must keep the two apart.
    const SplashLayout wide(144);
    EXPECT_EQ(wide.PartAt(514, 2), SplashPart::Margin);
}

TEST(SplashLayout, SizedLabelsKeepTheirRightEdge) {
    SplashLayout layout(96);
    const PixelRect designed = layout.Rect(SplashPart::lblVersion);
    layout.SizeToText(SplashPart::lblVersion, 90, 18);
    const PixelRect sized = layout.Rect(SplashPart::lblVersion);
    EXPECT_EQ(sized.Right(), designed.Right());
    EXPECT_EQ(sized.top, designed.top);
    EXPECT_EQ(sized.width, 90);
    EXPECT_EQ(sized.height, 18);
    // Where the designed box had room only for "Version", the wider text now takes clicks.
    EXPECT_EQ(layout.PartAt(sized.left + 1, sized.top + 1), SplashPart::lblVersion);
    EXPECT_EQ(layout.PartAt(designed.left - 1, designed.top + 1), SplashPart::lblVersion);

    // A negative size from a failed measurement leaves an empty label, not an inverted one.
    layout.SizeToText(SplashPart::lblPlatform, -4, -4);
    EXPECT_EQ(layout.Rect(SplashPart::lblPlatform).width, 0);
}

TEST(SplashLayout, LinkLabelsDoNotOverlapTheirNeighbours) {
    const SplashLayout layout(96);
    const PixelRect email = layout.Rect(SplashPart::lblEmail);
    const PixelRect web = layout.Rect(SplashPart::lblWebsite);
    EXPECT_LE(email.Bottom(), web.top);
    EXPECT_LE(web.Right(), layout.Rect(SplashPart::lblCopyright).left);
}

}  // namespace
}  // namespace qfd
