#pragma once

#include <QFrame>

// Base of every popup of the device screen. Popups never block: the opener creates one with itself as parent,
// places it (placeOver), connects popupClosed, shows it and returns; in its slot it reads cancelled and context.
// A popup deletes itself after it has closed.
class QVexmarPopup : public QFrame
{
    Q_OBJECT

public:
    explicit QVexmarPopup(QWidget *parent = nullptr);

    // The opener's share of the contract: application-modal, centred over the opener, or over the screen window
    // when the opener has no page of its own (null).
    void placeOver(QWidget *opener);
    // The same, centred across one widget and up and down over another (a menu's column and the whole menu).
    void placeOver(const QWidget *across, const QWidget *upDown);

    int cancelled = 1; // an accepting action sets 0 before closing
    void *context = nullptr; // what the popup is about, kept for the opener

signals:
    void popupClosed();

protected:
    // Keys go on to the screen window; the popup itself reacts to none (Escape does not close it).
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    bool m_closeReported = false;
};
