// The ISDN controller against the simulated device: the frames on the interface and on "audio", the values it
// holds and the parameter indices it reports, in order.

#include "ccom.h"
#include "rpctesting.h"
#include "simdevice.h"
#include "tcomisdncontroller.h"

#include <QtTest>

using namespace rpctesting;

namespace {

using Isdn = TComIsdnController;
using Indices = QList<int>;

const std::string store0("network:isdn.0");
const QByteArray onIf("PARAM|network=isdn.0|target=network");
const QByteArray onAudio("PARAM|target=audio");
// What the device holds, in index order (see held()).
const QByteArray loaded("1|1|0123456789|5550100|5550101|1|2");

Indices indices(const QSignalSpy &spy)
{
    Indices out;
    for (const QList<QVariant> &args : spy)
        out << args.at(1).toInt();
    return out;
}

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

private:
    QByteArrayList takeFrames();

    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    // On "isdn.0", holding what the device holds; no request left in the log.
    Isdn *m_isdn = nullptr;
};

void TestIsdnController::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_device->loadSetup(SimDevice::isdnSetup());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    QTRY_COMPARE(m_device->clientCount(), 1);
    m_isdn = new Isdn(m_com);
    QVERIFY(
        m_isdn->attach("isdn.0", TComNetworkController::AttachFetch | TComNetworkController::AttachMobileFlag, false));
    QCOMPARE(held(*m_isdn), loaded);
    takeFrames();
}

void TestIsdnController::cleanup()
{
    delete m_isdn;
    delete m_com;
    delete m_device;
}

QByteArrayList TestIsdnController::takeFrames()
{
    QByteArrayList frames;
    for (const RpcMessage &request : m_device->requests())
        frames << describe(request.body());
    m_device->clearRequests();
    return frames;
}

void TestIsdnController::protocol_data()
{
    QTest::addColumn<QByteArray>("wire"); // empty: not set
    QTest::addColumn<int>("value");
    QTest::addColumn<QByteArray>("stored");

    // NI-1 and NI-2 share a value; stored, it is NI-2.
    QTest::newRow("NI-1") << QByteArray("isdn_ni1") << 1 << QByteArray("isdn_ni2");
    QTest::newRow("NI-2") << QByteArray("isdn_ni2") << 1 << QByteArray("isdn_ni2");
    QTest::newRow("NTT") << QByteArray("isdn_ntt") << 2 << QByteArray("isdn_ntt");
    QTest::newRow("Euro ISDN") << QByteArray("isdn_udss1") << 0 << QByteArray("isdn_udss1");
    QTest::newRow("unknown") << QByteArray("ISDN_NTT") << 0 << QByteArray("isdn_udss1");
    QTest::newRow("not set") << QByteArray() << 0 << QByteArray("isdn_udss1");
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
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("broken"); // a key refused by the device, or "if" for a failing interface request
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<bool>("result");
    QTest::addColumn<Indices>("signalled");

    const QByteArray spid("|spid=0123456789|target=network");
    const auto row = [](const char *name, bool store, const QStringList &names, const char *broken,
                         const QByteArrayList &frames, bool result, const Indices &signalled = {}) {
        QTest::newRow(name) << store << names << QByteArray(broken) << frames << result << signalled;
    };
    // A fetch starts from the reset values, so every value read is reported, "5as" first.
    row("fetch 5as", false, {"5as"}, "", {onAudio + "|GET 5as"}, true, {0});
    row("fetch protocol and 5as", false, {"protocol", "5as"}, "", {onIf + "|GET protocol", onAudio + "|GET 5as"}, true,
        {0, 1});
    row("fetch, interface failing", false, {"protocol", "5as"}, "if", {onIf + "|GET protocol", onAudio + "|GET 5as"},
        true, {0});
    row("fetch, 5as failing", false, {"5as", "spid"}, "5as", {onIf + "|GET spid", onAudio + "|GET 5as"}, true, {2});
    row("fetch, both failing", false, {"spid", "5as"}, "if+5as", {onIf + "|GET spid", onAudio + "|GET 5as"}, false);
    row("fetch in key order", false, {"subaddr_sb0_ch1", "spid", "addr_sb0_ch0", "unknown"}, "",
        {onIf + "|GET subaddr_sb0_ch1|GET spid|GET addr_sb0_ch0|GET unknown"}, true, {3, 2, 6});
    row("fetch nothing", false, {}, "", {}, false);
    row("store 5as", true, {"5as"}, "", {"PARAM|5as=on|target=audio"}, true);
    row("store protocol and 5as", true, {"5as", "protocol"}, "",
        {"PARAM|network=isdn.0|protocol=isdn_ni2|target=network", "PARAM|5as=on|target=audio"}, true);
    row("store, interface refused", true, {"spid", "5as"}, "spid",
        {"PARAM|network=isdn.0" + spid, "PARAM|5as=on|target=audio"}, false);
    row("store, 5as refused", true, {"spid", "5as"}, "5as",
        {"PARAM|network=isdn.0" + spid, "PARAM|5as=on|target=audio"}, false);
    row("store numbers", true, {"subaddr_sb0_ch1", "addr_sb0_ch1", "spid", "spid"}, "",
        {"PARAM|addr_sb0_ch1=5550101|network=isdn.0|spid=0123456789|subaddr_sb0_ch1=2|target=network"}, true);
    row("store an unknown name", true, {"unknown"}, "", {}, false);
    row("store nothing", true, {}, "", {}, false);
}

void TestIsdnController::fetchAndStore()
{
    QFETCH(bool, store);
    QFETCH(QStringList, names);
    QFETCH(QByteArray, broken);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, result);
    QFETCH(Indices, signalled);

    if (!store)
        m_isdn->reset();
    if (broken.startsWith("if"))
        m_device->addFault(script({"PARAM;return:NOK;"})); // the first request is the interface's
    if (broken.endsWith("5as")) {
        if (store) {
            m_device->refuseKey("5as", kra::ERR_RESOURCE_BUSY);
        } else {
            SimDevice::Fault f = fault(SimDevice::Fault::ErrorReply, 7);
            f.match = "5as";
            m_device->addFault(f);
        }
    }
    if (broken == "spid")
        m_device->refuseKey("spid", kra::ERR_INVALID_VALUE);
    const QByteArray before = held(*m_isdn);
    QSignalSpy changed(m_isdn, &TComNetworkController::controllerParamChanged);
    std::vector<std::string> list;
    for (const QString &name : names)
        list.push_back(name.toStdString());

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

    const QByteArray end("|target=network");
    QTest::newRow("5as off") << 0 << QByteArray("0") << false << QByteArray("PARAM|5as=off|target=audio");
    QTest::newRow("5as refused") << 0 << QByteArray("0") << true << QByteArray("PARAM|5as=off|target=audio");
    QTest::newRow("protocol NTT") << 1 << QByteArray("2") << false << "PARAM|network=isdn.0|protocol=isdn_ntt" + end;
    QTest::newRow("protocol refused") << 1 << QByteArray("0") << true
                                      << "PARAM|network=isdn.0|protocol=isdn_udss1" + end;
    QTest::newRow("spid empty") << 2 << QByteArray() << false << "PARAM|network=isdn.0|spid=" + end;
    QTest::newRow("number as typed") << 3 << QByteArray("+49 (30) 555-0199#") << false
                                     << "PARAM|addr_sb0_ch0=+49 (30) 555-0199#|network=isdn.0" + end;
    QTest::newRow("number refused") << 4 << QByteArray("7") << true << "PARAM|addr_sb0_ch1=7|network=isdn.0" + end;
    QTest::newRow("sub-address 1") << 5 << QByteArray("11") << false << "PARAM|network=isdn.0|subaddr_sb0_ch0=11" + end;
    QTest::newRow("sub-address 2") << 6 << QByteArray("22") << false << "PARAM|network=isdn.0|subaddr_sb0_ch1=22" + end;
}

void TestIsdnController::setters()
{
    QFETCH(int, param);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, frame);

    if (refused)
        m_device->refuseKey(Isdn::paramKey(param), kra::ERR_PARAMETER_SET_ERROR);
    QSignalSpy changed(m_isdn, &TComNetworkController::controllerParamChanged);

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
    QSignalSpy state(m_isdn, &TComController::controllerStateChanged);
    QSignalSpy changed(m_isdn, &TComNetworkController::controllerParamChanged);
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

QTEST_GUILESS_MAIN(TestIsdnController)
#include "tst_isdncontroller.moc"
