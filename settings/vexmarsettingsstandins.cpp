// QVexmarSettingsPage: the members of the branches still to be written, each as small as it can be. A builder
// pushes an empty page of its id, so that the menu's ways in and out already work; everything else does nothing and
// reports nothing changed or applied. Each branch moves its members out of here into its own source.

#include "settings/vexmarsettingspage.h"

namespace {

void pushEmpty(QVexmarSettingsPage *menu, int pageId, int groupId = -1)
{
    menu->pushItems(new QVexmarMenuItems(pageId, groupId, menu));
}

} // namespace

// ---- Tools page, access level, programmable keys, passwords (H5: vexmarsettingstools.cpp) ----

void QVexmarSettingsPage::buildToolsMenu()
{
    pushEmpty(this, 5);
}

void QVexmarSettingsPage::lockToolsEntries(QVexmarMenuItems *) { }

void QVexmarSettingsPage::applyAccessLevel(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildSoftkeysMenu()
{
    pushEmpty(this, 192);
}

void QVexmarSettingsPage::updateSoftkeysMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildSoftkeyMenu(int pageId)
{
    pushEmpty(this, pageId);
}

void QVexmarSettingsPage::updateSoftkeyMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildPasswordsMenu()
{
    pushEmpty(this, 236);
}

void QVexmarSettingsPage::toolsValueChanged(QVexmarMenuItem *) { }

void QVexmarSettingsPage::prepareAccessLevelKeyboard(QVexmarMenuItem *, QVexmarVirtual *) { }

void QVexmarSettingsPage::accessLevelKeyboardAccepted(QVexmarMenuItem *, QVexmarVirtual *) { }

// ---- Miscellaneous and FTP server (H8: vexmarsettingsmisc.cpp) ----

void QVexmarSettingsPage::buildMiscellaneousMenu()
{
    pushEmpty(this, 206);
}

void QVexmarSettingsPage::buildFtpServerMenu()
{
    pushEmpty(this, 221);
}

void QVexmarSettingsPage::miscValueChanged(QVexmarMenuItem *) { }

// ---- Troubleshooting and remote access (H9: vexmarsettingstroubleshooting.cpp) ----

void QVexmarSettingsPage::buildTroubleshootingMenu()
{
    pushEmpty(this, 225);
}

void QVexmarSettingsPage::updateTroubleshootingMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildRemoteAccessMenu()
{
    pushEmpty(this, 229);
}

bool QVexmarSettingsPage::hasRemoteAccessChanges(QVexmarMenuItems *)
{
    return false;
}

bool QVexmarSettingsPage::applyRemoteAccess(QVexmarMenuItems *)
{
    return false;
}

void QVexmarSettingsPage::troubleshootingValueChanged(QVexmarMenuItem *) { }

void QVexmarSettingsPage::resetSelectionAccepted(QVexmarMenuItem *, QVexmarMenuSelect *) { }
