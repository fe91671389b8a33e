#include "pixeltesting.h"
#include "screenpointer.h"
#include "vexmarcontrols.h"
#include "vexmarkeyrecorder.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <climits>

namespace {

const QRgb selectedBlue = rgb(0, 141, 233);

// One letter per user action: '+' '-' 'E'nter 'R'eturn 'D'evice enter 'A', mouse wheel 'u'p, 'd'own, '0' (no
// movement), 'r'ight click, left 'c'lick.
int keyOf(QChar letter)
{
    switch (letter.toLatin1()) {
    case '+':
        return Qt::Key_Plus;
    case '-':
        return Qt::Key_Minus;
    case 'E':
        return Qt::Key_Enter;
    case 'R':
        return Qt::Key_Return;
    case 'D':
        return 0x160;
    default:
        return Qt::Key_A;
    }
}

void act(QWidget *control, const QString &actions)
{
    for (const QChar action : actions) {
        const char letter = action.toLatin1();
        if (letter == 'u' || letter == 'd' || letter == '0') {
            const QPoint delta(0, letter == 'u' ? 120 : letter == 'd' ? -120 : 0);
            QWheelEvent wheel(QPointF(10, 10), control->mapToGlobal(QPoint(10, 10)), QPoint(), delta, Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(control, &wheel);
        } else if (letter == 'r' || letter == 'c') {
            QTest::mouseClick(control, letter == 'r' ? Qt::RightButton : Qt::LeftButton);
        } else {
            // Sent, not QTest::keyClick: the device's Enter has no text of its own.
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, keyOf(action), Qt::NoModifier);
                QCoreApplication::sendEvent(control, &key);
            }
        }
    }
}

// What the screen should receive: 'p' (press, kind 6) or 'r' (release, kind 7) and the key's letter, as "p+r+".
QList<VexmarKeyRecorder::Posted> posted(const QString &expected)
{
    QList<VexmarKeyRecorder::Posted> list;
    for (int i = 0; i + 1 < expected.size(); i += 2)
        list.append({expected.at(i) == 'p' ? 6 : 7, keyOf(expected.at(i + 1)), 1});
    return list;
}

QList<int> ints(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &arguments : spy)
        values << arguments.at(0).toInt();
    return values;
}

QImage centre(const QImage &image)
{
    // The middle of a 100 x 100 knob: the text, clear of ring and pointer.
    return image.copy(25, 30, 50, 40);
}

} // namespace

class TestVexmarControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void knobActions_data();
    void knobActions();
    void knobSetters_data();
    void knobSetters();
    void valueTexts();
    void knobCentreText_data();
    void knobCentreText();
    void jogActions_data();
    void jogActions();
    void wheelActions_data();
    void wheelActions();
    void wheelRevertOnFocusOut_data();
    void wheelRevertOnFocusOut();
    void focusOut();
    void keysDroppedWithoutScreen();
    void ringColours_data();
    void ringColours();
    void pointerAtDegenerateRanges();
    void switchPictures_data();
    void switchPictures();
    void audioLabelPanning();

private:
    template<class T>
    T *place(T *control);

    QWidget *m_window = nullptr;
    VexmarKeyRecorder *m_screen = nullptr;
};

void TestVexmarControls::initTestCase()
{
    qRegisterMetaType<QVexmar::PanCtrl>();
}

void TestVexmarControls::init()
{
    m_screen = new VexmarKeyRecorder;
    g_screenWindow = m_screen;
    m_window = new QWidget;
    m_window->resize(400, 300);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(20, 20, 20));
    palette.setColor(QPalette::WindowText, Qt::white);
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestVexmarControls::cleanup()
{
    delete m_window;
    delete m_screen;
}

template<class T>
T *TestVexmarControls::place(T *control)
{
    control->setParent(m_window);
    control->setGeometry(20, 20, 100, 100);
    control->show();
    return control;
}

void TestVexmarControls::knobActions_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("pans");
    QTest::addColumn<QString>("screen");

    // Keys act only on a checked knob ('c' selects it); a step that would pass a limit is not taken at all.
    QTest::newRow("+ would pass the maximum, - steps")
        << 0 << 0 << 10 << 3 << 9 << "c+-" << 6 << QList<int> {6} << QList<int>() << "r+r-";
    QTest::newRow("+ up to the maximum exactly")
        << 0 << 0 << 10 << 5 << 5 << "c++" << 10 << QList<int> {10} << QList<int>() << "r+r+";
    QTest::newRow("- at the minimum") << 0 << 0 << 10 << 1 << 0 << "c-" << 0 << QList<int>() << QList<int>() << "r-";
    QTest::newRow("- would pass the minimum")
        << 0 << -5 << 10 << 4 << -2 << "c-" << -2 << QList<int>() << QList<int>() << "r-";
    QTest::newRow("unchecked: keys go to the screen")
        << 0 << 0 << 10 << 1 << 5 << "+-" << 5 << QList<int>() << QList<int>() << "p+r+p-r-";
    QTest::newRow("checked twice is unchecked")
        << 0 << 0 << 10 << 1 << 5 << "cc+" << 5 << QList<int>() << QList<int>() << "p+r+";
    QTest::newRow("other keys go on while checked")
        << 1 << 0 << 10 << 1 << 5 << "cA" << 5 << QList<int>() << QList<int>() << "pArA";
    QTest::newRow("Enter cycles the pan 0 3 1 2 0")
        << 1 << 0 << 10 << 1 << 5 << "cEEEE" << 5 << QList<int>() << QList<int> {3, 1, 2, 0} << "rErErErE";
    QTest::newRow("Return and the device's Enter too")
        << 1 << 0 << 10 << 1 << 5 << "cRD" << 5 << QList<int>() << QList<int> {3, 1} << "rRrD";
    QTest::newRow("Enter on a plain knob is consumed")
        << 0 << 0 << 10 << 1 << 5 << "cE" << 5 << QList<int>() << QList<int>() << "rE";
    QTest::newRow("Enter on an unchecked knob goes on")
        << 1 << 0 << 10 << 1 << 5 << "E" << 5 << QList<int>() << QList<int>() << "pErE";
    QTest::newRow("right click cycles the pan")
        << 1 << 0 << 10 << 1 << 5 << "crr" << 5 << QList<int>() << QList<int> {3, 1} << "";
    QTest::newRow("right click on an unchecked knob: Enter goes on")
        << 1 << 0 << 10 << 1 << 5 << "r" << 5 << QList<int>() << QList<int>() << "pE";
    QTest::newRow("mouse wheel up, down, still")
        << 0 << 0 << 10 << 2 << 4 << "cud0" << 2 << QList<int> {6, 4, 2} << QList<int>() << "";
    QTest::newRow("mouse wheel on an unchecked knob")
        << 0 << 0 << 10 << 2 << 4 << "u0" << 4 << QList<int>() << QList<int>() << "p+p-";
    QTest::newRow("mouse wheel stops at a limit")
        << 0 << 0 << 10 << 2 << 9 << "cu" << 9 << QList<int>() << QList<int>() << "";
    // A range over all of int: neither end wraps around.
    QTest::newRow("no wrap past the top of int")
        << 0 << INT_MIN << INT_MAX << 5 << INT_MAX - 1 << "c+" << INT_MAX - 1 << QList<int>() << QList<int>() << "r+";
    QTest::newRow("no wrap past the bottom of int")
        << 0 << INT_MIN << INT_MAX << 5 << INT_MIN + 1 << "c-" << INT_MIN + 1 << QList<int>() << QList<int>() << "r-";
    // A negative step turns the keys round; it never leaves the range either.
    QTest::newRow("negative step: + would pass the minimum")
        << 0 << 0 << 10 << -3 << 1 << "c+-" << 4 << QList<int> {4} << QList<int>() << "r+r-";
    QTest::newRow("a step of all of int") << 0 << INT_MIN << INT_MAX << INT_MAX << 0 << "c++-" << 0
                                          << QList<int> {INT_MAX, 0} << QList<int>() << "r+r+r-";
}

void TestVexmarControls::knobActions()
{
    QFETCH(int, type);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, start);
    QFETCH(QString, actions);
    QFETCH(int, value);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, pans);
    QFETCH(QString, screen);

    auto *knob = place(new QVexmarKnob(type));
    knob->setMinimum(minimum, QString());
    knob->setMaximum(maximum, QString());
    knob->setSingleStep(step);
    knob->setValue(start);
    QSignalSpy valueSpy(knob, &QVexmarKnob::valueChanged);
    QSignalSpy panSpy(knob, &QVexmarKnob::panningChanged);

    act(knob, actions);
    QCOMPARE(knob->value(), value);
    QCOMPARE(ints(valueSpy), values);
    QCOMPARE(ints(panSpy), pans);
    if (!pans.isEmpty())
        QCOMPARE(int(knob->panning()), pans.last());
    QCoreApplication::sendPostedEvents(m_screen);
    QCOMPARE(m_screen->posted, posted(screen));
}

void TestVexmarControls::knobSetters_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("argument");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QList<int>>("pans");

    // Each starts from 0..10 at 4.
    QTest::newRow("value below the minimum") << 0 << "value" << -5 << 0 << QList<int> {0} << QList<int>();
    QTest::newRow("value above the maximum") << 0 << "value" << 50 << 10 << QList<int> {10} << QList<int>();
    QTest::newRow("the same value again") << 0 << "value" << 4 << 4 << QList<int>() << QList<int>();
    QTest::newRow("minimum above the value: raised, silently")
        << 0 << "minimum" << 6 << 6 << QList<int>() << QList<int>();
    QTest::newRow("maximum below the value: lowered, silently")
        << 0 << "maximum" << 2 << 2 << QList<int>() << QList<int>();
    QTest::newRow("minimum below the value") << 0 << "minimum" << -3 << 4 << QList<int>() << QList<int>();
    QTest::newRow("pan on a pan-capable knob") << 1 << "pan" << 2 << 4 << QList<int>() << QList<int> {2};
    QTest::newRow("the same pan again") << 1 << "pan" << 0 << 4 << QList<int>() << QList<int>();
    QTest::newRow("pan on a plain knob") << 0 << "pan" << 2 << 4 << QList<int>() << QList<int>();
}

void TestVexmarControls::knobSetters()
{
    QFETCH(int, type);
    QFETCH(QString, call);
    QFETCH(int, argument);
    QFETCH(int, value);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, pans);

    QVexmarKnob knob(type);
    knob.setMaximum(10, QString());
    knob.setValue(4);
    QSignalSpy valueSpy(&knob, &QVexmarKnob::valueChanged);
    QSignalSpy panSpy(&knob, &QVexmarKnob::panningChanged);
    if (call == "value")
        knob.setValue(argument);
    else if (call == "minimum")
        knob.setMinimum(argument, QString());
    else if (call == "maximum")
        knob.setMaximum(argument, QString());
    else
        knob.setPanning(QVexmar::PanCtrl(argument));
    QCOMPARE(knob.value(), value);
    QCOMPARE(ints(valueSpy), values);
    QCOMPARE(ints(panSpy), pans);
}

void TestVexmarControls::valueTexts()
{
    QVexmarKnob knob(0);
    knob.addValueText(0, QStringLiteral("Off"));
    knob.addValueText(5, QStringLiteral("Mic"));
    knob.addValueText(5, QStringLiteral("Line"));
    knob.addValueText(-1, QStringLiteral("Off"));

    QCOMPARE(knob.indexOfValue(5), 1); // the first pair of a value
    QCOMPARE(knob.indexOfValue(7), -1);
    QCOMPARE(knob.indexOfText(QStringLiteral("Off")), 0);
    QCOMPARE(knob.indexOfText(QStringLiteral("Line")), 2);
    QCOMPARE(knob.indexOfText(QStringLiteral("line")), -1);
    QCOMPARE(knob.valueAt(3), -1);
    QCOMPARE(knob.valueAt(1), 5);
    QCOMPARE(knob.valueAt(4), -1);
    QCOMPARE(knob.valueAt(-1), -1);
    QCOMPARE(knob.textAt(2), QStringLiteral("Line"));
    QCOMPARE(knob.textAt(4), QString());
    QCOMPARE(knob.textAt(-1), QString());
    knob.clearValueTexts();
    QCOMPARE(knob.indexOfValue(5), -1);
    QCOMPARE(knob.textAt(0), QString());
}

void TestVexmarControls::knobCentreText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("minimumText");
    QTest::addColumn<QString>("maximumText");
    QTest::addColumn<QStringList>("valueTexts"); // "value=text"
    QTest::addColumn<QString>("shown");

    // The knob runs 0..10.
    QTest::newRow("the number at the minimum without a text") << 0 << ""
                                                              << "" << QStringList() << "0";
    QTest::newRow("a value text at the minimum without a text") << 0 << ""
                                                                << "" << QStringList {"0=Mic"} << "Mic";
    QTest::newRow("the minimum text before a value text") << 0 << "Off"
                                                          << "" << QStringList {"0=Mic"} << "Off";
    QTest::newRow("the maximum text") << 10 << "Off"
                                      << "Max" << QStringList {"10=Mic"} << "Max";
    QTest::newRow("the first text of a value") << 5 << ""
                                               << "" << QStringList {"5=Mic", "5=Line"} << "Mic";
    QTest::newRow("the number between") << 7 << "Off"
                                        << "Max" << QStringList {"5=Mic"} << "7";
}

// Compared with a knob that shows the expected text as its minimum text: the same picture in the middle.
void TestVexmarControls::knobCentreText()
{
    QFETCH(int, value);
    QFETCH(QString, minimumText);
    QFETCH(QString, maximumText);
    QFETCH(QStringList, valueTexts);
    QFETCH(QString, shown);

    auto *knob = place(new QVexmarKnob(0));
    knob->setMinimum(0, minimumText);
    knob->setMaximum(10, maximumText);
    for (const QString &pair : valueTexts)
        knob->addValueText(pair.section('=', 0, 0).toInt(), pair.section('=', 1));
    knob->setValue(value);

    auto *reference = place(new QVexmarKnob(0));
    reference->setMinimum(0, shown);
    reference->setMaximum(10, QString());

    auto *other = place(new QVexmarKnob(0));
    other->setMinimum(0, shown + QStringLiteral("x"));
    other->setMaximum(10, QString());
    QCOMPARE(centre(knob->grab().toImage()), centre(reference->grab().toImage()));
    QVERIFY(centre(knob->grab().toImage()) != centre(other->grab().toImage()));
}

void TestVexmarControls::jogActions_data()
{
    QTest::addColumn<bool>("keysEnabled");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<QString>("screen");

    QTest::newRow("keys disabled: + goes on") << false << "+" << QList<int>() << "p+r+";
    QTest::newRow("keys enabled: steps, nothing goes on") << true << "+-+" << QList<int> {1, -1, 1} << "r+r-r+";
    QTest::newRow("keys enabled: other keys go on") << true << "AE" << QList<int>() << "pArApErE";
    QTest::newRow("mouse wheel up, down, still") << true << "ud0" << QList<int> {1, -1, -1} << "";
    QTest::newRow("mouse wheel, keys disabled") << false << "ud" << QList<int>() << "p+p-";
    // The checked state plays no part: a click unchecks it, and it still jogs.
    QTest::newRow("clicked off still jogs") << true << "c+" << QList<int> {1} << "r+";
    QTest::newRow("right click: Enter goes on") << true << "r" << QList<int>() << "pE";
}

void TestVexmarControls::jogActions()
{
    QFETCH(bool, keysEnabled);
    QFETCH(QString, actions);
    QFETCH(QList<int>, steps);
    QFETCH(QString, screen);

    auto *jog = place(new QVexmarKnobMinimal);
    QVERIFY(jog->isChecked());
    if (keysEnabled)
        jog->enableKeys();
    QSignalSpy stepSpy(jog, &QVexmarKnob::valueChanged);
    act(jog, actions);
    QCOMPARE(ints(stepSpy), steps);
    QCOMPARE(jog->value(), 0);
    QCoreApplication::sendPostedEvents(m_screen);
    QCOMPARE(m_screen->posted, posted(screen));

    // Enabled and disabled again: keys go on.
    jog->disableKeys();
    m_screen->posted.clear();
    act(jog, QStringLiteral("-"));
    QCoreApplication::sendPostedEvents(m_screen);
    QCOMPARE(m_screen->posted, posted(QStringLiteral("p-r-")));
}

void TestVexmarControls::wheelActions_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QString>("screen");

    QTest::newRow("at 0 - is consumed") << 3 << 0 << "c-" << 0 << QList<int>() << "r-";
    QTest::newRow("at the maximum + is consumed") << 3 << 3 << "c+" << 3 << QList<int>() << "r+";
    QTest::newRow("steps within") << 3 << 1 << "c++-" << 2 << QList<int> {2, 3, 2} << "r+r+r-";
    QTest::newRow("maximum 0") << 0 << 0 << "c+-" << 0 << QList<int>() << "r+r-";
    QTest::newRow("unchecked: keys go on") << 3 << 1 << "+A" << 1 << QList<int>() << "p+r+pArA";
    QTest::newRow("checked: other keys go on") << 3 << 1 << "cE" << 1 << QList<int>() << "pErE";
    QTest::newRow("mouse wheel, still counts as -") << 3 << 2 << "cu00" << 1 << QList<int> {3, 2, 1} << "";
    QTest::newRow("mouse wheel unchecked") << 3 << 2 << "0" << 2 << QList<int>() << "p-";
    QTest::newRow("right click does nothing") << 3 << 2 << "r" << 2 << QList<int>() << "";
}

void TestVexmarControls::wheelActions()
{
    QFETCH(int, maximum);
    QFETCH(int, start);
    QFETCH(QString, actions);
    QFETCH(int, value);
    QFETCH(QList<int>, values);
    QFETCH(QString, screen);

    auto *wheel = place(new QVexmarWheel);
    wheel->setMaximum(maximum);
    wheel->setValue(start);
    QSignalSpy valueSpy(wheel, &QVexmarWheel::valueChanged);
    act(wheel, actions);
    QCOMPARE(wheel->value(), value);
    QCOMPARE(ints(valueSpy), values);
    QCoreApplication::sendPostedEvents(m_screen);
    QCOMPARE(m_screen->posted, posted(screen));
}

void TestVexmarControls::wheelRevertOnFocusOut_data()
{
    QTest::addColumn<bool>("revert");
    QTest::addColumn<int>("shown");

    QTest::newRow("reverted to the committed value") << true << 2;
    QTest::newRow("kept") << false << 4;
}

void TestVexmarControls::wheelRevertOnFocusOut()
{
    QFETCH(bool, revert);
    QFETCH(int, shown);

    auto *wheel = place(new QVexmarWheel);
    wheel->setMaximum(5);
    wheel->setValue(7); // ignored: above the maximum
    wheel->setValue(2);
    wheel->revertOnFocusOut = revert;
    auto *other = place(new QVexmarWheel);
    other->move(200, 20);
    QSignalSpy valueSpy(wheel, &QVexmarWheel::valueChanged);

    act(wheel, QStringLiteral("c++"));
    QVERIFY(wheel->hasFocus());
    QTest::mouseClick(other, Qt::LeftButton);
    QVERIFY(other->hasFocus());
    QCOMPARE(wheel->value(), shown);
    QVERIFY(!wheel->isChecked());
    QCOMPARE(ints(valueSpy), (QList<int> {3, 4}));

    // Pictures of the value: the same as a wheel set there.
    auto *reference = place(new QVexmarWheel);
    reference->setMaximum(5);
    reference->setValue(shown);
    QCOMPARE(wheel->grab().toImage(), reference->grab().toImage());

    // A lower maximum takes the committed value with it.
    wheel->setMaximum(1);
    wheel->setValue(1);
    act(wheel, QStringLiteral("c-"));
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(wheel->value(), revert ? 1 : 0);
}

// Losing the focus unchecks a knob; the jog knob stays checked.
void TestVexmarControls::focusOut()
{
    auto *knob = place(new QVexmarKnob(1));
    auto *jog = place(new QVexmarKnobMinimal);
    auto *wheel = place(new QVexmarWheel);
    act(knob, QStringLiteral("c"));
    QVERIFY(knob->isChecked() && knob->hasFocus());
    QTest::mouseClick(wheel, Qt::LeftButton);
    QVERIFY(!knob->isChecked());

    jog->setFocus();
    QVERIFY(jog->hasFocus());
    QTest::mouseClick(wheel, Qt::LeftButton);
    QVERIFY(wheel->hasFocus());
    QVERIFY(jog->isChecked());
}

void TestVexmarControls::keysDroppedWithoutScreen()
{
    auto *knob = place(new QVexmarKnob(1));
    auto *jog = place(new QVexmarKnobMinimal);
    auto *wheel = place(new QVexmarWheel);
    g_screenWindow = nullptr;
    act(knob, QStringLiteral("+Eur"));
    act(jog, QStringLiteral("+u"));
    act(wheel, QStringLiteral("+Au"));
    QCoreApplication::sendPostedEvents();
    QVERIFY(m_screen->posted.isEmpty());
}

void TestVexmarControls::ringColours_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QRgb>("colour");

    const QRgb white = rgb(255, 255, 255);
    for (const QString control : {"knob", "pan knob", "wheel"}) {
        QTest::addRow("%s idle", qPrintable(control)) << control << "idle" << white;
        QTest::addRow("%s focused, unchecked", qPrintable(control)) << control << "focused" << white;
        QTest::addRow("%s checked, not focused", qPrintable(control)) << control << "checked" << white;
        QTest::addRow("%s selected", qPrintable(control)) << control << "selected" << selectedBlue;
    }
    QTest::newRow("knob disabled") << "knob"
                                   << "disabled" << rgb(127, 127, 127);
    QTest::newRow("wheel disabled") << "wheel"
                                    << "disabled" << rgb(128, 128, 128);
    QTest::newRow("jog idle") << "jog"
                              << "idle" << rgb(0, 0, 0);
    QTest::newRow("jog selected") << "jog"
                                  << "selected" << rgb(0, 0, 0);
}

// The top of the ring, in the middle of its 4-pixel line; the pointer stands at the bottom.
void TestVexmarControls::ringColours()
{
    QFETCH(QString, control);
    QFETCH(QString, state);
    QFETCH(QRgb, colour);

    QAbstractButton *button = nullptr;
    if (control == "wheel") {
        auto *wheel = new QVexmarWheel;
        wheel->setMaximum(4);
        button = wheel;
    } else if (control == "jog") {
        button = new QVexmarKnobMinimal;
    } else {
        auto *knob = new QVexmarKnob(control == "pan knob" ? 1 : 0);
        knob->setMaximum(10, QString());
        button = knob;
    }
    place(button);
    auto *elsewhere = place(new QVexmarWheel);
    elsewhere->move(200, 20);
    elsewhere->setFocus();
    if (control == "jog" && state == "selected")
        button->setFocus(); // born checked
    else if (state == "focused")
        act(button, QStringLiteral("cc"));
    else if (state == "checked")
        button->setChecked(true);
    else if (state == "selected" || state == "disabled")
        act(button, QStringLiteral("c"));
    if (state == "disabled")
        button->setEnabled(false);
    if (control == "jog" && state == "selected")
        QVERIFY(button->hasFocus() && button->isChecked());

    QCOMPARE(pixelAt(button->grab().toImage(), 50, 7), colour);
}

// Where the angle would divide by zero, or int arithmetic overflow, the pointer stands at the minimum (or the
// maximum) as on an ordinary range.
void TestVexmarControls::pointerAtDegenerateRanges()
{
    const auto knob = [this](int minimum, int maximum, int value) {
        auto *made = place(new QVexmarKnob(0));
        made->setMinimum(minimum, QStringLiteral("x"));
        made->setMaximum(maximum, QStringLiteral("x"));
        made->setValue(value);
        return made->grab().toImage();
    };
    const QImage atMinimum = knob(0, 10, 0);
    const QImage atMaximum = knob(0, 10, 10);
    QVERIFY(atMinimum != atMaximum);
    QCOMPARE(knob(5, 5, 5), atMinimum);
    QCOMPARE(knob(INT_MIN, INT_MAX, INT_MIN), atMinimum);
    QCOMPARE(knob(INT_MIN, INT_MAX, INT_MAX), atMaximum);
    QCOMPARE(knob(INT_MIN, INT_MIN, INT_MIN), atMinimum);

    const auto wheel = [this](int maximum, int value) {
        auto *made = place(new QVexmarWheel);
        made->setMaximum(maximum);
        made->setValue(value);
        return made->grab().toImage();
    };
    QCOMPARE(wheel(0, 0), wheel(4, 0));
    QVERIFY(wheel(4, 4) != wheel(4, 0));
}

void TestVexmarControls::switchPictures_data()
{
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("disabledLook");
    QTest::addColumn<QString>("picture");

    QTest::newRow("on") << true << true << true << ":/images/switch_on.png";
    QTest::newRow("off") << false << true << true << ":/images/switch_off.png";
    QTest::newRow("disabled on") << true << false << true << ":/images/switch_on_disabled.png";
    QTest::newRow("disabled off") << false << false << true << ":/images/switch_off_disabled.png";
    QTest::newRow("disabled on without the look") << true << false << false << ":/images/switch_on.png";
    QTest::newRow("disabled off without the look") << false << false << false << ":/images/switch_off.png";
    QTest::newRow("enabled without the look") << true << true << false << ":/images/switch_on.png";
}

// The picture at its own size in the middle, also on a bigger switch: never enlarged.
void TestVexmarControls::switchPictures()
{
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(bool, disabledLook);
    QFETCH(QString, picture);

    const QImage image = QImage(picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(image.size(), QSize(72, 35));
    QImage expected(image.size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(QColor(20, 20, 20));
    QPainter(&expected).drawImage(0, 0, image);

    for (const QSize size : {QSize(72, 35), QSize(150, 71)}) {
        auto *control = place(new QVexmarSwitch);
        control->resize(size);
        control->setCheckable(true);
        control->setChecked(checked);
        control->setEnabled(enabled);
        control->setDisabledLook(disabledLook);
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
        const QPoint corner = control->pos() + QPoint((size.width() - 72) / 2, (size.height() - 35) / 2);
        const QImage shown = m_window->grab(QRect(corner, QSize(72, 35))).toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), expected);
        if (size.width() > 72)
            QCOMPARE(pixelAt(m_window->grab(control->geometry()).toImage(), 2, 2), rgb(20, 20, 20));
        delete control;
    }
}

void TestVexmarControls::audioLabelPanning()
{
    QVexmarAudio label;
    QCOMPARE(label.focusPolicy(), Qt::NoFocus);
    QSignalSpy panSpy(&label, &QVexmarAudio::panningChanged);
    for (const auto pan : {QVexmar::PanLeftRight, QVexmar::PanLeftRight, QVexmar::PanRight, QVexmar::PanEqual})
        label.setPanning(pan);
    QCOMPARE(ints(panSpy), (QList<int> {3, 2, 0}));
}

QTEST_MAIN(TestVexmarControls)
#include "tst_vexmarcontrols.moc"
