#include "screen/vexmarstatusnet.h"

#include "controllers/signallevel.h"
#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/tcomconnection.h"
#include "device/tcomdevice.h"
#include "rpc/rpcmessage.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace {

const QColor stateGrey(127, 127, 127);

QHBoxLayout *pillLayout(QWidget *widget)
{
    auto *row = new QHBoxLayout(widget);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(4);
    row->setAlignment(Qt::AlignLeft);
    return row;
}

float pillRadius(float radius)
{
    return std::isnan(radius) || radius <= 0.0f ? 0.0f : radius;
}

} // namespace

QVexmarStatusNet::QVexmarStatusNet(const std::string &interfaceName, QWidget *parent)
    : QWidget(parent), m_interfaceName(interfaceName), m_networkType(networkTypeOfName(interfaceName))
{
    setupUi();
    switch (m_networkType) {
    case TypeEthernet:
        m_controller = std::make_unique<TComEthernetController>(getCom());
        break;
    case TypeMobile:
        m_controller = std::make_unique<TComMobileController>(getCom());
        break;
    case TypeWifi:
        m_controller = std::make_unique<TComWifiController>(getCom());
        break;
    default:
        break;
    }
}

QVexmarStatusNet::~QVexmarStatusNet() = default;

void QVexmarStatusNet::setupUi()
{
    QHBoxLayout *row = pillLayout(this);
    m_iconButton = new QVexmarButton(this);
    m_iconButton->setFixedSize(46, 38);
    m_iconButton->borderWidth = 1;
    m_iconButton->radius = 0.0f;
    row->addWidget(m_iconButton);
    m_signalGauge = new QVexmarSigQuality(this);
    m_signalGauge->hide();
    row->addWidget(m_signalGauge);
    m_technologyLabel = new QLabel(this);
    m_technologyLabel->setAlignment(Qt::AlignCenter);
    m_technologyLabel->hide();
    row->addWidget(m_technologyLabel);
}

void QVexmarStatusNet::setIndicatorName(const QString &name)
{
    static const struct
    {
        const char *name;
        const char *icon;
    } icons[] = {
        {"WIFI1", ":/images/wifi_0bar.png"},
        {"MOB1", ":/images/mobile1.png"},
        {"MOB2", ":/images/mobile2.png"},
        {"ETH1", ":/images/eth1.png"},
        {"ETH2", ":/images/eth2.png"},
    };
    for (const auto &entry : icons) {
        if (name == QLatin1String(entry.name)) {
            m_iconButton->setIcon(lazyIcon(QString::fromLatin1(entry.icon)));
            return;
        }
    }
}

void QVexmarStatusNet::attachController()
{
    if (!m_controller)
        return;
    if (m_controller->attach(m_interfaceName, 0, false)) {
        // What the pill shows; whether the device answered is seen in the values.
        switch (m_networkType) {
        case TypeEthernet:
            m_controller->fetch({kra::KEY_MODE, TComEthernetController::KEY_CABLE});
            break;
        case TypeMobile:
            m_controller->fetch({KEY_MOBILE_SIGNAL_QUALITY, KEY_MOBILE_TECHNOLOGY});
            break;
        case TypeWifi:
            m_controller->fetch(
                {TComWifiController::KEY_DATA_CONNECTION_STATE, TComWifiController::KEY_SIGNAL_QUALITY});
            break;
        default:
            break;
        }
    }
    updateIndicator();
}

void QVexmarStatusNet::updateIndicator()
{
    if (!m_controller)
        return;
    bool up = false;
    if (m_networkType == TypeEthernet) {
        up = static_cast<const TComEthernetController *>(m_controller.get())->cable();
    } else if (m_networkType == TypeMobile || m_networkType == TypeWifi) {
        const TComBaseConnection *link
            = getDevice()->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, m_interfaceName);
        up = link && link->state() == TComDataConnection::Connected;
    } else {
        return;
    }
    Look::setColour(this, QPalette::Window, up ? QColor(Qt::green) : stateGrey);
    if (m_networkType == TypeMobile)
        updateMobileDisplay();
    else if (m_networkType == TypeWifi)
        updateWifiDisplay();
}

void QVexmarStatusNet::updateMobileDisplay()
{
    auto *mobile = qobject_cast<const TComMobileController *>(m_controller.get());
    if (!mobile)
        return;
    const int q = signalLevel(mobile->signalQuality());
    const int bars = q > 25 ? 5 : q > 19 ? 4 : q > 13 ? 3 : q > 5 ? 2 : q > 0 ? 1 : 0;
    // The gauge tells the SIM and PIN states by the controller state.
    m_signalGauge->setSignal(mobile->state(), bars);
    static const char *const technologies[] = {QT_TR_NOOP("2G"), QT_TR_NOOP("3G"), QT_TR_NOOP("4G"), QT_TR_NOOP("5G")};
    const int technology = mobile->technology();
    setTechnologyText(
        technology >= TComMobileController::Technology2G && technology <= TComMobileController::Technology5G
            ? tr(technologies[technology])
            : QString());
}

void QVexmarStatusNet::updateWifiDisplay()
{
    auto *wifi = qobject_cast<const TComWifiController *>(m_controller.get());
    if (!wifi)
        return;
    const int q = signalLevel(wifi->signal());
    const char *icon = ":/images/wifi_1bar.png";
    if (q > 28)
        icon = ":/images/wifi_4bar.png";
    else if (q > 22)
        icon = ":/images/wifi_3bar.png";
    else if (q > 16)
        icon = ":/images/wifi_2bar.png";
    else if (q < 12)
        icon = ":/images/wifi_0bar.png";
    m_iconButton->setIcon(lazyIcon(QString::fromLatin1(icon)));
}

bool QVexmarStatusNet::offer(const kra::CMsg &message, bool info)
{
    // The controllers take the message as it came in, header and all.
    RpcMessage notification = RpcMessage::notification(message);
    return info ? m_controller->handleInfo(notification) : m_controller->handleEvent(notification);
}

void QVexmarStatusNet::handleInfo(const kra::CMsg &message)
{
    if (!m_controller || !offer(message, true))
        return;
    updateIndicator();
    if (isHidden())
        show();
}

void QVexmarStatusNet::handleEvent(const kra::CMsg &message)
{
    if (!m_controller || !offer(message, false))
        return;
    updateIndicator();
    if (isHidden())
        show();
}

void QVexmarStatusNet::setTechnologyText(const QString &text)
{
    m_technologyLabel->setText(text);
    m_technologyLabel->setVisible(!text.isEmpty());
}

void QVexmarStatusNet::setSignalGaugeVisible(bool visible)
{
    m_signalGauge->setVisible(visible);
}

void QVexmarStatusNet::setSignal(int state, int bars)
{
    m_signalGauge->setSignal(state, bars);
}

void QVexmarStatusNet::setBorderWidth(int width)
{
    if (width > 0)
        m_borderWidth = width;
}

void QVexmarStatusNet::setRadius(float radius)
{
    m_radius = pillRadius(radius);
}

void QVexmarStatusNet::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        Look::paintFace(painter, this, m_borderWidth, m_radius);
    }
    QWidget::paintEvent(event);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarStatusFtp::QVexmarStatusFtp(QWidget *parent) : QWidget(parent)
{
    setupUi();
}

QVexmarStatusFtp::~QVexmarStatusFtp() = default;

void QVexmarStatusFtp::setupUi()
{
    QHBoxLayout *row = pillLayout(this);
    m_label = plainTextLabel(new QLabel(tr("FTP"), this));
    m_label->setAlignment(Qt::AlignCenter);
    m_label->hide();
    row->addWidget(m_label);
}

void QVexmarStatusFtp::setFace(const QColor &colour)
{
    Look::setColour(this, QPalette::Window, colour);
}

void QVexmarStatusFtp::handleInfo(const kra::CMsg &message)
{
    if (message.value(kra::KEY_INFO_TYPE) != kra::EVT_UPLOAD_PROGRESS)
        return;
    const std::string &percent = message.value(kra::KEY_PERCENT);
    if (percent.empty())
        return;
    m_label->setText(tr("FTP %1%").arg(QString::fromLatin1(percent.data(), int(percent.size()))));
    if (isHidden())
        show();
}

void QVexmarStatusFtp::handleEvent(const kra::CMsg &message)
{
    if (message.value(kra::KEY_EVENT_TYPE) != kra::EVT_UPLOAD_STATE)
        return;
    const std::string &state = message.value(kra::KEY_STATE);
    if (state == kra::UPLOAD_STARTED) {
        // A new transfer is never hidden by the countdown of the one before.
        if (m_hideTimer)
            m_hideTimer->stop();
        setFace(Qt::green);
        m_label->setText(tr("FTP 0%"));
        m_label->show();
    } else if (state == kra::UPLOAD_FINISHED) {
        m_label->setText(tr("FTP 100%"));
        startHideTimer(2000);
    } else if (state == kra::UPLOAD_STOPPED) {
        startHideTimer(2000);
    } else if (state == kra::UPLOAD_ERROR) {
        setFace(Qt::red);
        m_label->setText(tr("FTP Error"));
        startHideTimer(4000);
    }
    if (isHidden())
        show();
}

void QVexmarStatusFtp::startHideTimer(int ms)
{
    if (!m_hideTimer) {
        m_hideTimer = new QTimer(this);
        connect(m_hideTimer, &QTimer::timeout, this, &QVexmarStatusFtp::timeout);
    }
    m_hideTimer->start(ms);
}

void QVexmarStatusFtp::timeout()
{
    if (!m_hideTimer || !m_hideTimer->isActive())
        return;
    m_hideTimer->stop();
    // Its own flag, not the bar's: an upload that ends while the whole bar is hidden must not reappear with it.
    hide();
}

void QVexmarStatusFtp::setBorderWidth(int width)
{
    if (width > 0)
        m_borderWidth = width;
}

void QVexmarStatusFtp::setRadius(float radius)
{
    m_radius = pillRadius(radius);
}

void QVexmarStatusFtp::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        Look::paintFace(painter, this, m_borderWidth, m_radius);
    }
    QWidget::paintEvent(event);
}
