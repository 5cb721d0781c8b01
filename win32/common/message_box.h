#pragma once

#include <windows.h>

#include "core/shell/splash_view.h"

namespace qfd {

// A message box through MessageBoxA: texts are UTF-8 with CR LF line breaks, shown in the system
// code page, with the icon and buttons the request names.
MessageAnswer ShowMessageBox(HWND owner, const MessageRequest& request);

// The MessageBoxA style for a request (icon and buttons).
UINT MessageBoxStyle(const MessageRequest& request);

}  // namespace qfd
