#include "qt/shell/program_icon.h"

#include "qt/shell/shell_resources.h"

namespace qfd {

QIcon ProgramIcon() {
    // Built from pixmaps rather than file names, which would load the icon-engine plugins.
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(LoadShellPicture(QString(":/shell/qfd-%1.png").arg(size)));
    return icon;
}

}  // namespace qfd
