#pragma once

#include <QIcon>

namespace qfd {

// The program icon at 16, 32 and 48 pixels.
QIcon ProgramIcon();

}  // namespace qfd
