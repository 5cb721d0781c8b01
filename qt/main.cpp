#include <QApplication>

#include "qt/shell/shell_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return qfd::RunShell(app);
}
