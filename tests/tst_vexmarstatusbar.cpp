// The status bar and its network and upload indicators. The network indicators run against the simulated device
// with their real controllers and the process-wide model, as the screen window feeds them: each notification to
// the model first, then to the bar.

#include "accessors.h"
#include "pixeltesting.h"
#include "rpctesting.h"
#include "tcomdevice.h"
#include "vexmarbutton.h"
#include "vexmarindicators.h"
#include "vexmarstatusbar.h"
#include "vexmarstatusnet.h"

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
    void clockAndPanelText();
    void ftp_data();
    void ftp();
    void ftpHides_data();
    void ftpHides();
    void ftpStartedDuringCountdown();

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
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArrayList>("frames"); // what attaching asks
    QTest::addColumn<bool>("shown"); // after the interface's own "network_info" and "config info"
    const QByteArray on = "PARAM|network=%1|target=network|";
    QTest::newRow("Ethernet") << QByteArray("eth.0") << QByteArrayList {on + "GET mode|GET cable"} << true;
    QTest::newRow("mobile") << QByteArray(
        "mobile.1") << QByteArrayList {on + "GET pin|GET registration_state", on + "GET signal_quality|GET technology"}
                            << true;
    QTest::newRow("Wi-Fi") << QByteArray("wifi.0")
                           << QByteArrayList {on + "GET data_connection_state|GET signal_quality"} << true;
    QTest::newRow("ISDN: inert") << QByteArray("isdn.0") << QByteArrayList() << false;
    QTest::newRow("AoIP: inert") << QByteArray("aoip") << QByteArrayList() << false;
}

void TestVexmarStatusBar::ownInterface()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, shown);
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
    QTest::addColumn<QByteArray>("setup"); // over the codec's: eth.0 plugged, a data link on mobile.0, none on wifi.0
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArray>("indicator");
    QTest::addColumn<QByteArray>("face");
    const QByteArray unplugged = "network:eth.0 cable=unplugged";
    const auto mobile = [](const QByteArray &values) { return networkInfo("mobile.0", values); };
    const auto wifi
        = [](const char *dbm) { return networkInfo("wifi.0", "signal_quality_dbm:" + QByteArray(dbm) + ";"); };

    QTest::newRow("eth.0 plugged at attach")
        << QByteArray() << QByteArrayList() << QByteArray("eth1Indicator") << QByteArray("shown green icon eth1");
    QTest::newRow("eth.0 unplugged at attach")
        << unplugged << QByteArrayList() << QByteArray("eth1Indicator") << QByteArray("shown grey icon eth1");
    QTest::newRow("eth.0 plugged later") << unplugged << QByteArrayList {eth0Plugged} << QByteArray("eth1Indicator")
                                         << QByteArray("shown green icon eth1");
    QTest::newRow("eth.0 unplugged later")
        << QByteArray() << QByteArrayList {"EVENT;event_type:config info;network:eth.0;cable:unplugged;"}
        << QByteArray("eth1Indicator") << QByteArray("shown grey icon eth1");
    QTest::newRow("eth.1 shown by its own")
        << QByteArray() << QByteArrayList {"EVENT;event_type:config info;network:eth.1;cable:plugged;"}
        << QByteArray("eth2Indicator") << QByteArray("shown green icon eth2");
    QTest::newRow("eth.1 deaf to eth.0") << QByteArray() << QByteArrayList {eth0Plugged} << QByteArray("eth2Indicator")
                                         << QByteArray("hidden grey icon eth2");

    const struct
    {
        const char *quality;
        int bars;
    } levels[] = {{"26", 5}, {"25", 4}, {"6", 2}, {"5", 1}, {"1", 1}, {"0", 0}, {"-70 dBm", 4}};
    for (const auto &level : levels) {
        QTest::addRow("mobile.0 signal %s", level.quality)
            << QByteArray()
            << QByteArrayList {mobile("signal_quality:" + QByteArray(level.quality) + ";technology:5G;")}
            << QByteArray("mob1Indicator")
            << "shown green bars " + QByteArray::number(level.bars) + " tech 5G icon mobile1";
    }
    QTest::newRow("mobile.0 technology gone")
        << QByteArray() << QByteArrayList {mobile("signal_quality:26;technology:LTE;"), mobile("signal_quality:26;")}
        << QByteArray("mob1Indicator") << QByteArray("shown green bars 5 icon mobile1");
    QTest::newRow("mobile.1 deaf to mobile.0")
        << QByteArray() << QByteArrayList {mobile("signal_quality:26;")} << QByteArray("mob2Indicator")
        << QByteArray("hidden grey bars 0 icon mobile2");
    QTest::newRow("mobile.0 link down") << QByteArray()
                                        << QByteArrayList {linkEvent("data disconnected", 12, "mobile.0"),
                                               mobile("signal_quality:6;")}
                                        << QByteArray("mob1Indicator") << QByteArray("shown grey bars 2 icon mobile1");
    QTest::newRow("mobile.0 link up again")
        << QByteArray()
        << QByteArrayList {linkEvent("data disconnected", 12, "mobile.0"), linkEvent("data connected", 20, "mobile.0"),
               mobile("signal_quality:6;")}
        << QByteArray("mob1Indicator") << QByteArray("shown green bars 2 icon mobile1");

    const struct
    {
        const char *dbm;
        int level;
        const char *icon;
    } strengths[] = {{"-55 dBm", 29, "wifi_4bar"}, {"-57 dBm", 28, "wifi_3bar"}, {"-79 dBm", 17, "wifi_2bar"},
        {"-81 dBm", 16, "wifi_1bar"}, {"-89 dBm", 12, "wifi_1bar"}, {"-91 dBm", 11, "wifi_0bar"}};
    for (const auto &strength : strengths) {
        QTest::addRow("wifi.0 level %d", strength.level)
            << QByteArray() << QByteArrayList {wifi(strength.dbm)} << QByteArray("wifi1Indicator")
            << "shown grey icon " + QByteArray(strength.icon);
    }
    QTest::newRow("wifi.0 link up") << QByteArray()
                                    << QByteArrayList {linkEvent("data connected", 21, "wifi.0"), wifi("-55 dBm")}
                                    << QByteArray("wifi1Indicator") << QByteArray("shown green icon wifi_4bar");
    // Attaching read -60 dBm.
    QTest::newRow("wifi.0 deaf to mobile.0")
        << QByteArray() << QByteArrayList {mobile("signal_quality:26;")} << QByteArray("wifi1Indicator")
        << QByteArray("hidden grey icon wifi_3bar");
}

void TestVexmarStatusBar::messages()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArray, indicator);
    QFETCH(QByteArray, face);
    connectDevice(setup);
    QVexmarStatusBar bar;
    QVERIFY(getDevice()->initialize());
    deliver(bar, bodies);
    QCOMPARE(netFace(bar.findChild<QVexmarStatusNet *>(QString::fromLatin1(indicator))), face);
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
    QTest::addColumn<QByteArray>("calls"); // "<level>/<status>/<minutes> ..."
    QTest::addColumn<QByteArray>("shows"); // "<time> <shown> <percent> <shown> icon <shown>"
    QTest::newRow("construction values") << QByteArray("0/0/-1") << QByteArray("1H00 hidden 100% hidden icon hidden");
    QTest::newRow("discharging, 0 minutes") << QByteArray("55/1/0") << QByteArray("0H00 hidden 55% shown icon shown");
    QTest::newRow("then 61 minutes") << QByteArray("55/1/0 55/1/61") << QByteArray("1H01 shown 55% shown icon shown");
    QTest::newRow("not detected") << QByteArray("40/0/90") << QByteArray("1H30 hidden 40% hidden icon hidden");
    QTest::newRow("charging, no time") << QByteArray("40/2/-5") << QByteArray("1H00 hidden 40% shown icon shown");
    QTest::newRow("time kept") << QByteArray("87/3/125 40/2/-5") << QByteArray("2H05 hidden 40% shown icon shown");
    QTest::newRow("battery gone, same minutes")
        << QByteArray("87/1/90 87/0/90") << QByteArray("1H30 hidden 87% hidden icon hidden");
    QTest::newRow("battery back, same minutes")
        << QByteArray("87/0/90 87/1/90") << QByteArray("1H30 shown 87% shown icon shown");
}

void TestVexmarStatusBar::battery()
{
    QFETCH(QByteArray, calls);
    QFETCH(QByteArray, shows);
    QVexmarStatusBar bar;
    for (const QByteArray &call : calls.split(' ')) {
        const QByteArrayList values = call.split('/');
        bar.setBatteryInfo(values[0].toInt(), values[1].toInt(), values[2].toInt());
    }
    auto *time = bar.findChild<QLabel *>("batteryTimeLabel");
    auto *percent = bar.findChild<QLabel *>("batteryPercentLabel");
    QCOMPARE(time->text().toLatin1() + " " + shown(time) + " " + percent->text().toLatin1() + " " + shown(percent)
            + " icon " + shown(bar.findChild<QWidget *>("batteryIcon")),
        shows);
}

void TestVexmarStatusBar::micState_data()
{
    QTest::addColumn<QList<QPoint>>("calls"); // input, on
    QTest::addColumn<QByteArray>("icons");
    QTest::newRow("at start") << QList<QPoint>() << QByteArray("mic1_off mic2_off");
    QTest::newRow("first on") << QList<QPoint> {{0, 1}} << QByteArray("mic1_on mic2_off");
    QTest::newRow("second on") << QList<QPoint> {{1, 1}} << QByteArray("mic1_off mic2_on");
    QTest::newRow("on and off") << QList<QPoint> {{0, 1}, {1, 1}, {0, 0}} << QByteArray("mic1_off mic2_on");
    QTest::newRow("off when off") << QList<QPoint> {{1, 0}} << QByteArray("mic1_off mic2_off");
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

void TestVexmarStatusBar::clockAndPanelText()
{
    const QString before = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    QVexmarStatusBar bar;
    const QString after = QTime::currentTime().toString(QStringLiteral("hh:mm"));
    const QString clock = bar.findChild<QLabel *>("clockLabel")->text();
    QVERIFY2(clock == before || clock == after, qPrintable(clock));

    const QString &text = bar.callPanelText(1, 0);
    QVERIFY(text.isEmpty());
    QCOMPARE(&bar.callPanelText(3, -1), &text);
}

void TestVexmarStatusBar::ftp_data()
{
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArray>("shows"); // "<pill> <face> <label text> <label shown>"
    const QByteArray started = "EVENT;event_type:upload_state;state:started;";
    const QByteArray progress = "INFO;info_type:upload_progress;percent:42;";
    QTest::newRow("progress first") << QByteArrayList {progress} << QByteArray("shown grey FTP 42% hidden");
    QTest::newRow("empty percent") << QByteArrayList {"INFO;info_type:upload_progress;percent:;"}
                                   << QByteArray("hidden grey FTP hidden");
    QTest::newRow("other info") << QByteArrayList {"INFO;info_type:network_info;percent:42;"}
                                << QByteArray("hidden grey FTP hidden");
    QTest::newRow("other event") << QByteArrayList {"EVENT;event_type:config info;state:started;"}
                                 << QByteArray("hidden grey FTP hidden");
    QTest::newRow("started") << QByteArrayList {started} << QByteArray("shown green FTP 0% shown");
    QTest::newRow("running") << QByteArrayList {started, progress} << QByteArray("shown green FTP 42% shown");
    QTest::newRow("finished") << QByteArrayList {started, progress, "EVENT;event_type:upload_state;state:finished;"}
                              << QByteArray("shown green FTP 100% shown");
    QTest::newRow("finished without started")
        << QByteArrayList {"EVENT;event_type:upload_state;state:finished;"} << QByteArray("shown grey FTP 100% hidden");
    QTest::newRow("stopped") << QByteArrayList {started, progress, "EVENT;event_type:upload_state;state:stopped;"}
                             << QByteArray("shown green FTP 42% shown");
    QTest::newRow("error") << QByteArrayList {started, "EVENT;event_type:upload_state;state:error;"}
                           << QByteArray("shown red FTP Error shown");
    QTest::newRow("started after an error") << QByteArrayList {started, "EVENT;event_type:upload_state;state:error;",
        started} << QByteArray("shown green FTP 0% shown");
    QTest::newRow("other state") << QByteArrayList {"EVENT;event_type:upload_state;state:paused;"}
                                 << QByteArray("shown grey FTP hidden");
}

void TestVexmarStatusBar::ftp()
{
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArray, shows);
    QVexmarStatusBar bar;
    for (const QByteArray &text : bodies) {
        const kra::CMsg message = body(text);
        message.kind == kra::CMsg::Info ? bar.handleInfo(message) : bar.handleEvent(message);
    }
    auto *ftp = bar.findChild<QWidget *>("ftpIndicator");
    auto *label = ftp->findChild<QLabel *>();
    QCOMPARE(shown(ftp) + " " + face(ftp) + " " + label->text().toLatin1() + " " + shown(label), shows);
}

void TestVexmarStatusBar::ftpHides_data()
{
    QTest::addColumn<QByteArrayList>("states"); // of "upload_state", or the percent of an "upload_progress"
    QTest::addColumn<int>("delay"); // after the last
    QTest::newRow("finished") << QByteArrayList {"started", "finished"} << 2000;
    QTest::newRow("stopped") << QByteArrayList {"started", "stopped"} << 2000;
    QTest::newRow("error") << QByteArrayList {"started", "error"} << 4000;
    QTest::newRow("finished without started") << QByteArrayList {"finished"} << 2000;
    QTest::newRow("error, then finished") << QByteArrayList {"error", "finished"} << 2000;
}

void TestVexmarStatusBar::ftpHides()
{
    QFETCH(QByteArrayList, states);
    QFETCH(int, delay);
    QVexmarStatusBar bar;
    auto *ftp = bar.findChild<QWidget *>("ftpIndicator");
    QElapsedTimer elapsed;
    for (const QByteArray &state : states) {
        bar.handleEvent(body("EVENT;event_type:upload_state;state:" + state + ";"));
        elapsed.start();
    }
    QVERIFY(!ftp->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(ftp->isHidden(), delay + 5000);
    // A coarse timer may fire up to 5 % early.
    QVERIFY2(elapsed.elapsed() >= delay * 95 / 100, QByteArray::number(elapsed.elapsed()));
}

// A transfer that starts while the last one's countdown runs stays on the bar: a twin that saw only the end of
// the last one tells when the countdown would have hidden it.
void TestVexmarStatusBar::ftpStartedDuringCountdown()
{
    QVexmarStatusBar bar;
    QVexmarStatusBar twin;
    auto *ftp = bar.findChild<QWidget *>("ftpIndicator");
    auto *twinFtp = twin.findChild<QWidget *>("ftpIndicator");
    const kra::CMsg finished = body("EVENT;event_type:upload_state;state:finished;");
    bar.handleEvent(finished);
    twin.handleEvent(finished);
    bar.handleEvent(body("EVENT;event_type:upload_state;state:started;"));
    QTRY_VERIFY(twinFtp->isHidden());
    QCOMPARE(shown(ftp) + " " + face(ftp), QByteArray("shown green"));
}

QTEST_MAIN(TestVexmarStatusBar)
#include "tst_vexmarstatusbar.moc"
