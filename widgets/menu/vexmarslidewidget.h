#pragma once

#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>

class QVBoxLayout;

// The lists of the touch screen are scrolled by dragging their content: the content follows the finger in steps
// of at least 10 pixels and stops when the finger does (no inertia, no timer). A touch with at most one move
// between press and release is a click on the row under the finger.
class QVexmarSlideWidget : public QScrollArea
{
    Q_OBJECT

public:
    explicit QVexmarSlideWidget(QWidget *parent = nullptr);

    // The deepest widget under the released finger (a label inside a row, not the row); subclasses look at its
    // parent.
    virtual void itemClicked(QWidget *child);

    QWidget *contentWidget = nullptr;
    // Rows stack from the top, each at its own height.
    QVBoxLayout *contentLayout = nullptr;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_dragAnchor = -1;
    bool m_clickPending = false;
};

// The drag-only twin: no clicks, and a bare content widget that its user fills and sizes.
class QVexmarSlideSimple : public QScrollArea
{
    Q_OBJECT

public:
    explicit QVexmarSlideSimple(QWidget *parent = nullptr);

    QWidget *contentWidget = nullptr;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void endDrag(QMouseEvent *event);

    int m_dragAnchor = -1;
};

// The thin bar of the lists: only a blue thumb, a fifth of the bar high.
class QVexmarSlideScroll : public QScrollBar
{
    Q_OBJECT

public:
    explicit QVexmarSlideScroll(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Makes scroll bars 10 pixels wide and keeps their size hint at what the bar asks for.
class QVexmarSlideStyle : public QProxyStyle
{
    Q_OBJECT

public:
    QVexmarSlideStyle();

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(
        ContentsType type, const QStyleOption *option, const QSize &size, const QWidget *widget) const override;
};
