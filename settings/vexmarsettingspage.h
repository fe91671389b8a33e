#pragma once

// The settings menu of the device screen: one class over several sources, one per branch. This header is the whole
// class; each source says which members it holds.

#include "controllers/taudiosettings.h"
#include "controllers/tcomravennacontroller.h"
#include "controllers/tmatrixsettings.h"
#include "device/tcomconnection.h"
#include "rpc/codecformat.h"
#include "settings/tcallprofile.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuwidget.h"

#include <QString>

#include <memory>
#include <string>
#include <utility>
#include <vector>

class QTimer;
class QVexmarMenuSelect;
class QVexmarVirtual;
class TComController;
class TComEthernetController;
class TComIsdnController;
class TComMobileController;
class TComRpcAccess;
class TComWifiController;
class TTimezoneList;

namespace kra {
class CMsg;
}

// Menu ids: 0-6 the top-level entries (a branch page has its entry's id), 7-298 fixed pages and rows (a sub-page
// has the id of the row that opens it), 299 + index the rows of a device list (their group id: the list page's).
class QVexmarSettingsPage : public QVexmarMenuWidget
{
    Q_OBJECT

public:
    enum Entry {
        ExitEntry = 0,
        NetworkEntry = 1,
        CodingEntry = 2,
        AudioEntry = 3,
        BookEntry = 4,
        ToolsEntry = 5,
        StatusEntry = 6
    };
    // The pages the screen window opens by path (openPath) below an entry.
    enum PathPage {
        SipAoipPage = 10,
        SipAccount1Page = 77,
        SipAccount2Page = 78,
        MiscellaneousPage = 206,
        FtpServerPage = 221
    };
    // The first id of a device list's rows.
    static constexpr int firstListRow = 299;

    explicit QVexmarSettingsPage(QWidget *parent = nullptr);
    ~QVexmarSettingsPage() override;

    // ---- Core (vexmarsettingspage.cpp) ----

    void backClicked() override;
    void applyClicked() override;
    void refreshClicked() override;
    // The entry, then the row the pending sub-id names: 21/22 codec 1/2 of Coding, 26-28 the call profiles of Book.
    void openEntry(QVexmarMenuEntry *entry) override;
    bool entryClicked(QVexmarMenuEntry *entry) override;
    void menuItemClicked(QVexmarMenuItem *item) override;
    bool selectEntry(int entryId, int subId) override;
    // False when ids[0] cannot be opened, or a row on the way is missing or locked.
    bool openPath(const QList<int> &ids) override;

    // The branch (1-6) whose page was built last; -1 before the first. Exit does not change it.
    int openBranchId() const { return m_openBranchId; }
    // Audio cannot be opened at the Operator level.
    void updateAudioEntryState();

    // INFO and EVENT bodies passed on by the screen window.
    void handleDeviceEvent(kra::CMsg &body);
    void handleSystemEvent(kra::CMsg &body);
    void connectionAdded();
    void connectionRemoved();
    void audioConnectionStateChanged(TComAudioConnection *connection);
    // Call hooks of the connections and statistics pages.
    void audioCallStatusChanged(TComAudioConnection *connection);
    void audioCallStatisticChanged(TComAudioConnection *connection);

    // ---- Values, keyboard, selection, shared conventions, passwords (vexmarsettingsvalues.cpp) ----

    void itemValueChanged(QVexmarMenuItem *item) override;
    void prepareKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard) override;
    void prepareSelection(QVexmarMenuItem *item, QVexmarMenuSelect *selection) override;
    void keyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard) override;
    void selectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection) override;

    // Immediate setting: accepted is the result of a model setter called with send. On refusal the row shows held,
    // the value the model still holds (a setter stores only what the device accepted, so held may be read before
    // or after the setter), and "Failed to apply changes!" stays until closed. Selections and wheels select held;
    // when no option holds it they show heldText (held in decimal when empty) as showHeldOption does for a strict
    // row. Switches take held != 0, other rows show the text. Returns accepted.
    bool setImmediately(QVexmarMenuItem *item, bool accepted, int held, const QString &heldText = QString());
    bool setImmediately(QVexmarMenuItem *item, bool accepted, const QString &held);
    // Call guard: true, with the row put back as above and "Cannot apply changes\n(a connection is established)",
    // while the device has a call up; false otherwise.
    bool refusedDuringCall(QVexmarMenuItem *item, int held, const QString &heldText = QString());
    bool refusedDuringCall(QVexmarMenuItem *item, const QString &held);
    // Direct write: one PARAM to the target with the values, 5000 ms. The number of values the device accepted (0
    // when it failed), so that a caller can put back and report a refused one.
    int writeParams(const std::string &target, const std::vector<std::pair<std::string, std::string>> &values);
    // The header's mark from a change test of the page, when the page is the one shown.
    using ChangeTest = bool (QVexmarSettingsPage::*)(QVexmarMenuItems *page);
    void markChanges(QVexmarMenuItems *page, ChangeTest test);
    // A strict row shows a held value that no option holds in red, with no option current; a free row keeps the
    // text and its colour. True when an option holds the value.
    bool showHeldOption(QVexmarMenuItem *item, int value, const QString &text, bool strict = true);

    // The three level passwords as plain text: 2 administrator, 1 expert, any other level operator.
    const QString &accessPassword(int level) const;
    // Unchanged: true, nothing sent. With send the cipher text of the Latin-1 bytes (empty stays empty) goes to the
    // device first; a refusal, or a character outside Latin-1, gives false and keeps the copy.
    bool setAdministratorPassword(const QString &password, bool send);
    bool setExpertPassword(const QString &password, bool send);
    bool setOperatorPassword(const QString &password, bool send);
    bool setAutoLogin(bool on, bool send);
    bool autoLogin() const { return m_autoLogin; }
    // Reads and deciphers the three passwords; false, keeping all three, when the device did not answer. The
    // argument has no effect.
    bool loadAccessPasswords(int);

    // ---- Enumeration texts and keywords (vexmarsettingstexts.cpp); a value outside a table gives its last row ----

    static QString networkTypeText(int family);
    static QString addressModeText(int mode);
    static QString linkModeText(int mode);
    static QString defaultProtocolText(int mode);
    static QString natTypeText(int type);
    static QString radioAccessTechnologyText(int technology);
    static QString dataServiceStateText(int state);
    static QString networkStateText(int state);
    static QString streamStatusText(int status);
    static QString ptpStateText(int state);
    static QString syncStateText(int state);
    static QString gpioInputFunctionText(int function);
    static QString relayFunctionText(int function);
    // An index outside the table gives the "none" keyword; an unknown keyword (compared exactly) gives 0.
    static const std::string &gpioInputFunctionKeyword(int function);
    static int gpioInputFunctionFromKeyword(const std::string &keyword);
    static const std::string &relayFunctionKeyword(int function);
    static int relayFunctionFromKeyword(const std::string &keyword);
    // Case-insensitive; list builders sort with it in a stable sort.
    static bool listNameLessThan(const QString &a, const QString &b);

    // ---- Network page, mobile pages (G4: vexmarsettingsnetwork.cpp) ----

    void buildNetworkMenu();
    void updateMobileNetworkItems(QVexmarMenuItems *page);
    void buildMobileMenu(int rowId);
    bool applyMobileChanges(QVexmarMenuItems *page);
    bool hasMobileChanges(QVexmarMenuItems *page);
    // Rows 7-9 of page 1, and row 44 (operator scan) of pages 16-19.
    void networkValueChanged(QVexmarMenuItem *item);
    void mobileValueChanged(QVexmarMenuItem *item);
    // Row 44's operator choice.
    void mobileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);

    // ---- SIP/AoIP page and SIP accounts (G2: vexmarsettingssip.cpp) ----

    void buildAoipMenu();
    void buildSipAccountMenu(int pageId);
    void updateAoipMenu(QVexmarMenuItems *page);
    void updateDefaultSipAccountItem(QVexmarMenuItems *page);
    void updateDoubleStreamingItems(QVexmarMenuItem *item);
    bool hasAoipChanges(QVexmarMenuItems *page);
    bool hasSipAccountChanges(QVexmarMenuItems *page);
    bool applyAoipChanges(QVexmarMenuItems *page);
    bool applySipAccountChanges(QVexmarMenuItems *page);
    void updateNetworkItem(QVexmarMenuItem *item);
    // Pages 10, 77, 78.
    void aoipValueChanged(QVexmarMenuItem *item);

    // ---- Ethernet, ISDN, Wi-Fi pages (G3: vexmarsettingsinterfaces.cpp) ----

    void buildEthernetMenu(int pageId);
    void buildIsdnMenu();
    void buildWifiMenu(int pageId);
    bool applyEthernetChanges(QVexmarMenuItems *page);
    bool applyIsdnChanges(QVexmarMenuItems *page);
    bool applyWifiChanges(QVexmarMenuItems *page);
    bool hasEthernetChanges(QVexmarMenuItems *page);
    bool hasIsdnChanges(QVexmarMenuItems *page);
    bool hasWifiChanges(QVexmarMenuItems *page);
    void updateEthernetMenu(QVexmarMenuItems *page);
    // Pages 11-15 and 20-23.
    void interfaceValueChanged(QVexmarMenuItem *item);
    // Row 61's network choice.
    void wifiSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);

    // ---- Coding branch (G5: vexmarsettingscoding.cpp) ----

    void buildCodingMenu();
    void updateCodingMenu(QVexmarMenuItems *page);
    void buildCodecMenu(int entryId);
    void updateCodecMenu(QVexmarMenuItems *page);
    bool hasCodecChanges(QVexmarMenuItems *page);
    bool applyCodecChanges(QVexmarMenuItems *page);
    void buildAutoBitrateMenu();
    // Pages 99, 100, 101.
    void codingValueChanged(QVexmarMenuItem *item);

    // ---- Audio page, intercom, AoIP interface (H3: vexmarsettingsaudio.cpp, vexmarsettingsaoip.cpp) ----

    void buildAudioMenu();
    void updateAudioMenu(QVexmarMenuItems *page);
    void buildIntercomMenu();
    void updateIntercomMenu(QVexmarMenuItems *page);
    bool hasIntercomChanges(QVexmarMenuItems *page);
    bool applyIntercom(QVexmarMenuItems *page);
    void buildAoipInterfaceMenu();
    void updateAoipInterfaceMenu(QVexmarMenuItems *page);
    // Pages 3, 111, 119.
    void audioValueChanged(QVexmarMenuItem *item);

    // ---- AoIP streams and IP addressing (H7: vexmarsettingsaoip.cpp) ----

    void buildIpAddressingMenu(int pageId);
    void updateIpAddressingMenu(QVexmarMenuItems *page);
    bool hasIpAddressingChanges(QVexmarMenuItems *page);
    bool applyIpAddressing(QVexmarMenuItems *page);
    void buildInputStreamsMenu();
    void updateInputStreamsMenu(QVexmarMenuItems *page);
    void buildInputStreamMenu(int pageId);
    void updateInputStreamMenu(QVexmarMenuItems *page);
    bool hasInputStreamChanges(QVexmarMenuItems *page);
    bool applyInputStream(QVexmarMenuItems *page);
    void buildOutputStreamMenu();
    void updateOutputStreamMenu(QVexmarMenuItems *page);
    bool hasOutputStreamChanges(QVexmarMenuItems *page);
    bool applyOutputStream(QVexmarMenuItems *page);
    // Pages 125, 126, 133, 134-141, 146.
    void aoipStreamValueChanged(QVexmarMenuItem *item);

    // ---- Book page and call profile page (H1: vexmarsettingsbook.cpp) ----

    void buildBookMenu();
    void buildCallProfileMenu(int entryId, const QString &name);
    bool loadCallProfile(int entryId, const QString &name);
    void updateCallProfileCoding(QVexmarMenuItems *page);
    void updateCallProfileActions(QVexmarMenuItems *page);
    bool saveCallProfile(QVexmarMenuItems *page);
    // List 170 and page 175 of group 170.
    void callProfileValueChanged(QVexmarMenuItem *item);
    // The "Streamer 1"/"Streamer 2" choice of a call profile load; selection is null when nothing was chosen.
    void callProfileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);

    // ---- Book lists, presets, SIP profiles, snapshots (H2: vexmarsettingsbook.cpp) ----

    void buildCallProfilesMenu();
    void buildPresetsMenu();
    void buildSipProfilesMenu();
    void buildSnapshotsMenu();
    void buildPresetMenu(int entryId, const QString &name);
    void buildSipProfileMenu(int entryId, const QString &name);
    void buildSnapshotMenu(int entryId, const QString &name);
    // Lists 171-173 and page 175 of groups 171-173.
    void bookListValueChanged(QVexmarMenuItem *item);
    // Row 174 of lists 171-173: the name of a new record.
    void prepareBookListKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    void bookListKeyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    // The account of a new or loaded SIP profile.
    void sipProfileSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);

    // ---- Status branch (H4: vexmarsettingsstatus.cpp) ----

    void buildStatusMenu();
    void updateStatusMenu(QVexmarMenuItems *page);
    void updateLanStatusEntry(QVexmarMenuItems *page, int rowId);
    void updateMobileStatusEntry(QVexmarMenuItems *page, int id);
    void updateWifiStatusEntry(QVexmarMenuItems *page, int rowId);
    void buildMobileStatusMenu(int pageId);
    void buildBatteryMenu();
    void buildAoipControllerMenu();
    void updateAoipControllerMenu(QVexmarMenuItems *page);

    // ---- Audio connections and statistics (H6: vexmarsettingsstatus.cpp) ----

    void buildAudioConnectionsMenu();
    void updateConnectionEntries(QVexmarMenuItems *page, int line);
    void updateConnectionStatus(QVexmarMenuItems *page, TComAudioConnection *connection);
    void buildStatisticsMenu(int pageId);
    void updateStatisticsMenu(QVexmarMenuItems *page);

    // ---- Tools page, access level, programmable keys, passwords (H5: vexmarsettingstools.cpp) ----

    void buildToolsMenu();
    void lockToolsEntries(QVexmarMenuItems *page);
    void applyAccessLevel(QVexmarMenuItems *page);
    void buildSoftkeysMenu();
    void updateSoftkeysMenu(QVexmarMenuItems *page);
    void buildSoftkeyMenu(int pageId);
    void updateSoftkeyMenu(QVexmarMenuItems *page);
    void buildPasswordsMenu();
    // Page 5 (shutdown, restart, access level), key pages 193-202, page 236.
    void toolsValueChanged(QVexmarMenuItem *item);
    // Row 191: the password of the chosen level.
    void prepareAccessLevelKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    void accessLevelKeyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard);

    // ---- Miscellaneous and FTP server (H8: vexmarsettingsmisc.cpp) ----

    void buildMiscellaneousMenu();
    void buildFtpServerMenu();
    // Pages 206, 221.
    void miscValueChanged(QVexmarMenuItem *item);

    // ---- Troubleshooting and remote access (H9: vexmarsettingstroubleshooting.cpp) ----

    void buildTroubleshootingMenu();
    void updateTroubleshootingMenu(QVexmarMenuItems *page);
    void buildRemoteAccessMenu();
    bool hasRemoteAccessChanges(QVexmarMenuItems *page);
    bool applyRemoteAccess(QVexmarMenuItems *page);
    // Pages 225, 229.
    void troubleshootingValueChanged(QVexmarMenuItem *item);
    // Row 228's reset level.
    void resetSelectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);

    // ---- Members the branches share ----

    // The page's request helper on the communication service, and its editing copies of the interface controllers
    // (the process-wide ones are never edited here).
    TComRpcAccess *rpc() const { return m_rpc.get(); }
    TComEthernetController *ethernetCopy() const { return m_ethernet.get(); }
    TComMobileController *mobileCopy() const { return m_mobile.get(); }
    TComWifiController *wifiCopy() const { return m_wifi.get(); }
    TComIsdnController *isdnCopy() const { return m_isdn.get(); }
    TTimezoneList *timezoneList() const { return m_timezones.get(); }

    // The coding being edited on codec page 99/100, what it was when built or applied, and the relay state read.
    CodecFormat codecEdit;
    CodecFormat codecLoaded;
    bool relayLoaded = false;
    // The call profile being edited, and as it was when its page was built (the change test's base).
    TCallProfile editedProfile;
    TCallProfile loadedProfile;
    // Set after a call profile was stored; the next way back to the call profile list rebuilds it.
    bool callProfilesChanged = false;
    // The edits of the open AoIP receiver page, and the matrix option word edited by the intercom page.
    TComRavennaInputStream editedInputStream;
    TMatrixSettings::MatrixOpts editedMatrixOptions = 0;
    // The latest reports of the two codec lines: index stream * 2 + line - 1.
    TComAudioConnection::RxReport latestRxStatistics[4];
    TComAudioConnection::TxReport latestTxStatistics[4];

    // The remote numbers of the call profile loaded last, for the screen window to dial them.
    QString callProfileRemoteNumber;
    QString callProfileRemoteNumber2;

signals:
    // The apply of the open page is about to run: its guard let it through. The tests count it.
    void applyRequested(int pageId);

public slots:
    void screenSaverEvent();
    void audioControllerParamChanged(TComController *controller, TAudioSettings::CtlrParam param);
    void ethernetParamChanged(TComController *controller, int param);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // The apply operation of the page, guarded by the calls in progress; true when it succeeded.
    bool applyPage(QVexmarMenuItems *page);
    void afterMobileApply(QVexmarMenuItems *page);
    void afterInputStreamApply(QVexmarMenuItems *page);
    // Rows 120-124 of the AoIP interface page, sent at once.
    void aoipInterfaceValueChanged(QVexmarMenuItem *item);
    // The confirmations of the Book's rows (load, update, delete) and of a call profile load.
    void confirmBookAction(QVexmarMenuItem *item, int listId);
    void confirmCallProfileLoad(QVexmarMenuItem *item);
    void clickMobileScan(QVexmarMenuItem *item, int pageId);
    // The Book's confirmed actions: the edited call profile onto a line (1, 2, or 3 the voice line); a preset, SIP
    // profile or snapshot (its list's kind) loaded into an account (0: none) or updated, by its list entry id; a
    // record created on its list page. The list and record pages of presets, SIP profiles and snapshots.
    void loadCallProfileInto(QVexmarMenuItem *item, int line);
    void loadBookRecord(int listId, int entryId, int account);
    void updateBookRecord(int listId, int entryId, QVexmarMenuItem *nameRow);
    void createBookRecord(QVexmarMenuItems *list, const QString &name, int account);
    void buildRecordList(int listId);
    void buildRecordMenu(int listId, int entryId, const QString &name);
    // A wheel left turned but untouched shows its committed option again.
    static void putWheelBack(QVexmarMenuItem *item);
    // "Failed to apply changes!" after the row is put back.
    void putBack(QVexmarMenuItem *item, int held, const QString &heldText);
    void putBack(QVexmarMenuItem *item, const QString &held);
    bool setPassword(QString &copy, const std::string &key, const QString &password, bool send);

    // Wi-Fi pages: the interface whose scan the copy's network list holds; empty before the first that succeeded on
    // this connection.
    std::string m_wifiScanInterface;
    // SIP/AoIP pages: values stored on the device whose interface has not taken them yet (its re-initialisation
    // was refused); the next apply re-initialises it, changed or not.
    bool m_aoipReinitOwed = false;
    // Opus page: what the device holds for rows 107-110, which a refused write puts back.
    int m_autoBitrateHeld[4] = {0, 1, 0, 0};

    int m_openBranchId = -1;
    bool m_screenSaver = true;
    bool m_autoLogin = false;
    QString m_administratorPassword;
    QString m_expertPassword;
    QString m_operatorPassword;
    QTimer *m_screenSaverTimer = nullptr;
    std::unique_ptr<TComRpcAccess> m_rpc;
    std::unique_ptr<TComEthernetController> m_ethernet;
    std::unique_ptr<TComMobileController> m_mobile;
    std::unique_ptr<TComWifiController> m_wifi;
    std::unique_ptr<TComIsdnController> m_isdn;
    std::unique_ptr<TTimezoneList> m_timezones;
};
