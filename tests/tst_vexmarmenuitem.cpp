#include "tests/pixeltesting.h"
#include "tests/vexmarkeyrecorder.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarcontrols.h"

#include <QLineEdit>
#include <QtTest>

namespace {

const QColor valueBlue(0, 162, 232);
const QColor lockedGrey(127, 127, 127);

// Counts the value changes that rows report to their menu.
class RecordingMenu : public QVexmarMenuWidget
{
public:
    using QVexmarMenuWidget::QVexmarMenuWidget;
    QList<QVexmarMenuItem *> changed;
    void itemValueChanged(QVexmarMenuItem *item) override { changed.append(item); }
};

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// Low, Mid, High, then a second Mid of value 1: "Mid" and value 1 are found first at index 1.
void addLevels(QVexmarMenuItem *row)
{
    row->addOption(0, QStringLiteral("Low"));
    row->addOption(1, QStringLiteral("Mid"));
    row->addOption(2, QStringLiteral("High"));
    row->addOption(1, QStringLiteral("Mid again"));
}

} // namespace

class TestVexmarMenuItem : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowWidgets();
    void entryStates_data();
    void entryStates();
    void selectOption_data();
    void selectOption();
    void setValueText_data();
    void setValueText();
    void valueColour();
    void editing_data();
    void editing();
    void maskedLabel_data();
    void maskedLabel();

private:
    QVexmarMenuItem *addRow(int kind);
    void act(QVexmarMenuItem *row, const QString &actions);

    VexmarKeyRecorder *m_screen = nullptr;
    QWidget *m_window = nullptr;
    RecordingMenu *m_menu = nullptr;
    QVexmarMenuItems *m_page = nullptr;
    QLineEdit *m_elsewhere = nullptr;
};

void TestVexmarMenuItem::init()
{
    m_screen = new VexmarKeyRecorder;
    g_screenWindow = m_screen;
    // The menu is a page inside a window, as on the screen.
    m_window = new QWidget;
    m_window->resize(1000, 700);
    m_menu = new RecordingMenu(m_window);
    m_menu->resize(1000, 700);
    m_page = new QVexmarMenuItems(3, m_menu);
    m_page->setGeometry(0, 0, 980, 600);
    m_elsewhere = new QLineEdit(m_menu);
    m_elsewhere->setGeometry(0, 620, 200, 40);
}

void TestVexmarMenuItem::cleanup()
{
    delete m_window;
    delete m_screen;
}

QVexmarMenuItem *TestVexmarMenuItem::addRow(int kind)
{
    auto *row = new QVexmarMenuItem(40, kind, m_page);
    row->titleLabel->setText(QStringLiteral("Row"));
    m_page->addItem(row);
    return row;
}

// Beside its title each kind shows a value ('v', masked 'm', none '-') and maybe an editor (icon 'i', switch 's',
// wheel 'w').
void TestVexmarMenuItem::rowWidgets()
{
    QStringList shown;
    for (int kind = QVexmarMenuItem::Label; kind <= QVexmarMenuItem::Action; ++kind) {
        const QVexmarMenuItem *row = addRow(kind);
        QString widgets = !row->valueLabel ? "-" : qobject_cast<QPwdLabel *>(row->valueLabel) ? "m" : "v";
        if (row->iconLabel) {
            widgets += "i";
            QVERIFY(!row->iconLabel->pixmap(Qt::ReturnByValue).isNull());
        }
        shown << widgets + (row->switchButton ? "s" : row->wheel ? "w" : "");
    }
    QCOMPARE(shown.join(' '), QStringLiteral("- v vs v m v m v vi vw vw vi"));
}

void TestVexmarMenuItem::entryStates_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QColor>("title");

    dataRow("new: white", QList<int>(), QColor(Qt::white));
    dataRow("current: blue", QList<int> {1}, valueBlue);
    dataRow("disabled: grey", QList<int> {2}, lockedGrey);
    dataRow("back to normal", QList<int> {1, 0}, QColor(Qt::white));
    dataRow("unknown state: white", QList<int> {2, 5}, QColor(Qt::white));
}

void TestVexmarMenuItem::entryStates()
{
    QFETCH(QList<int>, states);
    QFETCH(QColor, title);

    QVexmarMenuEntry entry(1, nullptr);
    for (int state : states)
        entry.setState(state);
    QCOMPARE(textColour(entry.titleLabel), title);
}

void TestVexmarMenuItem::selectOption_data()
{
    QTest::addColumn<bool>("withOptions");
    QTest::addColumn<bool>("byText");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("showText");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("shown");

    QTest::newRow("value found") << true << false << 2 << "" << true << true << 2 << "High";
    QTest::newRow("value twice: the first") << true << false << 1 << "" << true << true << 1 << "Mid";
    QTest::newRow("value found, text not shown") << true << false << 2 << "" << false << true << 2 << "before";
    QTest::newRow("value missing, strict") << true << false << 9 << "" << true << true << -1 << "before";
    QTest::newRow("value missing, lenient: option 0") << true << false << 9 << "" << true << false << 0 << "Low";
    QTest::newRow("value missing, lenient, text not shown")
        << true << false << 9 << "" << false << false << 0 << "before";
    QTest::newRow("empty list, strict") << false << false << 0 << "" << true << true << -1 << "before";
    QTest::newRow("empty list, lenient") << false << false << 0 << "" << true << false << -1 << "before";
    QTest::newRow("text found") << true << true << 0 << "Mid again" << true << true << 3 << "Mid again";
    QTest::newRow("text differs in case, strict") << true << true << 0 << "high" << true << true << -1 << "before";
    QTest::newRow("text missing, lenient") << true << true << 0 << "Loud" << true << false << 0 << "Low";
    QTest::newRow("text, empty list, lenient") << false << true << 0 << "Low" << true << false << -1 << "before";
}

void TestVexmarMenuItem::selectOption()
{
    QFETCH(bool, withOptions);
    QFETCH(bool, byText);
    QFETCH(int, value);
    QFETCH(QString, text);
    QFETCH(bool, showText);
    QFETCH(bool, strict);
    QFETCH(int, index);
    QFETCH(QString, shown);

    for (const int kind : {int(QVexmarMenuItem::Selection), int(QVexmarMenuItem::Wheel)}) {
        QVexmarMenuItem *row = addRow(kind);
        if (withOptions)
            addLevels(row);
        row->setValueText(QStringLiteral("before"));
        const int current = row->currentOption();
        // Asking changes nothing.
        QCOMPARE(byText ? row->optionIndexOfText(text, strict) : row->optionIndex(value, strict), index);
        QCOMPARE(row->currentOption(), current);

        QCOMPARE(
            byText ? row->selectOptionText(text, showText, strict) : row->selectOption(value, showText, strict), index);
        QCOMPARE(row->currentOption(), index);
        QCOMPARE(row->valueLabel->text(), shown);
    }
}

void TestVexmarMenuItem::setValueText_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("strict");
    QTest::addColumn<int>("current");

    QTest::newRow("Selection, an option's text") << int(QVexmarMenuItem::Selection) << "High" << false << 2;
    QTest::newRow("Selection, unknown text: option 0") << int(QVexmarMenuItem::Selection) << "Loud" << false << 0;
    QTest::newRow("Selection, unknown text, strict") << int(QVexmarMenuItem::Selection) << "Loud" << true << -1;
    QTest::newRow("ReadOnly keeps its option") << int(QVexmarMenuItem::ReadOnly) << "High" << false << 1;
    QTest::newRow("Label has no value") << int(QVexmarMenuItem::Label) << "High" << false << 1;
}

void TestVexmarMenuItem::setValueText()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(bool, strict);
    QFETCH(int, current);

    QVexmarMenuItem *row = addRow(kind);
    addLevels(row);
    row->selectOption(1, false, true);
    row->setValueText(text, strict);
    QCOMPARE(row->currentOption(), current);
    if (row->valueLabel)
        QCOMPARE(row->valueLabel->text(), text);
}

void TestVexmarMenuItem::valueColour()
{
    QVexmarMenuItem *row = addRow(QVexmarMenuItem::ReadOnly);
    row->setValueTextAndGlobalColor(QStringLiteral("Failed"), Qt::red);
    // An invalid colour keeps the one there is.
    row->setValueTextAndColor(QStringLiteral("Again"), QColor());
    QCOMPARE(row->valueLabel->text() + textColour(row->valueLabel).name(), QStringLiteral("Again#ff0000"));
    row->setValueTextAndColor(QStringLiteral("OK"), Qt::green);
    QCOMPARE(textColour(row->valueLabel), QColor(Qt::green));
    // A row without a value takes none.
    addRow(QVexmarMenuItem::Label)->setValueTextAndGlobalColor(QStringLiteral("x"), Qt::red);
}

// 'c' touches the row's switch or wheel, '+' '-' turn the wheel, 'x' touches elsewhere; the owner's calls: '1' '0'
// setChecked, 'L'ock, 'U'nlock, 'G' lock in dark grey, 'r' the value text red, 'C'lear the options, add 'O'ne
// or 'T'wo.
void TestVexmarMenuItem::act(QVexmarMenuItem *row, const QString &actions)
{
    for (const QChar action : actions) {
        switch (action.toLatin1()) {
        case 'c':
            QTest::mouseClick(row->wheel ? static_cast<QWidget *>(row->wheel) : row->switchButton, Qt::LeftButton);
            break;
        case 'x':
            QTest::mouseClick(m_elsewhere, Qt::LeftButton);
            break;
        case '1':
        case '0':
            row->setChecked(action == QLatin1Char('1'));
            break;
        case 'L':
        case 'U':
            row->setLocked(action == QLatin1Char('L'));
            break;
        case 'G':
            row->setLocked(true, Qt::darkGray);
            break;
        case 'r':
            row->setValueTextAndGlobalColor(row->valueLabel->text(), Qt::red);
            break;
        case 'C':
            row->clearOptions();
            break;
        case 'O':
        case 'T':
            row->addOption(
                row->options().size(), action == QLatin1Char('O') ? QStringLiteral("One") : QStringLiteral("Two"));
            break;
        default: {
            QKeyEvent key(QEvent::KeyPress, action == QLatin1Char('+') ? Qt::Key_Plus : Qt::Key_Minus, Qt::NoModifier);
            QCoreApplication::sendEvent(row->wheel, &key);
        }
        }
    }
}

void TestVexmarMenuItem::editing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("text"); // the value shown; "" while the wheel turns
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("changes"); // told to the menu
    QTest::addColumn<QColor>("colour");

    const int sw = QVexmarMenuItem::Switch;
    const int wheel = QVexmarMenuItem::Wheel;
    const int live = QVexmarMenuItem::LiveWheel;
    const QColor grey = lockedGrey;
    const QColor blue = valueBlue;
    // Every row starts at Mid (option 1) of Low, Mid, High, Mid again. A switch shows options 0 and 1, else its
    // own words; set by the owner it tells nobody.
    dataRow("switch on", sw, "01", "Mid", 1, 0, blue);
    dataRow("switch off", sw, "10", "Low", 0, 0, blue);
    dataRow("switch without options, on", sw, "C01", "Active", -1, 0, blue);
    dataRow("switch without options, off", sw, "C10", "Disabled", -1, 0, blue);
    dataRow("switch with one option, on", sw, "CO01", "Active", -1, 0, blue);
    dataRow("switch with two options, on", sw, "COT01", "Two", 1, 0, blue);
    dataRow("switch with two options, off", sw, "COT10", "One", 0, 0, blue);
    dataRow("a row without a switch ignores it", int(QVexmarMenuItem::ReadOnly), "01", "Mid", 1, 0, blue);
    dataRow("switch touched on", sw, "0c", "Mid", 1, 1, blue);
    dataRow("switch touched on and off", sw, "0cc", "Low", 0, 2, blue);
    // Locked: grey, and touches do nothing.
    dataRow("switch locked", sw, "0Lc", "Low", 0, 0, grey);
    dataRow("switch unlocked again", sw, "0LUc", "Mid", 1, 1, blue);
    dataRow("switch relocked: grey again", sw, "1LrL", "Mid", 1, 0, grey);
    dataRow("wheel locked", wheel, "Lc+c", "Mid", 1, 0, grey);
    dataRow("wheel unlocked again", live, "LUc+c", "High", 2, 2, blue);
    dataRow("unlocking an unlocked row: blue again", live, "UrU", "Mid", 1, 0, blue);
    dataRow("text row locked", int(QVexmarMenuItem::Text), "L", "Mid", 1, 0, grey);
    dataRow("a colour of one's own for a locked row", wheel, "G", "Mid", 1, 0, QColor(Qt::darkGray));
    // A Wheel's turn counts when it is touched again; a LiveWheel's every step.
    dataRow("Wheel released where it was", wheel, "c+-c", "Mid", 1, 0, blue);
    dataRow("Wheel released one up", wheel, "c+c", "High", 2, 1, blue);
    dataRow("Wheel released one down", wheel, "c-c", "Low", 0, 1, blue);
    dataRow("Wheel touched twice", wheel, "cc", "Mid", 1, 0, blue);
    dataRow("Wheel being turned: red", wheel, "c+", "", 1, 0, QColor(Qt::red));
    dataRow("Wheel abandoned by a touch elsewhere", wheel, "c++x", "Mid", 1, 0, blue);
    dataRow("Wheel, keys while not touched", wheel, "++", "Mid", 1, 0, blue);
    dataRow("LiveWheel released where it was", live, "c+-c", "Mid", 1, 3, blue);
    dataRow("LiveWheel released one up", live, "c+c", "High", 2, 2, blue);
    dataRow("LiveWheel touched twice", live, "cc", "Mid", 1, 1, blue);
    dataRow("LiveWheel: steps count at once", live, "c++", "", 3, 2, blue);
    dataRow("LiveWheel left by a touch elsewhere", live, "c+x", "High", 2, 2, blue);
    dataRow("LiveWheel at the end: no step", live, "c+++c", "Mid again", 3, 3, blue);
    // The wheel still counts to the old number of options until the row is shown again: its steps and its
    // release point past the list and are dropped.
    dataRow("Wheel, options cleared", wheel, "Cc+-c", "Mid", -1, 0, blue);
    dataRow("Wheel, one option left", wheel, "COc+-c", "Mid", -1, 0, blue);
    dataRow("LiveWheel, options cleared", live, "Cc+-c", "Mid", -1, 0, blue);
    dataRow("LiveWheel, one option left", live, "COc+-c", "Mid", -1, 0, blue);
}

void TestVexmarMenuItem::editing()
{
    QFETCH(int, kind);
    QFETCH(QString, actions);
    QFETCH(QString, text);
    QFETCH(int, current);
    QFETCH(int, changes);
    QFETCH(QColor, colour);

    QVexmarMenuItem *row = addRow(kind);
    addLevels(row);
    row->selectOption(1, true, true);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    act(row, actions);
    QCOMPARE(m_menu->changed.size(), changes);
    for (QVexmarMenuItem *changed : qAsConst(m_menu->changed))
        QCOMPARE(changed, row);
    QCOMPARE(row->currentOption(), current);
    if (!text.isEmpty())
        QCOMPARE(row->valueLabel->text(), text);
    if (row->wheel && !row->wheel->isChecked() && current >= 0)
        QCOMPARE(row->wheel->value(), current);
    QCOMPARE(textColour(row->valueLabel), colour);
}

void TestVexmarMenuItem::maskedLabel_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<QString>("looksLike");

    dataRow("eight characters", "pa55word", "********");
    dataRow("empty: nothing", "", "");
}

void TestVexmarMenuItem::maskedLabel()
{
    QFETCH(QString, secret);
    QFETCH(QString, looksLike);

    QWidget window;
    window.setPalette(groundPalette());
    window.setAutoFillBackground(true);
    QFont font = window.font();
    font.setPixelSize(28);
    window.setFont(font);
    auto *masked = new QPwdLabel(secret, &window);
    auto *plain = new QLabel(looksLike, &window);
    for (QLabel *label : {static_cast<QLabel *>(masked), plain}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFixedSize(300, 40);
    }
    plain->move(0, 50);
    window.resize(300, 90);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage image = window.grab().toImage();
    QCOMPARE(image.copy(0, 0, 300, 40), image.copy(0, 50, 300, 40));
    if (secret.isEmpty())
        QCOMPARE(countPixels(image, QRect(0, 0, 300, 40), rgb(20, 20, 20)), 300 * 40);
    QCOMPARE(masked->text(), secret);
}

QTEST_MAIN(TestVexmarMenuItem)
#include "tst_vexmarmenuitem.moc"
