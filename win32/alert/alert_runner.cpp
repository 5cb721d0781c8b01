#include "win32/alert/alert_runner.h"

#include <memory>
#include <vector>

#include "win32/alert/alert_form.h"
#include "win32/common/modal_loop.h"

namespace qfd {

namespace {

struct OtherMonitors {
    HWND owner;
    AlertWindow* presenter;
    std::vector<std::unique_ptr<AlertForm>> forms;
};

BOOL CALLBACK AddOtherMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& others = *reinterpret_cast<OtherMonitors*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info) || (info.dwFlags & MONITORINFOF_PRIMARY) != 0) return TRUE;
    others.forms.push_back(
        std::make_unique<AlertForm>(others.owner, *others.presenter, info.rcMonitor));
    others.presenter->AddScreen(*others.forms.back());
    return TRUE;
}

}  // namespace

void RunAlertWindow(HWND owner, SettingsMirror& mirror, AlertSounds& sounds) {
    AlertForm form(owner, mirror, sounds);
    // A full-size alert covers the other monitors too, each with a window of its own.
    OtherMonitors others{owner, &form.Presenter(), {}};
    if (form.Presenter().CoversEveryScreen()) {
        EnumDisplayMonitors(nullptr, nullptr, &AddOtherMonitor, reinterpret_cast<LPARAM>(&others));
    }
    // The owner takes no input while its modal window is up; its tray messages still arrive.
    const bool ownerWasEnabled = owner && !EnableWindow(owner, FALSE);
    form.Open();
    for (const auto& other : others.forms) other->ShowOnItsMonitor();
    RunModalLoop([&] {
        // A monitor that went takes its window along.
        std::erase_if(others.forms, [&](const std::unique_ptr<AlertForm>& other) {
            if (!other->MonitorGone()) return false;
            form.Presenter().RemoveScreen(*other);
            return true;
        });
        return form.Unloaded();
    });
    // Ended from outside (a quit request): the window is unloaded in every case.
    form.UnloadWindow();
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
}

}  // namespace qfd
