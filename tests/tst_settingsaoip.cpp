// The AoIP module's input streams, receiver, IP addressing and output stream pages against the simulated device's
// module: the rows each shows and locks, what its refresh asks for, the mark, and what an apply sends, refuses
// unsent, and sends again after the device refused it.

#include "tests/settingstesting.h"

#include "controllers/tcomravennacontroller.h"
#include "device/accessors.h"

using namespace settingstesting;

class TestSettingsAoip : public QObject
{
    Q_OBJECT

private slots:
    void inputStreams_data();
    void inputStreams();
    void receiverDelay_data();
    void receiverDelay();
    void receiverRows_data();
    void receiverRows();
    void applies_data();
    void applies();
    void addressingRead_data();
    void addressingRead();
    void outputRows_data();
    void outputRows();
    void notLoaded();
    void notLoadedPages_data();
    void notLoadedPages();
};

namespace {

// Logged in at the level on the module with the case's set-up, the pages of the path opened from the AoIP
// interface page as the user goes; the log empty.
bool openAoip(SettingsRig &rig, const QByteArray &setup, const QList<int> &path, int level = 2)
{
    rig.device.loadSetup(setup);
    if (!rig.startSettings(level) || !rig.openPageId(QVexmar::SettingsAudio))
        return false;
    rig.touch(119);
    for (int id : path)
        rig.touch(id);
    rig.takeFrames();
    return rig.current()->pageId == path.last();
}

const QByteArray outputNames = "rav_name_ou rav_mode_ou rav_autoconf_ou rav_mc_addr_ou rav_mc_port_ou rav_ch_count_ou "
                               "rav_ptime_ou";
const QByteArray secondOutputNames = " rav_netif_ou rav_autoconf_ou1 rav_mc_addr_ou1 rav_mc_port_ou1";
const QByteArray twoInterfaces = "audio rav_manufacturer=Merging\naudio rav_netif_ou=2\n";

} // namespace

// Page 133: a receiver's stream and channel, the name alone without a stream, the delay and its bounds.
void TestSettingsAoip::inputStreams_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("delayTitle");
    QTest::newRow("as set up") << QByteArray()
                               << "134 Studio A [ Channel 4 ]; 135 Caf\u00e9 [ Channel 2 ]; 136 None; 141 None; "
                                  "145 480 L"
                               << "Receiver Delay (16..9600 samples)";
    QTest::newRow("no stream, delay 0") << QByteArray(
        "audio rav_stream_in0=65535/3/Line\naudio rav_delay_in=0\naudio rav_delay_max_in=4800")
                                        << "134 Line; 145 Automatic L"
                                        << "Receiver Delay (16..4800 samples)";
    QTest::newRow("the largest channel index")
        << QByteArray("audio rav_stream_in0=12/2147483647/Studio A") << "134 Studio A [ Channel 2147483648 ]"
        << "Receiver Delay (16..9600 samples)";
    QTest::newRow("delay 512") << QByteArray("audio rav_delay_in=512") << "145 512 L"
                               << "Receiver Delay (16..9600 samples)";
}

void TestSettingsAoip::inputStreams()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    QFETCH(QString, delayTitle);
    SettingsRig rig;
    QVERIFY(openAoip(rig, setup, {133}));
    QCOMPARE(rowsNamed(rig, rows), rows);
    QCOMPARE(rig.row(145)->titleLabel->text(), delayTitle);
    // Back onto the page reads it again.
    rig.touch(134);
    rig.takeFrames();
    rig.back();
    QCOMPARE(rig.framesAfterRoundTrip(),
        QByteArrayList {audioGets("rav_stream_in0 rav_stream_in1 rav_stream_in2 rav_stream_in3 rav_stream_in4 "
                                  "rav_stream_in5 rav_stream_in6 rav_stream_in7 rav_delay_min_in rav_delay_max_in "
                                  "rav_delay_in")});
}

// The receiver delay row is locked on the page; a change that reaches it anyway goes out only within the bounds.
void TestSettingsAoip::receiverDelay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("shown");
    const QByteArrayList minimum {"PARAM|rav_delay_in=16|target=audio"};
    QTest::newRow("the minimum") << "16" << QByteArray() << minimum << "145 16 L";
    QTest::newRow("the maximum") << "9600" << QByteArray() << QByteArrayList {"PARAM|rav_delay_in=9600|target=audio"}
                                 << "145 9600 L";
    QTest::newRow("below it") << "15" << QByteArray() << QByteArrayList() << "145 480 L";
    QTest::newRow("above the maximum") << "9601" << QByteArray() << QByteArrayList() << "145 480 L";
    QTest::newRow("no number") << "abc" << QByteArray() << QByteArrayList() << "145 480 L";
    QTest::newRow("refused") << "16" << QByteArray("rav_delay_in") << minimum << "145 480 L";
}

void TestSettingsAoip::receiverDelay()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, shown);
    SettingsRig rig;
    QVERIFY(openAoip(rig, {}, {133}));
    if (!refused.isEmpty())
        rig.device.refuseKey(refused.toStdString(), "103-parameter set error");
    QVexmarMenuItem *delay = rig.row(145);
    delay->setValueText(typed);
    rig.page()->itemValueChanged(delay);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), shown == QLatin1String("145 480 L") ? "Failed to apply changes!" : QString());
    QCOMPARE(rowsNamed(rig, shown), shown);
}

// A receiver page from the network's list: the first stream of the edited name gives the id and the channels; a
// channel the stream does not carry stays red, as held.
void TestSettingsAoip::receiverRows_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("channels");
    QTest::newRow("as set up: channel 4 of 3 held")
        << QByteArray() << "142 Studio A; 143 4 red (none); 144 Multicast L" << 3;
    QTest::newRow("2 channels, channel 5 held")
        << QByteArray("audio rav_stream_in0=12/5/Studio A\naudio rav_stream_in=[12/2/Studio A]")
        << "142 Studio A; 143 6 red (none)" << 2;
    QTest::newRow("not listed: the first shown, no channels")
        << QByteArray("audio rav_stream_in=[20/2/Other]") << "142 Other; 143 " << 0;
    QTest::newRow("a negative channel held")
        << QByteArray("audio rav_stream_in0=12/-1/Studio A") << "142 Studio A; 143 0 red (none)" << 3;
    QTest::newRow("a negative channel count")
        << QByteArray("audio rav_stream_in=[12/-2147483648/Studio A]")
        << "142 Studio A; 143 Bad channel count from the device: -2147483648 L red" << 0;
    QTest::newRow("more channels than a stream carries")
        << QByteArray("audio rav_stream_in=[12/100000/Studio A]")
        << "142 Studio A; 143 Bad channel count from the device: 100000 L red" << 0;
}

void TestSettingsAoip::receiverRows()
{
    QFETCH(QByteArray, setup);
    QFETCH(QString, rows);
    QFETCH(int, channels);
    SettingsRig rig;
    QVERIFY(openAoip(rig, setup, {133, 134}));
    QCOMPARE(rowsNamed(rig, rows), rows);
    QCOMPARE(rig.row(143)->options().size(), channels);
    QVERIFY(!rig.page()->header->isRefreshVisible());
    QVERIFY(!rig.modified());
}

// What an apply sends, in one PARAM; checks that refuse unsent; the mark, the popup and the rows afterwards.
void TestSettingsAoip::applies_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QList<int>>("path");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("rows");
    const QString failed = QStringLiteral("Failed to apply changes!");
    const QString notice = QStringLiteral("Changes take effect after\nthe next power cycle");
    const QString applying = QStringLiteral("Applying changes...");
    const auto row = [](const char *name, const QByteArray &setup, const QList<int> &path, const char *steps,
                         const QByteArrayList &frames, const QString &popup, bool modified, const char *rows) {
        QTest::newRow(name) << setup << path << QString::fromUtf8(steps) << frames << popup << modified
                            << QString::fromUtf8(rows);
    };
    const QByteArray streams = "audio rav_stream_in=[12/4/Studio A,5/2/Studio,7/8/Studio]";
    const QList<int> receiver1 {133, 134};
    const QList<int> receiver4 {133, 137};
    row("same stream: nothing sent", streams, receiver1, "apply", {}, QString(), false, "142 Studio A; 143 4");
    // A stream chosen reads the list again, for the channels of the stream.
    const QByteArray list = "PARAM|target=audio|LIST rav_stream_in";
    row("stream and channel", streams, receiver4, "pick 142 5; pick 143 1", {list}, QString(), true,
        "142 Studio; 143 2");
    row("stream and channel applied", streams, receiver4, "pick 142 5; pick 143 1; apply",
        {list, "PARAM|rav_stream_in3=5/1/Studio|target=audio"}, applying, false, "142 Studio; 143 2");
    row("channel back to the held one", streams, receiver1, "pick 143 0; pick 143 3", {}, QString(), false, "143 4");
    const QByteArray lodzStreams = "audio rav_stream_in=[12/4/Studio A,21/2/\xc5\x81\xc3\xb3\x64\xc5\xba]";
    row("stream beyond Latin-1 picked", lodzStreams, receiver1, "pick 142 21; pick 143 1; apply",
        {list, "PARAM|rav_stream_in0=21/1/\xc5\x81\xc3\xb3\x64\xc5\xba|target=audio"}, applying, false,
        "142 \u0141\u00f3d\u017a; 143 2");
    row("held stream beyond Latin-1, its channel changed",
        "audio rav_stream_in0=21/0/\xc5\x81\xc3\xb3\x64\xc5\xba\n" + lodzStreams, receiver1, "pick 143 1; apply",
        {"PARAM|rav_stream_in0=21/1/\xc5\x81\xc3\xb3\x64\xc5\xba|target=audio"}, applying, false,
        "142 \u0141\u00f3d\u017a; 143 2");
    row("negative channel held, another stream picked: refused unsent", "audio rav_stream_in0=12/-1/Studio A",
        receiver1, "pick 142 14; apply", {list}, failed, true, "142 Caf\u00e9; 143 0 red (none)");
    row("two streams of one name: the first wins", "audio rav_stream_in=[30/2/Studio A,12/3/Studio A]", receiver1,
        "apply", {}, failed, false, "142 Studio A; 143 4 red (none)");
    row("stream refused: mark kept", streams, receiver4, "pick 142 5; nok rav_stream_in3; apply",
        {list, "PARAM|rav_stream_in3=5/0/Studio|target=audio"}, failed, true, "142 Studio; 143 1");
    row("stream retried after a refusal", streams, receiver4, "pick 142 5; nok rav_stream_in3; apply; close; apply",
        {list, "PARAM|rav_stream_in3=5/0/Studio|target=audio", "PARAM|rav_stream_in3=5/0/Studio|target=audio"},
        applying, false, "142 Studio; 143 1");
    row("list refused: nothing sent, the prompt", QByteArray(), {133}, "nok rav_stream_in; touch 134; apply", {list},
        QString(), false, "142 ; 143 Press refresh before selecting a channel red");

    const QList<int> interface1 {125};
    const QList<int> interface2 {126};
    row("zeroconf locks the addresses", QByteArray(), interface2, "", {}, QString(), false,
        "127 Active; 128 169.254.3.4 L; 129 255.255.0.0 L; 130  L; 131 02:00:5e:00:00:02 L");
    row("DHCP on with address edits: only the switch", "audio rav_dhcp1=off", interface2,
        "type 128=10.0.0.9; flip 127; apply", {"PARAM|rav_dhcp1=on|target=audio"}, notice, false,
        "127 Active; 128 10.0.0.9 L");
    row("DHCP off with a new address", "audio rav_dhcp=on", interface1, "flip 127; type 128=10.0.0.2; apply",
        {"PARAM|rav_dhcp=off|rav_ip_addr=10.0.0.2|target=audio"}, notice, false, "127 Disabled; 128 10.0.0.2");
    row("DHCP off onto no address", "audio rav_dhcp=on\naudio rav_ip_addr=", interface1, "flip 127; apply", {}, failed,
        true, "127 Disabled; 128 ");
    row("gateway only", QByteArray(), interface1, "type 130=192.168.10.254; apply",
        {"PARAM|rav_gateway=192.168.10.254|target=audio"}, notice, false, "130 192.168.10.254");
    row("no gateway", QByteArray(), interface1, "type 130=; apply", {"PARAM|rav_gateway=|target=audio"}, notice, false,
        "130 ");
    row("address typed again", QByteArray(), interface1, "type 128=192.168.10.5; apply", {}, QString(), false,
        "128 192.168.10.5");
    row("three parts", QByteArray(), interface1, "type 128=10.0.0; apply", {}, failed, true, "128 10.0.0");
    row("part over 255", QByteArray(), interface1, "type 129=256.1.1.1; apply", {}, failed, true, "129 256.1.1.1");
    row("empty address", QByteArray(), interface1, "type 128=; apply", {}, failed, true, "128 ");
    // Back on page 119 with its read failing, interface 2 shows the mode the module kept.
    const QByteArray interfaceRead = audioGets(
        "rav_device_name rav_sample_rate rav_resolution rav_ptp_domain rav_dhcp rav_ip_addr rav_status_in0 "
        "rav_status_in1 rav_status_in2 rav_status_in3 rav_status_in4 rav_status_in5 rav_status_in6 rav_status_in7 "
        "rav_name_ou rav_mode_ou rav_lock_state rav_link_state rav_ptp_state rav_firmware_rev rav_dhcp1 rav_ip_addr1 "
        "rav_link_state1 rav_ptp_state1");
    row("DHCP off refused on zeroconf: zeroconf kept", QByteArray(), interface2,
        "flip 127; nok rav_dhcp1; apply; close; nok rav_dhcp1; back",
        {"PARAM|rav_dhcp1=off|target=audio", interfaceRead}, QString(), false, "126 169.254.3.4 [ ZeroConf ]");
    row("address retried after a refusal", QByteArray(), interface1,
        "type 128=10.0.0.7; nok rav_ip_addr; apply; close; apply",
        {"PARAM|rav_ip_addr=10.0.0.7|target=audio", "PARAM|rav_ip_addr=10.0.0.7|target=audio"}, notice, false,
        "128 10.0.0.7");

    const QList<int> output {146};
    const QByteArray refresh = audioGets(outputNames);
    row("port no number: kept", QByteArray(), output, "type 153=abc; apply", {refresh}, QString(), false, "153 5006");
    row("port out of range", QByteArray(), output, "type 153=70000; apply", {}, failed, true, "153 70000");
    row("empty name: kept", QByteArray(), output, "type 147=; apply", {refresh}, QString(), false,
        "147 Reporter \u00e9");
    row("name beyond Latin-1", QByteArray(), output, "type 147=Reporter \u0142; apply",
        {"PARAM|rav_name_ou=Reporter \xc5\x82|target=audio", refresh}, applying, false, "147 Reporter \u0142");
    row("multicast address of three parts", QByteArray(), output, "type 152=239.1.2; apply", {}, failed, true,
        "152 239.1.2");
    row("name, state and interface 1", QByteArray(), output,
        "type 147=Desk 2; flip 148; type 152=239.1.2.9; type 153=5004; apply",
        {"PARAM|rav_mc_addr_ou=239.1.2.9|rav_mc_port_ou=5004|rav_mode_ou=off|rav_name_ou=Desk 2|target=audio", refresh},
        applying, false, "147 Desk 2; 148 Disabled; 152 239.1.2.9; 153 5004");
    row("auto configuration locks the address", QByteArray(), output, "flip 151", {}, QString(), true,
        "151 Active; 152 239.1.2.3 L; 153 5006 L");
    row("interface 2 only: the keys ending in 1", twoInterfaces + "audio rav_autoconf_ou1=off", output,
        "type 156=239.9.9.9; type 157=5010; apply",
        {"PARAM|rav_mc_addr_ou1=239.9.9.9|rav_mc_port_ou1=5010|target=audio",
            audioGets(outputNames + secondOutputNames)},
        applying, false, "156 239.9.9.9; 157 5010");
    row("interface selection no option holds: red, not sent with a port", twoInterfaces + "audio rav_netif_ou=3",
        output, "type 153=5010; apply",
        {"PARAM|rav_mc_port_ou=5010|target=audio", audioGets(outputNames + secondOutputNames)}, applying, false,
        "149 3 red (none); 153 5010");
    row("interface selection no option holds: a port typed back clears the mark",
        twoInterfaces + "audio rav_netif_ou=3", output, "type 153=5010; type 153=5006", {}, QString(), false,
        "149 3 red (none); 153 5006");
    row("output refused: the module as before", QByteArray(), output, "flip 148; nok rav_mode_ou; apply; close; apply",
        {"PARAM|rav_mode_ou=off|target=audio", "PARAM|rav_mode_ou=off|target=audio", refresh}, applying, false,
        "148 Disabled");
}

void TestSettingsAoip::applies()
{
    QFETCH(QByteArray, setup);
    QFETCH(QList<int>, path);
    QFETCH(QString, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, popup);
    QFETCH(bool, modified);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAoip(rig, setup, path));
    play(rig, steps);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rig.popupText(), popup);
    QCOMPARE(rig.modified(), modified);
    QCOMPARE(rowsNamed(rig, rows), rows);
}

// An IP addressing page reads its own interface's keys, with the VLAN id on a two-interface module, and shows
// what the device holds since the log-in.
void TestSettingsAoip::addressingRead_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QString>("rows");
    QTest::newRow("interface 1") << QByteArray() << 125
                                 << QByteArray("rav_dhcp rav_ip_addr rav_subnet rav_gateway rav_hw_addr")
                                 << "127 Disabled; 128 10.1.1.1; 129 255.255.255.0; 131 02:00:5e:00:00:01 L";
    QTest::newRow("interface 2") << QByteArray() << 126
                                 << QByteArray("rav_dhcp1 rav_ip_addr1 rav_subnet1 rav_gateway1 rav_hw_addr1")
                                 << "127 Active; 128 10.1.1.2 L; 129 255.255.0.0 L; 131 02:00:5e:00:00:02 L";
    QTest::newRow("interface 2 of a two-interface module")
        << twoInterfaces << 126
        << QByteArray("rav_dhcp1 rav_ip_addr1 rav_subnet1 rav_gateway1 rav_hw_addr1 rav_vlan_id1")
        << "128 10.1.1.2 L; 130  L";
}

void TestSettingsAoip::addressingRead()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, pageId);
    QFETCH(QByteArray, names);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAoip(rig, setup, {125}));
    rig.back();
    rig.device.setParam("audio", "rav_ip_addr", "10.1.1.1");
    rig.device.setParam("audio", "rav_ip_addr1", "10.1.1.2");
    rig.takeFrames();
    rig.touch(pageId);
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {audioGets(names)});
    QCOMPARE(rowsNamed(rig, rows), rows);
}

// The output stream page by the maker and the interface count: its rows, what it asks for, its locks.
void TestSettingsAoip::outputRows_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("shown"); // the ids of the rows shown
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<QString>("rows");
    QTest::newRow("two interfaces, both selected")
        << twoInterfaces << 2 << "147 148 149 150 151 152 153 154 155 156 157 158 159"
        << outputNames + secondOutputNames
        << "147 Reporter \u00e9; 149 Interfaces 1&2; 152 239.1.2.3; 156 239.1.2.4 L; 158 8 L; 159 0.250 ms L";
    QTest::newRow("two interfaces in lower case, interface 2 held")
        << QByteArray("audio rav_manufacturer=merging audio") << 2 << "147 148 149 151 152 153 158 159"
        << outputNames + secondOutputNames << "149 Interface 2; 152 239.1.2.3";
    QTest::newRow("another maker") << QByteArray() << 2 << "147 148 151 152 153 158 159" << outputNames
                                   << "147 Reporter \u00e9; 151 Disabled; 152 239.1.2.3";
    QTest::newRow("one interface") << QByteArray("audio rav_manufacturer=Merging\naudio rav_if_count=1") << 2
                                   << "147 148 151 152 153 158 159" << outputNames << "153 5006";
    QTest::newRow("Expert: the name locked")
        << QByteArray() << 1 << "147 148 151 152 153 158 159" << outputNames << "147 Reporter \u00e9 L; 148 Active";
}

void TestSettingsAoip::outputRows()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, level);
    QFETCH(QString, shown);
    QFETCH(QByteArray, names);
    QFETCH(QString, rows);
    SettingsRig rig;
    rig.device.loadSetup(setup);
    QVERIFY(rig.startSettings(level));
    QVERIFY(rig.openPageId(QVexmar::SettingsAudio));
    rig.touch(119);
    rig.takeFrames();
    rig.touch(146);
    QCOMPARE(rig.framesAfterRoundTrip(), QByteArrayList {audioGets(names)});
    QStringList ids;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (!item->isHidden())
            ids << QString::number(item->id);
    }
    QCOMPARE(ids.join(QLatin1Char(' ')), shown);
    QCOMPARE(rowsNamed(rig, rows), rows);
    // Interface 1's rows stand under their heading only while both interfaces send.
    QCOMPARE(rig.row(151)->layout->contentsMargins().left(), shown.contains(QLatin1String("150")) ? 60 : 10);
}

// A module not read: nothing asked, every stream row locked.
void TestSettingsAoip::notLoaded()
{
    SettingsRig rig;
    QVERIFY(openAoip(rig, {}, {133, 134}));
    getRavennaController()->reset();
    rig.back();
    QVERIFY(rig.framesAfterRoundTrip().isEmpty());
    const QString rows = QStringLiteral("134 None L; 135 None L; 145 480 L");
    QCOMPARE(rowsNamed(rig, rows), rows);
    rig.touch(134);
    QCOMPARE(rig.current()->pageId, 133);
}

// Each page built while the module is not read: no value asked for, the editable rows locked, an apply sends
// nothing; a receiver page still asks for the network's streams.
void TestSettingsAoip::notLoadedPages_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QString>("rows");
    QTest::newRow("input streams") << 133 << QByteArrayList() << "134 None L; 141 None L";
    QTest::newRow("receiver") << 134 << QByteArrayList {"PARAM|target=audio|LIST rav_stream_in"} << "142 Studio A L";
    QTest::newRow("interface 1") << 125 << QByteArrayList() << "127 Active L; 128  L; 129  L; 130  L; 131  L";
    QTest::newRow("interface 2") << 126 << QByteArrayList() << "127 Active L; 128  L; 129  L; 130  L";
    QTest::newRow("output stream") << 146 << QByteArrayList()
                                   << "147  L; 148 Disabled L; 151 Disabled L; 152  L; 153 5004 L";
}

void TestSettingsAoip::notLoadedPages()
{
    QFETCH(int, pageId);
    QFETCH(QByteArrayList, frames);
    QFETCH(QString, rows);
    SettingsRig rig;
    QVERIFY(openAoip(rig, "audio rav_stream_in=[12/4/Studio A]", {133}));
    getRavennaController()->reset();
    QVexmarSettingsPage *page = rig.page();
    if (pageId == 133)
        page->buildInputStreamsMenu();
    else if (pageId == 146)
        page->buildOutputStreamMenu();
    else if (pageId == 134)
        page->buildInputStreamMenu(pageId);
    else
        page->buildIpAddressingMenu(pageId);
    QCOMPARE(rig.current()->pageId, pageId);
    QCOMPARE(rig.framesAfterRoundTrip(), frames);
    QCOMPARE(rowsNamed(rig, rows), rows);
    play(rig, QStringLiteral("apply"));
    QVERIFY(rig.framesAfterRoundTrip().isEmpty());
    QVERIFY(!rig.modified());
}

QTEST_MAIN(TestSettingsAoip)
#include "tst_settingsaoip.moc"
