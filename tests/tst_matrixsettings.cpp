// The routing matrix settings against the simulated device: the packed parameters they write for a change of a
// node or gain, what they make of the device's packed values, what a refusal puts back, and that values from the
// device are never written back.

#include "controllers/tmatrixsettings.h"
#include "rpc/rpcvocabulary.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace rpctesting;

namespace {

using Matrix = TMatrixSettings;
using QVexmar::Inputs;
using QVexmar::Outputs;

QByteArray hex(quint32 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

// "n in ou" node as on@gain, "ig in" / "og ou" gains, "e in" input entry, "m ou" output or record mask,
// "hp ou" headphone block, "ba ou" balance word, "opt" and "mgn" the words.
QByteArray probe(const Matrix &m, const QByteArray &what)
{
    const QList<QByteArray> w = what.split(' ');
    const auto in = [&w] { return Inputs(w.at(1).toInt()); };
    const auto ou = [&w](int i) { return Outputs(w.at(i).toInt()); };
    if (w[0] == "n")
        return QByteArray::number(m.node(in(), ou(2)).on()) + "@" + QByteArray::number(m.node(in(), ou(2)).gain);
    if (w[0] == "ig")
        return QByteArray::number(m.inputGain(in()));
    if (w[0] == "og")
        return QByteArray::number(m.outputGain(ou(1)));
    if (w[0] == "e")
        return hex(m.inputEntry(in()).config, 4) + "," + QByteArray::fromStdString(m.inputEntry(in()).name);
    if (w[0] == "m")
        return hex(m.outputMask(ou(1)), 8);
    if (w[0] == "hp") {
        QByteArray out;
        for (int i = 0; i < 30; ++i)
            out += hex(m.headphoneMix(ou(1)).bytes[size_t(i)], 2);
        return out;
    }
    if (w[0] == "ba")
        return hex(m.outputBalance(ou(1)), 4);
    return hex(w[0] == "opt" ? m.matrixOptions() : m.masterGains(), 8);
}

// Each "probe=value" with the value the matrix gives.
QByteArrayList probed(const Matrix &m, const QByteArrayList &probes)
{
    QByteArrayList out;
    for (const QByteArray &p : probes)
        out << p.left(p.indexOf('=')) + "=" + probe(m, p.left(p.indexOf('=')));
    return out;
}

QByteArray zeros(int n)
{
    return QByteArray(n, '0');
}

QByteArray write(const QByteArray &param)
{
    return "PARAM|" + param + "|target=audio";
}

// The INFO "before" is applied first, then "act" runs against the device, then the INFO "after"; the frames the
// device received and the signals of act and after follow, then the probes ("probe=value").
struct Case
{
    const char *name;
    QByteArray before;
    std::function<void(Matrix &)> act;
    QByteArray after;
    const char *refuse;
    QByteArrayList frames;
    QByteArrayList signalled;
    QByteArrayList probes;
};

const QByteArray mixMode("matrix_opt:00000001;");

const Case cases[] = {
    // Values from the device: held and unpacked into the nodes, nothing written.
    {"entry 0040 with a name", "matrix_in5:07E0,old;", nullptr, "matrix_in5:0040,Mic 5;", nullptr, {},
        {"node 4 1", "node 4 2", "node 4 3", "node 4 4", "ig 4"},
        {"n 4 0=1@0", "n 4 1=0@0", "n 4 4=0@0", "ig 4=-160", "e 4=0040,Mic 5"}},
    {"entry without a comma", {}, nullptr, "matrix_in1:0060Mic;", nullptr, {}, {}, {"e 0=0020,", "n 0 0=0@0"}},
    {"entry with a comma before 4", {}, nullptr, "matrix_in1:006,Mic;", nullptr, {}, {}, {"e 0=0020,", "n 0 0=0@0"}},
    {"entry name from UTF-8", {}, nullptr, "matrix_in7:0020,G\xc3\xa4ste;", nullptr, {}, {}, {"e 6=0020,G\xc3\xa4ste"}},
    {"entry 25 ignored", {}, nullptr, "matrix_in25:0060,x;matrix_in0:0060,x;", nullptr, {}, {},
        {"e 23=0020,", "n 24 0=0@0"}},
    {"entry gain bits of inputs 0-3 ignored", {}, nullptr, "matrix_in2:003F,;matrix_in6:003F,;", nullptr, {}, {"ig 5"},
        {"ig 1=0", "ig 5=31", "e 1=003F,"}},
    {"headphone bytes", mixMode, nullptr, "matrix_hp1:C03F" + zeros(56) + ";", nullptr, {},
        {"node 0 6", "node 0 7", "node 1 6", "node 1 7"},
        {"n 0 6=1@-160", "n 0 7=1@-160", "n 1 6=0@31", "n 1 7=0@31", "hp 6=C03F" + zeros(56)}},
    {"headphone block held in balance mode", {}, nullptr, "matrix_hp2:C0" + zeros(58) + ";", nullptr, {}, {},
        {"hp 9=C0" + zeros(58), "n 0 8=0@0"}},
    {"headphone text too short", mixMode, nullptr, "matrix_hp1:" + zeros(56) + "C0;", nullptr, {}, {},
        {"hp 6=" + zeros(60), "n 0 6=0@-160"}},
    {"master gains", {}, nullptr, "matrix_mgn:7F8081FF;", nullptr, {}, {"og 0", "og 1", "og 2", "og 3"},
        {"og 0=127", "og 1=127", "og 2=1", "og 3=1", "og 4=0", "mgn=7F8081FF"}},
    {"master byte 2 = 0x76", {}, nullptr, "matrix_mgn:80768080;", nullptr, {}, {"og 4"}, {"og 4=-10", "og 0=0"}},
    {"balance position 15 held as 12", {}, nullptr, "matrix_ba1:082F;", nullptr, {},
        {"node 20 6", "node 21 7", "node 20 6", "node 21 7", "ba 6"},
        {"ba 7=082C", "n 20 6=1@-160", "n 21 7=1@-160", "n 24 6=0@0"}},
    {"balance held in headphone mode", mixMode, nullptr, "matrix_ba1:0416;", nullptr, {}, {},
        {"ba 6=0416", "n 24 6=0@-160"}},
    {"output mask", {}, nullptr, "matrix_ou13:10000003;", nullptr, {}, {"node 0 12", "node 1 12", "node 28 12"},
        {"n 0 12=1@0", "n 1 12=1@0", "n 28 12=1@0", "m 12=10000003"}},
    {"output mask 12 ignored", {}, nullptr, "matrix_ou12:00000001;matrix_ou25:00000001;", nullptr, {}, {},
        {"n 0 11=0@0", "n 0 24=0@0"}},
    {"record mask", {}, nullptr, "matrix_rec2:00100000;matrix_rec3:00100000;", nullptr, {}, {"node 20 25"},
        {"n 20 25=1@0", "m 25=00100000"}},
    {"option word", {}, nullptr, "matrix_opt:00000002;", nullptr, {}, {"opt 0"}, {"opt=00000002"}},
    {"option word too short", {}, nullptr, "matrix_opt:0001;", nullptr, {}, {}, {"opt=00000000"}},

    // Changes made here: exactly the one packed parameter that carries them.
    {"node already on", {}, [](Matrix &m) { m.setNode(Inputs(24), Outputs(29), true); }, {}, nullptr, {}, {},
        {"n 24 29=1@0"}},
    {"node in an input entry", {}, [](Matrix &m) { m.setNode(Inputs(4), Outputs(0), true); }, {}, nullptr,
        {write("matrix_in5=0060,")}, {"node 4 0"}, {"e 4=0060,"}},
    {"inputs 0-3 keep gain bits 32", {}, [](Matrix &m) { m.setNode(Inputs(2), Outputs(4), true); }, {}, nullptr,
        {write("matrix_in3=0420,")}, {"node 2 4"}, {}},
    {"node in an output mask", {}, [](Matrix &m) { m.setNode(Inputs(0), Outputs(12), true); }, {}, nullptr,
        {write("matrix_ou13=00000001")}, {"node 0 12"}, {"m 12=00000001"}},
    {"input 28 to output 23", {}, [](Matrix &m) { m.setNode(Inputs(28), Outputs(23), true); }, {}, nullptr,
        {write("matrix_ou24=10000000")}, {"node 28 23"}, {}},
    {"input 29 in no mask", {}, [](Matrix &m) { m.setNode(Inputs(29), Outputs(12), true); }, {}, nullptr, {},
        {"node 29 12"}, {"n 29 12=1@0", "m 12=00000000"}},
    {"record source", {}, [](Matrix &m) { m.setNode(Inputs(20), Outputs(24), true); }, {}, nullptr,
        {write("matrix_rec1=00100000")}, {"node 20 24"}, {}},
    {"no record source", {}, [](Matrix &m) { m.setNode(Inputs(5), Outputs(25), true); }, {}, nullptr, {}, {"node 5 25"},
        {"m 25=00000000"}},
    {"balance routing", {}, [](Matrix &m) { m.setNode(Inputs(24), Outputs(6), true); }, {}, nullptr,
        {write("matrix_ba1=0016")}, {"node 24 6", "node 24 6"}, {"n 24 6=1@-6", "ba 6=0016"}},
    {"balance routing, right ear", {}, [](Matrix &m) { m.setNode(Inputs(21), Outputs(9), true); }, {}, nullptr,
        {write("matrix_ba2=0806")}, {"node 21 9", "node 21 9"}, {"n 21 9=1@-6"}},
    {"headphone mix", mixMode, [](Matrix &m) { m.setNode(Inputs(3), Outputs(6), true); }, {}, nullptr,
        {write("matrix_hp1=00000040" + zeros(52))}, {"node 3 6"}, {"hp 7=00000040" + zeros(52)}},
    {"input 30 in no headphone mix", mixMode, [](Matrix &m) { m.setNode(Inputs(30), Outputs(6), true); }, {}, nullptr,
        {}, {"node 30 6"}, {}},
    {"node gain in a headphone mix", mixMode, [](Matrix &m) { m.setNodeGain(Inputs(2), Outputs(6), -6); }, {}, nullptr,
        {write("matrix_hp1=00001A" + zeros(54))}, {"node 2 6"}, {"n 2 6=0@-6"}},
    {"node gain of a right ear", mixMode, [](Matrix &m) { m.setNodeGain(Inputs(2), Outputs(7), -6); }, {}, nullptr, {},
        {"node 2 7"}, {"hp 6=" + zeros(60)}},
    {"input gain -32 reads back as -160", {}, [](Matrix &m) { m.setInputGain(Inputs(4), -32); }, "matrix_in5:0000,;",
        nullptr, {write("matrix_in5=0000,")}, {"ig 4", "ig 4"}, {"ig 4=-160"}},
    {"input 2 gain not packed", {}, [](Matrix &m) { m.setInputGain(Inputs(2), -5); }, {}, nullptr, {}, {"ig 2"},
        {"ig 2=-5", "e 2=0020,"}},
    {"output 4 at -10", {}, [](Matrix &m) { m.setOutputGain(Outputs(4), -10); }, {}, nullptr,
        {write("matrix_mgn=80768080")}, {"og 4"}, {"og 4=-10", "mgn=80768080"}},
    {"outputs 0 and 1 share a byte", {}, [](Matrix &m) { m.setOutputGain(Outputs(0), -10.5f); }, {}, nullptr,
        {write("matrix_mgn=80808076")}, {"og 0", "og 1", "og 0"}, {"og 0=-10", "og 1=-10"}},
    {"balance position", {}, [](Matrix &m) { m.setOutputBalance(Outputs(7), 3, true); }, {}, nullptr,
        {write("matrix_ba1=0003")}, {"ba 6"}, {"ba 6=0003"}},
    {"balance position 13 does nothing", {}, [](Matrix &m) { m.setOutputBalance(Outputs(6), 13, true); }, {}, nullptr,
        {}, {}, {"ba 6=0006"}},
    {"negative balance position does nothing", {}, [](Matrix &m) { m.setOutputBalance(Outputs(6), -1, true); }, {},
        nullptr, {}, {}, {"ba 6=0006"}},
    {"balance of output 5", {}, [](Matrix &m) { m.setOutputBalance(Outputs(5), 3, true); }, {}, nullptr, {}, {},
        {"ba 5=0006"}},
    {"balance held in headphone mode", mixMode, [](Matrix &m) { m.setOutputBalance(Outputs(6), 2, true); }, {}, nullptr,
        {}, {"ba 6"}, {"ba 6=0002"}},
    {"routed balance", "matrix_ba1:0416;", [](Matrix &m) { m.setOutputBalance(Outputs(6), 0, true); }, {}, nullptr,
        {write("matrix_ba1=0410")}, {"node 24 6", "node 25 7", "ba 6"}, {"n 24 6=1@-160", "n 25 7=1@-160"}},
    {"option word sent", {}, [](Matrix &m) { m.setMatrixOptions(2, true); }, {}, nullptr,
        {write("matrix_opt=00000002")}, {"opt 0"}, {"opt=00000002"}},

    // Refused: what the change touched is put back and signalled, nothing more is sent.
    {"refused input gain", {}, [](Matrix &m) { m.setInputGain(Inputs(4), -6); }, {}, "matrix_in5",
        {write("matrix_in5=001A,")}, {"ig 4"}, {"ig 4=0", "e 4=0020,"}},
    {"refused output gain", {}, [](Matrix &m) { m.setOutputGain(Outputs(4), -10); }, {}, "matrix_mgn",
        {write("matrix_mgn=80768080")}, {"og 4"}, {"og 4=0", "mgn=80808080"}},
    {"refused node", {}, [](Matrix &m) { m.setNode(Inputs(0), Outputs(12), true); }, {}, "matrix_ou13",
        {write("matrix_ou13=00000001")}, {"node 0 12"}, {"n 0 12=0@0", "m 12=00000000"}},
    {"refused balance routing", {}, [](Matrix &m) { m.setNode(Inputs(24), Outputs(6), true); }, {}, "matrix_ba1",
        {write("matrix_ba1=0016")}, {"node 24 6", "node 24 6", "node 24 6"}, {"n 24 6=0@0", "ba 6=0006"}},
    {"refused balance", "matrix_ba1:0416;", [](Matrix &m) { QVERIFY(!m.setOutputBalance(Outputs(6), 0, true)); }, {},
        "matrix_ba1", {write("matrix_ba1=0410")}, {"node 24 6", "node 25 7", "node 24 6", "node 25 7", "ba 6"},
        {"ba 6=0416", "n 24 6=1@-6", "n 25 7=1@-6"}},
    {"refused headphone node gain", mixMode, [](Matrix &m) { m.setNodeGain(Inputs(2), Outputs(6), -6); }, {},
        "matrix_hp1", {write("matrix_hp1=00001A" + zeros(54))}, {"node 2 6"}, {"n 2 6=0@-160", "hp 6=" + zeros(60)}},
    {"refused option word", "matrix_hp1:C0" + zeros(58) + ";", [](Matrix &m) { QVERIFY(!m.setMatrixOptions(1, true)); },
        {}, "matrix_opt", {write("matrix_opt=00000001")}, {}, {"opt=00000000", "n 0 6=0@0"}},
};

} // namespace

class TestMatrixSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void changes_data();
    void changes();
    void headphoneBatch();
    void mixesToBalances();
    void fetchAndReset();
    void wireKeys_data();
    void wireKeys();

private:
    QByteArrayList frames() { return m_bench->takeFrames(); }
    void deliver(const QByteArray &params);

    std::unique_ptr<DeviceBench> m_bench;
    SimDevice *m_device = nullptr;
    // Attached without a fetch: the defaults, state 0, no request left in the log.
    std::unique_ptr<Matrix> m_matrix;
    // Every signal of the matrix, as "node in ou", "ig in", "og ou", "ba ou", "opt old".
    QByteArrayList m_signals;
};

void TestMatrixSettings::init()
{
    m_bench = std::make_unique<DeviceBench>();
    m_device = &m_bench->device;
    QVERIFY(m_bench->connect());
    m_matrix = std::make_unique<Matrix>(&m_bench->com);
    QVERIFY(m_matrix->attach(false));
    QCOMPARE(frames(), QByteArrayList {"DO|action=subscribe|info=audio_changeset"});
    const auto n = [](int value) { return QByteArray::number(value); };
    Matrix *m = m_matrix.get();
    connect(m, &Matrix::nodeChanged, this,
        [this, n](Inputs in, Outputs ou) { m_signals << "node " + n(in) + " " + n(ou); });
    connect(m, &Matrix::inputGainChanged, this, [this, n](Inputs in) { m_signals << "ig " + n(in); });
    connect(m, &Matrix::outputGainChanged, this, [this, n](Outputs ou) { m_signals << "og " + n(ou); });
    connect(m, &Matrix::outputBalanceChanged, this, [this, n](Outputs ou) { m_signals << "ba " + n(ou); });
    connect(m, &Matrix::matrixOptionsChanged, this,
        [this, n](Matrix::MatrixOpts old) { m_signals << "opt " + n(int(old)); });
    m_signals.clear();
}

void TestMatrixSettings::cleanup()
{
    m_matrix.reset();
    m_bench.reset();
}

void TestMatrixSettings::deliver(const QByteArray &params)
{
    RpcMessage message = m_bench->notify("INFO;info_type:audio_changeset;" + params);
    QVERIFY(m_matrix->handleInfo(message));
}

void TestMatrixSettings::changes_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < std::size(cases); ++i)
        QTest::newRow(cases[i].name) << int(i);
}

void TestMatrixSettings::changes()
{
    QFETCH(int, index);
    const Case &c = cases[index];
    if (!c.before.isEmpty())
        deliver(c.before);
    if (c.refuse)
        m_device->refuseKey(c.refuse, kra::ERR_PARAMETER_SET_ERROR);
    m_signals.clear();
    QCOMPARE(frames(), QByteArrayList());

    if (c.act)
        c.act(*m_matrix);
    if (!c.after.isEmpty())
        deliver(c.after);
    QCOMPARE(frames(), c.frames);
    QCOMPARE(m_signals, c.signalled);
    QCOMPARE(probed(*m_matrix, c.probes), c.probes);
}

void TestMatrixSettings::headphoneBatch()
{
    deliver(mixMode);
    const Outputs left = Outputs(6);

    // Changes inside the batch go out as one block at the commit.
    Matrix::HeadphoneMix before = m_matrix->beginHeadphoneMixChange(left);
    QCOMPARE(before, Matrix::HeadphoneMix());
    m_matrix->setNodeGain(Inputs(0), left, -10);
    m_matrix->setNode(Inputs(0), left, true);
    m_matrix->setNode(Inputs(1), Outputs(7), true);
    QCOMPARE(frames(), QByteArrayList());
    QVERIFY(m_matrix->commitHeadphoneMixChange(left, before));
    const QByteArray block = "5680" + zeros(56);
    QCOMPARE(frames(), QByteArrayList {write("matrix_hp1=" + block)});
    QCOMPARE(m_device->param("audio", "matrix_hp1"), block.toStdString());

    // Back where it started: nothing to send.
    before = m_matrix->beginHeadphoneMixChange(Outputs(7));
    m_matrix->setNode(Inputs(0), left, false);
    m_matrix->setNode(Inputs(0), left, true);
    QVERIFY(m_matrix->commitHeadphoneMixChange(Outputs(7), before));
    QCOMPARE(frames(), QByteArrayList());
    QVERIFY(m_matrix->commitHeadphoneMixChange(left, before));
    QCOMPARE(m_matrix->beginHeadphoneMixChange(Outputs(5)), Matrix::HeadphoneMix());
    QVERIFY(m_matrix->commitHeadphoneMixChange(Outputs(5), before));

    // A refused block puts the nodes back as the device still has them.
    m_device->refuseKey("matrix_hp1", kra::ERR_PARAMETER_SET_ERROR);
    before = m_matrix->beginHeadphoneMixChange(left);
    m_matrix->setNodeGain(Inputs(2), left, -3);
    m_matrix->setNode(Inputs(0), Outputs(7), true);
    QVERIFY(!m_matrix->commitHeadphoneMixChange(left, before));
    QCOMPARE(frames(), QByteArrayList {write("matrix_hp1=D6801D" + zeros(54))});
    const QByteArrayList restored {"hp 6=" + block, "n 2 6=0@-160", "n 0 7=0@-10", "n 0 6=1@-10"};
    QCOMPARE(probed(*m_matrix, restored), restored);

    // The batch is closed: a change goes out on its own again.
    m_matrix->setNodeGain(Inputs(3), left, -1);
    QCOMPARE(frames().count(), 1);
}

void TestMatrixSettings::mixesToBalances()
{
    // Pair 1 routes stream 1's sent signal to both ears; its own mix has inputs 0 and 24 on both ears.
    const QByteArray mix = "E0" + zeros(46) + "E0" + zeros(10);
    deliver("matrix_ba1:0416;matrix_hp1:" + mix + ";" + mixMode);
    const QByteArrayList ownMix {"n 0 6=1@0", "n 25 7=0@-160"};
    QCOMPARE(probed(*m_matrix, ownMix), ownMix);
    QCOMPARE(frames(), QByteArrayList());

    // Bit 0 cleared: every headphone node off at -160 dB, then the balances applied; the mixes are kept.
    QVERIFY(m_matrix->setMatrixOptions(0, true));
    QCOMPARE(frames(), QByteArrayList {write("matrix_opt=00000000")});
    QCOMPARE(m_signals.last(), QByteArray("opt 1"));
    const QList<int> leftSources {24, 20, 26, 22, 28, 19}, rightSources {25, 21, 27, 23, 28, 19};
    for (int ou = 6; ou <= 11; ++ou) {
        const QList<int> &sources = ou % 2 ? rightSources : leftSources;
        for (int in = 0; in < 30; ++in) {
            const bool routed = (in == 24 && ou == 6) || (in == 25 && ou == 7);
            const QByteArray expected = routed ? "1@-6" : sources.contains(in) ? "0@0" : "0@-160";
            QCOMPARE(probe(*m_matrix, "n " + QByteArray::number(in) + " " + QByteArray::number(ou)), expected);
        }
    }
    QCOMPARE(probe(*m_matrix, "hp 6"), mix);
    QCOMPARE(probe(*m_matrix, "ba 6"), QByteArray("0416"));

    // And back: the kept mix feeds the nodes again.
    QVERIFY(m_matrix->setMatrixOptions(1, true));
    QCOMPARE(frames(), QByteArrayList {write("matrix_opt=00000001")});
    QCOMPARE(probed(*m_matrix, ownMix), ownMix);
}

void TestMatrixSettings::fetchAndReset()
{
    m_device->loadSetup(SimDevice::audioSetup());
    QByteArray main = "PARAM|target=audio";
    for (int n = 1; n <= 24; ++n)
        main += "|GET matrix_in" + QByteArray::number(n);
    for (int n = 13; n <= 24; ++n)
        main += "|GET matrix_ou" + QByteArray::number(n);
    for (int n = 1; n <= 3; ++n)
        main += "|GET matrix_hp" + QByteArray::number(n) + "|GET matrix_ba" + QByteArray::number(n);
    main += "|GET matrix_opt|GET matrix_mgn";
    const QByteArray records = "PARAM|target=audio|GET matrix_rec1|GET matrix_rec2";

    // A fetch on a live link writes nothing back.
    QVERIFY(m_matrix->fetchAll());
    QCOMPARE(frames(), (QByteArrayList {main, records}));
    const QByteArrayList loaded {"e 4=0766,AES3 L", "n 4 0=1@0", "n 4 1=0@0", "n 4 2=1@0", "ig 4=6",
        "e 6=0020,G\xc3\xa4ste", "n 0 13=1@0", "m 22=00004000", "n 14 22=1@0", "hp 6=E0E0" + zeros(56), "n 0 6=0@0",
        "ba 6=0416", "n 24 6=1@-6", "n 25 7=1@-6", "og 2=-10", "og 3=-10", "og 0=0", "n 19 24=1@0", "n 19 25=1@0",
        "m 24=00080000"};
    QCOMPARE(probed(*m_matrix, loaded), loaded);

    // Nor does a change set that switches the headphone mode both ways.
    deliver(mixMode);
    QCOMPARE(probe(*m_matrix, "n 1 7"), QByteArray("1@0"));
    deliver("matrix_opt:00000000;matrix_in1:0020,;");
    QCOMPARE(probe(*m_matrix, "n 24 6"), QByteArray("1@-6"));
    QCOMPARE(frames(), QByteArrayList());
    QVERIFY(!m_matrix->store({"matrix_opt"}));
    QVERIFY(!m_matrix->fetch({}));
    QCOMPARE(frames(), QByteArrayList());

    // A reset while the link is up clears the model, not the device.
    QSignalSpy state(m_matrix.get(), &TComController::controllerStateChanged);
    deliver(mixMode);
    m_matrix->setInputGain(QVexmar::Inputs(0), -12.0f); // an analog input's attenuation, kept only here
    frames();
    m_signals.clear();
    m_matrix->reset();
    QCOMPARE(frames(), QByteArrayList {"DO|action=unsubscribe|info=audio_changeset"});
    QCOMPARE(m_signals, QByteArrayList());
    QCOMPARE(state.count(), 1);
    QCOMPARE(m_device->param("audio", "matrix_in5"), std::string("0766,AES3 L"));
    const QByteArrayList cleared {"e 4=0020,", "n 4 0=0@0", "ig 4=0", "ig 0=0", "m 22=00000000", "hp 6=" + zeros(60),
        "opt=00000000", "mgn=80808080", "og 2=0", "ba 6=0416", "n 24 6=1@-6", "m 24=00080000", "og 6=-160"};
    QCOMPARE(probed(*m_matrix, cleared), cleared);

    // Attached again, attached twice, and a fetch that fails.
    QVERIFY(m_matrix->attach(true));
    const QByteArray subscribe = "DO|action=subscribe|info=audio_changeset";
    QCOMPARE(frames(), (QByteArrayList {main, records, subscribe}));
    QVERIFY(m_matrix->attach(true));
    QCOMPARE(frames(), (QByteArrayList {"DO|action=unsubscribe|info=audio_changeset", main, records, subscribe}));
    QCOMPARE(m_signals, QByteArrayList());
    m_matrix->reset();
    m_device->addFault(script({"PARAM;return:ERROR;"}));
    QVERIFY(!m_matrix->attach(true));
    QCOMPARE(m_matrix->state(), -1);
    frames();
    m_device->addFault(fault(SimDevice::Fault::Nok));
    QVERIFY(!m_matrix->fetchAll());
    QCOMPARE(frames(), QByteArrayList {main});
}

// Each packed key as the device spells it: the fetch asks for it and unpacks the device's text into what it
// carries, and a change of what it carries writes it.
void TestMatrixSettings::wireKeys_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("device"); // what the device holds
    QTest::addColumn<QByteArray>("probe"); // what the matrix then holds, as "probe=value"
    QTest::addColumn<QByteArray>("act"); // "node <in> <ou>", "balance <ou> <position>", "mgn <hex>" or "opt <hex>"
    QTest::addColumn<QByteArray>("sent"); // the text then written under the key

    const auto row
        = [](const QByteArray &key, const QByteArray &device, const QByteArray &probe, const QByteArray &act,
              const QByteArray &sent) { QTest::newRow(key.constData()) << key << device << probe << act << sent; };
    const auto n = [](int value) { return QByteArray::number(value); };
    for (int key = 1; key <= 24; ++key)
        row("matrix_in" + n(key), "0020,Line " + n(key), "e " + n(key - 1) + "=0020,Line " + n(key),
            "node " + n(key - 1) + " 0", "0060,");
    for (int key = 13; key <= 24; ++key)
        row("matrix_ou" + n(key), "00000003", "m " + n(key - 1) + "=00000003", "node 0 " + n(key - 1), "00000001");
    for (int key = 1; key <= 3; ++key) {
        const QByteArray left = n(6 + 2 * (key - 1));
        // Nodes of a mix start muted.
        row("matrix_hp" + n(key), "C0" + zeros(58), "hp " + left + "=C0" + zeros(58), "node 1 " + left,
            "0040" + zeros(56));
        // A reset keeps the balance words, and with them the routing read.
        row("matrix_ba" + n(key), "0416", "ba " + left + "=0416", "balance " + left + " 3", "0413");
    }
    // A reset keeps the record masks too.
    row("matrix_rec1", "00080000", "m 24=00080000", "node 20 24", "00180000");
    row("matrix_rec2", "00100000", "m 25=00100000", "node 19 25", "00180000");
    row("matrix_mgn", "7F8081FF", "mgn=7F8081FF", "mgn 80768080", "80768080");
    row("matrix_opt", "00000002", "opt=00000002", "opt 00000004", "00000004");
}

void TestMatrixSettings::wireKeys()
{
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, probe);
    QFETCH(QByteArray, act);
    QFETCH(QByteArray, sent);

    // The headphone blocks count in headphone mode only, the balances outside it.
    const bool headphones = key.startsWith("matrix_hp");
    if (headphones)
        m_device->setParam("audio", "matrix_opt", "00000001");
    m_device->setParam("audio", key.toStdString(), device.toStdString());
    QVERIFY(m_matrix->fetchAll());
    QVERIFY(askedNames(frames()).contains(key));
    QCOMPARE(probed(*m_matrix, {probe}), QByteArrayList {probe});

    m_matrix->reset();
    QVERIFY(m_matrix->attach(false));
    if (headphones)
        QVERIFY(m_matrix->setMatrixOptions(Matrix::HeadphoneMixes, false));
    frames();
    const QList<QByteArray> w = act.split(' ');
    if (w[0] == "node")
        m_matrix->setNode(Inputs(w[1].toInt()), Outputs(w[2].toInt()), true);
    else if (w[0] == "balance")
        QVERIFY(m_matrix->setOutputBalance(Outputs(w[1].toInt()), w[2].toInt(), true));
    else if (w[0] == "mgn")
        QVERIFY(m_matrix->setMasterGains(w[1].toUInt(nullptr, 16), true));
    else
        QVERIFY(m_matrix->setMatrixOptions(w[1].toUInt(nullptr, 16), true));
    QCOMPARE(frames(), QByteArrayList {write(key + "=" + sent)});
    QCOMPARE(QByteArray::fromStdString(m_device->param("audio", key.toStdString())), sent);
}

QTEST_GUILESS_MAIN(TestMatrixSettings)
#include "tst_matrixsettings.moc"
