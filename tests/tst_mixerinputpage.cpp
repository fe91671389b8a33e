// The mixer input page inside the screen window, against the simulated device: which inputs are usable after a
// login and once the device is ready, in either order of its reports; what a click writes and what a refused one
// leaves; what the device's changes show without a request; the meters and the navigation.

#include "controllers/tmatrixsettings.h"
#include "pages/vexmarmixerinputpage.h"
#include "tests/mixertesting.h"
#include "tests/pixeltesting.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmatrix.h"

#include <QLabel>
#include <QtTest>

using namespace mixertesting;

namespace {

// The routes of the simulated device: MIC 1 on Stream 1 L, MIC 2 on Stream 1 R, AES3 L on all but Stream 1 R.
const QByteArrayList deviceRoutes = {"0/0", "4/0", "1/1", "4/2", "4/3", "4/4"};

// Inputs 0 to 28 grouped as MIC 1-2, MIC A/B and AES3, AES67, USB, Player, 18, Voice Rx, stream Rx, the Tx signals:
// '1' when the input's label and crosspoints are all enabled, '0' all disabled, '?' mixed, '-' none on the page.
// Then the AES67 button: "aes67 <caption colour> <e|d>".
QByteArray usable(QVexmarMixerInputPage *page)
{
    QByteArray shown;
    for (int in = 0; in <= 28; ++in) {
        if (in == 2 || in == 6 || in == 14 || in == 16 || in == 18 || in == 19 || in == 20 || in == 24)
            shown += ' ';
        QList<bool> states;
        if (QVexmarMatrixLabel *label = page->inputLabels.value(in))
            states << label->isEnabled();
        for (const QMap<int, QVexmarMatrixNode *> &row : page->nodeRows) {
            if (QVexmarMatrixNode *node = row.value(in))
                states << node->isEnabled();
        }
        shown += states.isEmpty() ? '-' : !states.contains(false) ? '1' : !states.contains(true) ? '0' : '?';
    }
    return shown + " aes67 " + page->aes67Caption->palette().color(QPalette::WindowText).name().toLatin1()
        + (page->aes67Button->isEnabled() ? " e" : " d");
}

// The checked crosspoints, "<input>/<output>", row by row.
QByteArrayList checks(QVexmarMixerInputPage *page)
{
    QByteArrayList checked;
    for (const QMap<int, QVexmarMatrixNode *> &row : page->nodeRows)
        checked += checkedNodes(row.values());
    return checked;
}

struct InputRig : MixerRig
{
    bool login(const QByteArray &setup)
    {
        return MixerRig::login(setup, QVexmar::MixerInputPage)
            && (page = window->findChild<QVexmarMixerInputPage *>()) != nullptr;
    }

    QVexmarMixerInputPage *page = nullptr;
};

} // namespace

class TestMixerInputPage : public QObject
{
    Q_OBJECT

private slots:
    void availability_data();
    void availability();
    void secondReport_data();
    void secondReport();
    void click_data();
    void click();
    void refresh_data();
    void refresh();
    void levels_data();
    void levels();
    void navigation_data();
    void navigation();
};

void TestMixerInputPage::availability_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<bool>("matrixFirst");
    QTest::addColumn<QByteArray>("ready"); // once the device is ready
    QTest::addColumn<QByteArray>("login"); // after the next login
    const QByteArray grey = " aes67 #7f7f7f d";
    for (const bool matrixFirst : {false, true}) {
        for (const bool recorder : {true, false}) {
            const QByteArray player = recorder ? "11" : "00";
            const QByteArray login = "11 0000 00000000 11 " + player + " - 1 1111 -----" + grey;
            const QByteArray name
                = QByteArray(recorder ? "recorder" : "no recorder") + (matrixFirst ? ", matrix first" : "");
            dataRow("undocked, " + name, facts(false, true, recorder), matrixFirst, login, login);
            dataRow("docked, " + name, facts(true, false, recorder), matrixFirst,
                "11 1111 00000000 11 " + player + " - 1 1111 -----" + grey, login);
            dataRow("docked with AES67, " + name, facts(true, true, recorder), matrixFirst,
                "11 1111 11111111 11 " + player + " - 1 1111 ----- aes67 #ffffff e", login);
        }
    }
}

void TestMixerInputPage::availability()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, matrixFirst);
    QFETCH(QByteArray, ready);
    QFETCH(QByteArray, login);
    InputRig rig;
    if (!matrixFirst) {
        QVERIFY(rig.login(setup));
    } else {
        QVERIFY(rig.startWith(setup));
        rig.page = rig.window->findChild<QVexmarMixerInputPage *>();
        rig.page->resetControls();
        QVERIFY(rig.readMatrixFirst());
    }
    QCOMPARE(usable(rig.page), ready);
    QCOMPARE(checks(rig.page), deviceRoutes);
    rig.page->resetControls();
    QCOMPARE(usable(rig.page), login);
    // Shown, never written back; the checks stay through a login.
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
    QCOMPARE(checks(rig.page), deviceRoutes);
}

void TestMixerInputPage::secondReport_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QByteArray>("shows");
    // Undocked the inputs keep what they show; only the Player follows the recorder.
    dataRow("docked with AES67, then undocked without a recorder", facts(true, true, true), facts(false, true, false),
        QByteArray("11 1111 11111111 11 00 - 1 1111 ----- aes67 #ffffff e"));
    dataRow("undocked, then docked", facts(false, true, true), facts(true, true, true),
        QByteArray("11 1111 11111111 11 11 - 1 1111 ----- aes67 #ffffff e"));
    dataRow("docked with AES67, then without the module", facts(true, true, true), facts(true, false, true),
        QByteArray("11 1111 00000000 11 11 - 1 1111 ----- aes67 #ffffff e"));
}

// A second report of the ready device without a login in between works on what the page shows.
void TestMixerInputPage::secondReport()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(QByteArray, shows);
    InputRig rig;
    QVERIFY(rig.login(first));
    rig.device.loadSetup(second);
    QVERIFY(getDevice()->initialize());
    QCOMPARE(usable(rig.page), shows);
}

void TestMixerInputPage::click_data()
{
    QTest::addColumn<QByteArray>("setup"); // over the codec's, docked with AES67 and a recorder
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses once
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<bool>("checked");
    const QByteArray none;
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &refused, int input, int output,
                         const QByteArrayList &sent, bool checked) {
        QTest::newRow(name) << setup << refused << input << output << sent << checked;
    };
    row("MIC A on Stream 1 L", none, none, 2, 0, {"matrix_in3=0060,Mic A"}, true);
    row("MIC 1 off Stream 1 L", none, none, 0, 0, {"matrix_in1=0020,Mic 1"}, false);
    row("AES3 L off the call", none, none, 4, 4, {"matrix_in5=0366,AES3 L"}, false);
    row("AES67 TB8 on Stream 2 R", none, none, 13, 3, {"matrix_in14=0220,"}, true);
    row("a name beyond Latin-1 kept", "audio matrix_in3=0020,\xc5\x81\xc3\xb3\x64\xc5\xba", none, 2, 0,
        {"matrix_in3=0060,\xc5\x81\xc3\xb3\x64\xc5\xba"}, true);
    row("Voice Rx on Stream 2 L", none, none, 19, 2, {"matrix_in20=0120,"}, true);
    row("USB L on Stream 1 L alone", none, none, 14, 0, {"matrix_in15=0060,"}, true);
    row("USB R on Stream 1 R alone", none, none, 15, 1, {"matrix_in16=00A0,"}, true);
    row("USB on the call: both", none, none, 14, 4, {"matrix_in15=0420,", "matrix_in16=0420,"}, true);
    row("Player on the call: both", none, none, 16, 4, {"matrix_in17=0420,", "matrix_in18=0420,"}, true);
    row("Stream 1 Rx on the call: both", none, none, 20, 4, {"matrix_in21=0420,", "matrix_in22=0420,"}, true);
    row("Stream 2 Rx off the call: both", "audio matrix_in23=0420,\naudio matrix_in24=0420,", none, 22, 4,
        {"matrix_in23=0020,", "matrix_in24=0020,"}, false);
    row("Stream 2 Rx R on Stream 1 R", none, none, 23, 1, {"matrix_in24=00A0,"}, true);
    // A loop-back never takes a check; a click switches its node off.
    row("loop-back Stream 1 Rx L, on: off", "audio matrix_in21=0060,", none, 20, 0, {"matrix_in21=0020,"}, false);
    row("loop-back Stream 2 Rx R, on: off", "audio matrix_in24=0220,", none, 23, 3, {"matrix_in24=0020,"}, false);
    row("loop-back Voice Rx, off: nothing", none, none, 19, 4, {}, false);
    // What the device refuses shows as the device has it.
    row("refused: MIC A stays off", none, "matrix_in3", 2, 0, {"matrix_in3=0060,Mic A"}, false);
    row("refused: MIC 1 stays on", none, "matrix_in1", 0, 0, {"matrix_in1=0020,Mic 1"}, true);
    row("refused left on the call: no right alone", none, "matrix_in15", 14, 4, {"matrix_in15=0420,"}, false);
    row("refused right on the call: the left is on", none, "matrix_in16", 14, 4,
        {"matrix_in15=0420,", "matrix_in16=0420,"}, true);
}

void TestMixerInputPage::click()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(QByteArrayList, sent);
    QFETCH(bool, checked);
    InputRig rig;
    QVERIFY(rig.login(setup));
    rig.window->show();
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    QVexmarMatrixNode *node = rig.page->nodeRows[output].value(input);
    QVERIFY(node && node->isEnabled());
    const bool loopBack = !node->isCheckable();
    if (loopBack)
        QVERIFY(looksLikeJunction(node));
    node->click();
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(node->isChecked(), checked);
    if (!loopBack)
        QCOMPARE(getMatrixSettings()->node(QVexmar::Inputs(input), QVexmar::Outputs(output)).on(), checked);
}

void TestMixerInputPage::refresh_data()
{
    QTest::addColumn<QByteArray>("change"); // a change set of the device; "reset": the matrix settings reset
    QTest::addColumn<QByteArrayList>("shows");
    const QByteArrayList routes = deviceRoutes;
    dataRow("USB on Stream 2", changeset + "matrix_in15:0120,;matrix_in16:0220,;",
        QByteArrayList {"0/0", "4/0", "1/1", "4/2", "14/2", "4/3", "15/3", "4/4"});
    dataRow("MIC 1 off, MIC B on the call, AES3 L as it was",
        changeset
            + "matrix_in1:0020,Mic 1;matrix_in4:0420,Mic B;"
              "matrix_in5:0766,AES3 L;",
        QByteArrayList {"4/0", "1/1", "4/2", "4/3", "3/4", "4/4"});
    dataRow("Player R on Stream 1 R", changeset + "matrix_in18:00A0,;",
        QByteArrayList {"0/0", "4/0", "1/1", "17/1", "4/2", "4/3", "4/4"});
    dataRow("USB R on the call: no crosspoint of its own", changeset + "matrix_in16:0420,;", routes);
    dataRow("a loop-back node on: no check", changeset + "matrix_in21:0060,;", routes);
    dataRow(
        "outputs 6 and up: nothing", changeset + "matrix_ba1:FFF6;matrix_ou13:FFFFFFFF;matrix_ou23:00FFFFFF;", routes);
    dataRow("the matrix reset: the checks stay", QByteArray("reset"), routes);
}

// The page shows the device's changes and writes nothing back.
void TestMixerInputPage::refresh()
{
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, shows);
    InputRig rig;
    QVERIFY(rig.login(facts(true, true, true)));
    if (change == "reset")
        getMatrixSettings()->reset();
    else
        QVERIFY(rig.deliver({change}));
    QCOMPARE(checks(rig.page), shows);
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
}

void TestMixerInputPage::levels_data()
{
    QTest::addColumn<QByteArray>("values"); // of the device's report
    QTest::addColumn<int>("count"); // 0: the report through the window; else handed to the page with this count
    QTest::addColumn<QList<int>>("shown"); // Stream 1 L, R, Stream 2 L, R, voice call
    dataRow("outputs 1 to 5", QByteArray("ou1:3;ou2:10;ou3:20;ou4:30;ou5:8;"), 0, QList<int> {3, 10, 20, 30, 8});
    dataRow("input 24 and outputs 6 and 7 reach no meter", QByteArray("in23:1;in24:2;ou6:4;ou7:5;ou5:40;"), 0,
        QList<int> {99, 99, 99, 99, 40});
    dataRow("a short report: what it lacks has no value", QByteArray("ou1:3;ou2:10;ou3:20;ou4:30;ou5:8;"), 27,
        QList<int> {3, 10, 20, 99, 99});
}

// Each meter shows its levels as a meter fed them alone would.
void TestMixerInputPage::levels()
{
    QFETCH(QByteArray, values);
    QFETCH(int, count);
    QFETCH(QList<int>, shown);
    InputRig rig;
    QVERIFY(rig.login(facts(true, true, true)));
    rig.window->show();
    if (count == 0) {
        QSignalSpy received(getCom(), &kra::CCom::messageReceived);
        rig.device.notify(body("EVENT;event_type:audio_levels;" + values));
        QVERIFY(received.wait(5000));
    } else {
        int levels[IVexmarAudioLevels::levelCount];
        std::fill(std::begin(levels), std::end(levels), 99);
        for (const QByteArray &pair : values.split(';')) {
            if (pair.startsWith("ou"))
                levels[23 + pair.mid(2, pair.indexOf(':') - 2).toInt()] = pair.mid(pair.indexOf(':') + 1).toInt();
        }
        rig.page->setAudioLevels(levels, count, false);
    }
    const QList<QVexmarBars *> meters = {rig.page->stream1Meter, rig.page->stream2Meter, rig.page->voiceCallMeter};
    for (int i = 0; i < meters.size(); ++i) {
        QVexmarBars twin(meters[i]->parentWidget());
        twin.setGeometry(meters[i]->geometry());
        twin.setStereo(i < 2 ? 1 : 0);
        // The page was shown afresh: its meters hold no peak of earlier values.
        twin.setLevels(shown.at(2 * i), i < 2 ? shown.at(2 * i + 1) : 99, true);
        QCOMPARE(meters[i]->grab().toImage(), twin.grab().toImage());
    }
}

void TestMixerInputPage::navigation_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps"); // a button to click, or "options <word>" of the device
    QTest::addColumn<QList<int>>("pages"); // shown after each click
    const QByteArray aes67 = facts(true, true, true);
    dataRow("home", aes67, QByteArrayList {"home"}, QList<int> {1});
    dataRow("LINE/USB", aes67, QByteArrayList {"output"}, QList<int> {7});
    dataRow("AES67", aes67, QByteArrayList {"aes67"}, QList<int> {8});
    dataRow("AES67 greyed: nothing", facts(true, false, true), QByteArrayList {"aes67"}, QList<int> {6});
    dataRow("headphones: the monitoring mix", aes67, QByteArrayList {"headphone"}, QList<int> {9});
    dataRow("headphones with their own mixes: headphone 1", aes67, QByteArrayList {"options 00000001", "headphone"},
        QList<int> {10});
    dataRow("the option changes between clicks", aes67,
        QByteArrayList {
            "options 00000003", "headphone", "options 00000002", "headphone", "options 00000001", "headphone"},
        QList<int> {10, 9, 10});
}

void TestMixerInputPage::navigation()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QList<int>, pages);
    InputRig rig;
    QVERIFY(rig.login(setup));
    QList<int> shown;
    for (const QByteArray &step : steps) {
        if (step.startsWith("options ")) {
            QVERIFY(rig.deliver({changeset + "matrix_opt:" + step.mid(8) + ";"}));
            continue;
        }
        QVexmarButton *button = step == "home" ? rig.page->homeButton
            : step == "output"                 ? rig.page->lineUsbButton
            : step == "aes67"                  ? rig.page->aes67Button
                                               : rig.page->headphoneButton;
        button->click();
        shown << rig.window->currentPage();
        rig.window->pageActivated(QVexmar::MixerInputPage);
    }
    QCOMPARE(shown, pages);
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
}

QTEST_MAIN(TestMixerInputPage)
#include "tst_mixerinputpage.moc"
