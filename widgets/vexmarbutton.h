#pragma once

#include <QAbstractButton>

class QPainter;

// The frame and face of a device-screen button, in the widget's Window colour, antialiased; the connection tile
// draws the same frame.
void paintButtonFrame(QPainter &painter, const QWidget *widget, int borderWidth, float radius);

// The flat push button of the device screen. The palette's Window role is its face and frame, WindowText its
// text; owners recolour it by setting a modified copy of the palette.
class QVexmarButton : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarButton(QWidget *parent = nullptr);

    // Written directly by the owner before showing; writing them does not repaint.
    int borderWidth = 1;
    float radius = 15.0f; // 0 draws a square frame

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The pages' icon button: the icon in a square one-pixel frame with no face of its own, over the page's ground.
QVexmarButton *addIconButton(QWidget *parent, const QRect &geometry, const QString &icon);
