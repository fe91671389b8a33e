#include "pixeltesting.h"
#include "vexmarbutton.h"
#include "vexmarconfirm.h"

#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

namespace {

QLabel *labelWithText(const QWidget *popup, const QString &text)
{
    const QList<QLabel *> labels = popup->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

} // namespace

class TestVexmarConfirm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutByLines_data();
    void layoutByLines();
    void closing_data();
    void closing();

    void countDownTexts_data();
    void countDownTexts();
    void countDownEnds_data();
    void countDownEnds();
    void countDownWithoutLine1();
    void doneCloses_data();
    void doneCloses();

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

void TestVexmarConfirm::layoutByLines_data()
{
    QTest::addColumn<QList<int>>("lines"); // setLine numbers, in the order called
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("lineYs"); // of lines 1, 2, 3; -1 when not shown
    QTest::addColumn<int>("buttonY");

    QTest::newRow("no line") << QList<int> {} << 210 << QList<int> {-1, -1, -1} << 85;
    QTest::newRow("line 1") << QList<int> {1} << 210 << QList<int> {75, -1, -1} << 135;
    QTest::newRow("line 2 takes line 1's place") << QList<int> {2} << 270 << QList<int> {-1, 75, -1} << 135;
    QTest::newRow("lines 1 and 3") << QList<int> {3, 1} << 330 << QList<int> {75, -1, 125} << 185;
    QTest::newRow("lines 1, 2, 3") << QList<int> {1, 2, 3} << 330 << QList<int> {75, 125, 175} << 235;
    QTest::newRow("lines 0 and 4 do not exist") << QList<int> {0, 1, 4} << 210 << QList<int> {75, -1, -1} << 135;
}

void TestVexmarConfirm::layoutByLines()
{
    QFETCH(QList<int>, lines);
    QFETCH(int, height);
    QFETCH(QList<int>, lineYs);
    QFETCH(int, buttonY);

    auto *popup = new QVexmarConfirmAction(m_opener);
    popup->setTitle(QStringLiteral("Please confirm"));
    for (const int line : lines)
        popup->setLine(line, QStringLiteral("Line %1").arg(line), line == 2 ? QString() : QStringLiteral("value"));
    popup->setupUi();
    open(popup);

    QCOMPARE(popup->size(), QSize(570, height));
    QCOMPARE(popup->titleLabel->geometry(), QRect(25, 25, 500, 44));
    for (int line = 1; line <= 3; ++line) {
        // An empty value leaves the label and its colon.
        const QString text
            = QStringLiteral("Line %1: %2").arg(line).arg(line == 2 ? QString() : QStringLiteral("value"));
        QLabel *label = labelWithText(popup, text);
        QCOMPARE(label ? label->y() : -1, lineYs.at(line - 1));
        if (line == 1)
            QCOMPARE(popup->line1Label, label);
    }
    QCOMPARE(popup->cancelButton->geometry(), QRect(42, buttonY, 225, 60));
    QCOMPARE(popup->okButton->geometry(), QRect(302, buttonY, 225, 60));
    QCOMPARE(popup->cancelButton->text(), QStringLiteral("Cancel"));
    QCOMPARE(popup->okButton->text(), QStringLiteral("OK"));

    // Dark grey face in a white frame, white buttons.
    const QImage image = popup->grab().toImage();
    QCOMPARE(pixelAt(image, 285, buttonY + 30), rgb(50, 50, 50));
    QCOMPARE(pixelAt(image, 1, height / 2), rgb(255, 255, 255));
    for (QVexmarButton *button : {popup->cancelButton, popup->okButton})
        QCOMPARE(pixelAt(image, button->x() + 12, button->y() + 10), rgb(255, 255, 255));

    // The title may change once the popup is built.
    popup->setTitle(QStringLiteral("Formatting"));
    QCOMPARE(popup->titleLabel->text(), QStringLiteral("Formatting"));
    popup->close();
}

void TestVexmarConfirm::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("cancelled");

    QTest::newRow("OK") << "OK" << 0;
    QTest::newRow("Cancel") << "Cancel" << 1;
    QTest::newRow("press outside") << "outside" << 1;
}

// The opener reads the result and its own values in its slot; the popup is gone afterwards.
void TestVexmarConfirm::closing()
{
    QFETCH(QString, how);
    QFETCH(int, cancelled);

    QPointer<QVexmarConfirmAction> popup = new QVexmarConfirmAction(m_opener);
    popup->setLine1(QStringLiteral("Delete"), QStringLiteral("001.wav"));
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

    if (how == "outside")
        QTest::mouseClick(m_opener->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    else
        QTest::mouseClick(how == "OK" ? popup->okButton : popup->cancelButton, Qt::LeftButton);
    QTRY_COMPARE(reports, QStringList {QStringLiteral("%1 17 001.wav").arg(cancelled)});
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarConfirm::countDownTexts_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("text");

    QTest::newRow("first") << 1 << "Waiting : 0:01";
    QTest::newRow("a minute") << 60 << "Waiting : 1:00";
    QTest::newRow("last of the first hour") << 3599 << "Waiting : 59:59";
    QTest::newRow("an hour") << 3600 << "Waiting : 60:00";
    QTest::newRow("past an hour") << 3665 << "Waiting : 61:05";
}

void TestVexmarConfirm::countDownTexts()
{
    QFETCH(int, ticks);
    QFETCH(QString, text);

    auto *popup = new QVexmarCountDownPopup(m_opener);
    popup->setTitle(QStringLiteral("Formatting"));
    popup->setLine1(QStringLiteral("Waiting"), QString());
    popup->setCountdown(1);
    popup->setupUi();
    popup->hideButtons();
    open(popup);
    QCOMPARE(popup->line1Label->text(), QStringLiteral("Waiting: "));

    // The value given only switches counting on.
    popup->startCountdown(40);
    QVERIFY(popup->timer->isActive());
    QCOMPARE(popup->timer->interval(), 1000);
    for (int tick = 1; tick < ticks; ++tick)
        popup->updateCountdown();
    QCOMPARE(popup->line1Label->text(), text);
    QVERIFY(!popup->okButton->isVisible());
    QVERIFY(!popup->cancelButton->isVisible());
    popup->close();
}

void TestVexmarConfirm::countDownEnds_data()
{
    QTest::addColumn<bool>("done");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("timerInterval"); // 0: stopped

    QTest::newRow("done") << true << "Done" << 3000;
    QTest::newRow("failed") << false << "Failed: Retry or reboot" << 0;
}

// The end of the operation shows OK; later ticks change nothing.
void TestVexmarConfirm::countDownEnds()
{
    QFETCH(bool, done);
    QFETCH(QString, text);
    QFETCH(int, timerInterval);

    auto *popup = new QVexmarCountDownPopup(m_opener);
    popup->setLine1(QStringLiteral("Waiting"), QString());
    popup->setCountdown(1);
    popup->setupUi();
    popup->hideButtons();
    open(popup);
    popup->startCountdown(1);
    popup->updateCountdown();
    if (done)
        popup->showDone();
    else
        popup->showFailed();
    popup->updateCountdown();
    popup->updateCountdown();

    QCOMPARE(popup->line1Label->text(), text);
    QVERIFY(popup->okButton->isVisible());
    QVERIFY(!popup->cancelButton->isVisible());
    QCOMPARE(popup->timer->isActive() ? popup->timer->interval() : 0, timerInterval);
    QVERIFY(popup->isVisible());
    popup->close();
}

// Without line 1 the progress has nowhere to go: it still runs to its end without a text of its own.
void TestVexmarConfirm::countDownWithoutLine1()
{
    QPointer<QVexmarCountDownPopup> popup = new QVexmarCountDownPopup(m_opener);
    popup->setTitle(QStringLiteral("Ejecting"));
    popup->setLine2(QStringLiteral("Disk"), QStringLiteral("USB"));
    popup->setupUi();
    popup->hideButtons();
    open(popup.data());
    QVERIFY(!popup->line1Label);

    popup->startCountdown(1);
    popup->updateCountdown();
    popup->showFailed();
    popup->showDone();
    QStringList texts;
    for (const QLabel *label : popup->findChildren<QLabel *>())
        texts << label->text();
    texts.sort();
    QCOMPARE(texts, (QStringList {QStringLiteral("Disk: USB"), QStringLiteral("Ejecting")}));
    QVERIFY(popup->okButton->isVisible());
    popup->close();
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarConfirm::doneCloses_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<int>("cancelled");

    QTest::newRow("closes itself after Done") << true << false << 1;
    QTest::newRow("OK before it") << true << true << 0;
    QTest::newRow("Done before counting started") << false << false << 1;
}

void TestVexmarConfirm::doneCloses()
{
    QFETCH(bool, started);
    QFETCH(bool, pressOk);
    QFETCH(int, cancelled);

    QPointer<QVexmarCountDownPopup> popup = new QVexmarCountDownPopup(m_opener);
    popup->setLine1(QStringLiteral("Waiting"), QString());
    popup->setCountdown(1);
    popup->setupUi();
    popup->hideButtons();
    QList<int> reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this, [&] { reports << popup->isCancelled(); });
    open(popup.data());
    if (started)
        popup->startCountdown(1);
    popup->showDone();

    QVERIFY(popup->timer);
    QCOMPARE(popup->timer->interval(), 3000);
    if (pressOk) {
        QTest::mouseClick(popup->okButton, Qt::LeftButton);
    } else {
        // The three seconds, shortened.
        QVERIFY(popup->timer->isActive());
        popup->timer->start(1);
    }
    QTRY_COMPARE(reports, QList<int> {cancelled});
    QTRY_VERIFY(popup.isNull());
}

QTEST_MAIN(TestVexmarConfirm)
#include "tst_vexmarconfirm.moc"
