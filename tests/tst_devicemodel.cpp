// The device model against the simulated device: the requests of its start-up per device set-up, what the
// device's events and INFO messages change and announce, and the model's own setters with their follow-ups.

#include "tests/devicetesting.h"

#include <QtTest>

#include <memory>

using namespace devicetesting;
using rpctesting::fault;

namespace {

// "error:<word>" an error reply, "drop:<word>" a dropped link, for the first request that names the word.
void addFaults(SimDevice &device, const QByteArrayList &faults)
{
    for (const QByteArray &spec : faults) {
        const QByteArrayList parts = spec.split(':');
        const auto kind = parts[0] == "drop" ? SimDevice::Fault::Drop : SimDevice::Fault::ErrorReply;
        device.addFault(fault(kind, 7, parts[1].toStdString()));
    }
}

void compareFields(const TComDevice &model, const QByteArrayList &expected)
{
    const QMap<QByteArray, QByteArray> fields = modelFields(model);
    for (const QByteArray &entry : expected) {
        const int equals = entry.indexOf('=');
        QCOMPARE(entry.left(equals) + "=" + fields.value(entry.left(equals), "?"), entry);
    }
}

} // namespace

class TestDeviceModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initialize_data();
    void initialize();
    void resetKeepsBattery();
    void removalHeardDuringStartUp();
    void messages_data();
    void messages();
    void codecMode_data();
    void codecMode();
    void defaultNetwork_data();
    void defaultNetwork();
    void setters_data();
    void setters();

private:
    std::unique_ptr<ModelRig> m_rig;
};

void TestDeviceModel::init()
{
    m_rig = std::make_unique<ModelRig>();
    QVERIFY(m_rig->connect());
}

void TestDeviceModel::cleanup()
{
    m_rig.reset();
}

void TestDeviceModel::initialize_data()
{
    QTest::addColumn<QByteArray>("setup"); // loaded over the codec's set-up
    QTest::addColumn<QByteArrayList>("unset"); // "<store> <key>"
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArrayList>("log");
    QTest::addColumn<QByteArrayList>("fields");
    const auto row
        = [](const char *name, const char *setup, const QByteArrayList &unset, const QByteArrayList &faults,
              bool result, const QByteArrayList &frames, const QByteArrayList &log, const QByteArrayList &fields) {
              QTest::newRow(name) << QByteArray(setup) << unset << faults << result << frames << log << fields;
          };
    const QByteArrayList upToAoip = QByteArrayList {fOptions, fNetworks, fBattery} + fAoip;
    const QByteArrayList found = {"state 0", "added 12", "data 12:2"};
    const QByteArrayList mobile = {"PARAM|network=mobile.0|target=network|GET pin|GET registration_state",
        "PARAM|network=mobile.0|target=network|GET mode|GET signal_quality"};

    row("typical codec", "", {}, {}, true, startFrames, found,
        {"ready=1", "opts=0x4fd", "hw=3", "docking=1", "battery=87/2/240", "networks=aoip,eth.0,mobile.0,wifi.0",
            "default=eth.0", "secondary=mobile.0", "line1=OPUS/48000/stereo/128000", "line2=G722", "modes=0/0/0",
            "aes67=0", "jitterab=1", "connections=1"});
    // Without the dual-stream option neither the secondary network nor the dual-stream mode is asked.
    row("double codec, no dual stream",
        "general device_opts=[ip_dcodec,hardware_2]\naudio codec_mode=cmode_double\naudio coord_mode=enabled\n"
        "audio dcodec_1=OPUS/48000/mono/64000\naudio aes67_reset=on",
        {}, {}, true,
        upToAoip + QByteArrayList {fAssignmentAlone, fEthernet, fCodecs, fAes67} + fSubscriptions + fLinks, found,
        {"opts=0x1", "hw=2", "secondary=", "modes=1/1/0", "line1=OPUS/48000/mono/64000", "line2=G722", "aes67=1"});
    row("mobile default network: bars from dBm", "network default_network=mobile.0", {}, {}, true,
        upToAoip + QByteArrayList {fAssignment} + mobile + QByteArrayList {fCodecs + "|GET dstream_mode", fAes67}
            + fSubscriptions + fLinks,
        found, {"default=mobile.0", "bars=4/0"});
    row("no aoip interface", "network network=[eth.0,mobile.0]", {}, {}, false, {fOptions, fNetworks, fBattery}, {},
        {"ready=0", "networks=eth.0,mobile.0", "battery=87/2/240", "opts=0x4fd"});
    row("network list fails", "", {}, {"error:network"}, false, {fOptions, fNetworks}, {}, {"ready=0", "networks="});
    row("codec set-up fails", "", {}, {"error:codec_mode"}, false,
        upToAoip + QByteArrayList {fAssignment, fEthernet, fCodecs + "|GET dstream_mode"}, {}, {"ready=0"});
    // A device without the parameter: "not set" lets the model become ready, as no answer does.
    row("aes67_reset not set", "", {"audio aes67_reset"}, {}, true, startFrames, found, {"ready=1", "aes67=0"});
    row("aes67_reset unanswered", "", {}, {"error:aes67_reset"}, true, startFrames, found, {"ready=1", "aes67=0"});
    row("no data link", "", {"network:mobile.0 id"}, {}, true, startFrames, {"state 0"}, {"connections=0"});
    // The drop resets the model while the last request waits: what was read before is gone, so not ready.
    row("link dropped during start-up", "", {}, {"drop:aes67_reset"}, false,
        upToAoip + QByteArrayList {fAssignment, fEthernet, fCodecs + "|GET dstream_mode", fAes67},
        {"reset 1", "reset 0"}, {"ready=0", "default=", "line1="});
}

void TestDeviceModel::initialize()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, unset);
    QFETCH(QByteArrayList, faults);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, log);
    QFETCH(QByteArrayList, fields);

    m_rig->device.loadSetup(setup);
    for (const QByteArray &entry : unset)
        m_rig->device.unsetParam(entry.split(' ')[0].toStdString(), entry.split(' ')[1].toStdString());
    addFaults(m_rig->device, faults);
    m_rig->resetOnDrop();

    QCOMPARE(m_rig->model.initialize(), result);
    QCOMPARE(m_rig->model.isReady(), result);
    QCOMPARE(m_rig->takeFrames(), frames);
    QCOMPARE(m_rig->takeLog(), log);
    compareFields(m_rig->model, fields);
}

void TestDeviceModel::resetKeepsBattery()
{
    QVERIFY(m_rig->model.initialize());
    QCOMPARE(m_rig->deliver({"EVENT;event_type:0600-call received;id:9;network:eth.0;",
                 "EVENT;event_type:0100-call proceeding;id:3;network:eth.0;comm_link:audio2;",
                 "EVENT;event_type:relay_in;relay1:on;"}),
        QByteArray("111"));
    m_rig->takeLog();
    m_rig->model.reset(true);
    QCOMPARE(m_rig->takeLog(), (QByteArrayList {"removed 3", "removed 9", "removed 12"}));
    compareFields(m_rig->model,
        {"ready=0", "battery=87/2/240", "opts=0x4fd", "hw=3", "docking=0",
            "networks=", "default=", "line1=", "relays=0 00 / /", "jitterab=0", "connections=0"});
}

// Receivers hold the records' pointers: they hear of a record's end even while the start-up keeps the model
// quiet.
void TestDeviceModel::removalHeardDuringStartUp()
{
    m_rig->resetOnDrop();
    QCOMPARE(m_rig->deliver({"EVENT;event_type:0600-call received;id:7;network:eth.0;"}), QByteArray("1"));
    m_rig->takeLog();
    addFaults(m_rig->device, {"drop:codec_mode"});
    QVERIFY(!m_rig->model.initialize());
    QCOMPARE(m_rig->takeLog(), (QByteArrayList {"reset 1", "removed 7", "reset 0"}));
}

void TestDeviceModel::messages_data()
{
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<QByteArrayList>("log");
    QTest::addColumn<QByteArrayList>("fields");
    const auto row
        = [](const char *name, const QByteArrayList &bodies, const char *results, const QByteArrayList &log,
              const QByteArrayList &fields) { QTest::newRow(name) << bodies << QByteArray(results) << log << fields; };
    const QByteArray relay = "EVENT;event_type:relay_in;";
    const QByteArray battery = "INFO;info_type:battery_level;";
    const QByteArray info = "INFO;info_type:network_info;";

    row("first relay report", {relay + "relay1:on;config1:alarm;"}, "1", {"state 15"}, {"relays=1 10 alarm/ /"});
    row("same relay report again", {relay + "relay1:on;config1:alarm;", relay + "relay1:on;config1:alarm;"}, "11",
        {"state 15"}, {"relays=1 10 alarm/ /"});
    row("relay configuration changes", {relay + "relay2:on;config1:a;", relay + "relay2:on;config1:b;"}, "11",
        {"state 15", "state 15"}, {"relays=1 01 b/a /"});
    row("relay report of a line-2 call",
        {"EVENT;event_type:0600-call received;id:5;network:eth.0;comm_link:audio2;", relay + "id:5;relay1:on;"}, "11",
        {"added 5", "call 5:1", "status 5:5"}, {"relays=0 00 / /"});
    row("relay report of a line-1 call",
        {"EVENT;event_type:0600-call received;id:5;network:eth.0;", relay + "id:5;relay1:on;"}, "11",
        {"added 5", "call 5:1", "status 5:5", "state 15"}, {"relays=1 10 / /"});
    row("battery over full", {battery + "level:150;"}, "1", {"state 16"}, {"battery=100/2/240"});
    row("battery below empty", {battery + "level:-3;status:discharging;remaining:12;"}, "1", {"state 16"},
        {"battery=0/1/12"});
    row("battery unchanged", {battery + "level:87;status:charging;remaining:240;"}, "1", {}, {"battery=87/2/240"});
    row("mobile network info",
        {"EVENT;event_type:default_network;network:mobile.0;",
            info + "info_source:mobile.0;registration_state:home;signal_quality:-85 dBm;"},
        "11", {"state 1", "state 9", "state 10"}, {"default=mobile.0", "bars=3/0"});
    row("wifi network info",
        {"EVENT;event_type:default_network;network:wifi.0;", info + "info_source:wifi.0;signal_quality_dbm:-50 dBm;"},
        "11", {"state 1", "state 11", "state 12"}, {"default=wifi.0", "bars=0/5"});
    row("network info of no attached interface", {info + "info_source:mobile.1;signal_quality:-50 dBm;"}, "1", {},
        {"bars=0/0"});
    row("sip registrations",
        {"INFO;info_type:sip_registration;sip_state:unregistered;sip_state_cause:408-timeout;",
            "INFO;info_type:sip_registration;sip_state:unregistered;sip_state_cause:408-timeout;",
            "INFO;info_type:sip_registration2;sip_state2:registered;"},
        "111", {"state 13", "state 14"}, {});
    row("default codec, single on IP",
        {"EVENT;event_type:default_codec;codec_mode:cmode_normal;type:ip;dstream_mode:enabled;coord_mode:enabled;"
         "codec:G722;"},
        "1", {"state 7", "state 6", "state 3"}, {"modes=0/1/1", "line1=G722"});
    row("default codec, double",
        {"EVENT;event_type:default_codec;codec_mode:cmode_double;dcodec_1:OPUS/48000/mono/64000;dcodec_2:PCMA;"}, "1",
        {"state 5", "state 3", "state 4"}, {"modes=1/0/0", "line1=OPUS/48000/mono/64000", "line2=PCMA"});
    row("codec changes",
        {"EVENT;event_type:codec_change;type:ip;codec_mode:cmode_normal;dstream_mode:enabled;",
            "EVENT;event_type:codec_change;type:isdn;codec_mode:cmode_double;",
            "EVENT;event_type:codec_change;type:ip;codec_mode:cmode_double;"},
        "111", {"state 7", "state 7"}, {"modes=0/0/0"});
    row("config info",
        {"EVENT;event_type:config info;network:eth.0;cable:unplugged;",
            "EVENT;event_type:config info;network:mobile.0;"},
        "11", {"state 8"}, {});
    row("aoip config", {"EVENT;event_type:aoip_config;auto_jbuffer:off;"}, "1", {}, {"jitterab=0"});
    row("aes67 reset reported",
        {"INFO;info_type:audio_changeset;aes67_reset:on;", "INFO;info_type:audio_changeset;info_source:aic;"}, "11",
        {"state 17"}, {"aes67=1"});
    row("secondary network", {"EVENT;event_type:secondary_network;network:wifi.0;"}, "1", {"state 2"},
        {"secondary=wifi.0"});
    row("nothing to handle",
        {"EVENT;network:eth.0;", "INFO;info_type:rec_status;",
            "EVENT;event_type:1200-call disconnected;id:99;network:eth.0;"},
        "000", {}, {"connections=1"});
}

void TestDeviceModel::messages()
{
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArray, results);
    QFETCH(QByteArrayList, log);
    QFETCH(QByteArrayList, fields);

    QVERIFY(m_rig->model.initialize());
    m_rig->takeLog();
    QCOMPARE(m_rig->deliver(bodies), results);
    QCOMPARE(m_rig->takeLog(), log);
    compareFields(m_rig->model, fields);
}

void TestDeviceModel::codecMode_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("refused"); // a key, or the action "reinit"
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArray toDouble = "PARAM|audio_mode=SIP|double_codec=on|network=aoip|target=network";
    const QByteArray audioDouble = "PARAM|ip-codec_mode=cmode_double|target=audio";
    const QByteArray reinit = "DO|action=reinit|network=aoip|target=network";

    const auto row
        = [](const char *name, const char *options, int mode, const char *refused, const QByteArrayList &frames) {
              QTest::newRow(name) << QByteArray(options) << mode << QByteArray(refused) << frames;
          };

    row("to double", "ip_dcodec", 1, "", {toDouble, audioDouble, reinit});
    row("to double with ISDN double codec", "ip_dcodec,isdn_dcodec", 1, "",
        {toDouble, "PARAM|ip-codec_mode=cmode_double|isdn-codec_mode=cmode_double|target=audio", reinit});
    row("back to single", "ip_dcodec", 0, "",
        {"PARAM|double_codec=off|network=aoip|target=network", "PARAM|ip-codec_mode=cmode_normal|target=audio",
            reinit});
    row("interface refuses", "ip_dcodec", 1, "double_codec", {toDouble});
    row("audio refuses", "ip_dcodec", 1, "ip-codec_mode", {toDouble, audioDouble});
    row("reinit refused", "ip_dcodec", 1, "reinit", {toDouble, audioDouble, reinit});
}

void TestDeviceModel::codecMode()
{
    QFETCH(QByteArray, options);
    QFETCH(int, mode);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, frames);

    m_rig->device.loadSetup("general device_opts=[" + options + "]");
    QVERIFY(m_rig->model.fetchDeviceOptions());
    QVERIFY(m_rig->model.setCodecMode(1 - mode, false));
    m_rig->takeFrames();
    m_rig->takeLog();
    if (refused == "reinit") {
        m_rig->device.setAction(kra::CMD_REINIT, [](const kra::CMsg &, kra::CMsg &reply) {
            reply.setParam(kra::KEY_RETURN, kra::RET_ERROR);
            reply.setParam(kra::KEY_CAUSE, kra::ERR_RESOURCE_BUSY);
        });
    } else if (!refused.isEmpty()) {
        m_rig->device.refuseKey(refused.toStdString(), kra::ERR_PARAMETER_SET_ERROR);
    }

    const bool accepted = refused.isEmpty();
    QCOMPARE(m_rig->model.setCodecMode(mode, true), accepted);
    QCOMPARE(m_rig->takeFrames(), frames);
    QCOMPARE(m_rig->model.codecMode(), accepted ? mode : 1 - mode);
    QCOMPARE(m_rig->takeLog(), accepted ? QByteArrayList {"state 5"} : QByteArrayList());
}

void TestDeviceModel::defaultNetwork_data()
{
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QByteArray>("network");
    QTest::addColumn<bool>("send");
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArrayList>("log");
    QTest::addColumn<QByteArrayList>("fields");
    const auto row
        = [](const char *name, const char *current, const char *network, bool send, const QByteArrayList &faults,
              bool result, const QByteArrayList &frames, const QByteArrayList &log, const QByteArrayList &fields) {
              QTest::newRow(name) << QByteArray(current) << QByteArray(network) << send << faults << result << frames
                                  << log << fields;
          };
    const auto set = [](const char *name) { return "PARAM|default_network=" + QByteArray(name) + "|target=network"; };
    const QByteArray wifi = "PARAM|network=wifi.0|target=network|GET signal_quality";

    row("ethernet", "", "eth.0", true, {}, true, {set("eth.0"), fEthernet}, {"state 1", "state 8"}, {"default=eth.0"});
    row("mobile", "", "mobile.0", true, {}, true,
        {set("mobile.0"), "PARAM|network=mobile.0|target=network|GET pin|GET registration_state",
            "PARAM|network=mobile.0|target=network|GET mode|GET signal_quality"},
        {"state 1", "state 9"}, {"bars=4/0"});
    row("wifi", "", "wifi.0", true, {}, true, {set("wifi.0"), wifi}, {"state 1", "state 11"}, {"bars=0/4"});
    row("isdn", "", "isdn.0", true, {}, true, {set("isdn.0")}, {"state 1"}, {"default=isdn.0"});
    row("reported by the device", "", "wifi.0", false, {}, true, {wifi}, {"state 1", "state 11"}, {"default=wifi.0"});
    row("follow-up fails", "", "wifi.0", true, {"error:signal_quality"}, true, {set("wifi.0"), wifi},
        {"state 1", "state 11"}, {"bars=0/0"});
    row("refused", "eth.0", "wifi.0", true, {"error:default_network"}, false, {set("wifi.0")}, {}, {"default=eth.0"});
    row("unchanged", "wifi.0", "wifi.0", true, {}, true, {}, {}, {"default=wifi.0", "bars=0/4"});
}

void TestDeviceModel::defaultNetwork()
{
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, network);
    QFETCH(bool, send);
    QFETCH(QByteArrayList, faults);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, log);
    QFETCH(QByteArrayList, fields);

    if (!current.isEmpty())
        QVERIFY(m_rig->model.setDefaultNetwork(current.toStdString(), false));
    m_rig->takeFrames();
    m_rig->takeLog();
    addFaults(m_rig->device, faults);

    QCOMPARE(m_rig->model.setDefaultNetwork(network.toStdString(), send), result);
    QCOMPARE(m_rig->takeFrames(), frames);
    QCOMPARE(m_rig->takeLog(), log);
    compareFields(m_rig->model, fields);
}

void TestDeviceModel::setters_data()
{
    QTest::addColumn<QByteArray>("call"); // "<operation> <argument>"
    QTest::addColumn<bool>("doubleCodec");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArrayList>("log");
    QTest::addColumn<QByteArrayList>("fields");
    const auto row
        = [](const char *name, const char *call, bool result, const QByteArrayList &frames, const QByteArrayList &log,
              const QByteArrayList &fields, bool doubleCodec = false, const char *refused = "") {
              QTest::newRow(name) << QByteArray(call) << doubleCodec << QByteArray(refused) << result << frames << log
                                  << fields;
          };

    row("voice line codec", "codec3 G722", false, {}, {}, {});
    row("no codec text", "codec1 nonsense", true, {}, {}, {"line1="});
    row("line 1 codec", "codec1 G722", true, {"PARAM|codec=G722|target=audio"}, {"state 3"}, {"line1=G722"});
    row("line 1 codec, double codec", "codec1 G722", true, {"PARAM|dcodec_1=G722|target=audio"}, {"state 3"},
        {"line1=G722"}, true);
    row("line 2 codec", "codec2 OPUS/48000/stereo/128000", true,
        {"PARAM|dcodec_2=OPUS/48000/stereo/128000|target=audio"}, {"state 4"}, {"line2=OPUS/48000/stereo/128000"});
    row("line codec refused", "codec1 G722", false, {"PARAM|codec=G722|target=audio"}, {}, {"line1="}, false, "codec");
    row("aes67 reset forced", "aes67 0", true, {"PARAM|aes67_reset=off|target=audio"}, {"state 17"}, {"aes67=0"});
    row("aes67 reset unforced, unchanged", "aes67unforced 0", true, {}, {}, {"aes67=0"});
    row("aes67 reset refused", "aes67unforced 1", false, {"PARAM|aes67_reset=on|target=audio"}, {}, {"aes67=0"}, false,
        "aes67_reset");
    row("clock from aes67", "clock 1", true, {"PARAM|clk_source=aes67|target=general"}, {}, {"clock=1"});
    row("fan", "fan 1", true, {"PARAM|fan=on|target=general"}, {}, {"fan=1"});
    row("fan refused", "fan 1", false, {"PARAM|fan=on|target=general"}, {}, {"fan=0"}, false, "fan");
    row("coordination", "coord 1", true, {"PARAM|coord_mode=enabled|target=audio"}, {"state 6"}, {"modes=0/1/0"});
    row("dual stream", "dstream 1", true, {}, {"state 7"}, {"modes=0/0/1"});
    row("secondary network", "secondary wifi.0", true, {"PARAM|secondary_network=wifi.0|target=network"}, {"state 2"},
        {"secondary=wifi.0"});
    row("secondary network refused", "secondary wifi.0", false, {"PARAM|secondary_network=wifi.0|target=network"}, {},
        {"secondary="}, false, "secondary_network");
    row("fetch default network", "fetchdefault -", true, {fAssignmentAlone, fEthernet}, {"state 1", "state 8"},
        {"default=eth.0"});
    row("fetch secondary network", "fetchsecondary -", true, {"PARAM|target=network|GET secondary_network"},
        {"state 2"}, {"secondary=mobile.0"});
}

void TestDeviceModel::setters()
{
    QFETCH(QByteArray, call);
    QFETCH(bool, doubleCodec);
    QFETCH(QByteArray, refused);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, log);
    QFETCH(QByteArrayList, fields);

    TComDevice &model = m_rig->model;
    if (doubleCodec)
        QVERIFY(model.setCodecMode(TComDevice::CodecModeDouble, false));
    m_rig->takeLog();
    if (!refused.isEmpty())
        m_rig->device.refuseKey(refused.toStdString(), kra::ERR_INVALID_VALUE);

    const QByteArray op = call.split(' ')[0];
    const QByteArray arg = call.split(' ')[1];
    const std::string text = arg.toStdString();
    bool done = false;
    if (op.startsWith("codec"))
        done = model.setLineCodec(op.right(1).toInt(), text, true);
    else if (op == "aes67")
        done = model.setAes67Reset(arg.toInt(), true, true);
    else if (op == "aes67unforced")
        done = model.setAes67Reset(arg.toInt(), true, false);
    else if (op == "clock")
        done = model.setClockSource(arg.toInt(), true);
    else if (op == "fan")
        done = model.setFan(arg.toInt(), true);
    else if (op == "coord")
        done = model.setCoordMode(arg.toInt(), true);
    else if (op == "dstream")
        done = model.setDualStreamMode(arg.toInt());
    else if (op == "secondary")
        done = model.setSecondaryNetwork(text, true);
    else if (op == "fetchdefault")
        done = model.fetchDefaultNetwork();
    else if (op == "fetchsecondary")
        done = model.fetchSecondaryNetwork();
    else
        QFAIL("unknown operation");

    QCOMPARE(done, result);
    QCOMPARE(m_rig->takeFrames(), frames);
    QCOMPARE(m_rig->takeLog(), log);
    compareFields(model, fields);
}

QTEST_MAIN(TestDeviceModel)
#include "tst_devicemodel.moc"
