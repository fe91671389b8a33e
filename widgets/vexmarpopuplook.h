#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>

class QFrame;
class QLabel;
class QVexmarButton;
class QWidget;

// The common look of the device screen's dialog popups: white text on dark grey, a white frame, white action
// buttons with black captions, fonts sized in pixels from the popup's own font.
namespace PopupLook {

constexpr Qt::Alignment centred = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;

// Dark grey face with the given text colour, in every colour group.
QPalette dark(const QPalette &base, const QColor &text = Qt::white);
// White face, black text.
QPalette lightButton(const QPalette &base);
QFont pixelFont(const QFont &base, int pixels);

// Fixed size, plain panel frame 4 pixels wide, the dark palette.
void frame(QFrame *popup, int width, int height);

QLabel *label(QWidget *parent, const QRect &geometry, Qt::Alignment alignment, const QString &text,
    const QPalette &palette, const QFont &font);
QVexmarButton *textButton(QWidget *parent, const QRect &geometry, const QString &text, const QPalette &palette,
    const QFont &font, float radius = 5.0f);

} // namespace PopupLook
