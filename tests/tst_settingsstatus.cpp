// The Status branch of the settings menu against the simulated device: the rows of the Status page and what each
// reads, the interface rows through the page's editing copies, the mobile status, battery and AoIP controller pages,
// and the device events that rewrite the Status page.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsStatus : public QObject
{
    Q_OBJECT

private slots:
    void interfaceRows_data();
    void interfaceRows();
    void reads();
    void interfaceTexts_data();
    void interfaceTexts();
    void pages_data();
    void pages();
    void batteryRow_data();
    void batteryRow();
    void events_data();
    void events();
};

namespace {

// Logged in on the codec with the case's set-up; then the interfaces the device lists from now on, when given, and
// the answer; the Status page opened as the screen opens it.
bool openStatus(
    SettingsRig &rig, const QByteArray &setup = {}, const QByteArray &reply = {}, const QByteArray &networks = {})
{
    rig.device.loadSetup(setup);
    if (!rig.startSettings())
        return false;
    if (!networks.isNull())
        rig.device.loadSetup("network network=" + networks);
    if (!reply.isEmpty())
        answerNext(rig, {reply});
    return rig.openPageId(QVexmar::SettingsStatus) && rig.current() && rig.current()->pageId == 6;
}

// A row's value, then " L" when locked, else its colour.
QString valueShown(const QVexmarMenuItem *item)
{
    if (!item)
        return QStringLiteral("missing");
    return item->valueLabel->text() + QLatin1Char(' ')
        + (item->isLocked() ? QStringLiteral("L") : SettingsRig::rowColour(item));
}

QByteArrayList framesWith(const QByteArrayList &frames, const QByteArray &part)
{
    QByteArrayList picked;
    for (const QByteArray &frame : frames) {
        if (frame.contains(part))
            picked << frame;
    }
    return picked;
}

const QByteArray ethernetRead = "PARAM|network=eth.0|target=network|GET mode|GET local_addr|GET link_mode_neg";
const QByteArray mobileBinding = "PARAM|network=mobile.0|target=network|GET pin|GET registration_state";
const QByteArray mobileRowRead = "PARAM|network=mobile.0|target=network|GET operator_long|GET technology";
const QByteArray mobilePageRead = "PARAM|network=mobile.0|target=network|GET operator_long|GET technology|"
                                  "GET signal_quality_dbm|GET data_connection_state";
const QByteArray wifiRead = "PARAM|network=wifi.0|target=network|GET ssid|GET signal_quality_dbm|GET local_addr|"
                            "GET data_connection|GET data_connection_state";
const QByteArray audioModeRead = "PARAM|network=aoip|target=network|GET audio_mode";
const QByteArray batteryStatusRead = "PARAM|target=general|GET battery_status";
// What every refresh of the Status page reads on the codec's interfaces (eth.0, mobile.0, wifi.0).
const QByteArrayList refreshFrames {
    audioModeRead, ethernetRead, mobileBinding, mobileRowRead, wifiRead, batteryStatusRead};

const QByteArray registered = R"(
network:mobile.0 technology=LTE
network:mobile.0 operator_long=Telekom.de
network:mobile.0 signal_quality_dbm=-71 dBm
network:mobile.0 data_connection_state=active
)";

const QByteArray simMissing = "network:mobile.0 pin=010-sim missing\n"
                              "network:mobile.0 registration_state=123-not registered";

} // namespace

// One row per Ethernet, mobile and Wi-Fi interface 0-3 the device lists now, by kind and index whatever its order.
void TestSettingsStatus::interfaceRows_data()
{
    QTest::addColumn<QByteArray>("networks");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("ids");
    QTest::addColumn<QString>("labels");
    const QString head = QStringLiteral("-1 240 241 242 243 263 ");
    const QString about = QStringLiteral(" -1 295 296 297 298");
    QTest::newRow("none") << QByteArray("[]") << QByteArray() << head + "286" + about << QString();
    QTest::newRow("ISDN and aoip only") << QByteArray("[aoip,isdn.0]") << QByteArray() << head + "286" + about
                                        << QString();
    QTest::newRow("two LANs, mobile, Wi-Fi")
        << QByteArray("[wifi.0,aoip,eth.1,mobile.0,eth.0]") << QByteArray() << head + "269 270 273 281 286" + about
        << "Ethernet, Ethernet (aux), Mobile (int 1), Wi-Fi";
    QTest::newRow("indices above 3") << QByteArray("[eth.0,eth.4,mobile.5,wifi.3]") << QByteArray()
                                     << head + "269 284 286" + about << "Ethernet, Wi-Fi (ext 3)";
    QTest::newRow("list refused: those known before")
        << QByteArray("[eth.1]") << QByteArray("network PARAM;return:ERROR;") << head + "269 273 281 286" + about
        << "Ethernet, Mobile (int 1), Wi-Fi";
}

void TestSettingsStatus::interfaceRows()
{
    QFETCH(QByteArray, networks);
    QFETCH(QByteArray, reply);
    QFETCH(QString, ids);
    QFETCH(QString, labels);
    SettingsRig rig;
    QVERIFY(openStatus(rig, {}, reply, networks));
    QCOMPARE(rowIds(rig), ids);
    QStringList shown;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (item->id >= 269 && item->id <= 284)
            shown << item->titleLabel->text();
    }
    QCOMPARE(shown.join(QStringLiteral(", ")), labels);
    QVERIFY(rig.page()->header->isRefreshVisible());
}

// What each page reads, in order, every request waiting 5000 ms at most; the refresh icons read again, back onto the
// Status page reads nothing.
void TestSettingsStatus::reads()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.takeTimeouts();
    QVERIFY(rig.openPageId(QVexmar::SettingsStatus));
    QCOMPARE(rig.takeFrames(),
        QByteArrayList(
            {"PARAM|target=network|LIST network", "PARAM|target=general|GET serialno|GET version|GET builddate"})
            + refreshFrames);
    rig.refresh();
    QCOMPARE(rig.popupText(), QStringLiteral("Refreshing..."));
    QCOMPARE(rig.takeFrames(), refreshFrames);
    const QByteArrayList aoip {"PARAM|network=aoip|target=network|GET audio_mode|GET sip_user|GET sip_user2",
        "PARAM|target=network|GET stun_nat_type|GET public_addr"};
    const QList<QPair<int, QByteArrayList>> subPages {{273, {mobileBinding, mobilePageRead}}, {263, aoip},
        {286,
            {"PARAM|target=general|GET battery_manufacturer|GET battery_model|GET battery_serial|"
             "GET battery_voltage|GET battery_current|GET battery_cycles|GET battery_temperature|"
             "GET lpc824_version"}}};
    for (const auto &[id, frames] : subPages) {
        rig.closePopups();
        rig.touch(id);
        QCOMPARE(rig.pages(), QStringLiteral("6 %1").arg(id));
        QCOMPARE(rig.takeFrames(), frames);
        // The battery page has no refresh.
        QCOMPARE(rig.page()->header->isRefreshVisible(), id != 286);
        rig.refresh();
        QCOMPARE(rig.takeFrames(), id != 286 ? frames : QByteArrayList());
        rig.back();
        QVERIFY(rig.page()->header->isRefreshVisible());
    }
    // Opening 8, refresh 6, mobile status 2 + 2, AoIP controller 2 + 2, battery 1: each pending with 5000 ms.
    const QList<qint64> timeouts = rig.takeTimeouts();
    QCOMPARE(timeouts.size(), 23);
    QCOMPARE(timeouts.count(5000), 23);
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// The value of an interface row, read through the page's copy bound to the interface, and the requests on it.
void TestSettingsStatus::interfaceTexts_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArray sim = "network:mobile.0 registration_state=123-not registered\nnetwork:mobile.0 pin=";
    const QByteArray wifi = "network:wifi.0 ssid=Studio\nnetwork:wifi.0 data_connection=";
    QTest::newRow("LAN DHCP, 100BaseT-FD")
        << QByteArray("network:eth.0 local_addr=192.168.1.20\nnetwork:eth.0 link_mode_neg=100baseT-FD") << QByteArray()
        << 269 << "192.168.1.20 [ DHCP, 100BaseT-FD ] L" << QByteArrayList {ethernetRead};
    QTest::newRow("LAN read failed: the cleared copy")
        << QByteArray("network:eth.0 local_addr=192.168.1.20") << QByteArray("link_mode_neg PARAM;return:ERROR;") << 269
        << " [ Unknown, Unknown ] L" << QByteArrayList {ethernetRead};
    QTest::newRow("SIM missing: the binding only")
        << sim + "010-sim missing" << QByteArray() << 273 << "SIM Missing grey" << QByteArrayList {mobileBinding};
    QTest::newRow("SIM locked") << sim + "011-sim locked" << QByteArray() << 273 << "SIM Locked grey"
                                << QByteArrayList {mobileBinding};
    QTest::newRow("PIN required") << sim + "122-pin required" << QByteArray() << 273 << "PIN Required grey"
                                  << QByteArrayList {mobileBinding};
    QTest::newRow("LTE with an operator")
        << registered << QByteArray() << 273 << "Current network is 4G/LTE [ Telekom.de ] grey"
        << QByteArrayList {mobileBinding, mobileRowRead};
    QTest::newRow("technology not set") << QByteArray("network:mobile.0 operator_long=Telekom.de") << QByteArray()
                                        << 273 << "Not Registered on the network grey"
                                        << QByteArrayList {mobileBinding, mobileRowRead};
    QTest::newRow("Wi-Fi without SSID") << QByteArray() << QByteArray() << 281 << "No network configured L"
                                        << QByteArrayList {wifiRead};
    QTest::newRow("Wi-Fi connection off, state 0")
        << wifi + "off" << QByteArray() << 281 << "Studio [ Not active ] L" << QByteArrayList {wifiRead};
    QTest::newRow("Wi-Fi on with an address")
        << wifi
            + "on\nnetwork:wifi.0 data_connection_state=active\nnetwork:wifi.0 local_addr=10.0.0.7\n"
              "network:wifi.0 signal_quality_dbm=-60 dBm"
        << QByteArray() << 281 << "Studio [ 10.0.0.7, -60 dBm ] L" << QByteArrayList {wifiRead};
    QTest::newRow("Wi-Fi on without an address")
        << wifi + "on\nnetwork:wifi.0 data_connection_state=processing\nnetwork:wifi.0 signal_quality_dbm=-75 dBm"
        << QByteArray() << 281 << "Studio [ Connection in Progress, -75 dBm ] L" << QByteArrayList {wifiRead};
    QTest::newRow("Wi-Fi read refused: the cleared copy")
        << wifi + "on" << QByteArray("ssid PARAM;return:ERROR;") << 281 << "No network configured L"
        << QByteArrayList {wifiRead};
}

void TestSettingsStatus::interfaceTexts()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, reply);
    QFETCH(int, rowId);
    QFETCH(QString, shown);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(openStatus(rig, setup, reply));
    QCOMPARE(valueShown(rig.row(rowId)), shown);
    const QByteArray network = frames.first().mid(frames.first().indexOf("network=")).split('|').first();
    QCOMPARE(framesWith(rig.takeFrames(), network + '|'), frames);
}

// The rows of a page opened from the Status page (or the Status page itself), each as "<value> L" when locked, else
// with its colour; a negative id gives the row's title.
void TestSettingsStatus::pages_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("ids");
    QTest::addColumn<QString>("shown");
    const QByteArray none;
    const QString state = QStringLiteral("240 -241 241 -242 242 263");
    const QString about = QStringLiteral("295 296 297 298");
    const QString battery = QStringLiteral("287 288 289 290 291 292 293 294");
    const QString aoip = QStringLiteral("264 265 266 267 268");
    const QString mobile = QStringLiteral("278 277 279 280");
    const QString notSent = QStringLiteral("Not available grey");
    const QByteArray pack = "general battery_manufacturer=Acme Cells\ngeneral battery_model=LP-4S\ngeneral "
                            "battery_serial=0815\ngeneral battery_voltage=12.1\ngeneral battery_current=-0.45\n"
                            "general battery_cycles=17\ngeneral battery_temperature=31\ngeneral lpc824_version=1.4";
    const QByteArray controller = "network:aoip sip_user=studio1\nnetwork:aoip sip_user2=studio2\n"
                                  "network stun_nat_type=nat-full-cone\nnetwork public_addr=203.0.113.7\n";
    const auto eight = [](const QString &value) {
        QStringList values;
        for (int i = 0; i < 8; ++i)
            values << value;
        return values.join(QStringLiteral("; "));
    };
    const auto row
        = [](const char *name, const QByteArray &setup, const QByteArray &reply, int pageId, const QString &ids,
              const QString &shown) { QTest::newRow(name) << setup << reply << pageId << ids << shown; };
    row("single codec, SIP", none, none, 6, state,
        "Single Codec L; Codec 1 [ Ethernet ]; Opus 48kHz Stereo 128kbit/s L; Codec 2; "
        "Not applicable in single codec mode L; Default Protocol is SIP grey");
    row("double codec, direct RTP",
        "audio codec_mode=cmode_double\naudio dcodec_2=OPUS/48000/mono/64000\nnetwork:aoip audio_mode=RTP", none, 6,
        state,
        "Double Codec L; Codec 1 [ Ethernet ]; G.722 L; Codec 2 [ Ethernet ]; Opus 48kHz Mono 64kbit/s L; "
        "Default Protocol is Direct RTP grey");
    row("multicast, default network Wi-Fi", "network default_network=wifi.0\nnetwork:aoip audio_mode=MC", none, 6,
        "-241 263", "Codec 1 [ Wi-Fi ]; Default Protocol is Multicast grey");
    row("About", "general serialno=QX-0042", none, 6, about, "QX-0042 L; 1.01.04.0 L; 4.2.1 L; 2024-03-18 L");
    row("build date not sent", none, "serialno PARAM;return:OK;serialno:QX-7;version:2.0;", 6, about,
        "QX-7 L; 2.0 L; 4.2.1 L; Not Available L");
    row("build date not set, no AoIP version",
        "network aoip_version=", "serialno PARAM;return:OK;serialno:QX-7;version:2.0;builddate:101-parameter not set;",
        6, about, "QX-7 L; 2.0 L; Not Available L; Not Available L");
    row("About refused", none, "serialno PARAM;return:ERROR;", 6, about,
        "Not Available L; Not Available L; 4.2.1 L; Not Available L");
    row("battery pack", pack, none, 286, battery,
        "Acme Cells L; LP-4S L; 0815 L; 12.1V L; -0.45A L; 17 L; 31\u00b0C L; 1.4 L");
    row("battery values not set, one empty", "general battery_voltage=12.1\ngeneral battery_serial=", none, 286,
        battery,
        "Not available L; Not available L; Not available L; 12.1V L; Not available L; Not available L; "
        "Not available L; Not available L");
    row("no battery value set", none, none, 286, battery, eight(QStringLiteral("Not available L")));
    row("battery request refused", pack, "battery_voltage PARAM;return:ERROR;", 286, battery, eight(notSent));
    row("battery: one name refused, one not sent", none,
        "battery_voltage PARAM;return:OK;battery_voltage:12.1;battery_model:115-resource "
        "busy;battery_manufacturer:Acme;"
        "battery_serial:1;battery_current:0;battery_cycles:2;battery_temperature:-5;",
        286, battery, "Acme L; " + notSent + "; 1 L; 12.1V L; 0A L; 2 L; -5\u00b0C L; " + notSent);
    row("AoIP controller, full cone", controller, none, 263, aoip,
        "SIP L; studio1 L; studio2 L; 203.0.113.7 L; Full Cone L");
    row("AoIP controller: multicast, unknown NAT, no second user",
        controller + "network stun_nat_type=nat-hairpin\nnetwork:aoip audio_mode=MC\nnetwork:aoip sip_user2=", none,
        263, aoip, "Multicast L; studio1 L;  L; 203.0.113.7 L; Unknown L");
    row("mobile registered", registered, none, 273, mobile,
        "4G/LTE L; Telekom.de L; -71 dBm L; Connection Established L");
    row("mobile without SIM: read all the same", simMissing, none, 273, mobile, "Unknown L;  L; 0 dBm L; Disabled L");
    // "=" first: the page holds these rows alone, in this order.
    row("mobile status rows in order", registered, none, 273, "=" + mobile,
        "4G/LTE L; Telekom.de L; -71 dBm L; Connection Established L");
}

void TestSettingsStatus::pages()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, reply);
    QFETCH(int, pageId);
    QFETCH(QString, ids);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(openStatus(rig, setup, pageId == 6 ? reply : QByteArray()));
    if (pageId != 6) {
        if (!reply.isEmpty())
            answerNext(rig, {reply});
        rig.touch(pageId);
    }
    QCOMPARE(rig.current()->pageId, pageId);
    if (ids.startsWith(QLatin1Char('='))) {
        ids.remove(0, 1);
        QCOMPARE(rowIds(rig), ids);
    }
    QStringList rows;
    for (const QString &id : ids.split(QLatin1Char(' '))) {
        QVexmarMenuItem *item = rig.row(qAbs(id.toInt()));
        rows << (id.startsWith(QLatin1Char('-')) ? item->titleLabel->text() : valueShown(item));
    }
    QCOMPARE(rows.join(QStringLiteral("; ")), shown);
}

// The battery row follows "battery_status": only a battery the device reports opens the battery page.
void TestSettingsStatus::batteryRow_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("pages"); // after a touch on the row
    QTest::newRow("charging") << QByteArray() << "Display battery information grey"
                              << "6 286";
    QTest::newRow("not detected") << QByteArray("battery_status PARAM;return:OK;battery_status:not_detected;")
                                  << "Battery not detected L"
                                  << "6";
    QTest::newRow("not sent") << QByteArray("battery_status PARAM;return:OK;") << "Battery not detected L"
                              << "6";
    QTest::newRow("not set") << QByteArray("battery_status PARAM;return:OK;battery_status:101-parameter not set;")
                             << "Battery not detected L"
                             << "6";
    QTest::newRow("refused") << QByteArray("battery_status PARAM;return:ERROR;") << "Battery not detected L"
                             << "6";
}

void TestSettingsStatus::batteryRow()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, shown);
    QFETCH(QString, pages);
    SettingsRig rig;
    QVERIFY(openStatus(rig, {}, reply));
    QCOMPARE(valueShown(rig.row(286)), shown);
    rig.touch(286);
    QCOMPARE(rig.pages(), pages);
}

// A "default_network" EVENT refreshes the Status page when it is shown, and nothing else; an Ethernet "config info"
// re-reads the row of its interface alone.
void TestSettingsStatus::events_data()
{
    QTest::addColumn<int>("subPage"); // opened from the Status page before the event; 0 none
    QTest::addColumn<QByteArray>("event"); // the device changed these values, then sent the event
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("rows"); // 241, 269 and 270 afterwards
    const QByteArray eth1Read = "PARAM|network=eth.1|target=network|GET mode|GET local_addr|GET link_mode_neg";
    const QString before = QStringLiteral("Codec 1 [ Ethernet ]; 10.0.0.5 [ Manual, 100BaseT-FD ] L; "
                                          " [ DHCP, 1000BaseT-FD ] L");
    const QByteArray defaultNetwork = "network default_network=eth.1\n"
                                      "EVENT;event_type:default_network;network:eth.1;";
    const QByteArray configInfo = "network:eth.1 mode=manual\nnetwork:eth.1 local_addr=10.1.1.7\n"
                                  "EVENT;event_type:config info;network:eth.1;mode:manual;local_addr:10.1.1.7;";
    QTest::newRow("default network, Status page shown")
        << 0 << defaultNetwork
        << QByteArrayList {audioModeRead, ethernetRead, eth1Read, mobileBinding, mobileRowRead, wifiRead,
               batteryStatusRead}
        << "Codec 1 [ Ethernet (aux) ]; 10.0.0.5 [ Manual, 100BaseT-FD ] L;  [ DHCP, 1000BaseT-FD ] L";
    QTest::newRow("default network, mobile status page shown") << 273 << defaultNetwork << QByteArrayList() << before;
    QTest::newRow("default network, AoIP controller page shown") << 263 << defaultNetwork << QByteArrayList() << before;
    QTest::newRow("config info of eth.1") << 0 << configInfo << QByteArrayList {eth1Read}
                                          << "Codec 1 [ Ethernet ]; 10.0.0.5 [ Manual, 100BaseT-FD ] L; "
                                             "10.1.1.7 [ Manual, 1000BaseT-FD ] L";
    QTest::newRow("config info of eth.0")
        << 0
        << QByteArray("network:eth.0 mode=dhcp\nnetwork:eth.0 local_addr=10.0.0.9\n"
                      "EVENT;event_type:config info;network:eth.0;mode:dhcp;local_addr:10.0.0.9;")
        << QByteArrayList {ethernetRead}
        << "Codec 1 [ Ethernet ]; 10.0.0.9 [ DHCP, 100BaseT-FD ] L;  [ DHCP, 1000BaseT-FD ] L";
    QTest::newRow("config info, mobile status page shown") << 273 << configInfo << QByteArrayList() << before;
}

void TestSettingsStatus::events()
{
    QFETCH(int, subPage);
    QFETCH(QByteArray, event);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openStatus(rig,
        "network:eth.0 mode=manual\nnetwork:eth.0 local_addr=10.0.0.5\nnetwork:eth.0 link_mode_neg=100baseT-FD\n"
        "network:eth.1 mode=dhcp\nnetwork:eth.1 link_mode_neg=1000baseT-FD",
        {}, "[aoip,eth.0,eth.1,mobile.0,wifi.0]"));
    QPointer<QVexmarMenuItems> status = rig.current();
    if (subPage)
        rig.touch(subPage);
    const int split = event.indexOf("EVENT;");
    rig.device.loadSetup(event.left(split));
    rig.takeFrames();
    QVERIFY(rig.deliver({event.mid(split)}));
    // The model reads the new default interface's link itself; the page's reads are what counts here.
    QByteArrayList pageFrames;
    for (const QByteArray &frame : rig.framesAfterRoundTrip()) {
        if (!frame.endsWith("|GET mode|GET cable"))
            pageFrames << frame;
    }
    QCOMPARE(pageFrames, frames);
    QVERIFY(status);
    QStringList shown {status->findItem(241)->titleLabel->text()};
    for (int id : {269, 270})
        shown << valueShown(status->findItem(id));
    QCOMPARE(shown.join(QStringLiteral("; ")), rows);
}

QTEST_MAIN(TestSettingsStatus)
#include "tst_settingsstatus.moc"
