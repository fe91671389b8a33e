#include "pages/drawbargraph.h"
#include "tests/peers/wavebitmapwriter.h"
#include "tests/pixeltesting.h"

#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include <limits>

namespace {

const QRgb White = rgb(255, 255, 255);
const QRgb Black = rgb(0, 0, 0);
const QRgb Magenta = rgb(255, 0, 255);
const QRgb Red = rgb(255, 0, 0);
const QRgb Blue = rgb(0, 0, 255);
const QRgb Grey = rgb(202, 202, 202);

// Black pixels of one column: the envelope entry drawn there is upper + lower + 1 high.
int columnHeight(const QImage &image, int x)
{
    return countPixels(image, QRect(x, 0, 1, image.height()), Black);
}

QImage grabGraph(DrawBarGraph &graph)
{
    graph.resize(graph.sizeHint());
    return graph.grab().toImage();
}

// Every entry of segment z reaches 10 + z above the centre line and 30 below, so a column shows the segment read.
WaveBitmapContent recording(qint64 durationMs, int lastSegment, int upper = 10)
{
    WaveBitmapContent content;
    content.durationMs = durationMs;
    content.lastSegment = lastSegment;
    content.envelope
        = [upper](int segment, qint64, int) { return std::make_pair(quint8(upper + segment), quint8(30)); };
    return content;
}

} // namespace

// A page offering the slots the view connects to by name.
class EditorPageStandIn : public QWidget
{
    Q_OBJECT

public slots:
    void receiveCustomMessage_ChildIsClic(int graphId) { clicks.append(graphId); }
    void receiveCustomMessage_ChildIsWheeled(int graphId, int steps, int msPerPixel)
    {
        wheels.append({graphId, steps, msPerPixel});
    }

public:
    QVector<int> clicks;
    QVector<QVector<int>> wheels;
};

class TestDrawBarGraph : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void singleFileAroundPlayhead();
    void startEndAndMarkLines();
    void dimmed();
    void longRecordingClampedToItsFile();
    void zoomSteps();
    void project();
    void stops_data();
    void stops();
    void bounds_data();
    void bounds();
    void clickAndWheel_data();
    void clickAndWheel();

private:
    void openSingleFile(DrawBarGraph &graph, const std::string &name);

    QTemporaryDir m_dir;
};

void TestDrawBarGraph::initTestCase()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("rec")));
    QVERIFY(writeWaveBitmap(m_dir.filePath(QStringLiteral("rec/take60.wbm")), recording(60000, 9)));
    QVERIFY(writeWaveBitmap(m_dir.filePath(QStringLiteral("long.wbm")), recording(3 * 3600 * 1000, 12)));
    QVERIFY(writeWaveBitmap(m_dir.filePath(QStringLiteral("a.wbm")), recording(60000, 9, 20)));
    QVERIFY(writeWaveBitmap(m_dir.filePath(QStringLiteral("b.wbm")), recording(60000, 9, 50)));
}

void TestDrawBarGraph::openSingleFile(DrawBarGraph &graph, const std::string &name)
{
    graph.setSingleFileMode();
    graph.setFolderPrefix(m_dir.path().toStdString());
    graph.addRecord(name, 0, 0, 0);
    graph.refresh();
}

// A minute opens at 128 ms per pixel, read from segment 7; the cursor's entry sits under the playhead.
void TestDrawBarGraph::singleFileAroundPlayhead()
{
    DrawBarGraph graph;
    graph.setSingleFileMode();
    graph.refresh(); // nothing yet: the automatic zoom waits for content
    openSingleFile(graph, "rec/take60.wbm");
    QCOMPARE(graph.zoom(), 7);
    QCOMPARE(graph.durationMs(), qint64(60000));
    QCOMPARE(graph.currentFileName(), std::string("take60.wbm"));

    const QImage image = grabGraph(graph);
    QCOMPARE(countPixels(image, QRect(0, 75, 495, 1), Magenta), 495);
    QCOMPARE(countPixels(image, QRect(0, 0, 495, 75), White), 495 * 75);
    QCOMPARE(countPixels(image, QRect(498, 0, 1, 150), Red), 150);
    QCOMPARE(columnHeight(image, 501), 17 + 30 + 1);
    QCOMPARE(columnHeight(image, 960), 17 + 30 + 1);
    QCOMPARE(countPixels(image, QRect(965, 0, 5, 20), Blue), 5 * 20); // the end: 469 entries on
    QCOMPARE(pixelAt(image, 501, 75 - 18), White);

    // The duration comes from the file, whatever the zoom.
    graph.zoomDown();
    QCOMPARE(graph.zoom(), 6);
    QCOMPARE(graph.durationMs(), qint64(60000));
}

void TestDrawBarGraph::startEndAndMarkLines()
{
    DrawBarGraph graph;
    openSingleFile(graph, "rec/take60.wbm");
    graph.addMark(10000 * 48);
    QVERIFY(!graph.addMarkText(QStringLiteral("12 s")));
    QVERIFY(graph.addMarkText(QStringLiteral("960000")));
    QCOMPARE(graph.markCount(), 2);
    graph.setCursorPosition(200 * 128); // entry 0 at x 300

    const QImage image = grabGraph(graph);
    QCOMPARE(countPixels(image, QRect(298, 0, 1, 150), Blue), 150);
    QCOMPARE(countPixels(image, QRect(0, 75, 295, 1), Magenta), 295);
    QCOMPARE(countPixels(image, QRect(376, 0, 1, 20), Blue), 20); // 10 s: 78 entries on
    QCOMPARE(countPixels(image, QRect(454, 0, 1, 20), Blue), 20); // 20 s: 156
    QCOMPARE(countPixels(image, QRect(767, 0, 1, 20), Blue), 20); // the end, 60 s: 469
    QCOMPARE(countPixels(image, QRect(780, 75, 220, 1), Black), 220); // padded to the view: zero entries
    QCOMPARE(countPixels(image, QRect(0, 0, 1000, 20), Blue), 4 * 5 * 20);
}

void TestDrawBarGraph::dimmed()
{
    DrawBarGraph empty;
    empty.setDimmed();
    empty.addMark(48 * 100); // no content, no place for it
    QCOMPARE(countPixels(grabGraph(empty), QRect(0, 0, 490, 150), Grey), 490 * 150);

    DrawBarGraph graph;
    openSingleFile(graph, "rec/take60.wbm");
    graph.setDimmed();
    QCOMPARE(countPixels(grabGraph(graph), QRect(0, 0, 490, 75), Grey), 490 * 75);
    graph.softReset();
    QVERIFY(graph.isDimmed());
    graph.clearDimmed();
    QCOMPARE(countPixels(grabGraph(graph), QRect(0, 0, 490, 75), White), 490 * 75);
}

// Three hours would open at level 15; the file holds segments up to 12.
void TestDrawBarGraph::longRecordingClampedToItsFile()
{
    DrawBarGraph graph;
    openSingleFile(graph, "long.wbm");
    QCOMPARE(graph.zoom(), 12);
    QCOMPARE(graph.durationMs(), qint64(3 * 3600 * 1000));
    QCOMPARE(columnHeight(grabGraph(graph), 600), 22 + 30 + 1);
}

void TestDrawBarGraph::zoomSteps()
{
    DrawBarGraph graph(3, nullptr);
    openSingleFile(graph, "rec/take60.wbm");
    QCOMPARE(graph.zoom(), 7);

    graph.setZoom(2);
    QCOMPARE(columnHeight(grabGraph(graph), 600), 12 + 30 + 1);
    graph.setZoom(20);
    QCOMPARE(graph.zoom(), 9);
    QVERIFY(graph.isAtMaxZoom());
    QCOMPARE(columnHeight(grabGraph(graph), 600), 19 + 30 + 1);
    graph.zoomUp();
    QCOMPARE(graph.zoom(), 9);
    graph.zoomDown();
    QCOMPARE(graph.zoom(), 8);
    QCOMPARE(columnHeight(grabGraph(graph), 600), 18 + 30 + 1);
    graph.zoomToFileSegment();
    QCOMPARE(graph.zoom(), 9);
}

// Two 10 s tracks at 64 ms per pixel, 156 px each: the envelopes of their own files, a boundary after each.
void TestDrawBarGraph::project()
{
    DrawBarGraph graph;
    graph.setProjectMode();
    graph.setFolderPrefix(m_dir.path().toStdString());
    graph.addTrack("a.wbm", 48 * 5000, 48 * 15000, 0);
    graph.addTrack("b.wbm", 0, 48 * 10000, 0);
    graph.refresh();
    QCOMPARE(graph.zoom(), 6);
    graph.setCurrentTrack(1);

    const QImage image = grabGraph(graph);
    QCOMPARE(columnHeight(image, 600), 26 + 30 + 1);
    QCOMPARE(columnHeight(image, 700), 56 + 30 + 1);
    QCOMPARE(countPixels(image, QRect(656, 0, 1, 150), Magenta), 150);
    QCOMPARE(countPixels(image, QRect(810, 0, 1, 150), Blue), 150);
    QCOMPARE(countPixels(image, QRect(815, 0, 185, 150), White), 185 * 149);
    QCOMPARE(graph.currentTrack(), 1);
    QCOMPARE(graph.trackEndMs(1), qint64(20000));

    graph.clearAllRecords();
    QCOMPARE(countPixels(grabGraph(graph), QRect(0, 0, 490, 150), White), 490 * 150);
}

void TestDrawBarGraph::stops_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("mark");
    QTest::addColumn<qint64>("previous");
    QTest::addColumn<qint64>("next");
    QTest::addColumn<int>("upTo");

    // Tracks end at 1000 and 3000 ms; marks at 500, 1000 and 1001 ms.
    QTest::newRow("start") << qint64(0) << 1 << -1 << qint64(0) << qint64(500) << 0;
    QTest::newRow("on a mark") << qint64(500) << 4 << 1 << qint64(0) << qint64(1000) << 1;
    QTest::newRow("inside") << qint64(700) << 0 << -1 << qint64(500) << qint64(1000) << 1;
    QTest::newRow("mark on a track end") << qint64(1000) << 4 << 2 << qint64(500) << qint64(1001) << 3;
    QTest::newRow("a ms later") << qint64(1001) << 4 << 3 << qint64(1000) << qint64(3000) << 4;
    QTest::newRow("end") << qint64(3000) << 3 << -1 << qint64(1001) << qint64(3000) << 5;
    QTest::newRow("beyond") << qint64(4000) << 0 << -1 << qint64(3000) << qint64(3000) << 5;
}

void TestDrawBarGraph::stops()
{
    QFETCH(qint64, ms);
    QFETCH(int, kind);
    QFETCH(int, mark);
    QFETCH(qint64, previous);
    QFETCH(qint64, next);
    QFETCH(int, upTo);

    DrawBarGraph graph;
    graph.setProjectMode();
    graph.addTrack("a.wbm", 0, 48 * 1000, 0);
    graph.addTrack("a.wbm", 48 * 1000, 48 * 3000, 0);
    for (const qint64 position : {24000, 48000, 48048})
        graph.addMark(position);
    QCOMPARE(graph.durationMs(), qint64(3000));
    QCOMPARE(graph.positionKind(ms), kind);
    QCOMPARE(graph.markNumberAt(ms), mark);
    QCOMPARE(graph.previousStop(ms), previous);
    QCOMPARE(graph.nextStop(ms), next);
    QCOMPARE(graph.stopCountUpTo(ms, 0), upTo);

    DrawBarGraph empty;
    QCOMPARE(empty.positionKind(0), 2);
    QCOMPARE(empty.nextStop(ms), qint64(0));
    QCOMPARE(empty.previousStop(ms), qint64(0));

    // Past 2^31 samples (12.4 h).
    graph.addTrack("a.wbm", 0, qint64(3000000000), 0);
    QCOMPARE(graph.trackDurationMs(2), qint64(62500000));
    QCOMPARE(graph.durationMs(), qint64(62503000));
}

// Numbers past what a project holds: a track lasts at most 2^31 ms, no sum wraps, and however long the project
// the view builds one entry a pixel of what it shows, at its start (a.wbm's first entries, 51 px high at the
// finest zoom) and at its end.
void TestDrawBarGraph::bounds_data()
{
    QTest::addColumn<int>("tracks");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("end");
    QTest::addColumn<qint64>("duration"); // ms
    QTest::addColumn<int>("heightAtEnd"); // of the column 100 px before the end
    const qint64 most = qint64(1) << 31;
    const qint64 max = std::numeric_limits<qint64>::max();
    QTest::newRow("a track ending at 2^63-1") << 1 << qint64(0) << max << most << 1;
    QTest::newRow("49 tracks ending at 2^63-1") << 49 << qint64(0) << max << 49 * most << 1;
    QTest::newRow("from -2^63 to 2^63-1") << 3 << std::numeric_limits<qint64>::min() << max << 3 * most << 1;
    QTest::newRow("49 of a minute") << 49 << qint64(0) << qint64(48 * 60000) << qint64(49 * 60000) << 51;
}

void TestDrawBarGraph::bounds()
{
    QFETCH(int, tracks);
    QFETCH(qint64, start);
    QFETCH(qint64, end);
    QFETCH(qint64, duration);
    QFETCH(int, heightAtEnd);
    DrawBarGraph graph;
    graph.setProjectMode();
    graph.setFolderPrefix(m_dir.path().toStdString());
    for (int i = 0; i < tracks; ++i)
        graph.addTrack("a.wbm", start, end, 0);
    graph.refresh();
    QCOMPARE(graph.durationMs(), duration);
    QCOMPARE(graph.trackEndMs(tracks - 1), duration);
    QCOMPARE(graph.nextStop(duration - 1), duration);

    graph.setZoom(0);
    for (const qint64 cursor : {qint64(0), duration}) {
        graph.setCursorPosition(cursor);
        const QImage image = grabGraph(graph);
        QCOMPARE(columnHeight(image, cursor == 0 ? 600 : 400), cursor == 0 ? 51 : heightAtEnd);
        const TrackRecord *display = graph.model().record(TrackGraphModel::DisplayList, 0);
        QVERIFY(display && display->upperValues.size() <= 500);
    }
    QVERIFY(!graph.addMarkText(QString::number(TrackGraphModel::MaxProjectSamples + 1)));
    QVERIFY(!graph.addMarkText(QStringLiteral("-1")));
    QVERIFY(graph.addMarkText(QString::number(TrackGraphModel::MaxProjectSamples)));
}

void TestDrawBarGraph::clickAndWheel_data()
{
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<QPoint>("pixels");
    QTest::addColumn<int>("steps");

    QTest::newRow("one notch away") << QPoint(0, 120) << QPoint() << 1;
    QTest::newRow("two notches back") << QPoint(0, -240) << QPoint() << -2;
    QTest::newRow("half a notch rounds up") << QPoint(0, 60) << QPoint() << 1;
    QTest::newRow("half a notch back rounds to 0") << QPoint(0, -60) << QPoint() << 0;
    QTest::newRow("horizontal") << QPoint(120, 0) << QPoint() << 0;
    QTest::newRow("with a pixel delta") << QPoint(0, 120) << QPoint(0, 14) << 0;
}

void TestDrawBarGraph::clickAndWheel()
{
    QFETCH(QPoint, angle);
    QFETCH(QPoint, pixels);
    QFETCH(int, steps);

    EditorPageStandIn page;
    auto *graph = new DrawBarGraph(&page);
    openSingleFile(*graph, "rec/take60.wbm");
    graph->setGraphId(2);
    QTest::mouseClick(graph, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(page.clicks, QVector<int>({2}));

    QWheelEvent wheel(
        QPointF(10, 10), QPointF(10, 10), pixels, angle, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(graph, &wheel);
    QVERIFY(wheel.isAccepted());
    QCOMPARE(page.wheels, QVector<QVector<int>>({{2, steps, 128}}));
}

QTEST_MAIN(TestDrawBarGraph)
#include "tst_drawbargraph.moc"
