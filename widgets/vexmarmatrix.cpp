#include "widgets/vexmarmatrix.h"

#include "widgets/menu/vexmarslidewidget.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStyleOptionSlider>
#include <QTextOption>

#include <algorithm>
#include <cstdlib>

namespace {

const QColor disabledGrey(127, 127, 127);
const QColor selectedBlue(0, 141, 233);
const QColor handleBlue(0, 162, 232);

// Inset of the knob's ring from every edge.
constexpr int ringInset = 7;
// Diameters of a crosspoint's ring and of the disc of a routed one.
constexpr int nodeRing = 44;
constexpr int nodeDisc = 20;

// From 30 degrees past straight down at the minimum, clockwise to 330 degrees at the maximum. An empty range
// (as at construction, before the page sets one) shows the minimum.
double pointerAngle(int value, int minimum, int maximum)
{
    if (maximum <= minimum)
        return 30.0;
    const double share = (double(value) - minimum) / (double(maximum) - minimum);
    return 30.0 + 300.0 * std::clamp(share, 0.0, 1.0);
}

QPen pen(const QColor &colour, int width)
{
    QPen pen(colour);
    pen.setWidth(width);
    return pen;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixKnob::QVexmarMatrixKnob(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::ClickFocus);
}

void QVexmarMatrixKnob::setValue(int value)
{
    const int clamped = value < m_minimum ? m_minimum : std::min(value, m_maximum);
    if (clamped == m_value)
        return;
    m_value = clamped;
    update();
    emit valueChanged(clamped);
}

void QVexmarMatrixKnob::setMinimum(int minimum)
{
    m_minimum = minimum;
    if (m_value < minimum)
        m_value = minimum;
    update();
}

void QVexmarMatrixKnob::setMaximum(int maximum)
{
    m_maximum = maximum;
    if (m_value > maximum)
        m_value = maximum;
    update();
}

void QVexmarMatrixKnob::wheelEvent(QWheelEvent *event)
{
    QKeyEvent press(QEvent::KeyPress, event->angleDelta().y() < 1 ? Qt::Key_Minus : Qt::Key_Plus, Qt::NoModifier,
        QString(), false, 1);
    keyPressEvent(&press);
    event->accept();
}

void QVexmarMatrixKnob::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (!isChecked() || (key != Qt::Key_Plus && key != Qt::Key_Minus))
        return;
    // 64 bits: a step must not wrap around past a limit. A step that would leave the range is not taken.
    const qint64 next = qint64(m_value) + (key == Qt::Key_Plus ? qint64(m_singleStep) : -qint64(m_singleStep));
    if (next < m_minimum || next > m_maximum)
        return;
    m_value = int(next);
    update();
    emit valueChanged(m_value);
}

void QVexmarMatrixKnob::focusOutEvent(QFocusEvent *event)
{
    setChecked(false);
    QAbstractButton::focusOutEvent(event);
}

void QVexmarMatrixKnob::paintEvent(QPaintEvent *)
{
    const QColor colour = !isEnabled() ? disabledGrey
        : hasFocus() && isChecked()    ? selectedBlue
                                       : palette().color(palette().currentColorGroup(), QPalette::WindowText);
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setPen(pen(colour, 4));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QRect(QPoint(ringInset, ringInset), QPoint(w - ringInset - 1, h - ringInset - 1)));
    painter.translate(ringInset + (w - 2 * ringInset) / 2, ringInset + (h - 2 * ringInset) / 2);
    painter.rotate(pointerAngle(m_value, m_minimum, m_maximum));
    const int radius = (h - 2 * ringInset) / 2;
    painter.drawLine(0, radius - 5, 0, radius + 5);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixNode::QVexmarMatrixNode(bool checkable, QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(checkable);
    setFocusPolicy(Qt::ClickFocus);
}

void QVexmarMatrixNode::setLineSides(int mask)
{
    if (mask == m_lineSides)
        return;
    m_lineSides = mask;
    update();
}

void QVexmarMatrixNode::paintEvent(QPaintEvent *)
{
    const int w1 = width() - 1;
    const int h1 = height() - 1;
    const int cx = w1 / 2;
    const int cy = h1 / 2;
    const auto wired = [this](LineSide side) { return m_lineSides == 0 || (m_lineSides & side) != 0; };

    QPainter painter(this);
    painter.setPen(pen(isEnabled() ? QColor(Qt::white) : disabledGrey, 2));
    if (!isCheckable()) {
        if (m_lineSides == 0) {
            painter.drawLine(cx, 0, cx, h1);
            painter.drawLine(0, cy, w1, cy);
            return;
        }
        if (wired(Left))
            painter.drawLine(0, cy, cx, cy);
        if (wired(Right))
            painter.drawLine(cx, cy, w1, cy);
        if (wired(Top))
            painter.drawLine(cx, 0, cx, cy);
        if (wired(Bottom))
            painter.drawLine(cx, cy, cx, h1);
        return;
    }

    painter.setRenderHint(QPainter::Antialiasing);
    const int left = (w1 - nodeRing) / 2;
    const int top = (h1 - nodeRing) / 2;
    painter.drawEllipse(QRect(left, top, nodeRing, nodeRing));
    if (wired(Left))
        painter.drawLine(0, cy, left, cy);
    if (wired(Right))
        painter.drawLine((w1 + nodeRing) / 2, cy, w1, cy);
    if (wired(Top))
        painter.drawLine(cx, 0, cx, top);
    if (wired(Bottom))
        painter.drawLine(cx, (h1 + nodeRing) / 2, cx, h1);
    if (isChecked()) {
        const QColor disc = isEnabled() ? QColor(Qt::red) : disabledGrey;
        painter.setPen(disc);
        painter.setBrush(disc);
        painter.drawEllipse(QRect((w1 - nodeDisc) / 2, (h1 - nodeDisc) / 2, nodeDisc, nodeDisc));
    }
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixArrow::QVexmarMatrixArrow(int direction, QWidget *parent) : QWidget(parent), m_direction(direction) { }

void QVexmarMatrixArrow::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPolygon triangle;
    switch (m_direction) {
    case PointLeft:
        triangle << QPoint(w, 0) << QPoint(0, h / 2) << QPoint(w, h);
        break;
    case PointRight:
        triangle << QPoint(0, 0) << QPoint(w, h / 2) << QPoint(0, h);
        break;
    case PointUp:
        triangle << QPoint(0, h) << QPoint(w / 2, 0) << QPoint(w, h);
        break;
    case PointDown:
        triangle << QPoint(0, 0) << QPoint(w / 2, h) << QPoint(w, 0);
        break;
    default:
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(pen(Qt::white, 1));
    painter.setBrush(Qt::white);
    painter.drawPolygon(triangle, Qt::OddEvenFill);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixLabel::QVexmarMatrixLabel(float angle, QWidget *parent) : QLabel(parent), m_angle(angle) { }

void QVexmarMatrixLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(isEnabled() ? QColor(Qt::white) : disabledGrey);
    if (m_angle != 0.0f) {
        const int cx = (width() - 1) / 2;
        const int cy = (height() - 1) / 2;
        painter.translate(cx, cy);
        painter.rotate(qreal(m_angle));
        painter.translate(-cx, -cy);
    }
    QTextOption option(alignment());
    option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    painter.drawText(QRectF(0, 0, width(), height()), text(), option);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixScrollBar::QVexmarMatrixScrollBar(bool vertical, QWidget *parent)
    : QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarMatrixScrollBar::paintEvent(QPaintEvent *)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    QPainter painter(this);
    painter.fillRect(rect(), disabledGrey);
    const qint64 range = qint64(option.maximum) - option.minimum;
    if (range <= 0)
        return;
    const bool vertical = orientation() == Qt::Vertical;
    const int length = vertical ? height() : width();
    const int handle = length / 5;
    // From the bottom of the range, so that a range not starting at 0 still spans the whole track.
    const int start = int(qint64(length - handle) * (qint64(option.sliderValue) - option.minimum) / range);
    painter.fillRect(vertical ? QRect(0, start, width(), handle) : QRect(start, 0, handle, height()), handleBlue);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMatrixScrollArea::QVexmarMatrixScrollArea(bool vertical, QWidget *parent) : QFrame(parent), m_vertical(vertical)
{
    QBoxLayout *layout = vertical ? static_cast<QBoxLayout *>(new QHBoxLayout) : new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(vertical ? Qt::AlignLeft : Qt::AlignTop);

    m_scrollBar = new QVexmarMatrixScrollBar(vertical, this);
    // A widget does not own its style; the bar does, so the style lives exactly as long as its one user.
    auto *style = new QVexmarSlideStyle;
    style->setParent(m_scrollBar);
    m_scrollBar->setStyle(style);
    if (vertical)
        m_scrollBar->setFixedWidth(10);
    else
        m_scrollBar->setFixedHeight(10);
    // Only a position mark: the content is moved by dragging it.
    m_scrollBar->setEnabled(false);
    layout->addWidget(m_scrollBar);

    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_scrollArea->setWidgetResizable(false);
    m_scrollArea->setFocusPolicy(Qt::NoFocus);
    m_scrollArea->setFrameStyle(QFrame::NoFrame);
    if (vertical)
        m_scrollArea->setVerticalScrollBar(m_scrollBar);
    else
        m_scrollArea->setHorizontalScrollBar(m_scrollBar);
    layout->addWidget(m_scrollArea, 1);
    // Setting the layout takes the bar back out of the scroll area: it stands beside the view (left or on top)
    // and keeps its place while the content fits, and the scroll area still keeps its own bar's slot free while
    // the content overflows. The pages size their areas for both.
    setLayout(layout);
}

void QVexmarMatrixScrollArea::mousePressEvent(QMouseEvent *event)
{
    mouseReleaseEvent(event);
}

// A new touch starts from nothing: the first move only anchors.
void QVexmarMatrixScrollArea::mouseReleaseEvent(QMouseEvent *event)
{
    m_lastX = -1;
    m_lastY = -1;
    event->accept();
}

// One step per move at most, however far the finger went, and nothing while it is off the frame.
void QVexmarMatrixScrollArea::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    const int x = qRound(event->localPos().x());
    const int y = qRound(event->localPos().y());
    const int position = m_vertical ? y : x;
    const int last = m_vertical ? m_lastY : m_lastX;
    if (last == -1) {
        m_lastX = x;
        m_lastY = y;
        return;
    }
    if (position < 0 || position > (m_vertical ? height() : width()) - 1)
        return;
    const int delta = last - position;
    if (std::abs(delta) < scrollStep)
        return;
    // Toward smaller coordinates the content follows the finger up or left: the view moves on.
    m_scrollBar->setValue(m_scrollBar->value() + (delta > 0 ? scrollStep : -scrollStep));
    m_lastX = x;
    m_lastY = y;
}

void QVexmarMatrixScrollArea::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
}
