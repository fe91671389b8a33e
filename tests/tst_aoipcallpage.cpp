// The call pages of the codec lines against the simulated device, inside the screen window: dialling and hanging
// up, the interface indicators and their controllers, the popups, and the panels' colours and texts.

#include "controllers/tcomcontroller.h"
#include "device/vexmaraccess.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmaraoipcallpanel.h"
#include "tests/screentesting.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>
#include <QtTest>

#include <functional>

using namespace screentesting;

namespace {

QByteArray eventBody(const QByteArray &type, const QByteArray &rest = QByteArray())
{
    return "EVENT;event_type:" + type + ";" + rest;
}

const QByteArray released = eventBody("1900-call released", "id:21;network:eth.0;");
const QByteArray otherCall = eventBody("0600-call received", "id:30;network:eth.0;");
const QByteArray refused = "refused";

QVexmarAoIPCallPanel *panelOf(QWidget *page)
{
    return page->findChild<QVexmarAoIPCallPanel *>();
}

void tapPanel(QWidget *page)
{
    touch(panelOf(page), QEvent::MouseButtonRelease, QPoint(300, 200));
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

// The rows' texts, the current one in brackets.
QByteArray rows(QVexmarMenuSelect *popup)
{
    QByteArrayList texts;
    for (QVexmarMenuSelectable *row : popup->findChildren<QVexmarMenuSelectable *>()) {
        const QByteArray text = row->label->text().toUtf8();
        texts << (row == popup->current() ? "[" + text + "]" : text);
    }
    return texts.join(',');
}

void choose(QVexmarMenuSelect *popup, const QByteArray &text)
{
    for (QVexmarMenuSelectable *row : popup->findChildren<QVexmarMenuSelectable *>()) {
        if (row->label->text().toUtf8() == text)
            popup->setCurrent(row);
    }
    popup->okClicked();
}

QByteArray colourName(QRgb colour)
{
    static const QMap<QRgb, QByteArray> names = {{rgb(127, 127, 127), "grey"}, {rgb(0, 255, 0), "green"},
        {rgb(170, 255, 170), "light green"}, {rgb(255, 255, 0), "yellow"}, {rgb(255, 0, 0), "red"},
        {rgb(240, 101, 101), "light red"}, {rgb(234, 177, 102), "orange"}, {rgb(0, 146, 64), "dark green"},
        {rgb(20, 160, 60), "call"}, {rgb(215, 30, 30), "hang-up"}};
    return names.value(colour, "#" + QByteArray::number(colour, 16));
}

QByteArray face(QWidget *widget, const QPoint &at)
{
    return colourName(pixelAt(widget->grab().toImage(), at.x(), at.y()));
}

// "<text> <colour>" of both interface buttons.
QByteArray interfaces(QWidget *page)
{
    QByteArrayList sides;
    for (const char *name : {"primaryInterfaceButton", "secondaryInterfaceButton"}) {
        auto *button = page->findChild<QVexmarButton *>(QLatin1String(name));
        sides << button->text().toUtf8() + " " + face(button, QPoint(6, 20));
    }
    return sides.join(" | ");
}

QByteArray controllers(QWidget *page)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QByteArrayList names;
    for (TComNetworkController *controller : page->findChildren<TComNetworkController *>())
        names << QByteArray::fromStdString(controller->interfaceName());
    std::sort(names.begin(), names.end());
    return names.join(',');
}

// The rig with the number dialled on line 1: call 21 in progress.
bool dialled(ScreenRig &rig)
{
    QVexmarAoIPCallPage *page = rig.window->aoipCallPage(1);
    page->setCallPanelText(1, QStringLiteral("a"), 0);
    tapPanel(page);
    rig.takeFrames();
    return getDevice()->audioConnection(1) && getDevice()->audioConnection(1)->id() == 21;
}

} // namespace

class TestAoipCallPage : public QObject
{
    Q_OBJECT

private slots:
    void dial_data();
    void dial();
    void hangUp_data();
    void hangUp();
    void panelLook_data();
    void panelLook();
    void panelTexts();
    void otherCodec_data();
    void otherCodec();
    void pageButtons_data();
    void pageButtons();
    void sides_data();
    void sides();
    void changeDuringRebuild();
    void numberPopups_data();
    void numberPopups();
    void sipTexts_data();
    void sipTexts();
    void coding_data();
    void coding();
    void interfaceChoice_data();
    void interfaceChoice();
};

void TestAoipCallPage::dial_data()
{
    QTest::addColumn<int>("codec");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("setup"); // "refused": the device refuses; "unready": the model is not ready
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("shown"); // call text | message
    const QByteArray con = "DO|action=con|comm_link=audio";
    const QByteArray four = "|network=eth.0|remote_addr=a|remote_addr2=b|remote_addr3=c|remote_addr4=d";
    const QByteArray calling = "Call in progress... | ";
    const QString a = QStringLiteral("a");

    dataRow("line 1, one address", 1, a, QByteArray(), QByteArrayList {con + "|network=eth.0|remote_addr=a"}, calling);
    dataRow("line 1, four", 1, QStringLiteral("a,b,c,d"), QByteArray(), QByteArrayList {con + four}, calling);
    dataRow("line 2, one address", 2, a, QByteArray(), QByteArrayList {con + "2|network=eth.0|remote_addr=a"}, calling);
    dataRow("refused: the cause, no call", 1, a, refused, QByteArrayList {con + "|network=eth.0|remote_addr=a"},
        QByteArray("Idle | Failed to initiate call\n(Destination unreachable)"));
    dataRow("model not ready", 1, a, QByteArray("unready"), QByteArrayList(), QByteArray("Idle | "));
    dataRow("line on aoip", 1, a, QByteArray("network default_network=aoip"), QByteArrayList(), QByteArray("Idle | "));
    dataRow("no number", 1, QString(), QByteArray(), QByteArrayList(), QByteArray("Idle | "));
}

void TestAoipCallPage::dial()
{
    QFETCH(int, codec);
    QFETCH(QString, number);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, shown);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    if (setup == "unready")
        getDevice()->reset(false);
    if (setup == refused) {
        SimDevice::Fault refusal = rpctesting::script({"DO;return:ERROR;cause:005-destination unreachable;"});
        refusal.match = "con";
        rig.device.addFault(refusal);
    }
    rig.framesAfterRoundTrip();
    QVexmarAoIPCallPage *page = rig.window->aoipCallPage(codec);
    page->setCallPanelText(codec, number, 0);
    tapPanel(page);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    const QString message = rig.window->messagePopup() ? rig.window->messagePopup()->text : QString();
    QCOMPARE(page->findChild<QLabel *>("callTextLabel")->text().toUtf8() + " | " + message.toUtf8(), shown);
    QCOMPARE(getDevice()->audioConnection(codec) != nullptr, shown.startsWith("Call"));
}

void TestAoipCallPage::hangUp_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArrayList>("meanwhile");
    QTest::addColumn<QByteArrayList>("frames");
    dataRow("Cancel: the call goes on", false, QByteArrayList(), QByteArrayList());
    dataRow("OK", true, QByteArrayList(), QByteArrayList {"DO|action=dcon|id=21|network=eth.0"});
    dataRow("OK after the call ended", true, QByteArrayList {released}, QByteArrayList());
    dataRow("OK on another call", true, QByteArrayList {released, otherCall}, QByteArrayList());
}

void TestAoipCallPage::hangUp()
{
    QFETCH(bool, ok);
    QFETCH(QByteArrayList, meanwhile);
    QFETCH(QByteArrayList, frames);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVERIFY(dialled(rig));
    QWidget *page = rig.window->aoipCallPage(1);
    tapPanel(page);
    auto *question = shown<QVexmarMessage>(page);
    QVERIFY(question);
    QCOMPARE(question->text, QStringLiteral("Are you sure you want to hang up?"));
    QVERIFY(rig.deliver(meanwhile));
    (ok ? question->okButton : question->cancelButton)->click();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

void TestAoipCallPage::panelLook_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("look"); // face, icon; SIP button
    dataRow("0 unavailable", 0, QByteArray("grey grey; grey"));
    dataRow("1 no number", 1, QByteArray("light green light green; green"));
    dataRow("2 number ready", 2, QByteArray("green call; dark green"));
    dataRow("3 in progress", 3, QByteArray("yellow hang-up; red"));
    dataRow("4 established", 4, QByteArray("red hang-up; grey"));
    dataRow("5 sync lost", 5, QByteArray("light red hang-up; grey"));
    dataRow("6 releasing", 6, QByteArray("orange orange; grey"));
}

void TestAoipCallPage::panelLook()
{
    QFETCH(int, code);
    QFETCH(QByteArray, look);
    QVexmarAoIPCallPanel panel;
    panel.resize(620, 230);
    panel.setState(code);
    QVexmarSipAccountPanel sip(1);
    sip.setState(code);
    auto *button = sip.findChild<QVexmarButton *>("sipButton");
    // The face below the texts; the icon's disc above the handset.
    QCOMPARE(
        face(&panel, QPoint(310, 215)) + " " + face(&panel, QPoint(45, 18)) + "; " + face(button, QPoint(6, 20)), look);
}

void TestAoipCallPage::panelTexts()
{
    QVexmarAoIPCallPanel panel;
    const auto lower = [&panel] { return panel.findChild<QLabel *>("callPanelLabel")->text(); };
    panel.setText(QStringLiteral("0123"), 1);
    panel.setText(QStringLiteral("shown only"), -1);
    QCOMPARE(lower() + "|" + panel.text(1) + "|" + panel.text(-1), QStringLiteral("shown only|0123|"));
    panel.setRemoteNumber(QStringLiteral("Opus"));
    panel.reset();
    QCOMPARE(lower() + "|" + panel.text(1) + "|" + panel.findChild<QLabel *>("remoteNumberLabel")->text(),
        QStringLiteral("||Opus"));
}

void TestAoipCallPage::otherCodec_data()
{
    QTest::addColumn<int>("operation");
    const char *const names[] = {"setCallText", "setCallState", "setSipState", "setCallPanelText", "resetCallPanel",
        "setCodecDescription", "setCodecState"};
    for (int i = 0; i < 7; ++i)
        QTest::newRow(names[i]) << i;
}

void TestAoipCallPage::otherCodec()
{
    QFETCH(int, operation);
    QVexmarAoIPCallPage page(1);
    page.resize(1280, 676);
    page.setCallPanelText(1, QStringLiteral("a"), 0);
    const auto look = [&page] {
        QByteArrayList parts;
        for (QLabel *label : page.findChildren<QLabel *>())
            parts << label->text().toUtf8();
        return parts.join('|') + page.callPanelText(1, 0).toUtf8()
            + QByteArray::number(page.findChild<QVexmarBarsEx *>()->state()) + face(panelOf(&page), QPoint(310, 215))
            + face(page.findChild<QVexmarButton *>("sipButton"), QPoint(6, 20));
    };
    const QString x = QStringLiteral("x");
    const std::function<void(int)> operations[] = {[&](int c) { page.setCallText(c, x); },
        [&](int c) { page.setCallState(c, 4); }, [&](int c) { page.setSipState(c, 1, 3); },
        [&](int c) { page.setCallPanelText(c, x, 0); }, [&](int c) { page.resetCallPanel(c); },
        [&](int c) { page.setCodecDescription(c, x); }, [&](int c) { page.setCodecState(c, 2); }};
    const auto apply = operations[operation];
    const QByteArray before = look();
    apply(2);
    QCOMPARE(look(), before);
    QCOMPARE(page.callPanelText(2, 0), QString());
    apply(1);
    QVERIFY(look() != before);
}

void TestAoipCallPage::pageButtons_data()
{
    QTest::addColumn<int>("codec");
    QTest::addColumn<QByteArray>("pages"); // book, network, status, home, the two SIP rows' settings
    dataRow("line 1", 1, QByteArray("26 17 29 1 18 19"));
    dataRow("line 2: its first row is account 2", 2, QByteArray("27 17 29 1 19"));
}

void TestAoipCallPage::pageButtons()
{
    QFETCH(int, codec);
    QFETCH(QByteArray, pages);
    QVexmarAoIPCallPage page(codec);
    QSignalSpy activated(&page, &QVexmarAoIPCallPage::pageActivated);
    for (const char *name : {"bookButton", "networkButton", "statusButton", "homeButton"})
        page.findChild<QVexmarButton *>(QLatin1String(name))->click();
    for (QVexmarSipAccountPanel *row : page.findChildren<QVexmarSipAccountPanel *>())
        row->findChild<QVexmarButton *>("settingsButton")->click();
    QByteArrayList ids;
    for (const int id : ints(activated))
        ids << QByteArray::number(id);
    QCOMPARE(ids.join(' '), pages);
}

void TestAoipCallPage::sides_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps"); // device bodies; "state <n>": the model's signal alone; "dstream <n>"
    QTest::addColumn<QByteArray>("buttons");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("controllers");
    const QByteArray wifiFetch = "PARAM|network=wifi.0|target=network|GET signal_quality";
    const QByteArray ethFetch = "PARAM|network=eth.0|target=network|GET mode|GET cable";
    const QByteArray dstream = "audio dstream_mode=enabled";

    dataRow("0: Ethernet and mobile", QByteArray(), QByteArrayList(),
        QByteArray("Ethernet green | Mobile (int 1) grey"), QByteArrayList(), QByteArray("eth.0,mobile.0"));
    dataRow("1: Wi-Fi", QByteArray(), QByteArrayList {eventBody("default_network", "network:wifi.0;")},
        QByteArray("Wi-Fi grey | Mobile (int 1) grey"), QByteArrayList {wifiFetch, wifiFetch, wifiFetch},
        QByteArray("mobile.0,wifi.0"));
    dataRow("1, same name: same controller", QByteArray(), QByteArrayList {"state 1"},
        QByteArray("Ethernet green | Mobile (int 1) grey"), QByteArrayList(), QByteArray("eth.0,mobile.0"));
    dataRow("1: no controller for aoip", QByteArray(), QByteArrayList {eventBody("default_network", "network:aoip;")},
        QByteArray("Invalid grey | Mobile (int 1) grey"), QByteArrayList(), QByteArray("mobile.0"));
    dataRow("2: Ethernet, grey without double streaming", QByteArray(),
        QByteArrayList {eventBody("secondary_network", "network:eth.0;")}, QByteArray("Ethernet green | Ethernet grey"),
        QByteArrayList {ethFetch, ethFetch}, QByteArray("eth.0,eth.0"));
    dataRow("7: double streaming on", QByteArray(), QByteArrayList {"dstream 1"},
        QByteArray("Ethernet green | Mobile (int 1) green"), QByteArrayList(), QByteArray("eth.0,mobile.0"));
    dataRow("mobile INFO: its link is up", dstream,
        QByteArrayList {"INFO;info_type:network_info;info_source:mobile.0;registration_state:home;"},
        QByteArray("Ethernet green | Mobile (int 1) green"), QByteArrayList(), QByteArray("eth.0,mobile.0"));
    dataRow("Ethernet EVENT: unplugged", QByteArray(),
        QByteArrayList {eventBody("config info", "network:eth.0;cable:unplugged;")},
        QByteArray("Ethernet grey | Mobile (int 1) grey"), QByteArrayList(), QByteArray("eth.0,mobile.0"));
}

void TestAoipCallPage::sides()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, buttons);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, controllers);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    for (const QByteArray &step : steps) {
        if (step.startsWith("state "))
            emit getDevice()->deviceStateChanged(TComDevice::DeviceState(step.mid(6).toInt()));
        else if (step.startsWith("dstream "))
            getDevice()->setDualStreamMode(step.mid(8).toInt());
        else
            QVERIFY(rig.deliver({step}));
    }
    QWidget *page = rig.window->aoipCallPage(1);
    QCOMPARE(interfaces(page), buttons);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(::controllers(page), controllers);
}

// The default network changes while the controller of the new one waits for its first answer.
void TestAoipCallPage::changeDuringRebuild()
{
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    rig.device.addFault(fault(SimDevice::Fault::Delay, 100, "signal_quality"));
    bool changed = false;
    connect(&rig.device, &SimDevice::requestReceived, this, [&changed](const RpcMessage &request) {
        if (changed || !request.body().param(kra::KEY_NETWORK) || *request.body().param(kra::KEY_NETWORK) != "mobile.0")
            return;
        changed = true;
        QTimer::singleShot(0, [] { getDevice()->setDefaultNetwork("wifi.0", false); });
    });
    QVERIFY(rig.deliver({eventBody("default_network", "network:mobile.0;")}));
    QVERIFY(changed);
    QWidget *page = rig.window->aoipCallPage(1);
    QCOMPARE(::controllers(page), QByteArray("mobile.0,wifi.0"));
    QCOMPARE(interfaces(page), QByteArray("Wi-Fi grey | Mobile (int 1) grey"));
    QVERIFY(rig.takeFrames().contains("PARAM|network=wifi.0|target=network|GET signal_quality"));
}

void TestAoipCallPage::numberPopups_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("history");
    QTest::addColumn<QByteArray>("offered"); // the pad's title and text, or the history's rows
    QTest::addColumn<QByteArray>("answer"); // typed on the pad; "cancel"; "call": a call starts, then OK
    QTest::addColumn<QByteArray>("number"); // the panel's number and state
    QTest::addColumn<QByteArrayList>("frames");
    const QByteArray info = "INFO|info_type=remote_numbers|remote_aoip1=";
    const QByteArray pad = "Dial Number: a";
    const QByteArray dial = "dialButton";
    const QByteArray history = "historyButton";
    dataRow("pad: a number", dial, QByteArray(), pad, QByteArray("555"), QByteArray("555 2"),
        QByteArrayList {info + "555"});
    dataRow("pad: emptied", dial, QByteArray(), pad, QByteArray(), QByteArray(" 1"), QByteArrayList {info});
    dataRow("pad: cancelled", dial, QByteArray(), pad, QByteArray("cancel"), QByteArray("a 2"), QByteArrayList());
    dataRow("pad: a call meanwhile", dial, QByteArray(), pad, QByteArray("call"), QByteArray("a 3"), QByteArrayList());
    dataRow("history: the last entry equal to the number", history, QByteArray("[a,b,a,c]"), QByteArray("a,b,[a],c"),
        QByteArray(), QByteArray("a 2"), QByteArrayList {info + "a"});
    dataRow("history: none equal, the first", history, QByteArray("[x,y]"), QByteArray("[x],y"), QByteArray(),
        QByteArray("x 2"), QByteArrayList {info + "x"});
    dataRow("history: no list, no row", history, QByteArray(), QByteArray(), QByteArray(), QByteArray("a 2"),
        QByteArrayList());
    dataRow("history: a call meanwhile", history, QByteArray("[x,y]"), QByteArray("[x],y"), QByteArray("call"),
        QByteArray("a 3"), QByteArrayList());
}

void TestAoipCallPage::numberPopups()
{
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, history);
    QFETCH(QByteArray, offered);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, number);
    QFETCH(QByteArrayList, frames);
    ScreenRig rig;
    if (!history.isEmpty())
        rig.device.loadSetup("db addr-history=" + history);
    QVERIFY(rig.startSetUp());
    QVexmarAoIPCallPage *page = rig.window->aoipCallPage(1);
    page->setCallPanelText(1, QStringLiteral("a"), 0);
    page->setCallState(1, 2);
    page->findChild<QVexmarButton *>(QLatin1String(button))->click();
    auto *pad = shown<QVexmarVirtual>(page);
    auto *list = shown<QVexmarMenuSelect>(page);
    QVERIFY(pad || list);
    QCOMPARE(pad ? pad->titleLabel.text().toUtf8() + ": " + pad->lineEdit.text().toUtf8() : rows(list), offered);
    rig.takeFrames();
    if (answer == "call") {
        QVERIFY(dialled(rig));
        page->setCallState(1, 3);
    }
    QVexmarPopup *popup = pad ? static_cast<QVexmarPopup *>(pad) : list;
    if (answer == "cancel")
        popup->close();
    else if (list)
        list->okClicked();
    else
        pad->lineEdit.setText(QString::fromUtf8(answer));
    if (pad && answer != "cancel")
        pad->keys[QVexmarVirtual::keyCount - 1]->click();
    QCOMPARE(page->callPanelText(1, 0).toUtf8() + " " + QByteArray::number(panelOf(page)->state()), number);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
}

void TestAoipCallPage::sipTexts_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("texts"); // codec 1's two rows, then codec 2's
    const QByteArray users = "network:aoip sip_user=a\nnetwork:aoip sip_user2=b\nnetwork:aoip sip_registrar=r1\n";
    dataRow("two registrars", users + "network:aoip sip_registrar2=r2", QByteArray("a@r1 | b@r2 | b@r2 | "));
    dataRow("account 2 at account 1's registrar",
        users + "network:aoip sip_registrar2=", QByteArray("a@r1 | b@r1 | b@r1 | "));
    dataRow("no registrar at all", users + "network:aoip sip_registrar=", QByteArray(" |  |  | "));
    dataRow("no second user", users + "network:aoip sip_user2=", QByteArray("a@r1 |  |  | "));
    dataRow("Latin-1 letters",
        QByteArray("network:aoip sip_user=M\xc3\xbcller\nnetwork:aoip sip_registrar=r\xc3\xa9gie"),
        QByteArray("M\xc3\xbcller@r\xc3\xa9gie |  |  | "));
}

void TestAoipCallPage::sipTexts()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, texts);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    rig.window->setAttribute(Qt::WA_DontShowOnScreen);
    rig.window->show();
    QByteArrayList shownTexts;
    for (const int codec : {1, 2}) {
        rig.window->pageActivated(QVexmar::Page(QVexmar::AoipCall1Page + codec - 1));
        for (QLabel *label : rig.window->aoipCallPage(codec)->findChildren<QLabel *>("addressLabel"))
            shownTexts << label->text().toUtf8();
    }
    QCOMPARE(shownTexts.join(" | "), texts);
}

void TestAoipCallPage::coding_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("call"); // the active event's codec keys; empty: no call
    QTest::addColumn<QByteArray>("rows");
    QTest::addColumn<QByteArray>("chosen"); // "ended": another call takes the line before OK
    QTest::addColumn<QByteArray>("sent"); // frames after OK, or a note, or a page
    const QByteArray opus = "codec_tx:OPUS/48000/stereo/";
    const QByteArray userInfo = "DO|action=send_user_info|id=21|info=AT#AVTXBITRATE=";
    dataRow("96 between 64 and 128", 0, opus + "96000;", QByteArray("32 kbit/s,64 kbit/s,[96 kbit/s],128 kbit/s"),
        QByteArray("64 kbit/s"), userInfo + "64000;");
    dataRow("256 after the list", 0, opus + "256000;", QByteArray("32 kbit/s,64 kbit/s,128 kbit/s,[256 kbit/s]"),
        QByteArray("256 kbit/s"), userInfo + "256000;");
    dataRow("another call before OK", 0, opus + "96000;", QByteArray("32 kbit/s,64 kbit/s,[96 kbit/s],128 kbit/s"),
        QByteArray("ended"), QByteArray());
    dataRow("auto bit rate", 0, opus + "96000;auto_bitrate:on;codec_rx:OPUS/48000/mono/64000;", QByteArray(),
        QByteArray(), QByteArray("Auto bit rate is active\n\nTx: Opus Stereo 96kbit/s\nRx: Opus Mono 64kbit/s"));
    dataRow("not Opus", 1, QByteArray("codec_tx:G722;"), QByteArray(), QByteArray(), QByteArray());
    dataRow("no call, Operator", 0, QByteArray(), QByteArray(), QByteArray(), QByteArray());
    dataRow("no call, Expert", 1, QByteArray(), QByteArray(), QByteArray(), QByteArray("page 21"));
}

void TestAoipCallPage::coding()
{
    QFETCH(int, level);
    QFETCH(QByteArray, call);
    QFETCH(QByteArray, rows);
    QFETCH(QByteArray, chosen);
    QFETCH(QByteArray, sent);
    ScreenRig rig;
    rig.device.loadSetup("audio bitrate=[32000,64000,128000]");
    QVERIFY(rig.startSetUp());
    g_accessLevel = level;
    QVexmarAoIPCallPage *page = rig.window->aoipCallPage(1);
    QSignalSpy notes(page, &QVexmarAoIPCallPage::showMessagePopup);
    QSignalSpy pages(page, &QVexmarAoIPCallPage::pageActivated);
    if (!call.isEmpty()) {
        QVERIFY(dialled(rig));
        QVERIFY(rig.deliver({eventBody("1000-call active", "id:21;network:eth.0;" + call)}));
    }
    rig.takeFrames();
    page->findChild<QVexmarButton *>("codingButton")->click();
    g_accessLevel = 0;
    QByteArray seen = notes.isEmpty() ? QByteArray() : notes.first().first().toString().toUtf8();
    if (!pages.isEmpty())
        seen = "page " + QByteArray::number(pages.first().first().toInt());
    auto *popup = shown<QVexmarMenuSelect>(page);
    QCOMPARE(popup ? ::rows(popup) : QByteArray(), rows);
    if (popup) {
        QCOMPARE(rig.takeFrames(),
            QByteArrayList {"PARAM|alg=OPUS|codec_mode=single_codec|mode=stereo|samplerate=48000|"
                            "target=audio|LIST bitrate"});
        if (chosen == "ended")
            QVERIFY(rig.deliver({released, otherCall}));
        choose(popup, chosen);
        seen = rig.framesAfterRoundTrip().join('\n');
    }
    QCOMPARE(seen, sent);
}

void TestAoipCallPage::interfaceChoice_data()
{
    QTest::addColumn<int>("codec");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<QByteArray>("setup"); // "call": line 1 has a call; "refuse": the device refuses the change
    QTest::addColumn<QByteArray>("rows"); // title: rows
    QTest::addColumn<QByteArray>("notes");
    QTest::addColumn<QByteArray>("interfaces");
    const QByteArray ethernet = "Ethernet green | Mobile (int 1) grey";
    dataRow("primary: Wi-Fi", 1, QByteArray("primaryInterfaceButton"), QByteArray(),
        QByteArray("Primary Network: [Ethernet],Mobile (int 1),Wi-Fi"), QByteArray("Applying changes..."),
        QByteArray("Wi-Fi grey | Mobile (int 1) grey"));
    dataRow("secondary: Wi-Fi", 1, QByteArray("secondaryInterfaceButton"), QByteArray(),
        QByteArray("Secondary Network: Ethernet,[Mobile (int 1)],Wi-Fi"), QByteArray("Applying changes..."),
        QByteArray("Ethernet green | Wi-Fi grey"));
    dataRow("during a call", 1, QByteArray("primaryInterfaceButton"), QByteArray("call"),
        QByteArray("Primary Network: [Ethernet],Mobile (int 1),Wi-Fi"),
        QByteArray("Cannot apply changes\n(a connection is established)"), ethernet);
    dataRow("refused", 1, QByteArray("primaryInterfaceButton"), QByteArray("refuse"),
        QByteArray("Primary Network: [Ethernet],Mobile (int 1),Wi-Fi"),
        QByteArray("Applying changes...|Failed to apply changes!"), ethernet);
    dataRow("line 2: no secondary choice", 2, QByteArray("secondaryInterfaceButton"), QByteArray(), QByteArray(),
        QByteArray(), ethernet);
}

void TestAoipCallPage::interfaceChoice()
{
    QFETCH(int, codec);
    QFETCH(QByteArray, button);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, rows);
    QFETCH(QByteArray, notes);
    QFETCH(QByteArray, interfaces);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    if (setup == "call")
        QVERIFY(dialled(rig));
    if (setup == "refuse")
        rig.device.refuseKey(kra::EVT_DEFAULT_NETWORK, "103-parameter set error");
    QVexmarAoIPCallPage *page = rig.window->aoipCallPage(codec);
    QSignalSpy shownNotes(page, &QVexmarAoIPCallPage::showMessagePopup);
    page->findChild<QVexmarButton *>(QLatin1String(button))->click();
    auto *popup = shown<QVexmarMenuSelect>(page);
    QCOMPARE(popup ? popup->titleLabel->text().toUtf8() + ": " + ::rows(popup) : QByteArray(), rows);
    if (popup)
        choose(popup, "Wi-Fi");
    QByteArrayList texts;
    for (const QList<QVariant> &arguments : shownNotes)
        texts << arguments.first().toString().toUtf8();
    QCOMPARE(texts.join('|'), notes);
    QCOMPARE(::interfaces(page), interfaces);
}

QTEST_MAIN(TestAoipCallPage)
#include "tst_aoipcallpage.moc"
