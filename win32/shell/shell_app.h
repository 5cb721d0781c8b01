#pragma once

namespace qfd {

// Runs QF Detect until the tray menu's exit ends the process; returns the exit code when the
// program ends by itself (a second instance of the same installation).
int RunShell();

}  // namespace qfd
