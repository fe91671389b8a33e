// The device model's call and link records against the simulated device: event sequences with the signals
// they give, in order, and the records they leave; records that leave the model while their own code still
// runs (receivers that wait for the device while the link drops, or reset the model); the queries.

#include "tests/devicetesting.h"

#include <QtTest>

#include <memory>

using namespace devicetesting;
using rpctesting::fault;

namespace {

QByteArray eventBody(const char *type, const QByteArray &rest = QByteArray(), int id = 7, const char *network = "eth.0")
{
    return "EVENT;event_type:" + QByteArray(type) + ";id:" + QByteArray::number(id) + ";network:" + network + ";"
        + rest;
}

} // namespace

class TestConnectionRecords : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void callEvents_data();
    void callEvents();
    void recordsLeavingWhileBusy_data();
    void recordsLeavingWhileBusy();
    void queries();
    void recordsOnTheirOwn();

private:
    std::unique_ptr<ModelRig> m_rig;
};

void TestConnectionRecords::init()
{
    m_rig = std::make_unique<ModelRig>();
    QVERIFY(m_rig->connect());
}

void TestConnectionRecords::cleanup()
{
    m_rig.reset();
}

void TestConnectionRecords::callEvents_data()
{
    QTest::addColumn<bool>("doubleCodec");
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<QByteArrayList>("log");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("record");
    const auto row = [](const char *name, const QByteArrayList &bodies, const char *results, const QByteArrayList &log,
                         const char *record, int id = 7, bool doubleCodec = false) {
        QTest::newRow(name) << doubleCodec << bodies << QByteArray(results) << log << id << QByteArray(record);
    };
    const QByteArray audio2 = "comm_link:audio2;";
    const QByteArray voice = "comm_link:coord_line;";

    row("incoming call",
        {eventBody("0600-call received"), eventBody("call ring", "remote_addr:alice;"),
            eventBody("1000-call active", "codec_tx:G722;codec_rx:G722;auto_bitrate:on;"),
            eventBody("dsp_status", "state:sync;relay:on;"), eventBody("1200-call disconnected"),
            eventBody("1900-call released", "cause:016-normal clearing;")},
        "111111",
        {"added 7", "call 7:1", "status 7:5", "status 7:5", "status 7:6", "call 7:2", "status 7:9", "status 7:11",
            "call 7:3", "status 7:12", "call 7:4", "removed 7"},
        "k0 f0 s4 12/11 d1 r2 n=alice c=016-normal clearing q-1/-1/-1/-1");
    row("outgoing call redialled and lost",
        {eventBody("call auto redial"), eventBody("0100-call proceeding"),
            eventBody("1000-call active", "remote_addr:x;remote_addr2:y;"),
            eventBody("9900-call info", "remote_addr:z;"), eventBody("1000-call active"),
            eventBody("1901-call lost", "cause:005-destination unreachable;")},
        "111111",
        {"added 7", "call 7:1", "status 7:3", "status 7:4", "status 7:6", "call 7:2", "status 7:14", "call 7:4",
            "removed 7"},
        "k0 f0 s4 14/6 d0 r0 n=z,y c=005-destination unreachable q-1/-1/-1/-1");
    row("line 2 call error",
        {eventBody("0100-call proceeding", audio2), eventBody("1902-call error", "cause:117-timeout;")}, "11",
        {"added 7", "call 7:1", "status 7:4", "status 7:13", "call 7:4", "removed 7"},
        "k1 f0 s4 13/4 d0 r0 n= c=117-timeout q-1/-1/-1/-1");
    // The voice line is in sync once active.
    row("voice line", {eventBody("1000-call active", voice, 7, "mobile.0")}, "1",
        {"added 7", "call 7:1", "status 7:6", "call 7:2", "status 7:9"}, "k2 f2 s2 9/6 d0 r0 n= c= q-1/-1/-1/-1");
    row("ISDN B channels",
        {eventBody("call ring", "remote_addr:b2;bchannelno:2;", 7, "isdn.0"),
            eventBody("call ring", "remote_addr:b1;bchannelno:1;", 7, "isdn.0"),
            eventBody("call ring", "remote_addr:other;bchannelno:2;", 7, "isdn.0")},
        "111", {"added 7", "call 7:1", "status 7:5", "status 7:5", "status 7:5"},
        "k0 f1 s1 5/5 d1 r3 n=b1,b2 c= q-1/-1/-1/-1");
    row("ISDN B channel 2 of the second line",
        {eventBody("call ring", "remote_addr:x;bchannelno:2;sb:1;", 7, "isdn.0"),
            eventBody("call ring", "remote_addr:y;bchannelno:2;sb:1;", 7, "isdn.0")},
        "11", {"added 7", "call 7:1", "status 7:5", "status 7:5"}, "k0 f1 s1 5/5 d1 r2 n=x c= q-1/-1/-1/-1");
    row("ISDN in double codec", {eventBody("call ring", "remote_addr:x;bchannelno:2;", 7, "isdn.0")}, "1",
        {"added 7", "call 7:1", "status 7:5"}, "k0 f1 s1 5/0 d1 r1 n=x c= q-1/-1/-1/-1", 7, true);
    row("dsp status of a new call", {eventBody("dsp_status", "state:negotiating;remote_addr:q;stream_id:2;")}, "1",
        {"added 7", "call 7:1", "status 7:7", "call 7:2"}, "k0 f0 s2 7/0 d0 r0 n=q c= q-1/-1/-1/-1");
    row("quality reports",
        {eventBody("1000-call active"), eventBody("tx-quality-report", "stream_id:2;net-quality:4;pkts-lost:3;"),
            eventBody("tx-quality-report", "pkts-lost:9;"),
            eventBody("rx-quality-report", "net-quality:2;jb-curr:40;")},
        "1111", {"added 7", "call 7:1", "status 7:6", "call 7:2", "stat 7", "stat 7"},
        "k0 f0 s2 6/0 d0 r0 n= c= q-1/4/2/-1");
    // The relay report belongs to the call whatever network it names.
    row("relay report of another network",
        {eventBody("0600-call received"), eventBody("relay_out", "relay1:on;", 7, "wifi.0"),
            eventBody("relay_out", "relay1:on;", 7, "wifi.0"), eventBody("relay_out", "relay1:on;relay2:on;")},
        "1111", {"added 7", "call 7:1", "status 7:5", "relay 7:10", "relay 7:11"},
        "k0 f0 s1 5/0 d1 r1 n= c= q-1/-1/-1/-1");
    row("call event of another network",
        {eventBody("0600-call received"), eventBody("1200-call disconnected", "", 7, "wifi.0")}, "11",
        {"added 7", "call 7:1", "status 7:5"}, "k0 f0 s1 5/0 d1 r1 n= c= q-1/-1/-1/-1");
    row("data link",
        {eventBody("data connected", "", 20, "mobile.0"), eventBody("data connected", "", 20, "mobile.0"),
            eventBody("data disconnected", "", 20, "mobile.0")},
        "111", {"added 20", "data 20:2", "data 20:4", "removed 20"}, "link s4 mobile.0", 20);
    row("unknown id", {eventBody("1200-call disconnected", "", 99)}, "0", {}, "none", 99);
    row("call without network", {"EVENT;event_type:0600-call received;id:7;"}, "1", {}, "none");
}

void TestConnectionRecords::callEvents()
{
    QFETCH(bool, doubleCodec);
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArray, results);
    QFETCH(QByteArrayList, log);
    QFETCH(int, id);
    QFETCH(QByteArray, record);

    if (doubleCodec)
        m_rig->model.setCodecMode(TComDevice::CodecModeDouble, false);
    m_rig->takeLog();
    QCOMPARE(m_rig->deliver(bodies), results);
    QCOMPARE(m_rig->takeLog(), log);
    QCOMPARE(m_rig->recordOf(id), record);
}

void TestConnectionRecords::recordsLeavingWhileBusy_data()
{
    QTest::addColumn<QByteArray>("signal"); // whose receiver acts, once
    QTest::addColumn<bool>("drop"); // a request the device answers by dropping the link; else a reset of the model
    QTest::addColumn<QByteArrayList>("before");
    QTest::addColumn<QByteArrayList>("bodies"); // none: the model's start-up
    QTest::addColumn<QByteArrayList>("log");
    const auto row = [](const char *name, const char *signal, bool drop, const QByteArrayList &before,
                         const QByteArrayList &bodies, const QByteArrayList &log) {
        QTest::newRow(name) << QByteArray(signal) << drop << before << bodies << log;
    };
    const QByteArrayList dropped = {"reset 1", "removed 7", "reset 0"};
    const QByteArray received = eventBody("0600-call received");

    row("call status, new call, link dropped", "status", true, {}, {received},
        QByteArrayList {"added 7", "call 7:1", "status 7:5"} + dropped);
    // The release ends the record: the model must not remove it a second time.
    row("call status, release, link dropped", "status", true, {received}, {eventBody("1900-call released")},
        QByteArrayList {"status 7:12"} + dropped);
    row("call status, voice line, link dropped", "status", true, {},
        {eventBody("1000-call active", "comm_link:coord_line;")},
        QByteArrayList {"added 7", "call 7:1", "status 7:6"} + dropped);
    row("call state, model reset", "call", false, {}, {received}, {"added 7", "call 7:1", "removed 7"});
    row("call relay, model reset", "relay", false, {received}, {eventBody("relay_out", "relay2:on;")},
        {"relay 7:01", "removed 7"});
    row("new data link, link dropped", "added", true, {}, {eventBody("data connected", "", 7, "wifi.0")},
        QByteArrayList {"added 7"} + dropped);
    row("removal, link dropped", "removed", true, {received, eventBody("0600-call received", "", 8)},
        {eventBody("1901-call lost")}, {"status 7:14", "call 7:4", "removed 7", "reset 1", "removed 8", "reset 0"});
    row("data link found at start-up, link dropped", "added", true, {}, {},
        {"state 0", "added 12", "reset 1", "removed 12", "reset 0"});
}

void TestConnectionRecords::recordsLeavingWhileBusy()
{
    QFETCH(QByteArray, signal);
    QFETCH(bool, drop);
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArrayList, log);

    TComDevice &model = m_rig->model;
    m_rig->resetOnDrop();
    QCOMPARE(m_rig->deliver(before), QByteArray(before.size(), '1'));
    m_rig->takeLog();

    bool armed = true;
    const auto act = [this, &armed, drop] {
        if (!std::exchange(armed, false))
            return;
        if (!drop) {
            m_rig->model.reset(true);
            return;
        }
        m_rig->device.addFault(fault(SimDevice::Fault::Drop, 0, kra::KEY_BATTERY_STATUS));
        QVERIFY(!m_rig->model.fetchBattery());
    };
    if (signal == "status")
        connect(&model, &TComDevice::audioCallStatusChanged, this, act);
    else if (signal == "call")
        connect(&model, &TComDevice::audioConnectionStateChanged, this, act);
    else if (signal == "relay")
        connect(&model, &TComDevice::audioCallRelayChanged, this, act);
    else if (signal == "added")
        connect(&model, &TComDevice::connectionAdded, this, act);
    else
        connect(&model, &TComDevice::connectionRemoved, this, act);

    if (bodies.isEmpty())
        QVERIFY(!model.initialize());
    else
        QCOMPARE(m_rig->deliver(bodies), QByteArray(bodies.size(), '1'));
    QVERIFY(!armed);
    QCOMPARE(m_rig->takeLog(), log);
    QVERIFY(model.connections().empty());
    QVERIFY(!model.isReady());
}

void TestConnectionRecords::queries()
{
    TComDevice &model = m_rig->model;
    QVERIFY(model.initialize());
    QCOMPARE(model.lineChannelMode(1), 1); // the configured stereo codec
    QVERIFY(!model.hasAudioConnection());
    QCOMPARE(m_rig->deliver({eventBody("1000-call active", "codec_tx:G722/48000/dmono/64000;"),
                 eventBody("1000-call active", "comm_link:coord_line;", 9, "mobile.0"),
                 eventBody("0600-call received", "comm_link:audio2;", 8, "isdn.0")}),
        QByteArray("111"));

    QVERIFY(model.hasAudioConnection());
    QCOMPARE(model.audioConnection(1)->id(), 7);
    QCOMPARE(model.audioConnection(2)->id(), 8);
    QCOMPARE(model.audioConnection(3)->id(), 9);
    QVERIFY(!model.audioConnection(4));
    // The running call's codec wins over the configured one; line 2's call has none, the voice line none at all.
    QCOMPARE(model.lineChannelMode(1), 2);
    QCOMPARE(model.lineConfiguredChannelMode(1), 1);
    QCOMPARE(model.lineChannelMode(2), 0);
    QCOMPARE(model.lineChannelMode(3), 0);
    QCOMPARE(model.lineNetworkFamily(1), int(TComDevice::FamilyIp));
    QCOMPARE(model.lineNetworkFamily(3), int(TComDevice::FamilyVoice));
    QCOMPARE(model.connectionByKindAndNetwork(TComBaseConnection::KindDataLink, "mobile.0")->id(), 12);
    QCOMPARE(model.audioConnectionByNetwork("mobile.0")->id(), 9);
    QCOMPARE(model.audioConnectionByFamily(TComDevice::FamilyIsdn)->id(), 8);
    QCOMPARE(model.audioConnectionByFamily(TComDevice::FamilyVoice)->id(), 9);
    QVERIFY(model.hasNetwork("wifi.0"));
    QVERIFY(!model.hasNetwork("isdn.0"));
    QVERIFY(model.hasNetworkFamily(TComDevice::FamilyIp));
    QVERIFY(!model.hasNetworkFamily(TComDevice::FamilyIsdn));
    QCOMPARE(connectionNetworkFamily(nullptr), int(TComDevice::FamilyNone));

    // A record the model refuses stays with its creator.
    TComAudioConnection duplicate(&m_rig->com, 0);
    QVERIFY(duplicate.bind(TComAudioConnection::Outgoing, 7, "eth.0"));
    QVERIFY(!model.addConnection(&duplicate));
    QVERIFY(!duplicate.observer());
}

void TestConnectionRecords::recordsOnTheirOwn()
{
    // Empty addresses do not count; a voice-line call takes the mobile voice codec; a busy record takes no
    // second call or link.
    TComAudioConnection call(&m_rig->com, 5);
    call.setRemoteNumber("a,b,,c,d,e");
    QCOMPARE(call.remoteAddress(4), std::string("d"));
    QVERIFY(call.bindIfIdle(TComAudioConnection::Incoming, 3, "mobile.0"));
    QCOMPARE(call.txCodec().algorithm, mobileVoiceAlgorithm);
    QVERIFY(!call.bindIfIdle(TComAudioConnection::Incoming, 4, "mobile.0"));
    call.reset();
    QCOMPARE(callText(call), QByteArray("k2 f-1 s0 0/0 d-1 r0 n= c= q-1/-1/-1/-1"));
    TComDataConnection link(&m_rig->com);
    QVERIFY(link.bind(4, "wifi.0", TComDataConnection::Connecting));
    QVERIFY(!link.bind(5, "wifi.0", TComDataConnection::Connecting));

    // The link id is asked, the record itself stays as it is.
    link.reset();
    QCOMPARE(link.fetchLinkId("mobile.0"), 12);
    QCOMPARE(link.fetchLinkId("wifi.0"), -1);
    QCOMPARE(link.id(), -1);
    QCOMPARE(TComDataConnection(nullptr).fetchLinkId("mobile.0"), -1);
}

QTEST_MAIN(TestConnectionRecords)
#include "tst_connectionrecords.moc"
