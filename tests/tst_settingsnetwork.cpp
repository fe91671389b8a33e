// The Network page and the mobile pages against the simulated device: the links each interface gets, the SIM
// state, the rows that act at once, the mobile rows by SIM state and level, the operator scan and the apply with
// its PIN.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsNetwork : public QObject
{
    Q_OBJECT

private slots:
    void networkPage_data();
    void networkPage();
    void simState_data();
    void simState();
    void mobilePage_data();
    void mobilePage();
    void immediateRows_data();
    void immediateRows();
    void operatorScan_data();
    void operatorScan();
    void applies_data();
    void applies();
    void refusedStoreRetried_data();
    void refusedStoreRetried();
    void pinEntered();
};

namespace {

// mobile.1 is a ready modem without a data link (mobile.0 of the set-up carries one).
const QByteArray networkSetup = R"(
general device_opts=[ip_dcodec,mobile_lte,wifi,ravenna,ip_dstream_2,record_1]
network network=[aoip,eth.0,mobile.0,mobile.1,wifi.0]
network:mobile.1 pin=ready
network:mobile.1 registration_state=home
network:mobile.1 mode=gsm_voice
network:mobile.1 rat=auto
network:mobile.1 rat=[auto,only GSM,only UMTS,only LTE]
network:mobile.1 plmn=auto
network:mobile.1 plmn=[Alpha Mobile,Beta Net]
network:mobile.1 pin_persistent=off
network:mobile.1 data_connection=off
network:mobile.1 apn=internet
network:mobile.1 authentication=PAP
network:mobile.1 username=studio
network:mobile.1 password=secret
network:mobile.1 ajb_profile=standard
network:mobile.1 manufacturer=ModemCo
network:mobile.1 model=M1
network:mobile.1 revision=R7
network:mobile.1 imei=356938035643809
network:mobile.1 imsi=262011234567890
network:mobile.1 msisdn=+4930123456
)";

const QString failed = QStringLiteral("Failed to apply changes!");
const QByteArray notRegistered = "\nnetwork:mobile.1 registration_state=123-not registered";

// Logged in at the level on the device with the set-up above and the case's lines, on the Network page; the log
// empty.
bool openNetwork(SettingsRig &rig, const QByteArray &setup = {}, int level = 2)
{
    rig.device.loadSetup(networkSetup + setup);
    if (!rig.startSettings(level) || !rig.openPageId(QVexmar::SettingsNetwork))
        return false;
    rig.takeFrames();
    return rig.current()->pageId == 1;
}

// Then the mobile page through its link, read with the replies given.
bool openMobile(
    SettingsRig &rig, int pageId, const QByteArray &setup = {}, int level = 2, const QByteArrayList &replies = {})
{
    if (!openNetwork(rig, setup, level))
        return false;
    answerNext(rig, replies);
    rig.touch(pageId);
    rig.takeFrames();
    return rig.current()->pageId == pageId;
}

// The Network page's rows as "<id> <title>: <value>", with " L" when locked, " hidden" and " red".
QString linksShown(SettingsRig &rig)
{
    QStringList rows;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        rows << QString::number(item->id) + QLatin1Char(' ') + item->titleLabel->text()
                + (item->valueLabel ? QStringLiteral(": ") + item->valueLabel->text() : QString())
                + (item->isLocked() ? QStringLiteral(" L") : QString())
                + (item->isHidden() ? QStringLiteral(" hidden") : QString())
                + (SettingsRig::rowColour(item) == QLatin1String("red") ? QStringLiteral(" red") : QString());
    }
    return rows.join(QStringLiteral("; "));
}

// The requests that write: reads (GET and LIST) left out.
QByteArrayList writes(SettingsRig &rig)
{
    QByteArrayList frames = rig.framesAfterRoundTrip();
    frames.erase(std::remove_if(frames.begin(), frames.end(),
                     [](const QByteArray &frame) { return frame.contains("|GET ") || frame.contains("|LIST "); }),
        frames.end());
    return frames;
}

// The message the case expects; an empty one stands for none but the progress, which closes by itself.
void comparePopup(SettingsRig &rig, const QString &popup)
{
    if (popup.isEmpty())
        QVERIFY2(rig.popupText().isEmpty() || rig.popupText() == QLatin1String("Applying changes..."),
            qPrintable(rig.popupText()));
    else
        QCOMPARE(rig.popupText(), popup);
}

} // namespace

// One link per interface that has a page, in the order of the codes; rows 7 and 8 list the networks.
void TestSettingsNetwork::networkPage_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("outgoing"); // row 7, then row 8 when present
    QTest::newRow("every kind")
        << QByteArray("network network=[aoip,eth.0,eth.1,isdn.0,mobile.0,mobile.2,wifi.0,wifi.3,eth.4,isdn.1]\n"
                      "network:mobile.2 pin=ready\nnetwork:mobile.2 registration_state=home")
        << 1
        << "7 Network for Outgoing Calls: Ethernet; 8 Secondary IP Network for Double Streaming: Mobile (int 1) L; "
           "9 Codec Mode: Single Codec; -1 ; 10 AoIP settings: Configure the AoIP controller; "
           "12 LAN1 settings: Configure the primary Ethernet interface; "
           "13 LAN2 settings: Configure the auxiliary Ethernet interface; "
           "11 ISDN settings: Configure the ISDN controller; "
           "16 Mobile settings (Internal 1): Configure the Mobile controller; "
           "18 Mobile settings (External 1): Configure the Mobile controller; "
           "20 Wi-Fi settings (Internal): Configure the Wi-Fi controller; "
           "23 Wi-Fi settings (External 3): Configure the Wi-Fi controller"
        << "*Ethernet, Ethernet (aux), Ethernet (ext 3), ISDN, ISDN, Mobile (int 1), Mobile (ext 1), Wi-Fi, "
           "Wi-Fi (ext 3) / Ethernet, Ethernet (aux), Ethernet (ext 3), *Mobile (int 1), Mobile (ext 1), Wi-Fi, "
           "Wi-Fi (ext 3)";
    QTest::newRow("operator level, no mobile")
        << QByteArray("network network=[aoip,eth.0,isdn.0,wifi.1]") << 0
        << "7 Network for Outgoing Calls: Ethernet; 8 Secondary IP Network for Double Streaming: Mobile (int 1) L; "
           "9 Codec Mode: Single Codec; -1 ; 10 AoIP settings: Configure the AoIP controller L; "
           "12 LAN1 settings: Configure the primary Ethernet interface L; "
           "11 ISDN settings: Configure the ISDN controller L; "
           "21 Wi-Fi settings (External 1): Configure the Wi-Fi controller L"
        << "*Ethernet, ISDN, Wi-Fi (ext 1) / Ethernet, Wi-Fi (ext 1)";
    QTest::newRow("without double streaming to two networks")
        << QByteArray("general device_opts=[ip_dstream_1]\nnetwork network=[aoip,eth.0,mobile.1]") << 1
        << "7 Network for Outgoing Calls: Ethernet; 9 Codec Mode: Single Codec; -1 ; "
           "10 AoIP settings: Configure the AoIP controller; 12 LAN1 settings: Configure the primary Ethernet "
           "interface; "
           "17 Mobile settings (Internal 2): Configure the Mobile controller"
        << "*Ethernet, Mobile (int 2)";
}

void TestSettingsNetwork::networkPage()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, level);
    QFETCH(QString, rows);
    QFETCH(QString, outgoing);
    SettingsRig rig;
    QVERIFY(openNetwork(rig, setup, level));
    QCOMPARE(linksShown(rig), rows);
    QStringList options;
    for (int id : {7, 8}) {
        if (rig.row(id))
            options << rig.rowText(id).section(QStringLiteral(" | "), 2);
    }
    QCOMPARE(options.join(QStringLiteral(" / ")), outgoing);
}

// The SIM state of each mobile interface on its link, read when the page is built.
void TestSettingsNetwork::simState_data()
{
    QTest::addColumn<QByteArray>("pin"); // what the device answers for the SIM
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("colour");
    QTest::newRow("ready") << QByteArray("ready") << "Configure the Mobile controller"
                           << "blue";
    QTest::newRow("missing") << QByteArray("010-sim missing") << "SIM Missing"
                             << "red";
    QTest::newRow("locked") << QByteArray("011-sim locked") << "SIM Locked"
                            << "red";
    QTest::newRow("PIN required") << QByteArray("122-pin required") << "PIN Required"
                                  << "red";
}

void TestSettingsNetwork::simState()
{
    QFETCH(QByteArray, pin);
    QFETCH(QString, shown);
    QFETCH(QString, colour);
    SettingsRig rig;
    // Without a usable SIM the modem is not registered either.
    QVERIFY(openNetwork(rig,
        "network:mobile.1 pin=" + pin
            + (pin == "ready" ? QByteArray()
                              : QByteArray("\nnetwork:mobile.1 registration_state=123-not registered"))));
    QVexmarMenuItem *link = rig.row(17);
    QVERIFY(!link->isHidden());
    QCOMPARE(link->valueLabel->text(), shown);
    QCOMPARE(SettingsRig::rowColour(link), colour);
    // The level does not lock them: an Operator enters the PIN here.
    QVERIFY(!link->isLocked());
}

// The rows by SIM state and level; values the modem never read show "Unknown" and stay locked.
void TestSettingsNetwork::mobilePage_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<QList<int>>("ids"); // the rows compared; all when empty
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("detailRow");
    QTest::addColumn<QString>("detail");
    const QList<int> all;
    const QString information = QStringLiteral("-1 Information; 53 ModemCo L; 54 M1 L; 55 R7 L; 56 356938035643809 L");
    QTest::newRow("ready") << QByteArray() << 1 << QByteArrayList() << all
                           << "42 Disabled; 43 Auto; 44 Auto; 45 Cellphone; -1 Audio over IP; 46 Disabled; "
                              "52 Standard; 47 internet; 48 PAP; 49 studio; 50 secret; "
            + information + "; 57 262011234567890 L; 58 +4930123456 L"
                           << 43 << "Preferred Radio Access Technology | Auto | *Auto, 2G, 3G, 4G/LTE";
    QTest::newRow("ready, Operator")
        << QByteArray() << 0 << QByteArrayList() << all
        << "42 Disabled; 43 Auto; 44 Auto L; 45 Cellphone; -1 Audio over IP; 46 Disabled; 52 Standard L; "
           "47 internet; 48 PAP L; 49 studio L; 50 secret L; "
            + information + "; 57 262011234567890 L; 58 +4930123456 L"
        << 48 << "Authentication Mode | PAP | *PAP, CHAP";
    QTest::newRow("PIN required") << QByteArray("network:mobile.1 pin=122-pin required" + notRegistered) << 0
                                  << QByteArrayList() << all << "41 ; 42 Disabled; " + information << 41
                                  << "PIN Code | ";
    QTest::newRow("SIM missing") << QByteArray("network:mobile.1 pin=010-sim missing" + notRegistered) << 1
                                 << QByteArrayList() << all << information << 56 << "IMEI | 356938035643809";
    QTest::newRow("not attached")
        << QByteArray() << 1 << QByteArrayList {"mobile.1 PARAM;return:ERROR;"} << all
        << "42 Disabled; 43 Unknown L; 44  L; 45 Unknown L; -1 Audio over IP; 46 Disabled L; 52 Unknown L; 47  L; "
           "48 Not Applicable L; 49  L; 50  L; -1 Information; 53  L; 54  L; 55  L; 56  L; 57  L; 58 Not Available L"
        << 43 << "Preferred Radio Access Technology | Unknown | *Unknown";
    QTest::newRow("data mode, stored rat not offered, fixed jitter buffer")
        << QByteArray("network:mobile.1 mode=data\nnetwork:mobile.1 rat=UMTS first\nnetwork:aoip jitterab=off\n"
                      "network:mobile.1 rat=[auto,only LTE 5G]\nnetwork:mobile.1 msisdn=\n"
                      "network:mobile.1 network_quality=low\nnetwork:mobile.1 authentication=")
        << 1 << QByteArrayList() << all
        << "42 Disabled; 43 3G preferred red; 44 Auto; 45 Audio over IP L; -1 Audio over IP; 46 Disabled; 51 Low; "
           "47 internet; 48 Not Applicable L; 49 studio; 50 secret; "
            + information + "; 57 262011234567890 L; 58 Not Available L"
        << 43 << "Preferred Radio Access Technology | 3G preferred | Auto, 4G/LTE and 5G";
    QTest::newRow("an operator chosen") << QByteArray("network:mobile.1 plmn=Beta Net") << 1 << QByteArrayList()
                                        << QList<int> {44} << "44 Beta Net" << 44
                                        << "Preferred Network Operator | Beta Net";
}

void TestSettingsNetwork::mobilePage()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, level);
    QFETCH(QByteArrayList, replies);
    QFETCH(QList<int>, ids);
    QFETCH(QString, rows);
    QFETCH(int, detailRow);
    QFETCH(QString, detail);
    SettingsRig rig;
    QVERIFY(openMobile(rig, 17, setup, level, replies));
    QCOMPARE(rowsShown(rig, ids), rows);
    QCOMPARE(rig.rowText(detailRow), detail);
    QVERIFY(!rig.modified());
}

// Rows 7-9 set the device at once: refused during a call, put back when the device refuses.
void TestSettingsNetwork::immediateRows_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("call"); // the network of a call, or empty
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses
    QTest::addColumn<QString>("step");
    QTest::addColumn<QByteArrayList>("frames"); // the writes
    QTest::addColumn<QString>("rows"); // 7-9 afterwards
    QTest::addColumn<QString>("popup"); // empty: none but the progress, which closes by itself
    const QByteArray dstream = "audio dstream_mode=enabled";
    const QByteArray coordination = "audio coord_mode=enabled";
    const QByteArrayList doubleCodec {"PARAM|coord_mode=disabled|target=audio",
        "PARAM|audio_mode=SIP|double_codec=on|network=aoip|target=network",
        "PARAM|ip-codec_mode=cmode_double|target=audio", "DO|action=reinit|network=aoip|target=network"};
    QTest::newRow("outgoing network") << QByteArray() << QByteArray() << QByteArray() << "pick 7 1024"
                                      << QByteArrayList {"PARAM|default_network=wifi.0|target=network"}
                                      << "7 Wi-Fi; 8 Mobile (int 1) L; 9 Single Codec" << QString();
    QTest::newRow("outgoing network during a call")
        << QByteArray() << QByteArray("eth.0") << QByteArray() << "pick 7 1024" << QByteArrayList()
        << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec"
        << "Cannot apply changes\n(a connection is established)";
    QTest::newRow("outgoing network refused")
        << QByteArray() << QByteArray() << QByteArray("default_network") << "pick 7 1024"
        << QByteArrayList {"PARAM|default_network=wifi.0|target=network"}
        << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec" << failed;
    QTest::newRow("secondary network") << dstream << QByteArray() << QByteArray() << "pick 8 256"
                                       << QByteArrayList {"PARAM|secondary_network=eth.0|target=network"}
                                       << "7 Ethernet; 8 Ethernet; 9 Single Codec" << QString();
    QTest::newRow("secondary network refused, held one unlisted")
        << QByteArray(dstream + "\nnetwork secondary_network=wifi.3") << QByteArray() << QByteArray("secondary_network")
        << "pick 8 256" << QByteArrayList {"PARAM|secondary_network=eth.0|target=network"}
        << "7 Ethernet; 8 Wi-Fi (ext 3) red; 9 Single Codec" << failed;
    QTest::newRow("double codec: coordination off first")
        << coordination << QByteArray() << QByteArray() << "pick 9 1" << doubleCodec
        << "7 Ethernet; 8 Mobile (int 1) L; 9 Double Codec" << QString();
    QTest::newRow("coordination refused: no codec mode")
        << coordination << QByteArray() << QByteArray("coord_mode") << "pick 9 1"
        << QByteArrayList {doubleCodec.first()} << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec" << failed;
    QTest::newRow("codec mode refused") << QByteArray() << QByteArray() << QByteArray("ip-codec_mode") << "pick 9 1"
                                        << doubleCodec.mid(1, 2) << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec"
                                        << failed;
    QTest::newRow("codec mode during a call") << QByteArray() << QByteArray("mobile.0") << QByteArray() << "pick 9 1"
                                              << QByteArrayList() << "7 Ethernet; 8 Mobile (int 1) L; 9 Single Codec"
                                              << "Cannot apply changes\n(a connection is established)";
}

void TestSettingsNetwork::immediateRows()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, call);
    QFETCH(QByteArray, refused);
    QFETCH(QString, step);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, rows);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(openNetwork(rig, setup));
    if (!call.isEmpty())
        QVERIFY(rig.callOn(call));
    if (!refused.isEmpty())
        rig.device.refuseKey(refused.toStdString(), "103-parameter set error");
    rig.takeFrames();
    play(rig, step);
    QCOMPARE(writes(rig), frames);
    QCOMPARE(rowsShown(rig, {7, 8, 9}), rows);
    comparePopup(rig, popup);
    QVERIFY(!rig.modified());
}

// Row 44: refused while the interface carries a call or a data link; else the scanned operators after "Auto", and
// the choice becomes the row's text, applied as "plmn".
void TestSettingsNetwork::operatorScan_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<QByteArray>("scan"); // the reply to the scan; empty for the normal one
    QTest::addColumn<int>("chosen"); // -1: no choice
    QTest::addColumn<QString>("popup"); // after the confirmation
    QTest::addColumn<QByteArrayList>("frames"); // of the apply
    const QString list = QStringLiteral("Select Network: Auto, Alpha Mobile, Beta Net");
    QTest::newRow("call on the interface")
        << 17 << QByteArray() << QByteArray("mobile.1") << QByteArray() << -1
        << "Cannot change setting\n(a connection is established)" << QByteArrayList();
    QTest::newRow("data link on the interface")
        << 16 << QByteArray() << QByteArray() << QByteArray() << -1
        << "Cannot change setting\n(the data service is active)" << QByteArrayList();
    QTest::newRow("an operator") << 17 << QByteArray() << QByteArray() << QByteArray() << 2 << list
                                 << QByteArrayList {"PARAM|network=mobile.1|plmn=Beta Net|target=network"};
    QTest::newRow("Auto after an operator")
        << 17 << QByteArray("network:mobile.1 plmn=Beta Net") << QByteArray() << QByteArray() << 0 << list
        << QByteArrayList {"PARAM|network=mobile.1|plmn=auto|target=network"};
    QTest::newRow("Auto, as stored") << 17 << QByteArray() << QByteArray() << QByteArray() << 0 << list
                                     << QByteArrayList();
    QTest::newRow("scan refused") << 17 << QByteArray() << QByteArray() << QByteArray("PARAM;return:ERROR;") << -1
                                  << "Failed to scan networks!" << QByteArrayList();
}

void TestSettingsNetwork::operatorScan()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, call);
    QFETCH(QByteArray, scan);
    QFETCH(int, chosen);
    QFETCH(QString, popup);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(openMobile(rig, pageId, setup));
    if (!call.isEmpty())
        QVERIFY(rig.callOn(call));
    if (!scan.isEmpty())
        answerNext(rig, {"plmn " + scan});
    rig.touch(44);
    if (popup.startsWith(QLatin1String("Cannot"))) {
        QCOMPARE(rig.popupText(), popup);
        QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
        return;
    }
    QCOMPARE(rig.popupText(), QStringLiteral("This may take a while\n\nAre you sure to proceed?"));
    rig.takeFrames();
    QVERIFY(rig.answer(true));
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {"PARAM|network=mobile.1|target=network|LIST plmn"});
    QCOMPARE(rig.popupText(), popup);
    if (chosen == -1) {
        QVERIFY(rig.row(44)->options().isEmpty());
        QCOMPARE(rig.rowText(44), QStringLiteral("Preferred Network Operator | Auto"));
        return;
    }
    QVERIFY(rig.answer(true, chosen));
    QCOMPARE(rig.modified(), !frames.isEmpty());
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QVERIFY(!rig.modified());
}

// The frames of an apply, PIN first; a refused PIN stops it before anything else is sent, and is never sent again
// unless typed again. Steps after " / " are played again before each further attempt; the last attempt is compared.
void TestSettingsNetwork::applies_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("attempts");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup"); // empty: none but the progress, which closes by itself
    QTest::addColumn<bool>("marked"); // afterwards
    const QByteArray pinRequired = "network:mobile.1 pin=122-pin required" + notRegistered;
    const QByteArray pinWrite = "PARAM|network=mobile.1|pin=1111|target=network";
    QTest::newRow("PIN Save and Data Service")
        << QByteArray() << "flip 42; flip 46" << 1
        << QByteArrayList {"PARAM|data_connection=on|network=mobile.1|pin_persistent=on|target=network"} << QString()
        << false;
    QTest::newRow("stored rat not offered, untouched")
        << QByteArray("network:mobile.1 rat=UMTS first") << "type 47=web; flip 46" << 1
        << QByteArrayList {"PARAM|apn=web|data_connection=on|network=mobile.1|target=network"} << QString() << false;
    QTest::newRow("an offered rat") << QByteArray() << "pick 43 6" << 1
                                    << QByteArrayList {"PARAM|network=mobile.1|rat=only LTE|target=network"}
                                    << QString() << false;
    QTest::newRow("password beyond Latin-1")
        << QByteArray() << "type 50=p\u20ac" << 1 << QByteArrayList() << failed << true;
    QTest::newRow("wrong PIN, PIN Save not sent")
        << pinRequired << "type 41=1111; flip 42" << 1 << QByteArrayList {pinWrite} << "Wrong PIN code!" << true;
    QTest::newRow("wrong PIN alone: emptied, unmarked")
        << pinRequired << "type 41=1111" << 1 << QByteArrayList {pinWrite} << "Wrong PIN code!" << false;
    QTest::newRow("wrong PIN not sent again: PIN Save alone")
        << pinRequired << "type 41=1111; flip 42" << 2
        << QByteArrayList {"PARAM|network=mobile.1|pin_persistent=on|target=network"} << QString() << false;
    QTest::newRow("third wrong PIN: PUK required") << pinRequired << "type 41=1111; flip 42 / type 41=1111" << 3
                                                   << QByteArrayList {pinWrite} << "Failed to apply PIN code!" << true;
}

void TestSettingsNetwork::applies()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(int, attempts);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(bool, marked);
    SettingsRig rig;
    rig.device.checkSimPin("1234");
    QVERIFY(openMobile(rig, 17, setup));
    play(rig, steps.section(QStringLiteral(" / "), 0, 0));
    QVERIFY(rig.modified());
    for (int i = 1; i < attempts; ++i) {
        rig.apply();
        rig.framesAfterRoundTrip();
        rig.closePopups();
        play(rig, steps.section(QStringLiteral(" / "), 1));
    }
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    comparePopup(rig, popup);
    QCOMPARE(rig.modified(), marked);
    if (rig.row(41))
        QCOMPARE(rig.rowText(41), QStringLiteral("PIN Code | "));
}

// A refused store leaves the copy as it was, so a retry sends the same again; an accepted PIN is not sent twice.
void TestSettingsNetwork::refusedStoreRetried_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArray>("refused"); // the key whose store fails once
    QTest::addColumn<QByteArrayList>("first");
    QTest::addColumn<QByteArrayList>("retry");
    QTest::addColumn<QByteArray>("stored"); // "<key>=<value>" the device holds after the retry
    const QByteArray store = "PARAM|network=mobile.1|pin_persistent=on|target=network";
    QTest::newRow("store refused") << QByteArray() << "flip 42" << QByteArray("pin_persistent")
                                   << QByteArrayList {store} << QByteArrayList {store}
                                   << QByteArray("pin_persistent=on");
    QTest::newRow("PIN accepted, store refused")
        << QByteArray("network:mobile.1 pin=122-pin required" + notRegistered) << "type 41=1234; flip 42"
        << QByteArray("pin_persistent") << QByteArrayList {"PARAM|network=mobile.1|pin=1234|target=network", store}
        << QByteArrayList {store} << QByteArray("pin_persistent=on");
    // The empty selection is automatic too, but the device holds it, not "auto".
    const QByteArray toAuto = "PARAM|network=mobile.1|plmn=auto|target=network";
    QTest::newRow("Auto over an empty operator, refused")
        << QByteArray("network:mobile.1 plmn=") << "touch 44; ok; ok 0" << QByteArray("plmn") << QByteArrayList {toAuto}
        << QByteArrayList {toAuto} << QByteArray("plmn=auto");
}

void TestSettingsNetwork::refusedStoreRetried()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, first);
    QFETCH(QByteArrayList, retry);
    QFETCH(QByteArray, stored);
    SettingsRig rig;
    rig.device.checkSimPin("1234");
    QVERIFY(openMobile(rig, 17, setup));
    play(rig, steps);
    rig.takeFrames();
    rig.device.addFault(fault(SimDevice::Fault::Nok, 0, refused.toStdString()));
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), first);
    QCOMPARE(rig.popupText(), failed);
    QVERIFY(rig.modified());
    QCOMPARE(rig.pages(), QStringLiteral("1 17"));
    rig.closePopups();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), retry);
    const QByteArray key = stored.left(stored.indexOf('='));
    QCOMPARE(
        QByteArray::fromStdString(rig.device.param("network:mobile.1", key.toStdString())), stored.mid(key.size() + 1));
}

// The right PIN: the SIM is ready, the link says so and the menu is back on the Network page.
void TestSettingsNetwork::pinEntered()
{
    SettingsRig rig;
    rig.device.checkSimPin("1234");
    QVERIFY(openMobile(rig, 17, "network:mobile.1 pin=122-pin required" + notRegistered));
    play(rig, QStringLiteral("type 41=1234"));
    QVERIFY(rig.modified());
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {"PARAM|network=mobile.1|pin=1234|target=network"});
    QCOMPARE(rig.device.param("network:mobile.1", "pin"), std::string("ready"));
    QCOMPARE(rig.pages(), QStringLiteral("1"));
    QCOMPARE(rig.rowText(17), QStringLiteral("Mobile settings (Internal 2) | Configure the Mobile controller"));
    QCOMPARE(SettingsRig::rowColour(rig.row(17)), QStringLiteral("blue"));
    QVERIFY(!rig.modified());
}

QTEST_MAIN(TestSettingsNetwork)
#include "tst_settingsnetwork.moc"
