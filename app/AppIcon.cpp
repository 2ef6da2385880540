#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

QPixmap appIconPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 48.0, size / 48.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1f, 0x5f, 0xa8));
    painter.drawRoundedRect(QRectF(2, 2, 44, 44), 9, 9);

    // Handset: two ear pieces joined by a curved grip.
    QPainterPath handset;
    handset.moveTo(11, 31);
    handset.cubicTo(9, 22, 15, 13, 24, 12);
    handset.cubicTo(33, 13, 39, 22, 37, 31);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(handset);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(6, 28, 11, 8), 3, 3);
    painter.drawRoundedRect(QRectF(31, 28, 11, 8), 3, 3);

    // Test signal under the handset.
    painter.setPen(QPen(QColor(0xff, 0xc8, 0x3d), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath wave;
    wave.moveTo(12, 40);
    wave.lineTo(18, 40);
    wave.lineTo(21, 35);
    wave.lineTo(25, 44);
    wave.lineTo(28, 38);
    wave.lineTo(30, 40);
    wave.lineTo(36, 40);
    painter.drawPath(wave);
    return pixmap;
}

QIcon appIcon()
{
    return QIcon(appIconPixmap(48));
}

} // namespace app
