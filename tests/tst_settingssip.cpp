// The SIP/AoIP page and the SIP account pages against the simulated device: the rows each shows and locks, the
// protocol and default-account rules, the frames an apply sends and what a refusal leaves; rows 7-9 of the
// Network page re-read from the device model.

#include "tests/settingstesting.h"

#include "rpc/passwordcipher.h"

#include <algorithm>

using namespace settingstesting;

class TestSettingsSip : public QObject
{
    Q_OBJECT

private slots:
    void builds_data();
    void builds();
    void reads_data();
    void reads();
    void notLoaded();
    void protocolRule_data();
    void protocolRule();
    void applies_data();
    void applies();
    void edits_data();
    void edits();
    void retries_data();
    void retries();
    void passwordEnciphered();
    void networkRows_data();
    void networkRows();
};

namespace {

const QByteArray sipSetup = R"(
network:aoip audio_mode=SIP
network:aoip stun_mode=off
network:aoip stun_server=stun.example.org
network:aoip sip_mode=on
network:aoip sip_acc_calls=on
network:aoip sip_chk_calls=off
network:aoip sip_def_account=1
network:aoip sip_proxy=
network:aoip SIP_KA_INTERVAL=30
network:aoip SIP_KA_TARGET=1
network:aoip SIP_RE_REG_TO=600
network:aoip sip_sess_timers=on
network:aoip drtp_acc_calls=on
network:aoip drtp_send_only=off
network:aoip drtp_rtp_port=9000
network:aoip drtp_rel_timeout=1
network:aoip rtp_tos=46
network:aoip MP_ECM_BF_SHIFT=2
network:aoip double_codec=off
network:aoip double_stream=off
network:aoip stream_pattern=1-2
network:aoip sip_user=alice
network:aoip sip_display_name=Studio A
network:aoip sip_auth_user=alice-auth
network:aoip sip_registrar=sip.example.org
network:aoip sip_user2=bob
network:aoip sip_registrar2=sip2.example.org
network:aoip sip_use_uport2=off
network:aoip SIP_UDP_PORT=5060
network:aoip RTP_START_PORT=5004
)";

// Logged in on the device with the set-up above and the case's lines, the page opened as the user goes: row 10 of
// the Network page (added when that page has none), then row 77 or 78. The log is empty; what the opening of the
// page sent goes to reads, when given.
bool openSip(SettingsRig &rig, int pageId, const QByteArray &setup = {}, QByteArrayList *reads = nullptr)
{
    rig.device.loadSetup(sipSetup + setup);
    if (!rig.startSettings() || !rig.openPageId(QVexmar::SettingsNetwork))
        return false;
    QVexmarMenuItem *link = rig.row(10);
    rig.takeFrames();
    rig.touch(link ? link : rig.addRow(rig.current(), 10, QVexmarMenuItem::SubMenu, QStringLiteral("AoIP settings")));
    if (pageId != 10 && rig.current()->pageId == 10) {
        rig.takeFrames();
        rig.touch(pageId);
    }
    const QByteArrayList frames = rig.takeFrames();
    if (reads)
        *reads = frames;
    return rig.current()->pageId == pageId;
}

// The frames of an accepted apply: the values ("key=value|...") stored on the interface, keys in the order the log
// writes them, then its re-initialisation.
QByteArrayList applied(const QByteArray &values)
{
    QByteArrayList pairs = values.split('|');
    pairs << "network=aoip"
          << "target=network";
    std::sort(pairs.begin(), pairs.end(),
        [](const QByteArray &a, const QByteArray &b) { return a.left(a.indexOf('=')) < b.left(b.indexOf('=')); });
    return {"PARAM|" + pairs.join('|'), "DO|action=reinit|network=aoip|target=network"};
}

} // namespace

// The rows as built from what the device holds: values, options, locks and red values no option holds.
void TestSettingsSip::builds_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QList<int>>("ids"); // the rows compared; all when empty
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("detailRow");
    QTest::addColumn<QString>("detail");
    const QList<int> all;
    QTest::newRow("page 10") << 10 << QByteArray() << all
                             << "67 SIP; 68 Disabled; 69 Bonding 50/50; 70 Adaptive; -1 STUN; 71 Disabled; "
                                "72 stun.example.org; -1 SIP; 73 Active; 74 Accept; 75 Any; 76 Account 1; "
                                "77 Configure the primary SIP Account; 78 Configure the secondary SIP Account; 80 ; "
                                "81 30 seconds; 82 SIP Server; 83 10 minutes; 87 Use Session Timers; -1 Direct RTP; "
                                "88 Accept; 89 Disabled; 90 9000; 91 1 second; -1 Quality of Service; 92 46; "
                                "93 Interleaved (recommended)"
                             << 67 << "Default Protocol for Outgoing Calls | SIP | *SIP, Direct RTP";
    // The jitter buffer is not a matter of streaming: row 70 stays open.
    QTest::newRow("double codec, SIP") << 10 << QByteArray("network:aoip double_codec=on")
                                       << QList<int> {67, 68, 69, 70, 76}
                                       << "67 SIP; 68 Disabled L; 69 Bonding 50/50 L; 70 Adaptive; 76 Account 1 L" << 67
                                       << "Default Protocol for Outgoing Calls | SIP | *SIP";
    QTest::newRow("double codec, Direct RTP")
        << 10 << QByteArray("network:aoip double_codec=on\nnetwork:aoip audio_mode=RTP") << QList<int> {67, 68, 69}
        << "67 Direct RTP; 68 Disabled L; 69 Bonding 50/50 L" << 67
        << "Default Protocol for Outgoing Calls | Direct RTP | SIP, *Direct RTP";
    QTest::newRow("no double streaming option")
        << 10 << QByteArray("general device_opts=[ip_dcodec,wifi]") << QList<int> {67, 68, 69, 70, 71}
        << "67 SIP; 71 Disabled" << 68 << "missing";
    QTest::newRow("Multicast stored") << 10 << QByteArray("network:aoip audio_mode=MC") << QList<int> {67, 68, 69}
                                      << "67 Multicast red; 68 Disabled L; 69 Bonding 50/50 L" << 67
                                      << "Default Protocol for Outgoing Calls | Multicast | SIP, Direct RTP";
    QTest::newRow("keep-alive and period no option holds")
        << 10 << QByteArray("network:aoip SIP_KA_INTERVAL=35\nnetwork:aoip SIP_RE_REG_TO=7200") << QList<int> {81, 83}
        << "81 35 seconds red; 83 120 minutes red" << 83
        << "Minimum Registration Period | 120 minutes | 30 seconds, 60 seconds, 90 seconds, 2 minutes, 3 minutes, "
           "5 minutes, 10 minutes, 15 minutes, 30 minutes, 60 minutes";
    // Row 76: only a second account with a registrar of its own, SIP, one codec (above), one stream.
    const QList<int> account {76};
    QTest::newRow("76 open, account 2") << 10 << QByteArray("network:aoip sip_def_account=2") << account
                                        << "76 Account 2" << 76
                                        << "Default SIP Account | Account 2 | Account 1, *Account 2";
    QTest::newRow("76 registrar 2 empty")
        << 10 << QByteArray("network:aoip sip_registrar2=") << account << "76 Account 1 L" << 76
        << "Default SIP Account | Account 1 | *Account 1, Account 2";
    QTest::newRow("76 registrars equal")
        << 10 << QByteArray("network:aoip sip_registrar2=sip.example.org\nnetwork:aoip sip_def_account=2") << account
        << "76 Account 2 L" << 76 << "Default SIP Account | Account 2 | Account 1, *Account 2";
    QTest::newRow("76 double stream on") << 10 << QByteArray("network:aoip double_stream=on") << account
                                         << "76 Account 1 L" << 68 << "Double Streaming for SIP Calls | Active";
    QTest::newRow("76 held: no option holds 3")
        << 10 << QByteArray("network:aoip sip_def_account=3") << account << "76 Account 3 red" << 76
        << "Default SIP Account | Account 3 | Account 1, Account 2";
    QTest::newRow("RTP port beyond the range") << 10 << QByteArray("network:aoip drtp_rtp_port=70000")
                                               << QList<int> {90} << "90 70000 red" << 90 << "RTP Port | 70000";
    QTest::newRow("76 protocol not SIP") << 10 << QByteArray("network:aoip audio_mode=RTP") << account
                                         << "76 Account 1 L" << 76
                                         << "Default SIP Account | Account 1 | *Account 1, Account 2";
    QTest::newRow("account 1") << 77 << QByteArray() << all
                               << "95 alice; 96 Studio A; 97 alice-auth; 98 ; 94 sip.example.org; 85 5060; 86 5004"
                               << 86 << "RTP Port | 5004";
    QTest::newRow("account 2") << 78 << QByteArray() << all
                               << "95 bob; 96 ; 97 ; 98 ; 94 sip2.example.org; 84 Disabled; 85 5060 L; 86 5006 L" << 85
                               << "SIP Port | 5060";
    QTest::newRow("account 2, alternate port")
        << 78 << QByteArray("network:aoip sip_use_uport2=on") << QList<int> {84, 85, 86}
        << "84 Active; 85 5062 L; 86 5006 L" << 85 << "SIP Port | 5062";
    // Account 2's ports are two above account 1's, which may already be the last or no port at all.
    QTest::newRow("account 2, ports at the top and beyond")
        << 78
        << QByteArray("network:aoip sip_use_uport2=on\nnetwork:aoip SIP_UDP_PORT=2147483647\n"
                      "network:aoip RTP_START_PORT=65535")
        << QList<int> {85, 86} << "85 2147483647 L red; 86 65537 L red" << 85 << "SIP Port | 2147483647";
    QTest::newRow("account 1, port beyond the range")
        << 77 << QByteArray("network:aoip RTP_START_PORT=70000") << QList<int> {85, 86} << "85 5060; 86 70000 red" << 86
        << "RTP Port | 70000";
}

void TestSettingsSip::builds()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QList<int>, ids);
    QFETCH(QString, rows);
    QFETCH(int, detailRow);
    QFETCH(QString, detail);
    SettingsRig rig;
    QVERIFY(openSip(rig, pageId, setup));
    QCOMPARE(rowsShown(rig, ids), rows);
    QCOMPARE(rig.rowText(detailRow), detail);
    // A value no option holds is no change: nothing marked, nothing to apply.
    QVERIFY(!rig.modified());
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// What a page reads when it is built, in one request.
void TestSettingsSip::reads_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("keys");
    QTest::newRow("page 10") << 10
                             << QByteArray("audio_mode stun_mode stun_server sip_mode sip_acc_calls sip_registrar "
                                           "sip_proxy SIP_KA_INTERVAL SIP_RE_REG_TO drtp_acc_calls drtp_send_only "
                                           "drtp_rtp_port drtp_rel_timeout rtp_tos MP_ECM_BF_SHIFT double_codec "
                                           "double_stream sip_chk_calls sip_def_account sip_registrar2 stream_pattern "
                                           "jitterab sip_sess_timers SIP_KA_TARGET");
    const QByteArray ports = " sip_use_uport2 SIP_UDP_PORT RTP_START_PORT";
    QTest::newRow("account 1") << 77 << "sip_user sip_display_name sip_auth_user sip_password sip_registrar" + ports;
    QTest::newRow("account 2") << 78
                               << "sip_user2 sip_display_name2 sip_auth_user2 sip_password2 sip_registrar2" + ports;
}

void TestSettingsSip::reads()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, keys);
    SettingsRig rig;
    QByteArrayList reads;
    QVERIFY(openSip(rig, pageId, {}, &reads));
    QCOMPARE(reads, QByteArrayList {"PARAM|network=aoip|target=network|GET " + keys.replace(' ', "|GET ")});
}

// A controller never loaded: every row but the headers locked on the three pages, nothing to test or apply.
void TestSettingsSip::notLoaded()
{
    SettingsRig rig;
    rig.device.loadSetup(sipSetup);
    QVERIFY(rig.startSettings());
    getDevice()->aoipController().reset();
    QVERIFY(rig.openPageId(QVexmar::SettingsNetwork));
    rig.touch(rig.addRow(rig.current(), 10, QVexmarMenuItem::SubMenu));
    QVexmarSettingsPage *page = rig.page();
    for (int pageId : {10, 77, 78}) {
        QVexmarMenuItems *items = rig.current();
        if (pageId != 10) {
            page->buildSipAccountMenu(pageId);
            items = rig.current();
        }
        QCOMPARE(items->pageId, pageId);
        for (QVexmarMenuItem *item : items->items())
            QVERIFY2(item->isLocked() == (item->id != -1), qPrintable(SettingsRig::rowText(item)));
        rig.takeFrames();
        if (pageId == 10) {
            QVERIFY(!page->hasAoipChanges(items));
            QVERIFY(page->applyAoipChanges(items));
        } else {
            QVERIFY(!page->hasSipAccountChanges(items));
            QVERIFY(page->applySipAccountChanges(items));
        }
        QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
        QCOMPARE(rig.popupText(), QString());
    }
}

// Another protocol unchecks and locks double streaming; SIP gives it back from the controller, unless the device
// runs two codecs.
void TestSettingsSip::protocolRule_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("modified");
    const QByteArray streaming = "network:aoip double_stream=on";
    QTest::newRow("Direct RTP") << streaming << "pick 67 1"
                                << "68 Disabled L; 69 Bonding 50/50 L" << true;
    QTest::newRow("Direct RTP, then SIP") << streaming << "flip 68; pick 67 1; pick 67 0"
                                          << "68 Active; 69 Bonding 50/50" << false;
    QTest::newRow("double codec: SIP keeps them locked")
        << QByteArray(streaming + "\nnetwork:aoip double_codec=on\nnetwork:aoip audio_mode=RTP") << "pick 67 0"
        << "68 Active L; 69 Bonding 50/50 L" << true;
    QTest::newRow("Multicast replaced by SIP") << QByteArray("network:aoip audio_mode=MC") << "pick 67 0"
                                               << "68 Disabled; 69 Bonding 50/50" << true;
}

void TestSettingsSip::protocolRule()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QString, rows);
    QFETCH(bool, modified);
    SettingsRig rig;
    QVERIFY(openSip(rig, 10, setup));
    play(rig, steps);
    QCOMPARE(rowsShown(rig, {68, 69}), rows);
    QVERIFY(!rig.row(70)->isLocked());
    QCOMPARE(rig.modified(), modified);
    QCOMPARE(SettingsRig::rowColour(rig.row(67)), QStringLiteral("blue"));
}

// The frames an apply sends: the changed keys in one PARAM, then the interface re-initialised; the popup and the
// mark afterwards.
void TestSettingsSip::applies_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup"); // after the apply; a failure keeps the mark
    const QString failed = QStringLiteral("Failed to apply changes!");
    QTest::newRow("nothing changed") << 10 << QByteArray() << QString() << QByteArrayList() << QString();
    QTest::newRow("switch, text and choice")
        << 10 << QByteArray() << "flip 71; type 72=stun.example.net; pick 81 45; flip 87"
        << applied("SIP_KA_INTERVAL=45|sip_sess_timers=off|stun_mode=on|stun_server=stun.example.net") << QString();
    QTest::newRow("default account 2") << 10 << QByteArray() << "flip 76" << applied("sip_def_account=2") << QString();
    QTest::newRow("default account held, kept")
        << 10 << QByteArray("network:aoip sip_def_account=3") << "flip 71" << applied("stun_mode=on") << QString();
    QTest::newRow("Direct RTP: the locked stream row is not sent")
        << 10 << QByteArray("network:aoip double_stream=on") << "pick 67 1" << applied("audio_mode=RTP") << QString();
    QTest::newRow("Multicast kept") << 10 << QByteArray("network:aoip audio_mode=MC") << "flip 71"
                                    << applied("stun_mode=on") << QString();
    QTest::newRow("keep-alive no option holds, kept") << 10 << QByteArray("network:aoip SIP_KA_INTERVAL=35")
                                                      << "flip 89" << applied("drtp_send_only=on") << QString();
    QTest::newRow("ports and DSCP at their bounds")
        << 10 << QByteArray() << "type 90=65535; type 92=0" << applied("drtp_rtp_port=65535|rtp_tos=0") << QString();
    QTest::newRow("port 0") << 10 << QByteArray() << "flip 71; type 90=0" << QByteArrayList() << failed;
    QTest::newRow("port 70000") << 10 << QByteArray() << "type 90=70000" << QByteArrayList() << failed;
    QTest::newRow("DSCP 64") << 10 << QByteArray() << "type 92=64" << QByteArrayList() << failed;
    QTest::newRow("DSCP -1") << 10 << QByteArray() << "type 92=-1" << QByteArrayList() << failed;
    QTest::newRow("port 12a is no number") << 10 << QByteArray() << "type 90=12a" << QByteArrayList() << QString();
    QTest::newRow("proxy beyond Latin-1")
        << 10 << QByteArray() << "type 80=sip.\u20ac.org" << applied("sip_proxy=sip.\xe2\x82\xac.org") << QString();
    QTest::newRow("account 1 texts and ports")
        << 77 << QByteArray() << "type 96=Studio \u00c4; type 94=sip.example.net; type 85=5070; type 86=6000"
        << applied("RTP_START_PORT=6000|SIP_UDP_PORT=5070|sip_display_name=Studio \xc3\x84|"
                   "sip_registrar=sip.example.net")
        << QString();
    QTest::newRow("held display name beyond Latin-1 added to")
        << 77 << QByteArray("network:aoip sip_display_name=\xc5\x81\xc3\xb3\x64\xc5\xba") << "append 96= 2"
        << applied("sip_display_name=\xc5\x81\xc3\xb3\x64\xc5\xba 2") << QString();
    QTest::newRow("account 1 port 0") << 77 << QByteArray() << "type 95=carol; type 85=0" << QByteArrayList() << failed;
    QTest::newRow("account 2: alternate port, ports never stored")
        << 78 << QByteArray() << "type 95=dave; flip 84" << applied("sip_use_uport2=on|sip_user2=dave") << QString();
}

void TestSettingsSip::applies()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(openSip(rig, pageId, setup));
    play(rig, steps);
    const bool marked = rig.modified();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    // Marked exactly when there is something to apply.
    QCOMPARE(marked, !frames.isEmpty() || !popup.isEmpty());
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.modified(), marked && !popup.isEmpty());
    // Refused or not, the model's controller holds what the device holds.
    const TComAoIPController &aoip = getDevice()->aoipController();
    QCOMPARE(aoip.stunMode(), rig.device.param("network:aoip", "stun_mode") == "on");
    QCOMPARE(QByteArray::number(aoip.drtpRtpPort()),
        QByteArray::fromStdString(rig.device.param("network:aoip", "drtp_rtp_port")));
    if (pageId != 10) {
        const TComSipAccount &account = pageId == 77 ? aoip.account1() : aoip.account2();
        QCOMPARE(account.user(), rig.device.param("network:aoip", account.key("sip_user")));
    }
}

// The rows and the mark after the user's edits: a held value leaves the change test alone until a pick replaces it,
// and account 2's SIP port follows row 84.
void TestSettingsSip::edits_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("modified");
    const QByteArray account3 = "network:aoip sip_def_account=3";
    QTest::newRow("76 held, a change taken back") << 10 << account3 << "flip 71; flip 71"
                                                  << "76 Account 3 red (none)" << false;
    QTest::newRow("76 held, Account 1 picked") << 10 << account3 << "flip 76; flip 76"
                                               << "76 Account 1" << true;
    QTest::newRow("alternate port, the last port") << 78 << QByteArray("network:aoip SIP_UDP_PORT=65535") << "flip 84"
                                                   << "85 65537 L red" << true;
    QTest::newRow("alternate port, no port")
        << 78 << QByteArray("network:aoip SIP_UDP_PORT=2147483647") << "flip 84; flip 84"
        << "85 2147483647 L red" << false;
    QTest::newRow("port typed over one beyond the range")
        << 77 << QByteArray("network:aoip SIP_UDP_PORT=70000") << "type 85=5070"
        << "85 5070" << true;
}

void TestSettingsSip::edits()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QString, rows);
    QFETCH(bool, modified);
    SettingsRig rig;
    QVERIFY(openSip(rig, pageId, setup));
    play(rig, steps);
    QCOMPARE(rowsNamed(rig, rows), rows);
    QCOMPARE(rig.modified(), modified);
}

// A refused store gives the controller back what it held, so the retry sends the same again; a refused
// re-initialisation keeps what was stored and is owed to the next apply, even with nothing changed.
void TestSettingsSip::retries_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArrayList>("first");
    QTest::addColumn<QByteArrayList>("retry");
    const QByteArrayList stun = applied("stun_mode=on|stun_server=stun.example.net");
    QTest::newRow("store refused") << 10 << "flip 71; type 72=stun.example.net" << QByteArray("stun_mode")
                                   << QByteArrayList {stun.first()} << stun;
    QTest::newRow("re-initialisation refused")
        << 10 << "flip 71; type 72=stun.example.net" << QByteArray("reinit") << stun << QByteArrayList {stun.last()};
    QTest::newRow("account store refused")
        << 78 << "type 95=dave" << QByteArray("sip_user2") << QByteArrayList {applied("sip_user2=dave").first()}
        << applied("sip_user2=dave");
}

void TestSettingsSip::retries()
{
    QFETCH(int, pageId);
    QFETCH(QString, steps);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, first);
    QFETCH(QByteArrayList, retry);
    SettingsRig rig;
    QVERIFY(openSip(rig, pageId));
    play(rig, steps);
    rig.device.addFault(fault(SimDevice::Fault::Nok, 0, refused.toStdString()));
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), first);
    QCOMPARE(rig.popupText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(rig.modified());
    rig.closePopups();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), retry);
    QCOMPARE(rig.popupText(), QString());
    QVERIFY(!rig.modified());
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// The account password goes out as the device keeps it: enciphered, never in clear.
void TestSettingsSip::passwordEnciphered()
{
    SettingsRig rig;
    rig.device.setParam("network:aoip", "sip_password2", encryptPasswordString("old secret"));
    QVERIFY(openSip(rig, 78));
    QCOMPARE(rig.row(98)->valueLabel->text(), QStringLiteral("old secret"));
    play(rig, QStringLiteral("type 98=s3cret"));
    rig.apply();
    const QByteArrayList frames = rig.framesAfterRoundTrip();
    QCOMPARE(frames.size(), 2);
    QVERIFY2(!frames.first().contains("s3cret"), frames.first());
    const std::string stored = rig.device.param("network:aoip", "sip_password2");
    QVERIFY(frames.first().contains("|sip_password2=" + QByteArray::fromStdString(stored) + "|"));
    QCOMPARE(decryptPasswordString(stored), std::string("s3cret"));
}

// Rows 7-9 of a Network page (pushed here as its builder would) re-read from the device model when the page is
// shown again and on the device's events; a secondary network no option holds is shown by its name.
void TestSettingsSip::networkRows_data()
{
    QTest::addColumn<QByteArrayList>("events");
    QTest::addColumn<bool>("afterBack"); // the events come while another page is shown
    QTest::addColumn<QString>("rows");
    const QByteArray dstreamOn = "EVENT;event_type:default_codec;codec_mode:cmode_normal;type:ip;dstream_mode:enabled;";
    QTest::newRow("as built") << QByteArrayList() << false << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec";
    QTest::newRow("default network") << QByteArrayList {"EVENT;event_type:default_network;network:wifi.0;"} << false
                                     << "7 Wi-Fi; 8 Mobile (int 1) L; 9 Single Codec";
    QTest::newRow("default network unlisted") << QByteArrayList {"EVENT;event_type:default_network;network:isdn.0;"}
                                              << false << "7 ISDN red; 8 Mobile (int 1) L; 9 Single Codec";
    QTest::newRow("double streaming on") << QByteArrayList {dstreamOn} << false
                                         << "7 Ethernet; 8 Mobile (int 1); 9 Single Codec";
    QTest::newRow("secondary unlisted, unlocked")
        << QByteArrayList {dstreamOn, "EVENT;event_type:secondary_network;network:wifi.3;"} << false
        << "7 Ethernet; 8 Wi-Fi (ext 3) red; 9 Single Codec";
    QTest::newRow("secondary unlisted, locked") << QByteArrayList {"EVENT;event_type:secondary_network;network:wifi.3;"}
                                                << false << "7 Ethernet; 8 Wi-Fi (ext 3) L; 9 Single Codec";
    QTest::newRow("double codec") << QByteArrayList {dstreamOn,
        "EVENT;event_type:default_codec;codec_mode:cmode_double;"}
                                  << false << "7 Ethernet; 8 Mobile (int 1) L; 9 Double Codec";
    QTest::newRow("after back") << QByteArrayList {"EVENT;event_type:default_network;network:mobile.0;", dstreamOn,
        "EVENT;event_type:secondary_network;network:wifi.3;", "EVENT;event_type:default_codec;codec_mode:cmode_double;"}
                                << true << "7 Mobile (int 1); 8 Wi-Fi (ext 3) L; 9 Double Codec";
}

void TestSettingsSip::networkRows()
{
    QFETCH(QByteArrayList, events);
    QFETCH(bool, afterBack);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(QVexmarSettingsPage::NetworkEntry);
    QVexmarMenuItems *network = rig.current();
    QCOMPARE(network->pageId, 1);
    // The rows as the page's builder makes them for the set-up's interfaces, where the page has none.
    const auto networkRow = [&rig, network](int id, const std::vector<std::pair<int, const char *>> &options) {
        if (QVexmarMenuItem *row = network->findItem(id))
            return row;
        QVexmarMenuItem *row = rig.addRow(network, id, QVexmarMenuItem::Selection);
        for (const auto &[value, text] : options)
            row->addOption(value, QLatin1String(text));
        return row;
    };
    const std::vector<std::pair<int, const char *>> networks {
        {0x100, "Ethernet"}, {0x300, "Mobile (int 1)"}, {0x400, "Wi-Fi"}};
    QVexmarMenuItem *outgoing = networkRow(7, networks);
    QVexmarMenuItem *secondary = networkRow(8, networks);
    QVexmarMenuItem *mode = networkRow(9, {{0, "Single Codec"}, {1, "Double Codec"}});
    for (QVexmarMenuItem *item : {outgoing, secondary, mode})
        rig.page()->updateNetworkItem(item);
    if (afterBack)
        rig.pushPage(10);
    QVERIFY(rig.deliver(events));
    if (afterBack) {
        QCOMPARE(rowsShown(rig), QString());
        rig.back();
    }
    QCOMPARE(
        QStringList({rowsShown(rig, {7}), rowsShown(rig, {8}), rowsShown(rig, {9})}).join(QStringLiteral("; ")), rows);
    // A row with no option current when the network is unlisted.
    QCOMPARE(secondary->currentOption() == -1, rows.contains(QLatin1String("ext 3")));
}

QTEST_MAIN(TestSettingsSip)
#include "tst_settingssip.moc"
