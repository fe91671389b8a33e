#include "widgets/vexmarconfirm.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"

#include <QLabel>
#include <QTimer>

QVexmarConfirmAction::QVexmarConfirmAction(QWidget *parent)
    : QVexmarPopup(parent), okText(tr("OK")), cancelText(tr("Cancel"))
{
}

void QVexmarConfirmAction::setTitle(const QString &text)
{
    m_title = text;
    if (titleLabel)
        titleLabel->setText(text);
}

void QVexmarConfirmAction::setLine(int line, const QString &label, const QString &value)
{
    if (line < 1 || line > 3)
        return;
    m_lines[line - 1] = {label, value, true};
}

void QVexmarConfirmAction::setupUi()
{
    using namespace Look;

    const int height = m_lines[2].shown ? 330 : m_lines[1].shown ? 270 : 210;
    frame(this, 570, height);
    const QPalette main = palette();
    const QPalette buttons = lightButton(main);
    const QFont titleFont = pixelFont(font(), 32);
    const QFont textFont = pixelFont(font(), 22);

    titleLabel = label(this, QRect(25, 25, 500, 44), Qt::AlignCenter, m_title, main, titleFont);

    // Shown lines close up under the title; a line left out leaves no gap.
    int y = 25;
    for (int i = 0; i < 3; ++i) {
        const Line &line = m_lines[i];
        if (!line.shown)
            continue;
        QLabel *text = label(
            this, QRect(25, y + 50, 500, 44), left, line.label + QStringLiteral(": ") + line.value, main, textFont);
        if (i == 0)
            line1Label = text;
        y += 50;
    }

    cancelButton = textButton(this, QRect(42, y + 60, 225, 60), cancelText, buttons, textFont);
    connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarConfirmAction::slot_onClicked_btn_Cancel);
    okButton = textButton(this, QRect(302, y + 60, 225, 60), okText, buttons, textFont);
    connect(okButton, &QAbstractButton::clicked, this, &QVexmarConfirmAction::slot_onClicked_btn_Ok);
}

void QVexmarConfirmAction::hideButtons()
{
    if (okButton)
        okButton->hide();
    if (cancelButton)
        cancelButton->hide();
}

void QVexmarConfirmAction::showOkButton()
{
    if (okButton)
        okButton->show();
}

void QVexmarConfirmAction::slot_onClicked_btn_Cancel()
{
    cancelled = 1;
    close();
}

void QVexmarConfirmAction::slot_onClicked_btn_Ok()
{
    cancelled = 0;
    close();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarCountDownPopup::QVexmarCountDownPopup(QWidget *parent) : QVexmarConfirmAction(parent) { }

void QVexmarCountDownPopup::startCountdown(int value)
{
    countdown = value;
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &QVexmarCountDownPopup::updateCountdown);
    }
    timer->start(1000);
    updateCountdown();
}

void QVexmarCountDownPopup::updateCountdown()
{
    if (countdown < 1)
        return;
    ++elapsed;
    countdown = elapsed;
    // Minutes go on past 59: formatting or repairing a large drive can take longer than an hour.
    setLine1Text(
        tr("Waiting : ") + QStringLiteral("%1:%2").arg(elapsed / 60).arg(elapsed % 60, 2, 10, QLatin1Char('0')));
}

void QVexmarCountDownPopup::showDone()
{
    showOkButton();
    countdown = 0;
    // Also when the operation ended before counting started: the popup still closes itself.
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &QVexmarCountDownPopup::updateCountdown);
    }
    timer->stop();
    setLine1Text(tr("Done"));
    timer->start(3000);
    connect(timer, &QTimer::timeout, this, &QVexmarCountDownPopup::updateCountdown_DoneClose, Qt::UniqueConnection);
}

void QVexmarCountDownPopup::showFailed()
{
    showOkButton();
    countdown = 0;
    if (timer)
        timer->stop();
    setLine1Text(tr("Failed: Retry or reboot"));
}

void QVexmarCountDownPopup::updateCountdown_DoneClose()
{
    if (timer)
        timer->stop();
    close();
}

void QVexmarCountDownPopup::setLine1Text(const QString &text)
{
    // Without line 1 there is nowhere to show the progress; the popup still runs its course.
    if (line1Label)
        line1Label->setText(text);
}
