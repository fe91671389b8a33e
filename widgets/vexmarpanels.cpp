#include "widgets/vexmarpanels.h"

#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarlook.h"

#include <QLabel>

namespace {

const QColor stateGrey(127, 127, 127);

// Face and text of a button, for all colour groups.
void setButtonColours(QWidget *button, const QColor &face)
{
    QPalette colours = button->palette();
    colours.setBrush(QPalette::Window, QBrush(face));
    colours.setBrush(QPalette::WindowText, QBrush(Qt::black));
    button->setPalette(colours);
}

} // namespace

QVexmarSipPanel::QVexmarSipPanel(QWidget *parent) : QWidget(parent)
{
    setFixedSize(52, 94);

    m_button = new QVexmarButton(this);
    m_button->setGeometry(0, 0, 52, 24);
    m_button->borderWidth = 1;
    m_button->radius = 0.0f;
    setButtonColours(m_button, stateGrey);
    const QFont buttonFont = Look::pixelFont(m_button->font(), 22);
    m_button->setFont(buttonFont);
    m_button->setText(QStringLiteral("SIP"));

    m_up = new QVexmarNetQuality(this);
    m_up->move(3, 28);
    m_up->setDirection(0);
    m_up->setEnabled(false);
    m_down = new QVexmarNetQuality(this);
    m_down->move(29, 28);
    m_down->setDirection(1);
    m_down->setEnabled(false);
}

void QVexmarSipPanel::setGaugesEnabled(bool on)
{
    if (on == m_gaugesEnabled)
        return;
    m_gaugesEnabled = on;
    m_up->setEnabled(on);
    m_down->setEnabled(on);
}

void QVexmarSipPanel::setQuality(int up, int down)
{
    m_up->setValue(up);
    m_down->setValue(down);
}

void QVexmarSipPanel::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    switch (state) {
    case 1:
        setButtonColours(m_button, Qt::green);
        break;
    case 2:
        setButtonColours(m_button, QColor(0, 146, 64));
        break;
    case 3:
        setButtonColours(m_button, Qt::red);
        break;
    default:
        setButtonColours(m_button, stateGrey);
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarStreamerPanel::QVexmarStreamerPanel(QWidget *parent) : QWidget(parent)
{
    setFixedSize(437, 95);
    m_title = new QLabel(tr("Streamer"), this);
    m_title->resize(325, 24);
    const QFont titleFont = Look::pixelFont(m_title->font(), 26);
    m_title->setFont(titleFont);
    m_sip1 = new QVexmarSipPanel(this);
    m_sip2 = new QVexmarSipPanel(this);
    m_levels = new QVexmarBarsEx(this);
    applySide(0);
}

void QVexmarStreamerPanel::setTitle(const QString &title)
{
    m_title->setText(title);
}

void QVexmarStreamerPanel::setSide(int side)
{
    if (side == m_levels->side())
        return;
    applySide(side);
    m_levels->setSide(side);
}

void QVexmarStreamerPanel::applySide(int side)
{
    if (side == 0) {
        m_title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_title->move(112, 0);
        m_sip1->move(0, 0);
        m_sip2->move(56, 0);
        m_levels->move(112, 28);
    } else {
        m_title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_title->move(0, 0);
        m_sip1->move(329, 0);
        m_sip2->move(385, 0);
        m_levels->move(0, 28);
    }
}

void QVexmarStreamerPanel::setState(int state)
{
    m_levels->setState(state);
}

void QVexmarStreamerPanel::setLevels(int txA, int txB, int rxA, int rxB, bool resetPeak)
{
    m_levels->setLevels(txA, txB, rxA, rxB, resetPeak);
}

QVexmarSipPanel *QVexmarStreamerPanel::sipPanel(int line) const
{
    return line == 1 ? m_sip1 : m_sip2;
}

void QVexmarStreamerPanel::setLineEnabled(int line, bool on)
{
    sipPanel(line)->setGaugesEnabled(on);
}

void QVexmarStreamerPanel::setNetQuality(int line, int up, int down)
{
    sipPanel(line)->setQuality(up, down);
}

void QVexmarStreamerPanel::setSipState(int account, int state)
{
    sipPanel(account)->setState(state);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarStatusPanel::QVexmarStatusPanel(int, QWidget *parent) : QWidget(parent)
{
    setFixedSize(915, 95);
    m_stream1 = new QVexmarStreamerPanel(this);
    m_stream1->move(0, 0);
    m_stream1->setSide(0);
    m_stream1->setTitle(tr("Stream 1"));

    const QFont directionFont = Look::pixelFont(font(), 26);
    for (const auto &direction : {qMakePair(QStringLiteral("Tx"), 28), qMakePair(QStringLiteral("Rx"), 69)}) {
        auto *label = new QLabel(direction.first, this);
        label->setGeometry(437, direction.second, 40, 26);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(directionFont);
    }

    m_stream2 = new QVexmarStreamerPanel(this);
    m_stream2->move(478, 0);
    m_stream2->setSide(1);
    m_stream2->setTitle(tr("Stream 2"));
}

QVexmarStreamerPanel *QVexmarStatusPanel::stream(int codec) const
{
    return codec == 1 ? m_stream1 : codec == 2 ? m_stream2 : nullptr;
}

void QVexmarStatusPanel::setBatteryInfo(int, int, int) { }

void QVexmarStatusPanel::setNetworkType(int, int) { }

void QVexmarStatusPanel::setCodecState(int codec, int channelMode)
{
    if (QVexmarStreamerPanel *panel = stream(codec))
        panel->setState(channelMode);
}

void QVexmarStatusPanel::setCodecDescription(int, const QString &) { }

void QVexmarStatusPanel::setNetworkUp(bool) { }

void QVexmarStatusPanel::setNetworkInfo(int, int) { }

void QVexmarStatusPanel::setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh)
{
    if (QVexmarStreamerPanel *panel = stream(codec))
        panel->setLevels(txLeft, txRight, rxLeft, rxRight, refresh);
}

void QVexmarStatusPanel::setCallText(int, const QString &) { }

void QVexmarStatusPanel::setCallState(int, int) { }

void QVexmarStatusPanel::setLineEnabled(int codec, int line, bool on)
{
    if (QVexmarStreamerPanel *panel = stream(codec))
        panel->setLineEnabled(line, on);
}

void QVexmarStatusPanel::setNetQuality(int codec, int line, int transmitQuality, int receiveQuality)
{
    if (QVexmarStreamerPanel *panel = stream(codec))
        panel->setNetQuality(line, transmitQuality, receiveQuality);
}

void QVexmarStatusPanel::setSipState(int codec, int account, int state)
{
    if (QVexmarStreamerPanel *panel = stream(codec))
        panel->setSipState(account, state);
}

const QString &QVexmarStatusPanel::callPanelText(int, int)
{
    static const QString none;
    return none;
}

void QVexmarStatusPanel::setCallPanelText(int, const QString &, int) { }

void QVexmarStatusPanel::resetCallPanel(int) { }
