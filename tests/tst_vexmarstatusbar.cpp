// The status bar and its network and upload indicators. The network indicators run against the simulated device
// with their real controllers and the process-wide model, as the screen window feeds them: each notification to
// the model first, then to the bar.

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarstatusnet.h"
#include "tests/pixeltesting.h"
#include "tests/rpctesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarindicators.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QtTest>

#include <memory>

using rpctesting::body;

namespace {

QByteArray colourName(QRgb colour)
{
    static const QMap<QRgb, QByteArray> names = {{rgb(127, 127, 127), "grey"}, {rgb(170, 255, 170), "pale"},
        {rgb(0, 255, 0), "green"}, {rgb(255, 255, 0), "yellow"}, {rgb(255, 0, 0), "red"}, {rgb(240, 101, 101), "rose"},
        {rgb(234, 177, 102), "orange"}};
    return names.value(colour & 0xFFFFFF, "#" + QByteArray::number(colour & 0xFFFFFF, 16));
}

// The face of a button or pill: a pixel inside its frame, left of its content.
QByteArray face(QWidget *widget)
{
    return colourName(pixelAt(widget->grab().toImage(), 2, widget->height() / 2));
}

QByteArray shown(const QWidget *widget)
{
    return widget->isHidden() ? "hidden" : "shown";
}

// The picture a button shows, by the name of its image: the button as painted, compared inside its frame with a
// twin that shows each candidate.
QByteArray icon(QVexmarButton *button, const QByteArrayList &candidates)
{
    const QRect inside = button->rect().adjusted(2, 2, -2, -2);
    const auto content = [inside](QWidget &widget) {
        return widget.grab().toImage().copy(inside).convertToFormat(QImage::Format_RGB32);
    };
    const QImage painted = content(*button);
    for (const QByteArray &name : candidates) {
        QVexmarButton twin;
        twin.setFixedSize(button->size());
        twin.borderWidth = button->borderWidth;
        twin.radius = button->radius;
        // Set role by role: a copied palette knows nothing of the roles the button inherits.
        QPalette palette;
        palette.setBrush(QPalette::Window, button->palette().window());
        palette.setBrush(QPalette::WindowText, button->palette().windowText());
        twin.setPalette(palette);
        twin.setIcon(QIcon(":/images/" + QString::fromLatin1(name) + ".png"));
        if (content(twin) == painted)
            return name;
    }
    return "?";
}

const QByteArrayList netIcons
    = {"eth1", "eth2", "mobile1", "mobile2", "wifi_0bar", "wifi_1bar", "wifi_2bar", "wifi_3bar", "wifi_4bar"};

// "<shown> <face> [bars <n>] [tech <text>] icon <name>": bars while the gauge is shown, the technology while its
// label is.
QByteArray netFace(QVexmarStatusNet *net)
{
    QByteArray text = shown(net) + " " + face(net);
    auto *gauge = net->findChild<QVexmarSigQuality *>();
    if (!gauge->isHidden()) {
        const QImage bars = gauge->grab().toImage();
        int count = 0;
        for (int k = 0; k < 5; ++k)
            count += pixelAt(bars, 6 * k + 2, 16) != pixelAt(bars, 5, 20) ? 1 : 0;
        text += " bars " + QByteArray::number(count);
    }
    auto *technology = net->findChild<QLabel *>();
    if (!technology->isHidden())
        text += " tech " + technology->text().toLatin1();
    return text + " icon " + icon(net->findChild<QVexmarButton *>(), netIcons);
}

QByteArray networkInfo(const char *network, const QByteArray &values)
{
    return "INFO;info_type:network_info;info_source:" + QByteArray(network) + ";" + values;
}

QByteArray linkEvent(const char *type, int id, const char *network)
{
    return "EVENT;event_type:" + QByteArray(type) + ";id:" + QByteArray::number(id) + ";network:" + network + ";";
}

const QByteArray eth0Plugged = "EVENT;event_type:config info;network:eth.0;cable:plugged;";

} // namespace

class TestVexmarStatusBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void ownInterface_data();
    void ownInterface();
    void deviceStates_data();
    void deviceStates();
    void messages_data();
    void messages();
    void resetIndicators();
    void callState_data();
    void callState();
    void battery_data();
    void battery();
    void micState_data();
    void micState();
    void clock();
    void ftp_data();
    void ftp();

private:
    void connectDevice(const QByteArray &setup = QByteArray());
    QByteArrayList takeFrames();
    // Plays the bodies from the device and routes what arrives.
    void deliver(QVexmarStatusBar &bar, const QByteArrayList &bodies);

    std::unique_ptr<SimDevice> m_device;
};

void TestVexmarStatusBar::initTestCase()
{
    qRegisterMetaType<TComDevice::DeviceState>();
}

void TestVexmarStatusBar::cleanup()
{
    if (!m_device)
        return;
    getCom()->disconnectFromDevice();
    QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
    getDevice()->reset(true);
    m_device.reset();
}

void TestVexmarStatusBar::connectDevice(const QByteArray &setup)
{
    m_device = std::make_unique<SimDevice>();
    m_device->loadSetup(SimDevice::codecSetup());
    m_device->loadSetup(setup);
    QVERIFY(m_device->listen());
    QVERIFY(getCom()->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
    QTRY_COMPARE(m_device->clientCount(), 1);
}

QByteArrayList TestVexmarStatusBar::takeFrames()
{
    QByteArrayList frames;
    for (const RpcMessage &request : m_device->requests())
        frames << describe(request.body());
    m_device->clearRequests();
    return frames;
}

void TestVexmarStatusBar::deliver(QVexmarStatusBar &bar, const QByteArrayList &bodies)
{
    QSignalSpy received(getCom(), &kra::CCom::messageReceived);
    std::vector<kra::CMsg> messages;
    for (const QByteArray &text : bodies)
        messages.push_back(body(text));
    m_device->play(messages);
    while (received.count() < bodies.size() && received.wait(5000)) { }
    QCOMPARE(received.count(), bodies.size());
    for (const QList<QVariant> &args : QList<QList<QVariant>>(received)) {
        RpcMessage message = args.first().value<RpcMessage>();
        if (message.body().kind == kra::CMsg::Info) {
            getDevice()->handleInfo(message);
            bar.handleInfo(message.body());
        } else {
            getDevice()->handleEvent(message);
            bar.handleEvent(message.body());
        }
    }
}

void TestVexmarStatusBar::ownInterface_data()
{
    QTest::addColumn<QString>("network");
    QTest::addColumn<QByteArrayList>("frames"); // what attaching asks
    QTest::addColumn<bool>("shown"); // after the interface's own "network_info" and "config info"
    const QByteArray on = "PARAM|network=%1|target=network|";
    dataRow("Ethernet", "eth.0", QByteArrayList {on + "GET mode|GET cable"}, true);
    dataRow("mobile", "mobile.1",
        QByteArrayList {on + "GET pin|GET registration_state", on + "GET signal_quality|GET technology"}, true);
    dataRow("Wi-Fi", "wifi.0", QByteArrayList {on + "GET data_connection_state|GET signal_quality"}, true);
    dataRow("ISDN: inert", "isdn.0", QByteArrayList(), false);
    dataRow("AoIP: inert", "aoip", QByteArrayList(), false);
}

void TestVexmarStatusBar::ownInterface()
{
    QFETCH(QString, network);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, shown);
    const QByteArray name = network.toLatin1();
    connectDevice();
    QVexmarStatusNet net(name.toStdString());
    net.hide();
    net.attachController();
    for (QByteArray &frame : frames)
        frame.replace("%1", name);
    QCOMPARE(takeFrames(), frames);

    net.handleInfo(body(networkInfo(name, "signal_quality:20;")));
    net.handleEvent(body("EVENT;event_type:config info;network:" + name + ";"));
    QCOMPARE(!net.isHidden(), shown);
    QCOMPARE(takeFrames(), QByteArrayList());
}

void TestVexmarStatusBar::deviceStates_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("asked"); // the interfaces asked, in order
    QTest::newRow("model ready") << 0 << QByteArray("eth.0 eth.1 mobile.0 mobile.0 mobile.1 mobile.1 wifi.0");
    for (int state = TComDevice::DefaultNetworkChanged; state <= TComDevice::Aes67ResetStored; ++state)
        QTest::addRow("state %d", state) << state << QByteArray();
}

void TestVexmarStatusBar::deviceStates()
{
    QFETCH(int, state);
    QFETCH(QByteArray, asked);
    connectDevice();
    QVexmarStatusBar bar;
    emit getDevice()->deviceStateChanged(TComDevice::DeviceState(state));
    QByteArrayList networks;
    for (const QByteArray &frame : takeFrames())
        networks << frame.mid(frame.indexOf("network=") + 8).split('|').first();
    QCOMPARE(networks.join(' '), asked);
}

void TestVexmarStatusBar::messages_data()
{
    QTest::addColumn<QString>("setup"); // over the codec's: eth.0 plugged, a data link on mobile.0, none on wifi.0
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QString>("indicator"); // its object name without "Indicator"
    QTest::addColumn<QString>("face");
    const auto mobile = [](const QByteArray &values) { return QByteArrayList {networkInfo("mobile.0", values)}; };
    const auto wifi
        = [](const char *dbm) { return networkInfo("wifi.0", "signal_quality_dbm:" + QByteArray(dbm) + ";"); };
    const QByteArray eth0Unplugged = "EVENT;event_type:config info;network:eth.0;cable:unplugged;";
    const QByteArray eth1Plugged = "EVENT;event_type:config info;network:eth.1;cable:plugged;";
    const QByteArrayList none;

    dataRow("eth.0 plugged at attach", "", none, "eth1", "shown green icon eth1");
    dataRow("eth.0 unplugged at attach", "network:eth.0 cable=unplugged", none, "eth1", "shown grey icon eth1");
    dataRow("eth.0 plugged later", "network:eth.0 cable=unplugged", QByteArrayList {eth0Plugged}, "eth1",
        "shown green icon eth1");
    dataRow("eth.0 unplugged later", "", QByteArrayList {eth0Unplugged}, "eth1", "shown grey icon eth1");
    dataRow("eth.1 shown by its own", "", QByteArrayList {eth1Plugged}, "eth2", "shown green icon eth2");
    dataRow("eth.1 deaf to eth.0", "", QByteArrayList {eth0Plugged}, "eth2", "hidden grey icon eth2");
    for (const auto &[quality, bars] :
        {std::pair("26", 5), {"25", 4}, {"6", 2}, {"5", 1}, {"1", 1}, {"0", 0}, {"-70 dBm", 4}}) {
        QTest::addRow("mobile.0 signal %s", quality)
            << QString() << mobile("signal_quality:" + QByteArray(quality) + ";technology:5G;") << "mob1"
            << QStringLiteral("shown green bars %1 tech 5G icon mobile1").arg(bars);
    }
    dataRow("mobile.0 technology gone", "", mobile("signal_quality:26;technology:LTE;") + mobile("signal_quality:26;"),
        "mob1", "shown green bars 5 icon mobile1");
    dataRow("mobile.1 deaf to mobile.0", "", mobile("signal_quality:26;"), "mob2", "hidden grey bars 0 icon mobile2");
    const QByteArray down = linkEvent("data disconnected", 12, "mobile.0");
    dataRow("mobile.0 link down", "", QByteArrayList {down} + mobile("signal_quality:6;"), "mob1",
        "shown grey bars 2 icon mobile1");
    dataRow("mobile.0 link up again", "",
        QByteArrayList {down, linkEvent("data connected", 20, "mobile.0")} + mobile("signal_quality:6;"), "mob1",
        "shown green bars 2 icon mobile1");
    for (const auto &[dbm, level, icon] :
        {std::tuple("-55 dBm", 29, "wifi_4bar"), {"-57 dBm", 28, "wifi_3bar"}, {"-79 dBm", 17, "wifi_2bar"},
            {"-81 dBm", 16, "wifi_1bar"}, {"-89 dBm", 12, "wifi_1bar"}, {"-91 dBm", 11, "wifi_0bar"}}) {
        QTest::addRow("wifi.0 level %d", level)
            << QString() << QByteArrayList {wifi(dbm)} << "wifi1" << QStringLiteral("shown grey icon ") + icon;
    }
    dataRow("wifi.0 link up", "", QByteArrayList {linkEvent("data connected", 21, "wifi.0"), wifi("-55 dBm")}, "wifi1",
        "shown green icon wifi_4bar");
    // Attaching read -60 dBm.
    dataRow("wifi.0 deaf to mobile.0", "", mobile("signal_quality:26;"), "wifi1", "hidden grey icon wifi_3bar");
}

void TestVexmarStatusBar::messages()
{
    QFETCH(QString, setup);
    QFETCH(QByteArrayList, bodies);
    QFETCH(QString, indicator);
    QFETCH(QString, face);
    connectDevice(setup.toLatin1());
    QVexmarStatusBar bar;
    QVERIFY(getDevice()->initialize());
    deliver(bar, bodies);
    QCOMPARE(QString::fromLatin1(netFace(bar.findChild<QVexmarStatusNet *>(indicator + "Indicator"))), face);
}

void TestVexmarStatusBar::resetIndicators()
{
    connectDevice();
    QVexmarStatusBar bar;
    QVERIFY(getDevice()->initialize());
    deliver(bar,
        {"EVENT;event_type:config info;network:eth.1;cable:plugged;", networkInfo("mobile.0", "technology:5G;"),
            networkInfo("mobile.1", "technology:LTE;"), networkInfo("wifi.0", "signal_quality_dbm:-55 dBm;"),
            "EVENT;event_type:upload_state;state:started;"});
    bar.setVoiceIndicatorVisible(true);
    bar.setCallState(1, 2);
    QCOMPARE(netFace(bar.findChild<QVexmarStatusNet *>("mob1Indicator")),
        QByteArray("shown green bars 0 tech 5G icon mobile1"));

    bar.resetIndicators();
    QByteArrayList faces;
    for (const char *name : {"eth1Indicator", "eth2Indicator", "mob1Indicator", "mob2Indicator", "wifi1Indicator"})
        faces << netFace(bar.findChild<QVexmarStatusNet *>(name));
    QCOMPARE(faces,
        QByteArrayList({"shown grey icon eth1", "hidden grey icon eth2", "hidden grey bars 0 icon mobile1",
            "hidden grey bars 0 icon mobile2", "hidden grey icon wifi_4bar"}));
    QCOMPARE(shown(bar.findChild<QWidget *>("voiceIndicator")), QByteArray("hidden"));
    QCOMPARE(face(bar.findChild<QWidget *>("s1Indicator")), QByteArray("green"));
    QCOMPARE(shown(bar.findChild<QWidget *>("ftpIndicator")) + " " + face(bar.findChild<QWidget *>("ftpIndicator")),
        QByteArray("shown green"));
}

void TestVexmarStatusBar::callState_data()
{
    QTest::addColumn<QList<QPoint>>("calls"); // codec, code
    QTest::addColumn<QByteArray>("faces"); // S1, S2, Vo
    const QByteArray names[] = {"grey", "pale", "green", "yellow", "red", "rose", "orange"};
    for (int code = 0; code <= 6; ++code) {
        QTest::addRow("S1 code %d", code) << QList<QPoint> {{1, code}} << names[code] + " grey grey";
        QTest::addRow("S2 code %d", code) << QList<QPoint> {{2, code}} << "grey " + names[code] + " grey";
        QTest::addRow("Vo code %d", code) << QList<QPoint> {{3, code}} << "grey grey " + names[code];
    }
    QTest::newRow("other code is grey") << QList<QPoint> {{1, 3}, {1, 9}} << QByteArray("grey grey grey");
    QTest::newRow("repeated code") << QList<QPoint> {{1, 3}, {1, 3}} << QByteArray("yellow grey grey");
    QTest::newRow("back to 0") << QList<QPoint> {{2, 4}, {2, 0}} << QByteArray("grey grey grey");
    QTest::newRow("codec 7 is Vo") << QList<QPoint> {{7, 4}} << QByteArray("grey grey red");
}

void TestVexmarStatusBar::callState()
{
    QFETCH(QList<QPoint>, calls);
    QFETCH(QByteArray, faces);
    QVexmarStatusBar bar;
    for (const QPoint &call : calls)
        bar.setCallState(call.x(), call.y());
    QByteArrayList seen;
    for (const char *name : {"s1Indicator", "s2Indicator", "voiceIndicator"})
        seen << face(bar.findChild<QWidget *>(name));
    QCOMPARE(seen.join(' '), faces);
    // Only its visibility says whether "Vo" is on the bar.
    QCOMPARE(shown(bar.findChild<QWidget *>("voiceIndicator")), QByteArray("hidden"));
}

void TestVexmarStatusBar::battery_data()
{
    QTest::addColumn<QString>("calls"); // "<level>/<status>/<minutes> ..."
    QTest::addColumn<QString>("shows"); // "<time> <shown> <percent> <shown> icon <shown>"
    dataRow("construction values", "0/0/-1", "1H00 hidden 100% hidden icon hidden");
    dataRow("discharging, 0 minutes", "55/1/0", "0H00 hidden 55% shown icon shown");
    dataRow("then 61 minutes", "55/1/0 55/1/61", "1H01 shown 55% shown icon shown");
    dataRow("not detected", "40/0/90", "1H30 hidden 40% hidden icon hidden");
    dataRow("charging, no time", "40/2/-5", "1H00 hidden 40% shown icon shown");
    dataRow("time kept", "87/3/125 40/2/-5", "2H05 hidden 40% shown icon shown");
    dataRow("battery gone, same minutes", "87/1/90 87/0/90", "1H30 hidden 87% hidden icon hidden");
    dataRow("battery back, same minutes", "87/0/90 87/1/90", "1H30 shown 87% shown icon shown");
}

void TestVexmarStatusBar::battery()
{
    QFETCH(QString, calls);
    QFETCH(QString, shows);
    QVexmarStatusBar bar;
    for (const QString &call : calls.split(' ')) {
        const QStringList values = call.split('/');
        bar.setBatteryInfo(values[0].toInt(), values[1].toInt(), values[2].toInt());
    }
    auto *time = bar.findChild<QLabel *>("batteryTimeLabel");
    auto *percent = bar.findChild<QLabel *>("batteryPercentLabel");
    QCOMPARE(time->text() + " " + shown(time) + " " + percent->text() + " " + shown(percent) + " icon "
            + shown(bar.findChild<QWidget *>("batteryIcon")),
        shows);
}

// Which input lights which microphone is checked through the screen window; here their independence and range.
void TestVexmarStatusBar::micState_data()
{
    QTest::addColumn<QList<QPoint>>("calls"); // input, on
    QTest::addColumn<QByteArray>("icons");
    QTest::newRow("on and off") << QList<QPoint> {{0, 1}, {1, 1}, {0, 0}} << QByteArray("mic1_off mic2_on");
    QTest::newRow("input 2 ignored") << QList<QPoint> {{2, 1}, {-1, 1}} << QByteArray("mic1_off mic2_off");
}

void TestVexmarStatusBar::micState()
{
    QFETCH(QList<QPoint>, calls);
    QFETCH(QByteArray, icons);
    QVexmarStatusBar bar;
    for (const QPoint &call : calls)
        bar.setMicState(call.x(), call.y() != 0);
    const QByteArrayList mics = {"mic1_on", "mic1_off", "mic2_on", "mic2_off"};
    QCOMPARE(icon(bar.findChild<QVexmarButton *>("mic1Button"), mics) + " "
            + icon(bar.findChild<QVexmarButton *>("mic2Button"), mics),
        icons);
}

void TestVexmarStatusBar::clock()
{
    const QString before = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    QVexmarStatusBar bar;
    const QString after = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    const QString clock = bar.findChild<QLabel *>("clockLabel")->text();
    QVERIFY2(clock == before || clock == after, qPrintable(clock));
}

void TestVexmarStatusBar::ftp_data()
{
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QString>("shows"); // "<pill> <face> <label text> <label shown>"
    QTest::addColumn<int>("hides"); // ms after the last body; 0 never, -1 not where the last transfer would have
    const auto state = [](const char *name) { return "EVENT;event_type:upload_state;state:" + QByteArray(name) + ";"; };
    const QByteArray started = state("started");
    const QByteArray progress = "INFO;info_type:upload_progress;percent:42;";
    using Bodies = QByteArrayList;
    dataRow("progress first", Bodies {progress}, "shown grey FTP 42% hidden", 0);
    dataRow("empty percent", Bodies {"INFO;info_type:upload_progress;percent:;"}, "hidden grey FTP hidden", 0);
    dataRow("other info", Bodies {"INFO;info_type:network_info;percent:42;"}, "hidden grey FTP hidden", 0);
    dataRow("other event", Bodies {"EVENT;event_type:config info;state:started;"}, "hidden grey FTP hidden", 0);
    dataRow("started", Bodies {started}, "shown green FTP 0% shown", 0);
    dataRow("running", Bodies {started, progress}, "shown green FTP 42% shown", 0);
    dataRow("finished", Bodies {started, progress, state("finished")}, "shown green FTP 100% shown", 2000);
    dataRow("finished without started", Bodies {state("finished")}, "shown grey FTP 100% hidden", 2000);
    dataRow("stopped", Bodies {started, progress, state("stopped")}, "shown green FTP 42% shown", 2000);
    dataRow("error", Bodies {started, state("error")}, "shown red FTP Error shown", 4000);
    dataRow("error, then finished", Bodies {state("error"), state("finished")}, "shown red FTP 100% hidden", 2000);
    dataRow("started after an error", Bodies {started, state("error"), started}, "shown green FTP 0% shown", 0);
    dataRow("started during the countdown", Bodies {state("finished"), started}, "shown green FTP 0% shown", -1);
    dataRow("other state", Bodies {state("paused")}, "shown grey FTP hidden", 0);
}

void TestVexmarStatusBar::ftp()
{
    QFETCH(QByteArrayList, bodies);
    QFETCH(QString, shows);
    QFETCH(int, hides);
    QVexmarStatusBar bar;
    QElapsedTimer elapsed;
    for (const QByteArray &text : bodies) {
        const kra::CMsg message = body(text);
        // Started before the body is handled, so never after the countdown it may arm.
        elapsed.start();
        message.kind == kra::CMsg::Info ? bar.handleInfo(message) : bar.handleEvent(message);
    }
    auto *ftp = bar.findChild<QWidget *>("ftpIndicator");
    auto *label = ftp->findChild<QLabel *>();
    QCOMPARE(shown(ftp) + " " + face(ftp) + " " + label->text() + " " + shown(label), shows);
    if (hides > 0) {
        QTRY_VERIFY_WITH_TIMEOUT(ftp->isHidden(), hides + 5000);
        // A coarse timer may fire up to 5 % early, and Qt rounds its deadline down to the millisecond.
        QVERIFY2(elapsed.elapsed() >= hides * 95 / 100 - 1, QByteArray::number(elapsed.elapsed()));
    } else if (hides < 0) {
        // A twin that saw only the end of the last transfer tells when its countdown would have hidden the pill.
        QVexmarStatusBar twin;
        twin.handleEvent(body(bodies.first()));
        QTRY_VERIFY(twin.findChild<QWidget *>("ftpIndicator")->isHidden());
        QCOMPARE(shown(ftp) + " " + face(ftp), QByteArray("shown green"));
    }
}

QTEST_MAIN(TestVexmarStatusBar)
#include "tst_vexmarstatusbar.moc"
