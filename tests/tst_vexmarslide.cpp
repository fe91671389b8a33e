#include "pixeltesting.h"
#include "vexmarslidewidget.h"

#include <QBoxLayout>
#include <QLabel>
#include <QtTest>

namespace {

const QRgb thumbBlue = rgb(0, 162, 232);
constexpr int rowHeight = 50;

// Remembers which widget each click reached.
class RecordingList : public QVexmarSlideWidget
{
public:
    using QVexmarSlideWidget::QVexmarSlideWidget;
    QStringList clicked;
    void itemClicked(QWidget *child) override { clicked.append(child->objectName()); }
};

void fill(RecordingList *list, int rows)
{
    list->contentWidget->setObjectName(QStringLiteral("content"));
    for (int i = 0; i < rows; ++i) {
        auto *row = new QWidget;
        row->setObjectName(QStringLiteral("row %1").arg(i));
        row->setFixedHeight(rowHeight);
        auto *rowLayout = new QVBoxLayout(row);
        rowLayout->setContentsMargins(0, 0, 0, 0);
        auto *label = new QLabel(QStringLiteral("Row %1").arg(i), row);
        label->setObjectName(QStringLiteral("label %1").arg(i));
        rowLayout->addWidget(label);
        list->contentLayout->addWidget(row);
    }
}

// Qt 5's QTest::mouseMove carries no button, and a move without one never reaches a widget that does not track
// the mouse: a finger on the screen is a held left button.
void touch(QWidget *viewport, QEvent::Type type, const QPoint &position)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, viewport->mapToGlobal(position), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &event);
}

void drag(QWidget *viewport, const QPoint &press, const QList<QPoint> &moves, const QPoint &release)
{
    touch(viewport, QEvent::MouseButtonPress, press);
    for (const QPoint &move : moves)
        touch(viewport, QEvent::MouseMove, move);
    touch(viewport, QEvent::MouseButtonRelease, release);
}

} // namespace

class TestVexmarSlide : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clickOrDrag_data();
    void clickOrDrag();
    void thumb_data();
    void thumb();
    void noBarWhileEverythingShows();
    void emptyRangeHasNoThumb();

private:
    QWidget *m_window = nullptr;
};

void TestVexmarSlide::init()
{
    m_window = new QWidget;
    m_window->resize(400, 300);
}

void TestVexmarSlide::cleanup()
{
    delete m_window;
}

void TestVexmarSlide::clickOrDrag_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QList<QPoint>>("moves");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("scrolled"); // from 100, of 0..800 with 20 rows

    using Moves = QList<QPoint>;
    // The list is 300 x 200; its rows are 50 high and start scrolled by 100, so y 60 is on row 3.
    QTest::newRow("no move: a click on the label")
        << 20 << QPoint(50, 60) << Moves() << QPoint(50, 60) << "label 3" << 100;
    QTest::newRow("one long move: a click where released, no scroll")
        << 20 << QPoint(50, 60) << Moves {{50, 190}} << QPoint(50, 190) << "label 5" << 100;
    QTest::newRow("two 1-pixel moves: neither")
        << 20 << QPoint(50, 60) << Moves {{50, 61}, {50, 62}} << QPoint(50, 62) << "" << 100;
    QTest::newRow("9 pixels up: no scroll")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 91}} << QPoint(50, 91) << "" << 100;
    QTest::newRow("10 pixels up: exactly 10")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 90}} << QPoint(50, 90) << "" << 110;
    QTest::newRow("10 then 4 more: nothing more")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 90}, {50, 86}} << QPoint(50, 86) << "" << 110;
    QTest::newRow("10, 4 and 6 more: the 10 since the last step")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 90}, {50, 86}, {50, 80}} << QPoint(50, 80) << "" << 120;
    QTest::newRow("25 pixels down in one move")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 125}} << QPoint(50, 125) << "" << 75;
    QTest::newRow("up past the top stops at 0")
        << 20 << QPoint(50, 10) << Moves {{50, 10}, {50, 190}} << QPoint(50, 190) << "" << 0;
    QTest::newRow("below the list: no click, no scroll")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 200}, {50, 260}} << QPoint(50, 150) << "" << 100;
    QTest::newRow("above the list: no click, no scroll")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, -1}, {50, -40}} << QPoint(50, 150) << "" << 100;
    QTest::newRow("back inside: the step counts from the anchor")
        << 20 << QPoint(50, 100) << Moves {{50, 100}, {50, 260}, {50, 80}} << QPoint(50, 80) << "" << 120;
    QTest::newRow("released outside the list: nothing")
        << 20 << QPoint(50, 60) << Moves() << QPoint(350, 60) << "" << 100;
    QTest::newRow("released below the last row: the bare content")
        << 2 << QPoint(50, 150) << Moves() << QPoint(50, 150) << "content" << 0;
}

void TestVexmarSlide::clickOrDrag()
{
    QFETCH(int, rows);
    QFETCH(QPoint, press);
    QFETCH(QList<QPoint>, moves);
    QFETCH(QPoint, release);
    QFETCH(QString, clicked);
    QFETCH(int, scrolled);

    auto *list = new RecordingList(m_window);
    list->setGeometry(0, 0, 300, 200);
    fill(list, rows);
    // The drag-only twin follows the same finger the same way, and never clicks.
    auto *simple = new QVexmarSlideSimple(m_window);
    simple->setGeometry(0, 0, 300, 200);
    simple->contentWidget->resize(290, rows * rowHeight);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));

    const int start = rows > 4 ? 100 : 0;
    QCOMPARE(list->verticalScrollBar()->maximum(), rows > 4 ? rows * rowHeight - 200 : 0);
    list->verticalScrollBar()->setValue(start);
    simple->verticalScrollBar()->setValue(start);

    drag(list->viewport(), press, moves, release);
    QCOMPARE(list->clicked, clicked.isEmpty() ? QStringList() : QStringList {clicked});
    QCOMPARE(list->verticalScrollBar()->value(), scrolled);

    drag(simple->viewport(), press, moves, release);
    QCOMPARE(simple->verticalScrollBar()->value(), scrolled);

    // The next touch starts afresh.
    list->clicked.clear();
    drag(list->viewport(), QPoint(50, 20), {}, QPoint(50, 20));
    QCOMPARE(list->clicked.size(), 1);
}

void TestVexmarSlide::thumb_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("top");

    // The bar is 200 high: the thumb is 40, its top runs over 0..160 as the value runs over 0..800.
    QTest::newRow("at the top") << 0 << 0;
    QTest::newRow("half way") << 400 << 80;
    QTest::newRow("truncated") << 3 << 0;
    QTest::newRow("one short of the end") << 799 << 159;
    QTest::newRow("at the maximum: ends at the bottom edge") << 800 << 160;
}

void TestVexmarSlide::thumb()
{
    QFETCH(int, value);
    QFETCH(int, top);

    auto *list = new RecordingList(m_window);
    list->setGeometry(0, 0, 300, 200);
    fill(list, 20);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QScrollBar *bar = list->verticalScrollBar();
    bar->setValue(value);

    QVERIFY(bar->isVisible());
    QCOMPARE(QRect(bar->mapTo(list, QPoint(0, 0)), bar->size()), QRect(290, 0, 10, 200));
    const QImage image = bar->grab().toImage();
    QCOMPARE(countPixels(image, QRect(0, 0, 10, 200), thumbBlue), 10 * 40);
    QCOMPARE(countPixels(image, QRect(0, top, 10, 40), thumbBlue), 10 * 40);
}

void TestVexmarSlide::noBarWhileEverythingShows()
{
    auto *list = new RecordingList(m_window);
    list->setGeometry(0, 0, 300, 200);
    fill(list, 4);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QVERIFY(!list->verticalScrollBar()->isVisible());
    QCOMPARE(list->viewport()->width(), 300);
    QCOMPARE(list->contentWidget->findChild<QWidget *>(QStringLiteral("row 3"))->geometry(), QRect(0, 150, 300, 50));
}

void TestVexmarSlide::emptyRangeHasNoThumb()
{
    auto *bar = new QVexmarSlideScroll(m_window);
    bar->setGeometry(0, 0, 10, 200);
    bar->setRange(0, 0);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    const QImage image = bar->grab().toImage();
    QCOMPARE(countPixels(image, QRect(0, 0, 10, 200), thumbBlue), 0);
    QCOMPARE(countPixels(image, QRect(0, 0, 10, 200), pixelAt(image, 5, 100)), 10 * 200);
}

QTEST_MAIN(TestVexmarSlide)
#include "tst_vexmarslide.moc"
