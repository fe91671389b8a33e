// The Troubleshooting and remote access pages against the simulated device: the event log read and changed, the
// resets by category with their waits and messages, and the remote access rows, change test and apply.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsTroubleshooting : public QObject
{
    Q_OBJECT

private slots:
    void log_data();
    void log();
    void resets_data();
    void resets();
    void remoteRows_data();
    void remoteRows();
    void remoteChanges_data();
    void remoteChanges();
    void remoteApply_data();
    void remoteApply();
    void remoteRetry();
    void remoteUnread_data();
    void remoteUnread();
};

namespace {

const QByteArray remoteSetup = R"(
general log_level=6
general log_addr=10.0.0.5
general serialno=QV123456
general codec_id=codec-42
general remote_access=on
general remote_access_network=eth.0
general remote_access_server=ra.example.org
general remote_access_pwd=pw
)";

const QString failed = QStringLiteral("Failed to apply changes!");

// The row as shown; " L" when locked, " (masked)" for a password, " red" for a red value.
QString shown(const QVexmarMenuItem *row)
{
    QString text = QString::number(row->id) + QLatin1Char(' ') + SettingsRig::rowText(row);
    if (row->isLocked())
        text += QStringLiteral(" L");
    if (qobject_cast<QPwdLabel *>(row->valueLabel))
        text += QStringLiteral(" (masked)");
    if (SettingsRig::rowColour(row) == QLatin1String("red"))
        text += QStringLiteral(" red");
    return text;
}

// Logged in at the level on a device with the remote access option at that level (0: none), the page opened from
// the Tools page.
bool openPage(SettingsRig &rig, int pageId, int level = 2, int option = 3, const QByteArrayList &changes = {})
{
    rig.device.loadSetup(remoteSetup);
    std::vector<std::string> options {"ip_dcodec", "mobile_lte", "wifi", "ravenna"};
    if (option > 0)
        options.push_back("remote_access_" + std::to_string(option));
    rig.device.setList("general", "device_opts", options);
    for (const QByteArray &change : changes)
        rig.device.loadSetup(change);
    if (!rig.startSettings(level) || !rig.openPageId(QVexmar::SettingsTools))
        return false;
    rig.touch(pageId);
    return rig.current()->pageId == pageId;
}

} // namespace

// The log settings read with the page; each change is its own DO, and a refused one puts the row back.
void TestSettingsTroubleshooting::log_data()
{
    QTest::addColumn<QByteArray>("answer"); // the device's reply to the read; empty: its store
    QTest::addColumn<QByteArray>("step"); // empty: none
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QStringList>("rows"); // 226, 227
    QTest::addColumn<QString>("popup");
    const QString normal = QStringLiteral("226 Log Level | Normal | Coarse, *Normal, Debug");
    const QString debug = QStringLiteral("226 Log Level | Debug | Coarse, Normal, *Debug");
    const QString server = QStringLiteral("227 Syslog Server | 10.0.0.5");
    QTest::newRow("as read") << QByteArray() << QByteArray() << false << QByteArrayList()
                             << QStringList {normal, server} << QString();
    QTest::newRow("server unanswered: locked, the level works")
        << QByteArray("PARAM;log_level:6;return:OK;") << QByteArray("pick 226 8") << false
        << QByteArrayList {"DO|action=change_syslog|log_level=8|target=general"}
        << QStringList {debug, QStringLiteral("227 Syslog Server |  L")} << QString();
    QTest::newRow("nothing answered") << QByteArray("PARAM;return:OK;") << QByteArray() << false << QByteArrayList()
                                      << QStringList {QStringLiteral(
                                                          "226 Log Level | Coarse | *Coarse, Normal, Debug L"),
                                             QStringLiteral("227 Syslog Server |  L")}
                                      << QString();
    QTest::newRow("debug") << QByteArray() << QByteArray("pick 226 8") << false
                           << QByteArrayList {"DO|action=change_syslog|log_level=8|target=general"}
                           << QStringList {debug, server} << QString();
    QTest::newRow("an empty server") << QByteArray() << QByteArray("type 227=") << false
                                     << QByteArrayList {"DO|action=change_syslog|log_addr=|target=general"}
                                     << QStringList {normal, QStringLiteral("227 Syslog Server | ")} << QString();
    QTest::newRow("level refused") << QByteArray() << QByteArray("pick 226 8") << true
                                   << QByteArrayList {"DO|action=change_syslog|log_level=8|target=general"}
                                   << QStringList {normal, server} << failed;
    QTest::newRow("server refused") << QByteArray() << QByteArray("type 227=log.lan") << true
                                    << QByteArrayList {"DO|action=change_syslog|log_addr=log.lan|target=general"}
                                    << QStringList {normal, server} << failed;
    QTest::newRow("server outside Latin-1") << QByteArray() << QByteArray("type 227=\xc5\x82og.lan") << false
                                            << QByteArrayList() << QStringList {normal, server} << failed;
}

void TestSettingsTroubleshooting::log()
{
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, step);
    QFETCH(bool, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QStringList, rows);
    QFETCH(QString, popup);
    SettingsRig rig;
    if (!answer.isEmpty()) {
        SimDevice::Fault reply = rpctesting::script({answer});
        reply.match = "log_addr";
        rig.device.addFault(reply);
    }
    QVERIFY(openPage(rig, 225, 1));
    if (refused)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "change_syslog"));
    rig.takeFrames();
    if (!step.isEmpty())
        play(rig, QString::fromUtf8(step));
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE((QStringList {shown(rig.row(226)), shown(rig.row(227))}), rows);
    QCOMPARE(rig.popupText(), popup);
}

// Each category is one DO without a target, waited for as long as it may take, behind its own message.
void TestSettingsTroubleshooting::resets_data()
{
    QTest::addColumn<int>("category"); // -1: the popup cancelled
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QList<qint64>>("timeouts");
    QTest::addColumn<QString>("pending"); // the message while the device works
    QTest::addColumn<QString>("popup"); // afterwards
    QTest::addColumn<QString>("logLevel"); // row 226 afterwards
    const QByteArray readLog = "PARAM|target=general|GET log_level|GET log_addr";
    const QString resetting = QStringLiteral("Reset settings...");
    const QString reloading = QStringLiteral("Reloading SIP Accounts...");
    const QString resetFailed = QStringLiteral("Failed to perform reset action!");
    const QString normal = QStringLiteral("Normal");
    const auto row
        = [](const char *name, int category, bool refused, const QByteArrayList &frames, const QList<qint64> &timeouts,
              const QString &pending, const QString &popup, const QString &logLevel) {
              QTest::newRow(name) << category << refused << frames << timeouts << pending << popup << logLevel;
          };
    row("call history", 0, false, {"DO|action=reset|level=addrhistory"}, {5000}, {}, {}, normal);
    row("call profiles", 1, false, {"DO|action=reset|level=remote_profile"}, {5000}, {}, {}, normal);
    row("presets", 2, false, {"DO|action=reset|level=local_profile"}, {5000}, {}, {}, normal);
    row("SIP profiles", 3, false, {"DO|action=reset|level=sip_profile"}, {5000}, {}, {}, normal);
    row("snapshots", 4, false, {"DO|action=reset|level=snapshot"}, {5000}, {}, {}, normal);
    // The device puts the log back to its defaults with the settings: the rows show them.
    row("default settings", 5, false, {"DO|action=reset|level=settings", readLog}, {20000, 5000}, resetting, {},
        QStringLiteral("Coarse"));
    row("full factory reset", 6, false, {"DO|action=reset|level=full", readLog}, {20000, 5000}, resetting, {},
        QStringLiteral("Coarse"));
    row("factory SIP accounts", 7, false, {"DO|action=reset|level=sipaccount"}, {5000}, reloading, {}, normal);
    row("call history refused", 0, true, {"DO|action=reset|level=addrhistory"}, {5000}, {}, resetFailed, normal);
    row("full factory reset refused", 6, true, {"DO|action=reset|level=full"}, {20000}, resetting, resetFailed, normal);
    row("factory SIP accounts refused", 7, true, {"DO|action=reset|level=sipaccount"}, {5000}, reloading,
        QStringLiteral("Failed to reload the SIP Accounts!"), normal);
    row("cancelled", -1, false, {}, {}, {}, {}, normal);
}

void TestSettingsTroubleshooting::resets()
{
    QFETCH(int, category);
    QFETCH(bool, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QList<qint64>, timeouts);
    QFETCH(QString, pending);
    QFETCH(QString, popup);
    QFETCH(QString, logLevel);
    SettingsRig rig;
    QVERIFY(openPage(rig, 225, 1));
    if (refused)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "reset"));
    // The message shown while the device works, read when the request arrives.
    QString shownMeanwhile;
    QObject::connect(&rig.device, &SimDevice::requestReceived, [&](const RpcMessage &request) {
        if (request.body().param("level"))
            shownMeanwhile = rig.page()->messagePopup ? rig.page()->messagePopup->text : QString();
    });
    rig.takeFrames();
    rig.takeTimeouts();
    rig.touch(228);
    QCOMPARE(rig.popupText(),
        QStringLiteral(": *Call History, Call Profiles, Presets, SIP Profiles, Snapshots, Restore Default Settings, "
                       "Full Factory Reset, Reload the Factory SIP Accounts"));
    QVERIFY(rig.answer(category != -1, category));
    // Each request's own wait, read while it was pending, never waited out.
    QCOMPARE(rig.takeTimeouts(), timeouts);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(shownMeanwhile, pending);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.rowText(228).section(QStringLiteral(" | "), 1, 1),
        QStringLiteral("Select the category of settings to reset"));
    QCOMPARE(rig.rowText(226).section(QStringLiteral(" | "), 1, 1), logLevel);
}

// Rows by the device's option and the level; the password masked; an interface the device lacks in red.
void TestSettingsTroubleshooting::remoteRows_data()
{
    QTest::addColumn<int>("option"); // remote access option level; 0: none
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("stored"); // "remote_access_network"
    QTest::addColumn<QStringList>("rows");
    const QString interfaces
        = QStringLiteral("231 Interface for Control | Ethernet | Auto, *Ethernet, Mobile (int 1), Wi-Fi");
    const QString serial = QStringLiteral("233 Serial Number | QV123456 L");
    const QString codec = QStringLiteral("234 Codec Identifier | codec-42 L");
    QTest::newRow("no option") << 0 << 2 << QByteArray("eth.0")
                               << QStringList {"230 Remote Assistance | Active", interfaces, serial, codec};
    QTest::newRow("option, administrator")
        << 1 << 2 << QByteArray("eth.0")
        << QStringList {"230 Remote Access | Active", interfaces, "232 Remote Access Server | ra.example.org L", serial,
               codec, "235 Codec Password | pw (masked)"};
    QTest::newRow("option, expert") << 1 << 1 << QByteArray("eth.0")
                                    << QStringList {"230 Remote Access | Active", interfaces,
                                           "232 Remote Access Server | ra.example.org L", serial, codec,
                                           "235 Codec Password | pw L (masked)"};
    QTest::newRow("full option, administrator")
        << 3 << 2 << QByteArray("eth.0")
        << QStringList {"230 Remote Access | Active", interfaces, "232 Remote Access Server | ra.example.org", serial,
               codec, "235 Codec Password | pw (masked)"};
    QTest::newRow("full option, expert") << 3 << 1 << QByteArray("eth.0")
                                         << QStringList {"230 Remote Access | Active", interfaces,
                                                "232 Remote Access Server | ra.example.org L", serial, codec,
                                                "235 Codec Password | pw L (masked)"};
    QTest::newRow("stored interface the device lacks")
        << 0 << 1 << QByteArray("eth.1")
        << QStringList {"230 Remote Assistance | Active",
               "231 Interface for Control | Ethernet (aux) | Auto, Ethernet, Mobile (int 1), Wi-Fi red", serial, codec};
    QTest::newRow("auto") << 0 << 1 << QByteArray("auto")
                          << QStringList {"230 Remote Assistance | Active",
                                 "231 Interface for Control | Auto | *Auto, Ethernet, Mobile (int 1), Wi-Fi", serial,
                                 codec};
    QTest::newRow("stored interface the page does not know")
        << 0 << 1 << QByteArray("vpn.0")
        << QStringList {"230 Remote Assistance | Active",
               "231 Interface for Control | vpn.0 | Auto, Ethernet, Mobile (int 1), Wi-Fi red", serial, codec};
}

void TestSettingsTroubleshooting::remoteRows()
{
    QFETCH(int, option);
    QFETCH(int, level);
    QFETCH(QByteArray, stored);
    QFETCH(QStringList, rows);
    SettingsRig rig;
    QVERIFY(openPage(rig, 229, level, option, {"general remote_access_network=" + stored}));
    QStringList shownRows;
    for (QVexmarMenuItem *row : rig.current()->items())
        shownRows << shown(row);
    QCOMPARE(shownRows, rows);
    QVERIFY(!rig.modified());
}

// Every edit compares the editable rows with a fresh read of the device.
void TestSettingsTroubleshooting::remoteChanges_data()
{
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<bool>("readFails"); // the change test's read
    QTest::addColumn<bool>("modified");
    QTest::newRow("switch toggled") << QByteArrayList {"flip 230"} << false << true;
    QTest::newRow("switch toggled back") << QByteArrayList {"flip 230", "flip 230"} << false << false;
    QTest::newRow("read failed: unchanged") << QByteArrayList {"flip 230"} << true << false;
    QTest::newRow("interface") << QByteArrayList {"pick 231 65535"} << false << true;
    QTest::newRow("interface as stored") << QByteArrayList {"pick 231 65535", "pick 231 256"} << false << false;
    QTest::newRow("server") << QByteArrayList {"type 232=other.example.org"} << false << true;
    QTest::newRow("password") << QByteArrayList {"type 235=n3w"} << false << true;
}

void TestSettingsTroubleshooting::remoteChanges()
{
    QFETCH(QByteArrayList, steps);
    QFETCH(bool, readFails);
    QFETCH(bool, modified);
    SettingsRig rig;
    QVERIFY(openPage(rig, 229));
    if (readFails)
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 5, "remote_access_pwd"));
    rig.takeFrames();
    for (const QByteArray &step : steps)
        play(rig, QString::fromUtf8(step));
    QCOMPARE(rig.modified(), modified);
    // Each edit reads the device to compare; nothing is written before the apply.
    QByteArrayList reads;
    for (int i = 0; i < steps.size(); ++i)
        reads << "PARAM|target=general|GET remote_access|GET remote_access_network|GET remote_access_server|GET "
                 "remote_access_pwd";
    QCOMPARE(rig.framesAfterRoundTrip(), reads);
}

// One PARAM of every editable row, changed or not; the password read back; a refusal keeps the mark.
void TestSettingsTroubleshooting::remoteApply_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QByteArray>("stored"); // "remote_access_network", then any further set-up lines
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArray>("fault"); // "refuse <key>", or "pwd <reply>" for the read after the write
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("password"); // row 235 afterwards
    QTest::addColumn<QString>("popup");
    const QByteArray readBack = "PARAM|target=general|GET remote_access_pwd";
    const QString applying = QStringLiteral("Applying changes...");
    QTest::newRow("administrator: every row")
        << 2 << QByteArray("eth.0") << QByteArrayList {"flip 230"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=off|remote_access_network=eth.0|remote_access_pwd=pw|remote_access_"
                           "server="
                           "ra.example.org|target=general",
               readBack}
        << QStringLiteral("pw") << applying;
    QTest::newRow("expert: switch and interface")
        << 1 << QByteArray("eth.0") << QByteArrayList {"flip 230"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=off|remote_access_network=eth.0|target=general"} << QStringLiteral("pw")
        << applying;
    QTest::newRow("an interface the device lacks is not sent")
        << 1 << QByteArray("eth.1") << QByteArrayList {"flip 230"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=off|target=general"} << QStringLiteral("pw") << applying;
    QTest::newRow("auto") << 1 << QByteArray("eth.0") << QByteArrayList {"pick 231 65535"} << QByteArray()
                          << QByteArrayList {"PARAM|remote_access=on|remote_access_network=auto|target=general"}
                          << QStringLiteral("pw") << applying;
    QTest::newRow("the password as the device keeps it")
        << 2 << QByteArray("eth.0") << QByteArrayList {"type 235=n3w"}
        << QByteArray("pwd PARAM;remote_access_pwd:N3W;return:OK;")
        << QByteArrayList {"PARAM|remote_access=on|remote_access_network=eth.0|remote_access_pwd=n3w|remote_access_"
                           "server="
                           "ra.example.org|target=general",
               readBack}
        << QStringLiteral("N3W") << applying;
    QTest::newRow("partly refused") << 2 << QByteArray("eth.0") << QByteArrayList {"flip 230"}
                                    << QByteArray("refuse remote_access_server")
                                    << QByteArrayList {"PARAM|remote_access=off|remote_access_network=eth.0|remote_"
                                                       "access_pwd=pw|remote_access_server="
                                                       "ra.example.org|target=general"}
                                    << QStringLiteral("pw") << failed;
    QTest::newRow("an interface the page does not know is not sent")
        << 1 << QByteArray("vpn.0") << QByteArrayList {"flip 230"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=off|target=general"} << QStringLiteral("pw") << applying;
    QTest::newRow("an interface the page does not know replaced by Auto")
        << 1 << QByteArray("vpn.0") << QByteArrayList {"pick 231 65535"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=on|remote_access_network=auto|target=general"} << QStringLiteral("pw")
        << applying;
    QTest::newRow("server outside Latin-1")
        << 2 << QByteArray("eth.0") << QByteArrayList {"type 232=\xc5\x82.example.org"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=on|remote_access_network=eth.0|remote_access_pwd=pw|remote_access_"
                           "server=\xc5\x82.example.org|target=general",
               readBack}
        << QStringLiteral("pw") << applying;
    // Bytes that are no UTF-8 go back as they are, too.
    QTest::newRow("texts unchanged beyond Latin-1 sent as read")
        << 2
        << QByteArray("eth.0\ngeneral remote_access_server=serwer-\xc5\x82\xe9.example.org\n"
                      "general remote_access_pwd=p\xc5\x82")
        << QByteArrayList {"flip 230"} << QByteArray()
        << QByteArrayList {"PARAM|remote_access=off|remote_access_network=eth.0|remote_access_pwd=p\xc5\x82|remote_"
                           "access_server=serwer-\xc5\x82\xe9.example.org|target=general",
               readBack}
        << QString::fromUtf8("p\xc5\x82") << applying;
}

void TestSettingsTroubleshooting::remoteApply()
{
    QFETCH(int, level);
    QFETCH(QByteArray, stored);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, fault);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, password);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(openPage(rig, 229, level, 3, {"general remote_access_network=" + stored}));
    for (const QByteArray &step : steps)
        play(rig, QString::fromUtf8(step));
    QVERIFY(rig.modified());
    if (fault.startsWith("refuse "))
        rig.device.refuseKey(fault.mid(7).toStdString(), "103-parameter set error");
    if (fault.startsWith("pwd ")) {
        // The write is answered as usual; the read after it gets the device's own form of the password.
        SimDevice::Fault write = rpctesting::fault(SimDevice::Fault::Answer, 0, "remote_access_pwd");
        SimDevice::Fault read = rpctesting::script({fault.mid(4)});
        read.match = "remote_access_pwd";
        rig.device.addFault(write);
        rig.device.addFault(read);
    }
    rig.takeFrames();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.modified(), popup == failed);
    QCOMPARE(rig.rowText(235).section(QStringLiteral(" | "), 1, 1), password);
}

// A refused apply keeps the user's rows and the mark; the next apply sends every row again.
void TestSettingsTroubleshooting::remoteRetry()
{
    SettingsRig rig;
    QVERIFY(openPage(rig, 229, 1, 3, {"general remote_access_network=eth.0"}));
    play(rig, QStringLiteral("flip 230"));
    SimDevice::Fault refusal = rpctesting::script({"PARAM;remote_access:103-parameter set error;return:ERROR;"});
    refusal.match = "remote_access";
    rig.device.addFault(refusal);
    rig.takeFrames();
    const QByteArray sent = "PARAM|remote_access=off|remote_access_network=eth.0|target=general";
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {sent});
    QCOMPARE(rig.popupText(), failed);
    QVERIFY(rig.modified());
    QCOMPARE(rig.rowText(230), QStringLiteral("Remote Access | Disabled"));
    rig.closePopups();
    rig.apply();
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {sent});
    QVERIFY(!rig.modified());
    QCOMPARE(rig.device.param("general", "remote_access"), std::string("off"));
}

// A value not read is locked, so that an apply of other rows leaves the device's value as it is.
void TestSettingsTroubleshooting::remoteUnread_data()
{
    QTest::addColumn<QByteArray>("pageRead"); // the device's reply to the page's read; empty: its store
    QTest::addColumn<bool>("passwordApplied"); // a new one typed and applied, the read after it unanswered
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QByteArrayList>("frames"); // of an apply after the switch was turned
    const QString interfaces
        = QStringLiteral("231 Interface for Control | Ethernet | Auto, *Ethernet, Mobile (int 1), Wi-Fi");
    QTest::newRow("password not read back")
        << QByteArray() << true
        << QStringList {"230 Remote Access | Disabled", interfaces, "232 Remote Access Server | ra.example.org",
               "233 Serial Number | QV123456 L", "234 Codec Identifier | codec-42 L",
               "235 Codec Password |  L (masked)"}
        << QByteArrayList {"PARAM|remote_access=off|remote_access_network=eth.0|remote_access_server=ra.example.org|"
                           "target=general"};
    QTest::newRow("nothing read with the page")
        << QByteArray("PARAM;return:OK;") << false
        << QStringList {"230 Remote Access | Disabled L",
               "231 Interface for Control | Unknown | Auto, Ethernet, Mobile (int 1), Wi-Fi L",
               "232 Remote Access Server |  L", "233 Serial Number |  L", "234 Codec Identifier |  L",
               "235 Codec Password |  L (masked)"}
        << QByteArrayList();
}

void TestSettingsTroubleshooting::remoteUnread()
{
    QFETCH(QByteArray, pageRead);
    QFETCH(bool, passwordApplied);
    QFETCH(QStringList, rows);
    QFETCH(QByteArrayList, frames);
    SettingsRig rig;
    if (!pageRead.isEmpty()) {
        SimDevice::Fault reply = rpctesting::script({pageRead});
        reply.match = "serialno";
        rig.device.addFault(reply);
    }
    QVERIFY(openPage(rig, 229));
    if (passwordApplied) {
        play(rig, QStringLiteral("type 235=n3w"));
        rig.device.addFault(rpctesting::fault(SimDevice::Fault::Answer, 0, "remote_access_pwd"));
        SimDevice::Fault read = rpctesting::script({"PARAM;return:OK;"});
        read.match = "remote_access_pwd";
        rig.device.addFault(read);
        rig.apply();
        QVERIFY(!rig.modified());
        rig.closePopups();
    }
    play(rig, QStringLiteral("flip 230"));
    rig.takeFrames();
    if (rig.modified())
        rig.apply();
    QByteArrayList written;
    for (const QByteArray &frame : rig.framesAfterRoundTrip()) {
        if (!frame.contains("|GET "))
            written << frame;
    }
    QCOMPARE(written, frames);
    QStringList shownRows;
    for (QVexmarMenuItem *row : rig.current()->items())
        shownRows << shown(row);
    QCOMPARE(shownRows, rows);
    QCOMPARE(rig.device.param("general", "remote_access_pwd"), std::string(passwordApplied ? "n3w" : "pw"));
}

QTEST_MAIN(TestSettingsTroubleshooting)
#include "tst_settingstroubleshooting.moc"
