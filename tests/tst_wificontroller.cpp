// The Wi-Fi controller against the simulated device: the frames it sends, the values it holds, the signal it
// reads and the bars that signal gives.

#include "ccom.h"
#include "rpctesting.h"
#include "signallevel.h"
#include "simdevice.h"
#include "tcomwificontroller.h"

#include <QtTest>

using namespace rpctesting;

namespace {

using Wifi = TComWifiController;
using Names = std::vector<std::string>;
const std::string store0("network:wifi.0");

// The held values, '|' between them, in the order of the device's keys.
QByteArray held(const Wifi &c)
{
    QByteArrayList v {QByteArray::fromStdString(c.ssid()), QByteArray::fromStdString(c.ssidCustom()),
        QByteArray::number(c.authentication()), QByteArray::number(c.authenticationCustom()),
        QByteArray::fromStdString(c.passphrase()), QByteArray::number(c.scan()),
        QByteArray::fromStdString(c.localAddr()), QByteArray::number(c.dataConnection()),
        QByteArray::number(c.dataConnectionState()), QByteArray::number(c.signal()),
        QByteArray::number(c.networkQuality()), QByteArray::number(c.ajbProfile())};
    return v.join('|');
}

// Sends a value through the setter of its key; numbers for the others than the three texts.
bool set(Wifi &c, const QString &key, const QByteArray &value)
{
    const std::string text = value.toStdString();
    const int number = value.toInt();
    if (key == "ssid")
        return c.setSsid(text, true);
    if (key == "passphrase")
        return c.setPassphrase(text, true);
    if (key == "authentication")
        return c.setAuthentication(number, true);
    if (key == "authentication_custom")
        return c.setAuthenticationCustom(number, true);
    if (key == "scan")
        return c.setScan(number, true);
    if (key == "data_connection")
        return c.setDataConnection(number, true);
    if (key == "network_quality")
        return c.setNetworkQuality(number, true);
    return c.setAjbProfile(number, true);
}

} // namespace

class TestWifiController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void notifications_data();
    void notifications();
    void setters_data();
    void setters();
    void fetch();
    void store_data();
    void store();
    void ssidList();

private:
    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    Wifi *m_wifi = nullptr;
    QSignalSpy *m_changed = nullptr;
};

void TestWifiController::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    m_wifi = new Wifi(m_com);
    m_changed = new QSignalSpy(m_wifi, &TComNetworkController::controllerParamChanged);
    QVERIFY(m_wifi->attach("wifi.0", 0, false));
    QCOMPARE(m_wifi->state(), 0);
}

void TestWifiController::cleanup()
{
    const int reported = m_changed->count();
    delete m_changed;
    delete m_wifi;
    delete m_com;
    delete m_device;
    // Wi-Fi values are never reported one by one.
    QCOMPARE(reported, 0);
}

void TestWifiController::notifications_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("level");

    const QByteArray own("INFO;info_type:network_info;info_source:wifi.0;");
    QTest::newRow("-70 dBm") << own + "signal_quality_dbm:-70 dBm;" << true << -70 << 21;
    QTest::newRow("-70dBm") << own + "signal_quality_dbm:-70dBm;" << true << -70 << 21;
    QTest::newRow("-70") << own + "signal_quality_dbm:-70;" << true << 21 << 21;
    QTest::newRow("-113") << own + "signal_quality_dbm:-113;" << true << 0 << 0;
    QTest::newRow("-51") << own + "signal_quality_dbm:-51;" << true << 31 << 31;
    QTest::newRow("0") << own + "signal_quality_dbm:0;" << true << 0 << 0;
    QTest::newRow("empty") << own + "signal_quality_dbm:;" << true << 0 << 0;
    QTest::newRow("absent") << own << true << 0 << 0;
    QTest::newRow("another interface") << QByteArray(
        "INFO;info_type:network_info;info_source:wifi.1;signal_quality_dbm:-51;")
                                       << false << 5 << 5;
    QTest::newRow("no source") << QByteArray("INFO;info_type:network_info;signal_quality_dbm:-51;") << false << 5 << 5;
    // Events of its own interface are taken, and change nothing.
    QTest::newRow("default_network") << QByteArray("EVENT;event_type:default_network;network:wifi.0;ssid:x;") << true
                                     << 5 << 5;
    QTest::newRow("config info") << QByteArray("EVENT;event_type:config info;network:wifi.0;ssid:x;") << true << 5 << 5;
    QTest::newRow("config info, another interface")
        << QByteArray("EVENT;event_type:config info;network:wifi.1;") << false << 5 << 5;
    QTest::newRow("other event") << QByteArray("EVENT;event_type:data connected;network:wifi.0;") << false << 5 << 5;
}

void TestWifiController::notifications()
{
    QFETCH(QByteArray, message);
    QFETCH(bool, handled);
    QFETCH(int, signal);
    QFETCH(int, level);

    m_device->setParam(store0, "signal_quality", "-103");
    QVERIFY(m_wifi->fetch({"signal_quality"}));
    QCOMPARE(m_wifi->signal(), 5);
    m_device->clearRequests();

    RpcMessage received = notifyAndReceive(*m_com, *m_device, message);
    QCOMPARE(received.kind(), int(RpcMessage::Notification));
    if (received.body().kind == kra::CMsg::Info)
        QCOMPARE(m_wifi->handleInfo(received), handled);
    else
        QCOMPARE(m_wifi->handleEvent(received), handled);
    QCOMPARE(m_wifi->signal(), signal);
    QCOMPARE(signalLevel(m_wifi->signal()), level);
    QVERIFY(m_wifi->ssid().empty());
    QCOMPARE(m_device->requests().count(), 0);
}

void TestWifiController::setters_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("values");

    // From: "WPA2-PSK" twice, scan on, data connection on, quality "high", profile "punchy".
    const QByteArray end("|network=wifi.0|target=network");
    QTest::newRow("name in Latin-1") << "ssid" << QByteArray("Caf\xe9") << false
                                     << QByteArray("PARAM|network=wifi.0|ssid=Caf\xc3\xa9|target=network")
                                     << QByteArray("Caf\xe9||4|4||1||1|0|0|4|2");
    QTest::newRow("passphrase refused") << "passphrase" << QByteArray("d\xe9j\xe0") << true
                                        << QByteArray(
                                               "PARAM|network=wifi.0|passphrase=d\xc3\xa9j\xc3\xa0|target=network")
                                        << QByteArray("||4|4||1||1|0|0|4|2");
    QTest::newRow("authentication none") << "authentication" << QByteArray("0") << false
                                         << "PARAM|authentication=none" + end << QByteArray("||0|4||1||1|0|0|4|2");
    QTest::newRow("authentication unknown")
        << "authentication_custom" << QByteArray("9") << false << "PARAM|authentication_custom=none" + end
        << QByteArray("||4|9||1||1|0|0|4|2");
    QTest::newRow("scan off") << "scan" << QByteArray("0") << false
                              << QByteArray("PARAM|network=wifi.0|scan=off|target=network")
                              << QByteArray("||4|4||0||1|0|0|4|2");
    QTest::newRow("data connection refused") << "data_connection" << QByteArray("0") << true
                                             << "PARAM|data_connection=off" + end << QByteArray("||4|4||1||1|0|0|4|2");
    QTest::newRow("quality unknown: held")
        << "network_quality" << QByteArray("-1") << false << QByteArray() << QByteArray("||4|4||1||1|0|0|-1|2");
    QTest::newRow("profile refused") << "ajb_profile" << QByteArray("0") << true << "PARAM|ajb_profile=safe" + end
                                     << QByteArray("||4|4||1||1|0|0|4|2");
}

void TestWifiController::setters()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, values);

    for (const char *k : {"authentication", "authentication_custom"})
        QVERIFY(m_wifi->parseParam(k, "WPA2-PSK"));
    for (const char *k : {"scan", "data_connection"})
        QVERIFY(m_wifi->parseParam(k, "on"));
    QVERIFY(m_wifi->parseParam("network_quality", "high"));
    QVERIFY(m_wifi->parseParam("ajb_profile", "punchy"));
    if (refused)
        m_device->refuseKey(key.toStdString(), kra::ERR_NOT_ALLOWED);

    QCOMPARE(set(*m_wifi, key, value), !refused);
    QCOMPARE(m_device->requests().count(), frame.isEmpty() ? 0 : 1);
    if (!frame.isEmpty())
        QCOMPARE(describe(m_device->requests().first().body()), frame);
    QCOMPARE(held(*m_wifi), values);
}

void TestWifiController::fetch()
{
    const std::pair<const char *, const char *> values[] = {{"ssid", "Caf\xc3\xa9"}, {"ssid_custom", ""},
        {"authentication", "WPA-PSK"}, {"authentication_custom", "WPA3-SAE"}, {"passphrase", "\xc3\xa9t\xc3\xa9"},
        {"scan", "yes"}, {"data_connection", "on"}, {"data_connection_state", "processing"},
        {"network_quality", "middle"}, {"ajb_profile", "safe"}, {"local_addr", "192.168.4.7"}};
    for (const auto &[key, value] : values)
        m_device->setParam(store0, key, value);
    m_device->setParam("network:wifi.1", "ssid", "elsewhere");

    QVERIFY(m_wifi->fetchAll());
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray("PARAM|network=wifi.0|target=network|GET ssid|GET ssid_custom|GET authentication"
                   "|GET authentication_custom|GET passphrase|GET scan|GET data_connection"
                   "|GET data_connection_state|GET network_quality|GET ajb_profile"));
    QCOMPARE(held(*m_wifi), QByteArray("Caf\xe9||3|0|\xe9t\xe9|0||1|2|0|3|0"));

    QVERIFY(!m_wifi->refreshParam("local_addr"));
    m_device->setParam(store0, "data_connection_state", "active");
    QVERIFY(m_wifi->refreshParam("data_connection_state"));
    QVERIFY(m_wifi->fetch({"local_addr"}));
    QCOMPARE(held(*m_wifi), QByteArray("Caf\xe9||3|0|\xe9t\xe9|0|192.168.4.7|1|3|0|3|0"));

    // Keys the device refuses are left as they were; the rest is taken.
    m_device->addFault(script({"PARAM;return:ERROR;ssid:115-resource busy;scan:on;"}));
    QVERIFY(m_wifi->fetch({"ssid", "scan"}));
    QCOMPARE(m_wifi->ssid(), std::string("Caf\xe9"));
    QVERIFY(m_wifi->scan());
    m_device->addFault(script({"PARAM;return:ERROR;ssid:115-resource busy;"}));
    QVERIFY(!m_wifi->fetch({"ssid"}));
    QVERIFY(!m_wifi->fetch({}));

    const int before = m_device->requests().count();
    m_wifi->reset();
    QCOMPARE(held(*m_wifi), QByteArray("||0|0||0||0|0|0|-1|-1"));
    QCOMPARE(m_wifi->state(), -1);
    QCOMPARE(m_device->requests().count(), before);
}

void TestWifiController::store_data()
{
    QTest::addColumn<bool>("read");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame");

    const QStringList writable {"ssid", "ssid_custom", "authentication", "authentication_custom", "passphrase", "scan",
        "data_connection", "network_quality", "ajb_profile"};
    QTest::newRow("all") << true << writable << QByteArray()
                         << QByteArray("PARAM|ajb_profile=punchy|authentication=WPA2-PSK|authentication_custom=none"
                                       "|data_connection=off|network=wifi.0|network_quality=very_high"
                                       "|passphrase=pw|scan=on|ssid=Caf\xc3\xa9|ssid_custom=|target=network");
    QTest::newRow("unknown quality and profile left out")
        << false << writable << QByteArray()
        << QByteArray("PARAM|authentication=none|authentication_custom=none|data_connection=off|network=wifi.0"
                      "|passphrase=|scan=off|ssid=|ssid_custom=|target=network");
    QTest::newRow("nothing known left") << false << QStringList {"network_quality", "ajb_profile"} << QByteArray()
                                        << QByteArray();
    QTest::newRow("read only") << true << QStringList {"local_addr", "data_connection_state"} << QByteArray()
                               << QByteArray();
    QTest::newRow("refused") << true << QStringList {"ssid", "scan"} << QByteArray("ssid")
                             << QByteArray("PARAM|network=wifi.0|scan=on|ssid=Caf\xc3\xa9|target=network");
}

void TestWifiController::store()
{
    QFETCH(bool, read);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (read) {
        m_wifi->setSsid("Caf\xe9", false);
        m_wifi->setAuthentication(Wifi::AuthWpa2Psk, false);
        m_wifi->setPassphrase("pw", false);
        m_wifi->setScan(true, false);
        m_wifi->setNetworkQuality(5, false);
        m_wifi->setAjbProfile(2, false);
    }
    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_wifi);
    Names list;
    for (const QString &name : names)
        list.push_back(name.toStdString());

    QCOMPARE(m_wifi->store(list), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(m_device->requests().count(), frame.isEmpty() ? 0 : 1);
    if (!frame.isEmpty())
        QCOMPARE(describe(m_device->requests().first().body()), frame);
    QCOMPARE(held(*m_wifi), before);
}

void TestWifiController::ssidList()
{
    m_device->setList(store0, "ssid", {"home,net", "Caf\xc3\xa9", "", "guest"});
    QVERIFY(m_wifi->fetchSsidList());
    QCOMPARE(describe(m_device->requests().last().body()), QByteArray("PARAM|network=wifi.0|target=network|LIST ssid"));
    const Names found {"home,net", "Caf\xe9", "", "guest"};
    QCOMPARE(m_wifi->ssidList(), found);

    m_device->addFault(script({"PARAM;return:ERROR;ssid:136-wifi failure;"}));
    QVERIFY(!m_wifi->fetchSsidList());
    QCOMPARE(m_wifi->ssidList(), found);
    m_wifi->reset();
    QCOMPARE(m_wifi->ssidList(), found);

    m_device->setList(store0, "ssid", {"other"});
    QVERIFY(m_wifi->fetchSsidList());
    QCOMPARE(m_wifi->ssidList(), Names {"other"});
}

QTEST_GUILESS_MAIN(TestWifiController)
#include "tst_wificontroller.moc"
