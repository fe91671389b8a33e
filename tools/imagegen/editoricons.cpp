#include "tools/imagegen/editoricons.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

const int side = 64;
const QColor white(255, 255, 255);
// The grey of the folder page's icons.
const QColor grey(112, 112, 112);

QColor colourOf(bool acting)
{
    return acting ? white : grey;
}

QPen stroke(const QColor &colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QImage icon(const std::function<void(QPainter &, const QColor &)> &draw, const QColor &colour)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, colour);
    return image;
}

// A marker: a post with a pennant, standing on a line.
void drawMarker(QPainter &p, const QColor &c, qreal x, qreal top, qreal bottom)
{
    p.setPen(stroke(c, 4));
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
    QPainterPath pennant;
    pennant.moveTo(x, top);
    pennant.lineTo(x + 20, top + 8);
    pennant.lineTo(x, top + 16);
    pennant.closeSubpath();
    p.setPen(stroke(c, 2));
    p.setBrush(c);
    p.drawPath(pennant);
}

// One digit of seven segments in a box of the given size; segments a to g as usual.
void drawDigit(QPainter &p, int digit, const QRectF &box)
{
    static const char *const segments[]
        = {"abcdef", "bc", "abdeg", "abcdg", "bcfg", "acdfg", "acdefg", "abc", "abcdefg", "abcdfg"};
    const qreal l = box.left();
    const qreal r = box.right();
    const qreal t = box.top();
    const qreal m = box.center().y();
    const qreal b = box.bottom();
    for (const char *s = segments[digit]; *s; ++s) {
        switch (*s) {
        case 'a':
            p.drawLine(QPointF(l, t), QPointF(r, t));
            break;
        case 'b':
            p.drawLine(QPointF(r, t), QPointF(r, m));
            break;
        case 'c':
            p.drawLine(QPointF(r, m), QPointF(r, b));
            break;
        case 'd':
            p.drawLine(QPointF(l, b), QPointF(r, b));
            break;
        case 'e':
            p.drawLine(QPointF(l, m), QPointF(l, b));
            break;
        case 'f':
            p.drawLine(QPointF(l, t), QPointF(l, m));
            break;
        case 'g':
            p.drawLine(QPointF(l, m), QPointF(r, m));
            break;
        default:
            break;
        }
    }
}

} // namespace

// A piece of the source going down into the project.
QImage paintCutIntoProject(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            p.setPen(stroke(c, 4));
            p.drawLine(QPointF(14, 8), QPointF(50, 8));
            QPainterPath arrow;
            arrow.moveTo(25, 16);
            arrow.lineTo(39, 16);
            arrow.lineTo(39, 34);
            arrow.lineTo(49, 34);
            arrow.lineTo(32, 50);
            arrow.lineTo(15, 34);
            arrow.lineTo(25, 34);
            arrow.closeSubpath();
            p.setPen(stroke(c, 2));
            p.setBrush(c);
            p.drawPath(arrow);
            p.setPen(stroke(c, 4));
            p.drawLine(QPointF(8, 57), QPointF(56, 57));
        },
        colourOf(acting));
}

QImage paintMark(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            drawMarker(p, c, 26, 8, 54);
            p.setPen(stroke(c, 4));
            p.drawLine(QPointF(10, 56), QPointF(54, 56));
        },
        colourOf(acting));
}

QImage paintDeleteMark(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            drawMarker(p, c, 16, 8, 54);
            p.setPen(stroke(c, 4));
            p.drawLine(QPointF(6, 56), QPointF(30, 56));
            p.setPen(stroke(c, 5));
            p.drawLine(QPointF(36, 32), QPointF(56, 52));
            p.drawLine(QPointF(56, 32), QPointF(36, 52));
        },
        colourOf(acting));
}

// A diskette.
QImage paintSave(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            QPainterPath body;
            body.moveTo(8, 8);
            body.lineTo(46, 8);
            body.lineTo(56, 18);
            body.lineTo(56, 56);
            body.lineTo(8, 56);
            body.closeSubpath();
            p.setPen(stroke(c, 4));
            p.setBrush(Qt::NoBrush);
            p.drawPath(body);
            p.setBrush(c);
            p.drawRect(QRectF(18, 10, 24, 12));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(16, 34, 32, 20));
            p.setPen(stroke(c, 2));
            p.drawLine(QPointF(21, 41), QPointF(43, 41));
            p.drawLine(QPointF(21, 47), QPointF(43, 47));
        },
        colourOf(acting));
}

// A folder with its front opened.
QImage paintOpenFolder(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            QPainterPath back;
            back.moveTo(6, 52);
            back.lineTo(6, 12);
            back.lineTo(22, 12);
            back.lineTo(27, 18);
            back.lineTo(50, 18);
            back.lineTo(50, 28);
            p.setPen(stroke(c, 4));
            p.setBrush(Qt::NoBrush);
            p.drawPath(back);
            QPainterPath front;
            front.moveTo(6, 52);
            front.lineTo(16, 28);
            front.lineTo(60, 28);
            front.lineTo(50, 52);
            front.closeSubpath();
            p.setBrush(c);
            p.drawPath(front);
        },
        colourOf(acting));
}

// A magnifier with a plus (closer) or a minus (wider).
QImage paintZoom(bool in, bool acting)
{
    return icon(
        [in](QPainter &p, const QColor &c) {
            p.setPen(stroke(c, 5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(26, 26), 17, 17);
            p.setPen(stroke(c, 9));
            p.drawLine(QPointF(39, 39), QPointF(56, 56));
            p.setPen(stroke(c, 4));
            p.drawLine(QPointF(17, 26), QPointF(35, 26));
            if (in)
                p.drawLine(QPointF(26, 17), QPointF(26, 35));
        },
        colourOf(acting));
}

// An arrow turning back.
QImage paintUndo(bool acting)
{
    return icon(
        [](QPainter &p, const QColor &c) {
            QPainterPath turn;
            turn.moveTo(18, 24);
            turn.lineTo(40, 24);
            turn.cubicTo(62, 24, 62, 54, 40, 54);
            turn.lineTo(22, 54);
            p.setPen(stroke(c, 5));
            p.setBrush(Qt::NoBrush);
            p.drawPath(turn);
            QPainterPath head;
            head.moveTo(6, 24);
            head.lineTo(22, 12);
            head.lineTo(22, 36);
            head.closeSubpath();
            p.setPen(stroke(c, 2));
            p.setBrush(c);
            p.drawPath(head);
        },
        colourOf(acting));
}

QImage paintSpeed(int factor)
{
    return icon(
        [factor](QPainter &p, const QColor &c) {
            p.setPen(stroke(c, 4));
            // The "x", then the digits, centred together.
            const int digits = factor >= 10 ? 2 : 1;
            const qreal width = 14 + 6 + digits * 16 + (digits - 1) * 6;
            qreal x = (side - width) / 2;
            p.drawLine(QPointF(x, 30), QPointF(x + 14, 46));
            p.drawLine(QPointF(x + 14, 30), QPointF(x, 46));
            x += 20;
            const QString text = QString::number(factor);
            for (const QChar digit : text) {
                drawDigit(p, digit.digitValue(), QRectF(x, 16, 16, 30));
                x += 22;
            }
        },
        white);
}
