// QVexmarSettingsPage: the Ethernet, ISDN and Wi-Fi pages of the Network branch. Each is built from the page's
// editing copy of the interface's controller, marks itself modified by its change test and is applied as a whole.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcomisdncontroller.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/tcomdevice.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>

#include <algorithm>

namespace {

enum EthernetRow {
    DhcpRow = 24,
    AddressRow = 25,
    SubnetRow = 26,
    GatewayRow = 27,
    Dns1Row = 28,
    Dns2Row = 29,
    LinkModeRow = 30,
    EthernetQualityRow = 31,
    MacRow = 32,
    EthernetAjbRow = 33,
};
enum IsdnRow {
    FiveAsRow = 34,
    ProtocolRow = 35,
    Number1Row = 36,
    Number2Row = 37,
    Subaddress1Row = 38,
    Subaddress2Row = 39,
    SpidRow = 40,
};
enum WifiRow {
    ScanRow = 59,
    ConnectionRow = 60,
    NetworkListRow = 61,
    SsidRow = 62,
    SecurityRow = 63,
    PassphraseRow = 64,
    WifiQualityRow = 65,
    WifiAjbRow = 66,
};

// Far more names than a scan finds; a longer list from the device would only make the choice unusable.
constexpr int maxWifiNetworks = 256;

using namespace settingsrows;
using Ethernet = TComEthernetController;
using Wifi = TComWifiController;

} // namespace

// ---- Ethernet ----------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildEthernetMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    const std::string name = networkNameOfCode(TypeEthernet + pageId - 12);
    Ethernet *copy = m_ethernet.get();
    copy->attach(name, 3, false);
    const bool notAttached = copy->state() == TComController::NotRead;
    const bool manual = copy->ipMode() == Ethernet::Manual;
    const bool addressLock = notAttached || !manual;

    addSwitch(page, DhcpRow, tr("DHCP"), !manual, notAttached);
    addText(page, AddressRow, QVexmarMenuItem::Numeric, tr("IP Address"), copy->localAddr(), addressLock);
    addText(page, SubnetRow, QVexmarMenuItem::Numeric, tr("Subnet Mask"), copy->subnet(), addressLock);
    addText(page, GatewayRow, QVexmarMenuItem::Numeric, tr("Default Gateway"), copy->gateway(), addressLock);
    addText(page, Dns1Row, QVexmarMenuItem::Numeric, tr("Preferred DNS"), copy->dns1(), addressLock);
    addText(page, Dns2Row, QVexmarMenuItem::Numeric, tr("Auxiliary DNS"), copy->dns2(), addressLock);

    const int linkMode = copy->linkMode();
    if (linkMode == Ethernet::LinkModeUnknown) {
        addChoice(page, LinkModeRow, tr("Link Mode"), {{-1, tr("Unknown")}}, -1, true);
    } else {
        QVexmarMenuItem *row = newChoice(page, LinkModeRow, tr("Link Mode"),
            {{Ethernet::AutoNegotiation, tr("Auto Negotiation")}, {Ethernet::Link100BaseTFd, tr("100BaseT-FD")},
                {Ethernet::Link100BaseTHd, tr("100BaseT-HD")}, {Ethernet::Link10BaseTFd, tr("10BaseT-FD")},
                {Ethernet::Link10BaseTHd, tr("10BaseT-HD")}});
        // Only the main interface's link is set here; the others follow it.
        addLocked(page, row, notAttached || name != networkNameOfCode(TypeEthernet));
        // A mode the page does not offer shows as it is, with no option current, so an apply keeps it.
        showHeldOption(row, linkMode, linkModeText(linkMode));
    }
    addStreamRow(page, EthernetQualityRow, EthernetAjbRow, copy->networkQuality(), copy->ajbProfile(), notAttached);
    addText(page, MacRow, QVexmarMenuItem::Numeric, tr("MAC Address"), copy->hwAddr(), true);
    pushItems(page);
}

void QVexmarSettingsPage::updateEthernetMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    const Ethernet *copy = m_ethernet.get();
    const bool notLoaded = copy->state() == TComController::NotRead;
    const bool manual = copy->ipMode() == Ethernet::Manual;
    if (QVexmarMenuItem *row = page->findItem(DhcpRow)) {
        row->setChecked(!manual);
        row->setLocked(notLoaded);
    }
    const std::pair<int, const std::string *> addresses[]
        = {{AddressRow, &copy->localAddr()}, {SubnetRow, &copy->subnet()}, {GatewayRow, &copy->gateway()},
            {Dns1Row, &copy->dns1()}, {Dns2Row, &copy->dns2()}};
    for (const auto &[id, value] : addresses) {
        if (QVexmarMenuItem *row = page->findItem(id)) {
            row->setValueText(latin1ToQString(*value), false);
            row->setLocked(notLoaded || !manual);
        }
    }
    const std::pair<int, int> choices[] = {{LinkModeRow, copy->linkMode()},
        {EthernetQualityRow, copy->networkQuality()}, {EthernetAjbRow, copy->ajbProfile()}};
    for (const auto &[id, value] : choices) {
        QVexmarMenuItem *row = page->findItem(id);
        if (!row)
            continue;
        row->setLocked(notLoaded || row->options().size() < 2);
        if (id == LinkModeRow)
            showHeldOption(row, value, linkModeText(value));
        else
            row->selectOption(value, true, false);
    }
    // The rows now show the copy: what was edited is gone, and so is the mark.
    markChanges(page, &QVexmarSettingsPage::hasEthernetChanges);
}

bool QVexmarSettingsPage::hasEthernetChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const Ethernet *copy = m_ethernet.get();
    const bool copyManual = copy->ipMode() == Ethernet::Manual;
    bool changed = false;
    // DHCP on stands for every mode but manual: a pppoe or bgan link is no change until the switch is turned.
    if (QVexmarMenuItem *dhcp = openRow(page, DhcpRow)) {
        const bool manual = !isOn(dhcp);
        changed = manual != copyManual;
        if (manual) {
            changed = textDiffers(page, AddressRow, copy->localAddr()) || changed;
            changed = textDiffers(page, SubnetRow, copy->subnet()) || changed;
            changed = textDiffers(page, GatewayRow, copy->gateway()) || changed;
            changed = textDiffers(page, Dns1Row, copy->dns1()) || changed;
            changed = textDiffers(page, Dns2Row, copy->dns2()) || changed;
        }
    }
    changed = choiceDiffers(page, LinkModeRow, copy->linkMode()) || changed;
    changed = choiceDiffers(page, EthernetQualityRow, copy->networkQuality()) || changed;
    changed = choiceDiffers(page, EthernetAjbRow, copy->ajbProfile()) || changed;
    return changed;
}

bool QVexmarSettingsPage::applyEthernetChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Ethernet *copy = m_ethernet.get();
    Edits edits;
    QVexmarMenuItem *dhcp = openRow(page, DhcpRow);
    const bool manual = dhcp && !isOn(dhcp);
    // Only the user's switch writes the mode: DHCP on leaves a pppoe, bgan or unknown mode as it is.
    const bool modeChanged = dhcp && manual != (copy->ipMode() == Ethernet::Manual);
    struct Address
    {
        int row;
        const std::string &held;
        bool (Ethernet::*setter)(const std::string &, bool);
        const std::string &key;
        bool mayBeEmpty;
    };
    const Address addresses[] = {{AddressRow, copy->localAddr(), &Ethernet::setLocalAddr, kra::KEY_LOCAL_ADDR, false},
        {SubnetRow, copy->subnet(), &Ethernet::setSubnet, Ethernet::KEY_SUBNET, false},
        {GatewayRow, copy->gateway(), &Ethernet::setGateway, Ethernet::KEY_GATEWAY, true},
        {Dns1Row, copy->dns1(), &Ethernet::setDns1, Ethernet::KEY_DNS1, true},
        {Dns2Row, copy->dns2(), &Ethernet::setDns2, Ethernet::KEY_DNS2, true}};
    std::vector<std::pair<const Address *, std::string>> stored;
    if (manual) {
        for (const Address &address : addresses) {
            QVexmarMenuItem *row = openRow(page, address.row);
            if (!row)
                continue;
            const std::string text = latin1Of(row);
            if (!modeChanged && text == address.held)
                continue;
            // The device takes any text and may then be out of reach: refuse it before anything is sent.
            if (!(isIpv4(text) || (address.mayBeEmpty && text.empty()))) {
                showMessagePopup(tr("Failed to apply changes!"), 0);
                return false;
            }
            stored.emplace_back(&address, text);
        }
    }
    if (modeChanged)
        edits.change(
            kra::KEY_MODE, copy, &Ethernet::setIpMode, copy->ipMode(), manual ? Ethernet::Manual : Ethernet::Dhcp);
    for (const auto &[address, text] : stored)
        edits.change(address->key, copy, address->setter, address->held, text);
    int value = 0;
    if (chosenValue(page, LinkModeRow, value) && value != copy->linkMode())
        edits.change(
            Ethernet::KEY_LINK_MODE, copy, &Ethernet::setLinkMode, copy->linkMode(), Ethernet::LinkMode(value));
    if (chosenValue(page, EthernetQualityRow, value) && value != copy->networkQuality())
        edits.change(KEY_NETWORK_QUALITY, copy, &Ethernet::setNetworkQuality, copy->networkQuality(), value);
    if (chosenValue(page, EthernetAjbRow, value) && value != copy->ajbProfile())
        edits.change(KEY_AJB_PROFILE, copy, &Ethernet::setAjbProfile, copy->ajbProfile(), value);
    return storeEdits(this, copy, edits);
}

// ---- ISDN --------------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildIsdnMenu()
{
    auto *page = new QVexmarMenuItems(11, this);
    TComIsdnController *copy = m_isdn.get();
    copy->attach(networkNameOfCode(TypeIsdn), 3, false);
    const bool notAttached = copy->state() == TComController::NotRead;
    const bool national = copy->protocol() == TComIsdnController::NationalIsdn;
    const bool numberLock = notAttached || national;
    const int numeric = QVexmarMenuItem::Numeric;

    addSwitch(page, FiveAsRow, tr("5AS"), copy->is5as(), notAttached);
    addChoice(page, ProtocolRow, tr("Protocol"),
        {{TComIsdnController::EuroIsdn, tr("Euro ISDN")}, {TComIsdnController::NationalIsdn, tr("NI-1 / NI-2")},
            {TComIsdnController::Ntt, tr("NTT")}},
        copy->protocol(), notAttached);
    addText(page, Number1Row, numeric, tr("Local Number 1"), copy->addrSb0Ch0(), numberLock);
    addText(page, Number2Row, numeric, tr("Local Number 2"), copy->addrSb0Ch1(), numberLock);
    addText(page, Subaddress1Row, numeric, tr("Sub-Address 1"), copy->subaddrSb0Ch0(), numberLock);
    addText(page, Subaddress2Row, numeric, tr("Sub-Address 2"), copy->subaddrSb0Ch1(), numberLock);
    addText(page, SpidRow, numeric, tr("SPID"), copy->spid(), notAttached || !national);
    pushItems(page);
}

bool QVexmarSettingsPage::hasIsdnChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const TComIsdnController *copy = m_isdn.get();
    bool changed = switchDiffers(page, FiveAsRow, copy->is5as());
    changed = choiceDiffers(page, ProtocolRow, copy->protocol()) || changed;
    changed = textDiffers(page, Number1Row, copy->addrSb0Ch0()) || changed;
    changed = textDiffers(page, Number2Row, copy->addrSb0Ch1()) || changed;
    changed = textDiffers(page, Subaddress1Row, copy->subaddrSb0Ch0()) || changed;
    changed = textDiffers(page, Subaddress2Row, copy->subaddrSb0Ch1()) || changed;
    changed = textDiffers(page, SpidRow, copy->spid()) || changed;
    return changed;
}

bool QVexmarSettingsPage::applyIsdnChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    using Isdn = TComIsdnController;
    Isdn *copy = m_isdn.get();
    const struct
    {
        int row;
        const std::string &held;
        bool (Isdn::*setter)(const std::string &, bool);
        const std::string &key;
    } texts[] = {{Number1Row, copy->addrSb0Ch0(), &Isdn::setAddrSb0Ch0, KEY_ISDN_ADDR_SB0_CH0},
        {Number2Row, copy->addrSb0Ch1(), &Isdn::setAddrSb0Ch1, KEY_ISDN_ADDR_SB0_CH1},
        {Subaddress1Row, copy->subaddrSb0Ch0(), &Isdn::setSubaddrSb0Ch0, KEY_ISDN_SUBADDR_SB0_CH0},
        {Subaddress2Row, copy->subaddrSb0Ch1(), &Isdn::setSubaddrSb0Ch1, KEY_ISDN_SUBADDR_SB0_CH1},
        {SpidRow, copy->spid(), &Isdn::setSpid, KEY_ISDN_SPID}};
    for (const auto &text : texts) {
        QVexmarMenuItem *row = openRow(page, text.row);
        if (row && !fitsLatin1(row)) {
            showMessagePopup(tr("Failed to apply changes!"), 0);
            return false;
        }
    }
    Edits edits;
    if (QVexmarMenuItem *row = openRow(page, FiveAsRow); row && isOn(row) != copy->is5as())
        edits.change(KEY_ISDN_5AS, copy, &Isdn::set5as, copy->is5as(), isOn(row));
    int value = 0;
    if (chosenValue(page, ProtocolRow, value) && value != copy->protocol())
        edits.change(KEY_ISDN_PROTOCOL, copy, &Isdn::setProtocol, copy->protocol(), Isdn::Protocol(value));
    for (const auto &text : texts) {
        if (textDiffers(page, text.row, text.held))
            edits.change(text.key, copy, text.setter, text.held, latin1Of(page->findItem(text.row)));
    }
    return storeEdits(this, copy, edits);
}

// ---- Wi-Fi -------------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildWifiMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    const std::string name = networkNameOfCode(TypeWifi + pageId - 20);
    Wifi *copy = m_wifi.get();
    copy->attach(name, 3, false);
    const bool notAttached = copy->state() == TComController::NotRead;
    const bool wifiLock = notAttached || copy->dataConnection();

    addSwitch(page, ScanRow, tr("Scan Active"), copy->scan(), wifiLock);
    addSwitch(page, ConnectionRow, tr("Connection Active"), copy->dataConnection(), notAttached || !copy->scan());

    // The one copy serves every Wi-Fi interface and keeps its list when a scan fails: a kept list is shown only
    // on the interface that found it.
    if (copy->fetchSsidList())
        m_wifiScanInterface = name;
    QVexmarMenuItem *list = newRow(page, NetworkListRow, QVexmarMenuItem::Action, tr("Network List"));
    if (m_wifiScanInterface == name) {
        const std::vector<std::string> &names = copy->ssidList();
        const int count = std::min(int(names.size()), maxWifiNetworks);
        for (int i = 0; i < count; ++i)
            list->addOption(i, utf8ToQString(names.at(size_t(i))));
    }
    const bool found = !list->options().isEmpty();
    list->setValueText(found ? tr("Select a Wi-Fi network from list") : tr("No Wi-Fi network Found"));
    addLocked(page, list, !found || wifiLock);

    addUtf8Text(page, SsidRow, QVexmarMenuItem::Text, tr("Name (SSID)"), copy->ssid(), wifiLock);
    addChoice(page, SecurityRow, tr("Security"),
        {{Wifi::AuthNone, tr("None")}, {Wifi::AuthAuto, tr("Auto")}, {Wifi::AuthWep, QStringLiteral("WEP")},
            {Wifi::AuthWpaPsk, QStringLiteral("WPA-PSK")}, {Wifi::AuthWpa2Psk, QStringLiteral("WPA2-PSK")}},
        copy->authentication(), wifiLock);
    addUtf8Text(page, PassphraseRow, QVexmarMenuItem::Text, tr("Passphrase"), copy->passphrase(), wifiLock);
    addStreamRow(page, WifiQualityRow, WifiAjbRow, copy->networkQuality(), copy->ajbProfile(), notAttached);
    pushItems(page);
}

bool QVexmarSettingsPage::hasWifiChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const Wifi *copy = m_wifi.get();
    // Scanning is needed to connect, and stays on while connected. A copy not attached keeps everything locked.
    const bool notAttached = copy->state() == TComController::NotRead;
    QVexmarMenuItem *scan = page->findItem(ScanRow);
    QVexmarMenuItem *connection = page->findItem(ConnectionRow);
    const bool scanning = scan && isOn(scan);
    if (scan)
        scan->setLocked(notAttached || (connection && isOn(connection) && scanning));
    if (connection)
        connection->setLocked(notAttached || !scanning);
    bool changed = switchDiffers(page, ScanRow, copy->scan());
    changed = switchDiffers(page, ConnectionRow, copy->dataConnection()) || changed;
    changed = utf8TextDiffers(page, SsidRow, copy->ssid()) || changed;
    changed = choiceDiffers(page, SecurityRow, copy->authentication()) || changed;
    changed = utf8TextDiffers(page, PassphraseRow, copy->passphrase()) || changed;
    changed = choiceDiffers(page, WifiQualityRow, copy->networkQuality()) || changed;
    changed = choiceDiffers(page, WifiAjbRow, copy->ajbProfile()) || changed;
    return changed;
}

bool QVexmarSettingsPage::applyWifiChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Wifi *copy = m_wifi.get();
    Edits edits;
    // The lock rule can lock a switch the user has just turned: scan on while connected, connection off while
    // not scanning. Those still count.
    QVexmarMenuItem *scan = page->findItem(ScanRow);
    if (scan && (!scan->isLocked() || isOn(scan)) && isOn(scan) != copy->scan())
        edits.change(Wifi::KEY_SCAN, copy, &Wifi::setScan, copy->scan(), isOn(scan));
    QVexmarMenuItem *connection = page->findItem(ConnectionRow);
    bool connectionChanged = false;
    if (connection && (!connection->isLocked() || !isOn(connection)) && isOn(connection) != copy->dataConnection()) {
        edits.change(
            Wifi::KEY_DATA_CONNECTION, copy, &Wifi::setDataConnection, copy->dataConnection(), isOn(connection));
        connectionChanged = true;
    }
    if (utf8TextDiffers(page, SsidRow, copy->ssid()))
        edits.change(Wifi::KEY_SSID, copy, &Wifi::setSsid, copy->ssid(), utf8Of(page->findItem(SsidRow)));
    int value = 0;
    if (chosenValue(page, SecurityRow, value) && value != copy->authentication()) {
        edits.change(Wifi::KEY_AUTHENTICATION, copy, &Wifi::setAuthentication, copy->authentication(), value);
        if (value != Wifi::AuthAuto) {
            edits.change(Wifi::KEY_AUTHENTICATION_CUSTOM, copy, &Wifi::setAuthenticationCustom,
                copy->authenticationCustom(), value);
        }
    }
    if (utf8TextDiffers(page, PassphraseRow, copy->passphrase())) {
        edits.change(Wifi::KEY_PASSPHRASE, copy, &Wifi::setPassphrase, copy->passphrase(),
            utf8Of(page->findItem(PassphraseRow)));
    }
    if (chosenValue(page, WifiQualityRow, value) && value != copy->networkQuality())
        edits.change(KEY_NETWORK_QUALITY, copy, &Wifi::setNetworkQuality, copy->networkQuality(), value);
    if (chosenValue(page, WifiAjbRow, value) && value != copy->ajbProfile())
        edits.change(KEY_AJB_PROFILE, copy, &Wifi::setAjbProfile, copy->ajbProfile(), value);
    if (!storeEdits(this, copy, edits))
        return false;
    if (connectionChanged) {
        // The network is chosen while not connected; an empty list has nothing to choose.
        const bool connected = copy->dataConnection();
        lockRows(page, {SsidRow, SecurityRow, PassphraseRow}, connected);
        if (QVexmarMenuItem *list = page->findItem(NetworkListRow))
            list->setLocked(connected || list->options().isEmpty());
    }
    return true;
}

void QVexmarSettingsPage::wifiSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page || !selection || !selection->current())
        return;
    const QString name = selection->current()->label->text();
    if (qStringToUtf8(name) == m_wifi->ssid())
        return;
    if (QVexmarMenuItem *ssid = page->findItem(SsidRow))
        ssid->setValueText(name, false);
    if (QVexmarMenuItem *security = page->findItem(SecurityRow))
        security->selectOption(Wifi::AuthAuto, true, false);
    if (QVexmarMenuItem *passphrase = page->findItem(PassphraseRow))
        passphrase->setValueText(QString(), false);
    markChanges(page, &QVexmarSettingsPage::hasWifiChanges);
}

// ---- Value changes -----------------------------------------------------------------------------------------------

void QVexmarSettingsPage::interfaceValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    const int pageId = page->pageId;
    if (pageId == 11) {
        int protocol = 0;
        if (item->id == ProtocolRow && chosenValue(page, ProtocolRow, protocol)) {
            const bool national = protocol == TComIsdnController::NationalIsdn;
            lockRows(page, {Number1Row, Number2Row, Subaddress1Row, Subaddress2Row}, national);
            lockRows(page, {SpidRow}, !national);
        }
        markChanges(page, &QVexmarSettingsPage::hasIsdnChanges);
    } else if (pageId >= 12 && pageId <= 15) {
        if (item->id == DhcpRow)
            lockRows(page, {AddressRow, SubnetRow, GatewayRow, Dns1Row, Dns2Row}, isOn(item));
        markChanges(page, &QVexmarSettingsPage::hasEthernetChanges);
    } else if (pageId >= 20 && pageId <= 23) {
        markChanges(page, &QVexmarSettingsPage::hasWifiChanges);
    }
}
