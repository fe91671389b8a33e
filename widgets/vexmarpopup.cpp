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
    if (!opener)
        opener = g_screenWindow;
    if (!opener) {
        setWindowModality(Qt::ApplicationModal);
        return;
    }
    placeOver(opener, opener);
}

void QVexmarPopup::placeOver(const QWidget *across, const QWidget *upDown)
{
    setWindowModality(Qt::ApplicationModal);
    move(across->mapToGlobal(QPoint(0, 0)).x() + (across->width() - width()) / 2,
        upDown->mapToGlobal(QPoint(0, 0)).y() + (upDown->height() - height()) / 2);
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
