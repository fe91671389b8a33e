// The monitoring mix page and the headphone pages inside the screen window, against the simulated device: what a
// touch writes and what a refused one leaves, the mode switch, what the device's changes show without a request,
// which controls are usable after a login in either order of the device's reports, and the levels.

#include "controllers/tmatrixsettings.h"
#include "pages/vexmaraudioscale.h"
#include "pages/vexmarmonitoringpages.h"
#include "tests/mixertesting.h"
#include "tests/pixeltesting.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarmatrix.h"
#include "widgets/vexmarmessage.h"

#include <QtTest>

using namespace mixertesting;
using QVexmar::Page;

namespace {

QByteArray zeros(int n)
{
    return QByteArray(n, '0');
}

// A headphone block of 30 bytes with these bytes set.
QByteArray block(std::initializer_list<std::pair<int, const char *>> bytes)
{
    QByteArray text = zeros(60);
    for (const auto &[in, byte] : bytes)
        text.replace(2 * in, 2, byte);
    return text;
}

// "<key>=<value>" of each write to the audio target.
QByteArrayList writes(const QByteArrayList &frames)
{
    QByteArrayList found;
    for (const QByteArray &frame : frames) {
        if (!frame.startsWith("PARAM|") || !frame.contains("|target=audio") || frame.contains("|GET "))
            continue;
        for (const QByteArray &part : frame.split('|').mid(1)) {
            if (part != "target=audio")
                found << part;
        }
    }
    return found;
}

// Page 9 as the user sees it: the three knobs ("-" when disabled), the padlocks ('L' closed, 'U' open, '-' when
// disabled) and the checked crosspoints "<input>/<output>".
QByteArray shown(QVexmarMixerMonitoring1Page *page)
{
    QByteArray text;
    for (QVexmarMatrixKnob *knob : qAsConst(page->balanceKnobs))
        text += QByteArray::number(knob->value()) + (knob->isEnabled() ? " " : "- ");
    for (QVexmarAudioPadlock *padlock : qAsConst(page->padlocks))
        text += QByteArray(AudioGains::isLocked(padlock) ? "L" : "U") + (padlock->isEnabled() ? " " : "- ");
    for (const auto &row : page->nodeRows) {
        for (const QByteArray &node : checkedNodes(row.values()))
            text += node + " ";
    }
    return text.trimmed();
}

// A strip as "<input> <shown value> <pan>".
QByteArray shown(QVexmarAudioKnob *strip)
{
    const QVexmarKnob *knob = strip->knob();
    return QByteArray::number(strip->input) + " "
        + (knob->value() == knob->minimum() ? QByteArray("Off") : QByteArray::number(knob->value())) + " "
        + QByteArray::number(knob->panning());
}

// The strips that are not off and silent.
QByteArrayList mix(QVexmarMixerMonitoring2Page *page)
{
    QByteArrayList strips;
    for (QVexmarAudioKnob *strip : qAsConst(page->stripsByInput)) {
        if (!shown(strip).endsWith(" Off 0"))
            strips << shown(strip);
    }
    return strips;
}

// The 22 strip states in table order, grouped by line, then the AES67 button.
QByteArray states(QVexmarMixerMonitoring2Page *page)
{
    QList<QVexmarAudioKnob *> strips = page->stripsByInput.values();
    std::sort(strips.begin(), strips.end(), [](auto *a, auto *b) { return a->index < b->index; });
    QByteArray text;
    for (QVexmarAudioKnob *strip : strips)
        text += (strip->index == 7 || strip->index == 14 ? " " : "") + QByteArray::number(strip->state());
    return text + (page->aes67Button->isEnabled() ? " e" : " d");
}

// Page 9's usable parts: the crosspoints of outputs 6 and 10, padlock 10, the AES67 button.
QByteArray states(QVexmarMixerMonitoring1Page *page)
{
    QByteArray text;
    for (int r = 0; r < QVexmarMixerMonitoring1Page::outputRows; r += 4) {
        for (QVexmarMatrixNode *node : qAsConst(page->nodeRows[r]))
            text += node->isEnabled() ? '1' : '0';
        text += ' ';
    }
    return text + (page->padlocks.value(10)->isEnabled() ? "e " : "d ") + (page->aes67Button->isEnabled() ? "e" : "d");
}

QVexmarMessage *message(QWidget *page)
{
    for (QVexmarMessage *popup : page->findChildren<QVexmarMessage *>()) {
        if (popup->isVisible())
            return popup;
    }
    return nullptr;
}

struct MonitoringRig : MixerRig
{
    bool login(const QByteArray &setup, Page on)
    {
        if (!startWith(setup))
            return false;
        window->show();
        // On the page while the login runs, as a user would be.
        window->pageActivated(on);
        window->applyAccessLevel();
        mixPage = window->findChild<QVexmarMixerMonitoring1Page *>();
        headphonePages = window->findChildren<QVexmarMixerMonitoring2Page *>();
        std::sort(headphonePages.begin(), headphonePages.end(),
            [](auto *a, auto *b) { return a->headphoneOutput < b->headphoneOutput; });
        takeFrames();
        return mixPage && headphonePages.size() == 3 && window->currentPage() == on;
    }

    QVexmarMixerMonitoring2Page *headphonePage(int page) const { return headphonePages.value(page - 10); }

    QVexmarMixerMonitoring1Page *mixPage = nullptr;
    QList<QVexmarMixerMonitoring2Page *> headphonePages;
};

// A turn of a knob as the user makes it: selected, then '+', '-' or Enter (the next pan), or straight to a value.
template<class Knob>
void turn(Knob *knob, const QByteArray &action)
{
    if (action.startsWith("to ")) {
        knob->setValue(action.mid(3).toInt());
        return;
    }
    knob->setChecked(true);
    QTest::keyClick(knob, action == "+" ? Qt::Key_Plus : action == "-" ? Qt::Key_Minus : Qt::Key_Enter);
}

} // namespace

class TestMonitoringPages : public QObject
{
    Q_OBJECT

private slots:
    void mixTouch_data();
    void mixTouch();
    void stripTouch_data();
    void stripTouch();
    void radio_data();
    void radio();
    void refresh_data();
    void refresh();
    void availability_data();
    void availability();
    void modeChange_data();
    void modeChange();
    void levels();
};

void TestMonitoringPages::mixTouch_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses once
    QTest::addColumn<QByteArray>("touch"); // "knob <output> <action>", "node <in> <out>", "padlock <output>"
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QByteArray>("shows");
    const QByteArray none;
    // The simulated device: Stream 1 Tx to both ears of headphone "1", every balance centred, both padlocks closed.
    const QByteArray start = "6 6- 6- L L 24/6 25/7";
    dataRow("balance 1 up: selection kept", none, none, QByteArray("knob 6 +"), QByteArrayList {"matrix_ba1=0417"},
        QByteArray("7 6- 6- L L 24/6 25/7"));
    dataRow("balance refused: back", none, QByteArray("matrix_ba1"), QByteArray("knob 6 -"),
        QByteArrayList {"matrix_ba1=0415"}, start);
    dataRow("Stream 1 Rx to the left ear of 1", none, none, QByteArray("node 20 6"), QByteArrayList {"matrix_ba1=0436"},
        QByteArray("6 6- 6- L L 24/6 20/6 25/7"));
    dataRow("Stream 1 Tx off the right ear of 1", none, none, QByteArray("node 25 7"),
        QByteArrayList {"matrix_ba1=0016"}, QByteArray("6 6- 6- L L 24/6"));
    dataRow("Voice Rx to the right ear of 2 / B", none, none, QByteArray("node 19 9"),
        QByteArrayList {"matrix_ba2=8006"}, QByteArray("6 6- 6- L L 24/6 25/7 19/9"));
    dataRow("Voice Tx to the left ear of A", none, none, QByteArray("node 28 10"), QByteArrayList {"matrix_ba3=0106"},
        QByteArray("6 6- 6- L L 24/6 25/7 28/10"));
    dataRow("crosspoint refused: stays off", none, QByteArray("matrix_ba3"), QByteArray("node 23 11"),
        QByteArrayList {"matrix_ba3=2006"}, start);
    dataRow("padlock 8 opens bit 5", none, none, QByteArray("padlock 8"), QByteArrayList {"input_options=00000025"},
        QByteArray("6 6 6- U L 24/6 25/7"));
    dataRow("padlock 10 opens bit 4", none, none, QByteArray("padlock 10"), QByteArrayList {"input_options=00000015"},
        QByteArray("6 6- 6 L U 24/6 25/7"));
    dataRow("padlock 8 closes bit 5", QByteArray("audio input_options=00000035"), none, QByteArray("padlock 8"),
        QByteArrayList {"input_options=00000015"}, QByteArray("6 6- 6 L U 24/6 25/7"));
    dataRow("padlock 8 refused: closes again", none, QByteArray("input_options"), QByteArray("padlock 8"),
        QByteArrayList {"input_options=00000025"}, start);
    // Closed by the login before the device's word arrived: the word already says open.
    dataRow("padlock 8 as the device has it: nothing sent", QByteArray("audio input_options=00000025"), none,
        QByteArray("reset, padlock 8"), QByteArrayList(), QByteArray("6 6 6- U L- 24/6 25/7"));
}

void TestMonitoringPages::mixTouch()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, touch);
    QFETCH(QByteArrayList, sent);
    QFETCH(QByteArray, shows);
    MonitoringRig rig;
    QVERIFY(rig.login(setup, QVexmar::Monitoring1Page));
    QVexmarMixerMonitoring1Page *page = rig.mixPage;
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    if (touch.startsWith("reset, ")) {
        page->resetControls();
        touch = touch.mid(7);
    }
    const QList<QByteArray> words = touch.split(' ');
    if (words[0] == "knob") {
        turn(page->balanceKnobs.value(words[1].toInt()), words[2]);
    } else if (words[0] == "node") {
        QVexmarMatrixNode *node = page->nodeRows[words[2].toInt() - 6].value(words[1].toInt());
        QVERIFY(node && node->isEnabled());
        node->click();
    } else {
        QVERIFY(page->padlocks.value(words[1].toInt())->isEnabled());
        page->padlocks.value(words[1].toInt())->click();
    }
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(shown(page), shows);
}

void TestMonitoringPages::stripTouch_data()
{
    QTest::addColumn<QByteArray>("setup"); // over the own mixes of the simulated device
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("input");
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QByteArray>("shows");
    const QByteArray none;
    // The simulated device: MIC 1 and MIC 2 at 0 dB to both ears of headphone "1".
    const QByteArray rest = "E0" + zeros(56);
    dataRow("mono gain up", none, none, 10, 0, QByteArray("+"), QByteArrayList {"matrix_hp1=E1" + rest},
        QByteArray("0 1 3"));
    dataRow("mono to Off: muted", none, none, 10, 0, QByteArray("to -31"), QByteArrayList {"matrix_hp1=C0" + rest},
        QByteArray("0 Off 3"));
    dataRow("mono to the left ear", none, none, 10, 0, QByteArray("enter"), QByteArrayList {"matrix_hp1=60" + rest},
        QByteArray("0 0 1"));
    dataRow("mono gain refused: back", none, QByteArray("matrix_hp1"), 10, 0, QByteArray("-"),
        QByteArrayList {"matrix_hp1=DF" + rest}, QByteArray("0 0 3"));
    dataRow("mono pan refused: back", none, QByteArray("matrix_hp1"), 10, 1, QByteArray("enter"),
        QByteArrayList {"matrix_hp1=E060" + zeros(56)}, QByteArray("1 0 3"));
    // Both channels, to both ears, at the same gain.
    dataRow("stereo gain from Off", none, none, 11, 16, QByteArray("+"),
        QByteArrayList {"matrix_hp2=" + block({{16, "02"}, {17, "02"}})}, QByteArray("16 -30 0"));
    dataRow("stereo to both ears: straight", none, none, 11, 16, QByteArray("enter"),
        QByteArrayList {"matrix_hp2=" + block({{16, "40"}, {17, "80"}})}, QByteArray("16 Off 3"));
    dataRow("stereo pan: cross nodes off", "audio matrix_hp1=" + block({{20, "E5"}, {21, "25"}}), none, 10, 20,
        QByteArray("enter"), QByteArrayList {"matrix_hp1=" + block({{20, "25"}, {21, "A5"}})}, QByteArray("20 5 2"));
    dataRow("AES67 on headphone A", none, none, 12, 6, QByteArray("to 3"),
        QByteArrayList {"matrix_hp3=" + block({{6, "23"}})}, QByteArray("6 3 0"));
}

// One touch, one write of the headphone's whole mix; the strip shows what the device holds.
void TestMonitoringPages::stripTouch()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(int, page);
    QFETCH(int, input);
    QFETCH(QByteArray, action);
    QFETCH(QByteArrayList, sent);
    QFETCH(QByteArray, shows);
    MonitoringRig rig;
    QVERIFY(rig.login(ownMixes + "\n" + setup, Page(page)));
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    QVexmarAudioKnob *strip = rig.headphonePage(page)->stripsByInput.value(input);
    QCOMPARE(strip->state(), 0);
    turn(strip->knob(), action);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(shown(strip), shows);
}

void TestMonitoringPages::radio_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArrayList>("steps"); // buttons; "refused radio": the device refuses the option word
    QTest::addColumn<QList<int>>("pages"); // shown after each step
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("message");
    const QString none;
    const QString failed = QStringLiteral("Failed to apply changes!");
    const QByteArray undocked = ownMixes + "\ngeneral docking_detected=no";
    const QByteArrayList setOwn = {"matrix_opt=00000001"};
    const QByteArrayList setRadio = {"matrix_opt=00000000"};
    dataRow("mix: Radio", QByteArray(), 9, QByteArrayList {"Radio"}, QList<int> {10}, setOwn, none);
    dataRow("mix: Radio refused", QByteArray(), 9, QByteArrayList {"refused Radio"}, QList<int> {9}, setOwn, failed);
    dataRow("headphone 1: Radio", ownMixes, 10, QByteArrayList {"Radio"}, QList<int> {9}, setRadio, none);
    dataRow("headphone 2 / B: Radio refused", ownMixes, 11, QByteArrayList {"refused Radio"}, QList<int> {11}, setRadio,
        failed);
    dataRow("headphone buttons, docked", ownMixes, 10, QByteArrayList {"Headphone8", "Headphone10", "Headphone6"},
        QList<int> {11, 12, 10}, QByteArrayList(), none);
    dataRow("headphone A undocked: nothing", undocked, 11, QByteArrayList {"Headphone10", "Headphone6"},
        QList<int> {11, 10}, QByteArrayList(), none);
    const QByteArrayList away = {"StreamsButton", "LineUsbButton", "Aes67Button", "HomeButton"};
    dataRow("mix: the other pages", QByteArray(), 9, away, QList<int> {6, 7, 8, 1}, QByteArrayList(), none);
    dataRow("headphone A: the other pages", ownMixes, 12, away, QList<int> {6, 7, 8, 1}, QByteArrayList(), none);
    dataRow("AES67 undocked: nothing", undocked, 10, QByteArrayList {"Aes67Button"}, QList<int> {10}, QByteArrayList(),
        none);
}

void TestMonitoringPages::radio()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, page);
    QFETCH(QByteArrayList, steps);
    QFETCH(QList<int>, pages);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, message);
    MonitoringRig rig;
    QVERIFY(rig.login(setup, Page(page)));
    QWidget *start = rig.window->findChild<QVexmarMixerMonitoring1Page *>();
    if (page > 9)
        start = rig.headphonePage(page);
    const QString prefix = page == 9 ? QStringLiteral("monitoring1") : QStringLiteral("headphone%1").arg(page * 2 - 14);
    const TMatrixSettings::MatrixOpts options = getMatrixSettings()->matrixOptions();
    QList<int> shown;
    for (QByteArray step : steps) {
        if (step.startsWith("refused ")) {
            rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, "matrix_opt"));
            step = step.mid(8);
        }
        auto *button = start->findChild<QVexmarButton *>(prefix + QString::fromLatin1(step));
        QVERIFY(button);
        button->click();
        shown << rig.window->currentPage();
        if (step != "Radio")
            rig.window->pageActivated(Page(page));
    }
    QCOMPARE(shown, pages);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QVexmarMessage *popup = message.isEmpty() ? nullptr : ::message(start);
    QCOMPARE(popup ? popup->text : QString(), message);
    // A refused mode stays as the device has it.
    if (!message.isEmpty())
        QCOMPARE(getMatrixSettings()->matrixOptions(), options);
}

void TestMonitoringPages::refresh_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("change"); // a change set; "gain <in> <dB>": the matrix holds a node gain
    QTest::addColumn<QList<int>>("inputs"); // the strips to look at; none: page 9
    QTest::addColumn<QByteArrayList>("shows");
    const QList<int> mix;
    dataRow("balance words: knobs and marks", QByteArray(), 9,
        changeset + "matrix_ba1:0C34;matrix_ba2:C309;matrix_ba3:00C6;", mix,
        QByteArrayList {"4 9- 6- L L 24/6 20/6 25/7 21/7 28/8 19/8 28/9 19/9 26/10 22/10"});
    dataRow("padlocks open", QByteArray(), 9, changeset + "input_options:00000030;", mix,
        QByteArrayList {"6 6 6 U U 24/6 25/7"});
    dataRow("a right node alone: panning 2", ownMixes, 10,
        changeset + "matrix_hp1:" + block({{19, "9A"}, {20, "25"}, {21, "A5"}}) + ";", QList<int> {0, 19, 20},
        QByteArrayList {"0 Off 0", "19 -6 2", "20 5 2"});
    dataRow("-160 dB: Off", ownMixes, 10, changeset + "matrix_hp1:C0E0" + zeros(56) + ";", QList<int> {0, 1},
        QByteArrayList {"0 Off 3", "1 0 3"});
    dataRow("another headphone's nodes: nothing", ownMixes, 10, changeset + "matrix_hp2:FFFF" + zeros(56) + ";",
        QList<int> {0, 1}, QByteArrayList {"0 0 3", "1 0 3"});
    dataRow("headphone A", ownMixes, 12, changeset + "matrix_hp3:" + block({{13, "D0"}}) + ";", QList<int> {13},
        QByteArrayList {"13 -16 3"});
    // A gain the device's bytes cannot carry, held while the headphones share the call signals.
    dataRow("-2.7 dB: -2", QByteArray(), 10, QByteArray("gain 2 -2.7"), QList<int> {2}, QByteArrayList {"2 -2 0"});
}

// The page shows the device's changes and writes nothing back.
void TestMonitoringPages::refresh()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, page);
    QFETCH(QByteArray, change);
    QFETCH(QList<int>, inputs);
    QFETCH(QByteArrayList, shows);
    MonitoringRig rig;
    QVERIFY(rig.login(setup, Page(page)));
    if (change.startsWith("gain ")) {
        const QList<QByteArray> words = change.split(' ');
        getMatrixSettings()->setNodeGain(QVexmar::Inputs(words[1].toInt()), QVexmar::Outputs(6), words[2].toFloat());
    } else {
        QVERIFY(rig.deliver({change}));
    }
    QByteArrayList shown;
    for (const int in : inputs)
        shown << ::shown(rig.headphonePage(page)->stripsByInput.value(in));
    if (inputs.isEmpty())
        shown << ::shown(rig.mixPage);
    QCOMPARE(shown, shows);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList());
}

void TestMonitoringPages::availability_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<bool>("controllersFirst");
    QTest::addColumn<QByteArray>("mixStates"); // page 9 once the device is ready
    QTest::addColumn<QByteArray>("headphoneStates"); // page 10 once the device is ready
    for (const bool first : {false, true}) {
        for (const bool recorder : {true, false}) {
            const QByteArray player = recorder ? "0" : "2";
            const QByteArray name
                = QByteArray(recorder ? "recorder" : "no recorder") + (first ? ", controllers first" : "");
            dataRow("undocked, " + name, facts(false, true, recorder), first, QByteArray("111111 000000 d d"),
                "002222" + player + " 0000000 22222222 d");
            dataRow("docked, " + name, facts(true, false, recorder), first, QByteArray("111111 111111 e d"),
                "000000" + player + " 0000000 22222222 d");
            dataRow("docked with AES67, " + name, facts(true, true, recorder), first, QByteArray("111111 111111 e e"),
                "000000" + player + " 0000000 00000000 e");
        }
    }
}

// Either order of the reports ends alike, shows the device's values and writes nothing; a login starts over.
void TestMonitoringPages::availability()
{
    QFETCH(QByteArray, setup);
    QFETCH(bool, controllersFirst);
    QFETCH(QByteArray, mixStates);
    QFETCH(QByteArray, headphoneStates);
    MonitoringRig rig;
    if (!controllersFirst) {
        QVERIFY(rig.login(ownMixes + "\n" + setup, QVexmar::HomePage));
    } else {
        QVERIFY(rig.startWith(ownMixes + "\n" + setup));
        rig.mixPage = rig.window->findChild<QVexmarMixerMonitoring1Page *>();
        rig.mixPage->resetControls();
        for (QVexmarMixerMonitoring2Page *page : rig.window->findChildren<QVexmarMixerMonitoring2Page *>()) {
            page->resetControls();
            if (page->headphoneOutput == 6)
                rig.headphonePages = {page};
        }
        QVERIFY(rig.readMatrixFirst(true));
    }
    QVexmarMixerMonitoring2Page *page10 = rig.headphonePages.first();
    QCOMPARE(states(rig.mixPage), mixStates);
    QCOMPARE(states(page10), headphoneStates);
    QCOMPARE(
        shown(rig.mixPage), QByteArray(mixStates.contains(" e ") ? "6 6- 6- L L 24/6 25/7" : "6 6- 6- L L- 24/6 25/7"));
    QCOMPARE(mix(page10), QByteArrayList({"0 0 3", "1 0 3"}));
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList());
    rig.mixPage->resetControls();
    page10->resetControls();
    QCOMPARE(states(rig.mixPage), QByteArray("111111 000000 d d"));
    QCOMPARE(states(page10), headphoneStates.left(7).replace(2, 4, "2222") + " 0000000 22222222 d");
}

void TestMonitoringPages::modeChange_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("options"); // the device's new option word; empty: none
    QTest::addColumn<int>("shown");
    const QByteArray radio;
    dataRow("login with own mixes on the home page", ownMixes, 1, QByteArray(), 1);
    dataRow("own mixes on the home page", radio, 1, QByteArray("00000001"), 1);
    dataRow("own mixes on the mix page", radio, 9, QByteArray("00000001"), 10);
    dataRow("another bit on the mix page", radio, 9, QByteArray("00000002"), 9);
    dataRow("Radio on headphone 2 / B", ownMixes, 11, QByteArray("00000000"), 9);
    dataRow("Radio on the STREAMS page", ownMixes, 6, QByteArray("00000000"), 6);
    dataRow("Radio on the home page", ownMixes, 1, QByteArray("00000000"), 1);
}

// Only the page shown follows the device's mode.
void TestMonitoringPages::modeChange()
{
    QFETCH(QByteArray, setup);
    QFETCH(int, page);
    QFETCH(QByteArray, options);
    QFETCH(int, shown);
    MonitoringRig rig;
    QVERIFY(rig.login(setup, Page(page)));
    if (!options.isEmpty())
        QVERIFY(rig.deliver({changeset + "matrix_opt:" + options + ";"}));
    QCOMPARE(int(rig.window->currentPage()), shown);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList());
}

// Each strip shows its levels as a graph fed them alone would.
void TestMonitoringPages::levels()
{
    MonitoringRig rig;
    QVERIFY(rig.login(ownMixes, QVexmar::Monitoring2Headphone1Page));
    QSignalSpy received(getCom(), &kra::CCom::messageReceived);
    rig.device.notify(body("EVENT;event_type:audio_levels;in1:3;in15:7;in16:9;in20:30;ou1:4;ou2:5;ou5:8;"));
    QVERIFY(received.wait(5000));
    const struct
    {
        int input, left, right;
    } expected[] = {{0, 3, 99}, {14, 7, 9}, {19, 30, 99}, {24, 4, 5}, {28, 8, 99}, {13, 99, 99}};
    for (const auto &strip : expected) {
        QVexmarBars *graph = rig.headphonePage(10)->stripsByInput.value(strip.input)->levelGraph();
        QVexmarBars twin(graph->parentWidget());
        twin.setGeometry(graph->geometry());
        twin.setVertical(true);
        twin.setStereo(graph->stereo());
        twin.setLevels(strip.left, strip.right, true);
        QCOMPARE(graph->grab().toImage(), twin.grab().toImage());
    }
}

QTEST_MAIN(TestMonitoringPages)
#include "tst_monitoringpages.moc"
