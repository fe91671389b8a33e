// The request helper and the controller bases against the simulated device, and the shared value tables.

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "tests/peers/simdevice.h"
#include "tests/rpctesting.h"

#include <QtTest>

using namespace rpctesting;

namespace {

using Map = std::map<std::string, std::string>;
using Items = std::vector<std::string>;

// An interface controller whose whole fetch is one read of "mode"; it reports the value while it reads.
class ProbeController final : public TComNetworkController
{
public:
    explicit ProbeController(kra::CCom *com) : TComNetworkController(com, Ethernet) { }
    int resets = 0;
    std::string mode;

    void reset() override
    {
        ++resets;
        TComNetworkController::reset();
    }
    bool fetchAll() override
    {
        if (!getParam("mode", mode, true))
            return false;
        emit controllerParamChanged(this, 0);
        return true;
    }
    bool fetch(const std::vector<std::string> &) override { return fetchAll(); }
    bool store(const std::vector<std::string> &) override { return setParam("mode", mode, true); }
};

} // namespace

class TestRpcAccess : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusedBeforeSending_data();
    void refusedBeforeSending();
    void execute_data();
    void execute();
    void callHandsBackTheReply();
    void getValue_data();
    void getValue();
    void getParamsCounts();
    void setParamsCountsAccepted_data();
    void setParamsCountsAccepted();
    void getList_data();
    void getList();
    void subscriptionsAndDefaultNetwork();
    void attach();
    void attachWithFetch();
    void networkRequests();
    void reinitAndMakeDefault();
    void valueTables();
    void deviceTexts_data();
    void deviceTexts();

private:
    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
};

void TestRpcAccess::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
}

void TestRpcAccess::cleanup()
{
    delete m_com;
    delete m_device;
}

void TestRpcAccess::refusedBeforeSending_data()
{
    QTest::addColumn<bool>("withCom");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("operation");

    QTest::newRow("no service") << false << QByteArray("PARAM;GET:a;") << "getValue";
    QTest::newRow("execute without parameters") << true << QByteArray("DO;") << "execute";
    QTest::newRow("call without parameters") << true << QByteArray("DO;GET:a;") << "call";
    QTest::newRow("getValue of two names") << true << QByteArray("PARAM;GET:a;GET:b;") << "getValue";
    QTest::newRow("getValue of none") << true << QByteArray("PARAM;target:general;") << "getValue";
    QTest::newRow("getParams of none") << true << QByteArray("PARAM;target:general;") << "getParams";
    QTest::newRow("setParams of a DO") << true << QByteArray("DO;action:x;") << "setParams";
    QTest::newRow("setParams of nothing") << true << QByteArray("PARAM;") << "setParams";
    QTest::newRow("getList of two lists") << true << QByteArray("PARAM;target:network;LIST:a;LIST:b;") << "getList";
    QTest::newRow("getList without parameters") << true << QByteArray("PARAM;LIST:a;") << "getList";
}

void TestRpcAccess::refusedBeforeSending()
{
    QFETCH(bool, withCom);
    QFETCH(QByteArray, request);
    QFETCH(QString, operation);

    TComRpcAccess access(withCom ? m_com : nullptr);
    const kra::CMsg msg = body(request);
    Map values, errors;
    Items items;
    std::string value;
    bool ok = true;
    if (operation == "execute")
        ok = access.execute(msg, 5000);
    else if (operation == "call")
        ok = access.call(msg, values, 5000);
    else if (operation == "getValue")
        ok = access.getValue(msg, value, 5000);
    else if (operation == "getParams")
        ok = access.getParams(msg, values, errors, 5000) >= 0;
    else if (operation == "setParams")
        ok = access.setParams(msg, 5000) >= 0;
    else
        ok = access.getList(msg, items, 5000);
    QVERIFY(!ok);
    QVERIFY(access.lastError().empty());
    QCOMPARE(m_device->requests().count(), 0);
}

void TestRpcAccess::execute_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("cause");

    QTest::newRow("OK") << QByteArray("DO;return:OK;") << true << "";
    QTest::newRow("ERROR with cause") << QByteArray("DO;return:ERROR;cause:115-resource busy;") << false
                                      << "115-resource busy";
    QTest::newRow("ERROR without cause") << QByteArray("DO;return:ERROR;") << false << "";
    // The connection fails a "NOK" with -10: its cause never arrives.
    QTest::newRow("NOK") << QByteArray("DO;return:NOK;cause:115-resource busy;") << false << "";
}

void TestRpcAccess::execute()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, result);
    QFETCH(QString, cause);

    m_device->addFault(script({reply}));
    if (reply.contains("NOK"))
        QTest::ignoreMessage(
            QtCriticalMsg, QRegularExpression(QStringLiteral("error=%1").arg(int(RpcConnection::BodyError))));
    TComRpcAccess access(m_com);
    QCOMPARE(access.execute(body("DO;action:start;"), 5000), result);
    QCOMPARE(QString::fromStdString(access.lastError()), cause);
}

void TestRpcAccess::callHandsBackTheReply()
{
    m_device->setAction("query", [](const kra::CMsg &, kra::CMsg &reply) {
        reply.setParam("a", "1");
        reply.setParam("b", "2");
    });
    TComRpcAccess access(m_com);
    Map out {{"a", "kept"}};
    QVERIFY(access.call(body("DO;action:query;"), out, 5000));
    QCOMPARE(out, (Map {{"a", "kept"}, {"b", "2"}}));

    m_device->setAction("query", [](const kra::CMsg &, kra::CMsg &reply) {
        reply.setParam(kra::KEY_RETURN, kra::RET_ERROR);
        reply.setParam(kra::KEY_CAUSE, kra::ERR_NOT_ALLOWED);
    });
    out.clear();
    QVERIFY(!access.call(body("DO;action:query;"), out, 5000));
    QCOMPARE(access.lastError(), kra::ERR_NOT_ALLOWED);
    QVERIFY(out.empty());
    // The next request starts with an empty cause.
    QVERIFY(access.execute(body("DO;action:subscribe;info:x;"), 5000));
    QVERIFY(access.lastError().empty());
}

void TestRpcAccess::getValue_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("value");

    QTest::newRow("value") << QByteArray("PARAM;return:OK;a:5;") << true << "5";
    QTest::newRow("not set in OK") << QByteArray("PARAM;return:OK;a:101-parameter not set;") << true << "";
    QTest::newRow("not set in ERROR") << QByteArray("PARAM;return:ERROR;a:101-parameter not set;") << true << "";
    QTest::newRow("refused") << QByteArray("PARAM;return:ERROR;a:113-unknown destination;") << false
                             << "113-unknown destination";
    QTest::newRow("bare ERROR") << QByteArray("PARAM;return:ERROR;") << false << "";
}

void TestRpcAccess::getValue()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, result);
    QFETCH(QString, value);

    m_device->addFault(script({reply}));
    TComRpcAccess access(m_com);
    std::string out = "before";
    QCOMPARE(access.getValue(body("PARAM;GET:a;"), out, 5000), result);
    QCOMPARE(QString::fromStdString(out), value);
}

void TestRpcAccess::getParamsCounts()
{
    m_device->setParam("general", "a", "1");
    m_device->setParam("general", "b", "2");
    TComRpcAccess access(m_com);
    Map values {{"z", "old"}}, errors;
    QCOMPARE(access.getParams(body("PARAM;GET:a;GET:b;GET:missing;"), values, errors, 5000), 4);
    QCOMPARE(values, (Map {{"a", "1"}, {"b", "2"}, {"missing", ""}, {"z", "old"}}));
    QVERIFY(errors.empty());

    // Accepted values and refusals in one answer: the refusals land in errors.
    m_device->addFault(script({"PARAM;return:OK;a:1;b:115-resource busy;c:101-parameter not set;"}));
    values.clear();
    QCOMPARE(access.getParams(body("PARAM;GET:a;GET:b;GET:c;"), values, errors, 5000), 2);
    QCOMPARE(values, (Map {{"a", "1"}, {"c", ""}}));
    QCOMPARE(errors, (Map {{"b", "115-resource busy"}}));

    m_device->addFault(script({"PARAM;return:ERROR;"}));
    values.clear();
    errors.clear();
    QCOMPARE(access.getParams(body("PARAM;GET:a;"), values, errors, 5000), -1);
    QVERIFY(values.empty());
}

void TestRpcAccess::setParamsCountsAccepted_data()
{
    QTest::addColumn<QStringList>("refused");
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("accepted");

    QTest::newRow("all") << QStringList() << QString() << 4;
    QTest::newRow("one refused") << QStringList {"b"} << QString::fromStdString(kra::ERR_PARAMETER_SET_ERROR) << 3;
    QTest::newRow("two refused") << QStringList {"a", "c"} << QString::fromStdString(kra::ERR_INVALID_VALUE) << 2;
    QTest::newRow("unknown error refuses") << QStringList {"c"} << QString::fromStdString(kra::ERR_UNKNOWN_ERROR) << 3;
}

void TestRpcAccess::setParamsCountsAccepted()
{
    QFETCH(QStringList, refused);
    QFETCH(QString, cause);
    QFETCH(int, accepted);

    for (const QString &key : refused)
        m_device->refuseKey(key.toStdString(), cause.toStdString());
    TComRpcAccess access(m_com);
    QCOMPARE(access.setParams(body("PARAM;target:audio;a:1;b:2;c:3;"), 5000), accepted);
    QCOMPARE(m_device->hasParam("audio", "b"), !refused.contains("b"));

    // Refused without naming a parameter: nothing may count as accepted.
    m_device->addFault(script({"PARAM;return:ERROR;"}));
    QCOMPARE(access.setParams(body("PARAM;target:audio;a:1;"), 5000), -1);
}

void TestRpcAccess::getList_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<int>("progress");
    QTest::addColumn<bool>("ext");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("items") << QStringList {"x", "y,z"} << 0 << false << QStringList {"old", "x", "y,z"};
    QTest::newRow("in parts") << QStringList {"x", "y", "z"} << 2 << false << QStringList {"old", "x", "y", "z"};
    QTest::newRow("in parts, group separator")
        << QStringList {"eth.0", "wi,fi", "", "x"} << 2 << true << QStringList {"old", "eth.0", "wi,fi", "", "x"};
    QTest::newRow("empty list adds nothing") << QStringList() << 0 << false << QStringList {"old"};
}

void TestRpcAccess::getList()
{
    QFETCH(QStringList, stored);
    QFETCH(int, progress);
    QFETCH(bool, ext);
    QFETCH(QStringList, items);

    Items list;
    for (const QString &s : stored)
        list.push_back(s.toStdString());
    m_device->setList("network", "ifaces", list);
    if (progress) {
        SimDevice::Fault f = fault(SimDevice::Fault::Progress, progress);
        f.ext = ext;
        m_device->addFault(f);
    }
    TComRpcAccess access(m_com);
    Items out {"old"};
    QVERIFY(access.getList(body("PARAM;target:network;LIST:ifaces;"), out, 5000));
    QStringList got;
    for (const std::string &s : out)
        got << QString::fromStdString(s);
    QCOMPARE(got, items);

    // A list the device does not have is answered "not set": an empty answer.
    out.clear();
    QVERIFY(access.getList(body("PARAM;target:network;LIST:unknown;"), out, 5000));
    QVERIFY(out.empty());
    m_device->addFault(script({"PARAM;return:ERROR;ifaces:113-unknown destination;"}));
    QVERIFY(!access.getList(body("PARAM;target:network;LIST:ifaces;"), out, 5000));
    QVERIFY(out.empty());
}

void TestRpcAccess::subscriptionsAndDefaultNetwork()
{
    TComRpcAccess access(m_com);
    QVERIFY(access.subscribe("remote_numbers"));
    QVERIFY(access.unsubscribe("remote_numbers"));
    QCOMPARE(describe(m_device->requests().at(0).body()), QByteArray("DO|action=subscribe|info=remote_numbers"));
    QCOMPARE(describe(m_device->requests().at(1).body()), QByteArray("DO|action=unsubscribe|info=remote_numbers"));

    QVERIFY(access.setDefaultNetwork("eth.1"));
    QCOMPARE(describe(m_device->requests().last().body()), QByteArray("PARAM|default_network=eth.1|target=network"));
    QCOMPARE(m_device->param("network", "default_network"), std::string("eth.1"));
    m_device->refuseKey("default_network", kra::ERR_NOT_AVAILABLE);
    QVERIFY(!access.setDefaultNetwork("wifi.0"));
    QCOMPARE(m_device->param("network", "default_network"), std::string("eth.1"));
}

void TestRpcAccess::attach()
{
    ProbeController controller(m_com);
    QSignalSpy changed(&controller, &TComController::controllerStateChanged);
    QVERIFY(!controller.attach("", 1, false));
    QCOMPARE(controller.resets, 0);
    QVERIFY(controller.interfaceName().empty());

    QVERIFY(controller.attach("eth.0", 0, false));
    QCOMPARE(controller.interfaceName(), std::string("eth.0"));
    QCOMPARE(controller.state(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_device->requests().count(), 0);
    QCOMPARE(controller.resets, 0);

    // Attached already: reset first.
    QVERIFY(controller.attach("eth.1", 0, false));
    QCOMPARE(controller.resets, 1);
    QCOMPARE(changed.count(), 3);

    m_device->refuseKey("default_network", kra::ERR_NOT_AVAILABLE);
    QVERIFY(!controller.attach("eth.2", 0, true));
    QCOMPARE(controller.interfaceName(), std::string("eth.1"));
}

void TestRpcAccess::attachWithFetch()
{
    ProbeController controller(m_com);
    QSignalSpy changed(&controller, &TComController::controllerStateChanged);
    QSignalSpy params(&controller, &TComNetworkController::controllerParamChanged);

    m_device->addFault(script({"PARAM;return:ERROR;mode:113-unknown destination;"}));
    QVERIFY(!controller.attach("eth.0", 1, false));
    QCOMPARE(controller.interfaceName(), std::string("eth.0"));
    QCOMPARE(controller.state(), -1);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!controller.signalsBlocked());

    m_device->setParam("network:eth.0", "mode", "dhcp");
    QVERIFY(controller.attach("eth.0", 3, false));
    QCOMPARE(controller.mode, std::string("dhcp"));
    QCOMPARE(params.count(), 0);
    QCOMPARE(changed.count(), 1);
    QVERIFY(!controller.signalsBlocked());
    QCOMPARE(describe(m_device->requests().last().body()), QByteArray("PARAM|network=eth.0|target=network|GET mode"));

    controller.blockSignals(true);
    QVERIFY(controller.attach("eth.0", 1, false));
    QVERIFY(controller.signalsBlocked());
}

void TestRpcAccess::networkRequests()
{
    ProbeController controller(m_com);
    QVERIFY(controller.attach("eth.0", 0, false));
    m_device->setParam("network:eth.0", "mtu", "1500");
    m_device->setParam("network", "hostname", "field");
    m_device->setList("network:eth.0", "modes", {"dhcp", "static"});

    std::string value;
    QVERIFY(controller.getParam("mtu", value, true));
    QCOMPARE(value, std::string("1500"));
    QVERIFY(controller.getParam("hostname", value, false));
    QCOMPARE(value, std::string("field"));

    Map values, errors;
    QCOMPARE(controller.getParams({"mtu", "speed"}, values, errors, true), 2);
    QCOMPARE(values, (Map {{"mtu", "1500"}, {"speed", ""}}));
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray("PARAM|network=eth.0|target=network|GET mtu|GET speed"));

    QVERIFY(controller.setParam("mtu", "1400", true));
    QCOMPARE(m_device->param("network:eth.0", "mtu"), std::string("1400"));
    // Here the value wins over the header key of the same name...
    QVERIFY(controller.setParam("network", "eth.3", true));
    QCOMPARE(describe(m_device->requests().last().body()), QByteArray("PARAM|network=eth.3|target=network"));
    // ...and here the header keys win.
    QVERIFY(controller.setParams({{"mtu", "1300"}, {"network", "eth.9"}, {"speed", "auto"}}, true));
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray("PARAM|mtu=1300|network=eth.0|speed=auto|target=network"));
    m_device->refuseKey("speed", kra::ERR_INVALID_VALUE);
    QVERIFY(!controller.setParams({{"mtu", "1200"}, {"speed", "10"}}, true));
    QCOMPARE(m_device->param("network:eth.0", "mtu"), std::string("1200"));
    QVERIFY(!controller.setParam("speed", "10", true));

    Items items;
    QVERIFY(controller.getList("modes", items, true));
    QCOMPARE(items, (Items {"dhcp", "static"}));
}

void TestRpcAccess::reinitAndMakeDefault()
{
    ProbeController controller(m_com);
    QVERIFY(!controller.makeDefaultNetwork());
    QVERIFY(controller.attach("eth.0", 0, false));
    QVERIFY(controller.makeDefaultNetwork());
    QCOMPARE(m_device->param("network", "default_network"), std::string("eth.0"));

    QVERIFY(controller.reinitNetwork("eth.1", true));
    QCOMPARE(describe(m_device->requests().last().body()), QByteArray("DO|action=reinit|network=eth.1|target=network"));
    QCOMPARE(controller.state(), 1);
    QVERIFY(controller.reinitNetwork("eth.0", false));
    QCOMPARE(controller.state(), 1);
    QVERIFY(controller.reinitNetwork("eth.0", true));
    QCOMPARE(controller.state(), -1);

    m_device->setAction(kra::CMD_REINIT, [](const kra::CMsg &, kra::CMsg &reply) {
        reply.setParam(kra::KEY_RETURN, kra::RET_ERROR);
        reply.setParam(kra::KEY_CAUSE, kra::ERR_RESOURCE_BUSY);
    });
    QVERIFY(controller.attach("eth.0", 0, false));
    QVERIFY(!controller.reinitNetwork("eth.0", true));
    QCOMPARE(controller.rpc().lastError(), kra::ERR_RESOURCE_BUSY);
    QCOMPARE(controller.state(), 1);
}

void TestRpcAccess::valueTables()
{
    for (int number = 0; number <= 5; ++number)
        QCOMPARE(
            TComNetworkController::networkQualityFromText(TComNetworkController::networkQualityToText(number)), number);
    for (int number = 0; number <= 2; ++number)
        QCOMPARE(TComNetworkController::ajbProfileFromText(TComNetworkController::ajbProfileToText(number)), number);
    // Anything else reads and writes as the middle entry.
    QCOMPARE(TComNetworkController::networkQualityToText(9), std::string("low"));
    QCOMPARE(TComNetworkController::networkQualityToText(-1), std::string("low"));
    QCOMPARE(TComNetworkController::networkQualityFromText("High"), 2);
    QCOMPARE(TComNetworkController::ajbProfileToText(7), std::string("standard"));
    QCOMPARE(TComNetworkController::ajbProfileFromText("Punchy"), 1);
}

// A device text shown as the text it is, and back byte for byte, UTF-8 or not.
void TestRpcAccess::deviceTexts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown"); // null: no text, only the bytes kept
    QTest::newRow("Latin-1 letters") << QByteArray("Caf\xc3\xa9") << QStringLiteral("Caf\u00e9");
    QTest::newRow("beyond Latin-1") << QByteArray("\xc5\x81\xc3\xb3"
                                                  "d\xc5\xba")
                                    << QStringLiteral("\u0141\u00f3d\u017a");
    QTest::newRow("three and four bytes")
        << QByteArray("\xe2\x82\xac\xf0\x9f\x8e\xa4") << QString::fromUtf16(u"\u20ac\U0001F3A4");
    QTest::newRow("a Latin-1 byte") << QByteArray("Caf\xe9") << QString();
    QTest::newRow("cut short") << QByteArray("\xc5") << QString();
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QString();
    QTest::newRow("an encoded surrogate") << QByteArray("\xed\xa0\x80") << QString();
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QString();
    QTest::newRow("a lead byte before a letter") << QByteArray("\xe2"
                                                               "a\xe2\x82")
                                                 << QString();
}

void TestRpcAccess::deviceTexts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    const QString text = utf8ToQString(bytes.toStdString());
    if (!shown.isNull())
        QCOMPARE(text, shown);
    QCOMPARE(QByteArray::fromStdString(qStringToUtf8(text)), bytes);
}

QTEST_GUILESS_MAIN(TestRpcAccess)
#include "tst_rpcaccess.moc"
