// The popups of the call page: the dial pad, the number history, the coding of the running call and the choice of
// the network interfaces. Each closing slot checks the line again: a call may have started or ended meanwhile.

#include "pages/vexmaraoipcallpage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/vexmaraccess.h"
#include "pages/callcontrol.h"
#include "pages/vexmaraoipcallpanel.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>
#include <QVariant>

namespace {

constexpr int codingTimeoutMs = 5000;
constexpr int opusAlgorithm = 19;

QString codecLine(const char *direction, const CodecFormat &format)
{
    return QStringLiteral("%1: %2 %3 %4kbit/s")
        .arg(QLatin1String(direction), QVexmarLocalize::algorithmName(format.algorithm),
            QVexmarLocalize::audioModeName(format.channelMode), QString::number(format.bitRate / 1000));
}

QVexmarMenuSelectable *rateRow(QVexmarMenuSelect *popup, int bitRate)
{
    auto *row = new QVexmarMenuSelectable(bitRate);
    row->label->setText(QVexmarAoIPCallPage::tr("%1 kbit/s").arg(bitRate / 1000));
    popup->addSelectable(row);
    return row;
}

} // namespace

void QVexmarAoIPCallPage::dialButtonClicked()
{
    if (!lineFree())
        return;
    auto *popup = new QVexmarVirtual(false, this);
    popup->titleLabel.setText(tr("Dial Number"));
    popup->lineEdit.setText(m_callPanel->text(getDevice()->lineNetworkFamily(codec)));
    popup->placeOver(this);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarAoIPCallPage::dialPopupClosed);
    popup->show();
}

void QVexmarAoIPCallPage::dialPopupClosed()
{
    auto *popup = qobject_cast<QVexmarVirtual *>(sender());
    if (!popup || popup->cancelled || !lineFree())
        return;
    const QString text = popup->lineEdit.text();
    const int family = getDevice()->lineNetworkFamily(codec);
    m_callPanel->setText(text, family);
    m_callPanel->setState(text.isEmpty() ? 1 : 2);
    emit remoteNumberChanged(QVexmar::CodecIndex(codec), text, TComDevice::NetworkFamily(family));
}

void QVexmarAoIPCallPage::historyButtonClicked()
{
    if (!lineFree())
        return;
    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(this);
    fillCallHistory(
        popup, readCallHistory(kra::LIST_ADDR_HISTORY), callPanelText(codec, getDevice()->lineNetworkFamily(codec)));
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarAoIPCallPage::historyPopupClicked);
    popup->show();
}

void QVexmarAoIPCallPage::historyPopupClicked()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    if (!popup || popup->cancelled || !popup->current() || !lineFree())
        return;
    const QString text = popup->current()->label->text();
    const int family = getDevice()->lineNetworkFamily(codec);
    setCallPanelText(codec, text, family);
    setCallState(codec, text.isEmpty() ? 1 : 2);
    emit remoteNumberChanged(QVexmar::CodecIndex(codec), text, TComDevice::NetworkFamily(family));
}

void QVexmarAoIPCallPage::codingButtonClicked()
{
    TComDevice *device = getDevice();
    const TComAudioConnection *call = device->audioConnection(codec);
    if (!call) {
        if (g_accessLevel != 0)
            emit pageActivated(codec == 1 ? QVexmar::SettingsCodec1 : QVexmar::SettingsCodec2);
        return;
    }
    const CodecFormat tx = call->txCodec();
    if (tx.algorithm != opusAlgorithm)
        return;
    if (call->autoBitrate()) {
        emit showMessagePopup(tr("Auto bit rate is active\n\n") + codecLine("Tx", tx) + QLatin1Char('\n')
                + codecLine("Rx", call->rxCodec()),
            0);
        return;
    }
    const int callId = call->id();
    std::vector<int> rates;
    device->getCodecBitrates(device->codecMode(), tx.algorithm, tx.channelMode, tx.sampleRate, rates, networkCodeNone);
    if (rates.empty())
        return;

    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(this);
    popup->setProperty(CallControl::callIdProperty, callId);
    // The call's own rate joins the list in its place when the device does not offer it.
    const int current = tx.bitRate;
    int previous = 0;
    for (const int rate : rates) {
        if (previous < current && current < rate)
            rateRow(popup, current);
        rateRow(popup, rate);
        previous = rate;
    }
    if (current > rates.back())
        rateRow(popup, current);
    popup->setCurrent(popup->findSelectable(current));
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarAoIPCallPage::codingPopupClosed);
    popup->show();
}

void QVexmarAoIPCallPage::codingPopupClosed()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    if (!popup || popup->cancelled || !popup->current())
        return;
    // Only to the call the rates were offered for.
    const TComAudioConnection *call = getDevice()->audioConnection(codec);
    if (!call || call->id() != popup->property(CallControl::callIdProperty).toInt())
        return;
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_SEND_USER_INFO);
    request.setParam(kra::KEY_ID, longToString(call->id()));
    request.setParam(kra::KEY_INFO, kra::INFO_AT_TX_BITRATE + longToString(popup->current()->value) + ";");
    TComRpcAccess(getCom()).execute(request, codingTimeoutMs);
}

void QVexmarAoIPCallPage::netInterfaceButtonClicked()
{
    TComDevice *device = getDevice();
    auto *button = qobject_cast<QVexmarButton *>(sender());
    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(this);
    popup->context = button;
    device->fetchNetworks();
    for (const auto &entry : device->availableNetworks()) {
        if (entry.first == 0)
            continue;
        auto *row = new QVexmarMenuSelectable(entry.first);
        row->label->setText(QVexmarLocalize::networkName(entry.first));
        popup->addSelectable(row);
    }
    if (button && button == m_primary.button) {
        popup->setTitle(tr("Primary Network"));
        popup->setCurrent(popup->findSelectable(networkCodeOfName(device->defaultNetwork())));
    } else if (button && button == m_secondary.button) {
        popup->setTitle(tr("Secondary Network"));
        popup->setCurrent(popup->findSelectable(networkCodeOfName(device->secondaryNetwork())));
    }
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarAoIPCallPage::netInterfacePopupClosed);
    popup->show();
}

void QVexmarAoIPCallPage::netInterfacePopupClosed()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    if (!popup || popup->cancelled || !popup->context || !popup->current())
        return;
    TComDevice *device = getDevice();
    if (device->audioConnection(QVexmar::Codec1) || device->audioConnection(QVexmar::Codec2)) {
        emit showMessagePopup(tr("Cannot apply changes\n(a connection is established)"), 0);
        return;
    }
    emit showMessagePopup(tr("Applying changes..."), 1000);
    const std::string name = networkNameOfCode(popup->current()->value);
    const bool applied = popup->context == m_primary.button ? device->setDefaultNetwork(name, true)
                                                            : device->setSecondaryNetwork(name, true);
    if (!applied)
        emit showMessagePopup(tr("Failed to apply changes!"), 0);
}
