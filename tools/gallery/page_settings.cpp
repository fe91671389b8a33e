// The settings page inside the screen window, logged in against the simulated device run in this process with the
// tests' set-up (tests/settingstesting.h). Shots are named by branch: core-, sip-, ethernet-, isdn-, wifi-,
// network-, mobile-, coding-, codec-, opus-, book-, lists-, audio-, status-, tools-, connections-, aoip-, misc-,
// troubleshooting-, remote-.

#include "tools/gallery/gallery.h"

#include "rpc/passwordcipher.h"
#include "tests/settingstesting.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollBar>

#include <functional>

namespace {

using RigSteps = std::function<void(settingstesting::SettingsRig &)>;

// Logged in at the level (after the steps before, which set the device up), the window on the dark ground of the
// device and the settings page opened by the page id as another page would open it; then the steps, and the
// window's picture.
QImage settingsShot(int level, QVexmar::Page pageId, const RigSteps &steps = {}, const RigSteps &before = {})
{
    settingstesting::SettingsRig rig;
    if (before)
        before(rig);
    if (!rig.startSettings(level))
        return QImage();
    QPalette palette = rig.window->palette();
    palette.setBrush(QPalette::Window, Qt::black);
    palette.setBrush(QPalette::WindowText, Qt::white);
    rig.window->setPalette(palette);
    rig.window->setAutoFillBackground(true);
    rig.window->statusBar()->show();
    rig.window->applyAccessLevel();
    if (!rig.openPageId(pageId))
        return QImage();
    if (steps)
        steps(rig);
    return grabWidget(rig.window.get());
}

// The device's events, delivered as the rig does; the rig marks their end in the battery's minutes, so the usual
// ones are given back before the shot.
void deliverEvents(settingstesting::SettingsRig &rig, const QByteArrayList &events)
{
    if (events.isEmpty())
        return;
    rig.deliver(events);
    rig.device.play({rpctesting::body("INFO;info_type:battery_level;remaining:240;")});
    for (int i = 0; i < 250 && getDevice()->batteryRemaining() != 240; ++i)
        QTest::qWait(20);
}

// ---- Ethernet, ISDN, Wi-Fi pages ----

const QByteArray interfaceSetup = R"(
network:eth.0 local_addr=192.168.1.20
network:eth.0 subnet=255.255.255.0
network:eth.0 gateway=192.168.1.1
network:eth.0 dns1=192.168.1.1
network:eth.0 dns2=8.8.8.8
network:eth.0 link_mode=autonegotiation
network:eth.0 hw_addr=00:1a:2b:3c:4d:5e
network:eth.0 ajb_profile=standard
network:wifi.0 scan=on
network:wifi.0 data_connection=off
network:wifi.0 ssid=Studio
network:wifi.0 authentication=WPA2-PSK
network:wifi.0 passphrase=open sesame
network:wifi.0 ajb_profile=safe
network:wifi.0 ssid=[Studio,Office,Outside Broadcast Van,Guests]
)";

// From the Network page, through the interface's link as the user goes (added when that page has none).
void openInterfacePage(settingstesting::SettingsRig &rig, int pageId, const char *title, const QByteArray &setup = {})
{
    rig.device.loadSetup(interfaceSetup + setup);
    QVexmarMenuItem *link = rig.row(pageId);
    rig.touch(link ? link : rig.addRow(rig.current(), pageId, QVexmarMenuItem::SubMenu, QLatin1String(title)));
}

// The shot with the popup the steps left open painted over it, where the screen shows it.
QImage settingsShotWithPopup(const RigSteps &steps, QVexmar::Page pageId = QVexmar::SettingsNetwork, int level = 2)
{
    QImage popup;
    QPoint at;
    QImage shot = settingsShot(level, pageId, [&](settingstesting::SettingsRig &rig) {
        steps(rig);
        if (QVexmarPopup *open = rig.popup()) {
            QCoreApplication::processEvents();
            popup = open->grab().toImage();
            at = open->mapToGlobal(QPoint(0, 0)) - rig.window->mapToGlobal(QPoint(0, 0));
        }
    });
    if (!shot.isNull() && !popup.isNull()) {
        QPainter painter(&shot);
        painter.drawImage(at, popup);
    }
    return shot;
}

// An interface page opened through its link, after the steps.
QImage interfaceShot(int pageId, const char *title, const QByteArray &setup = {},
    const std::function<void(settingstesting::SettingsRig &)> &steps = {})
{
    return settingsShot(2, QVexmar::SettingsNetwork, [=](settingstesting::SettingsRig &rig) {
        openInterfacePage(rig, pageId, title, setup);
        if (steps)
            steps(rig);
    });
}

// The interface's read refused: the copy stays not attached.
QImage notAttachedShot()
{
    return settingsShot(2, QVexmar::SettingsNetwork, [](settingstesting::SettingsRig &rig) {
        SimDevice::Fault refusal = rpctesting::script({"PARAM;return:ERROR;"});
        refusal.match = "eth.3";
        rig.device.addFault(refusal);
        openInterfacePage(rig, 15, "LAN4 settings");
    });
}

void editAddress(settingstesting::SettingsRig &rig)
{
    rig.touch(25);
    rig.answer(true, -1, QStringLiteral("192.168.1.42"));
}

// ---- Tools page, programmable keys, passwords ----

QImage toolsShot(int level, const RigSteps &steps = {})
{
    return settingsShot(level, QVexmar::SettingsTools, steps);
}

// The password keyboard of a level change, a few characters typed.
void askAdministratorPassword(settingstesting::SettingsRig &rig)
{
    rig.device.setAccessPasswords("admin", "", "");
    rig.touch(191);
    rig.answer(true, 2);
    if (auto *keyboard = qobject_cast<QVexmarVirtual *>(rig.popup()))
        keyboard->lineEdit.setText(QStringLiteral("adm"));
}

// ---- Miscellaneous and FTP server pages ----

// From the Tools page, on a codec whose Miscellaneous and FTP server pages hold values.
void openMiscellaneous(settingstesting::SettingsRig &rig)
{
    rig.device.loadSetup(R"(
network auto_redial_link1=on
network auto_redial_link2=off
network auto_redial_attempts=5
network auto_redial_time=10
general ext_input1=input_event_redial
general ext_input2=input_event_none
general ext_relay1=relay_state_onair
general ext_relay2=relay_state_line
general ext_input1=[input_event_none,input_event_r1,input_event_redial,input_event_release]
general ext_input2=[input_event_none,input_event_r1,input_event_r2]
general ext_relay1=[relay_state_none,relay_state_onair]
general ext_relay2=[relay_state_none,relay_state_line,relay_state_sync]
general ntp_addr=pool.ntp.org
general ntp_addr_custom=ntp.studio.lan
general timezone_region_list=[Africa,America,Europe]
db:ui:quorvane_ui timezone=Europe/Paris
general ftp_address=ftp.studio.lan
general ftp_username=codec
general ftp_password=secret
)");
    rig.device.setListFor(
        "general", "timezone_city_list", {{"timezone_param", "Europe"}}, {"Europe/Berlin", "Europe/Paris"});
    rig.touch(206);
}

// ---- Troubleshooting and remote access pages ----

// From the Tools page, on a codec whose event log and remote access service are set up; the stored interface of
// the service is one the codec lacks now.
void openTroubleshootingRow(settingstesting::SettingsRig &rig, int id)
{
    rig.device.loadSetup(R"(
general log_level=6
general log_addr=syslog.studio.lan
general serialno=QV0412345
general codec_id=quorvane-0412
general remote_access=on
general remote_access_network=eth.1
general remote_access_server=remote.example.org
general remote_access_pwd=s3cret
)");
    rig.touch(id);
}

// ---- SIP/AoIP and SIP account pages ----

const QByteArray sipSetup = R"(
network:aoip audio_mode=SIP
network:aoip stun_mode=on
network:aoip stun_server=stun.example.org
network:aoip sip_mode=on
network:aoip sip_acc_calls=on
network:aoip sip_def_account=2
network:aoip sip_proxy=proxy.example.org
network:aoip SIP_KA_INTERVAL=35
network:aoip SIP_RE_REG_TO=600
network:aoip drtp_rtp_port=9000
network:aoip drtp_rel_timeout=5
network:aoip rtp_tos=46
network:aoip MP_ECM_BF_SHIFT=2
network:aoip stream_pattern=1-2
network:aoip sip_user=studio-a
network:aoip sip_display_name=Studio A
network:aoip sip_auth_user=studio-a
network:aoip sip_registrar=sip.example.org
network:aoip sip_user2=studio-a-backup
network:aoip sip_registrar2=sip2.example.org:5070
network:aoip sip_use_uport2=on
network:aoip SIP_UDP_PORT=5060
network:aoip RTP_START_PORT=5004
)";

// Page 10 through the Network page's row 10 (added when that page has none), then the account row when given;
// the controller reset first when it is to be shown not loaded. Scrolled down to the row given.
QImage sipShot(int pageId, bool notLoaded = false, int scrollTo = -1)
{
    return settingsShot(2, QVexmar::SettingsNetwork, [=](settingstesting::SettingsRig &rig) {
        rig.device.loadSetup(sipSetup);
        rig.device.setParam("network:aoip", "sip_password", encryptPasswordString("studio secret"));
        if (notLoaded)
            getDevice()->aoipController().reset();
        QVexmarMenuItem *link = rig.row(10);
        rig.touch(
            link ? link : rig.addRow(rig.current(), 10, QVexmarMenuItem::SubMenu, QStringLiteral("AoIP settings")));
        if (pageId != 10)
            rig.touch(pageId);
        if (QVexmarMenuItem *row = rig.row(scrollTo)) {
            QCoreApplication::processEvents();
            rig.current()->ensureWidgetVisible(row, 0, 0);
        }
    });
}

// ---- Network page and mobile pages ----

// Every kind of interface; the modems ready, asking for the PIN and without a SIM.
const QByteArray networkSetup = R"(
general device_opts=[ip_dcodec,mobile_lte,wifi,ravenna,ip_dstream_2,record_1]
network network=[aoip,eth.0,eth.1,isdn.0,mobile.0,mobile.1,mobile.2,wifi.0,wifi.1]
audio dstream_mode=enabled
network secondary_network=wifi.3
network:mobile.0 rat=only LTE
network:mobile.0 rat=[auto,only GSM,only UMTS,only LTE]
network:mobile.0 plmn=Alpha Mobile
network:mobile.0 pin_persistent=on
network:mobile.0 data_connection=on
network:mobile.0 apn=internet.example
network:mobile.0 authentication=CHAP
network:mobile.0 username=studio
network:mobile.0 password=secret
network:mobile.0 ajb_profile=standard
network:mobile.0 manufacturer=ModemCo
network:mobile.0 model=M1
network:mobile.0 revision=R7
network:mobile.0 imei=356938035643809
network:mobile.0 imsi=262011234567890
network:mobile.1 pin=122-pin required
network:mobile.1 registration_state=123-not registered
network:mobile.1 manufacturer=ModemCo
network:mobile.1 model=M2
network:mobile.1 revision=R2
network:mobile.1 imei=356938035643810
network:mobile.2 pin=010-sim missing
network:mobile.2 registration_state=123-not registered
)";

// The Network page at the level, or a mobile page through its link, scrolled down to the row given.
QImage networkShot(int level, int mobilePage = -1, int scrollTo = -1)
{
    return settingsShot(
        level, QVexmar::SettingsNetwork,
        [=](settingstesting::SettingsRig &rig) {
            if (mobilePage != -1)
                rig.touch(mobilePage);
            if (QVexmarMenuItem *row = rig.row(scrollTo)) {
                QCoreApplication::processEvents();
                rig.current()->ensureWidgetVisible(row, 0, 0);
            }
        },
        [](settingstesting::SettingsRig &rig) { rig.device.loadSetup(networkSetup); });
}

// ---- Coding branch ----

// The menu opened by the page id on the Coding branch's side of the device and the lines given, after the steps.
QImage codingShot(QVexmar::Page pageId, const QByteArray &setup = {}, const RigSteps &steps = {})
{
    return settingsShot(2, pageId, steps, [setup](settingstesting::SettingsRig &rig) {
        settingstesting::loadCodingSetup(rig.device);
        rig.device.loadSetup(setup);
    });
}

const QByteArray doubleCodec = "audio codec_mode=cmode_double\naudio dcodec_1=OPUS/48000/mono/64000\n";

// ---- Audio page, intercom, AoIP interface ----

const QByteArray audioSetup = R"(
audio drc_lim_threshold=-6
audio drc_threshold_cmp=-18
audio drc_ratio_cmp=3
audio drc_attack=1
)";

// The Audio page, then the rows touched in turn, with the set-up's lines; the page scrolled to the row shownRow
// when there is one.
QImage audioShot(std::initializer_list<int> rows, const QByteArray &setup = {}, int shownRow = -1)
{
    return settingsShot(
        2, QVexmar::SettingsAudio,
        [rows, shownRow](settingstesting::SettingsRig &rig) {
            for (int row : rows)
                rig.touch(row);
            if (QVexmarMenuItem *shown = shownRow != -1 ? rig.row(shownRow) : nullptr) {
                QCoreApplication::processEvents();
                rig.current()->ensureWidgetVisible(shown, 0, 0);
            }
        },
        [setup](settingstesting::SettingsRig &rig) { rig.device.loadSetup(audioSetup + setup); });
}

// ---- AoIP input streams, IP addressing, output stream ----

// The Audio page, then the user's and the device's steps as the tests give them (settingstesting.h); the page
// scrolled to the row shownRow when there is one.
QImage aoipShot(const char *steps, const QByteArray &setup = {}, int shownRow = -1)
{
    return settingsShot(
        2, QVexmar::SettingsAudio,
        [steps, shownRow](settingstesting::SettingsRig &rig) {
            settingstesting::play(rig, QLatin1String(steps));
            if (QVexmarMenuItem *shown = shownRow != -1 ? rig.row(shownRow) : nullptr) {
                QCoreApplication::processEvents();
                rig.current()->ensureWidgetVisible(shown, 0, 0);
            }
        },
        [setup](settingstesting::SettingsRig &rig) { rig.device.loadSetup(setup); });
}

// ---- Book page, call profile page ----

const QByteArray bookSetup = R"(
book:remote_profile:3 name=Reporter
book:remote_profile:3 network=wifi.0
book:remote_profile:3 codec=OPUS/48000/stereo/128000
book:remote_profile:3 remote_addr=5550001
book:remote_profile:3 remote_addr2=5550002
book:remote_profile:5 name=Studio A
book:remote_profile:5 network=eth.0
book:remote_profile:5 codec=G722
book:remote_profile:5 remote_addr=5551234
book:remote_profile:8 name=Field phone
book:remote_profile:8 network=mobile.0
book:remote_profile:8 codec=GSM
book:remote_profile:8 remote_addr=01715550100
book:remote_profile:9 name=Desk
book:remote_profile:9 network=eth.0
book:remote_profile:9 remote_addr=5550009
book:local_profile:2 name=Morning show
book:local_profile:4 name=Evening news
book:sip_profile:1 name=Studio SIP
book:snapshot:6 name=Before the match
)";

// From the Book page through the call profile list, by the profile's row as the user goes (added to the list when
// it has none): 174 a new profile, 299 + id a stored one.
void openCallProfile(settingstesting::SettingsRig &rig, int entryId, const char *title)
{
    rig.device.loadSetup(bookSetup);
    settingstesting::loadCodingSetup(rig.device);
    rig.touch(170);
    QVexmarMenuItem *row = rig.row(entryId);
    rig.touch(row ? row
                  : rig.addRow(rig.current(), entryId, QVexmarMenuItem::SubMenu, QLatin1String(title),
                      entryId >= QVexmarSettingsPage::firstListRow ? 170 : -1));
}

QImage callProfileShot(int entryId, const char *title, const RigSteps &steps = {})
{
    return settingsShot(2, QVexmar::SettingsBook, [=](settingstesting::SettingsRig &rig) {
        openCallProfile(rig, entryId, title);
        if (steps)
            steps(rig);
    });
}

// ---- Status branch ----

const QByteArray statusSetup = R"(
general serialno=QX-0042
general battery_manufacturer=Acme Cells
general battery_model=LP-4S
general battery_serial=0815-2231
general battery_voltage=12.1
general battery_current=-0.45
general battery_cycles=17
general battery_temperature=31
network:eth.0 local_addr=192.168.1.20
network:eth.0 link_mode_neg=1000baseT-FD
network:mobile.0 technology=LTE
network:mobile.0 operator_long=Telekom.de
network:mobile.0 signal_quality_dbm=-71 dBm
network:mobile.0 data_connection_state=active
network:wifi.0 ssid=Studio
network:wifi.0 data_connection=on
network:wifi.0 data_connection_state=active
network:wifi.0 local_addr=10.0.0.7
network:wifi.0 signal_quality_dbm=-60 dBm
network:aoip sip_user=studio1
network:aoip sip_user2=studio2
network stun_nat_type=nat-port-restricted
network public_addr=203.0.113.7
)";

// The Status page of a codec with Ethernet, mobile and Wi-Fi; then the row touched, or the list dragged until the row
// shows at the bottom.
QImage statusShot(int rowId = -1, bool touch = true)
{
    const RigSteps steps = [=](settingstesting::SettingsRig &rig) {
        if (rowId == -1)
            return;
        if (touch) {
            rig.touch(rowId);
            return;
        }
        QCoreApplication::processEvents();
        rig.current()->ensureWidgetVisible(rig.row(rowId), 0, 0);
    };
    return settingsShot(2, QVexmar::SettingsStatus, steps,
        [](settingstesting::SettingsRig &rig) { rig.device.loadSetup(statusSetup); });
}

// ---- Audio connections and statistics ----

// Page 243 of the codec, after the device's events about call 9 on eth.0 (line 1); then the row of line 1 touched,
// when given.
QImage connectionsShot(const QByteArrayList &events, int rowId = -1)
{
    return settingsShot(2, QVexmar::SettingsStatus, [=](settingstesting::SettingsRig &rig) {
        rig.touch(243);
        deliverEvents(rig, events);
        if (rowId != -1)
            rig.touch(rig.current()->findItemInGroup(rowId, 244));
    });
}

QByteArrayList ipCallEvents()
{
    const QByteArray call = "id:9;network:eth.0;";
    return {"EVENT;event_type:1000-call active;" + call
            + "remote_addr:studio@203.0.113.20;codec_tx:OPUS/48000/stereo/128000;",
        "EVENT;event_type:9900-call info;" + call + "remote_addr:studio@198.51.100.20;stream_id:2;",
        "EVENT;event_type:dsp_status;state:sync;" + call,
        "EVENT;event_type:tx-quality-report;" + call
            + "net-quality:75;duration:3725;pkts-total:186250;pkts-lost:931;jtr-avg:3;jtr-max:14;",
        "EVENT;event_type:tx-quality-report;stream_id:2;" + call
            + "net-quality:80;duration:3724;pkts-total:186200;pkts-lost:372;jtr-avg:4;jtr-max:18;",
        "EVENT;event_type:rx-quality-report;" + call
            + "net-quality:92;duration:3725;pkts-total:186100;pkts-lost:150;pkts-discarded:12;pkts-duplicated:3;"
              "pkts-reorderd:7;jtr-avg:5;jtr-max:22;jb-curr:60;jb-mark:40;",
        "EVENT;event_type:rx-quality-report;stream_id:2;" + call
            + "net-quality:88;duration:3724;pkts-total:186000;pkts-lost:260;jtr-avg:6;jtr-max:25;jb-curr:62;"};
}

// A Book list at the level, after the calls, then the steps.
QImage listShot(int level, int listId, const QByteArrayList &calls = {},
    const std::function<void(settingstesting::SettingsRig &)> &steps = {})
{
    return settingsShot(level, QVexmar::SettingsBook, [=](settingstesting::SettingsRig &rig) {
        rig.device.loadSetup(bookSetup);
        deliverEvents(rig, calls);
        rig.touch(listId);
        if (steps)
            steps(rig);
    });
}

QList<GalleryShot> renderSettings()
{
    return {
        {QStringLiteral("core-top"), settingsShot(2, QVexmar::SettingsNetwork)},
        {QStringLiteral("core-audio-normal"), settingsShot(1, QVexmar::SettingsStatus)},
        {QStringLiteral("core-audio-greyed"), settingsShot(0, QVexmar::SettingsStatus)},
        {QStringLiteral("ethernet-dhcp"), interfaceShot(12, "LAN1 settings")},
        {QStringLiteral("ethernet-manual-edited"),
            interfaceShot(12, "LAN1 settings", "network:eth.0 mode=manual", editAddress)},
        {QStringLiteral("ethernet-not-attached"), notAttachedShot()},
        {QStringLiteral("isdn-ni"), interfaceShot(11, "ISDN settings", SimDevice::isdnSetup())},
        {QStringLiteral("wifi-scan-list"), interfaceShot(20, "Wi-Fi settings (Internal)")},
        {QStringLiteral("coding-single"), codingShot(QVexmar::SettingsCoding)},
        {QStringLiteral("coding-double"), codingShot(QVexmar::SettingsCoding, doubleCodec)},
        {QStringLiteral("codec-opus"), codingShot(QVexmar::SettingsCodec1)},
        {QStringLiteral("codec-g711-edited"),
            codingShot(QVexmar::SettingsCodec1, {},
                [](settingstesting::SettingsRig &rig) {
                    rig.touch(102);
                    rig.answer(true, 0);
                })},
        {QStringLiteral("codec-not-listed"),
            codingShot(QVexmar::SettingsCodec1, "audio codec=AAC-ld/48000/stereo/96000")},
        {QStringLiteral("codec-line2"), codingShot(QVexmar::SettingsCodec2, doubleCodec)},
        {QStringLiteral("opus-as-read"),
            codingShot(QVexmar::SettingsCoding, {}, [](settingstesting::SettingsRig &rig) { rig.touch(101); })},
        {QStringLiteral("opus-locked-not-listed"),
            codingShot(QVexmar::SettingsCoding, "audio dstream_mode=enabled\naudio abr_maxbr=20500",
                [](settingstesting::SettingsRig &rig) { rig.touch(101); })},
        {QStringLiteral("wifi-network-choice"), settingsShotWithPopup([](settingstesting::SettingsRig &rig) {
             openInterfacePage(rig, 20, "Wi-Fi settings (Internal)");
             rig.touch(61);
         })},
        {QStringLiteral("sip-aoip"), sipShot(10)},
        {QStringLiteral("sip-aoip-sip-rows"), sipShot(10, false, 87)},
        {QStringLiteral("sip-aoip-not-loaded"), sipShot(10, true)},
        {QStringLiteral("sip-account-1"), sipShot(77)},
        {QStringLiteral("sip-account-2-alternate-port"), sipShot(78)},
        {QStringLiteral("network-every-interface"), networkShot(1)},
        {QStringLiteral("network-every-interface-scrolled"), networkShot(1, -1, 21)},
        {QStringLiteral("network-operator"), networkShot(0, -1, 21)},
        {QStringLiteral("mobile-ready"), networkShot(1, 16)},
        {QStringLiteral("mobile-ready-scrolled"), networkShot(1, 16, 58)},
        {QStringLiteral("mobile-pin-required"), networkShot(1, 17)},
        {QStringLiteral("audio-page"), audioShot({}, {}, 111)},
        {QStringLiteral("audio-page-without-module"),
            audioShot({}, "general device_opts=[ip_dcodec,wifi,record_1]\naudio drc_ratio_cmp=2.5", 111)},
        {QStringLiteral("audio-intercom-edited"),
            settingsShot(2, QVexmar::SettingsAudio,
                [](settingstesting::SettingsRig &rig) {
                    rig.touch(111);
                    QTest::mouseClick(rig.row(112)->switchButton, Qt::LeftButton);
                })},
        {QStringLiteral("audio-interface-net-mode-maker"),
            audioShot({119}, "audio rav_manufacturer=Merging Audio\naudio rav_sample_rate=48000")},
        {QStringLiteral("audio-interface-net-mode-maker-status"),
            audioShot({119}, "audio rav_manufacturer=Merging Audio", 167)},
        {QStringLiteral("aoip-input-streams"), aoipShot("touch 119; touch 133")},
        {QStringLiteral("aoip-receiver-prompt"),
            aoipShot("touch 119; touch 133; nok rav_stream_in; touch 134; apply; close")},
        {QStringLiteral("aoip-ip-addressing"), aoipShot("touch 119; touch 125")},
        {QStringLiteral("aoip-output-two-interfaces"),
            aoipShot("touch 119; touch 146; type 156=239.1.2.40",
                "audio rav_manufacturer=Merging Audio\naudio rav_netif_ou=2\naudio rav_autoconf_ou1=off", 159)},
        {QStringLiteral("audio-interface-own-tools-maker"),
            audioShot({119}, "audio rav_manufacturer=Audinate\naudio rav_if_count=1\naudio rav_dhcp=on")},
        {QStringLiteral("book-page"), settingsShot(1, QVexmar::SettingsBook)},
        {QStringLiteral("book-new-profile"), callProfileShot(174, "New Call Profile")},
        {QStringLiteral("book-stored-changed"),
            callProfileShot(302, "Reporter",
                [](settingstesting::SettingsRig &rig) {
                    rig.touch(182);
                    rig.answer(true, -1, QStringLiteral("5550009"));
                    // Dragged to the end, where Load and Delete are locked by the mark.
                    QCoreApplication::processEvents();
                    QScrollBar *bar = rig.current()->verticalScrollBar();
                    bar->setValue(bar->maximum());
                })},
        {QStringLiteral("book-failed-read"),
            settingsShotWithPopup(
                [](settingstesting::SettingsRig &rig) { openCallProfile(rig, 320, "Gone"); }, QVexmar::SettingsBook)},
        {QStringLiteral("lists-call-profiles"), listShot(2, 170)},
        {QStringLiteral("lists-call-profiles-operator"),
            listShot(0, 170, {"EVENT;event_type:0600-call received;id:9;network:eth.0;"})},
        {QStringLiteral("lists-preset-page"),
            listShot(2, 171, {}, [](settingstesting::SettingsRig &rig) { rig.touch(303); })},
        {QStringLiteral("lists-sip-account-choice"),
            settingsShotWithPopup(
                [](settingstesting::SettingsRig &rig) {
                    rig.device.loadSetup(bookSetup);
                    rig.touch(172);
                    rig.touch(174);
                    rig.answer(true, -1, QStringLiteral("Studio 2"));
                },
                QVexmar::SettingsBook)},
        {QStringLiteral("tools-operator"), toolsShot(0)},
        {QStringLiteral("tools-administrator"), toolsShot(2)},
        {QStringLiteral("tools-softkeys-docked"),
            toolsShot(1, [](settingstesting::SettingsRig &rig) { rig.touch(192); })},
        {QStringLiteral("tools-key-talk"),
            toolsShot(1,
                [](settingstesting::SettingsRig &rig) {
                    rig.touch(192);
                    rig.touch(199);
                })},
        {QStringLiteral("tools-passwords"),
            toolsShot(2,
                [](settingstesting::SettingsRig &rig) {
                    rig.device.setAccessPasswords("admin", "exp", "");
                    rig.touch(236);
                })},
        {QStringLiteral("tools-password-keyboard"),
            settingsShotWithPopup(askAdministratorPassword, QVexmar::SettingsTools, 1)},
        {QStringLiteral("misc-top"), toolsShot(1, openMiscellaneous)},
        {QStringLiteral("misc-redialing"),
            toolsShot(1,
                [](settingstesting::SettingsRig &rig) {
                    openMiscellaneous(rig);
                    rig.current()->ensureWidgetVisible(rig.row(215), 0, 0);
                })},
        {QStringLiteral("misc-timezone"),
            toolsShot(1,
                [](settingstesting::SettingsRig &rig) {
                    openMiscellaneous(rig);
                    QScrollBar *bar = rig.current()->verticalScrollBar();
                    bar->setValue(bar->maximum());
                })},
        {QStringLiteral("misc-ftp"),
            toolsShot(1,
                [](settingstesting::SettingsRig &rig) {
                    openMiscellaneous(rig);
                    rig.touch(221);
                })},
        {QStringLiteral("troubleshooting-page"),
            toolsShot(1, [](settingstesting::SettingsRig &rig) { openTroubleshootingRow(rig, 225); })},
        {QStringLiteral("troubleshooting-reset"),
            settingsShotWithPopup(
                [](settingstesting::SettingsRig &rig) {
                    openTroubleshootingRow(rig, 225);
                    rig.touch(228);
                },
                QVexmar::SettingsTools, 1)},
        {QStringLiteral("remote-expert"),
            toolsShot(1, [](settingstesting::SettingsRig &rig) { openTroubleshootingRow(rig, 229); })},
        {QStringLiteral("remote-administrator-edited"),
            toolsShot(2,
                [](settingstesting::SettingsRig &rig) {
                    openTroubleshootingRow(rig, 229);
                    QTest::mouseClick(rig.row(230)->switchButton, Qt::LeftButton);
                })},
        {QStringLiteral("status-page"), statusShot()},
        {QStringLiteral("status-page-interfaces"), statusShot(286, false)},
        {QStringLiteral("status-page-about"), statusShot(298, false)},
        {QStringLiteral("status-mobile"), statusShot(273)},
        {QStringLiteral("status-battery"), statusShot(286)},
        {QStringLiteral("status-aoip-controller"), statusShot(263)},
        {QStringLiteral("connections-idle"), connectionsShot({})},
        {QStringLiteral("connections-ip-call"), connectionsShot(ipCallEvents())},
        {QStringLiteral("connections-statistics"), connectionsShot(ipCallEvents(), 252)},
    };
}

const GalleryPage page("settings", renderSettings);

} // namespace
