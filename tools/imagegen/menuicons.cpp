#include "tools/imagegen/menuicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor screenBlue(0, 162, 232);
const QColor deepBlue(0, 84, 140);

QImage canvas()
{
    QImage image(80, 80, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The disc the apply and refresh icons stand on, like the action icon of the rows.
void paintDisc(QPainter &p)
{
    p.setPen(QPen(deepBlue, 3));
    p.setBrush(screenBlue);
    p.drawEllipse(QRectF(6.5, 6.5, 67, 67));
}

} // namespace

// The row chevron turned round: one page back.
QImage paintNavLeft()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(screenBlue, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(50, 16), QPointF(26, 40), QPointF(50, 64)}));
    return image;
}

// A white tick: apply the changes of the page.
QImage paintCheck()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintDisc(p);
    p.setPen(QPen(Qt::white, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(24, 41), QPointF(35, 53), QPointF(57, 29)}));
    return image;
}

// A circling arrow: read the page from the device again.
QImage paintRefresh()
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintDisc(p);
    const QPointF centre(40, 40);
    const qreal radius = 19;
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    // Three quarters of a circle from the top, clockwise; the head at its open end points on round.
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 90 * 16, -280 * 16);
    const qreal end = qDegreesToRadians(90.0 - 280.0);
    const QPointF tip(centre.x() + radius * qCos(end), centre.y() - radius * qSin(end));
    // Along the circle at the end: the direction of travel, turned clockwise.
    const QPointF along(-qSin(end), -qCos(end));
    const QPointF across(qCos(end), -qSin(end));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({tip + along * 10, tip - along * 2 + across * 9, tip - along * 2 - across * 9}));
    return image;
}
