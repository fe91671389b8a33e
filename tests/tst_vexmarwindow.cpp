// The screen window against the simulated device: the set-up after a connection with its retries and the AES67
// reset, the audio levels, the routing of the device's messages, the deferred queue around synchronous calls,
// the keep-alive, page switching, the shutdown question and the firmware version.

#include "controllers/tcomravennacontroller.h"
#include "controllers/tmatrixsettings.h"
#include "device/localedictionary.h"
#include "device/vexmaraccess.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmarvoicecallpage.h"
#include "screen/vexmarloginpage.h"
#include "settings/vexmarsettingspage.h"
#include "tests/devicetesting.h"
#include "tests/screentesting.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/vexmarbutton.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <functional>

using namespace screentesting;

namespace {

const QByteArray fPasswords = "PARAM|cat=ui|controller_id=quorvane_ui|target=db|type=quorvane_ui|GET password_al|GET "
                              "password_el|GET password_ol";
const QByteArray fUi = "PARAM|target=ui|ui=quorvane_ui|GET remote_aoip1|GET remote_aoip2|GET remote_voice|GET "
                       "relay1_in|GET relay2_in|GET relay1_out|GET relay2_out";
const QByteArray fRavennaAttach = "PARAM|target=audio|GET rav_firmware_rev";
const QByteArray fRavennaFetch
    = "PARAM|target=audio|GET rav_manufacturer|GET rav_hardware_name|GET rav_if_count|GET rav_device_name|GET "
      "rav_hardware_rev";
const QByteArray fClock = "PARAM|clk_source=aes67|target=general";
const QByteArray fAes67On = "PARAM|aes67_reset=on|target=audio";
// A request of the test's own, that nothing else asks.
const QByteArray fProbe = "PARAM|target=general|GET probe";
// The window's own requests of a first set-up, the reads of the model and the controllers each as one word.
const QByteArrayList firstSetUp = {fPasswords, "model", "DO|action=subscribe|info=remote_numbers",
    "DO|action=subscribe|info=upload_progress", fUi, "DO|action=subscribe|event_type=audio_levels|period=500|port=1",
    "DO|action=request|event_type=comm_events", "matrix", "audio", fRavennaAttach, fRavennaFetch, fClock};

const QByteArray allOptions = "general device_opts=[ip_dcodec,mobile_lte,wifi,ravenna,remote_access_3,ip_dstream_1,"
                              "record_1,hardware_3,docking_poe";

// What the window asks of the device itself, in order; the start of the model's start-up and the reads of the
// matrix and the audio inputs by one word each. The requests of the model, the controllers and the status bar
// that follow from these are left out.
QByteArrayList outline(const QByteArrayList &frames)
{
    const QByteArrayList own
        = {fPasswords, "DO|action=subscribe|info=remote_numbers", "DO|action=subscribe|info=upload_progress", fUi,
            "DO|action=subscribe|event_type=audio_levels|period=500|port=1", "DO|action=request|event_type=comm_events",
            fRavennaAttach, fRavennaFetch, fClock, fAes67On, "DO|action=shutdown", fProbe};
    QByteArrayList words;
    for (const QByteArray &frame : frames) {
        if (frame == devicetesting::fOptions)
            words << "model";
        else if (frame.startsWith("PARAM|target=audio|GET matrix_in1|"))
            words << "matrix";
        else if (frame.startsWith("PARAM|target=audio|GET input_options|"))
            words << "audio";
        else if (own.contains(frame) || frame.startsWith("INFO|"))
            words << frame;
    }
    return words;
}

// "<kind>:<word>": an error reply (error), a dropped link (drop), a refusal (nok) or a 300 ms delay (delay) for
// the first request that names the word.
void addFaults(SimDevice &device, const QByteArrayList &faults)
{
    for (const QByteArray &spec : faults) {
        const QByteArrayList parts = spec.split(':');
        SimDevice::Fault f = fault(SimDevice::Fault::ErrorReply, 7);
        if (parts[0] == "drop")
            f.kind = SimDevice::Fault::Drop;
        else if (parts[0] == "nok")
            f.kind = SimDevice::Fault::Nok;
        else if (parts[0] == "delay")
            f = fault(SimDevice::Fault::Delay, 300);
        f.match = parts[1].toStdString();
        device.addFault(f);
    }
}

QString labelText(QWidget *page, const char *name)
{
    return page->findChild<QLabel *>(QLatin1String(name))->text();
}

// What a row of the routing table looks at, by name.
QMap<QByteArray, QByteArray> facts(QVexmarWindow &window)
{
    const auto n = [](int v) { return QByteArray::number(v); };
    const TComDevice *device = getDevice();
    QVexmarMessage *popup = window.messagePopup();
    return {
        {"popup", popup ? popup->text.toUtf8() : QByteArray("none")},
        {"pending", n(window.pendingAction())},
        {"aoip1", labelText(window.aoipCallPage(1), "callPanelLabel").toUtf8()},
        {"aoip2", labelText(window.aoipCallPage(2), "callPanelLabel").toUtf8()},
        {"voice", window.voiceCallPage()->findChild<QLineEdit *>("voiceNumberLine")->text().toUtf8()},
        {"relays", n(device->relay1().on) + n(device->relay2().on)},
        {"battery", n(device->batteryLevel())},
        {"aes67", n(device->aes67Reset())},
        {"ravenna", n(getRavennaController()->state())},
        {"input1", n(getAudioSettings()->input(1).on)},
        {"ftp", window.statusBar()->findChild<QWidget *>("ftpIndicator")->isHidden() ? "hidden" : "shown"},
        {"ready", n(device->isReady())},
        {"calls", n(int(device->connections().size()))},
    };
}

void compareFacts(QVexmarWindow &window, const QByteArrayList &expected)
{
    const QMap<QByteArray, QByteArray> seen = facts(window);
    for (const QByteArray &entry : expected) {
        const QByteArray name = entry.left(entry.indexOf('='));
        QCOMPARE(name + "=" + seen.value(name, "?"), entry);
    }
}

// Calls back on each paint event of the watched widget.
class PaintWatch : public QObject
{
public:
    std::function<void()> painted;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted();
        return false;
    }
};

// The same, once the window has had the time to get there.
void awaitFacts(QVexmarWindow &window, const QByteArrayList &expected)
{
    for (const QByteArray &entry : expected) {
        const QByteArray name = entry.left(entry.indexOf('='));
        QTRY_COMPARE(name + "=" + facts(window).value(name, "?"), entry);
    }
}

} // namespace

class TestVexmarWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void setUp_data();
    void setUp();
    void levels_data();
    void levels();
    void routing_data();
    void routing();
    void deviceTexts_data();
    void deviceTexts();
    void deferred_data();
    void deferred();
    void keepAlive_data();
    void keepAlive();
    void disconnectResets();
    void pages_data();
    void pages();
    void shutdown_data();
    void shutdown();
    void firmwareVersion_data();
    void firmwareVersion();
    void pageBuild_data();
    void pageBuild();
};

void TestVexmarWindow::cleanup()
{
    g_accessLevel = 0;
}

void TestVexmarWindow::setUp_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<int>("page"); // shown when the connection comes up
    QTest::addColumn<int>("passes"); // the first and the timer's
    QTest::addColumn<QByteArrayList>("requests");
    const QByteArrayList none;
    const QByteArrayList afterModel = firstSetUp.mid(2);

    QTest::newRow("login page: the login starts it") << QByteArray() << none << 0 << 1 << none;
    QTest::newRow("home page, all attached at once") << QByteArray() << none << 1 << 4 << firstSetUp;
    QTest::newRow("model refused, then ready") << QByteArray() << QByteArrayList {"error:network"} << 1 << 3
                                               << QByteArrayList {fPasswords, "model", "model"} + afterModel;
    QTest::newRow("matrix refused, then attached")
        << QByteArray() << QByteArrayList {"error:matrix_in1"} << 1 << 3 << firstSetUp + QByteArrayList {"matrix"};
    QTest::newRow("AES67 module refuses, then attached")
        << QByteArray() << QByteArrayList {"error:rav_firmware_rev"} << 1 << 3
        << firstSetUp.mid(0, 10) + QByteArrayList {fRavennaAttach, fRavennaFetch, fClock};
    QTest::newRow("no AES67 module") << QByteArray(allOptions).replace(",ravenna", "") + "]" << none << 1 << 2
                                     << firstSetUp.mid(0, 9);
    // The reset goes out once, at the fourth tick after the start.
    QTest::newRow("AES67 reset pending") << QByteArray("audio aes67_reset=on") << none << 1 << 8
                                         << firstSetUp.mid(0, 9) + QByteArrayList {fAes67On};
    QTest::newRow("AES67 reset pending, second module kind: every pass")
        << QByteArray("audio aes67_reset=on\n" + allOptions + ",ravenna_2]") << none << 1 << 3
        << firstSetUp.mid(0, 9) + QByteArrayList {fAes67On, fAes67On, fAes67On};
}

void TestVexmarWindow::setUp()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, faults);
    QFETCH(int, page);
    QFETCH(int, passes);
    QFETCH(QByteArrayList, requests);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.start());
    addFaults(rig.device, faults);
    QSignalSpy received(&rig.device, &SimDevice::requestReceived);
    if (page == QVexmar::LoginPage) {
        QVERIFY(!received.wait(400));
        QCOMPARE(rig.takeFrames(), requests);
        return;
    }

    // A reconnection on another page restarts the set-up by itself, 100 ms after the connection is up.
    rig.window->pageActivated(QVexmar::Page(page));
    QCOMPARE(rig.window->currentPage(), page);
    QElapsedTimer sinceUp;
    qint64 firstRequest = -1;
    QObject context;
    connect(getCom(), &kra::CCom::stateChanged, &context, [&](RpcConnection::ConnectionState state) {
        if (state == RpcConnection::ConnectedState)
            sinceUp.start();
    });
    connect(&rig.device, &SimDevice::requestReceived, &context, [&] {
        if (firstRequest < 0 && sinceUp.isValid())
            firstRequest = sinceUp.elapsed();
    });
    getCom()->disconnectFromDevice();
    QVERIFY(rig.connect());
    QTRY_VERIFY_WITH_TIMEOUT(rig.window->setupTimer()->isActive(), 10000);
    QVERIFY2(firstRequest >= QVexmarWindow::setupDelayMs, QByteArray::number(firstRequest));

    // The further passes of the timer, sped up.
    QTimer *timer = rig.window->setupTimer();
    int ticks = 0;
    connect(timer, &QTimer::timeout, &context, [&] {
        if (++ticks == passes - 1)
            timer->stop();
    });
    if (passes > 1) {
        timer->setInterval(5);
        QTRY_COMPARE(ticks, passes - 1);
    }
    QCOMPARE(outline(rig.takeFrames()), requests);
}

void TestVexmarWindow::levels_data()
{
    QTest::addColumn<QByteArray>("values");
    QTest::addColumn<QByteArray>("levels"); // 24 inputs, 7 outputs
    QByteArray all;
    QByteArray ordered;
    for (int i = 1; i <= 24; ++i) {
        all += "in" + QByteArray::number(i) + ":-" + QByteArray::number(i) + ";";
        ordered += " -" + QByteArray::number(i);
    }
    for (int j = 1; j <= 7; ++j) {
        all += "ou" + QByteArray::number(j) + ":-" + QByteArray::number(30 + j) + ";";
        ordered += " -" + QByteArray::number(30 + j);
    }
    const auto nines = [](int count) { return QByteArray(" 99").repeated(count); };

    QTest::newRow("all of them") << all << ordered.mid(1);
    QTest::newRow("some missing, numbers beyond never read") << QByteArray(
        "in1:-20;in24:-3;ou1:-6;ou7:-1;in25:5;ou8:4;in0:7;") << "-20" + nines(22) + " -3 -6" + nines(5) + " -1";
    QTest::newRow("texts that are no numbers")
        << QByteArray("in1:abc;in2:+5;in3:-7.5;ou1:;") << "0 5 -7" + nines(21) + " 0" + nines(6);
    QTest::newRow("none") << QByteArray() << nines(31).mid(1);
}

// Levels reach the visible page at once, also while a synchronous call waits.
void TestVexmarWindow::levels()
{
    QFETCH(QByteArray, values);
    QFETCH(QByteArray, levels);
    ScreenRig rig;
    QVERIFY(rig.start());
    SpyPage *spy = rig.showSpy();
    SimDevice::Fault delayed = fault(SimDevice::Fault::Delay, 200);
    delayed.before.push_back(body("EVENT;event_type:audio_levels;" + values));
    rig.device.addFault(delayed);
    QByteArrayList atCompletion;
    QObject context;
    connect(getCom(), &kra::CCom::sendSyncMsgCompleted, &context, [&] { atCompletion = spy->only({"levels"}); });
    QVERIFY(getDevice()->fetchBattery());
    QCOMPARE(atCompletion, QByteArrayList {"levels " + levels});
}

void TestVexmarWindow::routing_data()
{
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArrayList>("facts");
    const auto row = [](const char *name, const QByteArrayList &bodies, const QByteArrayList &facts) {
        QTest::newRow(name) << bodies << facts;
    };
    const QByteArray changeset = "INFO;info_type:audio_changeset;info_source:";
    const QByteArray update = changeset + "zman.0;system_update:";
    const QString unreachable = getLocaleDictionary()->translate("005-destination unreachable");

    row("remote numbers, Latin-1",
        {"INFO;info_type:remote_numbers;remote_aoip1:M\xfcller;remote_voice:555;",
            "INFO;info_type:remote_numbers;remote_aoip2:42;"},
        {"aoip1=M\xc3\xbcller", "aoip2=42", "voice=555"});
    row("display, UTF-8",
        {"EVENT;event_type:display;message:Gr\xc3\xbc\xc3\x9f"
         "e;"},
        {"popup=Gr\xc3\xbc\xc3\x9f"
         "e",
            "pending=-1"});
    row("display beyond Latin-1",
        {"EVENT;event_type:display;message:\xc5\x81\xc3\xb3"
         "d\xc5\xba;"},
        {"popup=\xc5\x81\xc3\xb3"
         "d\xc5\xba",
            "pending=-1"});
    row("display without a message", {"EVENT;event_type:display;message:;"}, {"popup=none"});
    row("shutting down", {"EVENT;event_type:shuttingdown;"}, {"popup=System is going down..."});
    row("restarting", {"EVENT;event_type:rebooting;"}, {"popup=System is restarting..."});
    row("two notices: one popup, the last text", {"EVENT;event_type:rebooting;", "EVENT;event_type:shuttingdown;"},
        {"popup=System is going down..."});
    row("system update started", {"EVENT;event_type:system_update;state:flashing;"},
        {"popup=System update started...\nDo not turn off the unit!\n\nflashing"});
    row("system update failed", {"EVENT;event_type:system_update;cause:005-destination unreachable;"},
        {"popup=System update failed!\n" + unreachable.toUtf8() + "\nPlease reboot the unit!"});
    row("FTP upload failed", {"EVENT;event_type:upload_state;state:error;cause:005-destination unreachable;"},
        {"popup=FTP upload failed!\n" + unreachable.toUtf8()});
    // Passed on to the status bar.
    row("FTP upload started", {"EVENT;event_type:upload_state;state:started;"}, {"popup=none", "ftp=shown"});
    row("FTP upload progress", {"INFO;info_type:upload_progress;percent:10;"}, {"popup=none", "ftp=shown"});
    row("AES67 module uploading", {update + "1;progress:42;"},
        {"popup=AES67 module update...\n\nUploading firmware 42%\n\nDo not turn off the unit!"});
    row("AES67 module installing, other name", {changeset + "bklyn.0;system_update:2;"},
        {"popup=AES67 module update...\n\nInstalling firmware 0%\n\nDo not turn off the unit!"});
    row("AES67 module update failed", {update + "3;"},
        {"popup=AES67 module update failed!\n\nPlease reboot the unit!"});
    row("AES67 module update finished", {update + "4;"},
        {"popup=AES67 module update finished\n\nPlease reboot the unit!"});
    row("AES67 module update, unknown stage", {update + "5;"}, {"popup=none"});
    row("AES67 module status even: detached", {changeset + "zman.0;system_status:2;"}, {"ravenna=-1"});
    row("AES67 module status odd", {changeset + "zman.0;system_status:3;"}, {"ravenna=0"});
    row("audio inputs changed", {changeset + "aic;input1:off;"}, {"input1=0"});
    row("audio change of another source", {changeset + "web;input1:off;"}, {"input1=1"});
    row("AES67 reset from the core", {changeset + "core;aes67_reset:on;"}, {"aes67=1", "ravenna=-1"});
    row("battery, to the model", {"INFO;info_type:battery_level;level:50;"}, {"battery=50"});
    row("input relays, to the model", {"EVENT;event_type:relay_in;relay1:on;"}, {"relays=10"});
    row("empty types do nothing",
        {"INFO;info_type:;level:50;", "EVENT;event_type:;relay1:on;", "EVENT;relay2:on;",
            "INFO;info_type:;remote_aoip1:7;"},
        {"battery=87", "relays=00", "aoip1=", "popup=none"});
    row("a call on line 1", {"EVENT;event_type:0600-call received;id:9;network:eth.0;"}, {"calls=2"});
}

void TestVexmarWindow::routing()
{
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArrayList, facts);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVERIFY(rig.deliver(bodies));
    compareFacts(*rig.window, facts);
}

void TestVexmarWindow::deviceTexts_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<int>("page"); // shown
    QTest::addColumn<QByteArray>("text"); // as a label shows it
    QTest::addColumn<QByteArrayList>("looks");
    const QByteArray img = R"(<img src=":/images/rec-red.png">)";
    const int home = QVexmar::HomePage;
    dataRow("display", QByteArray(), "EVENT;event_type:display;message:" + img + ";", home, img,
        QByteArrayList {"QVexmarMessage label: plain"});
    dataRow("FTP upload progress", QByteArray(), "INFO;info_type:upload_progress;percent:" + img + ";", home,
        "FTP " + img + "%", QByteArrayList {"QVexmarStatusFtp label: plain"});
    dataRow("remote number", QByteArray(), "INFO;info_type:remote_numbers;remote_aoip1:" + img + ";",
        int(QVexmar::AoipCall1Page), img, QByteArrayList {"callPanelLabel: plain"});
    dataRow("SIP address", "network:aoip sip_user=" + img + "\nnetwork:aoip sip_registrar=r1", QByteArray(),
        int(QVexmar::AoipCall1Page), img + "@r1", QByteArrayList {"addressLabel: plain"});
}

// What the device sends shows as the text it is, never as markup: "<img src=...>" draws no picture.
void TestVexmarWindow::deviceTexts()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, message);
    QFETCH(int, page);
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, looks);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    rig.window->setAttribute(Qt::WA_DontShowOnScreen);
    rig.window->show();
    QVERIFY(rig.deliver(message.isEmpty() ? QByteArrayList() : QByteArrayList {message}));
    rig.window->pageActivated(QVexmar::Page(page));
    QCOMPARE(textLook(rig.window.get(), QString::fromUtf8(text)), looks);
}

void TestVexmarWindow::deferred_data()
{
    QTest::addColumn<QByteArray>("when"); // "reply": sent before a delayed reply; "idle": before a call starts
    QTest::addColumn<QByteArray>("answer"); // of the call: "delay" or "drop"
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArrayList>("atCompletion"); // facts when the call completes
    QTest::addColumn<QByteArrayList>("facts");
    QTest::addColumn<QByteArrayList>("requests");
    const QByteArrayList probe = {fProbe};

    QTest::newRow("two notices during a reply: after it, in order")
        << QByteArray("reply") << QByteArray("delay")
        << QByteArrayList {"EVENT;event_type:display;message:one;", "EVENT;event_type:display;message:two;"}
        << QByteArrayList {"popup=none"} << QByteArrayList {"popup=two"} << probe;
    // Its event comes inside the call's wait, where its requests would be refused: it waits for the call.
    QTest::newRow("a notice before a call: its requests succeed after it")
        << QByteArray("idle") << QByteArray("delay") << QByteArrayList {"EVENT;event_type:reinit;"}
        << QByteArrayList {"ready=1"} << QByteArrayList {"ready=1", "ravenna=0"} << probe + firstSetUp;
    QTest::newRow("notices during a reply, then a drop: discarded")
        << QByteArray("reply") << QByteArray("drop")
        << QByteArrayList {"EVENT;event_type:display;message:lost;",
               "EVENT;event_type:0600-call received;id:9;network:eth.0;"}
        << QByteArrayList {"popup=none", "ready=0"} << QByteArrayList {"popup=none", "ready=0", "calls=0"} << probe;
}

void TestVexmarWindow::deferred()
{
    QFETCH(QByteArray, when);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArrayList, atCompletion);
    QFETCH(QByteArrayList, facts);
    QFETCH(QByteArrayList, requests);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    SimDevice::Fault call = fault(answer == "drop" ? SimDevice::Fault::Drop : SimDevice::Fault::Delay, 300);
    call.match = "probe";
    if (when == "reply") {
        for (const QByteArray &text : bodies)
            call.before.push_back(body(text));
    }
    rig.device.addFault(call);
    kra::CMsg probe(kra::CMsg::Param);
    probe.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    probe.addGet("probe");
    // 1 while the test's call waits, 2 once it returned.
    int phase = 0;
    QObject context;
    const auto makeCall = [&] {
        phase = 1;
        TComRpcAccess(getCom()).execute(probe, 5000);
        phase = 2;
    };
    connect(getCom(), &kra::CCom::sendSyncMsgCompleted, &context, [&] {
        if (phase == 1)
            compareFacts(*rig.window, atCompletion);
    });
    if (when == "reply") {
        makeCall();
    } else {
        // The call starts as soon as the notice is in, before the event loop took it from the queue.
        connect(getCom(), &kra::CCom::messageReceived, &context, [&] {
            if (phase == 0)
                makeCall();
        });
        std::vector<kra::CMsg> messages;
        for (const QByteArray &text : bodies)
            messages.push_back(body(text));
        rig.device.play(messages);
        QTRY_COMPARE(phase, 2);
    }
    QVERIFY(!QTest::currentTestFailed());
    // What is left in the queue is handled in the next turns of the event loop.
    QTRY_COMPARE_WITH_TIMEOUT(outline(rig.log), requests, 10000);
    awaitFacts(*rig.window, facts);
}

void TestVexmarWindow::keepAlive_data()
{
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<bool>("modelReady");
    QTest::addColumn<bool>("reconnects");
    QTest::addColumn<QByteArrayList>("requests"); // after the liveness request, when there is one

    QTest::newRow("device answers") << QByteArrayList() << true << false << QByteArrayList();
    QTest::newRow("network list refused: reconnect and set up again")
        << QByteArrayList {"error:network"} << true << true << firstSetUp;
    QTest::newRow("model not ready: nothing asked")
        << QByteArrayList {"error:network"} << false << false << QByteArrayList();
}

void TestVexmarWindow::keepAlive()
{
    QFETCH(QByteArrayList, faults);
    QFETCH(bool, modelReady);
    QFETCH(bool, reconnects);
    QFETCH(QByteArrayList, requests);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QTimer *timer = rig.window->keepAliveTimer();
    QVERIFY(timer->isActive());
    addFaults(rig.device, faults);
    if (!modelReady)
        getDevice()->reset(false);
    QSignalSpy connected(&rig.device, &SimDevice::clientConnected);
    rig.window->keepAliveEvent();
    if (reconnects) {
        QVERIFY(!timer->isActive());
        // To the host and ports of the last connection: the same device.
        QVERIFY(connected.count() == 1 || connected.wait(5000));
        QTRY_VERIFY_WITH_TIMEOUT(rig.window->setupTimer()->isActive(), 10000);
        QVERIFY(timer->isActive());
    } else {
        QVERIFY(!connected.wait(200));
        QVERIFY(timer->isActive());
    }
    QByteArrayList frames = rig.takeFrames();
    if (modelReady)
        QCOMPARE(frames.takeFirst(), devicetesting::fNetworks);
    QCOMPARE(outline(frames), requests);
}

// A drop of the connection leaves the page, and clears what the model, the controllers and the levels held.
void TestVexmarWindow::disconnectResets()
{
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVERIFY(rig.deliver(
        {"EVENT;event_type:0600-call received;id:9;network:eth.0;", "EVENT;event_type:audio_levels;in1:-4;ou7:-2;"}));
    SpyPage *spy = rig.showSpy();
    getCom()->disconnectFromDevice();
    QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
    // Closing, then unconnected: each says so.
    const QByteArrayList levels = spy->only({"levels"});
    QVERIFY(!levels.isEmpty());
    for (const QByteArray &line : levels)
        QCOMPARE(line, "levels refresh" + QByteArray(" 99").repeated(31));
    QCOMPARE(rig.window->currentPage(), int(QVexmar::HomePage));
    QVERIFY(!rig.window->setupTimer()->isActive());
    QVERIFY(!rig.window->keepAliveTimer()->isActive());
    compareFacts(*rig.window, {"ready=0", "calls=0", "ravenna=-1"});
    QCOMPARE(getAudioSettings()->state(), -1);
    QCOMPARE(getMatrixSettings()->state(), -1);
    // The status refresh of the page: no network, nothing to call on.
    QVERIFY(spy->calls.contains("networkType 0xffff 0"));
    QVERIFY(spy->calls.contains("callState 1 0"));
}

void TestVexmarWindow::pages_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArrayList>("steps"); // page ids; "call", "double", "entry <id>", "bar", "drop"
    QTest::addColumn<QByteArray>("shown"); // "<current page> <stack index> exit <exit page> entry <entry> <bar>"
    QTest::addColumn<int>("menu"); // the settings page's menu page shown; -2 when not compared
    const auto row = [](const char *name, const QByteArrayList &steps, const char *shown, int level = 1,
                         int menu = -2) { QTest::newRow(name) << level << steps << QByteArray(shown) << menu; };

    row("home page", {"1"}, "1 1 exit 1 entry -1 hidden");
    row("audio page", {"5"}, "5 5 exit 1 entry -1 hidden");
    row("unknown page", {"5", "31"}, "5 5 exit 1 entry -1 hidden");
    row("network menu from the audio page", {"5", "17"}, "16 16 exit 5 entry 1 hidden");
    row("codec 1 menu", {"5", "21"}, "16 16 exit 5 entry 2 hidden", 1, 99);
    row("codec 1 menu refused during a call on line 1", {"5", "call", "21"}, "5 5 exit 1 entry -1 hidden", 1, -1);
    // Single codec: the codec 2 row is locked, so the branch opens without it.
    row("codec 2 menu during a call on line 1", {"5", "call", "22"}, "16 16 exit 5 entry 2 hidden", 1, 2);
    row("codec 2 menu in double codec during a call on line 1", {"5", "double", "call", "22"},
        "16 16 exit 5 entry 2 hidden", 1, 100);
    row("codec 1 menu at the operator level: the branch only", {"5", "21"}, "16 16 exit 5 entry 2 hidden", 0, 2);
    row("call profiles of line 1 refused during its call", {"5", "call", "26"}, "5 5 exit 1 entry -1 hidden");
    row("call profiles of the voice line", {"5", "call", "28"}, "16 16 exit 5 entry 4 hidden");
    // The Book opened for a line shows its call profile list at once.
    row("call profiles of line 1: the list", {"5", "26"}, "16 16 exit 5 entry 4 hidden", 1, 170);
    row("call profiles of line 2: the list", {"5", "27"}, "16 16 exit 5 entry 4 hidden", 1, 170);
    row("call profiles of the voice line: the list", {"5", "28"}, "16 16 exit 5 entry 4 hidden", 1, 170);
    row("call profiles of line 2 refused during its call", {"5", "call audio2", "27"}, "5 5 exit 1 entry -1 hidden");
    row("call profiles of the voice line refused during its call", {"5", "call coord_line", "28"},
        "5 5 exit 1 entry -1 hidden");
    row("settings page before any menu: refused", {"5", "16"}, "5 5 exit 1 entry -1 hidden");
    row("settings page opens its last menu", {"5", "17", "1", "16"}, "16 16 exit 1 entry 1 hidden");
    row("status menu, then network: exit page kept", {"5", "29", "17"}, "16 16 exit 5 entry 1 hidden");
    // The menu ids stand for the settings page: a shortcut opens its menu while the page is shown.
    row("network menu again after the user chose another", {"5", "17", "entry 6", "17"}, "16 16 exit 5 entry 1 hidden");
    row("audio menu refused at the operator level", {"5", "23"}, "5 5 exit 1 entry -1 hidden", 0);
    row("audio menu at the expert level", {"5", "23"}, "16 16 exit 5 entry 3 hidden");
    row("exit returns to the exit page", {"5", "17", "entry 0"}, "5 5 exit 5 entry 0 hidden");
    row("settings page after Exit reopens the last branch", {"5", "17", "entry 0", "16"},
        "16 16 exit 5 entry 1 hidden");
    row("SIP account 1", {"5", "18"}, "16 16 exit 5 entry 1 hidden", 1, 77);
    row("SIP account 2", {"5", "19"}, "16 16 exit 5 entry 1 hidden", 1, 78);
    // The Network page locks its AoIP row at the operator level: the window stays.
    row("SIP account 1 refused at the operator level", {"5", "18"}, "5 5 exit 1 entry 1 hidden", 0, 1);
    row("FTP server at the expert level", {"5", "30"}, "16 16 exit 5 entry 5 hidden", 1, 221);
    // Miscellaneous is locked for the Operator: a locked row on the way counts as missing.
    row("FTP server refused at the operator level", {"5", "30"}, "5 5 exit 1 entry 5 hidden", 0, 5);
    row("pages refused without a connection", {"5", "bar", "drop", "1"}, "5 5 exit 1 entry -1 shown");
    row("login page without a connection hides the bar", {"5", "bar", "drop", "0"}, "0 0 exit 1 entry -1 hidden");
}

void TestVexmarWindow::pages()
{
    QFETCH(int, level);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, shown);
    QFETCH(int, menu);
    g_accessLevel = level;
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarWindow &window = *rig.window;
    // The set-up left the home page shown.
    QVexmarSettingsPage *settings = window.settingsPage();
    settings->exitPage = QVexmar::HomePage;
    for (const QByteArray &step : steps) {
        if (step == "call") {
            QVERIFY(rig.deliver({"EVENT;event_type:0600-call received;id:9;network:eth.0;"}));
            QVERIFY(getDevice()->audioConnection(1));
        } else if (step.startsWith("call ")) {
            QVERIFY(rig.deliver(
                {"EVENT;event_type:0600-call received;id:10;network:eth.0;comm_link:" + step.mid(5) + ";"}));
        } else if (step == "double") {
            QVERIFY(
                rig.deliver({"EVENT;event_type:default_codec;codec_mode:cmode_double;dcodec_1:G722;dcodec_2:G722;"}));
            QCOMPARE(getDevice()->codecMode(), int(TComDevice::CodecModeDouble));
        } else if (step.startsWith("entry ")) {
            settings->entries->itemClicked(settings->entries->findEntry(step.mid(6).toInt())->titleLabel);
        } else if (step == "bar") {
            window.statusBar()->show();
        } else if (step == "drop") {
            getCom()->disconnectFromDevice();
            QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
        } else {
            window.pageActivated(QVexmar::Page(step.toInt()));
        }
    }
    const auto n = [](int v) { return QByteArray::number(v); };
    QCOMPARE(n(window.currentPage()) + " " + n(window.pageStack()->currentIndex()) + " exit " + n(settings->exitPage)
            + " entry " + n(settings->currentEntryId) + " " + (window.statusBar()->isHidden() ? "hidden" : "shown"),
        shown);
    if (menu != -2)
        QCOMPARE(settings->currentItems() ? settings->currentItems()->pageId : -1, menu);
}

void TestVexmarWindow::shutdown_data()
{
    QTest::addColumn<QByteArray>("answer"); // OK or Cancel
    QTest::addColumn<QByteArrayList>("faults");
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArray>("popup"); // afterwards

    QTest::newRow("OK") << QByteArray("OK") << QByteArrayList() << QByteArrayList {"DO|action=shutdown"}
                        << QByteArray("none");
    QTest::newRow("Cancel") << QByteArray("Cancel") << QByteArrayList() << QByteArrayList() << QByteArray("none");
    QTest::newRow("OK, refused by the device")
        << QByteArray("OK") << QByteArrayList {"nok:shutdown"} << QByteArrayList {"DO|action=shutdown"}
        << QByteArray("Failed to proceed!");
}

void TestVexmarWindow::shutdown()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArrayList, faults);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArray, popup);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    addFaults(rig.device, faults);
    QVERIFY(rig.deliver({"EVENT;event_type:display;message:before;", "EVENT;event_type:shutdown_request;"}));
    const QByteArray question = "Are you sure you want to bring the system down?";
    // The question replaced the message, and no message replaces it.
    compareFacts(*rig.window, {"popup=" + question, "pending=0"});
    QVERIFY(rig.deliver({"EVENT;event_type:display;message:ignored;", "EVENT;event_type:rebooting;"}));
    compareFacts(*rig.window, {"popup=" + question, "pending=0"});
    QVexmarMessage *box = rig.window->messagePopup();
    QVERIFY(box->okButton && box->cancelButton);
    QTest::mouseClick(answer == "OK" ? box->okButton : box->cancelButton, Qt::LeftButton);
    compareFacts(*rig.window, {"popup=" + popup, "pending=-1"});
    QCOMPARE(outline(rig.takeFrames()), requests);
    if (answer == "Cancel") {
        QVERIFY(rig.deliver({"EVENT;event_type:display;message:after;"}));
        compareFacts(*rig.window, {"popup=after"});
    }
}

void TestVexmarWindow::firmwareVersion_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<unsigned>("version");
    QTest::newRow("four fields, the fourth unread") << QByteArray("1.01.04.0") << 0x010104u;
    QTest::newRow("leading zeros are decimal") << QByteArray("1.08.00.0") << 0x010800u;
    QTest::newRow("three digits") << QByteArray("1.010.0") << 0x010A00u;
    QTest::newRow("major alone") << QByteArray("1") << 0x010000u;
    QTest::newRow("any separator") << QByteArray("2-3_4") << 0x020304u;
    QTest::newRow("low 8 bits of each") << QByteArray("257.1.1") << 0x010101u;
    QTest::newRow("stops where no number follows") << QByteArray("3.x.7") << 0x030000u;
    QTest::newRow("starts with a letter") << QByteArray("x") << 0u;
    QTest::newRow("empty") << QByteArray("") << 0u;
}

void TestVexmarWindow::firmwareVersion()
{
    QFETCH(QByteArray, text);
    QFETCH(unsigned, version);
    QCOMPARE(parseFirmwareVersion(text.constData()), version);
}

void TestVexmarWindow::pageBuild_data()
{
    QTest::addColumn<int>("build");
    QTest::addColumn<QByteArray>("trigger"); // what builds the pages after the login page
    QTest::addColumn<int>("before"); // pages in the stack until then

    const int later = QVexmarWindow::LoginPageFirst;
    QTest::newRow("all at once") << int(QVexmarWindow::AllPages) << QByteArray() << 17;
    QTest::newRow("login page first: after the first frame") << later << QByteArray("show") << 1;
    QTest::newRow("login page first: a page accessor") << later << QByteArray("accessor") << 1;
    QTest::newRow("login page first: a connection") << later << QByteArray("connect") << 1;
    QTest::newRow("login page first: a change of the device model") << later << QByteArray("model") << 1;
}

// However late they are built, the pages are the same, in the order of their ids, and each leads to the window.
void TestVexmarWindow::pageBuild()
{
    QFETCH(int, build);
    QFETCH(QByteArray, trigger);
    QFETCH(int, before);
    ScreenRig rig;
    QVERIFY(rig.device.listen());
    rig.window = std::make_unique<QVexmarWindow>(nullptr, QVexmarWindow::PageBuild(build));
    QVexmarWindow &window = *rig.window;
    // Found without the accessor, which would build them.
    auto *stack = window.layout()->findChild<QStackedLayout *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(stack->count(), before);

    if (trigger == "show") {
        PaintWatch watch;
        int shownWith = 0;
        watch.painted = [&] {
            if (shownWith == 0)
                shownWith = stack->count();
        };
        window.loginPage()->installEventFilter(&watch);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_COMPARE(stack->count(), 17);
        QCOMPARE(shownWith, 1);
    } else if (trigger == "accessor") {
        QVERIFY(window.settingsPage());
    } else if (trigger == "connect") {
        QVERIFY(getCom()->connectToDevice(rig.device.host(), rig.device.port(), 0));
    } else if (trigger == "model") {
        emit getDevice()->deviceStateChanged(TComDevice::BatteryChanged);
    }
    QCOMPARE(stack->count(), 17);
    QByteArrayList pages;
    for (int i = 0; i < stack->count(); ++i)
        pages << stack->widget(i)->metaObject()->className();
    QCOMPARE(pages.join(' '),
        QByteArray("QVexmarLoginPage QVexmarMainPage QVexmarAoIPCallPage QVexmarAoIPCallPage QVexmarVoiceCallPage "
                   "QVexmarAudioPage QVexmarMixerInputPage QVexmarMixerOutput1Page QVexmarMixerOutput2Page "
                   "QVexmarMixerMonitoring1Page QVexmarMixerMonitoring2Page QVexmarMixerMonitoring2Page "
                   "QVexmarMixerMonitoring2Page QVexmarFolderPage QVexmarRecordingPage QVexmarEditorPage "
                   "QVexmarSettingsPage"));

    QVERIFY(trigger == "connect" ? rig.waitConnected() : rig.connect());
    // The home page switches through the window itself.
    for (int i = QVexmar::AoipCall1Page; i < stack->count(); ++i) {
        const QVexmar::Page target = window.currentPage() == QVexmar::HomePage ? QVexmar::AudioPage : QVexmar::HomePage;
        QVERIFY(QMetaObject::invokeMethod(stack->widget(i), "pageActivated", Q_ARG(QVexmar::Page, target)));
        QCOMPARE(window.currentPage(), int(target));
    }
}

QTEST_MAIN(TestVexmarWindow)
#include "tst_vexmarwindow.moc"
