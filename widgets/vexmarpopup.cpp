#include "widgets/vexmarpopup.h"

#include "widgets/screenpointer.h"
#include "widgets/vexmarevent.h"

#include <QCloseEvent>
#include <QKeyEvent>

QVexmarPopup::QVexmarPopup(QWidget *parent) : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_WindowPropagation);
    setAttribute(Qt::WA_DeleteOnClose);
}

void QVexmarPopup::placeOver(QWidget *opener)
{
    setWindowModality(Qt::ApplicationModal);
    if (!opener)
        opener = g_screenWindow;
    if (!opener)
        return;
    const QPoint origin = opener->mapToGlobal(QPoint(0, 0));
    move(origin.x() + (opener->width() - width()) / 2, origin.y() + (opener->height() - height()) / 2);
}

void QVexmarPopup::keyPressEvent(QKeyEvent *event)
{
    postKeyToScreen(QVexmarEvent::ForwardedKeyPress, event->key(), QVexmarEvent::FromPopupOrScreen);
}

void QVexmarPopup::keyReleaseEvent(QKeyEvent *event)
{
    postKeyToScreen(QVexmarEvent::ForwardedKeyRelease, event->key(), QVexmarEvent::FromPopupOrScreen);
}

void QVexmarPopup::closeEvent(QCloseEvent *event)
{
    setVisible(false);
    // A second close before the deferred delete (the opener's close() after the user's) would make the opener
    // act on one popup twice.
    if (!m_closeReported) {
        m_closeReported = true;
        emit popupClosed();
    }
    QWidget::closeEvent(event);
}
