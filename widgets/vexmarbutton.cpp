#include "widgets/vexmarbutton.h"

#include "widgets/vexmarlook.h"

#include <QIcon>
#include <QPainter>

QVexmarButton::QVexmarButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarButton::paintEvent(QPaintEvent *)
{
    const QPalette::ColorGroup group = palette().currentColorGroup();
    const int b = borderWidth;

    QPainter painter(this);
    Look::paintFace(painter, this, b, radius);

    const QRect inner(QPoint(b, b), QPoint(width() - 1 - b, height() - 1 - b));
    if (!icon().isNull())
        icon().paint(&painter, inner, Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    if (!text().isEmpty()) {
        painter.setPen(QPen(palette().color(group, QPalette::WindowText), 1));
        painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text());
    }
}
