#include "shell/shell_resources.h"

#include <QtGlobal>

static void InitShellResourcesOnce() { Q_INIT_RESOURCE(shell_resources); }

namespace qfd {

void InitShellResources() {
    static const bool done = (InitShellResourcesOnce(), true);
    (void)done;
}

}  // namespace qfd
