#include "tools/imagegen/audioicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor screenBlue(0, 162, 232);
const QColor line(235, 235, 235);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void stroke(QPainter &p, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

} // namespace

// The face of a three-pin microphone socket with its latch, and a gain slider beside it.
QImage paintInputSettings()
{
    QImage image = canvas(120, 80);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(44, 40);
    stroke(p, line, 5);
    p.drawEllipse(centre, 32, 32);
    stroke(p, line, 3);
    p.drawRoundedRect(QRectF(38, 2, 12, 9), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(screenBlue);
    for (const QPointF &pin : {QPointF(31, 33), QPointF(57, 33), QPointF(44, 55)})
        p.drawEllipse(pin, 6, 6);
    stroke(p, line, 4);
    p.drawLine(QPointF(100, 10), QPointF(100, 70));
    p.setPen(QPen(line, 2));
    p.setBrush(screenBlue);
    p.drawRoundedRect(QRectF(90, 28, 20, 12), 3, 3);
    return image;
}

// A rotary knob seen from above: its scale of ticks around a round cap with the pointer.
QImage paintPotentiometer()
{
    QImage image = canvas(72, 72);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(36, 38);
    stroke(p, line, 3);
    // Ticks from 7 to 5 o'clock, clockwise.
    for (int i = 0; i <= 10; ++i) {
        const qreal angle = qDegreesToRadians(225.0 - 27.0 * i);
        const QPointF direction(qCos(angle), -qSin(angle));
        p.drawLine(centre + 27 * direction, centre + 33 * direction);
    }
    p.setPen(QPen(line, 3));
    p.setBrush(QColor(70, 70, 70));
    p.drawEllipse(centre, 20, 20);
    stroke(p, screenBlue, 5);
    const qreal pointer = qDegreesToRadians(60.0);
    p.drawLine(centre, centre + 16 * QPointF(qCos(pointer), -qSin(pointer)));
    return image;
}

// An arrow that turns back to the left.
QImage paintBack()
{
    QImage image = canvas(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(50, 52);
    path.lineTo(50, 34);
    path.cubicTo(50, 24, 44, 20, 34, 20);
    path.lineTo(16, 20);
    stroke(p, line, 6);
    p.drawPath(path);
    p.setPen(QPen(screenBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(screenBlue);
    p.drawPolygon(QPolygonF({QPointF(6, 20), QPointF(22, 8), QPointF(22, 32)}));
    return image;
}
