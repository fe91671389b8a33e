// The text dictionary (its file rules, cause texts and the dictionary shipped with the program) and the display
// names of networks, codec algorithms, channel modes and codec settings.

#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/qvexmarlocalize.h"
#include "rpc/codecformat.h"
#include "rpc/rpcvocabulary.h"

#include <QTemporaryDir>
#include <QtTest>

class TestLocaleDictionary : public QObject
{
    Q_OBJECT

private slots:
    void fileRules_data();
    void fileRules();
    void causeText_data();
    void causeText();
    void shippedDictionary();
    void networkName_data();
    void networkName();
    void codecDescription_data();
    void codecDescription();
};

void TestLocaleDictionary::fileRules_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file at all
    QTest::addColumn<QByteArrayList>("lookups"); // "key=>shown"
    const auto row = [](const char *name, const QByteArray &file, const QByteArrayList &lookups) {
        QTest::newRow(name) << file << lookups;
    };

    row("the first entry wins, comments and lines without ':' add nothing", "# k:comment\nk:v\nk:w\nlonely\n",
        {"k=>v", "# k=># k", "lonely=>lonely"});
    row("white space simplified, spaces at ':' belong to key and text", "  a   b :\t one  \t two  \r\n",
        {"a b => one two", "a b=>a b", "a   b=>a   b"});
    row("further ':' belong to the text", "117-timeout:Timeout: try again\n", {"117-timeout=>Timeout: try again"});
    row("empty lines and an empty text", "\n\n   \nx:\n", {"x=>", "=>"});
    row("no end of line after the last entry", "a:1\nb:2", {"a=>1", "b=>2"});
    row("UTF-8 texts", "caf:Caf\xc3\xa9\n", {"caf=>Caf\xc3\xa9"});
    row("texts beyond Latin-1",
        "city:\xc5\x81\xc3\xb3"
        "d\xc5\xba \xe2\x82\xac\n",
        {"city=>\xc5\x81\xc3\xb3"
         "d\xc5\xba \xe2\x82\xac"});
    row("no file: every key shows itself", "", {"122-pin required=>122-pin required"});
}

void TestLocaleDictionary::fileRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArrayList, lookups);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString name = dir.filePath(QStringLiteral("English.locale"));
    if (!file.isEmpty()) {
        QFile out(name);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    // The file alone, without the shipped texts.
    const LocaleDictionary loaded(name);
    for (const QByteArray &lookup : lookups) {
        const int arrow = lookup.indexOf("=>");
        QCOMPARE(loaded.translate(lookup.left(arrow).toStdString()), QString::fromUtf8(lookup.mid(arrow + 2)));
    }
}

void TestLocaleDictionary::causeText_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("a known cause") << 122 << QStringLiteral("PIN required");
    QTest::newRow("the last code") << 204 << QStringLiteral("Unknown command");
    QTest::newRow("a code without its own text") << 150 << QStringLiteral("Unknown error");
    QTest::newRow("beyond the codes") << 500 << QStringLiteral("Unknown error");
    QTest::newRow("zero") << 0 << QStringLiteral("Unknown error");
}

void TestLocaleDictionary::causeText()
{
    QFETCH(int, code);
    QFETCH(QString, text);

    QCOMPARE(getLocaleDictionary()->causeText(code), text);
    // Without a dictionary the device's own words show.
    QCOMPARE(LocaleDictionary(QString()).causeText(code), QString::fromStdString(causeTextFromCode(code)));
}

// Every error text of the protocol and every message of calls and of the unit has plain English; nothing
// shows a bare code.
void TestLocaleDictionary::shippedDictionary()
{
    const LocaleDictionary *dictionary = getLocaleDictionary();
    QStringList untranslated;
    for (int code = 1; code <= 204; ++code) {
        const std::string &key = causeTextFromCode(code);
        const QString shown = dictionary->translate(key);
        if (shown == QString::fromStdString(key) || shown.isEmpty() || shown.at(0).isDigit())
            untranslated << QString::fromStdString(key);
    }
    for (const std::string *key : {&kra::EVT_HARDWARE_FAILURE, &kra::EVT_HARDWARE_UNPLUGGED, &kra::EVT_CALL_PROCEEDING,
             &kra::EVT_CALL_ALERTING, &kra::EVT_CALL_RECEIVED, &kra::EVT_CALL_ACTIVE, &kra::EVT_CALL_DISCONNECTED,
             &kra::EVT_CALL_RELEASED, &kra::EVT_CALL_LOST, &kra::EVT_CALL_ERROR, &kra::EVT_CALL_INFO}) {
        if (dictionary->translate(*key) == QString::fromStdString(*key))
            untranslated << QString::fromStdString(*key);
    }
    QCOMPARE(untranslated, QStringList());
    QCOMPARE(dictionary->translate(kra::ERR_WIFI_CONNECTING), QStringLiteral("Wi-Fi is connecting..."));
    QCOMPARE(dictionary->translate("999-no such text"), QStringLiteral("999-no such text"));
}

void TestLocaleDictionary::networkName_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");

    const auto row = [](const char *network, int code, const char *name) {
        QTest::newRow(network) << code << QString::fromLatin1(name);
    };
    row("eth.0", 0x100, "Ethernet");
    row("eth.1", 0x101, "Ethernet (aux)");
    row("eth.3", 0x103, "Ethernet (ext 2)");
    row("isdn.5", 0x205, "ISDN");
    row("mobile.0", 0x300, "Mobile (int 1)");
    row("mobile.2", 0x302, "Mobile (ext 1)");
    row("wifi.2", 0x402, "Wi-Fi (ext 2)");
    row("aoip", 0, "Invalid");
    row("type 0x500", 0x500, "Invalid");
}

void TestLocaleDictionary::networkName()
{
    QFETCH(int, code);
    QFETCH(QString, name);
    QCOMPARE(QVexmarLocalize::networkName(code), name);
}

void TestLocaleDictionary::codecDescription_data()
{
    QTest::addColumn<QByteArray>("format"); // algorithm/sample rate/channel mode/bit rate/fec
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const char *format, const char *text) {
        QTest::newRow(name) << QByteArray(format) << QString::fromLatin1(text);
    };
    row("4SB", "7/48000/2/256000/-1", "4SB ADPCM 48kHz Stereo 256kbit/s");
    row("CELP with its option", "13/16000/0/24000/3", "Celp 16kHz Mono 24kbit/s FEC:P3");
    row("CELP without", "13/16000/0/24000/-1", "Celp");
    row("G.722 alone", "3/48000/0/64000/-1", "G.722");
    row("Opus", "19/48000/2/128000/-1", "Opus 48kHz Stereo 128kbit/s");
    row("MPEG L2 J.52: FEC always", "8/48000/3/384000/-1", "MPEG L2 J.52 48kHz J-Stereo 384kbit/s FEC:-1");
    row("MPEG L2 with fec 0", "9/32000/1/128000/0", "MPEG L2 32kHz Dual Mono 128kbit/s FEC:0");
    row("no sample rate: one space", "20/-1/0/768000/-1", "L16 Mono 768kbit/s");
    row("rate kept whole, bit rate in bit/s", "14/22050/2/56500/-1", "AAC LC 22kHz Stereo 56500bit/s");
    row("no bit rate, unknown mode", "27/48000/-1/-1/-1", "AAC LD 48kHz Invalid");
    row("mode 4", "27/48000/4/-1/-1", "AAC LD 48kHz Invalid");
    row("the last algorithm", "28/48000/2/64000/-1", "AAC ELD 48kHz Stereo 64kbit/s");
    row("no algorithm", "-1/48000/2/64000/-1", "Invalid");
    row("algorithm 29", "29/48000/2/64000/-1", "Invalid");
}

void TestLocaleDictionary::codecDescription()
{
    QFETCH(QByteArray, format);
    QFETCH(QString, text);

    const QByteArrayList f = format.split('/');
    CodecFormat codec;
    codec.algorithm = f[0].toInt();
    codec.sampleRate = f[1].toInt();
    codec.channelMode = f[2].toInt();
    codec.bitRate = f[3].toInt();
    codec.fec = f[4].toShort();
    QCOMPARE(QVexmarLocalize::codecDescription(codec), text);
}

QTEST_GUILESS_MAIN(TestLocaleDictionary)
#include "tst_localedictionary.moc"
