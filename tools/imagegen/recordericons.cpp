#include "tools/imagegen/recordericons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QImage canvas(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

// A dot in a ring: grey when nothing can be recorded, a dim red when ready, bright red while recording.
QImage paintRecord(const QColor &dot, const QColor &ring)
{
    QImage image = canvas(92);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ring, 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(46, 46), 41, 41);
    p.setPen(Qt::NoPen);
    p.setBrush(dot);
    p.drawEllipse(QPointF(46, 46), 29, 29);
    // A highlight keeps the dot round on a face of its own colour.
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QPointF(37, 36), 9, 7);
    return image;
}

// A square with rounded corners in a ring of the same colour.
