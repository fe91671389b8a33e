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
    // The one informative message a page keeps: the open one takes the text and time, else a new one opens over
    // the page. The pointer is emptied when that message closes.
    static void showOnce(QPointer<QVexmarMessage> &message, QWidget *page, const QString &text, int autoCloseMs);

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
