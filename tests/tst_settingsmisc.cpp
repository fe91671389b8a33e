// The Miscellaneous and FTP server pages against the simulated device: the rows as read, each edit's write, the
// refusals that put a row back, and the time zone chosen by region and city.

#include "settings/ttimezonelist.h"
#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsMisc : public QObject
{
    Q_OBJECT

private slots:
    void build_data();
    void build();
    void sends_data();
    void sends();
    void timezone_data();
    void timezone();
    void longTimezoneLists_data();
    void longTimezoneLists();
    void ftp_data();
    void ftp();
};

namespace {

const QByteArray miscSetup = R"(
network auto_redial_link1=on
network auto_redial_link2=off
network auto_redial_attempts=3
network auto_redial_time=10
general ext_input1=input_event_redial
general ext_input2=input_event_none
general ext_relay1=relay_state_onair
general ext_relay2=relay_state_line
general ext_input1=[input_event_none,input_event_redial,input_event_release]
general ext_input2=[input_event_none,input_event_r1]
general ext_relay1=[relay_state_none,relay_state_onair]
general ext_relay2=[relay_state_none,relay_state_line]
general ntp_addr=pool.ntp.org
general ntp_addr_custom=ntp.example.org
general timezone_region_list=[Africa,Europe]
db:ui:quorvane_ui timezone=Europe/Paris
general ftp_address=ftp.example.org
general ftp_username=codec
)";

// The lines of the set-up (a line "-<store> <key>" unsets); a line "fail <name>" breaks the request that asks for it.
void prepare(SimDevice &device, const QByteArrayList &changes)
{
    device.loadSetup(miscSetup);
    device.setListFor(
        "general", "timezone_city_list", {{"timezone_param", "Europe"}}, {"Europe/Paris", "Europe/Berlin"});
    device.setListFor("general", "timezone_city_list", {{"timezone_param", "Africa"}}, {"Africa/Abidjan"});
    for (const QByteArray &change : changes) {
        const QList<QByteArray> words = change.split(' ');
        if (words.first() == "fail")
            device.addFault(fault(SimDevice::Fault::ErrorReply, 5, words.at(1).toStdString()));
        else if (change.startsWith('-'))
            device.unsetParam(words.first().mid(1).toStdString(), words.at(1).toStdString());
        else
            device.loadSetup(change);
    }
}

// The row as shown, " L" when locked.
QString shown(SettingsRig &rig, int id)
{
    QVexmarMenuItem *row = rig.row(id);
    QString text = SettingsRig::rowText(row);
    // The wheels' and the NTP server's options are fixed: the value says which one is current.
    if (row && (row->kind() == QVexmarMenuItem::Wheel || id == 216))
        text = text.section(QStringLiteral(" | "), 0, 1);
    return text + (row && row->isLocked() ? QStringLiteral(" L") : QString());
}

// Every option of the time-zone rows has the value 0: the user picks by the text.
void chooseText(SettingsRig &rig, int id, const QString &text)
{
    rig.touch(id);
    auto *selection = qobject_cast<QVexmarMenuSelect *>(rig.popup());
    QVERIFY(selection);
    for (QVexmarMenuSelectable *line : selection->findChildren<QVexmarMenuSelectable *>()) {
        if (line->label->text() == text)
            QTest::mouseClick(line->switchButton, Qt::LeftButton);
    }
    QTest::mouseClick(selection->okButton, Qt::LeftButton);
}

bool openMisc(SettingsRig &rig, int level = 1)
{
    if (!rig.startSettings(level) || !rig.openPageId(QVexmar::SettingsTools))
        return false;
    rig.touch(206);
    return rig.pages() == QStringLiteral("5 206");
}

} // namespace

void TestSettingsMisc::build_data()
{
    QTest::addColumn<QByteArrayList>("changes");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const QByteArrayList &changes, int id, const char *text) {
        QTest::newRow(name) << changes << id << QString::fromUtf8(text);
    };
    row("input as read", {}, 208, "Input 1 | Redial Codec 1 | Disabled, *Redial Codec 1, Release Codec 1");
    row("relay as read", {}, 210, "Relay 1 | On Air Status | Disabled, *On Air Status");
    row("switch on", {}, 212, "Auto Redial Codec 1 | Active");
    row("switch off", {}, 213, "Auto Redial Codec 2 | Disabled");
    row("\"ON\" is off", {"network auto_redial_link1=ON"}, 212, "Auto Redial Codec 1 | Disabled");
    row("attempts", {}, 214, "Number of Attempts | 3");
    row("attempts 0: infinite", {"network auto_redial_attempts=0"}, 214, "Number of Attempts | Infinite");
    row("attempts 25: the first", {"network auto_redial_attempts=25"}, 214, "Number of Attempts | 1");
    row("attempts not a number: infinite", {"network auto_redial_attempts=x"}, 214, "Number of Attempts | Infinite");
    QStringList attempts;
    for (int i = 1; i <= 20; ++i)
        attempts << (i == 20 ? QStringLiteral("*20") : QString::number(i));
    QTest::newRow("attempts: the whole wheel, Infinite last")
        << QByteArrayList {"network auto_redial_attempts=20"} << 214
        << QStringLiteral("Number of Attempts | 20 | ") + attempts.join(QStringLiteral(", "))
            + QStringLiteral(", Infinite");
    row("time", {}, 215, "Time Before Redialing | 10 seconds");
    row("a preset NTP server", {}, 216, "NTP Server | pool.ntp.org");
    row("another NTP server: custom", {"general ntp_addr=ntp.example.org"}, 216, "NTP Server | Custom");
    row("custom server", {}, 217, "Custom Server | ntp.example.org");
    // Values that did not come: defaults, locked.
    row("redial unread: switch", {"fail auto_redial_link1"}, 212, "Auto Redial Codec 1 | Disabled L");
    row("redial unread: attempts", {"fail auto_redial_link1"}, 214, "Number of Attempts | 1 L");
    row("redial unread: time", {"fail auto_redial_link1"}, 215, "Time Before Redialing | 1 second L");
    row("general unread: input", {"fail ntp_addr"}, 208,
        "Input 1 | Disabled | *Disabled, Redial Codec 1, Release Codec 1 L");
    row("general unread: NTP", {"fail ntp_addr"}, 216, "NTP Server | Custom L");
    row("general unread: custom", {"fail ntp_addr"}, 217, "Custom Server |  L");
    // Values not set on the device: defaults, editable.
    row("not set: input", {"-general ext_input1"}, 208,
        "Input 1 | Disabled | *Disabled, Redial Codec 1, Release Codec 1");
    row("not set: attempts", {"-network auto_redial_attempts"}, 214, "Number of Attempts | Infinite");
    row("not set: time", {"-network auto_redial_time"}, 215, "Time Before Redialing | 1 second");
    row("not set: NTP", {"-general ntp_addr"}, 216, "NTP Server | Custom");
    row("relay reported without a list", {"general ext_relay2=[]"}, 211, "Relay 2 | ");
    row("unknown keyword",
        {"general ext_input2=[input_event_none,input_event_beep]", "general ext_input2=input_event_beep"}, 209,
        "Input 2 | Disabled | *Disabled, Disabled");
    QByteArrayList many;
    QStringList shownMany;
    for (int i = 0; i < 100; ++i) {
        many << "input_event_r1";
        if (i < 64)
            shownMany << QStringLiteral("Contact 1");
    }
    shownMany.first().prepend(QLatin1Char('*'));
    QTest::newRow("a list longer than any input has")
        << QByteArrayList {"general ext_input2=[" + many.join(',') + "]", "general ext_input2=input_event_r1"} << 209
        << QStringLiteral("Input 2 | Contact 1 | ") + shownMany.join(QStringLiteral(", "));
    row("region: its text, none current", {}, 218, "Region | Europe | Africa, Europe");
    row("city: its text, none current", {}, 219, "City | Europe/Paris | Europe/Paris, Europe/Berlin");
}

void TestSettingsMisc::build()
{
    QFETCH(QByteArrayList, changes);
    QFETCH(int, row);
    QFETCH(QString, text);
    SettingsRig rig;
    prepare(rig.device, changes);
    QVERIFY(openMisc(rig));
    // A wheel's options are compared where the case lists them.
    const bool wholeWheel = rig.row(row)->kind() == QVexmarMenuItem::Wheel && text.count(QStringLiteral(" | ")) > 1;
    QCOMPARE(wholeWheel ? rig.rowText(row) : shown(rig, row), text);
    QCOMPARE(rig.popupText(), QString());
}

// Each edit is one PARAM of its own; a refusal, or a text outside Latin-1, puts the row back.
void TestSettingsMisc::sends_data()
{
    QTest::addColumn<QByteArrayList>("changes");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("edit"); // a selection's or wheel's value, a text, or "toggle"
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("text");
    const auto row = [](const char *name, const QByteArrayList &changes, int id, const QString &edit,
                         const QByteArray &refused, const QByteArrayList &frames, const char *text) {
        QTest::newRow(name) << changes << id << edit << refused << frames << QString::fromUtf8(text);
    };
    row("input", {}, 208, "4", {}, {"PARAM|ext_input1=input_event_release|target=general"},
        "Input 1 | Release Codec 1 | Disabled, Redial Codec 1, *Release Codec 1");
    row("input 2", {}, 209, "1", {}, {"PARAM|ext_input2=input_event_r1|target=general"},
        "Input 2 | Contact 1 | Disabled, *Contact 1");
    row("relay", {}, 210, "0", {}, {"PARAM|ext_relay1=relay_state_none|target=general"},
        "Relay 1 | Disabled | *Disabled, On Air Status");
    row("relay 2", {}, 211, "0", {}, {"PARAM|ext_relay2=relay_state_none|target=general"},
        "Relay 2 | Disabled | *Disabled, Line Status Codec 1");
    row("switch", {}, 212, "toggle", {}, {"PARAM|auto_redial_link1=off|target=network"},
        "Auto Redial Codec 1 | Disabled");
    row("switch 2", {}, 213, "toggle", {}, {"PARAM|auto_redial_link2=on|target=network"},
        "Auto Redial Codec 2 | Active");
    row("attempts infinite", {}, 214, "0", {}, {"PARAM|auto_redial_attempts=0|target=network"},
        "Number of Attempts | Infinite");
    row("time", {}, 215, "30", {}, {"PARAM|auto_redial_time=30|target=network"}, "Time Before Redialing | 30 seconds");
    row("a preset server", {}, 216, "5", {}, {"PARAM|ntp_addr=time.cloudflare.com|target=general"},
        "NTP Server | time.cloudflare.com");
    row("custom with an empty custom server", {"general ntp_addr_custom="}, 216, "0", {},
        {"PARAM|ntp_addr=|target=general"}, "NTP Server | Custom");
    row("custom server while a preset is chosen", {}, 217, "my.ntp", {},
        {"PARAM|ntp_addr_custom=my.ntp|target=general"}, "Custom Server | my.ntp");
    row("custom server while custom is chosen", {"general ntp_addr=other"}, 217, "my.ntp", {},
        {"PARAM|ntp_addr=my.ntp|ntp_addr_custom=my.ntp|target=general"}, "Custom Server | my.ntp");
    row("the same text", {}, 217, "ntp.example.org", {}, {}, "Custom Server | ntp.example.org");
    row("input refused", {}, 208, "4", "ext_input1", {"PARAM|ext_input1=input_event_release|target=general"},
        "Input 1 | Redial Codec 1 | Disabled, *Redial Codec 1, Release Codec 1");
    row("switch refused", {}, 212, "toggle", "auto_redial_link1", {"PARAM|auto_redial_link1=off|target=network"},
        "Auto Redial Codec 1 | Active");
    row("attempts refused", {}, 214, "0", "auto_redial_attempts", {"PARAM|auto_redial_attempts=0|target=network"},
        "Number of Attempts | 3");
    row("custom server refused", {}, 217, "my.ntp", "ntp_addr_custom", {"PARAM|ntp_addr_custom=my.ntp|target=general"},
        "Custom Server | ntp.example.org");
    // Half of the edit refused: the row reads back what the device kept.
    const QByteArray both = "PARAM|ntp_addr=my.ntp|ntp_addr_custom=my.ntp|target=general";
    const QByteArray readBack = "PARAM|target=general|GET ntp_addr_custom";
    row("custom server kept, server refused", {"general ntp_addr=other"}, 217, "my.ntp", "ntp_addr", {both, readBack},
        "Custom Server | my.ntp");
    row("server kept, custom server refused", {"general ntp_addr=other"}, 217, "my.ntp", "ntp_addr_custom",
        {both, readBack}, "Custom Server | ntp.example.org");
    row("custom server outside Latin-1", {}, 217, QString::fromUtf8("\xc5\x82.ntp"), {}, {},
        "Custom Server | ntp.example.org");
}

void TestSettingsMisc::sends()
{
    QFETCH(QByteArrayList, changes);
    QFETCH(int, row);
    QFETCH(QString, edit);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, text);
    SettingsRig rig;
    prepare(rig.device, changes);
    QVERIFY(openMisc(rig));
    if (!refused.isEmpty())
        rig.device.refuseKey(refused.toStdString(), "103-parameter set error");
    rig.takeFrames();
    QVexmarMenuItem *item = rig.row(row);
    if (edit == QLatin1String("toggle")) {
        QTest::mouseClick(item->switchButton, Qt::LeftButton);
    } else if (item->kind() == QVexmarMenuItem::Wheel) {
        item->wheel->setChecked(true);
        item->wheel->setValue(item->optionIndex(edit.toInt(), true));
        item->wheel->setChecked(false);
    } else {
        rig.touch(item);
        QVERIFY(item->kind() == QVexmarMenuItem::Text ? rig.answer(true, -1, edit) : rig.answer(true, edit.toInt()));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(shown(rig, row), text);
    const bool failed = !refused.isEmpty() || edit.startsWith(QChar(0x142));
    QCOMPARE(rig.popupText(), failed ? QStringLiteral("Failed to apply changes!") : QString());
}

// A region lists its cities and sends nothing; a city sets the device's clock, then the stored zone.
void TestSettingsMisc::timezone_data()
{
    QTest::addColumn<QString>("region"); // chosen first; empty: none
    QTest::addColumn<QString>("city"); // then; empty: none
    QTest::addColumn<QByteArray>("refused"); // "clock" or "store"; empty: none
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("cities");
    QTest::addColumn<QString>("stored");
    const QByteArray setZone = "DO|action=set_timezone|timezone_param=";
    const QByteArray store = "PARAM|cat=ui|controller_id=quorvane_ui|target=db|timezone=";
    QTest::newRow("region") << QStringLiteral("Africa") << QString() << QByteArray()
                            << QByteArrayList {"PARAM|target=general|timezone_param=Africa|LIST timezone_city_list"}
                            << QStringLiteral("City |  Unselected!  | Africa/Abidjan")
                            << QStringLiteral("Europe/Paris");
    QTest::newRow("city") << QString() << QStringLiteral("Europe/Berlin") << QByteArray()
                          << QByteArrayList {setZone + "Europe/Berlin", store + "Europe/Berlin|type=quorvane_ui"}
                          << QStringLiteral("City | Europe/Berlin | Europe/Paris, *Europe/Berlin")
                          << QStringLiteral("Europe/Berlin");
    QTest::newRow("city refused") << QString() << QStringLiteral("Europe/Berlin") << QByteArray("clock")
                                  << QByteArrayList {setZone + "Europe/Berlin"}
                                  << QStringLiteral("City | Europe/Paris | *Europe/Paris, Europe/Berlin")
                                  << QStringLiteral("Europe/Paris");
    // The clock took the zone, the store did not: the model must not keep a city the device will forget.
    QTest::newRow("city not stored") << QString() << QStringLiteral("Europe/Berlin") << QByteArray("store")
                                     << QByteArrayList {setZone + "Europe/Berlin",
                                            store + "Europe/Berlin|type=quorvane_ui"}
                                     << QStringLiteral("City | Europe/Paris | *Europe/Paris, Europe/Berlin")
                                     << QStringLiteral("Europe/Paris");
    QTest::newRow("a city of another region refused")
        << QStringLiteral("Africa") << QStringLiteral("Africa/Abidjan") << QByteArray("clock")
        << QByteArrayList {"PARAM|target=general|timezone_param=Africa|LIST timezone_city_list",
               setZone + "Africa/Abidjan"}
        << QStringLiteral("City | Europe/Paris | Africa/Abidjan") << QStringLiteral("Europe/Paris");
    QTest::newRow("region, then its city")
        << QStringLiteral("Africa") << QStringLiteral("Africa/Abidjan") << QByteArray()
        << QByteArrayList {"PARAM|target=general|timezone_param=Africa|LIST timezone_city_list",
               setZone + "Africa/Abidjan", store + "Africa/Abidjan|type=quorvane_ui"}
        << QStringLiteral("City | Africa/Abidjan | *Africa/Abidjan") << QStringLiteral("Africa/Abidjan");
}

void TestSettingsMisc::timezone()
{
    QFETCH(QString, region);
    QFETCH(QString, city);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, cities);
    QFETCH(QString, stored);
    SettingsRig rig;
    prepare(rig.device, {});
    QVERIFY(openMisc(rig));
    if (refused == "clock")
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "set_timezone"));
    else if (refused == "store")
        rig.device.refuseKey("timezone", "103-parameter set error");
    rig.takeFrames();
    if (!region.isEmpty())
        chooseText(rig, 218, region);
    if (!city.isEmpty())
        chooseText(rig, 219, city);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.rowText(219), cities);
    QCOMPARE(rig.popupText(), refused.isEmpty() ? QString() : QStringLiteral("Failed to apply changes!"));
    QCOMPARE(rig.page()->timezoneList()->city(), stored);
}

// Lists longer than any real one are cut at 500 entries, with a note under the row that says what was left out.
void TestSettingsMisc::longTimezoneLists_data()
{
    QTest::addColumn<int>("regions"); // sent, Africa and Europe among them
    QTest::addColumn<int>("europe"); // the cities sent for each region
    QTest::addColumn<int>("africa");
    QTest::addColumn<QString>("chosen"); // a region chosen; empty: none
    QTest::addColumn<QList<int>>("options"); // of rows 218 and 219
    QTest::addColumn<QStringList>("notes"); // under them; empty while hidden
    const QString cut = QStringLiteral("%1 more not listed: only the first 500 are");
    QTest::newRow("at the bound: no note")
        << 500 << 500 << 1 << QString() << QList<int> {500, 500} << QStringList {QString(), QString()};
    QTest::newRow("regions past it") << 502 << 2 << 1 << QString() << QList<int> {500, 2}
                                     << QStringList {cut.arg(2), QString()};
    QTest::newRow("cities past it") << 2 << 503 << 1 << QString() << QList<int> {2, 500}
                                    << QStringList {QString(), cut.arg(3)};
    QTest::newRow("a region of too many cities chosen")
        << 2 << 2 << 20000 << QStringLiteral("Africa") << QList<int> {2, 500}
        << QStringList {QString(), cut.arg(19500)};
    QTest::newRow("a region of few chosen after one of too many")
        << 2 << 501 << 1 << QStringLiteral("Africa") << QList<int> {2, 1} << QStringList {QString(), QString()};
}

void TestSettingsMisc::longTimezoneLists()
{
    QFETCH(int, regions);
    QFETCH(int, europe);
    QFETCH(int, africa);
    QFETCH(QString, chosen);
    QFETCH(QList<int>, options);
    QFETCH(QStringList, notes);
    SettingsRig rig;
    rig.device.loadSetup(miscSetup);
    const auto names = [](const std::string &prefix, int count) {
        std::vector<std::string> list;
        for (int i = 0; i < count; ++i)
            list.push_back(prefix + std::to_string(i));
        return list;
    };
    std::vector<std::string> regionList {"Africa", "Europe"};
    for (const std::string &name : names("Region", regions - 2))
        regionList.push_back(name);
    rig.device.setList("general", "timezone_region_list", regionList);
    rig.device.setListFor("general", "timezone_city_list", {{"timezone_param", "Europe"}}, names("Europe/", europe));
    rig.device.setListFor("general", "timezone_city_list", {{"timezone_param", "Africa"}}, names("Africa/", africa));
    QVERIFY(openMisc(rig));
    if (!chosen.isEmpty())
        chooseText(rig, 218, chosen);
    QList<int> shownOptions;
    QStringList shownNotes;
    const QList<QVexmarMenuItem *> rows = rig.current()->items();
    for (int id : {218, 219}) {
        shownOptions << rig.row(id)->options().size();
        QVexmarMenuItem *note = rows.value(rows.indexOf(rig.row(id)) + 1);
        shownNotes << (note->kind() == QVexmarMenuItem::Label && !note->isHidden() ? note->titleLabel->text()
                                                                                   : QString());
    }
    QCOMPARE(shownOptions, options);
    QCOMPARE(shownNotes, notes);
}

// Read once; each text written in clear on its own, the password shown masked.
void TestSettingsMisc::ftp_data()
{
    QTest::addColumn<QByteArrayList>("changes");
    QTest::addColumn<int>("row"); // edited; -1: none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QStringList>("rows");
    const QStringList asRead {"Address | ftp.example.org", "User Name | codec", "Password |  (masked)"};
    QTest::newRow("as read, no password")
        << QByteArrayList() << -1 << QString() << QByteArray() << QByteArrayList() << asRead;
    QTest::newRow("unread: empty, editable")
        << QByteArrayList {"fail ftp_address"} << -1 << QString() << QByteArray() << QByteArrayList()
        << QStringList {"Address | ", "User Name | ", "Password |  (masked)"};
    QTest::newRow("a new password, sent clear") << QByteArrayList() << 224 << QStringLiteral("pa55") << QByteArray()
                                                << QByteArrayList {"PARAM|ftp_password=pa55|target=general"}
                                                << QStringList {asRead.at(0), asRead.at(1), "Password | pa55 (masked)"};
    QTest::newRow("an empty address") << QByteArrayList() << 222 << QString("") << QByteArray()
                                      << QByteArrayList {"PARAM|ftp_address=|target=general"}
                                      << QStringList {"Address | ", asRead.at(1), asRead.at(2)};
    QTest::newRow("user name refused") << QByteArrayList() << 223 << QStringLiteral("other")
                                       << QByteArray("ftp_username")
                                       << QByteArrayList {"PARAM|ftp_username=other|target=general"} << asRead;
    QTest::newRow("address outside Latin-1")
        << QByteArrayList() << 222 << QString::fromUtf8("ftp.\xc5\x82") << QByteArray() << QByteArrayList() << asRead;
}

void TestSettingsMisc::ftp()
{
    QFETCH(QByteArrayList, changes);
    QFETCH(int, row);
    QFETCH(QString, typed);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QStringList, rows);
    SettingsRig rig;
    prepare(rig.device, changes);
    QVERIFY(rig.startSettings(1));
    rig.takeFrames();
    // The screen's own way in: Tools, Miscellaneous, FTP server.
    QVERIFY(rig.openPageId(QVexmar::SettingsFtpServer));
    QCOMPARE(rig.pages(), QStringLiteral("5 206 221"));
    // Both pages read in their order: redialing, GPIO and NTP, the four lists, the time zone; then the FTP server.
    QCOMPARE(rig.takeFrames(),
        (QByteArrayList {
            "PARAM|target=network|GET auto_redial_link1|GET auto_redial_link2|GET auto_redial_attempts|GET "
            "auto_redial_time",
            "PARAM|target=general|GET ext_input1|GET ext_input2|GET ext_relay1|GET ext_relay2|GET ntp_addr|GET "
            "ntp_addr_custom",
            "PARAM|target=general|LIST ext_input1", "PARAM|target=general|LIST ext_input2",
            "PARAM|target=general|LIST ext_relay1", "PARAM|target=general|LIST ext_relay2",
            "PARAM|cat=ui|controller_id=quorvane_ui|target=db|type=quorvane_ui|GET timezone",
            "PARAM|target=general|LIST timezone_region_list",
            "PARAM|target=general|timezone_param=Europe|LIST timezone_city_list",
            "PARAM|target=general|GET ftp_address|GET ftp_username|GET ftp_password"}));
    if (!refused.isEmpty())
        rig.device.refuseKey(refused.toStdString(), "103-parameter set error");
    if (row != -1) {
        rig.touch(row);
        QVERIFY(rig.answer(true, -1, typed));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QStringList shownRows;
    for (QVexmarMenuItem *item : rig.current()->items())
        shownRows << shown(rig, item->id) + (qobject_cast<QPwdLabel *>(item->valueLabel) ? " (masked)" : "");
    QCOMPARE(shownRows, rows);
    const bool failed = !refused.isEmpty() || typed.contains(QChar(0x142));
    QCOMPARE(rig.popupText(), failed ? QStringLiteral("Failed to apply changes!") : QString());
}

QTEST_MAIN(TestSettingsMisc)
#include "tst_settingsmisc.moc"
