#include "tools/imagegen/statusicons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor ink(30, 30, 30);
const QColor strike(215, 30, 30);
// Parts of a symbol that are not reached: light on grey and on green alike.
const QColor faint(255, 255, 255, 120);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The interface number, as strokes: the pictures carry no text.
void drawNumber(QPainter &p, int number, const QRectF &box)
{
    p.save();
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const qreal l = box.left(), t = box.top(), w = box.width(), h = box.height();
    if (number == 1) {
        p.drawPolyline(
            QPolygonF({QPointF(l + 0.2 * w, t + 0.25 * h), QPointF(l + 0.65 * w, t), QPointF(l + 0.65 * w, t + h)}));
    } else {
        QPainterPath two;
        two.moveTo(l, t + 0.28 * h);
        two.cubicTo(l + 0.05 * w, t - 0.05 * h, l + w, t - 0.05 * h, l + w, t + 0.3 * h);
        two.cubicTo(l + w, t + 0.5 * h, l + 0.3 * w, t + 0.7 * h, l, t + h);
        two.lineTo(l + w, t + h);
        p.drawPath(two);
    }
    p.restore();
}

} // namespace

// A capsule in its cradle on a stand. Off: the capsule hollow and struck through in red.
QImage paintMicrophone(int number, bool on)
{
    QImage image = canvas(32, 36);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(on ? ink : Qt::transparent);
    p.drawRoundedRect(QRectF(8.5, 3.5, 11, 18), 5.5, 5.5);
    p.setBrush(Qt::NoBrush);
    QPainterPath cradle;
    cradle.moveTo(4.5, 15);
    cradle.arcTo(QRectF(4.5, 6, 19, 19), 180, 180);
    p.drawPath(cradle);
    p.drawLine(QPointF(14, 25.5), QPointF(14, 31));
    p.drawLine(QPointF(8, 32), QPointF(20, 32));
    if (!on) {
        p.setPen(QPen(strike, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3.5, 30), QPointF(22.5, 7));
    }
    drawNumber(p, number, QRectF(24.5, 3, 5.5, 11));
    return image;
}

// A dot under three arcs; the dot and the arcs up to the number of bars are dark, the rest faint.
QImage paintWifi(int bars)
{
    QImage image = canvas(44, 36);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(22, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(bars >= 1 ? ink : faint);
    p.drawEllipse(centre, 3.5, 3.5);
    p.setBrush(Qt::NoBrush);
    for (int arc = 1; arc <= 3; ++arc) {
        const qreal r = 2.5 + 7.0 * arc;
        p.setPen(QPen(bars > arc ? ink : faint, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
    }
    return image;
}

// A handset with its screen and keys cut out, and an aerial.
QImage paintMobile(int number)
{
    QImage image = canvas(44, 36);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(9, 8, 16, 26), 3, 3);
    p.drawRoundedRect(QRectF(20, 2, 3, 8), 1.5, 1.5);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawRect(QRectF(11.5, 11, 11, 9));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column)
            p.drawRect(QRectF(12 + 3.7 * column, 22.5 + 3.5 * row, 2.2, 2));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    drawNumber(p, number, QRectF(31, 12, 8, 15));
    return image;
}

// A network socket: the body with the latch opening below and the contacts cut out.
QImage paintEthernet(int number)
{
    QImage image = canvas(44, 36);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRoundedRect(QRectF(3, 5, 26, 26), 2.5, 2.5);
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.drawPolygon(QPolygonF({QPointF(7, 11), QPointF(25, 11), QPointF(25, 22), QPointF(21, 22), QPointF(21, 26),
        QPointF(11, 26), QPointF(11, 22), QPointF(7, 22)}));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int pin = 0; pin < 4; ++pin)
        p.drawRect(QRectF(8.5 + 4.3 * pin, 11, 2, 5));
    drawNumber(p, number, QRectF(33, 12, 8, 15));
    return image;
}
