#include "widgets/vexmarlook.h"

#include "widgets/vexmaricon.h"
#include "widgets/vexmarplaintext.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>

namespace Look {

QFont pixelFont(const QFont &base, int pixels)
{
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
}

void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setBrush(role, QBrush(colour));
    widget->setPalette(palette);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    setColour(widget, QPalette::WindowText, colour);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

void setFace(QWidget *widget, const QBrush &face, const QColor &text)
{
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::Window, face);
    palette.setBrush(QPalette::WindowText, QBrush(text));
    widget->setPalette(palette);
}

QPalette dark(const QPalette &base, const QColor &text)
{
    QPalette palette = base;
    palette.setBrush(QPalette::Window, QBrush(QColor(50, 50, 50)));
    palette.setBrush(QPalette::WindowText, QBrush(text));
    return palette;
}

QPalette lightButton(const QPalette &base)
{
    QPalette palette = base;
    palette.setBrush(QPalette::Window, QBrush(Qt::white));
    palette.setBrush(QPalette::WindowText, QBrush(Qt::black));
    return palette;
}

void frame(QFrame *popup, int width, int height)
{
    popup->setFixedSize(width, height);
    popup->setFrameStyle(QFrame::Panel | QFrame::Plain);
    popup->setLineWidth(4);
    popup->setPalette(dark(popup->palette()));
}

QLabel *label(QWidget *parent, const QRect &geometry, Qt::Alignment alignment, const QString &text,
    const QPalette &palette, const QFont &font)
{
    auto *label = plainTextLabel(new QLabel(parent));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setText(text);
    label->setPalette(palette);
    label->setFont(font);
    return label;
}

QVexmarButton *textButton(QWidget *parent, const QRect &geometry, const QString &text, const QPalette &palette,
    const QFont &font, float radius)
{
    auto *button = new QVexmarButton(parent);
    button->setGeometry(geometry);
    button->borderWidth = 1;
    button->radius = radius;
    button->setPalette(palette);
    button->setFont(font);
    button->setText(text);
    return button;
}

QVexmarButton *iconButton(QWidget *parent, const QRect &geometry, const QString &icon)
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

void setImage(QVexmarButton *button, const QString &image)
{
    button->setIcon(lazyIcon(image));
}

void setImages(std::initializer_list<std::pair<QVexmarButton *, QString>> images)
{
    for (const auto &[button, image] : images)
        setImage(button, image);
}

QString callStateImage(int state)
{
    if (state == 2)
        return QStringLiteral(":/images/phone-call.png");
    if (state >= 3 && state <= 5)
        return QStringLiteral(":/images/phone-hangup.png");
    return QString();
}

void paintFace(QPainter &painter, const QWidget *widget, int borderWidth, float radius)
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

} // namespace Look
