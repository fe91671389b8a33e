#include "widgets/vexmarmessage.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>

QVexmarMessage::QVexmarMessage(const QString &text, int buttons, QWidget *parent)
    : QVexmarPopup(parent), buttons(buttons), text(text)
{
    connect(&timer, &QTimer::timeout, this, &QVexmarMessage::timeout);

    setFixedSize(600, 280);
    setFrameStyle(QFrame::Panel | QFrame::Plain);
    setLineWidth(4);

    QFont boxFont = font();
    boxFont.setPixelSize(34);
    setFont(boxFont);

    QPalette boxPalette = palette();
    boxPalette.setBrush(QPalette::Window, QBrush(QColor(50, 50, 50)));
    boxPalette.setBrush(QPalette::WindowText, QBrush(Qt::white));
    setPalette(boxPalette);

    auto *column = new QVBoxLayout;
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    label = plainTextLabel(new QLabel(this));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(boxFont);
    label->setText(text);
    column->addWidget(label, buttons != 0 ? 1 : 0);

    if (buttons != 0) {
        auto *row = new QHBoxLayout;
        row->setContentsMargins(10, 10, 10, 10);
        row->setSpacing(20);
        QPalette buttonPalette = palette();
        buttonPalette.setBrush(QPalette::Window, QBrush(Qt::white));
        buttonPalette.setBrush(QPalette::WindowText, QBrush(Qt::black));
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
        if (buttons & CancelButton) {
            cancelButton = makeButton(tr("Cancel"));
            connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarMessage::button1Clicked);
        }
        if (buttons & OkButton) {
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

void QVexmarMessage::showOnce(QPointer<QVexmarMessage> &message, QWidget *page, const QString &text, int autoCloseMs)
{
    if (message) {
        message->autoCloseMsec = autoCloseMs;
        message->setText(text);
        return;
    }
    auto *opened = new QVexmarMessage(text, 0, page);
    message = opened;
    opened->placeOver(page);
    // A message the page let go of meanwhile leaves the page's newer one alone.
    connect(opened, &QVexmarPopup::popupClosed, page, [&message, opened] {
        if (message == opened)
            message = nullptr;
    });
    opened->autoCloseMsec = autoCloseMs;
    opened->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
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
