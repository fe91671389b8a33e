// The Wi-Fi controller against the simulated device: the frames it sends, the values it holds, the signal it
// reads and the bars that signal gives.

#include "controllers/signallevel.h"
#include "controllers/tcomwificontroller.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <memory>

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
bool set(Wifi &c, const QByteArray &key, const QByteArray &value)
{
    const int number = value.toInt();
    if (key == "ssid")
        return c.setSsid(value.toStdString(), true);
    if (key == "ssid_custom")
        return c.setSsidCustom(value.toStdString(), true);
    if (key == "passphrase")
        return c.setPassphrase(value.toStdString(), true);
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
    void wireKeys_data();
    void wireKeys();

private:
    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    std::unique_ptr<Wifi> m_wifi;
    std::unique_ptr<QSignalSpy> m_changed;
};

void TestWifiController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    m_wifi = std::make_unique<Wifi>(&m_bench->com);
    m_changed = std::make_unique<QSignalSpy>(m_wifi.get(), &TComNetworkController::controllerParamChanged);
    QVERIFY(m_wifi->attach("wifi.0", 0, false));
    QCOMPARE(m_wifi->state(), 0);
}

void TestWifiController::cleanup()
{
    // Wi-Fi values are never reported one by one.
    QCOMPARE(m_changed->count(), 0);
    m_changed.reset();
    m_wifi.reset();
    m_bench.reset();
}

void TestWifiController::notifications_data()
{
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("level");
    const auto row = [](const char *name, const QByteArray &message, bool handled, int signal, int level) {
        QTest::newRow(name) << message << handled << signal << level;
    };
    const QByteArray own("INFO;info_type:network_info;info_source:wifi.0;signal_quality_dbm:");

    row("-70 dBm", own + "-70 dBm;", true, -70, 21);
    row("-70dBm", own + "-70dBm;", true, -70, 21);
    row("-70", own + "-70;", true, 21, 21);
    row("-113", own + "-113;", true, 0, 0);
    row("-51", own + "-51;", true, 31, 31);
    row("0", own + "0;", true, 0, 0);
    row("empty", own + ";", true, 0, 0);
    row("absent", "INFO;info_type:network_info;info_source:wifi.0;", true, 0, 0);
    row("another interface", "INFO;info_type:network_info;info_source:wifi.1;signal_quality_dbm:-51;", false, 5, 5);
    row("no source", "INFO;info_type:network_info;signal_quality_dbm:-51;", false, 5, 5);
    // Events of its own interface are taken, and change nothing.
    row("default_network", "EVENT;event_type:default_network;network:wifi.0;ssid:x;", true, 5, 5);
    row("config info", "EVENT;event_type:config info;network:wifi.0;ssid:x;", true, 5, 5);
    row("config info, another interface", "EVENT;event_type:config info;network:wifi.1;", false, 5, 5);
    row("other event", "EVENT;event_type:data connected;network:wifi.0;", false, 5, 5);
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

    RpcMessage received = m_bench->notify(message);
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
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("sent"); // null: nothing sent
    QTest::addColumn<QByteArray>("values");
    const auto row = [](const char *key, const char *value, const char *sent, const char *values,
                         bool refused = false) {
        QTest::newRow(key) << QByteArray(key) << QByteArray(value) << refused << QByteArray(sent) << QByteArray(values);
    };

    // From: "WPA2-PSK" twice, scan on, data connection on, quality "high", profile "punchy".
    row("ssid", "Caf\xc3\xa9", "Caf\xc3\xa9", "Caf\xc3\xa9||4|4||1||1|0|0|4|2");
    row("passphrase", "d\xc3\xa9j\xc3\xa0", "d\xc3\xa9j\xc3\xa0", "||4|4||1||1|0|0|4|2", true);
    row("authentication", "0", "none", "||0|4||1||1|0|0|4|2");
    row("authentication_custom", "9", "none", "||4|9||1||1|0|0|4|2");
    row("data_connection", "0", "off", "||4|4||1||1|0|0|4|2", true);
    row("network_quality", "-1", nullptr, "||4|4||1||1|0|0|-1|2");
    row("ajb_profile", "0", "safe", "||4|4||1||1|0|0|4|2", true);
}

void TestWifiController::setters()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, sent);
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
    QCOMPARE(m_bench->takeFrames(),
        sent.isNull()
            ? QByteArrayList()
            : QByteArrayList {describe(body("PARAM;network:wifi.0;target:network;" + key + ":" + sent + ";"))});
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
    QCOMPARE(m_bench->takeFrames(),
        QByteArrayList {"PARAM|network=wifi.0|target=network|GET ssid|GET ssid_custom|GET authentication"
                        "|GET authentication_custom|GET passphrase|GET scan|GET data_connection"
                        "|GET data_connection_state|GET network_quality|GET ajb_profile"});
    QCOMPARE(held(*m_wifi), QByteArray("Caf\xc3\xa9||3|0|\xc3\xa9t\xc3\xa9|0||1|2|0|3|0"));
    QVERIFY(!m_wifi->refreshParam("local_addr"));
    m_device->setParam(store0, "data_connection_state", "active");
    QVERIFY(m_wifi->refreshParam("data_connection_state"));
    QVERIFY(m_wifi->fetch({"local_addr"}));
    QCOMPARE(held(*m_wifi), QByteArray("Caf\xc3\xa9||3|0|\xc3\xa9t\xc3\xa9|0|192.168.4.7|1|3|0|3|0"));

    // Keys the device refuses are left as they were; the rest is taken.
    m_device->addFault(script({"PARAM;return:ERROR;ssid:115-resource busy;scan:on;"}));
    QVERIFY(m_wifi->fetch({"ssid", "scan"}));
    QCOMPARE(m_wifi->ssid(), std::string("Caf\xc3\xa9"));
    QVERIFY(m_wifi->scan());
    m_device->addFault(script({"PARAM;return:ERROR;ssid:115-resource busy;"}));
    QVERIFY(!m_wifi->fetch({"ssid"}));
    QVERIFY(!m_wifi->fetch({}));

    m_bench->takeFrames();
    m_wifi->reset();
    QCOMPARE(held(*m_wifi), QByteArray("||0|0||0||0|0|0|-1|-1"));
    QCOMPARE(m_wifi->state(), -1);
    QCOMPARE(m_bench->takeFrames(), QByteArrayList());
}

void TestWifiController::store_data()
{
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    const auto row = [](const char *name, bool read, const char *names, const char *refuse, const QByteArray &frame) {
        QTest::newRow(name) << read << QByteArray(names) << QByteArray(refuse) << frame;
    };
    const char *writable
        = "ssid,ssid_custom,authentication,authentication_custom,passphrase,scan,data_connection,network_quality,"
          "ajb_profile";

    row("all", true, writable, "",
        "PARAM|ajb_profile=punchy|authentication=WPA2-PSK|authentication_custom=none|data_connection=off"
        "|network=wifi.0|network_quality=very_high|passphrase=pw|scan=on|ssid=Caf\xc3\xa9|ssid_custom=|target=network");
    row("unknown quality and profile left out", false, writable, "",
        "PARAM|authentication=none|authentication_custom=none|data_connection=off|network=wifi.0|passphrase=|scan=off"
        "|ssid=|ssid_custom=|target=network");
    row("nothing known left", false, "network_quality,ajb_profile", "", "");
    row("read only", true, "local_addr,data_connection_state", "", "");
    row("refused", true, "ssid,scan", "ssid", "PARAM|network=wifi.0|scan=on|ssid=Caf\xc3\xa9|target=network");
}

void TestWifiController::store()
{
    QFETCH(bool, read);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (read) {
        m_wifi->setSsid("Caf\xc3\xa9", false);
        m_wifi->setAuthentication(Wifi::AuthWpa2Psk, false);
        m_wifi->setPassphrase("pw", false);
        m_wifi->setScan(true, false);
        m_wifi->setNetworkQuality(5, false);
        m_wifi->setAjbProfile(2, false);
    }
    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_wifi);

    QCOMPARE(m_wifi->store(rpctesting::names(names)), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(m_bench->takeFrames(), frame.isEmpty() ? QByteArrayList() : QByteArrayList {frame});
    QCOMPARE(held(*m_wifi), before);
}

void TestWifiController::ssidList()
{
    m_device->setList(store0, "ssid", {"home,net", "Caf\xc3\xa9", "", "guest"});
    QVERIFY(m_wifi->fetchSsidList());
    QCOMPARE(m_bench->takeFrames(), QByteArrayList {"PARAM|network=wifi.0|target=network|LIST ssid"});
    const Names found {"home,net", "Caf\xc3\xa9", "", "guest"};
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

// Each key as the device spells it: the read the controller makes of it (all its values, or the one name) asks for it
// and takes the device's text; a writable one is written under it. The scan results are the list of "ssid".
void TestWifiController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("read"); // "all", "one" or "list"
    QTest::addColumn<int>("field"); // the place in held()
    QTest::addColumn<QByteArray>("device"); // what the device holds
    QTest::addColumn<QByteArray>("held"); // the value read
    QTest::addColumn<QByteArray>("value"); // a value set with send ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire; null: read only

    const auto row = [](const char *name, const char *key, const char *read, int field, const char *device,
                         const char *held, const char *value, const char *sent) {
        QTest::newRow(name) << QByteArray(key) << QByteArray(read) << field << QByteArray(device) << QByteArray(held)
                            << QByteArray(value) << QByteArray(sent);
    };
    row("ssid", "ssid", "all", 0, "Studio", "Studio", "Office", "Office");
    row("ssid_custom", "ssid_custom", "all", 1, "Hidden", "Hidden", "Cellar", "Cellar");
    row("authentication", "authentication", "all", 2, "WEP", "2", "3", "WPA-PSK");
    row("authentication_custom", "authentication_custom", "all", 3, "WPA2-PSK", "4", "1", "auto");
    row("passphrase", "passphrase", "all", 4, "open sesame", "open sesame", "sesame", "sesame");
    row("scan", "scan", "all", 5, "on", "1", "0", "off");
    row("local_addr", "local_addr", "one", 6, "10.4.0.7", "10.4.0.7", nullptr, nullptr);
    row("data_connection", "data_connection", "all", 7, "on", "1", "0", "off");
    row("data_connection_state", "data_connection_state", "all", 8, "processing", "2", nullptr, nullptr);
    row("signal_quality", "signal_quality", "one", 9, "27", "70", nullptr, nullptr);
    row("signal_quality_dbm", "signal_quality_dbm", "one", 9, "-61 dBm", "-61", nullptr, nullptr);
    row("network_quality", "network_quality", "all", 10, "middle", "3", "4", "high");
    row("ajb_profile", "ajb_profile", "all", 11, "punchy", "2", "0", "safe");
    row("scan results", "ssid", "list", -1, "Studio,Office", "Studio,Office", nullptr, nullptr);
}

void TestWifiController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, read);
    QFETCH(int, field);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    const std::string name = key.toStdString();
    if (read == "list") {
        m_device->setList(store0, name, rpctesting::names(device));
        QVERIFY(m_wifi->fetchSsidList());
        QCOMPARE(m_bench->takeFrames(), QByteArrayList {"PARAM|network=wifi.0|target=network|LIST " + key});
        QByteArrayList found;
        for (const std::string &item : m_wifi->ssidList())
            found << QByteArray::fromStdString(item);
        QCOMPARE(found.join(','), held);
        return;
    }
    m_device->setParam(store0, name, device.toStdString());
    QVERIFY(read == "all" ? m_wifi->fetchAll() : m_wifi->fetch({name}));
    QVERIFY(askedNames(m_bench->takeFrames()).contains(key));
    QCOMPARE(::held(*m_wifi).split('|').at(field), held);
    if (sent.isNull())
        return;

    QVERIFY(set(*m_wifi, key, value));
    QCOMPARE(m_bench->takeFrames(), QByteArrayList {writeFrame("network:wifi.0;target:network;", key, sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param(store0, name)), sent);
}

QTEST_GUILESS_MAIN(TestWifiController)
#include "tst_wificontroller.moc"
