// The login page and the home page against the simulated device: the device and firmware checks, the level
// passwords through the keyboard, what a login resets and asks; the home page's page buttons by access level and
// its F keys by the device's soft keys and docking.

#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "device/vexmarsoftkeys.h"
#include "pages/vexmaraoipcallpage.h"
#include "screen/vexmarloginpage.h"
#include "screen/vexmarmainpage.h"
#include "settings/vexmarsettingspage.h"
#include "tests/screentesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>
#include <QtTest>

using namespace screentesting;

namespace {

const QByteArray fDeviceQuery = "PARAM|target=general|GET device|GET version|GET builddate";
const QByteArray fPasswords = "PARAM|cat=ui|controller_id=quorvane_ui|target=db|type=quorvane_ui|GET password_al|GET "
                              "password_el|GET password_ol";
const QByteArray fTabname = "PARAM|cat=ui|controller_id=web|target=db|type=quorvane_ui|GET tabname";
// Set in init: what a rejected device leaves in place.
constexpr unsigned earlierFirmware = 0x010203;
const QByteArray notice = "Newer firmware detected on this\nunit (Version %1)\n\nAn update of the \"My Quorvane\" "
                          "application is recommended to access all the features of the device";

QVexmarVirtual *openKeyboard(QVexmarLoginPage *page)
{
    for (QVexmarVirtual *keyboard : page->findChildren<QVexmarVirtual *>()) {
        if (keyboard->isVisible())
            return keyboard;
    }
    return nullptr;
}

QByteArray popupText(QVexmarWindow &window)
{
    return window.messagePopup() ? window.messagePopup()->text.toUtf8() : QByteArray("none");
}

// F1..F4 as they show: the text, '*' for the press-and-release variant.
QByteArray keysShown(QVexmarMainPage *page)
{
    QByteArrayList keys;
    for (int key = 0; key < QVexmarMainPage::functionKeys; ++key) {
        QVexmarButton *shown = page->softKeyButtons.value(key);
        const bool push = shown == page->softKeyPush[key];
        QVexmarButton *other = push ? page->softKeyClick[key] : page->softKeyPush[key];
        if (shown->isHidden() || !shown->isEnabled() || !other->isHidden() || other->isEnabled())
            return "F" + QByteArray::number(key + 1) + " shows both or neither";
        keys << shown->text().toUtf8() + (push ? "*" : "");
    }
    return keys.join(" | ");
}

} // namespace

class TestVexmarLogin : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void login_data();
    void login();
    void loginResetsAndSetsUp();
    void pageButtons_data();
    void pageButtons();
    void functionKeys_data();
    void functionKeys();
    void microphones_data();
    void microphones();
};

void TestVexmarLogin::init()
{
    g_deviceFirmwareVersion = earlierFirmware;
    // A new home page starts from F1..F4: the mirror starts from nothing too.
    for (int n = 1; n <= QVexmarSoftkeys::keyCount; ++n)
        getSoftkeys()->applyValue("softkey" + std::to_string(n), "");
}

void TestVexmarLogin::cleanup()
{
    g_accessLevel = 0;
}

void TestVexmarLogin::login_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("fault"); // "<word>": an error reply for the first request naming it
    QTest::addColumn<int>("level"); // the switch chosen
    QTest::addColumn<QByteArray>("typed"); // "-" no keyboard expected, "cancel", "drop:<text>", or the text
    QTest::addColumn<QByteArray>("popup");
    QTest::addColumn<int>("loggedIn"); // the level afterwards; -1: not logged in
    QTest::addColumn<unsigned>("firmware");
    const QByteArray none = "none";
    const auto row = [](const char *name, const QByteArray &setup, int level, const QByteArray &typed,
                         const QByteArray &popup, int loggedIn, unsigned firmware, const QByteArray &fault = {}) {
        dataRow(name, setup, fault, level, typed, popup, loggedIn, firmware);
    };

    row("operator, no password", {}, 0, "-", none, 0, 0x010104);
    row("product word capitalised", "general device=Quorvane", 0, "-", "Remote device is not\na Quorvane!", -1,
        earlierFirmware);
    row("no product word", "general device=", 0, "-", "Remote device is not\na Quorvane!", -1, earlierFirmware);
    row("patch newer: no notice", "general version=1.01.99.0", 0, "-", none, 0, 0x010163);
    row("minor newer: notice, logged in", "general version=1.02.00.0", 0, "-",
        QString::fromLatin1(notice).arg("1.02.00.0").toUtf8(), 0, 0x010200);
    row("minor 08 is eight", "general version=1.08.00.0", 0, "-", QString::fromLatin1(notice).arg("1.08.00.0").toUtf8(),
        0, 0x010800);
    row("empty version: unknown, no notice", "general version=", 0, "-", none, 0, 0xFFFFFF);
    row("expert, right password", {}, 1, "secret", none, 1, 0x010104);
    row("expert, wrong password", {}, 1, "Secret", "Wrong password!", -1, 0x010104);
    row("expert, empty text", {}, 1, "", "Wrong password!", -1, 0x010104);
    row("expert, keyboard cancelled", {}, 1, "cancel", none, -1, 0x010104);
    row("administrator without a password", "db:ui:quorvane_ui password_al=", 2, "-", none, 2, 0x010104);
    row("device query refused", {}, 0, "-", "Not connected!", -1, earlierFirmware, "builddate");
    // Not even the Operator: an earlier device's passwords, or none, must not decide.
    row("passwords not read", {}, 0, "-", "Not connected!", -1, 0x010104, "password_al");
    row("connection gone while typing", {}, 1, "drop:secret", "Not connected!", -1, 0x010104);
    row("not connected", "not connected", 0, "-", "Not connected!", -1, earlierFirmware);
}

void TestVexmarLogin::login()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, fault);
    QFETCH(int, level);
    QFETCH(QByteArray, typed);
    QFETCH(QByteArray, popup);
    QFETCH(int, loggedIn);
    QFETCH(unsigned, firmware);
    ScreenRig rig;
    rig.device.setAccessPasswords("root", "secret", "");
    rig.device.loadSetup(setup);
    QVERIFY(rig.start());
    if (!fault.isEmpty()) {
        SimDevice::Fault refusal = screentesting::fault(SimDevice::Fault::ErrorReply, 7);
        refusal.match = fault.toStdString();
        rig.device.addFault(refusal);
    }
    if (setup == "not connected")
        getCom()->disconnectFromDevice();
    QVexmarWindow &window = *rig.window;
    window.show();
    QVexmarLoginPage *page = window.loginPage();
    QVexmarSwitch *switches[] = {page->operatorSwitch, page->expertSwitch, page->administratorSwitch};
    // The level in force is on and cannot be chosen again.
    QCOMPARE(switches[0]->isChecked() && !switches[0]->isEnabled(), true);
    if (level != 0)
        switches[level]->click();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(switches[i]->isChecked(), i == level);

    page->loginButton->click();
    QVexmarVirtual *keyboard = openKeyboard(page);
    QCOMPARE(keyboard != nullptr, typed != "-");
    if (keyboard) {
        QCOMPARE(keyboard->titleLabel.text(), QStringLiteral("Enter Password"));
        QCOMPARE(keyboard->lineEdit.echoMode(), QLineEdit::Password);
        if (typed.startsWith("drop:")) {
            getCom()->disconnectFromDevice();
            typed = typed.mid(5);
        }
        if (typed == "cancel") {
            keyboard->keys[28]->click();
        } else {
            keyboard->lineEdit.setText(QString::fromUtf8(typed));
            keyboard->keys[31]->click();
        }
        QVERIFY(!openKeyboard(page));
    }
    QCOMPARE(popupText(window), popup);
    QCOMPARE(g_accessLevel, loggedIn < 0 ? 0 : loggedIn);
    QCOMPARE(window.currentPage(), loggedIn < 0 ? 0 : 1);
    QCOMPARE(window.statusBar()->isVisible(), loggedIn >= 0);
    QCOMPARE(g_deviceFirmwareVersion, firmware);
}

// After the checks the login names the device to the main window, sets the pages back and starts the set-up.
void TestVexmarLogin::loginResetsAndSetsUp()
{
    ScreenRig rig;
    rig.device.loadSetup("db:ui:quorvane_ui tabname=R\xc3\xa9gie 2");
    QVERIFY(rig.start());
    // The set-up's read of the screen's own values, refused: what is reset stays so.
    SimDevice::Fault refusal = fault(SimDevice::Fault::ErrorReply, 7);
    refusal.match = "remote_aoip1";
    rig.device.addFault(refusal);
    QVexmarWindow &window = *rig.window;
    window.aoipCallPage(1)->setCallText(1, QStringLiteral("Call in progress..."));
    window.aoipCallPage(2)->setCallPanelText(2, QStringLiteral("4711"), 0);
    window.mainPage()->setInfoActive(1, true);
    QSignalSpy named(&window, &QVexmarWindow::loginClicked);
    window.loginPage()->loginButton->click();

    QCOMPARE(named.count(), 1);
    QCOMPARE(named.first().first().toString(), QStringLiteral("R\u00e9gie 2"));
    QCOMPARE(window.aoipCallPage(1)->findChild<QLabel *>("callTextLabel")->text(), QStringLiteral("Idle"));
    QCOMPARE(window.aoipCallPage(2)->callPanelText(2, 0), QString());
    QVERIFY(!window.mainPage()->isInfoActive(1));
    QVERIFY(window.setupTimer()->isActive());
    QVERIFY(getDevice()->isReady());
    QByteArrayList asked;
    for (const QByteArray &frame : rig.takeFrames()) {
        if (frame == "PARAM|target=general|LIST device_opts")
            asked << "model";
        else if (QByteArrayList {fDeviceQuery, fPasswords, fTabname}.contains(frame))
            asked << frame;
    }
    QCOMPARE(asked, (QByteArrayList {fDeviceQuery, fPasswords, fTabname, fPasswords, "model"}));
}

void TestVexmarLogin::pageButtons_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("button"); // index of the home page's page buttons
    QTest::addColumn<QByteArray>("shown"); // "<page> entry <settings entry>"
    dataRow("Stream 1", 1, 0, QByteArray("2 entry -1"));
    dataRow("Voice", 1, 1, QByteArray("4 entry -1"));
    dataRow("Mixer", 1, 2, QByteArray("6 entry -1"));
    dataRow("Audio", 2, 3, QByteArray("5 entry -1"));
    dataRow("Settings", 1, 4, QByteArray("16 entry 1"));
    dataRow("Tools", 0, 5, QByteArray("16 entry 5"));
    dataRow("Stream 2", 1, 6, QByteArray("3 entry -1"));
    dataRow("an empty button", 1, 7, QByteArray("1 entry -1"));
    dataRow("Status", 0, 10, QByteArray("16 entry 6"));
    dataRow("Mixer at the Operator level", 0, 2, QByteArray("1 entry -1"));
    dataRow("Audio at the Operator level", 0, 3, QByteArray("1 entry -1"));
}

void TestVexmarLogin::pageButtons()
{
    QFETCH(int, level);
    QFETCH(int, button);
    QFETCH(QByteArray, shown);
    g_accessLevel = level;
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarWindow &window = *rig.window;
    window.show();
    QVexmarMainPage *home = window.mainPage();
    // Mixer and Audio open from the Expert level on, and say so by their labels.
    const QColor label = level == 0 ? QColor(127, 127, 127) : QColor(Qt::white);
    for (const int i : {2, 3}) {
        QCOMPARE(home->pageButtons[i]->isEnabled(), level != 0);
        QCOMPARE(home->pageLabels[i]->palette().color(QPalette::WindowText), label);
    }
    QTest::mouseClick(home->pageButtons[button], Qt::LeftButton);
    QCOMPARE(QByteArray::number(window.currentPage()) + " entry "
            + QByteArray::number(window.currentPage() == 16 ? window.settingsPage()->currentEntryId : -1),
        shown);
}

void TestVexmarLogin::functionKeys_data()
{
    QTest::addColumn<bool>("docked");
    QTest::addColumn<QByteArrayList>("changes"); // "softkeyN:value" from the device, one change set each
    QTest::addColumn<QByteArray>("keys");
    dataRow("undocked: keys 1-4", false, QByteArrayList {}, QByteArray("Home | Mixer | Contact 1 | Info 1"));
    dataRow("docked: keys 5-8", true, QByteArrayList {}, QByteArray("Tools | Contact 2 | 2 Talk Stream1R* | F4"));
    dataRow("talk on key 3: press and release", false, QByteArrayList {"softkey3:C03F05B01"},
        QByteArray("Home | Mixer | 2 Talk Stream1R* | Info 1"));
    dataRow("and back to a click", false, QByteArrayList {"softkey3:C03F05B01", "softkey3:C00F09B03"},
        QByteArray("Home | Mixer | Status | Info 1"));
    dataRow("undocked: key 6 not shown", false, QByteArrayList {"softkey6:C00F03B03"},
        QByteArray("Home | Mixer | Contact 1 | Info 1"));
    dataRow("docked: key 6 is F2", true, QByteArrayList {"softkey6:C00F03B03"},
        QByteArray("Tools | Inputs | 2 Talk Stream1R* | F4"));
    dataRow("docked: key 2 not shown", true, QByteArrayList {"softkey2:C00F03B03"},
        QByteArray("Tools | Contact 2 | 2 Talk Stream1R* | F4"));
    dataRow("talk to output undocked: no function", false, QByteArrayList {"softkey1:C05F00B01"},
        QByteArray("F1* | Mixer | Contact 1 | Info 1"));
    dataRow("none", false, QByteArrayList {"softkey2:"}, QByteArray("Home | F2 | Contact 1 | Info 1"));
    dataRow("docked: keys 9 and 10 have no button", true, QByteArrayList {"softkey9:C03F0AB01", "softkey10:C03F0DB01"},
        QByteArray("Tools | Contact 2 | 2 Talk Stream1R* | F4"));
}

void TestVexmarLogin::functionKeys()
{
    QFETCH(bool, docked);
    QFETCH(QByteArrayList, changes);
    QFETCH(QByteArray, keys);
    ScreenRig rig;
    rig.device.loadSetup(docked ? "general docking_detected=yes" : "general docking_detected=no");
    QVERIFY(rig.startSetUp());
    QByteArrayList bodies;
    for (const QByteArray &change : changes)
        bodies << "INFO;info_type:config_changeset;info_source:hcc;" + change + ";";
    QVERIFY(rig.deliver(bodies));
    QCOMPARE(keysShown(rig.window->mainPage()), keys);
    // What the device changed itself goes nowhere.
    QVERIFY(!rig.framesAfterRoundTrip().join().contains("softkey"));

    // Lit and dark again, whichever variant shows.
    QVexmarMainPage *home = rig.window->mainPage();
    for (int key = 0; key < QVexmarMainPage::functionKeys; ++key) {
        for (const bool active : {true, false}) {
            home->setSoftKeyActive(key, active);
            QCOMPARE(home->isSoftKeyActive(key), active);
        }
    }
}

void TestVexmarLogin::microphones_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("change"); // the device's own, of source "aic"
    QTest::addColumn<QByteArray>("mics");
    dataRow("both on when attached", QByteArray(), QByteArray(), QByteArray("on on"));
    dataRow("first off when attached", QByteArray("audio input1=off"), QByteArray(), QByteArray("off on"));
    dataRow("second switched off", QByteArray(), QByteArray("input2:off;"), QByteArray("on off"));
    dataRow("first switched on", QByteArray("audio input1=off"), QByteArray("input1:on;"), QByteArray("on on"));
}

// The microphones of the status bar follow the audio inputs 1 and 2.
void TestVexmarLogin::microphones()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, change);
    QFETCH(QByteArray, mics);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    if (!change.isEmpty())
        QVERIFY(rig.deliver({"INFO;info_type:audio_changeset;info_source:aic;" + change}));
    QByteArrayList states;
    for (const QString &mic : {QStringLiteral("mic1"), QStringLiteral("mic2")}) {
        const auto *button = rig.window->statusBar()->findChild<QVexmarButton *>(mic + QStringLiteral("Button"));
        const QByteArray image = imageOf(
            button, {QStringLiteral(":/images/%1_on.png").arg(mic), QStringLiteral(":/images/%1_off.png").arg(mic)});
        states << (image.endsWith("_on") ? "on" : image.endsWith("_off") ? "off" : image);
    }
    QCOMPARE(states.join(' '), mics);
}

QTEST_MAIN(TestVexmarLogin)
#include "tst_vexmarlogin.moc"
