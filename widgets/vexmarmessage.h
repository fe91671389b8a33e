#pragma once

#include "widgets/vexmarpopup.h"

#include <QPointer>
#include <QTimer>

class QLabel;
class QVexmarButton;

// The message box of the device screen: an informative text that closes itself after autoCloseMsec or when
// touched, or a question with "Cancel" and "OK".
class QVexmarMessage : public QVexmarPopup
{
    Q_OBJECT

public:
    enum ButtonBits { CancelButton = 1, OkButton = 2 };

    QVexmarMessage(const QString &text, int buttons, QWidget *parent = nullptr);
    ~QVexmarMessage() override;

    // A changed text re-arms the auto-close timer with a pending autoCloseMsec, or stops it when none is pending.
    void setText(const QString &text);
    void showMessage();
    // The one way to tell the user something: an informative message that closes itself after autoCloseMs, or
    // when touched (0). An owner keeps at most one: the open one takes the text and time, else a new one opens with
    // the owner as parent, centred over it (across `across` when given). The pointer is emptied when that message
    // closes. Returns the message shown.
    static QVexmarMessage *showOnce(QPointer<QVexmarMessage> &message, QWidget *owner, const QString &text,
        int autoCloseMs, const QWidget *across = nullptr);

    const int buttons;
    // Pending auto-close time, consumed when armed (first showing or a changed text); 0 = none.
    int autoCloseMsec = 0;
    QString text;
    QLabel *label = nullptr;
    QVexmarButton *cancelButton = nullptr;
    QVexmarButton *okButton = nullptr;
    QTimer timer {this};

public slots:
    void timeout();
    void button1Clicked();
    void button2Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
};

// The same over the whole screen, for what has no page of its own to speak on (the recorder model) or speaks for
// the screen: the screen window's own message when the screen has one (IVexmarMessages), else one over the screen
// widget, or over `fallback` while there is no screen. Nothing when there is neither.
void showScreenMessage(const QString &text, int autoCloseMs, QWidget *fallback = nullptr);
