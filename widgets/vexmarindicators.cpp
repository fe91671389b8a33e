#include "widgets/vexmarindicators.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

const QColor screenBlue(0, 162, 232);
const QColor darkGreen(0, 146, 64);
const QColor orange(255, 127, 39);
const QColor gaugeGrey(80, 80, 80);
const QColor stateGrey(127, 127, 127);

// Indicators paint every pixel themselves.
void makeOpaque(QWidget *widget)
{
    widget->setAutoFillBackground(false);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
}

// Rectangle given by its corners, both inside.
QRect corners(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(x1, y1), QPoint(x2, y2));
}

} // namespace

QVexmarToolbar::QVexmarToolbar(bool left, QWidget *parent) : QFrame(parent), m_left(left) { }

void QVexmarToolbar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    painter.setRenderHint(QPainter::Antialiasing);
    const int w = width();
    const int h = height();
    if (m_open) {
        painter.setPen(QPen(screenBlue, 2));
        painter.drawRoundedRect(QRect(0, 0, w, h), 15, 15);
    } else {
        painter.setBrush(screenBlue);
        painter.setPen(QPen(screenBlue, 1));
        painter.drawRoundedRect(QRect(m_left ? 0 : w - 13, h / 8, 12, 6 * h / 8 - h / 8), 5, 5);
    }
}

void QVexmarToolbar::mousePressEvent(QMouseEvent *event)
{
    m_swipeStart = -1;
    event->accept();
}

void QVexmarToolbar::mouseReleaseEvent(QMouseEvent *event)
{
    m_swipeStart = -1;
    event->accept();
}

// Every move of one drag is measured from its first, so moving back past the start by more than 9 pixels
// undoes the change.
void QVexmarToolbar::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const int x = qRound(event->localPos().x());
    if (m_swipeStart == -1) {
        m_swipeStart = x;
        return;
    }
    if (x < 0 || x > width() - 1)
        return;
    const int d = x - m_swipeStart;
    if (d >= -9 && d <= 9)
        return;
    const bool towardCentre = m_left ? d > 9 : d < -9;
    if (towardCentre != m_open) {
        m_open = towardCentre;
        update();
    }
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarBattery::QVexmarBattery(QWidget *parent) : QWidget(parent)
{
    setFixedSize(24, 38);
    setFont(Look::pixelFont(font(), 10));
    makeOpaque(this);
}

void QVexmarBattery::setLevel(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == m_level)
        return;
    m_level = percent;
    update();
}

void QVexmarBattery::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    update();
}

void QVexmarBattery::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    const bool low = m_level <= 20;
    const QColor outline = low ? QColor(Qt::red) : m_state == 3 ? darkGreen : QColor(Qt::black);
    QPen pen = painter.pen();
    pen.setWidth(2);
    pen.setColor(outline);
    painter.setPen(pen);
    painter.fillRect(QRect(5, 0, 14, 5), outline);
    painter.drawRect(corners(1, 6, 22, 36));

    if (m_state == 3) {
        painter.fillRect(QRect(3, 8, 18, 27), outline);
        return;
    }
    if (m_state == 0)
        return;
    const int rows = m_level * 27 / 100;
    const QColor fill = low ? QColor(Qt::red) : m_level <= 40 ? orange : QColor(Qt::green);
    if (rows > 0)
        painter.fillRect(corners(3, 35 - rows, 20, 34), fill);
    if (m_state == 2) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::black);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPoint bolt[] = {{19, 9}, {4, 24}, {13, 24}, {5, 35}, {20, 20}, {13, 20}};
        painter.drawPolygon(bolt, 6);
    }
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarNetQuality::QVexmarNetQuality(QWidget *parent) : QWidget(parent)
{
    setFixedSize(19, 64);
    setFont(Look::pixelFont(font(), 18));
    makeOpaque(this);
}

void QVexmarNetQuality::setValue(int quality)
{
    quality = std::clamp(quality, -1, 100);
    if (quality == m_quality)
        return;
    m_quality = quality;
    update();
}

void QVexmarNetQuality::setDirection(int direction)
{
    if (direction == m_direction)
        return;
    m_direction = direction;
    update();
}

void QVexmarNetQuality::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    const QColor colour = isEnabled() ? QColor(Qt::white) : gaugeGrey;
    painter.setBrush(colour);
    painter.setPen(colour);
    const int w = width();
    painter.fillRect(corners(0, 0, w - 1, 3), colour);

    if (m_quality == -1) {
        painter.drawText(corners(0, 0, w - 1, 53), Qt::AlignCenter, QStringLiteral("?"));
    } else {
        // Thresholds with the top row of their stripe, the best at the top.
        const struct
        {
            bool reached;
            int top;
        } stripes[] = {
            {m_quality > 84, 6},
            {m_quality >= 70, 14},
            {m_quality >= 55, 22},
            {m_quality >= 40, 30},
            {m_quality >= 25, 38},
            {m_quality >= 10, 46},
        };
        for (const auto &stripe : stripes) {
            if (stripe.reached)
                painter.fillRect(corners(0, stripe.top, w - 1, stripe.top + 5), colour);
        }
    }
    const QPoint up[] = {{1, 63}, {w - 2, 63}, {w / 2, 55}};
    const QPoint down[] = {{1, 55}, {w - 2, 55}, {w / 2, 63}};
    painter.drawPolygon(m_direction == 0 ? up : down, 3);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarSigQuality::QVexmarSigQuality(QWidget *parent) : QWidget(parent)
{
    setFixedSize(29, 23);
    setFont(Look::pixelFont(font(), 16));
    makeOpaque(this);
}

void QVexmarSigQuality::setSignal(int state, int bars)
{
    bars = std::clamp(bars, 0, 5);
    if (state == m_state && bars == m_bars)
        return;
    m_state = state;
    m_bars = bars;
    update();
}

void QVexmarSigQuality::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    for (int k = 0; k < 5; ++k)
        painter.fillRect(corners(6 * k, 19, 6 * k + 4, 22), Qt::black);

    if (m_state == 4 || m_state == 5 || m_state == 6) {
        painter.setPen(Qt::red);
        painter.drawText(
            corners(0, 0, 28, 17), Qt::AlignCenter, m_state == 4 ? QStringLiteral("SIM") : QStringLiteral("PIN"));
        return;
    }
    const QColor colour = m_state == 0 ? QColor(Qt::black) : QColor(Qt::red);
    // Bar k rises 3 pixels higher than bar k - 1; all end on row 17.
    for (int k = 1; k <= m_bars; ++k)
        painter.fillRect(corners(6 * (k - 1), 15 - 3 * k, 6 * (k - 1) + 4, 17), colour);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarDataActive::QVexmarDataActive(QWidget *parent) : QWidget(parent)
{
    setFixedSize(18, 18);
    makeOpaque(this);
}

void QVexmarDataActive::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.eraseRect(rect());
    static const QLine lines[] = {
        {4, 0, 4, 17},
        {5, 0, 5, 17},
        {0, 4, 4, 0},
        {1, 4, 4, 1},
        {5, 0, 9, 4},
        {5, 1, 8, 4}, // up, on the left
        {12, 0, 12, 17},
        {13, 0, 13, 17},
        {8, 13, 12, 17},
        {9, 13, 12, 16},
        {13, 17, 17, 13},
        {13, 16, 16, 13},
    };
    painter.drawLines(lines, 12);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarConnInfo::QVexmarConnInfo(QWidget *parent) : QWidget(parent)
{
    Look::setFace(this, stateGrey, Qt::black);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);

    QFont titleFont = Look::pixelFont(font(), 22);
    titleFont.setWeight(75);
    titleLabel = new QLabel(tr("Program"), this);
    titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titleLabel->setWordWrap(true);
    titleLabel->setFont(titleFont);
    column->addWidget(titleLabel);
    for (QLabel **line : {&textLabel1, &textLabel2}) {
        *line = plainTextLabel(new QLabel(this));
        (*line)->setAlignment(Qt::AlignCenter);
        (*line)->setWordWrap(true);
        (*line)->setFont(Look::pixelFont(font(), 14));
        column->addWidget(*line);
    }
}

void QVexmarConnInfo::setBorderWidth(int width)
{
    if (width < 1 || width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
}

void QVexmarConnInfo::setRadius(float radius)
{
    if (radius < 0.0f || radius == m_radius)
        return;
    m_radius = radius;
    update();
}

void QVexmarConnInfo::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    QColor face;
    switch (state) {
    case 1:
        face = QColor(170, 255, 170);
        break;
    case 2:
        face = Qt::green;
        break;
    case 3:
        face = Qt::yellow;
        break;
    case 4:
        face = Qt::red;
        break;
    case 5:
        face = QColor(240, 101, 101);
        break;
    case 6:
        face = QColor(234, 177, 102);
        break;
    default:
        face = stateGrey;
        break;
    }
    Look::setFace(this, face, Qt::black);
}

void QVexmarConnInfo::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
}

void QVexmarConnInfo::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    Look::paintFace(painter, this, m_borderWidth, m_radius);
    QWidget::paintEvent(event);
    const QString icon = Look::callStateImage(m_state);
    if (!icon.isEmpty())
        painter.drawPixmap(QRect(5, 5, 50, 50), QPixmap(icon));
}
