#pragma once

#include <QMouseEvent>
#include <QRect>
#include <utility>

namespace qfd {

// A click as the alert's window and labels take it: the left button pressed and released inside
// the same widget. Other buttons never click, as on the Win32 alert.
class LeftClick {
  public:
    void Press(const QMouseEvent& event) { pressed_ = event.button() == Qt::LeftButton; }

    // Whether this release completes a click inside `area` (the widget's own rectangle).
    bool Release(const QMouseEvent& event, const QRect& area) {
        const bool wasPressed = std::exchange(pressed_, false);
        return wasPressed && event.button() == Qt::LeftButton &&
               area.contains(event.position().toPoint());
    }

  private:
    bool pressed_ = false;
};

}  // namespace qfd
