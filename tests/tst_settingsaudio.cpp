// The Audio page, the intercom page and the AoIP interface page against the simulated device: the rows each shows
// and locks, what an edit sends and how a refusal puts the row back, the refreshes by the device's notices, and
// the rows and requests that the module's maker and interface count decide.

#include "tests/settingstesting.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"

#include <memory>

using namespace settingstesting;

class TestSettingsAudio : public QObject
{
    Q_OBJECT

private slots:
    void audioRows_data();
    void audioRows();
    void compressorRange_data();
    void compressorRange();
    void edits_data();
    void edits();
    void aes67BackAfterReload();
    void refreshedWhileShown_data();
    void refreshedWhileShown();
    void interfaceRows_data();
    void interfaceRows();
    void interfaceNotLoaded();
    void interfaceTexts_data();
    void interfaceTexts();
};

namespace {

// The rig logged in with the case's set-up over the simulated codec's, the Audio page open, the log empty.
bool openAudio(SettingsRig &rig, const QByteArray &setup = {}, int level = 2)
{
    rig.device.loadSetup(setup);
    if (!rig.startSettings(level) || !rig.openPageId(QVexmar::SettingsAudio))
        return false;
    rig.takeFrames();
    return rig.current() && rig.current()->pageId == 3;
}

// From the Audio page through its link, as the user goes; the frames of the way in taken.
bool openFromAudio(SettingsRig &rig, int rowId, const QByteArray &setup = {}, int level = 2)
{
    if (!openAudio(rig, setup, level))
        return false;
    rig.touch(rowId);
    return rig.current()->pageId == rowId;
}

// Each row as "<id> <title>: <value>", with " L" when locked and " red" for a red value.
QString rowsWithTitles(SettingsRig &rig)
{
    QStringList rows;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        QString row = QString::number(item->id) + QLatin1Char(' ') + item->titleLabel->text();
        if (item->valueLabel)
            row += QStringLiteral(": ") + item->valueLabel->text();
        if (item->isLocked())
            row += QStringLiteral(" L");
        if (SettingsRig::rowColour(item) == QLatin1String("red"))
            row += QStringLiteral(" red");
        rows << row;
    }
    return rows.join(QStringLiteral("; "));
}

const QByteArray noModule = "general device_opts=[ip_dcodec,wifi,record_1]";

// The rig's steps, and "device <key>=<value>": the device changes an "audio" value itself and announces it;
// "unannounced <key>=<value>": it changes it without a word; "refuse once <key>": the next write of the key is
// refused and not stored, later ones are stored.
void playSteps(SettingsRig &rig, const QString &steps)
{
    for (const QString &step : steps.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString verb = step.trimmed().section(QLatin1Char(' '), 0, 0);
        const QString change = step.trimmed().section(QLatin1Char(' '), 1);
        if (step.trimmed().startsWith(QLatin1String("refuse once "))) {
            SimDevice *device = &rig.device;
            auto refused = std::make_shared<bool>(false);
            rig.device.setWriteCheck(step.trimmed().section(QLatin1Char(' '), 2).toStdString(),
                [device, refused, key = change.section(QLatin1Char(' '), 1).toStdString()](
                    const std::string &store, const std::string &value) {
                    if (!*refused) {
                        *refused = true;
                        return std::string("103-parameter set error");
                    }
                    device->setParam(store, key, value);
                    return std::string();
                });
            continue;
        }
        if (verb == QLatin1String("unannounced")) {
            rig.device.setParam("audio", change.section(QLatin1Char('='), 0, 0).toStdString(),
                change.section(QLatin1Char('='), 1).toStdString());
            continue;
        }
        if (verb != QLatin1String("device")) {
            play(rig, step);
            continue;
        }
        rig.device.changeset("audio", "audio_changeset",
            {{change.section(QLatin1Char('='), 0, 0).toStdString(), change.section(QLatin1Char('='), 1).toStdString()}},
            "aic");
        QVERIFY(rig.deliver({}));
    }
}

} // namespace

// The page as built from the models: the module's rows only with the module, held values no row offers in red.
void TestSettingsAudio::audioRows_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    const QString drc = QStringLiteral("-1 Program Limiter / Compressor; 113 Dynamic Processing: Active; "
                                       "114 Limiter Threshold: -1 dBFS red; 115 Compressor Threshold: -12 dBFS; "
                                       "116 Compressor Ratio: 2.5:1 red; 117 Attack Time: Slow; ");
    QTest::newRow("module, AES67 on, held values not offered") << QByteArray()
                                                               << drc
            + "-1 AES67; 118 State: Active; 119 RAVENNA: Configure the RAVENNA interface; "
              "111 Intercom Functions: Fade non-relevant signals";
    QTest::newRow("second module variant, AES67 off")
        << QByteArray("general device_opts=[ravenna,ravenna_2]\naudio aes67_reset=on\naudio matrix_opt=00000003")
        << drc
            + "-1 AES67; 118 State: Disabled; 119 DANTE: Configure the DANTE interface L; "
              "111 Intercom Functions: Mute non-relevant signals";
    QTest::newRow("no module: spacer, no state, link locked") << noModule
                                                              << drc
            + "-1 ; 119 RAVENNA: Configure the RAVENNA interface L; "
              "111 Intercom Functions: Fade non-relevant signals";
    QTest::newRow("a ratio too large to round")
        << QByteArray("audio drc_lim_threshold=-6\naudio drc_ratio_cmp=1000000000000000000000000000000")
        << "-1 Program Limiter / Compressor; 113 Dynamic Processing: Active; 114 Limiter Threshold: -6 dBFS; "
           "115 Compressor Threshold: -12 dBFS; 116 Compressor Ratio: 1e+30:1 red; 117 Attack Time: Slow; -1 AES67; "
           "118 State: Active; 119 RAVENNA: Configure the RAVENNA interface; "
           "111 Intercom Functions: Fade non-relevant signals";
    QTest::newRow("every value offered")
        << QByteArray("audio drc_lim_threshold=-6\naudio drc_ratio_cmp=1.5\naudio drc_attack=0\naudio drc_state=off")
        << "-1 Program Limiter / Compressor; 113 Dynamic Processing: Disabled; 114 Limiter Threshold: -6 dBFS; "
           "115 Compressor Threshold: -12 dBFS; 116 Compressor Ratio: 1.5:1; 117 Attack Time: Fast; -1 AES67; "
           "118 State: Active; 119 RAVENNA: Configure the RAVENNA interface; "
           "111 Intercom Functions: Fade non-relevant signals";
}

void TestSettingsAudio::audioRows()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAudio(rig, setup));
    QCOMPARE(rowsWithTitles(rig), rows);
    QVERIFY(rig.framesAfterRoundTrip().isEmpty());
}

// The compressor offers -40 up to one below the limiter, bounded by the limiter's own range.
void TestSettingsAudio::compressorRange_data()
{
    QTest::addColumn<int>("limiter");
    QTest::addColumn<int>("compressor");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("rows");
    QTest::newRow("-20") << -20 << -30 << 20 << "114 -20 dBFS; 115 -30 dBFS";
    QTest::newRow("-2") << -2 << -30 << 38 << "114 -2 dBFS; 115 -30 dBFS";
    QTest::newRow("above the range") << 30000 << -30 << 38 << "114 30000 dBFS red (none); 115 -30 dBFS";
    QTest::newRow("far below the range") << -2000000 << -30 << 20 << "114 -2000000 dBFS red (none); 115 -30 dBFS";
    QTest::newRow("compressor not below the limiter") << -20 << -12 << 20 << "114 -20 dBFS; 115 -12 dBFS red (none)";
}

void TestSettingsAudio::compressorRange()
{
    QFETCH(int, limiter);
    QFETCH(int, compressor);
    QFETCH(int, count);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAudio(rig,
        "audio drc_lim_threshold=" + QByteArray::number(limiter)
            + "\naudio drc_threshold_cmp=" + QByteArray::number(compressor)));
    const QList<QVexmarMenuItem::Option> &options = rig.row(115)->options();
    QCOMPARE(options.size(), count);
    QCOMPARE(options.first().text, QStringLiteral("-40 dBFS"));
    QCOMPARE(options.last().value, -41 + count);
    QCOMPARE(rowsNamed(rig, rows), rows);
}

// Edits of the Audio page and the module's page go out at once, and a refusal puts the held value back; the
// limiter lowers the compressor first. The intercom page is applied as a whole: its bit 1 over the word the device
// holds when the apply runs.
void TestSettingsAudio::edits_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("rows");
    const QByteArray held = "audio drc_lim_threshold=-6\naudio drc_ratio_cmp=2";
    const QString failed = QStringLiteral("Failed to apply changes!");
    const QString applying = QStringLiteral("Applying changes...");
    const auto row = [](const char *name, int pageId, const QByteArray &setup, const char *steps,
                         const QByteArrayList &frames, const QString &popup, const char *rows, bool modified = false) {
        QTest::newRow(name) << pageId << setup << QString::fromUtf8(steps) << frames << popup << modified
                            << QString::fromUtf8(rows);
    };
    row("limiter at the compressor lowers it first", 3, held, "turn 114 -12",
        {"PARAM|drc_threshold_cmp=-13|target=audio", "PARAM|drc_lim_threshold=-12|target=audio"}, QString(),
        "114 -12 dBFS; 115 -13 dBFS");
    row("limiter above the compressor", 3, held, "turn 114 -10", {"PARAM|drc_lim_threshold=-10|target=audio"},
        QString(), "114 -10 dBFS; 115 -12 dBFS");
    row("compressor refused: no limiter sent", 3, held, "refuse drc_threshold_cmp; turn 114 -12",
        {"PARAM|drc_threshold_cmp=-13|target=audio"}, failed, "114 -6 dBFS; 115 -12 dBFS");
    row("limiter refused after the compressor", 3, held, "refuse drc_lim_threshold; turn 114 -12",
        {"PARAM|drc_threshold_cmp=-13|target=audio", "PARAM|drc_lim_threshold=-12|target=audio"}, failed,
        "114 -6 dBFS; 115 -13 dBFS");
    row("limiter refused, held value not offered", 3, "audio drc_ratio_cmp=2", "refuse drc_lim_threshold; turn 114 -8",
        {"PARAM|drc_lim_threshold=-8|target=audio"}, failed, "114 -1 dBFS red (none)");
    row("compressor", 3, held, "turn 115 -30", {"PARAM|drc_threshold_cmp=-30|target=audio"}, QString(), "115 -30 dBFS");
    row("compressor refused", 3, held, "refuse drc_threshold_cmp; turn 115 -30",
        {"PARAM|drc_threshold_cmp=-30|target=audio"}, failed, "115 -12 dBFS");
    row("ratio", 3, held, "pick 116 30", {"PARAM|drc_ratio_cmp=3|target=audio"}, QString(), "116 3:1");
    row("ratio refused over a held 2.5", 3, "audio drc_lim_threshold=-6", "refuse drc_ratio_cmp; pick 116 30",
        {"PARAM|drc_ratio_cmp=3|target=audio"}, failed, "116 2.5:1 red (none)");
    row("attack", 3, held, "pick 117 0", {"PARAM|drc_attack=0|target=audio"}, QString(), "117 Fast");
    row("attack refused", 3, held, "refuse drc_attack; pick 117 0", {"PARAM|drc_attack=0|target=audio"}, failed,
        "117 Slow");
    row("processing refused", 3, held, "refuse drc_state; flip 113", {"PARAM|drc_state=off|target=audio"}, failed,
        "113 Active");
    row("AES67 off: link locked", 3, held, "pick 118 0", {"PARAM|aes67_reset=on|target=audio"}, QString(),
        "118 Disabled; 119 Configure the RAVENNA interface L");
    row("AES67 refused", 3, held, "refuse aes67_reset; pick 118 0", {"PARAM|aes67_reset=on|target=audio"}, failed,
        "118 Active; 119 Configure the RAVENNA interface");
    row("AES67 during a call", 3, held, "call; pick 118 0", {}, "Cannot apply changes\n(a connection is established)",
        "118 Active; 119 Configure the RAVENNA interface");
    const QByteArray word = "audio matrix_opt=00000001";
    row("intercom on and off again", 111, word, "flip 112; flip 112", {}, QString(), "112 Fade non-relevant signals");
    const QByteArray readWord = "PARAM|target=audio|GET matrix_opt";
    row("intercom mute, headphone bit kept", 111, word, "flip 112; apply; back",
        {readWord, "PARAM|matrix_opt=00000003|target=audio"}, applying, "111 Mute non-relevant signals");
    row("intercom fade", 111, "audio matrix_opt=0000000a", "flip 112; apply",
        {readWord, "PARAM|matrix_opt=00000008|target=audio"}, applying, "112 Fade non-relevant signals");
    row("intercom mute over a headphone bit set meanwhile", 111, "audio matrix_opt=00000000",
        "flip 112; device matrix_opt=00000001; apply", {readWord, "PARAM|matrix_opt=00000003|target=audio"}, applying,
        "112 Mute non-relevant signals");
    row("intercom mute over a headphone bit not announced", 111, "audio matrix_opt=00000000",
        "flip 112; unannounced matrix_opt=00000001; apply", {readWord, "PARAM|matrix_opt=00000003|target=audio"},
        applying, "112 Mute non-relevant signals");
    row("intercom word unread: nothing written, mark kept", 111, word, "flip 112; nok matrix_opt; apply", {readWord},
        failed, "112 Mute non-relevant signals", true);
    row("intercom back after a headphone bit set meanwhile: mark cleared", 111, "audio matrix_opt=00000000",
        "flip 112; device matrix_opt=00000001; flip 112", {}, QString(), "112 Fade non-relevant signals");
    row("intercom refused: choice and mark kept", 111, word, "flip 112; nok 00000003; apply",
        {readWord, "PARAM|matrix_opt=00000003|target=audio"}, failed, "112 Mute non-relevant signals", true);
    row("intercom retried after a refusal", 111, word, "flip 112; refuse once matrix_opt; apply; close; apply",
        {readWord, "PARAM|matrix_opt=00000003|target=audio", readWord, "PARAM|matrix_opt=00000003|target=audio"},
        applying, "112 Mute non-relevant signals");
    const QByteArray module = "audio rav_manufacturer=Merging";
    row("name", 119, module, "type 120=Studio \u00e9", {"PARAM|rav_device_name=Studio \xc3\xa9|target=audio"},
        QString(), "120 Studio \u00e9");
    row("empty name", 119, module, "type 120=", {}, failed, "120 R\u00e9gie 2");
    row("name beyond Latin-1", 119, module, "type 120=Studio \u0142",
        {"PARAM|rav_device_name=Studio \xc5\x82|target=audio"}, QString(), "120 Studio \u0142");
    row("held name beyond Latin-1 added to", 119, module + "\naudio rav_device_name=\xc5\x81\xc3\xb3\x64\xc5\xba",
        "append 120= 2", {"PARAM|rav_device_name=\xc5\x81\xc3\xb3\x64\xc5\xba 2|target=audio"}, QString(),
        "120 \u0141\u00f3d\u017a 2");
    row("domain no number", 119, module, "type 123=abc", {}, failed, "123 3");
    row("domain out of range", 119, module, "type 123=300", {}, failed, "123 3");
    row("rate", 119, module, "pick 121 48000", {"PARAM|rav_sample_rate=48000|target=audio"}, QString(), "121 48 kHz");
    row("rate refused", 119, module, "refuse rav_sample_rate; pick 121 48000",
        {"PARAM|rav_sample_rate=48000|target=audio"}, failed, "121 96 kHz");
    row("resolution refused", 119, module, "refuse rav_resolution; pick 122 16",
        {"PARAM|rav_resolution=16|target=audio"}, failed, "122 32 bits");
    row("net mode refused", 119, module, "refuse rav_net_mode; pick 124 0", {"PARAM|rav_net_mode=switch|target=audio"},
        failed, "124 Redundancy (separate networks)");
    row("net mode: the power cycle notice", 119, module, "pick 124 0", {"PARAM|rav_net_mode=switch|target=audio"},
        "Changes take effect after\nthe next power cycle", "124 Switch (same network)");
}

void TestSettingsAudio::edits()
{
    QFETCH(int, pageId);
    QFETCH(QByteArray, setup);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(bool, modified);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(pageId == 3 ? openAudio(rig, setup) : openFromAudio(rig, pageId, setup));
    rig.takeFrames();
    playSteps(rig, steps);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.modified(), modified);
    QCOMPARE(rowsNamed(rig, rows), rows);
}

// AES67 turned on: the link stays locked until the screen's set-up has read the module again.
void TestSettingsAudio::aes67BackAfterReload()
{
    SettingsRig rig;
    QVERIFY(openAudio(rig, "audio aes67_reset=on"));
    QVERIFY(rig.row(119)->isLocked());
    play(rig, QStringLiteral("pick 118 1"));
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {"PARAM|aes67_reset=off|target=audio"});
    QCOMPARE(getRavennaController()->state(), -1);
    QVERIFY(rig.row(119)->isLocked());
    rig.window->setupControllers();
    QCOMPARE(getRavennaController()->state(), 0);
    QVERIFY(!rig.row(119)->isLocked());
    rig.touch(119);
    QCOMPARE(rig.current()->pageId, 119);
}

// The device's notices rewrite the Audio page while it is shown, and only then.
void TestSettingsAudio::refreshedWhileShown_data()
{
    QTest::addColumn<QByteArray>("notice"); // "core": the module unloaded, then the core's changeset; else a DRC key
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("rows"); // rows 114, 115 (count), 119 lock
    QTest::newRow("limiter changed, page shown") << QByteArray("drc_lim_threshold") << true << "-10 dBFS 30 open";
    QTest::newRow("limiter changed, page covered") << QByteArray("drc_lim_threshold") << false << "-6 dBFS 34 open";
    QTest::newRow("core changeset, page shown") << QByteArray("core") << true << "-6 dBFS 34 locked";
    QTest::newRow("core changeset, page covered") << QByteArray("core") << false << "-6 dBFS 34 open";
}

void TestSettingsAudio::refreshedWhileShown()
{
    QFETCH(QByteArray, notice);
    QFETCH(bool, shown);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAudio(rig, "audio drc_lim_threshold=-6"));
    QVexmarMenuItems *audioPage = rig.current();
    if (!shown)
        rig.touch(111);
    if (notice == "core") {
        getRavennaController()->reset();
        QVERIFY(rig.deliver({"INFO;info_type:audio_changeset;info_source:core;"}));
    } else {
        rig.device.changeset("audio", "audio_changeset", {{notice.toStdString(), "-10"}}, "aic");
        QTRY_COMPARE(getAudioSettings()->drcLimThreshold(), -10);
    }
    QVexmarMenuItem *limiter = audioPage->findItem(114);
    QCOMPARE(limiter->valueLabel->text() + QLatin1Char(' ')
            + QString::number(audioPage->findItem(115)->options().size())
            + (audioPage->findItem(119)->isLocked() ? " locked" : " open"),
        rows);
}

// The maker and the interface count decide the rows and what the refresh asks for, in order.
void TestSettingsAudio::interfaceRows_data()
{
    QTest::addColumn<QByteArray>("manufacturer");
    QTest::addColumn<int>("interfaces");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QByteArray>("names");
    const QByteArray statuses = "rav_status_in0 rav_status_in1 rav_status_in2 rav_status_in3 rav_status_in4 "
                                "rav_status_in5 rav_status_in6 rav_status_in7 ";
    const QByteArray second = " rav_dhcp1 rav_ip_addr1 rav_link_state1 rav_ptp_state1";
    QTest::newRow("net mode maker, one interface")
        << QByteArray("Merging Audio") << 1 << "120 121 122 123 124 125 133 146 -1 162 161 163 -1 164 165 168 169 167"
        << "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_net_mode rav_dhcp rav_ip_addr " + statuses
            + "rav_name_ou rav_mode_ou rav_lock_state rav_rescueos_rev rav_link_state rav_ptp_state rav_firmware_rev";
    QTest::newRow("net mode maker, two interfaces")
        << QByteArray("MERGING") << 2 << "120 121 122 123 124 125 126 133 146 -1 162 161 163 -1 164 165 168 169 167"
        << "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_net_mode rav_dhcp rav_ip_addr " + statuses
            + "rav_name_ou rav_mode_ou rav_lock_state rav_rescueos_rev rav_link_state rav_ptp_state rav_firmware_rev"
            + second;
    QTest::newRow("own tools maker in lower case")
        << QByteArray("audinate pty") << 1 << "120 121 122 125 -1 162 161 163 -1 164 165 166 168 167"
        << QByteArray("rav_device_name rav_sample_rate rav_resolution rav_dhcp rav_ip_addr rav_lock_state "
                      "rav_firmware_ver rav_link_state rav_ptp_state rav_firmware_rev");
    QTest::newRow("own tools maker, two interfaces")
        << QByteArray("Audinate") << 2 << "120 121 122 125 126 -1 162 161 163 -1 164 165 166 168 167"
        << "rav_device_name rav_sample_rate rav_resolution rav_dhcp rav_ip_addr rav_lock_state rav_firmware_ver "
           "rav_link_state rav_ptp_state rav_firmware_rev"
            + second;
    QTest::newRow("no revision maker")
        << QByteArray("ArchWave AG") << 2 << "120 121 122 123 125 126 133 146 -1 162 161 163 -1 164 165 168 167"
        << "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_dhcp rav_ip_addr " + statuses
            + "rav_name_ou rav_mode_ou rav_lock_state rav_link_state rav_ptp_state" + second;
    QTest::newRow("empty") << QByteArray() << 1 << "120 121 122 123 125 133 146 -1 162 161 163 -1 164 165 168 167"
                           << "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_dhcp rav_ip_addr "
            + statuses + "rav_name_ou rav_mode_ou rav_lock_state rav_link_state rav_ptp_state rav_firmware_rev";
    QTest::newRow("another maker, the word not at the start")
        << QByteArray("Example Audio (Merging inside)") << 2
        << "120 121 122 123 125 126 133 146 -1 162 161 163 -1 164 165 168 167"
        << "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_dhcp rav_ip_addr " + statuses
            + "rav_name_ou rav_mode_ou rav_lock_state rav_link_state rav_ptp_state rav_firmware_rev" + second;
}

void TestSettingsAudio::interfaceRows()
{
    QFETCH(QByteArray, manufacturer);
    QFETCH(int, interfaces);
    QFETCH(QString, rows);
    QFETCH(QByteArray, names);
    SettingsRig rig;
    QVERIFY(openFromAudio(
        rig, 119, "audio rav_manufacturer=" + manufacturer + "\naudio rav_if_count=" + QByteArray::number(interfaces)));
    QCOMPARE(rowIds(rig), rows);
    const QByteArrayList frames {
        "PARAM|target=audio|LIST rav_sample_rate", "PARAM|target=audio|LIST rav_resolution", audioGets(names)};
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QVERIFY(rig.page()->header->isRefreshVisible());
    QCOMPARE(rig.rowText(125).section(QLatin1Char('|'), 0, 0).trimmed(),
        interfaces == 2 ? QStringLiteral("IP Addressing (Interface 1)") : QStringLiteral("IP Addressing"));
    // Locks at the Administrator level with the module read: the status rows only, and the maker's name as read.
    for (QVexmarMenuItem *item : rig.current()->items())
        QCOMPARE(item->isLocked(), item->id > 160);
    QCOMPARE(rig.row(164)->valueLabel->text(), QString::fromLatin1(manufacturer));
    // Back from a link, the page is read again; the refresh icon reads it too.
    rig.touch(125);
    rig.takeFrames();
    rig.back();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {audioGets(names)});
    rig.refresh();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {audioGets(names)});
}

// Not loaded: nothing asked, the editable rows and the links locked. An Expert cannot rename the module.
void TestSettingsAudio::interfaceNotLoaded()
{
    SettingsRig rig;
    QVERIFY(openFromAudio(rig, 119, {}, 1));
    rig.takeFrames();
    QVERIFY(rig.row(120)->isLocked());
    QVERIFY(!rig.row(121)->isLocked());
    getRavennaController()->reset();
    rig.refresh();
    QVERIFY(rig.framesAfterRoundTrip().isEmpty());
    for (int id : {120, 121, 122, 123, 125, 126, 133, 146})
        QVERIFY2(rig.row(id)->isLocked(), qPrintable(QString::number(id)));
    rig.touch(125);
    QCOMPARE(rig.current()->pageId, 119);
}

// Every row's text as the formats give it.
void TestSettingsAudio::interfaceTexts_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    const QByteArray rates = "audio rav_sample_rate=[44100,48000,88200,96000]\naudio rav_sample_rate=";
    QTest::newRow("as set up") << QByteArray()
                               << "120 R\u00e9gie 2; 121 96 kHz; 122 32 bits; 123 3; 125 192.168.10.5 [ Static ]; "
                                  "126 169.254.3.4 [ ZeroConf ]; 146 Reporter \u00e9 [ Transmitting ]; 162 Locked L; "
                                  "161 Active / Disconnected L; 163 Slave / Listening L; 164 Example Audio L; "
                                  "165 AoIP module 8 L; 168 1.8.4 L; 167 B2 L";
    QTest::newRow("48000") << rates + "48000"
                           << "121 48 kHz";
    QTest::newRow("44100") << rates + "44100"
                           << "121 44.1 kHz";
    QTest::newRow("88200") << rates + "88200"
                           << "121 88.2 kHz";
    QTest::newRow("not listed") << rates + "192000"
                                << "121 192 kHz red (none)";
    QTest::newRow("no list") << QByteArray("audio rav_sample_rate=[]\naudio rav_sample_rate=32000") << "121 32 kHz";
    QTest::newRow("one interface, DHCP without an address, no output name") << QByteArray(
        "audio rav_if_count=1\naudio rav_dhcp=on\naudio rav_ip_addr=\naudio rav_name_ou=\n"
        "audio rav_mode_ou=off") << "125 No Address [ DHCP ]; 146 No Name [ Disabled ]; 161 Active L; 163 Slave L";
    QTest::newRow("streams") << QByteArray("audio rav_status_in2=idle\naudio rav_status_in3=disabled,disabled\n"
                                           "audio rav_status_in4=transmitting,receiving no sync\n"
                                           "audio rav_status_in5=a\naudio rav_status_in6=idle,addr collision\n"
                                           "audio rav_status_in7=idle")
                             << "133 Stream 1 [ Receiving / Idle ]\nStream 2 [ Waiting / Waiting ]\n"
                                "Stream 3 [ Idle ]\nStream 4 [ Disabled ]\n"
                                "Stream 5 [ Transmitting / Receiving (No Sync) ]\nStream 6 [ Unknown Status ]\n"
                                "Stream 7 [ Idle / Address Collision ]\nStream 8 [ Idle ]";
}

void TestSettingsAudio::interfaceTexts()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openFromAudio(rig, 119, setup));
    QCOMPARE(rowsNamed(rig, rows), rows);
}

QTEST_MAIN(TestSettingsAudio)
#include "tst_settingsaudio.moc"
