#pragma once

#include "widgets/vexmarpanctrl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPair>
#include <QVector>

// The input controls of the device screen. Knobs and the wheel are selected first and then turned: a click
// checks them, and only while checked do '+' and '-' (or the mouse wheel) change them; every key they do not
// use goes on to the screen window. Losing the focus unchecks them.

// An on/off switch drawn from images; its state is the checked state.
class QVexmarSwitch : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarSwitch(QWidget *parent = nullptr);

    // While on, a disabled switch shows the greyed pictures.
    void setDisabledLook(bool on);
    bool disabledLook() const { return m_disabledLook; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_disabledLook = true;
};

// A rotary value knob; a pan-capable knob (type != 0) also cycles a pan selection with Enter or a right click.
class QVexmarKnob : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarKnob(int type, QWidget *parent = nullptr);

    // Both clamp the current value into the new limit, silently.
    void setMinimum(int value, const QString &text);
    void setMaximum(int value, const QString &text);
    void setSingleStep(int step);
    void setValue(int value);
    void setPanning(QVexmar::PanCtrl pan);

    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    QVexmar::PanCtrl panning() const { return m_pan; }

    // Texts shown instead of the number for particular values; the first pair of a value wins.
    void addValueText(int value, const QString &text);
    int indexOfValue(int value) const;
    int indexOfText(const QString &text) const;
    int valueAt(int index) const;
    QString textAt(int index) const;
    void clearValueTexts();

signals:
    void valueChanged(int value);
    void panningChanged(QVexmar::PanCtrl value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString centreText() const;

    const bool m_panCapable;
    QVexmar::PanCtrl m_pan = QVexmar::PanEqual;
    int m_value = 0;
    int m_singleStep = 1;
    int m_minimum = 0;
    int m_maximum = 0;
    QString m_minimumText;
    QString m_maximumText;
    QVector<QPair<int, QString>> m_valueTexts;
};

// A jog knob: it never turns itself but reports each step as valueChanged(+1) or valueChanged(-1), and only
// while its keys are enabled. It stays checked.
class QVexmarKnobMinimal : public QVexmarKnob
{
    Q_OBJECT

public:
    explicit QVexmarKnobMinimal(QWidget *parent = nullptr);

    void enableKeys() { m_keysEnabled = true; }
    void disableKeys() { m_keysEnabled = false; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_keysEnabled = false;
};

// An option wheel stepping through 0..maximum without a text; the settings menu shows the option beside it.
class QVexmarWheel : public QAbstractButton
{
    Q_OBJECT

public:
    explicit QVexmarWheel(QWidget *parent = nullptr);

    // Lowers the value and the committed value to a smaller maximum; no repaint, no signal.
    void setMaximum(int maximum);
    // Sets the value and the committed value; ignored outside 0..maximum. No repaint, no signal.
    void setValue(int value);

    int value() const { return m_value; }
    int maximum() const { return m_maximum; }

    // When true, losing the focus drops the steps taken since the last setValue. Written by the owner.
    bool revertOnFocusOut = false;

signals:
    void valueChanged(int value);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_value = 0;
    int m_committed = 0;
    int m_maximum = 0;
};

// A label with pan marks over it.
class QVexmarAudio : public QLabel
{
    Q_OBJECT

public:
    explicit QVexmarAudio(QWidget *parent = nullptr);

    void setPanning(QVexmar::PanCtrl pan);
    QVexmar::PanCtrl panning() const { return m_pan; }

signals:
    void panningChanged(QVexmar::PanCtrl value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVexmar::PanCtrl m_pan = QVexmar::PanEqual;
};
