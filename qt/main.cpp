#include <QApplication>

#include "qt/shell/session_platform.h"
#include "qt/shell/shell_app.h"

int main(int argc, char** argv) {
    qfd::ChoosePlatformForSession(argc, argv);
    QApplication app(argc, argv);
    return qfd::RunShell(app);
}
