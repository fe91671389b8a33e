#include "tests/pixeltesting.h"
#include "tests/vexmarkeyrecorder.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarpagewidget.h"
#include "widgets/vexmarpopup.h"

#include <QBoxLayout>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QPalette buttonPalette(const QBrush &face, const QColor &text)
{
    QPalette palette;
    palette.setBrush(QPalette::Window, face);
    palette.setBrush(QPalette::WindowText, QBrush(text));
    return palette;
}

// A screen with a message popup of its own: records what it was asked to show.
class MessageScreen : public QWidget, public IVexmarMessages
{
public:
    void showMessagePopup(const QString &text, int milliseconds) override { shown.append({text, milliseconds}); }
    QList<QPair<QString, int>> shown;
};

} // namespace

class TestVexmarWidgets : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buttonFrame_data();
    void buttonFrame();
    void buttonIconAndText();
    void lazyIconAsFile_data();
    void lazyIconAsFile();
    void lazyIconReadOnFirstUse();

    void popupKeysGoToScreen_data();
    void popupKeysGoToScreen();
    void popupKeysDroppedWithoutScreen();
    void popupCentredOverOpener_data();
    void popupCentredOverOpener();
    void popupClosedOnceAndDeleted_data();
    void popupClosedOnceAndDeleted();

    void messageButtons_data();
    void messageButtons();
    void messageLooks();
    void autoCloseCountsFromShow();
    void screenMessage_data();
    void screenMessage();
    void pageKeepsOneMessage();

    void dummyPage();

private:
    QWidget *m_opener = nullptr;
    VexmarKeyRecorder *m_screen = nullptr;
};

void TestVexmarWidgets::init()
{
    m_screen = new VexmarKeyRecorder;
    m_screen->resize(1280, 720);
    m_screen->move(40, 30);
    g_screenWindow = m_screen;
    m_opener = new QWidget;
    m_opener->resize(800, 500);
    m_opener->move(100, 60);
    m_opener->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_opener));
}

void TestVexmarWidgets::cleanup()
{
    delete m_opener;
    m_opener = nullptr;
    delete m_screen;
    m_screen = nullptr;
    QVERIFY(g_screenWindow.isNull());
}

void TestVexmarWidgets::buttonFrame_data()
{
    QTest::addColumn<int>("border");
    QTest::addColumn<float>("radius");
    QTest::addColumn<bool>("cornerPainted");

    QTest::newRow("square frame") << 4 << 0.0f << true;
    QTest::newRow("rounded frame") << 4 << 15.0f << false;
    QTest::newRow("thin rounded frame") << 1 << 10.0f << false;
}

// The face fills the frame; a rounded frame leaves the corners to what lies behind the button.
void TestVexmarWidgets::buttonFrame()
{
    QFETCH(int, border);
    QFETCH(float, radius);
    QFETCH(bool, cornerPainted);

    QWidget behind;
    behind.setAutoFillBackground(true);
    behind.setPalette(buttonPalette(QBrush(Qt::blue), Qt::white));
    behind.resize(140, 100);
    auto *button = new QVexmarButton(&behind);
    button->setGeometry(20, 20, 100, 60);
    button->borderWidth = border;
    button->radius = radius;
    button->setPalette(buttonPalette(QBrush(Qt::red), Qt::black));

    const QImage image = behind.grab().toImage();
    QCOMPARE(pixelAt(image, 70, 50), rgb(255, 0, 0));
    QCOMPARE(pixelAt(image, 19, 50), rgb(0, 0, 255));
    QCOMPARE(pixelAt(image, 22, 22) == rgb(255, 0, 0), cornerPainted);
    QCOMPARE(pixelAt(image, 21, 50), rgb(255, 0, 0));
    QCOMPARE(pixelAt(image, 118, 50), rgb(255, 0, 0));
}

void TestVexmarWidgets::buttonIconAndText()
{
    QWidget behind;
    behind.setAutoFillBackground(true);
    behind.setPalette(buttonPalette(QBrush(Qt::blue), Qt::white));
    behind.resize(300, 100);

    // A frame only (no fill): the icon sits in the middle, the frame in the face colour around it.
    auto *iconButton = new QVexmarButton(&behind);
    iconButton->setGeometry(0, 0, 120, 90);
    iconButton->radius = 0.0f;
    iconButton->borderWidth = 4;
    iconButton->setPalette(buttonPalette(QBrush(Qt::black, Qt::NoBrush), Qt::black));
    QPixmap green(20, 20);
    green.fill(Qt::green);
    iconButton->setIcon(QIcon(green));

    auto *textButton = new QVexmarButton(&behind);
    textButton->setGeometry(150, 0, 120, 90);
    textButton->setPalette(buttonPalette(QBrush(Qt::white), Qt::black));
    textButton->setText(QStringLiteral("OK"));

    const QImage image = behind.grab().toImage();
    QCOMPARE(pixelAt(image, 60, 45), rgb(0, 255, 0));
    QCOMPARE(pixelAt(image, 45, 45), rgb(0, 0, 255)); // no fill around the icon
    QCOMPARE(pixelAt(image, 1, 45), rgb(0, 0, 0));
    QCOMPARE(countPixels(image, QRect(35, 25, 50, 40), qRgb(0, 255, 0)), 400); // drawn at its size, not enlarged

    const QRect textArea(150 + 20, 20, 80, 50);
    QVERIFY(countPixels(image, textArea, qRgb(0, 0, 0)) > 20);
    QVERIFY(countPixels(image, QRect(152, 2, 116, 12), qRgb(0, 0, 0)) == 0);
}

void TestVexmarWidgets::lazyIconAsFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("button");

    QTest::newRow("room to spare") << QStringLiteral(":/images/home.png") << QSize(120, 90);
    QTest::newRow("half transparent") << QStringLiteral(":/images/trash.png") << QSize(90, 90);
    QTest::newRow("wider than the button") << QStringLiteral(":/images/settings.png") << QSize(60, 60);
    QTest::newRow("odd shape, scaled down") << QStringLiteral(":/images/headphone-blue.png") << QSize(51, 37);
    QTest::newRow("no such file") << QStringLiteral(":/images/none.png") << QSize(60, 60);
}

// An icon read late is the icon read at once: the same sizes, pixmaps and painted button.
void TestVexmarWidgets::lazyIconAsFile()
{
    QFETCH(QString, path);
    QFETCH(QSize, button);
    const QIcon read(path);
    const QIcon late = lazyIcon(path);
    QCOMPARE(late.isNull(), read.isNull());
    QCOMPARE(late.availableSizes(), read.availableSizes());
    for (const QSize &size : {QSize(64, 64), QSize(30, 50), button}) {
        QCOMPARE(late.actualSize(size), read.actualSize(size));
        QCOMPARE(late.pixmap(size).toImage(), read.pixmap(size).toImage());
    }

    QWidget behind;
    behind.setAutoFillBackground(true);
    behind.setPalette(buttonPalette(QBrush(Qt::blue), Qt::white));
    behind.resize(2 * button.width() + 10, button.height());
    QVexmarButton *readButton = Look::iconButton(&behind, QRect(QPoint(0, 0), button), QString());
    readButton->setIcon(read);
    QVexmarButton *lateButton = Look::iconButton(&behind, QRect(QPoint(button.width() + 10, 0), button), path);
    const QImage image = behind.grab().toImage();
    QCOMPARE(image.copy(lateButton->geometry()), image.copy(readButton->geometry()));
}

// Set before its file exists, the icon shows the file as it is when first drawn.
void TestVexmarWidgets::lazyIconReadOnFirstUse()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("late.png"));
    const QIcon late = lazyIcon(path);
    QImage image(24, 16, QImage::Format_ARGB32);
    image.fill(qRgb(0, 200, 0));
    QVERIFY(image.save(path));

    QCOMPARE(late.availableSizes(), QList<QSize> {QSize(24, 16)});
    QCOMPARE(late.pixmap(QSize(24, 16)).toImage(), QIcon(path).pixmap(QSize(24, 16)).toImage());
    // Read once: the file gone, the icon stays.
    QVERIFY(QFile::remove(path));
    QVERIFY(!late.isNull());
}

void TestVexmarWidgets::popupKeysGoToScreen_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Escape does not close") << int(Qt::Key_Escape);
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("letter") << int(Qt::Key_A);
}

void TestVexmarWidgets::popupKeysGoToScreen()
{
    QFETCH(int, key);
    auto *popup = new QVexmarMessage(QStringLiteral("Hello"), 3, m_opener);
    popup->placeOver(m_opener);
    QSignalSpy closed(popup, &QVexmarPopup::popupClosed);
    popup->show();

    QTest::keyClick(popup, Qt::Key(key));
    QVERIFY(popup->isVisible());
    QTRY_COMPARE(m_screen->posted.size(), 2);
    const QList<VexmarKeyRecorder::Posted> expected {{6, key, 0}, {7, key, 0}};
    QCOMPARE(m_screen->posted, expected);
    QCOMPARE(closed.count(), 0);
    popup->close();
}

void TestVexmarWidgets::popupKeysDroppedWithoutScreen()
{
    g_screenWindow = nullptr;
    auto *popup = new QVexmarMessage(QStringLiteral("Hello"), 0, m_opener);
    popup->show();
    QTest::keyClick(popup, Qt::Key_Escape);
    QVERIFY(popup->isVisible());

    // The screen that goes away takes the pointer with it.
    auto *screen = new VexmarKeyRecorder;
    g_screenWindow = screen;
    delete screen;
    QTest::keyClick(popup, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents();
    QVERIFY(m_screen->posted.isEmpty());
    popup->close();
}

void TestVexmarWidgets::popupCentredOverOpener_data()
{
    QTest::addColumn<bool>("ownOpener");
    QTest::addColumn<bool>("childOpener");
    QTest::addColumn<QPoint>("offset");

    // opener 800 x 500, child opener 301 x 391, screen 1280 x 720, box 600 x 280; halves rounded toward zero
    QTest::newRow("window") << true << false << QPoint(100, 110);
    QTest::newRow("widget inside a window") << true << true << QPoint(-149, 55);
    QTest::newRow("no page of its own: the screen") << false << false << QPoint(340, 220);
}

void TestVexmarWidgets::popupCentredOverOpener()
{
    QFETCH(bool, ownOpener);
    QFETCH(bool, childOpener);
    QFETCH(QPoint, offset);

    QWidget *opener = m_opener;
    if (childOpener) {
        opener = new QWidget(m_opener);
        opener->setGeometry(30, 40, 301, 391);
    }
    auto *popup = new QVexmarMessage(QStringLiteral("Hello"), 0, ownOpener ? opener : m_screen);
    popup->placeOver(ownOpener ? opener : nullptr);
    QCOMPARE(popup->windowModality(), Qt::ApplicationModal);
    QWidget *reference = ownOpener ? opener : m_screen;
    QCOMPARE(popup->pos(), reference->mapToGlobal(QPoint(0, 0)) + offset);
    popup->close();
}

void TestVexmarWidgets::messageButtons_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QStringList>("captions");

    QTest::newRow("none") << 0 << QStringList();
    QTest::newRow("Cancel only") << 1 << QStringList {"Cancel"};
    QTest::newRow("OK only") << 2 << QStringList {"OK"};
    QTest::newRow("question") << 3 << QStringList {"Cancel", "OK"};
}

void TestVexmarWidgets::messageButtons()
{
    QFETCH(int, buttons);
    QFETCH(QStringList, captions);

    QFont openerFont(QStringLiteral("DejaVu Serif"));
    openerFont.setBold(true);
    m_opener->setFont(openerFont);
    auto *box = new QVexmarMessage(QStringLiteral("Are you sure?"), buttons, m_opener);
    box->show();
    QCOMPARE(box->cancelButton != nullptr, captions.contains("Cancel"));
    QCOMPARE(box->okButton != nullptr, captions.contains("OK"));

    // Left to right as the user sees them, in the opener's font.
    QList<QVexmarButton *> shown = box->findChildren<QVexmarButton *>();
    std::sort(shown.begin(), shown.end(), [](QVexmarButton *a, QVexmarButton *b) { return a->x() < b->x(); });
    QStringList seen;
    for (QVexmarButton *button : qAsConst(shown)) {
        QVERIFY(button->isVisible());
        QCOMPARE(button->font().family(), openerFont.family());
        seen << button->text();
    }
    QCOMPARE(seen, captions);
    QCOMPARE(box->label->text(), QStringLiteral("Are you sure?"));
    QVERIFY(box->label->font().bold());
    box->close();
}

void TestVexmarWidgets::popupClosedOnceAndDeleted_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("cancelled");

    QTest::newRow("OK accepts") << "OK" << 0;
    QTest::newRow("Cancel") << "Cancel" << 1;
    QTest::newRow("release on the text") << "text" << 1;
    QTest::newRow("press outside") << "outside" << 1;
    QTest::newRow("closed twice by the program") << "close" << 1;
}

// Whoever closes it, and however often, the opener hears of it once, after it is hidden; it then deletes itself.
void TestVexmarWidgets::popupClosedOnceAndDeleted()
{
    QFETCH(QString, how);
    QFETCH(int, cancelled);

    QPointer<QVexmarMessage> box = new QVexmarMessage(QStringLiteral("Are you sure?"), 3, m_opener);
    box->placeOver(m_opener);
    QStringList reports;
    connect(box.data(), &QVexmarPopup::popupClosed, this,
        [&] { reports << QStringLiteral("cancelled %1 visible %2").arg(box->cancelled).arg(box->isVisible()); });
    box->showMessage();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QCOMPARE(QApplication::activePopupWidget(), box.data());
    if (how == "outside") {
        QTest::mouseClick(m_opener->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    } else if (how == "close") {
        box->close();
        box->close();
    } else {
        QWidget *target = how == "OK" ? box->okButton
            : how == "Cancel"         ? box->cancelButton
                                      : static_cast<QWidget *>(box->label);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }
    QTRY_COMPARE(reports, QStringList {QStringLiteral("cancelled %1 visible 0").arg(cancelled)});
    QTRY_VERIFY(box.isNull());
}

// A question: white text on dark grey, two white buttons with black captions, the box framed.
void TestVexmarWidgets::messageLooks()
{
    auto *box = new QVexmarMessage(QStringLiteral("Are you sure?"), 3, m_opener);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    const QImage image = box->grab().toImage();
    const QRgb grey = rgb(50, 50, 50);
    QCOMPARE(pixelAt(image, 20, 20), grey);
    QVERIFY(countPixels(image, box->label->geometry(), qRgb(255, 255, 255)) > 100);
    for (QVexmarButton *button : {box->cancelButton, box->okButton}) {
        const QRect face = button->geometry().adjusted(8, 8, -8, -8);
        QVERIFY(countPixels(image, face, qRgb(255, 255, 255)) > face.width() * face.height() / 2);
        QVERIFY(countPixels(image, face, qRgb(0, 0, 0)) > 20);
    }
    QVERIFY(box->cancelButton->x() < box->okButton->x());
    QVERIFY(box->label->geometry().bottom() < box->okButton->y());
    QCOMPARE(pixelAt(image, 1, 140), rgb(255, 255, 255)); // the frame line
    box->close();
}

void TestVexmarWidgets::autoCloseCountsFromShow()
{
    QPointer<QVexmarMessage> box = new QVexmarMessage(QStringLiteral("Saved"), 0, m_opener);
    box->autoCloseMsec = 100;
    QSignalSpy closed(box.data(), &QVexmarPopup::popupClosed);
    QElapsedTimer sinceShow;

    // Shown only 300 ms after it was built: the 100 ms count from then.
    QTimer::singleShot(300, box.data(), [&] {
        QVERIFY(!box->timer.isActive());
        sinceShow.start();
        box->show();
    });
    QVERIFY(closed.wait(5000));
    QVERIFY2(sinceShow.isValid(), "closed before it was shown");
    // A coarse timer may fire 5 % early, and Qt rounds its deadline down to the millisecond.
    QVERIFY2(sinceShow.elapsed() >= 100 * 95 / 100 - 1, QByteArray::number(sinceShow.elapsed()).constData());
    QCOMPARE(box->cancelled, 1);
    QCOMPARE(box->autoCloseMsec, 0);
    QTRY_VERIFY(box.isNull());
}

void TestVexmarWidgets::screenMessage_data()
{
    QTest::addColumn<QString>("screen"); // "own": with a message popup of its own; "plain"; "none"
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QString>("shownOn"); // where the message popup opens: "screen", "opener" or "nowhere"

    QTest::newRow("the screen's own popup") << "own" << true << "nowhere";
    QTest::newRow("over a plain screen") << "plain" << true << "screen";
    QTest::newRow("no screen: over the fallback") << "none" << true << "opener";
    QTest::newRow("no screen, no fallback") << "none" << false << "nowhere";
}

// What has no page of its own reaches the screen's one message; two texts in a row share one popup.
void TestVexmarWidgets::screenMessage()
{
    QFETCH(QString, screen);
    QFETCH(bool, fallback);
    QFETCH(QString, shownOn);

    MessageScreen own;
    QWidget *screenWidget = screen == "own" ? static_cast<QWidget *>(&own) : m_screen;
    g_screenWindow = screen == "none" ? nullptr : screenWidget;
    showScreenMessage(QStringLiteral("Disk full"), 0, fallback ? m_opener : nullptr);
    showScreenMessage(QStringLiteral("Disk still full"), 2000, fallback ? m_opener : nullptr);

    if (screen == "own") {
        QCOMPARE(own.shown.size(), 2);
        QCOMPARE(own.shown.at(0), qMakePair(QStringLiteral("Disk full"), 0));
        QCOMPARE(own.shown.at(1), qMakePair(QStringLiteral("Disk still full"), 2000));
    }
    const QList<QVexmarMessage *> onScreen = m_screen->findChildren<QVexmarMessage *>();
    const QList<QVexmarMessage *> onOpener = m_opener->findChildren<QVexmarMessage *>();
    QCOMPARE(onScreen.size(), shownOn == "screen" ? 1 : 0);
    QCOMPARE(onOpener.size(), shownOn == "opener" ? 1 : 0);
    const QList<QVexmarMessage *> shown = onScreen + onOpener;
    if (!shown.isEmpty()) {
        QCOMPARE(shown.first()->text, QStringLiteral("Disk still full"));
        QVERIFY(shown.first()->timer.isActive());
        shown.first()->close();
    }
    g_screenWindow = m_screen;
}

// A page shows one message at a time; once it has closed, the next text opens a new one.
void TestVexmarWidgets::pageKeepsOneMessage()
{
    QVexmarPageWidget page;
    page.resize(1280, 676);
    QPointer<QVexmarMessage> first = page.showMessage(QStringLiteral("Saving..."), 0);
    QVERIFY(first);
    QCOMPARE(page.showMessage(QStringLiteral("Saved"), 0), first.data());
    QCOMPARE(page.findChildren<QVexmarMessage *>().size(), 1);
    QCOMPARE(first->text, QStringLiteral("Saved"));
    QCOMPARE(first->parentWidget(), &page);

    first->close();
    QTRY_VERIFY(first.isNull());
    QVexmarMessage *next = page.showMessage(QStringLiteral("Failed to save the project."), 0);
    QVERIFY(next);
    QCOMPARE(page.findChildren<QVexmarMessage *>().size(), 1);
    QCOMPARE(next->text, QStringLiteral("Failed to save the project."));
    next->close();
}

void TestVexmarWidgets::dummyPage()
{
    QVexmarDummyPage page(QStringLiteral(":/images/MyQuorvaneRE.png"));
    page.resize(1280, 676);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    // The picture fills the page: its blue plate shows in the middle, the home icon sits in its button.
    const QImage image = page.grab().toImage();
    const QColor middle = image.pixelColor(640, 10);
    QVERIFY2(middle.blue() > 150 && middle.red() < 100, qPrintable(middle.name()));
    const QColor icon = image.pixelColor(page.homeButton->geometry().center() - QPoint(0, 5));
    QCOMPARE(icon, QColor(0, 162, 232));

    qRegisterMetaType<QVexmar::Page>();
    QSignalSpy activated(&page, &QVexmarDummyPage::pageActivated);
    QTest::mouseClick(page.homeButton, Qt::LeftButton);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).value<QVexmar::Page>(), QVexmar::HomePage);
}

QTEST_MAIN(TestVexmarWidgets)
#include "tst_vexmarwidgets.moc"
