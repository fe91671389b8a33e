#include "tests/pixeltesting.h"
#include "tests/vexmarkeyrecorder.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarmatrix.h"

#include <QPainter>
#include <QScrollArea>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QRgb white = rgb(255, 255, 255);
const QRgb grey = rgb(127, 127, 127);
const QRgb red = rgb(255, 0, 0);
const QRgb blue = rgb(0, 162, 232);
// Behind the strips: anti-aliased white or grey text never mixes with it into exact white or grey.
const QColor ground(0, 0, 200);

// 'c'lick, '+' '-' 'A' keys, mouse wheel 'u'p, 'd'own and '0' (no movement), the focus to the 'o'ther knob; the
// owner's calls with a number: value '=', minimum '<', maximum '>'.
void act(QVexmarMatrixKnob *knob, const QString &actions, QWidget *other)
{
    for (int i = 0; i < actions.size(); ++i) {
        const char letter = actions.at(i).toLatin1();
        if (QByteArray("=<>").contains(letter)) {
            int end = i + 2;
            while (end < actions.size() && actions.at(end).isDigit())
                ++end;
            const int number = actions.mid(i + 1, end - i - 1).toInt();
            i = end - 1;
            letter == '='       ? knob->setValue(number)
                : letter == '<' ? knob->setMinimum(number)
                                : knob->setMaximum(number);
        } else if (letter == 'u' || letter == 'd' || letter == '0') {
            turnWheel(knob, letter == 'u' ? 120 : letter == 'd' ? -120 : 0);
        } else if (letter == 'c') {
            QTest::mouseClick(knob, Qt::LeftButton);
        } else if (letter == 'o') {
            other->setFocus();
        } else {
            QTest::keyClick(knob, letter == '+' ? Qt::Key_Plus : letter == '-' ? Qt::Key_Minus : Qt::Key_A);
        }
    }
}

// The control as it shows on the ground of the window it stands in.
QImage shot(QWidget *control)
{
    control->show();
    return control->parentWidget()->grab(control->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestVexmarMatrix : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void knobTurns_data();
    void knobTurns();
    void knobEmptyRangeShowsMinimum();
    void nodePixels_data();
    void nodePixels();
    void arrowPixels_data();
    void arrowPixels();
    void scrollBarPixels_data();
    void scrollBarPixels();
    void scrollAreaDrags_data();
    void scrollAreaDrags();
    void dragsFromTheContent();
    void padlockPictures();
    void stripStates_data();
    void stripStates();
    void stripStereo();
    void stripForwards();

private:
    QWidget *m_window = nullptr;
    VexmarKeyRecorder *m_screen = nullptr;
};

void TestVexmarMatrix::init()
{
    qRegisterMetaType<QVexmar::PanCtrl>();
    m_screen = new VexmarKeyRecorder;
    g_screenWindow = m_screen;
    m_window = new QWidget;
    m_window->resize(600, 400);
    QPalette palette;
    palette.setColor(QPalette::Window, ground);
    palette.setColor(QPalette::WindowText, Qt::white);
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
}

void TestVexmarMatrix::cleanup()
{
    delete m_window;
    delete m_screen;
}

void TestVexmarMatrix::knobTurns_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<int>>("values");

    // The mixer pages' range, 0..12 by 1; keys and wheel act on a knob selected by a click.
    dataRow("+ inside", 6, "c+", 7, QList<int> {7});
    dataRow("- inside", 6, "c-", 5, QList<int> {5});
    dataRow("- at the minimum", 0, "c-", 0, QList<int>());
    dataRow("wheel up, down inside", 6, "cud", 6, QList<int> {7, 6});
    dataRow("wheel up at the maximum", 12, "cu", 12, QList<int>());
    dataRow("a still wheel turns down", 6, "c0", 5, QList<int> {5});
    dataRow("up the whole range and past it", 0, "c" + QString(13, '+'), 12,
        QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    dataRow("down by the wheel and past it", 3, "cdddd", 0, QList<int> {2, 1, 0});
    dataRow("other keys", 6, "cA", 6, QList<int>());
    dataRow("unselected inside", 6, "+-ud0A", 6, QList<int>());
    dataRow("losing the focus ends the selection", 6, "co+u", 6, QList<int>());
    // The owner's calls.
    dataRow("minimum above the value raises it silently", 6, "<9", 9, QList<int>());
    dataRow("maximum below the value lowers it silently", 6, ">2", 2, QList<int>());
    dataRow("value inside", 6, "=8", 8, QList<int> {8});
    dataRow("the same value", 6, "=6", 6, QList<int>());
    dataRow("above the range clamps", 6, "=40", 12, QList<int> {12});
    dataRow("below the range clamps", 6, "=-3", 0, QList<int> {0});
    dataRow("clamped onto the value: no signal", 6, "=12=13=99", 12, QList<int> {12});
    dataRow("value within a raised minimum", 6, "<9=4", 9, QList<int>());
}

// Whatever the knob does not take is dropped: nothing reaches the screen.
void TestVexmarMatrix::knobTurns()
{
    QFETCH(int, start);
    QFETCH(QString, actions);
    QFETCH(int, value);
    QFETCH(QList<int>, values);

    auto *knob = new QVexmarMatrixKnob(m_window);
    knob->setGeometry(10, 10, 100, 100);
    knob->show();
    knob->setMaximum(12);
    knob->setValue(start);
    auto *other = new QVexmarMatrixKnob(m_window);
    other->show();
    QSignalSpy spy(knob, &QVexmarMatrixKnob::valueChanged);
    act(knob, actions, other);
    QCOMPARE(knob->value(), value);
    QCOMPARE(ints(spy), values);
    QCoreApplication::sendPostedEvents(m_screen);
    QVERIFY(m_screen->posted.isEmpty());
}

// An empty range (as at construction) draws the pointer where the minimum of any range has it.
void TestVexmarMatrix::knobEmptyRangeShowsMinimum()
{
    const auto picture = [](int minimum, int maximum, int value) {
        QVexmarMatrixKnob knob;
        knob.resize(100, 100);
        knob.setMinimum(minimum);
        knob.setMaximum(maximum);
        knob.setValue(value);
        return knob.grab().toImage();
    };
    const QImage atMinimum = picture(0, 12, 0);
    QCOMPARE(picture(0, 0, 0), atMinimum);
    QCOMPARE(picture(5, 5, 5), atMinimum);
    QVERIFY(picture(0, 12, 12) != atMinimum);
}

void TestVexmarMatrix::nodePixels_data()
{
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<int>("mask");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("wires"); // the sides drawn white: "lrtb"
    QTest::addColumn<QRgb>("centre");

    const QRgb none = rgb(ground);
    QTest::newRow("plain, 0: a full cross") << false << 0 << false << true << "lrtb" << white;
    QTest::newRow("plain, 3: left and right") << false << 3 << false << true << "lr" << white;
    QTest::newRow("plain, 12: top and bottom") << false << 12 << false << true << "tb" << white;
    QTest::newRow("plain, 5: left and top") << false << 5 << false << true << "lt" << white;
    QTest::newRow("plain, disabled: grey") << false << 3 << false << false << "" << grey;
    QTest::newRow("crosspoint, 0: four stubs") << true << 0 << false << true << "lrtb" << none;
    QTest::newRow("crosspoint, 14: no left stub") << true << 14 << false << true << "rtb" << none;
    QTest::newRow("crosspoint checked: red disc") << true << 7 << true << true << "lrt" << red;
    QTest::newRow("crosspoint checked and disabled: grey disc") << true << 7 << true << false << "" << grey;
}

// At the pages' 104 x 74: the centre is (51, 36); the lines have no anti-aliased edge across them.
void TestVexmarMatrix::nodePixels()
{
    QFETCH(bool, checkable);
    QFETCH(int, mask);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    QFETCH(QString, wires);
    QFETCH(QRgb, centre);

    auto *node = new QVexmarMatrixNode(checkable, m_window);
    node->setGeometry(10, 10, 104, 74);
    node->setLineSides(mask);
    node->setChecked(checked);
    node->setEnabled(enabled);
    const QImage image = shot(node);
    for (const auto &[side, point] :
        {std::pair('l', QPoint(4, 36)), {'r', QPoint(99, 36)}, {'t', QPoint(51, 4)}, {'b', QPoint(51, 69)}})
        QVERIFY2((pixelAt(image, point.x(), point.y()) == white) == wires.contains(QLatin1Char(side)),
            qPrintable(QString(side)));
    if (!enabled && !checkable)
        QCOMPARE(pixelAt(image, 4, 36), grey);
    QCOMPARE(pixelAt(image, 51, 36), centre);
}

void TestVexmarMatrix::arrowPixels_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QPoint>("inside");
    QTest::addColumn<QPoint>("outside");

    // 26 x 20, as the pages place them.
    QTest::newRow("0 left") << 0 << QPoint(18, 10) << QPoint(2, 2);
    QTest::newRow("1 right") << 1 << QPoint(8, 10) << QPoint(23, 2);
    QTest::newRow("2 up") << 2 << QPoint(13, 14) << QPoint(2, 2);
    QTest::newRow("3 down") << 3 << QPoint(13, 6) << QPoint(2, 17);
    QTest::newRow("4 nothing") << 4 << QPoint(-1, -1) << QPoint(13, 10);
}

void TestVexmarMatrix::arrowPixels()
{
    QFETCH(int, direction);
    QFETCH(QPoint, inside);
    QFETCH(QPoint, outside);

    auto *arrow = new QVexmarMatrixArrow(direction, m_window);
    arrow->setGeometry(10, 10, 26, 20);
    const QImage image = shot(arrow);
    if (inside.x() < 0)
        QCOMPARE(countPixels(image, image.rect(), rgb(ground)), 26 * 20);
    else
        QCOMPARE(pixelAt(image, inside.x(), inside.y()), white);
    QCOMPARE(pixelAt(image, outside.x(), outside.y()), rgb(ground));
}

void TestVexmarMatrix::scrollBarPixels_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("start"); // of the handle; -1 none

    QTest::newRow("range 0: the track only") << true << 0 << 0 << 0 << -1;
    QTest::newRow("range 100 at 50") << true << 0 << 100 << 50 << 80;
    QTest::newRow("horizontal, range 100 at 50") << false << 0 << 100 << 50 << 80;
    QTest::newRow("at the top") << true << 0 << 100 << 0 << 0;
    QTest::newRow("at the end") << false << 0 << 100 << 100 << 160;
    QTest::newRow("a range from -50, in its middle") << true << -50 << 50 << 0 << 80;
}

// 10 x 200 (or 200 x 10): the handle is 40 pixels long.
void TestVexmarMatrix::scrollBarPixels()
{
    QFETCH(bool, vertical);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, start);

    QVexmarMatrixScrollBar bar(vertical);
    bar.resize(vertical ? QSize(10, 200) : QSize(200, 10));
    bar.setRange(minimum, maximum);
    bar.setValue(value);
    const QImage image = bar.grab().toImage();
    for (int along = 0; along < 200; ++along) {
        const bool inHandle = start >= 0 && along >= start && along < start + 40;
        const QRect across = vertical ? QRect(0, along, 10, 1) : QRect(along, 0, 1, 10);
        QVERIFY2(countPixels(image, across, inHandle ? blue : grey) == 10, qPrintable(QString::number(along)));
    }
}

void TestVexmarMatrix::scrollAreaDrags_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QStringList>("events"); // "p" press, "r" release, else a move to that position on the axis
    QTest::addColumn<int>("scrolled");

    for (const bool vertical : {true, false}) {
        const char *const orientation = vertical ? "vertical: " : "horizontal: ";
        const auto row = [&](const char *name) {
            return &(QTest::newRow(qPrintable(QLatin1String(orientation) + QLatin1String(name))) << vertical);
        };
        *row("25 in one move scrolls one step") << QStringList {"p", "100", "75"} << 10;
        *row("25 back") << QStringList {"p", "100", "125"} << -10;
        *row("9 scrolls nothing") << QStringList {"p", "100", "91"} << 0;
        *row("10 scrolls a step") << QStringList {"p", "100", "90"} << 10;
        *row("short moves add up from the last step") << QStringList {"p", "100", "95", "91", "89"} << 10;
        *row("one step per move") << QStringList {"p", "100", "60", "20"} << 20;
        *row("outside the frame, before") << QStringList {"p", "100", "-30"} << 0;
        *row("outside the frame, beyond") << QStringList {"p", "100", "200"} << 0;
        *row("the last pixel is inside") << QStringList {"p", "100", "199"} << -10;
        *row("the first move anchors anywhere") << QStringList {"p", "250", "180"} << 10;
        *row("a release forgets the position") << QStringList {"p", "100", "r", "75"} << 0;
        *row("a press forgets it too") << QStringList {"p", "100", "p", "75", "70"} << 0;
    }
}

// A 200 x 200 area over a 1000-pixel content, from 100 into it; the other axis stays at 50.
void TestVexmarMatrix::scrollAreaDrags()
{
    QFETCH(bool, vertical);
    QFETCH(QStringList, events);
    QFETCH(int, scrolled);

    auto *area = new QVexmarMatrixScrollArea(vertical, m_window);
    area->setGeometry(0, 0, 200, 200);
    auto *content = new QWidget;
    content->resize(vertical ? QSize(180, 1000) : QSize(1000, 180));
    area->scrollArea()->setWidget(content);
    area->show();
    QVERIFY(QTest::qWaitForWindowExposed(area));
    QScrollBar *bar = vertical ? area->scrollArea()->verticalScrollBar() : area->scrollArea()->horizontalScrollBar();
    QVERIFY(!bar->isEnabled());
    QVERIFY(bar->maximum() > 200);
    bar->setValue(100);

    const auto at = [vertical](int position) { return vertical ? QPoint(50, position) : QPoint(position, 50); };
    for (const QString &event : events) {
        if (event == "p")
            touch(area, QEvent::MouseButtonPress, at(100));
        else if (event == "r")
            touch(area, QEvent::MouseButtonRelease, at(100));
        else
            touch(area, QEvent::MouseMove, at(event.toInt()));
    }
    QCOMPARE(bar->value(), 100 + scrolled);
    QCOMPARE(vertical ? -content->y() : -content->x(), 100 + scrolled);
}

// A touch on the content reaches the frame through the scroll area; moves across the axis do not scroll.
void TestVexmarMatrix::dragsFromTheContent()
{
    auto *area = new QVexmarMatrixScrollArea(true, m_window);
    area->setGeometry(0, 0, 200, 200);
    auto *content = new QWidget;
    content->resize(180, 1000);
    area->scrollArea()->setWidget(content);
    area->show();
    QVERIFY(QTest::qWaitForWindowExposed(area));

    touch(content, QEvent::MouseButtonPress, QPoint(50, 150));
    touch(content, QEvent::MouseMove, QPoint(50, 150));
    touch(content, QEvent::MouseMove, QPoint(150, 150));
    QCOMPARE(area->scrollBar()->value(), 0);
    touch(content, QEvent::MouseMove, QPoint(150, 120));
    QCOMPARE(area->scrollBar()->value(), 10);
    touch(content, QEvent::MouseButtonRelease, QPoint(150, 120));
}

// A 60 x 60 padlock centres its 56 x 56 picture.
void TestVexmarMatrix::padlockPictures()
{
    auto *padlock = new QVexmarAudioPadlock(m_window);
    padlock->setGeometry(10, 10, 60, 60);
    for (const bool checked : {false, true}) {
        // Drawn from a pixmap onto a pixmap, as the padlock is and as a grab holds it: its premultiplied pixels
        // through the same blend, whatever the machine rounds.
        const QPixmap picture(
            checked ? QStringLiteral(":/images/padlock_open.png") : QStringLiteral(":/images/padlock_close.png"));
        QCOMPARE(picture.size(), QSize(56, 56));
        QPixmap expected(60, 60);
        expected.fill(ground);
        QPainter(&expected).drawPixmap(2, 2, picture);
        padlock->setChecked(checked);
        QCOMPARE(shot(padlock), expected.toImage().convertToFormat(QImage::Format_RGB32));
    }
}

void TestVexmarMatrix::stripStates_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QRgb>("name");
    QTest::addColumn<bool>("knobEnabled");

    QTest::newRow("0") << QList<int> {0} << white << true;
    QTest::newRow("1: name as it was") << QList<int> {1} << white << false;
    QTest::newRow("2: grey") << QList<int> {2} << grey << false;
    QTest::newRow("3: white") << QList<int> {2, 3} << white << false;
    QTest::newRow("2 then 1: still grey") << QList<int> {2, 1} << grey << false;
    QTest::newRow("2 then 0: white again") << QList<int> {2, 0} << white << true;
}

void TestVexmarMatrix::stripStates()
{
    QFETCH(QList<int>, states);
    QFETCH(QRgb, name);
    QFETCH(bool, knobEnabled);

    auto *strip = new QVexmarAudioKnob(0, m_window);
    strip->setText(QStringLiteral("IN 1"));
    strip->show();
    for (const int state : states)
        strip->setState(state);
    QCOMPARE(strip->knob()->isEnabled(), knobEnabled);
    const QImage image = m_window->grab(strip->geometry()).toImage();
    const QRect nameArea(25, 0, 125, 60);
    QVERIFY(countPixels(image, nameArea, name) > 10);
    QCOMPARE(countPixels(image, nameArea, name == white ? grey : white), 0);
}

void TestVexmarMatrix::stripStereo()
{
    auto *strip = new QVexmarAudioKnob(0, m_window);
    strip->show();
    QVexmarBars *graph = strip->levelGraph();
    strip->setLevels(50, 50, true);

    // One channel: the left level fills the one bar, the right one goes nowhere.
    strip->setStereo(0);
    strip->setLevels(0, 0, true);
    QVERIFY(countPixels(graph->grab().toImage(), graph->rect(), rgb(0, 255, 0)) > 0);

    strip->setStereo(1);
    const QImage both = graph->grab().toImage();
    QVERIFY(countPixels(both, QRect(0, 0, 11, 100), rgb(0, 255, 0)) > 0);
    QCOMPARE(countPixels(both, QRect(13, 0, 12, 100), rgb(0, 255, 0)), 0);
}

// Every change of the knob comes out of the strip once, with the same value; the value texts are the knob's.
void TestVexmarMatrix::stripForwards()
{
    auto *strip = new QVexmarAudioKnob(1, m_window);
    strip->setMinimum(-31, QStringLiteral("Off"));
    strip->setMaximum(16, QString());
    strip->show();
    QSignalSpy gains(strip, &QVexmarAudioKnob::knobGainChanged);
    QSignalSpy pans(strip, &QVexmarAudioKnob::knobPanningChanged);

    strip->setValue(3);
    QTest::mouseClick(strip->knob(), Qt::LeftButton);
    QTest::keyClick(strip->knob(), Qt::Key_Plus);
    QTest::keyClick(strip->knob(), Qt::Key_Enter);
    strip->setPanning(QVexmar::PanRight);
    strip->setValue(40);
    QCOMPARE(ints(gains), (QList<int> {3, 4, 16}));
    QCOMPARE(ints(pans), (QList<int> {QVexmar::PanLeftRight, QVexmar::PanRight}));
    QCOMPARE(strip->knob()->value(), 16);

    // Lookups take the first pair that matches, by exact text.
    strip->addValueText(-1, QStringLiteral("-4"));
    strip->addValueText(-2, QStringLiteral("-8"));
    strip->addValueText(-2, QStringLiteral("Mute"));
    QCOMPARE(strip->knob()->indexOfValue(-2), 1);
    QCOMPARE(strip->indexOfText(QStringLiteral("Mute")), 2);
    QCOMPARE(strip->indexOfText(QStringLiteral("mute")), -1);
    QCOMPARE(strip->valueAt(1), -2);
    // Lookups past either end find nothing.
    QCOMPARE(strip->valueAt(-1), -1);
    QCOMPARE(strip->textAt(3), QString());
    strip->clearValueTexts();
    QCOMPARE(strip->indexOfValue(-1), -1);
}

QTEST_MAIN(TestVexmarMatrix)
#include "tst_vexmarmatrix.moc"
