// The ISDN controller against the simulated device: the frames on the interface and on "audio", the values it
// holds and the parameter indices it reports, in order.

#include "controllers/tcomisdncontroller.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <memory>

using namespace rpctesting;

namespace {

using Isdn = TComIsdnController;
using Indices = QList<int>;

const std::string store0("network:isdn.0");
const QByteArray onIf("PARAM|network=isdn.0|target=network");
const QByteArray onAudio("PARAM|target=audio");
// What the device holds, in index order (see held()).
const QByteArray loaded("1|1|0123456789|5550100|5550101|1|2");

QByteArray held(const Isdn &c)
{
    return QByteArrayList {QByteArray::number(c.is5as()), QByteArray::number(c.protocol()),
        QByteArray::fromStdString(c.spid()), QByteArray::fromStdString(c.addrSb0Ch0()),
        QByteArray::fromStdString(c.addrSb0Ch1()), QByteArray::fromStdString(c.subaddrSb0Ch0()),
        QByteArray::fromStdString(c.subaddrSb0Ch1())}
        .join('|');
}

bool set(Isdn &c, int param, const QByteArray &value, bool send)
{
    const std::string text = value.toStdString();
    switch (param) {
    case Isdn::Param5as:
        return c.set5as(value == "1", send);
    case Isdn::ParamProtocol:
        return c.setProtocol(Isdn::Protocol(value.toInt()), send);
    case Isdn::ParamSpid:
        return c.setSpid(text, send);
    case Isdn::ParamAddrSb0Ch0:
        return c.setAddrSb0Ch0(text, send);
    case Isdn::ParamAddrSb0Ch1:
        return c.setAddrSb0Ch1(text, send);
    case Isdn::ParamSubaddrSb0Ch0:
        return c.setSubaddrSb0Ch0(text, send);
    default:
        return c.setSubaddrSb0Ch1(text, send);
    }
}

} // namespace

class TestIsdnController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void protocol_data();
    void protocol();
    void fetchAndStore_data();
    void fetchAndStore();
    void setters_data();
    void setters();
    void attachAndReset();
    void wireKeys_data();
    void wireKeys();

private:
    QByteArrayList takeFrames() { return m_bench->takeFrames(); }

    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    // On "isdn.0", holding what the device holds; no request left in the log.
    std::unique_ptr<Isdn> m_isdn;
};

void TestIsdnController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    m_device->loadSetup(SimDevice::isdnSetup());
    QVERIFY(m_bench->connect());
    m_isdn = std::make_unique<Isdn>(&m_bench->com);
    QVERIFY(
        m_isdn->attach("isdn.0", TComNetworkController::AttachFetch | TComNetworkController::AttachMobileFlag, false));
    QCOMPARE(held(*m_isdn), loaded);
    takeFrames();
}

void TestIsdnController::cleanup()
{
    m_isdn.reset();
    m_bench.reset();
}

void TestIsdnController::protocol_data()
{
    QTest::addColumn<QByteArray>("wire"); // empty: not set
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("stored");

    const auto row = [](const char *wire, int value, const char *stored) {
        QTest::newRow(wire) << QByteArray(wire) << value << QByteArray(stored);
    };

    // NI-1 and NI-2 share a value; stored, it is NI-2.
    row("isdn_ni1", 1, "isdn_ni2");
    row("isdn_ni2", 1, "isdn_ni2");
    row("isdn_ntt", 2, "isdn_ntt");
    row("isdn_udss1", 0, "isdn_udss1");
    row("ISDN_NTT", 0, "isdn_udss1");
    row("", 0, "isdn_udss1");
}

void TestIsdnController::protocol()
{
    QFETCH(QByteArray, wire);
    QFETCH(int, value);
    QFETCH(QByteArray, stored);

    m_isdn->setProtocol(Isdn::Ntt, false);
    if (wire.isEmpty())
        m_device->unsetParam(store0, "protocol");
    else
        m_device->setParam(store0, "protocol", wire.toStdString());
    QVERIFY(m_isdn->fetchProtocol());
    QCOMPARE(int(m_isdn->protocol()), value);
    QVERIFY(m_isdn->store({"protocol"}));
    QCOMPARE(takeFrames(),
        (QByteArrayList {onIf + "|GET protocol", "PARAM|network=isdn.0|protocol=" + stored + "|target=network"}));
    QCOMPARE(Isdn::protocolToText(value), stored.toStdString());
}

void TestIsdnController::fetchAndStore_data()
{
    QTest::addColumn<bool>("store");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("broken"); // a key refused by the device, or "if" for a failing interface request
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<bool>("result");
    QTest::addColumn<Indices>("signalled");

    const QByteArray spid("|spid=0123456789|target=network");
    const auto row = [](const char *name, bool store, const char *names, const char *broken,
                         const QByteArrayList &frames, bool result, const Indices &signalled = {}) {
        QTest::newRow(name) << store << QByteArray(names) << QByteArray(broken) << frames << result << signalled;
    };
    // A fetch starts from the reset values, so every value read is reported, "5as" first.
    row("fetch 5as", false, "5as", "", {onAudio + "|GET 5as"}, true, {0});
    row("fetch protocol and 5as", false, "protocol,5as", "", {onIf + "|GET protocol", onAudio + "|GET 5as"}, true,
        {0, 1});
    row("fetch, interface failing", false, "protocol,5as", "if", {onIf + "|GET protocol", onAudio + "|GET 5as"}, true,
        {0});
    row("fetch, 5as failing", false, "5as,spid", "5as", {onIf + "|GET spid", onAudio + "|GET 5as"}, true, {2});
    row("fetch, both failing", false, "spid,5as", "if+5as", {onIf + "|GET spid", onAudio + "|GET 5as"}, false);
    row("fetch in key order", false, "subaddr_sb0_ch1,spid,addr_sb0_ch0,unknown", "",
        {onIf + "|GET subaddr_sb0_ch1|GET spid|GET addr_sb0_ch0|GET unknown"}, true, {3, 2, 6});
    row("fetch nothing", false, "", "", {}, false);
    row("store 5as", true, "5as", "", {"PARAM|5as=on|target=audio"}, true);
    row("store protocol and 5as", true, "5as,protocol", "",
        {"PARAM|network=isdn.0|protocol=isdn_ni2|target=network", "PARAM|5as=on|target=audio"}, true);
    row("store, interface refused", true, "spid,5as", "spid",
        {"PARAM|network=isdn.0" + spid, "PARAM|5as=on|target=audio"}, false);
    row("store, 5as refused", true, "spid,5as", "5as", {"PARAM|network=isdn.0" + spid, "PARAM|5as=on|target=audio"},
        false);
    row("store numbers", true, "subaddr_sb0_ch1,addr_sb0_ch1,spid,spid", "",
        {"PARAM|addr_sb0_ch1=5550101|network=isdn.0|spid=0123456789|subaddr_sb0_ch1=2|target=network"}, true);
    row("store an unknown name", true, "unknown", "", {}, false);
    row("store nothing", true, "", "", {}, false);
}

void TestIsdnController::fetchAndStore()
{
    QFETCH(bool, store);
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, broken);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, result);
    QFETCH(Indices, signalled);

    if (!store)
        m_isdn->reset();
    if (broken.startsWith("if"))
        m_device->addFault(script({"PARAM;return:NOK;"})); // the first request is the interface's
    if (broken.endsWith("5as") && store)
        m_device->refuseKey("5as", kra::ERR_RESOURCE_BUSY);
    else if (broken.endsWith("5as"))
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, 7, "5as"));
    if (broken == "spid")
        m_device->refuseKey("spid", kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_isdn);
    QSignalSpy changed(m_isdn.get(), &TComNetworkController::controllerParamChanged);

    const std::vector<std::string> list = rpctesting::names(names);
    QCOMPARE(store ? m_isdn->store(list) : m_isdn->fetch(list), result);
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(indices(changed), signalled);
    if (store)
        QCOMPARE(held(*m_isdn), before);
}

void TestIsdnController::setters_data()
{
    QTest::addColumn<int>("param");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("frame");

    const auto row = [](const char *name, int param, const char *value, const QByteArray &frame, bool refused = false) {
        QTest::newRow(name) << param << QByteArray(value) << refused << frame;
    };

    row("5as off", 0, "0", "PARAM|5as=off|target=audio");
    row("5as refused", 0, "0", "PARAM|5as=off|target=audio", true);
    row("protocol NTT", 1, "2", "PARAM|network=isdn.0|protocol=isdn_ntt|target=network");
    row("protocol refused", 1, "0", "PARAM|network=isdn.0|protocol=isdn_udss1|target=network", true);
    row("spid empty", 2, "", "PARAM|network=isdn.0|spid=|target=network");
    row("number as typed", 3, "+49 (30) 555-0199#",
        "PARAM|addr_sb0_ch0=+49 (30) 555-0199#|network=isdn.0|target=network");
    row("number refused", 4, "7", "PARAM|addr_sb0_ch1=7|network=isdn.0|target=network", true);
    row("sub-address 1", 5, "11", "PARAM|network=isdn.0|subaddr_sb0_ch0=11|target=network");
    row("sub-address 2", 6, "22", "PARAM|network=isdn.0|subaddr_sb0_ch1=22|target=network");
}

void TestIsdnController::setters()
{
    QFETCH(int, param);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, frame);

    if (refused)
        m_device->refuseKey(Isdn::paramKey(param), kra::ERR_PARAMETER_SET_ERROR);
    QSignalSpy changed(m_isdn.get(), &TComNetworkController::controllerParamChanged);

    QCOMPARE(set(*m_isdn, param, value, true), !refused);
    QCOMPARE(takeFrames(), QByteArrayList {frame});
    QCOMPARE(indices(changed), refused ? Indices() : Indices {param});
    QByteArrayList expected = loaded.split('|');
    if (!refused)
        expected[param] = value;
    QCOMPARE(held(*m_isdn), expected.join('|'));

    // The value held: nothing sent, nothing reported.
    const QByteArray now = held(*m_isdn).split('|').at(param);
    QVERIFY(set(*m_isdn, param, now, true));
    QCOMPARE(takeFrames(), QByteArrayList());
    QCOMPARE(changed.count(), refused ? 0 : 1);
}

void TestIsdnController::attachAndReset()
{
    QSignalSpy state(m_isdn.get(), &TComController::controllerStateChanged);
    QSignalSpy changed(m_isdn.get(), &TComNetworkController::controllerParamChanged);
    QCOMPARE(m_isdn->state(), 0);
    QCOMPARE(m_isdn->kind(), int(TComController::Isdn));

    m_isdn->reset();
    QCOMPARE(held(*m_isdn), QByteArray("0|0|||||"));
    QCOMPARE(m_isdn->state(), -1);
    QCOMPARE(state.count(), 1);
    m_isdn->reset();
    QCOMPARE(state.count(), 1);

    // The values read while attaching are not reported one by one; one interface read and one of "5as".
    QVERIFY(m_isdn->attach("isdn.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(held(*m_isdn), loaded);
    QCOMPARE(m_isdn->state(), 0);
    QCOMPARE(state.count(), 3);
    QCOMPARE(takeFrames(),
        (QByteArrayList {onIf
                + "|GET protocol|GET spid|GET addr_sb0_ch0|GET addr_sb0_ch1|GET subaddr_sb0_ch0"
                  "|GET subaddr_sb0_ch1",
            onAudio + "|GET 5as"}));

    // Only the exact "on" is on.
    for (const char *text : {"ON", "1", "on "}) {
        QVERIFY(m_isdn->parse5as(text));
        QVERIFY(!m_isdn->is5as());
    }

    // Both reads failing: attach fails and leaves the state where the reset put it.
    m_device->addFault(fault(SimDevice::Fault::Nok));
    m_device->addFault(fault(SimDevice::Fault::Nok));
    QVERIFY(!m_isdn->attach("isdn.0", TComNetworkController::AttachFetch, false));
    QCOMPARE(m_isdn->state(), -1);
    QCOMPARE(changed.count(), 1); // the parse above
}

// Each key as the device spells it, by its index: the single read asks for it where the device keeps it and takes
// the device's text, and a write goes under it.
void TestIsdnController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("param");
    QTest::addColumn<QByteArray>("device"); // what the device holds
    QTest::addColumn<QByteArray>("held"); // the value read, as held() shows it
    QTest::addColumn<QByteArray>("value"); // a value set with send ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire

    const auto row
        = [](const char *key, int param, const char *device, const char *held, const char *value, const char *sent) {
              QTest::newRow(key) << QByteArray(key) << param << QByteArray(device) << QByteArray(held)
                                 << QByteArray(value) << QByteArray(sent);
          };
    row("5as", 0, "off", "0", "1", "on");
    row("protocol", 1, "isdn_ntt", "2", "0", "isdn_udss1");
    row("spid", 2, "9876543210", "9876543210", "1111", "1111");
    row("addr_sb0_ch0", 3, "5550200", "5550200", "5550300", "5550300");
    row("addr_sb0_ch1", 4, "5550201", "5550201", "5550301", "5550301");
    row("subaddr_sb0_ch0", 5, "7", "7", "8", "8");
    row("subaddr_sb0_ch1", 6, "9", "9", "3", "3");
}

void TestIsdnController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(int, param);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    const bool fiveAs = param == Isdn::Param5as;
    const std::string where = fiveAs ? "audio" : store0;
    const QByteArray addressing = fiveAs ? "target:audio;" : "network:isdn.0;target:network;";
    m_device->setParam(where, key.toStdString(), device.toStdString());
    bool (Isdn::*const reads[])() = {&Isdn::fetch5as, &Isdn::fetchProtocol, &Isdn::fetchSpid, &Isdn::fetchAddrSb0Ch0,
        &Isdn::fetchAddrSb0Ch1, &Isdn::fetchSubaddrSb0Ch0, &Isdn::fetchSubaddrSb0Ch1};
    QVERIFY((m_isdn.get()->*reads[param])());
    const QByteArray asking = describe(body("PARAM;" + addressing)) + "|GET " + key;
    QCOMPARE(takeFrames(), QByteArrayList {asking});
    QCOMPARE(::held(*m_isdn).split('|').at(param), held);

    QVERIFY(set(*m_isdn, param, value, true));
    QCOMPARE(takeFrames(), QByteArrayList {writeFrame(addressing, key, sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param(where, key.toStdString())), sent);
}

QTEST_GUILESS_MAIN(TestIsdnController)
#include "tst_isdncontroller.moc"
