#include "qt/options/speaker_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qfd {
namespace {

QPixmap DrawSpeaker(qreal ratio, QIcon::Mode mode) {
    const int side = static_cast<int>(kSpeakerPictureSize * ratio + 0.5);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = mode == QIcon::Disabled ? QColor(150, 150, 150) : QColor(32, 32, 32);

    // Magnet and cone.
    QPainterPath speaker;
    speaker.moveTo(2.5, 8);
    speaker.lineTo(6.5, 8);
    speaker.lineTo(11.5, 3.5);
    speaker.lineTo(11.5, 17.5);
    speaker.lineTo(6.5, 13);
    speaker.lineTo(2.5, 13);
    speaker.closeSubpath();
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPath(speaker);

    // Two waves.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9.5, 6.5, 6, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(9.5, 3.5, 10, 14), -55 * 16, 110 * 16);
    return pixmap;
}

}  // namespace

QIcon SpeakerPicture() {
    QIcon icon;
    for (qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        icon.addPixmap(DrawSpeaker(ratio, QIcon::Normal), QIcon::Normal);
        icon.addPixmap(DrawSpeaker(ratio, QIcon::Disabled), QIcon::Disabled);
    }
    return icon;
}

}  // namespace qfd
