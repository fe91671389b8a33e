#pragma once

#include "widgets/vexmarbutton.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>

#include <initializer_list>
#include <utility>

class QFrame;
class QLabel;
class QPainter;
class QWidget;

// The one look of the device screen: fonts sized in pixels, text and face colours, the dark popup with its white
// frame and white action buttons, the pages' icon buttons and the painted face of buttons, pills and panels.
// Labels made here show their text plainly (widgets/vexmarplaintext.h), as device text must be.
namespace Look {

constexpr Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;

QFont pixelFont(const QFont &base, int pixels);

// The colour of one role in every colour group.
void setColour(QWidget *widget, QPalette::ColorRole role, const QColor &colour);
void setTextColour(QWidget *widget, const QColor &colour);
QColor textColour(const QWidget *widget);
// Face and text together, as a painted button or panel uses them.
void setFace(QWidget *widget, const QBrush &face, const QColor &text);

// Dark grey face with the given text colour, in every colour group.
QPalette dark(const QPalette &base, const QColor &text = Qt::white);
// White face, black text.
QPalette lightButton(const QPalette &base);
// Fixed size, plain panel frame 4 pixels wide, the dark palette.
void frame(QFrame *popup, int width, int height);

QLabel *label(QWidget *parent, const QRect &geometry, Qt::Alignment alignment, const QString &text,
    const QPalette &palette, const QFont &font);
QVexmarButton *textButton(QWidget *parent, const QRect &geometry, const QString &text, const QPalette &palette,
    const QFont &font, float radius = 5.0f);

// The pages' icon button: the icon in a square one-pixel frame with no face of its own, over the page's ground.
QVexmarButton *iconButton(QWidget *parent, const QRect &geometry, const QString &icon);
// The same, its clicks going to the receiver's slot.
template<class Receiver>
QVexmarButton *iconButton(
    QWidget *parent, const QRect &geometry, const QString &icon, Receiver *receiver, void (Receiver::*slot)())
{
    QVexmarButton *button = iconButton(parent, geometry, icon);
    QObject::connect(button, &QAbstractButton::clicked, receiver, slot);
    return button;
}

// An icon button's image, read on first use; a state's images go together as a (button, image) table.
void setImage(QVexmarButton *button, const QString &image);
void setImages(std::initializer_list<std::pair<QVexmarButton *, QString>> images);

// The phone a call panel or connection tile shows in its state: picking up (2), hanging up (3 to 5); none (empty)
// in the others.
QString callStateImage(int state);

// The face of a button, status pill or call panel: the window brush inside a frame of the window colour,
// borderWidth wide, with rounded corners unless radius is 0.
void paintFace(QPainter &painter, const QWidget *widget, int borderWidth, float radius);

} // namespace Look
