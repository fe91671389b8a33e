#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "tests/msgdescribe.h"

#include <QtTest>

Q_DECLARE_METATYPE(kra::CMsg::MergeMode)
Q_DECLARE_METATYPE(kra::CMsg::RequestType)

namespace {

kra::CMsg parsed(const QByteArray &text, int *result = nullptr)
{
    kra::CMsg msg(7);
    const int r = kra::parseBody(text.toStdString(), msg);
    if (result)
        *result = r;
    return msg;
}

} // namespace

class TestMsgBody : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void roundTrip_data();
    void roundTrip();
    void manyParameters();
    void serializeOrder();
    void serializeRefusesUnknownKind();
    void setParamModes_data();
    void setParamModes();
    void mergeModes_data();
    void mergeModes();
    void mergeIntoItself();
    void requestType_data();
    void requestType();
    void paramLookup();
    void listValues_data();
    void listValues();
    void slashValuesRoundTrip();
};

void TestMsgBody::parse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("record");

    QTest::newRow("first occurrence wins") << QByteArray("PARAM;a:1;a:2;") << 0 << QByteArray("PARAM|a=1");
    QTest::newRow("empty value") << QByteArray("INFO;x:;") << 0 << QByteArray("INFO|x=");
    QTest::newRow("empty GET and LIST names") << QByteArray("DO;GET:;LIST:;") << 0 << QByteArray("DO");
    QTest::newRow("only the first colon splits")
        << QByteArray("PARAM;time:12:30:00;") << 0 << QByteArray("PARAM|time=12:30:00");
    QTest::newRow("leading and repeated separators") << QByteArray(";;EVENT;;k:v;;") << 0 << QByteArray("EVENT|k=v");
    QTest::newRow("name without value") << QByteArray("PARAM;flag;") << 0 << QByteArray("PARAM|flag=flag");
    QTest::newRow("no separator after kind") << QByteArray("PARAM") << -1 << QByteArray("none");
    QTest::newRow("empty text") << QByteArray("") << -1 << QByteArray("none");
    QTest::newRow("unknown kind") << QByteArray("PARAMS;a:1;") << -1 << QByteArray("none");
    QTest::newRow("kind is case-sensitive") << QByteArray("param;a:1;") << -1 << QByteArray("none");
    QTest::newRow("escaped separator and backslash")
        << QByteArray("PARAM;v:a\\;b\\\\c;") << 0 << QByteArray("PARAM|v=a;b\\c");
    QTest::newRow("escape keeps any character") << QByteArray("PARAM;v:\\x\\:y;") << 0 << QByteArray("PARAM|v=x:y");
    QTest::newRow("lone backslash at the end") << QByteArray("PARAM;v:ab\\") << 0 << QByteArray("PARAM|v=ab");
    QTest::newRow("last item without separator") << QByteArray("INFO;a:1;b:2") << 0 << QByteArray("INFO|a=1|b=2");
    QTest::newRow("backslash before an item is skipped")
        << QByteArray("PARAM;a:1;\\b:2;") << 0 << QByteArray("PARAM|a=1|b=2");
    QTest::newRow("colons only are skipped, rest read") << QByteArray("PARAM;:::;a:1;") << 0 << QByteArray("PARAM|a=1");
    QTest::newRow("GET and LIST in order") << QByteArray("PARAM;GET:ip;target:network;GET:mask;LIST:calls;") << 0
                                           << QByteArray("PARAM|target=network|GET ip|GET mask|LIST calls");
    QTest::newRow("GET name holding a colon") << QByteArray("PARAM;GET:a:b;") << 0 << QByteArray("PARAM|GET a:b");
    QTest::newRow("later empty duplicate ignored") << QByteArray("PARAM;a:1;a:;") << 0 << QByteArray("PARAM|a=1");
}

void TestMsgBody::parse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, result);
    QFETCH(QByteArray, record);
    int r = 99;
    const kra::CMsg msg = parsed(text, &r);
    QCOMPARE(r, result);
    QCOMPARE(describe(msg), record);
}

void TestMsgBody::roundTrip_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("separator") << QByteArray("a;b");
    QTest::newRow("backslash") << QByteArray("a\\b");
    QTest::newRow("trailing backslash") << QByteArray("path\\");
    QTest::newRow("colons") << QByteArray("::x:");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("high bytes") << QByteArray("\xC3\xA9\xFF");
}

void TestMsgBody::roundTrip()
{
    QFETCH(QByteArray, value);
    kra::CMsg msg(kra::CMsg::Param);
    msg.setParam("v", value.toStdString());
    msg.setParam("a;b\\c", "name with separators");
    msg.setParam(";starts with a separator", "x");
    msg.setParam("\\starts with a backslash", "y");
    msg.addGet("g;h");
    msg.addList("l\\m");
    std::string text;
    QCOMPARE(kra::serializeBody(msg, text), 0);
    kra::CMsg back;
    QCOMPARE(kra::parseBody(text, back), 0);
    QCOMPARE(describe(back), describe(msg));
}

void TestMsgBody::manyParameters()
{
    // More parameters than fit the parser's inline buffer, arriving out of order and repeated.
    QByteArray text = "INFO;";
    for (int round = 0; round < 2; ++round) {
        for (int i = 99; i >= 0; --i)
            text += "k" + QByteArray::number(i) + ":" + QByteArray::number(i + 1000 * round) + ";";
    }
    kra::CMsg msg(kra::CMsg::Param);
    msg.setParam("stale", "x");
    QCOMPARE(kra::parseBody(text.toStdString(), msg), 0);
    QCOMPARE(msg.params.size(), size_t(100));
    for (int i = 0; i < 100; ++i) {
        const std::string *value = msg.param("k" + std::to_string(i));
        QVERIFY(value);
        QCOMPARE(*value, std::to_string(i));
    }
    // Parsing into a record that held more parameters than the new body leaves none of them behind.
    QCOMPARE(kra::parseBody("EVENT;a:1;", msg), 0);
    QCOMPARE(describe(msg), QByteArray("EVENT|a=1"));
}

void TestMsgBody::serializeOrder()
{
    kra::CMsg msg(kra::CMsg::Param);
    msg.setParam("b", "2");
    msg.setParam("a", "1");
    std::string text;
    QCOMPARE(kra::serializeBody(msg, text), 0);
    QCOMPARE(text, std::string("PARAM;a:1;b:2;"));

    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, "eth.0");
    request.addGet("ip");
    request.addList("routes");
    QCOMPARE(kra::serializeBody(request, text), 0);
    QCOMPARE(text, std::string("PARAM;network:eth.0;target:network;GET:ip;LIST:routes;"));

    kra::CMsg value(kra::CMsg::Event);
    value.setParam("v", "a;b\\");
    QCOMPARE(kra::serializeBody(value, text), 0);
    QCOMPARE(text, std::string("EVENT;v:a\\;b\\\\;"));
}

void TestMsgBody::serializeRefusesUnknownKind()
{
    for (const int kind : {0, 5, -1}) {
        kra::CMsg msg(kind);
        msg.setParam("a", "1");
        std::string text = "untouched";
        QCOMPARE(kra::serializeBody(msg, text), -1);
        QCOMPARE(text, std::string("untouched"));
    }
}

void TestMsgBody::setParamModes_data()
{
    QTest::addColumn<QByteArray>("existing"); // "-" for an absent key
    QTest::addColumn<kra::CMsg::MergeMode>("mode");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("keep, absent") << QByteArray("-") << kra::CMsg::Keep << QByteArray("x");
    QTest::newRow("keep") << QByteArray("a") << kra::CMsg::Keep << QByteArray("a");
    QTest::newRow("overwrite") << QByteArray("a") << kra::CMsg::Overwrite << QByteArray("x");
    QTest::newRow("append, absent") << QByteArray("-") << kra::CMsg::Append << QByteArray("x");
    QTest::newRow("append") << QByteArray("a") << kra::CMsg::Append << QByteArray("a,x");
    QTest::newRow("append overwrites empty") << QByteArray("") << kra::CMsg::Append << QByteArray("x");
}

void TestMsgBody::setParamModes()
{
    QFETCH(QByteArray, existing);
    QFETCH(kra::CMsg::MergeMode, mode);
    QFETCH(QByteArray, expected);
    kra::CMsg msg(kra::CMsg::Param);
    if (existing != "-")
        msg.setParam("k", existing.toStdString());
    msg.setParam("k", "x", mode, ',');
    QCOMPARE(QByteArray::fromStdString(*msg.param("k")), expected);
}

void TestMsgBody::mergeModes_data()
{
    QTest::addColumn<kra::CMsg::MergeMode>("mode");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("keep present keys") << kra::CMsg::Keep << ',' << QByteArray("PARAM|a=1|b=|c=3|d=4");
    QTest::newRow("overwrite") << kra::CMsg::Overwrite << ',' << QByteArray("PARAM|a=x|b=y|c=3|d=4");
    QTest::newRow("append to non-empty") << kra::CMsg::Append << ',' << QByteArray("PARAM|a=1,x|b=y|c=3|d=4");
    QTest::newRow("append with group separator")
        << kra::CMsg::Append << kra::EXT_LIST_SEPARATOR << QByteArray("PARAM|a=1\x1dx|b=y|c=3|d=4");
}

void TestMsgBody::mergeModes()
{
    QFETCH(kra::CMsg::MergeMode, mode);
    QFETCH(char, separator);
    QFETCH(QByteArray, expected);
    kra::CMsg mine = parsed("PARAM;a:1;b:;c:3;");
    const kra::CMsg other = parsed("EVENT;a:x;b:y;d:4;GET:g;LIST:l;");
    mine.merge(other, mode, separator);
    QCOMPARE(describe(mine), expected);
}

void TestMsgBody::mergeIntoItself()
{
    kra::CMsg msg = parsed("PARAM;a:1;b:;");
    msg.merge(msg, kra::CMsg::Append, ',');
    QCOMPARE(describe(msg), QByteArray("PARAM|a=1,1|b="));
}

void TestMsgBody::requestType_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<kra::CMsg::RequestType>("type");
    QTest::newRow("LIST wins") << QByteArray("PARAM;target:x;GET:a;LIST:b;") << kra::CMsg::ListRequest;
    QTest::newRow("GET") << QByteArray("PARAM;target:x;GET:a;") << kra::CMsg::GetRequest;
    QTest::newRow("nothing") << QByteArray("PARAM;") << kra::CMsg::GetRequest;
    QTest::newRow("target") << QByteArray("PARAM;target:audio;gain:3;") << kra::CMsg::AddressedRequest;
    QTest::newRow("cat") << QByteArray("PARAM;cat:x;") << kra::CMsg::AddressedRequest;
    QTest::newRow("setting values") << QByteArray("PARAM;gain:3;") << kra::CMsg::SetRequest;
}

void TestMsgBody::requestType()
{
    QFETCH(QByteArray, text);
    QFETCH(kra::CMsg::RequestType, type);
    QCOMPARE(parsed(text).requestType(), type);
}

void TestMsgBody::paramLookup()
{
    kra::CMsg msg = parsed("PARAM;cause:101-parameter not set;other:101;");
    QVERIFY(msg.param("missing") == nullptr);
    const std::string *empty = msg.param("missing", true);
    QVERIFY(empty && empty->empty());
    QVERIFY(msg.param("missing", true) == empty);
    QCOMPARE(msg.causeCode(), 101);
    QCOMPARE(msg.causeCodeOf("other"), 200);
    QCOMPARE(msg.causeCodeOf("missing"), 200);
    QCOMPARE(parsed("PARAM;").causeCode(), 200);

    kra::CMsg copy;
    copy = msg;
    msg.clear(kra::CMsg::Do);
    QCOMPARE(describe(msg), QByteArray("DO"));
    QVERIFY(copy.param("cause"));
}

void TestMsgBody::listValues_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("empty text") << QByteArray("") << QStringList();
    QTest::newRow("one item") << QByteArray("a") << QStringList {"a"};
    QTest::newRow("trailing empty items") << QByteArray("a,,") << QStringList {"a", "", ""};
    QTest::newRow("leading empty item") << QByteArray(",a") << QStringList {"", "a"};
    QTest::newRow("escaped comma") << QByteArray("a\\,b,c") << QStringList {"a,b", "c"};
    QTest::newRow("escaped backslash") << QByteArray("a\\\\,b") << QStringList {"a\\", "b"};
    QTest::newRow("lone comma") << QByteArray(",") << QStringList {"", ""};
}

void TestMsgBody::listValues()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, items);
    std::vector<std::string> got {"stale"};
    kra::splitListValue(text.toStdString(), got);
    QStringList actual;
    for (const std::string &item : got)
        actual << QString::fromStdString(item);
    QCOMPARE(actual, items);

    // Joining the items again gives a text that splits to the same items.
    std::string joined = "prefix:";
    kra::joinListValue(got, joined);
    std::vector<std::string> again;
    kra::splitListValue(joined.substr(7), again);
    QCOMPARE(again, got);
}

void TestMsgBody::slashValuesRoundTrip()
{
    const std::vector<std::string> items {"a/b", "", "c\\", "d,e"};
    std::string joined;
    kra::joinSlashValue(items, joined);
    QCOMPARE(joined, std::string("a\\/b//c\\\\/d,e"));
    std::vector<std::string> back;
    kra::splitSlashValue(joined, back);
    QCOMPARE(back, items);
}

QTEST_APPLESS_MAIN(TestMsgBody)
#include "tst_msgbody.moc"
