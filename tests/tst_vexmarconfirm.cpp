#include "tests/pixeltesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QtTest>

class TestVexmarConfirm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void confirm_data();
    void confirm();
    void countDown_data();
    void countDown();

private:
    template<class Popup>
    Popup *open(Popup *popup);

    QWidget *m_opener = nullptr;
};

void TestVexmarConfirm::init()
{
    m_opener = new QWidget;
    m_opener->resize(800, 500);
    m_opener->move(100, 60);
    m_opener->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_opener));
}

void TestVexmarConfirm::cleanup()
{
    delete m_opener;
    m_opener = nullptr;
}

template<class Popup>
Popup *TestVexmarConfirm::open(Popup *popup)
{
    popup->placeOver(m_opener);
    popup->show();
    if (!QTest::qWaitForWindowExposed(popup))
        qWarning("popup not exposed");
    return popup;
}

void TestVexmarConfirm::confirm_data()
{
    QTest::addColumn<QList<int>>("lines"); // setLine numbers, in the order called
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("lineYs"); // of lines 1, 2, 3; -1 when not shown
    QTest::addColumn<QString>("how"); // the popup is closed by OK, Cancel or a press outside
    QTest::addColumn<int>("cancelled");

    dataRow("no line", QList<int> {}, 210, QList<int> {-1, -1, -1}, "OK", 0);
    dataRow("line 1", QList<int> {1}, 210, QList<int> {75, -1, -1}, "Cancel", 1);
    dataRow("line 2 takes line 1's place", QList<int> {2}, 270, QList<int> {-1, 75, -1}, "outside", 1);
    dataRow("lines 1 and 3", QList<int> {3, 1}, 330, QList<int> {75, -1, 125}, "OK", 0);
    dataRow("lines 1, 2, 3", QList<int> {1, 2, 3}, 330, QList<int> {75, 125, 175}, "OK", 0);
    dataRow("lines 0 and 4 do not exist", QList<int> {0, 1, 4}, 210, QList<int> {75, -1, -1}, "OK", 0);
}

// The opener reads the result and its own values in its slot; the popup is gone afterwards.
void TestVexmarConfirm::confirm()
{
    QFETCH(QList<int>, lines);
    QFETCH(int, height);
    QFETCH(QList<int>, lineYs);
    QFETCH(QString, how);
    QFETCH(int, cancelled);

    QPointer<QVexmarConfirmAction> popup = new QVexmarConfirmAction(m_opener);
    popup->setTitle(QStringLiteral("Please confirm"));
    for (const int line : lines)
        popup->setLine(line, QStringLiteral("Line %1").arg(line), line == 2 ? QString() : QStringLiteral("value"));
    popup->setContextValue(17);
    popup->setContextText(QStringLiteral("001.wav"));
    popup->setupUi();
    QStringList reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this, [&] {
        reports << QStringLiteral("%1 %2 %3")
                       .arg(popup->isCancelled())
                       .arg(popup->contextValue())
                       .arg(popup->contextText());
    });
    open(popup.data());

    QCOMPARE(popup->size(), QSize(570, height));
    for (int line = 1; line <= 3; ++line) {
        // An empty value leaves the label and its colon.
        const QString text
            = QStringLiteral("Line %1: %2").arg(line).arg(line == 2 ? QString() : QStringLiteral("value"));
        QLabel *label = labelWithText(popup, text);
        QCOMPARE(label ? label->y() : -1, lineYs.at(line - 1));
        if (line == 1)
            QCOMPARE(popup->line1Label, label);
    }
    QVERIFY(popup->okButton->y() > std::max({75, lineYs.at(0), lineYs.at(1), lineYs.at(2)}));

    // Dark grey face in a white frame, white buttons.
    const QImage image = popup->grab().toImage();
    QCOMPARE(pixelAt(image, 285, popup->okButton->y() + 30), rgb(50, 50, 50));
    QCOMPARE(pixelAt(image, 1, height / 2), rgb(255, 255, 255));
    for (QVexmarButton *button : {popup->cancelButton, popup->okButton})
        QCOMPARE(pixelAt(image, button->x() + 12, button->y() + 10), rgb(255, 255, 255));

    // The title may change once the popup is built.
    popup->setTitle(QStringLiteral("Formatting"));
    QCOMPARE(popup->titleLabel->text(), QStringLiteral("Formatting"));

    if (how == "outside")
        QTest::mouseClick(m_opener->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    else
        QTest::mouseClick(how == "OK" ? popup->okButton : popup->cancelButton, Qt::LeftButton);
    QTRY_COMPARE(reports, QStringList {QStringLiteral("%1 17 001.wav").arg(cancelled)});
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarConfirm::countDown_data()
{
    QTest::addColumn<bool>("line1");
    QTest::addColumn<bool>("started");
    QTest::addColumn<int>("ticks"); // counted from the start
    QTest::addColumn<QString>("end"); // "done" and "failed" in the order called, then two more ticks
    QTest::addColumn<QString>("text"); // of line 1
    QTest::addColumn<QString>("finish"); // "ok", "wait" for the timer, else closed
    QTest::addColumn<int>("cancelled");

    dataRow("first tick", true, true, 1, "", "Waiting : 0:01", "", 1);
    dataRow("a minute", true, true, 60, "", "Waiting : 1:00", "", 1);
    dataRow("last of the first hour", true, true, 3599, "", "Waiting : 59:59", "", 1);
    dataRow("an hour", true, true, 3600, "", "Waiting : 60:00", "", 1);
    dataRow("past an hour", true, true, 3665, "", "Waiting : 61:05", "", 1);
    dataRow("done, later ticks change nothing", true, true, 2, "done", "Done", "", 1);
    dataRow("failed, later ticks change nothing", true, true, 2, "failed", "Failed: Retry or reboot", "", 1);
    dataRow("closes itself after Done", true, true, 1, "done", "Done", "wait", 1);
    dataRow("OK before it", true, true, 1, "done", "Done", "ok", 0);
    dataRow("Done before counting started", true, false, 0, "done", "Done", "wait", 1);
    // Without line 1 the progress has nowhere to go: it still runs to its end without a text of its own.
    dataRow("no line 1", false, true, 2, "failed done", "", "wait", 1);
}

void TestVexmarConfirm::countDown()
{
    QFETCH(bool, line1);
    QFETCH(bool, started);
    QFETCH(int, ticks);
    QFETCH(QString, end);
    QFETCH(QString, text);
    QFETCH(QString, finish);
    QFETCH(int, cancelled);

    QPointer<QVexmarCountDownPopup> popup = new QVexmarCountDownPopup(m_opener);
    popup->setTitle(QStringLiteral("Ejecting"));
    if (line1)
        popup->setLine1(QStringLiteral("Waiting"), QString());
    popup->setLine2(QStringLiteral("Disk"), QStringLiteral("USB"));
    popup->setCountdown(1);
    popup->setupUi();
    popup->hideButtons();
    QList<int> reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this, [&] { reports << popup->isCancelled(); });
    open(popup.data());
    QCOMPARE(popup->line1Label != nullptr, line1);
    if (line1)
        QCOMPARE(popup->line1Label->text(), QStringLiteral("Waiting: "));

    // The value given only switches counting on.
    if (started)
        popup->startCountdown(40);
    for (int tick = 1; tick < ticks; ++tick)
        popup->updateCountdown();
    for (const QString &call : end.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        call == QLatin1String("done") ? popup->showDone() : popup->showFailed();
        popup->updateCountdown();
        popup->updateCountdown();
    }
    // Line 1 shows the progress; no other text changes.
    QStringList texts {QStringLiteral("Disk: USB"), QStringLiteral("Ejecting"), text};
    texts.removeAll(QString());
    QStringList shown;
    for (const QLabel *label : popup->findChildren<QLabel *>())
        shown << label->text();
    texts.sort();
    shown.sort();
    QCOMPARE(shown, texts);
    QCOMPARE(popup->okButton->isVisible(), !end.isEmpty());
    QVERIFY(!popup->cancelButton->isVisible());
    // Ticks of a second while counting; after "Done" the three seconds to the automatic close.
    const int interval = end.endsWith(QLatin1String("done")) ? 3000 : end.isEmpty() ? 1000 : 0;
    QCOMPARE(popup->timer && popup->timer->isActive() ? popup->timer->interval() : 0, interval);

    if (finish == QLatin1String("ok"))
        QTest::mouseClick(popup->okButton, Qt::LeftButton);
    else if (finish == QLatin1String("wait"))
        popup->timer->start(1); // the three seconds, shortened
    else
        popup->close();
    QTRY_COMPARE(reports, QList<int> {cancelled});
    QTRY_VERIFY(popup.isNull());
}

QTEST_MAIN(TestVexmarConfirm)
#include "tst_vexmarconfirm.moc"
