#include "qt/options/captioned_frame.h"

#include <QPainter>

namespace qfd {

CaptionedFrame::CaptionedFrame(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent) {}

void CaptionedFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineTop = metrics.height() / 2;
    // An etched edge: a shadow line with a light line beside it.
    const QRect box = rect().adjusted(0, lineTop, -2, -2);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(box);
    p.setPen(palette().color(QPalette::Light));
    p.drawRect(box.translated(1, 1));

    const QString caption = title();
    if (caption.isEmpty()) return;
    const QRect captionRect(6, 0, metrics.horizontalAdvance(caption) + 4, metrics.height());
    p.fillRect(captionRect, palette().color(QPalette::Window));
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    p.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, caption);
}

}  // namespace qfd
