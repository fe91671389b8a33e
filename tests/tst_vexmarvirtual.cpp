#include "tests/vexmarkeyrecorder.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarvirtual.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

enum { Numeric = -1 };

// The keys as the user reads them, 32 per page; "" is a hidden key.
// clang-format off
const QStringList numericPage{"", "", "", "", "@", "1", "2", "3", ".", "+",
                              "", "", "", "", ":", "4", "5", "6", "*", "#",
                              "", "", ",", "7", "8", "9", "", "Backspace",
                              "Cancel", "Abc", "0", "OK"};
const QStringList lowerPage{"q", "w", "e", "r", "t", "y", "u", "i", "o", "p",
                            "a", "s", "d", "f", "g", "h", "j", "k", "l", "z",
                            "x", "c", "v", "b", "n", "m", "Caps", "Backspace",
                            "Cancel", "12!?", " ", "OK"};
const QStringList upperPage{"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P",
                            "A", "S", "D", "F", "G", "H", "J", "K", "L", "Z",
                            "X", "C", "V", "B", "N", "M", "Caps", "Backspace",
                            "Cancel", "12!?", " ", "OK"};
const QStringList symbolPage1{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
                              "@", "&", "%", "=", "+", "-", "*", "/", "(", ")",
                              ",", ":", ";", "_", "\\", ".", "1 / 2", "Backspace",
                              "Cancel", "Abc", " ", "OK"};
const QStringList symbolPage2{"1", "2", "3", "4", "5", "6", "7", "8", "9", "0",
                              "#", "$", "~", "[", "]", "{", "}", "<", ">", "|",
                              ",", "!", "?", "'", "\"", ".", "2 / 2", "Backspace",
                              "Cancel", "Abc", " ", "OK"};
// clang-format on

QStringList shownKeys(const QVexmarVirtual &keyboard)
{
    QStringList texts;
    for (QVexmarButton *key : keyboard.keys)
        texts << (key->isHidden() ? QString() : key->text());
    return texts;
}

enum Key { Caps = 26, Backspace = 27, Cancel = 28, PageKey = 29, Space = 30, Ok = 31 };

} // namespace

class TestVexmarVirtual : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyPlaces_data();
    void keyPlaces();
    void pageTransitions_data();
    void pageTransitions();
    void unknownPageShowsLowerCase();
    void typing_data();
    void typing();
    void closing_data();
    void closing();
    void openerTextKeptWithCursorAtEnd();
    void unusedKeysGoToScreen_data();
    void unusedKeysGoToScreen();
    void clickWithoutKeyIndexIgnored();
    void looks();

private:
    void show(QVexmarVirtual *keyboard);
    static void press(QVexmarVirtual *keyboard, int index);

    QWidget *m_opener = nullptr;
    VexmarKeyRecorder *m_screen = nullptr;
};

void TestVexmarVirtual::init()
{
    m_screen = new VexmarKeyRecorder;
    g_screenWindow = m_screen;
    m_opener = new QWidget;
    m_opener->resize(1280, 720);
    m_opener->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_opener));
}

void TestVexmarVirtual::cleanup()
{
    delete m_opener;
    m_opener = nullptr;
    delete m_screen;
    m_screen = nullptr;
}

void TestVexmarVirtual::show(QVexmarVirtual *keyboard)
{
    keyboard->placeOver(m_opener);
    keyboard->show();
    QVERIFY(QTest::qWaitForWindowExposed(keyboard));
}

void TestVexmarVirtual::press(QVexmarVirtual *keyboard, int index)
{
    QVexmarButton *key = keyboard->keys[index];
    QVERIFY2(key->isVisible(), qPrintable(QString::number(index)));
    QTest::mouseClick(key, Qt::LeftButton, {}, key->rect().center());
}

void TestVexmarVirtual::keyPlaces_data()
{
    QTest::addColumn<bool>("alphanumeric");
    QTest::newRow("letters") << true;
    QTest::newRow("numeric keypad") << false;
}

// Every key inside the box, none covering another.
void TestVexmarVirtual::keyPlaces()
{
    QFETCH(bool, alphanumeric);
    QVexmarVirtual keyboard(alphanumeric);
    const QRect inside = keyboard.contentsRect();
    for (int i = 0; i < QVexmarVirtual::keyCount; ++i) {
        const QRect place = keyboard.keys[i]->geometry();
        QVERIFY2(inside.contains(place), qPrintable(QString::number(i)));
        for (int j = 0; j < i; ++j)
            QVERIFY2(
                !place.intersects(keyboard.keys[j]->geometry()), qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
    }
}

// Each page's keys as the user reads them, reached as the user reaches them.
void TestVexmarVirtual::pageTransitions_data()
{
    QTest::addColumn<bool>("alphanumeric");
    QTest::addColumn<QList<int>>("presses");
    QTest::addColumn<int>("page");

    QTest::newRow("letters start in lower case") << true << QList<int> {} << 0;
    QTest::newRow("Caps") << true << QList<int> {Caps} << 1;
    QTest::newRow("Caps twice") << true << QList<int> {Caps, Caps} << 0;
    QTest::newRow("12!? from lower case") << true << QList<int> {PageKey} << 2;
    QTest::newRow("12!? from upper case") << true << QList<int> {Caps, PageKey} << 2;
    QTest::newRow("Abc from symbols 1 is lower case") << true << QList<int> {Caps, PageKey, PageKey} << 0;
    QTest::newRow("1 / 2") << true << QList<int> {PageKey, Caps} << 3;
    QTest::newRow("2 / 2") << true << QList<int> {PageKey, Caps, Caps} << 2;
    QTest::newRow("Abc from symbols 2") << true << QList<int> {PageKey, Caps, PageKey} << 0;
    QTest::newRow("numeric keypad") << false << QList<int> {} << int(Numeric);
    QTest::newRow("Abc leaves the keypad") << false << QList<int> {PageKey} << 0;
    QTest::newRow("then Caps") << false << QList<int> {PageKey, Caps} << 1;
    QTest::newRow("no way back to the keypad") << false << QList<int> {PageKey, PageKey, PageKey} << 0;
    QTest::newRow("typing keeps the page") << true << QList<int> {Caps, 0, Space, Backspace} << 1;
}

void TestVexmarVirtual::pageTransitions()
{
    QFETCH(bool, alphanumeric);
    QFETCH(QList<int>, presses);
    QFETCH(int, page);

    auto *keyboard = new QVexmarVirtual(alphanumeric, m_opener);
    show(keyboard);
    for (int index : qAsConst(presses))
        press(keyboard, index);
    if (QTest::currentTestFailed())
        return;

    const QStringList pages[] = {lowerPage, upperPage, symbolPage1, symbolPage2};
    QCOMPARE(shownKeys(*keyboard), page == Numeric ? numericPage : pages[page]);
    QCOMPARE(keyboard->alphanumeric, page != Numeric);
    if (page != Numeric)
        QCOMPARE(keyboard->keyPage, page);
    QVERIFY(keyboard->isVisible());
    keyboard->close();
}

// An index outside the pages shows lower case and says so, so that "Caps" and "12!?" go on working.
void TestVexmarVirtual::unknownPageShowsLowerCase()
{
    auto *keyboard = new QVexmarVirtual(true, m_opener);
    show(keyboard);
    keyboard->setKeyPage(7);
    QCOMPARE(shownKeys(*keyboard), lowerPage);
    QCOMPARE(keyboard->keyPage, 0);
    press(keyboard, Caps);
    QCOMPARE(shownKeys(*keyboard), upperPage);

    auto *keypad = new QVexmarVirtual(false, m_opener);
    keypad->setKeyPage(2);
    QCOMPARE(shownKeys(*keypad), numericPage);
    keyboard->close();
    delete keypad;
}

void TestVexmarVirtual::typing_data()
{
    QTest::addColumn<bool>("alphanumeric");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QList<int>>("presses");
    QTest::addColumn<QString>("text");

    QTest::newRow("letters") << true << "" << false << QList<int> {0, 1, 2} << "qwe";
    QTest::newRow("appended to the opener's text") << true << "ab" << false << QList<int> {Caps, 21} << "abC";
    QTest::newRow("space") << true << "a" << false << QList<int> {Space, 10} << "a a";
    QTest::newRow("Backspace") << true << "abc" << false << QList<int> {Backspace} << "ab";
    QTest::newRow("Backspace on an empty line") << true << "" << false << QList<int> {Backspace, Backspace} << "";
    QTest::newRow("selection replaced") << true << "hello" << true << QList<int> {23} << "b";
    QTest::newRow("Backspace removes the selection") << true << "hello" << true << QList<int> {Backspace} << "";
    QTest::newRow("backslash and quote") << true << "" << false << QList<int> {PageKey, 24, Caps, 24, 19} << "\\\"|";
    QTest::newRow("dial number") << false << "" << false << QList<int> {9, 5, 24, 30, 18, 19} << "+180*#";
    QTest::newRow("address") << false << "10" << false << QList<int> {8, 30, 22, 14, 4} << "10.0,:@";
    QTest::newRow("Abc keeps the text") << false << "12" << false << QList<int> {PageKey, 0} << "12q";
    QTest::newRow("space after Abc") << false << "" << false << QList<int> {PageKey, PageKey, PageKey, Space} << " ";
}

void TestVexmarVirtual::typing()
{
    QFETCH(bool, alphanumeric);
    QFETCH(QString, initial);
    QFETCH(bool, selectAll);
    QFETCH(QList<int>, presses);
    QFETCH(QString, text);

    auto *keyboard = new QVexmarVirtual(alphanumeric, m_opener);
    keyboard->lineEdit.setText(initial);
    show(keyboard);
    if (selectAll)
        keyboard->lineEdit.selectAll();
    for (int index : qAsConst(presses))
        press(keyboard, index);
    QCOMPARE(keyboard->lineEdit.text(), text);
    keyboard->close();
}

void TestVexmarVirtual::closing_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("cancelled");

    QTest::newRow("OK") << int(Ok) << 0;
    QTest::newRow("Cancel") << int(Cancel) << 1;
    QTest::newRow("press outside") << -1 << 1;
}

void TestVexmarVirtual::closing()
{
    QFETCH(int, key);
    QFETCH(int, cancelled);

    QPointer<QVexmarVirtual> keyboard = new QVexmarVirtual(true, m_opener);
    keyboard->titleLabel.setText(QStringLiteral("Enter Password"));
    keyboard->lineEdit.setEchoMode(QLineEdit::Password);
    show(keyboard);
    press(keyboard, 0);
    press(keyboard, 1);

    // What an opener does in its slot.
    int seenCancelled = -1;
    QString seenText;
    int reports = 0;
    connect(keyboard.data(), &QVexmarPopup::popupClosed, this, [&] {
        auto *popup = qobject_cast<QVexmarVirtual *>(sender());
        ++reports;
        seenCancelled = popup->cancelled;
        seenText = popup->lineEdit.text();
    });
    if (key < 0)
        QTest::mouseClick(m_opener->windowHandle(), Qt::LeftButton, {}, QPoint(3, 3));
    else
        press(keyboard, key);
    QTRY_COMPARE(reports, 1);
    QCOMPARE(seenCancelled, cancelled);
    QCOMPARE(seenText, QStringLiteral("qw"));
    QTRY_VERIFY(keyboard.isNull());
}

void TestVexmarVirtual::openerTextKeptWithCursorAtEnd()
{
    auto *keyboard = new QVexmarVirtual(true, m_opener);
    keyboard->lineEdit.setText(QStringLiteral("studio"));
    keyboard->lineEdit.setCursorPosition(2);
    show(keyboard);
    QTRY_VERIFY(keyboard->lineEdit.hasFocus());
    QCOMPARE(keyboard->lineEdit.cursorPosition(), 6);
    QVERIFY(!keyboard->lineEdit.hasSelectedText());

    // A physical keyboard types straight into the line.
    QTest::keyClicks(&keyboard->lineEdit, QStringLiteral("1b"));
    QCOMPARE(keyboard->lineEdit.text(), QStringLiteral("studio1b"));
    QVERIFY(m_screen->posted.isEmpty());
    keyboard->close();
}

void TestVexmarVirtual::unusedKeysGoToScreen_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Escape") << int(Qt::Key_Escape);
    QTest::newRow("F2") << int(Qt::Key_F2);
}

void TestVexmarVirtual::unusedKeysGoToScreen()
{
    QFETCH(int, key);
    auto *keyboard = new QVexmarVirtual(true, m_opener);
    show(keyboard);
    QTRY_VERIFY(keyboard->lineEdit.hasFocus());
    QTest::keyClick(&keyboard->lineEdit, Qt::Key(key));
    QTRY_COMPARE(m_screen->posted.size(), 2);
    const QList<VexmarKeyRecorder::Posted> expected {{6, key, 0}, {7, key, 0}};
    QCOMPARE(m_screen->posted, expected);
    QVERIFY(keyboard->isVisible());
    keyboard->close();
}

void TestVexmarVirtual::clickWithoutKeyIndexIgnored()
{
    auto *keyboard = new QVexmarVirtual(true, m_opener);
    keyboard->lineEdit.setText(QStringLiteral("x"));
    show(keyboard);
    QPointer<QVexmarVirtual> guard = keyboard;

    auto *stranger = new QPushButton(m_opener);
    connect(stranger, &QPushButton::clicked, keyboard, &QVexmarVirtual::buttonClicked);
    auto *outOfRange = new QPushButton(m_opener);
    outOfRange->setProperty("vkb_button", 40);
    connect(outOfRange, &QPushButton::clicked, keyboard, &QVexmarVirtual::buttonClicked);
    stranger->click();
    outOfRange->click();
    QVERIFY(!guard.isNull());
    QVERIFY(keyboard->isVisible());
    QCOMPARE(keyboard->lineEdit.text(), QStringLiteral("x"));
    QCOMPARE(shownKeys(*keyboard), lowerPage);
    keyboard->close();
}

// Dark grey box; character keys are white outlines, function keys grey faces, both with white captions.
void TestVexmarVirtual::looks()
{
    auto *keyboard = new QVexmarVirtual(true, m_opener);
    keyboard->titleLabel.setText(QStringLiteral("Name"));
    show(keyboard);
    const QImage image = keyboard->grab().toImage();
    auto colour = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };

    const QRect q = keyboard->keys[0]->geometry();
    QCOMPARE(colour(q.x() + 5, q.y() + 5), qRgb(50, 50, 50) & 0xFFFFFFu);
    QCOMPARE(colour(q.x() + 1, q.center().y()), 0xFFFFFFu);
    const QRect ok = keyboard->keys[Ok]->geometry();
    QCOMPARE(colour(ok.x() + 10, ok.y() + 10), QColor(Qt::gray).rgb() & 0xFFFFFFu);
    int white = 0;
    for (int y = ok.y() + 10; y < ok.bottom() - 10; ++y)
        for (int x = ok.x() + 10; x < ok.right() - 10; ++x)
            white += colour(x, y) == 0xFFFFFFu;
    QVERIFY(white > 30);
    keyboard->close();
}

QTEST_MAIN(TestVexmarVirtual)
#include "tst_vexmarvirtual.moc"
