// QVexmarSettingsPage: the AoIP interface page. It shows the module's values from the AoIP controller, read anew
// at every refresh, and sends the edits of its five settings at once.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "settings/vexmarsettingskeys.h"

#include <QGridLayout>

#include <algorithm>

namespace {

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
        const QString maker = latin1ToQString(ravenna->manufacturer());
        const auto startsWith = [&maker](const std::string &word) {
            return maker.startsWith(QString::fromStdString(word), Qt::CaseInsensitive);
        };
        netMode = startsWith(settingskeys::MODULE_MAKER_NET_MODE);
        ownTools = startsWith(settingskeys::MODULE_MAKER_OWN_TOOLS);
        noRevision = startsWith(settingskeys::MODULE_MAKER_NO_REVISION);
    }
};

QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left = 10, int top = 0)
{
    auto *row = new QVexmarMenuItem(id, kind, page);
    row->layout->setContentsMargins(left, top, 10, 0);
    row->titleLabel->setText(title);
    page->addItem(row);
    return row;
}

// A row of the two sections: indented under its label and never edited.
void addStatusRow(QVexmarMenuItems *page, int id, const QString &title)
{
    addRow(page, id, QVexmarMenuItem::Text, title, 60)->setLocked(true);
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
        = netIf.ipAddress.empty() ? QVexmarSettingsPage::tr("No Address") : latin1ToQString(netIf.ipAddress);
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
        = ravenna->outputName().empty() ? QVexmarSettingsPage::tr("No Name") : latin1ToQString(ravenna->outputName());
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

    addRow(page, -1, QVexmarMenuItem::Label, tr("Status"), 10, 20);
    addStatusRow(page, SyncStateRow, tr("Sync State"));
    addStatusRow(page, LinkStateRow, tr("Link State"));
    addStatusRow(page, PtpStateRow, tr("PTP State"));
    addRow(page, -1, QVexmarMenuItem::Label, tr("Information"), 10, 20);
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
    const bool notLoaded = ravenna->state() == -1;
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

    lockRow(page, DeviceNameRow, notLoaded || g_accessLevel != 2, latin1ToQString(ravenna->deviceName()));
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
    showText(page, ManufacturerRow, latin1ToQString(ravenna->manufacturer()));
    showText(page, ModelRow, latin1ToQString(ravenna->hardwareName()));
    showText(page, FirmwareVersionRow, latin1ToQString(ravenna->firmwareVersion()));
    showText(page, HardwareRevisionRow, latin1ToQString(ravenna->hardwareRev()));
    showText(page, SoftwareRevisionRow, latin1ToQString(ravenna->firmwareRev()));
    showText(page, MaintenanceRevisionRow, latin1ToQString(ravenna->rescueOsRev()));
}

void QVexmarSettingsPage::aoipInterfaceValueChanged(QVexmarMenuItem *item)
{
    TComRavennaController *ravenna = getRavennaController();
    const QString text = item->valueLabel ? item->valueLabel->text() : QString();
    const int current = item->currentOption();
    const bool chosen = current >= 0 && current < item->options().size();
    const int value = chosen ? item->options().at(current).value : 0;
    switch (item->id) {
    case DeviceNameRow: {
        const QString held = latin1ToQString(ravenna->deviceName());
        // An empty name is never sent, and one that Latin-1 cannot hold would arrive altered.
        const bool sendable = !text.isEmpty() && latin1ToQString(qStringToLatin1(text)) == text;
        setImmediately(item, sendable && ravenna->setDeviceName(qStringToLatin1(text), true), held);
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
        bool number = false;
        const int domain = text.toInt(&number);
        const bool sendable = number && domain >= 0 && domain <= highestPtpDomain;
        setImmediately(item, sendable && ravenna->setPtpDomain(domain, true), QString::number(ravenna->ptpDomain()));
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
