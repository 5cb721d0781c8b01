#pragma once

#include <windows.h>

#include <functional>

namespace qfd {

// Runs the thread's messages until WM_QUIT and returns the exit code it carries. While `wake` is
// a handle, it is waited on beside the messages, and onWake runs each time it is signalled; onWake
// must take what signalled it. The loops of modal windows, message boxes and menus inside wait for
// messages only: a signal that comes during one of them is taken once it has ended.
int RunMessageLoop(HANDLE wake, const std::function<void()>& onWake);

}  // namespace qfd
