// The screen window's status and call display against the simulated device: what the calls' events make the
// call pages, the status bar and the visible page show, the status refresh of networks, codecs, SIP accounts and
// idle lines, and the remote numbers published to the device, typed or taken from a call profile.

#include "controllers/tcomrpcaccess.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmarvoicecallpage.h"
#include "settings/vexmarsettingspage.h"
#include "tests/screentesting.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuwidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace screentesting;

namespace {

QByteArray eventBody(const char *type, const QByteArray &rest = QByteArray(), const char *network = "eth.0")
{
    return "EVENT;event_type:" + QByteArray(type) + ";id:7;network:" + network + ";" + rest;
}

const QByteArray received = eventBody("0600-call received");
const QByteArray active = eventBody("1000-call active");
const QByteArray inSync = eventBody("dsp_status", "state:sync;");
const QByteArray syncLost = eventBody("dsp_status", "state:sync lost;");

// The call texts of the two AoIP call pages: "<codec 1> | <codec 2>".
QByteArray callTexts(QVexmarWindow &window)
{
    const auto text = [&window](int codec) {
        return window.aoipCallPage(codec)->findChild<QLabel *>(QStringLiteral("callTextLabel"))->text().toUtf8();
    };
    return text(1) + " | " + text(2);
}

QByteArray panelText(QWidget *page, const char *name)
{
    return page->findChild<QLabel *>(QLatin1String(name))->text().toUtf8();
}

} // namespace

class TestVexmarCalls : public QObject
{
    Q_OBJECT

private slots:
    void callDisplay_data();
    void callDisplay();
    void statusRefresh_data();
    void statusRefresh();
    void remoteNumbers_data();
    void remoteNumbers();
    void callProfile_data();
    void callProfile();
};

void TestVexmarCalls::callDisplay_data()
{
    QTest::addColumn<QByteArrayList>("bodies");
    QTest::addColumn<QByteArrayList>("operations"); // of the visible page, those compared
    QTest::addColumn<QByteArrayList>("page"); // what the visible page was told
    QTest::addColumn<QByteArray>("texts"); // of the call pages
    QTest::addColumn<QByteArray>("bar"); // S1 S2 Vo
    const QByteArrayList states = {"callState"};
    const QByteArrayList lines = {"callState", "codecState", "quality", "line"};
    const QByteArrayList setUp = {"callState 1 3", "callState 1 3"};
    const QByteArrayList established = setUp
        + QByteArrayList {"callState 1 3", "callState 1 4", "codecState 1 1", "quality 1 1 -1 -1", "line 1 1 1"};
    const QByteArray audio2 = "comm_link:audio2;";

    dataRow("incoming call", QByteArrayList {received, eventBody("call ring", "remote_addr:alice;")}, states,
        setUp + QByteArrayList {"callState 1 3"}, QByteArray("Incoming call... | Idle"), QByteArray("3 1 1"));
    dataRow("redial pending", QByteArrayList {eventBody("call auto redial")}, states, setUp,
        QByteArray("Call redial pending... | Idle"), QByteArray("3 1 1"));
    dataRow("outgoing, proceeding", QByteArrayList {eventBody("0100-call proceeding")}, states, setUp,
        QByteArray("Call in progress... | Idle"), QByteArray("3 1 1"));
    dataRow("active", QByteArrayList {received, active}, states, setUp + QByteArrayList {"callState 1 3"},
        QByteArray("Call in progress (negociating) | Idle"), QByteArray("3 1 1"));
    dataRow("negotiating", QByteArrayList {eventBody("dsp_status", "state:negotiating;")}, states, setUp,
        QByteArray("Call in progress (negociating) | Idle"), QByteArray("3 1 1"));
    dataRow("waiting for sync", QByteArrayList {received, active, eventBody("dsp_status", "state:waiting for sync;")},
        states, setUp + QByteArrayList {"callState 1 3", "callState 1 3"},
        QByteArray("Call in progress (waiting for sync) | Idle"), QByteArray("3 1 1"));
    // Established on IP: the codec's channel mode and the line's quality join.
    dataRow("synchronised", QByteArrayList {received, active, inSync}, lines, established,
        QByteArray("Call established (synchronized) | Idle"), QByteArray("4 1 1"));
    dataRow("sync lost", QByteArrayList {received, active, inSync, syncLost}, lines,
        established + QByteArrayList {"callState 1 5"}, QByteArray("Call established (sync lost) | Idle"),
        QByteArray("5 1 1"));
    // Sync regained, or reported again: the line stays as it was set up.
    dataRow("sync regained", QByteArrayList {received, active, inSync, syncLost, inSync}, lines,
        established + QByteArrayList {"callState 1 5", "callState 1 4"},
        QByteArray("Call established (synchronized) | Idle"), QByteArray("4 1 1"));
    dataRow("sync reported again", QByteArrayList {received, active, inSync, inSync}, lines,
        established + QByteArrayList {"callState 1 4"}, QByteArray("Call established (synchronized) | Idle"),
        QByteArray("4 1 1"));
    dataRow("released with a cause",
        QByteArrayList {received, active, inSync, eventBody("1200-call disconnected"),
            eventBody("1900-call released", "cause:005-destination unreachable;")},
        states,
        setUp
            + QByteArrayList {"callState 1 3", "callState 1 4", "callState 1 6", "callState 1 1", "callState 1 1",
                "callState 2 1", "callState 3 1"},
        QByteArray("Call released (Destination unreachable) | Idle"), QByteArray("1 1 1"));
    dataRow("releasing: the line goes down",
        QByteArrayList {received, active, inSync, eventBody("1200-call disconnected")}, lines,
        established + QByteArrayList {"callState 1 6", "line 1 1 0", "quality 1 1 100 100"},
        QByteArray("Releasing call... | Idle"), QByteArray("6 1 1"));
    dataRow("line 2",
        QByteArrayList {eventBody("0600-call received", audio2), eventBody("1000-call active", audio2),
            eventBody("dsp_status", "state:sync;" + audio2)},
        lines,
        QByteArrayList {"callState 2 3", "callState 2 3", "callState 2 3", "callState 2 4", "codecState 2 0",
            "quality 2 1 -1 -1", "line 2 1 1"},
        QByteArray("Idle | Call established (synchronized)"), QByteArray("1 4 1"));
    // In sync once active; no IP line to show, and its statistics reach no page.
    dataRow("voice line",
        QByteArrayList {eventBody("1000-call active", "comm_link:coord_line;", "mobile.0"),
            eventBody("rx-quality-report", "net-quality:3;", "mobile.0")},
        lines, QByteArrayList {"callState 3 3", "callState 3 3", "callState 3 4", "codecState 3 0"},
        QByteArray("Idle | Idle"), QByteArray("1 1 4"));
    // A second stream: its line is shown beside the first, with its own reports.
    dataRow("double streaming: line 2",
        QByteArrayList {received, eventBody("1000-call active", "remote_addr:a;stream_id:1;"),
            eventBody("dsp_status", "state:sync;remote_addr:b;stream_id:2;"),
            eventBody("tx-quality-report", "stream_id:2;net-quality:4;"),
            eventBody("rx-quality-report", "net-quality:3;")},
        QByteArrayList {"quality", "line"},
        QByteArrayList {"quality 1 1 -1 -1", "line 1 1 1", "quality 1 2 -1 -1", "line 1 2 1", "quality 1 1 -1 -1",
            "line 1 1 1", "quality 1 2 4 -1", "line 1 2 1", "quality 1 1 -1 3", "line 1 1 1", "quality 1 2 4 -1",
            "line 1 2 1"},
        QByteArray("Call established (synchronized) | Idle"), QByteArray("4 1 1"));
}

void TestVexmarCalls::callDisplay()
{
    QFETCH(QByteArrayList, bodies);
    QFETCH(QByteArrayList, operations);
    QFETCH(QByteArrayList, page);
    QFETCH(QByteArray, texts);
    QFETCH(QByteArray, bar);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    SpyPage *spy = rig.showSpy();
    QVERIFY(rig.deliver(bodies));
    QCOMPARE(spy->only(operations), page);
    QCOMPARE(callTexts(*rig.window), texts);
    QCOMPARE(barCodes(rig.window->statusBar()), bar);
}

void TestVexmarCalls::statusRefresh_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("operations");
    QTest::addColumn<QByteArrayList>("page");
    const QByteArrayList network = {"networkType", "networkUp", "networkInfo"};
    const QByteArrayList sip = {"sip"};
    const QByteArrayList idle = {"callState", "panelText"};

    dataRow("Ethernet, plugged", QByteArray(), network, QByteArrayList {"networkType 0x100 0", "networkUp 1"});
    dataRow("Ethernet, unplugged", QByteArray("network:eth.0 cable=unplugged"), network,
        QByteArrayList {"networkType 0x100 0", "networkUp 0"});
    dataRow("mobile with its data link", QByteArray("network default_network=mobile.0"), network,
        QByteArrayList {"networkType 0x300 0", "networkUp 1", "networkInfo 0 4"});
    dataRow("Wi-Fi without a link", QByteArray("network default_network=wifi.0"), network,
        QByteArrayList {"networkType 0x400 0", "networkUp 0", "networkInfo 0 4"});
    dataRow("no default network", QByteArray("network default_network=none"), network + idle,
        QByteArrayList {"networkType 0xffff 0", "networkUp 0", "callState 1 0", "panelText 1  -1", "callState 2 0",
            "panelText 2  -1", "callState 3 0", "panelText 3  2"});
    dataRow("codecs: stereo and mono", QByteArray(), QByteArrayList {"codecState", "description"},
        QByteArrayList {"codecState 1 1", "codecState 2 0", "description 1 Opus 48kHz Stereo 128kbit/s",
            "description 2 G.722", "description 3 Mobile voice"});
    dataRow("idle lines with numbers", QByteArray("ui remote_aoip1=0123\nui remote_voice=555"), idle,
        QByteArrayList {"callState 1 2", "panelText 1 0123 0", "callState 2 1", "panelText 2  0", "callState 3 2",
            "panelText 3 555 2"});
    // The number kept for IP does not count while the line calls over ISDN.
    dataRow("idle line on ISDN with an IP number",
        SimDevice::isdnSetup()
            + "\nnetwork network=[aoip,eth.0,isdn.0]\nnetwork default_network=isdn.0\n"
              "ui remote_aoip1=0123",
        QByteArrayList {"callState"}, QByteArrayList {"callState 1 1", "callState 2 1", "callState 3 1"});
    dataRow("SIP account 1 registered over IP", QByteArray(), sip,
        QByteArrayList {"sip 1 1 1", "sip 1 2 0", "sip 2 1 0", "sip 2 2 0"});
    dataRow("SIP account 1 registered, line on ISDN",
        SimDevice::isdnSetup() + "\nnetwork network=[aoip,eth.0,isdn.0]\nnetwork default_network=isdn.0", sip,
        QByteArrayList {"sip 1 1 2", "sip 1 2 0", "sip 2 1 0", "sip 2 2 0"});
    dataRow("SIP account 2 refused with a reason",
        QByteArray("network sip_state=unregistered\nnetwork sip_state2=403-forbidden"), sip,
        QByteArrayList {"sip 1 1 0", "sip 1 2 0", "sip 2 1 3", "sip 2 2 0"});
    // Double streaming gives the second account to codec 1's second stream.
    dataRow("SIP accounts, double streaming",
        QByteArray("audio dstream_mode=enabled\nnetwork sip_state2=403-forbidden"), sip,
        QByteArrayList {"sip 1 1 1", "sip 1 2 3", "sip 2 1 0", "sip 2 2 0"});
}

void TestVexmarCalls::statusRefresh()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, operations);
    QFETCH(QByteArrayList, page);
    ScreenRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSetUp());
    SpyPage *spy = rig.showSpy();
    rig.window->updateStatusPanel();
    QCOMPARE(spy->only(operations), page);
}

void TestVexmarCalls::remoteNumbers_data()
{
    QTest::addColumn<QByteArrayList>("typed"); // "<index> <family> <number>"
    QTest::addColumn<bool>("whileBusy"); // typed while a synchronous call waits
    QTest::addColumn<QByteArrayList>("requests");
    const QByteArray info = "INFO|info_type=remote_numbers|";

    dataRow("codec 1 on IP", QByteArrayList {"1 0 0123"}, false, QByteArrayList {info + "remote_aoip1=0123"});
    dataRow("codec 2 on ISDN", QByteArrayList {"2 1 77"}, false, QByteArrayList {info + "remote_aoip2=77"});
    dataRow("voice family, whatever the index", QByteArrayList {"1 2 555"}, false,
        QByteArrayList {info + "remote_voice=555"});
    dataRow("Latin-1", QByteArrayList {"1 0 M\xc3\xbcller"}, false, QByteArrayList {info + "remote_aoip1=M\xfcller"});
    dataRow("no family: nothing sent", QByteArrayList {"1 -1 9"}, false, QByteArrayList());
    // Held back while the call waits, then the last number of each line.
    dataRow("typed during a call: sent after it", QByteArrayList {"1 0 1", "1 0 12", "3 2 5", "2 -1 8"}, true,
        QByteArrayList {"PARAM|target=general|GET probe", info + "remote_aoip1=12", info + "remote_voice=5"});
}

void TestVexmarCalls::remoteNumbers()
{
    QFETCH(QByteArrayList, typed);
    QFETCH(bool, whileBusy);
    QFETCH(QByteArrayList, requests);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    const auto type = [&] {
        for (const QByteArray &entry : typed) {
            const QByteArrayList parts = entry.split(' ');
            rig.window->remoteNumberChanged(QVexmar::CodecIndex(parts[0].toInt()), QString::fromUtf8(parts[2]),
                TComDevice::NetworkFamily(parts[1].toInt()));
        }
    };
    if (whileBusy) {
        SimDevice::Fault delayed = fault(SimDevice::Fault::Delay, 200);
        delayed.match = "probe";
        rig.device.addFault(delayed);
        QObject context;
        connect(&rig.device, &SimDevice::requestReceived, &context, type);
        kra::CMsg probe(kra::CMsg::Param);
        probe.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
        probe.addGet("probe");
        TComRpcAccess(getCom()).execute(probe, 5000);
    } else {
        type();
    }
    QCOMPARE(rig.framesAfterRoundTrip(), requests);
}

void TestVexmarCalls::callProfile_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("number2");
    QTest::addColumn<int>("context");
    QTest::addColumn<bool>("onPage"); // the row belongs to a menu page
    QTest::addColumn<bool>("ready"); // the device model
    QTest::addColumn<QByteArray>("shown"); // "<aoip 1> | <aoip 2> | <voice>"
    QTest::addColumn<QByteArrayList>("requests");
    QTest::addColumn<QByteArray>("bar");
    const QByteArray info = "INFO|info_type=remote_numbers|";
    const QString a = QStringLiteral("A");
    const QString b = QStringLiteral("B");

    dataRow("codec 2, two numbers", a, b, 27, true, true, QByteArray(" | A,B | "),
        QByteArrayList {info + "remote_aoip2=A,B"}, QByteArray("1 2 1"));
    dataRow("codec 1, one number", a, QString(), 26, true, true, QByteArray("A |  | "),
        QByteArrayList {info + "remote_aoip1=A"}, QByteArray("2 1 1"));
    dataRow("voice line: the first number alone", a, b, 28, true, true, QByteArray(" |  | A"),
        QByteArrayList {info + "remote_voice=A"}, QByteArray("1 1 2"));
    dataRow("no number", QString(), b, 27, true, true, QByteArray(" |  | "), QByteArrayList(), QByteArray("1 1 1"));
    dataRow("other menu", a, b, 25, true, true, QByteArray(" |  | "), QByteArrayList(), QByteArray("1 1 1"));
    dataRow("row of no page", a, b, 27, false, true, QByteArray(" |  | "), QByteArrayList(), QByteArray("1 1 1"));
    dataRow("model not ready", a, b, 27, true, false, QByteArray(" |  | "), QByteArrayList(), QByteArray("1 1 1"));
}

void TestVexmarCalls::callProfile()
{
    QFETCH(QString, number);
    QFETCH(QString, number2);
    QFETCH(int, context);
    QFETCH(bool, onPage);
    QFETCH(bool, ready);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArrayList, requests);
    QFETCH(QByteArray, bar);
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    QVexmarSettingsPage *settings = rig.window->settingsPage();
    settings->callProfileRemoteNumber = number;
    settings->callProfileRemoteNumber2 = number2;
    auto *list = new QVexmarMenuItems(170, settings);
    QVexmarMenuItem item(299, QVexmarMenuItem::Action, onPage ? list : nullptr);
    if (!ready)
        getDevice()->reset(false);
    rig.takeFrames();
    emit settings->menuItemChanges(&item, context);

    QWidget *voice = rig.window->voiceCallPage();
    QCOMPARE(panelText(rig.window->aoipCallPage(1), "callPanelLabel") + " | "
            + panelText(rig.window->aoipCallPage(2), "callPanelLabel") + " | "
            + voice->findChild<QLineEdit *>("voiceNumberLine")->text().toUtf8(),
        shown);
    QCOMPARE(rig.framesAfterRoundTrip(), requests);
    QCOMPARE(barCodes(rig.window->statusBar()), bar);
    // Kept for the line's family, so that the idle state counts it.
    if (!requests.isEmpty()) {
        const int codec = context - 25;
        const QString &kept = codec == 3 ? rig.window->voiceCallPage()->callPanelText(3, 2)
                                         : rig.window->aoipCallPage(codec)->callPanelText(codec, 0);
        QCOMPARE(kept.toUtf8(), shown.split('|')[codec - 1].trimmed());
    }
}

QTEST_MAIN(TestVexmarCalls)
#include "tst_vexmarcalls.moc"
