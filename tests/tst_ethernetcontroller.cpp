// The Ethernet controller against the simulated device: the frames it sends, the values it holds and the
// parameter indices it reports, in order.

#include "ccom.h"
#include "rpctesting.h"
#include "simdevice.h"
#include "tcomethernetcontroller.h"

#include <QtTest>

using namespace rpctesting;

namespace {

using Eth = TComEthernetController;
using Indices = QList<int>;
const std::string store0("network:eth.0");
// What the device holds for "eth.0", in index order (see held()).
const QByteArray loaded("0|10.0.0.2|255.255.255.0|10.0.0.1|10.0.0.53|8.8.4.4|5|5|00:11:22:33:44:55|1|4|2");

Indices indices(const QSignalSpy &spy)
{
    Indices out;
    for (const QList<QVariant> &args : spy)
        out << args.at(1).toInt();
    return out;
}

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

private:
    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    // On "eth.0", holding what the device holds; no request left in the log.
    Eth *m_eth = nullptr;
};

void TestEthernetController::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    const std::pair<const char *, const char *> values[] = {{"mode", "dhcp"}, {"local_addr", "10.0.0.2"},
        {"subnet", "255.255.255.0"}, {"gateway", "10.0.0.1"}, {"dns1", "10.0.0.53"}, {"dns2", "8.8.4.4"},
        {"link_mode", "100baseT-FD"}, {"link_mode_neg", "100baseT-FD"}, {"hw_addr", "00:11:22:33:44:55"},
        {"cable", "plugged"}, {"network_quality", "high"}, {"ajb_profile", "punchy"}};
    for (const auto &[key, value] : values)
        m_device->setParam(store0, key, value);
    m_device->setParam("network:eth.1", "mode", "manual");
    m_eth = new Eth(m_com);
    QVERIFY(m_eth->attach("eth.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(held(*m_eth), loaded);
    m_device->clearRequests();
}

void TestEthernetController::cleanup()
{
    delete m_eth;
    delete m_com;
    delete m_device;
}

void TestEthernetController::events_data()
{
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<Indices>("signalled");
    QTest::addColumn<QByteArray>("values");

    QTest::newRow("another interface") << QByteArray("EVENT;event_type:config info;network:eth.1;mode:manual;") << false
                                       << Indices() << loaded;
    QTest::newRow("other event type") << QByteArray("EVENT;event_type:data connected;network:eth.0;mode:manual;")
                                      << false << Indices() << loaded;
    QTest::newRow("default_network with a mode")
        << QByteArray("EVENT;event_type:default_network;network:eth.0;mode:manual;") << true << Indices {0}
        << "1" + loaded.mid(1);
    QTest::newRow("default_network, unknown mode")
        << QByteArray("EVENT;event_type:default_network;network:eth.0;mode:static;") << true << Indices {0}
        << "-1" + loaded.mid(1);
    QTest::newRow("default_network without a mode")
        << QByteArray("EVENT;event_type:default_network;network:eth.0;") << true << Indices() << loaded;
    QTest::newRow("config info without dns2")
        << QByteArray("EVENT;event_type:config info;network:eth.0;mode:manual;local_addr:10.1.0.2;"
                      "subnet:255.255.0.0;gateway:10.1.0.1;dns1:10.1.0.53;cable:unplugged;")
        << true << Indices {0, 1, 2, 3, 4, 5, 9, 12}
        << QByteArray("1|10.1.0.2|255.255.0.0|10.1.0.1|10.1.0.53||5|5|00:11:22:33:44:55|0|4|2");
    QTest::newRow("config info, nothing new")
        << QByteArray("EVENT;event_type:config info;network:eth.0;local_addr:10.0.0.2;subnet:255.255.255.0;"
                      "gateway:10.0.0.1;dns1:10.0.0.53;dns2:8.8.4.4;")
        << true << Indices {12} << loaded;
}

void TestEthernetController::events()
{
    QFETCH(QByteArray, event);
    QFETCH(bool, handled);
    QFETCH(Indices, signalled);
    QFETCH(QByteArray, values);

    QSignalSpy changed(m_eth, &TComNetworkController::controllerParamChanged);
    RpcMessage message = notifyAndReceive(*m_com, *m_device, event);
    QCOMPARE(message.kind(), int(RpcMessage::Notification));
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
    QTest::addColumn<QByteArray>("frame");

    const int manual = Eth::Manual, dhcp = Eth::Dhcp;
    const QByteArray end("|network=eth.0|target=network");
    QTest::newRow("address, manual") << manual << 1 << QByteArray("10.0.0.9") << false
                                     << "PARAM|local_addr=10.0.0.9" + end;
    QTest::newRow("address, dhcp: held") << dhcp << 1 << QByteArray("10.0.0.9") << false << QByteArray();
    QTest::newRow("address, empty") << manual << 1 << QByteArray() << false << QByteArray();
    QTest::newRow("gateway, empty") << manual << 3 << QByteArray() << false << "PARAM|gateway=" + end;
    QTest::newRow("gateway, pppoe") << int(Eth::Pppoe) << 3 << QByteArray("10.0.0.9") << false << QByteArray();
    QTest::newRow("dns2, empty") << manual << 5 << QByteArray() << false << "PARAM|dns2=" + end;
    QTest::newRow("dns1 refused") << manual << 4 << QByteArray("9.9.9.9") << true << "PARAM|dns1=9.9.9.9" + end;
    QTest::newRow("mode") << dhcp << 0 << QByteArray("1") << false << "PARAM|mode=manual" + end;
    QTest::newRow("mode unknown: held") << dhcp << 0 << QByteArray("-1") << false << QByteArray();
    QTest::newRow("mode refused") << dhcp << 0 << QByteArray("3") << true << "PARAM|mode=bgan" + end;
    QTest::newRow("link mode") << dhcp << 6 << QByteArray("8") << false << "PARAM|link_mode=10baseT-HD" + end;
    QTest::newRow("jitter buffer refused") << dhcp << 11 << QByteArray("0") << true << "PARAM|ajb_profile=safe" + end;
}

void TestEthernetController::setters()
{
    QFETCH(int, mode);
    QFETCH(int, param);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, frame);

    m_eth->setIpMode(Eth::IpMode(mode), false);
    if (refused)
        m_device->refuseKey(Eth::paramKey(param), kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_eth);
    QSignalSpy changed(m_eth, &TComNetworkController::controllerParamChanged);

    QCOMPARE(set(*m_eth, param, value, true), !refused);
    QCOMPARE(m_device->requests().count(), frame.isEmpty() ? 0 : 1);
    if (!frame.isEmpty())
        QCOMPARE(describe(m_device->requests().first().body()), frame);
    QCOMPARE(indices(changed), refused ? Indices() : Indices {param});
    if (refused)
        QCOMPARE(held(*m_eth), before);
    else
        QCOMPARE(held(*m_eth).split('|').at(param), value);

    // The same value again: nothing sent, nothing reported.
    m_device->clearRequests();
    const QByteArray now = held(*m_eth).split('|').at(param);
    QVERIFY(set(*m_eth, param, now, true));
    QCOMPARE(m_device->requests().count(), 0);
    QCOMPARE(changed.count(), refused ? 0 : 1);
}

void TestEthernetController::fetchAllAndRefresh()
{
    m_eth->reset();
    QSignalSpy changed(m_eth, &TComNetworkController::controllerParamChanged);
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
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame");

    const QStringList writable {
        "mode", "local_addr", "subnet", "gateway", "dns1", "dns2", "link_mode", "network_quality", "ajb_profile"};
    QTest::newRow("all") << true << writable << QByteArray()
                         << QByteArray("PARAM|ajb_profile=punchy|dns1=10.0.0.53|dns2=8.8.4.4|gateway=10.0.0.1"
                                       "|link_mode=100baseT-FD|local_addr=10.0.0.2|mode=dhcp|network=eth.0"
                                       "|network_quality=high|subnet=255.255.255.0|target=network");
    // Never read: no guessed "dhcp", "autonegotiation", "low" or "standard".
    QTest::newRow("unknown values left out")
        << false << writable << QByteArray()
        << QByteArray("PARAM|dns1=|dns2=|gateway=|local_addr=|network=eth.0|subnet=|target=network");
    QTest::newRow("nothing known left") << false << QStringList {"mode", "link_mode", "network_quality", "ajb_profile"}
                                        << QByteArray() << QByteArray();
    QTest::newRow("read-only names") << true << QStringList {"cable", "hw_addr", "link_mode_neg", "x"} << QByteArray()
                                     << QByteArray();
    QTest::newRow("empty list") << true << QStringList() << QByteArray() << QByteArray();
    QTest::newRow("refused") << true << QStringList {"mode", "mode", "dns2"} << QByteArray("dns2")
                             << QByteArray("PARAM|dns2=8.8.4.4|mode=dhcp|network=eth.0|target=network");
}

void TestEthernetController::store()
{
    QFETCH(bool, read);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (!read)
        m_eth->reset();
    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    const QByteArray before = held(*m_eth);
    QSignalSpy changed(m_eth, &TComNetworkController::controllerParamChanged);
    std::vector<std::string> list;
    for (const QString &name : names)
        list.push_back(name.toStdString());

    QCOMPARE(m_eth->store(list), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(m_device->requests().count(), frame.isEmpty() ? 0 : 1);
    if (!frame.isEmpty())
        QCOMPARE(describe(m_device->requests().first().body()), frame);
    QCOMPARE(held(*m_eth), before);
    QCOMPARE(changed.count(), 0);
}

void TestEthernetController::attachAndReset()
{
    QSignalSpy state(m_eth, &TComController::controllerStateChanged);
    QSignalSpy changed(m_eth, &TComNetworkController::controllerParamChanged);
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

QTEST_GUILESS_MAIN(TestEthernetController)
#include "tst_ethernetcontroller.moc"
