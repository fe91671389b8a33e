// QVexmarSettingsPage: construction, the entries, back, refresh, apply, the clicks, the device's notices and the
// slots.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcomisdncontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "controllers/tcomwificontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/tcomdevice.h"
#include "device/vexmaraccess.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcmessage.h"
#include "rpc/rpcvocabulary.h"
#include "settings/ttimezonelist.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>
#include <QStackedLayout>
#include <QTimer>

namespace {

bool inRange(int id, int first, int last)
{
    return id >= first && id <= last;
}

// The interface of an interface page: "isdn.0" for 11, "eth.N" for 12-15, "mobile.N" 16-19, "wifi.N" 20-23.
std::string interfaceOfPage(int pageId)
{
    if (pageId == 11)
        return networkNameOfCode(TypeIsdn);
    if (inRange(pageId, 12, 15))
        return networkNameOfCode(TypeEthernet + pageId - 12);
    if (inRange(pageId, 16, 19))
        return networkNameOfCode(TypeMobile + pageId - 16);
    if (inRange(pageId, 20, 23))
        return networkNameOfCode(TypeWifi + pageId - 20);
    return std::string();
}

QString cannotApplyText()
{
    return QVexmarSettingsPage::tr("Cannot apply changes\n(a connection is established)");
}

} // namespace

QVexmarSettingsPage::QVexmarSettingsPage(QWidget *parent) : QVexmarMenuWidget(parent)
{
    codecEdit.channelMode = 0;
    codecLoaded.channelMode = 0;

    m_screenSaverTimer = new QTimer(this);
    kra::CCom *com = getCom();
    m_rpc = std::make_unique<TComRpcAccess>(com);
    m_ethernet = std::make_unique<TComEthernetController>(com);
    m_mobile = std::make_unique<TComMobileController>(com);
    m_wifi = std::make_unique<TComWifiController>(com);
    m_isdn = std::make_unique<TComIsdnController>(com);

    const struct
    {
        const char *title;
        const char *image;
    } tops[] = {
        {QT_TR_NOOP("Exit"), ":/images/exit-menu.png"},
        {QT_TR_NOOP("Network"), ":/images/network.png"},
        {QT_TR_NOOP("Coding"), ":/images/coding.png"},
        {QT_TR_NOOP("Audio"), ":/images/audio.png"},
        {QT_TR_NOOP("Book"), ":/images/book.png"},
        {QT_TR_NOOP("Tools"), ":/images/tools.png"},
        {QT_TR_NOOP("Status"), ":/images/status.png"},
    };
    for (int id = ExitEntry; id <= StatusEntry; ++id) {
        auto *entry = new QVexmarMenuEntry(id, nullptr);
        entry->layout->setContentsMargins(10, 0, 10, 0);
        entry->titleLabel->setText(tr(tops[id].title));
        entry->iconLabel->setPixmap(QPixmap(QLatin1String(tops[id].image)));
        addEntry(entry);
    }

    connect(m_screenSaverTimer, &QTimer::timeout, this, &QVexmarSettingsPage::screenSaverEvent);
    connect(getAudioSettings(), &TAudioSettings::controllerParamChanged, this,
        &QVexmarSettingsPage::audioControllerParamChanged);
    connect(m_ethernet.get(), &TComNetworkController::controllerParamChanged, this,
        &QVexmarSettingsPage::ethernetParamChanged);
    // The next connection may be another codec: a list kept from this one must not pass for its networks.
    connect(com, &kra::CCom::stateChanged, this, [this](RpcConnection::ConnectionState state) {
        if (state == RpcConnection::UnconnectedState || state == RpcConnection::ClosingState)
            m_wifiScanInterface.clear();
    });

    m_timezones = std::make_unique<TTimezoneList>();
    m_timezones->loadTimezone();
}

QVexmarSettingsPage::~QVexmarSettingsPage()
{
    m_screenSaverTimer->disconnect(this);
    disconnect(getAudioSettings(), nullptr, this, nullptr);
}

void QVexmarSettingsPage::showEvent(QShowEvent *event)
{
    updateAudioEntryState();
    QVexmarMenuWidget::showEvent(event);
}

void QVexmarSettingsPage::updateAudioEntryState()
{
    QVexmarMenuEntry *audio = entries->findEntry(AudioEntry);
    if (!audio)
        return;
    if (g_accessLevel == 0)
        audio->setState(QVexmarMenuEntry::Disabled);
    else if (audio->state() == QVexmarMenuEntry::Disabled)
        audio->setState(QVexmarMenuEntry::Normal);
}

bool QVexmarSettingsPage::entryClicked(QVexmarMenuEntry *entry)
{
    const bool opened = QVexmarMenuWidget::entryClicked(entry);
    if (!opened)
        return false;
    switch (entry->id) {
    case ExitEntry:
        emit pageActivated(QVexmar::Page(exitPage));
        return true;
    case NetworkEntry:
        buildNetworkMenu();
        break;
    case CodingEntry:
        buildCodingMenu();
        break;
    case AudioEntry:
        buildAudioMenu();
        break;
    case BookEntry:
        buildBookMenu();
        break;
    case ToolsEntry:
        buildToolsMenu();
        break;
    case StatusEntry:
        buildStatusMenu();
        break;
    default:
        return true;
    }
    m_openBranchId = entry->id;
    return true;
}

void QVexmarSettingsPage::openEntry(QVexmarMenuEntry *entry)
{
    QVexmarMenuWidget::openEntry(entry);
    if (!entry)
        return;
    int rowId = -1;
    if (entry->id == CodingEntry && pendingSubId == QVexmar::SettingsCodec1)
        rowId = 99;
    else if (entry->id == CodingEntry && pendingSubId == QVexmar::SettingsCodec2)
        rowId = 100;
    else if (entry->id == BookEntry
        && inRange(pendingSubId, QVexmar::SettingsCallProfiles1, QVexmar::SettingsCallProfilesVoice))
        rowId = 170;
    QVexmarMenuItems *page = currentItems();
    QVexmarMenuItem *row = page && rowId != -1 ? page->findItem(rowId) : nullptr;
    // A locked row is as good as missing: the level that locked it must not reach its page by a shortcut.
    if (row && !row->isLocked())
        menuItemClicked(row);
}

bool QVexmarSettingsPage::selectEntry(int entryId, int subId)
{
    updateAudioEntryState();
    return QVexmarMenuWidget::selectEntry(entryId, subId);
}

bool QVexmarSettingsPage::openPath(const QList<int> &ids)
{
    updateAudioEntryState();
    if (ids.isEmpty() || !selectEntry(ids.first(), -1))
        return false;
    for (int i = 1; i < ids.size(); ++i) {
        QVexmarMenuItems *page = currentItems();
        QVexmarMenuItem *row = page ? page->findItem(ids.at(i)) : nullptr;
        if (!row || row->isLocked())
            return false;
        menuItemClicked(row);
    }
    return true;
}

void QVexmarSettingsPage::backClicked()
{
    QVexmarMenuItems *left = currentItems();
    const int leftId = left ? left->pageId : -1;
    const int leftGroup = left ? left->groupId : -1;
    QVexmarMenuWidget::backClicked();
    QVexmarMenuItems *page = currentItems();
    if (!page || page == left)
        return;
    const int id = page->pageId;
    if (id == NetworkEntry) {
        for (int row : {7, 8, 9}) {
            if (QVexmarMenuItem *item = page->findItem(row))
                updateNetworkItem(item);
        }
    } else if (id == 10) {
        updateAoipMenu(page);
        header->setModified(hasAoipChanges(page));
    } else if (id == 11) {
        header->setModified(hasIsdnChanges(page));
    } else if (inRange(id, 12, 15)) {
        header->setModified(hasEthernetChanges(page));
    } else if (inRange(id, 16, 19)) {
        header->setModified(hasMobileChanges(page));
    } else if (inRange(id, 20, 23)) {
        header->setModified(hasWifiChanges(page));
    } else if (id == CodingEntry) {
        updateCodingMenu(page);
    } else if (id == 119) {
        header->setRefreshVisible(true);
        updateAoipInterfaceMenu(page);
    } else if (id == 133) {
        updateInputStreamsMenu(page);
    } else if (id == 170) {
        if (leftId != 175 || leftGroup != 170 || !callProfilesChanged)
            return;
        callProfilesChanged = false;
        buildCallProfilesMenu();
        // Only a list that was built anew replaces the old one.
        if (currentItems() != page) {
            stack->removeWidget(page);
            page->deleteLater();
        }
    } else if (id == 192) {
        updateSoftkeysMenu(page);
    } else if (id == StatusEntry) {
        header->setRefreshVisible(true);
    } else if (id == 243) {
        header->setRefreshVisible(true);
        updateConnectionEntries(page, 1);
        updateConnectionEntries(page, 2);
    }
}

void QVexmarSettingsPage::refreshClicked()
{
    QVexmarMenuWidget::refreshClicked();
    QVexmarMenuItems *page = currentItems();
    if (!page)
        return;
    showMessagePopup(tr("Refreshing..."), 1000);
    const int id = page->pageId;
    if (id == 119) {
        updateAoipInterfaceMenu(page);
    } else if (inRange(id, 134, 141)) {
        updateInputStreamMenu(page);
    } else if (id == StatusEntry) {
        updateStatusMenu(page);
    } else if (id == 243) {
        updateConnectionEntries(page, 1);
        updateConnectionEntries(page, 2);
    } else if (id == 263) {
        updateAoipControllerMenu(page);
    } else if (inRange(id, 273, 276)) {
        updateMobileStatusEntry(page, id);
    }
}

void QVexmarSettingsPage::applyClicked()
{
    QVexmarMenuItems *page = currentItems();
    const int id = page ? page->pageId : -1;
    const bool applies = id == 10 || id == 77 || id == 78 || inRange(id, 11, 23) || id == 99 || id == 100 || id == 111
        || id == 125 || id == 126 || inRange(id, 134, 141) || id == 146 || (id == 175 && page->groupId == 170)
        || id == 229;
    if (!applies) {
        QVexmarMenuWidget::applyClicked();
        return;
    }
    if (!applyPage(page))
        return;
    if (inRange(id, 16, 19)) {
        afterMobileApply(page);
        return;
    }
    if (inRange(id, 134, 141))
        afterInputStreamApply(page);
    else if (id == 146)
        updateOutputStreamMenu(page);
    else if (id == 10)
        updateAoipMenu(page);
    else if (id == 175) {
        callProfilesChanged = true;
        loadedProfile = editedProfile;
        backClicked();
    }
    QVexmarMenuWidget::applyClicked();
}

bool QVexmarSettingsPage::applyPage(QVexmarMenuItems *page)
{
    const int id = page->pageId;
    const TComDevice *device = getDevice();
    bool busy = false;
    if (id == 10 || id == 77 || id == 78)
        busy = device->audioConnectionByFamily(TComDevice::FamilyIp);
    else if (inRange(id, 11, 23))
        busy = device->audioConnectionByNetwork(interfaceOfPage(id));
    else if (id == 99 || id == 100)
        busy = device->audioConnection(id - 98);
    if (busy) {
        showMessagePopup(cannotApplyText(), 0);
        return false;
    }
    emit applyRequested(id);
    if (id == 10)
        return applyAoipChanges(page);
    if (id == 77 || id == 78)
        return applySipAccountChanges(page);
    if (id == 11)
        return applyIsdnChanges(page);
    if (inRange(id, 12, 15))
        return applyEthernetChanges(page);
    if (inRange(id, 16, 19))
        return applyMobileChanges(page);
    if (inRange(id, 20, 23))
        return applyWifiChanges(page);
    if (id == 99 || id == 100)
        return applyCodecChanges(page);
    if (id == 111)
        return applyIntercom(page);
    if (id == 125 || id == 126)
        return applyIpAddressing(page);
    if (inRange(id, 134, 141))
        return applyInputStream(page);
    if (id == 146)
        return applyOutputStream(page);
    if (id == 175)
        return saveCallProfile(page);
    if (id == 229)
        return applyRemoteAccess(page);
    return false;
}

void QVexmarSettingsPage::afterMobileApply(QVexmarMenuItems *page)
{
    if (!page->findItem(41)) {
        QVexmarMenuWidget::applyClicked();
        return;
    }
    // The PIN was entered: the Network page's link now leads to a page that must be read anew.
    if (QVexmarMenuItems *network = findItems(NetworkEntry)) {
        if (QVexmarMenuItem *link = network->findItem(page->pageId)) {
            link->setValueText(tr("Configure the Mobile controller"));
            link->setLocked(getDevice()->hasAudioConnection());
        }
    }
    backClicked();
}

void QVexmarSettingsPage::afterInputStreamApply(QVexmarMenuItems *page)
{
    QVexmarMenuItem *channel = page->findItem(143);
    if (!channel || channel->isLocked() || channel->currentOption() != -1
        || editedInputStream.id == TComRavennaInputStream::NoStream)
        return;
    channel->setValueTextAndGlobalColor(tr("Press refresh before selecting a channel"), Qt::red);
    header->setRefreshVisible(true);
}

void QVexmarSettingsPage::menuItemClicked(QVexmarMenuItem *item)
{
    QVexmarMenuWidget::menuItemClicked(item);
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    const int id = item->id;
    const int pageId = page->pageId;
    const bool subMenu = item->kind() == QVexmarMenuItem::SubMenu;

    if (id >= firstListRow) {
        const int list = item->groupId();
        if (list == 170) {
            if (subMenu) {
                buildCallProfileMenu(id, item->titleLabel->text());
            } else if (loadCallProfile(id, item->titleLabel->text()) && editedProfile.isValid()) {
                confirmCallProfileLoad(item);
            }
        } else if (inRange(list, 171, 173)) {
            const QString title = item->titleLabel->text();
            if (subMenu && list == 171)
                buildPresetMenu(id, title);
            else if (subMenu && list == 172)
                buildSipProfileMenu(id, title);
            else if (subMenu)
                buildSnapshotMenu(id, title);
            else
                confirmBookAction(item, list);
        }
        return;
    }

    switch (id) {
    case 10:
        buildAoipMenu();
        return;
    case 77:
    case 78:
        buildSipAccountMenu(id);
        return;
    case 11:
        buildIsdnMenu();
        return;
    case 44:
        if (inRange(pageId, 16, 19))
            clickMobileScan(item, pageId);
        return;
    case 61:
        if (inRange(pageId, 20, 23))
            showSelectionPopup(QString(), item, true);
        return;
    case 99:
    case 100:
        buildCodecMenu(id);
        return;
    case 101:
        buildAutoBitrateMenu();
        return;
    case 170:
        buildCallProfilesMenu();
        return;
    case 171:
        buildPresetsMenu();
        return;
    case 172:
        buildSipProfilesMenu();
        return;
    case 173:
        buildSnapshotsMenu();
        return;
    case 174:
        if (pageId == 170)
            buildCallProfileMenu(-1, tr("noname"));
        else if (inRange(pageId, 171, 173))
            showKeyboardPopup(true, item, true);
        return;
    case 184:
    case 185:
    case 186:
        if (pageId == 175 && item->groupId() >= firstListRow)
            confirmBookAction(item, page->groupId);
        return;
    case 111:
        buildIntercomMenu();
        return;
    case 119:
        buildAoipInterfaceMenu();
        return;
    case 125:
    case 126:
        buildIpAddressingMenu(id);
        return;
    case 133:
        buildInputStreamsMenu();
        return;
    case 146:
        buildOutputStreamMenu();
        return;
    case 187:
        showActionPopup(tr("Are you sure you want to bring the system down?"), item);
        return;
    case 188:
        showActionPopup(tr("Are you sure you want to restart the system?"), item);
        return;
    case 192:
        buildSoftkeysMenu();
        return;
    case 206:
        buildMiscellaneousMenu();
        return;
    case 221:
        if (pageId == 206)
            buildFtpServerMenu();
        return;
    case 225:
        buildTroubleshootingMenu();
        return;
    case 228:
        if (pageId == 225)
            showSelectionPopup(QString(), item, true);
        return;
    case 229:
        buildRemoteAccessMenu();
        return;
    case 236:
        buildPasswordsMenu();
        return;
    case 243:
        buildAudioConnectionsMenu();
        return;
    case 252:
    case 253:
        if (item->groupId() == 244)
            buildStatisticsMenu(254);
        else if (item->groupId() == 245)
            buildStatisticsMenu(255);
        return;
    case 263:
        buildAoipControllerMenu();
        return;
    case 286:
        buildBatteryMenu();
        return;
    default:
        break;
    }
    if (inRange(id, 12, 15))
        buildEthernetMenu(id);
    else if (inRange(id, 16, 19))
        buildMobileMenu(id);
    else if (inRange(id, 20, 23))
        buildWifiMenu(id);
    else if (inRange(id, 134, 141))
        buildInputStreamMenu(id);
    else if (inRange(id, 193, 202))
        buildSoftkeyMenu(id);
    else if (inRange(id, 273, 276))
        buildMobileStatusMenu(id);
    else if (item->kind() == QVexmarMenuItem::Wheel)
        putWheelBack(item);
}

void QVexmarSettingsPage::clickMobileScan(QVexmarMenuItem *item, int pageId)
{
    const std::string name = interfaceOfPage(pageId);
    const TComDevice *device = getDevice();
    if (device->audioConnectionByNetwork(name))
        showMessagePopup(tr("Cannot change setting\n(a connection is established)"), 0);
    else if (device->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, name))
        showMessagePopup(tr("Cannot change setting\n(the data service is active)"), 0);
    else
        showActionPopup(tr("This may take a while\n\nAre you sure to proceed?"), item);
}

void QVexmarSettingsPage::confirmBookAction(QVexmarMenuItem *item, int listId)
{
    // A list's own rows load; rows 184-186 of a record's page load, update or delete it.
    const int action = item->id >= firstListRow ? 184 : item->id;
    if (action == 184) {
        if (listId == 170) {
            if (editedProfile.isValid())
                confirmCallProfileLoad(item);
        } else if (listId == 171) {
            showActionPopup(tr("Load the preset?"), item);
        } else if (listId == 172) {
            showActionPopup(tr("Load the SIP profile?"), item);
        } else if (listId == 173) {
            showActionPopup(tr("Load the snapshot?"), item);
        }
    } else if (action == 185) {
        if (listId == 171)
            showActionPopup(tr("Update the preset?"), item);
        else if (listId == 173)
            showActionPopup(tr("Update the snapshot?"), item);
    } else if (action == 186) {
        if (listId == 170)
            showActionPopup(tr("Delete the call profile?"), item);
        else if (listId == 171)
            showActionPopup(tr("Delete the preset?"), item);
        else if (listId == 172)
            showActionPopup(tr("Delete the SIP profile?"), item);
        else if (listId == 173)
            showActionPopup(tr("Delete the snapshot?"), item);
    }
}

void QVexmarSettingsPage::confirmCallProfileLoad(QVexmarMenuItem *item)
{
    const QString question = tr("Load the call profile?");
    // Mobile voice goes to the voice line, and a list opened for one codec line loads into that line.
    if (editedProfile.coding.algorithm == 17 || getDevice()->codecMode() != TComDevice::CodecModeDouble
        || pendingSubId == QVexmar::SettingsCallProfiles1 || pendingSubId == QVexmar::SettingsCallProfiles2) {
        showActionPopup(question, item);
        return;
    }
    item->clearOptions();
    item->addOption(1, tr("Streamer 1"));
    item->addOption(2, tr("Streamer 2"));
    item->selectOption(1, false, true);
    showSelectionPopup(question, item, true);
}

void QVexmarSettingsPage::putWheelBack(QVexmarMenuItem *item)
{
    const int current = item->currentOption();
    if (!item->wheel || !item->wheel->isChecked() || current < 0 || current >= item->options().size())
        return;
    item->selectOption(item->options().at(current).value, true, false);
    item->wheel->setValue(current);
    item->wheel->setChecked(false);
}

void QVexmarSettingsPage::handleDeviceEvent(kra::CMsg &body)
{
    QVexmarMenuItems *page = currentItems();
    if (page && page->pageId == AudioEntry && body.value(kra::KEY_INFO_TYPE) == kra::EVT_AUDIO_CHANGESET
        && body.value(kra::KEY_INFO_SOURCE) == kra::SRC_CORE)
        updateAudioMenu(page);
}

void QVexmarSettingsPage::handleSystemEvent(kra::CMsg &body)
{
    QVexmarMenuItems *page = currentItems();
    if (!page)
        return;
    const int id = page->pageId;
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    const auto updateRows = [this, page](std::initializer_list<int> rows) {
        for (int row : rows) {
            if (QVexmarMenuItem *item = page->findItem(row))
                updateNetworkItem(item);
        }
    };
    if (type == kra::EVT_DEFAULT_NETWORK || type == kra::EVT_DEFAULT_CODEC) {
        if (id == NetworkEntry && type == kra::EVT_DEFAULT_NETWORK)
            updateRows({7});
        else if (id == NetworkEntry)
            updateRows({8, 9});
        else if (id == CodingEntry)
            updateCodingMenu(page);
        else if (id == StatusEntry)
            updateStatusMenu(page);
    } else if (type == kra::EVT_SECONDARY_NETWORK || type == kra::EVT_CODEC_CHANGE) {
        if (id == NetworkEntry)
            updateRows({8});
    } else if (type == kra::EVT_CONFIG_INFO) {
        const std::string &name = body.value(kra::KEY_NETWORK);
        if (networkTypeOfName(name) != TypeEthernet)
            return;
        RpcMessage message = RpcMessage::notification(body);
        if (inRange(id, 12, 15) && m_ethernet->state() != TComController::NotRead) {
            m_ethernet->handleEvent(message);
        } else if (id == StatusEntry) {
            if (m_ethernet->interfaceName() != name)
                m_ethernet->attach(name, 0, false);
            m_ethernet->handleEvent(message);
        }
    }
}

void QVexmarSettingsPage::connectionAdded() { }

void QVexmarSettingsPage::connectionRemoved() { }

void QVexmarSettingsPage::audioConnectionStateChanged(TComAudioConnection *) { }

void QVexmarSettingsPage::screenSaverEvent()
{
    m_screenSaverTimer->stop();
    m_screenSaver = false;
}

void QVexmarSettingsPage::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam param)
{
    QVexmarMenuItems *page = currentItems();
    if (page && page->pageId == AudioEntry && inRange(param, TAudioSettings::DrcState, TAudioSettings::DrcAttack))
        updateAudioMenu(page);
}

void QVexmarSettingsPage::ethernetParamChanged(TComController *, int param)
{
    QVexmarMenuItems *page = currentItems();
    if (!page || param != TComEthernetController::ParamConfigInfo)
        return;
    if (inRange(page->pageId, 12, 15))
        updateEthernetMenu(page);
    else if (page->pageId == StatusEntry)
        updateLanStatusEntry(page, 269 + networkIndexOfName(m_ethernet->interfaceName()));
}
