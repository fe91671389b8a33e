// The audio connections page and the call statistics pages of the settings menu, driven by the call and report
// events the simulated device sends, as the screen window hands them on: the state texts and colours, the rows each
// stage of a call shows, and the statistics kept per line.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsConnections : public QObject
{
    Q_OBJECT

private slots:
    void stateTexts_data();
    void stateTexts();
    void sequences_data();
    void sequences();
    void statistics_data();
    void statistics();
};

namespace {

// Logged in, the Status page opened and its "Audio Connections" touched; the log empty.
bool openConnections(SettingsRig &rig)
{
    if (!rig.startSettings() || !rig.openPageId(QVexmar::SettingsStatus))
        return false;
    rig.touch(243);
    rig.takeFrames();
    return rig.pages() == QLatin1String("6 243");
}

// The device's event about call 9 on the interface: "<event type>[;<more keys>]".
QByteArray callEvent(const QByteArray &event, const QByteArray &network = "eth.0")
{
    const int more = event.indexOf(';');
    if (more < 0)
        return "EVENT;event_type:" + event + ";id:9;network:" + network + ";";
    return "EVENT;event_type:" + event.left(more) + ";id:9;network:" + network + ";" + event.mid(more + 1) + ";";
}

// The rows of a line's block that are not hidden, "<id> <value>" (the value's lines joined by " / ").
QString blockShown(QVexmarMenuItems *page, int group)
{
    QStringList rows;
    for (QVexmarMenuItem *item : page->items()) {
        if (item->groupId() != group || item->isHidden())
            continue;
        QString row = QString::number(item->id);
        if (item->valueLabel)
            row += QLatin1Char(' ') + item->valueLabel->text().replace(QLatin1Char('\n'), QStringLiteral(" / "));
        rows << row;
    }
    return rows.join(QStringLiteral("; "));
}

} // namespace

// Row 246 for each call status, with its colour; statuses 0-2 have no event of their own and come from a record
// handed to the page as the screen window hands one on.
void TestSettingsConnections::stateTexts_data()
{
    QTest::addColumn<QByteArrayList>("events");
    QTest::addColumn<int>("status"); // set on a record of line 1 when there are no events
    QTest::addColumn<QString>("shown");
    const QString yellow = QColor(Qt::yellow).name();
    const auto row = [](const char *name, const QByteArrayList &events, int status, const QString &shown) {
        QTest::newRow(name) << events << status << shown;
    };
    const QByteArray active = callEvent("1000-call active");
    row("0 none", {}, 0, "Call released grey");
    row("1 outgoing", {}, 1, "Call in progress... " + yellow);
    row("2 accepted", {}, 2, "Call in progress... " + yellow);
    row("3 redial pending", {callEvent("call auto redial")}, -1, "Call redial pending... " + yellow);
    row("4 proceeding", {callEvent("0100-call proceeding")}, -1, "Call in progress... " + yellow);
    row("5 ringing", {callEvent("0600-call received")}, -1, "Incoming call... " + yellow);
    row("6 active", {active}, -1, "Call in progress (negociating) " + yellow);
    row("7 negotiating", {active, callEvent("dsp_status;state:negotiating")}, -1,
        "Call in progress (negociating) " + yellow);
    row("8 waiting for sync", {active, callEvent("dsp_status;state:waiting for sync")}, -1,
        "Call in progress (waiting for sync) " + yellow);
    row("9 synchronised", {active, callEvent("dsp_status;state:sync")}, -1, "Call established (synchronized) red");
    row("10 sync lost", {active, callEvent("dsp_status;state:sync lost")}, -1, "Call established (sync lost) #f06565");
    row("11 releasing", {active, callEvent("1200-call disconnected")}, -1, "Releasing call... #eab166");
    row("12 released", {active, callEvent("1900-call released")}, -1, "Call released grey");
    row("13 error", {active, callEvent("1902-call error")}, -1, "Call released grey");
    row("14 lost", {active, callEvent("1901-call lost")}, -1, "Call released grey");
    row("out of range", {}, 15, "Call released grey");
}

void TestSettingsConnections::stateTexts()
{
    QFETCH(QByteArrayList, events);
    QFETCH(int, status);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(openConnections(rig));
    TComAudioConnection record(getCom(), 0);
    if (events.isEmpty()) {
        QVERIFY(record.bind(TComAudioConnection::Outgoing, 9, "eth.0"));
        record.setCallState(TComAudioConnection::SettingUp, status);
        rig.page()->audioCallStatusChanged(&record);
    } else {
        QVERIFY(rig.deliver(events));
    }
    QVexmarMenuItem *state = rig.current()->findItemInGroup(246, 244);
    QCOMPARE(state->valueLabel->text() + QLatin1Char(' ') + SettingsRig::rowColour(state), shown);
    // The page sends nothing.
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// The blocks of both lines after each stage of a call. "back" leaves a statistics page of line 1 for page 243,
// "refresh" touches the icon, "reopen" builds page 243 anew; anything else is an event the device sends.
void TestSettingsConnections::sequences_data()
{
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    const QString idle1 = QStringLiteral("246 Idle; 247 Ethernet; 253 Show detailed statistics of latest AoIP call");
    const QString idle2 = idle1;
    const QByteArray proceeding = callEvent("0100-call proceeding");
    const QByteArray active
        = callEvent("1000-call active;remote_addr:studio@10.0.0.2;codec_tx:OPUS/48000/stereo/128000");
    const QByteArray sync = callEvent("dsp_status;state:sync");
    const QByteArray rxReport = callEvent("rx-quality-report;net-quality:75");
    const QByteArray txReport = callEvent("tx-quality-report;net-quality:75");
    const QByteArray secondStream = callEvent("9900-call info;remote_addr:10.0.0.3;stream_id:2");
    const QByteArray tx2Report = callEvent("tx-quality-report;net-quality:80;stream_id:2");
    const QString established = QStringLiteral("246 Call established (synchronized); 247 Ethernet / Opus 48kHz Stereo "
                                               "128kbit/s; 248 studio@10.0.0.2");
    const auto row = [](const char *name, const QByteArrayList &steps, const QString &line1, const QString &line2) {
        QTest::newRow(name) << steps << line1 << line2;
    };
    row("idle", {}, idle1, idle2);
    row("proceeding", {proceeding}, "246 Call in progress...; 247 Ethernet; 248 ", idle2);
    row("synchronised", {proceeding, active, sync}, established, idle2);
    row("receive report only", {proceeding, active, sync, rxReport},
        established + "; 249; 251 75%; 252 Show detailed statistics", idle2);
    row("two streams, the second not reported", {proceeding, active, sync, secondStream, txReport},
        established + "; 249; 250 75%; 252 Show detailed statistics", idle2);
    row("two streams, the second at 80", {proceeding, active, sync, secondStream, txReport, tx2Report},
        established + "; 249; 250 75% / 80%; 252 Show detailed statistics", idle2);
    // Still a call in progress while it is released.
    row("releasing", {proceeding, active, sync, txReport, callEvent("1200-call disconnected")},
        "246 Releasing call...; 247 Ethernet / Opus 48kHz Stereo 128kbit/s; 248 studio@10.0.0.2; 249; 250 75%; "
        "252 Show detailed statistics",
        idle2);
    row("released", {proceeding, active, sync, txReport, callEvent("1900-call released")},
        "246 Call released; 247 Ethernet; 253 Show detailed statistics of latest AoIP call", idle2);
    row("built during a call", {proceeding, active, sync, txReport, "reopen"},
        established + "; 249; 250 75%; 252 Show detailed statistics", idle2);
    row("back after removal", {proceeding, active, sync, txReport, callEvent("1900-call released"), "back"}, idle1,
        idle2);
    row("ISDN call: no quality rows",
        {callEvent("1000-call active;remote_addr:5550100", "isdn.0"),
            callEvent("tx-quality-report;net-quality:75", "isdn.0")},
        "246 Call in progress (negociating); 247 ISDN; 248 5550100", idle2);
    row("line 2", {proceeding + "comm_link:audio2;", callEvent("rx-quality-report;net-quality:60")}, idle1,
        "246 Call in progress...; 247 Ethernet; 248 ; 249; 251 60%; 252 Show detailed statistics");
    row("voice line leaves line 2 alone", {callEvent("1000-call active;comm_link:coord_line", "mobile.0")}, idle1,
        idle2);
    row("voice line, refreshed", {callEvent("1000-call active;comm_link:coord_line", "mobile.0"), "refresh"}, idle1,
        idle2);
}

void TestSettingsConnections::sequences()
{
    QFETCH(QByteArrayList, steps);
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    SettingsRig rig;
    QVERIFY(openConnections(rig));
    for (const QByteArray &step : steps) {
        if (step == "back") {
            rig.touch(rig.current()->findItemInGroup(253, 244));
            QCOMPARE(rig.pages(), QStringLiteral("6 243 254"));
            rig.back();
        } else if (step == "refresh") {
            rig.refresh();
        } else if (step == "reopen") {
            rig.back();
            rig.touch(243);
        } else {
            QVERIFY(rig.deliver({step}));
        }
    }
    QCOMPARE(blockShown(rig.current(), 244), line1);
    QCOMPARE(blockShown(rig.current(), 245), line2);
    // Whatever the stage, only the headings and the links to the statistics take a touch.
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (item->groupId() == 244 || item->groupId() == 245)
            QCOMPARE(item->isLocked(), QList<int>({246, 247, 248, 250, 251}).contains(item->id));
    }
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// The statistics page of a line from the reports kept for it. The page is opened first when it is "open", else after
// the events (from page 243, once the call has ended).
void TestSettingsConnections::statistics_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QByteArrayList>("events");
    QTest::addColumn<QString>("rows");
    const QString zeros
        = QStringLiteral("256 00:00:00; 257 Total: 0, Lost: 0 (0.00%); 258 Average: 0 ms, Maximum: 0 ms; "
                         "259 00:00:00; 260 Total: 0, Lost: 0 (0.00%) / Discarded: 0, Duplicated: 0, "
                         "Reordered: 0; 261 Average: 0 ms, Maximum: 0 ms; 262 Latency: 0 ms");
    const QByteArray line2 = "comm_link:audio2;";
    const QByteArray active = callEvent("1000-call active");
    const QByteArray tx = callEvent(
        "tx-quality-report;net-quality:90;duration:360000;pkts-total:1000;pkts-lost:5;jtr-avg:3;jtr-max:12");
    const QByteArray rx
        = callEvent("rx-quality-report;net-quality:88;duration:-1;pkts-total:995;pkts-lost:5;pkts-discarded:2;pkts-"
                    "duplicated:1;pkts-reorderd:4;jtr-avg:4;jtr-max:20;jb-curr:60;jb-mark:40");
    const QString reported
        = QStringLiteral("256 100:00:00; 257 Total: 1000, Lost: 5 (0.50%); 258 Average: 3 ms, Maximum: 12 ms; "
                         "259 00:00:00; 260 Total: 995, Lost: 5 (0.50%) / Discarded: 2, Duplicated: 1, "
                         "Reordered: 4; 261 Average: 4 ms, Maximum: 20 ms; 262 Latency: 60 ms, Initial: 40 ms");
    const auto row = [](const char *name, int pageId, bool open, const QByteArrayList &events, const QString &rows) {
        QTest::newRow(name) << pageId << open << events << rows;
    };
    row("line 2 before any call", 255, true, {}, zeros);
    row("reports while open", 254, true, {active, tx, rx}, reported);
    row("kept after the call ended", 254, false, {active, tx, rx, callEvent("1900-call released")}, reported);
    row("a line 2 report leaves page 254", 254, true, {active + line2, tx + line2, rx + line2}, zeros);
    row("line 2's own", 255, true, {active + line2, tx + line2, rx + line2}, reported);
    row("voice line not kept", 255, true, {active + "comm_link:coord_line;", tx + "comm_link:coord_line;"}, zeros);
    row("second streams at quality 0: transmit shown, receive not", 254, true,
        {active, callEvent("tx-quality-report;net-quality:0;stream_id:2;duration:61;pkts-total:10"),
            callEvent("rx-quality-report;net-quality:0;stream_id:2;duration:62")},
        "256 00:00:00 / 00:01:01; 257 Total: 0, Lost: 0 (0.00%) / Total: 10, Lost: 0 (0.00%); 258 Average: 0 ms, "
        "Maximum: 0 ms / Average: 0 ms, Maximum: 0 ms; "
        "259 00:00:00; 260 Total: 0, Lost: 0 (0.00%) / Discarded: 0, Duplicated: 0, Reordered: 0; 261 Average: 0 ms, "
        "Maximum: 0 ms; 262 Latency: 0 ms");
    row("receive stream 2 above 0", 254, true,
        {active,
            callEvent("rx-quality-report;net-quality:50;stream_id:2;duration:62;pkts-total:3;pkts-lost:1;jb-curr:9")},
        "256 00:00:00; 257 Total: 0, Lost: 0 (0.00%); 258 Average: 0 ms, Maximum: 0 ms; "
        "259 00:00:00 / 00:01:02; 260 Total: 0, Lost: 0 (0.00%) / Discarded: 0, Duplicated: 0, Reordered: 0 / Total: "
        "3, Lost: 1 (25.00%) / Discarded: 0, Duplicated: 0, Reordered: 0; 261 Average: 0 ms, Maximum: 0 ms / Average: "
        "0 ms, Maximum: 0 ms; 262 Latency: 0 ms");
    row("lost beyond the total", 254, true,
        {active, callEvent("rx-quality-report;net-quality:10;pkts-total:5;pkts-lost:-5")},
        "256 00:00:00; 257 Total: 0, Lost: 0 (0.00%); 258 Average: 0 ms, Maximum: 0 ms; "
        "259 00:00:00; 260 Total: 5, Lost: -5 (0.00%) / Discarded: 0, Duplicated: 0, Reordered: 0; 261 Average: 0 ms, "
        "Maximum: 0 ms; 262 Latency: 0 ms");
}

void TestSettingsConnections::statistics()
{
    QFETCH(int, pageId);
    QFETCH(bool, open);
    QFETCH(QByteArrayList, events);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openConnections(rig));
    const int group = pageId == 254 ? 244 : 245;
    if (open)
        rig.touch(rig.current()->findItemInGroup(253, group));
    if (!events.isEmpty())
        QVERIFY(rig.deliver(events));
    if (!open)
        rig.touch(rig.current()->findItemInGroup(253, group));
    QCOMPARE(rig.pages(), QStringLiteral("6 243 %1").arg(pageId));
    QStringList shown;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        shown << QString::number(item->id) + QLatin1Char(' ')
                + item->valueLabel->text().replace(QLatin1Char('\n'), QStringLiteral(" / "));
        QVERIFY(item->isLocked());
    }
    QCOMPARE(shown.join(QStringLiteral("; ")), rows);
    QVERIFY(!rig.page()->header->isRefreshVisible());
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

QTEST_MAIN(TestSettingsConnections)
#include "tst_settingsconnections.moc"
