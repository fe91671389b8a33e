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

// ---- Audio page, intercom, AoIP interface (H3: vexmarsettingsaudio.cpp, vexmarsettingsaoip.cpp) ----

void QVexmarSettingsPage::buildAudioMenu()
{
    pushEmpty(this, 3);
}

void QVexmarSettingsPage::updateAudioMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildIntercomMenu()
{
    pushEmpty(this, 111);
}

void QVexmarSettingsPage::updateIntercomMenu(QVexmarMenuItems *) { }

bool QVexmarSettingsPage::hasIntercomChanges(QVexmarMenuItems *)
{
    return false;
}

bool QVexmarSettingsPage::applyIntercom(QVexmarMenuItems *)
{
    return false;
}

void QVexmarSettingsPage::buildAoipInterfaceMenu()
{
    pushEmpty(this, 119);
}

void QVexmarSettingsPage::updateAoipInterfaceMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::audioValueChanged(QVexmarMenuItem *) { }

// ---- AoIP streams and IP addressing (H7: vexmarsettingsaoip.cpp) ----

void QVexmarSettingsPage::buildIpAddressingMenu(int pageId)
{
    pushEmpty(this, pageId);
}

void QVexmarSettingsPage::updateIpAddressingMenu(QVexmarMenuItems *) { }

bool QVexmarSettingsPage::hasIpAddressingChanges(QVexmarMenuItems *)
{
    return false;
}

bool QVexmarSettingsPage::applyIpAddressing(QVexmarMenuItems *)
{
    return false;
}

void QVexmarSettingsPage::buildInputStreamsMenu()
{
    pushEmpty(this, 133);
}

void QVexmarSettingsPage::updateInputStreamsMenu(QVexmarMenuItems *) { }

void QVexmarSettingsPage::buildInputStreamMenu(int pageId)
{
    pushEmpty(this, pageId);
}

void QVexmarSettingsPage::updateInputStreamMenu(QVexmarMenuItems *) { }

bool QVexmarSettingsPage::hasInputStreamChanges(QVexmarMenuItems *)
{
    return false;
}

bool QVexmarSettingsPage::applyInputStream(QVexmarMenuItems *)
{
    return false;
}

void QVexmarSettingsPage::buildOutputStreamMenu()
{
    pushEmpty(this, 146);
}

void QVexmarSettingsPage::updateOutputStreamMenu(QVexmarMenuItems *) { }

bool QVexmarSettingsPage::hasOutputStreamChanges(QVexmarMenuItems *)
{
    return false;
}

bool QVexmarSettingsPage::applyOutputStream(QVexmarMenuItems *)
{
    return false;
}

void QVexmarSettingsPage::aoipStreamValueChanged(QVexmarMenuItem *) { }
