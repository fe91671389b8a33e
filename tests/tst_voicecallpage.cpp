// The voice call page against the simulated device, inside the screen window: typing the number, the mobile
// modules' texts and outlines, choosing a module, entering a PIN, calling and hanging up, and the number history.

#include "messagecatcher.h"
#include "screentesting.h"
#include "vexmarbutton.h"
#include "vexmarmenuselect.h"
#include "vexmarmessage.h"
#include "vexmarvirtual.h"
#include "vexmarvoicecallpage.h"
#include "vexmarvoicecallpanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace screentesting;

namespace {

// Module 2 registered at its operator; module 1 as the codec has it, with an operator and a number.
const QByteArray modules = R"(
network network=[aoip,eth.0,mobile.0,mobile.1,wifi.0]
network:mobile.0 operator_long=Telco One
network:mobile.0 msisdn=+4917011
network:mobile.1 pin=ready
network:mobile.1 registration_state=home
network:mobile.1 operator_long=Net Two
)";
const QByteArray numberInfo = "INFO|info_type=remote_numbers|remote_voice=";
const QByteArray con = "DO|action=con|comm_link=coord_line|network=mobile.";

QByteArray networkInfo(int module, const QByteArray &registration)
{
    return "INFO;info_type:network_info;info_source:mobile." + QByteArray::number(module - 1)
        + ";registration_state:" + registration + ";";
}

QVexmarVoiceCallPage *openPage(ScreenRig &rig)
{
    rig.window->pageActivated(QVexmar::VoiceCallPage);
    return rig.window->voiceCallPage();
}

QVexmarVoiceCallPanel *panel(QWidget *page, int module)
{
    return page->findChild<QVexmarVoiceCallPanel *>(QStringLiteral("voicePanel%1").arg(module));
}

QVexmarButton *button(QWidget *page, const QByteArray &name)
{
    return page->findChild<QVexmarButton *>(QString::fromUtf8("voice" + name));
}

QLineEdit *numberLine(QWidget *page)
{
    return page->findChild<QLineEdit *>(QStringLiteral("voiceNumberLine"));
}

template<class Popup>
Popup *shown(QWidget *page)
{
    for (Popup *popup : page->findChildren<Popup *>()) {
        if (popup->isVisible())
            return popup;
    }
    return nullptr;
}

// The name of the first of the colours that the widget shows in more than `least` pixels; "none" without any.
QByteArray colourIn(QWidget *widget, const QList<QPair<QRgb, QByteArray>> &colours, int least = 0)
{
    const QImage image = widget->grab().toImage();
    for (const auto &[colour, name] : colours) {
        if (countPixels(image, image.rect(), colour) > least)
            return name;
    }
    return "none";
}

// Outline width from the pixels: a thick outline still covers the fifth row.
int outlineWidth(QVexmarVoiceCallPanel *module)
{
    const QImage image = module->grab().toImage();
    return pixelAt(image, 231, 4) == pixelAt(image, 231, 1) ? 6 : 2;
}

// "<state>|<SIM>|<outline>|<text colour>|<outline width>" as painted.
QByteArray look(QWidget *page, int module)
{
    QVexmarVoiceCallPanel *p = panel(page, module);
    auto *state = p->findChild<QLabel *>(QStringLiteral("voiceModule%1State").arg(module));
    const QRgb outline = pixelAt(p->grab().toImage(), 231, 1);
    return state->text().toUtf8() + "|"
        + p->findChild<QLabel *>(QStringLiteral("voiceModule%1Sim").arg(module))->text().toUtf8() + "|"
        + (outline == rgb(0, 255, 0)            ? "green"
                : outline == rgb(127, 127, 127) ? "grey"
                                                : "?")
        + "|" + colourIn(state, {{rgb(255, 0, 0), "red"}, {rgb(255, 255, 255), "white"}}) + "|"
        + QByteArray::number(outlineWidth(p));
}

// The phone of the call button by its fill.
QByteArray phone(QWidget *page)
{
    return colourIn(button(page, "CallButton"), {{rgb(215, 30, 30), "red"}, {rgb(20, 160, 60), "green"}}, 100);
}

void press(QWidget *page, char key)
{
    button(page, key == '<' ? QByteArray("BackspaceButton") : "Key" + QByteArray(1, key))->click();
}

// A voice call on the selected module: call 21 in progress.
bool dialled(ScreenRig &rig, QVexmarVoiceCallPage *page)
{
    page->setCallPanelText(3, QStringLiteral("555"), 2);
    button(page, "CallButton")->click();
    rig.takeFrames();
    return getDevice()->audioConnection(3) && getDevice()->audioConnection(3)->id() == 21;
}

} // namespace

class TestVoiceCallPage : public QObject
{
    Q_OBJECT

private slots:
    void typing_data();
    void typing();
    void moduleLook_data();
    void moduleLook();
    void moduleTouch_data();
    void moduleTouch();
    void pin_data();
    void pin();
    void call_data();
    void call();
    void hangUp_data();
    void hangUp();
    void history_data();
    void history();
};

void TestVoiceCallPage::typing_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("preset"); // as the status display sets it
    QTest::addColumn<int>("cursor"); // -1: at the end
    QTest::addColumn<QByteArray>("keys"); // '<' Backspace
    QTest::addColumn<QByteArray>("texts"); // the line after each key
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("phone");
    const QString seven = QStringLiteral("7");
    dataRow("1 + # and Backspace at the end", 1, QString(), -1, QByteArray("1+#<"), QByteArray("1 1+ 1+# 1+"),
        QByteArrayList {numberInfo + "1", numberInfo + "1+", numberInfo + "1+#", numberInfo + "1+"},
        QByteArray("green"));
    dataRow("Backspace in the middle, then a key there", 2, QStringLiteral("12345"), 2, QByteArray("<9"),
        QByteArray("1345 19345"), QByteArrayList {numberInfo + "1345", numberInfo + "19345"}, QByteArray("green"));
    dataRow("Backspace at the start", 2, QStringLiteral("12"), 0, QByteArray("<"), QByteArray("12"), QByteArrayList(),
        QByteArray("green"));
    for (const int code : {0, 6})
        dataRow(code ? "6 releasing: editable" : "0 unavailable: editable", code, seven, -1, QByteArray("5<"),
            QByteArray("75 7"), QByteArrayList {numberInfo + "75", numberInfo + "7"}, QByteArray("green"));
    for (const int code : {3, 4, 5})
        dataRow(code == 3   ? "3 in progress: read-only"
                : code == 4 ? "4 established: read-only"
                            : "5 sync lost",
            code, seven, -1, QByteArray("5<"), QByteArray("7 7"), QByteArrayList(), QByteArray("red"));
}

void TestVoiceCallPage::typing()
{
    QFETCH(int, code);
    QFETCH(QString, preset);
    QFETCH(int, cursor);
    QFETCH(QByteArray, keys);
    QFETCH(QByteArray, texts);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, phone);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    page->setCallPanelText(3, preset, 2);
    page->setCallState(3, code);
    if (cursor >= 0)
        numberLine(page)->setCursorPosition(cursor);
    rig.framesAfterRoundTrip();
    QByteArrayList shownTexts;
    QByteArrayList sent;
    for (const char key : keys) {
        press(page, key);
        shownTexts << numberLine(page)->text().toUtf8();
        sent << rig.framesAfterRoundTrip();
    }
    QCOMPARE(shownTexts.join(' '), texts);
    QCOMPARE(sent, frames);
    QCOMPARE(page->callPanelText(3, 2), numberLine(page)->text());
    QCOMPARE(::phone(page), phone);
}

void TestVoiceCallPage::moduleLook_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps"); // module 1's registration; "login"; "store <key>=<value>"
    QTest::addColumn<QByteArray>("looks"); // module 1 || module 2
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArray two = " || Net Two| |green|white|2";
    const QByteArray sim = "|SIM +4917011|";
    const QByteArray home = "home;operator_long:Telco One";
    dataRow("0: operator and number", QByteArray(), QByteArrayList(), "Telco One" + sim + "green|white|6" + two,
        QByteArrayList());
    dataRow("2", QByteArray(), QByteArrayList {"123-not registered"}, "NOT REGISTERED" + sim + "green|red|6" + two,
        QByteArrayList());
    dataRow("3", QByteArray(), QByteArrayList {"015-not allowed"}, "NOT ALLOWED" + sim + "grey|red|6" + two,
        QByteArrayList());
    dataRow("4", QByteArray(), QByteArrayList {"010-sim missing"}, "SIM MISSING| |grey|red|6" + two, QByteArrayList());
    dataRow("5", QByteArray(), QByteArrayList {"011-sim locked"}, "SIM LOCKED| |grey|red|6" + two, QByteArrayList());
    dataRow(
        "6", QByteArray(), QByteArrayList {"122-pin required"}, "PIN REQUIRED| |grey|red|6" + two, QByteArrayList());
    dataRow("1: no registration told", QByteArray(), QByteArrayList {""}, " | |grey|none|6" + two, QByteArrayList());
    dataRow("-1 after a login", QByteArray(), QByteArrayList {"login"},
        QByteArray(" | |grey|none|6 ||  | |grey|none|2"), QByteArrayList());
    dataRow("back to 0: operator and number read again", QByteArray(),
        QByteArrayList {"122-pin required", "store msisdn=+4930", home}, "Telco One|SIM +4930|green|white|6" + two,
        QByteArrayList {"PARAM|network=mobile.0|target=network|GET operator_long|GET operator_short|GET msisdn"});
    dataRow("0 again: nothing read", QByteArray(), QByteArrayList {home}, "Telco One" + sim + "green|white|6" + two,
        QByteArrayList());
    dataRow("no mobile option: unattached", QByteArray("general device_opts=[ip_dcodec,wifi]"), QByteArrayList {home},
        QByteArray(" | |grey|none|2 ||  | |grey|none|2"), QByteArrayList());
}

void TestVoiceCallPage::moduleLook()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, looks);
    QFETCH(QByteArrayList, frames);
    ScreenRig rig;
    rig.device.loadSetup(modules);
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    for (const QByteArray &step : steps) {
        if (step == "login")
            page->resetControls();
        else if (step.startsWith("store "))
            rig.device.setParam("network:mobile.0", step.mid(6, step.indexOf('=') - 6).toStdString(),
                step.mid(step.indexOf('=') + 1).toStdString());
        else
            QVERIFY(rig.deliver({networkInfo(1, step)}));
    }
    QCOMPARE(look(page, 1) + " || " + look(page, 2), looks);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

void TestVoiceCallPage::moduleTouch_data()
{
    QTest::addColumn<QByteArray>("registration"); // of module 2
    QTest::addColumn<bool>("selected"); // module 2 before the touch
    QTest::addColumn<bool>("call");
    QTest::addColumn<QByteArray>("outcome"); // outline widths of modules 1 and 2, or the popup's title
    const QByteArray pin = "PIN Code";
    const struct
    {
        const char *state;
        QByteArray registration;
        QByteArray outcomes[4]; // free, during a call, selected, selected during a call
    } states[]
        = {{"0", "home", {"2 6", "6 2", "2 6", "2 6"}}, {"2", "123-not registered", {"2 6", "6 2", "2 6", "2 6"}},
            {"4", "010-sim missing", {"6 2", "6 2", "2 6", "2 6"}}, {"6", "122-pin required", {pin, pin, pin, pin}}};
    const char *const cases[] = {"", " during a call", ", selected", ", selected, during a call"};
    for (const auto &state : states) {
        for (int i = 0; i < 4; ++i)
            QTest::newRow(qPrintable(state.state + QString::fromLatin1(cases[i])))
                << state.registration << (i >= 2) << (i % 2 == 1) << state.outcomes[i];
    }
}

void TestVoiceCallPage::moduleTouch()
{
    QFETCH(QByteArray, registration);
    QFETCH(bool, selected);
    QFETCH(bool, call);
    QFETCH(QByteArray, outcome);
    ScreenRig rig;
    rig.device.loadSetup(modules);
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    if (call)
        QVERIFY(dialled(rig, page));
    if (selected)
        page->selectModule(2);
    QVERIFY(rig.deliver({networkInfo(2, registration)}));
    touch(panel(page, 2), QEvent::MouseButtonRelease, QPoint(200, 100));
    auto *popup = shown<QVexmarVirtual>(page);
    QCOMPARE(popup
            ? popup->titleLabel.text().toUtf8()
            : QByteArray::number(outlineWidth(panel(page, 1))) + " " + QByteArray::number(outlineWidth(panel(page, 2))),
        outcome);
}

void TestVoiceCallPage::pin_data()
{
    QTest::addColumn<QByteArray>("answer"); // the device's refusal; "drop"; "cancel": the popup is closed
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("notes");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("state"); // module 1's text afterwards
    const QString typed = QStringLiteral("8642");
    const QByteArrayList sent = {"PARAM|network=mobile.0|pin=8642|target=network"};
    const QByteArray applying = "Applying PIN code...|";
    dataRow("accepted", QByteArray(), typed, applying + "hidden", sent, QByteArray("NOT REGISTERED"));
    dataRow("wrong", QByteArray("100-wrong password"), typed, applying + "Wrong PIN code!", sent,
        QByteArray("PIN REQUIRED"));
    dataRow("PUK asked: the SIM shows locked", QByteArray("124-puk required"), typed,
        applying + "Failed to apply PIN code!", sent, QByteArray("SIM LOCKED"));
    dataRow("no answer", QByteArray("drop"), typed, applying + "Failed to apply PIN code!", sent,
        QByteArray("PIN REQUIRED"));
    dataRow("empty", QByteArray(), QString(), QByteArray(), QByteArrayList(), QByteArray("PIN REQUIRED"));
    dataRow("cancelled", QByteArray("cancel"), typed, QByteArray(), QByteArrayList(), QByteArray("PIN REQUIRED"));
}

void TestVoiceCallPage::pin()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, typed);
    QFETCH(QByteArray, notes);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, state);
    MessageCatcher logged;
    ScreenRig rig;
    rig.device.loadSetup(
        "network:mobile.0 pin=122-pin required\nnetwork:mobile.0 registration_state=123-not registered");
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    QByteArrayList shownNotes;
    connect(page, &QVexmarVoiceCallPage::showMessagePopup, this,
        [&shownNotes](const QString &text) { shownNotes << text.toUtf8(); });
    connect(page, &QVexmarVoiceCallPage::hideMessagePopup, this, [&shownNotes] { shownNotes << "hidden"; });
    if (answer == "drop")
        rig.device.addFault(fault(SimDevice::Fault::Drop, 0, "pin"));
    else if (!answer.isEmpty() && answer != "cancel")
        rig.device.refuseKey("pin", answer.toStdString());
    touch(panel(page, 1), QEvent::MouseButtonRelease, QPoint(200, 100));
    auto *pad = shown<QVexmarVirtual>(page);
    QVERIFY(pad);
    rig.takeFrames();
    pad->lineEdit.setText(typed);
    if (answer == "cancel")
        pad->close();
    else
        pad->keys[QVexmarVirtual::keyCount - 1]->click();
    QCOMPARE(shownNotes.join('|'), notes);
    QCOMPARE(rig.takeFrames(), frames);
    QCOMPARE(look(page, 1).split('|').first(), state);
    // The PIN went to the device alone.
    for (const QString &line : MessageCatcher::messages() + QStringList {QString::fromUtf8(notes)})
        QVERIFY2(!line.contains(QStringLiteral("8642")), qPrintable(line));
}

void TestVoiceCallPage::call_data()
{
    QTest::addColumn<QByteArray>("setup"); // "module 2" selected; "unready"; "refused"; or module 1's registration
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("shown"); // the call's interface, or the message
    const QString number = QStringLiteral("555");
    dataRow("module 1", QByteArray(), number, QByteArrayList {con + "0|remote_addr=555"}, QByteArray("mobile.0"));
    dataRow(
        "module 2", QByteArray("module 2"), number, QByteArrayList {con + "1|remote_addr=555"}, QByteArray("mobile.1"));
    dataRow("refused: its cause", QByteArray("refused"), number, QByteArrayList {con + "0|remote_addr=555"},
        QByteArray("Failed to initiate call\n(Destination unreachable)"));
    dataRow("model not ready", QByteArray("unready"), number, QByteArrayList(), QByteArray());
    dataRow("no number", QByteArray(), QString(), QByteArrayList(), QByteArray());
    dataRow("module not registered", QByteArray("123-not registered"), number, QByteArrayList(), QByteArray());
}

void TestVoiceCallPage::call()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, number);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, shown);
    ScreenRig rig;
    rig.device.loadSetup(modules);
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    if (setup == "module 2") {
        touch(panel(page, 2), QEvent::MouseButtonRelease, QPoint(200, 100));
    } else if (setup == "unready") {
        getDevice()->reset(false);
    } else if (setup == "refused") {
        SimDevice::Fault refusal = rpctesting::script({"DO;return:ERROR;cause:005-destination unreachable;"});
        refusal.match = "con";
        rig.device.addFault(refusal);
    } else if (!setup.isEmpty()) {
        QVERIFY(rig.deliver({networkInfo(1, setup)}));
    }
    page->setCallPanelText(3, number, 2);
    rig.framesAfterRoundTrip();
    button(page, "CallButton")->click();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    const TComAudioConnection *call = getDevice()->audioConnection(3);
    const QVexmarMessage *message = rig.window->messagePopup();
    QCOMPARE(call     ? QByteArray::fromStdString(call->networkName())
            : message ? message->text.toUtf8()
                      : QByteArray(),
        shown);
}

void TestVoiceCallPage::hangUp_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArrayList>("meanwhile");
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArray released = "EVENT;event_type:1900-call released;id:21;network:mobile.0;";
    const QByteArray other = "EVENT;event_type:0600-call received;id:30;network:mobile.0;comm_link:coord_line;";
    dataRow("Cancel: the call goes on", false, QByteArrayList(), QByteArrayList());
    dataRow("OK", true, QByteArrayList(), QByteArrayList {"DO|action=dcon|id=21|network=mobile.0"});
    dataRow("OK after the call ended", true, QByteArrayList {released}, QByteArrayList());
    dataRow("OK with another call by then", true, QByteArrayList {released, other}, QByteArrayList());
}

void TestVoiceCallPage::hangUp()
{
    QFETCH(bool, ok);
    QFETCH(QByteArrayList, meanwhile);
    QFETCH(QByteArrayList, frames);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    QVERIFY(dialled(rig, page));
    QCOMPARE(phone(page), QByteArray("red"));
    button(page, "CallButton")->click();
    auto *question = shown<QVexmarMessage>(page);
    QVERIFY(question);
    QCOMPARE(question->text, QStringLiteral("Are you sure you want to hang up?"));
    QVERIFY(rig.deliver(meanwhile));
    (ok ? question->okButton : question->cancelButton)->click();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

void TestVoiceCallPage::history_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<bool>("call");
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QByteArrayList>("frames"); // after OK
    const QByteArray request = "PARAM|target=db|LIST phone-addr-history";
    dataRow("the last entry equal to the number", QByteArray("[555,2,555,3]"), false, QByteArray("555,2,[555],3"),
        QByteArrayList {request, numberInfo + "555"});
    dataRow("none equal: the first", QByteArray("[1,2]"), false, QByteArray("[1],2"),
        QByteArrayList {request, numberInfo + "1"});
    dataRow("no list: no row", QByteArray(), false, QByteArray(), QByteArrayList {request});
    dataRow("during a call: no popup", QByteArray("[1,2]"), true, QByteArray("none"), QByteArrayList());
}

void TestVoiceCallPage::history()
{
    QFETCH(QByteArray, list);
    QFETCH(bool, call);
    QFETCH(QByteArray, rows);
    QFETCH(QByteArrayList, frames);
    ScreenRig rig;
    if (!list.isEmpty())
        rig.device.loadSetup("db phone-addr-history=" + list);
    QVERIFY(rig.startSetUp());
    QVexmarVoiceCallPage *page = openPage(rig);
    page->setCallPanelText(3, QStringLiteral("555"), 2);
    if (call)
        QVERIFY(dialled(rig, page));
    rig.framesAfterRoundTrip();
    button(page, "HistoryButton")->click();
    auto *popup = shown<QVexmarMenuSelect>(page);
    QByteArrayList offered;
    for (QVexmarMenuSelectable *row :
        popup ? popup->findChildren<QVexmarMenuSelectable *>() : QList<QVexmarMenuSelectable *>()) {
        const QByteArray text = row->label->text().toUtf8();
        offered << (row == popup->current() ? "[" + text + "]" : text);
    }
    QCOMPARE(popup ? offered.join(',') : QByteArray("none"), rows);
    if (popup)
        popup->okClicked();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    const QByteArray expected = frames.size() == 2 ? frames.last().mid(numberInfo.size()) : QByteArray("555");
    QCOMPARE(numberLine(page)->text().toUtf8() + " " + page->callPanelText(3, 2).toUtf8(), expected + " " + expected);
}

QTEST_MAIN(TestVoiceCallPage)
#include "tst_voicecallpage.moc"
