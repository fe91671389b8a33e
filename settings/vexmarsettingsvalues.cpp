// QVexmarSettingsPage: value changes, keyboards and selections routed to their branch, the conventions every
// branch shares, and the level passwords.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/passwordcipher.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingskeys.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarvirtual.h"

#include <map>

namespace {

constexpr int storeTimeoutMs = 10000;
constexpr int writeTimeoutMs = 5000;

bool inRange(int id, int first, int last)
{
    return id >= first && id <= last;
}

bool choosesOption(const QVexmarMenuItem *item)
{
    const int kind = item->kind();
    return kind == QVexmarMenuItem::Selection || kind == QVexmarMenuItem::Wheel || kind == QVexmarMenuItem::LiveWheel;
}

// Latin-1 is what the device's cipher takes; a text it cannot hold would be stored altered.
bool fitsLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace

void QVexmarSettingsPage::itemValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuWidget::itemValueChanged(item);
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    // A held value shown in red is replaced by the user's pick: the row's own colour again.
    if (choosesOption(item))
        item->setLocked(item->isLocked());
    const int id = page->pageId;
    if (id == NetworkEntry)
        networkValueChanged(item);
    else if (id == AudioEntry || id == 111 || id == 119)
        audioValueChanged(item);
    else if (id == 10 || id == 77 || id == 78)
        aoipValueChanged(item);
    else if (inRange(id, 11, 15) || inRange(id, 20, 23))
        interfaceValueChanged(item);
    else if (inRange(id, 16, 19))
        mobileValueChanged(item);
    else if (inRange(id, 99, 101))
        codingValueChanged(item);
    else if (id == 125 || id == 126 || id == 133 || inRange(id, 134, 141) || id == 146)
        aoipStreamValueChanged(item);
    else if (id == 170 || (id == 175 && page->groupId == 170))
        callProfileValueChanged(item);
    else if (inRange(id, 171, 173) || id == 175)
        bookListValueChanged(item);
    else if (id == ToolsEntry || inRange(id, 193, 202) || id == 236)
        toolsValueChanged(item);
    else if (id == 206 || id == 221)
        miscValueChanged(item);
    else if (id == 225 || id == 229)
        troubleshootingValueChanged(item);
}

void QVexmarSettingsPage::prepareKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard)
{
    QVexmarMenuWidget::prepareKeyboard(item, keyboard);
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page || !keyboard)
        return;
    if (item->id == 174 && inRange(page->pageId, 171, 173))
        prepareBookListKeyboard(item, keyboard);
    else if (item->id == 191)
        prepareAccessLevelKeyboard(item, keyboard);
}

void QVexmarSettingsPage::prepareSelection(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    QVexmarMenuWidget::prepareSelection(item, selection);
}

void QVexmarSettingsPage::keyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard)
{
    QVexmarMenuWidget::keyboardAccepted(item, keyboard);
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page || !keyboard)
        return;
    if (item->id == 174 && inRange(page->pageId, 171, 173))
        bookListKeyboardAccepted(item, keyboard);
    else if (item->id == 191)
        accessLevelKeyboardAccepted(item, keyboard);
}

void QVexmarSettingsPage::selectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection)
{
    QVexmarMenuWidget::selectionAccepted(item, selection);
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    const int id = page->pageId;
    // The call profile load reports a missing choice itself; every other choice needs one.
    if (id == 170 || (id == 175 && page->groupId == 170)) {
        callProfileSelectionAccepted(item, selection && selection->current() ? selection : nullptr);
        return;
    }
    if (!selection || !selection->current())
        return;
    if (inRange(id, 16, 19) && item->id == 44)
        mobileSelectionAccepted(item, selection);
    else if (inRange(id, 20, 23) && item->id == 61)
        wifiSelectionAccepted(item, selection);
    else if (id == 172 && (item->id == 174 || (item->id >= firstListRow && item->groupId() == 172)))
        sipProfileSelectionAccepted(item, selection);
    else if (id == 175 && item->id == 184 && item->groupId() >= firstListRow)
        sipProfileSelectionAccepted(item, selection);
    else if (id == 225 && item->id == 228)
        resetSelectionAccepted(item, selection);
}

// ---- Shared conventions ----------------------------------------------------------------------------------------

void QVexmarSettingsPage::putBack(QVexmarMenuItem *item, int held, const QString &heldText)
{
    if (!item)
        return;
    if (item->kind() == QVexmarMenuItem::Switch) {
        item->setChecked(held != 0);
    } else if (choosesOption(item)) {
        // Option 0 would pass for a value the device does not hold.
        item->setLocked(item->isLocked());
        showHeldOption(item, held, heldText.isEmpty() ? QString::number(held) : heldText);
    } else {
        item->setValueText(QString::number(held));
    }
}

void QVexmarSettingsPage::putBack(QVexmarMenuItem *item, const QString &held)
{
    if (item)
        item->setValueText(held);
}

bool QVexmarSettingsPage::setImmediately(QVexmarMenuItem *item, bool accepted, int held, const QString &heldText)
{
    if (accepted)
        return true;
    putBack(item, held, heldText);
    showMessagePopup(tr("Failed to apply changes!"), 0);
    return false;
}

bool QVexmarSettingsPage::setImmediately(QVexmarMenuItem *item, bool accepted, const QString &held)
{
    if (accepted)
        return true;
    putBack(item, held);
    showMessagePopup(tr("Failed to apply changes!"), 0);
    return false;
}

bool QVexmarSettingsPage::refusedDuringCall(QVexmarMenuItem *item, int held, const QString &heldText)
{
    if (!getDevice()->hasAudioConnection())
        return false;
    putBack(item, held, heldText);
    showMessagePopup(tr("Cannot apply changes\n(a connection is established)"), 0);
    return true;
}

bool QVexmarSettingsPage::refusedDuringCall(QVexmarMenuItem *item, const QString &held)
{
    if (!getDevice()->hasAudioConnection())
        return false;
    putBack(item, held);
    showMessagePopup(tr("Cannot apply changes\n(a connection is established)"), 0);
    return true;
}

int QVexmarSettingsPage::writeParams(
    const std::string &target, const std::vector<std::pair<std::string, std::string>> &values)
{
    if (values.empty())
        return 0;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, target);
    for (const auto &[key, value] : values)
        request.setParam(key, value);
    // The count includes the target, which the device always takes.
    const int accepted = m_rpc->setParams(request, writeTimeoutMs);
    return accepted > 0 ? accepted - 1 : 0;
}

void QVexmarSettingsPage::markChanges(QVexmarMenuItems *page, ChangeTest test)
{
    if (page && test && page == currentItems())
        header->setModified((this->*test)(page));
}

bool QVexmarSettingsPage::showHeldOption(QVexmarMenuItem *item, int value, const QString &text, bool strict)
{
    if (!item)
        return false;
    if (item->selectOption(value, true, true) != -1)
        return true;
    if (strict) {
        item->setValueTextAndGlobalColor(text, Qt::red, true);
        // The text may also be an option's ("%1 kbit/s" of a rate between two listed ones): none is current.
        item->selectOption(value, false, true);
    } else {
        item->setValueText(text, false);
    }
    return false;
}

// ---- Level passwords -------------------------------------------------------------------------------------------

const QString &QVexmarSettingsPage::accessPassword(int level) const
{
    if (level == 2)
        return m_administratorPassword;
    if (level == 1)
        return m_expertPassword;
    return m_operatorPassword;
}

bool QVexmarSettingsPage::setPassword(QString &copy, const std::string &key, const QString &password, bool send)
{
    if (password == copy)
        return true;
    if (!fitsLatin1(password))
        return false;
    if (send) {
        const QByteArray bytes = password.toLatin1();
        const std::string plain(bytes.constData(), size_t(bytes.size()));
        const std::string value = plain.empty() ? plain : encryptPasswordString(plain);
        if (getCom()->setParams({{key, value}}, storeTimeoutMs) < 0)
            return false;
    }
    copy = password;
    return true;
}

bool QVexmarSettingsPage::setAdministratorPassword(const QString &password, bool send)
{
    return setPassword(m_administratorPassword, kra::KEY_PASSWORD_ADMINISTRATOR, password, send);
}

bool QVexmarSettingsPage::setExpertPassword(const QString &password, bool send)
{
    return setPassword(m_expertPassword, kra::KEY_PASSWORD_EXPERT, password, send);
}

bool QVexmarSettingsPage::setOperatorPassword(const QString &password, bool send)
{
    return setPassword(m_operatorPassword, kra::KEY_PASSWORD_OPERATOR, password, send);
}

bool QVexmarSettingsPage::setAutoLogin(bool on, bool send)
{
    if (on == m_autoLogin)
        return true;
    if (send
        && getCom()->setParams({{settingskeys::KEY_AUTOLOGIN, on ? kra::VAL_ON : kra::VAL_OFF}}, storeTimeoutMs) < 0)
        return false;
    m_autoLogin = on;
    return true;
}

bool QVexmarSettingsPage::loadAccessPasswords(int)
{
    std::map<std::string, std::string> values;
    const std::vector<std::string> names
        = {kra::KEY_PASSWORD_ADMINISTRATOR, kra::KEY_PASSWORD_EXPERT, kra::KEY_PASSWORD_OPERATOR};
    if (getCom()->getParams(names, values, storeTimeoutMs) < 0)
        return false;
    const auto passwordOf = [&values](const std::string &key) {
        const auto found = values.find(key);
        if (found == values.end() || found->second.empty())
            return QString();
        // A text that is no cipher text stands as it is.
        const std::string plain = decryptPasswordString(found->second);
        return QString::fromLatin1(plain.data(), int(plain.size()));
    };
    setAdministratorPassword(passwordOf(kra::KEY_PASSWORD_ADMINISTRATOR), false);
    setExpertPassword(passwordOf(kra::KEY_PASSWORD_EXPERT), false);
    setOperatorPassword(passwordOf(kra::KEY_PASSWORD_OPERATOR), false);
    return true;
}
