#pragma once

#include "core/options/form_design.h"

namespace qfd::design {

// frmSplash as designed: a borderless window around the panel Frame1, which holds the logo and
// the labels, front to back (see Control). The labels' texts come from the about texts.
inline constexpr Form kSplashForm{"frmSplash", "", 7305, 4245, {"MS Sans Serif", 8.25}};

inline constexpr Font kSplashPlatformFont{"Microsoft Sans Serif", 12, true};
inline constexpr Font kSplashVersionFont{"Microsoft Sans Serif", 11.25, true};
inline constexpr Font kSplashSmallPrintFont{"Arial", 8.25};

inline constexpr Control kSplashControls[] = {
    {.name = "lblPlatform",
     .kind = Kind::Label,
     .rect = {3570, 2640, 3405, 300},
     .container = "Frame1",
     .font = &kSplashPlatformFont,
     .align = Align::Right},
    {.name = "lblVersion",
     .kind = Kind::Label,
     .caption = "Version",
     .rect = {6120, 2920, 855, 270},
     .container = "Frame1",
     .font = &kSplashVersionFont,
     .align = Align::Right},
    {.name = "lblEmail",
     .kind = Kind::Label,
     .rect = {480, 2880, 2655, 255},
     .container = "Frame1"},
    {.name = "lblWebsite",
     .kind = Kind::Label,
     .rect = {480, 3240, 2775, 255},
     .container = "Frame1"},
    {.name = "lblCopyright",
     .kind = Kind::Label,
     .rect = {4680, 3240, 2415, 255},
     .container = "Frame1",
     .font = &kSplashSmallPrintFont},
    {.name = "lblCompany",
     .kind = Kind::Label,
     .rect = {4680, 3480, 2415, 255},
     .container = "Frame1",
     .font = &kSplashSmallPrintFont},
    {.name = "lblWarning",
     .kind = Kind::Label,
     .rect = {150, 3780, 6975, 195},
     .container = "Frame1",
     .font = &kSplashSmallPrintFont,
     .align = Align::Centre},
    {.name = "imgLogo", .kind = Kind::Image, .rect = {600, 240, 6000, 2385}, .container = "Frame1"},
    {.name = "Frame1", .kind = Kind::Frame, .rect = {120, 120, 7065, 3990}},
};

}  // namespace qfd::design
