#include "widgets/menu/vexmarslidewidget.h"

#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include <cstdlib>

namespace {

const QColor thumbBlue(0, 162, 232);

// A scroll step needs more than this distance from the last step, so a finger resting on a row does not
// shake the list.
constexpr int stepThreshold = 9;

// Both lists share the look: no frame, a thin bar when the content is taller than the view, never a
// horizontal one, and no focus (the screen's keys belong to its controls).
void setUpArea(QScrollArea *area)
{
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setFocusPolicy(Qt::NoFocus);
    area->setFrameStyle(QFrame::NoFrame);
    auto *bar = new QVexmarSlideScroll(area);
    // A widget does not own its style; the bar does, so the style lives exactly as long as its one user.
    auto *style = new QVexmarSlideStyle;
    style->setParent(bar);
    bar->setStyle(style);
    area->setVerticalScrollBar(bar);
}

// The first move after a press only anchors; later ones step the list by the whole distance from the last step
// once it exceeds the threshold, while the finger is within the list's height.
void followFinger(QScrollArea *area, int &anchor, int y)
{
    if (anchor == -1) {
        anchor = y;
        return;
    }
    if (y < 0 || y > area->height() - 1)
        return;
    const int distance = anchor - y;
    if (std::abs(distance) > stepThreshold) {
        QScrollBar *bar = area->verticalScrollBar();
        bar->setValue(bar->value() + distance);
        anchor = y;
    }
}

} // namespace

QVexmarSlideWidget::QVexmarSlideWidget(QWidget *parent) : QScrollArea(parent)
{
    setUpArea(this);
    setWidgetResizable(true);
    contentWidget = new QWidget;
    contentLayout = new QVBoxLayout(contentWidget);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(0);
    contentLayout->setAlignment(Qt::AlignTop);
    setWidget(contentWidget);
}

void QVexmarSlideWidget::itemClicked(QWidget *) { }

void QVexmarSlideWidget::mousePressEvent(QMouseEvent *event)
{
    m_dragAnchor = -1;
    m_clickPending = true;
    event->accept();
}

void QVexmarSlideWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool anchoring = m_dragAnchor == -1;
    followFinger(this, m_dragAnchor, event->pos().y());
    // The second move of a touch makes it a drag, however short the moves were.
    if (!anchoring)
        m_clickPending = false;
    event->accept();
}

void QVexmarSlideWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragAnchor = -1;
    if (m_clickPending) {
        // Viewport and list coordinates agree: the list has neither a frame nor a horizontal bar.
        if (QWidget *child = childAt(event->pos()))
            itemClicked(child);
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarSlideSimple::QVexmarSlideSimple(QWidget *parent) : QScrollArea(parent)
{
    setUpArea(this);
    setWidgetResizable(false);
    contentWidget = new QWidget;
    setWidget(contentWidget);
}

void QVexmarSlideSimple::mousePressEvent(QMouseEvent *event)
{
    endDrag(event);
}

void QVexmarSlideSimple::mouseMoveEvent(QMouseEvent *event)
{
    followFinger(this, m_dragAnchor, event->pos().y());
    event->accept();
}

void QVexmarSlideSimple::mouseReleaseEvent(QMouseEvent *event)
{
    endDrag(event);
}

void QVexmarSlideSimple::endDrag(QMouseEvent *event)
{
    m_dragAnchor = -1;
    event->accept();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarSlideScroll::QVexmarSlideScroll(QWidget *parent) : QScrollBar(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarSlideScroll::paintEvent(QPaintEvent *)
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    QPainter painter(this);
    painter.eraseRect(QRectF(0, 0, width(), height()));
    // A bar is only shown for content taller than the view; an empty range has no thumb position.
    const qint64 range = qint64(option.maximum) - option.minimum;
    if (range <= 0)
        return;
    const int thumb = height() / 5;
    const int top = int(qint64(option.sliderValue) * (height() - thumb) / range);
    painter.fillRect(QRect(0, top, width(), thumb), thumbBlue);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarSlideStyle::QVexmarSlideStyle() : QProxyStyle(static_cast<QStyle *>(nullptr)) { }

int QVexmarSlideStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == QStyle::PM_ScrollBarExtent)
        return 10;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize QVexmarSlideStyle::sizeFromContents(
    ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const
{
    if (type == QStyle::CT_ScrollBar)
        return size;
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}
