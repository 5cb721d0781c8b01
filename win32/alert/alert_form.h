#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>

#include "core/alert/alert_view.h"
#include "core/alert/alert_window.h"
#include "win32/common/gdi.h"
#include "win32/common/twips.h"

namespace qfd {

// frmAlert on screen: a borderless topmost window kept out of the taskbar, owned by the main
// window, with three single-line labels drawn on its background. It renders what the AlertWindow
// behaviour asks and forwards its clicks and ticks.
class AlertForm : public AlertView {
  public:
    // The window on the primary monitor, with the alert's presenter.
    AlertForm(HWND owner, SettingsMirror& mirror, AlertSounds& sounds);
    // The window on another monitor (its rectangle on the desktop): `leader` lays it out and
    // flashes it; a click on it closes the alert.
    AlertForm(HWND owner, AlertWindow& leader, RECT monitor);
    AlertForm(const AlertForm&) = delete;
    AlertForm& operator=(const AlertForm&) = delete;
    ~AlertForm() override;

    // Loads the window (the behaviour's Form_Load, which lays out the other monitors' windows
    // added to it too), then shows it centred on the primary screen.
    void Open();
    // For another monitor's window, once the primary's has opened.
    void ShowOnItsMonitor();
    // Another monitor's window whose monitor has been removed: it has hidden itself.
    bool MonitorGone() const { return monitorGone_; }
    AlertWindow& Presenter() { return *presenter_; }
    // True once the window has unloaded.
    bool Unloaded() const { return unloaded_; }
    // Yes: the next tick shows the first colour pair and asks for the sound.
    bool FlashState() const { return presenter_->FlashState(); }
    HWND Handle() const { return window_; }

    TwipSize ScreenSize() const override;
    void SetWindowSize(TwipSize size) override;
    void SetFontSize(AlertLabel label, double points) override;
    void SetCaption(AlertLabel label, const std::string& text) override;
    TwipSize LabelSize(AlertLabel label) const override;
    void SetLabelLeft(AlertLabel label, double left) override;
    void SetLabelTop(AlertLabel label, double top) override;
    void SetTextColour(AlertLabel label, std::uint32_t colour) override;
    void SetBackColour(std::uint32_t colour) override;
    void MakeTopmost() override;
    void EnableTimer1(int intervalMs) override;
    void UnloadWindow() override;

  private:
    struct Label {
        std::string text;  // in the system code page, one line
        FontHandle font;
        std::uint32_t colour = 0;
        PixelRect rect;
    };

    explicit AlertForm(HWND owner);
    // The rectangle the window is centred on: its monitor's, or the primary screen's.
    RECT Area() const;
    void Place();
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    Label& LabelOf(AlertLabel label) { return labels_[static_cast<std::size_t>(label)]; }
    const Label& LabelOf(AlertLabel label) const {
        return labels_[static_cast<std::size_t>(label)];
    }
    void FitToText(Label& label);
    void Paint();
    // Which label a point lies in, the big texts before the sender line; -1 for the background.
    int LabelAt(int x, int y) const;
    void Clicked(int target);

    std::optional<AlertWindow> own_;
    AlertWindow* presenter_ = nullptr;
    std::optional<RECT> monitor_;  // another monitor's window only
    bool monitorGone_ = false;
    HWND window_ = nullptr;
    int dpi_;
    SIZE size_{0, 0};
    std::uint32_t background_ = 0;
    std::array<Label, 3> labels_;
    int pressed_ = -2;  // nothing pressed
    bool unloaded_ = false;
};

}  // namespace qfd
