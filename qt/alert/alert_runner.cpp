#include "qt/alert/alert_runner.h"

#include <QEventLoop>

#include "qt/alert/alert_window_widget.h"

namespace qfd {

void RunAlertWindow(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds) {
    AlertWindowWidget window(owner, mirror, sounds);
    QEventLoop loop;
    QObject::connect(&window, &AlertWindowWidget::unloaded, &loop, &QEventLoop::quit);
    window.Open();
    loop.exec();
    // The loop also ends when the application quits; the window is unloaded in every case.
    window.close();
}

}  // namespace qfd
