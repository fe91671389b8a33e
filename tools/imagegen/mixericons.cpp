#include "tools/imagegen/mixericons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QImage canvas()
{
    QImage image(80, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void stroke(QPainter &p, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

// A thick arrow to the right along y = 32, from x0 to the tip at x1.
void arrow(QPainter &p, const QColor &colour, qreal x0, qreal x1)
{
    stroke(p, colour, 6);
    p.drawLine(QPointF(x0, 32), QPointF(x1 - 10, 32));
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({QPointF(x1 - 14, 20), QPointF(x1, 32), QPointF(x1 - 14, 44)}));
}

// Three faders in a frame: the mixer that the arrow enters or leaves.
void mixer(QPainter &p, const QColor &colour, qreal x)
{
    stroke(p, colour, 4);
    p.drawRoundedRect(QRectF(x, 8, 38, 48), 5, 5);
    stroke(p, colour, 3);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(x + 10 + 9 * i, 16), QPointF(x + 10 + 9 * i, 48));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal knobs[] = {36, 22, 30};
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(x + 6 + 9 * i, knobs[i] - 3, 8, 6), 2, 2);
}

} // namespace

// A headband over two ear cups, wide apart: the buttons write the headphone's name ("2 / B") between them.
QImage paintHeadphone(const QColor &colour)
{
    QImage image(112, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    stroke(p, colour, 5);
    QPainterPath band;
    band.moveTo(11, 42);
    band.lineTo(11, 32);
    band.cubicTo(11, 2, 101, 2, 101, 32);
    band.lineTo(101, 42);
    p.drawPath(band);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(3, 36, 14, 24), 5, 5);
    p.drawRoundedRect(QRectF(95, 36, 14, 24), 5, 5);
    return image;
}

// An arrow entering the mixer from the left.
QImage paintMixerInput(const QColor &colour)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    arrow(p, colour, 4, 38);
    mixer(p, colour, 40);
    return image;
}

// An arrow leaving the mixer to the right.
QImage paintMixerOutput(const QColor &colour)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    mixer(p, colour, 2);
    arrow(p, colour, 44, 77);
    return image;
}
