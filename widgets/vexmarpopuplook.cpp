#include "widgets/vexmarpopuplook.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarplaintext.h"

#include <QFrame>
#include <QLabel>

namespace PopupLook {

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

QFont pixelFont(const QFont &base, int pixels)
{
    QFont font = base;
    font.setPixelSize(pixels);
    return font;
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

} // namespace PopupLook
