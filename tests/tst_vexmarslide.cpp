#include "tests/pixeltesting.h"
#include "widgets/menu/vexmarslidewidget.h"

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

// A finger down at x 50: pressed at the first y, moved through the ones between, released at the last.
void drag(QWidget *viewport, const QList<int> &ys)
{
    touch(viewport, QEvent::MouseButtonPress, QPoint(50, ys.first()));
    for (int i = 1; i + 1 < ys.size(); ++i)
        touch(viewport, QEvent::MouseMove, QPoint(50, ys.at(i)));
    touch(viewport, QEvent::MouseButtonRelease, QPoint(50, ys.last()));
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
    QTest::addColumn<QList<int>>("ys"); // of the press, the moves and the release
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<int>("scrolled"); // from 100, of 0..800 with 20 rows

    using Ys = QList<int>;
    // The list is 300 x 200; its rows are 50 high and start scrolled by 100, so y 60 is on row 3.
    dataRow("no move: a click on the label", 20, Ys {60, 60}, "label 3", 100);
    dataRow("one long move: a click where released, no scroll", 20, Ys {60, 190, 190}, "label 5", 100);
    dataRow("two 1-pixel moves: neither", 20, Ys {60, 61, 62, 62}, "", 100);
    dataRow("9 pixels up: no scroll", 20, Ys {100, 100, 91, 91}, "", 100);
    dataRow("10 pixels up: exactly 10", 20, Ys {100, 100, 90, 90}, "", 110);
    dataRow("10 then 4 more: nothing more", 20, Ys {100, 100, 90, 86, 86}, "", 110);
    dataRow("10, 4 and 6 more: the 10 since the last step", 20, Ys {100, 100, 90, 86, 80, 80}, "", 120);
    dataRow("25 pixels down in one move", 20, Ys {100, 100, 125, 125}, "", 75);
    dataRow("up past the top stops at 0", 20, Ys {10, 10, 190, 190}, "", 0);
    dataRow("below the list: no click, no scroll", 20, Ys {100, 100, 200, 260, 150}, "", 100);
    dataRow("above the list: no click, no scroll", 20, Ys {100, 100, -1, -40, 150}, "", 100);
    dataRow("back inside: the step counts from the anchor", 20, Ys {100, 100, 260, 80, 80}, "", 120);
    dataRow("released outside the list: nothing", 20, Ys {60, 250}, "", 100);
    dataRow("released below the last row: the bare content", 2, Ys {150, 150}, "content", 0);
}

void TestVexmarSlide::clickOrDrag()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, ys);
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

    drag(list->viewport(), ys);
    QCOMPARE(list->clicked, clicked.isEmpty() ? QStringList() : QStringList {clicked});
    QCOMPARE(list->verticalScrollBar()->value(), scrolled);

    drag(simple->viewport(), ys);
    QCOMPARE(simple->verticalScrollBar()->value(), scrolled);

    // The next touch starts afresh.
    list->clicked.clear();
    drag(list->viewport(), {20, 20});
    QCOMPARE(list->clicked.size(), 1);
}

void TestVexmarSlide::thumb_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("top"); // -1: no bar

    // The bar is 200 high: the thumb is 40, its top runs over 0..160 as the value runs over 0..800.
    dataRow("at the top", 20, 0, 0);
    dataRow("half way", 20, 400, 80);
    dataRow("truncated", 20, 3, 0);
    dataRow("one short of the end", 20, 799, 159);
    dataRow("at the maximum: ends at the bottom edge", 20, 800, 160);
    dataRow("no bar while everything shows", 4, 0, -1);
}

void TestVexmarSlide::thumb()
{
    QFETCH(int, rows);
    QFETCH(int, value);
    QFETCH(int, top);

    auto *list = new RecordingList(m_window);
    list->setGeometry(0, 0, 300, 200);
    fill(list, rows);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QScrollBar *bar = list->verticalScrollBar();
    bar->setValue(value);
    QCOMPARE(bar->isVisible(), top >= 0);
    QCOMPARE(list->viewport()->width(), top >= 0 ? 290 : 300);
    if (top < 0)
        return;
    const QImage image = bar->grab().toImage();
    QCOMPARE(countPixels(image, QRect(0, 0, 10, 200), thumbBlue), 10 * 40);
    QCOMPARE(countPixels(image, QRect(0, top, 10, 40), thumbBlue), 10 * 40);
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
