// The settings page's answers to touches and notices: the confirmations of the Book and Tools, the operator scan's
// refusals, the call profile load's question, a wheel put back, back onto a stored call profile's list, the refresh
// message and the Ethernet "config info".

#include "tests/settingstesting.h"

#include <QPointer>

using namespace settingstesting;

class TestSettingsPageClicks : public QObject
{
    Q_OBJECT

private slots:
    void confirmations_data();
    void confirmations();
    void scanRow_data();
    void scanRow();
    void callProfileLoad_data();
    void callProfileLoad();
    void selectionPopups_data();
    void selectionPopups();
    void wheelPutBack();
    void callProfileListRebuilt();
    void refreshMessage();
    void configInfo_data();
    void configInfo();
};

// What a touch on a row of the Book and Tools asks before anything happens.
void TestSettingsPageClicks::confirmations_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<int>("pageGroup");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<int>("rowGroup");
    QTest::addColumn<QString>("question");
    const auto row = [](const char *name, int pageId, int pageGroup, int rowId, int rowGroup, const char *question) {
        QTest::newRow(name) << pageId << pageGroup << rowId << rowGroup << QString::fromUtf8(question);
    };
    row("load preset", 175, 171, 184, 300, "Load the preset?");
    row("load SIP profile", 175, 172, 184, 299, "Load the SIP profile?");
    row("load snapshot", 175, 173, 184, 305, "Load the snapshot?");
    row("load call profile", 175, 170, 184, 301, "Load the call profile?");
    row("update preset", 175, 171, 185, 300, "Update the preset?");
    row("update snapshot", 175, 173, 185, 300, "Update the snapshot?");
    row("no update of a SIP profile", 175, 172, 185, 300, "");
    row("delete call profile", 175, 170, 186, 300, "Delete the call profile?");
    row("delete preset", 175, 171, 186, 300, "Delete the preset?");
    row("delete SIP profile", 175, 172, 186, 300, "Delete the SIP profile?");
    row("delete snapshot", 175, 173, 186, 300, "Delete the snapshot?");
    row("new record: not yet stored", 175, 171, 186, 298, "");
    row("new record: no group", 175, 173, 184, -1, "");
    row("list row: load preset", 171, -1, 300, 171, "Load the preset?");
    row("list row: load SIP profile", 172, -1, 299, 172, "Load the SIP profile?");
    row("list row: load snapshot", 173, -1, 301, 173, "Load the snapshot?");
    row("shutdown", 5, -1, 187, -1, "Are you sure you want to bring the system down?");
    row("restart", 5, -1, 188, -1, "Are you sure you want to restart the system?");
}

void TestSettingsPageClicks::confirmations()
{
    QFETCH(int, pageId);
    QFETCH(int, pageGroup);
    QFETCH(int, rowId);
    QFETCH(int, rowGroup);
    QFETCH(QString, question);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(QVexmarSettingsPage::BookEntry);
    rig.page()->editedProfile.name = QStringLiteral("Studio");
    rig.page()->editedProfile.coding.algorithm = 3;
    QVexmarMenuItems *page = rig.pushPage(pageId, pageGroup);
    rig.addRow(page, rowId, QVexmarMenuItem::Action, QStringLiteral("Row"), rowGroup);
    rig.touch(rowId);
    QCOMPARE(rig.popupText(), question);
    if (!question.isEmpty()) {
        auto *message = qobject_cast<QVexmarMessage *>(rig.popup());
        QVERIFY(message && message->okButton && message->cancelButton);
        QVERIFY(rig.answer(false));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// The operator scan of a mobile page is refused while the interface carries a call or a data link.
void TestSettingsPageClicks::scanRow_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("call");
    QTest::addColumn<QString>("shown");
    const QString confirm = QStringLiteral("This may take a while\n\nAre you sure to proceed?");
    QTest::newRow("call on the interface")
        << 16 << QByteArray("mobile.0") << QStringLiteral("Cannot change setting\n(a connection is established)");
    QTest::newRow("data link on the interface")
        << 16 << QByteArray() << QStringLiteral("Cannot change setting\n(the data service is active)");
    QTest::newRow("neither on the second interface") << 17 << QByteArray() << confirm;
    QTest::newRow("call elsewhere, second interface") << 17 << QByteArray("eth.0") << confirm;
}

void TestSettingsPageClicks::scanRow()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, call);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVERIFY(getDevice()->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, "mobile.0"));
    if (!call.isEmpty())
        QVERIFY(rig.callOn(call));
    rig.touchEntry(QVexmarSettingsPage::NetworkEntry);
    rig.addRow(rig.pushPage(pageId), 44, QVexmarMenuItem::Action, QStringLiteral("Preferred Network Operator"));
    rig.touch(44);
    QCOMPARE(rig.popupText(), shown);
}

// A call profile's load asks for the streamer only where it can go to either.
void TestSettingsPageClicks::callProfileLoad_data()
{
    QTest::addColumn<int>("opener"); // page id the window opened the menu with
    QTest::addColumn<int>("codecMode");
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<QString>("question");
    const QString plain = QStringLiteral("Load the call profile?");
    const QString choice = QStringLiteral("Load the call profile?: *Streamer 1, Streamer 2");
    QTest::newRow("double codec from the Book") << 25 << 1 << 3 << choice;
    QTest::newRow("double codec for line 1") << 26 << 1 << 3 << plain;
    QTest::newRow("double codec for line 2") << 27 << 1 << 3 << plain;
    QTest::newRow("double codec for the voice line") << 28 << 1 << 3 << choice;
    QTest::newRow("mobile voice from the Book") << 25 << 1 << 17 << plain;
    QTest::newRow("single codec from the Book") << 25 << 0 << 3 << plain;
}

void TestSettingsPageClicks::callProfileLoad()
{
    QFETCH(int, opener);
    QFETCH(int, codecMode);
    QFETCH(int, algorithm);
    QFETCH(QString, question);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    getDevice()->setCodecMode(codecMode, false);
    QVERIFY(rig.openPageId(opener));
    QVexmarSettingsPage *settings = rig.page();
    settings->editedProfile.name = QStringLiteral("Studio");
    settings->editedProfile.coding.algorithm = algorithm;
    rig.addRow(rig.pushPage(175, 170), 184, QVexmarMenuItem::Action, QStringLiteral("Load"), 300);
    rig.touch(184);
    QCOMPARE(rig.popupText(), question);
    // An invalid profile is not offered for loading.
    rig.closePopups();
    settings->editedProfile.name.clear();
    rig.touch(184);
    QCOMPARE(rig.popupText(), QString());
}

// The Wi-Fi network row and the reset row open a selection of their options, without a title.
void TestSettingsPageClicks::selectionPopups_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("shown");
    QTest::newRow("Wi-Fi networks") << 20 << 61 << QStringLiteral(": Studio, *Office");
    QTest::newRow("resets") << 225 << 228 << QStringLiteral(": Studio, *Office");
    QTest::newRow("Wi-Fi row on another page") << 225 << 61 << QString();
    QTest::newRow("reset row on another page") << 20 << 228 << QString();
}

void TestSettingsPageClicks::selectionPopups()
{
    QFETCH(int, pageId);
    QFETCH(int, rowId);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(QVexmarSettingsPage::ToolsEntry);
    QVexmarMenuItem *row = rig.addRow(rig.pushPage(pageId), rowId, QVexmarMenuItem::Action);
    row->addOption(0, QStringLiteral("Studio"));
    row->addOption(1, QStringLiteral("Office"));
    row->selectOption(1, false, true);
    rig.touch(row);
    QCOMPARE(rig.popupText(), shown);
}

// A wheel turned and left in edit state shows its committed option again when its row is touched.
void TestSettingsPageClicks::wheelPutBack()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    QVexmarMenuItem *row = rig.addRow(rig.pushPage(206), 212, QVexmarMenuItem::Wheel, QStringLiteral("Attempts"));
    for (int value : {0, 3, 5})
        row->addOption(value, QString::number(value));
    row->selectOption(3, true, false);
    QCoreApplication::processEvents();
    row->wheel->setChecked(true);
    row->wheel->setValue(2);
    row->valueLabel->setText(QStringLiteral("5"));
    rig.touch(row);
    QVERIFY(!row->wheel->isChecked());
    QCOMPARE(row->wheel->value(), 1);
    QCOMPARE(rig.rowText(212), QStringLiteral("Attempts | 3 | 0, *3, 5"));
    QCOMPARE(SettingsRig::rowColour(row), QStringLiteral("blue"));
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// Back from a stored call profile onto its list rebuilds the list once.
void TestSettingsPageClicks::callProfileListRebuilt()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(QVexmarSettingsPage::BookEntry);
    rig.addRow(rig.current(), 170, QVexmarMenuItem::SubMenu, QStringLiteral("Call Profiles"));
    rig.touch(170);
    QPointer<QVexmarMenuItems> list = rig.current();
    QCOMPARE(rig.pages(), QStringLiteral("4 170"));
    rig.pushPage(175, 170);
    rig.page()->callProfilesChanged = true;
    rig.back();
    QCOMPARE(rig.pages(), QStringLiteral("4 170"));
    QVERIFY(rig.current() != list);
    QVERIFY(!rig.page()->callProfilesChanged);
    QTRY_VERIFY(!list);
    list = rig.current();
    rig.pushPage(175, 170);
    rig.back();
    QCOMPARE(rig.current(), list.data());
    // A preset page is no call profile.
    rig.pushPage(175, 171);
    rig.page()->callProfilesChanged = true;
    rig.back();
    QCOMPARE(rig.current(), list.data());
    QVERIFY(rig.page()->callProfilesChanged);
}

void TestSettingsPageClicks::refreshMessage()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(QVexmarSettingsPage::StatusEntry);
    rig.refresh();
    QCOMPARE(rig.popupText(), QStringLiteral("Refreshing..."));
    auto *message = qobject_cast<QVexmarMessage *>(rig.popup());
    QVERIFY(message && message->timer.isActive());
    QCOMPARE(message->timer.interval(), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.popupText(), QString(), 3000);
}

// An Ethernet "config info" reaches the page's Ethernet copy only on the Status page and the Ethernet pages; the
// copy takes the values the event carries.
void TestSettingsPageClicks::configInfo_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("event");
    QTest::addColumn<QString>("bound"); // the copy's interface afterwards
    QTest::addColumn<bool>("reads"); // the page re-reads the device after the event
    QTest::addColumn<QString>("address"); // the copy's address afterwards; null: not looked at
    const QByteArray eth1 = "EVENT;event_type:config info;network:eth.1;ip_addr:10.1.1.7;";
    // The Status page's own row of eth.0 binds the copy when the page is built.
    QTest::newRow("status page") << 6 << eth1 << QStringLiteral("eth.1") << false << QString();
    QTest::newRow("status page, the event's address")
        << 6 << QByteArray("EVENT;event_type:config info;network:eth.1;local_addr:10.1.1.8;") << QStringLiteral("eth.1")
        << false << QStringLiteral("10.1.1.8");
    QTest::newRow("status page, Wi-Fi") << 6 << QByteArray("EVENT;event_type:config info;network:wifi.0;")
                                        << QStringLiteral("eth.0") << false << QString();
    QTest::newRow("Ethernet page, copy not attached") << 12 << eth1 << QString() << false << QString();
    QTest::newRow("audio page") << 3 << eth1 << QString() << false << QString();
    QTest::newRow("status page, other event") << 6 << QByteArray("EVENT;event_type:default_network;network:eth.1;")
                                              << QStringLiteral("eth.0") << true << QString();
}

void TestSettingsPageClicks::configInfo()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, event);
    QFETCH(QString, bound);
    QFETCH(bool, reads);
    QFETCH(QString, address);
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    rig.touchEntry(pageId < 7 ? pageId : int(QVexmarSettingsPage::NetworkEntry));
    if (pageId >= 7)
        rig.pushPage(pageId);
    rig.takeFrames();
    QVERIFY(rig.deliver({event}));
    QCOMPARE(QString::fromStdString(rig.page()->ethernetCopy()->interfaceName()), bound);
    if (!address.isNull())
        QCOMPARE(QString::fromStdString(rig.page()->ethernetCopy()->localAddr()), address);
    // Bound without a fetch: the event carries the values.
    if (!bound.isEmpty())
        QCOMPARE(rig.framesAfterRoundTrip().isEmpty(), !reads);
}

QTEST_MAIN(TestSettingsPageClicks)
#include "tst_settingspageclicks.moc"
