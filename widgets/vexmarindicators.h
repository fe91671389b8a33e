#pragma once

#include <QFrame>
#include <QWidget>

class QLabel;

// A toolbar at the left or right edge of the home page: a small tab while closed, an outline while open. A
// horizontal swipe of more than 9 pixels toward the screen's centre opens it, toward the edge closes it.
class QVexmarToolbar : public QFrame
{
    Q_OBJECT

public:
    QVexmarToolbar(bool left, QWidget *parent = nullptr);

    bool isOpen() const { return m_open; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    const bool m_left;
    bool m_open = false;
    int m_swipeStart = -1; // x of the first move of a drag; -1 = none
};

// The battery symbol of the status bar. States: 0 outline only, 2 charging (fill and a bolt), 3 full, any other
// fill by level. Red at 20 % or less.
class QVexmarBattery : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarBattery(QWidget *parent = nullptr);

    void setLevel(int percent); // clamped to 0-100
    void setState(int state);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_level = 0;
    int m_state = 0;
};

// The link-quality gauge of a SIP account: up to six stripes filling from the bottom as the quality rises, "?"
// for no value (-1), and an arrow for the direction (0 up: transmit, else down: receive).
class QVexmarNetQuality : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarNetQuality(QWidget *parent = nullptr);

    void setValue(int quality); // clamped to -1..100
    void setDirection(int direction);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_quality = 100;
    int m_direction = 0;
};

// Five signal bars of a mobile link, or "SIM" (state 4) or "PIN" (5, 6). Bars are black in state 0, red else.
class QVexmarSigQuality : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarSigQuality(QWidget *parent = nullptr);

    void setSignal(int state, int bars); // bars clamped to 0-5

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_state = -1;
    int m_bars = 0;
};

// Two arrows, up and down: data moving.
class QVexmarDataActive : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarDataActive(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A clickable connection tile: a title and two text lines on a face coloured by the connection's state, with a
// phone icon while a call is up (2) or ending (3-5).
class QVexmarConnInfo : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarConnInfo(QWidget *parent = nullptr);

    void setBorderWidth(int width); // 1 or more
    void setRadius(float radius); // 0 or more; 0 draws a square frame
    void setState(int state);
    int state() const { return m_state; }

    // The owner fills the two text lines.
    QLabel *titleLabel = nullptr;
    QLabel *textLabel1 = nullptr;
    QLabel *textLabel2 = nullptr;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_borderWidth = 1;
    float m_radius = 15.0f;
    int m_state = 0;
};
