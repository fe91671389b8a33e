#include "pixeltesting.h"
#include "screenpointer.h"
#include "vexmarcontrols.h"
#include "vexmarkeyrecorder.h"
#include "vexmarmenuitem.h"
#include "vexmarmenuwidget.h"

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

// Low, Mid, High, then a second Mid at value 7; "Mid" and value 1 are found first at index 1.
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

    void rowWidgets_data();
    void rowWidgets();
    void entryStates_data();
    void entryStates();
    void selectOption_data();
    void selectOption();
    void setValueText_data();
    void setValueText();
    void valueColour();
    void switchText_data();
    void switchText();
    void switchTouched();
    void locking_data();
    void locking();
    void wheelTurns_data();
    void wheelTurns();
    void wheelWithStaleOptions_data();
    void wheelWithStaleOptions();
    void maskedLabel_data();
    void maskedLabel();

private:
    QVexmarMenuItem *addRow(int kind);
    void touchWheel(QVexmarMenuItem *row, const QString &actions);

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

void TestVexmarMenuItem::rowWidgets_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("value"); // "", "label" or "masked"
    QTest::addColumn<QString>("editor"); // "", "icon", "switch" or "wheel"

    QTest::newRow("Label") << int(QVexmarMenuItem::Label) << ""
                           << "";
    QTest::newRow("ReadOnly") << int(QVexmarMenuItem::ReadOnly) << "label"
                              << "";
    QTest::newRow("Switch") << int(QVexmarMenuItem::Switch) << "label"
                            << "switch";
    QTest::newRow("Text") << int(QVexmarMenuItem::Text) << "label"
                          << "";
    QTest::newRow("Password") << int(QVexmarMenuItem::Password) << "masked"
                              << "";
    QTest::newRow("Numeric") << int(QVexmarMenuItem::Numeric) << "label"
                             << "";
    QTest::newRow("Pin") << int(QVexmarMenuItem::Pin) << "masked"
                         << "";
    QTest::newRow("Selection") << int(QVexmarMenuItem::Selection) << "label"
                               << "";
    QTest::newRow("SubMenu") << int(QVexmarMenuItem::SubMenu) << "label"
                             << "icon";
    QTest::newRow("Wheel") << int(QVexmarMenuItem::Wheel) << "label"
                           << "wheel";
    QTest::newRow("LiveWheel") << int(QVexmarMenuItem::LiveWheel) << "label"
                               << "wheel";
    QTest::newRow("Action") << int(QVexmarMenuItem::Action) << "label"
                            << "icon";
}

void TestVexmarMenuItem::rowWidgets()
{
    QFETCH(int, kind);
    QFETCH(QString, value);
    QFETCH(QString, editor);

    QVexmarMenuItem *row = addRow(kind);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(m_page->items(), QList<QVexmarMenuItem *> {row});

    QCOMPARE(row->valueLabel != nullptr, !value.isEmpty());
    QCOMPARE(qobject_cast<QPwdLabel *>(row->valueLabel) != nullptr, value == QLatin1String("masked"));
    QCOMPARE(row->iconLabel != nullptr, editor == QLatin1String("icon"));
    QCOMPARE(row->switchButton != nullptr, editor == QLatin1String("switch"));
    QCOMPARE(row->wheel != nullptr, editor == QLatin1String("wheel"));

    // Title above the value, the editor at the right across both, on the row's full width.
    QCOMPARE(row->width(), 980);
    QCOMPARE(row->titleLabel->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(row->titleLabel->height(), 42);
    if (row->valueLabel)
        QCOMPARE(row->valueLabel->y(), 42);
    QWidget *right = row->iconLabel ? static_cast<QWidget *>(row->iconLabel)
        : row->switchButton         ? static_cast<QWidget *>(row->switchButton)
                                    : static_cast<QWidget *>(row->wheel);
    if (right) {
        QCOMPARE(right->geometry().right(), 979);
        QCOMPARE(right->width(), 72);
    }
    if (row->iconLabel) {
        const QImage icon = row->iconLabel->pixmap(Qt::ReturnByValue).toImage();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(72, 72));
    }
}

void TestVexmarMenuItem::entryStates_data()
{
    QTest::addColumn<QList<int>>("states");
    QTest::addColumn<QColor>("title");

    QTest::newRow("new: white") << QList<int>() << QColor(Qt::white);
    QTest::newRow("current: blue") << QList<int> {1} << valueBlue;
    QTest::newRow("disabled: grey") << QList<int> {2} << lockedGrey;
    QTest::newRow("back to normal") << QList<int> {1, 0} << QColor(Qt::white);
    QTest::newRow("unknown state: white") << QList<int> {2, 5} << QColor(Qt::white);
}

void TestVexmarMenuItem::entryStates()
{
    QFETCH(QList<int>, states);
    QFETCH(QColor, title);

    QVexmarMenuEntries entries(m_menu);
    auto *entry = new QVexmarMenuEntry(1, &entries);
    entries.addEntry(entry);
    for (int state : states)
        entry->setState(state);
    QCOMPARE(entry->state(), states.isEmpty() ? 0 : states.last());
    QCOMPARE(textColour(entry->titleLabel), title);

    // Another list's entry stays where it is.
    QVexmarMenuEntries other(m_menu);
    other.addEntry(entry);
    QCOMPARE(entry->owner, &entries);
    QCOMPARE(entry->parentWidget(), entries.contentWidget);
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
    QCOMPARE(textColour(row->valueLabel), valueBlue);
    row->setValueTextAndGlobalColor(QStringLiteral("Failed"), Qt::red);
    QCOMPARE(row->valueLabel->text(), QStringLiteral("Failed"));
    QCOMPARE(textColour(row->valueLabel), QColor(Qt::red));
    // An invalid colour keeps the one there is.
    row->setValueTextAndColor(QStringLiteral("Again"), QColor());
    QCOMPARE(row->valueLabel->text(), QStringLiteral("Again"));
    QCOMPARE(textColour(row->valueLabel), QColor(Qt::red));
    row->setValueTextAndColor(QStringLiteral("OK"), Qt::green);
    QCOMPARE(textColour(row->valueLabel), QColor(Qt::green));

    QVexmarMenuItem *label = addRow(QVexmarMenuItem::Label);
    label->setValueTextAndGlobalColor(QStringLiteral("x"), Qt::red);
    QVERIFY(!label->valueLabel);
}

void TestVexmarMenuItem::switchText_data()
{
    QTest::addColumn<int>("options");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("current");

    QTest::newRow("no options, on") << 0 << true << "Active" << -1;
    QTest::newRow("no options, off") << 0 << false << "Disabled" << -1;
    QTest::newRow("one option, on") << 1 << true << "Active" << -1;
    QTest::newRow("two options, on: option 1") << 2 << true << "Enabled" << 1;
    QTest::newRow("two options, off: option 0") << 2 << false << "Off" << 0;
    QTest::newRow("three options, on") << 3 << true << "Enabled" << 1;
}

void TestVexmarMenuItem::switchText()
{
    QFETCH(int, options);
    QFETCH(bool, checked);
    QFETCH(QString, text);
    QFETCH(int, current);

    QVexmarMenuItem *row = addRow(QVexmarMenuItem::Switch);
    const QStringList texts {QStringLiteral("Off"), QStringLiteral("Enabled"), QStringLiteral("Auto")};
    for (int i = 0; i < options; ++i)
        row->addOption(i, texts.at(i));
    // From the other position, so that the switch really moves.
    row->setChecked(!checked);
    row->setChecked(checked);
    QCOMPARE(row->switchButton->isChecked(), checked);
    QCOMPARE(row->valueLabel->text(), text);
    QCOMPARE(row->currentOption(), current);
    QVERIFY(m_menu->changed.isEmpty());

    // Rows without a switch ignore it.
    QVexmarMenuItem *plain = addRow(QVexmarMenuItem::ReadOnly);
    plain->setValueText(QStringLiteral("kept"));
    plain->setChecked(true);
    QCOMPARE(plain->valueLabel->text(), QStringLiteral("kept"));
}

void TestVexmarMenuItem::switchTouched()
{
    QVexmarMenuItem *row = addRow(QVexmarMenuItem::Switch);
    row->addOption(0, QStringLiteral("Off"));
    row->addOption(1, QStringLiteral("On"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QCOMPARE(row->valueLabel->text(), QStringLiteral("Off"));

    QTest::mouseClick(row->switchButton, Qt::LeftButton);
    QCOMPARE(row->valueLabel->text(), QStringLiteral("On"));
    QCOMPARE(m_menu->changed, QList<QVexmarMenuItem *> {row});
    QTest::mouseClick(row->switchButton, Qt::LeftButton);
    QCOMPARE(row->valueLabel->text(), QStringLiteral("Off"));
    QCOMPARE(row->currentOption(), 0);
    QCOMPARE(m_menu->changed.size(), 2);

    // A locked row's switch does not move.
    row->setLocked(true);
    QTest::mouseClick(row->switchButton, Qt::LeftButton);
    QVERIFY(!row->switchButton->isChecked());
    QCOMPARE(m_menu->changed.size(), 2);
}

void TestVexmarMenuItem::locking_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QList<bool>>("locks");
    QTest::addColumn<bool>("recolourBetween"); // red between the last two calls
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("editable");

    using Locks = QList<bool>;
    QTest::newRow("switch locked") << int(QVexmarMenuItem::Switch) << Locks {true} << false << lockedGrey << false;
    QTest::newRow("switch unlocked again")
        << int(QVexmarMenuItem::Switch) << Locks {true, false} << false << valueBlue << true;
    QTest::newRow("switch relocked: grey again")
        << int(QVexmarMenuItem::Switch) << Locks {true, true} << true << lockedGrey << false;
    QTest::newRow("wheel locked") << int(QVexmarMenuItem::Wheel) << Locks {true} << false << lockedGrey << false;
    QTest::newRow("wheel unlocked again")
        << int(QVexmarMenuItem::LiveWheel) << Locks {true, false} << false << valueBlue << true;
    QTest::newRow("unlocking an unlocked row: blue again")
        << int(QVexmarMenuItem::LiveWheel) << Locks {false, false} << true << valueBlue << true;
    QTest::newRow("text row locked") << int(QVexmarMenuItem::Text) << Locks {true} << false << lockedGrey << false;
}

void TestVexmarMenuItem::locking()
{
    QFETCH(int, kind);
    QFETCH(QList<bool>, locks);
    QFETCH(bool, recolourBetween);
    QFETCH(QColor, colour);
    QFETCH(bool, editable);

    QVexmarMenuItem *row = addRow(kind);
    addLevels(row);
    row->selectOption(1, true, true);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    for (int i = 0; i < locks.size(); ++i) {
        if (recolourBetween && i == locks.size() - 1)
            row->setValueTextAndGlobalColor(QStringLiteral("Mid"), Qt::red);
        row->setLocked(locks.at(i));
    }
    QCOMPARE(row->isLocked(), locks.last());
    QCOMPARE(textColour(row->valueLabel), colour);
    if (row->switchButton)
        QCOMPARE(row->switchButton->isEnabled(), editable);
    if (row->wheel) {
        QCOMPARE(row->wheel->isCheckable(), editable);
        QTest::mouseClick(row->wheel, Qt::LeftButton);
        QCOMPARE(row->wheel->isChecked(), editable);
    }

    // A colour of one's own for a locked row.
    row->setLocked(true, Qt::darkGray);
    QCOMPARE(textColour(row->valueLabel), QColor(Qt::darkGray));
}

void TestVexmarMenuItem::touchWheel(QVexmarMenuItem *row, const QString &actions)
{
    for (const QChar action : actions) {
        if (action == QLatin1Char('c')) {
            QTest::mouseClick(row->wheel, Qt::LeftButton);
        } else if (action == QLatin1Char('x')) {
            QTest::mouseClick(m_elsewhere, Qt::LeftButton);
        } else {
            QKeyEvent key(QEvent::KeyPress, action == QLatin1Char('+') ? Qt::Key_Plus : Qt::Key_Minus, Qt::NoModifier);
            QCoreApplication::sendEvent(row->wheel, &key);
        }
    }
}

void TestVexmarMenuItem::wheelTurns_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("actions"); // 'c' touch the wheel, '+' '-' turn it, 'x' touch elsewhere
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("current");
    QTest::addColumn<QColor>("colour");

    const int wheel = QVexmarMenuItem::Wheel;
    const int live = QVexmarMenuItem::LiveWheel;
    const QColor red(Qt::red);
    // The row starts at Mid (index 1) of Low, Mid, High, Mid again.
    QTest::newRow("Wheel released where it was") << wheel << "c+-c" << 0 << 1 << valueBlue;
    QTest::newRow("Wheel released one up") << wheel << "c+c" << 1 << 2 << valueBlue;
    QTest::newRow("Wheel released one down") << wheel << "c-c" << 1 << 0 << valueBlue;
    QTest::newRow("Wheel touched twice") << wheel << "cc" << 0 << 1 << valueBlue;
    QTest::newRow("Wheel being turned: red") << wheel << "c+" << 0 << 1 << red;
    QTest::newRow("Wheel abandoned by a touch elsewhere") << wheel << "c++x" << 0 << 1 << valueBlue;
    QTest::newRow("Wheel, keys while not touched") << wheel << "++" << 0 << 1 << valueBlue;
    QTest::newRow("LiveWheel released where it was") << live << "c+-c" << 3 << 1 << valueBlue;
    QTest::newRow("LiveWheel released one up") << live << "c+c" << 2 << 2 << valueBlue;
    QTest::newRow("LiveWheel touched twice") << live << "cc" << 1 << 1 << valueBlue;
    QTest::newRow("LiveWheel: steps count at once") << live << "c++" << 2 << 3 << valueBlue;
    QTest::newRow("LiveWheel left by a touch elsewhere") << live << "c+x" << 2 << 2 << valueBlue;
    QTest::newRow("LiveWheel at the end: no step") << live << "c+++c" << 3 << 3 << valueBlue;
}

void TestVexmarMenuItem::wheelTurns()
{
    QFETCH(int, kind);
    QFETCH(QString, actions);
    QFETCH(int, changes);
    QFETCH(int, current);
    QFETCH(QColor, colour);

    QVexmarMenuItem *row = addRow(kind);
    addLevels(row);
    row->selectOption(1, true, true);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));

    touchWheel(row, actions);
    QCOMPARE(m_menu->changed.size(), changes);
    for (QVexmarMenuItem *changed : qAsConst(m_menu->changed))
        QCOMPARE(changed, row);
    QCOMPARE(row->currentOption(), current);
    const bool turning = row->wheel->isChecked();
    if (!turning) {
        QCOMPARE(row->valueLabel->text(), row->options().at(current).text);
        QCOMPARE(row->wheel->value(), current);
    }
    QCOMPARE(textColour(row->valueLabel), colour);
}

void TestVexmarMenuItem::wheelWithStaleOptions_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("optionsLeft");

    QTest::newRow("Wheel, options cleared") << int(QVexmarMenuItem::Wheel) << 0;
    QTest::newRow("Wheel, one option left") << int(QVexmarMenuItem::Wheel) << 1;
    QTest::newRow("LiveWheel, options cleared") << int(QVexmarMenuItem::LiveWheel) << 0;
    QTest::newRow("LiveWheel, one option left") << int(QVexmarMenuItem::LiveWheel) << 1;
}

// The wheel still counts to the old number of options until the row is shown again: its steps and its release
// point past the list and are dropped.
void TestVexmarMenuItem::wheelWithStaleOptions()
{
    QFETCH(int, kind);
    QFETCH(int, optionsLeft);

    QVexmarMenuItem *row = addRow(kind);
    addLevels(row);
    row->selectOption(2, true, true);
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QCOMPARE(row->wheel->value(), 2);

    row->clearOptions();
    if (optionsLeft > 0)
        row->addOption(0, QStringLiteral("Only"));
    touchWheel(row, QStringLiteral("c-+c"));
    QVERIFY(m_menu->changed.isEmpty());
    QCOMPARE(row->valueLabel->text(), QStringLiteral("High"));
    QCOMPARE(row->currentOption(), -1);
}

void TestVexmarMenuItem::maskedLabel_data()
{
    QTest::addColumn<QString>("secret");
    QTest::addColumn<QString>("looksLike");

    QTest::newRow("eight characters") << "pa55word"
                                      << "********";
    QTest::newRow("empty: nothing") << ""
                                    << "";
}

void TestVexmarMenuItem::maskedLabel()
{
    QFETCH(QString, secret);
    QFETCH(QString, looksLike);

    QWidget window;
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(20, 20, 20));
    palette.setColor(QPalette::WindowText, valueBlue);
    window.setPalette(palette);
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
