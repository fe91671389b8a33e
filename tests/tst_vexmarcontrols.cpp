#include "tests/pixeltesting.h"
#include "tests/vexmarkeyrecorder.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarcontrols.h"

#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

#include <climits>

namespace {

const QRgb selectedBlue = rgb(0, 141, 233);

// One letter per user action: '+' '-' 'E'nter 'R'eturn 'D'evice enter 'A', mouse wheel 'u'p, 'd'own, '0' (no
// movement), 'r'ight click, left 'c'lick, a click 'o'n the other control; a jog knob's keys enabled 'K' or
// disabled 'k'. The owner's calls: 'C'hecked, 'F'ocused, 'X' disabled; with a number value '=', minimum '<',
// maximum '>', pan '%'.
int keyOf(QChar letter)
{
    const int keys[] = {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Enter, Qt::Key_Return, 0x160};
    const int index = QStringLiteral("+-ERD").indexOf(letter);
    return index < 0 ? int(Qt::Key_A) : keys[index];
}

void act(QWidget *control, const QString &actions, QWidget *other = nullptr)
{
    auto *knob = qobject_cast<QVexmarKnob *>(control);
    auto *wheel = qobject_cast<QVexmarWheel *>(control);
    for (int i = 0; i < actions.size(); ++i) {
        const char letter = actions.at(i).toLatin1();
        if (QByteArray("=<>%").contains(letter)) {
            int end = i + 2;
            while (end < actions.size() && actions.at(end).isDigit())
                ++end;
            const int number = actions.mid(i + 1, end - i - 1).toInt();
            i = end - 1;
            if (letter == '=')
                knob ? knob->setValue(number) : wheel->setValue(number);
            else if (letter == '<')
                knob->setMinimum(number, QString());
            else if (letter == '>')
                knob ? knob->setMaximum(number, QString()) : wheel->setMaximum(number);
            else
                knob->setPanning(QVexmar::PanCtrl(number));
        } else if (letter == 'u' || letter == 'd' || letter == '0') {
            turnWheel(control, letter == 'u' ? 120 : letter == 'd' ? -120 : 0);
        } else if (letter == 'r' || letter == 'c' || letter == 'o') {
            QTest::mouseClick(letter == 'o' ? other : control, letter == 'r' ? Qt::RightButton : Qt::LeftButton);
        } else if (letter == 'C' || letter == 'F' || letter == 'X') {
            auto *button = static_cast<QAbstractButton *>(control);
            letter == 'C' ? button->setChecked(true) : letter == 'F' ? button->setFocus() : button->setEnabled(false);
        } else if (letter == 'K' || letter == 'k') {
            auto *jog = static_cast<QVexmarKnobMinimal *>(control);
            letter == 'K' ? jog->enableKeys() : jog->disableKeys();
        } else if (letter != ' ') {
            // Sent, not QTest::keyClick: the device's Enter has no text of its own.
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, keyOf(letter), Qt::NoModifier);
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

QImage centre(const QImage &image)
{
    // The middle of a 100 x 100 knob: the text, clear of ring and pointer.
    return image.copy(25, 30, 50, 40);
}

using Ints = QList<int>;

} // namespace

class TestVexmarControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void actions_data();
    void actions();
    void knobCentreText_data();
    void knobCentreText();
    void keysDroppedWithoutScreen();
    void ringColours_data();
    void ringColours();
    void pointerAtDegenerateRanges();
    void switchPictures_data();
    void switchPictures();

private:
    template<class T>
    T *place(T *control);
    QAbstractButton *made(const QString &control, int minimum, int maximum, int step, int start);

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
    m_window->setPalette(groundPalette());
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

// "knob", "pan knob", "jog", "wheel" or "reverting wheel" (of minimum 0, step 1).
QAbstractButton *TestVexmarControls::made(const QString &control, int minimum, int maximum, int step, int start)
{
    if (control.endsWith("wheel")) {
        auto *wheel = place(new QVexmarWheel);
        wheel->setMaximum(maximum);
        wheel->setValue(start);
        wheel->revertOnFocusOut = control.startsWith("reverting");
        return wheel;
    }
    if (control == "jog")
        return place(new QVexmarKnobMinimal);
    auto *knob = place(new QVexmarKnob(control == "pan knob" ? 1 : 0));
    knob->setMinimum(minimum, QString());
    knob->setMaximum(maximum, QString());
    knob->setSingleStep(step);
    knob->setValue(start);
    return knob;
}

void TestVexmarControls::actions_data()
{
    QTest::addColumn<QString>("control"); // "knob", "pan knob", "jog", "wheel" or "reverting wheel" (of minimum 0)
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
    dataRow("+ would pass the maximum, - steps", "knob", 0, 10, 3, 9, "c+-", 6, Ints {6}, Ints(), "r+r-");
    dataRow("+ up to the maximum exactly", "knob", 0, 10, 5, 5, "c++", 10, Ints {10}, Ints(), "r+r+");
    dataRow("- would pass the minimum", "knob", -5, 10, 4, -2, "c-", -2, Ints(), Ints(), "r-");
    dataRow("unchecked: keys go to the screen", "knob", 0, 10, 1, 5, "+-", 5, Ints(), Ints(), "p+r+p-r-");
    dataRow("checked twice is unchecked", "knob", 0, 10, 1, 5, "cc+", 5, Ints(), Ints(), "p+r+");
    dataRow("other keys go on while checked", "pan knob", 0, 10, 1, 5, "cA", 5, Ints(), Ints(), "pArA");
    dataRow(
        "Enter cycles the pan 0 3 1 2 0", "pan knob", 0, 10, 1, 5, "cEEEE", 5, Ints(), Ints {3, 1, 2, 0}, "rErErErE");
    dataRow("Return and the device's Enter too", "pan knob", 0, 10, 1, 5, "cRD", 5, Ints(), Ints {3, 1}, "rRrD");
    dataRow("Enter on a plain knob is consumed", "knob", 0, 10, 1, 5, "cE", 5, Ints(), Ints(), "rE");
    dataRow("Enter on an unchecked knob goes on", "pan knob", 0, 10, 1, 5, "E", 5, Ints(), Ints(), "pErE");
    dataRow("right click cycles the pan", "pan knob", 0, 10, 1, 5, "crr", 5, Ints(), Ints {3, 1}, "");
    dataRow("right click, unchecked: Enter goes on", "pan knob", 0, 10, 1, 5, "r", 5, Ints(), Ints(), "pE");
    dataRow("mouse wheel up, down, still", "knob", 0, 10, 2, 4, "cud0", 2, Ints {6, 4, 2}, Ints(), "");
    dataRow("mouse wheel on an unchecked knob", "knob", 0, 10, 2, 4, "u0", 4, Ints(), Ints(), "p+p-");
    dataRow("mouse wheel stops at a limit", "knob", 0, 10, 2, 9, "cu", 9, Ints(), Ints(), "");
    // The owner's calls: values clamped, limits moving the value silently.
    dataRow("value below the minimum", "knob", 0, 10, 1, 4, "=-5", 0, Ints {0}, Ints(), "");
    dataRow("value above the maximum", "knob", 0, 10, 1, 4, "=50", 10, Ints {10}, Ints(), "");
    dataRow("the same value again", "knob", 0, 10, 1, 4, "=4", 4, Ints(), Ints(), "");
    dataRow("minimum above the value: raised, silently", "knob", 0, 10, 1, 4, "<6", 6, Ints(), Ints(), "");
    dataRow("maximum below the value: lowered, silently", "knob", 0, 10, 1, 4, ">2", 2, Ints(), Ints(), "");
    dataRow("pan on a pan-capable knob", "pan knob", 0, 10, 1, 4, "%2", 4, Ints(), Ints {2}, "");
    dataRow("pan on a plain knob", "knob", 0, 10, 1, 4, "%2", 4, Ints(), Ints(), "");
    dataRow("losing the focus unchecks", "pan knob", 0, 10, 1, 5, "co+", 5, Ints(), Ints(), "p+r+");
    // A range over all of int: neither end wraps around. A negative step turns the keys round.
    dataRow("no wrap past the top of int", "knob", INT_MIN, INT_MAX, 5, INT_MAX - 1, "c+", INT_MAX - 1, Ints(), Ints(),
        "r+");
    dataRow("no wrap past the bottom of int", "knob", INT_MIN, INT_MAX, 5, INT_MIN + 1, "c-", INT_MIN + 1, Ints(),
        Ints(), "r-");
    dataRow("negative step: + would pass the minimum", "knob", 0, 10, -3, 1, "c+-", 4, Ints {4}, Ints(), "r+r-");
    dataRow(
        "a step of all of int", "knob", INT_MIN, INT_MAX, INT_MAX, 0, "c++-", 0, Ints {INT_MAX, 0}, Ints(), "r+r+r-");
    // The jog knob never turns: it reports steps. Its checked state plays no part.
    dataRow("jog, keys disabled: + goes on", "jog", 0, 0, 0, 0, "+", 0, Ints(), Ints(), "p+r+");
    dataRow("jog, keys enabled: steps", "jog", 0, 0, 0, 0, "K+-+", 0, Ints {1, -1, 1}, Ints(), "r+r-r+");
    dataRow("jog, keys enabled: other keys go on", "jog", 0, 0, 0, 0, "KAE", 0, Ints(), Ints(), "pArApErE");
    dataRow("jog, keys enabled and disabled again", "jog", 0, 0, 0, 0, "Kk-", 0, Ints(), Ints(), "p-r-");
    dataRow("jog, mouse wheel up, down, still", "jog", 0, 0, 0, 0, "Kud0", 0, Ints {1, -1, -1}, Ints(), "");
    dataRow("jog, mouse wheel, keys disabled", "jog", 0, 0, 0, 0, "ud", 0, Ints(), Ints(), "p+p-");
    dataRow("jog, clicked off still jogs", "jog", 0, 0, 0, 0, "Kc+", 0, Ints {1}, Ints(), "r+");
    dataRow("jog, right click: Enter goes on", "jog", 0, 0, 0, 0, "Kr", 0, Ints(), Ints(), "pE");
    dataRow("wheel at 0: - is consumed", "wheel", 0, 3, 1, 0, "c-", 0, Ints(), Ints(), "r-");
    dataRow("wheel at the maximum: + is consumed", "wheel", 0, 3, 1, 3, "c+", 3, Ints(), Ints(), "r+");
    dataRow("wheel steps within", "wheel", 0, 3, 1, 1, "c++-", 2, Ints {2, 3, 2}, Ints(), "r+r+r-");
    dataRow("wheel unchecked: keys go on", "wheel", 0, 3, 1, 1, "+A", 1, Ints(), Ints(), "p+r+pArA");
    dataRow("wheel checked: other keys go on", "wheel", 0, 3, 1, 1, "cE", 1, Ints(), Ints(), "pErE");
    dataRow("wheel, a still mouse wheel counts as -", "wheel", 0, 3, 1, 2, "cu00", 1, Ints {3, 2, 1}, Ints(), "");
    dataRow("wheel unchecked, mouse wheel", "wheel", 0, 3, 1, 2, "0", 2, Ints(), Ints(), "p-");
    dataRow("wheel, right click does nothing", "wheel", 0, 3, 1, 2, "r", 2, Ints(), Ints(), "");
    dataRow("wheel set above the maximum: ignored", "wheel", 0, 5, 1, 2, "=7", 2, Ints(), Ints(), "");
    dataRow("wheel turned and left", "wheel", 0, 5, 1, 2, "c++o", 4, Ints {3, 4}, Ints(), "r+r+");
    dataRow("reverting wheel turned and left: the committed value", "reverting wheel", 0, 5, 1, 2, "c++o", 2,
        Ints {3, 4}, Ints(), "r+r+");
    dataRow("wheel, a lower maximum, turned and left", "wheel", 0, 5, 1, 2, ">1c-o", 0, Ints {0}, Ints(), "r-");
    dataRow("reverting wheel: a lower maximum lowers the committed value", "reverting wheel", 0, 5, 1, 2, ">1c-o", 1,
        Ints {0}, Ints(), "r-");
}

void TestVexmarControls::actions()
{
    QFETCH(QString, control);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, step);
    QFETCH(int, start);
    QFETCH(QString, actions);
    QFETCH(int, value);
    QFETCH(QList<int>, values);
    QFETCH(QList<int>, pans);
    QFETCH(QString, screen);

    QAbstractButton *button = made(control, minimum, maximum, step, start);
    auto *wheel = qobject_cast<QVexmarWheel *>(button);
    auto *knob = qobject_cast<QVexmarKnob *>(button);
    auto *other = place(new QVexmarWheel);
    other->move(200, 20);
    QSignalSpy valueSpy(button, SIGNAL(valueChanged(int)));
    QList<int> panned;
    if (knob)
        connect(knob, &QVexmarKnob::panningChanged, this, [&](QVexmar::PanCtrl pan) { panned << pan; });

    act(button, actions, other);
    QCOMPARE(wheel ? wheel->value() : knob->value(), value);
    QCOMPARE(ints(valueSpy), values);
    QCOMPARE(panned, pans);
    if (!pans.isEmpty())
        QCOMPARE(int(knob->panning()), pans.last());
    QCoreApplication::sendPostedEvents(m_screen);
    QCOMPARE(m_screen->posted, posted(screen));
    if (wheel && !wheel->isChecked()) {
        // The picture shows the value: the same as a wheel set there.
        auto *reference = place(new QVexmarWheel);
        reference->setMaximum(wheel->maximum());
        reference->setValue(value);
        QCOMPARE(wheel->grab().toImage(), reference->grab().toImage());
    }
}

void TestVexmarControls::knobCentreText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("minimumText");
    QTest::addColumn<QString>("maximumText");
    QTest::addColumn<QStringList>("valueTexts"); // "value=text"
    QTest::addColumn<QString>("shown");

    // The knob runs 0..10.
    dataRow("the number at the minimum without a text", 0, "", "", QStringList(), "0");
    dataRow("a value text at the minimum without a text", 0, "", "", QStringList {"0=Mic"}, "Mic");
    dataRow("the minimum text before a value text", 0, "Off", "", QStringList {"0=Mic"}, "Off");
    dataRow("the maximum text", 10, "Off", "Max", QStringList {"10=Mic"}, "Max");
    dataRow("the first text of a value", 5, "", "", QStringList {"5=Mic", "5=Line"}, "Mic");
    dataRow("the number between", 7, "Off", "Max", QStringList {"5=Mic"}, "7");
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
    QTest::addColumn<QString>("actions"); // from the focus elsewhere
    QTest::addColumn<QRgb>("colour");

    for (const char *control : {"knob", "pan knob", "wheel"}) {
        const QRgb white = rgb(255, 255, 255);
        QTest::addRow("%s idle", control) << QString(control) << QString() << white;
        QTest::addRow("%s focused, unchecked", control) << QString(control) << QStringLiteral("cc") << white;
        QTest::addRow("%s checked, not focused", control) << QString(control) << QStringLiteral("C") << white;
        QTest::addRow("%s selected", control) << QString(control) << QStringLiteral("c") << selectedBlue;
    }
    dataRow("knob disabled", "knob", "cX", rgb(127, 127, 127));
    dataRow("wheel disabled", "wheel", "cX", rgb(128, 128, 128));
    dataRow("jog idle", "jog", "", rgb(0, 0, 0));
    dataRow("jog selected", "jog", "F", rgb(0, 0, 0)); // born checked
}

// The top of the ring, in the middle of its 4-pixel line; the pointer stands at the bottom.
void TestVexmarControls::ringColours()
{
    QFETCH(QString, control);
    QFETCH(QString, actions);
    QFETCH(QRgb, colour);

    QAbstractButton *button = made(control, 0, 10, 1, 0);
    auto *elsewhere = place(new QVexmarWheel);
    elsewhere->move(200, 20);
    elsewhere->setFocus();
    act(button, actions);
    if (control == "jog" && actions == "F")
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

    dataRow("on", true, true, true, ":/images/switch_on.png");
    dataRow("off", false, true, true, ":/images/switch_off.png");
    dataRow("disabled on", true, false, true, ":/images/switch_on_disabled.png");
    dataRow("disabled off", false, false, true, ":/images/switch_off_disabled.png");
    dataRow("disabled on without the look", true, false, false, ":/images/switch_on.png");
    dataRow("disabled off without the look", false, false, false, ":/images/switch_off.png");
}

// The picture at its own size in the middle, also on a bigger switch: never enlarged.
void TestVexmarControls::switchPictures()
{
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(bool, disabledLook);
    QFETCH(QString, picture);

    // The picture drawn from a pixmap onto the window's ground, as a grab holds it: the same premultiplied pixels
    // through the same blend, whatever the machine rounds.
    const QPixmap image(picture);
    QCOMPARE(image.size(), QSize(72, 35));
    QPixmap ground(image.size());
    ground.fill(QColor(20, 20, 20));
    QPainter(&ground).drawPixmap(0, 0, image);
    const QImage expected = ground.toImage();

    for (const QSize size : {QSize(72, 35), QSize(150, 71)}) {
        auto *control = place(new QVexmarSwitch);
        control->resize(size);
        control->setCheckable(true);
        control->setChecked(checked);
        control->setEnabled(enabled);
        control->setDisabledLook(disabledLook);
        const QPoint corner = control->pos() + QPoint((size.width() - 72) / 2, (size.height() - 35) / 2);
        const QImage shown = m_window->grab(QRect(corner, QSize(72, 35))).toImage();
        QCOMPARE(shown, expected);
        if (size.width() > 72)
            QCOMPARE(pixelAt(m_window->grab(control->geometry()).toImage(), 2, 2), rgb(20, 20, 20));
        delete control;
    }
}

QTEST_MAIN(TestVexmarControls)
#include "tst_vexmarcontrols.moc"
