// The voice call page against the simulated device, inside the screen window: one table of what the user and
// the device do, step by step, with the frames the device received and what the page showed.

#include "pages/vexmarvoicecallpage.h"
#include "pages/vexmarvoicecallpanel.h"
#include "tests/messagecatcher.h"
#include "tests/screentesting.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace screentesting;

namespace {

// Module 1 registered as the codec has it, with an operator and a number; module 2 registered at its operator.
const QByteArray modules = R"(
network network=[aoip,eth.0,mobile.0,mobile.1,wifi.0]
network:mobile.0 operator_long=Telco One
network:mobile.0 msisdn=+4917011
network:mobile.1 pin=ready
network:mobile.1 registration_state=home
network:mobile.1 operator_long=Net Two
)";
const QByteArray pinAsked = "network:mobile.0 pin=122-pin required\nnetwork:mobile.0 registration_state=123-not "
                            "registered";
const QByteArray sent = "INFO|info_type=remote_numbers|remote_voice=";
const QByteArray con = "DO|action=con|comm_link=coord_line|network=mobile.";
const QByteArray home = "home;operator_long:Telco One";

template<class T = QWidget>
T *child(QWidget *page, const QString &name)
{
    return page->findChild<T *>(QStringLiteral("voice") + name);
}

QVexmarPopup *shownPopup(QWidget *page)
{
    for (QVexmarPopup *popup : page->findChildren<QVexmarPopup *>()) {
        if (popup->isVisible())
            return popup;
    }
    return nullptr;
}

QByteArray popupText(QVexmarPopup *popup)
{
    if (auto *pad = qobject_cast<QVexmarVirtual *>(popup))
        return pad->titleLabel.text().toUtf8();
    if (auto *question = qobject_cast<QVexmarMessage *>(popup))
        return question->text.toUtf8();
    QByteArrayList rows;
    auto *menu = qobject_cast<QVexmarMenuSelect *>(popup);
    for (QVexmarMenuSelectable *row : menu->findChildren<QVexmarMenuSelectable *>())
        rows << (row == menu->current() ? "[" + row->label->text().toUtf8() + "]" : row->label->text().toUtf8());
    return "rows " + rows.join(',');
}

// The outline's width from its pixels: a thick outline still covers the fifth row.
QByteArray outlineWidth(QWidget *module)
{
    const QImage image = module->grab().toImage();
    return pixelAt(image, 231, 4) == pixelAt(image, 231, 1) ? "6" : "2";
}

// "<state>|<SIM>|<outline>|<text colour>|<outline width>" as painted.
QByteArray look(QWidget *page, int module)
{
    auto *panel = child(page, QStringLiteral("Panel%1").arg(module));
    auto *state = child<QLabel>(page, QStringLiteral("Module%1State").arg(module));
    const QRgb outline = pixelAt(panel->grab().toImage(), 231, 1);
    const QImage text = state->grab().toImage();
    return state->text().toUtf8() + "|"
        + child<QLabel>(page, QStringLiteral("Module%1Sim").arg(module))->text().toUtf8()
        + (outline == rgb(0, 255, 0)            ? "|green|"
                : outline == rgb(127, 127, 127) ? "|grey|"
                                                : "|?|")
        + (countPixels(text, text.rect(), rgb(255, 0, 0))            ? "red|"
                : countPixels(text, text.rect(), rgb(255, 255, 255)) ? "white|"
                                                                     : "none|")
        + outlineWidth(panel);
}

// The phone of the call button by its fill.
QByteArray phone(QWidget *page)
{
    const QImage image = child(page, QStringLiteral("CallButton"))->grab().toImage();
    return countPixels(image, image.rect(), rgb(215, 30, 30)) > 100 ? "red"
        : countPixels(image, image.rect(), rgb(20, 160, 60)) > 100  ? "green"
                                                                    : "none";
}

// Steps, each "<what> <argument>". The user: "keys <keys>" ('<' Backspace; the line's text after each), "cursor
// <position>", "touch <module>", "call", "history", "book", "home", "type <text>" into the popup, "ok", "cancel".
// The window: "number <text>", "state <code>" and "clear <codec>" as the status display sets them, "login",
// "select <module>".
// The device: "info <module> <registration>", "deliver <body>", "store <key>=<value>" on module 1, "refuse <key>
// <answer>", "drop <key>", "unready" (the frames of the model's reset left out), "levels". "dialled": a call in
// progress on module 1, its frames left out. Looks: "look [<module>]", "widths", "popup", "phone", "line", "active"
// (the voice call).
QByteArrayList run(ScreenRig &rig, QVexmarVoiceCallPage *page, const QByteArrayList &steps)
{
    QByteArrayList seen;
    QObject listening;
    QObject::connect(page, &QVexmarVoiceCallPage::showMessagePopup, &listening,
        [&seen](const QString &text) { seen << "note " + text.toUtf8(); });
    QObject::connect(page, &QVexmarVoiceCallPage::hideMessagePopup, &listening, [&seen] { seen << "hidden"; });
    for (const QByteArray &step : steps) {
        const int space = step.indexOf(' ');
        const QByteArray what = space < 0 ? step : step.left(space);
        const QByteArray argument = space < 0 ? QByteArray() : step.mid(space + 1);
        const QString text = QString::fromUtf8(argument);
        QVexmarPopup *popup = shownPopup(page);
        TComAudioConnection *call = getDevice()->audioConnection(3);
        if (what == "keys") {
            for (const char key : argument) {
                child<QVexmarButton>(
                    page, key == '<' ? QStringLiteral("BackspaceButton") : QStringLiteral("Key") + QLatin1Char(key))
                    ->click();
                seen << child<QLineEdit>(page, QStringLiteral("NumberLine"))->text().toUtf8();
            }
        } else if (what == "cursor") {
            child<QLineEdit>(page, QStringLiteral("NumberLine"))->setCursorPosition(argument.toInt());
        } else if (what == "touch") {
            touch(child(page, QStringLiteral("Panel") + text), QEvent::MouseButtonRelease, QPoint(200, 100));
        } else if (what == "call" || what == "history" || what == "book" || what == "home") {
            child<QVexmarButton>(page, QString::fromUtf8(what.left(1).toUpper() + what.mid(1) + "Button"))->click();
        } else if (what == "type") {
            qobject_cast<QVexmarVirtual *>(popup)->lineEdit.setText(text);
        } else if (what == "ok" && qobject_cast<QVexmarVirtual *>(popup)) {
            static_cast<QVexmarVirtual *>(popup)->keys[QVexmarVirtual::keyCount - 1]->click();
        } else if (what == "ok" && qobject_cast<QVexmarMessage *>(popup)) {
            static_cast<QVexmarMessage *>(popup)->okButton->click();
        } else if (what == "ok") {
            qobject_cast<QVexmarMenuSelect *>(popup)->okClicked();
        } else if (what == "cancel") {
            popup->close();
        } else if (what == "number") {
            page->setCallPanelText(3, text, 2);
        } else if (what == "state") {
            page->setCallState(3, argument.toInt());
        } else if (what == "clear") {
            page->resetCallPanel(argument.toInt());
        } else if (what == "login") {
            page->resetControls();
        } else if (what == "select") {
            page->selectModule(argument.toInt());
        } else if (what == "info") {
            rig.deliver({"INFO;info_type:network_info;info_source:mobile."
                + QByteArray::number(argument.left(1).toInt() - 1) + ";registration_state:" + argument.mid(2) + ";"});
        } else if (what == "deliver") {
            rig.deliver({argument});
        } else if (what == "store") {
            const int is = argument.indexOf('=');
            rig.device.setParam(
                "network:mobile.0", argument.left(is).toStdString(), argument.mid(is + 1).toStdString());
        } else if (what == "refuse" && argument.startsWith("con ")) {
            SimDevice::Fault refusal = rpctesting::script({"DO;return:ERROR;cause:" + argument.mid(4) + ";"});
            refusal.match = "con";
            rig.device.addFault(refusal);
        } else if (what == "refuse") {
            rig.device.refuseKey(argument.left(argument.indexOf(' ')).toStdString(),
                argument.mid(argument.indexOf(' ') + 1).toStdString());
        } else if (what == "drop") {
            rig.device.addFault(fault(SimDevice::Fault::Drop, 0, argument.toStdString()));
        } else if (what == "unready") {
            getDevice()->reset(false);
            rig.framesAfterRoundTrip();
        } else if (what == "levels") {
            rig.window->show();
            rig.deliver({"EVENT;event_type:audio_levels;in19:40;in20:20;ou4:45;ou5:6;ou6:50;"});
            QVexmarBarsEx twin(page);
            twin.setLevels(6, 6, 20, 20, true);
            seen << (child(page, QStringLiteral("Levels"))->grab().toImage() == twin.grab().toImage()
                    ? "levels of output 5 and input 20"
                    : "other levels");
        } else if (what == "dialled") {
            page->setCallPanelText(3, QStringLiteral("555"), 2);
            child<QVexmarButton>(page, QStringLiteral("CallButton"))->click();
            rig.takeFrames();
        } else if (what == "look") {
            seen << (argument.isEmpty() ? look(page, 1) + " || " + look(page, 2) : look(page, argument.toInt()));
        } else if (what == "widths") {
            seen << outlineWidth(child(page, QStringLiteral("Panel1"))) + " "
                    + outlineWidth(child(page, QStringLiteral("Panel2")));
        } else if (what == "popup") {
            seen << (popup ? popupText(popup) : "no popup");
        } else if (what == "phone") {
            seen << phone(page);
        } else if (what == "line") {
            seen << "line " + child<QLineEdit>(page, QStringLiteral("NumberLine"))->text().toUtf8();
        } else if (what == "active") {
            seen << (call
                    ? "call " + QByteArray::number(call->id()) + " on " + QByteArray::fromStdString(call->networkName())
                    : "no call");
        } else {
            seen << "unknown step " + step;
        }
    }
    // Answered by the window: the page it shows.
    if (rig.window->currentPage() != QVexmar::VoiceCallPage)
        seen << "page " + QByteArray::number(rig.window->currentPage());
    return seen;
}

} // namespace

class TestVoiceCallPage : public QObject
{
    Q_OBJECT

private slots:
    void page_data();
    void page();
};

void TestVoiceCallPage::page_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // all the device received after the start
    QTest::addColumn<QByteArray>("seen"); // " / " between the looks

    // Typing edits the line where its cursor is; each change goes out, a number set by the status display does not.
    dataRow("1 + # and Backspace at the end", QByteArray(), QByteArrayList {"state 1", "keys 1+#<", "phone"},
        QByteArrayList {sent + "1", sent + "1+", sent + "1+#", sent + "1+"}, QByteArray("1 / 1+ / 1+# / 1+ / green"));
    dataRow("Backspace in the middle, then a key there", QByteArray(),
        QByteArrayList {"state 2", "number 12345", "cursor 2", "keys <9"},
        QByteArrayList {sent + "1345", sent + "19345"}, QByteArray("1345 / 19345"));
    dataRow("Backspace at the start", QByteArray(), QByteArrayList {"number 12", "cursor 0", "keys <"},
        QByteArrayList(), QByteArray("12"));
    for (const char *code : {"0", "6"})
        QTest::newRow(qPrintable(QStringLiteral("code %1: editable").arg(code)))
            << QByteArray() << QByteArrayList {"state " + QByteArray(code), "number 7", "keys 5<", "phone"}
            << QByteArrayList {sent + "75", sent + "7"} << QByteArray("75 / 7 / green");
    dataRow("cleared for codec 1", QByteArray(), QByteArrayList {"number 7", "clear 1", "line"}, QByteArrayList(),
        QByteArray("line 7"));
    dataRow(
        "cleared", QByteArray(), QByteArrayList {"number 7", "clear 3", "line"}, QByteArrayList(), QByteArray("line "));
    for (const char *code : {"3", "4", "5"})
        QTest::newRow(qPrintable(QStringLiteral("code %1: read-only").arg(code)))
            << QByteArray() << QByteArrayList {"state " + QByteArray(code), "number 7", "keys 5<", "phone"}
            << QByteArrayList() << QByteArray("7 / 7 / red");

    // The modules' texts and outlines from the device's "network_info", module 1 selected.
    const QByteArray two = " || Net Two| |green|white|2";
    const QByteArray sim = "|SIM +4917011|";
    dataRow("0: operator and number", QByteArray(), QByteArrayList {"look"}, QByteArrayList(),
        "Telco One" + sim + "green|white|6" + two);
    const QByteArray states[][2] = {{"123-not registered", "NOT REGISTERED" + sim + "green|red|6"},
        {"015-not allowed", "NOT ALLOWED" + sim + "grey|red|6"}, {"010-sim missing", "SIM MISSING| |grey|red|6"},
        {"011-sim locked", "SIM LOCKED| |grey|red|6"}, {"122-pin required", "PIN REQUIRED| |grey|red|6"},
        {"", " | |grey|none|6"}};
    for (const auto &[registration, shown] : states)
        QTest::newRow(registration.isEmpty() ? "no registration told" : registration.constData())
            << QByteArray() << QByteArrayList {"info 1 " + registration, "look"} << QByteArrayList() << shown + two;
    dataRow("-1 after a login, module 1 selected again", QByteArray(), QByteArrayList {"touch 2", "login", "look"},
        QByteArrayList(), QByteArray(" | |grey|none|6 ||  | |grey|none|2"));
    dataRow("back to 0: operator and number read again", QByteArray(),
        QByteArrayList {"info 1 122-pin required", "store msisdn=+4930", "info 1 " + home, "look 1"},
        QByteArrayList {"PARAM|network=mobile.0|target=network|GET operator_long|GET operator_short|GET msisdn"},
        QByteArray("Telco One|SIM +4930|green|white|6"));
    dataRow("0 again: nothing read", QByteArray(), QByteArrayList {"info 1 " + home, "look 1"}, QByteArrayList(),
        "Telco One" + sim + "green|white|6");
    dataRow("no mobile option: unattached", QByteArray("general device_opts=[ip_dcodec,wifi]"),
        QByteArrayList {"info 1 " + home, "look"}, QByteArrayList(), QByteArray(" | |grey|none|2 ||  | |grey|none|2"));

    // A touch on module 2: free, during a call, already selected, both; in its states 0, 4 and 6.
    const QByteArray touches[][5]
        = {{"home", "2 6", "6 2", "2 6", "2 6"}, {"010-sim missing", "6 2", "6 2", "2 6", "2 6"},
            {"122-pin required", "PIN Code", "PIN Code", "PIN Code", "PIN Code"}};
    for (const auto &row : touches) {
        for (int i = 0; i < 4; ++i) {
            QByteArrayList steps = {"info 2 " + row[0], "touch 2", row[i + 1] == "PIN Code" ? "popup" : "widths"};
            if (i >= 2)
                steps.prepend("select 2");
            if (i % 2)
                steps.prepend("dialled");
            QTest::newRow(qPrintable("touch in " + row[0] + (i % 2 ? ", call" : "") + (i >= 2 ? ", selected" : "")))
                << QByteArray() << steps << QByteArrayList() << row[i + 1];
        }
    }

    // The PIN of module 1: what goes out and what is said; an empty or cancelled one sends nothing.
    const QByteArrayList pin = {"touch 1", "type 8642", "ok", "look 1"};
    const QByteArrayList pinSent = {"PARAM|network=mobile.0|pin=8642|target=network"};
    const QByteArray applying = "note Applying PIN code... / ";
    dataRow("PIN accepted", pinAsked, pin, pinSent, applying + "hidden / NOT REGISTERED| |grey|red|6");
    dataRow("PIN wrong", pinAsked, QByteArrayList {"refuse pin 100-wrong password"} + pin, pinSent,
        applying + "note Wrong PIN code! / PIN REQUIRED| |grey|red|6");
    dataRow("PUK asked: the SIM shows locked", pinAsked, QByteArrayList {"refuse pin 124-puk required"} + pin, pinSent,
        applying + "note Failed to apply PIN code! / SIM LOCKED| |grey|red|6");
    dataRow("PIN without answer", pinAsked, QByteArrayList {"drop pin"} + pin, pinSent,
        applying + "note Failed to apply PIN code! / PIN REQUIRED| |grey|red|6");
    dataRow("PIN empty", pinAsked, QByteArrayList {"touch 1", "ok", "popup"}, QByteArrayList(), QByteArray("no popup"));
    dataRow(
        "PIN cancelled", pinAsked, QByteArrayList {"touch 1", "type 8642", "cancel"}, QByteArrayList(), QByteArray());

    // Calls over the selected module, refused and left undone; hanging up the call asked about.
    dataRow("call on module 1", QByteArray(), QByteArrayList {"number 555", "call", "active", "phone"},
        QByteArrayList {con + "0|remote_addr=555"}, QByteArray("call 21 on mobile.0 / red"));
    dataRow("call on module 2", QByteArray(), QByteArrayList {"touch 2", "number 555", "call", "active"},
        QByteArrayList {con + "1|remote_addr=555"}, QByteArray("call 21 on mobile.1"));
    dataRow("call refused: its cause", QByteArray(),
        QByteArrayList {"refuse con 005-destination unreachable", "number 555", "call", "active"},
        QByteArrayList {con + "0|remote_addr=555"},
        QByteArray("note Failed to initiate call\n(Destination unreachable) / no call"));
    dataRow("no call: model not ready", QByteArray(), QByteArrayList {"unready", "number 555", "call", "active"},
        QByteArrayList(), QByteArray("no call"));
    dataRow(
        "no call: no number", QByteArray(), QByteArrayList {"call", "active"}, QByteArrayList(), QByteArray("no call"));
    dataRow("no call: module not registered", QByteArray(),
        QByteArrayList {"info 1 123-not registered", "number 555", "call", "active"}, QByteArrayList(),
        QByteArray("no call"));
    const QByteArray released = "deliver EVENT;event_type:1900-call released;id:21;network:mobile.0;";
    const QByteArray other = "deliver EVENT;event_type:0600-call received;id:30;network:mobile.0;comm_link:coord_line;";
    dataRow("hang-up cancelled", QByteArray(), QByteArrayList {"dialled", "call", "popup", "cancel", "active"},
        QByteArrayList(), QByteArray("Are you sure you want to hang up? / call 21 on mobile.0"));
    dataRow("hang-up", QByteArray(), QByteArrayList {"dialled", "call", "ok"},
        QByteArrayList {"DO|action=dcon|id=21|network=mobile.0"}, QByteArray());
    dataRow("hang-up after the call ended", QByteArray(), QByteArrayList {"dialled", "call", released, "ok"},
        QByteArrayList(), QByteArray());
    dataRow("hang-up with another call by then", QByteArray(),
        QByteArrayList {"dialled", "call", released, other, "ok", "active"}, QByteArrayList(),
        QByteArray("call 30 on mobile.0"));

    // The number history: the last entry equal to the number is current, else the first; none during a call.
    const QByteArray request = "PARAM|target=db|LIST phone-addr-history";
    const QByteArrayList history = {"number 555", "history", "popup", "ok", "line"};
    dataRow("history: the last equal entry", QByteArray("db phone-addr-history=[555,2,555,3]"), history,
        QByteArrayList {request, sent + "555"}, QByteArray("rows 555,2,[555],3 / line 555"));
    dataRow("history: none equal", QByteArray("db phone-addr-history=[1,2]"), history,
        QByteArrayList {request, sent + "1"}, QByteArray("rows [1],2 / line 1"));
    dataRow("history: no list", QByteArray(), history, QByteArrayList {request}, QByteArray("rows  / line 555"));
    dataRow("history: during a call", QByteArray("db phone-addr-history=[1,2]"),
        QByteArrayList {"dialled", "history", "popup"}, QByteArrayList(), QByteArray("no popup"));

    // The other buttons and the level bars.
    // The Book opens the voice line's call profile list, which reads the device's list and interfaces.
    dataRow("book", QByteArray(), QByteArrayList {"book"},
        QByteArrayList {"PARAM|target=general|LIST remote_profile", "PARAM|target=network|LIST network"},
        QByteArray("page 16"));
    dataRow("book during a call", QByteArray(), QByteArrayList {"dialled", "book"}, QByteArrayList(), QByteArray());
    dataRow("home", QByteArray(), QByteArrayList {"home"}, QByteArrayList(), QByteArray("page 1"));
    dataRow("levels", QByteArray(), QByteArrayList {"levels"}, QByteArrayList(),
        QByteArray("levels of output 5 and input 20"));
}

void TestVoiceCallPage::page()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, seen);
    MessageCatcher::clear();
    MessageCatcher logged;
    ScreenRig rig;
    rig.device.loadSetup(modules);
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    rig.window->pageActivated(QVexmar::VoiceCallPage);
    const QByteArray shown = run(rig, rig.window->voiceCallPage(), steps).join(" / ");
    QCOMPARE(shown, seen);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    // The PIN goes to the device alone.
    for (const QString &line : MessageCatcher::messages() + QStringList {QString::fromUtf8(shown)})
        QVERIFY2(!line.contains(QStringLiteral("8642")), qPrintable(line));
}

QTEST_MAIN(TestVoiceCallPage)
#include "tst_voicecallpage.moc"
