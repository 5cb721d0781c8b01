#include "qt/alert/alert_runner.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <memory>
#include <vector>

#include "qt/alert/alert_window_widget.h"

namespace qfd {

void RunAlertWindow(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds) {
    AlertWindowWidget window(owner, mirror, sounds);
    AlertWindow& presenter = window.Presenter();
    // A full-size alert covers the other screens too, each with a window of its own.
    std::vector<std::unique_ptr<AlertWindowWidget>> others;
    if (presenter.CoversEveryScreen()) {
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen == QGuiApplication::primaryScreen()) continue;
            others.push_back(std::make_unique<AlertWindowWidget>(owner, presenter, screen));
            presenter.AddScreen(*others.back());
        }
    }
    // A screen that goes takes its window along; one that comes while the alert is open stays
    // without, as the primary's window does not move either.
    QEventLoop loop;
    QObject::connect(qApp, &QGuiApplication::screenRemoved, &loop, [&](QScreen* gone) {
        std::erase_if(others, [&](const std::unique_ptr<AlertWindowWidget>& other) {
            if (other->Screen() != gone) return false;
            presenter.RemoveScreen(*other);
            return true;
        });
    });
    QObject::connect(&window, &AlertWindowWidget::unloaded, &loop, &QEventLoop::quit);
    window.Open();
    for (const auto& other : others) other->ShowOnItsScreen();
    loop.exec();
    // The loop also ends when the application quits; the window is unloaded in every case.
    window.close();
}

}  // namespace qfd
