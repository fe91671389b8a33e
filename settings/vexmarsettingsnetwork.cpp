// QVexmarSettingsPage: the Network page of the Network branch, whose first rows set the outgoing network, the
// secondary network and the codec mode at once, and the mobile pages: SIM state, PIN, operator scan and the apply
// from the page's mobile editing copy.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/menu/vexmarmenuselect.h"

#include <QColor>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace settingsrows;
using Mobile = TComMobileController;

enum NetworkRow {
    OutgoingRow = 7,
    SecondaryRow = 8,
    CodecModeRow = 9,
    AoipLinkRow = 10,
    IsdnLinkRow = 11,
    FirstEthernetRow = 12,
    FirstMobileRow = 16,
    LastMobileRow = 19,
    FirstWifiRow = 20,
};
enum MobileRow {
    PinRow = 41,
    PinSaveRow = 42,
    RatRow = 43,
    OperatorRow = 44,
    ModeRow = 45,
    DataServiceRow = 46,
    ApnRow = 47,
    AuthenticationRow = 48,
    UserRow = 49,
    PasswordRow = 50,
    QualityRow = 51,
    AjbRow = 52,
    ManufacturerRow = 53,
    ModelRow = 54,
    RevisionRow = 55,
    ImeiRow = 56,
    ImsiRow = 57,
    NumberRow = 58,
};

// Four of each kind of interface have a page; ISDN has one.
constexpr int interfacesWithPages = 4;
constexpr int pinTimeoutMs = 15000;
constexpr int scanTimeoutMs = 180000;
// Far more operators than a scan finds; a longer list from the device would only make the choice unusable.
constexpr int maxOperators = 256;
const std::string plmnAuto("auto");

QString tr(const char *text)
{
    return QVexmarSettingsPage::tr(text);
}

std::string mobileName(int pageId)
{
    return networkNameOfCode(TypeMobile + pageId - FirstMobileRow);
}

// A link of the Network page to an interface page.
void addLink(QVexmarMenuItems *page, int id, const QString &title, const QString &text, bool locked)
{
    QVexmarMenuItem *row = newRow(page, id, QVexmarMenuItem::SubMenu, title);
    row->setValueText(text);
    addLocked(page, row, locked);
}

// The link rows of the interfaces that have a page, in ascending network code: AoIP, Ethernet, ISDN, mobile, Wi-Fi.
void addLinks(QVexmarMenuItems *page, int code, bool operatorLevel)
{
    const int index = networkIndexOfCode(code);
    const int type = networkTypeOfCode(code);
    if (code == TypeAoip) {
        addLink(page, AoipLinkRow, tr("AoIP settings"), tr("Configure the AoIP controller"), operatorLevel);
    } else if (type == TypeEthernet && index < interfacesWithPages) {
        const char *const texts[] = {QT_TR_NOOP("Configure the primary Ethernet interface"),
            QT_TR_NOOP("Configure the auxiliary Ethernet interface"),
            QT_TR_NOOP("Configure the external Ethernet interface"),
            QT_TR_NOOP("Configure the external Ethernet interface")};
        addLink(page, FirstEthernetRow + index, tr("LAN%1 settings").arg(index + 1), tr(texts[index]), operatorLevel);
    } else if (type == TypeIsdn && index == 0) {
        addLink(page, IsdnLinkRow, tr("ISDN settings"), tr("Configure the ISDN controller"), operatorLevel);
    } else if (type == TypeMobile && index < interfacesWithPages) {
        // Shown once the SIM state is read; an Operator enters the PIN here.
        QVexmarMenuItem *row = newRow(page, FirstMobileRow + index, QVexmarMenuItem::SubMenu,
            index < 2 ? tr("Mobile settings (Internal %1)").arg(index + 1)
                      : tr("Mobile settings (External %1)").arg(index - 1));
        row->hide();
        page->addItem(row);
    } else if (type == TypeWifi && index < interfacesWithPages) {
        addLink(page, FirstWifiRow + index,
            index == 0 ? tr("Wi-Fi settings (Internal)") : tr("Wi-Fi settings (External %1)").arg(index),
            QStringLiteral("Configure the Wi-Fi controller"), operatorLevel);
    }
}

// The stored choice of a radio access technology, also one the modem does not offer.
QString ratText(int rat)
{
    static const char *const texts[] = {QT_TR_NOOP("Auto"), QT_TR_NOOP("3G"), QT_TR_NOOP("2G"),
        QT_TR_NOOP("3G preferred"), QT_TR_NOOP("2G preferred"), QT_TR_NOOP("2G/3G"), QT_TR_NOOP("4G/LTE"),
        QT_TR_NOOP("4G/LTE and 5G"), QT_TR_NOOP("5G")};
    return rat >= 0 && rat < int(std::size(texts)) ? tr(texts[rat]) : QString::number(rat);
}

// The technologies the modem offers, in the order of the choice.
Options ratOptions(int capabilities)
{
    Options options;
    for (int rat : {Mobile::RatAuto, Mobile::RatOnlyGsm, Mobile::RatOnlyUmts, Mobile::RatOnlyLte, Mobile::RatOnlyLte5g,
             Mobile::RatOnly5g}) {
        if (capabilities & (Mobile::CanRatAuto << rat))
            options.emplace_back(rat, ratText(rat));
    }
    return options;
}

QString operatorText(const std::string &plmn)
{
    return plmn == plmnAuto ? tr("Auto") : latin1ToQString(plmn);
}

// A mobile page's rows that differ from the copy, in the order the apply sets them. The PIN is not one of them.
void walkMobileRows(RowChanges &changes, QVexmarMenuItems *page, Mobile &copy)
{
    changes.toggle(PinSaveRow, KEY_MOBILE_PIN_PERSISTENT, &copy, &Mobile::setPinPersistent, copy.pinPersistent());
    changes.choice(RatRow, KEY_MOBILE_RAT, &copy, &Mobile::setRat, copy.rat());
    if (QVexmarMenuItem *row = openRow(page, OperatorRow)) {
        const QString text = row->valueLabel->text();
        const std::string plmn = text == tr("Auto") ? plmnAuto : qStringToLatin1(text);
        if (plmn != copy.plmn())
            changes.note(KEY_MOBILE_PLMN, &copy, &Mobile::setPlmn, copy.plmn(), plmn);
    }
    changes.choice(ModeRow, KEY_MOBILE_MODE, &copy, &Mobile::setMode, copy.mode());
    changes.toggle(
        DataServiceRow, KEY_MOBILE_DATA_CONNECTION, &copy, &Mobile::setDataConnection, copy.dataConnection());
    changes.choice(QualityRow, KEY_NETWORK_QUALITY, &copy, &Mobile::setNetworkQuality, copy.networkQuality());
    changes.choice(AjbRow, KEY_AJB_PROFILE, &copy, &Mobile::setAjbProfile, copy.ajbProfile());
    changes.text(ApnRow, KEY_MOBILE_APN, &copy, &Mobile::setApn, copy.apn());
    changes.choice(
        AuthenticationRow, KEY_MOBILE_AUTHENTICATION, &copy, &Mobile::setAuthentication, copy.authentication());
    changes.text(UserRow, KEY_MOBILE_USERNAME, &copy, &Mobile::setUsername, copy.username());
    changes.text(PasswordRow, KEY_MOBILE_PASSWORD, &copy, &Mobile::setPassword, copy.password());
}

} // namespace

// ---- Network page ------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildNetworkMenu()
{
    auto *page = new QVexmarMenuItems(NetworkEntry, this);
    TComDevice *device = getDevice();
    // What the device had before stands when it cannot tell.
    device->fetchNetworks();
    const std::map<int, std::string> networks = device->availableNetworks();

    QVexmarMenuItem *outgoing = newRow(page, OutgoingRow, QVexmarMenuItem::Selection, tr("Network for Outgoing Calls"));
    for (const auto &[code, name] : networks) {
        if (networkFamilyOfCode(code) != TComDevice::FamilyNone)
            outgoing->addOption(code, QVexmarLocalize::networkName(code));
    }
    page->addItem(outgoing);
    updateNetworkItem(outgoing);
    if (device->deviceOptions() & TComDevice::OptIpDualStreamMore) {
        QVexmarMenuItem *secondary
            = newRow(page, SecondaryRow, QVexmarMenuItem::Selection, tr("Secondary IP Network for Double Streaming"));
        for (const auto &[code, name] : networks) {
            if (networkFamilyOfCode(code) == TComDevice::FamilyIp)
                secondary->addOption(code, QVexmarLocalize::networkName(code));
        }
        page->addItem(secondary);
        updateNetworkItem(secondary);
    }
    QVexmarMenuItem *mode = newChoice(page, CodecModeRow, tr("Codec Mode"),
        {{TComDevice::CodecModeSingle, tr("Single Codec")}, {TComDevice::CodecModeDouble, tr("Double Codec")}});
    page->addItem(mode);
    updateNetworkItem(mode);
    addHeader(page, QString());

    const bool operatorLevel = g_accessLevel == 0;
    for (const auto &[code, name] : networks)
        addLinks(page, code, operatorLevel);
    updateMobileNetworkItems(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateMobileNetworkItems(QVexmarMenuItems *page)
{
    if (!page || page->pageId != NetworkEntry)
        return;
    Mobile *copy = m_mobile.get();
    for (int id = FirstMobileRow; id <= LastMobileRow; ++id) {
        QVexmarMenuItem *row = page->findItem(id);
        if (!row || !copy->attach(mobileName(id), TComNetworkController::AttachMobileFlag, false))
            continue;
        switch (copy->state()) {
        case Mobile::SimMissing:
            row->setValueTextAndGlobalColor(tr("SIM Missing"), Qt::red);
            break;
        case Mobile::SimLocked:
            row->setValueTextAndGlobalColor(tr("SIM Locked"), Qt::red);
            break;
        case Mobile::PinRequired:
            row->setValueTextAndGlobalColor(tr("PIN Required"), Qt::red);
            break;
        default:
            row->setValueTextAndColor(tr("Configure the Mobile controller"), QColor(0, 162, 232));
            break;
        }
        row->show();
    }
}

// Rows 7-9 act at once: the device takes the network or the codec mode, or the row shows again what it holds.
void QVexmarSettingsPage::networkValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    int value = 0;
    if (!page || !chosenValue(page, item->id, value))
        return;
    TComDevice *device = getDevice();
    if (item->id == OutgoingRow || item->id == SecondaryRow) {
        const bool outgoing = item->id == OutgoingRow;
        const auto held = [device, outgoing] {
            return networkCodeOfName(outgoing ? device->defaultNetwork() : device->secondaryNetwork());
        };
        if (refusedDuringCall(item, held(), QVexmarLocalize::networkName(held())))
            return;
        showMessagePopup(tr("Applying changes..."), 1000);
        const std::string name = networkNameOfCode(value);
        const bool accepted
            = outgoing ? device->setDefaultNetwork(name, true) : device->setSecondaryNetwork(name, true);
        setImmediately(item, accepted, held(), QVexmarLocalize::networkName(held()));
    } else if (item->id == CodecModeRow) {
        if (refusedDuringCall(item, device->codecMode() == TComDevice::CodecModeDouble ? 1 : 0))
            return;
        showMessagePopup(tr("Applying changes..."), 0);
        // Coordination must be off before the codec mode changes, whichever mode is chosen.
        const bool accepted = device->setCoordMode(0, true) && device->setCodecMode(value, true);
        updateNetworkItem(item);
        if (accepted)
            closeMessagePopup();
        else
            showMessagePopup(tr("Failed to apply changes!"), 0);
    }
}

// ---- Mobile pages ------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildMobileMenu(int rowId)
{
    auto *page = new QVexmarMenuItems(rowId, this);
    Mobile *copy = m_mobile.get();
    copy->attach(
        mobileName(rowId), TComNetworkController::AttachFetch | TComNetworkController::AttachMobileFlag, false);
    const int state = copy->state();
    const bool notAttached = state == Mobile::Detached;
    const bool locked = notAttached || g_accessLevel == 0;
    const bool pinRequired = state == Mobile::PinRequired;
    const bool simUnusable = state == Mobile::SimMissing || state == Mobile::SimLocked;
    const int text = QVexmarMenuItem::Text;

    if (pinRequired)
        addText(page, PinRow, QVexmarMenuItem::Pin, tr("PIN Code"), std::string(), false);
    if (!simUnusable)
        addSwitch(page, PinSaveRow, tr("PIN Save"), copy->pinPersistent(), false);
    const bool full = !pinRequired && !simUnusable;
    if (full) {
        const int rat = copy->rat();
        if (rat == Mobile::RatUnknown) {
            addChoiceOrUnknown(page, RatRow, tr("Preferred Radio Access Technology"), {}, rat, true);
        } else {
            // A choice the modem does not offer is shown in red with no option current, so an apply keeps it.
            QVexmarMenuItem *row = addLocked(page,
                newChoice(page, RatRow, tr("Preferred Radio Access Technology"), ratOptions(copy->capabilities())),
                notAttached);
            showHeldOption(row, rat, ratText(rat));
        }
        QVexmarMenuItem *scan = newRow(page, OperatorRow, QVexmarMenuItem::Action, tr("Preferred Network Operator"));
        scan->setValueText(operatorText(copy->plmn()));
        addLocked(page, scan, locked);
        addChoiceOrUnknown(page, ModeRow, tr("Mode"),
            {{Mobile::ModeGsmVoice, tr("Cellphone")}, {Mobile::ModeData, tr("Audio over IP")}}, copy->mode(),
            notAttached || copy->mode() == Mobile::ModeData);
        addHeader(page, tr("Audio over IP"));
        indented(addSwitch(page, DataServiceRow, tr("Data Service"), copy->dataConnection(), notAttached));
        indented(addStreamRow(page, QualityRow, AjbRow, copy->networkQuality(), copy->ajbProfile(), locked));
        indented(addText(page, ApnRow, text, tr("Access Point Name"), copy->apn(), notAttached));
        if (copy->authentication() == Mobile::AuthenticationNone) {
            indented(addChoice(page, AuthenticationRow, tr("Authentication Mode"),
                {{Mobile::AuthenticationNone, tr("Not Applicable")}}, Mobile::AuthenticationNone, true));
        } else {
            indented(addChoice(page, AuthenticationRow, tr("Authentication Mode"),
                {{Mobile::AuthenticationPap, QStringLiteral("PAP")},
                    {Mobile::AuthenticationChap, QStringLiteral("CHAP")}},
                copy->authentication(), locked));
        }
        indented(addText(page, UserRow, text, tr("Authentication User Name"), copy->username(), locked));
        indented(addText(page, PasswordRow, text, tr("Authentication Password"), copy->password(), locked));
    }

    addHeader(page, tr("Information"));
    indented(addText(page, ManufacturerRow, text, tr("Manufacturer"), copy->manufacturer(), true));
    indented(addText(page, ModelRow, text, tr("Model"), copy->model(), true));
    indented(addText(page, RevisionRow, text, tr("Revision"), copy->revision(), true));
    indented(addText(page, ImeiRow, text, tr("IMEI"), copy->imei(), true));
    if (full) {
        indented(addText(page, ImsiRow, text, tr("IMSI"), copy->imsi(), true));
        QVexmarMenuItem *number
            = indented(addText(page, NumberRow, text, tr("Subscriber Number"), copy->msisdn(), true));
        if (copy->msisdn().empty())
            number->setValueText(tr("Not Available"));
    }
    pushItems(page);
}

bool QVexmarSettingsPage::hasMobileChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    QVexmarMenuItem *pin = openRow(page, PinRow);
    RowChanges changes(page, nullptr);
    walkMobileRows(changes, page, *m_mobile);
    return (pin && !latin1Of(pin).empty()) || changes.changed();
}

bool QVexmarSettingsPage::applyMobileChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Mobile *copy = m_mobile.get();
    // A text the device would store altered is refused before anything, the PIN included, is sent.
    RowChanges probe(page, nullptr);
    walkMobileRows(probe, page, *copy);
    if (probe.refused()) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    QVexmarMenuItem *pin = openRow(page, PinRow);
    if (pin && !latin1Of(pin).empty()) {
        showMessagePopup(tr("Applying PIN code..."), 0);
        const int result = copy->enterPin(latin1Of(pin), pinTimeoutMs);
        if (result != Mobile::PinAccepted) {
            // Each try may have cost the SIM one of its few: only a PIN typed again is ever sent.
            pin->setValueText(QString());
            markChanges(page, &QVexmarSettingsPage::hasMobileChanges);
            showMessagePopup(result == Mobile::PinWrong ? tr("Wrong PIN code!") : tr("Failed to apply PIN code!"), 0);
            return false;
        }
        closeMessagePopup();
        // The SIM took it: a retry after a refused store must not send it again.
        pin->setValueText(QString());
    }
    Edits edits;
    RowChanges changes(page, &edits);
    walkMobileRows(changes, page, *copy);
    return storeEdits(this, copy, edits);
}

// Row 44 after its confirmation: the operators the modem finds, offered with "Auto" first.
void QVexmarSettingsPage::mobileValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    if (item->id == OperatorRow) {
        showMessagePopup(tr("Scanning available networks..."), 0);
        kra::CMsg request(kra::CMsg::Param);
        request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
        request.setParam(kra::KEY_NETWORK, mobileName(page->pageId));
        request.addList(KEY_MOBILE_PLMN);
        std::vector<std::string> operators;
        if (!rpc()->getList(request, operators, scanTimeoutMs)) {
            showMessagePopup(tr("Failed to scan networks!"), 0);
        } else {
            closeMessagePopup();
            item->clearOptions();
            item->addOption(0, tr("Auto"));
            const int count = std::min(int(operators.size()), maxOperators);
            for (int i = 0; i < count; ++i)
                item->addOption(i + 1, latin1ToQString(operators.at(size_t(i))));
            showSelectionPopup(tr("Select Network"), item, true);
        }
    }
    markChanges(page, &QVexmarSettingsPage::hasMobileChanges);
}

void QVexmarSettingsPage::mobileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page || !selection || !selection->current())
        return;
    item->setValueText(selection->current()->label->text());
    markChanges(page, &QVexmarSettingsPage::hasMobileChanges);
}
