#include "shell/program_icon.h"

#include "shell/shell_resources.h"

namespace qfd {

QIcon ProgramIcon() {
    InitShellResources();
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addFile(QString(":/shell/qfd-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace qfd
