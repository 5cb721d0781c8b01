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
    click_.Press(*event);
    event->accept();
}

void AlertLabelWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (click_.Release(*event, rect())) emit clicked();
}

}  // namespace qfd
