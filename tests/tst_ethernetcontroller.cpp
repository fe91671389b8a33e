// The Ethernet controller against the simulated device: the frames it sends, the values it holds and the
// parameter indices it reports, in order.

#include "controllers/tcomethernetcontroller.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <memory>

using namespace rpctesting;

namespace {

using Eth = TComEthernetController;
using Indices = QList<int>;
const std::string store0("network:eth.0");
// What the device holds for "eth.0", in index order (see held()).
const QByteArray loaded("0|10.0.0.2|255.255.255.0|10.0.0.1|10.0.0.53|8.8.4.4|5|5|00:11:22:33:44:55|1|4|2");

// The held values in index order, '|' between them, the enumerations as numbers.
QByteArray held(const Eth &c)
{
    QByteArrayList v {QByteArray::number(c.ipMode()), QByteArray::fromStdString(c.localAddr()),
        QByteArray::fromStdString(c.subnet()), QByteArray::fromStdString(c.gateway()),
        QByteArray::fromStdString(c.dns1()), QByteArray::fromStdString(c.dns2()), QByteArray::number(c.linkMode()),
        QByteArray::number(c.linkModeNeg()), QByteArray::fromStdString(c.hwAddr()), QByteArray::number(c.cable()),
        QByteArray::number(c.networkQuality()), QByteArray::number(c.ajbProfile())};
    return v.join('|');
}

// The setter of a writable parameter; the enumerations given as numbers.
bool set(Eth &c, int param, const QByteArray &value, bool send)
{
    const std::string text = value.toStdString();
    switch (param) {
    case Eth::ParamMode:
        return c.setIpMode(Eth::IpMode(value.toInt()), send);
    case Eth::ParamLocalAddr:
        return c.setLocalAddr(text, send);
    case Eth::ParamSubnet:
        return c.setSubnet(text, send);
    case Eth::ParamGateway:
        return c.setGateway(text, send);
    case Eth::ParamDns1:
        return c.setDns1(text, send);
    case Eth::ParamDns2:
        return c.setDns2(text, send);
    case Eth::ParamLinkMode:
        return c.setLinkMode(Eth::LinkMode(value.toInt()), send);
    case Eth::ParamNetworkQuality:
        return c.setNetworkQuality(value.toInt(), send);
    default:
        return c.setAjbProfile(value.toInt(), send);
    }
}

} // namespace

class TestEthernetController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void events_data();
    void events();
    void setters_data();
    void setters();
    void fetchAllAndRefresh();
    void store_data();
    void store();
    void attachAndReset();
    void wireKeys_data();
    void wireKeys();

private:
    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    // On "eth.0", holding what the device holds; no request left in the log.
    std::unique_ptr<Eth> m_eth;
};

void TestEthernetController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    const std::pair<const char *, const char *> values[] = {{"mode", "dhcp"}, {"local_addr", "10.0.0.2"},
        {"subnet", "255.255.255.0"}, {"gateway", "10.0.0.1"}, {"dns1", "10.0.0.53"}, {"dns2", "8.8.4.4"},
        {"link_mode", "100baseT-FD"}, {"link_mode_neg", "100baseT-FD"}, {"hw_addr", "00:11:22:33:44:55"},
        {"cable", "plugged"}, {"network_quality", "high"}, {"ajb_profile", "punchy"}};
    for (const auto &[key, value] : values)
        m_device->setParam(store0, key, value);
    m_device->setParam("network:eth.1", "mode", "manual");
    m_eth = std::make_unique<Eth>(&m_bench->com);
    QVERIFY(m_eth->attach("eth.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(held(*m_eth), loaded);
    m_device->clearRequests();
}

void TestEthernetController::cleanup()
{
    m_eth.reset();
    m_bench.reset();
}

void TestEthernetController::events_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<Indices>("signalled");
    QTest::addColumn<QByteArray>("values");

    const auto row = [](const char *name, const QByteArray &event, bool handled, const Indices &signalled,
                         const QByteArray &values) { QTest::newRow(name) << event << handled << signalled << values; };
    const QByteArray own = "EVENT;event_type:default_network;network:eth.0;";

    row("another interface", "EVENT;event_type:config info;network:eth.1;mode:manual;", false, {}, loaded);
    row("other event type", "EVENT;event_type:data connected;network:eth.0;mode:manual;", false, {}, loaded);
    row("default_network with a mode", own + "mode:manual;", true, {0}, "1" + loaded.mid(1));
    row("default_network, unknown mode", own + "mode:static;", true, {0}, "-1" + loaded.mid(1));
    row("default_network without a mode", own, true, {}, loaded);
    row("config info without dns2",
        "EVENT;event_type:config info;network:eth.0;mode:manual;local_addr:10.1.0.2;subnet:255.255.0.0;"
        "gateway:10.1.0.1;dns1:10.1.0.53;cable:unplugged;",
        true, {0, 1, 2, 3, 4, 5, 9, 12}, "1|10.1.0.2|255.255.0.0|10.1.0.1|10.1.0.53||5|5|00:11:22:33:44:55|0|4|2");
    row("config info, nothing new",
        "EVENT;event_type:config info;network:eth.0;local_addr:10.0.0.2;subnet:255.255.255.0;gateway:10.0.0.1;"
        "dns1:10.0.0.53;dns2:8.8.4.4;",
        true, {12}, loaded);
}

void TestEthernetController::events()
{
    QFETCH(QByteArray, event);
    QFETCH(bool, handled);
    QFETCH(Indices, signalled);
    QFETCH(QByteArray, values);

    QSignalSpy changed(m_eth.get(), &TComNetworkController::controllerParamChanged);
    RpcMessage message = m_bench->notify(event);
    QCOMPARE(m_eth->handleEvent(message), handled);
    QCOMPARE(indices(changed), signalled);
    QCOMPARE(held(*m_eth), values);
    QCOMPARE(m_device->requests().count(), 0);
}

void TestEthernetController::setters_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("param");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("sent"); // null: nothing

    const auto row
        = [](const char *name, int mode, int param, const char *value, const char *sent, bool refused = false) {
              QTest::newRow(name) << mode << param << QByteArray(value) << refused << QByteArray(sent);
          };
    const int manual = Eth::Manual, dhcp = Eth::Dhcp;

    row("address, manual", manual, 1, "10.0.0.9", "local_addr:10.0.0.9");
    row("address, dhcp: held", dhcp, 1, "10.0.0.9", nullptr);
    row("address, empty", manual, 1, "", nullptr);
    row("subnet, manual", manual, 2, "255.0.0.0", "subnet:255.0.0.0");
    row("gateway, empty", manual, 3, "", "gateway:");
    row("gateway, pppoe", Eth::Pppoe, 3, "10.0.0.9", nullptr);
    row("dns2, empty", manual, 5, "", "dns2:");
    row("dns1 refused", manual, 4, "9.9.9.9", "dns1:9.9.9.9", true);
    row("mode", dhcp, 0, "1", "mode:manual");
    row("mode unknown: held", dhcp, 0, "-1", nullptr);
    row("mode refused", dhcp, 0, "3", "mode:bgan", true);
    row("link mode", dhcp, 6, "8", "link_mode:10baseT-HD");
    row("jitter buffer refused", dhcp, 11, "0", "ajb_profile:safe", true);
}

void TestEthernetController::setters()
{
    QFETCH(int, mode);
    QFETCH(int, param);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, sent);

    m_eth->setIpMode(Eth::IpMode(mode), false);
    if (refused)
        m_device->refuseKey(Eth::paramKey(param), kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_eth);
    QSignalSpy changed(m_eth.get(), &TComNetworkController::controllerParamChanged);

    QCOMPARE(set(*m_eth, param, value, true), !refused);
    QCOMPARE(m_bench->takeFrames(),
        sent.isNull() ? QByteArrayList()
                      : QByteArrayList {describe(body("PARAM;network:eth.0;target:network;" + sent + ";"))});
    QCOMPARE(indices(changed), refused ? Indices() : Indices {param});
    if (refused)
        QCOMPARE(held(*m_eth), before);
    else
        QCOMPARE(held(*m_eth).split('|').at(param), value);

    // The same value again: nothing sent, nothing reported.
    const QByteArray now = held(*m_eth).split('|').at(param);
    QVERIFY(set(*m_eth, param, now, true));
    QCOMPARE(m_bench->takeFrames(), QByteArrayList());
    QCOMPARE(changed.count(), refused ? 0 : 1);
}

void TestEthernetController::fetchAllAndRefresh()
{
    m_eth->reset();
    QSignalSpy changed(m_eth.get(), &TComNetworkController::controllerParamChanged);
    QVERIFY(m_eth->fetchAll());
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray(
            "PARAM|network=eth.0|target=network|GET cable|GET mode|GET local_addr|GET subnet|GET gateway"
            "|GET dns1|GET dns2|GET link_mode|GET link_mode_neg|GET hw_addr|GET network_quality|GET ajb_profile"));
    QCOMPARE(indices(changed), (Indices {9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 11}));

    // A new negotiated mode is reported once.
    changed.clear();
    m_device->setParam(store0, "link_mode_neg", "10baseT-FD");
    QVERIFY(m_eth->refreshParam(Eth::ParamLinkModeNeg));
    QCOMPARE(m_eth->linkModeNeg(), Eth::Link10BaseTFd);
    QVERIFY(m_eth->fetch({"link_mode_neg", "unknown_key"}));
    QCOMPARE(indices(changed), Indices {7});
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray("PARAM|network=eth.0|target=network|GET link_mode_neg|GET unknown_key"));

    QVERIFY(!m_eth->refreshParam(Eth::ParamConfigInfo));
    QVERIFY(!m_eth->fetch({}));
    m_device->addFault(script({"PARAM;return:ERROR;mode:115-resource busy;"}));
    QVERIFY(!m_eth->refreshParam(Eth::ParamMode));
    QCOMPARE(m_eth->ipMode(), Eth::Dhcp);
}

void TestEthernetController::store_data()
{
    QTest::addColumn<bool>("read");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame");

    const auto row = [](const char *name, bool read, const char *names, const char *refuse, const QByteArray &frame) {
        QTest::newRow(name) << read << QByteArray(names) << QByteArray(refuse) << frame;
    };
    const char *writable = "mode,local_addr,subnet,gateway,dns1,dns2,link_mode,network_quality,ajb_profile";

    row("all", true, writable, "",
        "PARAM|ajb_profile=punchy|dns1=10.0.0.53|dns2=8.8.4.4|gateway=10.0.0.1|link_mode=100baseT-FD"
        "|local_addr=10.0.0.2|mode=dhcp|network=eth.0|network_quality=high|subnet=255.255.255.0|target=network");
    // Never read: no guessed "dhcp", "autonegotiation", "low" or "standard".
    row("unknown values left out", false, writable, "",
        "PARAM|dns1=|dns2=|gateway=|local_addr=|network=eth.0|subnet=|target=network");
    row("nothing known left", false, "mode,link_mode,network_quality,ajb_profile", "", "");
    row("read-only names", true, "cable,hw_addr,link_mode_neg,x", "", "");
    row("empty list", true, "", "", "");
    row("refused", true, "mode,mode,dns2", "dns2", "PARAM|dns2=8.8.4.4|mode=dhcp|network=eth.0|target=network");
}

void TestEthernetController::store()
{
    QFETCH(bool, read);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (!read)
        m_eth->reset();
    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    const QByteArray before = held(*m_eth);
    QSignalSpy changed(m_eth.get(), &TComNetworkController::controllerParamChanged);

    QCOMPARE(m_eth->store(rpctesting::names(names)), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(m_bench->takeFrames(), frame.isEmpty() ? QByteArrayList() : QByteArrayList {frame});
    QCOMPARE(held(*m_eth), before);
    QCOMPARE(changed.count(), 0);
}

void TestEthernetController::attachAndReset()
{
    QSignalSpy state(m_eth.get(), &TComController::controllerStateChanged);
    QSignalSpy changed(m_eth.get(), &TComNetworkController::controllerParamChanged);
    QCOMPARE(m_eth->state(), 0);
    m_eth->reset();
    QCOMPARE(held(*m_eth), QByteArray("-1||||||-1|-1||0|-1|-1"));
    QCOMPARE(m_eth->state(), -1);
    QCOMPARE(state.count(), 1);

    // Values read while attaching are not reported one by one.
    QVERIFY(m_eth->attach("eth.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(held(*m_eth), loaded);
    QCOMPARE(m_eth->state(), 0);
    QCOMPARE(state.count(), 3);

    m_eth->reset();
    m_device->addFault(script({"PARAM;return:ERROR;"}));
    QVERIFY(!m_eth->attach("eth.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(m_eth->state(), -1);
    QCOMPARE(changed.count(), 0);
}

// Each key as the device spells it, by its index: the single read asks for it and takes the device's text, and a
// writable one is written under it.
void TestEthernetController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("param");
    QTest::addColumn<QByteArray>("device"); // what the device holds
    QTest::addColumn<QByteArray>("held"); // the value read, as held() shows it
    QTest::addColumn<QByteArray>("value"); // a value set with send ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire; null: read only

    const auto row
        = [](const char *key, int param, const char *device, const char *held, const char *value, const char *sent) {
              QTest::newRow(key) << QByteArray(key) << param << QByteArray(device) << QByteArray(held)
                                 << QByteArray(value) << QByteArray(sent);
          };
    row("mode", 0, "pppoe", "2", "1", "manual");
    row("local_addr", 1, "10.9.0.2", "10.9.0.2", "10.9.0.3", "10.9.0.3");
    row("subnet", 2, "255.255.0.0", "255.255.0.0", "255.0.0.0", "255.0.0.0");
    row("gateway", 3, "10.9.0.1", "10.9.0.1", "10.9.0.254", "10.9.0.254");
    row("dns1", 4, "10.9.0.53", "10.9.0.53", "1.1.1.1", "1.1.1.1");
    row("dns2", 5, "10.9.0.54", "10.9.0.54", "1.0.0.1", "1.0.0.1");
    row("link_mode", 6, "1000baseT-FD", "3", "7", "10baseT-FD");
    row("link_mode_neg", 7, "10baseT-HD", "8", nullptr, nullptr);
    row("hw_addr", 8, "02:00:5e:10:00:01", "02:00:5e:10:00:01", nullptr, nullptr);
    row("cable", 9, "unplugged", "0", nullptr, nullptr);
    row("network_quality", 10, "very_high", "5", "0", "very_bad");
    row("ajb_profile", 11, "safe", "0", "1", "standard");
}

void TestEthernetController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(int, param);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    m_device->setParam(store0, key.toStdString(), device.toStdString());
    QVERIFY(m_eth->refreshParam(param));
    QCOMPARE(m_bench->takeFrames(), QByteArrayList {"PARAM|network=eth.0|target=network|GET " + key});
    QCOMPARE(::held(*m_eth).split('|').at(param), held);
    if (sent.isNull())
        return;

    // The address texts go out in manual mode only.
    if (param != Eth::ParamMode)
        m_eth->setIpMode(Eth::Manual, false);
    QVERIFY(set(*m_eth, param, value, true));
    QCOMPARE(m_bench->takeFrames(), QByteArrayList {writeFrame("network:eth.0;target:network;", key, sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param(store0, key.toStdString())), sent);
}

QTEST_GUILESS_MAIN(TestEthernetController)
#include "tst_ethernetcontroller.moc"
