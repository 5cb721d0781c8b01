#pragma once

#include <functional>

namespace qfd {

// Runs the thread's messages until `done` says so: the nested loop of a modal window, in which
// the main window's tray messages and timers keep arriving. A quit request ends it early and is
// passed on to the loop outside.
void RunModalLoop(const std::function<bool()>& done);

}  // namespace qfd
