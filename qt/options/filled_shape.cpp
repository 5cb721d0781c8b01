#include "qt/options/filled_shape.h"

#include <QPainter>

#include "qt/shell/twips.h"

namespace qfd {

FilledShape::FilledShape(QWidget* parent) : QWidget(parent) {
    // Clicks go to whatever lies below, as the shape takes none.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void FilledShape::SetFill(std::uint32_t colour) {
    if (colour == fill_) return;
    fill_ = colour;
    update();
}

void FilledShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), FromColourValue(fill_));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace qfd
