#include "tests/pixeltesting.h"
#include "widgets/vexmarbars.h"

#include <QRandomGenerator>
#include <QScreen>
#include <QtTest>

namespace {

const QRgb ground = rgb(20, 20, 20);
const QRgb green = rgb(0, 255, 0);
const QRgb yellow = rgb(255, 255, 0);
const QRgb red = rgb(255, 0, 0);
const QRgb grey = rgb(127, 127, 127);

// "10 30*11 40r": levels in order; *n repeats one, r sends it with resetPeak.
void feed(QVexmarBars &bars, const QString &sequence)
{
    for (const QString &token : sequence.split(' ', Qt::SkipEmptyParts)) {
        const bool reset = token.endsWith('r');
        const QString body = reset ? token.chopped(1) : token;
        const int count = body.contains('*') ? body.section('*', 1).toInt() : 1;
        const int level = body.section('*', 0, 0).toInt();
        for (int i = 0; i < count; ++i)
            bars.setLevels(level, level, reset);
    }
}

} // namespace

class TestVexmarLevels : public QObject
{
    Q_OBJECT

private slots:
    void zones_data();
    void zones();
    void peakHold_data();
    void peakHold();
    void disabledGraphBlank();
    void twoBars_data();
    void twoBars();
    void updatesPaintWhatChanged();
};

void TestVexmarLevels::zones_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("greens");
    QTest::addColumn<int>("yellows");
    QTest::addColumn<int>("reds");

    // A 325-pixel graph: 323 pixels of bar, zones of 245, 58 and 20.
    const QSize wide(325, 25);
    QTest::newRow("full scale") << wide << false << 0 << 245 << 58 << 20;
    QTest::newRow("above full scale: clamped") << wide << false << -5 << 245 << 58 << 20;
    QTest::newRow("-1 dB") << wide << false << 1 << 245 << 58 << 13; // 49 * 323 / 50 = 316
    QTest::newRow("-3 dB") << wide << false << 3 << 245 << 58 << 0; // 303
    QTest::newRow("-12 dB") << wide << false << 12 << 245 << 0 << 0;
    QTest::newRow("-20 dB") << wide << false << 20 << 193 << 0 << 0;
    QTest::newRow("bottom") << wide << false << 50 << 0 << 0 << 0;
    QTest::newRow("no value") << wide << false << 99 << 0 << 0 << 0;
    // A strip's graph, 98 pixels high: 74, 17 and 7.
    QTest::newRow("vertical full scale") << QSize(15, 100) << true << 0 << 74 << 17 << 7;
    QTest::newRow("vertical -6 dB") << QSize(15, 100) << true << 6 << 74 << 12 << 0; // 44 * 98 / 50 = 86
}

void TestVexmarLevels::zones()
{
    QFETCH(QSize, size);
    QFETCH(bool, vertical);
    QFETCH(int, level);
    QFETCH(int, greens);
    QFETCH(int, yellows);
    QFETCH(int, reds);

    QVexmarBars bars;
    bars.setPalette(groundPalette());
    bars.resize(size);
    bars.setVertical(vertical);
    bars.setLevel(level, false);
    const QImage image = bars.grab().toImage();
    // Stretches along the middle of the bar from its start (the bottom of a vertical one): the zones' colours in
    // turn, then none but the zone lines.
    const int length = vertical ? size.height() - 2 : size.width() - 2;
    const auto stretch = [&](int from, int pixels) {
        return vertical ? QRect(size.width() / 2, size.height() - 1 - from - pixels, 1, pixels)
                        : QRect(1 + from, size.height() / 2, pixels, 1);
    };
    QCOMPARE(countPixels(image, stretch(0, greens), green), greens);
    QCOMPARE(countPixels(image, stretch(greens, yellows), yellow), yellows);
    QCOMPARE(countPixels(image, stretch(greens + yellows, reds), red), reds);
    const QRect rest = stretch(greens + yellows + reds, length - greens - yellows - reds);
    QCOMPARE(countPixels(image, rest, green) + countPixels(image, rest, yellow) + countPixels(image, rest, red), 0);
    // The grey frame around the widget.
    QCOMPARE(pixelAt(image, 0, size.height() / 2), grey);
    QCOMPARE(pixelAt(image, size.width() / 2, size.height() - 1), grey);
    if (!vertical && level >= 12) {
        // The zone lines at -12 dB (x 246) and -3 dB (x 304).
        QCOMPARE(pixelAt(image, 246, 12), grey);
        QCOMPARE(pixelAt(image, 304, 12), grey);
        QCOMPARE(pixelAt(image, 275, 12), ground);
    }
}

void TestVexmarLevels::peakHold_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("sequence");
    QTest::addColumn<int>("peak"); // dB of the marker; -1 = none
    QTest::addColumn<QRgb>("colour");

    // From a peak at -10 dB (yellow), quieter updates at -30 dB: held for 10, then falling 2 dB an update.
    QTest::newRow("held, 1 update") << 325 << "10 30" << 10 << yellow;
    QTest::newRow("held, 10 updates") << 325 << "10 30*10" << 10 << yellow;
    QTest::newRow("falling, 11 updates") << 325 << "10 30*11" << 12 << green;
    QTest::newRow("falling, 12 updates") << 325 << "10 30*12" << 14 << green;
    QTest::newRow("falling, 19 updates") << 325 << "10 30*19" << 28 << green;
    QTest::newRow("met the level, 20 updates") << 325 << "10 30*20" << -1 << green;
    QTest::newRow("stays on the level") << 325 << "10 30*25" << -1 << green;
    // Past an odd level by 1 the peak hides in the fill, then snaps back onto the level.
    QTest::newRow("past an odd level") << 325 << "10 31*21" << -1 << green;
    QTest::newRow("snapped back to it") << 325 << "10 31*22 40" << 31 << green;
    QTest::newRow("a louder update restarts the hold") << 325 << "10 30*5 8 30*10" << 8 << yellow;
    QTest::newRow("an update at the peak restarts it") << 325 << "10 30*5 10 30*10" << 10 << yellow;
    QTest::newRow("reset: the peak on the quieter level") << 325 << "10 30r" << -1 << green;
    QTest::newRow("reset, then held from there") << 325 << "10 30r 45*10" << 30 << green;
    QTest::newRow("peak in the yellow zone") << 325 << "3 40" << 3 << yellow;
    QTest::newRow("peak at full scale is red") << 325 << "0 40" << 0 << red;
    QTest::newRow("no value after a peak") << 325 << "5 99*3" << 5 << yellow;
    // A 50-pixel bar: a dB a pixel. Over an empty bar a marker needs its peak beyond pixel 3.
    QTest::newRow("peak at pixel 3: no marker") << 52 << "47 50" << -1 << green;
    QTest::newRow("peak at pixel 4: marker") << 52 << "46 50" << 46 << green;
    QTest::newRow("peak at pixel 8 over a 2-pixel fill") << 52 << "42 48" << 42 << green;
}

void TestVexmarLevels::peakHold()
{
    QFETCH(int, width);
    QFETCH(QString, sequence);
    QFETCH(int, peak);
    QFETCH(QRgb, colour);

    QVexmarBars bars;
    bars.setPalette(groundPalette());
    bars.resize(width, 25);
    feed(bars, sequence);
    const int length = width - 2;
    const QImage image = bars.grab().toImage();

    // What is coloured beyond the fill of the last level is the marker.
    const int last = qBound(0, sequence.section(' ', -1).section('*', 0, 0).remove('r').toInt(), 50);
    QList<int> marker;
    for (int i = (50 - last) * length / 50; i < length; ++i) {
        if (QList<QRgb> {green, yellow, red}.contains(pixelAt(image, 1 + i, 12)))
            marker << i;
    }
    const int p = (50 - peak) * length / 50;
    QCOMPARE(marker, (peak < 0 ? QList<int>() : QList<int> {p - 4, p - 3, p - 2, p - 1}));
    if (peak >= 0)
        QCOMPARE(pixelAt(image, 1 + p - 4, 12), colour);
}

void TestVexmarLevels::disabledGraphBlank()
{
    QVexmarBars bars;
    bars.setPalette(groundPalette());
    bars.resize(325, 25);
    bars.setStereo(1);
    bars.setLevels(0, 20, false);
    bars.setEnabled(false);
    const QImage image = bars.grab().toImage();
    QCOMPARE(countPixels(image, image.rect(), ground), 325 * 25);
    bars.setEnabled(true);
    QCOMPARE(pixelAt(bars.grab().toImage(), 100, 5), green);
}

void TestVexmarLevels::twoBars_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<int>("barsPerGraph");

    QTest::newRow("as built") << QList<int>() << 1;
    QTest::newRow("stereo") << QList<int> {1} << 2;
    QTest::newRow("dual mono") << QList<int> {2} << 2;
    QTest::newRow("mono") << QList<int> {0} << 1;
    QTest::newRow("3 after 2") << QList<int> {2, 3} << 1;
    QTest::newRow("1 after 2") << QList<int> {2, 1} << 2;
}

// Counted down the middle column of both graphs at full scale: one run of green per bar.
void TestVexmarLevels::twoBars()
{
    QFETCH(QList<int>, states);
    QFETCH(int, barsPerGraph);

    QVexmarBarsEx graphs;
    graphs.setPalette(groundPalette());
    for (int state : states)
        graphs.setState(state);
    graphs.setLevels(0, 0, 0, 0, false);
    const QImage image = graphs.grab().toImage();
    for (const int top : {0, 42}) {
        int runs = 0;
        bool inside = false;
        for (int y = top; y < top + 25; ++y) {
            const bool lit = pixelAt(image, 100, y) == green;
            runs += lit && !inside ? 1 : 0;
            inside = lit;
        }
        QCOMPARE(runs, barsPerGraph);
    }
}

// A live graph repaints only when a value changed, and only the stretch that changed; what the screen then
// shows is what a full painting would show.
void TestVexmarLevels::updatesPaintWhatChanged()
{
    QWidget window;
    window.setPalette(groundPalette());
    window.setAutoFillBackground(true);
    window.resize(420, 240);
    QList<QVexmarBars *> graphs;
    for (int i = 0; i < 4; ++i) {
        auto *bars = new QVexmarBars(&window);
        bars->setVertical(i >= 2);
        bars->setStereo(i % 2);
        bars->setGeometry(i < 2 ? QRect(10, 10 + 40 * i, 325, 25) : QRect(350 + 30 * (i - 2), 10, 25, 200));
        graphs << bars;
    }
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    int painted = 0;
    QRegion paintedArea;
    struct Probe : QObject
    {
        int *count;
        QRegion *area;
        bool eventFilter(QObject *object, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                ++*count;
                *area += static_cast<QPaintEvent *>(event)->region().translated(static_cast<QWidget *>(object)->pos());
            }
            return false;
        }
    } probe;
    probe.count = &painted;
    probe.area = &paintedArea;
    for (QVexmarBars *bars : graphs)
        bars->installEventFilter(&probe);

    const auto settle = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        QCoreApplication::processEvents();
    };
    const auto screen = [&] { return window.screen()->grabWindow(window.winId()).toImage(); };

    QRandomGenerator random(7);
    for (int round = 0; round < 40; ++round) {
        for (QVexmarBars *bars : graphs)
            bars->setLevels(random.bounded(-2, 56), random.bounded(0, 100) < 5 ? 99 : random.bounded(0, 51),
                random.bounded(0, 20) == 0);
        settle();
        QCOMPARE(screen().convertToFormat(QImage::Format_RGB32),
            window.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // A steady level: nothing painted after the first.
    painted = 0;
    for (QVexmarBars *bars : graphs)
        bars->setLevels(30, 30, true);
    settle();
    QVERIFY(painted > 0);
    painted = 0;
    for (int i = 0; i < 15; ++i) {
        for (QVexmarBars *bars : graphs)
            bars->setLevels(30, 30, false);
    }
    settle();
    QCOMPARE(painted, 0);

    // One channel's small change: only the stretch around it.
    paintedArea = QRegion();
    graphs.at(0)->setLevel(28, false);
    settle();
    QCOMPARE(painted, 1);
    const QRect area = paintedArea.boundingRect();
    QVERIFY2(area.width() < 40, qPrintable(QStringLiteral("%1 wide").arg(area.width())));
    QCOMPARE(
        screen().convertToFormat(QImage::Format_RGB32), window.grab().toImage().convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestVexmarLevels)
#include "tst_vexmarlevels.moc"
