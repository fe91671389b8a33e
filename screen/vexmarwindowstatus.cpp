// The screen window's status and call display: network, codec, SIP and call state of the visible page and the
// status bar, the call texts of the call pages, and the remote numbers published to the device.

#include "screen/vexmarwindow.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmarvoicecallpage.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarmainpage.h"
#include "screen/vexmarstatusbar.h"
#include "settings/vexmarsettingspage.h"
#include "widgets/menu/vexmarmenuitem.h"

#include <QStackedLayout>
#include <QTimer>

#include <utility>

namespace {

// The call-state codes of the panels.
enum CallStateCode {
    CodeUnavailable = 0,
    CodeIdle = 1,
    CodeIdleWithNumber = 2,
    CodeInProgress = 3,
    CodeEstablished = 4,
    CodeSyncLost = 5,
    CodeReleasing = 6,
};

constexpr int noQuality = 100;
constexpr int remoteNumberTimeoutMs = 1000;

int codecOf(const TComBaseConnection *connection)
{
    switch (connection->kind()) {
    case TComBaseConnection::KindLine1:
        return QVexmar::Codec1;
    case TComBaseConnection::KindLine2:
        return QVexmar::Codec2;
    default:
        return QVexmar::VoiceCodec;
    }
}

// -1 for a call in no state that the panels show.
int callStateCode(const TComAudioConnection &call)
{
    switch (call.state()) {
    case TComAudioConnection::SettingUp:
        return CodeInProgress;
    case TComAudioConnection::Disconnecting:
        return CodeReleasing;
    case TComAudioConnection::Connected:
        switch (call.callStatus()) {
        case TComAudioConnection::StatusActive:
        case TComAudioConnection::StatusNegotiating:
        case TComAudioConnection::StatusWaitingForSync:
            return CodeInProgress;
        case TComAudioConnection::StatusSyncLost:
            return CodeSyncLost;
        default:
            return CodeEstablished;
        }
    default:
        return -1;
    }
}

QString codecText(const CodecFormat &format)
{
    return QVexmarLocalize::codecDescription(format);
}

} // namespace

IVexmarStatusPanel *QVexmarWindow::currentPanel() const
{
    return m_stack ? dynamic_cast<IVexmarStatusPanel *>(m_stack->currentWidget()) : nullptr;
}

IVexmarStatusPanel *QVexmarWindow::callPagePanel(int codec) const
{
    if (codec == QVexmar::Codec1)
        return m_aoipCallPage1;
    if (codec == QVexmar::Codec2)
        return m_aoipCallPage2;
    return m_voiceCallPage;
}

int QVexmarWindow::idleCallState(int codec) const
{
    const TComDevice *device = getDevice();
    if (!device->isReady() || networkTypeOfName(device->defaultNetwork()) == networkCodeNone)
        return CodeUnavailable;
    return callPagePanel(codec)->callPanelText(codec, device->lineNetworkFamily(codec)).isEmpty() ? CodeIdle
                                                                                                  : CodeIdleWithNumber;
}

void QVexmarWindow::setLines(IVexmarStatusPanel *panel, int codec, const TComAudioConnection *call, bool up)
{
    const bool secondStream = call && call->streamAddresses();
    for (int line = 1; line <= (secondStream ? 2 : 1); ++line) {
        if (up) {
            panel->setNetQuality(codec, line, call->txReport(line - 1).netQuality, call->rxReport(line - 1).netQuality);
            panel->setLineEnabled(codec, line, true);
        } else {
            panel->setLineEnabled(codec, line, false);
            panel->setNetQuality(codec, line, noQuality, noQuality);
        }
    }
}

void QVexmarWindow::updateStatusPanel()
{
    IVexmarStatusPanel *panel = currentPanel();
    if (!panel)
        return;
    const TComDevice *device = getDevice();
    const std::string &network = device->defaultNetwork();
    const int type = networkTypeOfName(network);
    const auto dataLinkUp = [device, &network] {
        const TComBaseConnection *link = device->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, network);
        return link && link->state() == TComDataConnection::Connected;
    };
    switch (type) {
    case TypeEthernet:
        panel->setNetworkType(type, 0);
        panel->setNetworkUp(device->ethernetController().cable());
        break;
    case TypeMobile:
        panel->setNetworkType(type, device->mobileController().technology() + 1);
        panel->setNetworkUp(dataLinkUp());
        panel->setNetworkInfo(device->mobileController().state(), device->mobileSignalBars());
        break;
    case TypeWifi:
        panel->setNetworkType(type, 0);
        panel->setNetworkUp(dataLinkUp());
        panel->setNetworkInfo(device->wifiController().state(), device->wifiSignalBars());
        break;
    default:
        panel->setNetworkType(type, 0);
        panel->setNetworkUp(false);
        break;
    }
    panel->setCodecState(QVexmar::Codec1, device->lineChannelMode(QVexmar::Codec1));
    panel->setCodecState(QVexmar::Codec2, device->lineChannelMode(QVexmar::Codec2));
    // With double streaming the second account serves the second stream of codec 1.
    panel->setSipState(1, 1, sipAccountState(1));
    if (!device->dualStreamMode()) {
        panel->setSipState(1, 2, 0);
        panel->setSipState(2, 1, sipAccountState(2));
    } else {
        panel->setSipState(1, 2, sipAccountState(2));
        panel->setSipState(2, 1, 0);
    }
    panel->setSipState(2, 2, 0);
    for (int codec = QVexmar::Codec1; codec <= QVexmar::VoiceCodec; ++codec)
        updateCodecStatus(panel, codec);
}

int QVexmarWindow::sipAccountState(int account) const
{
    const TComDevice *device = getDevice();
    const TComAoIPController &aoip = device->aoipController();
    const TComSipAccount &sip = account == 2 ? aoip.account2() : aoip.account1();
    if (sip.registered())
        return device->lineNetworkFamily(account) == TComDevice::FamilyIp ? 1 : 2;
    return sip.stateText().empty() ? 0 : 3;
}

void QVexmarWindow::updateCodecStatus(IVexmarStatusPanel *panel, int codec)
{
    const TComDevice *device = getDevice();
    const TComAudioConnection *call = device->audioConnection(codec);
    if (!call) {
        const int idle = idleCallState(codec);
        m_statusBar->setCallState(codec, idle);
        if (!panel)
            return;
        setLines(panel, codec, nullptr, false);
        panel->setLineEnabled(codec, 2, false);
        panel->setNetQuality(codec, 2, noQuality, noQuality);
        panel->setCallState(codec, idle);
        panel->setCodecDescription(codec, codecText(device->lineCodec(codec)));
        const int family = device->lineNetworkFamily(codec);
        const QString number = callPagePanel(codec)->callPanelText(codec, family);
        panel->setCallPanelText(codec, number, family);
        return;
    }
    const int code = callStateCode(*call);
    if (code >= 0)
        m_statusBar->setCallState(codec, code);
    if (!panel)
        return;
    if (code >= 0)
        panel->setCallState(codec, code);
    const bool connected = call->state() == TComAudioConnection::Connected;
    if (connected && call->txCodec().algorithm != -1)
        panel->setCodecDescription(codec, codecText(call->txCodec()));
    setLines(panel, codec, call, connected && connectionNetworkFamily(call) == TComDevice::FamilyIp);
    if (!call->remoteNumber().empty())
        panel->setCallPanelText(codec, latin1ToQString(call->remoteNumber()), TComDevice::FamilyNone);
}

void QVexmarWindow::audioConnectionStateChanged(TComAudioConnection *sender)
{
    buildRemainingPages();
    const int codec = codecOf(sender);
    IVexmarStatusPanel *page = callPagePanel(codec);
    IVexmarStatusPanel *panel = currentPanel();
    switch (sender->state()) {
    case TComAudioConnection::Disconnecting:
        page->setCallText(codec, tr("Releasing call..."));
        m_statusBar->setCallState(codec, CodeReleasing);
        if (panel) {
            panel->setCallState(codec, CodeReleasing);
            setLines(panel, codec, sender, false);
        }
        break;
    case TComAudioConnection::Ended: {
        const std::string &cause = sender->causeText();
        page->setCallText(codec,
            cause.empty() ? tr("Call released")
                          : tr("Call released (%1)").arg(getLocaleDictionary()->translate(cause)));
        page->setCodecDescription(codec, codecText(getDevice()->lineCodec(codec)));
        const QString number = page->callPanelText(codec, getDevice()->lineNetworkFamily(codec));
        page->setCallPanelText(codec, number, TComDevice::FamilyNone);
        const int idle = number.isEmpty() ? CodeIdle : CodeIdleWithNumber;
        m_statusBar->setCallState(codec, idle);
        if (panel) {
            panel->setCallState(codec, idle);
            setLines(panel, codec, sender, false);
        }
        break;
    }
    case TComAudioConnection::SettingUp:
        m_statusBar->setCallState(codec, CodeInProgress);
        if (panel)
            panel->setCallState(codec, CodeInProgress);
        break;
    default:
        break;
    }
    m_settingsPage->audioConnectionStateChanged(sender);
}

void QVexmarWindow::audioCallStatusChanged(TComAudioConnection *sender)
{
    buildRemainingPages();
    const int codec = codecOf(sender);
    IVexmarStatusPanel *page = callPagePanel(codec);
    const QString remote = latin1ToQString(sender->remoteNumber());
    const auto showRemote = [&] {
        if (!remote.isEmpty())
            page->setCallPanelText(codec, remote, TComDevice::FamilyNone);
    };
    const int status = sender->callStatus();
    if (sender->state() == TComAudioConnection::SettingUp) {
        if (status == TComAudioConnection::StatusRinging) {
            page->setCallText(codec, tr("Incoming call..."));
            page->setCallPanelText(codec, remote, TComDevice::FamilyNone);
        } else if (status == TComAudioConnection::StatusAutoRedial) {
            page->setCallText(codec, tr("Call redial pending..."));
        } else {
            page->setCallText(codec, tr("Call in progress..."));
        }
        m_statusBar->setCallState(codec, CodeInProgress);
    } else if (sender->state() == TComAudioConnection::Connected) {
        int code = CodeEstablished;
        switch (status) {
        case TComAudioConnection::StatusActive:
            if (sender->txCodec().algorithm != -1)
                page->setCodecDescription(codec, codecText(sender->txCodec()));
            page->setCallText(codec, tr("Call in progress (%1)").arg(tr("negociating")));
            page->setCallPanelText(codec, remote, TComDevice::FamilyNone);
            code = CodeInProgress;
            break;
        case TComAudioConnection::StatusNegotiating:
            page->setCallText(codec, tr("Call in progress (%1)").arg(tr("negociating")));
            showRemote();
            code = CodeInProgress;
            break;
        case TComAudioConnection::StatusWaitingForSync:
            page->setCallText(codec, tr("Call in progress (%1)").arg(tr("waiting for sync")));
            showRemote();
            code = CodeInProgress;
            break;
        case TComAudioConnection::StatusInSync:
            page->setCodecDescription(codec, codecText(sender->txCodec()));
            page->setCallText(codec, tr("Call established (%1)").arg(tr("synchronized")));
            showRemote();
            break;
        case TComAudioConnection::StatusSyncLost:
            page->setCallText(codec, tr("Call established (%1)").arg(tr("sync lost")));
            showRemote();
            code = CodeSyncLost;
            break;
        default:
            showRemote();
            break;
        }
        m_statusBar->setCallState(codec, code);
    }

    if (IVexmarStatusPanel *panel = currentPanel()) {
        if (sender->state() == TComAudioConnection::SettingUp) {
            panel->setCallState(codec, CodeInProgress);
        } else if (sender->state() == TComAudioConnection::Connected) {
            const int code = callStateCode(*sender);
            panel->setCallState(codec, code);
            const int previous = sender->previousCallStatus();
            // Sync regained: the line was set up when the call first synchronised.
            if (code == CodeEstablished && previous != TComAudioConnection::StatusInSync
                && previous != TComAudioConnection::StatusSyncLost) {
                panel->setCodecState(codec, getDevice()->lineChannelMode(codec));
                if (connectionNetworkFamily(sender) == TComDevice::FamilyIp)
                    setLines(panel, codec, sender, true);
            }
        }
    }
    m_settingsPage->audioCallStatusChanged(sender);
}

void QVexmarWindow::audioCallStatisticChanged(TComAudioConnection *sender)
{
    buildRemainingPages();
    if (sender->kind() != TComBaseConnection::KindVoiceLine) {
        if (IVexmarStatusPanel *panel = currentPanel())
            setLines(panel, codecOf(sender), sender, true);
    }
    m_settingsPage->audioCallStatisticChanged(sender);
}

void QVexmarWindow::audioCallRelayChanged(TComAudioConnection *sender)
{
    buildRemainingPages();
    if (sender->kind() != TComBaseConnection::KindLine1 || !sender->relayReportKnown())
        return;
    m_mainPage->setInfoActive(0, sender->relay1Out());
    m_mainPage->setInfoActive(1, sender->relay2Out());
}

void QVexmarWindow::connectionAdded(TComBaseConnection *sender)
{
    buildRemainingPages();
    if (sender->kind() != TComBaseConnection::KindDataLink)
        m_settingsPage->connectionAdded();
}

void QVexmarWindow::connectionRemoved(TComBaseConnection *sender)
{
    buildRemainingPages();
    if (sender->kind() == TComBaseConnection::KindDataLink)
        return;
    updateStatusPanel();
    if (!getDevice()->hasAudioConnection())
        m_settingsPage->connectionRemoved();
}

void QVexmarWindow::dataConnectionStateChanged(TComDataConnection *sender)
{
    buildRemainingPages();
    if (sender->networkName() == getDevice()->defaultNetwork())
        updateStatusPanel();
}

void QVexmarWindow::deviceStateChanged(TComDevice::DeviceState state)
{
    buildRemainingPages();
    const TComDevice *device = getDevice();
    switch (state) {
    case TComDevice::ModelReady: {
        const bool voice = device->deviceOptions() & TComDevice::OptMobile;
        m_mainPage->setVoiceVisible(voice);
        m_statusBar->setVoiceIndicatorVisible(voice);
        m_statusBar->setBatteryInfo(device->batteryLevel(), device->batteryStatus(), device->batteryRemaining());
        updateStatusPanel();
        m_keepAliveTimer->start(keepAliveIntervalMs);
        break;
    }
    case TComDevice::RelaysChanged:
        m_mainPage->setContactActive(0, device->relay1().on);
        m_mainPage->setContactActive(1, device->relay2().on);
        break;
    case TComDevice::BatteryChanged:
        m_statusBar->setBatteryInfo(device->batteryLevel(), device->batteryStatus(), device->batteryRemaining());
        break;
    case TComDevice::Aes67ResetStored:
        if ((device->deviceOptions() & TComDevice::OptRavenna) && device->aes67Reset())
            getRavennaController()->reset();
        break;
    default:
        updateStatusPanel();
        break;
    }
}

void QVexmarWindow::remoteNumberChanged(
    QVexmar::CodecIndex index, const QString &value, TComDevice::NetworkFamily networkFamily)
{
    if (networkFamily != TComDevice::FamilyNone) {
        const std::string &key = networkFamily == TComDevice::FamilyVoice ? kra::KEY_REMOTE_VOICE
            : index == QVexmar::Codec2                                    ? kra::KEY_REMOTE_AOIP2
                                                                          : kra::KEY_REMOTE_AOIP1;
        const std::string number = qStringToLatin1(value);
        // A synchronous call refuses every other send while it waits: the number goes out when it ends.
        if (!getCom()->isReady()) {
            m_pendingRemoteNumbers[key] = number;
        } else {
            m_pendingRemoteNumbers.erase(key);
            sendRemoteNumber(key, number);
        }
    }
    updateStatusPanel();
}

bool QVexmarWindow::sendRemoteNumber(const std::string &key, const std::string &value)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_REMOTE_NUMBERS);
    info.setParam(key, value);
    return getCom()->sendMsg(info, remoteNumberTimeoutMs) == 0;
}

void QVexmarWindow::sendPendingRemoteNumbers()
{
    const std::map<std::string, std::string> pending = std::exchange(m_pendingRemoteNumbers, {});
    for (const auto &[key, value] : pending)
        sendRemoteNumber(key, value);
}

void QVexmarWindow::menuItemChanges(QVexmarMenuItem *item, int contextId)
{
    if (!item || !item->page())
        return;
    int codec = 0;
    if (contextId == QVexmar::SettingsCallProfiles1)
        codec = QVexmar::Codec1;
    else if (contextId == QVexmar::SettingsCallProfiles2)
        codec = QVexmar::Codec2;
    else if (contextId == QVexmar::SettingsCallProfilesVoice)
        codec = QVexmar::VoiceCodec;
    else
        return;
    QString text = m_settingsPage->callProfileRemoteNumber;
    if (text.isEmpty())
        return;
    if (codec != QVexmar::VoiceCodec && !m_settingsPage->callProfileRemoteNumber2.isEmpty())
        text += QLatin1Char(',') + m_settingsPage->callProfileRemoteNumber2;
    const TComDevice *device = getDevice();
    if (!device->isReady())
        return;
    if (codec != QVexmar::VoiceCodec && networkTypeOfName(device->defaultNetwork()) == networkCodeNone)
        return;
    const int family = device->lineNetworkFamily(codec);
    IVexmarStatusPanel *page = callPagePanel(codec);
    page->setCallPanelText(codec, text, family);
    page->setCallState(codec, CodeIdleWithNumber);
    m_statusBar->setCallState(codec, CodeIdleWithNumber);
    remoteNumberChanged(QVexmar::CodecIndex(codec), text, TComDevice::NetworkFamily(family));
}
