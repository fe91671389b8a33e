#include "widgets/vexmarmessage.h"

#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>

QVexmarMessage::QVexmarMessage(const QString &message, int buttonBits, QWidget *parent)
    : QVexmarPopup(parent), buttons(buttonBits), text(message)
{
    connect(&timer, &QTimer::timeout, this, &QVexmarMessage::timeout);

    Look::frame(this, 600, 280);
    const QFont boxFont = Look::pixelFont(font(), 34);
    setFont(boxFont);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    label = plainTextLabel(new QLabel(this));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(boxFont);
    label->setText(message);
    column->addWidget(label, buttonBits != 0 ? 1 : 0);

    if (buttonBits != 0) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(10, 10, 10, 10);
        row->setSpacing(20);
        const QPalette buttonPalette = Look::lightButton(palette());
        auto makeButton = [&](const QString &caption) {
            auto *button = new QVexmarButton(this);
            button->setText(caption);
            button->setFixedHeight(80);
            button->setMaximumWidth(180);
            button->setPalette(buttonPalette);
            button->setFont(boxFont);
            row->addWidget(button, 0);
            return button;
        };
        if (buttonBits & CancelButton) {
            cancelButton = makeButton(tr("Cancel"));
            connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarMessage::button1Clicked);
        }
        if (buttonBits & OkButton) {
            okButton = makeButton(tr("OK"));
            connect(okButton, &QAbstractButton::clicked, this, &QVexmarMessage::button2Clicked);
        }
        column->addLayout(row);
    }
    setLayout(column);
}

QVexmarMessage::~QVexmarMessage()
{
    timer.disconnect();
}

void QVexmarMessage::setText(const QString &newText)
{
    if (newText == text)
        return;
    text = newText;
    label->setText(text);
    if (autoCloseMsec > 0) {
        timer.start(autoCloseMsec);
        autoCloseMsec = 0;
    } else {
        timer.stop();
    }
}

void QVexmarMessage::showMessage()
{
    show();
}

QVexmarMessage *QVexmarMessage::showOnce(
    QPointer<QVexmarMessage> &message, QWidget *owner, const QString &text, int autoCloseMs, const QWidget *across)
{
    if (message) {
        message->autoCloseMsec = autoCloseMs;
        message->setText(text);
        return message;
    }
    auto *opened = new QVexmarMessage(text, 0, owner);
    message = opened;
    if (across)
        opened->placeOver(across, owner);
    else
        opened->placeOver(owner);
    // A message the owner let go of meanwhile leaves the owner's newer one alone.
    connect(opened, &QVexmarPopup::popupClosed, owner, [&message, opened] {
        if (message == opened)
            message = nullptr;
    });
    opened->autoCloseMsec = autoCloseMs;
    opened->show();
    // Painted now, before the caller's next synchronous request to the device holds up the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    return opened;
}

void showScreenMessage(const QString &text, int autoCloseMs, QWidget *fallback)
{
    if (auto *screen = dynamic_cast<IVexmarMessages *>(g_screenWindow.data())) {
        screen->showMessagePopup(text, autoCloseMs);
        return;
    }
    QWidget *over = g_screenWindow ? g_screenWindow.data() : fallback;
    if (!over)
        return;
    static QPointer<QVexmarMessage> message;
    QVexmarMessage::showOnce(message, over, text, autoCloseMs);
}

void QVexmarMessage::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (autoCloseMsec > 0 && !event->spontaneous()) {
        timer.start(autoCloseMsec);
        autoCloseMsec = 0;
    }
}

void QVexmarMessage::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    close();
}

void QVexmarMessage::timeout()
{
    hide();
    close();
}

void QVexmarMessage::button1Clicked()
{
    timeout();
}

void QVexmarMessage::button2Clicked()
{
    cancelled = 0;
    hide();
    close();
}
