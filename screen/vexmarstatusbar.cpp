#include "screen/vexmarstatusbar.h"

#include "device/accessors.h"
#include "device/networkcode.h"
#include "screen/vexmarstatusnet.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarlook.h"

#include <QBoxLayout>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <iterator>

namespace {

const QColor stateGrey(127, 127, 127);

QLabel *barLabel(const QString &text, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(font);
    return label;
}

QVexmarButton *barButton(const char *objectName, QSize size, const QColor &face, QWidget *parent)
{
    auto *button = new QVexmarButton(parent);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(size);
    button->borderWidth = 1;
    button->radius = 6.0f;
    Look::setFace(button, face, Qt::black);
    return button;
}

} // namespace

QVexmarStatusBar::QVexmarStatusBar(QWidget *parent) : QFrame(parent)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarStatusBar::deviceStateChanged);
}

QVexmarStatusBar::~QVexmarStatusBar()
{
    // No clock refresh while the children go.
    disconnect(m_clockTimer, nullptr, nullptr, nullptr);
}

QVexmarStatusNet *QVexmarStatusBar::addNetIndicator(
    const char *objectName, const std::string &interfaceName, const QString &name, const QFont &font)
{
    auto *indicator = new QVexmarStatusNet(interfaceName, this);
    indicator->setObjectName(QLatin1String(objectName));
    indicator->setBorderWidth(1);
    indicator->setRadius(6.0f);
    Look::setFace(indicator, stateGrey, Qt::black);
    indicator->setFont(font);
    indicator->setIndicatorName(name);
    indicator->hide();
    return indicator;
}

void QVexmarStatusBar::setupUi()
{
    setFixedHeight(44);
    QPalette barPalette = palette();
    barPalette.setBrush(QPalette::Window, QBrush(QColor(207, 196, 226)));
    barPalette.setBrush(QPalette::WindowText, QBrush(Qt::black));
    setPalette(barPalette);
    setFrameStyle(QFrame::NoFrame | QFrame::Plain);
    setAutoFillBackground(true);
    const QFont large = Look::pixelFont(font(), 32);

    m_mainLayout = new QHBoxLayout(this);
    m_mainLayout->setContentsMargins(10, 0, 10, 0);
    m_mainLayout->setSpacing(0);
    m_mainLayout->setAlignment(Qt::AlignVCenter);
    m_leftLayout = new QHBoxLayout;
    m_leftLayout->setContentsMargins(0, 0, 0, 0);
    m_leftLayout->setSpacing(10);
    m_leftLayout->setAlignment(Qt::AlignLeft);
    m_rightLayout = new QHBoxLayout;
    m_rightLayout->setContentsMargins(0, 0, 0, 0);
    m_rightLayout->setSpacing(10);
    m_rightLayout->setAlignment(Qt::AlignRight);
    m_mainLayout->addLayout(m_leftLayout, 0);
    m_mainLayout->addLayout(m_rightLayout, 0);

    m_clockLabel = barLabel(QString(), large, this);
    m_clockLabel->setObjectName(QStringLiteral("clockLabel"));
    m_clockTimer = new QTimer(this);
    connect(m_clockTimer, &QTimer::timeout, this, &QVexmarStatusBar::updateClockLabel);
    updateClockLabel();
    m_clockTimer->start(10000);
    m_leftLayout->addWidget(m_clockLabel);

    // Display elements only: nothing listens to their clicks.
    const QSize lineSize(66, 38);
    m_s1Indicator = barButton("s1Indicator", lineSize, stateGrey, this);
    m_s1Indicator->setText(tr("S1"));
    m_s2Indicator = barButton("s2Indicator", lineSize, stateGrey, this);
    m_s2Indicator->setText(tr("S2"));
    m_voiceIndicator = barButton("voiceIndicator", lineSize, stateGrey, this);
    m_voiceIndicator->setText(tr("Vo"));
    m_voiceIndicator->hide();
    for (QVexmarButton *line : {m_s1Indicator, m_s2Indicator, m_voiceIndicator}) {
        line->setFont(large);
        m_leftLayout->addWidget(line);
    }
    const QSize micSize(34, 38);
    m_mic1Button = barButton("mic1Button", micSize, Qt::white, this);
    m_mic1Button->setIcon(lazyIcon(QStringLiteral(":/images/mic1_off.png")));
    m_mic2Button = barButton("mic2Button", micSize, Qt::white, this);
    m_mic2Button->setIcon(lazyIcon(QStringLiteral(":/images/mic2_off.png")));
    m_leftLayout->addWidget(m_mic1Button);
    m_leftLayout->addWidget(m_mic2Button);

    m_ftpIndicator = new QVexmarStatusFtp(this);
    m_ftpIndicator->setObjectName(QStringLiteral("ftpIndicator"));
    m_ftpIndicator->setBorderWidth(1);
    m_ftpIndicator->setRadius(6.0f);
    Look::setFace(m_ftpIndicator, stateGrey, Qt::black);
    m_ftpIndicator->setFont(large);
    m_ftpIndicator->hide();
    m_rightLayout->addWidget(m_ftpIndicator);

    m_wifi1Indicator = addNetIndicator("wifi1Indicator", networkNameOfCode(TypeWifi), QStringLiteral("WIFI1"), large);
    m_mob2Indicator
        = addNetIndicator("mob2Indicator", networkNameOfCode(TypeMobile + 1), QStringLiteral("MOB2"), large);
    m_mob1Indicator = addNetIndicator("mob1Indicator", networkNameOfCode(TypeMobile), QStringLiteral("MOB1"), large);
    m_eth1Indicator = addNetIndicator("eth1Indicator", networkNameOfCode(TypeEthernet), QStringLiteral("ETH1"), large);
    m_eth2Indicator
        = addNetIndicator("eth2Indicator", networkNameOfCode(TypeEthernet + 1), QStringLiteral("ETH2"), large);
    for (QVexmarStatusNet *mobile : {m_mob2Indicator, m_mob1Indicator}) {
        mobile->setSignalGaugeVisible(true);
        mobile->setSignal(-1, 0);
    }
    m_eth1Indicator->show();
    for (QVexmarStatusNet *net : {m_wifi1Indicator, m_mob2Indicator, m_mob1Indicator, m_eth1Indicator, m_eth2Indicator})
        m_rightLayout->addWidget(net);

    m_batteryTimeLabel = barLabel(QStringLiteral("1H00"), large, this);
    m_batteryTimeLabel->setObjectName(QStringLiteral("batteryTimeLabel"));
    m_batteryTimeLabel->hide();
    m_batteryPercentLabel = barLabel(QStringLiteral("100%"), large, this);
    m_batteryPercentLabel->setObjectName(QStringLiteral("batteryPercentLabel"));
    m_batteryPercentLabel->hide();
    m_batteryIcon = new QVexmarBattery(this);
    m_batteryIcon->setObjectName(QStringLiteral("batteryIcon"));
    m_batteryIcon->setLevel(100);
    m_batteryIcon->hide();
    m_rightLayout->addWidget(m_batteryTimeLabel);
    m_rightLayout->addWidget(m_batteryPercentLabel);
    m_rightLayout->addWidget(m_batteryIcon);
}

void QVexmarStatusBar::setCallStateColour(QWidget *indicator, int code)
{
    static const QColor faces[] = {
        stateGrey,
        QColor(170, 255, 170),
        QColor(Qt::green),
        QColor(Qt::yellow),
        QColor(Qt::red),
        QColor(240, 101, 101),
        QColor(234, 177, 102),
    };
    Look::setFace(indicator, code >= 0 && code < int(std::size(faces)) ? faces[code] : stateGrey, Qt::black);
}

void QVexmarStatusBar::setMicState(int input, bool on)
{
    bool *stored = nullptr;
    QVexmarButton *button = nullptr;
    const char *icon = nullptr;
    if (input == 0) {
        stored = &m_mic1On;
        button = m_mic1Button;
        icon = on ? ":/images/mic1_on.png" : ":/images/mic1_off.png";
    } else if (input == 1) {
        stored = &m_mic2On;
        button = m_mic2Button;
        icon = on ? ":/images/mic2_on.png" : ":/images/mic2_off.png";
    } else {
        return;
    }
    if (*stored == on)
        return;
    *stored = on;
    button->setIcon(lazyIcon(QString::fromLatin1(icon)));
}

void QVexmarStatusBar::setVoiceIndicatorVisible(bool visible)
{
    m_voiceIndicator->setVisible(visible);
}

void QVexmarStatusBar::resetIndicators()
{
    for (QWidget *hidden : std::initializer_list<QWidget *> {
             m_voiceIndicator, m_mob1Indicator, m_mob2Indicator, m_wifi1Indicator, m_eth2Indicator})
        hidden->hide();
    for (QVexmarStatusNet *net : {m_eth1Indicator, m_eth2Indicator, m_mob1Indicator, m_mob2Indicator, m_wifi1Indicator})
        Look::setFace(net, stateGrey, Qt::black);
    m_mob1Indicator->setTechnologyText(QString());
    m_mob2Indicator->setTechnologyText(QString());
}

void QVexmarStatusBar::handleInfo(const kra::CMsg &message)
{
    for (QVexmarStatusNet *net : {m_eth1Indicator, m_eth2Indicator, m_mob1Indicator, m_mob2Indicator, m_wifi1Indicator})
        net->handleInfo(message);
    m_ftpIndicator->handleInfo(message);
}

void QVexmarStatusBar::handleEvent(const kra::CMsg &message)
{
    for (QVexmarStatusNet *net : {m_eth1Indicator, m_eth2Indicator, m_mob1Indicator, m_mob2Indicator, m_wifi1Indicator})
        net->handleEvent(message);
    m_ftpIndicator->handleEvent(message);
}

void QVexmarStatusBar::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::ModelReady)
        return;
    for (QVexmarStatusNet *net : {m_eth1Indicator, m_eth2Indicator, m_mob1Indicator, m_mob2Indicator, m_wifi1Indicator})
        net->attachController();
}

void QVexmarStatusBar::updateClockLabel()
{
    m_clockLabel->setText(QTime::currentTime().toString(QStringLiteral("hh:mm")));
}

void QVexmarStatusBar::setBatteryInfo(int level, int status, int remaining)
{
    if (level == m_batteryLevel && status == m_batteryStatus && remaining == m_batteryMinutes)
        return;
    m_batteryLevel = level;
    m_batteryStatus = status;
    m_batteryMinutes = remaining;
    if (remaining >= 0)
        m_batteryTimeLabel->setText(
            QStringLiteral("%1H%2").arg(remaining / 60).arg(remaining % 60, 2, 10, QLatin1Char('0')));
    m_batteryPercentLabel->setText(QStringLiteral("%1%").arg(level));
    m_batteryIcon->setLevel(level);
    m_batteryIcon->setState(status);
    // Decided afresh on every change: a new status with the same minutes also shows or hides the time.
    const bool detected = status != 0;
    m_batteryTimeLabel->setVisible(detected && remaining > 0);
    m_batteryPercentLabel->setVisible(detected);
    m_batteryIcon->setVisible(detected);
}

// What the pages show of the default network, the codecs and the calls has no place on the bar.
void QVexmarStatusBar::setNetworkType(int, int) { }

void QVexmarStatusBar::setCodecState(int, int) { }

void QVexmarStatusBar::setCodecDescription(int, const QString &) { }

void QVexmarStatusBar::setNetworkUp(bool) { }

void QVexmarStatusBar::setNetworkInfo(int, int) { }

void QVexmarStatusBar::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarStatusBar::setCallText(int, const QString &) { }

void QVexmarStatusBar::setCallState(int codec, int code)
{
    int *stored = &m_voiceCode;
    QVexmarButton *indicator = m_voiceIndicator;
    if (codec == 1) {
        stored = &m_lineCode1;
        indicator = m_s1Indicator;
    } else if (codec == 2) {
        stored = &m_lineCode2;
        indicator = m_s2Indicator;
    }
    if (code == *stored)
        return;
    *stored = code;
    setCallStateColour(indicator, code);
}

void QVexmarStatusBar::setLineEnabled(int, int, bool) { }

void QVexmarStatusBar::setNetQuality(int, int, int, int) { }

void QVexmarStatusBar::setSipState(int, int, int) { }

const QString &QVexmarStatusBar::callPanelText(int, int)
{
    static const QString none;
    return none;
}

void QVexmarStatusBar::setCallPanelText(int, const QString &, int) { }

void QVexmarStatusBar::resetCallPanel(int) { }
