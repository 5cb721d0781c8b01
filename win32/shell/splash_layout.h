#pragma once

#include <array>
#include <optional>

#include "win32/common/twips.h"

namespace qfd {

// The parts of frmSplash a pointer can be over. Margin is the brown window itself around the
// panel Frame1; the others are drawn on the panel.
enum class SplashPart {
    Margin,
    Frame1,
    imgLogo,
    lblPlatform,
    lblVersion,
    lblEmail,
    lblWebsite,
    lblCopyright,
    lblCompany,
    lblWarning,
};

inline constexpr int kSplashControlCount = 8;  // imgLogo .. lblWarning

// frmSplash's geometry in pixels at one dpi: the window's client area, the panel, and each
// control's rectangle in client coordinates.
class SplashLayout {
  public:
    explicit SplashLayout(int dpi);

    int Dpi() const { return dpi_; }
    PixelRect Client() const { return client_; }
    PixelRect Panel() const { return panel_; }
    PixelRect Rect(SplashPart control) const;

    // lblPlatform and lblVersion are right-aligned and sized to their text: they keep their
    // designed right edge and top and take the text's width and height (in pixels).
    void SizeToText(SplashPart control, int width, int height);

    // What lies under a point of the client area; nothing outside it. Labels are looked at
    // before the logo, and the logo before the panel's background.
    std::optional<SplashPart> PartAt(int x, int y) const;

  private:
    static int Slot(SplashPart control);

    int dpi_;
    PixelRect client_;
    PixelRect panel_;
    std::array<PixelRect, kSplashControlCount> controls_{};
};

}  // namespace qfd
