#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/options/options_view.h"

namespace qfd {

// The system colour chooser, opened with `initial` selected (flag 1) and the title given (UTF-8).
// Returns the chosen colour, or `initial` when the user cancels.
std::uint32_t ShowColourChooser(HWND owner, std::uint32_t initial, const std::string& title);

// The system file-open dialog with the flags 0x804 (no read-only box; the folder must exist, the
// file need not), one filter entry and the title of the request. Returns the full file name in
// the system code page, empty on a cancel.
std::string ShowFileChooser(HWND owner, const FileChooserRequest& request);

}  // namespace qfd
