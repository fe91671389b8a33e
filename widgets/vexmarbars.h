#pragma once

#include <QPixmap>
#include <QWidget>

// A level graph of one or two bars with green, yellow and red zones and a peak-hold marker. Levels are dB below
// full scale: 0 is full scale, 50 (the range) the bottom; anything outside is clamped, so the "no value" 99
// shows an empty bar. Frame and zone lines are kept in a cached picture; an update repaints only the stretch of
// a bar that changed.
class QVexmarBars : public QWidget
{
    Q_OBJECT

public:
    enum { range = 50 };

    explicit QVexmarBars(QWidget *parent = nullptr);

    void setVertical(bool vertical);
    void setStereo(int stereo);
    // Channel A only.
    void setLevel(int level, bool resetPeak);
    void setLevels(int levelA, int levelB, bool resetPeak);

    int stereo() const { return m_stereo; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Channel
    {
        int level = 0;
        int peak = range;
        int hold = 0; // updates since the peak was last met
    };
    // Corners of a bar, both inside, as the painting rules give them.
    struct Bar
    {
        int x1, y1, x2, y2;
    };
    // Bar lengths in pixels of one state of a channel; the marker only when it shows.
    struct Extent
    {
        int fill;
        int markerStart;
        int markerEnd;
    };

    static bool applyLevel(Channel &channel, int level, bool resetPeak);
    int barLength() const;
    Bar bar(int index) const;
    Extent extent(const Channel &channel) const;
    QRect changedArea(int index, const Channel &before, const Channel &after) const;
    void paintBar(QPainter &painter, const Bar &bar, const Channel &channel) const;
    void paintBackground();

    bool m_vertical = false;
    int m_stereo = 0;
    Channel m_a;
    Channel m_b;

    QPixmap m_background;
    struct BackgroundKey
    {
        QSize size;
        bool vertical = false;
        bool stereo = false;
        bool enabled = false;
        QBrush brush;
        qreal ratio = 0;
        bool operator==(const BackgroundKey &other) const
        {
            return size == other.size && vertical == other.vertical && stereo == other.stereo
                && enabled == other.enabled && brush == other.brush && ratio == other.ratio;
        }
    } m_backgroundKey;
};

class QLabel;

// The two level graphs of a stream over a dB scale: the upper one for what is sent (Tx), the lower one for what
// is received (Rx). State 1 or 2 (a stereo or dual-mono codec) shows two bars per graph.
class QVexmarBarsEx : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarBarsEx(QWidget *parent = nullptr);

    // The owning stream panel keeps its layout side here; no repaint.
    void setSide(int side) { m_side = side; }
    int side() const { return m_side; }
    void setState(int state);
    int state() const { return m_state; }
    void setLevels(int upperA, int upperB, int lowerA, int lowerB, bool resetPeak);

private:
    int m_side = 0;
    int m_state = 0;
    QVexmarBars *m_upper = nullptr;
    QVexmarBars *m_lower = nullptr;
};
