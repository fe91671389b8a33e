// The Book's lists against the simulated device: the rows each list makes of the device's items, which call
// profiles a line may take, the records created on a list, and the load, update and delete of presets, SIP
// profiles and snapshots.

#include "tests/settingstesting.h"

#include <QPointer>

using namespace settingstesting;

class TestSettingsBookLists : public QObject
{
    Q_OBJECT

private slots:
    void items_data();
    void items();
    void longList();
    void callProfileListing_data();
    void callProfileListing();
    void operatorLocks_data();
    void operatorLocks();
    void silentDevice();
    void valueTexts_data();
    void valueTexts();
    void creates_data();
    void creates();
    void actions_data();
    void actions();
};

namespace {

const QByteArray recordSetup = R"(
book:local_profile:3 name=Morning
book:local_profile:7 name=Evening
book:sip_profile:4 name=Studio SIP
book:snapshot:9 name=Before show
)"
                               // "Łódź", and a name that is not UTF-8
                               "book:local_profile:5 name=\xc5\x81\xc3\xb3"
                               "d\xc5\xba\n"
                               "book:local_profile:6 name=Caf\xe9\n";

// Call profiles of every kind, on a device with ISDN: the names say what each is.
const QByteArray profileSetup = R"(
network network=[aoip,eth.0,isdn.0,mobile.0,wifi.0]
book:remote_profile:1 name=Voice
book:remote_profile:1 network=mobile.0
book:remote_profile:1 codec=GSM
book:remote_profile:2 name=Default
book:remote_profile:2 network=eth.0
book:remote_profile:2 codec=G722
book:remote_profile:3 name=Elsewhere
book:remote_profile:3 network=wifi.0
book:remote_profile:3 codec=G722
book:remote_profile:4 name=ISDN
book:remote_profile:4 network=isdn.0
book:remote_profile:4 codec=G722
book:remote_profile:5 name=ISDN voice
book:remote_profile:5 network=isdn.0
book:remote_profile:5 codec=GSM
book:remote_profile:6 name=Unknown codec
book:remote_profile:6 network=eth.0
book:remote_profile:6 codec=FOO
book:remote_profile:7 name=No network
book:remote_profile:7 codec=G722
general remote_profile=[1/Voice,2/Default,3/Elsewhere,4/ISDN,5/ISDN voice,6/Unknown codec,7/No network,8/Gone]
)";

const QByteArray doubleCodec = "audio codec_mode=cmode_double";
const QByteArray line1Call = "EVENT;event_type:0600-call received;id:9;network:eth.0;";
const QByteArray line2Call = "EVENT;event_type:0600-call received;id:10;network:eth.0;comm_link:audio2;";
const QByteArray voiceCall = "EVENT;event_type:0600-call received;id:11;network:mobile.0;comm_link:coord_line;";

// The device refuses the next request (that holds the word) with the cause.
SimDevice::Fault refusal(const QByteArray &kind, const QByteArray &cause, const std::string &match = {})
{
    SimDevice::Fault fault = rpctesting::script({kind + ";return:ERROR;cause:" + cause + ";"});
    fault.match = match;
    return fault;
}

// Logged in at the level with the set-up, the calls up, then the list opened: through the Book for 25, for a line
// with 26-28 (as the screen window does, but also while that line has a call). The log is then empty.
bool openList(SettingsRig &rig, int listId, const QByteArray &setup, int level = 2, int opener = QVexmar::SettingsBook,
    const QByteArrayList &calls = {})
{
    rig.device.loadSetup(setup);
    if (!rig.startSettings(level) || !rig.deliver(calls))
        return false;
    rig.page()->selectEntry(QVexmarSettingsPage::BookEntry, opener);
    if (rig.current()->pageId == QVexmarSettingsPage::BookEntry)
        rig.touch(listId);
    rig.takeFrames();
    return rig.current()->pageId == listId;
}

// The rows as "<id> <title>", " L" when locked.
QString listRows(SettingsRig &rig)
{
    QStringList rows;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (item->id != -1)
            rows << QString::number(item->id) + QLatin1Char(' ') + item->titleLabel->text()
                    + (item->isLocked() ? QStringLiteral(" L") : QString());
    }
    return rows.join(QStringLiteral("; "));
}

} // namespace

// What a list makes of the device's items, in its order and with its faults.
void TestSettingsBookLists::items_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("items");
    QTest::addColumn<int>("fault"); // 0 none, n > 0 the answer in n + 1 parts, -1 refused
    QTest::addColumn<QString>("rows");
    const QString create = QStringLiteral("174 New Preset; ");
    QTest::newRow("name with a slash") << 2 << QByteArray("12/Studio/A") << 0 << create + "311 Studio/A";
    QTest::newRow("sorted by name, case aside")
        << 2 << QByteArray("1/beta,2/Alpha,3/alpha2") << 0 << create + "301 Alpha; 302 alpha2; 300 beta";
    QTest::newRow("equal names in the device's order")
        << 2 << QByteArray("8/Same,2/same,5/Same") << 0 << create + "307 Same; 301 same; 304 Same";
    QTest::newRow("ids that are none skipped")
        << 2 << QByteArray("x/a,/a,-3/a,1.5/a,a,2147483647/a,0/x") << 0 << create + "299 x";
    QTest::newRow("UTF-8 name") << 2 << QByteArray("5/Caf\xc3\xa9") << 0 << create + "304 Caf\u00e9";
    QTest::newRow("in three parts") << 2 << QByteArray("1/c,2/b,3/a,4/d") << 2 << create + "302 a; 301 b; 300 c; 303 d";
    QTest::newRow("refused") << 2 << QByteArray("1/c") << -1 << "174 New Preset";
    QTest::newRow("refused, operator") << 0 << QByteArray("1/c") << -1 << QString();
    QTest::newRow("operator") << 0 << QByteArray("1/c") << 0 << "300 c";
}

void TestSettingsBookLists::items()
{
    QFETCH(int, level);
    QFETCH(QByteArray, items);
    QFETCH(int, fault);
    QFETCH(QString, rows);
    SettingsRig rig;
    rig.device.loadSetup("general local_profile=[" + items + "]");
    if (fault)
        rig.device.addFault(fault > 0 ? settingstesting::fault(SimDevice::Fault::Progress, fault, "local_profile")
                                      : refusal("PARAM", "115-resource busy", "local_profile"));
    QVERIFY(openList(rig, 171, {}, level));
    QCOMPARE(listRows(rig), rows);
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
    if (!rows.endsWith(QLatin1String("Preset")) && !rows.isEmpty())
        QCOMPARE(
            rig.current()->items().last()->kind(), int(level ? QVexmarMenuItem::SubMenu : QVexmarMenuItem::Action));
}

// A list past its cap shows its first records and says how many it left out; a call profile list opens no more.
void TestSettingsBookLists::longList()
{
    SettingsRig rig;
    QByteArrayList items;
    for (int id = 0; id < 503; ++id)
        items << QByteArray::number(id) + "/P" + QByteArray::number(1000 + id);
    rig.device.loadSetup("general remote_profile=[" + items.join(',') + "]");
    QVERIFY(openList(rig, 170, {}));
    QCOMPARE(rig.current()->items().size(), 2 + 1); // create row, spacer, the note: none of the records exists
    QCOMPARE(
        rig.current()->items().last()->titleLabel->text(), QStringLiteral("3 more not listed: only the first 500 are"));
    int opens = 0;
    for (const RpcMessage &request : rig.device.requests())
        opens += request.body().value("action") == "open";
    QCOMPARE(opens, 500);
}

// Which call profiles a list shows, by the line it was opened for and the codec mode.
void TestSettingsBookLists::callProfileListing_data()
{
    QTest::addColumn<int>("opener");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    const QString all = QStringLiteral("301 Default; 302 Elsewhere; 304 ISDN voice; 300 Voice");
    const QString ip = QStringLiteral("301 Default; 302 Elsewhere");
    const QString voice = QStringLiteral("304 ISDN voice; 300 Voice");
    QTest::newRow("menu, single codec") << 25 << QByteArray() << all;
    QTest::newRow("line 1, single codec") << 26 << QByteArray() << ip;
    QTest::newRow("line 2, single codec") << 27 << QByteArray() << ip;
    QTest::newRow("voice line, single codec") << 28 << QByteArray() << voice;
    QTest::newRow("menu, double codec") << 25 << doubleCodec << all;
    QTest::newRow("line 1, double codec") << 26 << doubleCodec << ip;
    QTest::newRow("line 2, double codec") << 27 << doubleCodec << QStringLiteral("301 Default");
    QTest::newRow("voice line, double codec") << 28 << doubleCodec << voice;
}

void TestSettingsBookLists::callProfileListing()
{
    QFETCH(int, opener);
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openList(rig, 170, profileSetup + setup, 1, opener));
    QCOMPARE(listRows(rig), QStringLiteral("174 New Call Profile; ") + rows);
}

// At the Operator level a profile the line cannot take now is locked.
void TestSettingsBookLists::operatorLocks_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("opener");
    QTest::addColumn<QByteArrayList>("calls");
    QTest::addColumn<QString>("locked");
    const QByteArrayList none;
    QTest::newRow("no call") << QByteArray() << 25 << none << QString();
    QTest::newRow("interface gone") << QByteArray("network network=[aoip,eth.0,isdn.0,mobile.0]") << 25 << none
                                    << "302";
    QTest::newRow("single codec, line 1") << QByteArray() << 25 << QByteArrayList {line1Call} << "301 302";
    QTest::newRow("single codec, voice line") << QByteArray() << 25 << QByteArrayList {voiceCall} << "304 300";
    QTest::newRow("double codec, line 1") << doubleCodec << 25 << QByteArrayList {line1Call} << "302";
    QTest::newRow("double codec, both lines")
        << doubleCodec << 25 << QByteArrayList {line1Call, line2Call} << "301 302";
    QTest::newRow("double codec, line 1 for line 1") << doubleCodec << 26 << QByteArrayList {line1Call} << "301 302";
    QTest::newRow("double codec, line 2 for line 2") << doubleCodec << 27 << QByteArrayList {line2Call} << "301";
    QTest::newRow("double codec, line 2 for line 1") << doubleCodec << 26 << QByteArrayList {line2Call} << "302";
}

void TestSettingsBookLists::operatorLocks()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, opener);
    QFETCH(QByteArrayList, calls);
    QFETCH(QString, locked);
    SettingsRig rig;
    QVERIFY(openList(rig, 170, profileSetup + setup, 0, opener, calls));
    QStringList ids;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        QCOMPARE(item->kind(), int(QVexmarMenuItem::Action));
        if (item->isLocked())
            ids << QString::number(item->id);
    }
    QCOMPARE(ids.join(QLatin1Char(' ')), locked);
}

// After an open that got no answer the list asks no more and shows what it read before.
void TestSettingsBookLists::silentDevice()
{
    SettingsRig rig;
    rig.device.addFault(settingstesting::fault(SimDevice::Fault::Silence, 0, "3"));
    QVERIFY(openList(rig, 170, profileSetup));
    QCOMPARE(listRows(rig), QStringLiteral("174 New Call Profile; 301 Default"));
    QStringList opened;
    for (const RpcMessage &request : rig.device.requests()) {
        if (request.body().value("action") == "open")
            opened << QString::fromStdString(request.body().value("id"));
    }
    // In the order of the names: Default, Elsewhere (unanswered), then nothing.
    QCOMPARE(opened.join(QLatin1Char(' ')), QStringLiteral("2 3"));
}

// The two lines of a call profile row.
void TestSettingsBookLists::valueTexts_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QString>("value");
    QTest::newRow("two numbers") << QByteArray("codec=G722\nremote_addr=5551234\nremote_addr2=5551235")
                                 << "[ AoIP ] 5551234,5551235\nEthernet - G.722";
    QTest::newRow("no number") << QByteArray("codec=G722") << "[ AoIP ]\nEthernet - G.722";
    QTest::newRow("second number alone") << QByteArray("codec=G722\nremote_addr=\nremote_addr2=5551235")
                                         << "[ AoIP ]\nEthernet - G.722";
    QTest::newRow("no codec") << QByteArray("remote_addr=5551234")
                              << "[ AoIP ] 5551234\nEthernet - No coding "
                                 "algorithm set";
    QTest::newRow("Opus") << QByteArray("codec=OPUS/48000/stereo/128000")
                          << "[ AoIP ]\nEthernet - Opus 48kHz Stereo 128kbit/s";
    QTest::newRow("voice") << QByteArray("network=mobile.0\ncodec=GSM\nremote_addr=5559876")
                           << "[ Voice ] 5559876\nMobile (int 1) - Mobile voice";
}

void TestSettingsBookLists::valueTexts()
{
    QFETCH(QByteArray, record);
    QFETCH(QString, value);
    QByteArray setup = "book:remote_profile:5 name=Studio\nbook:remote_profile:5 network=eth.0\n";
    for (const QByteArray &line : record.split('\n'))
        setup += "book:remote_profile:5 " + line + "\n";
    SettingsRig rig;
    QVERIFY(openList(rig, 170, setup));
    QCOMPARE(rig.row(304)->valueLabel->text(), value);
}

// A record created on its list: the request, the popup, and the list built anew in place of the old one.
void TestSettingsBookLists::creates_data()
{
    QTest::addColumn<int>("listId");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("question"); // the account choice, when there is one
    QTest::addColumn<QByteArray>("cause"); // the device refuses with it
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    const QString accounts = QStringLiteral("Create from which account?: *Primary SIP Account, Secondary SIP Account");
    const QByteArray refused = "106-invalid id";
    QTest::newRow("preset") << 171 << "Late" << QString() << QByteArray()
                            << QByteArrayList {"DO|action=create|name=Late|target=general|type=local_profile"}
                            << QString();
    QTest::newRow("snapshot") << 173 << "Late" << QString() << QByteArray()
                              << QByteArrayList {"DO|action=create|name=Late|target=general|type=snapshot"}
                              << QString();
    QTest::newRow("SIP profile from account 2")
        << 172 << "Late" << accounts << QByteArray()
        << QByteArrayList {"DO|account=2|action=create|name=Late|target=general|type=sip_profile"} << QString();
    QTest::newRow("SIP profile refused")
        << 172 << "Late" << accounts << QByteArray("141-sip1_not configured")
        << QByteArrayList {"DO|account=2|action=create|name=Late|target=general|type=sip_profile"}
        << "Failed to create the SIP profile!\n(SIP account 1 is not configured)";
    QTest::newRow("preset refused") << 171 << "Late" << QString() << refused
                                    << QByteArrayList {"DO|action=create|name=Late|target=general|type=local_profile"}
                                    << "Failed to create the preset!";
    QTest::newRow("name beyond Latin-1")
        << 171 << QString::fromUtf8("Late \xc5\x81") << QString() << QByteArray()
        << QByteArrayList {"DO|action=create|name=Late \xc5\x81|target=general|type=local_profile"} << QString();
    QTest::newRow("SIP name beyond Latin-1")
        << 172 << QString::fromUtf8("Late \xc5\x81") << accounts << QByteArray()
        << QByteArrayList {"DO|account=2|action=create|name=Late \xc5\x81|target=general|type=sip_profile"}
        << QString();
    QTest::newRow("empty name") << 173 << "" << QString() << QByteArray() << QByteArrayList() << QString();
}

void TestSettingsBookLists::creates()
{
    QFETCH(int, listId);
    QFETCH(QString, name);
    QFETCH(QString, question);
    QFETCH(QByteArray, cause);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(openList(rig, listId, recordSetup));
    QPointer<QVexmarMenuItems> old = rig.current();
    rig.touch(174);
    QCOMPARE(rig.popupText().section(QLatin1Char(' '), -1), QStringLiteral("[]"));
    if (!cause.isEmpty())
        rig.device.addFault(refusal("DO", cause, "create"));
    QVERIFY(rig.answer(true, -1, name));
    if (!question.isEmpty()) {
        QCOMPARE(rig.popupText(), question);
        QVERIFY(rig.answer(true, 2));
    }
    const QByteArrayList sent = rig.framesAfterRoundTrip();
    QCOMPARE(sent.mid(0, frames.size()), frames);
    QCOMPARE(rig.popupText(), popup);
    const bool created = popup.isEmpty() && !frames.isEmpty();
    QCOMPARE(rig.pages(), QStringLiteral("4 %1").arg(listId));
    if (created) {
        // The list read again shows the new record; the old page goes.
        QCOMPARE(sent.value(1), "PARAM|target=general|LIST " + frames.first().split('=').last());
        QVERIFY(listRows(rig).contains(QLatin1String(" Late")));
        QTRY_VERIFY(!old);
    } else {
        QCOMPARE(rig.current(), old.data());
    }
}

// A record's action from its page (or, for the Operator, its list row): the request, the popup, where the menu is
// afterwards and whether the list still has the row.
void TestSettingsBookLists::actions_data()
{
    QTest::addColumn<int>("listId");
    QTest::addColumn<int>("entryId");
    QTest::addColumn<int>("row"); // 184-186 of the record's page; 0: the list row at the Operator level
    QTest::addColumn<QByteArray>("cause"); // the device refuses with it; "call": a call is up
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("pages");
    const auto row = [](const char *name, int listId, int entryId, int rowId, const QByteArray &cause,
                         const QByteArrayList &frames, const char *popup, const char *pages) {
        QTest::newRow(name) << listId << entryId << rowId << cause << frames << QString::fromUtf8(popup)
                            << QString::fromUtf8(pages);
    };
    const QByteArray loadPreset = "DO|action=load|id=3|target=general|type=local_profile";
    const QByteArray loadSip = "DO|account=2|action=load|id=4|target=general|type=sip_profile";
    const QByteArray deletePreset = "DO|action=delete|id=3|target=general|type=local_profile";
    row("preset load", 171, 302, 184, {}, {loadPreset}, "", "4 171");
    row("preset load in a call", 171, 302, 184, "call", {}, "Cannot load the preset\n(a connection is established)",
        "4 171 175:171");
    row("preset load refused", 171, 302, 184, "112-file not found", {loadPreset}, "Failed to load the preset!",
        "4 171 175:171");
    row("preset load from the list", 171, 302, 0, {}, {loadPreset}, "", "4");
    row("preset update", 171, 302, 185, {}, {"DO|action=update|id=3|name=Morning|target=general|type=local_profile"},
        "", "4 171");
    row("preset update, name beyond Latin-1", 171, 304, 185, {},
        {"DO|action=update|id=5|name=\xc5\x81\xc3\xb3"
         "d\xc5\xba|target=general|type=local_profile"},
        "", "4 171");
    row("preset update, name not UTF-8", 171, 305, 185, {},
        {"DO|action=update|id=6|name=Caf\xe9|target=general|type=local_profile"}, "", "4 171");
    row("preset delete", 171, 302, 186, {}, {deletePreset}, "", "4 171");
    row("preset delete refused", 171, 302, 186, "106-invalid id", {deletePreset}, "Failed to delete the preset!",
        "4 171 175:171");
    row("SIP profile load", 172, 303, 184, {}, {loadSip}, "", "4 172");
    row("SIP profile load from the list", 172, 303, 0, {}, {loadSip}, "", "4");
    row("SIP profile load in a call", 172, 303, 184, "call", {},
        "Cannot load the SIP profile\n(a connection is established)", "4 172 175:172");
    row("SIP warning 139", 172, 303, 184, "139-incompatible with sip1", {loadSip},
        "SIP profile loaded with a warning!\n(Incompatible with SIP account 1)", "4 172 175:172");
    row("SIP warning 140", 172, 303, 184, "140-inconsistant with sip2", {loadSip},
        "SIP profile loaded with a warning!\n(Inconsistent with SIP account 2)", "4 172 175:172");
    row("SIP warning 141", 172, 303, 184, "141-sip1_not configured", {loadSip},
        "SIP profile loaded with a warning!\n(SIP account 1 is not configured)", "4 172 175:172");
    row("SIP load refused", 172, 303, 184, "106-invalid id", {loadSip}, "Failed to load the SIP profile!\n(Invalid ID)",
        "4 172 175:172");
    row("SIP profile delete", 172, 303, 186, {}, {"DO|action=delete|id=4|target=general|type=sip_profile"}, "",
        "4 172");
    row("snapshot load", 173, 308, 184, {}, {"DO|action=load|id=9|target=general|type=snapshot"}, "", "4 173");
    row("snapshot load in a call", 173, 308, 184, "call", {}, "Cannot load the snapshot\n(a connection is established)",
        "4 173 175:173");
    row("snapshot update refused", 173, 308, 185, "106-invalid id",
        {"DO|action=update|id=9|name=Before show|target=general|type=snapshot"}, "Failed to update the snapshot!",
        "4 173 175:173");
}

void TestSettingsBookLists::actions()
{
    QFETCH(int, listId);
    QFETCH(int, entryId);
    QFETCH(int, row);
    QFETCH(QByteArray, cause);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(QString, pages);
    SettingsRig rig;
    const QByteArrayList calls = cause == "call" ? QByteArrayList {line1Call} : QByteArrayList();
    QVERIFY(openList(rig, listId, recordSetup, row ? 2 : 0, QVexmar::SettingsBook, calls));
    QPointer<QVexmarMenuItems> list = rig.current();
    if (row) {
        rig.touch(entryId);
        QCOMPARE(rig.pages(), QStringLiteral("4 %1 175:%1").arg(listId));
        QCOMPARE(rig.row(185) != nullptr, listId != 172);
    }
    rig.takeFrames();
    if (!cause.isEmpty() && cause != "call")
        rig.device.addFault(refusal("DO", cause));
    rig.touch(row ? row : entryId);
    QVERIFY(rig.answer(true));
    if (listId == 172 && (row == 184 || !row)) {
        QCOMPARE(
            rig.popupText(), QStringLiteral("Load into which account?: *Primary SIP Account, Secondary SIP Account"));
        QVERIFY(rig.answer(true, 2));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.pages(), pages);
    if (row == 186)
        QCOMPARE(list->findItemInGroup(entryId, listId) == nullptr, popup.isEmpty());
}

QTEST_MAIN(TestSettingsBookLists)
#include "tst_settingsbooklists.moc"
