// The Book page and the page of one call profile against the simulated device: the rows a profile opens with, the
// coding lists asked for each choice, the save, the load onto a line with its locks, and the delete.

#include "tests/settingstesting.h"

using namespace settingstesting;

class TestSettingsCallProfile : public QObject
{
    Q_OBJECT

private slots:
    void bookPage();
    void opens_data();
    void opens();
    void coding_data();
    void coding();
    void saves_data();
    void saves();
    void refusedSaveRetried();
    void saveOfNoStoredRecord();
    void loads_data();
    void loads();
    void loadLocks_data();
    void loadLocks();
    void deletes_data();
    void deletes();
};

namespace {

// The book, beside the coding lists of loadCodingSetup. Line 1's codec is none of the profiles'.
const QByteArray bookSetup = R"(
audio codec=PCMA
book:remote_profile:12 name=Studio A
book:remote_profile:12 network=eth.0
book:remote_profile:12 codec=G722
book:remote_profile:12 remote_addr=5551234
book:remote_profile:13 name=Reporter
book:remote_profile:13 network=wifi.0
book:remote_profile:13 codec=OPUS/48000/stereo/128000
book:remote_profile:13 remote_addr=5550001
book:remote_profile:13 remote_addr2=5550002
book:remote_profile:14 name=Mobile voice
book:remote_profile:14 network=mobile.0
book:remote_profile:14 codec=GSM
book:remote_profile:14 remote_addr=5559876
book:remote_profile:15 name=Studio Opus
book:remote_profile:15 network=eth.0
book:remote_profile:15 codec=OPUS/32000/stereo/256000
book:remote_profile:15 remote_addr=5551000
book:remote_profile:16 name=Empty
book:remote_profile:16 network=eth.0
book:remote_profile:17 name=Elsewhere
book:remote_profile:17 network=wifi.1
book:remote_profile:17 codec=G722
book:remote_profile:17 remote_addr=5550003
)"
                             "book:remote_profile:18 name=\xc5\x81\xc3\xb3"
                             "d\xc5\xba\n"
                             "book:remote_profile:18 network=eth.0\n"
                             "book:remote_profile:18 codec=G722\n"
                             "book:remote_profile:18 remote_addr=5550004\n";

const QByteArray doubleCodec = "audio codec_mode=cmode_double";
const QByteArray line1Call = "EVENT;event_type:0600-call received;id:9;network:eth.0;";
const QByteArray line2Call = "EVENT;event_type:0600-call received;id:10;network:eth.0;comm_link:audio2;";
const QByteArray voiceCall = "EVENT;event_type:0600-call received;id:11;network:mobile.0;comm_link:coord_line;";

// The settings page opened by the page id (25 the Book, 26-28 for a line), the call profile list shown, and the
// profile's page opened from its row as the user opens it (174 a new one); the log then empty. The row is added to
// the list when the list has none.
bool openProfile(SettingsRig &rig, int entryId, const QByteArray &setup = {}, int opener = QVexmar::SettingsBook)
{
    rig.device.loadSetup(bookSetup + setup);
    loadCodingSetup(rig.device);
    if (!rig.startSettings() || !rig.openPageId(opener))
        return false;
    if (rig.current()->pageId == QVexmarSettingsPage::BookEntry)
        rig.touch(170);
    QVexmarMenuItem *row = rig.row(entryId);
    if (!row) {
        // Named as the list names it: the device's name in UTF-8, through utf8ToQString.
        const std::string name = rig.device.param("book:remote_profile:" + std::to_string(entryId - 299), "name");
        const QString title = name.empty() ? QStringLiteral("Profile %1").arg(entryId) : utf8ToQString(name);
        row = rig.addRow(rig.current(), entryId, QVexmarMenuItem::SubMenu, title, entryId > 298 ? 170 : -1);
    }
    rig.takeFrames();
    rig.touch(row);
    return rig.pages().endsWith(QLatin1String("175:170"));
}

// The requests that change something: no GET, LIST or "open".
QByteArrayList writes(const QByteArrayList &frames)
{
    QByteArrayList picked;
    for (const QByteArray &frame : frames) {
        if (!frame.contains("|GET ") && !frame.contains("|LIST ") && !frame.contains("action=open"))
            picked << frame;
    }
    return picked;
}

const QList<int> profileRows {176, 177, 178, 179, 180, 181, 182, 183, 184, 186};

const QByteArray listAlgorithms = "PARAM|codec_mode=single_codec|network=ip|target=audio|LIST alg";

} // namespace

void TestSettingsCallProfile::bookPage()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings(0));
    QVERIFY(rig.openPageId(QVexmar::SettingsBook));
    QCOMPARE(rowsShown(rig),
        QStringLiteral("170 Manage the call profiles; 171 Manage the presets; "
                       "172 Manage the SIP profiles; 173 Manage the snapshots"));
    QCOMPARE(rig.row(172)->titleLabel->text(), QStringLiteral("SIP Profiles"));
    QCOMPARE(rig.row(173)->kind(), int(QVexmarMenuItem::SubMenu));
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// What a profile opens with: the requests, the rows, the mark and the popup.
void TestSettingsCallProfile::opens_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("entryId");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("popup");
    const QByteArray noEthernet = "network network=[aoip,mobile.0,wifi.0]\nnetwork default_network=wifi.0";
    QTest::newRow("new")
        << QByteArray() << 174 << QByteArrayList {listAlgorithms}
        << "176 noname; 177 Ethernet; 178 None; 179  L hidden; 180  L hidden; 181  L hidden; 182 ; 183 " << QString();
    QTest::newRow("new, no Ethernet") << noEthernet << 174 << QByteArrayList {listAlgorithms}
                                      << "176 noname; 177 Ethernet red; 178 None; 179  L hidden; 180  L hidden; "
                                         "181  L hidden; 182 ; 183 "
                                      << QString();
    QTest::newRow("stored G.722")
        << QByteArray() << 311
        << QByteArrayList {"DO|action=open|id=12|target=general|type=remote_profile", listAlgorithms,
               "PARAM|alg=G722|codec_mode=single_codec|network=ip|target=audio|LIST mode",
               "PARAM|alg=G722|codec_mode=single_codec|mode=mono|network=ip|samplerate=48000|target=audio|"
               "LIST bitrate"}
        << "176 Studio A; 177 Ethernet; 178 G.722; 179 Mono L; 180 16 kHz L; 181 64 kbit/s L; 182 5551234; 183 ; "
           "184 Load the call profile; 186 Delete the call profile"
        << QString();
    QTest::newRow("stored rate not offered")
        << QByteArray() << 314
        << QByteArrayList {"DO|action=open|id=15|target=general|type=remote_profile", listAlgorithms,
               "PARAM|alg=OPUS|codec_mode=single_codec|network=ip|target=audio|LIST mode",
               "PARAM|alg=OPUS|codec_mode=single_codec|mode=stereo|network=ip|target=audio|LIST samplerate",
               "PARAM|alg=OPUS|codec_mode=single_codec|mode=stereo|network=ip|samplerate=48000|target=audio|"
               "LIST bitrate"}
        << "176 Studio Opus; 177 Ethernet; 178 Opus; 179 Stereo; 180 48 kHz; 181 128 kbit/s; 182 5551000; 183 ; "
           "184 Load the call profile; 186 Delete the call profile"
        << QString();
    QTest::newRow("read refused")
        << QByteArray() << 320
        << QByteArrayList {"DO|action=open|id=21|target=general|type=remote_profile", listAlgorithms}
        << "176 Profile 320 L; 177 Ethernet L; 178 None L; 179  L hidden; 180  L hidden; 181  L hidden; 182  L; "
           "183  L; 184 Load the call profile L; 186 Delete the call profile"
        << "Failed to read the call profile!";
}

void TestSettingsCallProfile::opens()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, entryId);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, rows);
    QFETCH(QString, popup);
    SettingsRig rig;
    QVERIFY(openProfile(rig, entryId, setup));
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rowsShown(rig, profileRows), rows);
    QVERIFY(!rig.modified());
    QCOMPARE(rig.popupText(), popup);
    if (entryId < 299)
        QCOMPARE(rig.rowText(183), QStringLiteral("Secondary Number (for Double Streaming) | "));
}

// The coding rows after the user's choices (177-183), and the mark.
void TestSettingsCallProfile::coding_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("entryId");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("rowId");
    QTest::addColumn<QString>("row"); // that row in full
    QTest::addColumn<QString>("rows");
    QTest::addColumn<bool>("modified");
    QTest::newRow("mobile offers Voice")
        << QByteArray() << 311 << "pick 177 768" << 178
        << "Algorithm | G.722 | None, Voice, G.711 A-Law, *G.722, Opus, AAC HE"
        << "177 Mobile (int 1); 178 G.722; 179 Mono L; 180 16 kHz L; 181 64 kbit/s L; 182 5551234; 183 " << true;
    QTest::newRow("Voice takes no coding and no second number")
        << QByteArray() << 312 << "pick 177 768; pick 178 17" << 183
        << "Secondary Number (for Double Streaming) | 5550002"
        << "177 Mobile (int 1); 178 Voice; 179  L hidden; 180  L hidden; 181  L hidden; 182 5550001; "
           "183 5550002 hidden"
        << true;
    QTest::newRow("Voice held red on Ethernet")
        << QByteArray() << 311 << "pick 177 768; pick 178 17; pick 177 256" << 178
        << "Algorithm | Mobile voice | None, G.711 A-Law, G.722, Opus, AAC HE"
        << "177 Ethernet; 178 Mobile voice red; 179  L hidden; 180  L hidden; 181  L hidden; 182 5551234; 183  hidden"
        << true;
    QTest::newRow("an algorithm picked clears the red")
        << QByteArray() << 311 << "pick 177 768; pick 178 17; pick 177 256; pick 178 0" << 178
        << "Algorithm | G.711 A-Law | None, *G.711 A-Law, G.722, Opus, AAC HE"
        << "177 Ethernet; 178 G.711 A-Law; 179 Mono L; 180 8 kHz L; 181 64 kbit/s L; 182 5551234; 183 " << true;
    QTest::newRow("None clears the coding")
        << QByteArray() << 312 << "pick 178 -1" << 178 << "Algorithm | None | *None, G.711 A-Law, G.722, Opus, AAC HE"
        << "177 Wi-Fi; 178 None; 179  L hidden; 180  L hidden; 181  L hidden; 182 5550001; 183 5550002" << true;
    QTest::newRow("G.711 fixed at 8 kHz")
        << QByteArray() << 312 << "pick 178 0" << 180 << "Sampling Rate | 8 kHz | *8 kHz"
        << "177 Wi-Fi; 178 G.711 A-Law; 179 Mono L; 180 8 kHz L; 181 64 kbit/s L; 182 5550001; 183 5550002" << true;
    QTest::newRow("nothing listed for the mode")
        << QByteArray() << 312 << "pick 178 15; pick 179 3" << 180 << "Sampling Rate | "
        << "177 Wi-Fi; 178 AAC HE; 179 J-Stereo; 180  L; 181  L; 182 5550001; 183 5550002" << true;
    QTest::newRow("back to what was read")
        << QByteArray() << 311 << "pick 177 1024; pick 177 256" << 177
        << "Network | Ethernet | *Ethernet, Mobile (int 1), Wi-Fi"
        << "177 Ethernet; 178 G.722; 179 Mono L; 180 16 kHz L; 181 64 kbit/s L; 182 5551234; 183 " << false;
    QTest::newRow("no double streaming option")
        << QByteArray("general device_opts=[ip_dcodec,wifi]") << 312 << QString() << 183
        << "Second Remote Number | 5550002"
        << "177 Wi-Fi; 178 Opus; 179 Stereo; 180 48 kHz; 181 128 kbit/s; 182 5550001; 183 5550002 hidden" << false;
    QTest::newRow("an empty name is not valid")
        << QByteArray() << 311 << "type 176=" << 176 << "Call Profile Name | "
        << "177 Ethernet; 178 G.722; 179 Mono L; 180 16 kHz L; 181 64 kbit/s L; 182 5551234; 183 " << false;
}

void TestSettingsCallProfile::coding()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, entryId);
    QFETCH(QString, steps);
    QFETCH(int, rowId);
    QFETCH(QString, row);
    QFETCH(QString, rows);
    QFETCH(bool, modified);
    SettingsRig rig;
    QVERIFY(openProfile(rig, entryId, setup));
    play(rig, steps);
    QCOMPARE(rig.rowText(rowId), row);
    QCOMPARE(rowsShown(rig, {177, 178, 179, 180, 181, 182, 183}), rows);
    QCOMPARE(rig.modified(), modified);
}

// The request an apply sends, the popup, the mark and where the menu is afterwards.
void TestSettingsCallProfile::saves_data()
{
    QTest::addColumn<int>("entryId");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("pages");
    const QString back = QStringLiteral("4 170");
    const QString stays = QStringLiteral("4 170 175:170");
    QTest::newRow("new, number only")
        << 174 << "type 176=Desk; type 182=5550100"
        << QByteArrayList {"DO|action=create|name=Desk|network=eth.0|remote_addr=5550100|target=general|"
                           "type=remote_profile"}
        << QString() << back;
    QTest::newRow("new, coding only")
        << 174 << "type 176=Desk; pick 178 3"
        << QByteArrayList {"DO|action=create|codec=G722|name=Desk|network=eth.0|remote_addr=|target=general|"
                           "type=remote_profile"}
        << QString() << back;
    QTest::newRow("same name updates")
        << 311 << "type 182=5550199"
        << QByteArrayList {"DO|action=update|codec=G722|id=12|name=Studio A|network=eth.0|remote_addr=5550199|"
                           "target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("both numbers")
        << 312 << "type 183=5550009"
        << QByteArrayList {"DO|action=update|codec=OPUS/48000/stereo/128000|id=13|name=Reporter|network=wifi.0|"
                           "remote_addr=5550001|remote_addr2=5550009|target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("Voice leaves the second number out")
        << 312 << "pick 177 768; pick 178 17"
        << QByteArrayList {"DO|action=update|codec=GSM|id=13|name=Reporter|network=mobile.0|remote_addr=5550001|"
                           "target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("a coding the network does not offer is not saved")
        << 311 << "pick 177 768; pick 178 17; pick 177 256" << QByteArrayList() << "Failed to update the call profile!"
        << stays;
    QTest::newRow("renamed creates")
        << 311 << "type 176=Studio B"
        << QByteArrayList {"DO|action=create|codec=G722|name=Studio B|network=eth.0|remote_addr=5551234|"
                           "target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("name beyond Latin-1")
        << 174 << QString::fromUtf8("type 176=Łódź; type 182=5550100")
        << QByteArrayList {"DO|action=create|name=\xc5\x81\xc3\xb3"
                           "d\xc5\xba|network=eth.0|remote_addr=5550100|target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("stored name beyond Latin-1 kept")
        << 317 << "type 182=5550199"
        << QByteArrayList {"DO|action=update|codec=G722|id=18|name=\xc5\x81\xc3\xb3"
                           "d\xc5\xba|network=eth.0|remote_addr=5550199|target=general|type=remote_profile"}
        << QString() << back;
    QTest::newRow("number beyond Latin-1") << 311 << QString::fromUtf8("type 182=555\u20ac") << QByteArrayList()
                                           << "Failed to update the call profile!" << stays;
    QTest::newRow("second number beyond Latin-1") << 312 << QString::fromUtf8("type 183=555\u20ac") << QByteArrayList()
                                                  << "Failed to update the call profile!" << stays;
}

void TestSettingsCallProfile::saves()
{
    QFETCH(int, entryId);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(QString, pages);
    SettingsRig rig;
    QVERIFY(openProfile(rig, entryId));
    play(rig, steps);
    QVERIFY(rig.modified());
    rig.apply();
    QCOMPARE(writes(rig.framesAfterRoundTrip()), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.pages(), pages);
    QCOMPARE(rig.modified(), !popup.isEmpty());
    QCOMPARE(rig.page()->callProfilesChanged, false);
}

// A refused save keeps the edits and the mark; the retry sends the same and goes back.
void TestSettingsCallProfile::refusedSaveRetried()
{
    SettingsRig rig;
    QVERIFY(openProfile(rig, 311));
    play(rig, QStringLiteral("type 182=5550199"));
    rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "update"));
    rig.apply();
    const QByteArrayList sent {"DO|action=update|codec=G722|id=12|name=Studio A|network=eth.0|"
                               "remote_addr=5550199|target=general|type=remote_profile"};
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(rig.popupText(), QStringLiteral("Failed to update the call profile!"));
    QVERIFY(rig.modified());
    QVERIFY(rig.row(184)->isLocked());
    rig.closePopups();
    rig.apply();
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(rig.pages(), QStringLiteral("4 170"));
    QCOMPARE(rig.device.param("book:remote_profile:12", "remote_addr"), std::string("5550199"));
}

// An entry id that names no listed record is refused with the popup, unsent.
void TestSettingsCallProfile::saveOfNoStoredRecord()
{
    SettingsRig rig;
    QVERIFY(rig.startSettings());
    QVexmarSettingsPage *settings = rig.page();
    settings->editedProfile.entryId = 298;
    settings->editedProfile.name = settings->loadedProfile.name = QStringLiteral("Studio");
    settings->editedProfile.remoteNumber = QStringLiteral("5551234");
    QVERIFY(!settings->saveCallProfile(rig.pushPage(175, 170)));
    QCOMPARE(rig.popupText(), QStringLiteral("Failed to update the call profile!"));
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList());
}

// A confirmed load: what the device is sent, the line announced to the screen window (which hands the numbers on
// to the device), the numbers it takes and the default network afterwards.
void TestSettingsCallProfile::loads_data()
{
    QTest::addColumn<QByteArray>("setup"); // "refuse codec": the device refuses every codec
    QTest::addColumn<int>("opener");
    QTest::addColumn<QByteArrayList>("calls");
    QTest::addColumn<int>("entryId");
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<int>("context"); // announced; 0 none
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<QString>("network");
    const QString plain = QStringLiteral("Load the call profile?");
    const QString streamers = QStringLiteral("Load the call profile?: *Streamer 1, Streamer 2");
    const QByteArrayList none;
    const QString eth = QStringLiteral("eth.0");
    QTest::newRow("single codec: network, then codec")
        << QByteArray() << 25 << none << 312 << plain << -1
        << QByteArrayList {"PARAM|default_network=wifi.0|target=network",
               "PARAM|codec=OPUS/48000/stereo/128000|target=audio",
               "INFO|info_type=remote_numbers|remote_aoip1=5550001,5550002"}
        << 26 << QString() << "5550001|5550002"
        << "wifi.0";
    QTest::newRow("double codec, Streamer 2") << doubleCodec << 25 << none << 312 << streamers << 2
                                              << QByteArrayList {"PARAM|dcodec_2=OPUS/48000/stereo/128000|target=audio",
                                                     "INFO|info_type=remote_numbers|remote_aoip2=5550001,5550002"}
                                              << 27 << QString() << "5550001|5550002" << eth;
    QTest::newRow("double codec, Streamer 1") << doubleCodec << 25 << none << 314 << streamers << 1
                                              << QByteArrayList {"PARAM|dcodec_1=OPUS/48000/stereo/128000|target=audio",
                                                     "INFO|info_type=remote_numbers|remote_aoip1=5551000"}
                                              << 26 << QString() << "5551000|" << eth;
    QTest::newRow("list of line 2") << doubleCodec << 27 << none << 314 << plain << -1
                                    << QByteArrayList {"PARAM|dcodec_2=OPUS/48000/stereo/128000|target=audio",
                                           "INFO|info_type=remote_numbers|remote_aoip2=5551000"}
                                    << 27 << QString() << "5551000|" << eth;
    QTest::newRow("mobile voice: nothing sent") << QByteArray() << 25 << none << 313 << plain << -1
                                                << QByteArrayList {"INFO|info_type=remote_numbers|remote_voice=5559876"}
                                                << 28 << QString() << "5559876|" << eth;
    QTest::newRow("line 1 busy") << doubleCodec << 25 << QByteArrayList {line1Call} << 311 << streamers << 1 << none
                                 << 0 << "Cannot load the profile\n(a connection is established)"
                                 << "|" << eth;
    QTest::newRow("codec refused after the network: network put back")
        << QByteArray("refuse codec") << 25 << none << 312 << plain << -1
        << QByteArrayList {"PARAM|default_network=wifi.0|target=network",
               "PARAM|codec=OPUS/48000/stereo/128000|target=audio", "PARAM|default_network=eth.0|target=network"}
        << 0 << "Failed to load the call profile!"
        << "|" << eth;
}

void TestSettingsCallProfile::loads()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, opener);
    QFETCH(QByteArrayList, calls);
    QFETCH(int, entryId);
    QFETCH(QString, question);
    QFETCH(int, choice);
    QFETCH(QByteArrayList, frames);
    QFETCH(int, context);
    QFETCH(QString, popup);
    QFETCH(QString, numbers);
    QFETCH(QString, network);
    qRegisterMetaType<QVexmarMenuItem *>();
    SettingsRig rig;
    const bool refuseCodec = setup == "refuse codec";
    if (refuseCodec)
        rig.device.refuseKey("codec", "103-parameter set error");
    QVERIFY(openProfile(rig, entryId, refuseCodec ? QByteArray() : setup, opener));
    QVERIFY(rig.deliver(calls));
    QSignalSpy announced(rig.page(), &QVexmarMenuWidget::menuItemChanges);
    QVERIFY(!rig.row(184)->isLocked());
    rig.touch(184);
    QCOMPARE(rig.popupText(), question);
    QVERIFY(rig.answer(true, choice));
    QCOMPARE(writes(rig.framesAfterRoundTrip()), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(announced.count(), context ? 1 : 0);
    if (context)
        QCOMPARE(announced.at(0).at(1).toInt(), context);
    QCOMPARE(rig.pages(), context ? QStringLiteral("4 170") : QStringLiteral("4 170 175:170"));
    QCOMPARE(rig.page()->callProfileRemoteNumber + QLatin1Char('|') + rig.page()->callProfileRemoteNumber2, numbers);
    QCOMPARE(QString::fromStdString(getDevice()->defaultNetwork()), network);
}

// Load is offered only for a valid, unchanged profile that the line can take now; Delete only while unchanged.
void TestSettingsCallProfile::loadLocks_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("opener");
    QTest::addColumn<QByteArrayList>("calls");
    QTest::addColumn<int>("entryId");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("locked"); // of 184 and 186
    const QByteArrayList none;
    const auto row = [](const char *name, const QByteArray &setup, int opener, const QByteArrayList &calls, int entryId,
                         const char *steps, const char *locked) {
        QTest::newRow(name) << setup << opener << calls << entryId << QString::fromUtf8(steps)
                            << QString::fromUtf8(locked);
    };
    row("stored and valid", {}, 25, none, 311, "", "");
    row("changed", {}, 25, none, 311, "type 182=5550199", "184 186");
    row("changed and changed back", {}, 25, none, 311, "type 182=5550199; type 182=5551234", "");
    row("invalid", {}, 25, none, 315, "", "184");
    row("interface missing", {}, 25, none, 316, "", "184");
    row("voice for codec line 1", {}, 26, none, 313, "", "184");
    row("voice from the Book", {}, 25, none, 313, "", "");
    row("voice, voice line busy", {}, 25, {voiceCall}, 313, "", "184");
    row("single codec, line 1 busy", {}, 25, {line1Call}, 311, "", "184");
    row("single codec, voice line busy", {}, 25, {voiceCall}, 311, "", "");
    row("single codec, list of the voice line", {}, 28, none, 311, "", "184");
    row("double codec, line 1 busy, default network", doubleCodec, 25, {line1Call}, 311, "", "");
    row("double codec, line 1 busy, other network", doubleCodec, 25, {line1Call}, 312, "", "184");
    row("double codec, both lines busy", doubleCodec, 25, {line1Call, line2Call}, 311, "", "184");
    row("double codec, list of line 2, other network", doubleCodec, 27, none, 312, "", "184");
    row("double codec, list of line 2, default network", doubleCodec, 27, none, 311, "", "");
}

void TestSettingsCallProfile::loadLocks()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, opener);
    QFETCH(QByteArrayList, calls);
    QFETCH(int, entryId);
    QFETCH(QString, steps);
    QFETCH(QString, locked);
    SettingsRig rig;
    rig.device.loadSetup(bookSetup + setup);
    loadCodingSetup(rig.device);
    QVERIFY(rig.startSettings());
    QVERIFY(rig.openPageId(opener));
    QVERIFY(rig.deliver(calls));
    if (rig.current()->pageId == QVexmarSettingsPage::BookEntry)
        rig.touch(170);
    rig.touch(rig.addRow(rig.current(), entryId, QVexmarMenuItem::SubMenu, QStringLiteral("Profile"), 170));
    play(rig, steps);
    QStringList ids;
    for (int id : {184, 186}) {
        if (rig.row(id)->isLocked())
            ids << QString::number(id);
    }
    QCOMPARE(ids.join(QLatin1Char(' ')), locked);
}

// A confirmed delete: the request, and on success the row gone from the list and the menu back on it.
void TestSettingsCallProfile::deletes_data()
{
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("pages");
    QTest::newRow("deleted") << false << QString() << QStringLiteral("4 170");
    QTest::newRow("refused") << true << QStringLiteral("Failed to delete the call profile!")
                             << QStringLiteral("4 170 175:170");
}

void TestSettingsCallProfile::deletes()
{
    QFETCH(bool, refused);
    QFETCH(QString, popup);
    QFETCH(QString, pages);
    SettingsRig rig;
    QVERIFY(openProfile(rig, 311));
    if (refused)
        rig.device.addFault(fault(SimDevice::Fault::Nok, 0, "delete"));
    rig.touch(186);
    QCOMPARE(rig.popupText(), QStringLiteral("Delete the call profile?"));
    QVERIFY(rig.answer(true));
    QCOMPARE(writes(rig.framesAfterRoundTrip()),
        QByteArrayList {"DO|action=delete|id=12|target=general|type=remote_profile"});
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.pages(), pages);
    QCOMPARE(rig.page()->findItems(170)->findItemInGroup(311, 170) != nullptr, refused);
    if (!refused)
        QVERIFY(!rig.device.hasParam("book:remote_profile:12", "name"));
}

QTEST_MAIN(TestSettingsCallProfile)
#include "tst_settingscallprofile.moc"
