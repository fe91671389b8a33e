// The audio input settings against the simulated device: the frames they send, the values they hold and the
// parameter indexes they report, in order.

#include "controllers/taudiosettings.h"
#include "rpc/rpcvocabulary.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace rpctesting;

namespace {

using Audio = TAudioSettings;
using Indices = QList<int>;

// Every held value in key order: numbers in decimal (the option word in hex), flags as 0 / 1.
QByteArrayList held(const Audio &a)
{
    QByteArrayList v {QByteArray::number(a.inputOptions(), 16), QByteArray::number(a.limiterThreshold())};
    for (int n = 1; n <= 4; ++n) {
        const Audio::Input &i = a.input(n);
        v << QByteArray::number(i.on) << QByteArray::number(i.gain) << QByteArray::number(i.level)
          << QByteArray::number(i.power) << QByteArray::number(i.limiter);
        if (n <= 2)
            v << QByteArray::number(i.filter);
        v << QByteArray::number(i.pad);
    }
    v << QByteArray::number(a.lineout1Level()) << QByteArray::number(a.lineout2Level())
      << QByteArray::number(a.drcState()) << QByteArray::number(a.drcLimThreshold())
      << QByteArray::number(a.drcThresholdCmp()) << QByteArray::number(a.drcRatioCmp())
      << QByteArray::number(a.drcAttack());
    return v;
}

const QByteArrayList defaults
    = QByteArray("0|-9|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|16|16|0|-2|-3|2|0").split('|');
// What SimDevice::audioSetup() holds.
const QByteArrayList loaded
    = QByteArray("5|-6|1|30|-4|1|1|0|0|1|12|0|0|0|1|1|0|0|0|0|0|0|1|-3|2|0|1|0|10|16|1|-1|-12|2.5|2").split('|');

// One change away from the defaults per parameter, in index order: its key as the device spells it, the call, the
// text sent, the value then held.
struct Change
{
    const char *key;
    std::function<bool(Audio &, bool)> set;
    const char *wire;
    const char *held;
};

// clang-format off
const Change changes[Audio::paramCount] = {
    {"input_options", [](Audio &a, bool s) { return a.setInputOptions(0x2A, s); }, "0000002A", "2a"},
    {"limiter_threshold", [](Audio &a, bool s) { return a.setLimiterThreshold(-12, s); }, "-12", "-12"},
    {"input1", [](Audio &a, bool s) { return a.setInput1State(true, s); }, "on", "1"},
    {"input1_gain", [](Audio &a, bool s) { return a.setInput1Gain(42, s); }, "42", "42"},
    {"input1_level", [](Audio &a, bool s) { return a.setInput1Level(-7, s); }, "-7", "-7"},
    {"input1_power", [](Audio &a, bool s) { return a.setInput1Power(true, s); }, "48V", "1"},
    {"input1_limiter", [](Audio &a, bool s) { return a.setInput1Limiter(true, s); }, "on", "1"},
    {"input1_filter", [](Audio &a, bool s) { return a.setInput1Filter(true, s); }, "on", "1"},
    {"input1_pad", [](Audio &a, bool s) { return a.setInput1Pad(true, s); }, "on", "1"},
    {"input2", [](Audio &a, bool s) { return a.setInput2State(true, s); }, "on", "1"},
    {"input2_gain", [](Audio &a, bool s) { return a.setInput2Gain(3, s); }, "3", "3"},
    {"input2_level", [](Audio &a, bool s) { return a.setInput2Level(5, s); }, "5", "5"},
    {"input2_power", [](Audio &a, bool s) { return a.setInput2Power(true, s); }, "48V", "1"},
    {"input2_limiter", [](Audio &a, bool s) { return a.setInput2Limiter(true, s); }, "on", "1"},
    {"input2_filter", [](Audio &a, bool s) { return a.setInput2Filter(true, s); }, "on", "1"},
    {"input2_pad", [](Audio &a, bool s) { return a.setInput2Pad(true, s); }, "on", "1"},
    {"input3", [](Audio &a, bool s) { return a.setInput3State(true, s); }, "on", "1"},
    {"input3_gain", [](Audio &a, bool s) { return a.setInput3Gain(60, s); }, "60", "60"},
    {"input3_level", [](Audio &a, bool s) { return a.setInput3Level(-20, s); }, "-20", "-20"},
    {"input3_power", [](Audio &a, bool s) { return a.setInput3Power(true, s); }, "48V", "1"},
    {"input3_limiter", [](Audio &a, bool s) { return a.setInput3Limiter(true, s); }, "on", "1"},
    {"input3_pad", [](Audio &a, bool s) { return a.setInput3Pad(true, s); }, "on", "1"},
    {"input4", [](Audio &a, bool s) { return a.setInput4State(true, s); }, "on", "1"},
    {"input4_gain", [](Audio &a, bool s) { return a.setInput4Gain(9, s); }, "9", "9"},
    {"input4_level", [](Audio &a, bool s) { return a.setInput4Level(1, s); }, "1", "1"},
    {"input4_power", [](Audio &a, bool s) { return a.setInput4Power(true, s); }, "48V", "1"},
    {"input4_limiter", [](Audio &a, bool s) { return a.setInput4Limiter(true, s); }, "on", "1"},
    {"input4_pad", [](Audio &a, bool s) { return a.setInput4Pad(true, s); }, "on", "1"},
    {"lineout1_level", [](Audio &a, bool s) { return a.setLineout1Level(0, s); }, "0", "0"},
    {"lineout2_level", [](Audio &a, bool s) { return a.setLineout2Level(-6, s); }, "-6", "-6"},
    {"drc_state", [](Audio &a, bool s) { return a.setDrcState(true, s); }, "on", "1"},
    {"drc_lim_threshold", [](Audio &a, bool s) { return a.setDrcLimThreshold(-8, s); }, "-8", "-8"},
    {"drc_threshold_cmp", [](Audio &a, bool s) { return a.setDrcThresholdCmp(-20, s); }, "-20", "-20"},
    {"drc_ratio_cmp", [](Audio &a, bool s) { return a.setDrcRatioCmp(2.5f, s); }, "2.5", "2.5"},
    {"drc_attack", [](Audio &a, bool s) { return a.setDrcAttack(2, s); }, "2", "2"},
};
// clang-format on

} // namespace

class TestAudioSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void setters_data();
    void setters();
    void ratioAndRefusal();
    void changeset_data();
    void changeset();
    void attachFetchReset();

private:
    QByteArrayList frames() { return m_bench->takeFrames(); }

    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    // Attached without a fetch: the defaults, state 0, no request left in the log.
    std::unique_ptr<Audio> m_audio;
};

void TestAudioSettings::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    m_audio = std::make_unique<Audio>(&m_bench->com);
    QVERIFY(m_audio->attach(false));
    QCOMPARE(frames(), QByteArrayList {"DO|action=subscribe|info=audio_changeset"});
}

void TestAudioSettings::cleanup()
{
    m_audio.reset();
    m_bench.reset();
}

void TestAudioSettings::setters_data()
{
    QTest::addColumn<int>("param");
    for (int param = 0; param < Audio::paramCount; ++param)
        QTest::newRow(changes[param].key) << param;
}

void TestAudioSettings::setters()
{
    QFETCH(int, param);
    const Change &change = changes[param];
    QSignalSpy changed(m_audio.get(), &Audio::controllerParamChanged);
    QCOMPARE(Audio::paramKey(param), std::string(change.key));

    QVERIFY(change.set(*m_audio, true));
    QCOMPARE(frames(), QByteArrayList {"PARAM|" + QByteArray(change.key) + "=" + change.wire + "|target=audio"});
    QCOMPARE(m_device->param("audio", change.key), std::string(change.wire));
    QCOMPARE(indices<Audio::CtlrParam>(changed), Indices {param});
    QByteArrayList expected = defaults;
    expected[param] = change.held;
    QCOMPARE(held(*m_audio), expected);

    // The text sent reads back as the value held.
    Audio reader(nullptr);
    QVERIFY(reader.parseParam(change.key, change.wire));
    QCOMPARE(held(reader), expected);

    // The same value again: nothing sent, nothing reported.
    QVERIFY(change.set(*m_audio, true));
    QCOMPARE(frames(), QByteArrayList());
    QCOMPARE(changed.count(), 1);

    // Read back from the device: the fetch asks for the key and takes the value written.
    Audio fetched(&m_bench->com);
    QVERIFY(fetched.fetchAll());
    QVERIFY(askedNames(frames()).contains(change.key));
    QCOMPARE(held(fetched).at(param), QByteArray(change.held));
}

void TestAudioSettings::ratioAndRefusal()
{
    QSignalSpy changed(m_audio.get(), &Audio::controllerParamChanged);
    QVERIFY(m_audio->setDrcRatioCmp(2.5f, true));
    QVERIFY(m_audio->setDrcRatioCmp(2.0f, true));
    QVERIFY(m_audio->setDrcRatioCmp(3.25f, true));
    QCOMPARE(frames(),
        (QByteArrayList {"PARAM|drc_ratio_cmp=2.5|target=audio", "PARAM|drc_ratio_cmp=2|target=audio",
            "PARAM|drc_ratio_cmp=3.25|target=audio"}));
    changed.clear();

    // A refusal keeps the value, silently; so does a link that is gone.
    m_device->refuseKey("input2_gain", kra::ERR_INVALID_VALUE);
    QVERIFY(!m_audio->setInput2Gain(7, true));
    QCOMPARE(m_audio->input(2).gain, 0);
    m_device->addFault(script({"PARAM;return:NOK;"}));
    QVERIFY(!m_audio->setDrcAttack(1, true));
    QCOMPARE(m_audio->drcAttack(), 0);
    QCOMPARE(frames(), (QByteArrayList {"PARAM|input2_gain=7|target=audio", "PARAM|drc_attack=1|target=audio"}));
    m_bench->com.disconnectFromDevice();
    QVERIFY(!m_audio->setInput1Pad(true, true));
    QVERIFY(!m_audio->input(1).pad);
    QCOMPARE(changed.count(), 0);
}

void TestAudioSettings::changeset_data()
{
    QTest::addColumn<QByteArray>("info");
    QTest::addColumn<bool>("handled");
    QTest::addColumn<Indices>("signalled");
    QTest::addColumn<QByteArrayList>("values");

    const auto with = [](std::initializer_list<std::pair<int, const char *>> values) {
        QByteArrayList out = defaults;
        for (const auto &[param, value] : values)
            out[param] = value;
        return out;
    };
    const auto row = [](const char *name, const QByteArray &params, const Indices &signalled,
                         const QByteArrayList &values, bool handled = true) {
        QTest::newRow(name) << (handled ? "INFO;info_type:audio_changeset;" : "INFO;info_type:network_info;") + params
                            << handled << signalled << values;
    };

    row("48V", "input2_power:48V;", {12}, with({{12, "1"}}));
    row("power on is no 48V", "input2_power:on;", {}, defaults);
    row("in key order, unknown keys ignored",
        "lineout2_level:4;drc_state:on;input1_gain:7;matrix_opt:00000001;aes67_reset:on;input_options:ff;",
        {30, 3, 0, 29}, with({{0, "ff"}, {3, "7"}, {29, "4"}, {30, "1"}}));
    row("empty texts", "limiter_threshold:;drc_ratio_cmp:;lineout1_level:;drc_lim_threshold:;", {31, 28},
        with({{28, "0"}, {31, "0"}}));
    row("attack only 1 or 2", "drc_attack:3;", {}, defaults);
    row("bad texts", "input_options:xyz;drc_ratio_cmp:x;input4_level:-2;", {33, 24}, with({{24, "-2"}, {33, "0"}}));
    row("another info type", "input1:on;", {}, defaults, false);
}

void TestAudioSettings::changeset()
{
    QFETCH(QByteArray, info);
    QFETCH(bool, handled);
    QFETCH(Indices, signalled);
    QFETCH(QByteArrayList, values);

    QSignalSpy changed(m_audio.get(), &Audio::controllerParamChanged);
    RpcMessage message = m_bench->notify(info);
    QCOMPARE(m_audio->handleInfo(message), handled);
    QCOMPARE(indices<Audio::CtlrParam>(changed), signalled);
    QCOMPARE(held(*m_audio), values);
    QCOMPARE(frames(), QByteArrayList());
}

void TestAudioSettings::attachFetchReset()
{
    m_device->loadSetup(SimDevice::audioSetup());
    QSignalSpy state(m_audio.get(), &TComController::controllerStateChanged);
    QSignalSpy changed(m_audio.get(), &Audio::controllerParamChanged);

    // Attached again: reset, one GET of the 35 keys in index order, values not reported one by one.
    QVERIFY(m_audio->attach(true));
    QByteArray get = "PARAM|target=audio";
    for (const Change &change : changes)
        get += QByteArray("|GET ") + change.key;
    QCOMPARE(frames(),
        (QByteArrayList {
            "DO|action=unsubscribe|info=audio_changeset", get, "DO|action=subscribe|info=audio_changeset"}));
    QCOMPARE(held(*m_audio), loaded);
    QCOMPARE(state.count(), 2);
    QCOMPARE(m_audio->state(), 0);

    // A fetch of some keys, one of them unknown to the device.
    m_device->changeset("audio", kra::EVT_AUDIO_CHANGESET, {{"input3", "on"}, {"drc_attack", "1"}});
    QVERIFY(m_audio->fetch({"drc_attack", "input3", "no_such_key"}));
    QCOMPARE(indices<Audio::CtlrParam>(changed), (Indices {34, 16}));
    QCOMPARE(frames(), QByteArrayList {"PARAM|target=audio|GET drc_attack|GET input3|GET no_such_key"});
    QVERIFY(!m_audio->fetch({}));
    QVERIFY(!m_audio->store({"input1", "drc_state"}));
    QCOMPARE(frames(), QByteArrayList());
    changed.clear();

    m_audio->reset();
    QCOMPARE(frames(), QByteArrayList {"DO|action=unsubscribe|info=audio_changeset"});
    QCOMPARE(held(*m_audio), defaults);
    QCOMPARE(m_audio->state(), -1);
    QCOMPARE(changed.count(), 0);

    // A failed fetch leaves the state at -1, so the set-up tries again.
    m_device->addFault(script({"PARAM;return:ERROR;"}));
    QVERIFY(!m_audio->attach(true));
    QCOMPARE(m_audio->state(), -1);
    QCOMPARE(held(*m_audio), defaults);
    QCOMPARE(frames().count(), 1);
}

QTEST_GUILESS_MAIN(TestAudioSettings)
#include "tst_audiosettings.moc"
