#include "win32/shell/splash_layout.h"

#include <iterator>
#include <string_view>

#include "core/shell/splash_form_design.h"

namespace qfd {
namespace {

// The design table's names, in the order of SplashPart; the margin is the window itself.
constexpr const char* kPartNames[] = {"",           "Frame1",    "imgLogo",    "lblPlatform",
                                      "lblVersion", "lblEmail",  "lblWebsite", "lblCopyright",
                                      "lblCompany", "lblWarning"};

// The controls on the panel come first in the table, in the order they are looked at under the
// pointer; the panel itself last.
static_assert(std::size(design::kSplashControls) == kSplashControlCount + 1);

PixelRect Pixels(const design::Rect& r, int dpi) {
    return TwipsRect(r.left, r.top, r.width, r.height, dpi);
}

SplashPart PartNamed(std::string_view name) {
    for (std::size_t part = 0; part < std::size(kPartNames); ++part) {
        if (kPartNames[part] == name) return static_cast<SplashPart>(part);
    }
    return SplashPart::Margin;
}

}  // namespace

SplashLayout::SplashLayout(int dpi)
    : dpi_(UsableDpi(dpi)),
      client_(TwipsRect(0, 0, design::kSplashForm.width, design::kSplashForm.height, dpi_)),
      panel_(Pixels(design::Find(design::kSplashControls, "Frame1").rect, dpi_)) {
    for (int i = 0; i < kSplashControlCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        controls_[slot] = Pixels(design::kSplashControls[slot].rect, dpi_);
    }
}

int SplashLayout::Slot(SplashPart control) {
    return design::RowOf(design::kSplashControls, kPartNames[static_cast<std::size_t>(control)]);
}

PixelRect SplashLayout::Rect(SplashPart control) const {
    if (control == SplashPart::Margin) return client_;
    if (control == SplashPart::Frame1) return panel_;
    return controls_[static_cast<std::size_t>(Slot(control))];
}

void SplashLayout::SizeToText(SplashPart control, int width, int height) {
    const int slot = Slot(control);
    if (slot < 0 || slot >= kSplashControlCount) return;
    PixelRect& rect = controls_[static_cast<std::size_t>(slot)];
    const int right = rect.Right();
    rect.width = width < 0 ? 0 : width;
    rect.height = height < 0 ? 0 : height;
    rect.left = right - rect.width;
}

std::optional<SplashPart> SplashLayout::PartAt(int x, int y) const {
    if (!client_.Contains(x, y)) return std::nullopt;
    if (!panel_.Contains(x, y)) return SplashPart::Margin;
    for (int i = 0; i < kSplashControlCount; ++i) {
        const auto slot = static_cast<std::size_t>(i);
        // A control sticking out of the panel is cut off at its edge, as drawn.
        if (controls_[slot].Contains(x, y)) return PartNamed(design::kSplashControls[slot].name);
    }
    return SplashPart::Frame1;
}

}  // namespace qfd
