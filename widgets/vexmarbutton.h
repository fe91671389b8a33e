#pragma once

#include <QAbstractButton>

// The flat push button of the device screen. The palette's Window role is its face and frame, WindowText its
// text; owners recolour it by setting a modified copy of the palette. Its face is Look::paintFace.
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
