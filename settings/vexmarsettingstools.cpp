// QVexmarSettingsPage: the Tools page (reboot, access level and the links locked by level), the programmable-key
// pages and the passwords page.

#include "settings/vexmarsettingspage.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "device/vexmarsoftkeys.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/vexmarvirtual.h"

#include <QMap>

using settingsrows::addRow;
using settingsrows::chosenValue;

namespace {

enum ToolsRow {
    RebootRow = 188,
    AccessLevelRow = 191,
    SoftkeysRow = 192,
    MiscellaneousRow = 206,
    TroubleshootingRow = 225,
    RemoteAccessRow = 229,
    PasswordsRow = 236,
};
enum SoftkeyRow {
    FirstKeyRow = 193,
    FirstDockedKeyRow = 197,
    CategoryRow = 203,
    FunctionRow = 204,
    ModeRow = 205,
};
enum PasswordRow {
    AdministratorRow = 237,
    ExpertRow = 238,
    OperatorRow = 239,
};

// The level the user picked travels with the password keyboard.
const char levelProperty[] = "vkb_accessLevel";

QVexmarMenuItem *addLink(QVexmarMenuItems *page, int id, const QString &title, const QString &value)
{
    QVexmarMenuItem *row = addRow(page, id, QVexmarMenuItem::SubMenu, title);
    row->setValueText(value);
    return row;
}

// The rows of the keys the device shows: four on their own, six when docked (keys 4-9).
QList<int> keyRows(bool docked)
{
    QList<int> rows;
    const int first = docked ? FirstDockedKeyRow : FirstKeyRow;
    for (int id = first; id < first + (docked ? 6 : 4); ++id)
        rows << id;
    return rows;
}

QString keyText(const QVexmarSoftkey *key)
{
    const int category = key->category();
    if (category == QVexmarSoftkey::NoCategory)
        return QVexmarSoftkey::categoryName(category);
    return QStringLiteral("%1 [ %2 ]")
        .arg(QVexmarSoftkey::categoryName(category), QVexmarSoftkey::functionName(category, key->function()));
}

// The model's list as options, its value current (the first option when the list lacks it); a row with nothing to
// choose is locked.
void fillKeyRow(QVexmarMenuItem *row, const QMap<int, QString> &options, int current)
{
    if (!row)
        return;
    row->clearOptions();
    for (auto it = options.cbegin(); it != options.cend(); ++it)
        row->addOption(it.key(), it.value());
    row->selectOption(current, true, false);
    row->setLocked(row->options().size() <= 1);
}

} // namespace

void QVexmarSettingsPage::buildToolsMenu()
{
    auto *page = new QVexmarMenuItems(ToolsEntry, this);
    QVexmarMenuItem *reboot = addRow(page, RebootRow, QVexmarMenuItem::Action, tr("Reboot"));
    reboot->setValueText(tr("Restart the system"));
    reboot->iconLabel->setPixmap(QPixmap(QStringLiteral(":/images/shutdown.png")));
    QVexmarMenuItem *level = addRow(page, AccessLevelRow, QVexmarMenuItem::Selection, tr("Access Level"));
    level->addOption(0, tr("Operator"));
    level->addOption(1, tr("Expert"));
    level->addOption(2, tr("Administrator"));
    level->selectOption(g_accessLevel, true, false);
    addLink(page, SoftkeysRow, tr("Softkeys"), tr("Configure the programmable keys"));
    addLink(page, MiscellaneousRow, tr("Miscellaneous"), tr("GPIO, Auto redialing, NTP server and Timezone"));
    addLink(page, TroubleshootingRow, tr("Troubleshooting"), tr("Reset settings, configure event log"));
    // The remote access page has no other opener.
    addLink(page, RemoteAccessRow, tr("Remote Access"), tr("Configure the remote access service"));
    addLink(page, PasswordsRow, tr("Passwords"), tr("Configure the passwords"));
    lockToolsEntries(page);
    pushItems(page);
}

void QVexmarSettingsPage::lockToolsEntries(QVexmarMenuItems *page)
{
    if (!page)
        return;
    for (int id : {SoftkeysRow, MiscellaneousRow, TroubleshootingRow, RemoteAccessRow}) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->setLocked(g_accessLevel == 0);
    }
    if (QVexmarMenuItem *row = page->findItem(PasswordsRow))
        row->setLocked(g_accessLevel != 2);
    updateAudioEntryState();
}

void QVexmarSettingsPage::applyAccessLevel(QVexmarMenuItems *page)
{
    if (page)
        lockToolsEntries(page);
}

void QVexmarSettingsPage::buildSoftkeysMenu()
{
    auto *page = new QVexmarMenuItems(SoftkeysRow, this);
    const QList<int> rows = keyRows(getDevice()->dockingDetected());
    for (int i = 0; i < rows.size(); ++i) {
        // The docking station's two talk keys have names of their own.
        const QString number
            = i < 4 ? QString::number(i + 1) : (i == 4 ? QStringLiteral("TBA") : QStringLiteral("TBB"));
        addRow(page, rows.at(i), QVexmarMenuItem::SubMenu, tr("Programmable Key %1").arg(number));
    }
    updateSoftkeysMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateSoftkeysMenu(QVexmarMenuItems *page)
{
    if (!page)
        return;
    for (int id : keyRows(getDevice()->dockingDetected())) {
        if (QVexmarMenuItem *row = page->findItem(id))
            row->setValueText(keyText(getSoftkey(id - FirstKeyRow)));
    }
}

void QVexmarSettingsPage::buildSoftkeyMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    addRow(page, CategoryRow, QVexmarMenuItem::Selection, tr("Category"));
    addRow(page, FunctionRow, QVexmarMenuItem::Selection, tr("Function"));
    addRow(page, ModeRow, QVexmarMenuItem::Selection, tr("Mode"));
    updateSoftkeyMenu(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateSoftkeyMenu(QVexmarMenuItems *page)
{
    const int index = page ? page->pageId - FirstKeyRow : -1;
    if (index < 0 || index >= QVexmarSoftkeys::keyCount)
        return;
    QVexmarSoftkey *key = getSoftkey(index);
    const int category = key->category();
    fillKeyRow(page->findItem(CategoryRow), key->categoryList(), category);
    fillKeyRow(page->findItem(FunctionRow), key->functionList(category, true),
        QVexmarSoftkey::functionCode(category, key->function()));
    fillKeyRow(page->findItem(ModeRow), key->behaviorList(category), key->behavior());
}

void QVexmarSettingsPage::buildPasswordsMenu()
{
    loadAccessPasswords(0);
    auto *page = new QVexmarMenuItems(PasswordsRow, this);
    const struct
    {
        int id;
        const char *title;
        int level;
    } rows[] = {{AdministratorRow, QT_TR_NOOP("Administrator Password"), 2},
        {ExpertRow, QT_TR_NOOP("Expert Password"), 1}, {OperatorRow, QT_TR_NOOP("Operator Password"), 0}};
    for (const auto &password : rows)
        addRow(page, password.id, QVexmarMenuItem::Password, tr(password.title))
            ->setValueText(accessPassword(password.level));
    pushItems(page);
}

void QVexmarSettingsPage::toolsValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item->page();
    const int pageId = page->pageId;
    const int kind = item->kind();
    int chosen = 0;
    const bool hasChoice = chosenValue(item, chosen);

    if (pageId == ToolsEntry && item->id == RebootRow && kind == QVexmarMenuItem::Action) {
        if (!getDevice()->reboot())
            showMessagePopup(tr("Failed to proceed!"), 0);
    } else if (pageId == ToolsEntry && item->id == AccessLevelRow && kind == QVexmarMenuItem::Selection) {
        if (!hasChoice)
            return;
        // Without the device's passwords an empty copy would open any level: only the way down stays open.
        if (!loadAccessPasswords(0) && chosen > g_accessLevel) {
            item->selectOption(g_accessLevel, true, false);
            showMessagePopup(tr("Failed to apply changes!"), 0);
            return;
        }
        if (!accessPassword(chosen).isEmpty()) {
            showKeyboardPopup(true, item, true);
            return;
        }
        g_accessLevel = chosen;
        applyAccessLevel(page);
    } else if (pageId >= FirstKeyRow && pageId < FirstKeyRow + QVexmarSoftkeys::keyCount
        && kind == QVexmarMenuItem::Selection) {
        if (!hasChoice)
            return;
        // The model writes the key and takes a refused write back; the page then shows what it holds.
        QVexmarSoftkey *key = getSoftkey(pageId - FirstKeyRow);
        if (item->id == CategoryRow)
            key->setCategory(chosen);
        else if (item->id == FunctionRow)
            key->setFunctionCode(chosen);
        else if (item->id == ModeRow)
            key->setBehavior(chosen);
        updateSoftkeyMenu(page);
    } else if (pageId == PasswordsRow && item->id >= AdministratorRow && item->id <= OperatorRow
        && kind == QVexmarMenuItem::Password) {
        const int level = OperatorRow - item->id;
        const QString typed = item->valueLabel->text();
        const bool accepted = level == 2 ? setAdministratorPassword(typed, true)
            : level == 1                 ? setExpertPassword(typed, true)
                                         : setOperatorPassword(typed, true);
        // The copy held is what the level check asks for: the row must not show another.
        setImmediately(item, accepted, accessPassword(level));
    }
}

void QVexmarSettingsPage::prepareAccessLevelKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard)
{
    int chosen = 0;
    if (!chosenValue(item, chosen))
        return;
    keyboard->titleLabel.setText(tr("Enter Password"));
    keyboard->lineEdit.clear();
    keyboard->lineEdit.setEchoMode(QLineEdit::Password);
    keyboard->setProperty(levelProperty, chosen);
    // The level in force stays on the row until its password was given.
    item->selectOption(g_accessLevel, true, false);
}

void QVexmarSettingsPage::accessLevelKeyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard)
{
    bool known = false;
    const int level = keyboard->property(levelProperty).toInt(&known);
    if (item->currentOption() < 0 || !known)
        return;
    if (keyboard->lineEdit.text() != accessPassword(level)) {
        showMessagePopup(tr("Wrong password!"), 0);
        return;
    }
    g_accessLevel = level;
    item->selectOption(level, true, false);
    applyAccessLevel(item->page());
}
