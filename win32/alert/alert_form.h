#pragma once

#include <windows.h>

#include <array>
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
    AlertForm(HWND owner, SettingsMirror& mirror, AlertSounds& sounds);
    AlertForm(const AlertForm&) = delete;
    AlertForm& operator=(const AlertForm&) = delete;
    ~AlertForm() override;

    // Loads the window (the behaviour's Form_Load), then shows it centred on the primary screen.
    void Open();
    // True once the window has unloaded.
    bool Unloaded() const { return unloaded_; }
    // Yes: the next tick shows the first colour pair and asks for the sound.
    bool FlashState() const { return presenter_.FlashState(); }
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

    AlertWindow presenter_;
    HWND window_ = nullptr;
    int dpi_;
    SIZE size_{0, 0};
    std::uint32_t background_ = 0;
    std::array<Label, 3> labels_;
    int pressed_ = -2;  // nothing pressed
    bool unloaded_ = false;
};

}  // namespace qfd
