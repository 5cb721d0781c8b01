#include "qt/alert/alert_label_widget.h"

#include <QMouseEvent>

namespace qfd {

AlertLabelWidget::AlertLabelWidget(const QString& objectName, QWidget* parent) : QLabel(parent) {
    setObjectName(objectName);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::NoTextInteraction);
    setWordWrap(false);
    setAlignment(Qt::AlignCenter);
    setMargin(0);
    setIndent(0);
    setContentsMargins(0, 0, 0, 0);
}

void AlertLabelWidget::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void AlertLabelWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // A click is a press and a release of the left button on the same label.
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

}  // namespace qfd
