// QVexmarSettingsPage: the Coding branch. Page 2 links the codecs of the two lines and the Opus page. A codec page
// offers for each field what the device lists given the fields chosen before it, and is applied as a whole; the
// Opus page writes each change at once.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingskeys.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>

#include <algorithm>
#include <map>

namespace {

enum CodingRow {
    Codec1Row = 99,
    Codec2Row = 100,
    AutoBitrateRow = 101,
    AlgorithmRow = 102,
    ChannelModeRow = 103,
    SampleRateRow = 104,
    BitRateRow = 105,
    RelayRow = 106,
    AutoAdaptRow = 107,
    AdaptPolicyRow = 108,
    MinimumBitRateRow = 109,
    MaximumBitRateRow = 110,
};

constexpr int requestTimeoutMs = 5000;
// Far more than a codec offers for one field; a longer list from the device would only make the choice unusable.
constexpr size_t maxChoices = 256;

// The rows of a codec page and the field of the edited codec each one chooses.
constexpr std::pair<int, int CodecFormat::*> codecFields[]
    = {{AlgorithmRow, &CodecFormat::algorithm}, {ChannelModeRow, &CodecFormat::channelMode},
        {SampleRateRow, &CodecFormat::sampleRate}, {BitRateRow, &CodecFormat::bitRate}};

// The Opus rows 107-110 in order, with their keys.
const std::string *const autoBitrateKeys[] = {&settingskeys::KEY_ABR_CALLS, &settingskeys::KEY_ABR_PROFILE,
    &settingskeys::KEY_ABR_MINBR, &settingskeys::KEY_ABR_MAXBR};

QVexmarMenuItem *newRow(QVexmarMenuItems *page, int id, int kind, const QString &title)
{
    auto *row = new QVexmarMenuItem(id, kind, page);
    row->layout->setContentsMargins(10, 0, 10, 0);
    row->titleLabel->setText(title);
    page->addItem(row);
    return row;
}

QString kiloHertz(int hertz)
{
    return QVexmarSettingsPage::tr("%1 kHz").arg(hertz / 1000);
}

QString kiloBits(int bits)
{
    return QVexmarSettingsPage::tr("%1 kbit/s").arg(bits / 1000);
}

bool isOn(const QVexmarMenuItem *row)
{
    return row->switchButton && row->switchButton->isChecked();
}

// The value of the row's current option; false for a missing row or one without a current option.
bool chosenValue(const QVexmarMenuItem *row, int &value)
{
    if (!row || row->currentOption() < 0 || row->currentOption() >= row->options().size())
        return false;
    value = row->options().at(row->currentOption()).value;
    return true;
}

bool holds(const QVexmarMenuItem *row, int value)
{
    return row->optionIndex(value, true) != -1;
}

// The row's options anew from the device's list, in its order. A word the program does not know (-1) can be
// neither named nor sent back, so it is no choice.
void fillOptions(QVexmarMenuItem *row, const std::vector<int> &values, QString (*text)(int), bool skipUnknown = false)
{
    row->clearOptions();
    for (int value : values) {
        if (size_t(row->options().size()) == maxChoices)
            break;
        if (!skipUnknown || value != -1)
            row->addOption(value, text(value));
    }
}

// A field that follows the fields before it: kept when listed, else the first listed; an empty list keeps it.
// The row is locked when there is nothing to choose.
void follow(QVexmarMenuItem *row, int &field)
{
    if (!row->options().isEmpty() && !holds(row, field))
        field = row->options().first().value;
    row->setLocked(row->options().size() <= 1);
}

// True for the decimal digits of a bit rate, nothing else: an error text is no value.
bool isDecimal(const std::string &text)
{
    return !text.empty() && text.size() <= 9
        && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

kra::CMsg audioRequest()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    return request;
}

} // namespace

// ---- Coding page -------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildCodingMenu()
{
    auto *page = new QVexmarMenuItems(CodingEntry, this);
    newRow(page, Codec1Row, QVexmarMenuItem::SubMenu, QString());
    newRow(page, Codec2Row, QVexmarMenuItem::SubMenu, QString());
    // The automatic bit rate is a matter of IP calls only.
    if (networkFamilyOfName(getDevice()->defaultNetwork()) == TComDevice::FamilyIp) {
        QVexmarMenuItem *opus = newRow(page, AutoBitrateRow, QVexmarMenuItem::SubMenu, tr("Auto Bit Rate (Opus)"));
        opus->layout->setContentsMargins(10, 20, 10, 0);
        opus->setValueText(tr("Configure the auto bitrate for Opus algorithm"));
        opus->setLocked(g_accessLevel == 0);
    }
    updateCodingMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateCodingMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    const TComDevice *device = getDevice();
    const QString network = QVexmarLocalize::networkName(networkCodeOfName(device->defaultNetwork()));
    const bool operatorLevel = g_accessLevel == 0;
    if (QVexmarMenuItem *codec1 = page->findItem(Codec1Row)) {
        codec1->titleLabel->setText(tr("Codec 1 [ %1 ]").arg(network));
        codec1->setValueText(QVexmarLocalize::codecDescription(device->lineCodec(1)));
        codec1->setLocked(operatorLevel);
    }
    if (QVexmarMenuItem *codec2 = page->findItem(Codec2Row)) {
        if (device->codecMode() == TComDevice::CodecModeDouble) {
            codec2->titleLabel->setText(tr("Codec 2 [ %1 ]").arg(network));
            codec2->setValueText(QVexmarLocalize::codecDescription(device->lineCodec(2)));
            codec2->setLocked(operatorLevel);
        } else {
            codec2->titleLabel->setText(tr("Codec 2"));
            codec2->setValueText(tr("Not applicable in single codec mode"));
            codec2->setLocked(true);
        }
    }
}

// ---- Codec pages -------------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildCodecMenu(int entryId)
{
    auto *page = new QVexmarMenuItems(entryId, this);
    codecEdit = getDevice()->lineCodec(entryId == Codec2Row ? 2 : 1);
    newRow(page, AlgorithmRow, QVexmarMenuItem::Selection, tr("Algorithm"));
    newRow(page, ChannelModeRow, QVexmarMenuItem::Selection, tr("Channel Mode"));
    newRow(page, SampleRateRow, QVexmarMenuItem::Selection, tr("Sampling Rate"));
    newRow(page, BitRateRow, QVexmarMenuItem::Selection, tr("Bit Rate"));
    // Locked until the device has told its state: a new switch is no choice of the user's.
    if (entryId == Codec1Row)
        newRow(page, RelayRow, QVexmarMenuItem::Switch, tr("Relay transmission"))->setLocked(true);
    updateCodecMenu(page);
    codecLoaded = codecEdit;
    pushItems(page);
}

void QVexmarSettingsPage::updateCodecMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    TComDevice *device = getDevice();
    const int mode = device->codecMode();
    std::vector<int> listed;
    // Lock before showing: a row shown red once must not stay red.
    const auto show = [this](QVexmarMenuItem *row, int value, const QString &text) {
        if (row->options().isEmpty())
            row->setValueText(text);
        else
            showHeldOption(row, value, text);
    };

    if (QVexmarMenuItem *row = page->findItem(AlgorithmRow)) {
        device->getCodecAlgorithms(mode, listed, networkCodeNone);
        fillOptions(row, listed, &QVexmarLocalize::algorithmName, true);
        // A configured algorithm the device does not list stays as it is until the user picks another, so that
        // the lists below and an apply keep to it; a single option it is not must still be pickable.
        const bool held = holds(row, codecEdit.algorithm);
        row->setLocked(row->options().isEmpty() || (row->options().size() == 1 && held));
        show(row, codecEdit.algorithm, QVexmarLocalize::algorithmName(codecEdit.algorithm));
    }

    if (QVexmarMenuItem *row = page->findItem(ChannelModeRow)) {
        device->getCodecModes(mode, codecEdit.algorithm, listed, networkCodeNone);
        fillOptions(row, listed, &QVexmarLocalize::audioModeName, true);
        follow(row, codecEdit.channelMode);
        show(row, codecEdit.channelMode, QVexmarLocalize::audioModeName(codecEdit.channelMode));
    }

    if (QVexmarMenuItem *row = page->findItem(SampleRateRow)) {
        const int algorithm = codecEdit.algorithm;
        // G.711 (0-2) and G.722 (3-6) run at 8 and 16 kHz, carried at 48 kHz and 64 kbit/s.
        if (algorithm >= 0 && algorithm <= 6) {
            codecEdit.sampleRate = 48000;
            codecEdit.bitRate = 64000;
            row->clearOptions();
            row->addOption(48000, tr("%1 kHz").arg(algorithm <= 2 ? 8 : 16));
            row->setLocked(true);
            row->selectOption(48000, true, true);
        } else {
            device->getCodecSampleRates(mode, algorithm, codecEdit.channelMode, listed, networkCodeNone);
            fillOptions(row, listed, &kiloHertz);
            follow(row, codecEdit.sampleRate);
            show(row, codecEdit.sampleRate, kiloHertz(codecEdit.sampleRate));
        }
    }

    if (QVexmarMenuItem *row = page->findItem(BitRateRow)) {
        device->getCodecBitrates(
            mode, codecEdit.algorithm, codecEdit.channelMode, codecEdit.sampleRate, listed, networkCodeNone);
        fillOptions(row, listed, &kiloBits);
        follow(row, codecEdit.bitRate);
        show(row, codecEdit.bitRate, kiloBits(codecEdit.bitRate));
    }

    if (QVexmarMenuItem *row = page->findItem(RelayRow)) {
        // A switch turned and not applied yet survives the re-read.
        const bool turned = !row->isLocked() && isOn(row) != relayLoaded;
        const bool choice = isOn(row);
        kra::CMsg request = audioRequest();
        request.addGet(kra::KEY_RELAY);
        std::map<std::string, std::string> values, errors;
        m_rpc->getParams(request, values, errors, requestTimeoutMs);
        const auto relay = values.find(kra::KEY_RELAY);
        const bool known = relay != values.end() && (relay->second == kra::VAL_ON || relay->second == kra::VAL_OFF);
        relayLoaded = known && relay->second == kra::VAL_ON;
        row->clearOptions();
        row->addOption(0, known ? tr("Disabled") : tr("Not available"));
        row->addOption(1, tr("Active"));
        row->setChecked(known && turned ? choice : relayLoaded);
        row->setLocked(!known);
    }
}

bool QVexmarSettingsPage::hasCodecChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    for (const auto &[id, field] : codecFields) {
        int value = 0;
        if (chosenValue(page->findItem(id), value) && value != codecLoaded.*field)
            return true;
    }
    const QVexmarMenuItem *relay = page->findItem(RelayRow);
    return relay && !relay->isLocked() && isOn(relay) != relayLoaded;
}

bool QVexmarSettingsPage::applyCodecChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    const int line = page->pageId == Codec2Row ? 2 : 1;
    for (const auto &[id, field] : codecFields) {
        int value = 0;
        if (chosenValue(page->findItem(id), value))
            codecEdit.*field = value;
    }
    if (!getDevice()->setLineCodec(line, CodecFormat::codecFormatToString(codecEdit), true)) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    // The codec is the device's now: after a refused relay a retry sends the relay alone.
    codecLoaded = codecEdit;
    const QVexmarMenuItem *relay = page->findItem(RelayRow);
    if (relay && !relay->isLocked() && isOn(relay) != relayLoaded) {
        const bool on = isOn(relay);
        if (writeParams(kra::TGT_AUDIO, {{kra::KEY_RELAY, on ? kra::VAL_ON : kra::VAL_OFF}}) != 1) {
            showMessagePopup(tr("Failed to apply changes!"), 0);
            return false;
        }
        relayLoaded = on;
    }
    updateCodecMenu(page);
    codecLoaded = codecEdit;
    return true;
}

// ---- Opus automatic bit rate -------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildAutoBitrateMenu()
{
    auto *page = new QVexmarMenuItems(AutoBitrateRow, this);
    kra::CMsg request = audioRequest();
    for (const std::string *key : autoBitrateKeys)
        request.addGet(*key);
    std::map<std::string, std::string> values, errors;
    // A failed read leaves the rows at off, "Standard" and no bit rate.
    m_rpc->getParams(request, values, errors, requestTimeoutMs);
    const auto valueOf = [&values](const std::string &key) {
        const auto found = values.find(key);
        return found == values.end() ? std::string() : found->second;
    };
    // The policy list is asked for as the device expects, but its three choices are fixed here.
    std::vector<std::string> lists[3];
    for (int i = 0; i < 3; ++i) {
        kra::CMsg list = audioRequest();
        list.addList(*autoBitrateKeys[i + 1]);
        m_rpc->getList(list, lists[i], requestTimeoutMs);
    }

    const TComDevice *device = getDevice();
    const bool locked = device->audioConnection(1) || device->audioConnection(2) || device->dualStreamMode() == 1;

    QVexmarMenuItem *adapt = newRow(page, AutoAdaptRow, QVexmarMenuItem::Switch, tr("Auto Adapt"));
    m_autoBitrateHeld[0] = valueOf(settingskeys::KEY_ABR_CALLS) == kra::VAL_ON;
    adapt->setChecked(m_autoBitrateHeld[0] != 0);
    adapt->setLocked(locked);

    QVexmarMenuItem *policy = newRow(page, AdaptPolicyRow, QVexmarMenuItem::Selection, tr("Adapt Policy"));
    policy->addOption(0, tr("Safe"));
    policy->addOption(1, tr("Standard"));
    policy->addOption(2, tr("Punchy"));
    m_autoBitrateHeld[1] = TComNetworkController::ajbProfileFromText(valueOf(settingskeys::KEY_ABR_PROFILE));
    policy->setLocked(locked);
    policy->selectOption(m_autoBitrateHeld[1], true, true);

    const std::pair<int, const char *> bounds[]
        = {{MinimumBitRateRow, QT_TR_NOOP("Minimum Bit Rate")}, {MaximumBitRateRow, QT_TR_NOOP("Maximum Bit Rate")}};
    for (const auto &[id, title] : bounds) {
        const int index = id - AutoAdaptRow;
        QVexmarMenuItem *row = newRow(page, id, QVexmarMenuItem::Selection, tr(title));
        const std::vector<std::string> &items = lists[index - 1];
        for (size_t i = 0; i < items.size() && i < maxChoices; ++i) {
            const int rate = stringToInt(items[i]);
            row->addOption(rate, kiloBits(rate));
        }
        // Nothing reported reads as 0, shown as the first listed rate when 0 is not listed.
        const std::string reported = valueOf(*autoBitrateKeys[index]);
        int held = isDecimal(reported) ? stringToInt(reported) : 0;
        if (!isDecimal(reported) && !row->options().isEmpty() && !holds(row, held))
            held = row->options().first().value;
        m_autoBitrateHeld[index] = held;
        row->setLocked(locked || row->options().isEmpty());
        if (row->options().isEmpty())
            row->setValueText(kiloBits(held));
        else
            showHeldOption(row, held, kiloBits(held));
    }
    pushItems(page);
}

// ---- Value changes -----------------------------------------------------------------------------------------------

void QVexmarSettingsPage::codingValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    if (page->pageId == AutoBitrateRow) {
        const int index = item->id - AutoAdaptRow;
        if (index < 0 || index > 3)
            return;
        int chosen = 0;
        std::string value;
        if (item->id == AutoAdaptRow) {
            chosen = isOn(item);
            value = chosen ? kra::VAL_ON : kra::VAL_OFF;
        } else if (!chosenValue(item, chosen)) {
            return;
        } else {
            value = item->id == AdaptPolicyRow ? TComNetworkController::ajbProfileToText(chosen) : longToString(chosen);
        }
        const int held = m_autoBitrateHeld[index];
        const bool accepted = writeParams(kra::TGT_AUDIO, {{*autoBitrateKeys[index], value}}) == 1;
        if (setImmediately(item, accepted, held, item->id >= MinimumBitRateRow ? kiloBits(held) : QString()))
            m_autoBitrateHeld[index] = chosen;
        return;
    }
    if (page->pageId != Codec1Row && page->pageId != Codec2Row)
        return;
    for (const auto &[id, field] : codecFields) {
        int value = 0;
        if (item->id == id && chosenValue(item, value)) {
            codecEdit.*field = value;
            updateCodecMenu(page);
            break;
        }
    }
    markChanges(page, &QVexmarSettingsPage::hasCodecChanges);
}
