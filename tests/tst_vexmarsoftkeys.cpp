// The soft-key model against the simulated device: wire values both ways, the lists a key offers by its index,
// the device's options and the docking station, the signals of a change from the device, the full read, and the
// writes the device refuses.

#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "device/vexmarsoftkeys.h"
#include "tests/screentesting.h"

#include <QtTest>

using namespace screentesting;

namespace {

QByteArray stateOf(const QVexmarSoftkey *key)
{
    return QByteArray::number(key->category()) + "/" + QByteArray::number(key->function()) + "/"
        + QByteArray::number(key->behavior());
}

// The four signals of the model, in the order they came.
class SignalLog : public QObject
{
public:
    SignalLog()
    {
        QVexmarSoftkeys *model = getSoftkeys();
        connect(model, &QVexmarSoftkeys::softKeyCategoryChanging, this,
            [this](QVexmarSoftkey *key, QVexmarSoftkey::Category category) {
                lines << "categoryChanging " + stateOf(key) + " to " + QByteArray::number(category);
            });
        connect(model, &QVexmarSoftkeys::softKeyFunctionChanging, this,
            [this](QVexmarSoftkey *key, QVexmarSoftkey::Function function) {
                lines << "functionChanging " + stateOf(key) + " to " + QByteArray::number(function);
            });
        connect(model, &QVexmarSoftkeys::softKeyFunctionChanged, this,
            [this](QVexmarSoftkey *key) { lines << "functionChanged " + stateOf(key); });
        connect(model, &QVexmarSoftkeys::softKeyBehaviorChanged, this,
            [this](QVexmarSoftkey *key) { lines << "behaviorChanged " + stateOf(key); });
    }

    QByteArrayList lines;
};

QByteArray changeset(int number, const QByteArray &value)
{
    return "INFO;info_type:config_changeset;info_source:hcc;softkey" + QByteArray::number(number) + ":" + value + ";";
}

// What the device asked or was told about the soft keys.
QByteArrayList softkeyFrames(const QByteArrayList &frames)
{
    QByteArrayList picked;
    for (const QByteArray &frame : frames) {
        if (frame.contains("softkey") || frame.contains("config_changeset"))
            picked << frame;
    }
    return picked;
}

} // namespace

class TestVexmarSoftkeys : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void wireValues_data();
    void wireValues();
    void lists_data();
    void lists();
    void changeFromDevice_data();
    void changeFromDevice();
    void load_data();
    void load();
    void contactsByFirmware_data();
    void contactsByFirmware();
    void writes_data();
    void writes();
};

void TestVexmarSoftkeys::init()
{
    g_deviceFirmwareVersion = 0xFFFFFF;
    for (int n = 1; n <= QVexmarSoftkeys::keyCount; ++n)
        getSoftkeys()->applyValue("softkey" + std::to_string(n), "");
}

void TestVexmarSoftkeys::wireValues_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("state"); // category/function/behaviour
    QTest::addColumn<QString>("name");
    dataRow("shortcut Tools", 4, QByteArray("C00F08B03"), QByteArray("0/8/3"), QStringLiteral("Tools"));
    dataRow("stream function 12", 8, QByteArray("C03F0CB01"), QByteArray("3/12/1"), QStringLiteral("A Talk Voice"));
    dataRow("output function 10", 9, QByteArray("C05F0AB01"), QByteArray("5/10/1"), QStringLiteral("B Talk AES67 Ch3"));
    dataRow("none", 0, QByteArray(), QByteArray("-1/0/0"), QStringLiteral("None"));
}

// The same value from the device and to it.
void TestVexmarSoftkeys::wireValues()
{
    QFETCH(int, index);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, state);
    QFETCH(QString, name);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarSoftkey *key = getSoftkey(index);
    const QByteArray other = "C02F02B00";
    const std::string parameter = "softkey" + std::to_string(index + 1);

    getSoftkeys()->applyValue(parameter, other.toStdString());
    QVERIFY(rig.deliver({changeset(index + 1, value)}));
    QCOMPARE(stateOf(key), state);
    QCOMPARE(QVexmarSoftkey::functionName(key->category(), key->function()), name);
    // Never written back.
    QCOMPARE(softkeyFrames(rig.framesAfterRoundTrip()), QByteArrayList());

    getSoftkeys()->applyValue(parameter, value.isEmpty() ? other.toStdString() : std::string());
    const QByteArrayList fields = state.split('/');
    key->setCategory(fields[0].toInt());
    key->setFunction(fields[1].toInt());
    QCOMPARE(stateOf(key), state);
    const QByteArrayList frames = softkeyFrames(rig.takeFrames());
    QVERIFY(!frames.isEmpty());
    QCOMPARE(frames.last(), "PARAM|" + QByteArray::fromStdString(parameter) + "=" + value + "|target=general");
    QCOMPARE(rig.device.param("general", parameter), value.toStdString());
}

void TestVexmarSoftkeys::lists_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<bool>("docked");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("category");
    QTest::addColumn<QByteArray>("functions"); // numbers, or codes in hex when they start with 0x
    QTest::addColumn<QString>("first"); // the name of the first
    QTest::addColumn<QByteArray>("categories");
    const QByteArray all = "-1 0 1 2 3 4 5";
    const QByteArray undocked = "-1 0 1 2 3 4";
    dataRow("4 to a stream", QByteArray("ravenna"), true, 4, 3, QByteArray("1 2 3 9 10 11"),
        QStringLiteral("1 Talk Stream1R"), all);
    dataRow("4 to a stream, mobile", QByteArray("mobile_lte"), false, 4, 3, QByteArray("1 2 3 4 9 10 11 12"),
        QStringLiteral("1 Talk Stream1R"), undocked);
    dataRow("8 to a stream, mobile, docked", QByteArray("mobile_lte"), true, 8, 3, QByteArray("9 10 11 12"),
        QStringLiteral("A Talk Stream1R"), QByteArray("-1 3 5"));
    dataRow("8 to a stream, as codes", QByteArray("mobile_lte"), false, 8, -3, QByteArray("0x909 0xa0a 0xb0b 0xc0c"),
        QStringLiteral("A Talk Stream1R"), QByteArray("-1 3"));
    dataRow("9 to an output, AES67", QByteArray("ravenna"), true, 9, 5, QByteArray("6 7 8 9 10"),
        QStringLiteral("B Talk LINE1"), QByteArray("-1 3 5"));
    dataRow("9 to an output", QByteArray("wifi"), true, 9, 5, QByteArray("6 7"), QStringLiteral("B Talk LINE1"),
        QByteArray("-1 3 5"));
    dataRow("4 to a speaker, docked", QByteArray("wifi"), true, 4, 4, QByteArray("1 2 5 6"),
        QStringLiteral("1 Talk 2/B"), all);
    dataRow(
        "4 to a speaker", QByteArray("wifi"), false, 4, 4, QByteArray("1 2 5 6"), QStringLiteral("1 Talk 2"), undocked);
    // No mask of its own: all of them after the category change.
    dataRow("8 to a speaker", QByteArray("wifi"), false, 8, 4, QByteArray("1 2 3 4 5 6 7 8"),
        QStringLiteral("1 Talk 2"), QByteArray("-1 3"));
    dataRow("a category beyond", QByteArray("wifi"), false, 0, 6, QByteArray("0"), QStringLiteral("None"), undocked);
}

void TestVexmarSoftkeys::lists()
{
    QFETCH(QByteArray, options);
    QFETCH(bool, docked);
    QFETCH(int, index);
    QFETCH(int, category);
    QFETCH(QByteArray, functions);
    QFETCH(QString, first);
    QFETCH(QByteArray, categories);
    ScreenRig rig;
    rig.device.loadSetup("general device_opts=[" + options + "]\ngeneral docking_detected=" + (docked ? "yes" : "no"));
    QVERIFY(rig.start());
    QVERIFY(getDevice()->initialize());
    QVexmarSoftkey *key = getSoftkey(index);
    const bool asCode = category < 0;
    // In the category, as the settings menu has it before it asks.
    getSoftkeys()->applyValue("softkey" + std::to_string(index + 1),
        qAbs(category) <= 5 ? "C0" + std::to_string(qAbs(category)) + "F00B00" : std::string());
    const QMap<int, QString> list = key->functionList(qAbs(category), asCode);
    QByteArrayList numbers;
    for (const int function : list.keys())
        numbers << (asCode ? "0x" + QByteArray::number(function, 16) : QByteArray::number(function));
    QCOMPARE(numbers.join(' '), functions);
    QCOMPARE(list.first(), first);
    numbers.clear();
    for (const int offered : key->categoryList().keys())
        numbers << QByteArray::number(offered);
    QCOMPARE(numbers.join(' '), categories);
}

void TestVexmarSoftkeys::changeFromDevice_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArrayList>("emitted");
    dataRow("new category, other function", QByteArray(), QByteArray("C03F02B01"),
        QByteArrayList {"categoryChanging -1/0/0 to 3", "functionChanged 3/1/1", "functionChanging 3/1/1 to 2",
            "functionChanged 3/2/1"});
    dataRow("new category, its first function", QByteArray(), QByteArray("C00F01B03"),
        QByteArrayList {"categoryChanging -1/0/0 to 0", "functionChanged 0/1/3"});
    dataRow("the same value", QByteArray("C00F01B03"), QByteArray("C00F01B03"), QByteArrayList());
    dataRow("new function", QByteArray("C00F01B03"), QByteArray("C00F04B03"),
        QByteArrayList {"functionChanging 0/1/3 to 4", "functionChanged 0/4/3"});
    dataRow("function not offered", QByteArray(), QByteArray("C03F05B01"),
        QByteArrayList {"categoryChanging -1/0/0 to 3", "functionChanged 3/1/1"});
    dataRow("category beyond", QByteArray("C00F01B03"), QByteArray("C07F01B01"), QByteArrayList());
    dataRow("behaviour the category has not", QByteArray("C00F01B03"), QByteArray("C00F01B01"), QByteArrayList());
    dataRow("to none", QByteArray("C00F01B03"), QByteArray(),
        QByteArrayList {"categoryChanging 0/1/3 to -1", "functionChanged -1/0/0"});
    dataRow("eight characters: none", QByteArray("C00F01B03"), QByteArray("C00F01B0"),
        QByteArrayList {"categoryChanging 0/1/3 to -1", "functionChanged -1/0/0"});
}

void TestVexmarSoftkeys::changeFromDevice()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, value);
    QFETCH(QByteArrayList, emitted);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    getSoftkeys()->applyValue("softkey1", before.toStdString());
    SignalLog log;
    QVERIFY(rig.deliver({changeset(1, value)}));
    QCOMPARE(log.lines, emitted);
    QCOMPARE(softkeyFrames(rig.framesAfterRoundTrip()), QByteArrayList());
}

void TestVexmarSoftkeys::load_data()
{
    QTest::addColumn<QByteArray>("reply"); // "setup", "unset <n>", "nine", "refused"
    QTest::addColumn<QByteArray>("keys"); // the ten wire values, '-' for none
    const QByteArray setup = "C00F01B03 C00F02B03 C01F01B02 C02F01B00 C00F08B03 C01F02B02 C03F05B01 - C03F09B01 -";
    const QByteArray untouched = QByteArray("- ").repeated(9) + "-";
    dataRow("ten values", QByteArray("setup"), setup);
    dataRow("one not set counts", QByteArray("unset 3"), QByteArray(setup).replace("C01F01B02", "-"));
    dataRow("nine values change nothing", QByteArray("nine"), untouched);
    dataRow("refused", QByteArray("refused"), untouched);
}

void TestVexmarSoftkeys::load()
{
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, keys);
    ScreenRig rig;
    QVERIFY(rig.start());
    QVERIFY(getDevice()->initialize());
    if (reply.startsWith("unset "))
        rig.device.unsetParam("general", "softkey" + reply.mid(6).toStdString());
    SimDevice::Fault answer = fault(reply == "nine" ? SimDevice::Fault::Script : SimDevice::Fault::ErrorReply, 7);
    answer.match = "softkey10";
    if (reply == "nine") {
        QByteArray values = "PARAM;return:OK;";
        for (int n = 1; n <= 9; ++n)
            values += "softkey" + QByteArray::number(n) + ":C00F01B03;";
        answer.replies.push_back(body(values));
    }
    if (reply == "nine" || reply == "refused")
        rig.device.addFault(answer);
    rig.takeFrames();
    getSoftkeys()->load();

    QByteArrayList values;
    for (int index = 0; index < QVexmarSoftkeys::keyCount; ++index) {
        const std::string wire = getSoftkey(index)->wireValue();
        values << (wire.empty() ? QByteArray("-") : QByteArray::fromStdString(wire));
    }
    QCOMPARE(values.join(' '), keys);
    QByteArray ask = "PARAM|target=general";
    for (int n = 1; n <= 10; ++n)
        ask += "|GET softkey" + QByteArray::number(n);
    QCOMPARE(rig.takeFrames(), (QByteArrayList {"DO|action=subscribe|info=config_changeset", ask}));
}

void TestVexmarSoftkeys::contactsByFirmware_data()
{
    QTest::addColumn<unsigned>("firmware");
    QTest::addColumn<QByteArray>("state");
    dataRow("1.01.02", 0x010102u, QByteArray("1/1/2"));
    dataRow("1.01.03", 0x010103u, QByteArray("1/3/2"));
    dataRow("not known yet", 0xFFFFFFu, QByteArray("1/3/2"));
}

void TestVexmarSoftkeys::contactsByFirmware()
{
    QFETCH(unsigned, firmware);
    QFETCH(QByteArray, state);
    g_deviceFirmwareVersion = firmware;
    getSoftkeys()->applyValue("softkey2", "C01F03B02");
    QCOMPARE(stateOf(getSoftkey(1)), state);
}

void TestVexmarSoftkeys::writes_data()
{
    QTest::addColumn<QByteArray>("device"); // "answers", "refuses", "gone"
    QTest::addColumn<QByteArray>("state");
    QTest::addColumn<QByteArrayList>("emitted");
    const QByteArray changing = "categoryChanging 0/1/3 to 3";
    dataRow("taken", QByteArray("answers"), QByteArray("3/1/1"), QByteArrayList {changing, "functionChanged 3/1/1"});
    // The key shows what the device holds, and says so.
    dataRow("refused", QByteArray("refuses"), QByteArray("0/1/3"), QByteArrayList {changing, "functionChanged 0/1/3"});
    dataRow("no connection: kept until the next read", QByteArray("gone"), QByteArray("3/1/1"),
        QByteArrayList {changing, "functionChanged 3/1/1"});
}

void TestVexmarSoftkeys::writes()
{
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, state);
    QFETCH(QByteArrayList, emitted);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QCOMPARE(stateOf(getSoftkey(0)), QByteArray("0/1/3"));
    if (device == "refuses") {
        rig.device.refuseKey("softkey1", "103-parameter set error");
        QTest::ignoreMessage(
            QtWarningMsg, "Soft key 1: the device did not take C03F01B01, the key shows the device's value again");
    } else if (device == "gone") {
        getCom()->disconnectFromDevice();
    }
    SignalLog log;
    getSoftkey(0)->setCategory(QVexmarSoftkey::TalkToStream);
    QCOMPARE(stateOf(getSoftkey(0)), state);
    QCOMPARE(log.lines, emitted);
    QCOMPARE(rig.device.param("general", "softkey1"), std::string(device == "answers" ? "C03F01B01" : "C00F01B03"));
}

QTEST_MAIN(TestVexmarSoftkeys)
#include "tst_vexmarsoftkeys.moc"
