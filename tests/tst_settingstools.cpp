// The Tools branch against the simulated device: the rows locked by level, the level changed with its password,
// the reboot, the programmable keys and the passwords page.

#include "device/vexmarsoftkeys.h"
#include "rpc/passwordcipher.h"
#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsTools : public QObject
{
    Q_OBJECT

private slots:
    void locks_data();
    void locks();
    void accessLevel_data();
    void accessLevel();
    void reboot_data();
    void reboot();
    void keyRows_data();
    void keyRows();
    void keyPage_data();
    void keyPage();
    void passwords_data();
    void passwords();
};

namespace {

// "188 191 192L ... audio grey": the rows of page 5, L for a locked one, and the Audio entry.
QByteArray toolsRows(SettingsRig &rig)
{
    QByteArrayList shown;
    for (QVexmarMenuItem *row : rig.current()->items())
        shown << QByteArray::number(row->id) + (row->isLocked() ? "L" : "");
    const bool greyed
        = rig.page()->entries->findEntry(QVexmarSettingsPage::AudioEntry)->state() == QVexmarMenuEntry::Disabled;
    return shown.join(' ') + (greyed ? " audio grey" : " audio normal");
}

// A level picked on row 191 as the user picks it. The level already shown is no change for the selection popup,
// so that pick reaches the dispatcher directly.
void pickLevel(SettingsRig &rig, int level)
{
    QVexmarMenuItem *row = rig.row(191);
    if (row->currentOption() == level) {
        row->selectOption(level, true, false);
        rig.page()->itemValueChanged(row);
        return;
    }
    rig.touch(row);
    QVERIFY(rig.answer(true, level));
}

// The Softkeys page opened from the Tools page at the Expert level, the docking station there or not.
bool openSoftkeys(SettingsRig &rig, bool docked)
{
    rig.device.setParam("general", "docking_detected", docked ? "yes" : "no");
    if (!rig.startSettings(1) || !rig.openPageId(QVexmar::SettingsTools))
        return false;
    rig.touch(192);
    return rig.pages() == QStringLiteral("5 192");
}

bool masked(SettingsRig &rig)
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(rig.popup());
    return keyboard && keyboard->lineEdit.echoMode() == QLineEdit::Password;
}

} // namespace

// Softkeys, Miscellaneous and Troubleshooting need the Expert level, Passwords the Administrator; Audio greys at
// the Operator level. A locked row does not open.
void TestSettingsTools::locks_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("picked"); // then picked on row 191 (no passwords); -1 none
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("operator") << 0 << -1 << QByteArray("188 191 192L 206L 225L 229L 236L audio grey");
    QTest::newRow("expert") << 1 << -1 << QByteArray("188 191 192 206 225 229 236L audio normal");
    QTest::newRow("administrator") << 2 << -1 << QByteArray("188 191 192 206 225 229 236 audio normal");
    QTest::newRow("administrator lowered to operator")
        << 2 << 0 << QByteArray("188 191 192L 206L 225L 229L 236L audio grey");
    QTest::newRow("operator raised to expert") << 0 << 1 << QByteArray("188 191 192 206 225 229 236L audio normal");
}

void TestSettingsTools::locks()
{
    QFETCH(int, level);
    QFETCH(int, picked);
    QFETCH(QByteArray, shown);
    SettingsRig rig;
    QVERIFY(rig.startSettings(level));
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    if (picked != -1)
        pickLevel(rig, picked);
    QCOMPARE(toolsRows(rig), shown);
    QCOMPARE(rig.rowText(188), QStringLiteral("Reboot | Restart the system"));
    for (QVexmarMenuItem *row : rig.current()->items()) {
        if (row->isLocked())
            rig.touch(row);
    }
    QCOMPARE(rig.pages(), QStringLiteral("5"));
}

// The level's password is read afresh and asked for exactly; without a fresh read only a lower level is granted.
void TestSettingsTools::accessLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("picked");
    QTest::addColumn<QStringList>("passwords"); // administrator, expert, operator
    QTest::addColumn<bool>("readFails");
    QTest::addColumn<QString>("typed"); // null: no keyboard expected, or cancelled when one opens
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("after");
    QTest::addColumn<QString>("popup");
    const QStringList none {QString(), QString(), QString()};
    const QStringList set {QStringLiteral("s3cret"), QStringLiteral("exp"), QString()};
    const QString wrong = QStringLiteral("Wrong password!");
    const QString failed = QStringLiteral("Failed to apply changes!");
    const auto row = [](const char *name, int level, int picked, const QStringList &passwords, bool readFails,
                         const QString &typed, bool asked, int after, const QString &popup) {
        QTest::newRow(name) << level << picked << passwords << readFails << typed << asked << after << popup;
    };
    row("no password: at once", 0, 2, none, false, QString(), false, 2, QString());
    row("administrator's password", 1, 2, set, false, QStringLiteral("s3cret"), true, 2, QString());
    row("expert's password for the administrator", 1, 2, set, false, QStringLiteral("exp"), true, 1, wrong);
    row("case counts", 1, 2, set, false, QStringLiteral("S3cret"), true, 1, wrong);
    row("empty entry", 1, 2, set, false, QStringLiteral(""), true, 1, wrong);
    row("cancelled", 1, 2, set, false, QString(), true, 1, QString());
    row("current level with a password still asks", 2, 2, set, false, QStringLiteral("s3cret"), true, 2, QString());
    row("lowering asks the lower level's password", 2, 1, set, false, QStringLiteral("exp"), true, 1, QString());
    row("read failed: raising refused", 0, 2, none, true, QString(), false, 0, failed);
    row("read failed: lowering granted", 2, 0, set, true, QString(), false, 0, QString());
    row("read failed: the held password still asked", 2, 1, set, true, QStringLiteral("exp"), true, 1, QString());
}

void TestSettingsTools::accessLevel()
{
    QFETCH(int, level);
    QFETCH(int, picked);
    QFETCH(QStringList, passwords);
    QFETCH(bool, readFails);
    QFETCH(QString, typed);
    QFETCH(bool, asked);
    QFETCH(int, after);
    QFETCH(QString, popup);
    SettingsRig rig;
    rig.device.setAccessPasswords(
        passwords.at(0).toStdString(), passwords.at(1).toStdString(), passwords.at(2).toStdString());
    QVERIFY(rig.startSettings(level));
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    const QString names[] = {QStringLiteral("Operator"), QStringLiteral("Expert"), QStringLiteral("Administrator")};
    const auto shows = [&names](int shown) {
        QStringList options;
        for (int i = 0; i < 3; ++i)
            options << (i == shown ? QStringLiteral("*") : QString()) + names[i];
        return QStringLiteral("Access Level | ") + names[shown] + QStringLiteral(" | ")
            + options.join(QStringLiteral(", "));
    };
    if (readFails)
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 5, "password_al"));
    rig.takeFrames();
    pickLevel(rig, picked);
    const QByteArray read = "PARAM|cat=ui|controller_id=quorvane_ui|target=db|type=quorvane_ui|GET password_al|GET "
                            "password_el|GET password_ol";
    QCOMPARE(rig.takeFrames(), QByteArrayList {read});
    QCOMPARE(rig.popupText(), asked ? QStringLiteral("Enter Password []") : popup);
    if (asked) {
        QVERIFY(masked(rig));
        // The level in force stays on the row while its password is asked.
        QCOMPARE(rig.rowText(191), shows(level));
        QVERIFY(rig.answer(!typed.isNull(), -1, typed));
        QCOMPARE(rig.popupText(), popup);
    }
    QCOMPARE(g_accessLevel, after);
    QCOMPARE(rig.rowText(191), shows(after));
    QCOMPARE(rig.row(236)->isLocked(), after != 2);
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

void TestSettingsTools::reboot_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::newRow("cancelled") << false << false << QByteArrayList() << QString();
    QTest::newRow("confirmed") << true << false << QByteArrayList {"DO|action=reboot"} << QString();
    QTest::newRow("refused") << true << true << QByteArrayList {"DO|action=reboot"}
                             << QStringLiteral("Failed to proceed!");
}

void TestSettingsTools::reboot()
{
    QFETCH(bool, ok);
    QFETCH(bool, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(rig.startSettings(0));
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    if (refused)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "reboot"));
    rig.takeFrames();
    rig.touch(188);
    QCOMPARE(rig.popupText(), QStringLiteral("Are you sure you want to restart the system?"));
    QVERIFY(rig.answer(ok));
    // The device answers before it goes down: the request is all there is.
    QCOMPARE(rig.takeFrames(), frames);
    QCOMPARE(rig.page()->messagePopup ? rig.page()->messagePopup->text : QString(), popup);
}

// Four keys alone, six docked, each showing its category and function as the model holds them.
void TestSettingsTools::keyRows_data()
{
    QTest::addColumn<bool>("docked");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("undocked") << false
                              << QStringList {"193 Programmable Key 1 | Shortcuts [ Home ]",
                                     "194 Programmable Key 2 | Shortcuts [ Mixer ]",
                                     "195 Programmable Key 3 | Contacts [ Contact 1 ]",
                                     "196 Programmable Key 4 | Info [ Info 1 ]"};
    QTest::newRow("docked") << true
                            << QStringList {"197 Programmable Key 1 | Shortcuts [ Tools ]",
                                   "198 Programmable Key 2 | Contacts [ Contact 2 ]",
                                   "199 Programmable Key 3 | Talk to Stream [ 2 Talk Stream1R ]",
                                   "200 Programmable Key 4 | None",
                                   "201 Programmable Key TBA | Talk to Stream [ A Talk Stream1R ]",
                                   "202 Programmable Key TBB | None"};
}

void TestSettingsTools::keyRows()
{
    QFETCH(bool, docked);
    QFETCH(QStringList, rows);
    SettingsRig rig;
    QVERIFY(openSoftkeys(rig, docked));
    QStringList shown;
    for (QVexmarMenuItem *row : rig.current()->items())
        shown << QString::number(row->id) + QLatin1Char(' ') + SettingsRig::rowText(row);
    QCOMPARE(shown, rows);
}

// A choice goes to the key's model, which writes it; the page then shows what the model holds, and so does the
// key's row once the user is back.
void TestSettingsTools::keyPage_data()
{
    QTest::addColumn<bool>("docked");
    QTest::addColumn<int>("key"); // its row on page 192
    QTest::addColumn<int>("choiceRow"); // -1: no choice
    QTest::addColumn<int>("choice");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QStringList>("rows"); // 203-205, " L" after a locked one
    QTest::addColumn<QString>("back"); // the key's row on page 192
    const QString categories
        = QStringLiteral("None, %1Shortcuts, %2Contacts, Info, %3Talk to Stream, %4Talk to Speaker");
    const QString shortcuts = QStringLiteral("Home, Mixer, Inputs, Network, Coding, Audio, Book, Tools, Status");
    const QStringList asRead {QStringLiteral("Category | Shortcuts | ") + categories.arg("*", "", "", ""),
        QStringLiteral("Function | Home | ") + QString(shortcuts).replace("Home", "*Home"),
        QStringLiteral("Mode | Pulse | *Pulse L")};
    QTest::newRow("as read") << false << 193 << -1 << 0 << false << QByteArrayList() << asRead
                             << QStringLiteral("Programmable Key 1 | Shortcuts [ Home ]");
    QTest::newRow("function") << false << 193 << 204 << 0x0303 << false
                              << QByteArrayList {"PARAM|softkey1=C00F03B03|target=general"}
                              << QStringList {asRead.at(0),
                                     QStringLiteral("Function | Inputs | ")
                                         + QString(shortcuts).replace("Inputs", "*Inputs"),
                                     asRead.at(2)}
                              << QStringLiteral("Programmable Key 1 | Shortcuts [ Inputs ]");
    QTest::newRow("a category of one function")
        << false << 193 << 203 << 4 << false << QByteArrayList {"PARAM|softkey1=C04F01B01|target=general"}
        << QStringList {QStringLiteral("Category | Talk to Speaker | ") + categories.arg("", "", "", "*"),
               QStringLiteral("Function | 1 Talk 2 | *1 Talk 2 L"), QStringLiteral("Mode | Temporary | *Temporary L")}
        << QStringLiteral("Programmable Key 1 | Talk to Speaker [ 1 Talk 2 ]");
    QTest::newRow("no category") << false << 193 << 203 << -1 << false
                                 << QByteArrayList {"PARAM|softkey1=|target=general"}
                                 << QStringList {QStringLiteral("Category | None | *") + categories.arg("", "", "", ""),
                                        QStringLiteral("Function | None | *None L"),
                                        QStringLiteral("Mode | Not Applicable | *Not Applicable L")}
                                 << QStringLiteral("Programmable Key 1 | None");
    QTest::newRow("refused: the model's key again")
        << false << 193 << 203 << 1 << true << QByteArrayList {"PARAM|softkey1=C01F01B02|target=general"} << asRead
        << QStringLiteral("Programmable Key 1 | Shortcuts [ Home ]");
    QTest::newRow("docked key 1 talks to a stream")
        << true << 197 << 203 << 3 << false << QByteArrayList {"PARAM|softkey5=C03F01B01|target=general"}
        << QStringList {QStringLiteral("Category | Talk to Stream | ") + categories.arg("", "", "*", "")
                   + QStringLiteral(", Talk to Output"),
               QStringLiteral("Function | 1 Talk Stream1R | *1 Talk Stream1R, 1 Talk Stream2L, 1 Talk Stream2R, 1 "
                              "Talk Voice, A Talk Stream1R, A Talk Stream2L, A Talk Stream2R, A Talk Voice"),
               QStringLiteral("Mode | Temporary | *Temporary L")}
        << QStringLiteral("Programmable Key 1 | Talk to Stream [ 1 Talk Stream1R ]");
    QTest::newRow("TBA: talk categories only")
        << true << 201 << -1 << 0 << false << QByteArrayList()
        << QStringList {QStringLiteral("Category | Talk to Stream | None, *Talk to Stream, Talk to Output"),
               QStringLiteral("Function | A Talk Stream1R | *A Talk Stream1R, A Talk Stream2L, A Talk Stream2R, A "
                              "Talk Voice"),
               QStringLiteral("Mode | Temporary | *Temporary L")}
        << QStringLiteral("Programmable Key TBA | Talk to Stream [ A Talk Stream1R ]");
}

void TestSettingsTools::keyPage()
{
    QFETCH(bool, docked);
    QFETCH(int, key);
    QFETCH(int, choiceRow);
    QFETCH(int, choice);
    QFETCH(bool, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QStringList, rows);
    QFETCH(QString, back);
    SettingsRig rig;
    QVERIFY(openSoftkeys(rig, docked));
    rig.touch(key);
    QCOMPARE(rig.pages(), QStringLiteral("5 192 %1").arg(key));
    if (refused)
        rig.device.refuseKey("softkey" + std::to_string(key - 192), "103-parameter set error");
    rig.takeFrames();
    if (choiceRow != -1) {
        rig.touch(choiceRow);
        QVERIFY(rig.answer(true, choice));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QStringList shown;
    for (int id : {203, 204, 205})
        shown << rig.rowText(id) + (rig.row(id)->isLocked() ? " L" : "");
    QCOMPARE(shown, rows);
    rig.back();
    QCOMPARE(rig.rowText(key), back);
}

// A password typed on the page goes to the device enciphered and is the one the level row asks for next; a
// refusal leaves the row as the copy held.
void TestSettingsTools::passwords_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("refusedKey");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("sentKey"); // empty: nothing sent
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("picked"); // then, on page 5; -1: none
    QTest::addColumn<bool>("asked");
    const QString failed = QStringLiteral("Failed to apply changes!");
    QTest::newRow("expert's new password, then asked for")
        << 238 << QByteArray() << QStringLiteral("n3w") << QByteArray("password_el") << QString()
        << QStringLiteral("n3w") << 1 << true;
    QTest::newRow("operator's cleared, then none asked")
        << 239 << QByteArray() << QString("") << QByteArray("password_ol") << QString() << QString("") << 0 << false;
    QTest::newRow("refused") << 237 << QByteArray("password_al") << QStringLiteral("n3w") << QByteArray("password_al")
                             << failed << QStringLiteral("adm") << -1 << false;
    QTest::newRow("outside Latin-1") << 237 << QByteArray() << QString::fromUtf8("\xc5\x82") << QByteArray() << failed
                                     << QStringLiteral("adm") << -1 << false;
}

void TestSettingsTools::passwords()
{
    QFETCH(int, row);
    QFETCH(QByteArray, refusedKey);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sentKey);
    QFETCH(QString, popup);
    QFETCH(QString, shown);
    QFETCH(int, picked);
    QFETCH(bool, asked);
    SettingsRig rig;
    rig.device.setAccessPasswords("adm", "exp", "op");
    QVERIFY(rig.startSettings(2));
    QVERIFY(rig.openPageId(QVexmar::SettingsTools));
    rig.touch(236);
    QCOMPARE(rig.pages(), QStringLiteral("5 236"));
    QStringList rows;
    for (QVexmarMenuItem *item : rig.current()->items())
        rows << SettingsRig::rowText(item) + (qobject_cast<QPwdLabel *>(item->valueLabel) ? " (masked)" : "");
    QCOMPARE(rows,
        (QStringList {"Administrator Password | adm (masked)", "Expert Password | exp (masked)",
            "Operator Password | op (masked)"}));
    if (!refusedKey.isEmpty())
        rig.device.refuseKey(refusedKey.toStdString(), "103-parameter set error");
    rig.takeFrames();
    rig.touch(row);
    QVERIFY(masked(rig));
    QVERIFY(rig.answer(true, -1, typed));
    const QByteArrayList frames = rig.framesAfterRoundTrip();
    QCOMPARE(frames.size(), sentKey.isEmpty() ? 0 : 1);
    if (!sentKey.isEmpty()) {
        const QByteArray prefix = "PARAM|cat=ui|controller_id=quorvane_ui|" + sentKey + "=";
        QVERIFY(frames.first().startsWith(prefix));
        QVERIFY(frames.first().endsWith("|target=db|type=quorvane_ui"));
        const QByteArray sent = frames.first().mid(prefix.size()).split('|').first();
        QCOMPARE(sent.isEmpty(), typed.isEmpty());
        QCOMPARE(QString::fromLatin1(QByteArray::fromStdString(decryptPasswordString(sent.toStdString()))), typed);
    }
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.rowText(row).section(QStringLiteral(" | "), 1), shown);
    if (picked == -1)
        return;
    rig.back();
    pickLevel(rig, picked);
    QCOMPARE(rig.popupText(), asked ? QStringLiteral("Enter Password []") : QString());
    if (asked)
        QVERIFY(rig.answer(true, -1, typed));
    QCOMPARE(g_accessLevel, picked);
}

QTEST_MAIN(TestSettingsTools)
#include "tst_settingstools.moc"
