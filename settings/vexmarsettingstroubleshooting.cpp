// QVexmarSettingsPage: the Troubleshooting page (event log, resets by category) and the remote access page, whose
// edits are applied together.

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
#include "settings/vexmarsettingsrows.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarcontrols.h"

using settingsrows::addRow;
using settingsrows::addText;
using settingsrows::chosenValue;
using settingsrows::fitsLatin1;
using settingsrows::holdValue;
using settingsrows::isOn;
using settingsrows::openRow;
using settingsrows::readValues;
using settingsrows::refuseEdit;
using settingsrows::valueOf;
using settingsrows::Values;

namespace {

enum TroubleshootingRow {
    LogLevelRow = 226,
    SyslogServerRow = 227,
    ResetRow = 228,
};
enum RemoteAccessRow {
    ServiceRow = 230,
    InterfaceRow = 231,
    ServerRow = 232,
    SerialRow = 233,
    CodecIdRow = 234,
    CodecPasswordRow = 235,
};
enum ResetCategory {
    SettingsReset = 5,
    FullReset = 6,
    SipAccountsReset = 7,
};

constexpr int troubleshootingPage = 225;
constexpr int remoteAccessPage = 229;
constexpr int coarseLevel = 5;
constexpr int requestTimeoutMs = 5000;
constexpr int settingsResetTimeoutMs = 20000;

QString valueText(const QVexmarMenuItem *row)
{
    return row->valueLabel ? row->valueLabel->text() : QString();
}

// The network code of a stored interface; -1, which no option holds, for a name that is neither "auto" nor one
// the program knows, so that the row holds it rather than show it as "Auto".
int interfaceCode(const std::string &name)
{
    const int code = networkCodeOfName(name);
    return code == networkCodeNone && !name.empty() && name != settingskeys::VAL_AUTO ? -1 : code;
}

} // namespace

void QVexmarSettingsPage::buildTroubleshootingMenu()
{
    auto *page = new QVexmarMenuItems(troubleshootingPage, this);
    QVexmarMenuItem *level = addRow(page, LogLevelRow, QVexmarMenuItem::Selection, tr("Log Level"));
    level->addOption(coarseLevel, tr("Coarse"));
    level->addOption(6, tr("Normal"));
    level->addOption(8, tr("Debug"));
    addRow(page, SyslogServerRow, QVexmarMenuItem::Text, tr("Syslog Server"));
    QVexmarMenuItem *reset = addRow(page, ResetRow, QVexmarMenuItem::Action, tr("Reset"));
    reset->setValueText(tr("Select the category of settings to reset"));
    const char *const categories[settingskeys::RESET_LEVEL_COUNT]
        = {QT_TR_NOOP("Call History"), QT_TR_NOOP("Call Profiles"), QT_TR_NOOP("Presets"), QT_TR_NOOP("SIP Profiles"),
            QT_TR_NOOP("Snapshots"), QT_TR_NOOP("Restore Default Settings"), QT_TR_NOOP("Full Factory Reset"),
            QT_TR_NOOP("Reload the Factory SIP Accounts")};
    for (int value = 0; value < settingskeys::RESET_LEVEL_COUNT; ++value)
        reset->addOption(value, tr(categories[value]));
    reset->selectOption(0, false, true);
    updateTroubleshootingMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateTroubleshootingMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    Values values;
    readValues(rpc(), kra::TGT_GENERAL, {settingskeys::KEY_LOG_LEVEL, settingskeys::KEY_LOG_ADDR}, values);
    // A value the device did not answer cannot be edited until it is read again.
    if (QVexmarMenuItem *level = page->findItem(LogLevelRow)) {
        const std::string *answer = valueOf(values, settingskeys::KEY_LOG_LEVEL);
        level->setLocked(!answer);
        level->selectOption(answer ? stringToInt(*answer) : coarseLevel, true, false);
        holdValue(level);
    }
    if (QVexmarMenuItem *server = page->findItem(SyslogServerRow)) {
        const std::string *answer = valueOf(values, settingskeys::KEY_LOG_ADDR);
        server->setLocked(!answer);
        server->setValueText(answer ? latin1ToQString(*answer) : QString());
        holdValue(server);
    }
}

void QVexmarSettingsPage::buildRemoteAccessMenu()
{
    auto *page = new QVexmarMenuItems(remoteAccessPage, this);
    Values values;
    readValues(rpc(), kra::TGT_GENERAL,
        {settingskeys::KEY_SERIALNO, settingskeys::KEY_CODEC_ID, settingskeys::KEY_REMOTE_ACCESS,
            settingskeys::KEY_REMOTE_ACCESS_NETWORK, settingskeys::KEY_REMOTE_ACCESS_SERVER,
            settingskeys::KEY_REMOTE_ACCESS_PWD},
        values);
    const auto textOf = [&values](const std::string &key) {
        const std::string *answer = valueOf(values, key);
        return answer ? *answer : std::string();
    };
    // A value the device did not answer cannot be edited until the page is read again: an apply would write over it
    // a value the device never held. The server and the password come as UTF-8.
    const auto addUtf8Text
        = [&values, page](int id, int kind, const QString &title, const std::string &key, bool locked) {
              const std::string *answer = valueOf(values, key);
              QVexmarMenuItem *row = addText(page, id, kind, title, std::string(), locked || !answer);
              row->setValueText(answer ? utf8ToQString(*answer) : QString(), false);
          };
    TComDevice *device = getDevice();
    const bool option = device->deviceOptions() & TComDevice::OptRemoteAccess;
    const bool fullOption = device->deviceOptions() & TComDevice::OptRemoteAccessMore;

    QVexmarMenuItem *service
        = addRow(page, ServiceRow, QVexmarMenuItem::Switch, option ? tr("Remote Access") : tr("Remote Assistance"));
    const std::string *on = valueOf(values, settingskeys::KEY_REMOTE_ACCESS);
    service->setChecked(on && *on == kra::VAL_ON);
    service->setLocked(!on);

    QVexmarMenuItem *network = addRow(page, InterfaceRow, QVexmarMenuItem::Selection, tr("Interface for Control"));
    network->addOption(networkCodeNone, tr("Auto"));
    device->fetchNetworks();
    // The service needs an IP interface; the map keeps the codes ascending.
    for (const auto &[code, name] : device->availableNetworks()) {
        if (networkFamilyOfCode(code) == TComDevice::FamilyIp)
            network->addOption(code, QVexmarLocalize::networkName(code));
    }
    if (const std::string *stored = valueOf(values, settingskeys::KEY_REMOTE_ACCESS_NETWORK)) {
        const int code = interfaceCode(*stored);
        // An interface the device lacks now, or one the program does not know, shows in red, and no apply sends
        // it back unchosen.
        showHeldOption(network, code, code == -1 ? utf8ToQString(*stored) : QVexmarLocalize::networkName(code));
    } else {
        network->setLocked(true);
        network->setValueText(tr("Unknown"), true);
    }

    if (option) {
        addUtf8Text(ServerRow, QVexmarMenuItem::Text, tr("Remote Access Server"),
            settingskeys::KEY_REMOTE_ACCESS_SERVER, g_accessLevel != 2 || !fullOption);
    }
    addText(page, SerialRow, QVexmarMenuItem::Text, tr("Serial Number"), textOf(settingskeys::KEY_SERIALNO), true);
    addText(page, CodecIdRow, QVexmarMenuItem::Text, tr("Codec Identifier"), textOf(settingskeys::KEY_CODEC_ID), true);
    if (option) {
        // Masked like every other password of the menu, so that an Operator who sees the row cannot read it.
        addUtf8Text(CodecPasswordRow, QVexmarMenuItem::Password, tr("Codec Password"),
            settingskeys::KEY_REMOTE_ACCESS_PWD, g_accessLevel != 2);
    }
    pushItems(page);
}

bool QVexmarSettingsPage::hasRemoteAccessChanges(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    Values values;
    readValues(rpc(), kra::TGT_GENERAL,
        {settingskeys::KEY_REMOTE_ACCESS, settingskeys::KEY_REMOTE_ACCESS_NETWORK,
            settingskeys::KEY_REMOTE_ACCESS_SERVER, settingskeys::KEY_REMOTE_ACCESS_PWD},
        values);
    // Only what the device answered can differ.
    if (const std::string *on = valueOf(values, settingskeys::KEY_REMOTE_ACCESS)) {
        QVexmarMenuItem *service = openRow(page, ServiceRow);
        if (service && isOn(service) != (*on == kra::VAL_ON))
            return true;
    }
    int code = 0;
    const std::string *name = valueOf(values, settingskeys::KEY_REMOTE_ACCESS_NETWORK);
    if (name && chosenValue(openRow(page, InterfaceRow), code) && code != interfaceCode(*name))
        return true;
    for (const auto &[id, key] : {std::make_pair(ServerRow, &settingskeys::KEY_REMOTE_ACCESS_SERVER),
             std::make_pair(CodecPasswordRow, &settingskeys::KEY_REMOTE_ACCESS_PWD)}) {
        const std::string *answer = valueOf(values, *key);
        QVexmarMenuItem *row = openRow(page, id);
        if (answer && row && valueText(row) != utf8ToQString(*answer))
            return true;
    }
    return false;
}

bool QVexmarSettingsPage::applyRemoteAccess(QVexmarMenuItems *page)
{
    if (!page)
        return false;
    std::vector<std::pair<std::string, std::string>> values;
    if (QVexmarMenuItem *service = openRow(page, ServiceRow))
        values.emplace_back(settingskeys::KEY_REMOTE_ACCESS, isOn(service) ? kra::VAL_ON : kra::VAL_OFF);
    int code = 0;
    if (chosenValue(openRow(page, InterfaceRow), code)) {
        values.emplace_back(settingskeys::KEY_REMOTE_ACCESS_NETWORK,
            code == networkCodeNone ? settingskeys::VAL_AUTO : networkNameOfCode(code));
    }
    bool password = false;
    // As UTF-8, which carries any text: one the user did not change goes back as the device sent it.
    for (const auto &[id, key] : {std::make_pair(ServerRow, &settingskeys::KEY_REMOTE_ACCESS_SERVER),
             std::make_pair(CodecPasswordRow, &settingskeys::KEY_REMOTE_ACCESS_PWD)}) {
        if (QVexmarMenuItem *row = openRow(page, id)) {
            values.emplace_back(*key, qStringToUtf8(valueText(row)));
            password = password || id == CodecPasswordRow;
        }
    }
    if (values.empty())
        return true;
    showMessagePopup(tr("Applying changes..."), 1000);
    if (writeParams(kra::TGT_GENERAL, values) != int(values.size())) {
        showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    // The device may keep the password otherwise than it was typed.
    if (password) {
        Values stored;
        readValues(rpc(), kra::TGT_GENERAL, {settingskeys::KEY_REMOTE_ACCESS_PWD}, stored);
        const std::string *answer = valueOf(stored, settingskeys::KEY_REMOTE_ACCESS_PWD);
        // Not read back, the password is unknown: locked, so that no later apply writes the empty text over it.
        QVexmarMenuItem *row = page->findItem(CodecPasswordRow);
        row->setValueText(answer ? utf8ToQString(*answer) : QString());
        row->setLocked(!answer);
    }
    return true;
}

void QVexmarSettingsPage::troubleshootingValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item->page();
    if (page->pageId == remoteAccessPage) {
        markChanges(page, &QVexmarSettingsPage::hasRemoteAccessChanges);
        return;
    }
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.setParam(kra::KEY_ACTION, settingskeys::ACT_CHANGE_SYSLOG);
    int level = 0;
    QString text;
    if (item->id == LogLevelRow && item->kind() == QVexmarMenuItem::Selection && chosenValue(item, level)) {
        request.setParam(settingskeys::KEY_LOG_LEVEL, longToString(level));
    } else if (item->id == SyslogServerRow && item->kind() == QVexmarMenuItem::Text) {
        text = valueText(item);
        request.setParam(settingskeys::KEY_LOG_ADDR, qStringToLatin1(text));
    } else {
        return;
    }
    // A character outside Latin-1 would reach the device as '?': refused before it is sent.
    if (fitsLatin1(text) && rpc()->execute(request, requestTimeoutMs))
        holdValue(item);
    else
        refuseEdit(this, item);
}

void QVexmarSettingsPage::resetSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    const int category = selection->current()->value;
    if (category < 0 || category >= settingskeys::RESET_LEVEL_COUNT)
        return;
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_RESET);
    request.setParam(kra::KEY_LEVEL, settingskeys::RESET_LEVELS[category]);
    if (category == SettingsReset || category == FullReset) {
        showMessagePopup(tr("Reset settings..."), 0);
        if (!rpc()->execute(request, settingsResetTimeoutMs)) {
            showMessagePopup(tr("Failed to perform reset action!"), 0);
            return;
        }
        // The log settings were reset with the others.
        updateTroubleshootingMenu(item->page());
        closeMessagePopup();
    } else if (category == SipAccountsReset) {
        showMessagePopup(tr("Reloading SIP Accounts..."), 0);
        if (!rpc()->execute(request, requestTimeoutMs)) {
            showMessagePopup(tr("Failed to reload the SIP Accounts!"), 0);
            return;
        }
        closeMessagePopup();
    } else if (!rpc()->execute(request, requestTimeoutMs)) {
        showMessagePopup(tr("Failed to perform reset action!"), 0);
    }
}
