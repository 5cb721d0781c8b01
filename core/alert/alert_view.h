#pragma once

#include <cstdint>
#include <string>

namespace qfd {

// The three labels of frmAlert.
enum class AlertLabel { lblMyName, lblQuorf, lblAlert };

// A width and height in twips (1440 to the inch, 15 to the pixel at 96 dots per inch).
struct TwipSize {
    double width = 0;
    double height = 0;
};

// What frmAlert can do on screen. Sizes and positions in twips, colours as 0x00BBGGRR.
class AlertView {
  public:
    virtual ~AlertView() = default;

    // The whole primary screen, taskbar included.
    virtual TwipSize ScreenSize() const = 0;
    // The window's size; the show centres it on the screen, so a screen-sized window covers it.
    virtual void SetWindowSize(TwipSize size) = 0;

    // Labels are single-line and always exactly the size of their text in their font, so both
    // calls resize the label. text is the setting's bytes; the view shows it as plain text.
    virtual void SetFontSize(AlertLabel label, double points) = 0;
    virtual void SetCaption(AlertLabel label, const std::string& text) = 0;
    virtual TwipSize LabelSize(AlertLabel label) const = 0;
    virtual void SetLabelLeft(AlertLabel label, double left) = 0;
    virtual void SetLabelTop(AlertLabel label, double top) = 0;

    virtual void SetTextColour(AlertLabel label, std::uint32_t colour) = 0;
    virtual void SetBackColour(std::uint32_t colour) = 0;

    // Above every window that is not itself topmost; position and size stay.
    virtual void MakeTopmost() = 0;
    // Starts Timer1, whose ticks call AlertWindow::Timer1_Timer; it ends with the window.
    virtual void EnableTimer1(int intervalMs) = 0;
    // Closes the window; the view then runs AlertWindow::Form_Unload, as for any other way the
    // window may be closed.
    virtual void UnloadWindow() = 0;
};

}  // namespace qfd
