#include "tools/imagegen/foldericons.h"

#include "tools/imagegen/projecticons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>

namespace {

const int side = 64;
const QColor white(255, 255, 255);
// Dim enough on the black page to read as "does nothing", bright enough to be seen.
const QColor grey(112, 112, 112);

QImage canvas(int size = side)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QPen stroke(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The same shape in the given colour: every pixel keeps its coverage.
QImage recoloured(const QImage &image, const QColor &colour)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(out.rect(), colour);
    return out;
}

QPainterPath triangleRight(qreal left, qreal top, qreal width, qreal height)
{
    QPainterPath path;
    path.moveTo(left, top);
    path.lineTo(left + width, top + height / 2);
    path.lineTo(left, top + height);
    path.closeSubpath();
    return path;
}

// A filled shape with softened corners.
void fill(QPainter &p, const QPainterPath &path, const QColor &colour)
{
    p.setPen(stroke(colour, 4));
    p.setBrush(colour);
    p.drawPath(path);
}

QImage transport(const std::function<void(QPainter &, const QColor &)> &draw, const QColor &colour)
{
    QImage image = canvas();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, colour);
    return image;
}

// A thick arrow along the given angle (0 points right, 90 up), centred.
void drawArrow(QPainter &p, const QColor &colour, qreal degrees)
{
    p.translate(side / 2.0, side / 2.0);
    p.rotate(-degrees);
    QPainterPath arrow;
    arrow.moveTo(-22, -7);
    arrow.lineTo(4, -7);
    arrow.lineTo(4, -18);
    arrow.lineTo(24, 0);
    arrow.lineTo(4, 18);
    arrow.lineTo(4, 7);
    arrow.lineTo(-22, 7);
    arrow.closeSubpath();
    fill(p, arrow, colour);
}

// Three lines of a list beside an arrow that carries an entry to the other list.
void drawPush(QPainter &p, const QColor &colour, bool right)
{
    p.setPen(stroke(colour, 4));
    const qreal listX = right ? 8 : 34;
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(listX, 14 + 14 * i), QPointF(listX + 22, 14 + 14 * i));
    QPainterPath arrow;
    const qreal y = 50;
    const qreal from = right ? 10 : 54;
    const qreal dir = right ? 1 : -1;
    arrow.moveTo(from, y - 3);
    arrow.lineTo(from + dir * 30, y - 3);
    arrow.lineTo(from + dir * 30, y - 10);
    arrow.lineTo(from + dir * 44, y);
    arrow.lineTo(from + dir * 30, y + 10);
    arrow.lineTo(from + dir * 30, y + 3);
    arrow.lineTo(from, y + 3);
    arrow.closeSubpath();
    p.setPen(stroke(colour, 2));
    p.setBrush(colour);
    p.drawPath(arrow);
}

} // namespace

QImage paintPlay(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) { fill(p, triangleRight(18, 10, 34, 44), c); }, acting ? white : grey);
}

QImage paintPause()
{
    return transport(
        [](QPainter &p, const QColor &c) {
            QPainterPath bars;
            bars.addRect(QRectF(16, 12, 10, 40));
            bars.addRect(QRectF(38, 12, 10, 40));
            fill(p, bars, c);
        },
        white);
}

QImage paintStop(bool acting)
{
    return paintStop(acting ? white : grey);
}

QImage paintStop(const QColor &face)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            QPainterPath square;
            square.addRect(QRectF(14, 14, 36, 36));
            fill(p, square, c);
        },
        face);
}

QImage paintPlayNext(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            QPainterPath shape = triangleRight(12, 12, 28, 40);
            shape.addRect(QRectF(44, 12, 7, 40));
            fill(p, shape, c);
        },
        acting ? white : grey);
}

QImage paintPlayPrevious(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            p.translate(side, 0);
            p.scale(-1, 1);
            QPainterPath shape = triangleRight(12, 12, 28, 40);
            shape.addRect(QRectF(44, 12, 7, 40));
            fill(p, shape, c);
        },
        acting ? white : grey);
}

QImage paintPushRight(bool acting)
{
    return transport([](QPainter &p, const QColor &c) { drawPush(p, c, true); }, acting ? white : grey);
}

QImage paintPushLeft(bool acting)
{
    return transport([](QPainter &p, const QColor &c) { drawPush(p, c, false); }, acting ? white : grey);
}

QImage paintItemUp(bool acting)
{
    return transport([](QPainter &p, const QColor &c) { drawArrow(p, c, 90); }, acting ? white : grey);
}

QImage paintItemDown(bool acting)
{
    return transport([](QPainter &p, const QColor &c) { drawArrow(p, c, -90); }, acting ? white : grey);
}

// A sound wave: the recording goes to the editor.
QImage paintWaves(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            p.setPen(stroke(c, 4));
            const int heights[] = {8, 20, 34, 46, 28, 40, 18, 30, 10};
            for (int i = 0; i < 9; ++i) {
                const qreal x = 8 + 6 * i;
                p.drawLine(QPointF(x, 32 - heights[i] / 2.0), QPointF(x, 32 + heights[i] / 2.0));
            }
        },
        acting ? white : grey);
}

// A pencil: the recording's details.
QImage paintPencil(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            p.translate(32, 32);
            p.rotate(-45);
            QPainterPath body;
            body.addRect(QRectF(-16, -6, 30, 12));
            QPainterPath tip;
            tip.moveTo(-16, -6);
            tip.lineTo(-27, 0);
            tip.lineTo(-16, 6);
            tip.closeSubpath();
            p.setPen(stroke(c, 3));
            p.setBrush(Qt::NoBrush);
            p.drawPath(body);
            p.drawPath(tip);
            p.drawLine(QPointF(14, -6), QPointF(14, 6));
            p.drawLine(QPointF(20, -6), QPointF(20, 6));
        },
        acting ? white : grey);
}

// Three connected dots: send the recording away.
QImage paintShare(bool acting)
{
    return transport(
        [](QPainter &p, const QColor &c) {
            const QPointF a(44, 14), b(18, 32), d(44, 50);
            p.setPen(stroke(c, 4));
            p.drawLine(a, b);
            p.drawLine(b, d);
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            for (const QPointF &centre : {a, b, d})
                p.drawEllipse(centre, 8, 8);
        },
        acting ? white : grey);
}

QImage paintTrashDisabled()
{
    return recoloured(paintTrash(), grey);
}

// A gear: the tools of a drive or a project. Sized for the small tool buttons.
QImage paintFolderTools()
{
    const int size = 48;
    QImage image = canvas(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size / 2.0, size / 2.0);
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i) {
        const qreal outer = i % 2 == 0 ? 21 : 16;
        const qreal a0 = (i - 0.5) * M_PI / teeth;
        const qreal a1 = (i + 0.5) * M_PI / teeth;
        const QPointF p0(outer * std::cos(a0), outer * std::sin(a0));
        const QPointF p1(outer * std::cos(a1), outer * std::sin(a1));
        if (i == 0)
            gear.moveTo(p0);
        else
            gear.lineTo(p0);
        gear.lineTo(p1);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 235));
    p.drawPath(gear.subtracted(hole));
    return image;
}
