#include "widgets/vexmarbutton.h"

#include "widgets/vexmaricon.h"

#include <QIcon>
#include <QPainter>

QVexmarButton::QVexmarButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void paintButtonFrame(QPainter &painter, const QWidget *widget, int borderWidth, float radius)
{
    const QPalette &palette = widget->palette();
    const QPalette::ColorGroup group = palette.currentColorGroup();
    const int b = borderWidth;
    const int h = b / 2;

    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen = painter.pen();
    pen.setWidth(b);
    pen.setColor(palette.color(group, QPalette::Window));
    painter.setPen(pen);
    painter.setBrush(palette.brush(group, QPalette::Window));

    const QRect frame(h, h, widget->width() - b, widget->height() - b);
    if (radius != 0.0f)
        painter.drawRoundedRect(frame, radius, radius, Qt::AbsoluteSize);
    else
        painter.drawRect(frame);
}

void QVexmarButton::paintEvent(QPaintEvent *)
{
    const QPalette::ColorGroup group = palette().currentColorGroup();
    const int b = borderWidth;

    QPainter painter(this);
    paintButtonFrame(painter, this, b, radius);

    const QRect inner(QPoint(b, b), QPoint(width() - 1 - b, height() - 1 - b));
    if (!icon().isNull())
        icon().paint(&painter, inner, Qt::AlignCenter, QIcon::Normal, QIcon::Off);
    if (!text().isEmpty()) {
        painter.setPen(QPen(palette().color(group, QPalette::WindowText), 1));
        painter.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text());
    }
}

QVexmarButton *addIconButton(QWidget *parent, const QRect &geometry, const QString &icon)
{
    auto *button = new QVexmarButton(parent);
    button->setGeometry(geometry);
    button->borderWidth = 1;
    button->radius = 0.0f;
    QPalette palette = button->palette();
    palette.setBrush(QPalette::Window, QBrush(Qt::black, Qt::NoBrush));
    palette.setBrush(QPalette::WindowText, QBrush(Qt::black));
    button->setPalette(palette);
    button->setIcon(lazyIcon(icon));
    return button;
}
