#include "qt/shell/shell_resources.h"

#include <QImageReader>
#include <QtGlobal>

static void InitShellResourcesOnce() { Q_INIT_RESOURCE(shell_resources); }

namespace qfd {

void InitShellResources() {
    static const bool done = (InitShellResourcesOnce(), true);
    (void)done;
}

QPixmap LoadShellPicture(const QString& path) {
    InitShellResources();
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

}  // namespace qfd
