#include "tests/pixeltesting.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarpanels.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

namespace {

const QRgb groundColour = rgb(20, 20, 20);
const QRgb black = rgb(0, 0, 0);
const QRgb white = rgb(255, 255, 255);
const QRgb green = rgb(0, 255, 0);
const QRgb red = rgb(255, 0, 0);
const QRgb orange = rgb(255, 127, 39);
const QRgb darkGreen = rgb(0, 146, 64);
const QRgb stateGrey = rgb(127, 127, 127);
const QRgb gaugeGrey = rgb(80, 80, 80);
const QRgb screenBlue = rgb(0, 162, 232);

template<class T>
T *onGround(T *widget)
{
    widget->setPalette(groundPalette());
    return widget;
}

QImage picture(QWidget &widget)
{
    return widget.grab().toImage();
}

using StatusOperation = std::function<void(IVexmarStatusPanel &)>;

} // namespace

Q_DECLARE_METATYPE(StatusOperation)

class TestVexmarIndicators : public QObject
{
    Q_OBJECT

private slots:
    void battery_data();
    void battery();
    void gauge_data();
    void gauge();
    void signalBars_data();
    void signalBars();
    void toolbarSwipe_data();
    void toolbarSwipe();
    void sipButton_data();
    void sipButton();
    void connectionTile_data();
    void connectionTile();
    void streamSides_data();
    void streamSides();
    void statusPanel_data();
    void statusPanel();
};

void TestVexmarIndicators::battery_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("level");
    QTest::addColumn<QRgb>("outline");
    QTest::addColumn<int>("rows"); // filled from row 34 up
    QTest::addColumn<QRgb>("fill");

    QTest::newRow("discharging, empty") << 1 << 0 << red << 0 << red;
    QTest::newRow("discharging, 20 %: red") << 1 << 20 << red << 5 << red;
    QTest::newRow("discharging, 21 %: orange") << 1 << 21 << black << 5 << orange;
    QTest::newRow("discharging, 40 %") << 1 << 40 << black << 10 << orange;
    QTest::newRow("discharging, 41 %: green") << 1 << 41 << black << 11 << green;
    QTest::newRow("discharging, above 100 %: clamped") << 1 << 250 << black << 27 << green;
    QTest::newRow("below 0 %: clamped") << 1 << -5 << red << 0 << red;
    QTest::newRow("not detected: outline only") << 0 << 80 << black << 0 << black;
    QTest::newRow("full: dark green") << 3 << 100 << darkGreen << 27 << darkGreen;
    QTest::newRow("full at 10 %: red") << 3 << 10 << red << 27 << red;
    QTest::newRow("any other state fills") << 7 << 60 << black << 16 << green;
    QTest::newRow("charging") << 2 << 60 << black << 16 << green;
}

void TestVexmarIndicators::battery()
{
    QFETCH(int, state);
    QFETCH(int, level);
    QFETCH(QRgb, outline);
    QFETCH(int, rows);
    QFETCH(QRgb, fill);

    QVexmarBattery battery;
    onGround(&battery);
    battery.setState(state);
    battery.setLevel(level);
    const QImage image = picture(battery);
    QCOMPARE(countPixels(image, QRect(5, 0, 14, 5), outline), 14 * 5); // the terminal
    // Beside the bolt of a charging battery.
    const QRect filled
        = state == 2 ? QRect(QPoint(19, 23), QPoint(20, 34)) : QRect(QPoint(3, 35 - rows), QPoint(20, 34));
    if (rows > 0)
        QCOMPARE(countPixels(image, filled, fill), filled.width() * filled.height());
    const QRect empty = state == 2 ? QRect(3, 8, 8, 7) : QRect(QPoint(3, 8), QPoint(20, 34 - rows));
    if (rows < 27)
        QCOMPARE(countPixels(image, empty, groundColour), empty.width() * empty.height());
    if (state == 2)
        QCOMPARE(pixelAt(image, 12, 22), black); // inside the bolt
}

void TestVexmarIndicators::gauge_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("stripes");

    QTest::newRow("100") << 100 << true << 6;
    QTest::newRow("85: all six") << 85 << true << 6;
    QTest::newRow("84: five") << 84 << true << 5;
    QTest::newRow("70") << 70 << true << 5;
    QTest::newRow("55") << 55 << true << 4;
    QTest::newRow("40") << 40 << true << 3;
    QTest::newRow("25") << 25 << true << 2;
    QTest::newRow("10") << 10 << true << 1;
    QTest::newRow("9: none") << 9 << true << 0;
    QTest::newRow("above 100") << 130 << true << 6;
    QTest::newRow("no value") << -1 << true << 0;
    QTest::newRow("-7 is no value") << -7 << true << 0;
    QTest::newRow("disabled, 84") << 84 << false << 5;
}

// Down the left edge, clear of the "?" in the middle: the top strip, one 6-row stripe per threshold reached
// from the bottom up, the arrow's base.
void TestVexmarIndicators::gauge()
{
    QFETCH(int, quality);
    QFETCH(bool, enabled);
    QFETCH(int, stripes);

    QVexmarNetQuality gauge;
    onGround(&gauge);
    gauge.setValue(quality);
    gauge.setEnabled(enabled);
    const QImage image = picture(gauge);
    const QRgb colour = enabled ? white : gaugeGrey;
    QCOMPARE(countPixels(image, QRect(0, 0, 19, 4), colour), 19 * 4);
    QCOMPARE(countPixels(image, QRect(1, 4, 1, 50), colour), 6 * stripes);
    for (int k = 0; k < stripes; ++k)
        QCOMPARE(countPixels(image, QRect(0, 46 - 8 * k, 19, 6), colour), 19 * 6);
    QCOMPARE(pixelAt(image, 9, 62), colour);

    // "?" for no value: the same picture as -1, and not that of a gauge without stripes.
    QVexmarNetQuality reference;
    onGround(&reference);
    reference.setEnabled(enabled);
    reference.setValue(quality < 0 ? 9 : -1);
    QVERIFY(picture(reference) != image);
    if (quality < 0) {
        reference.setValue(-1);
        QCOMPARE(picture(reference), image);
    }
}

void TestVexmarIndicators::signalBars_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("bars");
    QTest::addColumn<QString>("shown"); // per bar: '.' empty, 'b' black, 'r' red; or the word

    QTest::newRow("none") << 0 << 0 << ".....";
    QTest::newRow("three") << 0 << 3 << "bbb..";
    QTest::newRow("nine: five") << 0 << 9 << "bbbbb";
    QTest::newRow("below 0: none") << 0 << -2 << ".....";
    QTest::newRow("state 1: red") << 1 << 2 << "rr...";
    QTest::newRow("no state yet: red") << -1 << 5 << "rrrrr";
    QTest::newRow("SIM") << 4 << 3 << "SIM";
    QTest::newRow("PIN") << 5 << 3 << "PIN";
    QTest::newRow("PIN again") << 6 << 5 << "PIN";
}

void TestVexmarIndicators::signalBars()
{
    QFETCH(int, state);
    QFETCH(int, bars);
    QFETCH(QString, shown);

    QVexmarSigQuality gauge;
    onGround(&gauge);
    gauge.setSignal(state, bars);
    const QImage image = picture(gauge);
    QCOMPARE(countPixels(image, QRect(0, 19, 29, 4), black), 5 * 5 * 4); // five bases
    QCOMPARE(pixelAt(image, 5, 20), groundColour);
    if (shown.size() == 3) {
        // A word instead of bars: the bars make no difference, and it is not the empty gauge.
        QVexmarSigQuality other;
        onGround(&other);
        other.setSignal(state, bars == 0 ? 5 : 0);
        QCOMPARE(picture(other), image);
        other.setSignal(0, 0);
        QVERIFY(picture(other) != image);
        return;
    }
    for (int k = 0; k < 5; ++k) {
        const QRgb expected = shown.at(k) == 'b' ? black : shown.at(k) == 'r' ? red : groundColour;
        const QRect bar(QPoint(6 * k, 12 - 3 * k), QPoint(6 * k + 4, 17));
        QCOMPARE(countPixels(image, bar, expected), bar.width() * bar.height());
    }
}

void TestVexmarIndicators::toolbarSwipe_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<QList<int>>("moves"); // x of each move of one drag; -1 is a press (a new drag)
    QTest::addColumn<bool>("open");

    QTest::newRow("left, 9 toward the centre") << true << QList<int> {20, 29} << false;
    QTest::newRow("left, 10 toward the centre") << true << QList<int> {20, 30} << true;
    QTest::newRow("left, 10 toward the edge") << true << QList<int> {30, 20} << false;
    QTest::newRow("right, 9 toward the centre") << false << QList<int> {30, 21} << false;
    QTest::newRow("right, 10 toward the centre") << false << QList<int> {30, 20} << true;
    QTest::newRow("back 9 past the start") << true << QList<int> {20, 30, 11} << true;
    QTest::newRow("back 10 past the start") << true << QList<int> {20, 30, 10} << false;
    QTest::newRow("and forward again") << true << QList<int> {20, 30, 10, 31} << true;
    QTest::newRow("a new drag, 10 toward the edge") << true << QList<int> {20, 30, -1, 50, 40} << false;
    QTest::newRow("a new drag, 9 toward the edge") << true << QList<int> {20, 30, -1, 50, 41} << true;
    QTest::newRow("outside the toolbar") << true << QList<int> {20, 200} << false;
    QTest::newRow("right, open and closed") << false << QList<int> {30, 20, -1, 10, 25} << false;
}

// The closed toolbar shows a tab at its edge; the open one an outline.
void TestVexmarIndicators::toolbarSwipe()
{
    QFETCH(bool, left);
    QFETCH(QList<int>, moves);
    QFETCH(bool, open);

    QVexmarToolbar toolbar(left);
    onGround(&toolbar);
    toolbar.resize(120, 500);
    for (int x : moves) {
        if (x < 0)
            QTest::mousePress(&toolbar, Qt::LeftButton, {}, QPoint(60, 250));
        else
            touch(&toolbar, QEvent::MouseMove, QPoint(x, 250));
    }
    const QImage image = picture(toolbar);
    const int tabX = left ? 6 : 120 - 7;
    QCOMPARE(pixelAt(image, tabX, 250), open ? groundColour : screenBlue);
    QCOMPARE(pixelAt(image, 60, 0), open ? screenBlue : groundColour);
    QCOMPARE(pixelAt(image, 60, 250), groundColour);
}

void TestVexmarIndicators::sipButton_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QRgb>("face");

    QTest::newRow("as built") << QList<int>() << stateGrey;
    QTest::newRow("registered over IP") << QList<int> {1} << green;
    QTest::newRow("registered otherwise") << QList<int> {2} << darkGreen;
    QTest::newRow("not registered") << QList<int> {3} << red;
    QTest::newRow("unknown") << QList<int> {9} << stateGrey;
    QTest::newRow("idle again") << QList<int> {3, 0} << stateGrey;
}

void TestVexmarIndicators::sipButton()
{
    QFETCH(QList<int>, states);
    QFETCH(QRgb, face);

    QVexmarSipPanel panel;
    onGround(&panel);
    for (int state : states)
        panel.setState(state);
    const QImage image = picture(panel);
    QCOMPARE(countPixels(image, QRect(2, 2, 4, 20), face), 4 * 20); // left of "SIP"

    // Its gauges stay grey until the line carries a call.
    QCOMPARE(pixelAt(image, 4, 29), gaugeGrey);
}

void TestVexmarIndicators::connectionTile_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QRgb>("face");
    QTest::addColumn<QRgb>("icon"); // the disc of the phone picture, or the face

    const QRgb callGreen = rgb(20, 160, 60);
    const QRgb hangUpRed = rgb(215, 30, 30);
    QTest::newRow("0") << 0 << stateGrey << stateGrey;
    QTest::newRow("1") << 1 << rgb(170, 255, 170) << rgb(170, 255, 170);
    QTest::newRow("2: call") << 2 << green << callGreen;
    QTest::newRow("3") << 3 << rgb(255, 255, 0) << hangUpRed;
    QTest::newRow("4") << 4 << red << hangUpRed;
    QTest::newRow("5") << 5 << rgb(240, 101, 101) << hangUpRed;
    QTest::newRow("6") << 6 << rgb(234, 177, 102) << rgb(234, 177, 102);
    QTest::newRow("7") << 7 << stateGrey << stateGrey;
}

void TestVexmarIndicators::connectionTile()
{
    QFETCH(int, state);
    QFETCH(QRgb, face);
    QFETCH(QRgb, icon);

    QWidget ground;
    onGround(&ground)->setAutoFillBackground(true);
    ground.resize(240, 160);
    auto *tile = new QVexmarConnInfo(&ground);
    tile->setGeometry(10, 10, 200, 120);
    tile->setState(state);
    const QImage image = ground.grab().toImage();
    QCOMPARE(pixelAt(image, 10 + 8, 10 + 100), face);
    QCOMPARE(pixelAt(image, 10 + 5 + 25, 10 + 5 + 46), icon);
    QCOMPARE(pixelAt(image, 10 + 1, 10 + 1), rgb(20, 20, 20)); // a rounded corner

    // Square, thicker frame; widths below 1 and negative radii are ignored.
    tile->setRadius(-1.0f);
    tile->setBorderWidth(0);
    QCOMPARE(pixelAt(ground.grab().toImage(), 10 + 1, 10 + 1), rgb(20, 20, 20));
    tile->setRadius(0.0f);
    QCOMPARE(pixelAt(ground.grab().toImage(), 10 + 1, 10 + 1), face);

    QSignalSpy clicked(tile, &QVexmarConnInfo::clicked);
    QTest::mouseClick(tile, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

void TestVexmarIndicators::streamSides_data()
{
    QTest::addColumn<QList<int>>("sides");
    QTest::addColumn<bool>("mirrored");
    QTest::addColumn<int>("moved"); // children moved by the last call

    QTest::newRow("the side it has") << QList<int> {0} << false << 0;
    QTest::newRow("mirrored") << QList<int> {1} << true << 4;
    QTest::newRow("mirrored again") << QList<int> {1, 1} << true << 0;
    QTest::newRow("any other side is mirrored") << QList<int> {1, 2} << true << 0;
    QTest::newRow("back") << QList<int> {1, 0} << false << 4;
}

void TestVexmarIndicators::streamSides()
{
    QFETCH(QList<int>, sides);
    QFETCH(bool, mirrored);
    QFETCH(int, moved);

    QVexmarStreamerPanel panel;
    panel.show(); // hidden widgets keep their moves for later
    int moves = 0;
    struct Probe : QObject
    {
        int *moves;
        bool eventFilter(QObject *, QEvent *event) override
        {
            *moves += event->type() == QEvent::Move ? 1 : 0;
            return false;
        }
    } probe;
    probe.moves = &moves;
    const auto places = [&panel](bool mirror) {
        QList<QRect> rects;
        for (const QWidget *child : panel.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            const QRect r = child->geometry();
            rects << (mirror ? QRect(panel.width() - 1 - r.right(), r.y(), r.width(), r.height()) : r);
        }
        std::sort(rects.begin(), rects.end(),
            [](const QRect &a, const QRect &b) { return std::make_pair(a.x(), a.y()) < std::make_pair(b.x(), b.y()); });
        return rects;
    };
    const QList<QRect> asBuilt = places(false);
    for (QWidget *child : panel.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        child->installEventFilter(&probe);
    for (int side : sides) {
        moves = 0;
        panel.setSide(side);
    }
    QCOMPARE(moves, moved);
    // Mirrored, the parts take the mirror images of their places, the title's text at the outer edge.
    QCOMPARE(places(mirrored), asBuilt);
    auto *title = panel.findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(title->alignment(), (mirrored ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

void TestVexmarIndicators::statusPanel_data()
{
    QTest::addColumn<StatusOperation>("operation");
    QTest::addColumn<QPoint>("where"); // null: nothing changes
    QTest::addColumn<QRgb>("colour");

    // Stream 1 at x 0 (SIP panels at 0 and 56, graphs at 112), stream 2 mirrored at x 478 (graphs at 478, SIP
    // panels at 807 and 863). A gauge's top strip is 3 pixels in and 28 down; a graph is at full scale as built.
    using Op = StatusOperation;
    using Panel = IVexmarStatusPanel;
    const QPoint none;
    dataRow("line 1 of codec 1", Op([](Panel &p) { p.setLineEnabled(1, 1, true); }), QPoint(0 + 4, 29), white);
    dataRow("line 7 is SIP panel 2", Op([](Panel &p) { p.setLineEnabled(2, 7, true); }), QPoint(863 + 4, 29), white);
    dataRow("codec 3: no stream", Op([](Panel &p) { p.setLineEnabled(3, 1, true); }), none, 0u);
    dataRow("codec 0: no stream", Op([](Panel &p) { p.setSipState(0, 1, 1); }), none, 0u);
    dataRow("SIP state of stream 2, account 1", Op([](Panel &p) { p.setSipState(2, 1, 3); }), QPoint(807 + 3, 12), red);
    dataRow("net quality of stream 1, line 2", Op([](Panel &p) { p.setNetQuality(1, 2, 9, 100); }),
        QPoint(56 + 4, 28 + 8), groundColour);
    dataRow("codec state 3 is ignored", Op([](Panel &p) { p.setCodecState(3, 1); }), none, 0u);
    dataRow("codec state 2: two bars", Op([](Panel &p) { p.setCodecState(1, 2); }), QPoint(112 + 100, 28 + 12),
        groundColour);
    dataRow("codec state 0 keeps one bar", Op([](Panel &p) { p.setCodecState(2, 0); }), none, 0u);
    dataRow("levels of codec 2, Tx", Op([](Panel &p) { p.setCodecLevels(2, 99, 99, 0, 0, false); }),
        QPoint(478 + 100, 28 + 12), groundColour);
    dataRow("levels of codec 3", Op([](Panel &p) { p.setCodecLevels(3, 99, 99, 99, 99, true); }), none, 0u);
    dataRow("what the panel does not show", Op([](Panel &p) {
        p.setBatteryInfo(10, 1, 30);
        p.setNetworkType(0x300, 3);
        p.setCodecDescription(1, QStringLiteral("Opus"));
        p.setNetworkUp(true);
        p.setNetworkInfo(2, 4);
        p.setCallText(1, QStringLiteral("Incoming call..."));
        p.setCallState(1, 4);
        p.setCallPanelText(1, QStringLiteral("1234"), 0);
        p.resetCallPanel(1);
    }),
        none, 0u);
}

// Through the interface, as the screen window finds it on a page.
void TestVexmarIndicators::statusPanel()
{
    QFETCH(StatusOperation, operation);
    QFETCH(QPoint, where);
    QFETCH(QRgb, colour);

    QWidget page;
    onGround(&page);
    auto *panel = new QVexmarStatusPanel(5, &page);
    auto *status = dynamic_cast<IVexmarStatusPanel *>(page.findChild<QWidget *>());
    QVERIFY(status);
    const QImage before = panel->grab().toImage();
    operation(*status);
    const QImage after = panel->grab().toImage();
    if (where.isNull()) {
        QCOMPARE(after, before);
    } else {
        QVERIFY(pixelAt(before, where.x(), where.y()) != colour);
        QCOMPARE(pixelAt(after, where.x(), where.y()), colour);
    }
}

QTEST_MAIN(TestVexmarIndicators)
#include "tst_vexmarindicators.moc"
