// The settings page's own wire words against the simulated device, written here as the device spells them: each is
// found where the page reads it and where it writes it.

#include "settings/ttimezonelist.h"
#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsKeys : public QObject
{
    Q_OBJECT

private slots:
    void wireKeys_data();
    void wireKeys();
    void functionWords_data();
    void functionWords();
};

namespace {

const std::string dbStore = "db:ui:quorvane_ui";

// Whether one of the frames holds the part ("GET x", "LIST x", "key=value") between its '|'.
bool holds(const QByteArrayList &frames, const QByteArray &part)
{
    return std::any_of(
        frames.cbegin(), frames.cend(), [&part](const QByteArray &frame) { return frame.split('|').contains(part); });
}

// The book with one call profile, id 12, and the coding lists its page reads.
const QByteArray bookSetup = R"(
audio codec=PCMA
book:remote_profile:12 name=Studio A
book:remote_profile:12 network=eth.0
book:remote_profile:12 codec=G722
book:remote_profile:12 remote_addr=5551234
book:local_profile:3 name=Morning
book:sip_profile:4 name=Studio SIP
book:snapshot:9 name=Before show
)";

} // namespace

// The words of the key table; "how" names the page's way to them. A null read or write: the page has none.
void TestSettingsKeys::wireKeys_data()
{
    QTest::addColumn<QByteArray>("how");
    QTest::addColumn<QByteArray>("store"); // the device's store of the word, with its value there
    QTest::addColumn<QByteArray>("read"); // a part of a frame of the read
    QTest::addColumn<QString>("shown"); // what the page then holds or shows
    QTest::addColumn<QString>("change"); // what the user changes ...
    QTest::addColumn<QByteArray>("written"); // ... and the part of the frame that writes it

    const auto row = [](const char *word, const char *how, const char *store, const char *read, const char *shown,
                         const char *change, const char *written) {
        QTest::newRow(word) << QByteArray(how) << QByteArray(store) << QByteArray(read) << QString::fromUtf8(shown)
                            << QString::fromUtf8(change) << QByteArray(written);
    };
    row("autologin", "auto-login", nullptr, nullptr, nullptr, "on", "autologin=on");
    row("timezone", "zone", "db:ui:quorvane_ui timezone=Europe/Rome", "GET timezone", "Europe/Rome", "Europe/Paris",
        "timezone=Europe/Paris");
    row("timezone_region_list", "regions", "general timezone_region_list=[Africa,Europe]", "LIST timezone_region_list",
        "Africa,Europe", nullptr, nullptr);
    // The zone the device's clock runs on when it holds none, and the region that is its own city.
    row("UTC/UTC", "zone", nullptr, "GET timezone", "UTC/UTC", nullptr, nullptr);
    row("UTC", "cities", nullptr, nullptr, "UTC", nullptr, nullptr);
    row("abr_calls", "opus 107", "audio abr_calls=off", "GET abr_calls", "Auto Adapt | Disabled", "flip 107",
        "abr_calls=on");
    row("abr_profile", "opus 108", "audio abr_profile=safe", "GET abr_profile",
        "Adapt Policy | Safe | *Safe, Standard, Punchy", "pick 108 2", "abr_profile=punchy");
    row("abr_minbr", "opus 109", "audio abr_minbr=32000", "GET abr_minbr",
        "Minimum Bit Rate | 32 kbit/s | 12 kbit/s, 24 kbit/s, *32 kbit/s", "pick 109 12000", "abr_minbr=12000");
    row("abr_maxbr", "opus 110", "audio abr_maxbr=128000", "GET abr_maxbr",
        "Maximum Bit Rate | 128 kbit/s | 64 kbit/s, 96 kbit/s, *128 kbit/s", "pick 110 64000", "abr_maxbr=64000");
    row("remote_profile", "call profile", nullptr, "type=remote_profile", "5551234", nullptr, "type=remote_profile");
    // The other lists of the Book: read by their word, a record created with it.
    row("local_profile", "book 171", nullptr, "LIST local_profile", "Morning", "Late", "type=local_profile");
    row("sip_profile", "book 172", nullptr, "LIST sip_profile", "Studio SIP", "Late", "type=sip_profile");
    row("snapshot", "book 173", nullptr, "LIST snapshot", "Before show", "Late", "type=snapshot");
    // The SIP account a SIP profile is made from.
    row("account", "book 172", nullptr, nullptr, nullptr, "Late", "account=2");
    // Read by the Status page and its battery page; "status <row>" shows the row's value.
    row("serialno", "status 295", "general serialno=QX-0042", "GET serialno", "QX-0042", nullptr, nullptr);
    const char *const battery[][3] = {{"battery_manufacturer", "Acme Cells", "Acme Cells"},
        {"battery_model", "LP-4S", "LP-4S"}, {"battery_serial", "B-17", "B-17"}, {"battery_voltage", "12.1", "12.1V"},
        {"battery_current", "0.4", "0.4A"}, {"battery_cycles", "17", "17"}, {"battery_temperature", "31", "31\u00b0C"},
        {"lpc824_version", "1.4", "1.4"}};
    for (int i = 0; i < 8; ++i) {
        const QByteArray how = "status 286 " + QByteArray::number(287 + i);
        const QByteArray store = QByteArray("general ") + battery[i][0] + "=" + battery[i][1];
        const QByteArray read = QByteArray("GET ") + battery[i][0];
        row(battery[i][0], how.constData(), store.constData(), read.constData(), battery[i][2], nullptr, nullptr);
    }
    // The Tools pages; "tools <page> <row>" shows the row's value. The preset NTP servers are written under
    // "ntp_addr" when chosen.
    row("codec_id", "tools 229 234", "general codec_id=codec-42", "GET codec_id", "codec-42", nullptr, nullptr);
    const char *const servers[] = {"pool.ntp.org", "europe.pool.ntp.org", "north-america.pool.ntp.org",
        "asia.pool.ntp.org", "time.cloudflare.com", "time.google.com", "time.windows.com"};
    for (int i = 0; i < 7; ++i) {
        const QByteArray pick = "pick 216 " + QByteArray::number(i + 1);
        const QByteArray written = QByteArray("ntp_addr=") + servers[i];
        row(servers[i], "tools 206 216", "general ntp_addr=ntp.example.org", "GET ntp_addr", "Custom", pick.constData(),
            written.constData());
    }
}

void TestSettingsKeys::wireKeys()
{
    QFETCH(QByteArray, how);
    QFETCH(QByteArray, store);
    QFETCH(QByteArray, read);
    QFETCH(QString, shown);
    QFETCH(QString, change);
    QFETCH(QByteArray, written);
    const QByteArray word = QTest::currentDataTag();

    SettingsRig rig;
    loadCodingSetup(rig.device);
    rig.device.loadSetup(bookSetup);
    rig.device.loadSetup(store);
    QVERIFY(rig.startSettings());
    TTimezoneList zones;
    QString seen;
    if (how == "zone") {
        zones.loadTimezone();
        seen = zones.city();
    } else if (how == "regions") {
        seen = zones.loadRegions().join(QLatin1Char(','));
    } else if (how == "cities") {
        seen = zones.loadCities(QString::fromLatin1(word)).join(QLatin1Char(','));
    } else if (how.startsWith("opus ")) {
        QVERIFY(rig.openPageId(QVexmar::SettingsCoding));
        rig.touch(101);
        QCOMPARE(rig.current()->pageId, 101);
        seen = rig.rowText(how.mid(5).toInt());
    } else if (how == "call profile") {
        QVERIFY(rig.openPageId(QVexmar::SettingsBook));
        rig.touch(170);
        QVexmarMenuItem *profile = rig.row(311);
        rig.touch(profile ? profile
                          : rig.addRow(rig.current(), 311, QVexmarMenuItem::SubMenu, QStringLiteral("Studio A"), 170));
        seen = rig.page()->editedProfile.remoteNumber;
    } else if (how.startsWith("status ")) {
        QVERIFY(rig.openPageId(QVexmar::SettingsStatus));
        const QList<QByteArray> rows = how.mid(7).split(' ');
        if (rows.size() > 1) {
            rig.takeFrames();
            rig.touch(rows.first().toInt());
        }
        const QVexmarMenuItem *shownRow = rig.row(rows.last().toInt());
        QVERIFY(shownRow && shownRow->valueLabel);
        seen = shownRow->valueLabel->text();
    } else if (how.startsWith("tools ")) {
        const QList<QByteArray> ids = how.mid(6).split(' ');
        QVERIFY(rig.openPageId(QVexmar::SettingsTools));
        rig.touch(ids.first().toInt());
        const QVexmarMenuItem *shownRow = rig.row(ids.last().toInt());
        QVERIFY(shownRow && shownRow->valueLabel);
        seen = shownRow->valueLabel->text();
    } else if (how.startsWith("book ")) {
        QVERIFY(rig.openPageId(QVexmar::SettingsBook));
        rig.touch(how.mid(5).toInt());
        QStringList names;
        for (QVexmarMenuItem *item : rig.current()->items()) {
            if (item->id >= QVexmarSettingsPage::firstListRow)
                names << item->titleLabel->text();
        }
        seen = names.join(QLatin1Char(','));
    }
    const QByteArrayList reading = rig.framesAfterRoundTrip();
    if (!read.isNull())
        QVERIFY2(holds(reading, read), reading.join('\n').constData());
    if (!shown.isNull())
        QCOMPARE(seen, shown);
    if (written.isNull())
        return;

    if (how == "auto-login")
        QVERIFY(rig.page()->setAutoLogin(change == QLatin1String("on"), true));
    else if (how == "zone")
        QVERIFY(zones.saveTimezone(change));
    else if (how.startsWith("opus ") || how.startsWith("tools "))
        play(rig, change);
    else if (how == "call profile")
        QVERIFY(rig.page()->saveCallProfile(rig.current()));
    else if (how.startsWith("book ")) {
        rig.touch(174);
        QVERIFY(rig.answer(true, -1, change));
        // A SIP profile asks for its account.
        if (how == "book 172")
            QVERIFY(rig.answer(true, 2));
    }
    const QByteArrayList writing = rig.framesAfterRoundTrip();
    QVERIFY2(holds(writing, written), writing.join('\n').constData());
    // The device keeps the value under the word, where it keeps one.
    const QByteArray key = written.left(written.indexOf('='));
    const QByteArray value = written.mid(written.indexOf('=') + 1);
    const std::string where = how.startsWith("opus ")      ? "audio"
        : how.startsWith("tools ")                         ? "general"
        : how == "call profile" || how.startsWith("book ") ? ""
                                                           : dbStore;
    if (!where.empty())
        QCOMPARE(QByteArray::fromStdString(rig.device.param(where, key.toStdString())), value);
}

// The functions of the GPIO inputs and of the relays as the device names them, by index, both ways.
void TestSettingsKeys::functionWords_data()
{
    QTest::addColumn<bool>("relay");
    QTest::addColumn<int>("function");
    const char *const inputs[] = {"input_event_none", "input_event_r1", "input_event_r2", "input_event_redial",
        "input_event_release", "input_event_redrel", "input_event_redial2", "input_event_release2",
        "input_event_redrel2", "input_event_progsoff", "input_event_coord1on", "input_event_coord2on",
        "input_event_coord3on", "input_event_coord4on"};
    const char *const relays[] = {"relay_state_none", "relay_state_r1", "relay_state_r2", "relay_state_line",
        "relay_state_sync", "relay_state_line2", "relay_state_sync2", "relay_state_onair"};
    for (int i = 0; i < 14; ++i)
        QTest::newRow(inputs[i]) << false << i;
    for (int i = 0; i < 8; ++i)
        QTest::newRow(relays[i]) << true << i;
}

void TestSettingsKeys::functionWords()
{
    QFETCH(bool, relay);
    QFETCH(int, function);
    const std::string word = QTest::currentDataTag();
    using Page = QVexmarSettingsPage;
    QCOMPARE(relay ? Page::relayFunctionKeyword(function) : Page::gpioInputFunctionKeyword(function), word);
    QCOMPARE(relay ? Page::relayFunctionFromKeyword(word) : Page::gpioInputFunctionFromKeyword(word), function);
}

QTEST_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
