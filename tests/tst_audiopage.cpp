// The audio page and its settings popup inside the screen window, against the simulated device: what a touch
// writes and what a refused one leaves, what the device's changes show without a request, which strips and
// padlocks are usable after a login in either order of the device's reports, the popup's switches and threshold,
// and the level graphs.

#include "controllers/tmatrixsettings.h"
#include "pages/vexmaraudiopage.h"
#include "pages/vexmaraudiosettingspage.h"
#include "tests/pixeltesting.h"
#include "tests/screentesting.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"

#include <QLabel>
#include <QtTest>

using namespace screentesting;

namespace {

const QByteArray changeset = "INFO;info_type:audio_changeset;info_source:aic;";
// Every knob and padlock usable.
const QByteArray docked = "general docking_detected=yes\naudio input_options=0000000F";

QVexmarAudioPage *audioPage(QVexmarWindow &window)
{
    return window.findChild<QVexmarAudioPage *>();
}

QVexmarAudioKnob *strip(QVexmarAudioPage *page, const QString &name)
{
    for (QVexmarAudioKnob *knob : page->findChildren<QVexmarAudioKnob *>()) {
        if (knob->nameLabel()->text() == name)
            return knob;
    }
    return nullptr;
}

// "<shown text> (<bottom>..<top>)"
QByteArray shown(const QVexmarAudioKnob *strip)
{
    const QVexmarKnob *knob = strip->knob();
    const int text = strip->indexOfValue(knob->value());
    return (text >= 0 ? strip->textAt(text).toUtf8() : QByteArray::number(knob->value())) + " ("
        + QByteArray::number(knob->minimum()) + ".." + QByteArray::number(knob->maximum()) + ")";
}

// The writes among the frames: "<key>=<value>" of each PARAM on "audio" that asks nothing.
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

// The knob shows `text` where it stands, as a twin that shows it as a value text would.
bool showsText(QVexmarKnob *knob, const QString &text)
{
    QVexmarKnob twin(0, knob->parentWidget());
    twin.setGeometry(knob->geometry());
    twin.setFont(knob->font());
    twin.setMinimum(knob->minimum(), QString());
    twin.setMaximum(knob->maximum(), QString());
    twin.addValueText(knob->value(), text);
    twin.setValue(knob->value());
    twin.setEnabled(knob->isEnabled());
    return twin.grab().toImage() == knob->grab().toImage();
}

// 'L' when the padlock shows the closed shackle, 'U' when the open one, lifted above the body: the open
// shackle's top stands where the closed one leaves the ground free.
char padlockShown(QVexmarAudioPadlock *padlock)
{
    const QImage image = padlock->grab().toImage();
    return pixelAt(image, 30, 5) == pixelAt(image, 1, 1) ? 'L' : 'U';
}

// 20 strip states in table order, grouped as on the page, and the four padlocks: closed or open, enabled or
// disabled.
QByteArray usable(QVexmarAudioPage *page)
{
    QByteArray states;
    QList<QVexmarAudioKnob *> strips = page->findChildren<QVexmarAudioKnob *>();
    std::sort(strips.begin(), strips.end(), [](auto *a, auto *b) { return a->index < b->index; });
    for (QVexmarAudioKnob *knob : strips) {
        if (knob->index == 4 || knob->index == 6 || knob->index == 17)
            states += ' ';
        states += QByteArray::number(knob->state());
    }
    for (QVexmarAudioPadlock *padlock : qAsConst(page->padlocks))
        states += QByteArray(" ") + padlockShown(padlock) + (padlock->isEnabled() ? 'e' : 'd');
    return states;
}

QByteArray state(QVexmarAudioPage *page, int input)
{
    return padlockShown(page->padlocks.value(input)) + QByteArray::number(page->inputKnobs.value(input)->state());
}

struct AudioRig : ScreenRig
{
    // Logged in as the screen window does it, with this set-up over the codec's.
    bool login(const QByteArray &setup, const QByteArray &faultKey = {})
    {
        device.loadSetup(setup);
        if (!start())
            return false;
        if (!faultKey.isEmpty())
            device.addFault(fault(SimDevice::Fault::ErrorReply, 7, faultKey.toStdString()));
        window->applyAccessLevel();
        window->pageActivated(QVexmar::AudioPage);
        page = audioPage(*window);
        takeFrames();
        return page && window->currentPage() == QVexmar::AudioPage;
    }

    QVexmarAudioSettingsPage *openPopup()
    {
        page->settingsButton->click();
        return page->findChild<QVexmarAudioSettingsPage *>();
    }

    QVexmarAudioPage *page = nullptr;
};

} // namespace

class TestAudioPage : public QObject
{
    Q_OBJECT

private slots:
    void touch_data();
    void touch();
    void refresh_data();
    void refresh();
    void availability_data();
    void availability();
    void padlocks_data();
    void padlocks();
    void popupSwitches_data();
    void popupSwitches();
    void popupRows_data();
    void popupRows();
    void popupPad_data();
    void popupPad();
    void popupThreshold_data();
    void popupThreshold();
    void popupLife();
    void levels_data();
    void levels();
};

void TestAudioPage::touch_data()
{
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses once
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QByteArray>("shows");
    QTest::addColumn<int>("attenuation"); // matrix input gain of an analog input
    QTest::addColumn<QByteArray>("setup"); // over the docked codec's
    const QByteArray none;
    const auto row
        = [](const char *name, const QByteArray &refused, const char *strip, int position, bool usable,
              const QByteArrayList &sent, const QByteArray &shows, int attenuation = 0, const QByteArray &setup = {}) {
              QTest::newRow(name) << refused << QString::fromLatin1(strip) << position << usable << sent << shows
                                  << attenuation << setup;
          };
    row("mic -3", none, "MIC 1", -3, true, {"input1_gain=-12"}, "-12 (-10..42)", -12);
    row("mic 5", none, "MIC 1", 5, true, {"input1_gain=5"}, "5 (-10..42)");
    row("mic bottom", none, "MIC B", -10, true, {"input4_gain=-40"}, "-40 (-10..42)", -40);
    row("line -27", none, "MIC 2", -27, true, {"input2_level=-30"}, "-30 (-36..16)", -4);
    row("line bottom", none, "MIC 2", -36, true, {"input2_level=-66"}, "-66 (-36..16)", -40);
    row("line -26", none, "MIC 2", -26, true, {"input2_level=-26"}, "-26 (-36..16)");
    row("LINE 1", none, "LINE 1", 8, true, {"lineout1_level=8"}, "8 (4..22)");
    row("Stream 1 to 6: one word", none, "Stream 1", 6, true, {"matrix_mgn=80807686"}, "6 (-12..12)");
    row("Voice", none, "Voice", -12, true, {"matrix_mgn=80747680"}, "-12 (-12..12)");
    row("AES3 L", none, "AES3 L", -3, true, {"matrix_in5=075D,AES3 L"}, "-3 (-30..16)");
    row("AES3 L, a name beyond Latin-1 kept", none, "AES3 L", -3, true,
        {"matrix_in5=075D,\xc5\x81\xc3\xb3\x64\xc5\xba"}, "-3 (-30..16)", 0,
        "audio matrix_in5=0740,\xc5\x81\xc3\xb3\x64\xc5\xba");
    row("USB: both inputs", none, "USB", 4, false, {"matrix_in15=0024,", "matrix_in16=0024,"}, "4 (-30..16)");
    // What the device refuses springs back to the device's value; nothing follows the refusal.
    row("mic refused", "input1_gain", "MIC 1", -3, true, {"input1_gain=-12"}, "30 (-10..42)");
    row("Stream 1 refused", "matrix_mgn", "Stream 1", 6, true, {"matrix_mgn=80807686"}, "0 (-12..12)");
    row("USB refused", "matrix_in15", "USB", 4, false, {"matrix_in15=0024,"}, "0 (-30..16)");
}

void TestAudioPage::touch()
{
    QFETCH(QByteArray, refused);
    QFETCH(QString, name);
    QFETCH(int, position);
    QFETCH(bool, usable);
    QFETCH(QByteArrayList, sent);
    QFETCH(QByteArray, shows);
    QFETCH(int, attenuation);
    QFETCH(QByteArray, setup);
    AudioRig rig;
    QVERIFY(rig.login(setup.isEmpty() ? docked : docked + '\n' + setup));
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    QVexmarAudioKnob *knob = strip(rig.page, name);
    QCOMPARE(knob->knob()->isEnabled(), usable);
    knob->setValue(position);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(shown(knob), shows);
    if (knob->input >= 0 && knob->input < 4)
        QCOMPARE(getMatrixSettings()->inputGain(QVexmar::Inputs(knob->input)), float(attenuation));
}

void TestAudioPage::refresh_data()
{
    QTest::addColumn<QByteArray>("changes"); // of the device; "model <input> <dB>": the matrix settings set a gain
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("shows");
    QTest::addColumn<QByteArrayList>("sent");
    const auto row = [](const char *name, const QByteArray &changes, const char *strip, const QByteArray &shows,
                         const QByteArrayList &sent = {}) {
        QTest::newRow(name) << changes << QString::fromLatin1(strip) << shows << sent;
    };
    row("AES3 L muted: the bottom", "matrix_in5:0740,AES3 L;", "AES3 L", "-30 (-30..16)");
    row("mic gain -6: the nearer 0 dB of -4 and -8", "input1_gain:-6;", "MIC 1", "-4 (-10..42)");
    row("mic gain -7", "input1_gain:-7;", "MIC 1", "-8 (-10..42)");
    row("mic gain above the range", "input1_gain:50;", "MIC 1", "42 (-10..42)");
    row("mic gain far below", "input1_gain:-90;", "MIC 1", "-40 (-10..42)");
    row("line level -28: -26", "input2_level:-28;", "MIC 2", "-26 (-36..16)");
    row("a level in mic mode", "input1_level:-30;", "MIC 1", "30 (-10..42)");
    row("a gain in line mode", "input2_gain:40;", "MIC 2", "0 (-36..16)");
    row("PAD on: the line scale", "input1_pad:on;", "MIC 1", "-4 (-36..16)");
    row("PAD off: the mic scale", "input2_pad:off;", "MIC 2", "12 (-10..42)");
    row("LINE 1 above the range", "lineout1_level:30;", "LINE 1", "22 (4..22)");
    row("Stream 2 below the range", "matrix_mgn:80806080;", "Stream 2", "-12 (-12..12)");
    row("Stream 1", "matrix_mgn:80807683;", "Stream 1", "3 (-12..12)");
    row("input 16 does not move USB", "matrix_in16:0030,;", "USB", "0 (-30..16)");
    // The matrix settings write what they pack; the page adds nothing.
    row("a gain of -3.7 dB: -4", "model 5 -3.7", "AES3 R", "-4 (-30..16)", {"matrix_in6=001D,AES3 R"});
    row("a gain of -3.5 dB: -3", "model 5 -3.5", "AES3 R", "-3 (-30..16)", {"matrix_in6=001D,AES3 R"});
}

void TestAudioPage::refresh()
{
    QFETCH(QByteArray, changes);
    QFETCH(QString, name);
    QFETCH(QByteArray, shows);
    QFETCH(QByteArrayList, sent);
    AudioRig rig;
    QVERIFY(rig.login(docked));
    if (changes.startsWith("model ")) {
        const QByteArrayList args = changes.split(' ');
        getMatrixSettings()->setInputGain(QVexmar::Inputs(args[1].toInt()), args[2].toFloat());
    } else {
        QVERIFY(rig.deliver({changeset + changes}));
    }
    QCOMPARE(shown(strip(rig.page, name)), shows);
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    // A muted input stays muted in the model.
    if (changes.startsWith("matrix_in5"))
        QCOMPARE(getMatrixSettings()->inputGain(QVexmar::Inputs(4)), TMatrixSettings::MutedGain);
}

void TestAudioPage::availability_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<bool>("controllersFirst");
    QTest::addColumn<QByteArray>("states");
    // The codec's option word opens MIC 1 and MIC A.
    const QByteArray undocked = "general docking_detected=no";
    const QByteArray noAes67 = "general device_opts=[ip_dcodec,mobile_lte,record_1]";
    const QByteArray none;
    for (const bool first : {false, true}) {
        const QByteArray order = first ? ", controllers first" : "";
        dataRow("undocked" + order, undocked, none, first, QByteArray("0122 22 22222222222 000 Ue Le Ud Ld"));
        dataRow("docked" + order, none, none, first, QByteArray("0101 00 00200000000 000 Ue Le Ue Le"));
        dataRow(
            "docked without AES67" + order, noAes67, none, first, QByteArray("0101 00 00222222222 000 Ue Le Ue Le"));
    }
    // Until the device's padlocks are known they are all closed.
    dataRow("docked, audio settings not read", none, QByteArray("input_options"), false,
        QByteArray("1111 00 00200000000 000 Le Le Le Le"));
}

void TestAudioPage::availability()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(bool, controllersFirst);
    QFETCH(QByteArray, states);
    AudioRig rig;
    if (!controllersFirst) {
        QVERIFY(rig.login(setup, refused));
    } else {
        rig.device.loadSetup(setup);
        QVERIFY(rig.start());
        rig.page = audioPage(*rig.window);
        rig.page->resetControls();
        QVERIFY(getMatrixSettings()->attach(true) && getAudioSettings()->attach(true));
        QVERIFY(getDevice()->initialize());
    }
    QCOMPARE(usable(rig.page), states);
    // Nothing shown is written back.
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList());
    // A new login starts from the page's start.
    rig.page->resetControls();
    QCOMPARE(usable(rig.page).left(33), QByteArray("1122 22 22222222222 000 Le Le Ld Ld").left(33));
}

void TestAudioPage::padlocks_data()
{
    QTest::addColumn<QByteArray>("refused"); // a key, once; "login": the audio settings were never read
    QTest::addColumn<QList<int>>("clicks"); // padlocks; a refusal applies to the first click only
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QByteArray>("after"); // padlock and strip of the last click
    const QByteArray none;
    const QByteArray options = "input_options";
    dataRow("closing MIC 1 clears bit 0", none, QList<int> {0}, QByteArrayList {"input_options=00000004"},
        QByteArray("L1"));
    dataRow(
        "opening MIC 2 sets bit 1", none, QList<int> {1}, QByteArrayList {"input_options=00000007"}, QByteArray("U0"));
    dataRow(
        "opening MIC B sets bit 3", none, QList<int> {3}, QByteArrayList {"input_options=0000000D"}, QByteArray("U0"));
    dataRow("a refused opening closes again", options, QList<int> {1}, QByteArrayList {"input_options=00000007"},
        QByteArray("L1"));
    dataRow("a refused closing stays closed", options, QList<int> {0}, QByteArrayList {"input_options=00000004"},
        QByteArray("L1"));
    dataRow("opened again: the device's bit says so, nothing sent", options, QList<int> {0, 0},
        QByteArrayList {"input_options=00000004"}, QByteArray("U0"));
    // Before the device's word is read a write would make up its other bits.
    dataRow("not read: opening stays closed, nothing sent", QByteArray("login"), QList<int> {0}, QByteArrayList(),
        QByteArray("L1"));
}

void TestAudioPage::padlocks()
{
    QFETCH(QByteArray, refused);
    QFETCH(QList<int>, clicks);
    QFETCH(QByteArrayList, sent);
    QFETCH(QByteArray, after);
    AudioRig rig;
    QVERIFY(rig.login("general docking_detected=yes", refused == "login" ? "input_options" : ""));
    if (!refused.isEmpty() && refused != "login")
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    for (const int input : clicks) {
        QVERIFY(rig.page->padlocks.value(input)->isEnabled());
        rig.page->padlocks.value(input)->click();
    }
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(state(rig.page, clicks.last()), after);
}

void TestAudioPage::popupSwitches_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("sent");
    dataRow("MIC 1 phantom", 0, 0, QByteArray("input1_power=off"));
    dataRow("MIC 1 limiter", 0, 1, QByteArray("input1_limiter=off"));
    dataRow("MIC 1 filter", 0, 2, QByteArray("input1_filter=on"));
    dataRow("MIC 1 pad", 0, 3, QByteArray("input1_pad=on"));
    dataRow("MIC 1 on", 0, 4, QByteArray("input1=off"));
    dataRow("MIC 2 phantom", 1, 0, QByteArray("input2_power=48V"));
    dataRow("MIC 2 limiter", 1, 1, QByteArray("input2_limiter=on"));
    dataRow("MIC 2 filter", 1, 2, QByteArray("input2_filter=off"));
    dataRow("MIC 2 pad", 1, 3, QByteArray("input2_pad=off"));
    dataRow("MIC 2 on", 1, 4, QByteArray("input2=off"));
    dataRow("MIC A phantom", 2, 0, QByteArray("input3_power=48V"));
    dataRow("MIC A limiter", 2, 1, QByteArray("input3_limiter=on"));
    dataRow("MIC A pad", 2, 3, QByteArray("input3_pad=on"));
    dataRow("MIC A on", 2, 4, QByteArray("input3=on"));
    dataRow("MIC B phantom", 3, 0, QByteArray("input4_power=48V"));
    dataRow("MIC B limiter", 3, 1, QByteArray("input4_limiter=off"));
    dataRow("MIC B pad", 3, 3, QByteArray("input4_pad=on"));
    dataRow("MIC B on", 3, 4, QByteArray("input4=off"));
}

void TestAudioPage::popupSwitches()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QByteArray, sent);
    AudioRig rig;
    QVERIFY(rig.login(docked));
    QVexmarAudioSettingsPage *popup = rig.openPopup();
    QVexmarSwitch *button = popup->switches[row][column];
    const bool was = button->isChecked();
    button->click();
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList {sent});
    QCOMPARE(button->isChecked(), !was);
    // The device's own change back: the switch follows it.
    const QByteArray back = was ? (column == 0 ? "48V" : "on") : "off";
    QVERIFY(rig.deliver({changeset + sent.left(sent.indexOf('=')) + ":" + back + ";"}));
    QCOMPARE(button->isChecked(), was);
}

void TestAudioPage::popupRows_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArray>("switches"); // per row: checked '1' / '0', upper case 'X' / 'O' when disabled
    QTest::addColumn<QByteArray>("micA"); // colour of the MIC A and MIC B titles
    const QByteArray none;
    dataRow("undocked: MIC A and B disabled", QByteArray("general docking_detected=no"), none,
        QByteArray("11001 00111 OOXOO OXXOX"), QByteArray("#7f7f7f"));
    dataRow("docked: the filters stay disabled", QByteArray("general docking_detected=yes"), none,
        QByteArray("11001 00111 00X00 01X01"), QByteArray("#ffffff"));
    dataRow("docked, audio settings not read", QByteArray("general docking_detected=yes"), QByteArray("input1"),
        QByteArray("00000 00000 OOXOX OOXOX"), QByteArray("#7f7f7f"));
}

void TestAudioPage::popupRows()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, switches);
    QFETCH(QByteArray, micA);
    AudioRig rig;
    QVERIFY(rig.login(setup, refused));
    QVexmarAudioSettingsPage *popup = rig.openPopup();
    QByteArray shownSwitches;
    for (int row = 0; row < QVexmarAudioSettingsPage::rows; ++row) {
        if (row > 0)
            shownSwitches += ' ';
        for (int column = 0; column < QVexmarAudioSettingsPage::columns; ++column) {
            const QVexmarSwitch *button = popup->switches[row][column];
            shownSwitches
                += button->isEnabled() ? (button->isChecked() ? '1' : '0') : (button->isChecked() ? 'X' : 'O');
        }
    }
    QCOMPARE(shownSwitches, switches);
    for (QLabel *title : {popup->micALabel, popup->micBLabel})
        QCOMPARE(title->palette().color(QPalette::WindowText).name().toLatin1(), micA);
}

void TestAudioPage::popupPad_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArray>("shows");
    QTest::addColumn<int>("attenuation");
    dataRow("PAD on at a number", QByteArray("audio input1_level=-4"), QByteArray(), QByteArray("-4 (-36..16)"), 0);
    dataRow("PAD on at a text", QByteArray("audio input1_level=-34"), QByteArray(), QByteArray("-34 (-36..16)"), -8);
    dataRow("PAD on refused", QByteArray("audio input1_level=-34"), QByteArray("input1_pad"),
        QByteArray("30 (-10..42)"), -20);
}

// The Mic/Line switch rebuilds the strip at once; within the touch the matrix takes the new attenuation.
void TestAudioPage::popupPad()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, shows);
    QFETCH(int, attenuation);
    AudioRig rig;
    QVERIFY(rig.login(docked + "\n" + setup));
    rig.page->inputKnobs.value(0)->setValue(-5); // "-20" on the mic scale
    QCOMPARE(getMatrixSettings()->inputGain(QVexmar::Inputs(0)), -20.0f);
    QVERIFY(rig.deliver({changeset + "input1_gain:30;"}));
    rig.framesAfterRoundTrip();
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    QVexmarAudioSettingsPage *popup = rig.openPopup();
    popup->switches[0][3]->click();
    QCOMPARE(shown(rig.page->inputKnobs.value(0)), shows);
    QCOMPARE(popup->switches[0][3]->isChecked(), refused.isEmpty());
    QCOMPARE(getMatrixSettings()->inputGain(QVexmar::Inputs(0)), float(attenuation));
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList {"input1_pad=on"});
}

void TestAudioPage::popupThreshold_data()
{
    QTest::addColumn<QByteArray>("refused");
    QTest::addColumn<QByteArray>("change"); // "turn <position>" or the device's value
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("shows");
    const QByteArray none;
    dataRow("turned to the bottom: -15 shown -16", none, QByteArray("turn -15"),
        QByteArrayList {"limiter_threshold=-15"}, -15, QStringLiteral("-16"));
    dataRow("turned to the top", none, QByteArray("turn -3"), QByteArrayList {"limiter_threshold=-3"}, -3,
        QStringLiteral("-3"));
    dataRow("-20 from the device: shown -16, not written", none, QByteArray("-20"), QByteArrayList(), -15,
        QStringLiteral("-16"));
    dataRow("-10 from the device: the nearest", none, QByteArray("-10"), QByteArrayList(), -9, QStringLiteral("-9"));
    dataRow("0 from the device", none, QByteArray("0"), QByteArrayList(), -3, QStringLiteral("-3"));
    dataRow("refused: back to -6", QByteArray("limiter_threshold"), QByteArray("turn -12"),
        QByteArrayList {"limiter_threshold=-12"}, -6, QStringLiteral("-6"));
}

void TestAudioPage::popupThreshold()
{
    QFETCH(QByteArray, refused);
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, sent);
    QFETCH(int, position);
    QFETCH(QString, shows);
    AudioRig rig;
    QVERIFY(rig.login(docked));
    QVexmarAudioSettingsPage *popup = rig.openPopup();
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    if (change.startsWith("turn "))
        popup->thresholdKnob->setValue(change.mid(5).toInt());
    else
        QVERIFY(rig.deliver({changeset + "limiter_threshold:" + change + ";"}));
    QCOMPARE(writes(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(popup->thresholdKnob->value(), position);
    QVERIFY(showsText(popup->thresholdKnob, shows));
}

// Built from the model when opened, centred over the page, following the device while open, gone after Back.
void TestAudioPage::popupLife()
{
    AudioRig rig;
    QVERIFY(rig.login(docked));
    rig.window->show();
    QVexmarAudioSettingsPage *popup = rig.openPopup();
    // Centred over the page; the offscreen platform adds 2 px of window frame.
    const QPoint offset = popup->geometry().center() - rig.page->contentFrame->geometry().center()
        - rig.page->contentFrame->mapToGlobal(QPoint(0, 0)) + rig.page->contentFrame->pos();
    QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    QVERIFY(popup->isModal() && popup->isVisible());
    QCOMPARE(popup->switches[0][0]->isChecked(), true);
    QVERIFY(rig.deliver({changeset + "input1_power:off;"}));
    QCOMPARE(popup->switches[0][0]->isChecked(), false);

    QPointer<QVexmarAudioSettingsPage> gone(popup);
    popup->backButton->click();
    QTRY_VERIFY(!gone);
    QVexmarAudioSettingsPage *fresh = rig.openPopup();
    QVERIFY(fresh && !fresh->switches[0][0]->isChecked());
    fresh->close();
    rig.page->homeButton->click();
    QCOMPARE(rig.window->currentPage(), int(QVexmar::HomePage));
    QCOMPARE(writes(rig.framesAfterRoundTrip()), QByteArrayList());
}

void TestAudioPage::levels_data()
{
    QTest::addColumn<QByteArray>("values"); // of the device's report
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("right"); // -1: a one-channel graph
    dataRow("USB: inputs 15 and 16", QByteArray("in15:3;in16:10;"), QStringLiteral("USB"), 3, 10);
    dataRow("MIC 1 without a value", QByteArray("in1:99;in2:5;"), QStringLiteral("MIC 1"), 99, -1);
    dataRow("MIC 2", QByteArray("in1:99;in2:5;"), QStringLiteral("MIC 2"), 5, -1);
    dataRow("Stream 1: outputs 1 and 2", QByteArray("ou1:8;ou2:20;"), QStringLiteral("Stream 1"), 8, 20);
    dataRow("LINE 2: output 7", QByteArray("ou7:12;ou6:2;"), QStringLiteral("LINE 2"), 12, -1);
    dataRow("AES67 8: input 14", QByteArray("in14:0;"), QStringLiteral("AES67 8"), 0, -1);
}

// The window hands the report to the page; each graph shows its levels as a graph fed them alone would.
void TestAudioPage::levels()
{
    QFETCH(QByteArray, values);
    QFETCH(QString, name);
    QFETCH(int, left);
    QFETCH(int, right);
    AudioRig rig;
    QVERIFY(rig.login(docked));
    rig.window->show();
    QVexmarBars *graph = strip(rig.page, name)->levelGraph();
    QSignalSpy received(getCom(), &kra::CCom::messageReceived);
    rig.device.notify(body("EVENT;event_type:audio_levels;" + values));
    QVERIFY(received.wait(5000));

    QVexmarBars twin(graph->parentWidget());
    twin.setGeometry(graph->geometry());
    twin.setVertical(true);
    twin.setStereo(right < 0 ? 0 : 1);
    // The page was shown afresh: its graphs hold no peak of earlier values.
    twin.setLevels(left, right, true);
    QCOMPARE(graph->grab().toImage(), twin.grab().toImage());
}

QTEST_MAIN(TestAudioPage)
#include "tst_audiopage.moc"
