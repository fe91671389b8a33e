#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>

class QScrollArea;

// The small painted pieces of the routing matrix on the mixer pages. None of them talks to the device: the page
// keeps in their int fields which matrix input and output a piece stands for and reads them back from the
// sender in its slots. White on the dark screen, grey when disabled.

// A small balance knob, selected by a click and then turned with '+' and '-' or the mouse wheel. Keys it does not
// take are dropped: the matrix pages have no use for them.
class QVexmarMatrixKnob : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarMatrixKnob(QWidget *parent = nullptr);

    // Clamps into the range; repaints and signals only when the value changes.
    void setValue(int value);
    // Both pull the current value into the new limit, silently.
    void setMinimum(int minimum);
    void setMaximum(int maximum);
    void setSingleStep(int step) { m_singleStep = step; }

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int singleStep() const { return m_singleStep; }

    int index = 0;
    int input = -1;
    int output = -1;

signals:
    void valueChanged(int value);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_value = 0;
    int m_singleStep = 1;
    int m_minimum = 0;
    int m_maximum = 0;
};

// One crosspoint of the matrix (checkable: checked = routed) or a plain wire junction.
class QVexmarMatrixNode : public QAbstractButton
{
    Q_OBJECT

public:
    enum LineSide { Left = 1, Right = 2, Top = 4, Bottom = 8 };

    QVexmarMatrixNode(bool checkable, QWidget *parent = nullptr);

    // An OR of LineSide; 0 wires all four sides.
    void setLineSides(int mask);
    int lineSides() const { return m_lineSides; }

    int index = 0;
    int input = -1;
    int output = -1;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_lineSides = 0;
};

// A filled triangle marking where a signal enters or leaves the grid.
class QVexmarMatrixArrow : public QWidget
{
    Q_OBJECT

public:
    enum Direction { PointLeft = 0, PointRight = 1, PointUp = 2, PointDown = 3 };

    // Any other direction draws nothing.
    QVexmarMatrixArrow(int direction, QWidget *parent = nullptr);

    int direction() const { return m_direction; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const int m_direction;
};

// A label whose text turns about the widget's centre (degrees, clockwise). The text is laid out in the unturned
// rectangle, so a steep angle needs room in both directions.
class QVexmarMatrixLabel : public QLabel
{
    Q_OBJECT

public:
    QVexmarMatrixLabel(float angle, QWidget *parent = nullptr);

    float angle() const { return m_angle; }

    int index = 0;
    int input = -1;
    int output = -1;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const float m_angle;
};

// A thin bar that only shows where the view is: a grey track with a blue handle a fifth of its length.
class QVexmarMatrixScrollBar : public QScrollBar
{
    Q_OBJECT

public:
    QVexmarMatrixScrollBar(bool vertical, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A frame around a scroll area whose content follows the finger in whole steps. The bar never takes input.
class QVexmarMatrixScrollArea : public QFrame
{
    Q_OBJECT

public:
    QVexmarMatrixScrollArea(bool vertical, QWidget *parent = nullptr);

    // The owning page sets the content here.
    QScrollArea *scrollArea() const { return m_scrollArea; }
    QVexmarMatrixScrollBar *scrollBar() const { return m_scrollBar; }
    bool isVertical() const { return m_vertical; }

    // Pixels the content moves per step, and the finger travel a step needs. The pages set one row or column.
    int scrollStep = 10;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const bool m_vertical;
    int m_lastX = -1;
    int m_lastY = -1;
    QVexmarMatrixScrollBar *m_scrollBar = nullptr;
    QScrollArea *m_scrollArea = nullptr;
};
