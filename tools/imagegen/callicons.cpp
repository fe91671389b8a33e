#include "tools/imagegen/callicons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor screenBlue(0, 162, 232);
const QColor line(235, 235, 235);

// A canvas with the pen of the drawings: light strokes, round ends.
struct Drawing
{
    Drawing() : image(120, 80, QImage::Format_ARGB32_Premultiplied)
    {
        image.fill(Qt::transparent);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        stroke(line, 5);
    }

    void stroke(const QColor &colour, qreal width)
    {
        painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
    }

    QImage done()
    {
        painter.end();
        return image;
    }

    QImage image;
    QPainter painter;
};

} // namespace

// An address book with its index tabs: the call book of the line.
QImage paintBook()
{
    Drawing d;
    QPainter &p = d.painter;
    p.drawRoundedRect(QRectF(36, 8, 46, 64), 5, 5);
    p.drawLine(QPointF(44, 8), QPointF(44, 72));
    d.stroke(screenBlue, 4);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(84, 20 + 18 * i), QPointF(90, 20 + 18 * i));
    p.drawLine(QPointF(54, 28), QPointF(72, 28));
    p.drawLine(QPointF(54, 40), QPointF(72, 40));
    return d.done();
}

// A wave turned into pulses: the coding of the running call.
QImage paintCoding()
{
    Drawing d;
    QPainter &p = d.painter;
    QPainterPath wave;
    wave.moveTo(14, 40);
    wave.cubicTo(24, 8, 34, 8, 44, 40);
    wave.cubicTo(50, 58, 54, 58, 58, 48);
    p.drawPath(wave);
    d.stroke(screenBlue, 4);
    p.drawPolyline(QPolygonF({QPointF(64, 56), QPointF(64, 24), QPointF(76, 24), QPointF(76, 56), QPointF(88, 56),
        QPointF(88, 24), QPointF(100, 24), QPointF(100, 56), QPointF(108, 56)}));
    return d.done();
}

// A clock with an arrow turning back: the numbers called before.
QImage paintCallHistory()
{
    Drawing d;
    QPainter &p = d.painter;
    const QPointF centre(60, 40);
    p.drawArc(QRectF(28, 8, 64, 64), 120 * 16, 300 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawPolygon(QPolygonF({QPointF(30, 14), QPointF(44, 20), QPointF(30, 30)}));
    d.stroke(screenBlue, 5);
    p.drawLine(centre, QPointF(60, 22));
    p.drawLine(centre, QPointF(74, 48));
    return d.done();
}

// Twelve keys in four rows: the dial pad.
QImage paintDialpad()
{
    Drawing d;
    QPainter &p = d.painter;
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 3; ++column) {
            p.setBrush(row == 3 && column != 1 ? screenBlue : line);
            p.drawEllipse(QPointF(40 + 20 * column, 10 + 20 * row), 7, 7);
        }
    }
    return d.done();
}

// A handset, large and filled: lifted in green to call, lowered in red to hang up.
QImage paintPhoneButton(bool hangUp)
{
    Drawing d;
    QPainter &p = d.painter;
    QPainterPath handset;
    handset.moveTo(-30, -6);
    handset.cubicTo(-30, -22, 30, -22, 30, -6);
    handset.lineTo(30, 6);
    handset.lineTo(16, 8);
    handset.lineTo(14, -2);
    handset.cubicTo(6, -7, -6, -7, -14, -2);
    handset.lineTo(-16, 8);
    handset.lineTo(-30, 6);
    handset.closeSubpath();
    p.translate(60, 42);
    if (!hangUp)
        p.rotate(-30);
    p.scale(1.1, 1.1);
    d.stroke(hangUp ? QColor(255, 40, 40) : QColor(40, 220, 80), 3);
    p.setBrush(hangUp ? QColor(215, 30, 30) : QColor(20, 160, 60));
    p.drawPath(handset);
    return d.done();
}
