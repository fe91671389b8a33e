// The settings page's core against the simulated device: the ways into the menu, the dispatchers, the shared
// conventions of the branches, the texts, the call profile record, the time zone and the level passwords.

#include "settings/ttimezonelist.h"
#include "tests/settingstesting.h"

#include <QStackedLayout>

using namespace settingstesting;

class TestSettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void builtWithoutDevice();
    void immediateSetting_data();
    void immediateSetting();
    void callGuard_data();
    void callGuard();
    void directWrite_data();
    void directWrite();
    void heldOption_data();
    void heldOption();
    void putBackUnheld_data();
    void putBackUnheld();
    void changeMark();
    void waysIn_data();
    void waysIn();
    void applyGuards_data();
    void applyGuards();
};

namespace {

// A page that no branch builds: its rows' changes go nowhere but to the helpers under test.
constexpr int scratchPage = 297;

// A page of a later branch with one row of the kind; a row of options has "2 ms", "5 ms", "10 ms" (values 2, 5, 10).
QVexmarMenuItem *attackRow(SettingsRig &rig, int kind, int pageId = scratchPage)
{
    QVexmarMenuItems *page = rig.pushPage(pageId);
    QVexmarMenuItem *row = rig.addRow(page, 213, kind, QStringLiteral("Attack Time"));
    if (kind != QVexmarMenuItem::Text && kind != QVexmarMenuItem::Switch) {
        for (int value : {2, 5, 10})
            row->addOption(value, QStringLiteral("%1 ms").arg(value));
    }
    return row;
}

// Rows that the builders of other branches would add, given as "page:row" or "page:row:locked": each is added to
// the page of that id as soon as the page is pushed.
void addRowsWhenPushed(SettingsRig &rig, const QByteArrayList &rows)
{
    QObject::connect(rig.page()->stack, &QStackedLayout::currentChanged, rig.page(), [&rig, rows] {
        QVexmarMenuItems *page = rig.current();
        for (const QByteArray &wanted : rows) {
            const QList<QByteArray> parts = wanted.split(':');
            if (!page || parts.at(0).toInt() != page->pageId || page->findItem(parts.at(1).toInt()))
                continue;
            rig.addRow(page, parts.at(1).toInt(), QVexmarMenuItem::SubMenu)->setLocked(parts.size() > 2);
        }
    });
}

} // namespace

// Nothing connected: nothing is sent and no call waits for an answer; the zone is the default.
void TestSettingsPage::builtWithoutDevice()
{
    SettingsRig rig;
    QVERIFY(rig.device.listen());
    QSignalSpy waits(getCom(), &kra::CCom::busyStateChanged);
    QVexmarSettingsPage page;
    QCOMPARE(waits.count(), 0);
    QCOMPARE(page.timezoneList()->region(), QStringLiteral("UTC"));
    QCOMPARE(page.timezoneList()->city(), QStringLiteral("UTC/UTC"));
    QVERIFY(rig.takeFrames().isEmpty());
}

// The row the user changed goes to a setter with send; a refusal puts the row back to what the model holds.
void TestSettingsPage::immediateSetting_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArrayList sent {"PARAM|drc_attack=5|target=audio"};
    const QString failed = QStringLiteral("Failed to apply changes!");
    const auto row = [&](const char *name, int kind, bool refused, const char *shown) {
        QTest::newRow(name) << kind << refused << QString::fromUtf8(shown) << (refused ? failed : QString()) << sent;
    };
    row("selection accepted", QVexmarMenuItem::Selection, false, "Attack Time | 5 ms | 2 ms, *5 ms, 10 ms");
    row("selection refused", QVexmarMenuItem::Selection, true, "Attack Time | 2 ms | *2 ms, 5 ms, 10 ms");
    row("wheel refused", QVexmarMenuItem::Wheel, true, "Attack Time | 2 ms | *2 ms, 5 ms, 10 ms");
    row("live wheel refused", QVexmarMenuItem::LiveWheel, true, "Attack Time | 2 ms | *2 ms, 5 ms, 10 ms");
    row("number accepted", QVexmarMenuItem::Text, false, "Attack Time | 5");
    row("number refused", QVexmarMenuItem::Text, true, "Attack Time | 2");
    QTest::newRow("switch refused") << int(QVexmarMenuItem::Switch) << true << QStringLiteral("Attack Time | Active")
                                    << failed << QByteArrayList {"PARAM|drc_state=off|target=audio"};
}

void TestSettingsPage::immediateSetting()
{
    QFETCH(int, kind);
    QFETCH(bool, refused);
    QFETCH(QString, shown);
    QFETCH(QString, popup);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    TAudioSettings *audio = getAudioSettings();
    QCOMPARE(audio->drcAttack(), 2);
    QVERIFY(audio->drcState());
    if (refused)
        rig.device.refuseKey(kind == QVexmarMenuItem::Switch ? "drc_state" : "drc_attack", "103-parameter set error");
    QVexmarMenuItem *row = attackRow(rig, kind);
    row->selectOption(2, true, false);
    // What the user did: the row already shows it.
    if (kind == QVexmarMenuItem::Text)
        row->setValueText(QStringLiteral("5"));
    else if (kind == QVexmarMenuItem::Switch)
        row->setChecked(false);
    else
        row->selectOption(5, true, false);
    bool accepted = false;
    if (kind == QVexmarMenuItem::Switch)
        accepted = rig.page()->setImmediately(row, audio->setDrcState(false, true), audio->drcState());
    else if (kind == QVexmarMenuItem::Text)
        accepted = rig.page()->setImmediately(row, audio->setDrcAttack(5, true), QString::number(audio->drcAttack()));
    else
        accepted = rig.page()->setImmediately(row, audio->setDrcAttack(5, true), audio->drcAttack());
    QCOMPARE(accepted, !refused);
    QCOMPARE(rig.rowText(213), shown);
    QCOMPARE(rig.popupText(), popup);
    QVERIFY(popup.isEmpty() || !rig.popupClosesItself());
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

// A change during a call is refused before anything is sent, and the row shows the model's value again; a value
// no option holds is shown red with none current, even when its text is an option's.
void TestSettingsPage::callGuard_data()
{
    QTest::addColumn<QByteArray>("network"); // of the call; empty for none
    QTest::addColumn<bool>("text");
    QTest::addColumn<int>("held");
    QTest::addColumn<QString>("heldText");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("colour");
    QTest::addColumn<QString>("popup");
    const QString refusal = QStringLiteral("Cannot apply changes\n(a connection is established)");
    QTest::newRow("no call") << QByteArray() << false << 2 << QString()
                             << QStringLiteral("Attack Time | 5 ms | 2 ms, *5 ms, 10 ms") << QStringLiteral("blue")
                             << QString();
    QTest::newRow("call on the Ethernet")
        << QByteArray("eth.0") << false << 2 << QString() << QStringLiteral("Attack Time | 2 ms | *2 ms, 5 ms, 10 ms")
        << QStringLiteral("blue") << refusal;
    QTest::newRow("call on the mobile, a text row")
        << QByteArray("mobile.0") << true << 2 << QString() << QStringLiteral("Attack Time | 2")
        << QStringLiteral("blue") << refusal;
    QTest::newRow("held value no option holds")
        << QByteArray("eth.0") << false << 7 << QStringLiteral("7 ms")
        << QStringLiteral("Attack Time | 7 ms | 2 ms, 5 ms, 10 ms") << QStringLiteral("red") << refusal;
    QTest::newRow("held value shown as an option's text")
        << QByteArray("eth.0") << false << 6 << QStringLiteral("5 ms")
        << QStringLiteral("Attack Time | 5 ms | 2 ms, 5 ms, 10 ms") << QStringLiteral("red") << refusal;
}

void TestSettingsPage::callGuard()
{
    QFETCH(QByteArray, network);
    QFETCH(bool, text);
    QFETCH(int, held);
    QFETCH(QString, heldText);
    QFETCH(QString, shown);
    QFETCH(QString, colour);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (!network.isEmpty())
        QVERIFY(rig.callOn(network));
    rig.takeFrames();
    QVexmarMenuItem *row = attackRow(rig, text ? QVexmarMenuItem::Text : QVexmarMenuItem::Selection);
    if (text)
        row->setValueText(QStringLiteral("5"));
    else
        row->selectOption(5, true, false);
    const bool refused = text ? rig.page()->refusedDuringCall(row, QString::number(held))
                              : rig.page()->refusedDuringCall(row, held, heldText);
    QCOMPARE(refused, !network.isEmpty());
    QCOMPARE(rig.rowText(213), shown);
    QCOMPARE(SettingsRig::rowColour(row), colour);
    QCOMPARE(rig.popupText(), popup);
    QVERIFY(popup.isEmpty() || !rig.popupClosesItself());
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// One PARAM to the target; the count tells the caller which values the device took.
void TestSettingsPage::directWrite_data()
{
    QTest::addColumn<QByteArrayList>("values"); // "key=value"
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses, or "nok" for a refusal naming nothing
    QTest::addColumn<int>("accepted");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::newRow("one taken") << QByteArrayList {"abr_calls=on"} << QByteArray() << 1
                               << QByteArrayList {"PARAM|abr_calls=on|target=audio"};
    QTest::newRow("one refused") << QByteArrayList {"abr_calls=on"} << QByteArray("abr_calls") << 0
                                 << QByteArrayList {"PARAM|abr_calls=on|target=audio"};
    QTest::newRow("two, one refused") << QByteArrayList {"abr_minbr=24000", "abr_maxbr=64000"}
                                      << QByteArray("abr_maxbr") << 1
                                      << QByteArrayList {"PARAM|abr_maxbr=64000|abr_minbr=24000|target=audio"};
    QTest::newRow("refusal naming nothing")
        << QByteArrayList {"abr_minbr=24000", "abr_maxbr=64000"} << QByteArray("nok") << 0
        << QByteArrayList {"PARAM|abr_maxbr=64000|abr_minbr=24000|target=audio"};
    QTest::newRow("nothing to write") << QByteArrayList() << QByteArray() << 0 << QByteArrayList();
}

void TestSettingsPage::directWrite()
{
    QFETCH(QByteArrayList, values);
    QFETCH(QByteArray, refused);
    QFETCH(int, accepted);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (refused == "nok")
        rig.device.addFault(fault(SimDevice::Fault::Nok));
    else if (!refused.isEmpty())
        rig.device.refuseKey(refused.toStdString(), "103-parameter set error");
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const QByteArray &value : values)
        pairs.emplace_back(
            value.left(value.indexOf('=')).toStdString(), value.mid(value.indexOf('=') + 1).toStdString());
    QCOMPARE(rig.page()->writeParams("audio", pairs), accepted);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), QString());
}

// Where no option holds a device value: a strict row shows it red with none current, a free row keeps the text;
// the user's pick brings the row's own colour back.
void TestSettingsPage::heldOption_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("colour");
    QTest::newRow("held by an option") << 10 << true << true
                                       << QStringLiteral("Attack Time | 10 ms | 2 ms, 5 ms, *10 ms")
                                       << QStringLiteral("blue");
    QTest::newRow("strict, no option") << 7 << true << false << QStringLiteral("Attack Time | 7 ms | 2 ms, 5 ms, 10 ms")
                                       << QStringLiteral("red");
    QTest::newRow("free, no option") << 7 << false << false << QStringLiteral("Attack Time | 7 ms | *2 ms, 5 ms, 10 ms")
                                     << QStringLiteral("blue");
}

void TestSettingsPage::heldOption()
{
    QFETCH(int, value);
    QFETCH(bool, strict);
    QFETCH(bool, held);
    QFETCH(QString, shown);
    QFETCH(QString, colour);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVexmarMenuItem *row = attackRow(rig, QVexmarMenuItem::Selection);
    QCOMPARE(rig.page()->showHeldOption(row, value, QStringLiteral("%1 ms").arg(value), strict), held);
    QCOMPARE(rig.rowText(213), shown);
    QCOMPARE(SettingsRig::rowColour(row), colour);
    rig.touch(row);
    QVERIFY(rig.answer(true, 5));
    QTRY_COMPARE(rig.rowText(213), QStringLiteral("Attack Time | 5 ms | 2 ms, *5 ms, 10 ms"));
    QCOMPARE(SettingsRig::rowColour(row), QStringLiteral("blue"));
}

// A row put back to a value no option holds shows it red with none current, never option 0 as if held.
void TestSettingsPage::putBackUnheld_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("call"); // the network of a call that refuses; none: the device refuses
    QTest::addColumn<QString>("heldText");
    QTest::addColumn<QString>("shown");
    QTest::newRow("refused selection, text given") << int(QVexmarMenuItem::Selection) << QByteArray() << "1 ms"
                                                   << "Attack Time | 1 ms | 2 ms, 5 ms, 10 ms";
    QTest::newRow("wheel during a call, decimal")
        << int(QVexmarMenuItem::Wheel) << QByteArray("eth.0") << QString() << "Attack Time | 1 | 2 ms, 5 ms, 10 ms";
}

void TestSettingsPage::putBackUnheld()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, call);
    QFETCH(QString, heldText);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (!call.isEmpty())
        QVERIFY(rig.callOn(call));
    rig.device.refuseKey("drc_attack", "103-parameter set error");
    TAudioSettings *audio = getAudioSettings();
    QVERIFY(audio->setDrcAttack(1, false));
    QVexmarMenuItem *row = attackRow(rig, kind);
    row->selectOption(5, true, false);
    if (call.isEmpty())
        QVERIFY(!rig.page()->setImmediately(row, audio->setDrcAttack(5, true), audio->drcAttack(), heldText));
    else
        QVERIFY(rig.page()->refusedDuringCall(row, audio->drcAttack(), heldText));
    QCOMPARE(rig.rowText(213), shown);
    QCOMPARE(SettingsRig::rowColour(row), QStringLiteral("red"));
}

// A change test sets the mark of the page shown, and only of that page.
void TestSettingsPage::changeMark()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVexmarMenuItems *below = rig.pushPage(133);
    QVexmarMenuItems *shown = rig.pushPage(134);
    rig.page()->header->setModified(true);
    rig.page()->markChanges(below, &QVexmarSettingsPage::hasInputStreamChanges);
    QVERIFY(rig.modified());
    rig.page()->markChanges(shown, &QVexmarSettingsPage::hasInputStreamChanges);
    QVERIFY(!rig.modified());
}

// Paths and sub-ids open the rows they name; a locked row on the way counts as missing.
void TestSettingsPage::waysIn_data()
{
    QTest::addColumn<QByteArray>("call"); // "path 5 206 221" or "entry <id> <sub-id>"
    QTest::addColumn<QByteArrayList>("rows");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QString>("pages");
    QTest::newRow("FTP path") << QByteArray("path 5 206 221") << QByteArrayList {"5:206", "206:221"} << 1 << true
                              << QStringLiteral("5 206 221");
    // The Tools page locks Miscellaneous itself at the Operator level.
    QTest::newRow("FTP path, Miscellaneous locked")
        << QByteArray("path 5 206 221") << QByteArrayList {"5:206:locked", "206:221"} << 0 << false
        << QStringLiteral("5");
    // Page 10 has no row 79.
    QTest::newRow("path with a missing row")
        << QByteArray("path 1 10 79") << QByteArrayList {"1:10"} << 1 << false << QStringLiteral("1 10");
    QTest::newRow("path into Audio at the operator level")
        << QByteArray("path 3 111") << QByteArrayList {"3:111"} << 0 << false << QString();
    QTest::newRow("empty path") << QByteArray("path") << QByteArrayList() << 1 << false << QString();
    QTest::newRow("codec 1") << QByteArray("entry 2 21") << QByteArrayList {"2:99", "2:100"} << 1 << true
                             << QStringLiteral("2 99");
    QTest::newRow("codec 2") << QByteArray("entry 2 22") << QByteArrayList {"2:99", "2:100"} << 1 << true
                             << QStringLiteral("2 100");
    QTest::newRow("codec 1 locked: the branch only")
        << QByteArray("entry 2 21") << QByteArrayList {"2:99:locked", "2:100"} << 0 << true << QStringLiteral("2");
    QTest::newRow("call profiles of line 2")
        << QByteArray("entry 4 27") << QByteArrayList {"4:170"} << 1 << true << QStringLiteral("4 170");
    QTest::newRow("book page") << QByteArray("entry 4 25") << QByteArrayList {"4:170"} << 1 << true
                               << QStringLiteral("4");
    QTest::newRow("audio at the operator level")
        << QByteArray("entry 3 -1") << QByteArrayList() << 0 << false << QString();
    QTest::newRow("audio at the expert level")
        << QByteArray("entry 3 -1") << QByteArrayList() << 1 << true << QStringLiteral("3");
}

void TestSettingsPage::waysIn()
{
    QFETCH(QByteArray, call);
    QFETCH(QByteArrayList, rows);
    QFETCH(int, level);
    QFETCH(bool, opened);
    QFETCH(QString, pages);
    SettingsRig rig;
    // Double codec: both codec rows can be opened.
    rig.device.loadSetup("audio codec_mode=cmode_double");
    QVERIFY(rig.startSettings(level));
    addRowsWhenPushed(rig, rows);
    QList<QByteArray> words = call.split(' ');
    const QByteArray how = words.takeFirst();
    QList<int> ids;
    for (const QByteArray &word : words)
        ids << word.toInt();
    const bool result = how == "path" ? rig.page()->openPath(ids) : rig.page()->selectEntry(ids.at(0), ids.at(1));
    QCOMPARE(result, opened);
    QCOMPARE(rig.pages(), pages);
    // The pages on the way read what they show; nothing is written.
    for (const QByteArray &frame : rig.framesAfterRoundTrip())
        QVERIFY2(frame.startsWith("PARAM|") && (frame.contains("|GET ") || frame.contains("|LIST ")), frame);
}

// Each guarded page during a call on its network, family or line: the message, nothing applied, the mark kept.
// Without such a call the page's own apply runs.
void TestSettingsPage::applyGuards_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("call"); // the network of a call, or empty
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArrayList>("frames"); // what an apply of the empty page sends
    const auto row = [](int pageId, const char *call, bool refused, const QByteArrayList &frames = {}) {
        QTest::newRow(QByteArray::number(pageId) + (*call ? QByteArray(" during a call on ") + call : " without a call")
            + (refused ? ": refused" : ": applied"))
            << pageId << QByteArray(call) << refused << frames;
    };
    row(10, "eth.0", true);
    row(10, "wifi.0", true);
    row(10, "", false);
    row(11, "isdn.0", true);
    row(11, "eth.0", false);
    row(77, "eth.0", true);
    row(78, "mobile.0", true);
    row(12, "eth.0", true);
    row(12, "mobile.0", false);
    row(13, "eth.0", false);
    row(16, "mobile.0", true);
    row(16, "eth.0", false);
    row(20, "wifi.0", true);
    row(20, "", false);
    row(99, "eth.0", true);
    row(100, "eth.0", false);
    for (int pageId : {111, 229})
        row(pageId, "eth.0", false);
    // The output stream page is read again after every apply that succeeded.
    row(146, "eth.0", false,
        {"PARAM|target=audio|GET rav_name_ou|GET rav_mode_ou|GET rav_autoconf_ou|GET rav_mc_addr_ou|GET rav_mc_port_ou|"
         "GET rav_ch_count_ou|GET rav_ptime_ou"});
}

void TestSettingsPage::applyGuards()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, call);
    QFETCH(bool, refused);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    if (!call.isEmpty())
        QVERIFY(rig.callOn(call));
    // The Network page reads the interfaces and SIM states as it is built; the apply is what is looked at.
    rig.touchEntry(QVexmarSettingsPage::NetworkEntry);
    rig.takeFrames();
    rig.pushPage(pageId);
    rig.page()->header->setModified(true);
    QSignalSpy applies(rig.page(), &QVexmarSettingsPage::applyRequested);
    rig.apply();
    QCOMPARE(applies.count(), refused ? 0 : 1);
    if (!refused)
        QCOMPARE(applies.at(0).at(0).toInt(), pageId);
    QCOMPARE(
        rig.popupText(), refused ? QStringLiteral("Cannot apply changes\n(a connection is established)") : QString());
    // The refusal stays until closed.
    QVERIFY(!rig.popupClosesItself() || !refused);
    // An applied page keeps its mark or not by what its own apply did.
    if (refused)
        QVERIFY(rig.modified());
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
