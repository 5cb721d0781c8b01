#pragma once

#include <cstdint>
#include <optional>

namespace qfd {

// The tray icon reports to frmSplash with the mouse-move message: wParam is the icon's id and
// lParam the mouse message (the classic notification form, without a version set), which thus
// arrives as the horizontal coordinate of a mouse move.
inline constexpr unsigned kTrayIconId = 1;
inline constexpr unsigned kTrayCallbackMessage = 0x200;  // WM_MOUSEMOVE

// The mouse message a callback stands for, or nothing when it names another icon.
inline std::optional<int> TrayMessageFromCallback(std::uintptr_t wParam, std::intptr_t lParam) {
    if (wParam != kTrayIconId) return std::nullopt;
    return static_cast<int>(static_cast<std::uintptr_t>(lParam) & 0xFFFFu);
}

}  // namespace qfd
