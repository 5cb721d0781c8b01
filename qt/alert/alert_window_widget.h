#pragma once

#include <QTimer>
#include <QWidget>

#include "core/alert/alert_window.h"
#include "qt/alert/left_click.h"

namespace qfd {

class AlertLabelWidget;

// frmAlert on screen: a borderless, topmost window outside the taskbar that covers the primary
// screen (or is 300 x 250 pixels at 96 dpi, centred, for the small alert). Twips are converted at
// 15 to a logical pixel and points at 72 to 96 logical pixels, so a high-dpi screen scales the
// whole layout alike.
class AlertWindowWidget : public QWidget, public AlertView {
    Q_OBJECT

  public:
    AlertWindowWidget(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds);

    // Loads the window from the mirror and shows it, modal to the application; returns at once.
    void Open();
    bool IsUnloaded() const { return unloaded_; }
    const AlertWindow& Presenter() const { return presenter_; }

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
    AlertLabelWidget* Label(AlertLabel label) const;
    void FitToText(AlertLabelWidget* label);

    AlertLabelWidget* lblMyName_;
    AlertLabelWidget* lblQuorf_;
    AlertLabelWidget* lblAlert_;
    QTimer* Timer1_;
    QSize windowSize_;
    LeftClick click_;
    bool unloaded_ = false;
    AlertWindow presenter_;
};

}  // namespace qfd
