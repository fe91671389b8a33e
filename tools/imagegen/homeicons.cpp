#include "tools/imagegen/homeicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

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

// A globe of meridians and parallels: a stream over the network.
QImage paintNetwork()
{
    Drawing d;
    QPainter &p = d.painter;
    const QPointF centre(60, 40);
    p.drawEllipse(centre, 33, 33);
    p.drawEllipse(centre, 14, 33);
    p.drawLine(QPointF(60, 7), QPointF(60, 73));
    d.stroke(screenBlue, 4);
    p.drawLine(QPointF(28, 40), QPointF(92, 40));
    p.drawLine(QPointF(33, 24), QPointF(87, 24));
    p.drawLine(QPointF(33, 56), QPointF(87, 56));
    return d.done();
}

// A mobile telephone with waves: the voice call over the mobile network.
QImage paintVoiceCall()
{
    Drawing d;
    QPainter &p = d.painter;
    p.drawRoundedRect(QRectF(42, 8, 32, 64), 6, 6);
    p.drawLine(QPointF(53, 16), QPointF(63, 16));
    p.setBrush(line);
    p.drawEllipse(QPointF(58, 63), 2.5, 2.5);
    d.stroke(screenBlue, 4);
    for (int i = 0; i < 2; ++i) {
        const qreal r = 14 + 10 * i;
        p.drawArc(QRectF(76 - r, 30 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
    }
    return d.done();
}

// Three faders at different heights.
QImage paintMixer()
{
    Drawing d;
    QPainter &p = d.painter;
    const qreal xs[] = {34, 60, 86};
    const qreal knobs[] = {50, 24, 40};
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(xs[i], 10), QPointF(xs[i], 70));
    p.setPen(QPen(line, 2));
    p.setBrush(screenBlue);
    for (int i = 0; i < 3; ++i)
        p.drawRoundedRect(QRectF(xs[i] - 10, knobs[i] - 6, 20, 12), 3, 3);
    return d.done();
}

// A loudspeaker with sound waves.
QImage paintAudio()
{
    Drawing d;
    QPainter &p = d.painter;
    QPainterPath speaker;
    speaker.moveTo(28, 30);
    speaker.lineTo(40, 30);
    speaker.lineTo(56, 16);
    speaker.lineTo(56, 64);
    speaker.lineTo(40, 50);
    speaker.lineTo(28, 50);
    speaker.closeSubpath();
    p.setBrush(line);
    p.drawPath(speaker);
    d.stroke(screenBlue, 5);
    for (int i = 0; i < 3; ++i) {
        const qreal r = 10 + 10 * i;
        p.drawArc(QRectF(58 - r, 40 - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
    }
    return d.done();
}

// A cog wheel of eight teeth.
QImage paintSettings()
{
    Drawing d;
    QPainter &p = d.painter;
    const QPointF centre(60, 40);
    QPainterPath cog;
    const auto at = [centre](qreal radius, qreal degrees) {
        const qreal angle = qDegreesToRadians(degrees);
        return QPointF(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
    };
    // Eight teeth: across the tip on the outer circle, down, across the gap on the inner circle.
    cog.moveTo(at(33, -9));
    for (int tooth = 0; tooth < 8; ++tooth) {
        const qreal a = 45.0 * tooth;
        cog.lineTo(at(33, a + 9));
        cog.lineTo(at(25, a + 15));
        cog.lineTo(at(25, a + 30));
        cog.lineTo(at(33, a + 36));
    }
    cog.closeSubpath();
    p.setPen(QPen(line, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(line);
    p.drawPath(cog);
    p.setPen(Qt::NoPen);
    p.setBrush(screenBlue);
    p.drawEllipse(centre, 11, 11);
    return d.done();
}

// An open-ended wrench across a screwdriver.
QImage paintTools()
{
    Drawing d;
    QPainter &p = d.painter;
    p.translate(60, 40);
    p.rotate(-45);
    // The screwdriver: blade and handle.
    p.save();
    p.rotate(90);
    p.drawLine(QPointF(-34, 0), QPointF(0, 0));
    p.setPen(QPen(screenBlue, 2));
    p.setBrush(screenBlue);
    p.drawRoundedRect(QRectF(0, -7, 30, 14), 5, 5);
    p.restore();
    // The wrench: a shaft and a jaw at each end.
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    QPainterPath wrench;
    wrench.addRoundedRect(QRectF(-26, -5, 52, 10), 4, 4);
    wrench.addEllipse(QPointF(-28, 0), 11, 11);
    wrench.addEllipse(QPointF(28, 0), 11, 11);
    QPainterPath jaws;
    jaws.addRect(QRectF(-42, -4.5, 14, 9));
    jaws.addRect(QRectF(28, -4.5, 14, 9));
    p.drawPath(wrench.subtracted(jaws));
    return d.done();
}

// A monitor with a pulse line: how the device is doing.
QImage paintStatus()
{
    Drawing d;
    QPainter &p = d.painter;
    p.drawRoundedRect(QRectF(22, 10, 76, 52), 6, 6);
    p.drawLine(QPointF(48, 72), QPointF(72, 72));
    p.drawLine(QPointF(60, 62), QPointF(60, 72));
    d.stroke(screenBlue, 4);
    p.drawPolyline(QPolygonF({QPointF(30, 38), QPointF(44, 38), QPointF(50, 24), QPointF(58, 50), QPointF(65, 30),
        QPointF(70, 38), QPointF(90, 38)}));
    return d.done();
}
