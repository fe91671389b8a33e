#include "recordericons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

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
QImage paintStop(const QColor &face)
{
    QImage image = canvas(92);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(face, 5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(46, 46), 41, 41);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(25, 25, 42, 42), 5, 5);
    return image;
}

// A toothed wheel with a hole: the settings of what stands beside it.
QImage paintSettings()
{
    QImage image = canvas(56);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(28, 28);
    QPainterPath wheel;
    wheel.addEllipse(centre, 17, 17);
    for (int tooth = 0; tooth < 8; ++tooth) {
        QPainterPath cog;
        cog.addRoundedRect(QRectF(-5, -25, 10, 12), 2, 2);
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(45.0 * tooth);
        wheel = wheel.united(turn.map(cog));
    }
    QPainterPath hole;
    hole.addEllipse(centre, 7, 7);
    p.setPen(QPen(QColor(0, 84, 140), 2));
    p.setBrush(QColor(200, 200, 200));
    p.drawPath(wheel.subtracted(hole));
    return image;
}
