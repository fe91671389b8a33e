// QVexmarSettingsPage: the AoIP interface page. It shows the module's values from the AoIP controller, read anew
// at every refresh, and sends the edits of its five settings at once.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "settings/vexmarsettingskeys.h"
#include "settings/vexmarsettingsrows.h"

#include <QGridLayout>

#include <algorithm>

namespace {

using namespace settingsrows;

constexpr int InterfacePage = 119;

enum InterfaceRow {
    DeviceNameRow = 120,
    SampleRateRow = 121,
    ResolutionRow = 122,
    PtpDomainRow = 123,
    NetModeRow = 124,
    Addressing1Row = 125,
    Addressing2Row = 126,
    InputStreamsRow = 133,
    OutputStreamRow = 146,
    LinkStateRow = 161,
    SyncStateRow = 162,
    PtpStateRow = 163,
    ManufacturerRow = 164,
    ModelRow = 165,
    FirmwareVersionRow = 166,
    HardwareRevisionRow = 167,
    SoftwareRevisionRow = 168,
    MaintenanceRevisionRow = 169,
};

// More than any module offers; a longer list from the device would only make the choice unusable.
constexpr int maxListedValues = 64;
// The PTP standard's domain numbers.
constexpr int highestPtpDomain = 255;

// What the module's maker changes on the page, read from the beginning of the manufacturer text.
struct ModuleMaker
{
    bool netMode = false; // networking mode and maintenance system revision
    bool ownTools = false; // streams and clock domain are set with the maker's own tools; firmware version shown
    bool noRevision = false; // no software revision to ask for

    explicit ModuleMaker(const TComRavennaController *ravenna)
    {
        const QString maker = utf8ToQString(ravenna->manufacturer());
        const auto startsWith = [&maker](const std::string &word) {
            return maker.startsWith(QString::fromStdString(word), Qt::CaseInsensitive);
        };
        netMode = startsWith(settingskeys::MODULE_MAKER_NET_MODE);
        ownTools = startsWith(settingskeys::MODULE_MAKER_OWN_TOOLS);
        noRevision = startsWith(settingskeys::MODULE_MAKER_NO_REVISION);
    }
};

// A row of the two sections: indented under its label and never edited.
void addStatusRow(QVexmarMenuItems *page, int id, const QString &title)
{
    addLocked(page, indented(newRow(page, id, QVexmarMenuItem::Text, title)), true);
}

QString frequencyText(int hertz)
{
    if (hertz % 1000 == 0)
        return QStringLiteral("%1 kHz").arg(hertz / 1000);
    return QStringLiteral("%1 kHz").arg(hertz / 1000.0, 0, 'f', 1);
}

QString resolutionText(int bits)
{
    return QStringLiteral("%1 bits").arg(bits);
}

QString addressingText(const TComRavennaInterface &netIf)
{
    const QString address
        = netIf.ipAddress.empty() ? QVexmarSettingsPage::tr("No Address") : utf8ToQString(netIf.ipAddress);
    QString mode = QVexmarSettingsPage::tr("Static");
    if (netIf.dhcpMode == TComRavennaController::DhcpOn)
        mode = QVexmarSettingsPage::tr("DHCP");
    else if (netIf.dhcpMode == TComRavennaController::DhcpZeroconf)
        mode = QVexmarSettingsPage::tr("ZeroConf");
    return QStringLiteral("%1 [ %2 ]").arg(address, mode);
}

QString streamLines(const TComRavennaController *ravenna)
{
    QStringList lines;
    for (int n = 0; n < TComRavennaController::streamCount; ++n) {
        const std::array<int, 2> &status = ravenna->inputStream(n).status;
        QString text = QVexmarSettingsPage::streamStatusText(status[0]);
        if (status[1] != TComRavennaController::StatusDisabled)
            text += QStringLiteral(" / ") + QVexmarSettingsPage::streamStatusText(status[1]);
        lines << QVexmarSettingsPage::tr("Stream %1 [ %2 ]").arg(QString::number(n + 1), text);
    }
    return lines.join(QLatin1Char('\n'));
}

QString outputText(const TComRavennaController *ravenna)
{
    const QString name
        = ravenna->outputName().empty() ? QVexmarSettingsPage::tr("No Name") : utf8ToQString(ravenna->outputName());
    const QString state
        = ravenna->outputEnabled() ? QVexmarSettingsPage::tr("Transmitting") : QVexmarSettingsPage::tr("Disabled");
    return QVexmarSettingsPage::tr("%1 [ %2 ]").arg(name, state);
}

// Interface 1's text, or both as "1 / 2" on a module with two.
template<class Text>
QString perInterface(const TComRavennaController *ravenna, Text text)
{
    if (ravenna->interfaceCount() != 2)
        return text(ravenna->netInterface(0));
    return QStringLiteral("%1 / %2").arg(text(ravenna->netInterface(0)), text(ravenna->netInterface(1)));
}

// The listed value held, or the held value alone in red when it is not listed. Without a list the value is only
// shown: nothing was offered that it could be missing from.
void showHeldValue(QVexmarSettingsPage *menu, QVexmarMenuItem *row, int value, const QString &text, bool locked)
{
    row->setLocked(locked);
    if (row->options().isEmpty())
        row->setValueText(text);
    else
        menu->showHeldOption(row, value, text);
}

void lockRow(QVexmarMenuItems *page, int id, bool locked, const QString &text)
{
    if (QVexmarMenuItem *row = page->findItem(id)) {
        row->setValueText(text);
        row->setLocked(locked);
    }
}

void showText(QVexmarMenuItems *page, int id, const QString &text)
{
    if (QVexmarMenuItem *row = page->findItem(id))
        row->setValueText(text);
}

} // namespace

void QVexmarSettingsPage::buildAoipInterfaceMenu()
{
    auto *page = new QVexmarMenuItems(InterfacePage, this);
    header->setRefreshVisible(true);
    TComRavennaController *ravenna = getRavennaController();
    std::vector<int> rates;
    std::vector<int> resolutions;
    ravenna->fetchSampleRateList(rates);
    ravenna->fetchResolutionList(resolutions);
    const ModuleMaker maker(ravenna);
    const bool twoInterfaces = ravenna->interfaceCount() == 2;

    addRow(page, DeviceNameRow, QVexmarMenuItem::Text, tr("Device Name"))->setLocked(true);
    QVexmarMenuItem *rate = addRow(page, SampleRateRow, QVexmarMenuItem::Selection, tr("Sampling Frequency"));
    for (size_t i = 0; i < std::min(rates.size(), size_t(maxListedValues)); ++i)
        rate->addOption(rates[i], frequencyText(rates[i]));
    QVexmarMenuItem *resolution = addRow(page, ResolutionRow, QVexmarMenuItem::Selection, tr("Sample Resolution"));
    for (size_t i = 0; i < std::min(resolutions.size(), size_t(maxListedValues)); ++i)
        resolution->addOption(resolutions[i], resolutionText(resolutions[i]));
    if (!maker.ownTools)
        addRow(page, PtpDomainRow, QVexmarMenuItem::Numeric, tr("PTP Domain Number"));
    if (maker.netMode) {
        QVexmarMenuItem *mode = addRow(page, NetModeRow, QVexmarMenuItem::Selection, tr("Networking Mode"));
        mode->addOption(TComRavennaController::NetSwitched, tr("Switch (same network)"));
        mode->addOption(TComRavennaController::NetRedundant, tr("Redundancy (separate networks)"));
    }
    addRow(page, Addressing1Row, QVexmarMenuItem::SubMenu,
        twoInterfaces ? tr("IP Addressing (Interface 1)") : tr("IP Addressing"));
    if (twoInterfaces)
        addRow(page, Addressing2Row, QVexmarMenuItem::SubMenu, tr("IP Addressing (Interface 2)"));
    if (!maker.ownTools) {
        addRow(page, InputStreamsRow, QVexmarMenuItem::SubMenu, tr("Input Streams"));
        addRow(page, OutputStreamRow, QVexmarMenuItem::SubMenu, tr("Output Stream"));
    }

    addHeader(page, tr("Status"));
    addStatusRow(page, SyncStateRow, tr("Sync State"));
    addStatusRow(page, LinkStateRow, tr("Link State"));
    addStatusRow(page, PtpStateRow, tr("PTP State"));
    addHeader(page, tr("Information"));
    addStatusRow(page, ManufacturerRow, tr("Manufacturer"));
    addStatusRow(page, ModelRow, tr("Model"));
    if (maker.ownTools)
        addStatusRow(page, FirmwareVersionRow, tr("Firmware Version"));
    addStatusRow(page, SoftwareRevisionRow, tr("Software Revision"));
    if (maker.netMode)
        addStatusRow(page, MaintenanceRevisionRow, tr("Maintenance Mode Revision"));
    addStatusRow(page, HardwareRevisionRow, tr("Hardware Revision"));

    updateAoipInterfaceMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateAoipInterfaceMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    TComRavennaController *ravenna = getRavennaController();
    const bool notLoaded = ravenna->state() == TComController::NotRead;
    const ModuleMaker maker(ravenna);
    if (!notLoaded) {
        std::vector<std::string> names {KEY_RAV_DEVICE_NAME, KEY_RAV_SAMPLE_RATE, KEY_RAV_RESOLUTION};
        if (!maker.ownTools)
            names.push_back(KEY_RAV_PTP_DOMAIN);
        if (maker.netMode)
            names.push_back(KEY_RAV_NET_MODE);
        names.insert(names.end(), {KEY_RAV_DHCP[0], KEY_RAV_IP_ADDR[0]});
        if (!maker.ownTools) {
            names.insert(names.end(), std::begin(KEY_RAV_STATUS_IN_N), std::end(KEY_RAV_STATUS_IN_N));
            names.insert(names.end(), {KEY_RAV_NAME_OU, KEY_RAV_MODE_OU});
        }
        names.push_back(KEY_RAV_LOCK_STATE);
        if (maker.netMode)
            names.push_back(KEY_RAV_RESCUEOS_REV);
        if (maker.ownTools)
            names.push_back(KEY_RAV_FIRMWARE_VER);
        names.insert(names.end(), {KEY_RAV_LINK_STATE[0], KEY_RAV_PTP_STATE[0]});
        if (!maker.noRevision)
            names.push_back(KEY_RAV_FIRMWARE_REV);
        if (ravenna->interfaceCount() == 2)
            names.insert(
                names.end(), {KEY_RAV_DHCP[1], KEY_RAV_IP_ADDR[1], KEY_RAV_LINK_STATE[1], KEY_RAV_PTP_STATE[1]});
        // What the device does not answer keeps the value held before.
        ravenna->fetch(names);
    }

    lockRow(page, DeviceNameRow, notLoaded || g_accessLevel != 2, utf8ToQString(ravenna->deviceName()));
    if (QVexmarMenuItem *row = page->findItem(SampleRateRow))
        showHeldValue(this, row, ravenna->sampleRate(), frequencyText(ravenna->sampleRate()), notLoaded);
    if (QVexmarMenuItem *row = page->findItem(ResolutionRow))
        showHeldValue(this, row, ravenna->resolution(), resolutionText(ravenna->resolution()), notLoaded);
    lockRow(page, PtpDomainRow, notLoaded, QString::number(ravenna->ptpDomain()));
    if (QVexmarMenuItem *row = page->findItem(NetModeRow)) {
        row->setLocked(notLoaded);
        row->selectOption(ravenna->netMode(), true, false);
    }
    lockRow(page, Addressing1Row, notLoaded, addressingText(ravenna->netInterface(0)));
    lockRow(page, Addressing2Row, notLoaded, addressingText(ravenna->netInterface(1)));
    lockRow(page, InputStreamsRow, notLoaded, streamLines(ravenna));
    lockRow(page, OutputStreamRow, notLoaded, outputText(ravenna));
    showText(page, SyncStateRow, syncStateText(ravenna->lockState()));
    showText(page, LinkStateRow, perInterface(ravenna, [](const TComRavennaInterface &netIf) {
        return netIf.linkUp ? tr("Active") : tr("Disconnected");
    }));
    showText(page, PtpStateRow,
        perInterface(ravenna, [](const TComRavennaInterface &netIf) { return ptpStateText(netIf.ptpState); }));
    showText(page, ManufacturerRow, utf8ToQString(ravenna->manufacturer()));
    showText(page, ModelRow, utf8ToQString(ravenna->hardwareName()));
    showText(page, FirmwareVersionRow, utf8ToQString(ravenna->firmwareVersion()));
    showText(page, HardwareRevisionRow, utf8ToQString(ravenna->hardwareRev()));
    showText(page, SoftwareRevisionRow, utf8ToQString(ravenna->firmwareRev()));
    showText(page, MaintenanceRevisionRow, utf8ToQString(ravenna->rescueOsRev()));
}

void QVexmarSettingsPage::aoipInterfaceValueChanged(QVexmarMenuItem *item)
{
    TComRavennaController *ravenna = getRavennaController();
    const QString text = item->valueLabel ? item->valueLabel->text() : QString();
    int value = 0;
    const bool chosen = chosenValue(item, value);
    switch (item->id) {
    case DeviceNameRow: {
        const QString held = utf8ToQString(ravenna->deviceName());
        // An empty name is never sent.
        setImmediately(item, !text.isEmpty() && ravenna->setDeviceName(qStringToUtf8(text), true), held);
        return;
    }
    case SampleRateRow:
        if (chosen)
            setImmediately(
                item, ravenna->setSampleRate(value, true), ravenna->sampleRate(), frequencyText(ravenna->sampleRate()));
        return;
    case ResolutionRow:
        if (chosen)
            setImmediately(item, ravenna->setResolution(value, true), ravenna->resolution(),
                resolutionText(ravenna->resolution()));
        return;
    case PtpDomainRow: {
        qint64 domain = 0;
        const bool sendable = decimalOf(item, domain) && domain >= 0 && domain <= highestPtpDomain;
        setImmediately(
            item, sendable && ravenna->setPtpDomain(int(domain), true), QString::number(ravenna->ptpDomain()));
        return;
    }
    case NetModeRow:
        if (chosen && setImmediately(item, ravenna->setNetMode(value, true), ravenna->netMode()))
            showMessagePopup(tr("Changes take effect after\nthe next power cycle"), 0);
        return;
    default:
        return;
    }
}

// ---- Input streams, receivers, IP addressing, output stream ----------------------------------------------------

namespace {

using Ravenna = TComRavennaController;

constexpr int InputStreamsPage = 133;
constexpr int firstReceiverPage = 134;
constexpr int lastReceiverPage = 141;
constexpr int OutputStreamPage = 146;

enum StreamRow { StreamIdRow = 142, ChannelRow = 143, ModeRow = 144, DelayRow = 145 };
enum AddressRow { DhcpRow = 127, IpAddressRow = 128, SubnetRow = 129, GatewayRow = 130, MacAddressRow = 131 };
enum OutputRow {
    OutputNameRow = 147,
    OutputStateRow = 148,
    OutputInterfacesRow = 149,
    Interface1Label = 150,
    Autoconf1Row = 151,
    McAddress1Row = 152,
    McPort1Row = 153,
    Interface2Label = 154,
    Autoconf2Row = 155,
    McAddress2Row = 156,
    McPort2Row = 157,
    ChannelCountRow = 158,
    PacketTimeRow = 159,
};

// Far more streams than a network offers; a longer list would only make the choice unusable.
constexpr int maxListedStreams = 256;
// The most channels an AES67 stream carries.
constexpr int maxStreamChannels = 64;
constexpr int highestPort = 65535;

// The interface's rows of the output stream page: auto configuration, multicast address, multicast port.
constexpr int outputRows[2][3] = {{Autoconf1Row, McAddress1Row, McPort1Row}, {Autoconf2Row, McAddress2Row, McPort2Row}};

// Only the net-mode maker's module with two interfaces is set up per interface here.
bool twoInterfaceModule(const Ravenna *ravenna)
{
    return ModuleMaker(ravenna).netMode && ravenna->interfaceCount() == 2;
}

int receiverOf(const QVexmarMenuItems *page)
{
    const int n = page->pageId - firstReceiverPage;
    return n >= 0 && n < Ravenna::streamCount ? n : 0;
}

QString receiverText(const TComRavennaInputStream &stream)
{
    const QString name = utf8ToQString(stream.name);
    if (stream.id == TComRavennaInputStream::NoStream)
        return name;
    // The device's channel index, counted from 1 for the user, in a width no index overflows.
    return QVexmarSettingsPage::tr("%1 [ Channel %2 ]").arg(name, QString::number(qint64(stream.channel) + 1));
}

QString delayText(int delay)
{
    return delay > 0 ? QString::number(delay) : QVexmarSettingsPage::tr("Automatic");
}

} // namespace

void QVexmarSettingsPage::buildInputStreamsMenu()
{
    auto *page = new QVexmarMenuItems(InputStreamsPage, this);
    for (int n = 0; n < Ravenna::streamCount; ++n)
        addRow(page, firstReceiverPage + n, QVexmarMenuItem::SubMenu, tr("Input Stream %1").arg(n + 1));
    addRow(page, DelayRow, QVexmarMenuItem::Numeric, QString())->setLocked(true);
    updateInputStreamsMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateInputStreamsMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    Ravenna *ravenna = getRavennaController();
    const bool locked = ravenna->state() == TComController::NotRead;
    if (!locked) {
        std::vector<std::string> names(std::begin(KEY_RAV_STREAM_IN_N), std::end(KEY_RAV_STREAM_IN_N));
        names.insert(names.end(), {KEY_RAV_DELAY_MIN_IN, KEY_RAV_DELAY_MAX_IN, KEY_RAV_DELAY_IN});
        ravenna->fetch(names);
    }
    for (int n = 0; n < Ravenna::streamCount; ++n)
        lockRow(page, firstReceiverPage + n, locked, receiverText(ravenna->inputStream(n)));
    if (QVexmarMenuItem *row = page->findItem(DelayRow)) {
        row->titleLabel->setText(
            tr("Receiver Delay (%1..%2 samples)")
                .arg(QString::number(ravenna->inputDelayMin()), QString::number(ravenna->inputDelayMax())));
        row->setValueText(delayText(ravenna->inputDelay()));
        row->setLocked(true);
    }
}

void QVexmarSettingsPage::buildInputStreamMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    editedInputStream = getRavennaController()->inputStream(receiverOf(page));
    addRow(page, StreamIdRow, QVexmarMenuItem::Selection, tr("Stream ID"));
    addRow(page, ChannelRow, QVexmarMenuItem::Selection, tr("Channel"));
    QVexmarMenuItem *mode = addRow(page, ModeRow, QVexmarMenuItem::Selection, tr("Mode"));
    mode->addOption(0, tr("Multicast"));
    mode->addOption(1, tr("Unicast/SIP"));
    mode->selectOption(0, true, false);
    mode->setLocked(true);
    updateInputStreamMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateInputStreamMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    header->setRefreshVisible(false);
    Ravenna *ravenna = getRavennaController();
    const bool locked = ravenna->state() == TComController::NotRead;
    std::vector<TComRavennaInputStream> streams;
    ravenna->fetchStreamInList(streams);
    if (streams.size() > size_t(maxListedStreams))
        streams.resize(size_t(maxListedStreams));
    // The first stream of the edited name gives the id and the channels it carries.
    const auto named = std::find_if(streams.cbegin(), streams.cend(),
        [this](const TComRavennaInputStream &stream) { return stream.name == editedInputStream.name; });
    const bool found = named != streams.cend();
    const int count = found ? named->channel : 0;
    const bool countValid = count >= 0 && count <= maxStreamChannels;
    if (found)
        editedInputStream.id = named->id;
    if (QVexmarMenuItem *row = page->findItem(StreamIdRow)) {
        row->clearOptions();
        for (const TComRavennaInputStream &stream : streams)
            row->addOption(stream.id, utf8ToQString(stream.name));
        row->selectOption(editedInputStream.id, true, false);
        row->setLocked(locked);
    }
    if (QVexmarMenuItem *row = page->findItem(ChannelRow)) {
        row->clearOptions();
        row->setLocked(locked || !countValid);
        if (!countValid) {
            // Outside input: a count no stream carries would size the list.
            row->setValueTextAndGlobalColor(tr("Bad channel count from the device: %1").arg(count), Qt::red);
            return;
        }
        row->setValueText(QString());
        if (!found)
            return;
        for (int channel = 0; channel < count; ++channel)
            row->addOption(channel, QString::number(channel + 1));
        // A channel the stream does not carry is held as the device sent it, and goes out only once one is picked.
        const int channel = editedInputStream.channel;
        showHeldOption(row, channel, QString::number(qint64(channel) + 1));
    }
}

bool QVexmarSettingsPage::hasInputStreamChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const TComRavennaInputStream &held = getRavennaController()->inputStream(receiverOf(page));
    QVexmarMenuItem *stream = openRow(page, StreamIdRow);
    const int current = stream ? stream->currentOption() : -1;
    const bool streamChanged = current >= 0 && current < stream->options().size()
        && qStringToUtf8(stream->options().at(current).text) != held.name;
    return streamChanged || choiceDiffers(page, ChannelRow, held.channel);
}

bool QVexmarSettingsPage::applyInputStream(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Ravenna *ravenna = getRavennaController();
    const int n = receiverOf(page);
    const TComRavennaInputStream held = ravenna->inputStream(n);
    if (editedInputStream.sameStream(held))
        return true;
    // Another stream goes out only with a channel it carries: a held one outside its range waits for a pick.
    int channel = 0;
    if (!chosenValue(page->findItem(ChannelRow), channel) || channel != editedInputStream.channel) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    Edits edits;
    edits.change(
        KEY_RAV_STREAM_IN_N[n], [ravenna, n, this] { ravenna->setStreamIn(n, editedInputStream, false); },
        [ravenna, n, held] { ravenna->setStreamIn(n, held, false); });
    return storeEdits(this, ravenna, edits);
}

void QVexmarSettingsPage::buildIpAddressingMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    addRow(page, DhcpRow, QVexmarMenuItem::Switch, tr("DHCP"));
    addRow(page, IpAddressRow, QVexmarMenuItem::Numeric, tr("IP Address"));
    addRow(page, SubnetRow, QVexmarMenuItem::Numeric, tr("Subnet Mask"));
    addRow(page, GatewayRow, QVexmarMenuItem::Numeric, tr("Default Gateway"));
    addRow(page, MacAddressRow, QVexmarMenuItem::Numeric, tr("MAC Address"))->setLocked(true);
    updateIpAddressingMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateIpAddressingMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    Ravenna *ravenna = getRavennaController();
    const int i = (page->pageId - Addressing1Row) & 1;
    const bool unloaded = ravenna->state() == TComController::NotRead;
    // The lock follows the mode the page was opened under, not one the read may bring.
    const bool addressLocked = unloaded || ravenna->netInterface(i).dhcpMode != Ravenna::DhcpOff;
    if (!unloaded) {
        std::vector<std::string> names
            = {KEY_RAV_DHCP[i], KEY_RAV_IP_ADDR[i], KEY_RAV_SUBNET[i], KEY_RAV_GATEWAY[i], KEY_RAV_HW_ADDR[i]};
        if (twoInterfaceModule(ravenna))
            names.push_back(KEY_RAV_VLAN_ID[i]);
        ravenna->fetch(names);
    }
    const TComRavennaInterface &netIf = ravenna->netInterface(i);
    if (QVexmarMenuItem *row = page->findItem(DhcpRow)) {
        row->setChecked(netIf.dhcpMode != Ravenna::DhcpOff);
        row->setLocked(unloaded);
    }
    lockRow(page, IpAddressRow, addressLocked, utf8ToQString(netIf.ipAddress));
    lockRow(page, SubnetRow, addressLocked, utf8ToQString(netIf.subnet));
    lockRow(page, GatewayRow, addressLocked, utf8ToQString(netIf.gateway));
    showText(page, MacAddressRow, utf8ToQString(netIf.hwAddress));
}

bool QVexmarSettingsPage::hasIpAddressingChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const TComRavennaInterface &netIf = getRavennaController()->netInterface((page->pageId - Addressing1Row) & 1);
    QVexmarMenuItem *dhcp = openRow(page, DhcpRow);
    if (!dhcp)
        return false;
    if (isOn(dhcp) != (netIf.dhcpMode != Ravenna::DhcpOff))
        return true;
    return !isOn(dhcp)
        && (utf8TextDiffers(page, IpAddressRow, netIf.ipAddress) || utf8TextDiffers(page, SubnetRow, netIf.subnet)
            || utf8TextDiffers(page, GatewayRow, netIf.gateway));
}

bool QVexmarSettingsPage::applyIpAddressing(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Ravenna *ravenna = getRavennaController();
    const int i = (page->pageId - Addressing1Row) & 1;
    const TComRavennaInterface netIf = ravenna->netInterface(i);
    QVexmarMenuItem *dhcp = openRow(page, DhcpRow);
    if (!dhcp)
        return true;
    const bool on = isOn(dhcp);
    const bool dhcpChanged = on != (netIf.dhcpMode != Ravenna::DhcpOff);
    struct Address
    {
        int row;
        const std::string &held;
        bool (Ravenna::*setter)(int, const std::string &, bool);
        const std::string &key;
        bool mayBeEmpty;
    };
    const Address addresses[] = {{IpAddressRow, netIf.ipAddress, &Ravenna::setIpAddr, KEY_RAV_IP_ADDR[i], false},
        {SubnetRow, netIf.subnet, &Ravenna::setSubnet, KEY_RAV_SUBNET[i], false},
        {GatewayRow, netIf.gateway, &Ravenna::setGateway, KEY_RAV_GATEWAY[i], true}};
    std::vector<std::pair<const Address *, std::string>> changed;
    for (const Address &address : addresses) {
        QVexmarMenuItem *row = on ? nullptr : openRow(page, address.row);
        if (!row)
            continue;
        const std::string text = utf8Of(row);
        // Static addressing runs on what the rows say: a malformed address would cut the module off its network.
        if ((text != address.held || dhcpChanged) && !(isIpv4(text) || (address.mayBeEmpty && text.empty()))) {
            showMessagePopup(tr("Failed to apply changes!"), 0);
            return false;
        }
        if (text != address.held)
            changed.emplace_back(&address, text);
    }
    Edits edits;
    if (dhcpChanged) {
        edits.change(
            KEY_RAV_DHCP[i], [ravenna, i, on] { ravenna->setDhcp(i, on, false); },
            [ravenna, i, held = netIf.dhcpMode] { ravenna->restoreDhcpMode(i, held); });
    }
    for (const auto &[address, text] : changed) {
        const auto setter = address->setter;
        edits.change(
            address->key, [ravenna, i, setter, text = text] { (ravenna->*setter)(i, text, false); },
            [ravenna, i, setter, held = address->held] { (ravenna->*setter)(i, held, false); });
    }
    if (!storeEdits(this, ravenna, edits))
        return false;
    if (!edits.keys.empty())
        showMessagePopup(tr("Changes take effect after\nthe next power cycle"), 0);
    return true;
}

void QVexmarSettingsPage::buildOutputStreamMenu()
{
    auto *page = new QVexmarMenuItems(OutputStreamPage, this);
    const bool two = twoInterfaceModule(getRavennaController());
    addRow(page, OutputNameRow, QVexmarMenuItem::Text, tr("Stream ID"));
    addRow(page, OutputStateRow, QVexmarMenuItem::Switch, tr("State"));
    if (two) {
        QVexmarMenuItem *choice
            = addRow(page, OutputInterfacesRow, QVexmarMenuItem::Selection, tr("Output Interface(s)"));
        choice->addOption(0, tr("Interface 1"));
        choice->addOption(1, tr("Interface 2"));
        choice->addOption(2, tr("Interfaces 1&2"));
        addRow(page, Interface1Label, QVexmarMenuItem::Label, tr("Interface 1"));
    }
    addRow(page, Autoconf1Row, QVexmarMenuItem::Switch, tr("Auto Configuration"));
    addRow(page, McAddress1Row, QVexmarMenuItem::Numeric, tr("Multicast Address"));
    addRow(page, McPort1Row, QVexmarMenuItem::Numeric, tr("Multicast Port"));
    if (two) {
        addRow(page, Interface2Label, QVexmarMenuItem::Label, tr("Interface 2"));
        addLocked(page, indented(newRow(page, Autoconf2Row, QVexmarMenuItem::Switch, tr("Auto Configuration"))), false);
        addLocked(
            page, indented(newRow(page, McAddress2Row, QVexmarMenuItem::Numeric, tr("Multicast Address"))), false);
        addLocked(page, indented(newRow(page, McPort2Row, QVexmarMenuItem::Numeric, tr("Multicast Port"))), false);
    }
    addRow(page, ChannelCountRow, QVexmarMenuItem::Numeric, tr("Channel Count"))->setLocked(true);
    addRow(page, PacketTimeRow, QVexmarMenuItem::Numeric, tr("Packet Time"))->setLocked(true);
    updateOutputStreamMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateOutputStreamMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    Ravenna *ravenna = getRavennaController();
    const bool unloaded = ravenna->state() == TComController::NotRead;
    if (!unloaded) {
        std::vector<std::string> names = {KEY_RAV_NAME_OU, KEY_RAV_MODE_OU, KEY_RAV_AUTOCONF_OU[0],
            KEY_RAV_MC_ADDR_OU[0], KEY_RAV_MC_PORT_OU[0], KEY_RAV_CH_COUNT_OU, KEY_RAV_PTIME_OU};
        if (twoInterfaceModule(ravenna))
            names.insert(
                names.end(), {KEY_RAV_NETIF_OU, KEY_RAV_AUTOCONF_OU[1], KEY_RAV_MC_ADDR_OU[1], KEY_RAV_MC_PORT_OU[1]});
        ravenna->fetch(names);
    }
    // Which interfaces show follows the selection the module holds, not one picked and not yet applied.
    const bool both = ravenna->outputNetIf() == 2;
    lockRow(page, OutputNameRow, unloaded || g_accessLevel != 2, utf8ToQString(ravenna->outputName()));
    if (QVexmarMenuItem *row = page->findItem(OutputStateRow)) {
        row->setChecked(ravenna->outputEnabled());
        row->setLocked(unloaded);
    }
    if (QVexmarMenuItem *row = page->findItem(OutputInterfacesRow)) {
        row->setLocked(unloaded);
        showHeldOption(row, ravenna->outputNetIf(), QString::number(ravenna->outputNetIf()));
    }
    for (int id : {Interface1Label, Interface2Label, Autoconf2Row, McAddress2Row, McPort2Row}) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->setVisible(both);
    }
    for (int i = 0; i < 2; ++i) {
        const TComRavennaOutput &output = ravenna->output(i);
        if (QVexmarMenuItem *row = page->findItem(outputRows[i][0])) {
            row->setChecked(output.autoconf);
            row->setLocked(unloaded);
        }
        lockRow(page, outputRows[i][1], unloaded || output.autoconf, utf8ToQString(output.mcAddress));
        lockRow(page, outputRows[i][2], unloaded || output.autoconf, QString::number(output.mcPort));
    }
    for (int id : outputRows[0]) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->layout->setContentsMargins(both ? 60 : 10, 0, 10, 0);
    }
    showText(page, ChannelCountRow, QString::number(ravenna->outputChannelCount()));
    showText(page, PacketTimeRow, tr("%1 ms").arg(double(ravenna->outputPacketTime()), 0, 'f', 3));
}

bool QVexmarSettingsPage::hasOutputStreamChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const Ravenna *ravenna = getRavennaController();
    bool changed = utf8TextDiffers(page, OutputNameRow, ravenna->outputName());
    changed = switchDiffers(page, OutputStateRow, ravenna->outputEnabled()) || changed;
    changed = choiceDiffers(page, OutputInterfacesRow, ravenna->outputNetIf()) || changed;
    for (int i = 0; i < 2; ++i) {
        const TComRavennaOutput &output = ravenna->output(i);
        changed = switchDiffers(page, outputRows[i][0], output.autoconf) || changed;
        changed = utf8TextDiffers(page, outputRows[i][1], output.mcAddress) || changed;
        qint64 port = 0;
        QVexmarMenuItem *portRow = openRow(page, outputRows[i][2]);
        changed = (portRow && decimalOf(portRow, port) && port != output.mcPort) || changed;
    }
    return changed;
}

bool QVexmarSettingsPage::applyOutputStream(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Ravenna *ravenna = getRavennaController();
    // Everything is checked before the first value goes to the controller, so that a refusal changes nothing.
    const auto refuse = [this] {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    };
    QVexmarMenuItem *name = openRow(page, OutputNameRow);
    const std::string nameText = name ? utf8Of(name) : std::string();
    const bool nameTaken = !nameText.empty() && nameText != ravenna->outputName();
    struct Output
    {
        bool autoconf;
        bool autoconfTaken;
        std::string address;
        bool addressTaken;
        int port;
        bool portTaken;
    } outputs[2];
    for (int i = 0; i < 2; ++i) {
        const TComRavennaOutput &held = ravenna->output(i);
        Output &output = outputs[i];
        QVexmarMenuItem *autoconf = openRow(page, outputRows[i][0]);
        output.autoconf = autoconf && isOn(autoconf);
        output.autoconfTaken = autoconf && output.autoconf != held.autoconf;
        QVexmarMenuItem *address = openRow(page, outputRows[i][1]);
        output.address = address ? utf8Of(address) : std::string();
        output.addressTaken = !output.address.empty() && output.address != held.mcAddress;
        QVexmarMenuItem *port = openRow(page, outputRows[i][2]);
        qint64 number = 0;
        output.portTaken = port && decimalOf(port, number) && number != held.mcPort;
        output.port = int(std::clamp<qint64>(number, -1, highestPort + 1));
        if ((output.addressTaken && !isIpv4(output.address))
            || (output.portTaken && (output.port < 1 || output.port > highestPort)))
            return refuse();
    }

    Edits edits;
    if (nameTaken)
        edits.change(KEY_RAV_NAME_OU, ravenna, &Ravenna::setOutputName, ravenna->outputName(), nameText);
    if (QVexmarMenuItem *state = openRow(page, OutputStateRow); state && isOn(state) != ravenna->outputEnabled())
        edits.change(KEY_RAV_MODE_OU, ravenna, &Ravenna::setOutputMode, ravenna->outputEnabled(), isOn(state));
    int netIf = 0;
    if (chosenValue(page, OutputInterfacesRow, netIf) && netIf != ravenna->outputNetIf())
        edits.change(KEY_RAV_NETIF_OU, ravenna, &Ravenna::setOutputNetIf, ravenna->outputNetIf(), netIf);
    for (int i = 0; i < 2; ++i) {
        const Output &output = outputs[i];
        const TComRavennaOutput held = ravenna->output(i);
        if (output.autoconfTaken) {
            edits.change(
                KEY_RAV_AUTOCONF_OU[i],
                [ravenna, i, on = output.autoconf] { ravenna->setOutputAutoconf(i, on, false); },
                [ravenna, i, held] { ravenna->setOutputAutoconf(i, held.autoconf, false); });
        }
        if (output.addressTaken) {
            edits.change(
                KEY_RAV_MC_ADDR_OU[i],
                [ravenna, i, address = output.address] { ravenna->setOutputMcAddr(i, address, false); },
                [ravenna, i, held] { ravenna->setOutputMcAddr(i, held.mcAddress, false); });
        }
        if (output.portTaken) {
            edits.change(
                KEY_RAV_MC_PORT_OU[i], [ravenna, i, port = output.port] { ravenna->setOutputMcPort(i, port, false); },
                [ravenna, i, held] { ravenna->setOutputMcPort(i, held.mcPort, false); });
        }
    }
    return storeEdits(this, ravenna, edits);
}

void QVexmarSettingsPage::aoipStreamValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    const int pageId = page->pageId;
    Ravenna *ravenna = getRavennaController();
    if (pageId == Addressing1Row || pageId == Addressing2Row) {
        if (item->id == DhcpRow)
            lockRows(page, {IpAddressRow, SubnetRow, GatewayRow}, isOn(item));
        markChanges(page, &QVexmarSettingsPage::hasIpAddressingChanges);
    } else if (pageId == InputStreamsPage && item->id == DelayRow) {
        qint64 delay = 0;
        const bool inRange
            = decimalOf(item, delay) && delay >= ravenna->inputDelayMin() && delay <= ravenna->inputDelayMax();
        setImmediately(item, inRange && ravenna->setInputDelay(int(delay), true), delayText(ravenna->inputDelay()));
    } else if (pageId >= firstReceiverPage && pageId <= lastReceiverPage) {
        int value = 0;
        if (item->id == StreamIdRow && chosenValue(page, StreamIdRow, value)) {
            editedInputStream.name = qStringToUtf8(item->options().at(item->currentOption()).text);
            updateInputStreamMenu(page);
        } else if (item->id == ChannelRow && chosenValue(page, ChannelRow, value)) {
            editedInputStream.channel = value;
        }
        markChanges(page, &QVexmarSettingsPage::hasInputStreamChanges);
    } else if (pageId == OutputStreamPage) {
        const bool unloaded = ravenna->state() == TComController::NotRead;
        if (item->id == Autoconf1Row)
            lockRows(page, {McAddress1Row, McPort1Row}, unloaded || isOn(item));
        else if (item->id == Autoconf2Row)
            lockRows(page, {McAddress2Row, McPort2Row}, unloaded || isOn(item));
        markChanges(page, &QVexmarSettingsPage::hasOutputStreamChanges);
    }
}
