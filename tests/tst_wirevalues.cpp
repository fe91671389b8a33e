#include "rpc/codecformat.h"
#include "rpc/logescape.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <QtTest>

#include <cfloat>

Q_DECLARE_METATYPE(std::string)

class TestWireValues : public QObject
{
    Q_OBJECT

private slots:
    void codecText_data();
    void codecText();
    void codecKeywords();
    void causeCodes_data();
    void causeCodes();
    void causeTableIsConsistent();
    void decimalConverters_data();
    void decimalConverters();
    void hexConverters_data();
    void hexConverters();
    void numberTexts();
    void duration_data();
    void duration();
    void characterSets_data();
    void characterSets();
    void utf8BeyondLatin1_data();
    void utf8BeyondLatin1();
    void logTexts_data();
    void logTexts();
};

void TestWireValues::codecText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<int>("channelMode");
    QTest::addColumn<int>("bitRate");
    QTest::addColumn<int>("fec");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("G722 defaults") << QByteArray("G722") << 3 << 48000 << 0 << 64000 << -1 << QByteArray("G722");
    QTest::newRow("MPA2P full") << QByteArray("MPA2P/48000/stereo/128000/2") << 9 << 48000 << 2 << 128000 << 2
                                << QByteArray("MPA2P/48000/stereo/128000/2");
    QTest::newRow("MPA2P without option") << QByteArray("MPA2P/48000/stereo/128000") << 9 << 48000 << 2 << 128000 << -1
                                          << QByteArray("MPA2P/48000/stereo/128000");
    QTest::newRow("CELP with P option") << QByteArray("CELP/16000/mono/24000/P3") << 13 << 16000 << 0 << 24000 << 3
                                        << QByteArray("CELP/16000/mono/24000/P3");
    QTest::newRow("CELP bare") << QByteArray("CELP") << 13 << 16000 << 0 << 24000 << -1 << QByteArray("CELP");
    QTest::newRow("MPA2 always writes option") << QByteArray("MPA2/48000/jstereo/256000/0") << 8 << 48000 << 3 << 256000
                                               << 0 << QByteArray("MPA2/48000/jstereo/256000/0");
    QTest::newRow("TDAC defaults") << QByteArray("TDAC") << 10 << 32000 << 0 << 64000 << -1 << QByteArray("TDAC");
    QTest::newRow("TDAC_G722 bit rate only")
        << QByteArray("TDAC_G722") << 11 << -1 << 0 << 64000 << -1 << QByteArray("TDAC_G722");
    QTest::newRow("short form keeps keyword only")
        << QByteArray("G711/8000/mono/64000") << 2 << 8000 << 0 << 64000 << -1 << QByteArray("G711");
    QTest::newRow("too few fields") << QByteArray("AAC-he/48000/stereo") << 15 << -1 << 0 << -1 << -1
                                    << QByteArray("AAC-he/-1/mono/-1");
    QTest::newRow("OPUS is number 19") << QByteArray("OPUS/48000/stereo/64000") << 19 << 48000 << 2 << 64000 << -1
                                       << QByteArray("OPUS/48000/stereo/64000");
    QTest::newRow("unknown algorithm ignores fields")
        << QByteArray("XYZ/48000/stereo/64000") << -1 << -1 << 0 << -1 << -1 << QByteArray("");
    QTest::newRow("unknown channel mode") << QByteArray("L24/48000/quad/2304000") << 22 << 48000 << -1 << 2304000 << -1
                                          << QByteArray("L24/48000//2304000");
    QTest::newRow("empty fields skipped") << QByteArray("/AAC-ld//48000/mono/64000/") << 27 << 48000 << 0 << 64000 << -1
                                          << QByteArray("AAC-ld/48000/mono/64000");
    QTest::newRow("empty text") << QByteArray("") << -1 << -1 << 0 << -1 << -1 << QByteArray("");
}

void TestWireValues::codecText()
{
    QFETCH(QByteArray, text);
    QFETCH(int, algorithm);
    QFETCH(int, sampleRate);
    QFETCH(int, channelMode);
    QFETCH(int, bitRate);
    QFETCH(int, fec);
    QFETCH(QByteArray, written);

    const CodecFormat format = parseCodecFormat(text.toStdString());
    QCOMPARE(format.algorithm, algorithm);
    QCOMPARE(format.sampleRate, sampleRate);
    QCOMPARE(format.channelMode, channelMode);
    QCOMPARE(format.bitRate, bitRate);
    QCOMPARE(int(format.fec), fec);
    QCOMPARE(QByteArray::fromStdString(CodecFormat::codecFormatToString(format)), written);
}

void TestWireValues::codecKeywords()
{
    for (int n = 0; n <= 28; ++n) {
        const std::string &keyword = codecAlgorithmToString(n);
        QVERIFY2(!keyword.empty(), qPrintable(QString::number(n)));
        QCOMPARE(codecAlgorithmFromString(keyword), n);
    }
    QCOMPARE(codecAlgorithmToString(19), kra::CODEC_OPUS);
    QCOMPARE(codecAlgorithmToString(29), std::string());
    QCOMPARE(codecAlgorithmToString(-1), std::string());
    QCOMPARE(codecAlgorithmFromString("g722"), -1);
    for (int m = 0; m <= 3; ++m)
        QCOMPARE(channelModeFromString(channelModeToString(m)), m);
    QCOMPARE(channelModeToString(4), std::string());
    QCOMPARE(channelModeFromString("Mono"), -1);
}

void TestWireValues::causeCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("0") << 0 << QByteArray("200-unknown error");
    QTest::newRow("1") << 1 << QByteArray("001-location unavailable");
    QTest::newRow("28") << 28 << QByteArray("028-ph-corp puk");
    QTest::newRow("29 gap") << 29 << QByteArray("200-unknown error");
    QTest::newRow("50 gap") << 50 << QByteArray("200-unknown error");
    QTest::newRow("100") << 100 << QByteArray("100-wrong password");
    QTest::newRow("101") << 101 << QByteArray("101-parameter not set");
    QTest::newRow("137") << 137 << QByteArray("137-wifi connecting...");
    QTest::newRow("141") << 141 << QByteArray("141-sip1_not configured");
    QTest::newRow("142 gap") << 142 << QByteArray("200-unknown error");
    QTest::newRow("204") << 204 << QByteArray("204-unknown command");
    QTest::newRow("205") << 205 << QByteArray("200-unknown error");
    QTest::newRow("negative") << -101 << QByteArray("200-unknown error");
}

void TestWireValues::causeCodes()
{
    QFETCH(int, code);
    QFETCH(QByteArray, text);
    QCOMPARE(QByteArray::fromStdString(causeTextFromCode(code)), text);
    const int back = causeCodeFromText(text.toStdString());
    const bool known = text != "200-unknown error" || code == 200;
    QCOMPARE(back, known ? code : 200);
}

void TestWireValues::causeTableIsConsistent()
{
    int texts = 0;
    for (int code = 1; code <= 204; ++code) {
        const std::string &text = causeTextFromCode(code);
        if (causeCodeFromText(text) == code)
            ++texts;
        else
            QCOMPARE(text, kra::ERR_UNKNOWN_ERROR);
    }
    QCOMPARE(texts, 75);
    QCOMPARE(causeCodeFromText("101"), 200);
    QCOMPARE(causeCodeFromText("101-parameter not se"), 200);
    QCOMPARE(causeCodeFromText("101-parameter not set "), 200);
    QCOMPARE(causeCodeFromText("050-unknown error"), 200);
    QCOMPARE(causeCodeFromText(""), 200);
}

void TestWireValues::decimalConverters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("asInt");
    QTest::addColumn<qlonglong>("asLong");
    QTest::addColumn<int>("asShort");
    QTest::addColumn<float>("asFloat");

    QTest::newRow("plain") << QByteArray("42") << 42 << 42ll << 42 << 42.0f;
    QTest::newRow("stray letter") << QByteArray("12a") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("empty") << QByteArray("") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("fraction") << QByteArray("3.7") << 3 << 3ll << 3 << 3.7f;
    QTest::newRow("negative") << QByteArray("-17") << -17 << -17ll << -17 << -17.0f;
    QTest::newRow("plus sign") << QByteArray("+5") << 5 << 5ll << 5 << 5.0f;
    QTest::newRow("two signs") << QByteArray("+-5") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("sign only") << QByteArray("-") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("stops at second sign") << QByteArray("12-3") << 12 << 12ll << 12 << 12.0f;
    QTest::newRow("leading point") << QByteArray(".5") << 0 << 0ll << 0 << 0.5f;
    QTest::newRow("space") << QByteArray(" 1") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("exponent refused") << QByteArray("1e5") << 0 << 0ll << 0 << 0.0f;
    QTest::newRow("above short") << QByteArray("40000") << 40000 << 40000ll << 0 << 40000.0f;
    QTest::newRow("above int") << QByteArray("3000000000") << 0 << 3000000000ll << 0 << 3000000000.0f;
    QTest::newRow("above long") << QByteArray("99999999999999999999") << 0 << 0ll << 0 << 99999999999999999999.0f;
}

void TestWireValues::decimalConverters()
{
    QFETCH(QByteArray, text);
    QFETCH(int, asInt);
    QFETCH(qlonglong, asLong);
    QFETCH(int, asShort);
    QFETCH(float, asFloat);
    // A copy without terminator slack shows that nothing reads past the text.
    const std::string exact(text.constData(), size_t(text.size()));
    QCOMPARE(stringToInt(exact), asInt);
    QCOMPARE(qlonglong(stringToLong(exact)), asLong);
    QCOMPARE(int(stringToShort(exact)), asShort);
    QCOMPARE(stringToFloat(exact), asFloat);
}

void TestWireValues::hexConverters_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qlonglong>("asLong");
    QTest::addColumn<qulonglong>("asULong");
    QTest::newRow("upper") << QByteArray("1F") << 31ll << 31ull;
    QTest::newRow("lower") << QByteArray("ff") << 255ll << 255ull;
    QTest::newRow("prefix refused") << QByteArray("0x1F") << 0ll << 0ull;
    QTest::newRow("sign refused") << QByteArray("-1") << 0ll << 0ull;
    QTest::newRow("empty") << QByteArray("") << 0ll << 0ull;
    QTest::newRow("above long") << QByteArray("FFFFFFFFFFFFFFFF") << 0ll << 0xFFFFFFFFFFFFFFFFull;
    QTest::newRow("above unsigned long") << QByteArray("1FFFFFFFFFFFFFFFF") << 0ll << 0ull;
}

void TestWireValues::hexConverters()
{
    QFETCH(QByteArray, text);
    QFETCH(qlonglong, asLong);
    QFETCH(qulonglong, asULong);
    QCOMPARE(qlonglong(hexStringToLong(text.toStdString())), asLong);
    QCOMPARE(qulonglong(hexStringToULong(text.toStdString())), asULong);
}

void TestWireValues::numberTexts()
{
    QCOMPARE(longToString(-42l), std::string("-42"));
    QCOMPARE(longToString(7), std::string("7"));
    QCOMPARE(longToHexString(255, 4), std::string("00FF"));
    QCOMPARE(longToHexString(-1, 2), std::string("FFFFFFFFFFFFFFFF"));
    QCOMPARE(ulongToHexString(0xABCDEFul, 0), std::string("ABCDEF"));
    QCOMPARE(ulongToHexString(0, 3), std::string("000"));
    QCOMPARE(ulongToHexString(1, 40), std::string(39, '0') + "1");
    QCOMPARE(floatToString(1.5f), std::string("1.5"));
    QCOMPARE(floatToString(0.1f), std::string("0.1"));
    QCOMPARE(floatToString(-3.0f), std::string("-3"));
    QCOMPARE(floatToString(1234567.0f), std::string("1.23457e+06"));
    QCOMPARE(floatToString(0.00001f), std::string("1e-05"));
    QCOMPARE(int(fecFromString("P3")), 3);
    QCOMPARE(int(fecFromString("12")), 12);
    QCOMPARE(int(fecFromString("P")), 0);
}

void TestWireValues::duration_data()
{
    QTest::addColumn<qulonglong>("seconds");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("zero") << 0ull << QByteArray("00:00:00");
    QTest::newRow("mixed") << 3725ull << QByteArray("01:02:05");
    QTest::newRow("beyond a day") << 360000ull << QByteArray("100:00:00");
    QTest::newRow("last second of an hour") << 3599ull << QByteArray("00:59:59");
    QTest::newRow("hours wrap at 32 bits") << (4294967296ull * 3600 + 61) << QByteArray("00:01:01");
}

void TestWireValues::duration()
{
    QFETCH(qulonglong, seconds);
    QFETCH(QByteArray, text);
    std::string out = "stale";
    const std::uint64_t value = seconds;
    QCOMPARE(formatDuration(value, out), text.size());
    QCOMPARE(QByteArray::fromStdString(out), text);
}

void TestWireValues::characterSets_data()
{
    QTest::addColumn<QByteArray>("latin1");
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("ascii") << QByteArray("abc") << QByteArray("abc");
    QTest::newRow("e acute") << QByteArray("\xE9") << QByteArray("\xC3\xA9");
    QTest::newRow("nbsp and y diaeresis") << QByteArray("\xA0\xFF") << QByteArray("\xC2\xA0\xC3\xBF");
    QTest::newRow("mixed") << QByteArray("Gr\xFC\xDF") << QByteArray("Gr\xC3\xBC\xC3\x9F");
}

void TestWireValues::characterSets()
{
    QFETCH(QByteArray, latin1);
    QFETCH(QByteArray, utf8);
    QCOMPARE(QByteArray::fromStdString(latin1ToUtf8(latin1.toStdString())), utf8);
    QCOMPARE(QByteArray::fromStdString(utf8ToLatin1(utf8.toStdString())), latin1);
    // Agrees with Qt's own conversion for everything Latin-1 can hold.
    QCOMPARE(QString::fromUtf8(utf8).toLatin1(), latin1);
}

void TestWireValues::utf8BeyondLatin1_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QByteArray>("latin1");
    QTest::newRow("euro sign unchanged") << QByteArray("\xE2\x82\xAC") << QByteArray("\xE2\x82\xAC");
    QTest::newRow("lead byte at the end") << QByteArray("\xC3\xA9\xC3") << QByteArray("\xE9\xC3");
    QTest::newRow("lead byte before ASCII") << QByteArray("\xC3z\xC3\xA9") << QByteArray("\xC3z\xE9");
}

// Only the two-byte forms of U+0080..U+00FF fold; anything else goes through as it came.
void TestWireValues::utf8BeyondLatin1()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QByteArray, latin1);
    QCOMPARE(QByteArray::fromStdString(utf8ToLatin1(utf8.toStdString())), latin1);
}

void TestWireValues::logTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("logged");
    const auto row = [](const char *name, const char16_t *text, const char16_t *logged) {
        QTest::newRow(name) << QString::fromUtf16(text) << QString::fromUtf16(logged);
    };
    row("plain", u"/mnt/usb/show 1", u"/mnt/usb/show 1");
    row("line breaks and a tab", u"a\nb\r\nc\td", u"a\\nb\\r\\nc\\td");
    row("a backslash", u"C:\\n", u"C:\\\\n");
    row("other controls", u"\u0001\u001b[2J\u007f\u0085", u"\\x01\\x1b[2J\\x7f\\x85");
    row("Unicode line breaks", u"a\u2028b\u2029", u"a\\u2028b\\u2029");
    row("letters beyond ASCII", u"R\u00e9gie \u20ac", u"R\u00e9gie \u20ac");
}

// Outside text goes into the log on one line, and reads back one way.
void TestWireValues::logTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, logged);
    QCOMPARE(escapedForLog(text), logged);
}

QTEST_APPLESS_MAIN(TestWireValues)
#include "tst_wirevalues.moc"
