// QVexmarSettingsPage: the SIP/AoIP page and the two SIP account pages of the Network branch, and rows 7-9 of the
// Network page as the device model holds them. The SIP pages edit the device model's own AoIP controller, not a
// copy: the rows hold the edits until the apply sets them, stores them and re-initialises the interface.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomaoipcontroller.h"
#include "device/accessors.h"
#include "device/networkcode.h"
#include "device/qvexmarlocalize.h"
#include "device/tcomdevice.h"
#include "settings/vexmarsettingsrows.h"

#include <string>
#include <tuple>

namespace {

using namespace settingsrows;
using Aoip = TComAoIPController;

constexpr int aoipPageId = 10;
constexpr int account1PageId = 77;

enum AoipRow {
    ProtocolRow = 67,
    DoubleStreamRow = 68,
    PatternRow = 69,
    JitterRow = 70,
    StunRow = 71,
    StunServerRow = 72,
    RegistrationRow = 73,
    SipIncomingRow = 74,
    OriginRow = 75,
    DefaultAccountRow = 76,
    Account1Row = 77,
    Account2Row = 78,
    ProxyRow = 80,
    KeepAliveRow = 81,
    KeepAliveTargetRow = 82,
    ReRegistrationRow = 83,
    SessionTimersRow = 87,
    RtpIncomingRow = 88,
    SendOnlyRow = 89,
    RtpPortRow = 90,
    ReleaseRow = 91,
    DscpRow = 92,
    ReplicationRow = 93,
};
enum AccountRow {
    AlternatePortRow = 84,
    SipPortRow = 85,
    RtpStartRow = 86,
    RegistrarRow = 94,
    UserRow = 95,
    DisplayNameRow = 96,
    AuthUserRow = 97,
    PasswordRow = 98,
};
enum NetworkRow { OutgoingRow = 7, SecondaryRow = 8, CodecModeRow = 9 };

constexpr int highestPort = 65535;
constexpr int highestDscp = 63;
// The second account's ports follow the first's, two above.
constexpr int account2PortShift = 2;

QString tr(const char *text)
{
    return QVexmarSettingsPage::tr(text);
}

QString secondsText(int seconds)
{
    return seconds == 1 ? tr("%1 second").arg(seconds) : tr("%1 seconds").arg(seconds);
}

// Whole minutes from two on, as the registration periods are offered.
QString periodText(int seconds)
{
    return seconds >= 120 && seconds % 60 == 0 ? tr("%1 minutes").arg(seconds / 60) : secondsText(seconds);
}

Options timeOptions(std::initializer_list<int> values, QString (*text)(int))
{
    Options options;
    for (int value : values)
        options.emplace_back(value, text(value));
    return options;
}

// The text of the option of this value, or the number: for a value the device sent that no option holds.
QString optionText(const Options &options, int value)
{
    for (const auto &[optionValue, text] : options) {
        if (optionValue == value)
            return text;
    }
    return QString::number(value);
}

bool isPort(int value)
{
    return value >= 1 && value <= highestPort;
}

// A port row shows the device's port moved up by the shift. A number that is no port is shown red as the device
// holds it, nothing added; a port that the shift takes past the last is shown red too.
void showPort(QVexmarMenuItem *row, int port, int shift = 0)
{
    if (!row)
        return;
    const int shown = isPort(port) ? port + shift : port;
    row->setLocked(row->isLocked());
    if (isPort(shown))
        row->setValueText(QString::number(shown));
    else
        row->setValueTextAndGlobalColor(QString::number(shown), Qt::red);
}

bool notLoaded(const Aoip &aoip)
{
    return aoip.state() == TComController::NotRead;
}

TComSipAccount &accountOfPage(Aoip &aoip, int pageId)
{
    return pageId == account1PageId ? aoip.account1() : aoip.account2();
}

// Page 10's rows that differ from the controller, in the order the apply sets them.
void walkAoipRows(RowChanges &changes, Aoip &aoip)
{
    changes.choice(ProtocolRow, KEY_AUDIO_MODE, &aoip, &Aoip::setAudioMode, aoip.audioMode());
    changes.toggle(DoubleStreamRow, KEY_DOUBLE_STREAM, &aoip, &Aoip::setDoubleStream, aoip.doubleStream());
    changes.choice(PatternRow, KEY_STREAM_PATTERN, &aoip, &Aoip::setStreamPattern, aoip.streamPattern());
    changes.toggle(JitterRow, KEY_JITTERAB, &aoip, &Aoip::setJitterab, aoip.jitterab());
    changes.toggle(StunRow, KEY_STUN_MODE, &aoip, &Aoip::setStunMode, aoip.stunMode());
    changes.utf8Text(StunServerRow, KEY_STUN_SERVER, &aoip, &Aoip::setStunServer, aoip.stunServer());
    changes.toggle(RegistrationRow, KEY_SIP_MODE, &aoip, &Aoip::setSipMode, aoip.sipMode());
    changes.toggle(SipIncomingRow, KEY_SIP_ACC_CALLS, &aoip, &Aoip::setSipAcceptCalls, aoip.sipAcceptCalls());
    changes.toggle(OriginRow, KEY_SIP_CHK_CALLS, &aoip, &Aoip::setSipCheckCalls, aoip.sipCheckCalls());
    changes.toggle(DefaultAccountRow, KEY_SIP_DEF_ACCOUNT, &aoip, &Aoip::setSipDefAccount, aoip.sipDefAccount(), 1, 2);
    changes.utf8Text(ProxyRow, KEY_SIP_PROXY, &aoip, &Aoip::setSipProxy, aoip.sipProxy());
    changes.choice(
        KeepAliveRow, KEY_SIP_KA_INTERVAL, &aoip, &Aoip::setSipKeepAliveInterval, aoip.sipKeepAliveInterval());
    changes.choice(
        KeepAliveTargetRow, KEY_SIP_KA_TARGET, &aoip, &Aoip::setSipKeepAliveTarget, aoip.sipKeepAliveTarget());
    changes.choice(ReRegistrationRow, KEY_SIP_RE_REG_TO, &aoip, &Aoip::setSipReRegTimeout, aoip.sipReRegTimeout());
    changes.toggle(SessionTimersRow, KEY_SIP_SESS_TIMERS, &aoip, &Aoip::setSipSessionTimers, aoip.sipSessionTimers());
    changes.toggle(RtpIncomingRow, KEY_DRTP_ACC_CALLS, &aoip, &Aoip::setDrtpAcceptCalls, aoip.drtpAcceptCalls());
    changes.toggle(SendOnlyRow, KEY_DRTP_SEND_ONLY, &aoip, &Aoip::setDrtpSendOnly, aoip.drtpSendOnly());
    // The controller takes a port below 1 or a negative DSCP as no change: such a number is refused here.
    changes.number(RtpPortRow, KEY_DRTP_RTP_PORT, &aoip, &Aoip::setDrtpRtpPort, aoip.drtpRtpPort(), 1, highestPort);
    changes.choice(ReleaseRow, KEY_DRTP_REL_TIMEOUT, &aoip, &Aoip::setDrtpRelTimeout, aoip.drtpRelTimeout());
    changes.number(DscpRow, KEY_RTP_TOS, &aoip, &Aoip::setRtpTos, aoip.rtpTos(), 0, highestDscp);
    changes.choice(ReplicationRow, KEY_MP_ECM_BF_SHIFT, &aoip, &Aoip::setMpEcmBfShift, aoip.mpEcmBfShift());
}

// A SIP account page's rows that differ, in the order the apply sets them.
void walkAccountRows(RowChanges &changes, Aoip &aoip, TComSipAccount &account)
{
    using Account = TComSipAccount;
    changes.utf8Text(UserRow, account.key(KEY_SIP_USER), &account, &Account::setUser, account.user());
    changes.utf8Text(
        DisplayNameRow, account.key(KEY_SIP_DISPLAY_NAME), &account, &Account::setDisplayName, account.displayName());
    changes.utf8Text(AuthUserRow, account.key(KEY_SIP_AUTH_USER), &account, &Account::setAuthUser, account.authUser());
    changes.utf8Text(PasswordRow, account.key(KEY_SIP_PASSWORD), &account, &Account::setPassword, account.password());
    changes.utf8Text(
        RegistrarRow, account.key(KEY_SIP_REGISTRAR), &account, &Account::setRegistrar, account.registrar());
    changes.toggle(AlternatePortRow, KEY_SIP_USE_UPORT2, &aoip, &Aoip::setSipUseUdpPort2, aoip.sipUseUdpPort2());
    changes.number(SipPortRow, KEY_SIP_UDP_PORT, &aoip, &Aoip::setSipUdpPort, aoip.sipUdpPort(), 1, highestPort);
    changes.number(RtpStartRow, KEY_RTP_START_PORT, &aoip, &Aoip::setRtpStartPort, aoip.rtpStartPort(), 1, highestPort);
}

void walkRows(RowChanges &changes, Aoip &aoip, int pageId)
{
    if (pageId == aoipPageId)
        walkAoipRows(changes, aoip);
    else
        walkAccountRows(changes, aoip, accountOfPage(aoip, pageId));
}

// The change test of page 10 and of the account pages. A controller never loaded locks every row: no change.
bool sipPageChanged(QVexmarMenuItems *page)
{
    Aoip &aoip = getDevice()->aoipController();
    if (!page || notLoaded(aoip))
        return false;
    RowChanges changes(page, nullptr);
    walkRows(changes, aoip, page->pageId);
    return changes.changed();
}

// The apply of page 10 and of the account pages: the edits stored in one request, then the interface
// re-initialised. A refused store gives the controller back what it held, so that a retry sends again; a refused
// re-initialisation is owed to the next apply.
bool applySipPage(QVexmarSettingsPage *menu, QVexmarMenuItems *page, bool &reinitOwed)
{
    if (!page)
        return false;
    Aoip &aoip = getDevice()->aoipController();
    if (notLoaded(aoip))
        return true;
    Edits edits;
    RowChanges changes(page, &edits);
    walkRows(changes, aoip, page->pageId);
    if (changes.refused()) {
        edits.revert();
        menu->showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    if (edits.keys.empty() && !reinitOwed)
        return true;
    menu->showMessagePopup(tr("Applying changes..."), 0);
    if (!edits.keys.empty()) {
        if (!aoip.store(edits.keys)) {
            edits.revert();
            menu->showMessagePopup(tr("Failed to apply changes!"), 0);
            return false;
        }
        reinitOwed = true;
    }
    if (!aoip.reinitNetwork(aoip.interfaceName(), false)) {
        menu->showMessagePopup(tr("Failed to apply changes!"), 0);
        return false;
    }
    reinitOwed = false;
    menu->closeMessagePopup();
    return true;
}

} // namespace

// ---- SIP/AoIP page -----------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildAoipMenu()
{
    auto *page = new QVexmarMenuItems(aoipPageId, this);
    Aoip &aoip = getDevice()->aoipController();
    aoip.fetch({KEY_AUDIO_MODE, KEY_STUN_MODE, KEY_STUN_SERVER, KEY_SIP_MODE, KEY_SIP_ACC_CALLS, KEY_SIP_REGISTRAR,
        KEY_SIP_PROXY, KEY_SIP_KA_INTERVAL, KEY_SIP_RE_REG_TO, KEY_DRTP_ACC_CALLS, KEY_DRTP_SEND_ONLY,
        KEY_DRTP_RTP_PORT, KEY_DRTP_REL_TIMEOUT, KEY_RTP_TOS, KEY_MP_ECM_BF_SHIFT, KEY_DOUBLE_CODEC, KEY_DOUBLE_STREAM,
        KEY_SIP_CHK_CALLS, KEY_SIP_DEF_ACCOUNT, KEY_SIP_REGISTRAR2, KEY_STREAM_PATTERN, KEY_JITTERAB,
        KEY_SIP_SESS_TIMERS, KEY_SIP_KA_TARGET});
    const bool locked = notLoaded(aoip);
    const bool streamLocked = locked || aoip.doubleCodec() || aoip.audioMode() != Aoip::AudioModeSip;
    // A value no option holds shows as it is, in red, with no option current: an apply keeps it until picked.
    const auto addHeld = [this, page](int id, const QString &title, const Options &options, int value,
                             const QString &text, bool rowLocked) {
        QVexmarMenuItem *row = addLocked(page, newChoice(page, id, title, options), rowLocked);
        showHeldOption(row, value, text);
        return row;
    };
    const Options enabled {{0, tr("Disabled")}, {1, tr("Accept")}};

    Options protocols {{Aoip::AudioModeSip, tr("SIP")}};
    if (!aoip.doubleCodec() || aoip.audioMode() == Aoip::AudioModeRtp)
        protocols.emplace_back(Aoip::AudioModeRtp, tr("Direct RTP"));
    addHeld(ProtocolRow, tr("Default Protocol for Outgoing Calls"), protocols, aoip.audioMode(),
        defaultProtocolText(aoip.audioMode()), locked);
    if (getDevice()->deviceOptions() & TComDevice::OptIpDualStream) {
        addSwitch(page, DoubleStreamRow, tr("Double Streaming for SIP Calls"), aoip.doubleStream(), streamLocked);
        const Options patterns {{Aoip::Pattern1of1, tr("True Diversity")}, {Aoip::Pattern1of2, tr("Bonding 50/50")},
            {Aoip::Pattern2of3, tr("Bonding 66/33")}, {Aoip::Pattern1of3, tr("Bonding 33/66")}};
        addHeld(PatternRow, tr("Double Streaming Pattern"), patterns, aoip.streamPattern(),
            optionText(patterns, aoip.streamPattern()), streamLocked);
        addSwitch(page, JitterRow, tr("Jitter Buffer Mode"), aoip.jitterab(), locked,
            {{0, QStringLiteral("Fixed latency")}, {1, QStringLiteral("Adaptive")}});
    }

    addHeader(page, tr("STUN"));
    indented(addSwitch(page, StunRow, tr("State"), aoip.stunMode(), locked));
    indented(addUtf8Text(page, StunServerRow, QVexmarMenuItem::Text, tr("Server"), aoip.stunServer(), locked));

    addHeader(page, tr("SIP"));
    indented(addSwitch(page, RegistrationRow, tr("Registration"), aoip.sipMode(), locked));
    indented(addSwitch(page, SipIncomingRow, tr("Incoming Calls"), aoip.sipAcceptCalls(), locked, enabled));
    indented(addSwitch(page, OriginRow, tr("Incoming Calls Origin"), aoip.sipCheckCalls(), locked,
        {{0, tr("Any")}, {1, tr("Only from SIP Server")}}));
    indented(addSwitch(page, DefaultAccountRow, tr("Default SIP Account"), aoip.sipDefAccount() == 2, true,
        {{0, tr("Account 1")}, {1, tr("Account 2")}}));
    for (const auto &[id, title, text] :
        {std::tuple(Account1Row, tr("Account 1"), tr("Configure the primary SIP Account")),
            std::tuple(Account2Row, tr("Account 2"), tr("Configure the secondary SIP Account"))}) {
        QVexmarMenuItem *row = newRow(page, id, QVexmarMenuItem::SubMenu, title);
        row->setValueText(text);
        indented(addLocked(page, row, locked));
    }
    indented(addUtf8Text(page, ProxyRow, QVexmarMenuItem::Text, tr("Outbound Proxy"), aoip.sipProxy(), locked));
    const Options intervals = timeOptions({5, 10, 15, 20, 25, 30, 45, 60, 90, 120, 180}, secondsText);
    indented(addHeld(KeepAliveRow, tr("Keepalive Interval"), intervals, aoip.sipKeepAliveInterval(),
        secondsText(aoip.sipKeepAliveInterval()), locked));
    const Options targets {{Aoip::KeepAliveUserAgent, tr("User Agent")}, {Aoip::KeepAliveServer, tr("SIP Server")}};
    indented(addHeld(KeepAliveTargetRow, tr("Keepalive Target"), targets, aoip.sipKeepAliveTarget(),
        optionText(targets, aoip.sipKeepAliveTarget()), locked));
    const Options periods = timeOptions({30, 60, 90, 120, 180, 300, 600, 900, 1800, 3600}, periodText);
    indented(addHeld(ReRegistrationRow, tr("Minimum Registration Period"), periods, aoip.sipReRegTimeout(),
        periodText(aoip.sipReRegTimeout()), locked));
    indented(addSwitch(page, SessionTimersRow, tr("Periodically Refresh Sessions"), aoip.sipSessionTimers(), locked,
        {{0, tr("Disabled")}, {1, tr("Use Session Timers")}}));

    addHeader(page, tr("Direct RTP"));
    indented(addSwitch(page, RtpIncomingRow, tr("Incoming Calls"), aoip.drtpAcceptCalls(), locked, enabled));
    indented(addSwitch(page, SendOnlyRow, tr("Send Only"), aoip.drtpSendOnly(), locked));
    showPort(
        indented(addText(page, RtpPortRow, QVexmarMenuItem::Numeric, tr("RTP Port"), {}, locked)), aoip.drtpRtpPort());
    const Options releases = timeOptions({1, 2, 5, 10, 20, 30}, secondsText);
    indented(addHeld(ReleaseRow, tr("Release Timeout"), releases, aoip.drtpRelTimeout(),
        secondsText(aoip.drtpRelTimeout()), locked));

    addHeader(page, tr("Quality of Service"));
    indented(addText(page, DscpRow, QVexmarMenuItem::Numeric, tr("RTP DSCP"), std::to_string(aoip.rtpTos()), locked));
    const Options replications {{Aoip::ReplicationNone, tr("None")}, {Aoip::ReplicationShortDelay, tr("Short Delay")},
        {Aoip::ReplicationInterleaved, tr("Interleaved (recommended)")}};
    indented(addHeld(ReplicationRow, tr("Packet Replication"), replications, aoip.mpEcmBfShift(),
        optionText(replications, aoip.mpEcmBfShift()), locked));

    updateDefaultSipAccountItem(page);
    pushItems(page);
}

void QVexmarSettingsPage::updateAoipMenu(QVexmarMenuItems *page)
{
    updateDefaultSipAccountItem(page);
}

// Only a second account with a registrar of its own can be the default, and only for SIP calls on one stream.
void QVexmarSettingsPage::updateDefaultSipAccountItem(QVexmarMenuItems *page)
{
    QVexmarMenuItem *row = page ? page->findItem(DefaultAccountRow) : nullptr;
    if (!row)
        return;
    const Aoip &aoip = getDevice()->aoipController();
    const std::string &registrar2 = aoip.account2().registrar();
    const bool open = aoip.audioMode() == Aoip::AudioModeSip && !aoip.doubleCodec() && !aoip.doubleStream()
        && !registrar2.empty() && !notLoaded(aoip) && aoip.account1().registrar() != registrar2;
    row->setLocked(!open);
    const int account = aoip.sipDefAccount();
    row->setChecked(account == 2);
    // Options 0 and 1 stand for accounts 1 and 2.
    showHeldOption(row, account == 1 || account == 2 ? account - 1 : -1, tr("Account %1").arg(account));
}

// Double streaming is for SIP calls on one codec: another protocol unchecks and locks it, SIP gives it back.
void QVexmarSettingsPage::updateDoubleStreamingItems(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    int protocol = 0;
    if (!page || page->pageId != aoipPageId || item->id != ProtocolRow || !chosenValue(page, ProtocolRow, protocol))
        return;
    const Aoip &aoip = getDevice()->aoipController();
    const bool off = protocol != Aoip::AudioModeSip || notLoaded(aoip);
    const bool locked = off || aoip.doubleCodec();
    if (QVexmarMenuItem *stream = page->findItem(DoubleStreamRow)) {
        stream->setChecked(!off && aoip.doubleStream());
        stream->setLocked(locked);
    }
    lockRows(page, {PatternRow}, locked);
}

bool QVexmarSettingsPage::hasAoipChanges(QVexmarMenuItems *page)
{
    return sipPageChanged(page);
}

bool QVexmarSettingsPage::applyAoipChanges(QVexmarMenuItems *page)
{
    return applySipPage(this, page, m_aoipReinitOwed);
}

// ---- SIP account pages -------------------------------------------------------------------------------------------

void QVexmarSettingsPage::buildSipAccountMenu(int pageId)
{
    auto *page = new QVexmarMenuItems(pageId, this);
    Aoip &aoip = getDevice()->aoipController();
    const TComSipAccount &account = accountOfPage(aoip, pageId);
    aoip.fetch({account.key(KEY_SIP_USER), account.key(KEY_SIP_DISPLAY_NAME), account.key(KEY_SIP_AUTH_USER),
        account.key(KEY_SIP_PASSWORD), account.key(KEY_SIP_REGISTRAR), KEY_SIP_USE_UPORT2, KEY_SIP_UDP_PORT,
        KEY_RTP_START_PORT});
    const bool locked = notLoaded(aoip);
    const bool second = pageId != account1PageId;
    const int text = QVexmarMenuItem::Text;

    addUtf8Text(page, UserRow, text, tr("User Name"), account.user(), locked);
    addUtf8Text(page, DisplayNameRow, text, tr("Display Name"), account.displayName(), locked);
    addUtf8Text(page, AuthUserRow, text, tr("User Authentication"), account.authUser(), locked);
    addUtf8Text(
        page, PasswordRow, QVexmarMenuItem::Password, tr("Authentication Password"), account.password(), locked);
    addUtf8Text(page, RegistrarRow, text, tr("Registrar"), account.registrar(), locked);
    if (second)
        addSwitch(page, AlternatePortRow, tr("Use Alternate SIP Port"), aoip.sipUseUdpPort2(), locked);
    const int sipShift = second && aoip.sipUseUdpPort2() ? account2PortShift : 0;
    const int rtpShift = second ? account2PortShift : 0;
    showPort(addText(page, SipPortRow, QVexmarMenuItem::Numeric, tr("SIP Port"), {}, locked || second),
        aoip.sipUdpPort(), sipShift);
    showPort(addText(page, RtpStartRow, QVexmarMenuItem::Numeric, tr("RTP Port"), {}, locked || second),
        aoip.rtpStartPort(), rtpShift);
    pushItems(page);
}

bool QVexmarSettingsPage::hasSipAccountChanges(QVexmarMenuItems *page)
{
    return sipPageChanged(page);
}

bool QVexmarSettingsPage::applySipAccountChanges(QVexmarMenuItems *page)
{
    return applySipPage(this, page, m_aoipReinitOwed);
}

// ---- Value changes -----------------------------------------------------------------------------------------------

void QVexmarSettingsPage::aoipValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item ? item->page() : nullptr;
    if (!page)
        return;
    // A held value shown in red is replaced by the user's edit: the row's own colour again.
    item->setLocked(item->isLocked());
    if (page->pageId == aoipPageId) {
        if (item->id == ProtocolRow)
            updateDoubleStreamingItems(item);
        markChanges(page, &QVexmarSettingsPage::hasAoipChanges);
        return;
    }
    if (item->id == AlternatePortRow) {
        showPort(
            page->findItem(SipPortRow), getDevice()->aoipController().sipUdpPort(), isOn(item) ? account2PortShift : 0);
    }
    markChanges(page, &QVexmarSettingsPage::hasSipAccountChanges);
}

// ---- Rows 7-9 of the Network page --------------------------------------------------------------------------------

void QVexmarSettingsPage::updateNetworkItem(QVexmarMenuItem *item)
{
    if (!item || !item->page() || item->page()->pageId != NetworkEntry)
        return;
    const TComDevice *device = getDevice();
    const bool doubleCodec = device->codecMode() == TComDevice::CodecModeDouble;
    if (item->id == OutgoingRow) {
        // A red value of before gets the row's own colour back.
        item->setLocked(item->isLocked());
        const int code = networkCodeOfName(device->defaultNetwork());
        showHeldOption(item, code, QVexmarLocalize::networkName(code));
    } else if (item->id == SecondaryRow) {
        const bool locked = doubleCodec || device->dualStreamMode() != 1;
        item->setLocked(locked);
        const int code = networkCodeOfName(device->secondaryNetwork());
        if (item->selectOption(code, true, true) != -1)
            return;
        const QString name = QVexmarLocalize::networkName(code);
        if (locked)
            item->setValueText(name, true);
        else
            item->setValueTextAndGlobalColor(name, Qt::red, true);
    } else if (item->id == CodecModeRow) {
        item->selectOption(doubleCodec ? TComDevice::CodecModeDouble : TComDevice::CodecModeSingle, true, false);
    }
}
