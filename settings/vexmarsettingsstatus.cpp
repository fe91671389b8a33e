// QVexmarSettingsPage: the Status branch: the Status page with one row per network interface and the About values,
// the mobile status pages, the battery page, the AoIP controller page, the audio connections and the statistics of
// the latest calls. Nothing here is edited: a page reads the device when it is built or refreshed, and a failed
// read shows what was held before (or what a copy just bound holds), never a popup. The connections and statistics
// pages send nothing: they show the model's calls and the reports kept from them.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingskeys.h"
#include "settings/vexmarsettingsrows.h"

#include <QGridLayout>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>

namespace {

enum StatusRow {
    ModeRow = 240,
    Codec1Row = 241,
    Codec2Row = 242,
    ConnectionsRow = 243,
    AoipControllerRow = 263,
    FirstLanRow = 269,
    FirstMobileRow = 273,
    FirstWifiRow = 281,
    BatteryRow = 286,
    SerialRow = 295,
    FirmwareRow = 296,
    AoipVersionRow = 297,
    BuildRow = 298,
};
enum AoipControllerRows {
    ProtocolRow = 264,
    SipUser1Row = 265,
    SipUser2Row = 266,
    PublicAddressRow = 267,
    NatTypeRow = 268,
};
enum MobileStatusRow {
    OperatorRow = 277,
    TechnologyRow = 278,
    SignalRow = 279,
    DataServiceRow = 280,
};
constexpr int firstBatteryValueRow = 287;
enum ConnectionRow {
    CallStateRow = 246,
    CallNetworkRow = 247,
    RemoteAddressRow = 248,
    QualityTitleRow = 249,
    TransmitRow = 250,
    ReceiveRow = 251,
    DetailsRow = 252,
    LatestRow = 253,
};
enum ConnectionGroup { Line1Group = 244, Line2Group = 245 };
enum StatisticsPage { Line1StatisticsPage = 254, Line2StatisticsPage = 255 };
enum StatisticsRow {
    TxDurationRow = 256,
    TxPacketsRow = 257,
    TxJitterRow = 258,
    RxDurationRow = 259,
    RxPacketsRow = 260,
    RxJitterRow = 261,
    RxBufferRow = 262,
};

// Interfaces 0-3 of each kind get a row; the screen has no room for more.
constexpr int interfaceRows = 4;
constexpr int statusTimeoutMs = 5000;
// Texts that are no device value, and every value of the battery page.
const QColor infoGrey(127, 127, 127);

bool inRange(int id, int first, int count)
{
    return id >= first && id < first + count;
}

// Status rows sit at the left margin 10, or 60 under a section's title.
QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left, bool locked)
{
    QVexmarMenuItem *row = settingsrows::newRow(page, id, kind, title);
    if (left == 60)
        settingsrows::indented(row);
    return settingsrows::addLocked(page, row, locked);
}

QVexmarMenuItem *addInfoRow(QVexmarMenuItems *page, int id, const QString &title, const QString &info)
{
    QVexmarMenuItem *row = addRow(page, id, QVexmarMenuItem::SubMenu, title, 10, false);
    row->setValueTextAndColor(info, infoGrey);
    return row;
}

// The row of an interface on the Status page, when the page has it.
QVexmarMenuItem *interfaceRow(QVexmarMenuItems *page, int rowId, int firstRow)
{
    return page && inRange(rowId, firstRow, interfaceRows) ? page->findItem(rowId) : nullptr;
}

// One PARAM of target "general" asking for the names; what the device answered (a value not set is there, empty).
std::map<std::string, std::string> readGeneral(TComRpcAccess *rpc, std::initializer_list<const std::string *> names)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    for (const std::string *name : names)
        request.addGet(*name);
    std::map<std::string, std::string> values, errors;
    rpc->getParams(request, values, errors, statusTimeoutMs);
    return values;
}

} // namespace

// ---- Status page --------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildStatusMenu()
{
    auto *page = new QVexmarMenuItems(StatusEntry, this);
    header->setRefreshVisible(true);
    TComDevice *device = getDevice();
    // A list that cannot be read leaves the model's: the page then shows the interfaces known before.
    device->fetchNetworks();
    const std::map<int, std::string> networks = device->availableNetworks();

    addRow(page, -1, QVexmarMenuItem::Label, tr("Current State"), 10, false);
    QVexmarMenuItem *mode = addRow(page, ModeRow, QVexmarMenuItem::Selection, tr("Mode"), 60, true);
    mode->addOption(0, tr("Single Codec"));
    mode->addOption(1, tr("Double Codec"));
    mode->addOption(2, tr("Single Codec and Mobile Voice Coordination"));
    addRow(page, Codec1Row, QVexmarMenuItem::ReadOnly, tr("Codec 1"), 60, true);
    addRow(page, Codec2Row, QVexmarMenuItem::ReadOnly, tr("Codec 2"), 60, true);
    addInfoRow(page, ConnectionsRow, tr("Audio Connections"), tr("Status of the audio connections"));
    addInfoRow(page, AoipControllerRow, tr("AoIP Controller"), tr("Status of the AoIP controller"));

    const struct
    {
        int type;
        int firstRow;
        int kind;
        bool locked;
    } kinds[] = {{TypeEthernet, FirstLanRow, QVexmarMenuItem::ReadOnly, true},
        {TypeMobile, FirstMobileRow, QVexmarMenuItem::SubMenu, false},
        {TypeWifi, FirstWifiRow, QVexmarMenuItem::ReadOnly, true}};
    for (const auto &kind : kinds) {
        for (int i = 0; i < interfaceRows; ++i) {
            if (networks.count(kind.type + i))
                addRow(
                    page, kind.firstRow + i, kind.kind, QVexmarLocalize::networkName(kind.type + i), 10, kind.locked);
        }
    }
    addRow(page, BatteryRow, QVexmarMenuItem::SubMenu, tr("Battery"), 10, false);

    const std::map<std::string, std::string> about
        = readGeneral(m_rpc.get(), {&settingskeys::KEY_SERIALNO, &kra::KEY_VERSION, &kra::KEY_BUILDDATE});
    // A value not set arrives empty: it is as unknown as one not sent.
    const auto aboutText
        = [](const std::string &text) { return text.empty() ? tr("Not Available") : latin1ToQString(text); };
    const auto aboutValue = [&](const std::string &key) {
        const auto value = about.find(key);
        return aboutText(value == about.end() ? std::string() : value->second);
    };
    addRow(page, -1, QVexmarMenuItem::Label, tr("About"), 10, false);
    addRow(page, SerialRow, QVexmarMenuItem::ReadOnly, tr("Serial Number"), 60, true)
        ->setValueText(aboutValue(settingskeys::KEY_SERIALNO));
    addRow(page, FirmwareRow, QVexmarMenuItem::ReadOnly, tr("Firmware Version"), 60, true)
        ->setValueText(aboutValue(kra::KEY_VERSION));
    addRow(page, AoipVersionRow, QVexmarMenuItem::ReadOnly, tr("AoIP Version"), 60, true)
        ->setValueText(aboutText(device->aoipController().aoipVersion()));
    addRow(page, BuildRow, QVexmarMenuItem::ReadOnly, tr("Software Build"), 60, true)
        ->setValueText(aboutValue(kra::KEY_BUILDDATE));

    updateStatusMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateStatusMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    TComDevice *device = getDevice();
    const bool doubleCodec = device->codecMode() == TComDevice::CodecModeDouble;
    if (QVexmarMenuItem *row = page->findItem(ModeRow))
        row->selectOption(doubleCodec ? 1 : 0, true, false);
    // Both lines run on the default network.
    const QString network = QVexmarLocalize::networkName(networkCodeOfName(device->defaultNetwork()));
    if (QVexmarMenuItem *row = page->findItem(Codec1Row)) {
        row->titleLabel->setText(tr("Codec 1 [ %1 ]").arg(network));
        row->setValueText(QVexmarLocalize::codecDescription(device->lineCodec(1)));
    }
    if (QVexmarMenuItem *row = page->findItem(Codec2Row)) {
        if (doubleCodec) {
            row->titleLabel->setText(tr("Codec 2 [ %1 ]").arg(network));
            row->setValueText(QVexmarLocalize::codecDescription(device->lineCodec(2)));
        } else {
            row->titleLabel->setText(tr("Codec 2"));
            row->setValueText(tr("Not applicable in single codec mode"));
        }
    }
    if (QVexmarMenuItem *row = page->findItem(AoipControllerRow)) {
        TComAoIPController &aoip = device->aoipController();
        aoip.fetch({KEY_AUDIO_MODE});
        row->setValueTextAndColor(tr("Default Protocol is %1").arg(defaultProtocolText(aoip.audioMode())), infoGrey);
    }
    for (int i = 0; i < interfaceRows; ++i)
        updateLanStatusEntry(page, FirstLanRow + i);
    for (int i = 0; i < interfaceRows; ++i)
        updateMobileStatusEntry(page, FirstMobileRow + i);
    for (int i = 0; i < interfaceRows; ++i)
        updateWifiStatusEntry(page, FirstWifiRow + i);

    if (QVexmarMenuItem *row = page->findItem(BatteryRow)) {
        const std::map<std::string, std::string> values = readGeneral(m_rpc.get(), {&kra::KEY_BATTERY_STATUS});
        const auto status = values.find(kra::KEY_BATTERY_STATUS);
        // Not set tells no more than a missing answer.
        const bool detected
            = status != values.end() && !status->second.empty() && status->second != kra::BATTERY_NOT_DETECTED;
        row->setLocked(!detected);
        row->setValueTextAndColor(detected ? tr("Display battery information") : tr("Battery not detected"), infoGrey);
    }
}

// ---- Interface rows and the mobile status pages -------------------------------------------------------------------

void QVexmarSettingsPage::updateLanStatusEntry(QVexmarMenuItems *page, int rowId)
{
    QVexmarMenuItem *row = interfaceRow(page, rowId, FirstLanRow);
    if (!row)
        return;
    TComEthernetController *copy = m_ethernet.get();
    copy->attach(networkNameOfCode(TypeEthernet + rowId - FirstLanRow), 0, false);
    copy->fetch({kra::KEY_MODE, kra::KEY_LOCAL_ADDR, TComEthernetController::KEY_LINK_MODE_NEG});
    row->setValueText(QStringLiteral("%1 [ %2, %3 ]")
                          .arg(latin1ToQString(copy->localAddr()), addressModeText(copy->ipMode()),
                              linkModeText(copy->linkModeNeg())));
}

void QVexmarSettingsPage::updateMobileStatusEntry(QVexmarMenuItems *page, int id)
{
    if (!page)
        return;
    TComMobileController *copy = m_mobile.get();
    if (page->pageId == StatusEntry) {
        QVexmarMenuItem *row = interfaceRow(page, id, FirstMobileRow);
        if (!row)
            return;
        // Binding reads the SIM and registration state; without a usable SIM there is nothing more to ask.
        copy->attach(networkNameOfCode(TypeMobile + id - FirstMobileRow), 0, false);
        switch (copy->state()) {
        case TComMobileController::SimMissing:
            row->setValueTextAndColor(tr("SIM Missing"), infoGrey);
            return;
        case TComMobileController::SimLocked:
            row->setValueTextAndColor(tr("SIM Locked"), infoGrey);
            return;
        case TComMobileController::PinRequired:
            row->setValueTextAndColor(tr("PIN Required"), infoGrey);
            return;
        default:
            break;
        }
        copy->fetch({KEY_MOBILE_OPERATOR_LONG, KEY_MOBILE_TECHNOLOGY});
        if (copy->technology() == TComMobileController::TechnologyUnknown)
            row->setValueTextAndColor(tr("Not Registered on the network"), infoGrey);
        else
            row->setValueTextAndColor(
                tr("Current network is %1 [ %2 ]")
                    .arg(radioAccessTechnologyText(copy->technology()), latin1ToQString(copy->operatorLong())),
                infoGrey);
        return;
    }
    if (!inRange(page->pageId, FirstMobileRow, interfaceRows))
        return;
    copy->attach(networkNameOfCode(TypeMobile + page->pageId - FirstMobileRow), 0, false);
    copy->fetch({KEY_MOBILE_OPERATOR_LONG, KEY_MOBILE_TECHNOLOGY, KEY_MOBILE_SIGNAL_QUALITY_DBM,
        KEY_MOBILE_DATA_CONNECTION_STATE});
    if (QVexmarMenuItem *row = page->findItem(TechnologyRow))
        row->setValueText(radioAccessTechnologyText(copy->technology()));
    if (QVexmarMenuItem *row = page->findItem(OperatorRow))
        row->setValueText(latin1ToQString(copy->operatorLong()));
    if (QVexmarMenuItem *row = page->findItem(SignalRow))
        row->setValueText(QStringLiteral("%1 dBm").arg(copy->signalQuality()));
    if (QVexmarMenuItem *row = page->findItem(DataServiceRow))
        row->setValueText(dataServiceStateText(copy->dataConnectionState()));
}

void QVexmarSettingsPage::updateWifiStatusEntry(QVexmarMenuItems *page, int rowId)
{
    QVexmarMenuItem *row = interfaceRow(page, rowId, FirstWifiRow);
    if (!row)
        return;
    using Wifi = TComWifiController;
    Wifi *copy = m_wifi.get();
    copy->attach(networkNameOfCode(TypeWifi + rowId - FirstWifiRow), 0, false);
    copy->fetch({Wifi::KEY_SSID, Wifi::KEY_SIGNAL_QUALITY_DBM, kra::KEY_LOCAL_ADDR, Wifi::KEY_DATA_CONNECTION,
        Wifi::KEY_DATA_CONNECTION_STATE});
    const QString ssid = utf8ToQString(copy->ssid());
    const QString state = networkStateText(copy->dataConnectionState());
    const QString signal = QString::number(copy->signal());
    if (ssid.isEmpty())
        row->setValueText(tr("No network configured"));
    else if (!copy->dataConnection())
        row->setValueText(QStringLiteral("%1 [ %2 ]").arg(ssid, state));
    else if (!copy->localAddr().empty())
        row->setValueText(QStringLiteral("%1 [ %2, %3 dBm ]").arg(ssid, latin1ToQString(copy->localAddr()), signal));
    else
        row->setValueText(QStringLiteral("%1 [ %2, %3 dBm ]").arg(ssid, state, signal));
}

void QVexmarSettingsPage::buildMobileStatusMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    header->setRefreshVisible(true);
    addRow(page, TechnologyRow, QVexmarMenuItem::ReadOnly, tr("Radio Access Technology"), 10, true);
    addRow(page, OperatorRow, QVexmarMenuItem::ReadOnly, tr("Operator"), 10, true);
    addRow(page, SignalRow, QVexmarMenuItem::ReadOnly, tr("Signal Strength"), 10, true);
    addRow(page, DataServiceRow, QVexmarMenuItem::ReadOnly, tr("Data Service"), 10, true);
    updateMobileStatusEntry(page, pageId);
    pushItems(page);
}

// ---- Battery page -------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildBatteryMenu()
{
    auto *page = new QVexmarMenuItems(BatteryRow, this);
    header->setRefreshVisible(false);
    const auto &keys = settingskeys::BATTERY_KEYS;
    const std::map<std::string, std::string> values
        = readGeneral(m_rpc.get(), {&keys[0], &keys[1], &keys[2], &keys[3], &keys[4], &keys[5], &keys[6], &keys[7]});
    // The units are the device's, appended as they are.
    static const struct
    {
        const char *title;
        const char *unit;
    } rows[] = {{QT_TR_NOOP("Manufacturer"), ""}, {QT_TR_NOOP("Model"), ""}, {QT_TR_NOOP("S/N"), ""},
        {QT_TR_NOOP("Voltage"), "V"}, {QT_TR_NOOP("Current"), "A"}, {QT_TR_NOOP("Charge Cycles"), ""},
        {QT_TR_NOOP("Temperature"), "\u00b0C"}, {QT_TR_NOOP("LPC824 Version"), ""}};
    static_assert(std::size(rows) == std::size(settingskeys::BATTERY_KEYS));
    for (size_t i = 0; i < std::size(rows); ++i) {
        QVexmarMenuItem *row
            = addRow(page, firstBatteryValueRow + int(i), QVexmarMenuItem::ReadOnly, tr(rows[i].title), 10, false);
        const auto value = values.find(keys[i]);
        // Answered, even as not set, is final; a name the request did not get stays open.
        row->setLocked(value != values.end());
        row->setValueTextAndColor(value == values.end() || value->second.empty()
                ? tr("Not available")
                : latin1ToQString(value->second) + QString::fromUtf8(rows[i].unit),
            infoGrey);
    }
    pushItems(page);
}

// ---- AoIP controller page -----------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildAoipControllerMenu()
{
    auto *page = new QVexmarMenuItems(AoipControllerRow, this);
    header->setRefreshVisible(true);
    QVexmarMenuItem *protocol = addRow(page, ProtocolRow, QVexmarMenuItem::Selection, tr("Default Protocol"), 10, true);
    // Multicast has an option of its own, or it would read as SIP.
    for (int mode :
        {TComAoIPController::AudioModeSip, TComAoIPController::AudioModeRtp, TComAoIPController::AudioModeMulticast})
        protocol->addOption(mode, defaultProtocolText(mode));
    addRow(page, SipUser1Row, QVexmarMenuItem::ReadOnly, tr("SIP User 1"), 10, true);
    addRow(page, SipUser2Row, QVexmarMenuItem::ReadOnly, tr("SIP User 2"), 10, true);
    addRow(page, PublicAddressRow, QVexmarMenuItem::ReadOnly, tr("Public IP"), 10, true);
    QVexmarMenuItem *nat = addRow(page, NatTypeRow, QVexmarMenuItem::Selection, tr("NAT Type"), 10, true);
    for (int type = TComAoIPController::NatUnknown; type <= TComAoIPController::NatPortRestricted; ++type)
        nat->addOption(type, natTypeText(type));
    updateAoipControllerMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateAoipControllerMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    TComAoIPController &aoip = getDevice()->aoipController();
    aoip.fetch({KEY_AUDIO_MODE, kra::KEY_STUN_NAT_TYPE, kra::KEY_PUBLIC_ADDR, KEY_SIP_USER, KEY_SIP_USER2});
    if (QVexmarMenuItem *row = page->findItem(ProtocolRow))
        row->selectOption(aoip.audioMode(), true, false);
    if (QVexmarMenuItem *row = page->findItem(SipUser1Row))
        row->setValueText(utf8ToQString(aoip.account1().user()));
    if (QVexmarMenuItem *row = page->findItem(SipUser2Row))
        row->setValueText(utf8ToQString(aoip.account2().user()));
    if (QVexmarMenuItem *row = page->findItem(PublicAddressRow))
        row->setValueText(utf8ToQString(aoip.publicAddr()));
    if (QVexmarMenuItem *row = page->findItem(NatTypeRow))
        row->selectOption(aoip.stunNatType(), true, false);
}

// ---- Audio connections page --------------------------------------------------------------------------------------

namespace {

QVexmarMenuItem *connectionRow(QVexmarMenuItems *page, int id, int group)
{
    return page->findItemInGroup(id, group);
}

// Shown or hidden only when it changes: a row of a page not shown yet is never visible, so ask whether it is hidden.
void showRow(QVexmarMenuItems *page, int id, int group, bool shown)
{
    QVexmarMenuItem *row = connectionRow(page, id, group);
    if (row && row->isHidden() == shown)
        row->setVisible(shown);
}

void setRowText(QVexmarMenuItems *page, int id, int group, const QString &text)
{
    if (QVexmarMenuItem *row = connectionRow(page, id, group))
        row->setValueText(text);
}

// The block of a line without a call in progress: its network alone, and the way to the latest statistics.
void showNoCall(QVexmarMenuItems *page, int group, const QString &network)
{
    setRowText(page, CallNetworkRow, group, network);
    for (int id : {RemoteAddressRow, TransmitRow, ReceiveRow})
        setRowText(page, id, group, QString());
    for (int id : {RemoteAddressRow, QualityTitleRow, TransmitRow, ReceiveRow, DetailsRow})
        showRow(page, id, group, false);
    showRow(page, LatestRow, group, true);
}

// "%1%", or "%1% / %2%" when a second stream has reported (second >= 0).
QString qualityText(int first, int second)
{
    if (second < 0)
        return QStringLiteral("%1%").arg(first);
    return QStringLiteral("%1% / %2%").arg(first).arg(second);
}

QString networkDisplayName(const std::string &name)
{
    return QVexmarLocalize::networkName(networkCodeOfName(name));
}

} // namespace

void QVexmarSettingsPage::buildAudioConnectionsMenu()
{
    auto *page = new QVexmarMenuItems(ConnectionsRow, this);
    header->setRefreshVisible(true);
    const struct
    {
        int id;
        int kind;
        const char *title;
        int left;
        bool locked;
        bool shown;
    } rows[] = {{CallStateRow, QVexmarMenuItem::ReadOnly, QT_TR_NOOP("State"), 60, true, true},
        {CallNetworkRow, QVexmarMenuItem::ReadOnly, QT_TR_NOOP("Network"), 60, true, true},
        {RemoteAddressRow, QVexmarMenuItem::ReadOnly, QT_TR_NOOP("Remote Address"), 60, true, false},
        {QualityTitleRow, QVexmarMenuItem::Label, QT_TR_NOOP("Quality"), 60, false, false},
        {TransmitRow, QVexmarMenuItem::ReadOnly, QT_TR_NOOP("Transmission"), 120, true, false},
        {ReceiveRow, QVexmarMenuItem::ReadOnly, QT_TR_NOOP("Reception"), 120, true, false},
        {DetailsRow, QVexmarMenuItem::SubMenu, QT_TR_NOOP("Detailed Statistics"), 120, false, false},
        {LatestRow, QVexmarMenuItem::SubMenu, QT_TR_NOOP("Latest AoIP Statistics"), 60, false, true}};
    for (int line = 1; line <= 2; ++line) {
        const int group = line == 1 ? Line1Group : Line2Group;
        QVexmarMenuItem *heading = addRow(page, -1, QVexmarMenuItem::Label, tr("Connection %1").arg(line), 10, false);
        if (line == 2)
            heading->layout->setContentsMargins(10, 10, 10, 0);
        for (const auto &spec : rows) {
            auto *row = new QVexmarMenuItem(spec.id, group, spec.kind, page);
            row->layout->setContentsMargins(spec.left, 0, 10, 0);
            row->titleLabel->setText(tr(spec.title));
            row->setLocked(spec.locked);
            if (spec.id == DetailsRow)
                row->setValueTextAndColor(tr("Show detailed statistics"), infoGrey);
            else if (spec.id == LatestRow)
                row->setValueTextAndColor(tr("Show detailed statistics of latest AoIP call"), infoGrey);
            if (!spec.shown)
                row->setVisible(false);
            page->addItem(row);
        }
    }
    updateConnectionEntries(page, 1);
    updateConnectionEntries(page, 2);
    pushItems(page);
}

void QVexmarSettingsPage::updateConnectionEntries(QVexmarMenuItems *page, int line)
{
    if (!page)
        return;
    line = line == 1 ? 1 : 2;
    const TComDevice *device = getDevice();
    if (TComAudioConnection *call = device->audioConnection(line)) {
        updateConnectionStatus(page, call);
        return;
    }
    const int group = line == 1 ? Line1Group : Line2Group;
    if (QVexmarMenuItem *row = connectionRow(page, CallStateRow, group))
        row->setValueTextAndColor(tr("Idle"), infoGrey);
    showNoCall(page, group, networkDisplayName(device->defaultNetwork()));
}

void QVexmarSettingsPage::updateConnectionStatus(QVexmarMenuItems *page, TComAudioConnection *connection)
{
    // A call of the voice line has no block here: it must not show as codec line 2.
    if (!page || !connection
        || (connection->kind() != TComBaseConnection::KindLine1 && connection->kind() != TComBaseConnection::KindLine2))
        return;
    const int group = connection->kind() == TComBaseConnection::KindLine1 ? Line1Group : Line2Group;
    const int status = connection->callStatus();
    using Call = TComAudioConnection;
    const QColor yellow(Qt::yellow);
    QString state;
    QColor colour = yellow;
    switch (status) {
    case Call::StatusOutgoing:
    case Call::StatusAccepted:
    case Call::StatusProceeding:
        state = tr("Call in progress...");
        break;
    case Call::StatusAutoRedial:
        state = tr("Call redial pending...");
        break;
    case Call::StatusRinging:
        state = tr("Incoming call...");
        break;
    case Call::StatusActive:
    case Call::StatusNegotiating:
        state = tr("Call in progress (%1)").arg(tr("negociating"));
        break;
    case Call::StatusWaitingForSync:
        state = tr("Call in progress (%1)").arg(tr("waiting for sync"));
        break;
    case Call::StatusInSync:
        state = tr("Call established (%1)").arg(tr("synchronized"));
        colour = QColor(Qt::red);
        break;
    case Call::StatusSyncLost:
        state = tr("Call established (%1)").arg(tr("sync lost"));
        colour = QColor(240, 101, 101);
        break;
    case Call::StatusDisconnected:
        state = tr("Releasing call...");
        colour = QColor(234, 177, 102);
        break;
    default:
        state = tr("Call released");
        colour = infoGrey;
        break;
    }
    if (QVexmarMenuItem *row = connectionRow(page, CallStateRow, group))
        row->setValueTextAndColor(state, colour);

    const QString network = networkDisplayName(connection->networkName());
    if (status < Call::StatusOutgoing || status > Call::StatusDisconnected) {
        showNoCall(page, group, network);
        return;
    }
    const CodecFormat &codec = connection->txCodec();
    setRowText(page, CallNetworkRow, group,
        codec.algorithm == -1 ? network : network + QLatin1Char('\n') + QVexmarLocalize::codecDescription(codec));
    showRow(page, RemoteAddressRow, group, true);
    setRowText(page, RemoteAddressRow, group, latin1ToQString(connection->remoteAddress(1)));
    showRow(page, LatestRow, group, false);
    // Only IP calls report their quality; the rows keep what they showed.
    if (connectionNetworkFamily(connection) != TComDevice::FamilyIp)
        return;
    const int transmit = connection->txReport(0).netQuality;
    const int receive = connection->rxReport(0).netQuality;
    if (transmit < 0 && receive < 0)
        return;
    showRow(page, QualityTitleRow, group, true);
    const bool twoStreams = connection->streamAddresses();
    if (transmit >= 0) {
        showRow(page, TransmitRow, group, true);
        setRowText(
            page, TransmitRow, group, qualityText(transmit, twoStreams ? connection->txReport(1).netQuality : -1));
    }
    if (receive >= 0) {
        showRow(page, ReceiveRow, group, true);
        setRowText(page, ReceiveRow, group, qualityText(receive, twoStreams ? connection->rxReport(1).netQuality : -1));
    }
    showRow(page, DetailsRow, group, true);
}

void QVexmarSettingsPage::audioCallStatusChanged(TComAudioConnection *connection)
{
    QVexmarMenuItems *page = currentItems();
    if (page && page->pageId == ConnectionsRow)
        updateConnectionStatus(page, connection);
}

void QVexmarSettingsPage::audioCallStatisticChanged(TComAudioConnection *connection)
{
    if (!connection)
        return;
    const int kind = connection->kind();
    if (kind == TComBaseConnection::KindLine1 || kind == TComBaseConnection::KindLine2) {
        // Index stream * 2 + line - 1; kept until the line's next report, whatever becomes of the call.
        for (int stream = 0; stream < 2; ++stream) {
            latestRxStatistics[stream * 2 + kind] = connection->rxReport(stream);
            latestTxStatistics[stream * 2 + kind] = connection->txReport(stream);
        }
    }
    QVexmarMenuItems *page = currentItems();
    if (!page)
        return;
    if (page->pageId == ConnectionsRow)
        updateConnectionStatus(page, connection);
    else if (page->pageId == Line1StatisticsPage || page->pageId == Line2StatisticsPage)
        updateStatisticsMenu(page);
}

// ---- Statistics pages ---------------------------------------------------------------------------------------------

namespace {

// A negative count of seconds is no duration the device can mean: it reads as none.
QString durationText(int seconds)
{
    std::string text;
    formatDuration(std::uint64_t(std::max(seconds, 0)), text);
    return QString::fromLatin1(text.c_str(), int(text.size()));
}

// Lost over sent, or over received and lost; 0 where that has no meaning.
QString lossText(int lost, int total, bool receive)
{
    const qint64 over = receive ? qint64(total) + lost : qint64(total);
    const double loss = total > 0 && over > 0 ? double(lost) * 100.0 / double(over) : 0.0;
    return QString::number(loss, 'f', 2);
}

QString txPacketsText(const TComAudioConnection::TxReport &report)
{
    return QVexmarSettingsPage::tr("Total: %1, Lost: %2 (%3%)")
        .arg(QString::number(report.pktsTotal), QString::number(report.pktsLost),
            lossText(report.pktsLost, report.pktsTotal, false));
}

QString rxPacketsText(const TComAudioConnection::RxReport &report)
{
    return QVexmarSettingsPage::tr("Total: %1, Lost: %2 (%3%)\nDiscarded: %4, Duplicated: %5, Reordered: %6")
        .arg(QString::number(report.pktsTotal), QString::number(report.pktsLost),
            lossText(report.pktsLost, report.pktsTotal, true), QString::number(report.pktsDiscarded),
            QString::number(report.pktsDuplicated), QString::number(report.pktsReorderd));
}

template<class Report>
QString jitterText(const Report &report)
{
    return QVexmarSettingsPage::tr("Average: %1 ms, Maximum: %2 ms").arg(report.jtrAvg).arg(report.jtrMax);
}

// Stream 1's text, and stream 2's on a line of its own when it is shown.
QString streamsText(const QString &first, const QString &second, bool secondShown)
{
    return secondShown ? first + QLatin1Char('\n') + second : first;
}

} // namespace

void QVexmarSettingsPage::buildStatisticsMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    header->setRefreshVisible(false);
    const std::pair<int, const char *> rows[] = {{TxDurationRow, QT_TR_NOOP("Tx Duration")},
        {TxPacketsRow, QT_TR_NOOP("Tx Packets")}, {TxJitterRow, QT_TR_NOOP("Tx Jitter")},
        {RxDurationRow, QT_TR_NOOP("Rx Duration")}, {RxPacketsRow, QT_TR_NOOP("Rx Packets")},
        {RxJitterRow, QT_TR_NOOP("Rx Jitter")}, {RxBufferRow, QT_TR_NOOP("Rx Buffer")}};
    for (const auto &[id, title] : rows)
        addRow(page, id, QVexmarMenuItem::ReadOnly, tr(title), 10, true);
    updateStatisticsMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateStatisticsMenu(QVexmarMenuItems *page)
{
    if (!page || (page->pageId != Line1StatisticsPage && page->pageId != Line2StatisticsPage))
        return;
    const int line = page->pageId == Line1StatisticsPage ? 0 : 1;
    const TComAudioConnection::TxReport &tx1 = latestTxStatistics[line];
    const TComAudioConnection::TxReport &tx2 = latestTxStatistics[2 + line];
    const TComAudioConnection::RxReport &rx1 = latestRxStatistics[line];
    const TComAudioConnection::RxReport &rx2 = latestRxStatistics[2 + line];
    // A second stream counts once it has reported; a receive quality of 0 is no reception.
    const bool tx2Shown = tx2.netQuality >= 0;
    const bool rx2Shown = rx2.netQuality > 0;
    QString buffer = tr("Latency: %1 ms").arg(rx1.jbCurr);
    if (rx1.jbMark > 0)
        buffer += tr(", Initial: %1 ms").arg(rx1.jbMark);
    const std::pair<int, QString> texts[]
        = {{TxDurationRow, streamsText(durationText(tx1.duration), durationText(tx2.duration), tx2Shown)},
            {TxPacketsRow, streamsText(txPacketsText(tx1), txPacketsText(tx2), tx2Shown)},
            {TxJitterRow, streamsText(jitterText(tx1), jitterText(tx2), tx2Shown)},
            {RxDurationRow, streamsText(durationText(rx1.duration), durationText(rx2.duration), rx2Shown)},
            {RxPacketsRow, streamsText(rxPacketsText(rx1), rxPacketsText(rx2), rx2Shown)},
            {RxJitterRow, streamsText(jitterText(rx1), jitterText(rx2), rx2Shown)}, {RxBufferRow, buffer}};
    for (const auto &[id, text] : texts) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->setValueText(text);
    }
}
