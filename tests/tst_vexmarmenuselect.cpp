#include "tests/pixeltesting.h"
#include "tests/vexmarkeyrecorder.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

QVexmarMenuSelectable *addRow(QVexmarMenuSelect *popup, int value, const QString &text)
{
    auto *row = new QVexmarMenuSelectable(value);
    row->label->setText(text);
    popup->addSelectable(row);
    return row;
}

// '1' where a row's switch is on, '0' where it is off; 'D' marks a disabled switch.
QString switches(QVexmarMenuSelect *popup, int rows)
{
    QString marks;
    for (int value = 0; value < rows; ++value) {
        const QVexmarSwitch *control = popup->findSelectable(value)->switchButton;
        marks += QLatin1Char(control->isChecked() ? '1' : '0');
        if (!control->isEnabled())
            marks += QLatin1Char('D');
    }
    return marks;
}

} // namespace

class TestVexmarMenuSelect : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void touches_data();
    void touches();
    void rows();
    void title();
    void opensAtTheTop();

private:
    QVexmarMenuSelect *openPopup(int rows);

    VexmarKeyRecorder *m_screen = nullptr;
    QWidget *m_opener = nullptr;
};

void TestVexmarMenuSelect::init()
{
    m_screen = new VexmarKeyRecorder;
    g_screenWindow = m_screen;
    m_opener = new QWidget;
    m_opener->resize(1280, 720);
    m_opener->show();
}

void TestVexmarMenuSelect::cleanup()
{
    delete m_opener;
    delete m_screen;
}

QVexmarMenuSelect *TestVexmarMenuSelect::openPopup(int rows)
{
    auto *popup = new QVexmarMenuSelect(m_opener);
    popup->placeOver(m_opener);
    for (int value = 0; value < rows; ++value)
        addRow(popup, value, QStringLiteral("Choice %1").arg(value));
    return popup;
}

void TestVexmarMenuSelect::touches_data()
{
    QTest::addColumn<QString>("touches"); // 's' switch or 't' text of row N, the owner's 'c'urrent row N, 'c-' none
                                          // or 'cf' a foreign one; then "ok" or "cancel"
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("switches");
    QTest::addColumn<int>("cancelled"); // -1: still open

    dataRow("nothing touched", "", -1, "000", -1);
    dataRow("a switch", "s1", 1, "01D0", -1);
    dataRow("a text", "t2", 2, "001D", -1);
    dataRow("another switch moves the mark", "s1 s0", 0, "1D00", -1);
    dataRow("another text moves the mark", "s1 t2", 2, "001D", -1);
    dataRow("the current switch again", "s1 s1", 1, "01D0", -1);
    dataRow("the current text again", "t1 t1", 1, "01D0", -1);
    dataRow("back and forth", "t0 s2 t0", 0, "1D00", -1);
    dataRow("OK with a row", "c1 ok", 1, "01D0", 0);
    dataRow("OK without a row: cancelled", "ok", -1, "000", 1);
    dataRow("Cancel with a row", "c1 cancel", 1, "01D0", 1);
    dataRow("the row taken back with null: cancelled", "c2 c- ok", -1, "000", 1);
    dataRow("a foreign row made current: cancelled", "c2 cf ok", -1, "000", 1);
}

void TestVexmarMenuSelect::touches()
{
    QFETCH(QString, touches);
    QFETCH(int, current);
    QFETCH(QString, switches);
    QFETCH(int, cancelled);

    QPointer<QVexmarMenuSelect> popup = openPopup(3);
    QVexmarMenuSelect other(m_opener);
    QVexmarMenuSelectable *foreign = addRow(&other, 1, QStringLiteral("Elsewhere"));
    int seenCancelled = -1;
    connect(popup, &QVexmarPopup::popupClosed, this, [&] {
        QCOMPARE(popup->current(), current < 0 ? nullptr : popup->findSelectable(current));
        QCOMPARE(::switches(popup, 3), switches);
        QCOMPARE(seenCancelled, -1);
        seenCancelled = popup->cancelled;
    });
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    for (const QString &step : touches.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        QVexmarMenuSelectable *row = popup->findSelectable(step.mid(1).toInt());
        if (step == QLatin1String("ok") || step == QLatin1String("cancel"))
            QTest::mouseClick(step == QLatin1String("ok") ? popup->okButton : popup->cancelButton, Qt::LeftButton);
        else if (step.startsWith(QLatin1Char('c')))
            popup->setCurrent(step == QLatin1String("c-") ? nullptr : step == QLatin1String("cf") ? foreign : row);
        else if (step.startsWith(QLatin1Char('s')))
            QTest::mouseClick(row->switchButton, Qt::LeftButton);
        else
            tap(popup->list->viewport(), row->label);
    }
    QVERIFY(!foreign->switchButton->isChecked());
    QCOMPARE(seenCancelled, cancelled);
    if (cancelled < 0) {
        QCOMPARE(popup->current(), current < 0 ? nullptr : popup->findSelectable(current));
        QCOMPARE(::switches(popup, 3), switches);
        QVERIFY(popup->isVisible());
    } else {
        QTRY_VERIFY(popup.isNull());
    }
}

// Rows are found by value, the first of two with one value; a row of another popup is not taken over.
void TestVexmarMenuSelect::rows()
{
    QVexmarMenuSelect *first = openPopup(0);
    addRow(first, 4, QStringLiteral("first four"));
    QVexmarMenuSelectable *row = addRow(first, 7, QStringLiteral("seven"));
    addRow(first, 4, QStringLiteral("second four"));
    QCOMPARE(first->findSelectable(4)->label->text(), QStringLiteral("first four"));
    QCOMPARE(first->findSelectable(7), row);
    QVERIFY(!first->findSelectable(5));

    QVexmarMenuSelect *second = openPopup(0);
    second->addSelectable(row);
    second->addSelectable(nullptr);
    QCOMPARE(row->owner, first);
    QVERIFY(!second->findSelectable(7));
    QCOMPARE(first->findSelectable(7), row);

    // Touching a row that is in no popup does nothing to any popup.
    QVexmarMenuSelectable loose(5);
    loose.switchButton->click();
    QVERIFY(!first->current());
    QVERIFY(!second->current());
}

void TestVexmarMenuSelect::title()
{
    QVexmarMenuSelect *popup = openPopup(2);
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QVERIFY(!popup->titleLabel->isVisible());
    const int listTop = popup->list->y();

    popup->setTitle(QStringLiteral("Codec"));
    QTRY_VERIFY(popup->titleLabel->isVisible());
    QCOMPARE(popup->titleLabel->text(), QStringLiteral("Codec"));
    QTRY_VERIFY(popup->list->y() > listTop);
    QVERIFY(popup->titleLabel->geometry().bottom() < popup->list->y());

    popup->setTitle(QString());
    QVERIFY(!popup->titleLabel->isVisible());
    QTRY_COMPARE(popup->list->y(), listTop);
}

void TestVexmarMenuSelect::opensAtTheTop()
{
    QVexmarMenuSelect *popup = openPopup(30);
    popup->setCurrent(popup->findSelectable(29));
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QVERIFY(popup->list->verticalScrollBar()->maximum() > 0);
    QCOMPARE(popup->list->verticalScrollBar()->value(), 0);

    // A touch below the rows of a short list selects nothing.
    QVexmarMenuSelect *shortList = openPopup(1);
    shortList->show();
    QVERIFY(QTest::qWaitForWindowExposed(shortList));
    QWidget *viewport = shortList->list->viewport();
    touch(viewport, QEvent::MouseButtonPress, QPoint(50, viewport->height() - 5));
    touch(viewport, QEvent::MouseButtonRelease, QPoint(50, viewport->height() - 5));
    QVERIFY(!shortList->current());
    // The dark grey face below the rows.
    QCOMPARE(pixelAt(shortList->grab().toImage(), 300, 250), rgb(50, 50, 50));
}

QTEST_MAIN(TestVexmarMenuSelect)
#include "tst_vexmarmenuselect.moc"
