#include "tools/imagegen/projecticons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor light(235, 235, 235);
const QColor accent(0, 162, 232);
const int side = 64;

QImage canvas()
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPen stroke(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner.
QPainterPath sheet(const QRectF &r)
{
    const qreal fold = r.width() * 0.3;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    path.moveTo(r.right() - fold, r.top());
    path.lineTo(r.right() - fold, r.top() + fold);
    path.lineTo(r.right(), r.top() + fold);
    return path;
}

// A drive seen from the front: a flat box with a light.
void drawDrive(QPainter &p, const QRectF &r)
{
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r, 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(r.right() - 9, r.center().y()), 3.5, 3.5);
    p.setPen(stroke(light, 2));
    p.drawLine(QPointF(r.left() + 8, r.center().y()), QPointF(r.right() - 20, r.center().y()));
}

} // namespace

// A waste bin with a lid.
QImage paintTrash()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath bin;
    bin.moveTo(16, 18);
    bin.lineTo(20, 58);
    bin.lineTo(44, 58);
    bin.lineTo(48, 18);
    p.drawPath(bin);
    p.drawLine(QPointF(10, 14), QPointF(54, 14));
    p.drawRoundedRect(QRectF(25, 6, 14, 8), 2, 2);
    p.setPen(stroke(light, 2.5));
    for (const qreal x : {25.0, 32.0, 39.0})
        p.drawLine(QPointF(x, 24), QPointF(x + (x - 32) * 0.1, 51));
    return image;
}

// A new sheet with a plus.
QImage paintCreate()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet(QRectF(10, 5, 36, 48)));
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawEllipse(QPointF(46, 47), 14, 14);
    p.setPen(stroke(Qt::white, 4));
    p.drawLine(QPointF(46, 40), QPointF(46, 54));
    p.drawLine(QPointF(39, 47), QPointF(53, 47));
    return image;
}

// A sheet and its copy, with an arrow from one to the other.
QImage paintCopyTo()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(sheet(QRectF(5, 5, 26, 34)));
    p.drawPath(sheet(QRectF(33, 25, 26, 34)));
    p.setPen(stroke(accent, 4));
    p.drawLine(QPointF(14, 48), QPointF(25, 48));
    p.drawLine(QPointF(19, 42), QPointF(25, 48));
    p.drawLine(QPointF(19, 54), QPointF(25, 48));
    return image;
}

// An open door with an arrow leaving through it.
QImage paintExitMenu()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath frame;
    frame.moveTo(36, 18);
    frame.lineTo(36, 6);
    frame.lineTo(8, 6);
    frame.lineTo(8, 58);
    frame.lineTo(36, 58);
    frame.lineTo(36, 46);
    p.drawPath(frame);
    QPainterPath door;
    door.moveTo(8, 6);
    door.lineTo(24, 12);
    door.lineTo(24, 62);
    door.lineTo(8, 58);
    p.setBrush(QColor(235, 235, 235, 60));
    p.drawPath(door);
    p.setPen(stroke(accent, 4));
    p.drawLine(QPointF(30, 32), QPointF(58, 32));
    p.drawLine(QPointF(49, 23), QPointF(58, 32));
    p.drawLine(QPointF(49, 41), QPointF(58, 32));
    return image;
}

// A drive being wiped: the drive over an empty, striped platter.
QImage paintFormat()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(32, 24), 20, 20);
    p.drawEllipse(QPointF(32, 24), 4, 4);
    p.setPen(stroke(accent, 2.5));
    p.drawArc(QRectF(18, 10, 28, 28), 30 * 16, 120 * 16);
    p.drawArc(QRectF(18, 10, 28, 28), 210 * 16, 120 * 16);
    drawDrive(p, QRectF(6, 46, 52, 16));
    return image;
}

// A drive with a check mark over it.
QImage paintCheckDisk()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawDrive(p, QRectF(6, 40, 52, 20));
    p.setPen(stroke(accent, 6));
    p.setBrush(Qt::NoBrush);
    QPainterPath check;
    check.moveTo(18, 18);
    check.lineTo(28, 29);
    check.lineTo(48, 6);
    p.drawPath(check);
    return image;
}

// The eject sign: a triangle over a bar.
QImage paintEject()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(stroke(light, 3));
    p.setBrush(light);
    QPainterPath triangle;
    triangle.moveTo(32, 8);
    triangle.lineTo(56, 38);
    triangle.lineTo(8, 38);
    triangle.closeSubpath();
    p.drawPath(triangle);
    p.drawRoundedRect(QRectF(8, 46, 48, 9), 2, 2);
    return image;
}
