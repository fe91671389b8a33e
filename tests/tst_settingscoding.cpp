// The Coding branch of the settings menu against the simulated device: page 2 by codec mode, level and default
// network; the codec page's lists asked field by field, the relay, the apply; the Opus page's rows and writes.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsCoding : public QObject
{
    Q_OBJECT

private slots:
    void codingPage_data();
    void codingPage();
    void codingPageFollowsEvents();
    void codecPage_data();
    void codecPage();
    void applies_data();
    void applies();
    void relayRefusedThenRetried();
    void opusPage_data();
    void opusPage();
};

namespace {

const QByteArray doubleCodec = "audio codec_mode=cmode_double\naudio dcodec_1=OPUS/48000/mono/64000\n";
const QByteArray notListed = "audio codec=AAC-ld/48000/stereo/96000";

// Logged in with the branch's set-up and the case's lines, the menu opened by the page id.
bool openCoding(SettingsRig &rig, const QByteArray &setup = {}, int pageId = QVexmar::SettingsCoding, int level = 2)
{
    loadCodingSetup(rig.device);
    rig.device.loadSetup(setup);
    return rig.startSettings(level) && rig.openPageId(pageId);
}

// What the device was asked to store: every frame that neither reads nor lists.
QByteArrayList writes(const QByteArrayList &frames)
{
    QByteArrayList kept;
    for (const QByteArray &frame : frames) {
        if (!frame.contains("|GET ") && !frame.contains("|LIST "))
            kept << frame;
    }
    return kept;
}

} // namespace

// Page 2's rows as "<title> | <value>", " L" when locked.
void TestSettingsCoding::codingPage_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("rows");
    const QString opus = QStringLiteral("; Auto Bit Rate (Opus) | Configure the auto bitrate for Opus algorithm");
    const QString single = QStringLiteral(
        "Codec 1 [ Ethernet ] | Opus 48kHz Stereo 128kbit/s; Codec 2 | Not applicable in single codec mode L");
    const QString twoCodecs
        = "Codec 1 [ Ethernet ] | Opus 48kHz Mono 64kbit/s%1; Codec 2 [ Ethernet ] | G.722%1" + opus;
    QTest::newRow("single codec") << QByteArray() << 2 << single + opus;
    QTest::newRow("double codec") << doubleCodec << 1 << twoCodecs.arg(QString());
    QTest::newRow("double codec, operator") << doubleCodec << 0 << twoCodecs.arg(QStringLiteral(" L")) + " L";
    QTest::newRow("ISDN: no Opus") << QByteArray("network default_network=isdn.0") << 2
                                   << QString(single).replace("Ethernet", "ISDN");
    QTest::newRow("AoIP: no Opus") << QByteArray("network default_network=aoip") << 2
                                   << QString(single).replace("Ethernet", "Invalid");
}

void TestSettingsCoding::codingPage()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, level);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openCoding(rig, setup, QVexmar::SettingsCoding, level));
    QStringList shown;
    for (QVexmarMenuItem *item : rig.current()->items())
        shown << SettingsRig::rowText(item) + (item->isLocked() ? QStringLiteral(" L") : QString());
    QCOMPARE(shown.join(QStringLiteral("; ")), rows);
}

// A "default_codec" event while page 2 is shown rewrites both codec rows; back from a codec page does as well.
void TestSettingsCoding::codingPageFollowsEvents()
{
    SettingsRig rig;
    QVERIFY(openCoding(rig));
    QVERIFY(rig.deliver({"EVENT;event_type:default_codec;codec_mode:cmode_double;dcodec_1:PCMA;dcodec_2:G722;"}));
    QCOMPARE(rowsShown(rig).section(QStringLiteral("; "), 0, 1), QStringLiteral("99 G.711 A-Law; 100 G.722"));
    rig.touch(100);
    QVERIFY(rig.deliver({"EVENT;event_type:default_codec;codec_mode:cmode_normal;type:ip;codec:OPUS/48000/mono/"
                         "32000;"}));
    rig.back();
    QCOMPARE(rowsShown(rig).section(QStringLiteral("; "), 0, 1),
        QStringLiteral("99 Opus 48kHz Mono 32kbit/s; 100 Not applicable in single codec mode L"));
}

// Codec page 99 after the steps: the rows, the algorithm's current option (-1: none) and the last bit rate list
// asked for ("OPUS" when the configured one); nothing stored.
void TestSettingsCoding::codecPage_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("reply"); // "<word> <reply>" to the next request holding the word
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("algorithm");
    QTest::addColumn<QByteArray>("asked"); // "<alg> <mode> <samplerate>"
    const auto row
        = [](const char *name, const QByteArray &setup, const char *reply, const char *steps, const char *rows,
              int algorithm, const char *asked = "OPUS stereo 48000", const char *relay = "Disabled") {
              QTest::newRow(name) << setup << QByteArray(reply) << QString::fromLatin1(steps)
                                  << QString::fromLatin1(rows) + QStringLiteral("; 106 ") + QLatin1String(relay)
                                  << algorithm << QByteArray(asked);
          };
    const QByteArray none;
    const char *configured = "102 Opus; 103 Stereo; 104 48 kHz; 105 128 kbit/s";
    row("as configured", none, "", "", configured, 2);
    row("mode kept, bit rate not offered", none, "", "pick 102 15", "102 AAC HE; 103 Stereo; 104 48 kHz; 105 64 kbit/s",
        3, "AAC-he stereo 48000");
    row("G.711: first mode, bit rates of 48000", none, "", "pick 102 0",
        "102 G.711 A-Law; 103 Mono L; 104 8 kHz L; 105 64 kbit/s L", 0, "PCMA mono 48000");
    row("G.722: 16 kHz", none, "", "pick 102 3", "102 G.722; 103 Mono L; 104 16 kHz L; 105 64 kbit/s L", 1,
        "G722 mono 48000");
    row("empty rate list, refused bit rates: kept", none, "", "pick 102 15; pick 103 3",
        "102 AAC HE; 103 J-Stereo; 104 48 kHz L; 105 64 kbit/s L", 3, "AAC-he jstereo 48000");
    row("mode list refused", none, "mode PARAM;return:ERROR;", "", "102 Opus; 103 Stereo L; 104 48 kHz; 105 128 kbit/s",
        2);
    row("configured algorithm not listed", notListed, "", "",
        "102 AAC LD red; 103 Stereo L; 104 48 kHz L; 105 96 kbit/s", -1, "AAC-ld stereo 48000");
    // The last G.711 variant runs at 8 kHz too.
    row("G.711 configured, not listed", "audio codec=G711", "", "",
        "102 G.711 red; 103 Mono L; 104 8 kHz L; 105 64 kbit/s L", -1, "G711 mono 48000");
    row("double codec lists", doubleCodec, "", "pick 102 3", "102 G.722; 103 Mono L; 104 16 kHz L; 105 64 kbit/s L", 0,
        "G722 mono 48000");
    row("relay on", "audio relay=on", "", "", configured, 2, "OPUS stereo 48000", "Active");
    row("relay missing", none, "relay PARAM;return:OK;", "", configured, 2, "OPUS stereo 48000", "Not available L");
    row("relay x", none, "relay PARAM;return:OK;relay:x;", "", configured, 2, "OPUS stereo 48000", "Not available L");
}

void TestSettingsCoding::codecPage()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, reply);
    QFETCH(QString, steps);
    QFETCH(QString, rows);
    QFETCH(int, algorithm);
    QFETCH(QByteArray, asked);
    SettingsRig rig;
    QVERIFY(openCoding(rig, setup));
    answerNext(rig, reply.isEmpty() ? QByteArrayList() : QByteArrayList {reply});
    rig.touch(99);
    play(rig, steps);
    QCOMPARE(rowsShown(rig), rows);
    QCOMPARE(rig.row(102)->currentOption(), algorithm);
    const QList<QByteArray> words = asked.split(' ');
    const QByteArray bitrates = "PARAM|alg=" + words.at(0)
        + "|codec_mode=" + (setup == doubleCodec ? "double_codec" : "single_codec") + "|mode=" + words.at(1)
        + "|samplerate=" + words.at(2) + "|target=audio|LIST bitrate";
    const QByteArrayList frames = rig.framesAfterRoundTrip();
    QByteArray last;
    for (const QByteArray &frame : frames)
        last = frame.endsWith("LIST bitrate") ? frame : last;
    QCOMPARE(last, bitrates);
    QCOMPARE(writes(frames), QByteArrayList());
    QCOMPARE(rig.modified(), !steps.isEmpty());
}

// The frames an apply stores, and whether it failed (the popup and the mark).
void TestSettingsCoding::applies_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<bool>("failed");
    const auto row = [](const char *name, const QByteArray &setup, int pageId, const char *steps,
                         const QByteArrayList &frames, bool failed = false) {
        QTest::newRow(name) << setup << pageId << QString::fromLatin1(steps) << frames << failed;
    };
    const int codec1 = QVexmar::SettingsCodec1;
    const QByteArray none;
    row("single codec", none, codec1, "pick 102 15", {"PARAM|codec=AAC-he/48000/stereo/64000|target=audio"});
    row("double codec, line 1", doubleCodec, codec1, "pick 105 32000",
        {"PARAM|dcodec_1=OPUS/48000/mono/32000|target=audio"});
    row("double codec, line 2", doubleCodec, QVexmar::SettingsCodec2, "pick 102 19",
        {"PARAM|dcodec_2=OPUS/48000/mono/64000|target=audio"});
    row("relay alone", none, codec1, "flip 106", {"PARAM|relay=on|target=audio"});
    row("relay turned, then the algorithm", none, codec1, "flip 106; pick 102 15",
        {"PARAM|codec=AAC-he/48000/stereo/64000|target=audio", "PARAM|relay=on|target=audio"});
    row("codec refused: no relay", none, codec1, "pick 105 96000; flip 106",
        {"PARAM|codec=OPUS/48000/stereo/96000|target=audio"}, true);
    row("unlisted algorithm kept", notListed, codec1, "pick 105 64000",
        {"PARAM|codec=AAC-ld/48000/stereo/64000|target=audio"});
    row("nothing changed", none, codec1, "", {});
}

void TestSettingsCoding::applies()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, pageId);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, failed);
    SettingsRig rig;
    QVERIFY(openCoding(rig, setup, pageId));
    if (failed)
        rig.device.refuseKey("codec", "103-parameter set error");
    play(rig, steps);
    rig.takeFrames();
    rig.apply();
    QCOMPARE(writes(rig.framesAfterRoundTrip()), frames);
    QCOMPARE(rig.popupText(), failed ? QStringLiteral("Failed to apply changes!") : QString());
    QCOMPARE(rig.modified(), failed);
}

// A refused relay after the codec was stored: reported, the switch and the mark kept; the retry sends the relay.
void TestSettingsCoding::relayRefusedThenRetried()
{
    SettingsRig rig;
    QVERIFY(openCoding(rig, QByteArray(), QVexmar::SettingsCodec1));
    play(rig, QStringLiteral("pick 105 64000; flip 106"));
    rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "relay"));
    rig.apply();
    QCOMPARE(writes(rig.framesAfterRoundTrip()),
        QByteArrayList({"PARAM|codec=OPUS/48000/stereo/64000|target=audio", "PARAM|relay=on|target=audio"}));
    QCOMPARE(rig.popupText(), QStringLiteral("Failed to apply changes!"));
    QVERIFY(rig.modified());
    QCOMPARE(rig.rowText(106), QStringLiteral("Relay transmission | Active | Disabled, *Active"));
    rig.closePopups();
    // The codec counts as stored: the relay turned back leaves nothing to apply.
    play(rig, QStringLiteral("flip 106"));
    QVERIFY(!rig.modified());
    play(rig, QStringLiteral("flip 106"));
    rig.apply();
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList {"PARAM|relay=on|target=audio"});
    QVERIFY(!rig.modified());
    QCOMPARE(rig.device.param("audio", "relay"), std::string("on"));
}

// The Opus page as read (every row locked during a call or with double streaming), then one change written at
// once; a refused one is reported and the row shows the device's value again.
void TestSettingsCoding::opusPage_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("before"); // the network of a call, or a key whose write or read is refused
    QTest::addColumn<QString>("step");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("rows");
    const QString read = QStringLiteral("107 Active; 108 Punchy; 109 24 kbit/s; 110 96 kbit/s");
    const QString locked = QStringLiteral("107 Active L; 108 Punchy L; 109 24 kbit/s L; 110 96 kbit/s L");
    const auto row = [](const char *name, const QByteArray &setup, const char *before, const char *step,
                         const char *frame, const QString &rows) {
        QTest::newRow(name) << setup << QByteArray(before) << QString::fromLatin1(step) << QByteArray(frame) << rows;
    };
    const QByteArray none;
    row("call on line 1", none, "eth.0", "", "", locked);
    row("call on line 2", none, "line 2", "", "", locked);
    row("double streaming", "audio dstream_mode=enabled", "", "", "", locked);
    row("values not listed", "audio abr_profile=loud\naudio abr_maxbr=20500", "", "", "",
        "107 Active; 108 Standard; 109 24 kbit/s; 110 20 kbit/s red");
    row("nothing read", none, "read abr_calls", "", "", "107 Disabled; 108 Standard; 109 12 kbit/s; 110 64 kbit/s");
    row("auto adapt", none, "", "flip 107", "abr_calls=off", QString(read).replace("107 Active", "107 Disabled"));
    row("policy", none, "", "pick 108 0", "abr_profile=safe", QString(read).replace("Punchy", "Safe"));
    row("minimum", none, "", "pick 109 32000", "abr_minbr=32000", QString(read).replace("24 kbit/s", "32 kbit/s"));
    row("maximum refused", none, "abr_maxbr", "pick 110 128000", "abr_maxbr=128000", read);
    row("auto adapt refused", none, "abr_calls", "flip 107", "abr_calls=off", read);
    row("maximum not listed, refused", "audio abr_maxbr=20500", "abr_maxbr", "pick 110 64000", "abr_maxbr=64000",
        QString(read).replace("96 kbit/s", "20 kbit/s red"));
}

void TestSettingsCoding::opusPage()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, before);
    QFETCH(QString, step);
    QFETCH(QByteArray, frame);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openCoding(rig, setup));
    const bool call = before == "eth.0" || before == "line 2";
    if (before == "eth.0")
        QVERIFY(rig.callOn(before));
    else if (call)
        QVERIFY(rig.deliver({"EVENT;event_type:0600-call received;id:9;network:eth.0;comm_link:audio2;"}));
    else if (before.startsWith("read "))
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, before.mid(5).toStdString()));
    rig.touch(101);
    QCOMPARE(rig.current()->pageId, 101);
    if (!before.isEmpty() && !before.startsWith("read ") && !call)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, before.toStdString()));
    rig.takeFrames();
    play(rig, step);
    QCOMPARE(rig.framesAfterRoundTrip(),
        frame.isEmpty() ? QByteArrayList() : QByteArrayList {"PARAM|" + frame + "|target=audio"});
    QCOMPARE(rowsShown(rig), rows);
    const bool refused = !before.isEmpty() && frame.startsWith(before);
    QCOMPARE(rig.popupText(), refused ? QStringLiteral("Failed to apply changes!") : QString());
    QVERIFY(!rig.modified());
}

QTEST_MAIN(TestSettingsCoding)
#include "tst_settingscoding.moc"
