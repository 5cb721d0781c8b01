#include "shell/splash_layout.h"

namespace qfd {
namespace {

constexpr double kPanelLeft = 120;
constexpr double kPanelTop = 120;

struct Design {
    SplashPart part;
    double left, top, width, height;  // twips, relative to the panel
};

// In the order controls are looked at under the pointer: the labels, then the logo.
constexpr Design kDesign[kSplashControlCount] = {
    {SplashPart::lblPlatform, 3450, 2520, 3405, 300},
    {SplashPart::lblVersion, 6000, 2800, 855, 270},
    {SplashPart::lblEmail, 360, 2760, 2655, 255},
    {SplashPart::lblWebsite, 360, 3120, 2775, 255},
    {SplashPart::lblCopyright, 4560, 3120, 2415, 255},
    {SplashPart::lblCompany, 4560, 3360, 2415, 255},
    {SplashPart::lblWarning, 30, 3660, 6975, 195},
    {SplashPart::imgLogo, 480, 120, 6000, 2385},
};

}  // namespace

SplashLayout::SplashLayout(int dpi)
    : dpi_(UsableDpi(dpi)),
      client_(TwipsRect(0, 0, kClientWidth, kClientHeight, dpi_)),
      panel_(TwipsRect(kPanelLeft, kPanelTop, 7065, 3990, dpi_)) {
    for (int i = 0; i < kSplashControlCount; ++i) {
        const Design& d = kDesign[i];
        controls_[static_cast<std::size_t>(i)] =
            TwipsRect(kPanelLeft + d.left, kPanelTop + d.top, d.width, d.height, dpi_);
    }
}

int SplashLayout::Slot(SplashPart control) {
    for (int i = 0; i < kSplashControlCount; ++i) {
        if (kDesign[i].part == control) return i;
    }
    return -1;
}

PixelRect SplashLayout::Rect(SplashPart control) const {
    if (control == SplashPart::Margin) return client_;
    if (control == SplashPart::Frame1) return panel_;
    return controls_[static_cast<std::size_t>(Slot(control))];
}

void SplashLayout::SizeToText(SplashPart control, int width, int height) {
    const int slot = Slot(control);
    if (slot < 0) return;
    PixelRect& rect = controls_[static_cast<std::size_t>(slot)];
    const int right = rect.right();
    rect.width = width < 0 ? 0 : width;
    rect.height = height < 0 ? 0 : height;
    rect.left = right - rect.width;
}

std::optional<SplashPart> SplashLayout::PartAt(int x, int y) const {
    if (!client_.Contains(x, y)) return std::nullopt;
    if (!panel_.Contains(x, y)) return SplashPart::Margin;
    for (int i = 0; i < kSplashControlCount; ++i) {
        const PixelRect& rect = controls_[static_cast<std::size_t>(i)];
        // A control sticking out of the panel is cut off at its edge, as drawn.
        if (rect.Contains(x, y)) return kDesign[i].part;
    }
    return SplashPart::Frame1;
}

}  // namespace qfd
