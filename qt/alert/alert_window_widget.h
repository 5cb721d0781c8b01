#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>

#include "core/alert/alert_window.h"
#include "qt/alert/left_click.h"

namespace qfd {

class AlertLabelWidget;

// frmAlert on screen: a borderless, topmost window outside the taskbar that covers the primary
// screen (or is 300 x 250 pixels at 96 dpi, centred, for the small alert). Twips are converted at
// 15 to a logical pixel and points at 72 to 96 logical pixels, so a high-dpi screen scales the
// whole layout alike. A full-size alert also has a window of this kind on every other screen,
// which its presenter lays out and flashes with the primary's.
class AlertWindowWidget : public QWidget, public AlertView {
    Q_OBJECT

  public:
    // The window on the primary screen, with the alert's presenter.
    AlertWindowWidget(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds);
    // The window on another screen: `leader` lays it out and flashes it; a click on it, or its
    // closing, closes the alert.
    AlertWindowWidget(QWidget* owner, AlertWindow& leader, QScreen* screen);

    // Loads the window (and those of the other screens added to the presenter) from the mirror
    // and shows it, modal to the application; returns at once.
    void Open();
    // For another screen's window, once the primary's has opened.
    void ShowOnItsScreen();
    bool IsUnloaded() const { return unloaded_; }
    QScreen* Screen() const;
    AlertWindow& Presenter() { return *presenter_; }
    const AlertWindow& Presenter() const { return *presenter_; }

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

  signals:
    // The unload steps have run and the window is closed.
    void unloaded();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    explicit AlertWindowWidget(QWidget* owner);
    void Place();
    AlertLabelWidget* Label(AlertLabel label) const;
    void FitToText(AlertLabelWidget* label);

    AlertLabelWidget* lblMyName_;
    AlertLabelWidget* lblQuorf_;
    AlertLabelWidget* lblAlert_;
    QTimer* Timer1_;
    QSize windowSize_;
    LeftClick click_;
    bool unloaded_ = false;
    QScreen* screen_ = nullptr;  // another screen's; the primary screen's window follows it
    std::optional<AlertWindow> own_;
    AlertWindow* presenter_ = nullptr;
};

}  // namespace qfd
