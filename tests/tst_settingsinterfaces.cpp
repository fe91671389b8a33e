// The Ethernet, ISDN and Wi-Fi pages of the settings menu against the simulated device: the rows each shows and
// locks, the modified mark, the frames an apply sends, the Wi-Fi network choice and the Ethernet re-read.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsInterfaces : public QObject
{
    Q_OBJECT

private slots:
    void builds_data();
    void builds();
    void scanListOfTheInterface();
    void scanListOfTheConnection_data();
    void scanListOfTheConnection();
    void changeMark_data();
    void changeMark();
    void applies_data();
    void applies();
    void refusedStoreRetried();
    void networkChoice_data();
    void networkChoice();
    void configInfo_data();
    void configInfo();
};

namespace {

const QByteArray ethernetSetup = R"(
network:eth.0 local_addr=192.168.1.20
network:eth.0 subnet=255.255.255.0
network:eth.0 gateway=192.168.1.1
network:eth.0 dns1=192.168.1.1
network:eth.0 dns2=
network:eth.0 link_mode=autonegotiation
network:eth.0 hw_addr=00:1a:2b:3c:4d:5e
network:eth.0 network_quality=high
network:eth.0 ajb_profile=punchy
network:eth.1 mode=dhcp
network:eth.1 link_mode=100baseT-FD
network:wifi.0 scan=on
network:wifi.0 data_connection=off
network:wifi.0 ssid=Studio
network:wifi.0 authentication=WPA2-PSK
network:wifi.0 passphrase=open sesame
network:wifi.0 ajb_profile=safe
network:wifi.0 ssid=[Studio,Office]
network:wifi.1 scan=on
)";

// The rig logged in on the device with the set-up above and the case's lines, the interface page open as the
// user opens it (its link added when the Network page has none) and read with the replies given, the log empty.
bool openInterface(SettingsRig &rig, int pageId, const QByteArray &setup = {}, const QByteArrayList &replies = {})
{
    rig.device.loadSetup(ethernetSetup + setup);
    if (!rig.startSettings() || !rig.openPageId(QVexmar::SettingsNetwork))
        return false;
    answerNext(rig, replies);
    QVexmarMenuItem *link = rig.row(pageId);
    rig.touch(link ? link : rig.addRow(rig.current(), pageId, QVexmarMenuItem::SubMenu));
    rig.takeFrames();
    return rig.current()->pageId == pageId;
}

} // namespace

// Rows, values and locks as built from the copy the page attached; the detail row in full.
void TestSettingsInterfaces::builds_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("detailRow");
    QTest::addColumn<QString>("detail");
    const QByteArrayList normal;
    const QString linkModes = QStringLiteral("Auto Negotiation, 100BaseT-FD, 100BaseT-HD, 10BaseT-FD, 10BaseT-HD");
    QTest::newRow("eth.0 DHCP") << 12 << QByteArray() << normal
                                << "24 Active; 25 192.168.1.20 L; 26 255.255.255.0 L; 27 192.168.1.1 L; "
                                   "28 192.168.1.1 L; 29  L; 30 Auto Negotiation; 33 Punchy; 32 00:1a:2b:3c:4d:5e L"
                                << 30 << "Link Mode | Auto Negotiation | *" + linkModes;
    QTest::newRow("eth.0 manual, fixed jitter buffer")
        << 12 << QByteArray("network:eth.0 mode=manual\nnetwork:aoip jitterab=off") << normal
        << "24 Disabled; 25 192.168.1.20; 26 255.255.255.0; 27 192.168.1.1; 28 192.168.1.1; 29 ; "
           "30 Auto Negotiation; 31 High; 32 00:1a:2b:3c:4d:5e L"
        << 31 << "Network Quality | High | Very High, *High, Middle, Low, Bad, Very Bad";
    QTest::newRow("eth.1 link locked") << 13 << QByteArray() << normal
                                       << "24 Active; 25  L; 26  L; 27  L; 28  L; 29  L; 30 100BaseT-FD L; "
                                          "33 Standard; 32  L"
                                       << 30
                                       << "Link Mode | 100BaseT-FD | Auto Negotiation, *100BaseT-FD, "
                                          "100BaseT-HD, 10BaseT-FD, 10BaseT-HD";
    QTest::newRow("link mode not offered") << 12 << QByteArray("network:eth.0 link_mode=1000baseT-FD") << normal
                                           << "24 Active; 25 192.168.1.20 L; 26 255.255.255.0 L; 27 192.168.1.1 L; "
                                              "28 192.168.1.1 L; 29  L; 30 1000BaseT-FD red; 33 Punchy; "
                                              "32 00:1a:2b:3c:4d:5e L"
                                           << 30 << "Link Mode | 1000BaseT-FD | " + linkModes;
    QTest::newRow("pppoe, values not read")
        << 14 << QByteArray() << QByteArrayList {"eth.2 PARAM;return:OK;mode:pppoe;"}
        << "24 Active; 25  L; 26  L; 27  L; 28  L; 29  L; 30 Unknown L; 33 Unknown L; 32  L" << 33
        << "AJB Policy | Unknown | *Unknown";
    QTest::newRow("eth.3 not attached")
        << 15 << QByteArray() << QByteArrayList {"eth.3 PARAM;return:ERROR;"}
        << "24 Active L; 25  L; 26  L; 27  L; 28  L; 29  L; 30 Unknown L; 33 Unknown L; 32  L" << 30
        << "Link Mode | Unknown | *Unknown";
    QTest::newRow("ISDN NI") << 11 << SimDevice::isdnSetup() << normal
                             << "34 Active; 35 NI-1 / NI-2; 36 5550100 L; 37 5550101 L; 38 1 L; 39 2 L; 40 0123456789"
                             << 35 << "Protocol | NI-1 / NI-2 | Euro ISDN, *NI-1 / NI-2, NTT";
    QTest::newRow("ISDN not attached") << 11 << SimDevice::isdnSetup()
                                       << QByteArrayList {"isdn.0 PARAM;return:ERROR;", "5as PARAM;return:ERROR;"}
                                       << "34 Disabled L; 35 Euro ISDN L; 36  L; 37  L; 38  L; 39  L; 40  L" << 40
                                       << "SPID | ";
    QTest::newRow("Wi-Fi scanning") << 20 << QByteArray() << normal
                                    << "59 Active; 60 Disabled; 61 Select a Wi-Fi network from list; 62 Studio; "
                                       "63 WPA2-PSK; 64 open sesame; 66 Safe"
                                    << 63 << "Security | WPA2-PSK | None, Auto, WEP, WPA-PSK, *WPA2-PSK";
    QTest::newRow("Wi-Fi connected") << 20 << QByteArray("network:wifi.0 data_connection=on") << normal
                                     << "59 Active L; 60 Active; 61 Select a Wi-Fi network from list L; "
                                        "62 Studio L; 63 WPA2-PSK L; 64 open sesame L; 66 Safe"
                                     << 61 << "Network List | Select a Wi-Fi network from list | Studio, Office";
    QTest::newRow("Wi-Fi names beyond Latin-1")
        << 20
        << QByteArray("network:wifi.0 ssid=\xc5\x81\xc3\xb3\x64\xc5\xba\nnetwork:wifi.0 "
                      "ssid=[Studio,\xc5\x81\xc3\xb3\x64\xc5\xba]")
        << normal
        << "59 Active; 60 Disabled; 61 Select a Wi-Fi network from list; 62 \u0141\u00f3d\u017a; 63 WPA2-PSK; "
           "64 open sesame; 66 Safe"
        << 61 << "Network List | Select a Wi-Fi network from list | Studio, \u0141\u00f3d\u017a";
    QTest::newRow("Wi-Fi not scanning, nothing found")
        << 20 << QByteArray("network:wifi.0 scan=off\nnetwork:wifi.0 ssid=[]") << normal
        << "59 Disabled; 60 Disabled L; 61 No Wi-Fi network Found L; 62 Studio; 63 WPA2-PSK; 64 open sesame; 66 Safe"
        << 61 << "Network List | No Wi-Fi network Found";
    QTest::newRow("Wi-Fi scan refused")
        << 20 << QByteArray() << QByteArrayList {"wifi.0 ", "wifi.0 PARAM;return:ERROR;"}
        << "59 Active; 60 Disabled; 61 No Wi-Fi network Found L; 62 Studio; 63 WPA2-PSK; 64 open sesame; 66 Safe" << 61
        << "Network List | No Wi-Fi network Found";
    QTest::newRow("Wi-Fi not attached")
        << 22 << QByteArray() << QByteArrayList {"wifi.2 PARAM;return:ERROR;"}
        << "59 Disabled L; 60 Disabled L; 61 No Wi-Fi network Found L; 62  L; 63 None L; 64  L; 66 Unknown L" << 59
        << "Scan Active | Disabled";
}

void TestSettingsInterfaces::builds()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, replies);
    QFETCH(QString, rows);
    QFETCH(int, detailRow);
    QFETCH(QString, detail);
    SettingsRig rig;
    QVERIFY(openInterface(rig, pageId, setup, replies));
    QCOMPARE(rowsShown(rig), rows);
    QCOMPARE(rig.rowText(detailRow), detail);
    QVERIFY(!rig.modified());
}

// One copy serves every Wi-Fi interface: the list found on wifi.0 is not shown on wifi.1, whose scan failed, but
// wifi.0 shows it again when its own next scan fails. A list is cut at 256 names.
void TestSettingsInterfaces::scanListOfTheInterface()
{
    SettingsRig rig;
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << QStringLiteral("Net%1").arg(i);
    QVERIFY(openInterface(rig, 20, "network:wifi.0 ssid=[" + names.join(QLatin1Char(',')).toLatin1() + "]"));
    QCOMPARE(rig.row(61)->options().size(), 256);
    QCOMPARE(rig.row(61)->options().last().text, QStringLiteral("Net255"));
    rig.back();
    answerNext(rig, {"wifi.1 ", "wifi.1 PARAM;return:ERROR;"});
    rig.touch(rig.addRow(rig.current(), 21, QVexmarMenuItem::SubMenu));
    QCOMPARE(rig.rowText(61), QStringLiteral("Network List | No Wi-Fi network Found"));
    rig.back();
    answerNext(rig, {"wifi.0 ", "wifi.0 PARAM;return:ERROR;"});
    rig.touch(20);
    QCOMPARE(rig.row(61)->options().size(), 256);
    QVERIFY(!rig.row(61)->isLocked());
}

// A list found on one codec is not shown for another: after the connection ends, a failed scan finds nothing.
void TestSettingsInterfaces::scanListOfTheConnection_data()
{
    QTest::addColumn<bool>("reconnect");
    QTest::addColumn<QString>("list");
    QTest::newRow("same connection") << false << "Network List | Select a Wi-Fi network from list | Studio, Office";
    QTest::newRow("connected again") << true << "Network List | No Wi-Fi network Found";
}

void TestSettingsInterfaces::scanListOfTheConnection()
{
    QFETCH(bool, reconnect);
    QFETCH(QString, list);
    SettingsRig rig;
    QVERIFY(openInterface(rig, 20));
    rig.back();
    if (reconnect) {
        getCom()->disconnectFromDevice();
        QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
        rig.device.loadSetup("network:wifi.0 ssid=Newsroom");
        QVERIFY(rig.connect());
        QTRY_VERIFY_WITH_TIMEOUT(rig.window->setupTimer()->isActive(), 10000);
    }
    answerNext(rig, {"wifi.0 ", "wifi.0 PARAM;return:ERROR;"});
    rig.touch(20);
    QCOMPARE(rig.current()->pageId, 20);
    QCOMPARE(rig.rowText(61), list);
}

// The mark follows the change test; locked rows never count, and the Wi-Fi switches lock each other.
void TestSettingsInterfaces::changeMark_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("locked");
    QTest::newRow("DHCP off") << 12 << QByteArray() << "flip 24" << true << "32";
    QTest::newRow("DHCP off, address edited, DHCP on")
        << 12 << QByteArray() << "flip 24; type 25=10.0.0.9; flip 24" << false << "25 26 27 28 29 32";
    QTest::newRow("pppoe counts as DHCP")
        << 12 << QByteArray("network:eth.0 mode=pppoe") << "pick 33 0; pick 33 2" << false << "25 26 27 28 29 32";
    QTest::newRow("ISDN Euro") << 11 << SimDevice::isdnSetup() << "pick 35 0" << true << "40";
    QTest::newRow("ISDN back to NI") << 11 << SimDevice::isdnSetup() << "pick 35 2; pick 35 1" << false
                                     << "36 37 38 39";
    // Row 39 against its own field: the first sub-address's value is a change.
    QTest::newRow("ISDN Euro, second sub-address set to the first's")
        << 11 << SimDevice::isdnSetup() + "network:isdn.0 protocol=isdn_udss1\n"
        << "type 39=1" << true << "40";
    QTest::newRow("scan off locks connection") << 20 << QByteArray() << "flip 59" << true << "60";
    QTest::newRow("both on lock scan") << 20 << QByteArray() << "flip 60" << true << "59";
    QTest::newRow("scan off and on") << 20 << QByteArray() << "flip 59; flip 59" << false << QString();
}

void TestSettingsInterfaces::changeMark()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(bool, modified);
    QFETCH(QString, locked);
    SettingsRig rig;
    QVERIFY(openInterface(rig, pageId, setup));
    play(rig, steps);
    QCOMPARE(rig.modified(), modified);
    QCOMPARE(lockedRows(rig), locked);
    QVERIFY(rig.takeFrames().isEmpty());
}

// The frames an apply sends, keys in one PARAM per target; the popup, the mark and the locks afterwards.
void TestSettingsInterfaces::applies_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("locked");
    const QString applying = QStringLiteral("Applying changes...");
    const QString failed = QStringLiteral("Failed to apply changes!");
    const QByteArray manual = "network:eth.0 mode=manual";
    QTest::newRow("DHCP off, one address edited")
        << 12 << QByteArray() << "flip 24; type 26=255.255.0.0"
        << QByteArrayList {"PARAM|dns1=192.168.1.1|dns2=|gateway=192.168.1.1|local_addr=192.168.1.20|mode=manual|"
                           "network=eth.0|subnet=255.255.0.0|target=network"}
        << applying << "32";
    QTest::newRow("DHCP on") << 12 << manual << "flip 24"
                             << QByteArrayList {"PARAM|mode=dhcp|network=eth.0|target=network"} << applying
                             << "25 26 27 28 29 32";
    QTest::newRow("address and empty gateway")
        << 12 << manual << "type 25=10.0.0.2; type 27="
        << QByteArrayList {"PARAM|gateway=|local_addr=10.0.0.2|network=eth.0|target=network"} << applying << "32";
    QTest::newRow("link mode on eth.0") << 12 << QByteArray() << "pick 30 7"
                                        << QByteArrayList {"PARAM|link_mode=10baseT-FD|network=eth.0|target=network"}
                                        << applying << "25 26 27 28 29 32";
    QTest::newRow("pppoe and held link mode kept")
        << 12 << QByteArray("network:eth.0 mode=pppoe\nnetwork:eth.0 link_mode=2500baseT-FD") << "pick 33 0"
        << QByteArrayList {"PARAM|ajb_profile=safe|network=eth.0|target=network"} << applying << "25 26 27 28 29 32";
    QTest::newRow("address of three parts") << 12 << manual << "type 25=10.0.0" << QByteArrayList() << failed << "32";
    QTest::newRow("address part over 255")
        << 12 << manual << "type 25=10.0.0.256" << QByteArrayList() << failed << "32";
    QTest::newRow("empty subnet mask") << 12 << QByteArray() << "flip 24; type 26=" << QByteArrayList() << failed
                                       << "32";
    QTest::newRow("passphrase beyond Latin-1")
        << 20 << QByteArray() << "type 64=open sesame \u20ac"
        << QByteArrayList {"PARAM|network=wifi.0|passphrase=open sesame \xe2\x82\xac|target=network"} << applying
        << QString();
    QTest::newRow("network beyond Latin-1 picked from the list")
        << 20 << QByteArray("network:wifi.0 ssid=[Studio,\xc5\x81\xc3\xb3\x64\xc5\xba]") << "pick 61 1"
        << QByteArrayList {"PARAM|authentication=auto|network=wifi.0|passphrase=|ssid=\xc5\x81\xc3\xb3\x64\xc5\xba|"
                           "target=network"}
        << applying << QString();
    QTest::newRow("nothing changed") << 12 << QByteArray() << QString() << QByteArrayList() << QString()
                                     << "25 26 27 28 29 32";
    QTest::newRow("ISDN protocol, number and 5AS")
        << 11 << SimDevice::isdnSetup() << "flip 34; pick 35 0; type 36=5550199"
        << QByteArrayList {"PARAM|addr_sb0_ch0=5550199|network=isdn.0|protocol=isdn_udss1|target=network",
               "PARAM|5as=off|target=audio"}
        << applying << "40";
    // Each number to its own key.
    const QByteArray euro = "network=isdn.0|protocol=isdn_udss1|";
    QTest::newRow("ISDN second number") << 11 << SimDevice::isdnSetup() << "pick 35 0; type 37=5550102"
                                        << QByteArrayList {"PARAM|addr_sb0_ch1=5550102|" + euro + "target=network"}
                                        << applying << "40";
    QTest::newRow("ISDN first sub-address")
        << 11 << SimDevice::isdnSetup() << "pick 35 0; type 38=3"
        << QByteArrayList {"PARAM|" + euro + "subaddr_sb0_ch0=3|target=network"} << applying << "40";
    QTest::newRow("ISDN second sub-address")
        << 11 << SimDevice::isdnSetup() << "pick 35 0; type 39=4"
        << QByteArrayList {"PARAM|" + euro + "subaddr_sb0_ch1=4|target=network"} << applying << "40";
    QTest::newRow("ISDN SPID") << 11 << SimDevice::isdnSetup() << "type 40=9876543210"
                               << QByteArrayList {"PARAM|network=isdn.0|spid=9876543210|target=network"} << applying
                               << "36 37 38 39";
    QTest::newRow("security Auto") << 20 << QByteArray() << "pick 63 1"
                                   << QByteArrayList {"PARAM|authentication=auto|network=wifi.0|target=network"}
                                   << applying << QString();
    QTest::newRow("security WPA2-PSK")
        << 20 << QByteArray("network:wifi.0 authentication=none") << "pick 63 4"
        << QByteArrayList {"PARAM|authentication=WPA2-PSK|authentication_custom=WPA2-PSK|network=wifi.0|target=network"}
        << applying << QString();
    QTest::newRow("connection on locks the network")
        << 20 << QByteArray() << "type 62=Office; flip 60"
        << QByteArrayList {"PARAM|data_connection=on|network=wifi.0|ssid=Office|target=network"} << applying
        << "59 61 62 63 64";
    QTest::newRow("scan turned on, then locked by the connection")
        << 20 << QByteArray("network:wifi.0 scan=off") << "flip 59; flip 60"
        << QByteArrayList {"PARAM|data_connection=on|network=wifi.0|scan=on|target=network"} << applying
        << "59 61 62 63 64";
    // Scan off locks the connection switch the user has just turned off: both go, in one frame.
    QTest::newRow("connection off, then scan off")
        << 20 << QByteArray("network:wifi.0 data_connection=on") << "flip 60; flip 59"
        << QByteArrayList {"PARAM|data_connection=off|network=wifi.0|scan=off|target=network"} << applying << "60";
}

void TestSettingsInterfaces::applies()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(QString, locked);
    SettingsRig rig;
    QVERIFY(openInterface(rig, pageId, setup));
    play(rig, steps);
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), popup);
    // A failure stays until the user has read it.
    if (popup == QLatin1String("Failed to apply changes!"))
        QVERIFY(!rig.popupClosesItself());
    QCOMPARE(rig.modified(), popup == QLatin1String("Failed to apply changes!"));
    QCOMPARE(lockedRows(rig), locked);
}

// A refused store leaves the copy as it was: the mark stays and a retry sends the same again.
void TestSettingsInterfaces::refusedStoreRetried()
{
    SettingsRig rig;
    QVERIFY(openInterface(rig, 12));
    play(rig, QStringLiteral("pick 33 1; pick 30 5"));
    rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "ajb_profile"));
    rig.apply();
    const QByteArrayList frames {"PARAM|ajb_profile=standard|link_mode=100baseT-FD|network=eth.0|target=network"};
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(!rig.popupClosesItself());
    QVERIFY(rig.modified());
    rig.closePopups();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QVERIFY(!rig.modified());
    QCOMPARE(rig.device.param("network:eth.0", "ajb_profile"), std::string("standard"));
}

// Another network fills the name, "Auto" and an empty passphrase; the network the copy has changes nothing.
void TestSettingsInterfaces::networkChoice_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("modified");
    QTest::newRow("another") << 1 << "62 Office; 63 Auto; 64 " << true;
    QTest::newRow("the same") << 0 << "62 Studio; 63 WPA2-PSK; 64 open sesame" << false;
}

void TestSettingsInterfaces::networkChoice()
{
    QFETCH(int, chosen);
    QFETCH(QString, rows);
    QFETCH(bool, modified);
    SettingsRig rig;
    QVERIFY(openInterface(rig, 20));
    rig.touch(61);
    QCOMPARE(rig.popupText(), QStringLiteral(": Studio, Office"));
    QVERIFY(rig.answer(true, chosen));
    QStringList shown;
    for (int id : {62, 63, 64})
        shown << QStringLiteral("%1 %2").arg(id).arg(rig.row(id)->valueLabel->text());
    QCOMPARE(shown.join(QStringLiteral("; ")), rows);
    QCOMPARE(rig.modified(), modified);
    QCOMPARE(rig.rowText(61), QStringLiteral("Network List | Select a Wi-Fi network from list | Studio, Office"));
}

// The copy's "config info" rewrites the open page; the re-read unlocks Link Mode on any attached interface. A link
// mode the page does not offer stays red with no option current, so that the next apply leaves it alone.
void TestSettingsInterfaces::configInfo_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    QTest::newRow("eth.0") << 12 << QByteArray()
                           << "24 Disabled; 25 10.1.1.5; 26 255.0.0.0; 27 10.1.1.1; 28 10.1.1.1; 29 10.1.1.2; "
                              "30 Auto Negotiation; 33 Punchy; 32 00:1a:2b:3c:4d:5e L";
    QTest::newRow("eth.1") << 13 << QByteArray()
                           << "24 Disabled; 25 10.1.1.5; 26 255.0.0.0; 27 10.1.1.1; 28 10.1.1.1; 29 10.1.1.2; "
                              "30 100BaseT-FD; 33 Standard; 32  L";
    QTest::newRow("eth.0, link mode not offered")
        << 12 << QByteArray("network:eth.0 link_mode=1000baseT-FD")
        << "24 Disabled; 25 10.1.1.5; 26 255.0.0.0; 27 10.1.1.1; 28 10.1.1.1; 29 10.1.1.2; "
           "30 1000BaseT-FD red; 33 Punchy; 32 00:1a:2b:3c:4d:5e L";
}

void TestSettingsInterfaces::configInfo()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openInterface(rig, pageId, setup));
    play(rig, QStringLiteral("flip 24"));
    QVERIFY(rig.modified());
    const QByteArray name = "eth." + QByteArray::number(pageId - 12);
    QVERIFY(rig.deliver({"EVENT;event_type:config info;network:" + name
        + ";mode:manual;local_addr:10.1.1.5;subnet:255.0.0.0;gateway:10.1.1.1;dns1:10.1.1.1;dns2:10.1.1.2;"}));
    QCOMPARE(rowsShown(rig), rows);
    QVERIFY(!rig.modified());

    // An apply of another row afterwards sends that row alone.
    rig.takeFrames();
    play(rig, QStringLiteral("pick 33 0"));
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {"PARAM|ajb_profile=safe|network=" + name + "|target=network"});
}

QTEST_MAIN(TestSettingsInterfaces)
#include "tst_settingsinterfaces.moc"
