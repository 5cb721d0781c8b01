#pragma once

#include <QApplication>

namespace qfd {

// Runs QF Detect in app until the tray menu's exit ends the process; returns the exit code when
// the program ends by itself (a second instance of the same installation).
int RunShell(QApplication& app);

}  // namespace qfd
