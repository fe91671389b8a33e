#include "screenpointer.h"
#include "vexmarbutton.h"
#include "vexmarcontrols.h"
#include "vexmarkeyrecorder.h"
#include "vexmarmenuselect.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A touch of the screen on the list's viewport: press and release in place.
void touchList(QVexmarMenuSelect *popup, QWidget *target)
{
    QWidget *viewport = popup->list->viewport();
    const QPoint position = target->mapTo(viewport, target->rect().center());
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, position, viewport->mapToGlobal(position), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
}

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
    void closing_data();
    void closing();
    void foreignRows();
    void title();
    void findSelectable();
    void opensAtTheTop();
    void looks();

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
    QTest::addColumn<QString>("touches"); // 's' switch or 't' text of row N, as "s1 t2"
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("switches");

    QTest::newRow("nothing touched") << "" << -1 << "000";
    QTest::newRow("a switch") << "s1" << 1 << "01D0";
    QTest::newRow("a text") << "t2" << 2 << "001D";
    QTest::newRow("another switch moves the mark") << "s1 s0" << 0 << "1D00";
    QTest::newRow("another text moves the mark") << "s1 t2" << 2 << "001D";
    QTest::newRow("the current switch again") << "s1 s1" << 1 << "01D0";
    QTest::newRow("the current text again") << "t1 t1" << 1 << "01D0";
    QTest::newRow("back and forth") << "t0 s2 t0" << 0 << "1D00";
}

void TestVexmarMenuSelect::touches()
{
    QFETCH(QString, touches);
    QFETCH(int, current);
    QFETCH(QString, switches);

    QVexmarMenuSelect *popup = openPopup(3);
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    const QStringList steps = touches.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        QVexmarMenuSelectable *row = popup->findSelectable(step.mid(1).toInt());
        if (step.at(0) == QLatin1Char('s'))
            QTest::mouseClick(row->switchButton, Qt::LeftButton);
        else
            touchList(popup, row->label);
    }
    QCOMPARE(popup->current(), current < 0 ? nullptr : popup->findSelectable(current));
    QCOMPARE(::switches(popup, 3), switches);
    QVERIFY(popup->isVisible());
}

void TestVexmarMenuSelect::closing_data()
{
    QTest::addColumn<int>("current"); // -1 none
    QTest::addColumn<QString>("thenCurrent"); // "", "null" or "foreign"
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("cancelled");
    QTest::addColumn<QString>("switches");

    QTest::newRow("OK with a row") << 1 << "" << true << 0 << "01D0";
    QTest::newRow("OK without a row: cancelled") << -1 << "" << true << 1 << "000";
    QTest::newRow("Cancel with a row") << 1 << "" << false << 1 << "01D0";
    QTest::newRow("the row taken back with null: cancelled") << 2 << "null" << true << 1 << "000";
    QTest::newRow("a foreign row made current: cancelled") << 2 << "foreign" << true << 1 << "000";
}

void TestVexmarMenuSelect::closing()
{
    QFETCH(int, current);
    QFETCH(QString, thenCurrent);
    QFETCH(bool, ok);
    QFETCH(int, cancelled);
    QFETCH(QString, switches);

    QVexmarMenuSelect *popup = openPopup(3);
    QVexmarMenuSelect other(m_opener);
    QVexmarMenuSelectable *foreign = addRow(&other, 1, QStringLiteral("Elsewhere"));
    QSignalSpy closed(popup, &QVexmarPopup::popupClosed);
    QPointer<QVexmarMenuSelect> guard(popup);
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));

    if (current >= 0)
        popup->setCurrent(popup->findSelectable(current));
    if (thenCurrent == QLatin1String("null"))
        popup->setCurrent(nullptr);
    else if (thenCurrent == QLatin1String("foreign"))
        popup->setCurrent(foreign);
    QCOMPARE(::switches(popup, 3), switches);
    QVERIFY(!foreign->switchButton->isChecked());

    int seenCancelled = -1;
    connect(popup, &QVexmarPopup::popupClosed, popup, [&] { seenCancelled = popup->cancelled; });
    QTest::mouseClick(ok ? popup->okButton : popup->cancelButton, Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(seenCancelled, cancelled);
    QVERIFY(!popup->isVisible());
    QTRY_VERIFY(guard.isNull());
}

void TestVexmarMenuSelect::foreignRows()
{
    QVexmarMenuSelect *first = openPopup(2);
    QVexmarMenuSelect *second = openPopup(0);
    QVexmarMenuSelectable *row = first->findSelectable(1);
    second->addSelectable(row);
    second->addSelectable(nullptr);
    QCOMPARE(row->owner, first);
    QVERIFY(!second->findSelectable(1));
    QCOMPARE(first->findSelectable(1), row);

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

void TestVexmarMenuSelect::findSelectable()
{
    QVexmarMenuSelect *popup = openPopup(0);
    addRow(popup, 4, QStringLiteral("first four"));
    addRow(popup, 7, QStringLiteral("seven"));
    addRow(popup, 4, QStringLiteral("second four"));
    QCOMPARE(popup->findSelectable(4)->label->text(), QStringLiteral("first four"));
    QCOMPARE(popup->findSelectable(7)->label->text(), QStringLiteral("seven"));
    QVERIFY(!popup->findSelectable(5));
}

void TestVexmarMenuSelect::opensAtTheTop()
{
    QVexmarMenuSelect *popup = openPopup(30);
    popup->setCurrent(popup->findSelectable(29));
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QVERIFY(popup->list->verticalScrollBar()->maximum() > 0);
    QCOMPARE(popup->list->verticalScrollBar()->value(), 0);
    QVERIFY(!popup->list->horizontalScrollBar()->isVisible());

    // A touch below the rows of a short list selects nothing.
    QVexmarMenuSelect *shortList = openPopup(1);
    shortList->show();
    QVERIFY(QTest::qWaitForWindowExposed(shortList));
    QWidget *viewport = shortList->list->viewport();
    const QPoint below(50, viewport->height() - 5);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, below, viewport->mapToGlobal(below), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
    QVERIFY(!shortList->current());
}

void TestVexmarMenuSelect::looks()
{
    QVexmarMenuSelect *popup = openPopup(2);
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    QCOMPARE(popup->size(), QSize(600, 450));
    const QImage image = popup->grab().toImage();
    // The dark grey face below the rows, inside the 4-pixel frame; the buttons white at the bottom.
    QCOMPARE(image.pixel(300, 250) & 0xFFFFFF, qRgb(50, 50, 50) & 0xFFFFFF);
    QCOMPARE(popup->okButton->height(), 80);
    QVERIFY(popup->cancelButton->x() < popup->okButton->x());
    QCOMPARE(popup->okButton->geometry().bottom(), 450 - 1 - 4 - 10);
    QCOMPARE(popup->findSelectable(0)->switchButton->size(), QSize(72, 50));
}

QTEST_MAIN(TestVexmarMenuSelect)
#include "tst_vexmarmenuselect.moc"
