#pragma once

#include <QLabel>
#include <QWidget>

#include "core/shell/splash_view.h"
#include "core/shell/splash_window.h"

namespace qfd {

// frmSplash on screen: the borderless splash/about window with its panel, logo and labels. Its
// events go to the SplashWindow behaviour; it changes nothing by itself.
class SplashForm : public QWidget {
  public:
    SplashForm();

    void SetPresenter(SplashWindow* presenter) { presenter_ = presenter; }
    void SetVersionText(const QString& text);
    void SetLinkLook(LinkLabel label, bool hovered);
    // Shows the window centred on the screen that holds the mouse pointer.
    void ShowCentred();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    // A label on the panel, as designed, showing text.
    QLabel* AddLabel(const char* name, const QString& text);
    // Keeps the right edge where the design has it and fits width and height to the text.
    static void SizeToText(QLabel* label, int rightEdge);
    void FitLabelsToText();
    void Clicked(QObject* control);
    void MovedOver(QObject* control);

    SplashWindow* presenter_ = nullptr;
    QWidget* frame_ = nullptr;
    QLabel* logo_ = nullptr;
    QLabel* platform_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* email_ = nullptr;
    QLabel* website_ = nullptr;
    QLabel* copyright_ = nullptr;
    QLabel* company_ = nullptr;
    QLabel* warning_ = nullptr;
    QObject* pressed_ = nullptr;
};

}  // namespace qfd
