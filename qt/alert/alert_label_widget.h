#pragma once

#include <QLabel>

#include "qt/alert/left_click.h"

namespace qfd {

// A label of frmAlert: plain text on one line, transparent, and clickable anywhere inside its
// rectangle. It takes every click on it, so a click on a label never reaches the window behind.
class AlertLabelWidget : public QLabel {
    Q_OBJECT

  public:
    AlertLabelWidget(const QString& objectName, QWidget* parent);

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    LeftClick click_;
};

}  // namespace qfd
