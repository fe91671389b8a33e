#include "vexmarvoicecallpage.h"

#include <QFrame>
#include <QLabel>

namespace {

constexpr int voiceCodec = QVexmar::VoiceCodec;

const QString &noText()
{
    static const QString empty;
    return empty;
}

} // namespace

QVexmarVoiceCallPage::QVexmarVoiceCallPage(QWidget *parent) : QVexmarPageWidget(parent)
{
    m_dialLine = new QLabel(contentFrame);
    m_dialLine->setObjectName(QStringLiteral("dialLine"));
    m_dialLine->setGeometry(20, 20, 760, 60);
}

QVexmarVoiceCallPage::~QVexmarVoiceCallPage() = default;

void QVexmarVoiceCallPage::handleInfo(kra::CMsg &) { }

void QVexmarVoiceCallPage::handleEvent(kra::CMsg &) { }

void QVexmarVoiceCallPage::resetControls() { }

void QVexmarVoiceCallPage::setAudioLevels(const int *, int, bool) { }

void QVexmarVoiceCallPage::setBatteryInfo(int, int, int) { }

void QVexmarVoiceCallPage::setNetworkType(int, int) { }

void QVexmarVoiceCallPage::setCodecState(int, int) { }

void QVexmarVoiceCallPage::setCodecDescription(int, const QString &) { }

void QVexmarVoiceCallPage::setNetworkUp(bool) { }

void QVexmarVoiceCallPage::setNetworkInfo(int, int) { }

void QVexmarVoiceCallPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarVoiceCallPage::setCallText(int, const QString &) { }

void QVexmarVoiceCallPage::setCallState(int, int) { }

void QVexmarVoiceCallPage::setLineEnabled(int, int, bool) { }

void QVexmarVoiceCallPage::setNetQuality(int, int, int, int) { }

void QVexmarVoiceCallPage::setSipState(int, int, int) { }

const QString &QVexmarVoiceCallPage::callPanelText(int codec, int family)
{
    if (codec != voiceCodec || family < 0 || family > 2)
        return noText();
    return m_numbers[family];
}

void QVexmarVoiceCallPage::setCallPanelText(int codec, const QString &text, int family)
{
    if (codec != voiceCodec)
        return;
    if (family >= 0 && family <= 2)
        m_numbers[family] = text;
    m_dialLine->setText(text);
}

void QVexmarVoiceCallPage::resetCallPanel(int codec)
{
    if (codec != voiceCodec)
        return;
    for (QString &number : m_numbers)
        number.clear();
    m_dialLine->clear();
}
