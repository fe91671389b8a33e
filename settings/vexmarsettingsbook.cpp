// QVexmarSettingsPage: the Book. Its page, the lists of call profiles, presets, SIP profiles and snapshots that the
// device keeps, and the page of one record. A call profile is read from the device, edited in editedProfile against
// loadedProfile, stored with the apply icon, loaded onto a codec line or deleted; the other records are created on
// their list and loaded, updated or deleted by their id.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "settings/codingrows.h"
#include "settings/vexmarsettingskeys.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarvirtual.h"

#include <QGridLayout>
#include <QStackedLayout>

#include <algorithm>
#include <limits>
#include <vector>

using settingsrows::chosenValue;
using settingsrows::fitsLatin1;

namespace {

enum BookRow {
    CallProfilesRow = 170,
    PresetsRow = 171,
    SipProfilesRow = 172,
    SnapshotsRow = 173,
    NewRecordRow = 174,
    RecordPage = 175,
    NameRow = 176,
    NetworkRow = 177,
    AlgorithmRow = 178,
    ChannelModeRow = 179,
    SampleRateRow = 180,
    BitRateRow = 181,
    RemoteNumberRow = 182,
    SecondNumberRow = 183,
    LoadRow = 184,
    UpdateRow = 185,
    DeleteRow = 186,
};

constexpr int bookTimeoutMs = 5000;
constexpr int noAlgorithm = -1;
constexpr int mobileVoice = 17;

bool inRange(int id, int first, int last)
{
    return id >= first && id <= last;
}

QVexmarMenuItem *addRow(
    QVexmarMenuItems *page, int id, int kind, const QString &title, const QString &value = {}, int groupId = -1)
{
    auto *row = new QVexmarMenuItem(id, groupId, kind, page);
    row->layout->setContentsMargins(10, 0, 10, 0);
    row->titleLabel->setText(title);
    if (!value.isEmpty())
        row->setValueText(value, false);
    page->addItem(row);
    return row;
}

void addSpacer(QVexmarMenuItems *page)
{
    auto *row = new QVexmarMenuItem(-1, QVexmarMenuItem::Label, page);
    row->layout->setContentsMargins(10, 10, 10, 0);
    page->addItem(row);
}

QString valueText(const QVexmarMenuItem *row)
{
    return row->valueLabel ? row->valueLabel->text() : QString();
}

kra::CMsg bookRequest(const std::string &action, const std::string &type)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.setParam(kra::KEY_ACTION, action);
    request.setParam(kra::KEY_TYPE, type);
    return request;
}

// The device's id of a listed record: its row id less the first list row.
std::string recordId(int entryId)
{
    return std::to_string(entryId - QVexmarSettingsPage::firstListRow);
}

#define BOOK_TEXT(text) QT_TRANSLATE_NOOP("QVexmarSettingsPage", text)

// What tells the four lists apart: their record type and their texts (null where a list has no such action).
struct RecordKind
{
    int listId;
    const std::string &type;
    const char *newTitle;
    const char *newValue;
    const char *rowValue; // Expert and Administrator: the row opens the record's page
    const char *operatorRowValue; // Operator: the row loads the record
    const char *nameTitle;
    const char *loadValue;
    const char *updateValue;
    const char *deleteValue;
    const char *creating;
    const char *createFailed;
    const char *cannotLoad;
    const char *loading;
    const char *loadFailed;
    const char *updateFailed;
    const char *deleteFailed;
};

const RecordKind recordKinds[] = {
    {CallProfilesRow, settingskeys::TYPE_REMOTE_PROFILE, BOOK_TEXT("New Call Profile"),
        BOOK_TEXT("Create a new call profile"), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr, nullptr, BOOK_TEXT("Failed to delete the call profile!")},
    {PresetsRow, settingskeys::TYPE_LOCAL_PROFILE, BOOK_TEXT("New Preset"), BOOK_TEXT("Create a new preset"),
        BOOK_TEXT("Load, update or delete the preset"), BOOK_TEXT("Load the preset"), BOOK_TEXT("Preset Name"),
        BOOK_TEXT("Load the preset"), BOOK_TEXT("Update the preset"), BOOK_TEXT("Delete the preset"),
        BOOK_TEXT("Creating the preset..."), BOOK_TEXT("Failed to create the preset!"),
        BOOK_TEXT("Cannot load the preset\n(a connection is established)"), BOOK_TEXT("Loading the preset..."),
        BOOK_TEXT("Failed to load the preset!"), BOOK_TEXT("Failed to update the preset!"),
        BOOK_TEXT("Failed to delete the preset!")},
    {SipProfilesRow, settingskeys::TYPE_SIP_PROFILE, BOOK_TEXT("New SIP Profile"),
        BOOK_TEXT("Create a new SIP profile"), BOOK_TEXT("Load or delete the SIP profile"),
        BOOK_TEXT("Load the SIP profile"), BOOK_TEXT("SIP Profile Name"), BOOK_TEXT("Load the SIP profile"), nullptr,
        BOOK_TEXT("Delete the SIP profile"), BOOK_TEXT("Creating the SIP profile..."),
        BOOK_TEXT("Failed to create the SIP profile!"),
        BOOK_TEXT("Cannot load the SIP profile\n(a connection is established)"),
        BOOK_TEXT("Loading the SIP profile..."), BOOK_TEXT("Failed to load the SIP profile!"), nullptr,
        BOOK_TEXT("Failed to delete the SIP profile!")},
    {SnapshotsRow, settingskeys::TYPE_SNAPSHOT, BOOK_TEXT("New Snapshot"), BOOK_TEXT("Create a new snapshot"),
        BOOK_TEXT("Load, update or delete the snapshot"), BOOK_TEXT("Load the snapshot"), BOOK_TEXT("Snapshot Name"),
        BOOK_TEXT("Load the snapshot"), BOOK_TEXT("Update the snapshot"), BOOK_TEXT("Delete the snapshot"),
        BOOK_TEXT("Creating the snapshot..."), BOOK_TEXT("Failed to create the snapshot!"),
        BOOK_TEXT("Cannot load the snapshot\n(a connection is established)"), nullptr,
        BOOK_TEXT("Failed to load the snapshot!"), BOOK_TEXT("Failed to update the snapshot!"),
        BOOK_TEXT("Failed to delete the snapshot!")},
};

const RecordKind *recordKind(int listId)
{
    for (const RecordKind &kind : recordKinds) {
        if (kind.listId == listId)
            return &kind;
    }
    return nullptr;
}

QString text(const char *source)
{
    return QVexmarSettingsPage::tr(source);
}

// The device's item ids become row ids (299 + id): larger ones would overflow.
constexpr int maxRecordId = std::numeric_limits<int>::max() - QVexmarSettingsPage::firstListRow;
// A list longer than this shows its first records; the call profile list opens each of them.
constexpr int maxListedRecords = 500;

struct ListEntry
{
    QString name;
    int id;
};

// A non-negative decimal up to maxRecordId: any other text would address another record (0 for most).
bool parseRecordId(const std::string &text, int &id)
{
    if (text.empty())
        return false;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
        if (value > maxRecordId)
            return false;
    }
    id = int(value);
    return true;
}

// The page's create row at the levels that create, then the device's list of the kind: its records sorted by name
// (equal names in the device's order), the first maxListedRecords of them; leftOut counts the others.
std::vector<ListEntry> readList(QVexmarSettingsPage *menu, QVexmarMenuItems *page, const RecordKind &kind, int &leftOut)
{
    if (g_accessLevel != 0) {
        addRow(page, NewRecordRow, kind.listId == CallProfilesRow ? QVexmarMenuItem::SubMenu : QVexmarMenuItem::Action,
            text(kind.newTitle), text(kind.newValue));
        addSpacer(page);
    }
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.addList(kind.type);
    std::vector<std::string> items;
    // A failed list shows what arrived before the failure.
    menu->rpc()->getList(request, items, bookTimeoutMs);
    std::vector<ListEntry> entries;
    leftOut = 0;
    for (const std::string &item : items) {
        const size_t slash = item.find('/');
        int id = 0;
        if (slash == std::string::npos || !parseRecordId(item.substr(0, slash), id))
            continue;
        if (int(entries.size()) == maxListedRecords)
            ++leftOut;
        else
            entries.push_back({utf8ToQString(item.substr(slash + 1)), id});
    }
    std::stable_sort(entries.begin(), entries.end(),
        [](const ListEntry &a, const ListEntry &b) { return QVexmarSettingsPage::listNameLessThan(a.name, b.name); });
    return entries;
}

QVexmarMenuItem *addRecordRow(QVexmarMenuItems *page, const ListEntry &entry, const QString &value)
{
    const int kind = g_accessLevel == 0 ? QVexmarMenuItem::Action : QVexmarMenuItem::SubMenu;
    return addRow(page, QVexmarSettingsPage::firstListRow + entry.id, kind, entry.name, value, page->pageId);
}

// Says under the list how many records it leaves out.
void addLeftOutNote(QVexmarMenuItems *page, int leftOut)
{
    if (leftOut > 0)
        settingsrows::addLeftOutNote(page, leftOut, maxListedRecords);
}

enum class Opened { Read, Refused, Unanswered };

// The call profile of that id opened; a device that did not answer is told apart from one that refused.
Opened openCallProfile(QVexmarSettingsPage *menu, int id, std::map<std::string, std::string> &fields)
{
    kra::CMsg request = bookRequest(kra::CMD_OPEN, settingskeys::TYPE_REMOTE_PROFILE);
    request.setParam(kra::KEY_ID, longToString(id));
    kra::CMsg reply;
    const int result = menu->rpc()->com()->sendSyncMsg(request, reply, 1000, bookTimeoutMs);
    if (result < 0)
        return Opened::Unanswered;
    if (result > 0 || reply.value(kra::KEY_RETURN) != kra::RET_OK)
        return Opened::Refused;
    fields = reply.params;
    fields.erase(kra::KEY_RETURN);
    return Opened::Read;
}

// The new list of the kind built and pushed, the old one taken off the stack.
void replaceList(QVexmarSettingsPage *menu, QVexmarMenuItems *old, void (QVexmarSettingsPage::*build)())
{
    (menu->*build)();
    if (old && menu->currentItems() != old) {
        menu->stack->removeWidget(old);
        old->deleteLater();
    }
}

// "(<the dictionary's text of the cause>)" on a line of its own; empty without a cause.
QString causeLine(const std::string &cause)
{
    return cause.empty() ? QString() : QStringLiteral("\n(") + getLocaleDictionary()->translate(cause) + ')';
}

// 139-141: the profile was loaded, but not all of it fits the account.
bool isSipWarning(const std::string &cause)
{
    return cause == kra::ERR_INCOMPATIBLE_WITH_SIP1 || cause == kra::ERR_INCONSISTANT_WITH_SIP2
        || cause == kra::ERR_SIP1_NOT_CONFIGURED;
}

// The record deleted on the device and its row taken off its list page, then back; the page stays on a refusal.
void deleteRecord(QVexmarSettingsPage *menu, int listId, int entryId)
{
    const RecordKind *kind = recordKind(listId);
    kra::CMsg request = bookRequest(kra::CMD_DELETE, kind->type);
    request.setParam(kra::KEY_ID, recordId(entryId));
    if (!menu->rpc()->execute(request, bookTimeoutMs)) {
        menu->showMessagePopup(text(kind->deleteFailed), 0);
        return;
    }
    if (QVexmarMenuItems *list = menu->findItems(listId)) {
        if (QVexmarMenuItem *row = list->findItemInGroup(entryId, listId)) {
            list->removeItem(row);
            row->deleteLater();
        }
    }
    menu->backClicked();
}

void offerSipAccounts(QVexmarSettingsPage *menu, QVexmarMenuItem *row, const QString &title)
{
    row->clearOptions();
    row->addOption(1, QVexmarSettingsPage::tr("Primary SIP Account"));
    row->addOption(2, QVexmarSettingsPage::tr("Secondary SIP Account"));
    row->selectOption(1, false, true);
    menu->showSelectionPopup(title, row, true);
}

} // namespace

// ---- Book page ---------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildBookMenu()
{
    auto *page = new QVexmarMenuItems(BookEntry, this);
    addRow(page, CallProfilesRow, QVexmarMenuItem::SubMenu, tr("Call Profiles"), tr("Manage the call profiles"));
    addRow(page, PresetsRow, QVexmarMenuItem::SubMenu, tr("Presets"), tr("Manage the presets"));
    addRow(page, SipProfilesRow, QVexmarMenuItem::SubMenu, tr("SIP Profiles"), tr("Manage the SIP profiles"));
    addRow(page, SnapshotsRow, QVexmarMenuItem::SubMenu, tr("Snapshots"), tr("Manage the snapshots"));
    pushItems(page);
}

// ---- Call profile page -------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildCallProfileMenu(int entryId, const QString &name)
{
    auto *page = new QVexmarMenuItems(RecordPage, CallProfilesRow, this);
    const bool read = loadCallProfile(entryId, name);
    const TCallProfile &profile = editedProfile;

    addRow(page, NameRow, QVexmarMenuItem::Text, tr("Call Profile Name"))->setValueText(profile.name, false);
    addSpacer(page);
    QVexmarMenuItem *network = addRow(page, NetworkRow, QVexmarMenuItem::Selection, tr("Network"));
    // Ascending codes, as the map holds them; AoIP carries no calls of its own.
    for (const auto &entry : getDevice()->availableNetworks()) {
        if (entry.first != TypeAoip)
            network->addOption(entry.first, QVexmarLocalize::networkName(entry.first));
    }
    showHeldOption(network, profile.networkCode, QVexmarLocalize::networkName(profile.networkCode));
    addRow(page, AlgorithmRow, QVexmarMenuItem::Selection, tr("Algorithm"));
    addRow(page, ChannelModeRow, QVexmarMenuItem::Selection, tr("Channel Mode"));
    addRow(page, SampleRateRow, QVexmarMenuItem::Selection, tr("Sampling Rate"));
    addRow(page, BitRateRow, QVexmarMenuItem::Selection, tr("Bit Rate"));
    addRow(page, RemoteNumberRow, QVexmarMenuItem::Numeric, tr("Remote Number"))
        ->setValueText(profile.remoteNumber, false);
    addRow(page, SecondNumberRow, QVexmarMenuItem::Numeric, tr("Second Remote Number"))
        ->setValueText(profile.remoteNumber2, false);
    if (entryId >= firstListRow) {
        addSpacer(page);
        addRow(page, LoadRow, QVexmarMenuItem::Action, tr("Load"), tr("Load the call profile"), entryId);
        addRow(page, DeleteRow, QVexmarMenuItem::Action, tr("Delete"), tr("Delete the call profile"), entryId);
    }

    updateCallProfileCoding(page);
    updateCallProfileActions(page);
    // A stored profile not read shows defaults: saving them would overwrite what the device holds.
    if (!read) {
        for (int id = NameRow; id <= SecondNumberRow; ++id) {
            if (QVexmarMenuItem *row = page->findItem(id))
                row->setLocked(true);
        }
    }
    // After the coding update, so that what it replaced is no change.
    loadedProfile = editedProfile;
    pushItems(page);
    if (!read)
        showMessagePopup(tr("Failed to read the call profile!"), 0);
}

bool QVexmarSettingsPage::loadCallProfile(int entryId, const QString &name)
{
    TCallProfile &profile = editedProfile;
    profile.clear();
    profile.entryId = entryId;
    profile.name = name;
    profile.context = pendingSubId;
    const TComDevice *device = getDevice();
    const bool forCodecLine
        = profile.context == QVexmar::SettingsCallProfiles1 || profile.context == QVexmar::SettingsCallProfiles2;
    profile.codecMode = forCodecLine ? device->codecMode() : TComDevice::CodecModeSingle;
    if (entryId < firstListRow)
        return true;

    kra::CMsg request = bookRequest(kra::CMD_OPEN, settingskeys::TYPE_REMOTE_PROFILE);
    request.setParam(kra::KEY_ID, recordId(entryId));
    std::map<std::string, std::string> reply;
    if (!m_rpc->call(request, reply, bookTimeoutMs))
        return false;
    const auto value = [&reply](const std::string &key) -> const std::string * {
        const auto found = reply.find(key);
        return found == reply.end() ? nullptr : &found->second;
    };
    const std::string *network = value(kra::KEY_NETWORK);
    profile.networkCode = networkCodeOfName(network ? *network : device->defaultNetwork());
    if (const std::string *codec = value(kra::KEY_CODEC))
        profile.coding = parseCodecFormat(*codec);
    if (const std::string *number = value(kra::KEY_REMOTE_ADDR))
        profile.remoteNumber = latin1ToQString(*number);
    if (const std::string *number = value(kra::KEY_REMOTE_ADDR2))
        profile.remoteNumber2 = latin1ToQString(*number);
    profile.state = 0;
    return true;
}

void QVexmarSettingsPage::updateCallProfileCoding(QVexmarMenuItems *page)
{
    if (!page)
        return;
    TCallProfile &profile = editedProfile;
    const int network = profile.networkCode;
    CodingRows rows;
    rows.algorithm = page->findItem(AlgorithmRow);
    rows.channelMode = page->findItem(ChannelModeRow);
    rows.sampleRate = page->findItem(SampleRateRow);
    rows.bitRate = page->findItem(BitRateRow);
    rows.codecMode = profile.codecMode;
    rows.networkType = networkTypeOfCode(network);
    rows.leadingAlgorithms.emplace_back(noAlgorithm, tr("None"));
    if (rows.networkType == TypeMobile)
        rows.leadingAlgorithms.emplace_back(mobileVoice, tr("Voice"));
    // The G.711 variants and G.722 run at one rate.
    rows.fixedRateKhz = [](int algorithm) { return inRange(algorithm, 0, 2) ? 8 : algorithm == 3 ? 16 : 0; };
    rows.takesNoCoding = [](int algorithm) { return algorithm == noAlgorithm || algorithm == mobileVoice; };
    TComDevice *device = getDevice();
    rows.update(device, profile.coding);

    QVexmarMenuItem *second = page->findItem(SecondNumberRow);
    if (!second)
        return;
    const bool doubleStreaming = networkFamilyOfCode(network) == TComDevice::FamilyIp
        && profile.coding.algorithm != mobileVoice && (device->deviceOptions() & TComDevice::OptIpDualStream);
    if (doubleStreaming) {
        profile.remoteNumber2 = valueText(second);
        second->titleLabel->setText(tr("Secondary Number (for Double Streaming)"));
    } else {
        profile.remoteNumber2.clear();
    }
    second->setHidden(!doubleStreaming);
}

void QVexmarSettingsPage::updateCallProfileActions(QVexmarMenuItems *page)
{
    if (!page)
        return;
    const bool modified = header->isModified();
    if (QVexmarMenuItem *load = page->findItem(LoadRow)) {
        const TCallProfile &profile = editedProfile;
        const TComDevice *device = getDevice();
        const std::string network = networkNameOfCode(profile.networkCode);
        const bool line1 = device->audioConnection(QVexmar::Codec1);
        const bool line2 = device->audioConnection(QVexmar::Codec2);
        const int context = pendingSubId;
        bool loadable = false;
        if (!device->hasNetwork(network)) {
            loadable = false;
        } else if (profile.coding.algorithm == mobileVoice) {
            loadable = profile.context != QVexmar::SettingsCallProfiles1
                && profile.context != QVexmar::SettingsCallProfiles2 && !device->audioConnection(QVexmar::VoiceCodec);
        } else if (device->codecMode() != TComDevice::CodecModeDouble) {
            loadable = context != QVexmar::SettingsCallProfilesVoice && !line1;
        } else if (context == QVexmar::SettingsCallProfilesVoice || (line1 && line2)) {
            loadable = false;
        } else {
            // On the default network either line will do; elsewhere line 1 must take it with its network.
            loadable = network == device->defaultNetwork()
                || (context != QVexmar::SettingsCallProfiles2 && !line1 && !line2);
        }
        load->setLocked(modified || !profile.isValid() || !loadable);
    }
    if (QVexmarMenuItem *remove = page->findItem(DeleteRow))
        remove->setLocked(modified);
}

bool QVexmarSettingsPage::saveCallProfile(QVexmarMenuItems *page)
{
    if (!page || page->pageId != RecordPage || page->groupId != CallProfilesRow)
        return false;
    const TCallProfile &profile = editedProfile;
    // A renamed profile is stored as a new one; the old one stays.
    const bool update = profile.entryId != -1 && profile.name == loadedProfile.name;
    const QString failed = update ? tr("Failed to update the call profile!") : tr("Failed to create the call profile!");
    // An algorithm its row does not offer on this network (shown red) would be stored unseen: one must be picked.
    int algorithm = 0;
    const QVexmarMenuItem *algorithmRow = page->findItem(AlgorithmRow);
    if ((update && profile.entryId < firstListRow) || (algorithmRow && !chosenValue(algorithmRow, algorithm))
        || !fitsLatin1(profile.remoteNumber) || !fitsLatin1(profile.remoteNumber2)) {
        showMessagePopup(failed, 0);
        return false;
    }
    kra::CMsg request = bookRequest(update ? kra::CMD_UPDATE : kra::CMD_CREATE, settingskeys::TYPE_REMOTE_PROFILE);
    if (update)
        request.setParam(kra::KEY_ID, recordId(profile.entryId));
    request.setParam(kra::KEY_NAME, qStringToUtf8(profile.name));
    request.setParam(kra::KEY_NETWORK, networkNameOfCode(profile.networkCode));
    if (profile.coding.algorithm != noAlgorithm)
        request.setParam(kra::KEY_CODEC, CodecFormat::codecFormatToString(profile.coding));
    request.setParam(kra::KEY_REMOTE_ADDR, qStringToLatin1(profile.remoteNumber));
    if (!profile.remoteNumber2.isEmpty())
        request.setParam(kra::KEY_REMOTE_ADDR2, qStringToLatin1(profile.remoteNumber2));
    if (m_rpc->execute(request, bookTimeoutMs))
        return true;
    showMessagePopup(failed, 0);
    return false;
}

// ---- Edits, load and delete --------------------------------------------------------------------------------------

void QVexmarSettingsPage::callProfileValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    // A confirmed load: a list row at the Operator level, or the Load row of a stored profile.
    const bool stored = item->groupId() >= firstListRow;
    if ((page->pageId == CallProfilesRow && item->id >= firstListRow) || (item->id == LoadRow && stored)) {
        const bool voice = editedProfile.coding.algorithm == mobileVoice;
        loadCallProfileInto(item,
            voice                                                ? int(QVexmar::VoiceCodec)
                : pendingSubId == QVexmar::SettingsCallProfiles2 ? int(QVexmar::Codec2)
                                                                 : int(QVexmar::Codec1));
        return;
    }
    if (page->pageId != RecordPage)
        return;
    if (item->id == DeleteRow && stored) {
        deleteRecord(this, CallProfilesRow, item->groupId());
        return;
    }

    TCallProfile &profile = editedProfile;
    int value = 0;
    switch (item->id) {
    case NameRow:
        profile.name = valueText(item);
        break;
    case NetworkRow:
        if (chosenValue(item, value))
            profile.networkCode = value;
        break;
    case AlgorithmRow:
        if (!chosenValue(item, value))
            break;
        if (value == noAlgorithm) {
            profile.coding = CodecFormat();
            profile.coding.channelMode = 0;
        }
        profile.coding.algorithm = value;
        break;
    case ChannelModeRow:
        if (chosenValue(item, value))
            profile.coding.channelMode = value;
        break;
    case SampleRateRow:
        if (chosenValue(item, value))
            profile.coding.sampleRate = value;
        break;
    case BitRateRow:
        if (chosenValue(item, value))
            profile.coding.bitRate = value;
        break;
    case RemoteNumberRow:
        profile.remoteNumber = valueText(item);
        break;
    case SecondNumberRow:
        profile.remoteNumber2 = valueText(item);
        break;
    default:
        break;
    }
    updateCallProfileCoding(page);
    if (page == currentItems())
        header->setModified(profile.isValid() && profile != loadedProfile);
    updateCallProfileActions(page);
}

void QVexmarSettingsPage::callProfileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    const int line = selection && selection->current() ? selection->current()->value : 0;
    if (line != QVexmar::Codec1 && line != QVexmar::Codec2) {
        showMessagePopup(tr("Failed to load the call profile!"), 0);
        return;
    }
    loadCallProfileInto(item, line);
}

void QVexmarSettingsPage::loadCallProfileInto(QVexmarMenuItem *item, int line)
{
    TComDevice *device = getDevice();
    if (device->audioConnection(line)) {
        showMessagePopup(tr("Cannot load the profile\n(a connection is established)"), 0);
        return;
    }
    const TCallProfile &profile = editedProfile;
    const std::string codec = CodecFormat::codecFormatToString(profile.coding);
    bool loaded = true;
    if (line == QVexmar::Codec1) {
        const std::string previous = device->defaultNetwork();
        loaded = device->setDefaultNetwork(networkNameOfCode(profile.networkCode), true);
        // A line left on the new network with its old codec would be neither profile nor setting.
        if (loaded && !device->setLineCodec(QVexmar::Codec1, codec, true)) {
            loaded = false;
            device->setDefaultNetwork(previous, true);
        }
    } else if (line == QVexmar::Codec2) {
        loaded = device->setLineCodec(QVexmar::Codec2, codec, true);
    }
    if (!loaded) {
        showMessagePopup(tr("Failed to load the call profile!"), 0);
        return;
    }
    callProfileRemoteNumber = profile.remoteNumber;
    callProfileRemoteNumber2 = profile.remoteNumber2;
    const int context = line == QVexmar::Codec1 ? QVexmar::SettingsCallProfiles1
        : line == QVexmar::Codec2               ? QVexmar::SettingsCallProfiles2
                                                : QVexmar::SettingsCallProfilesVoice;
    emit menuItemChanges(item, context);
    backClicked();
}

// ---- Lists -------------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildCallProfilesMenu()
{
    callProfilesChanged = false;
    TComDevice *device = getDevice();
    // Read once: the requests below may bring events that change them.
    const bool doubleCodec = device->codecMode() == TComDevice::CodecModeDouble;
    const std::string defaultNetwork = device->defaultNetwork();
    const int context = pendingSubId;
    auto *page = new QVexmarMenuItems(CallProfilesRow, this);
    int leftOut = 0;
    const std::vector<ListEntry> profiles = readList(this, page, *recordKind(CallProfilesRow), leftOut);
    device->fetchNetworks();

    enum Family { Ip = 0, Voice = 2 };
    for (const ListEntry &entry : profiles) {
        std::map<std::string, std::string> fields;
        const Opened opened = openCallProfile(this, entry.id, fields);
        // Each open holds the screen for its time-out: a device that did not answer one is asked no more.
        if (opened == Opened::Unanswered)
            break;
        const auto field = [&fields](const std::string &key) -> const std::string * {
            const auto found = fields.find(key);
            return found == fields.end() ? nullptr : &found->second;
        };
        const std::string *network = field(kra::KEY_NETWORK);
        if (opened == Opened::Refused || !network)
            continue;
        int family = networkFamilyOfName(*network);
        if (!device->hasNetworkFamily(family))
            continue;
        const bool line1 = device->audioConnection(QVexmar::Codec1);
        const bool line2 = device->audioConnection(QVexmar::Codec2);
        bool available = device->hasNetwork(*network);
        const std::string *codec = field(kra::KEY_CODEC);
        const CodecFormat coding = codec ? parseCodecFormat(*codec) : CodecFormat();
        if (codec && coding.algorithm == mobileVoice) {
            family = Voice;
        } else if (family != Ip) {
            continue;
        } else if (*network != defaultNetwork) {
            // Off the default network only line 1 can take a profile: it moves the default network.
            if (doubleCodec && context == QVexmar::SettingsCallProfiles2)
                continue;
            if (line1 || line2)
                available = false;
        }

        QString value = QStringLiteral("[ ") + networkTypeText(family) + QStringLiteral(" ]");
        const std::string *number = field(kra::KEY_REMOTE_ADDR);
        if (number && !number->empty()) {
            value += QLatin1Char(' ') + latin1ToQString(*number);
            const std::string *number2 = field(kra::KEY_REMOTE_ADDR2);
            if (number2 && !number2->empty())
                value += QLatin1Char(',') + latin1ToQString(*number2);
        }
        value += QLatin1Char('\n') + QVexmarLocalize::networkName(networkCodeOfName(*network));

        if (family == Voice) {
            if (context == QVexmar::SettingsCallProfiles1 || context == QVexmar::SettingsCallProfiles2)
                continue;
            if (device->audioConnection(QVexmar::VoiceCodec))
                available = false;
        } else if (context == QVexmar::SettingsCallProfilesVoice) {
            continue;
        } else if (!doubleCodec) {
            if (line1)
                available = false;
        } else if ((line1 && line2) || (line1 && context == QVexmar::SettingsCallProfiles1)
            || (line2 && context == QVexmar::SettingsCallProfiles2)) {
            available = false;
        }

        if (!codec) {
            value += QStringLiteral(" - ") + tr("No coding algorithm set");
        } else if (coding.algorithm == noAlgorithm) {
            continue;
        } else {
            value += QStringLiteral(" - ") + QVexmarLocalize::codecDescription(coding);
        }
        QVexmarMenuItem *row = addRecordRow(page, entry, value);
        if (g_accessLevel == 0)
            row->setLocked(!available);
    }
    addLeftOutNote(page, leftOut);
    pushItems(page);
}

void QVexmarSettingsPage::buildPresetsMenu()
{
    buildRecordList(PresetsRow);
}

void QVexmarSettingsPage::buildSipProfilesMenu()
{
    buildRecordList(SipProfilesRow);
}

void QVexmarSettingsPage::buildSnapshotsMenu()
{
    buildRecordList(SnapshotsRow);
}

void QVexmarSettingsPage::buildRecordList(int listId)
{
    const RecordKind &kind = *recordKind(listId);
    auto *page = new QVexmarMenuItems(listId, this);
    int leftOut = 0;
    const QString value = text(g_accessLevel == 0 ? kind.operatorRowValue : kind.rowValue);
    for (const ListEntry &entry : readList(this, page, kind, leftOut))
        addRecordRow(page, entry, value);
    addLeftOutNote(page, leftOut);
    pushItems(page);
}

// ---- Preset, SIP profile and snapshot pages ------------------------------------------------------------------------

void QVexmarSettingsPage::buildPresetMenu(int entryId, const QString &name)
{
    buildRecordMenu(PresetsRow, entryId, name);
}

void QVexmarSettingsPage::buildSipProfileMenu(int entryId, const QString &name)
{
    buildRecordMenu(SipProfilesRow, entryId, name);
}

void QVexmarSettingsPage::buildSnapshotMenu(int entryId, const QString &name)
{
    buildRecordMenu(SnapshotsRow, entryId, name);
}

void QVexmarSettingsPage::buildRecordMenu(int listId, int entryId, const QString &name)
{
    const RecordKind &kind = *recordKind(listId);
    auto *page = new QVexmarMenuItems(RecordPage, listId, this);
    // The name the list showed: an update sends it as it is.
    addRow(page, NameRow, QVexmarMenuItem::ReadOnly, text(kind.nameTitle), name)->setLocked(true);
    addSpacer(page);
    if (entryId >= firstListRow) {
        addRow(page, LoadRow, QVexmarMenuItem::Action, tr("Load"), text(kind.loadValue), entryId);
        if (kind.updateValue)
            addRow(page, UpdateRow, QVexmarMenuItem::Action, tr("Update"), text(kind.updateValue), entryId);
        addRow(page, DeleteRow, QVexmarMenuItem::Action, tr("Delete"), text(kind.deleteValue), entryId);
    }
    pushItems(page);
}

// ---- Their actions -----------------------------------------------------------------------------------------------

void QVexmarSettingsPage::bookListValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    int listId = page->pageId;
    int entryId = item->id;
    int action = LoadRow;
    if (page->pageId == RecordPage) {
        listId = page->groupId;
        entryId = item->groupId();
        action = item->id;
    }
    const RecordKind *kind = recordKind(listId);
    if (!kind || listId == CallProfilesRow || entryId < firstListRow)
        return;
    if (action == LoadRow && listId == SipProfilesRow)
        offerSipAccounts(this, item, tr("Load into which account?"));
    else if (action == LoadRow)
        loadBookRecord(listId, entryId, 0);
    else if (action == UpdateRow && kind->updateValue)
        updateBookRecord(listId, entryId, page->findItem(NameRow));
    else if (action == DeleteRow)
        deleteRecord(this, listId, entryId);
}

void QVexmarSettingsPage::loadBookRecord(int listId, int entryId, int account)
{
    const RecordKind &kind = *recordKind(listId);
    if (getDevice()->hasAudioConnection()) {
        showMessagePopup(text(kind.cannotLoad), 0);
        return;
    }
    kra::CMsg request = bookRequest(kra::CMD_LOAD, kind.type);
    request.setParam(kra::KEY_ID, recordId(entryId));
    if (account)
        request.setParam(settingskeys::KEY_ACCOUNT, longToString(account));
    if (kind.loading)
        showMessagePopup(text(kind.loading), 0);
    if (m_rpc->execute(request, bookTimeoutMs)) {
        closeMessagePopup();
        backClicked();
        return;
    }
    const std::string &cause = m_rpc->lastError();
    QString failed = text(kind.loadFailed);
    if (kind.listId == SipProfilesRow) {
        if (isSipWarning(cause))
            failed = tr("SIP profile loaded with a warning!");
        failed += causeLine(cause);
    }
    showMessagePopup(failed, 0);
}

void QVexmarSettingsPage::updateBookRecord(int listId, int entryId, QVexmarMenuItem *nameRow)
{
    const RecordKind &kind = *recordKind(listId);
    kra::CMsg request = bookRequest(kra::CMD_UPDATE, kind.type);
    request.setParam(kra::KEY_ID, recordId(entryId));
    if (nameRow)
        request.setParam(kra::KEY_NAME, qStringToUtf8(valueText(nameRow)));
    if (m_rpc->execute(request, bookTimeoutMs))
        backClicked();
    else
        showMessagePopup(text(kind.updateFailed), 0);
}

void QVexmarSettingsPage::createBookRecord(QVexmarMenuItems *list, const QString &name, int account)
{
    const RecordKind &kind = *recordKind(list->pageId);
    kra::CMsg request = bookRequest(kra::CMD_CREATE, kind.type);
    if (account)
        request.setParam(settingskeys::KEY_ACCOUNT, longToString(account));
    request.setParam(kra::KEY_NAME, qStringToUtf8(name));
    showMessagePopup(text(kind.creating), 0);
    if (!m_rpc->execute(request, bookTimeoutMs)) {
        const QString cause = kind.listId == SipProfilesRow ? causeLine(m_rpc->lastError()) : QString();
        showMessagePopup(text(kind.createFailed) + cause, 0);
        return;
    }
    replaceList(this, list,
        kind.listId == PresetsRow         ? &QVexmarSettingsPage::buildPresetsMenu
            : kind.listId == SnapshotsRow ? &QVexmarSettingsPage::buildSnapshotsMenu
                                          : &QVexmarSettingsPage::buildSipProfilesMenu);
    closeMessagePopup();
}

// ---- Names of new records and SIP accounts -----------------------------------------------------------------------

void QVexmarSettingsPage::prepareBookListKeyboard(QVexmarMenuItem *, QVexmarVirtual *keyboard)
{
    keyboard->lineEdit.clear();
}

void QVexmarSettingsPage::bookListKeyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard)
{
    const QString name = keyboard->lineEdit.text();
    if (name.isEmpty())
        return;
    keyboard->hide();
    QVexmarMenuItems *list = item->page();
    if (list->pageId != SipProfilesRow) {
        createBookRecord(list, name, 0);
        return;
    }
    // Held until the account is chosen.
    editedProfile.name = name;
    offerSipAccounts(this, item, tr("Create from which account?"));
}

void QVexmarSettingsPage::sipProfileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    const int account = selection->current()->value;
    if (item->id == NewRecordRow) {
        if (!editedProfile.name.isEmpty())
            createBookRecord(item->page(), editedProfile.name, account);
        return;
    }
    // A list row names its record by its id, the Load row of a record's page by its group.
    loadBookRecord(SipProfilesRow, item->id >= firstListRow ? item->id : item->groupId(), account);
}
