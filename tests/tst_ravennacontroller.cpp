// The RAVENNA controller against the simulated device: the frames it sends, the values it holds and what its
// requests report.

#include "controllers/tcomravennacontroller.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace rpctesting;

namespace {

using Rav = TComRavennaController;
using Fields = QMap<QByteArray, QByteArray>;

const std::string audio("audio");
const QByteArray end("|target=audio");

// Every value the device's set-up holds, by its name there.
std::vector<std::string> setupKeys()
{
    std::vector<std::string> keys;
    for (const QByteArray &line : SimDevice::ravennaSetup().split('\n')) {
        if (line.startsWith("audio ") && !line.contains('['))
            keys.push_back(line.mid(6, line.indexOf('=') - 6).toStdString());
    }
    return keys;
}

QByteArray heldStream(const TComRavennaInputStream &s)
{
    return QByteArray::number(s.id) + '/' + QByteArray::number(s.channel) + '/' + QByteArray::fromStdString(s.name);
}

// Everything the controller holds, by name; texts as held (the bytes the device sent).
Fields fields(const Rav &r)
{
    const auto n = [](double v) { return QByteArray::number(v); };
    const auto s = [](const std::string &t) { return QByteArray::fromStdString(t); };
    Fields f {{"outputEnabled", n(r.outputEnabled())}, {"ifCount", n(r.interfaceCount())}, {"netMode", n(r.netMode())},
        {"rate", n(r.sampleRate())}, {"resolution", n(r.resolution())}, {"ptpDomain", n(r.ptpDomain())},
        {"delays", n(r.inputDelayMin()) + "/" + n(r.inputDelayMax()) + "/" + n(r.inputDelay())},
        {"outputNetIf", n(r.outputNetIf())}, {"channels", n(r.outputChannelCount())},
        {"ptime", n(r.outputPacketTime())}, {"sync", n(r.syncState())}, {"lock", n(r.lockState())},
        {"manufacturer", s(r.manufacturer())}, {"hardwareName", s(r.hardwareName())}, {"deviceName", s(r.deviceName())},
        {"outputName", s(r.outputName())},
        {"revisions",
            s(r.hardwareRev()) + "/" + s(r.firmwareVersion()) + "/" + s(r.firmwareRev()) + "/" + s(r.rescueOsRev())}};
    for (int i = 0; i < 2; ++i) {
        const QByteArray p = "if" + n(i) + ".";
        const TComRavennaInterface &ni = r.netInterface(i);
        f[p + "link"] = n(ni.linkUp);
        f[p + "dhcp"] = n(ni.dhcpMode);
        f[p + "vlan"] = n(ni.vlanId);
        f[p + "ptp"] = n(ni.ptpState);
        f[p + "ip"] = s(ni.ipAddress);
        f[p + "subnet"] = s(ni.subnet);
        f[p + "gateway"] = s(ni.gateway);
        f[p + "hw"] = s(ni.hwAddress);
        const QByteArray o = "ou" + n(i) + ".";
        f[o + "autoconf"] = n(r.output(i).autoconf);
        f[o + "port"] = n(r.output(i).mcPort);
        f[o + "addr"] = s(r.output(i).mcAddress);
    }
    for (int k = 0; k < Rav::streamCount; ++k) {
        const TComRavennaInputStream &in = r.inputStream(k);
        f["in" + n(k)] = heldStream(in);
        f["in" + n(k) + ".status"] = n(in.status[0]) + "," + n(in.status[1]);
    }
    return f;
}

// One line per field, so a failing comparison shows what differs.
QByteArray text(const Fields &f)
{
    QByteArray out;
    for (auto it = f.begin(); it != f.end(); ++it)
        out += it.key() + "=" + it.value() + "\n";
    return out;
}

// before with the given "field=value" changes.
QByteArray changed(Fields before, const QByteArrayList &changes)
{
    for (const QByteArray &change : changes) {
        const int eq = change.indexOf('=');
        before[change.left(eq)] = change.mid(eq + 1);
    }
    return text(before);
}

// A setter by name; a stream is given as its wire text.
bool set(Rav &rav, const QByteArray &setter, int index, const QByteArray &value, bool send)
{
    using Setter = std::function<bool(Rav &, int, const std::string &, int, bool)>;
    static const QMap<QByteArray, Setter> setters = {
        {"deviceName", [](Rav &r, int, const std::string &t, int, bool s) { return r.setDeviceName(t, s); }},
        {"dhcp", [](Rav &r, int i, const std::string &, int v, bool s) { return r.setDhcp(i, v != 0, s); }},
        {"ipAddr", [](Rav &r, int i, const std::string &t, int, bool s) { return r.setIpAddr(i, t, s); }},
        {"subnet", [](Rav &r, int i, const std::string &t, int, bool s) { return r.setSubnet(i, t, s); }},
        {"gateway", [](Rav &r, int i, const std::string &t, int, bool s) { return r.setGateway(i, t, s); }},
        {"vlanId", [](Rav &r, int i, const std::string &, int v, bool s) { return r.setVlanId(i, v, s); }},
        {"streamIn",
            [](Rav &r, int i, const std::string &t, int, bool s) {
                TComRavennaInputStream stream;
                return stream.fromText(t) && r.setStreamIn(i, stream, s);
            }},
        {"outputName", [](Rav &r, int, const std::string &t, int, bool s) { return r.setOutputName(t, s); }},
        {"autoconf", [](Rav &r, int i, const std::string &, int v, bool s) { return r.setOutputAutoconf(i, v, s); }},
        {"mcAddr", [](Rav &r, int i, const std::string &t, int, bool s) { return r.setOutputMcAddr(i, t, s); }},
        {"mcPort", [](Rav &r, int i, const std::string &, int v, bool s) { return r.setOutputMcPort(i, v, s); }},
        {"ptpDomain", [](Rav &r, int, const std::string &, int v, bool s) { return r.setPtpDomain(v, s); }},
        {"netMode", [](Rav &r, int, const std::string &, int v, bool s) { return r.setNetMode(v, s); }},
        {"inputDelay", [](Rav &r, int, const std::string &, int v, bool s) { return r.setInputDelay(v, s); }},
        {"outputMode", [](Rav &r, int, const std::string &, int v, bool s) { return r.setOutputMode(v, s); }},
        {"outputNetIf", [](Rav &r, int, const std::string &, int v, bool s) { return r.setOutputNetIf(v, s); }},
        {"sampleRate", [](Rav &r, int, const std::string &, int v, bool s) { return r.setSampleRate(v, s); }},
        {"resolution", [](Rav &r, int, const std::string &, int v, bool s) { return r.setResolution(v, s); }},
    };
    return setters.value(setter)(rav, index, value.toStdString(), value.toInt(), send);
}

} // namespace

class TestRavennaController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void fetchAll();
    void streamText_data();
    void streamText();
    void replyRules_data();
    void replyRules();
    void malformedStreamInFetch();
    void setters_data();
    void setters();
    void store_data();
    void store();
    void lists();
    void attachAndReset();
    void wireKeys_data();
    void wireKeys();

private:
    QByteArrayList takeFrames() { return m_bench->takeFrames(); }
    // Fetches one key whose device value is text; the fetch's result.
    bool fetchValue(const std::string &key, const QByteArray &text);

    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    // Holding everything the device holds except streams 2 to 7; no request left in the log.
    std::unique_ptr<Rav> m_rav;
    Fields m_loaded;
};

void TestRavennaController::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    m_device->loadSetup(SimDevice::ravennaSetup());
    QVERIFY(m_bench->connect());
    m_rav = std::make_unique<Rav>(&m_bench->com);
    QVERIFY(m_rav->attach(setupKeys()));
    m_loaded = fields(*m_rav);
    takeFrames();
}

void TestRavennaController::cleanup()
{
    m_rav.reset();
    m_bench.reset();
}

bool TestRavennaController::fetchValue(const std::string &key, const QByteArray &text)
{
    m_device->setParam(audio, key, text.toStdString());
    const bool ok = m_rav->fetch({key});
    takeFrames();
    return ok;
}

void TestRavennaController::fetchAll()
{
    Fields expected {{"outputEnabled", "1"}, {"ifCount", "2"}, {"netMode", "1"}, {"rate", "96000"},
        {"resolution", "32"}, {"ptpDomain", "3"}, {"delays", "16/9600/480"}, {"outputNetIf", "1"}, {"channels", "8"},
        {"ptime", "0.25"}, {"sync", "1"}, {"lock", "3"}, {"manufacturer", "Example Audio"},
        {"hardwareName", "AoIP module 8"}, {"deviceName", "R\xc3\xa9gie 2"}, {"outputName", "Reporter \xc3\xa9"},
        {"revisions", "B2/1.8/1.8.4/1.0.2"}, {"if0.link", "1"}, {"if0.dhcp", "0"}, {"if0.vlan", "7"}, {"if0.ptp", "9"},
        {"if0.ip", "192.168.10.5"}, {"if0.subnet", "255.255.255.0"}, {"if0.gateway", "192.168.10.1"},
        {"if0.hw", "02:00:5e:00:00:01"}, {"if1.link", "0"}, {"if1.dhcp", "2"}, {"if1.vlan", "8"}, {"if1.ptp", "4"},
        {"if1.ip", "169.254.3.4"}, {"if1.subnet", "255.255.0.0"}, {"if1.gateway", ""}, {"if1.hw", "02:00:5e:00:00:02"},
        {"ou0.autoconf", "0"}, {"ou0.port", "5006"}, {"ou0.addr", "239.1.2.3"}, {"ou1.autoconf", "1"},
        {"ou1.port", "5008"}, {"ou1.addr", "239.1.2.4"}, {"in0", "12/3/Studio A"}, {"in0.status", "4,1"},
        {"in1", "14/1/Caf\xc3\xa9"}, {"in1.status", "2,2"}};
    for (int k = 2; k < Rav::streamCount; ++k) {
        expected["in" + QByteArray::number(k)] = "65535/0/None";
        expected["in" + QByteArray::number(k) + ".status"] = "-1,-1";
    }
    QCOMPARE(text(m_loaded), text(expected));

    // A fresh controller reads the values of the overview pages, in one request; the others stay as built.
    Rav fresh(&m_bench->com);
    QVERIFY(fresh.fetchAll());
    QCOMPARE(takeFrames().size(), 1);
    QCOMPARE(text(fields(fresh)),
        changed(expected,
            {"netMode=0", "outputNetIf=0", "lock=0", "revisions=B2//1.8.4/", "if0.vlan=1", "if1.link=0", "if1.dhcp=1",
                "if1.vlan=1", "if1.ptp=-1", "if1.ip=", "if1.subnet=", "if1.hw=", "ou1.autoconf=0", "ou1.port=5004",
                "ou1.addr="}));

    QVERIFY(!fresh.fetch({}));
    m_device->addFault(fault(SimDevice::Fault::ErrorReply, 7));
    QVERIFY(!fresh.fetchAll());
    QCOMPARE(takeFrames().count(), 1);
}

void TestRavennaController::streamText_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("held"); // null: refused, as before
    const auto row
        = [](const char *wire, const char *held) { QTest::newRow(wire) << QByteArray(wire) << QByteArray(held); };

    row("12/3/Studio A", "12/3/Studio A");
    row("12/3", "12/3/");
    row("12/3/", "12/3/");
    row("12/3/A/B", "12/3/A/B");
    row("7/2/Caf\xc3\xa9 \xc3\xa0 c\xc3\xb4t\xc3\xa9", "7/2/Caf\xc3\xa9 \xc3\xa0 c\xc3\xb4t\xc3\xa9");
    row("/3/x", nullptr);
    row("12//x", nullptr);
    row("12/", nullptr);
    row("", nullptr);
    row("12", nullptr);
}

void TestRavennaController::streamText()
{
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, held);
    const bool ok = !held.isNull();

    // Stream 2 with known statuses: the reply rule never touches them.
    QVERIFY(fetchValue(KEY_RAV_STREAM_IN_N[2], "5/1/Old"));
    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[2], "receiving,idle"));
    const Fields before = fields(*m_rav);

    QCOMPARE(fetchValue(KEY_RAV_STREAM_IN_N[2], wire), ok);
    QCOMPARE(text(fields(*m_rav)), ok ? changed(before, {"in2=" + held}) : text(before));

    // Stored, the stream goes back as the device sent it.
    if (!ok)
        return;
    m_device->unsetParam(audio, KEY_RAV_STREAM_IN_N[2]);
    QVERIFY(m_rav->store({KEY_RAV_STREAM_IN_N[2]}));
    QByteArray back = wire;
    if (back.count('/') == 1)
        back += '/';
    QCOMPARE(takeFrames(), QByteArrayList {"PARAM|rav_stream_in2=" + back + end});
    QCOMPARE(QByteArray::fromStdString(m_device->param(audio, KEY_RAV_STREAM_IN_N[2])), back);
}

void TestRavennaController::replyRules_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArrayList>("changes");

    const auto row = [](const char *name, const char *key, const char *wire, const QByteArrayList &changes) {
        QTest::newRow(name) << QByteArray(key) << QByteArray(wire) << changes;
    };
    row("interface count 0", "rav_if_count", "0", {"ifCount=1"});
    row("zeroconf", "rav_dhcp", "zeroconf", {"if0.dhcp=2"});
    row("sample rate empty", "rav_sample_rate", "", {"rate=48000"});
    row("delay empty", "rav_delay_in", "", {});
    row("port empty", "rav_mc_port_ou1", "", {"ou1.port=5004"});
    row("packet time", "rav_ptime_ou", "0.125", {"ptime=0.125"});
    row("lock unknown", "rav_lock_state", "lost", {"lock=0"});
    row("ptp state unknown", "rav_ptp_state", "slave-only", {"if0.ptp=-1"});
    row("device name", "rav_device_name", "Cabine \xc3\xa0 droite", {"deviceName=Cabine \xc3\xa0 droite"});
    row("hardware address as sent", "rav_hw_addr1", "\xc3\xa9", {"if1.hw=\xc3\xa9"});
    // Without a comma the second interface reads as 0, as the settings pages expect; an empty part leaves it.
    row("status of one interface", "rav_status_in0", "receiving", {"in0.status=4,0"});
    row("status of the first", "rav_status_in0", "waiting,", {"in0.status=2,1"});
    row("status of both", "rav_status_in0", "idle,receiving", {"in0.status=1,4"});
    row("status of the second", "rav_status_in0", ",receiving sync err", {"in0.status=-1,7"});
    row("status unknown", "rav_status_in0", "Receiving,lost", {"in0.status=-1,-1"});
    row("status empty", "rav_status_in0", "", {"in0.status=-1,0"});
    row("unknown key", "rav_colour", "red", {});
    row("stream list name", "rav_stream_in", "1/1/x", {});
}

void TestRavennaController::replyRules()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArrayList, changes);

    QVERIFY(fetchValue(key.toStdString(), wire));
    QCOMPARE(text(fields(*m_rav)), changed(m_loaded, changes));
}

void TestRavennaController::malformedStreamInFetch()
{
    // The stream is left as it was and the fetch fails; the other answers still apply.
    m_device->setParam(audio, KEY_RAV_STREAM_IN_N[0], "12//broken");
    m_device->setParam(audio, KEY_RAV_STREAM_IN_N[1], "30/4/Cue");
    m_device->setParam(audio, KEY_RAV_DELAY_IN, "960");
    m_device->setParam(audio, KEY_RAV_STATUS_IN_N[0], "idle,idle");
    QVERIFY(!m_rav->fetch({KEY_RAV_STREAM_IN_N[0], KEY_RAV_DELAY_IN, KEY_RAV_STREAM_IN_N[1], KEY_RAV_STATUS_IN_N[0]}));
    QCOMPARE(text(fields(*m_rav)), changed(m_loaded, {"in1=30/4/Cue", "delays=16/9600/960", "in0.status=1,1"}));

    // Nothing answered: nothing applied.
    m_device->addFault(script({"PARAM;return:ERROR;"}));
    QVERIFY(!m_rav->fetch({KEY_RAV_DELAY_IN}));
    QCOMPARE(m_rav->inputDelay(), 960);
}

void TestRavennaController::setters_data()
{
    QTest::addColumn<QByteArray>("setter");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("dhcp"); // the interface's DHCP answer first; empty: as loaded
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    QTest::addColumn<QByteArrayList>("changes");

    const auto row = [](const char *name, const char *setter, int index, const char *dhcp, const QByteArray &value,
                         const QByteArray &frame, const QByteArrayList &changes, bool refused = false) {
        QTest::newRow(name) << QByteArray(setter) << index << QByteArray(dhcp) << value << refused << frame << changes;
    };
    row("device name in UTF-8", "deviceName", 0, "", "R\xc3\xa9gie 3", "rav_device_name=R\xc3\xa9gie 3",
        {"deviceName=R\xc3\xa9gie 3"});
    row("device name empty: held", "deviceName", 0, "", "", "", {"deviceName="});
    row("device name refused", "deviceName", 0, "", "X", "rav_device_name=X", {}, true);
    row("dhcp on while zeroconf", "dhcp", 0, "zeroconf", "1", "", {"if0.dhcp=2"});
    row("dhcp off from zeroconf", "dhcp", 0, "zeroconf", "0", "rav_dhcp=off", {"if0.dhcp=0"});
    row("dhcp on, interface 3 is 1", "dhcp", 3, "off", "1", "rav_dhcp1=on", {"if1.dhcp=1"});
    row("address, dhcp off", "ipAddr", 0, "", "10.0.0.5", "rav_ip_addr=10.0.0.5", {"if0.ip=10.0.0.5"});
    row("address, dhcp on: held", "ipAddr", 0, "on", "10.0.0.5", "", {"if0.dhcp=1", "if0.ip=10.0.0.5"});
    row("address, zeroconf: held", "ipAddr", 1, "", "10.0.0.5", "", {"if1.ip=10.0.0.5"});
    row("address empty: held", "ipAddr", 0, "", "", "", {"if0.ip="});
    row("subnet, interface 1", "subnet", 1, "off", "255.0.0.0", "rav_subnet1=255.0.0.0",
        {"if1.dhcp=0", "if1.subnet=255.0.0.0"});
    row("gateway empty", "gateway", 0, "", "", "rav_gateway=", {"if0.gateway="});
    row("gateway, dhcp on: held", "gateway", 0, "on", "10.0.0.1", "", {"if0.dhcp=1", "if0.gateway=10.0.0.1"});
    row("vlan", "vlanId", 1, "", "12", "rav_vlan_id1=12", {"if1.vlan=12"});
    row("stream", "streamIn", 0, "", "20/2/Caf\xc3\xa9", "rav_stream_in0=20/2/Caf\xc3\xa9",
        {"in0=20/2/Caf\xc3\xa9", "in0.status=-1,-1"});
    row("stream 7 without a name", "streamIn", 7, "", "9/1", "rav_stream_in7=9/1/", {"in7=9/1/"});
    row("stream refused", "streamIn", 1, "", "20/2/x", "rav_stream_in1=20/2/x", {}, true);
    row("stream 8", "streamIn", 8, "", "20/2/x", "", {}, true);
    row("stream -1", "streamIn", -1, "", "20/2/x", "", {}, true);
    row("output name empty: held", "outputName", 0, "", "", "", {"outputName="});
    row("autoconf, interface 1", "autoconf", 1, "", "0", "rav_autoconf_ou1=off", {"ou1.autoconf=0"});
    row("multicast address empty: held", "mcAddr", 1, "", "", "", {"ou1.addr="});
    row("port", "mcPort", 0, "", "5010", "rav_mc_port_ou=5010", {"ou0.port=5010"});
    row("port 0: held", "mcPort", 0, "", "0", "", {"ou0.port=0"});
    row("ptp domain refused", "ptpDomain", 0, "", "5", "rav_ptp_domain=5", {}, true);
}

void TestRavennaController::setters()
{
    QFETCH(QByteArray, setter);
    QFETCH(int, index);
    QFETCH(QByteArray, dhcp);
    QFETCH(QByteArray, value);
    QFETCH(bool, refused);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArrayList, changes);

    if (!dhcp.isEmpty())
        QVERIFY(fetchValue(KEY_RAV_DHCP[index & 1], dhcp));
    if (refused && !frame.isEmpty())
        m_device->refuseKey(frame.left(frame.indexOf('=')).toStdString(), kra::ERR_INVALID_VALUE);
    const Fields before = fields(*m_rav);

    QCOMPARE(set(*m_rav, setter, index, value, true), !refused);
    QCOMPARE(takeFrames(), frame.isEmpty() ? QByteArrayList() : QByteArrayList {"PARAM|" + frame + end});
    QCOMPARE(text(fields(*m_rav)), changed(refused ? before : m_loaded, changes));

    // The value held: nothing sent again.
    if (!refused) {
        QVERIFY(set(*m_rav, setter, index, value, true));
        QCOMPARE(takeFrames(), QByteArrayList());
    }
}

void TestRavennaController::store_data()
{
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent
    const auto row = [](const char *name, const char *names, const char *refuse, const QByteArray &frame) {
        QTest::newRow(name) << QByteArray(names) << QByteArray(refuse) << frame;
    };

    row("texts in UTF-8, numbers, switches",
        "rav_device_name,rav_name_ou,rav_dhcp1,rav_mode_ou,rav_mc_port_ou1,rav_ptp_domain,rav_net_mode,rav_stream_in1,"
        "rav_gateway1",
        "",
        "PARAM|rav_device_name=R\xc3\xa9gie 2|rav_dhcp1=on|rav_gateway1=|rav_mc_port_ou1=5008|rav_mode_ou=on"
        "|rav_name_ou=Reporter \xc3\xa9|rav_net_mode=redund|rav_ptp_domain=3|rav_stream_in1=14/1/Caf\xc3\xa9"
        "|target=audio");
    row("read-only names left out", "rav_hw_addr,rav_delay_in,rav_status_in0,rav_if_count,rav_delay_in", "",
        "PARAM|rav_delay_in=480|target=audio");
    row("only read-only names", "rav_manufacturer,rav_lock_state,target", "", "");
    row("empty list", "", "", "");
    row("one refused", "rav_vlan_id,rav_sample_rate", "rav_vlan_id",
        "PARAM|rav_sample_rate=96000|rav_vlan_id=7|target=audio");
}

void TestRavennaController::store()
{
    QFETCH(QByteArray, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    QCOMPARE(m_rav->store(rpctesting::names(names)), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(takeFrames(), frame.isEmpty() ? QByteArrayList() : QByteArrayList {frame});
    QCOMPARE(text(fields(*m_rav)), text(m_loaded));
}

void TestRavennaController::lists()
{
    std::vector<TComRavennaInputStream> streams(1);
    QVERIFY(m_rav->fetchStreamInList(streams));
    QByteArrayList seen;
    for (const TComRavennaInputStream &s : streams)
        seen << heldStream(s) + " " + QByteArray::number(s.status[0]) + "," + QByteArray::number(s.status[1]);
    QCOMPARE(seen, (QByteArrayList {"12/3/Studio A -1,-1", "14/1/Caf\xc3\xa9 -1,-1", "20/2/ -1,-1"}));
    std::vector<int> rates {1}, bits;
    QVERIFY(m_rav->fetchSampleRateList(rates));
    QCOMPARE(QVector<int>(rates.begin(), rates.end()), (QVector<int> {44100, 48000, 96000}));
    QVERIFY(m_rav->fetchResolutionList(bits));
    QCOMPARE(QVector<int>(bits.begin(), bits.end()), (QVector<int> {16, 24, 32}));
    QCOMPARE(takeFrames(),
        (QByteArrayList {"PARAM|target=audio|LIST rav_stream_in", "PARAM|target=audio|LIST rav_sample_rate",
            "PARAM|target=audio|LIST rav_resolution"}));

    // Long lists come in parts.
    m_device->addFault(fault(SimDevice::Fault::Progress, 2));
    QVERIFY(m_rav->fetchStreamInList(streams));
    QCOMPARE(int(streams.size()), 3);

    // A list the device does not have reads as empty; a refused request as nothing.
    m_device->addFault(script({"PARAM;return:ERROR;rav_resolution:101-parameter not set;"}));
    QVERIFY(m_rav->fetchResolutionList(bits));
    QVERIFY(bits.empty());
    m_device->addFault(fault(SimDevice::Fault::Nok));
    QVERIFY(!m_rav->fetchStreamInList(streams));
    QVERIFY(streams.empty());
}

void TestRavennaController::attachAndReset()
{
    QSignalSpy state(m_rav.get(), &TComController::controllerStateChanged);
    QCOMPARE(m_rav->state(), 0);
    QVERIFY(fetchValue(KEY_RAV_STREAM_IN_N[6], "40/1/Six"));
    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[6], "idle,idle"));
    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[2], "idle,idle"));

    // Kept: the net mode, the receiver delays and what the module says of itself. Every stream is emptied; one
    // already empty keeps its statuses.
    m_rav->reset();
    QCOMPARE(m_rav->state(), -1);
    QCOMPARE(state.count(), 1);
    Fields expected = fields(Rav(nullptr));
    for (const char *kept : {"netMode", "delays", "manufacturer", "hardwareName", "revisions"})
        expected[kept] = m_loaded[kept];
    expected["in2.status"] = "1,1";
    QCOMPARE(text(fields(*m_rav)), text(expected));
    QCOMPARE(takeFrames(), QByteArrayList());
    m_rav->reset();
    QCOMPARE(state.count(), 1);

    // Without names nothing is read; with names they are read, and a second attach resets first.
    QVERIFY(m_rav->attach({}));
    QCOMPARE(m_rav->state(), 0);
    QCOMPARE(state.count(), 2);
    QCOMPARE(takeFrames(), QByteArrayList());
    QVERIFY(m_rav->attach({KEY_RAV_DEVICE_NAME}));
    QCOMPARE(state.count(), 4);
    QCOMPARE(m_rav->deviceName(), std::string("R\xc3\xa9gie 2"));
    QCOMPARE(takeFrames(), QByteArrayList {"PARAM|target=audio|GET rav_device_name"});

    // A failed read leaves the state where the reset put it.
    m_device->addFault(fault(SimDevice::Fault::Nok));
    QVERIFY(!m_rav->attach({KEY_RAV_DEVICE_NAME}));
    QCOMPARE(m_rav->state(), -1);
    QCOMPARE(m_rav->deviceName(), std::string());
    QVERIFY(!m_rav->signalsBlocked());
}

// Each key as the device spells it: the read that brings it (all values, or the one name) asks for it and changes
// exactly its value, and a storable one is written under it by its setter. The streams on offer are the list of
// "rav_stream_in".
void TestRavennaController::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("read"); // "all", "one" or "list"
    QTest::addColumn<QByteArray>("device"); // what the device holds
    QTest::addColumn<QByteArray>("held"); // "field=value" of fields() after the read
    QTest::addColumn<QByteArray>("setter"); // of set(); null: not written
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("value"); // the value set ...
    QTest::addColumn<QByteArray>("sent"); // ... and its text on the wire

    const auto row
        = [](const char *key, const char *read, const char *device, const char *held, const char *setter = nullptr,
              int index = 0, const char *value = nullptr, const char *sent = nullptr) {
              QTest::newRow(key) << QByteArray(key) << QByteArray(read) << QByteArray(device) << QByteArray(held)
                                 << QByteArray(setter) << index << QByteArray(value) << QByteArray(sent);
          };
    row("rav_manufacturer", "all", "Other Maker", "manufacturer=Other Maker");
    row("rav_hardware_name", "all", "Module 9", "hardwareName=Module 9");
    row("rav_device_name", "all", "Booth 3", "deviceName=Booth 3", "deviceName", 0, "Booth 4", "Booth 4");
    row("rav_if_count", "all", "1", "ifCount=1");
    row("rav_net_mode", "one", "switch", "netMode=0", "netMode", 0, "1", "redund");
    row("rav_sample_rate", "all", "44100", "rate=44100", "sampleRate", 0, "48000", "48000");
    row("rav_resolution", "all", "16", "resolution=16", "resolution", 0, "24", "24");
    row("rav_ptp_domain", "all", "9", "ptpDomain=9", "ptpDomain", 0, "4", "4");
    row("rav_dhcp", "all", "on", "if0.dhcp=1", "dhcp", 0, "0", "off");
    row("rav_dhcp1", "one", "off", "if1.dhcp=0", "dhcp", 1, "1", "on");
    row("rav_ip_addr", "all", "192.168.20.5", "if0.ip=192.168.20.5", "ipAddr", 0, "192.168.20.6", "192.168.20.6");
    row("rav_ip_addr1", "one", "169.254.9.9", "if1.ip=169.254.9.9", "ipAddr", 1, "10.1.1.1", "10.1.1.1");
    row("rav_subnet", "all", "255.255.0.0", "if0.subnet=255.255.0.0", "subnet", 0, "255.0.0.0", "255.0.0.0");
    row("rav_subnet1", "one", "255.255.255.0", "if1.subnet=255.255.255.0", "subnet", 1, "255.0.0.0", "255.0.0.0");
    row("rav_gateway", "all", "192.168.20.1", "if0.gateway=192.168.20.1", "gateway", 0, "192.168.20.254",
        "192.168.20.254");
    row("rav_gateway1", "one", "169.254.0.1", "if1.gateway=169.254.0.1", "gateway", 1, "10.1.1.254", "10.1.1.254");
    row("rav_hw_addr", "all", "02:00:5e:00:00:09", "if0.hw=02:00:5e:00:00:09");
    row("rav_hw_addr1", "one", "02:00:5e:00:00:0a", "if1.hw=02:00:5e:00:00:0a");
    row("rav_vlan_id", "one", "11", "if0.vlan=11", "vlanId", 0, "12", "12");
    row("rav_vlan_id1", "one", "13", "if1.vlan=13", "vlanId", 1, "14", "14");
    row("rav_stream_in", "list", "21/2/Line,22/1/Desk", "21/2/Line,22/1/Desk");
    // Streams 0 and 1 come with everything; the others only by name.
    const char *const streamKeys[] = {"rav_stream_in0", "rav_stream_in1", "rav_stream_in2", "rav_stream_in3",
        "rav_stream_in4", "rav_stream_in5", "rav_stream_in6", "rav_stream_in7"};
    const char *const statusKeys[] = {"rav_status_in0", "rav_status_in1", "rav_status_in2", "rav_status_in3",
        "rav_status_in4", "rav_status_in5", "rav_status_in6", "rav_status_in7"};
    for (int n = 0; n < Rav::streamCount; ++n) {
        const QByteArray stream = QByteArray::number(30 + n) + "/1/Desk";
        const QByteArray next = QByteArray::number(40 + n) + "/2/Desk 2";
        QTest::newRow(streamKeys[n]) << QByteArray(streamKeys[n]) << QByteArray(n < 2 ? "all" : "one") << stream
                                     << "in" + QByteArray::number(n) + "=" + stream << QByteArray("streamIn") << n
                                     << next << next;
        QTest::newRow(statusKeys[n]) << QByteArray(statusKeys[n]) << QByteArray(n < 2 ? "all" : "one")
                                     << QByteArray("idle,not enough dec")
                                     << "in" + QByteArray::number(n) + ".status=1,9" << QByteArray() << 0
                                     << QByteArray() << QByteArray();
    }
    row("rav_delay_min_in", "all", "32", "delays=32/9600/480");
    row("rav_delay_max_in", "all", "4800", "delays=16/4800/480");
    row("rav_delay_in", "all", "960", "delays=16/9600/960", "inputDelay", 0, "240", "240");
    row("rav_name_ou", "all", "Reporter 2", "outputName=Reporter 2", "outputName", 0, "Reporter 3", "Reporter 3");
    row("rav_mode_ou", "all", "off", "outputEnabled=0", "outputMode", 0, "1", "on");
    row("rav_netif_ou", "one", "0", "outputNetIf=0", "outputNetIf", 0, "1", "1");
    row("rav_autoconf_ou", "all", "on", "ou0.autoconf=1", "autoconf", 0, "0", "off");
    row("rav_autoconf_ou1", "one", "off", "ou1.autoconf=0", "autoconf", 1, "1", "on");
    row("rav_mc_addr_ou", "all", "239.9.9.9", "ou0.addr=239.9.9.9", "mcAddr", 0, "239.9.9.10", "239.9.9.10");
    row("rav_mc_addr_ou1", "one", "239.9.9.8", "ou1.addr=239.9.9.8", "mcAddr", 1, "239.9.9.11", "239.9.9.11");
    row("rav_mc_port_ou", "all", "5010", "ou0.port=5010", "mcPort", 0, "5012", "5012");
    row("rav_mc_port_ou1", "one", "5014", "ou1.port=5014", "mcPort", 1, "5016", "5016");
    row("rav_ch_count_ou", "all", "4", "channels=4");
    row("rav_ptime_ou", "all", "4", "ptime=4");
    row("rav_sync_state", "all", "3", "sync=3");
    row("rav_lock_state", "one", "locking", "lock=2");
    row("rav_link_state", "all", "off", "if0.link=0");
    row("rav_link_state1", "one", "on", "if1.link=1");
    row("rav_ptp_state", "all", "master", "if0.ptp=6");
    row("rav_ptp_state1", "one", "faulty", "if1.ptp=2");
    row("rav_hardware_rev", "all", "C1", "revisions=C1/1.8/1.8.4/1.0.2");
    row("rav_firmware_ver", "one", "1.9", "revisions=B2/1.9/1.8.4/1.0.2");
    row("rav_firmware_rev", "all", "1.9.1", "revisions=B2/1.8/1.9.1/1.0.2");
    row("rav_rescueos_rev", "one", "1.1.0", "revisions=B2/1.8/1.8.4/1.1.0");
}

void TestRavennaController::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, read);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, held);
    QFETCH(QByteArray, setter);
    QFETCH(int, index);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, sent);

    const std::string name = key.toStdString();
    if (read == "list") {
        m_device->setList(audio, name, rpctesting::names(device));
        std::vector<TComRavennaInputStream> streams;
        QVERIFY(m_rav->fetchStreamInList(streams));
        QCOMPARE(takeFrames(), QByteArrayList {"PARAM|target=audio|LIST " + key});
        QByteArrayList found;
        for (const TComRavennaInputStream &stream : streams)
            found << heldStream(stream);
        QCOMPARE(found.join(','), held);
        return;
    }
    m_device->setParam(audio, name, device.toStdString());
    QVERIFY(read == "all" ? m_rav->fetchAll() : m_rav->fetch({name}));
    QVERIFY(askedNames(takeFrames()).contains(key));
    QCOMPARE(text(fields(*m_rav)), changed(m_loaded, {held}));
    if (setter.isNull())
        return;

    // The addresses go out only while the interface's DHCP is off.
    if (setter == "ipAddr" || setter == "subnet" || setter == "gateway")
        m_rav->setDhcp(index, false, false);
    QVERIFY(set(*m_rav, setter, index, value, true));
    QCOMPARE(takeFrames(), QByteArrayList {writeFrame("target:audio;", key, sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param(audio, name)), sent);
}

QTEST_GUILESS_MAIN(TestRavennaController)
#include "tst_ravennacontroller.moc"
