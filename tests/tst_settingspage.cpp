// The settings page's core against the simulated device: the ways into the menu, the dispatchers, the shared
// conventions of the branches, the texts, the call profile record, the time zone and the level passwords.

#include "settingstesting.h"
#include "ttimezonelist.h"

#include <QElapsedTimer>

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
    void changeMark();
};

namespace {

// A page of a later branch with one row of the kind; a row of options has "2 ms", "5 ms", "10 ms" (values 2, 5, 10).
QVexmarMenuItem *attackRow(SettingsRig &rig, int kind, int pageId = 206)
{
    QVexmarMenuItems *page = rig.pushPage(pageId);
    QVexmarMenuItem *row = rig.addRow(page, 213, kind, QStringLiteral("Attack Time"));
    if (kind != QVexmarMenuItem::Text && kind != QVexmarMenuItem::Switch) {
        for (int value : {2, 5, 10})
            row->addOption(value, QStringLiteral("%1 ms").arg(value));
    }
    return row;
}

} // namespace

// Nothing connected: nothing is sent and nothing waits for an answer; the zone is the default.
void TestSettingsPage::builtWithoutDevice()
{
    SettingsRig rig;
    QVERIFY(rig.device.listen());
    QElapsedTimer clock;
    clock.start();
    QVexmarSettingsPage page;
    QVERIFY(clock.elapsed() < 1000);
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
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

// A change during a call is refused before anything is sent, and the row shows the model's value again.
void TestSettingsPage::callGuard_data()
{
    QTest::addColumn<QByteArray>("network"); // of the call; empty for none
    QTest::addColumn<bool>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("popup");
    const QString refusal = QStringLiteral("Cannot apply changes\n(a connection is established)");
    QTest::newRow("no call") << QByteArray() << false << QStringLiteral("Attack Time | 5 ms | 2 ms, *5 ms, 10 ms")
                             << QString();
    QTest::newRow("call on the Ethernet")
        << QByteArray("eth.0") << false << QStringLiteral("Attack Time | 2 ms | *2 ms, 5 ms, 10 ms") << refusal;
    QTest::newRow("call on the mobile, a text row")
        << QByteArray("mobile.0") << true << QStringLiteral("Attack Time | 2") << refusal;
}

void TestSettingsPage::callGuard()
{
    QFETCH(QByteArray, network);
    QFETCH(bool, text);
    QFETCH(QString, shown);
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
    const bool refused
        = text ? rig.page()->refusedDuringCall(row, QStringLiteral("2")) : rig.page()->refusedDuringCall(row, 2);
    QCOMPARE(refused, !network.isEmpty());
    QCOMPARE(rig.rowText(213), shown);
    QCOMPARE(rig.popupText(), popup);
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

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
