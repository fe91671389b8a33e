// QVexmarSettingsPage: the Status branch: the Status page with one row per network interface and the About values,
// the mobile status pages, the battery page and the AoIP controller page. Nothing here is edited: a page reads the
// device when it is built or refreshed, and a failed read shows what was held before (or what a copy just bound
// holds), never a popup.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingskeys.h"
#include "settings/vexmarsettingsrows.h"

#include <QGridLayout>

#include <iterator>
#include <map>

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
    const QString ssid = latin1ToQString(copy->ssid());
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
        row->setValueText(latin1ToQString(aoip.account1().user()));
    if (QVexmarMenuItem *row = page->findItem(SipUser2Row))
        row->setValueText(latin1ToQString(aoip.account2().user()));
    if (QVexmarMenuItem *row = page->findItem(PublicAddressRow))
        row->setValueText(latin1ToQString(aoip.publicAddr()));
    if (QVexmarMenuItem *row = page->findItem(NatTypeRow))
        row->selectOption(aoip.stunNatType(), true, false);
}
