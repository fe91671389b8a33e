// What the settings page keeps for its branches, against the simulated device: the enumeration texts and keywords,
// the call profile record, the time zone and the level passwords with the auto-login.

#include "rpc/passwordcipher.h"
#include "settings/tcallprofile.h"
#include "settings/ttimezonelist.h"
#include "tests/settingstesting.h"

#include <algorithm>

using namespace settingstesting;

namespace {

const std::string dbStore = "db:ui:quorvane_ui";
const QByteArray dbKeys = "cat=ui|controller_id=quorvane_ui|";

QString text(const char *name, int value)
{
    using Page = QVexmarSettingsPage;
    const std::pair<const char *, QString (*)(int)> converters[] = {{"networkType", &Page::networkTypeText},
        {"addressMode", &Page::addressModeText}, {"linkMode", &Page::linkModeText},
        {"defaultProtocol", &Page::defaultProtocolText}, {"natType", &Page::natTypeText},
        {"radioAccessTechnology", &Page::radioAccessTechnologyText}, {"dataServiceState", &Page::dataServiceStateText},
        {"networkState", &Page::networkStateText}, {"streamStatus", &Page::streamStatusText},
        {"ptpState", &Page::ptpStateText}, {"syncState", &Page::syncStateText},
        {"gpioInputFunction", &Page::gpioInputFunctionText}, {"relayFunction", &Page::relayFunctionText}};
    for (const auto &[converter, function] : converters) {
        if (qstrcmp(converter, name) == 0)
            return function(value);
    }
    return QStringLiteral("no such converter");
}

} // namespace

class TestSettingsPageStore : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void keywords_data();
    void keywords();
    void listOrder();
    void callProfileValid_data();
    void callProfileValid();
    void callProfileEqual_data();
    void callProfileEqual();
    void storedZone_data();
    void storedZone();
    void regions_data();
    void regions();
    void cities_data();
    void cities();
    void markupCity();
    void chooseCity_data();
    void chooseCity();
    void passwords_data();
    void passwords();
    void loadPasswords_data();
    void loadPasswords();
    void autoLogin_data();
    void autoLogin();
};

// Each table's first row, a row inside, its last row, and values outside on both sides.
void TestSettingsPageStore::texts_data()
{
    QTest::addColumn<QByteArray>("converter");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *converter, int value, const char *shown) {
        QTest::newRow(QByteArray(converter) + " " + QByteArray::number(value))
            << QByteArray(converter) << value << QString::fromUtf8(shown);
    };
    row("networkType", 0, "AoIP");
    row("networkType", 2, "Voice");
    row("networkType", 3, "Unknown");
    row("addressMode", 4, "Unknown");
    row("linkMode", 8, "10BaseT-HD");
    row("linkMode", 9, "Unknown");
    row("defaultProtocol", 0, "SIP");
    row("defaultProtocol", 1, "Direct RTP");
    row("defaultProtocol", 3, "SIP");
    row("natType", 1, "Failure");
    row("natType", 8, "Port Restricted Cone");
    row("natType", 9, "Unknown");
    row("radioAccessTechnology", 4, "Unknown");
    row("dataServiceState", 0, "Disabled");
    row("dataServiceState", 3, "Connection Established");
    row("dataServiceState", 4, "Disabled");
    row("networkState", 0, "Not active");
    row("networkState", 4, "Not active");
    row("streamStatus", 10, "Unknown Status");
    row("ptpState", 10, "Unknown State");
    row("syncState", 0, "Unknown State");
    row("syncState", 3, "Locked");
    row("syncState", 4, "Unknown State");
    row("gpioInputFunction", 0, "Disabled");
    row("gpioInputFunction", 5, "Redial/Release Codec 1");
    row("gpioInputFunction", 14, "Disabled");
    row("relayFunction", 7, "On Air Status");
    row("relayFunction", 8, "Disabled");
}

void TestSettingsPageStore::texts()
{
    QFETCH(QByteArray, converter);
    QFETCH(int, value);
    QFETCH(QString, shown);
    QCOMPARE(text(converter.constData(), value), shown);
}

void TestSettingsPageStore::keywords_data()
{
    QTest::addColumn<bool>("relay");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("keyword");
    QTest::addColumn<int>("indexOfKeyword");
    QTest::newRow("gpio 0") << false << 0 << QByteArray("input_event_none") << 0;
    QTest::newRow("gpio 9") << false << 9 << QByteArray("input_event_progsoff") << 9;
    QTest::newRow("gpio 13") << false << 13 << QByteArray("input_event_coord4on") << 13;
    QTest::newRow("gpio 14") << false << 14 << QByteArray("input_event_none") << 0;
    QTest::newRow("gpio -1") << false << -1 << QByteArray("input_event_none") << 0;
    QTest::newRow("relay 7") << true << 7 << QByteArray("relay_state_onair") << 7;
    QTest::newRow("relay 8") << true << 8 << QByteArray("relay_state_none") << 0;
    QTest::newRow("relay 3") << true << 3 << QByteArray("relay_state_line") << 3;
}

void TestSettingsPageStore::keywords()
{
    QFETCH(bool, relay);
    QFETCH(int, index);
    QFETCH(QByteArray, keyword);
    QFETCH(int, indexOfKeyword);
    const std::string &word = relay ? QVexmarSettingsPage::relayFunctionKeyword(index)
                                    : QVexmarSettingsPage::gpioInputFunctionKeyword(index);
    QCOMPARE(QByteArray::fromStdString(word), keyword);
    const auto from
        = relay ? &QVexmarSettingsPage::relayFunctionFromKeyword : &QVexmarSettingsPage::gpioInputFunctionFromKeyword;
    QCOMPARE(from(keyword.toStdString()), indexOfKeyword);
    // Keywords are compared exactly: another case or a blank is unknown.
    QCOMPARE(from(keyword.toUpper().toStdString()), 0);
    QCOMPARE(from(keyword.toStdString() + " "), 0);
}

void TestSettingsPageStore::listOrder()
{
    QStringList names {QStringLiteral("beta"), QStringLiteral("Alpha"), QStringLiteral("studio"),
        QStringLiteral("alpha"), QStringLiteral("Beta"), QStringLiteral("ALPHA")};
    std::stable_sort(names.begin(), names.end(), &QVexmarSettingsPage::listNameLessThan);
    QCOMPARE(names.join(QLatin1Char(' ')), QStringLiteral("Alpha alpha ALPHA beta Beta studio"));
}

void TestSettingsPageStore::callProfileValid_data()
{
    QTest::addColumn<int>("network");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<QString>("number");
    QTest::addColumn<bool>("valid");
    QTest::newRow("number, no algorithm") << 0x100 << QStringLiteral("Studio") << -1 << QStringLiteral("301") << true;
    QTest::newRow("algorithm, no number") << 0x300 << QStringLiteral("Studio") << 3 << QString() << true;
    QTest::newRow("AoIP network") << 0 << QStringLiteral("Studio") << 3 << QString() << true;
    QTest::newRow("no name") << 0x100 << QString() << 3 << QStringLiteral("301") << false;
    QTest::newRow("neither algorithm nor number") << 0x100 << QStringLiteral("Studio") << -1 << QString() << false;
    QTest::newRow("no such network type") << 0x500 << QStringLiteral("Studio") << 3 << QStringLiteral("301") << false;
    QTest::newRow("no network") << 0xFFFF << QStringLiteral("Studio") << 3 << QStringLiteral("301") << false;
}

void TestSettingsPageStore::callProfileValid()
{
    QFETCH(int, network);
    QFETCH(QString, name);
    QFETCH(int, algorithm);
    QFETCH(QString, number);
    QFETCH(bool, valid);
    TCallProfile profile;
    QVERIFY(!profile.isValid());
    profile.networkCode = network;
    profile.name = name;
    profile.coding.algorithm = algorithm;
    profile.remoteNumber = number;
    QCOMPARE(profile.isValid(), valid);
    profile.clear();
    QCOMPARE(profile.networkCode, 0x100);
    QCOMPARE(profile.coding.algorithm, -1);
    QCOMPARE(profile.coding.channelMode, 0);
    QCOMPARE(int(profile.coding.fec), -1);
    QVERIFY(profile.name.isEmpty() && profile.remoteNumber.isEmpty() && profile.remoteNumber2.isEmpty());
}

// Equal when what the user edits is: network, name, both numbers and the five coding fields.
void TestSettingsPageStore::callProfileEqual_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("equal");
    QTest::newRow("state") << QByteArray("state") << true;
    QTest::newRow("entry id") << QByteArray("entryId") << true;
    QTest::newRow("context") << QByteArray("context") << true;
    QTest::newRow("codec mode") << QByteArray("codecMode") << true;
    QTest::newRow("network") << QByteArray("networkCode") << false;
    QTest::newRow("name") << QByteArray("name") << false;
    QTest::newRow("remote number") << QByteArray("remoteNumber") << false;
    QTest::newRow("second remote number") << QByteArray("remoteNumber2") << false;
    QTest::newRow("sample rate") << QByteArray("sampleRate") << false;
    QTest::newRow("fec") << QByteArray("fec") << false;
}

void TestSettingsPageStore::callProfileEqual()
{
    QFETCH(QByteArray, field);
    QFETCH(bool, equal);
    TCallProfile a;
    a.name = QStringLiteral("Studio");
    a.coding.algorithm = 3;
    a.coding.sampleRate = 16000;
    TCallProfile b(a);
    QVERIFY(a == b);
    const QHash<QByteArray, std::function<void()>> change {{"state", [&] { b.state = 0; }},
        {"entryId", [&] { b.entryId = 302; }}, {"context", [&] { b.context = 26; }},
        {"codecMode", [&] { b.codecMode = 1; }}, {"networkCode", [&] { b.networkCode = 0x300; }},
        {"name", [&] { b.name = QStringLiteral("studio"); }}, {"remoteNumber", [&] { b.remoteNumber = "1"; }},
        {"remoteNumber2", [&] { b.remoteNumber2 = "2"; }}, {"sampleRate", [&] { b.coding.sampleRate = 48000; }},
        {"fec", [&] { b.coding.fec = 0; }}};
    change.value(field)();
    QCOMPARE(a == b, equal);
    a = b;
    QVERIFY(a == b);
}

// The zone chosen last, from the screen's store.
void TestSettingsPageStore::storedZone_data()
{
    QTest::addColumn<QByteArray>("stored"); // "unset", "fail" or the value's bytes
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("city");
    QTest::newRow("Paris") << QByteArray("Europe/Paris") << QStringLiteral("Europe") << QStringLiteral("Europe/Paris");
    QTest::newRow("UTC") << QByteArray("UTC") << QStringLiteral("UTC") << QStringLiteral("UTC");
    QTest::newRow("non-ASCII city") << QByteArray("America/S\xc3\xa3o_Paulo") << QStringLiteral("America")
                                    << QString::fromUtf8("America/S\xc3\xa3o_Paulo");
    QTest::newRow("unset") << QByteArray("unset") << QStringLiteral("UTC") << QStringLiteral("UTC/UTC");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("UTC") << QStringLiteral("UTC/UTC");
    QTest::newRow("read failed") << QByteArray("fail") << QStringLiteral("UTC") << QStringLiteral("UTC/UTC");
}

void TestSettingsPageStore::storedZone()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, region);
    QFETCH(QString, city);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (stored == "fail")
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 5));
    else if (stored != "unset")
        rig.device.setParam(dbStore, "timezone", stored.toStdString());
    TTimezoneList zones;
    zones.loadTimezone();
    QCOMPARE(zones.region(), region);
    QCOMPARE(zones.city(), city);
    QCOMPARE(rig.takeFrames(), QByteArrayList {"PARAM|" + dbKeys + "target=db|type=quorvane_ui|GET timezone"});
}

void TestSettingsPageStore::regions_data()
{
    QTest::addColumn<QByteArrayList>("replies"); // scripted reply bodies; none: the device's list
    QTest::addColumn<QStringList>("regions");
    const QStringList three {QStringLiteral("Africa"), QStringLiteral("America"), QString::fromUtf8("\xc3\x89urope")};
    QTest::newRow("listed") << QByteArrayList() << three;
    QTest::newRow("beside error-coded values")
        << QByteArrayList {"PARAM;timezone_region_list:Africa,America,\xc3\x89urope;x:101-parameter not set;return:OK;"}
        << three;
    // A value with an error code beside the list: the service answers PROGRESS and keeps that value apart.
    QTest::newRow("PROGRESS beside an error-coded value") << QByteArrayList {
        "PARAM;timezone_region_list:Africa,America,\xc3\x89urope;x:103-parameter set error;"
        "return:OK;"} << three;
    QTest::newRow("refused") << QByteArrayList {"PARAM;return:ERROR;cause:103-parameter set error;"} << QStringList();
    QTest::newRow("no value") << QByteArrayList {"PARAM;return:OK;"} << QStringList();
}

void TestSettingsPageStore::regions()
{
    QFETCH(QByteArrayList, replies);
    QFETCH(QStringList, regions);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.device.setList("general", "timezone_region_list", {"Africa", "America", "\xc3\x89urope"});
    if (!replies.isEmpty())
        rig.device.addFault(rpctesting::script(replies));
    TTimezoneList zones;
    QCOMPARE(zones.loadRegions(), regions);
    // The list's name travels as a plain pair; the device reads it as the list asked for.
    QCOMPARE(rig.takeFrames(), QByteArrayList {"PARAM|target=general|LIST timezone_region_list"});
}

// A region's cities; a name goes back to the device byte for byte as it came.
void TestSettingsPageStore::cities_data()
{
    QTest::addColumn<QString>("region");
    QTest::addColumn<QByteArray>("failure"); // "nok", "empty" or none
    QTest::addColumn<QStringList>("cities");
    QTest::addColumn<QByteArrayList>("frames");
    const auto asked = [](const char *region) {
        return QByteArrayList {
            QByteArray("PARAM|target=general|timezone_param=") + region + "|LIST timezone_city_list"};
    };
    QTest::newRow("Europe") << QStringLiteral("Europe") << QByteArray()
                            << QStringList {QStringLiteral("Europe/Paris"), QStringLiteral("Europe/Berlin")}
                            << asked("Europe");
    QTest::newRow("non-ASCII region") << QString::fromUtf8("Am\xc3\xa9rique") << QByteArray()
                                      << QStringList {QString::fromUtf8("Am\xc3\xa9rique/S\xc3\xa3o_Paulo")}
                                      << asked("Am\xc3\xa9rique");
    QTest::newRow("UTC, asked of nobody")
        << QStringLiteral("UTC") << QByteArray() << QStringList {QStringLiteral("UTC")} << QByteArrayList();
    QTest::newRow("refused") << QStringLiteral("Europe") << QByteArray("nok") << QStringList() << asked("Europe");
    QTest::newRow("unknown region") << QStringLiteral("Atlantis") << QByteArray() << QStringList() << asked("Atlantis");
}

void TestSettingsPageStore::cities()
{
    QFETCH(QString, region);
    QFETCH(QByteArray, failure);
    QFETCH(QStringList, cities);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.device.setListFor(
        "general", "timezone_city_list", {{"timezone_param", "Europe"}}, {"Europe/Paris", "Europe/Berlin"});
    rig.device.setListFor(
        "general", "timezone_city_list", {{"timezone_param", "Am\xc3\xa9rique"}}, {"Am\xc3\xa9rique/S\xc3\xa3o_Paulo"});
    if (failure == "nok")
        rig.device.addFault(fault(SimDevice::Fault::Nok));
    TTimezoneList zones;
    QCOMPARE(zones.loadCities(region), cities);
    QCOMPARE(rig.takeFrames(), frames);
    QCOMPARE(zones.list(), cities);
}

// A city named with markup by the device shows as it was sent, in its row and in the row's choice.
void TestSettingsPageStore::markupCity()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.device.setParam(dbStore, "timezone", "Europe/<b>x</b>");
    rig.device.setListFor("general", "timezone_city_list", {{"timezone_param", "Europe"}}, {"Europe/<b>x</b>"});
    TTimezoneList zones;
    zones.loadTimezone();
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    QVexmarMenuItem *row = rig.addRow(rig.pushPage(206), 219, QVexmarMenuItem::Selection, QStringLiteral("City"));
    for (const QString &city : zones.loadCities(zones.region()))
        row->addOption(0, city);
    QVERIFY(rig.page()->showHeldOption(row, 0, zones.city()));
    QCOMPARE(rig.rowText(219), QStringLiteral("City | Europe/<b>x</b> | *Europe/<b>x</b>"));
    QCOMPARE(row->valueLabel->textFormat(), Qt::PlainText);
    rig.touch(row);
    auto *selection = qobject_cast<QVexmarMenuSelect *>(rig.popup());
    QVERIFY(selection);
    const QList<QVexmarMenuSelectable *> lines = selection->findChildren<QVexmarMenuSelectable *>();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.first()->label->text(), QStringLiteral("Europe/<b>x</b>"));
    QCOMPARE(lines.first()->label->textFormat(), Qt::PlainText);
    QVERIFY(rig.answer(false));
}

// A city chosen: the device's clock first, then the store; a refusal stores nothing and keeps the city.
void TestSettingsPageStore::chooseCity_data()
{
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QByteArrayList>("frames");
    const auto frames = [](const QByteArray &zone, bool stored) {
        QByteArrayList sent {"DO|action=set_timezone|timezone_param=" + zone};
        if (stored)
            sent << "PARAM|" + dbKeys + "target=db|timezone=" + zone + "|type=quorvane_ui";
        return sent;
    };
    QTest::newRow("Paris") << QByteArray("Europe/Paris") << false << true << frames("Europe/Paris", true);
    QTest::newRow("non-ASCII city") << QByteArray("America/S\xc3\xa3o_Paulo") << false << true
                                    << frames("America/S\xc3\xa3o_Paulo", true);
    QTest::newRow("refused by the device")
        << QByteArray("Europe/Paris") << true << false << frames("Europe/Paris", false);
}

void TestSettingsPageStore::chooseCity()
{
    QFETCH(QByteArray, zone);
    QFETCH(bool, refused);
    QFETCH(bool, chosen);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.device.setParam(dbStore, "timezone", "UTC/UTC");
    if (refused)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "set_timezone"));
    TTimezoneList zones;
    zones.loadTimezone();
    rig.takeFrames();
    const QString city = QString::fromUtf8(zone);
    QCOMPARE(zones.chooseCity(city), chosen);
    QCOMPARE(rig.takeFrames(), frames);
    QCOMPARE(zones.city(), chosen ? city : QStringLiteral("UTC/UTC"));
    QCOMPARE(QByteArray::fromStdString(rig.device.param(dbStore, "timezone")), chosen ? zone : QByteArray("UTC/UTC"));
    if (chosen)
        QCOMPARE(QByteArray::fromStdString(rig.device.param("general", "timezone")), zone);
    // What was stored reads back as it was chosen.
    zones.loadTimezone();
    QCOMPARE(zones.city(), chosen ? city : QStringLiteral("UTC/UTC"));
}

// A level's password set by the user: sent enciphered, stored only when the device took it.
void TestSettingsPageStore::passwords_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("sent");
    QTest::newRow("administrator, new") << 2 << QStringLiteral("s3cret") << false << true << true;
    QTest::newRow("expert, Latin-1 text") << 1 << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << false << true << true;
    QTest::newRow("operator, emptied") << 0 << QString() << false << true << true;
    QTest::newRow("expert, unchanged") << 1 << QStringLiteral("expert") << false << true << false;
    QTest::newRow("administrator, refused") << 2 << QStringLiteral("s3cret") << true << false << true;
    QTest::newRow("operator, outside Latin-1") << 0 << QString::fromUtf8("\xc5\x82") << false << false << false;
}

void TestSettingsPageStore::passwords()
{
    QFETCH(int, level);
    QFETCH(QString, password);
    QFETCH(bool, refused);
    QFETCH(bool, result);
    QFETCH(bool, sent);
    SettingsRig rig;
    rig.device.setAccessPasswords("admin", "expert", "user");
    QVERIFY(rig.startSettings());
    QVexmarSettingsPage *page = rig.page();
    QCOMPARE(page->accessPassword(level),
        level == 2       ? QStringLiteral("admin")
            : level == 1 ? QStringLiteral("expert")
                         : QStringLiteral("user"));
    const QString before = page->accessPassword(level);
    const char *keys[] = {"password_ol", "password_el", "password_al"};
    const std::string key = keys[level];
    const std::string storedBefore = rig.device.param(dbStore, key);
    if (refused)
        rig.device.refuseKey(key, "103-parameter set error");
    const bool done = level == 2 ? page->setAdministratorPassword(password, true)
        : level == 1             ? page->setExpertPassword(password, true)
                                 : page->setOperatorPassword(password, true);
    QCOMPARE(done, result);
    QCOMPARE(page->accessPassword(level), result ? password : before);
    const QByteArrayList frames = rig.takeFrames();
    QCOMPARE(frames.size(), sent ? 1 : 0);
    if (!sent)
        return;
    const std::string stored = rig.device.param(dbStore, key);
    if (refused) {
        QCOMPARE(stored, storedBefore);
        return;
    }
    QCOMPARE(frames.first(),
        "PARAM|" + dbKeys + QByteArray::fromStdString(key) + "=" + QByteArray::fromStdString(stored)
            + "|target=db|type=quorvane_ui");
    // Empty stays empty; anything else is cipher text of the Latin-1 bytes.
    const QByteArray latin1 = password.toLatin1();
    QCOMPARE(stored.empty(), password.isEmpty());
    if (!password.isEmpty()) {
        QVERIFY(stored != latin1.toStdString());
        QCOMPARE(QByteArray::fromStdString(decryptPasswordString(stored)), latin1);
    }
}

void TestSettingsPageStore::loadPasswords_data()
{
    QTest::addColumn<QByteArrayList>("replies"); // scripted; none: the device's store
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("copies"); // administrator, expert, operator
    const QByteArray admin = QByteArray::fromStdString(encryptPasswordString("new admin"));
    QTest::newRow("stored") << QByteArrayList() << true << QStringLiteral("admin|expert|");
    QTest::newRow("reply without the expert's")
        << QByteArrayList {"PARAM;password_al:" + admin + ";password_ol:plain;return:OK;"} << true
        << QStringLiteral("new admin||plain");
    QTest::newRow("refused") << QByteArrayList {"PARAM;return:ERROR;cause:104-unknown destination;"} << false
                             << QStringLiteral("old|old|old");
    QTest::newRow("no answer") << QByteArrayList {"error"} << false << QStringLiteral("old|old|old");
}

void TestSettingsPageStore::loadPasswords()
{
    QFETCH(QByteArrayList, replies);
    QFETCH(bool, result);
    QFETCH(QString, copies);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVexmarSettingsPage *page = rig.page();
    QVERIFY(page->setAdministratorPassword(QStringLiteral("old"), false));
    QVERIFY(page->setExpertPassword(QStringLiteral("old"), false));
    QVERIFY(page->setOperatorPassword(QStringLiteral("old"), false));
    rig.device.setAccessPasswords("admin", "expert", "");
    if (replies == QByteArrayList {"error"})
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 3));
    else if (!replies.isEmpty())
        rig.device.addFault(rpctesting::script(replies));
    QCOMPARE(page->loadAccessPasswords(0), result);
    QCOMPARE(page->accessPassword(2) + QLatin1Char('|') + page->accessPassword(1) + QLatin1Char('|')
            + page->accessPassword(0),
        copies);
    QCOMPARE(rig.takeFrames(),
        QByteArrayList {
            "PARAM|" + dbKeys + "target=db|type=quorvane_ui|GET password_al|GET password_el|GET password_ol"});
}

void TestSettingsPageStore::autoLogin_data()
{
    QTest::addColumn<bool>("on");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::newRow("on") << true << false << true
                        << QByteArrayList {"PARAM|autologin=on|" + dbKeys + "target=db|type=quorvane_ui"};
    QTest::newRow("unchanged") << false << false << true << QByteArrayList();
    QTest::newRow("on, refused") << true << true << false
                                 << QByteArrayList {"PARAM|autologin=on|" + dbKeys + "target=db|type=quorvane_ui"};
}

void TestSettingsPageStore::autoLogin()
{
    QFETCH(bool, on);
    QFETCH(bool, refused);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (refused)
        rig.device.refuseKey("autologin", "103-parameter set error");
    QCOMPARE(rig.page()->setAutoLogin(on, true), result);
    QCOMPARE(rig.page()->autoLogin(), result && on);
    QCOMPARE(rig.takeFrames(), frames);
}

QTEST_MAIN(TestSettingsPageStore)
#include "tst_settingspagestore.moc"
