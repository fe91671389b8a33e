#include "vexmaraoipcallpage.h"

#include <QFrame>
#include <QLabel>

namespace {

const QString &noText()
{
    static const QString empty;
    return empty;
}

} // namespace

QVexmarAoIPCallPage::QVexmarAoIPCallPage(int codec, QWidget *parent) : QVexmarPageWidget(parent), codec(codec)
{
    m_callTextLabel = new QLabel(tr("Idle"), contentFrame);
    m_callTextLabel->setObjectName(QStringLiteral("callTextLabel"));
    m_callTextLabel->setGeometry(20, 20, 760, 60);
    m_callPanelLabel = new QLabel(contentFrame);
    m_callPanelLabel->setObjectName(QStringLiteral("callPanelLabel"));
    m_callPanelLabel->setGeometry(20, 100, 760, 60);
}

QVexmarAoIPCallPage::~QVexmarAoIPCallPage() = default;

void QVexmarAoIPCallPage::handleInfo(kra::CMsg &) { }

void QVexmarAoIPCallPage::handleEvent(kra::CMsg &) { }

void QVexmarAoIPCallPage::resetControls() { }

void QVexmarAoIPCallPage::setAudioLevels(const int *, int, bool) { }

void QVexmarAoIPCallPage::setBatteryInfo(int, int, int) { }

void QVexmarAoIPCallPage::setNetworkType(int, int) { }

void QVexmarAoIPCallPage::setCodecState(int, int) { }

void QVexmarAoIPCallPage::setCodecDescription(int, const QString &) { }

void QVexmarAoIPCallPage::setNetworkUp(bool) { }

void QVexmarAoIPCallPage::setNetworkInfo(int, int) { }

void QVexmarAoIPCallPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarAoIPCallPage::setCallText(int codec, const QString &text)
{
    if (codec == this->codec)
        m_callTextLabel->setText(text);
}

void QVexmarAoIPCallPage::setCallState(int, int) { }

void QVexmarAoIPCallPage::setLineEnabled(int, int, bool) { }

void QVexmarAoIPCallPage::setNetQuality(int, int, int, int) { }

void QVexmarAoIPCallPage::setSipState(int, int, int) { }

const QString &QVexmarAoIPCallPage::callPanelText(int codec, int family)
{
    if (codec != this->codec || family < 0 || family > 2)
        return noText();
    return m_numbers[family];
}

void QVexmarAoIPCallPage::setCallPanelText(int codec, const QString &text, int family)
{
    if (codec != this->codec)
        return;
    if (family >= 0 && family <= 2)
        m_numbers[family] = text;
    m_callPanelLabel->setText(text);
}

void QVexmarAoIPCallPage::resetCallPanel(int codec)
{
    if (codec != this->codec)
        return;
    m_callTextLabel->setText(tr("Idle"));
    for (QString &number : m_numbers)
        number.clear();
    m_callPanelLabel->clear();
}
