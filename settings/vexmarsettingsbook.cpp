// QVexmarSettingsPage: the Book page and the page of one call profile. A profile is read from the device's book,
// edited in editedProfile against loadedProfile, stored with the apply icon, loaded onto a codec line or deleted.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "settings/codingrows.h"
#include "settings/vexmarsettingskeys.h"
#include "widgets/menu/vexmarmenuselect.h"

#include <QGridLayout>

#include <algorithm>

namespace {

enum BookRow {
    CallProfilesRow = 170,
    PresetsRow = 171,
    SipProfilesRow = 172,
    SnapshotsRow = 173,
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

// The value of the current option; false for a row without one.
bool chosenValue(const QVexmarMenuItem *row, int &value)
{
    const int current = row->currentOption();
    if (current < 0 || current >= row->options().size())
        return false;
    value = row->options().at(current).value;
    return true;
}

// Texts go to the device as Latin-1 (the name through it as well): one it cannot hold would arrive altered.
bool fitsLatin1(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
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
    if ((update && profile.entryId < firstListRow) || !fitsLatin1(profile.name) || !fitsLatin1(profile.remoteNumber)
        || !fitsLatin1(profile.remoteNumber2)) {
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
        deleteCallProfile(item);
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

void QVexmarSettingsPage::deleteCallProfile(QVexmarMenuItem *item)
{
    const int entryId = item->groupId();
    kra::CMsg request = bookRequest(kra::CMD_DELETE, settingskeys::TYPE_REMOTE_PROFILE);
    request.setParam(kra::KEY_ID, recordId(entryId));
    if (!m_rpc->execute(request, bookTimeoutMs)) {
        showMessagePopup(tr("Failed to delete the call profile!"), 0);
        return;
    }
    if (QVexmarMenuItems *list = findItems(CallProfilesRow)) {
        if (QVexmarMenuItem *row = list->findItemInGroup(entryId, CallProfilesRow)) {
            list->removeItem(row);
            row->deleteLater();
        }
    }
    backClicked();
}
