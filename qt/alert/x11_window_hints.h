#pragma once

class QWidget;

namespace qfd {

// Asks an X11 window manager to leave window out of taskbars and pagers (_NET_WM_STATE_SKIP_TASKBAR
// and _NET_WM_STATE_SKIP_PAGER). Qt has no call for it; call it on a window that has not been shown
// yet, after its last change of window flags (Qt adds its own states to these when it maps the
// window). Does nothing on other platforms.
void KeepOutOfTaskbar(QWidget* window);

}  // namespace qfd
