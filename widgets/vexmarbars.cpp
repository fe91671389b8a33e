#include "widgets/vexmarbars.h"
#include "widgets/vexmarlook.h"

#include <QLabel>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace {

const QColor frameGrey(127, 127, 127);

// Zone lengths of a bar of L pixels: green down to -12 dB, yellow to -3 dB, red above.
struct Zones
{
    explicit Zones(int length) : green(length * 38 / QVexmarBars::range), yellow(length * 9 / QVexmarBars::range)
    {
        red = length - green - yellow;
    }
    int green;
    int yellow;
    int red;
};

int toPixels(int level, int length)
{
    return (QVexmarBars::range - level) * length / QVexmarBars::range;
}

} // namespace

QVexmarBars::QVexmarBars(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void QVexmarBars::setVertical(bool vertical)
{
    if (vertical == m_vertical)
        return;
    m_vertical = vertical;
    update();
}

void QVexmarBars::setStereo(int stereo)
{
    if (stereo == m_stereo)
        return;
    m_stereo = stereo;
    update();
}

void QVexmarBars::setLevel(int level, bool resetPeak)
{
    const Channel before = m_a;
    if (applyLevel(m_a, level, resetPeak))
        update(changedArea(0, before, m_a));
}

void QVexmarBars::setLevels(int levelA, int levelB, bool resetPeak)
{
    const Channel beforeA = m_a;
    const Channel beforeB = m_b;
    // One rectangle around both changes: a plain clip paints faster than a region of two.
    QRect changed;
    if (applyLevel(m_a, levelA, resetPeak))
        changed = changedArea(0, beforeA, m_a);
    if (applyLevel(m_b, levelB, resetPeak) && m_stereo != 0)
        changed |= changedArea(1, beforeB, m_b);
    if (!changed.isEmpty())
        update(changed);
}

// A quieter level leaves the peak where it was for 10 updates; then it falls 2 dB an update until it meets the
// level. A level at or above the peak, or a reset, moves the peak onto it.
bool QVexmarBars::applyLevel(Channel &channel, int level, bool resetPeak)
{
    if (level == channel.level && level == channel.peak && !resetPeak)
        return false;
    const int value = level < 0 ? 0 : std::min<int>(level, range);
    const Channel before = channel;
    if (value > channel.peak && !resetPeak) {
        // Past 10 only "more than 10" matters; stopping at 11 keeps the count from ever overflowing.
        if (channel.hold <= 10)
            ++channel.hold;
        if (channel.hold > 10)
            channel.peak = std::min<int>(channel.peak + 2, range);
        channel.level = value;
    } else {
        channel.hold = 0;
        channel.level = value;
        channel.peak = value;
    }
    return channel.level != before.level || channel.peak != before.peak;
}

int QVexmarBars::barLength() const
{
    return m_vertical ? height() - 2 : width() - 2;
}

QVexmarBars::Bar QVexmarBars::bar(int index) const
{
    const int x2 = m_vertical ? width() - 3 : width() - 2;
    const int y2 = m_vertical ? height() - 2 : height() - 3;
    if (m_stereo == 0)
        return {1, 1, x2, y2};
    // Two bars of half the thickness: A above (or left of) B.
    if (m_vertical) {
        const int half = (x2 - 2) / 2;
        return index == 0 ? Bar {1, 1, x2 - half - 3, y2} : Bar {half + 4, 1, x2, y2};
    }
    const int half = (y2 - 2) / 2;
    return index == 0 ? Bar {1, 1, x2, y2 - half - 3} : Bar {1, half + 4, x2, y2};
}

QVexmarBars::Extent QVexmarBars::extent(const Channel &channel) const
{
    const int length = barLength();
    const int fill = toPixels(channel.level, length);
    const int peak = toPixels(channel.peak, length);
    if (peak > std::max(fill, 3))
        return {fill, peak - 4, peak};
    return {fill, fill, fill};
}

namespace {

// count positions of a bar from position from on (from its start: left end, or bottom end when vertical),
// across the bar's thickness plus one pixel.
QRect stretch(bool vertical, int x1, int y1, int x2, int y2, int from, int count)
{
    if (vertical)
        return QRect(x1, y2 - from - count + 1, x2 + 2 - x1, count);
    return QRect(x1 + from, y1, count, y2 + 2 - y1);
}

} // namespace

QRect QVexmarBars::changedArea(int index, const Channel &before, const Channel &after) const
{
    const Extent a = extent(before);
    const Extent b = extent(after);
    const int from = std::min({a.fill, b.fill, a.markerStart, b.markerStart});
    const int to = std::max({a.fill, b.fill, a.markerEnd, b.markerEnd});
    if (to <= from)
        return QRect();
    const Bar r = bar(index);
    return stretch(m_vertical, r.x1, r.y1, r.x2, r.y2, from, to - from);
}

void QVexmarBars::paintBar(QPainter &painter, const Bar &r, const Channel &channel) const
{
    const int length = barLength();
    const Zones zones(length);
    const Extent e = extent(channel);
    const auto fill = [&](int from, int count, Qt::GlobalColor colour) {
        if (count > 0)
            painter.fillRect(stretch(m_vertical, r.x1, r.y1, r.x2, r.y2, from, count), colour);
    };
    const int n = e.fill;
    if (n > 0) {
        if (n < zones.green) {
            fill(0, n, Qt::green);
        } else {
            fill(0, zones.green, Qt::green);
            const int rest = n - zones.green;
            if (rest < zones.yellow) {
                fill(zones.green, rest, Qt::yellow);
            } else {
                fill(zones.green, zones.yellow, Qt::yellow);
                fill(zones.green + zones.yellow, std::min(rest - zones.yellow, zones.red), Qt::red);
            }
        }
    }
    if (e.markerEnd > e.markerStart) {
        const int start = e.markerStart;
        const Qt::GlobalColor colour = zones.green > start ? Qt::green
            : zones.green + zones.yellow > start           ? Qt::yellow
                                                           : Qt::red;
        fill(start, 4, colour);
    }
}

// What stays between updates: the erased ground, and on an enabled graph the frame and the zone lines.
void QVexmarBars::paintBackground()
{
    const qreal ratio = devicePixelRatioF();
    m_background = QPixmap(size() * ratio);
    m_background.setDevicePixelRatio(ratio);
    QPainter painter(&m_background);
    painter.fillRect(rect(), palette().brush(backgroundRole()));
    if (!isEnabled() || barLength() <= 0)
        return;

    QPen pen = painter.pen();
    pen.setColor(frameGrey);
    pen.setWidth(1);
    painter.setPen(pen);
    painter.drawRect(QRect(QPoint(0, 0), QPoint(width() - 2, height() - 2)));
    const Zones zones(barLength());
    for (int index = 0; index < (m_stereo != 0 ? 2 : 1); ++index) {
        const Bar r = bar(index);
        if (m_vertical) {
            painter.drawLine(r.x1, r.y1 + zones.red - 1, r.x2 + 1, r.y1 + zones.red - 1);
            painter.drawLine(r.x1, r.y1 + zones.red + zones.yellow - 1, r.x2 + 1, r.y1 + zones.red + zones.yellow - 1);
        } else {
            painter.drawLine(r.x2 - zones.red + 1, r.y1, r.x2 - zones.red + 1, r.y2 + 1);
            painter.drawLine(r.x2 - zones.red - zones.yellow + 1, r.y1, r.x2 - zones.red - zones.yellow + 1, r.y2 + 1);
        }
    }
}

void QVexmarBars::paintEvent(QPaintEvent *event)
{
    const BackgroundKey key {
        size(), m_vertical, m_stereo != 0, isEnabled(), palette().brush(backgroundRole()), devicePixelRatioF()};
    if (m_background.isNull() || !(key == m_backgroundKey)) {
        paintBackground();
        m_backgroundKey = key;
    }
    QPainter painter(this);
    const QRect area = event->rect();
    const qreal ratio = m_background.devicePixelRatioF();
    painter.drawPixmap(QRectF(area), m_background,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
    if (!isEnabled() || barLength() <= 0)
        return;
    paintBar(painter, bar(0), m_a);
    if (m_stereo != 0)
        paintBar(painter, bar(1), m_b);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarBarsEx::QVexmarBarsEx(QWidget *parent) : QWidget(parent)
{
    setFixedSize(325, 67);
    const QFont scaleFont = Look::pixelFont(font(), 16);

    m_upper = new QVexmarBars(this);
    m_upper->setGeometry(0, 0, 325, 25);
    // The marks stand at the zone borders of a 325-pixel graph: -12 dB at x 246, -3 dB at x 304.
    const struct
    {
        const char *text;
        int x;
        Qt::Alignment alignment;
    } marks[] = {
        {"-50", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {"-12", 230, Qt::AlignCenter},
        {"-3", 287, Qt::AlignCenter},
        {"0", 294, Qt::AlignRight | Qt::AlignVCenter},
    };
    for (const auto &mark : marks) {
        auto *label = new QLabel(QString::fromLatin1(mark.text), this);
        label->setGeometry(mark.x, 25, 30, 17);
        label->setAlignment(mark.alignment);
        label->setFont(scaleFont);
    }
    m_lower = new QVexmarBars(this);
    m_lower->setGeometry(0, 42, 325, 25);
}

void QVexmarBarsEx::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    const int stereo = state == 1 || state == 2 ? 1 : 0;
    m_upper->setStereo(stereo);
    m_lower->setStereo(stereo);
}

void QVexmarBarsEx::setLevels(int upperA, int upperB, int lowerA, int lowerB, bool resetPeak)
{
    m_upper->setLevels(upperA, upperB, resetPeak);
    m_lower->setLevels(lowerA, lowerB, resetPeak);
}
