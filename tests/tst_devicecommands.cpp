// The device commands of calls and links, codec choice lists, reboot and shutdown and the recorder's transport
// against the simulated device: the bodies it received, the time-out of each pending call, the results, and the
// state the call and link records are left in.

#include "tests/devicetesting.h"

#include <QtTest>

#include <memory>

using namespace devicetesting;
using rpctesting::fault;
using rpctesting::script;

namespace {

using Audio = TComAudioConnection;
using Data = TComDataConnection;

const QList<qint64> none;

// "<id> <network> " and the record as the model's tests write it.
QByteArray recordOf(const TComBaseConnection &r)
{
    return number(r.id()) + " " + text(r.networkName()) + " " + recordText(&r);
}

// The fault named by "<kind>:<word>": "error" an error reply, "drop" a dropped link, "nok" a bare refusal,
// "reply=<body>" a scripted answer; each for the first request that mentions the word (any when empty).
SimDevice::Fault faultOf(const QByteArray &spec)
{
    const int colon = spec.lastIndexOf(':');
    const QByteArray kind = spec.left(colon);
    SimDevice::Fault f = kind == "drop" ? fault(SimDevice::Fault::Drop)
        : kind == "nok"                 ? fault(SimDevice::Fault::Nok)
        : kind.startsWith("reply=")     ? script({kind.mid(6)})
                                        : fault(SimDevice::Fault::ErrorReply, 7);
    f.match = spec.mid(colon + 1).toStdString();
    return f;
}

} // namespace

class TestDeviceCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void callsAndLinks_data();
    void callsAndLinks();
    void recordLeavesWhileItsRequestWaits();
    void codecLists_data();
    void codecLists();
    void rebootAndShutdown_data();
    void rebootAndShutdown();
    void recorder_data();
    void recorder();

private:
    void addFaults(const QByteArrayList &specs);

    std::unique_ptr<ModelRig> m_rig;
};

void TestDeviceCommands::init()
{
    m_rig = std::make_unique<ModelRig>();
    QVERIFY(m_rig->connect());
}

void TestDeviceCommands::cleanup()
{
    m_rig.reset();
}

void TestDeviceCommands::addFaults(const QByteArrayList &specs)
{
    for (const QByteArray &spec : specs)
        m_rig->device.addFault(faultOf(spec));
}

void TestDeviceCommands::callsAndLinks_data()
{
    QTest::addColumn<int>("line"); // 0..2 a call on that line, -1 a data link
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QList<qint64>>("timeouts");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<QByteArray>("record");
    const auto row = [](const char *name, int line, const QByteArrayList &steps, const QByteArrayList &frames,
                         const char *results, const char *record, const QByteArrayList &faults = {}) {
        QList<qint64> timeouts;
        for (int i = 0; i < frames.size(); ++i)
            timeouts << 5000;
        QTest::newRow(name) << line << faults << steps << frames << timeouts << QByteArray(results)
                            << QByteArray(record);
    };
    const QByteArray con = "DO|action=con|comm_link=";
    const QByteArray alice = con + "audio|network=eth.0|remote_addr=alice";
    const QByteArray accept9 = "DO|action=conacc|id=9|network=eth.0";
    const QByteArray mobileLink = "PARAM|mode=data|network=mobile.0|target=network|GET id";
    const QByteArray wifiLink = "DO|action=con|comm_link=data|mode=wifi|network=wifi.0";
    const char *idle = "-1  k0 f-1 s0 0/0 d-1 r0 n= c=";

    // The addresses go out in an unbroken row from the first; the record forgets them until the device tells.
    row("connect, two addresses", 0, {"connect eth.0;alice,bob"},
        {con + "audio|network=eth.0|remote_addr=alice|remote_addr2=bob"}, "0", "21 eth.0 k0 f0 s1 1/0 d0 r0 n= c=");
    row("connect, empty parts and a fifth address dropped", 1, {"connect eth.0;a,,b,c,d,e"},
        {con + "audio2|network=eth.0|remote_addr=a|remote_addr2=b|remote_addr3=c|remote_addr4=d"}, "0",
        "21 eth.0 k1 f0 s1 1/0 d0 r0 n= c=");
    row("connect on the voice line", 2, {"connect mobile.0;+4930123"},
        {con + "coord_line|network=mobile.0|remote_addr=+4930123"}, "0", "21 mobile.0 k2 f2 s1 1/0 d0 r0 n= c=");
    row("connect without a number: the device's cause", 0, {"connect eth.0;"},
        {con + "audio|network=eth.0|remote_addr="}, "119", idle);
    row("connect on an interface the device lacks", 0, {"connect isdn.0;123"},
        {con + "audio|network=isdn.0|remote_addr=123"}, "2", idle);
    row("connect refused without a cause", 0, {"connect eth.0;alice"}, {alice}, "200", idle, {"nok:con"});
    row("connect unanswered", 0, {"connect eth.0;alice"}, {alice}, "200", idle, {"error:con"});
    row("connect when not idle sends nothing", 0, {"connect eth.0;alice", "connect eth.0;bob"}, {alice}, "0 200",
        "21 eth.0 k0 f0 s1 1/0 d0 r0 n= c=");

    row("accept", 0, {"accept 9;eth.0"}, {accept9}, "1", "9 eth.0 k0 f0 s1 2/0 d1 r0 n= c=");
    // A reply that does not name the call keeps the call accepted, not call 0.
    row("accept, reply without id", 2, {"accept 9;mobile.0"}, {"DO|action=conacc|id=9|network=mobile.0"}, "1",
        "9 mobile.0 k2 f2 s1 2/0 d1 r0 n= c=", {"reply=DO;return:OK;:conacc"});
    row("accept refused", 0, {"accept 9;eth.0"}, {accept9}, "0", idle, {"nok:conacc"});
    row("accept when not idle sends nothing", 0, {"accept 9;eth.0", "accept 10;eth.0"}, {accept9}, "1 0",
        "9 eth.0 k0 f0 s1 2/0 d1 r0 n= c=");

    row("disconnect", 0, {"connect eth.0;alice", "disconnect"}, {alice, "DO|action=dcon|id=21|network=eth.0"}, "0 1",
        "21 eth.0 k0 f0 s3 11/1 d0 r0 n= c=");
    row("disconnect when idle sends nothing", 0, {"disconnect"}, {}, "0", idle);
    row("disconnect refused keeps the call", 0, {"connect eth.0;alice", "disconnect"},
        {alice, "DO|action=dcon|id=21|network=eth.0"}, "0 0", "21 eth.0 k0 f0 s1 1/0 d0 r0 n= c=", {"nok:dcon"});
    row("disconnectCall ends another call, the record stays", 0,
        {"accept 9;eth.0", "disconnectCall 9;eth.0", "disconnectCall 5;eth.0"},
        {accept9, "DO|action=dcon|id=9|network=eth.0", "DO|action=dcon|id=5|network=eth.0"}, "1 1 0",
        "9 eth.0 k0 f0 s1 2/0 d1 r0 n= c=");

    const char *linkIdle = "-1  link s0 ";
    row("data link on Wi-Fi", -1, {"connect wifi.0"}, {wifiLink}, "1", "21 wifi.0 link s1 wifi.0");
    row("data link where one runs: refused", -1, {"connect mobile.0"},
        {"DO|action=con|comm_link=data|mode=data|network=mobile.0"}, "0", linkIdle);
    row("fetchLink binds the running link", -1, {"fetchLink mobile.0"}, {mobileLink}, "1",
        "12 mobile.0 link s2 mobile.0");
    row("fetchLink without a link", -1, {"fetchLink wifi.0"}, {"PARAM|mode=wifi|network=wifi.0|target=network|GET id"},
        "0", linkIdle);
    row("link requests when not idle send nothing", -1, {"fetchLink mobile.0", "fetchLink mobile.0", "connect wifi.0"},
        {mobileLink}, "1 0 0", "12 mobile.0 link s2 mobile.0");
    row("data disconnect", -1, {"fetchLink mobile.0", "disconnect"},
        {mobileLink, "DO|action=dcon|id=12|network=mobile.0"}, "1 1", "12 mobile.0 link s3 mobile.0");
    row("data disconnect when idle sends nothing", -1, {"disconnect"}, {}, "0", linkIdle);
    row("data disconnect dropped keeps the link", -1, {"connect wifi.0", "disconnect"},
        {wifiLink, "DO|action=dcon|id=21|network=wifi.0"}, "1 0", "21 wifi.0 link s1 wifi.0", {"drop:dcon"});
}

void TestDeviceCommands::callsAndLinks()
{
    QFETCH(int, line);
    QFETCH(QByteArrayList, faults);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QList<qint64>, timeouts);
    QFETCH(QByteArray, results);
    QFETCH(QByteArray, record);

    addFaults(faults);
    std::unique_ptr<TComBaseConnection> r;
    if (line < 0)
        r = std::make_unique<Data>(&m_rig->com);
    else
        r = std::make_unique<Audio>(&m_rig->com, line);

    QByteArrayList got;
    for (const QByteArray &step : steps) {
        const QByteArrayList a = stepArgs(step);
        const QByteArray op = step.split(' ').first();
        if (auto *call = dynamic_cast<Audio *>(r.get())) {
            if (op == "connect")
                got << number(call->connect(arg(a, 0), arg(a, 1)));
            else if (op == "accept")
                got << number(call->accept(a[0].toInt(), arg(a, 1)));
            else if (op == "disconnect")
                got << number(call->disconnect());
            else if (op == "disconnectCall")
                got << number(call->disconnectCall(a[0].toInt(), arg(a, 1)));
        } else {
            auto *link = static_cast<Data *>(r.get());
            if (op == "connect")
                got << number(link->connect(arg(a, 0)));
            else if (op == "fetchLink")
                got << number(link->fetchLink(arg(a, 0)));
            else if (op == "disconnect")
                got << number(link->disconnect());
        }
    }
    QCOMPARE(got.join(' '), results);
    QCOMPARE(m_rig->takeFrames(), frames);
    QCOMPARE(m_rig->takeTimeouts(), timeouts);
    // Calls' quality reports stay unknown here.
    QCOMPARE(recordOf(*r), record + (line < 0 ? "" : " q-1/-1/-1/-1"));
}

// A drop of the link while a call's hang-up waits resets the model, which lets go of the record; the record
// stays alive until its own request has returned.
void TestDeviceCommands::recordLeavesWhileItsRequestWaits()
{
    m_rig->resetOnDrop();
    auto *call = new Audio(&m_rig->com, 0);
    QCOMPARE(call->connect("eth.0", "alice"), 0);
    QVERIFY(m_rig->model.addConnection(call));
    m_rig->takeLog();
    addFaults({"drop:dcon"});
    QVERIFY(!call->disconnect());
    QCOMPARE(m_rig->takeLog(), (QByteArrayList {"reset 1", "removed 21", "reset 0"}));
    QCOMPARE(m_rig->recordOf(21), QByteArray("k0 f0 s1 1/0 d0 r0 n= c= q-1/-1/-1/-1"));
}

void TestDeviceCommands::codecLists_data()
{
    QTest::addColumn<QByteArray>("call"); // "<list> <codec mode>;<network type>[;alg;mode;rate]"
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<int>("progress"); // partial replies before the last, -1 none; -2 the same with EXT
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("values");
    const auto row = [](const char *name, const char *call, const char *setup, int progress, const QByteArray &frame,
                         bool result, const char *values, const QByteArrayList &faults = {}) {
        QTest::newRow(name) << QByteArray(call) << QByteArray(setup) << faults << progress << frame << result
                            << QByteArray(values);
    };
    const auto list = [](const char *params, const char *name) {
        return "PARAM|" + QByteArray(params) + "|target=audio|LIST " + name;
    };

    row("algorithms, single codec on Ethernet", "alg 0;256", "audio alg=[OPUS,G722,MPA2,XYZ]", -1,
        list("codec_mode=single_codec|network=ip", "alg"), true, "19,3,8,-1");
    row("algorithms, double codec on ISDN", "alg 1;512", "audio alg=[G722-H221,G711]", -1,
        list("codec_mode=double_codec|network=isdn", "alg"), true, "6,2");
    row("algorithms on AoIP name no network", "alg 0;0", "audio alg=[L24]", -1, list("codec_mode=single_codec", "alg"),
        true, "22");
    row("algorithms on no interface name no network", "alg 0;65535", "audio alg=[L24]", -1,
        list("codec_mode=single_codec", "alg"), true, "22");
    row("channel modes of Opus on mobile", "mode 0;768;19", "audio mode=[mono,stereo,jstereo]", -1,
        list("alg=OPUS|codec_mode=single_codec|network=ip", "mode"), true, "0,2,3");
    row("sample rates on Wi-Fi", "samplerate 0;1024;19;2", "audio samplerate=[32000,48000]", -1,
        list("alg=OPUS|codec_mode=single_codec|mode=stereo|network=ip", "samplerate"), true, "32000,48000");
    row("bit rates over partial replies with EXT", "bitrate 0;256;19;2;48000",
        "audio bitrate=[64000,96000,128000,192000,256000]", -2,
        list("alg=OPUS|codec_mode=single_codec|mode=stereo|network=ip|samplerate=48000", "bitrate"), true,
        "64000,96000,128000,192000,256000");
    row("failed list leaves the output empty", "bitrate 1;512;8;0;48000", "audio bitrate=[64000]", -1,
        list("alg=MPA2|codec_mode=double_codec|mode=mono|network=isdn|samplerate=48000", "bitrate"), false, "",
        {"error:"});
    // The device's "not set" is an empty list.
    row("list not set", "alg 0;256", "", -1, list("codec_mode=single_codec|network=ip", "alg"), true, "");
}

void TestDeviceCommands::codecLists()
{
    QFETCH(QByteArray, call);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, faults);
    QFETCH(int, progress);
    QFETCH(QByteArray, frame);
    QFETCH(bool, result);
    QFETCH(QByteArray, values);

    m_rig->device.loadSetup(setup);
    addFaults(faults);
    if (progress != -1) {
        SimDevice::Fault f = fault(SimDevice::Fault::Progress, 2);
        f.ext = progress == -2;
        m_rig->device.addFault(f);
    }
    const QByteArrayList a = stepArgs(call);
    const auto n = [&a](int i) { return i < a.size() ? a[i].toInt() : 0; };
    std::vector<int> out = {99, 98};
    bool got = false;
    if (call.startsWith("alg "))
        got = m_rig->model.getCodecAlgorithms(n(0), out, n(1));
    else if (call.startsWith("mode "))
        got = m_rig->model.getCodecModes(n(0), n(2), out, n(1));
    else if (call.startsWith("samplerate "))
        got = m_rig->model.getCodecSampleRates(n(0), n(2), n(3), out, n(1));
    else
        got = m_rig->model.getCodecBitrates(n(0), n(2), n(3), n(4), out, n(1));

    QByteArrayList items;
    for (int v : out)
        items << number(v);
    QCOMPARE(got, result);
    QCOMPARE(items.join(','), values);
    QCOMPARE(m_rig->takeFrames(), QByteArrayList {frame});
    QCOMPARE(m_rig->takeTimeouts(), QList<qint64> {5000});
}

void TestDeviceCommands::rebootAndShutdown_data()
{
    QTest::addColumn<bool>("shutdown");
    QTest::addColumn<QByteArray>("before"); // "down": the link is closed first
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("sent");

    const auto row
        = [](const char *name, bool shutdown, const char *before, const QByteArrayList &faults, bool result,
              bool sent) { QTest::newRow(name) << shutdown << QByteArray(before) << faults << result << sent; };

    row("reboot answered", false, "", {}, true, true);
    row("reboot: the link drops while the device acts", false, "", {"drop:reboot"}, true, true);
    row("reboot refused", false, "", {"nok:reboot"}, false, true);
    row("reboot: an error reply", false, "", {"error:reboot"}, false, true);
    // Nothing reached the device: no success.
    row("reboot with the link already down", false, "down", {}, false, false);
    row("shutdown answered", true, "", {}, true, true);
    row("shutdown: the link drops", true, "", {"drop:shutdown"}, true, true);
    row("shutdown with the link down", true, "down", {}, false, false);
}

void TestDeviceCommands::rebootAndShutdown()
{
    QFETCH(bool, shutdown);
    QFETCH(QByteArray, before);
    QFETCH(QByteArrayList, faults);
    QFETCH(bool, result);
    QFETCH(bool, sent);

    addFaults(faults);
    if (before == "down") {
        m_rig->com.disconnectFromDevice();
        QTRY_COMPARE(m_rig->com.state(), RpcConnection::UnconnectedState);
    }
    QCOMPARE(shutdown ? m_rig->model.shutdown() : m_rig->model.reboot(), result);
    const QByteArray frame = shutdown ? "DO|action=shutdown" : "DO|action=reboot";
    QCOMPARE(m_rig->takeFrames(), sent ? QByteArrayList {frame} : QByteArrayList());
    // 300 ms asked: the service's 5 s.
    QCOMPARE(m_rig->takeTimeouts(), sent ? QList<qint64> {5000} : none);
    // An answered device goes down after its answer.
    if (sent && faults.isEmpty())
        QTRY_COMPARE(m_rig->device.clientCount(), 0);
}

void TestDeviceCommands::recorder_data()
{
    QTest::addColumn<QByteArray>("state"); // the device's recorder state before
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("results");
    QTest::addColumn<QByteArray>("after"); // the device's recorder state after
    const auto row = [](const char *name, const char *state, const QByteArrayList &steps, const QByteArrayList &frames,
                         const char *results, const char *after, const QByteArrayList &faults = {}) {
        QTest::newRow(name) << QByteArray(state) << faults << steps << frames << QByteArray(results)
                            << QByteArray(after);
    };
    const QByteArray get = "PARAM|target=audio|GET recorder_state";

    row("record start and stop", "", {"recordStart usb/show/take3.wav;line12;wav", "state", "recordStop", "state"},
        {"DO|action=record_start|generic_uri=usb/show/take3.wav|record_format=wav|record_source=line12", get,
            "DO|action=record_stop", get},
        "1 rec 1 stopped", "stopped");
    row("record start with an empty uri sends nothing", "", {"recordStart ;line12;wav"}, {}, "0", "");
    row("record start while playing is refused", "play", {"recordStart a.wav;line1;mp2"},
        {"DO|action=record_start|generic_uri=a.wav|record_format=mp2|record_source=line1"}, "0", "play");
    row("playback, pause, unpause, stop", "",
        {"playbackStart /mnt/usb/show/take1.wav;wav", "playbackPause", "state", "playbackUnpause", "playbackStop"},
        {"DO|action=playback_start|generic_uri=/mnt/usb/show/take1.wav|record_format=wav", "DO|action=playback_pause",
            get, "DO|action=playback_unpause", "DO|action=playback_stop"},
        "1 1 play_paused 1 1", "stopped");
    row("playback start with an empty uri sends nothing", "", {"playbackStart ;wav"}, {}, "0", "");
    row("editor playback at 48 kHz", "", {"playbackStartEditor /mnt/usb/show/p.wav;stereo;1;4800;96000"},
        {"DO|action=playback_start|channel=1|end_mark=96000|generic_uri=/mnt/usb/show/p.wav|mode=stereo|"
         "playback_mode=editor|samplerate=48000|start_mark=4800"},
        "1", "play");
    row("editor playback with an empty uri sends nothing", "", {"playbackStartEditor ;stereo;1;0;10"}, {}, "0", "");
    row("pause when stopped is refused", "stopped", {"playbackPause", "playbackUnpause", "playbackStop", "recordStop"},
        {"DO|action=playback_pause", "DO|action=playback_unpause", "DO|action=playback_stop", "DO|action=record_stop"},
        "0 0 0 0", "stopped");
    row("new project, then again: the file is emptied, the project without a file refused", "",
        {"projectNew usb;show2;show2.prj", "projectNew usb;show2;show2.prj", "projectNew usb;show2;"},
        {"DO|action=project_new|generic_uri=show2.prj|record_mount_point=usb|record_project=show2",
            "DO|action=project_new|generic_uri=show2.prj|record_mount_point=usb|record_project=show2",
            "DO|action=project_new|generic_uri=|record_mount_point=usb|record_project=show2"},
        "1 1 0", "");
    row("new project with null texts sends them empty", "", {"projectNew null"},
        {"DO|action=project_new|generic_uri=|record_mount_point=|record_project="}, "0", "");
    row("recorder state unanswered", "rec", {"state"}, {get}, "", "rec", {"error:recorder_state"});
    row("recorder state not set", "", {"state"}, {get}, "", "");
}

void TestDeviceCommands::recorder()
{
    QFETCH(QByteArray, state);
    QFETCH(QByteArrayList, faults);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, results);
    QFETCH(QByteArray, after);

    if (!state.isEmpty())
        m_rig->device.setParam(kra::TGT_AUDIO, kra::KEY_RECORDER_STATE, state.toStdString());
    addFaults(faults);
    TComDevice &model = m_rig->model;
    QByteArrayList got;
    for (const QByteArray &step : steps) {
        const QByteArrayList a = stepArgs(step);
        const QByteArray op = step.split(' ').first();
        if (op == "recordStart")
            got << number(model.recordStart(arg(a, 0), arg(a, 1), arg(a, 2)));
        else if (op == "recordStop")
            got << number(model.recordStop());
        else if (op == "playbackStart")
            got << number(model.playbackStart(arg(a, 0), arg(a, 1)));
        else if (op == "playbackStartEditor")
            got << number(model.playbackStartEditor(arg(a, 0), arg(a, 1), arg(a, 2), arg(a, 3), arg(a, 4)));
        else if (op == "playbackPause")
            got << number(model.playbackPause());
        else if (op == "playbackUnpause")
            got << number(model.playbackUnpause());
        else if (op == "playbackStop")
            got << number(model.playbackStop());
        else if (op == "projectNew" && a.value(0) == "null")
            got << number(model.projectNew(nullptr, nullptr, nullptr));
        else if (op == "projectNew")
            got << number(model.projectNew(a[0].constData(), a[1].constData(), a[2].constData()));
        else if (op == "state")
            got << text(model.getRecorderState());
    }
    QCOMPARE(got.join(' '), results);
    QCOMPARE(m_rig->takeFrames(), frames);
    QList<qint64> timeouts;
    for (int i = 0; i < frames.size(); ++i)
        timeouts << 5000;
    QCOMPARE(m_rig->takeTimeouts(), timeouts);
    QCOMPARE(text(m_rig->device.param(kra::TGT_AUDIO, kra::KEY_RECORDER_STATE)), after);
}

QTEST_GUILESS_MAIN(TestDeviceCommands)
#include "tst_devicecommands.moc"
