#include "tools/imagegen/padlockicons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor light(235, 235, 235);
const QColor shackleGrey(200, 200, 200);
const QColor keyhole(40, 40, 40);
const int side = 56;

// A body with a keyhole under a shackle. A closed shackle stands in both sockets; an open one is lifted, its
// right leg free above the body.
QImage paintPadlock(bool open)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const qreal lift = open ? 8 : 0;
    QPainterPath shackle;
    shackle.moveTo(16, 30);
    shackle.lineTo(16, 22 - lift);
    shackle.arcTo(QRectF(16, 10 - lift, 24, 24), 180, -180);
    shackle.lineTo(40, open ? 22 - lift + 6 : 30);
    p.setPen(QPen(shackleGrey, 6, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shackle);

    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRoundedRect(QRectF(8, 28, 40, 26), 5, 5);
    p.setBrush(keyhole);
    p.drawEllipse(QPointF(28, 38), 4, 4);
    p.drawRect(QRectF(26.5, 39, 3, 9));
    return image;
}

} // namespace

QImage paintPadlockOpen()
{
    return paintPadlock(true);
}

QImage paintPadlockClose()
{
    return paintPadlock(false);
}
