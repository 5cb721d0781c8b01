#pragma once

class QWidget;

namespace qfd {

// Gives back what the splash needed once it is hidden and the program settles into the tray:
// its logo (loaded again when it shows next) and the heap pages its painting freed.
void TrimAfterSplash(QWidget& splash);

}  // namespace qfd
