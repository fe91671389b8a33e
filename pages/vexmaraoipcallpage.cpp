#include "pages/vexmaraoipcallpage.h"

#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "pages/callcontrol.h"
#include "pages/vexmaraoipcallpanel.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarplaintext.h"

#include <QCoreApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QVariant>

namespace {

const QColor grey(0x7f, 0x7f, 0x7f);
const QColor green(0x00, 0xff, 0x00);

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, Qt::Alignment alignment)
{
    auto *label = plainTextLabel(new QLabel(text, parent));
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

// "%1@%2" of the two texts, which the controller holds as the device's UTF-8.
QString accountText(const std::string &user, const std::string &registrar)
{
    return QStringLiteral("%1@%2").arg(utf8ToQString(user), utf8ToQString(registrar));
}

} // namespace

class QVexmarAoIPCallPage::ControllerUse
{
public:
    ControllerUse(QVexmarAoIPCallPage *page, TComNetworkController *controller) : m_page(page), m_controller(controller)
    {
        ++m_page->m_requestsRunning[m_controller];
    }
    ~ControllerUse()
    {
        if (--m_page->m_requestsRunning[m_controller] > 0)
            return;
        m_page->m_requestsRunning.remove(m_controller);
        if (m_page->m_released.removeOne(m_controller))
            m_controller->deleteLater();
    }
    ControllerUse(const ControllerUse &) = delete;
    ControllerUse &operator=(const ControllerUse &) = delete;

private:
    QVexmarAoIPCallPage *m_page;
    TComNetworkController *m_controller;
};

QVexmarAoIPCallPage::QVexmarAoIPCallPage(int line, QWidget *parent) : QVexmarPageWidget(parent), codec(line)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarAoIPCallPage::deviceStateChanged);
}

// The controllers are children of the page and go with it.
QVexmarAoIPCallPage::~QVexmarAoIPCallPage() = default;

void QVexmarAoIPCallPage::setupUi()
{
    QWidget *frame = contentFrame;
    const QFont labelFont = Look::pixelFont(font(), 32);
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;

    m_levels = new QVexmarBarsEx(frame);
    m_levels->move(930, 16);
    m_levels->setSide(0);
    const QFont scaleFont = Look::pixelFont(font(), 26);
    label(frame, QStringLiteral("Tx"), QRect(890, 16, 40, 26), Qt::AlignCenter)->setFont(scaleFont);
    label(frame, QStringLiteral("Rx"), QRect(890, 57, 40, 26), Qt::AlignCenter)->setFont(scaleFont);

    label(frame, tr("Label"), QRect(0, 16, 200, 40), left)->setFont(labelFont);
    m_titleLabel = label(
        frame, codec == 1 ? QStringLiteral("Streamer 1") : QStringLiteral("Streamer 2"), QRect(200, 16, 400, 40), left);
    m_titleLabel->setFont(labelFont);
    m_titleLabel->setAutoFillBackground(true);
    Look::setFace(m_titleLabel, QBrush(QColor(0x50, 0x50, 0x50)), Qt::white);

    label(frame, tr("My SIP Accounts"), QRect(0, 70, 600, 40), left)->setFont(labelFont);
    m_sipAccount1 = new QVexmarSipAccountPanel(1, frame);
    m_sipAccount1->setFont(labelFont);
    m_sipAccount1->move(0, 110);
    m_sipAccount2 = new QVexmarSipAccountPanel(2, frame);
    m_sipAccount2->setFont(labelFont);
    m_sipAccount2->move(0, 170);

    m_callTextLabel = label(frame, tr("Idle"), QRect(40, 250, 620, 40), Qt::AlignCenter);
    m_callTextLabel->setObjectName(QStringLiteral("callTextLabel"));
    m_callTextLabel->setFont(labelFont);
    m_callPanel = new QVexmarAoIPCallPanel(frame);
    m_callPanel->setGeometry(40, 290, 620, 230);
    connect(m_callPanel, &QVexmarAoIPCallPanel::callPanelClicked, this, &QVexmarAoIPCallPage::callPanelClicked);

    label(frame, tr("Network Interfaces"), QRect(700, 290, 540, 40), left)->setFont(labelFont);
    label(frame, tr("Primary"), QRect(700, 340, 200, 40), left)->setFont(labelFont);
    label(frame, tr("Secondary"), QRect(700, 400, 200, 40), left)->setFont(labelFont);
    for (Interface *side : {&m_primary, &m_secondary}) {
        auto *button = new QVexmarButton(frame);
        button->setGeometry(900, side == &m_primary ? 340 : 400, 340, 40);
        button->borderWidth = 1;
        button->radius = 10.0f;
        Look::setFace(button, QBrush(grey), Qt::black);
        button->setFont(labelFont);
        side->button = button;
    }
    m_primary.button->setObjectName(QStringLiteral("primaryInterfaceButton"));
    m_secondary.button->setObjectName(QStringLiteral("secondaryInterfaceButton"));
    connect(m_primary.button, &QAbstractButton::clicked, this, &QVexmarAoIPCallPage::netInterfaceButtonClicked);
    // The second line always calls over the first line's secondary interface.
    if (codec == 1)
        connect(m_secondary.button, &QAbstractButton::clicked, this, &QVexmarAoIPCallPage::netInterfaceButtonClicked);

    using Slot = void (QVexmarAoIPCallPage::*)();
    const struct
    {
        const char *name;
        const char *image;
        Slot slot;
    } buttons[] = {
        {"bookButton", ":/images/book.png", &QVexmarAoIPCallPage::bookButtonClicked},
        {"codingButton", ":/images/coding.png", &QVexmarAoIPCallPage::codingButtonClicked},
        {"historyButton", ":/images/call-history.png", &QVexmarAoIPCallPage::historyButtonClicked},
        {"dialButton", ":/images/dialpad.png", &QVexmarAoIPCallPage::dialButtonClicked},
        {"networkButton", ":/images/network.png", &QVexmarAoIPCallPage::networkButtonClicked},
        {"statusButton", ":/images/status.png", &QVexmarAoIPCallPage::statusButtonClicked},
        {"homeButton", ":/images/home.png", &QVexmarAoIPCallPage::homeButtonClicked},
    };
    for (int i = 0; i < int(sizeof(buttons) / sizeof(buttons[0])); ++i) {
        QVexmarButton *button = Look::iconButton(
            frame, QRect(i < 6 ? 34 + 160 * i : 1154, 548, 120, 90), QString::fromLatin1(buttons[i].image));
        button->setObjectName(QLatin1String(buttons[i].name));
        connect(button, &QAbstractButton::clicked, this, buttons[i].slot);
        if (i == 6)
            m_homeButton = button;
    }
}

void QVexmarAoIPCallPage::handleInfo(kra::CMsg &body)
{
    routeToControllers(body, &TComController::handleInfo);
}

void QVexmarAoIPCallPage::handleEvent(kra::CMsg &body)
{
    routeToControllers(body, &TComController::handleEvent);
}

void QVexmarAoIPCallPage::routeToControllers(kra::CMsg &body, bool (TComController::*handle)(RpcMessage &))
{
    RpcMessage message = RpcMessage::notification(body);
    for (const int which : {PrimarySide, SecondarySide}) {
        TComNetworkController *controller = side(which).controller;
        if (!controller)
            continue;
        bool handled = false;
        {
            ControllerUse use(this, controller);
            handled = (controller->*handle)(message);
        }
        if (handled) {
            updateInterfaceIndicator(which);
            return;
        }
    }
}

void QVexmarAoIPCallPage::resetControls() { }

void QVexmarAoIPCallPage::showEvent(QShowEvent *event)
{
    TComDevice *device = getDevice();
    TComAoIPController &aoip = device->aoipController();
    aoip.fetchAll();
    const TComSipAccount &first = aoip.account1();
    const TComSipAccount &second = aoip.account2();
    QString account1;
    if (!first.user().empty() && !first.registrar().empty())
        account1 = accountText(first.user(), first.registrar());
    // The second account may name no registrar of its own: it then registers at the first one's.
    QString account2;
    if (!second.user().empty() && !second.registrar().empty())
        account2 = accountText(second.user(), second.registrar());
    else if (!second.user().empty() && !first.registrar().empty())
        account2 = accountText(second.user(), first.registrar());
    m_sipAccount1->setAddress(codec == 1 ? account1 : account2);
    m_sipAccount2->setAddress(codec == 1 ? account2 : QString());
    QVexmarPageWidget::showEvent(event);
}

void QVexmarAoIPCallPage::setAudioLevels(const int *levels, int, bool refresh)
{
    // Transmit: outputs 1-2 or 3-4; receive: inputs 21-22 or 23-24.
    if (codec == 1)
        m_levels->setLevels(levels[24], levels[25], levels[20], levels[21], refresh);
    else
        m_levels->setLevels(levels[26], levels[27], levels[22], levels[23], refresh);
}

void QVexmarAoIPCallPage::setBatteryInfo(int, int, int) { }

void QVexmarAoIPCallPage::setNetworkType(int, int) { }

void QVexmarAoIPCallPage::setCodecState(int forCodec, int channelMode)
{
    if (forCodec == this->codec)
        m_levels->setState(channelMode);
}

void QVexmarAoIPCallPage::setCodecDescription(int forCodec, const QString &text)
{
    if (forCodec == this->codec)
        m_callPanel->setRemoteNumber(text);
}

void QVexmarAoIPCallPage::setNetworkUp(bool) { }

void QVexmarAoIPCallPage::setNetworkInfo(int, int) { }

void QVexmarAoIPCallPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarAoIPCallPage::setCallText(int forCodec, const QString &text)
{
    if (forCodec == this->codec)
        m_callTextLabel->setText(text);
}

void QVexmarAoIPCallPage::setCallState(int forCodec, int code)
{
    if (forCodec == this->codec)
        m_callPanel->setState(code);
}

void QVexmarAoIPCallPage::setLineEnabled(int, int, bool) { }

void QVexmarAoIPCallPage::setNetQuality(int, int, int, int) { }

void QVexmarAoIPCallPage::setSipState(int forCodec, int account, int state)
{
    if (forCodec == this->codec)
        (account == 1 ? m_sipAccount1 : m_sipAccount2)->setState(state);
}

const QString &QVexmarAoIPCallPage::callPanelText(int forCodec, int family)
{
    static const QString none;
    return forCodec == this->codec ? m_callPanel->text(family) : none;
}

void QVexmarAoIPCallPage::setCallPanelText(int forCodec, const QString &text, int family)
{
    if (forCodec == this->codec)
        m_callPanel->setText(text, family);
}

void QVexmarAoIPCallPage::resetCallPanel(int forCodec)
{
    if (forCodec != this->codec)
        return;
    m_callTextLabel->setText(tr("Idle"));
    m_callPanel->reset();
}

void QVexmarAoIPCallPage::deviceStateChanged(TComDevice::DeviceState state)
{
    const TComDevice *device = getDevice();
    switch (state) {
    case TComDevice::ModelReady:
        updateInterface(PrimarySide, networkCodeOfName(device->defaultNetwork()));
        updateInterface(SecondarySide, networkCodeOfName(device->secondaryNetwork()));
        updateInterfaceIndicator(PrimarySide);
        updateInterfaceIndicator(SecondarySide);
        break;
    case TComDevice::DefaultNetworkChanged:
        updateInterface(PrimarySide, networkCodeOfName(device->defaultNetwork()));
        updateInterfaceIndicator(PrimarySide);
        break;
    case TComDevice::SecondaryNetworkChanged:
        updateInterface(SecondarySide, networkCodeOfName(device->secondaryNetwork()));
        updateInterfaceIndicator(SecondarySide);
        break;
    case TComDevice::DualStreamModeChanged:
        updateInterfaceIndicator(SecondarySide);
        break;
    default:
        break;
    }
}

void QVexmarAoIPCallPage::updateInterface(int which, int networkCode)
{
    // A change that comes while a rebuild waits for the device follows once the rebuild is done: replacing the
    // controller under its own request would pull it from under that request.
    if (m_rebuilding) {
        side(which).pendingCode = networkCode;
        return;
    }
    m_rebuilding = true;
    rebuildInterface(which, networkCode);
    for (bool again = true; again;) {
        again = false;
        for (const int pending : {PrimarySide, SecondarySide}) {
            const int code = std::exchange(side(pending).pendingCode, -1);
            if (code < 0)
                continue;
            rebuildInterface(pending, code);
            updateInterfaceIndicator(pending);
            again = true;
        }
    }
    m_rebuilding = false;
}

void QVexmarAoIPCallPage::rebuildInterface(int which, int networkCode)
{
    Interface &interface = side(which);
    interface.button->setText(QVexmarLocalize::networkName(networkCode));
    const std::string name = networkNameOfCode(networkCode);
    if (interface.controller && interface.controller->interfaceName() == name)
        return;
    releaseController(std::exchange(interface.controller, nullptr));

    TComNetworkController *controller = nullptr;
    std::vector<std::string> keys;
    switch (networkTypeOfCode(networkCode)) {
    case TypeEthernet:
        controller = new TComEthernetController(getCom());
        keys = {kra::KEY_MODE, TComEthernetController::KEY_CABLE};
        break;
    case TypeMobile:
        controller = new TComMobileController(getCom());
        keys = {KEY_MOBILE_MODE, KEY_MOBILE_SIGNAL_QUALITY};
        break;
    case TypeWifi:
        controller = new TComWifiController(getCom());
        keys = {TComWifiController::KEY_SIGNAL_QUALITY};
        break;
    default:
        return;
    }
    controller->setParent(this);
    interface.controller = controller;
    ControllerUse use(this, controller);
    // Only what the indicator shows; a failed attach leaves the controller without values.
    if (controller->attach(name, 0, false))
        controller->fetch(keys);
}

void QVexmarAoIPCallPage::releaseController(TComNetworkController *controller)
{
    if (!controller)
        return;
    if (m_requestsRunning.contains(controller))
        m_released.append(controller);
    else
        controller->deleteLater();
}

void QVexmarAoIPCallPage::updateInterfaceIndicator(int which)
{
    Interface &interface = side(which);
    const TComDevice *device = getDevice();
    TComNetworkController *controller = interface.controller;
    QColor face = grey;
    if (!controller) {
        // No interface to show as up.
    } else if (which == SecondarySide && !device->dualStreamMode()) {
        // The secondary interface carries nothing without double streaming.
    } else if (controller->kind() == TComController::Ethernet) {
        face = static_cast<TComEthernetController *>(controller)->cable() ? green : grey;
    } else if (controller->kind() == TComController::Mobile || controller->kind() == TComController::WiFi) {
        const TComBaseConnection *link
            = device->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, controller->interfaceName());
        face = link && link->state() == TComDataConnection::Connected ? green : grey;
    } else {
        return;
    }
    if (interface.button->palette().color(QPalette::Window) != face)
        Look::setFace(interface.button, QBrush(face), Qt::black);
}

bool QVexmarAoIPCallPage::lineFree() const
{
    const TComDevice *device = getDevice();
    return device->isReady() && networkTypeOfName(device->defaultNetwork()) != networkCodeNone
        && !device->audioConnection(codec);
}

void QVexmarAoIPCallPage::callPanelClicked()
{
    TComDevice *device = getDevice();
    if (TComAudioConnection *call = device->audioConnection(codec)) {
        CallControl::askHangUp(this, call, &QVexmarAoIPCallPage::callPopupClosed);
        return;
    }
    const std::string network = device->defaultNetwork();
    if (!device->isReady() || networkTypeOfName(network) == networkCodeNone)
        return;
    const QString number = m_callPanel->text(networkFamilyOfName(network));
    if (number.isEmpty())
        return;
    TComAudioConnection *placed = nullptr;
    const int cause = CallControl::placeCall(codec - 1, network, qStringToLatin1(number), placed);
    if (cause != 0)
        emit showMessagePopup(tr("Failed to initiate call\n(%1)").arg(getLocaleDictionary()->causeText(cause)), 0);
    else if (placed)
        emit audioCallStatusChanged(placed);
}

void QVexmarAoIPCallPage::callPopupClosed()
{
    CallControl::hangUpIfAccepted(sender(), getDevice()->audioConnection(codec));
}

void QVexmarAoIPCallPage::bookButtonClicked()
{
    emit pageActivated(codec == 1 ? QVexmar::SettingsCallProfiles1 : QVexmar::SettingsCallProfiles2);
}

void QVexmarAoIPCallPage::networkButtonClicked()
{
    emit pageActivated(QVexmar::SettingsNetwork);
}

void QVexmarAoIPCallPage::statusButtonClicked()
{
    emit pageActivated(QVexmar::SettingsStatus);
}

void QVexmarAoIPCallPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}
