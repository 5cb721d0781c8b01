#include "qt/shell/idle_trim.h"

#include <malloc.h>

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace qfd {

void TrimAfterSplash(QWidget& splash) {
    // The form loads its logo again whenever it shows without one.
    if (auto* logo = splash.findChild<QLabel*>(QStringLiteral("imgLogo"))) logo->clear();
    // Once the hide's own events have freed what they free; glibc keeps freed heap pages
    // otherwise, and the program idles from here on.
    QTimer::singleShot(0, &splash, [] { malloc_trim(0); });
}

}  // namespace qfd
