// The RAVENNA controller against the simulated device: the frames it sends, the values it holds and what its
// requests report.

#include "accessors.h"
#include "ccom.h"
#include "rpctesting.h"
#include "simdevice.h"
#include "tcomravennacontroller.h"

#include <QtTest>

using namespace rpctesting;

namespace {

using Rav = TComRavennaController;
using Fields = QMap<QByteArray, QByteArray>;

const std::string audio("audio");
const QByteArray end("|target=audio");

std::vector<std::string> strings(const QStringList &names)
{
    std::vector<std::string> out;
    for (const QString &name : names)
        out.push_back(name.toStdString());
    return out;
}

// Every key the controller knows.
std::vector<std::string> allKeys()
{
    std::vector<std::string> keys {KEY_RAV_MANUFACTURER, KEY_RAV_HARDWARE_NAME, KEY_RAV_DEVICE_NAME, KEY_RAV_IF_COUNT,
        KEY_RAV_NET_MODE, KEY_RAV_SAMPLE_RATE, KEY_RAV_RESOLUTION, KEY_RAV_PTP_DOMAIN, KEY_RAV_STREAM_IN,
        KEY_RAV_DELAY_MIN_IN, KEY_RAV_DELAY_MAX_IN, KEY_RAV_DELAY_IN, KEY_RAV_NAME_OU, KEY_RAV_MODE_OU,
        KEY_RAV_NETIF_OU, KEY_RAV_CH_COUNT_OU, KEY_RAV_PTIME_OU, KEY_RAV_SYNC_STATE, KEY_RAV_LOCK_STATE,
        KEY_RAV_HARDWARE_REV, KEY_RAV_FIRMWARE_VER, KEY_RAV_FIRMWARE_REV, KEY_RAV_RESCUEOS_REV};
    for (int i = 0; i < 2; ++i) {
        for (const std::string *perIf :
            {KEY_RAV_DHCP, KEY_RAV_IP_ADDR, KEY_RAV_SUBNET, KEY_RAV_GATEWAY, KEY_RAV_HW_ADDR, KEY_RAV_VLAN_ID,
                KEY_RAV_LINK_STATE, KEY_RAV_PTP_STATE, KEY_RAV_AUTOCONF_OU, KEY_RAV_MC_ADDR_OU, KEY_RAV_MC_PORT_OU})
            keys.push_back(perIf[i]);
    }
    for (int n = 0; n < Rav::streamCount; ++n) {
        keys.push_back(KEY_RAV_STREAM_IN_N[n]);
        keys.push_back(KEY_RAV_STATUS_IN_N[n]);
    }
    return keys;
}

QByteArray heldStream(const TComRavennaInputStream &s)
{
    return QByteArray::number(s.id) + '/' + QByteArray::number(s.channel) + '/' + QByteArray::fromStdString(s.name);
}

// Everything the controller holds, by name; texts as held (Latin-1).
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
bool set(Rav &r, const QByteArray &setter, int index, const QByteArray &value, bool send)
{
    const std::string t = value.toStdString();
    const int v = value.toInt();
    if (setter == "deviceName")
        return r.setDeviceName(t, send);
    if (setter == "netMode")
        return r.setNetMode(v, send);
    if (setter == "dhcp")
        return r.setDhcp(index, v != 0, send);
    if (setter == "ipAddr")
        return r.setIpAddr(index, t, send);
    if (setter == "subnet")
        return r.setSubnet(index, t, send);
    if (setter == "gateway")
        return r.setGateway(index, t, send);
    if (setter == "vlanId")
        return r.setVlanId(index, v, send);
    if (setter == "streamIn") {
        TComRavennaInputStream stream;
        return stream.fromText(t) && r.setStreamIn(index, stream, send);
    }
    if (setter == "inputDelay")
        return r.setInputDelay(v, send);
    if (setter == "outputMode")
        return r.setOutputMode(v != 0, send);
    if (setter == "outputName")
        return r.setOutputName(t, send);
    if (setter == "outputNetIf")
        return r.setOutputNetIf(v, send);
    if (setter == "autoconf")
        return r.setOutputAutoconf(index, v != 0, send);
    if (setter == "mcAddr")
        return r.setOutputMcAddr(index, t, send);
    if (setter == "mcPort")
        return r.setOutputMcPort(index, v, send);
    if (setter == "sampleRate")
        return r.setSampleRate(v, send);
    if (setter == "resolution")
        return r.setResolution(v, send);
    if (setter == "ptpDomain")
        return r.setPtpDomain(v, send);
    qFatal("no setter %s", setter.constData());
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
    void statusText_data();
    void statusText();
    void replyRules_data();
    void replyRules();
    void malformedStreamInFetch();
    void setters_data();
    void setters();
    void store_data();
    void store();
    void lists();
    void attachAndReset();
    void accessor();

private:
    QByteArrayList takeFrames();
    // Fetches one key whose device value is text; the fetch's result.
    bool fetchValue(const std::string &key, const QByteArray &text);

    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    // Holding everything the device holds except streams 2 to 7; no request left in the log.
    Rav *m_rav = nullptr;
    Fields m_loaded;
};

void TestRavennaController::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_device->loadSetup(SimDevice::ravennaSetup());
    m_com = new kra::CCom;
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    QTRY_COMPARE(m_device->clientCount(), 1);
    m_rav = new Rav(m_com);
    std::vector<std::string> keys;
    for (const std::string &key : allKeys()) {
        if (key != KEY_RAV_STREAM_IN && m_device->hasParam(audio, key))
            keys.push_back(key);
    }
    QVERIFY(m_rav->attach(keys));
    m_loaded = fields(*m_rav);
    takeFrames();
}

void TestRavennaController::cleanup()
{
    delete m_rav;
    delete m_com;
    delete m_device;
}

QByteArrayList TestRavennaController::takeFrames()
{
    QByteArrayList frames;
    for (const RpcMessage &request : m_device->requests())
        frames << describe(request.body());
    m_device->clearRequests();
    return frames;
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
    const QByteArray none = "65535/0/None";
    Fields expected {{"outputEnabled", "1"}, {"ifCount", "2"}, {"netMode", "1"}, {"rate", "96000"},
        {"resolution", "32"}, {"ptpDomain", "3"}, {"delays", "16/9600/480"}, {"outputNetIf", "1"}, {"channels", "8"},
        {"ptime", "0.25"}, {"sync", "1"}, {"lock", "3"}, {"manufacturer", "Example Audio"},
        {"hardwareName", "AoIP module 8"}, {"deviceName", "R\xe9gie 2"}, {"outputName", "Reporter \xe9"},
        {"revisions", "B2/1.8/1.8.4/1.0.2"}, {"if0.link", "1"}, {"if0.dhcp", "0"}, {"if0.vlan", "7"}, {"if0.ptp", "9"},
        {"if0.ip", "192.168.10.5"}, {"if0.subnet", "255.255.255.0"}, {"if0.gateway", "192.168.10.1"},
        {"if0.hw", "02:00:5e:00:00:01"}, {"if1.link", "0"}, {"if1.dhcp", "2"}, {"if1.vlan", "8"}, {"if1.ptp", "4"},
        {"if1.ip", "169.254.3.4"}, {"if1.subnet", "255.255.0.0"}, {"if1.gateway", ""}, {"if1.hw", "02:00:5e:00:00:02"},
        {"ou0.autoconf", "0"}, {"ou0.port", "5006"}, {"ou0.addr", "239.1.2.3"}, {"ou1.autoconf", "1"},
        {"ou1.port", "5008"}, {"ou1.addr", "239.1.2.4"}, {"in0", "12/3/Studio A"}, {"in0.status", "4,1"},
        {"in1", "14/1/Caf\xe9"}, {"in1.status", "2,2"}};
    for (int k = 2; k < Rav::streamCount; ++k) {
        expected["in" + QByteArray::number(k)] = none;
        expected["in" + QByteArray::number(k) + ".status"] = "-1,-1";
    }
    QCOMPARE(text(m_loaded), text(expected));

    // A fresh controller reads the 31 keys of the overview pages, in one request.
    Rav fresh(m_com);
    QVERIFY(fresh.fetchAll());
    QCOMPARE(takeFrames(),
        QByteArrayList {"PARAM|target=audio|GET rav_manufacturer|GET rav_hardware_name|GET rav_if_count"
                        "|GET rav_device_name|GET rav_sample_rate|GET rav_resolution|GET rav_ptp_domain|GET rav_dhcp"
                        "|GET rav_ip_addr|GET rav_subnet|GET rav_gateway|GET rav_hw_addr|GET rav_stream_in0"
                        "|GET rav_status_in0|GET rav_stream_in1|GET rav_status_in1|GET rav_delay_min_in"
                        "|GET rav_delay_max_in|GET rav_delay_in|GET rav_name_ou|GET rav_mode_ou|GET rav_autoconf_ou"
                        "|GET rav_mc_addr_ou|GET rav_mc_port_ou|GET rav_ch_count_ou|GET rav_ptime_ou"
                        "|GET rav_sync_state|GET rav_link_state|GET rav_ptp_state|GET rav_hardware_rev"
                        "|GET rav_firmware_rev"});
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
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("held"); // Latin-1; empty: as before

    QTest::newRow("id, channel, name") << QByteArray("12/3/Studio A") << true << QByteArray("12/3/Studio A");
    QTest::newRow("no name") << QByteArray("12/3") << true << QByteArray("12/3/");
    QTest::newRow("name after an empty part") << QByteArray("12/3/") << true << QByteArray("12/3/");
    QTest::newRow("slash in the name") << QByteArray("12/3/A/B") << true << QByteArray("12/3/A/B");
    QTest::newRow("UTF-8 name") << QByteArray("7/2/Caf\xc3\xa9 \xc3\xa0 c\xc3\xb4t\xc3\xa9") << true
                                << QByteArray("7/2/Caf\xe9 \xe0 c\xf4t\xe9");
    QTest::newRow("no id") << QByteArray("/3/x") << false << QByteArray();
    QTest::newRow("no channel") << QByteArray("12//x") << false << QByteArray();
    QTest::newRow("nothing after the id") << QByteArray("12/") << false << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << QByteArray();
    QTest::newRow("no slash") << QByteArray("12") << false << QByteArray();
}

void TestRavennaController::streamText()
{
    QFETCH(QByteArray, wire);
    QFETCH(bool, ok);
    QFETCH(QByteArray, held);

    // Stream 2 with known statuses: the reply rule never touches them.
    QVERIFY(fetchValue(KEY_RAV_STREAM_IN_N[2], "5/1/Old"));
    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[2], "receiving,idle"));
    const Fields before = fields(*m_rav);

    QCOMPARE(fetchValue(KEY_RAV_STREAM_IN_N[2], wire), ok);
    QCOMPARE(text(fields(*m_rav)), ok ? changed(before, {"in2=" + held}) : text(before));

    // Stored, the stream goes back as the device sent it, the name in UTF-8.
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

void TestRavennaController::statusText_data()
{
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("status");

    // Without a comma the second interface reads as 0, as the settings pages expect.
    QTest::newRow("one status") << QByteArray("receiving") << QByteArray("4,0");
    QTest::newRow("first only") << QByteArray("idle,") << QByteArray("1,3");
    QTest::newRow("both") << QByteArray("idle,receiving") << QByteArray("1,4");
    QTest::newRow("second only") << QByteArray(",receiving sync err") << QByteArray("-1,7");
    QTest::newRow("unknown texts") << QByteArray("Receiving,lost") << QByteArray("-1,-1");
    QTest::newRow("empty") << QByteArray() << QByteArray("-1,0");
}

void TestRavennaController::statusText()
{
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, status);

    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[3], "transmitting,transmitting"));
    const Fields before = fields(*m_rav);
    QVERIFY(fetchValue(KEY_RAV_STATUS_IN_N[3], wire));
    QCOMPARE(text(fields(*m_rav)), changed(before, {"in3.status=" + status}));
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
    row("interface count -3", "rav_if_count", "-3", {"ifCount=1"});
    row("interface count not a number", "rav_if_count", "two", {"ifCount=1"});
    row("zeroconf", "rav_dhcp", "zeroconf", {"if0.dhcp=2"});
    row("dhcp unknown", "rav_dhcp1", "auto", {"if1.dhcp=0"});
    row("net mode", "rav_net_mode", "switch", {"netMode=0"});
    row("sample rate empty", "rav_sample_rate", "", {"rate=48000"});
    row("resolution empty", "rav_resolution", "", {"resolution=24"});
    row("ptp domain empty", "rav_ptp_domain", "", {"ptpDomain=0"});
    row("delay empty", "rav_delay_in", "", {});
    row("minimum delay empty", "rav_delay_min_in", "", {});
    row("maximum delay", "rav_delay_max_in", "4800", {"delays=16/4800/480"});
    row("port empty", "rav_mc_port_ou1", "", {"ou1.port=5004"});
    row("channels empty", "rav_ch_count_ou", "", {"channels=2"});
    row("packet time empty", "rav_ptime_ou", "", {"ptime=1"});
    row("packet time", "rav_ptime_ou", "0.125", {"ptime=0.125"});
    row("lock unknown", "rav_lock_state", "lost", {"lock=0"});
    row("lock", "rav_lock_state", "locking", {"lock=2"});
    row("ptp state", "rav_ptp_state1", "pre master", {"if1.ptp=5"});
    row("ptp state unknown", "rav_ptp_state", "slave-only", {"if0.ptp=-1"});
    row("link", "rav_link_state", "up", {"if0.link=0"});
    row("output mode", "rav_mode_ou", "ON", {"outputEnabled=0"});
    row("device name", "rav_device_name", "Cabine \xc3\xa0 droite", {"deviceName=Cabine \xe0 droite"});
    row("manufacturer", "rav_manufacturer", "\xc3\x89tude", {"manufacturer=\xc9tude"});
    row("hardware address as sent", "rav_hw_addr1", "\xc3\xa9", {"if1.hw=\xc3\xa9"});
    row("firmware", "rav_firmware_ver", "2.0", {"revisions=B2/2.0/1.8.4/1.0.2"});
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
    row("device name in UTF-8", "deviceName", 0, "", "R\xe9gie 3", "rav_device_name=R\xc3\xa9gie 3",
        {"deviceName=R\xe9gie 3"});
    row("device name empty: held", "deviceName", 0, "", "", "", {"deviceName="});
    row("device name refused", "deviceName", 0, "", "X", "rav_device_name=X", {}, true);
    row("net mode redundant", "netMode", 0, "", "0", "rav_net_mode=switch", {"netMode=0"});
    row("dhcp on while zeroconf", "dhcp", 0, "zeroconf", "1", "", {"if0.dhcp=2"});
    row("dhcp off from zeroconf", "dhcp", 0, "zeroconf", "0", "rav_dhcp=off", {"if0.dhcp=0"});
    row("dhcp on, interface 3 is 1", "dhcp", 3, "off", "1", "rav_dhcp1=on", {"if1.dhcp=1"});
    row("dhcp refused", "dhcp", 0, "", "1", "rav_dhcp=on", {}, true);
    row("address, dhcp off", "ipAddr", 0, "", "10.0.0.5", "rav_ip_addr=10.0.0.5", {"if0.ip=10.0.0.5"});
    row("address, dhcp on: held", "ipAddr", 0, "on", "10.0.0.5", "", {"if0.dhcp=1", "if0.ip=10.0.0.5"});
    row("address, zeroconf: held", "ipAddr", 1, "", "10.0.0.5", "", {"if1.ip=10.0.0.5"});
    row("address empty: held", "ipAddr", 0, "", "", "", {"if0.ip="});
    row("address refused", "ipAddr", 0, "", "10.0.0.5", "rav_ip_addr=10.0.0.5", {}, true);
    row("subnet, interface 1", "subnet", 1, "off", "255.0.0.0", "rav_subnet1=255.0.0.0",
        {"if1.dhcp=0", "if1.subnet=255.0.0.0"});
    row("subnet empty: held", "subnet", 0, "", "", "", {"if0.subnet="});
    row("gateway empty", "gateway", 0, "", "", "rav_gateway=", {"if0.gateway="});
    row("gateway, dhcp on: held", "gateway", 0, "on", "10.0.0.1", "", {"if0.dhcp=1", "if0.gateway=10.0.0.1"});
    row("vlan", "vlanId", 1, "", "12", "rav_vlan_id1=12", {"if1.vlan=12"});
    row("stream", "streamIn", 0, "", "20/2/Caf\xc3\xa9", "rav_stream_in0=20/2/Caf\xc3\xa9",
        {"in0=20/2/Caf\xe9", "in0.status=-1,-1"});
    row("stream 7 without a name", "streamIn", 7, "", "9/1", "rav_stream_in7=9/1/", {"in7=9/1/"});
    row("stream refused", "streamIn", 1, "", "20/2/x", "rav_stream_in1=20/2/x", {}, true);
    row("stream 8", "streamIn", 8, "", "20/2/x", "", {}, true);
    row("stream -1", "streamIn", -1, "", "20/2/x", "", {}, true);
    row("input delay", "inputDelay", 0, "", "256", "rav_delay_in=256", {"delays=16/9600/256"});
    row("output off", "outputMode", 0, "", "0", "rav_mode_ou=off", {"outputEnabled=0"});
    row("output name", "outputName", 0, "", "Ext\xe9rieur", "rav_name_ou=Ext\xc3\xa9rieur",
        {"outputName=Ext\xe9rieur"});
    row("output name empty: held", "outputName", 0, "", "", "", {"outputName="});
    row("output interface", "outputNetIf", 0, "", "0", "rav_netif_ou=0", {"outputNetIf=0"});
    row("autoconf, interface 1", "autoconf", 1, "", "0", "rav_autoconf_ou1=off", {"ou1.autoconf=0"});
    row("multicast address", "mcAddr", 0, "", "239.9.9.9", "rav_mc_addr_ou=239.9.9.9", {"ou0.addr=239.9.9.9"});
    row("multicast address empty: held", "mcAddr", 1, "", "", "", {"ou1.addr="});
    row("port", "mcPort", 0, "", "5010", "rav_mc_port_ou=5010", {"ou0.port=5010"});
    row("port 0: held", "mcPort", 0, "", "0", "", {"ou0.port=0"});
    row("port refused", "mcPort", 1, "", "6000", "rav_mc_port_ou1=6000", {}, true);
    row("sample rate", "sampleRate", 0, "", "48000", "rav_sample_rate=48000", {"rate=48000"});
    row("resolution", "resolution", 0, "", "16", "rav_resolution=16", {"resolution=16"});
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
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QByteArray>("refuse");
    QTest::addColumn<QByteArray>("frame"); // empty: nothing sent

    QTest::newRow("texts in UTF-8, numbers, switches")
        << QStringList {"rav_device_name", "rav_name_ou", "rav_dhcp1", "rav_mode_ou", "rav_mc_port_ou1",
               "rav_ptp_domain", "rav_net_mode", "rav_stream_in1", "rav_gateway1"}
        << QByteArray()
        << QByteArray("PARAM|rav_device_name=R\xc3\xa9gie 2|rav_dhcp1=on|rav_gateway1=|rav_mc_port_ou1=5008"
                      "|rav_mode_ou=on|rav_name_ou=Reporter \xc3\xa9|rav_net_mode=redund|rav_ptp_domain=3"
                      "|rav_stream_in1=14/1/Caf\xc3\xa9|target=audio");
    QTest::newRow("read-only names left out")
        << QStringList {"rav_hw_addr", "rav_delay_in", "rav_status_in0", "rav_if_count", "rav_delay_in"} << QByteArray()
        << QByteArray("PARAM|rav_delay_in=480|target=audio");
    QTest::newRow("only read-only names")
        << QStringList {"rav_manufacturer", "rav_lock_state", "target"} << QByteArray() << QByteArray();
    QTest::newRow("empty list") << QStringList() << QByteArray() << QByteArray();
    QTest::newRow("one refused") << QStringList {"rav_vlan_id", "rav_sample_rate"} << QByteArray("rav_vlan_id")
                                 << QByteArray("PARAM|rav_sample_rate=96000|rav_vlan_id=7|target=audio");
}

void TestRavennaController::store()
{
    QFETCH(QStringList, names);
    QFETCH(QByteArray, refuse);
    QFETCH(QByteArray, frame);

    if (!refuse.isEmpty())
        m_device->refuseKey(refuse.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    QCOMPARE(m_rav->store(strings(names)), !frame.isEmpty() && refuse.isEmpty());
    QCOMPARE(takeFrames(), frame.isEmpty() ? QByteArrayList() : QByteArrayList {frame});
    QCOMPARE(text(fields(*m_rav)), text(m_loaded));
}

void TestRavennaController::lists()
{
    // Every key offered, the 33 storable ones taken.
    QVERIFY(m_rav->store(allKeys()));
    QCOMPARE(m_device->requests().count(), 1);
    QCOMPARE(int(m_device->requests().first().body().params.size()), 33 + 1);
    takeFrames();

    std::vector<TComRavennaInputStream> streams(1);
    QVERIFY(m_rav->fetchStreamInList(streams));
    QByteArrayList seen;
    for (const TComRavennaInputStream &s : streams)
        seen << heldStream(s) + " " + QByteArray::number(s.status[0]) + "," + QByteArray::number(s.status[1]);
    QCOMPARE(seen, (QByteArrayList {"12/3/Studio A -1,-1", "14/1/Caf\xe9 -1,-1", "20/2/ -1,-1"}));
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
    QSignalSpy state(m_rav, &TComController::controllerStateChanged);
    QCOMPARE(m_rav->state(), 0);
    QCOMPARE(m_rav->kind(), int(TComController::Generic));
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
    QCOMPARE(m_rav->deviceName(), std::string("R\xe9gie 2"));
    QCOMPARE(takeFrames(), QByteArrayList {"PARAM|target=audio|GET rav_device_name"});

    // A failed read leaves the state where the reset put it.
    m_device->addFault(fault(SimDevice::Fault::Nok));
    QVERIFY(!m_rav->attach({KEY_RAV_DEVICE_NAME}));
    QCOMPARE(m_rav->state(), -1);
    QCOMPARE(m_rav->deviceName(), std::string());
    QVERIFY(!m_rav->signalsBlocked());
}

void TestRavennaController::accessor()
{
    TComRavennaController *controller = getRavennaController();
    QCOMPARE(getRavennaController(), controller);
    QCOMPARE(controller->rpc().com(), getCom());
    QCOMPARE(controller->state(), -1);
}

QTEST_GUILESS_MAIN(TestRavennaController)
#include "tst_ravennacontroller.moc"
