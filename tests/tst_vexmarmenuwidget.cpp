#include "vexmarbutton.h"
#include "vexmarcontrols.h"
#include "vexmarmenuitem.h"
#include "vexmarmenuselect.h"
#include "vexmarmenuwidget.h"
#include "vexmarmessage.h"
#include "vexmarvirtual.h"

#include <QStackedLayout>
#include <QWindow>
#include <QtTest>

namespace {

const QColor titleBlue(0, 162, 232);

enum Category { Exit = 0, Network = 1, Coding = 2, Audio = 3 };
// Rows of the built pages; ids of the page a SubMenu row opens are the row's id.
enum Row { Sip = 11, LockedLink = 12, DeviceName = 13, Account = 21, Registrar = 31, Edited = 40 };

// Like the settings page: adds the categories, builds each page when it is opened and pushes it; and writes
// down every hook the framework calls, with the row's id and what a popup brought.
class TestMenu : public QVexmarMenuWidget
{
public:
    explicit TestMenu(QWidget *parent) : QVexmarMenuWidget(parent)
    {
        const char *titles[] = {"Exit", "Network", "Coding", "Audio"};
        for (int id = Exit; id <= Audio; ++id) {
            auto *entry = new QVexmarMenuEntry(id, nullptr);
            entry->titleLabel->setText(QLatin1String(titles[id]));
            addEntry(entry);
        }
        entries->findEntry(Audio)->setState(QVexmarMenuEntry::Disabled);
    }

    QStringList calls;
    QList<QPointer<QVexmarMenuItems>> built;

    void backClicked() override
    {
        calls << QStringLiteral("back");
        QVexmarMenuWidget::backClicked();
    }
    void applyClicked() override
    {
        calls << QStringLiteral("apply");
        QVexmarMenuWidget::applyClicked();
    }
    void refreshClicked() override { calls << QStringLiteral("refresh"); }
    void openEntry(QVexmarMenuEntry *entry) override
    {
        calls << QStringLiteral("openEntry %1").arg(entry->id);
        QVexmarMenuWidget::openEntry(entry);
    }
    bool entryClicked(QVexmarMenuEntry *entry) override
    {
        calls << QStringLiteral("entryClicked %1").arg(entry->id);
        const bool opened = QVexmarMenuWidget::entryClicked(entry);
        if (opened)
            build(entry->id);
        return opened;
    }
    void menuItemClicked(QVexmarMenuItem *item) override
    {
        calls << QStringLiteral("menuItemClicked %1").arg(item->id);
        QVexmarMenuWidget::menuItemClicked(item);
        if (item->kind() == QVexmarMenuItem::SubMenu)
            build(item->id);
    }
    void prepareKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard) override
    {
        calls << QStringLiteral("prepareKeyboard %1 \"%2\"").arg(item->id).arg(keyboard->lineEdit.text());
    }
    void prepareSelection(QVexmarMenuItem *item, QVexmarMenuSelect *selection) override
    {
        const int current = selection->current() ? selection->current()->value : -1;
        calls << QStringLiteral("prepareSelection %1 %2").arg(item->id).arg(current);
    }
    void itemValueChanged(QVexmarMenuItem *item) override
    {
        calls << QStringLiteral("itemValueChanged %1").arg(item->id);
    }
    void keyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard) override
    {
        calls << QStringLiteral("keyboardAccepted %1 \"%2\"").arg(item->id).arg(keyboard->lineEdit.text());
    }
    void selectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection) override
    {
        calls << QStringLiteral("selectionAccepted %1 %2").arg(item->id).arg(selection->current()->value);
    }
    bool selectEntry(int entryId, int subId) override
    {
        calls << QStringLiteral("selectEntry %1 %2").arg(entryId).arg(subId);
        return QVexmarMenuWidget::selectEntry(entryId, subId);
    }
    bool openPath(const QList<int> &ids) override
    {
        calls << QStringLiteral("openPath");
        return QVexmarMenuWidget::openPath(ids);
    }

    QString pages() const
    {
        QStringList ids;
        for (int i = 0; i < stack->count(); ++i)
            ids << QString::number(static_cast<QVexmarMenuItems *>(stack->widget(i))->pageId);
        return ids.join(QLatin1Char(' '));
    }

private:
    void build(int id)
    {
        auto *page = new QVexmarMenuItems(id, this);
        auto add = [page](int rowId, int kind, const char *title, const char *value = "") {
            auto *row = new QVexmarMenuItem(rowId, kind, page);
            row->titleLabel->setText(QLatin1String(title));
            row->setValueText(QLatin1String(value));
            page->addItem(row);
            return row;
        };
        if (id == Network) {
            add(Sip, QVexmarMenuItem::SubMenu, "SIP");
            add(LockedLink, QVexmarMenuItem::SubMenu, "Locked")->setLocked(true);
            add(DeviceName, QVexmarMenuItem::Text, "Name", "Studio 1");
        } else if (id == Sip) {
            add(Account, QVexmarMenuItem::SubMenu, "Account 1");
        } else if (id == Account) {
            add(Registrar, QVexmarMenuItem::ReadOnly, "Registrar", "sip.example.net");
        }
        built << page;
        pushItems(page);
    }
};

void touch(QVexmarSlideWidget *list, QWidget *target)
{
    // Rows added to a page on show are shown, and get their places, from the event loop.
    QCoreApplication::processEvents();
    QWidget *viewport = list->viewport();
    const QPoint position = target->mapTo(viewport, target->rect().center());
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, position, viewport->mapToGlobal(position), Qt::LeftButton,
            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
    }
}

void release(QWidget *icon)
{
    QTest::mouseRelease(icon, Qt::LeftButton, Qt::NoModifier, icon->rect().center());
}

// Each page built but no longer on the stack is deleted once the event loop runs.
bool leftPagesDeleted(TestMenu *menu)
{
    for (const QPointer<QVexmarMenuItems> &page : menu->built) {
        if (page && menu->stack->indexOf(page) < 0)
            return false;
    }
    return true;
}

} // namespace

class TestVexmarMenuWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void navigation_data();
    void navigation();
    void selectAndOpen_data();
    void selectAndOpen();
    void lookups();
    void rowTouches_data();
    void rowTouches();
    void pageEditing_data();
    void pageEditing();
    void menuPopups_data();
    void menuPopups();
    void rowDeletedUnderPopup_data();
    void rowDeletedUnderPopup();
    void centring_data();
    void centring();
    void messageReuse_data();
    void messageReuse();

private:
    QVexmarMenuItem *addEditedRow(int kind);
    QVexmarPopup *openedPopup(const QString &route, QVexmarMenuItem *row);

    QWidget *m_window = nullptr;
    TestMenu *m_menu = nullptr;
};

void TestVexmarMenuWidget::init()
{
    // The settings page below the status bar of the screen.
    m_window = new QWidget;
    m_window->resize(1280, 720);
    m_menu = new TestMenu(m_window);
    m_menu->setGeometry(0, 44, 1280, 676);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestVexmarMenuWidget::cleanup()
{
    delete m_window;
}

// A row of the given kind on the Coding page, with three codecs as options for the kinds that take them.
QVexmarMenuItem *TestVexmarMenuWidget::addEditedRow(int kind)
{
    if (m_menu->currentEntryId != Coding)
        touch(m_menu->entries, m_menu->entries->findEntry(Coding)->titleLabel);
    QVexmarMenuItems *page = m_menu->currentItems();
    auto *row = new QVexmarMenuItem(Edited, kind, page);
    row->titleLabel->setText(QStringLiteral("Codec"));
    if (kind == QVexmarMenuItem::Selection) {
        row->addOption(0, QStringLiteral("Opus"));
        row->addOption(1, QStringLiteral("G.722"));
        row->addOption(2, QStringLiteral("PCM"));
    }
    row->setValueText(QStringLiteral("Opus"));
    page->addItem(row);
    m_menu->calls.clear();
    return row;
}

void TestVexmarMenuWidget::navigation_data()
{
    QTest::addColumn<QString>("steps"); // eN: touch entry N, rN: touch row N, b/a/f: back/apply/refresh icon,
                                        // m: the page marks itself modified and refreshable
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("back");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("marks"); // m: title red and the check icon shown, r: the refresh icon shown
    QTest::addColumn<QString>("calls");

    const QString opened = QStringLiteral("entryClicked 1; menuItemClicked 11");
    const QString deep = opened + QStringLiteral("; menuItemClicked 21");
    QTest::newRow("nothing open") << "" << QString() << true << ""
                                  << "" << QString();
    QTest::newRow("a category") << "e1" << QString("Network") << false << "1"
                                << "" << QString("entryClicked 1");
    QTest::newRow("three levels") << "e1 r11 r21" << QString("Network > SIP > Account 1") << true << "1 11 21"
                                  << "" << deep;
    QTest::newRow("back once") << "e1 r11 r21 b" << QString("Network > SIP") << true << "1 11"
                               << "" << deep + "; back";
    QTest::newRow("back twice") << "e1 r11 r21 b b" << QString("Network") << false << "1"
                                << "" << deep + "; back; back";
    QTest::newRow("back on the category page only clears the marks") << "e1 m b" << QString("Network") << false << "1"
                                                                     << "" << QString("entryClicked 1; back");
    QTest::newRow("the open category again: nothing") << "e1 r11 m e1" << QString("Network > SIP") << true << "1 11"
                                                      << "mr" << opened;
    QTest::newRow("a disabled category: nothing") << "e1 r11 e3" << QString("Network > SIP") << true << "1 11"
                                                  << "" << opened;
    QTest::newRow("another category starts afresh") << "e1 r11 r21 m e2" << QString("Coding") << false << "2"
                                                    << "" << deep + "; entryClicked 2";
    QTest::newRow("a sub-page clears the marks") << "e1 m r11" << QString("Network > SIP") << true << "1 11"
                                                 << "" << opened;
    QTest::newRow("apply clears only the modified mark") << "e1 r11 m a" << QString("Network > SIP") << true << "1 11"
                                                         << "r" << opened + "; apply";
    QTest::newRow("the refresh icon") << "e1 m f" << QString("Network") << false << "1"
                                      << "mr" << QString("entryClicked 1; refresh");
    QTest::newRow("a locked link ignores touches") << "e1 r12" << QString("Network") << false << "1"
                                                   << "" << QString("entryClicked 1");
    QTest::newRow("a text row opens no page") << "e1 r13" << QString("Network") << false << "1"
                                              << "" << QString("entryClicked 1; prepareKeyboard 13 \"Studio 1\"");
}

void TestVexmarMenuWidget::navigation()
{
    QFETCH(QString, steps);
    QFETCH(QString, title);
    QFETCH(bool, back);
    QFETCH(QString, pages);
    QFETCH(QString, marks);
    QFETCH(QString, calls);

    QVexmarMenuHeader *header = m_menu->header;
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int id = step.mid(1).toInt();
        switch (step.at(0).toLatin1()) {
        case 'e':
            touch(m_menu->entries, m_menu->entries->findEntry(id)->titleLabel);
            break;
        case 'r':
            touch(m_menu->currentItems(), m_menu->currentItems()->findItem(id)->titleLabel);
            break;
        case 'b':
            release(header->backIcon);
            break;
        case 'a':
            release(header->checkIcon);
            break;
        case 'f':
            release(header->refreshIcon);
            break;
        case 'm':
            header->setModified(true);
            header->setRefreshVisible(true);
            break;
        }
    }
    QCOMPARE(header->titleLabel->text(), title);
    QCOMPARE(m_menu->path.join(QStringLiteral(" > ")), title);
    QCOMPARE(header->backIcon->isVisible(), back);
    QCOMPARE(header->layout->contentsMargins().left(), back ? 0 : 10);
    QCOMPARE(m_menu->pages(), pages);
    if (!pages.isEmpty())
        QCOMPARE(m_menu->currentItems()->pageId, pages.section(QLatin1Char(' '), -1).toInt());
    const bool modified = marks.contains(QLatin1Char('m'));
    QCOMPARE(header->checkIcon->isVisible(), modified);
    QCOMPARE(header->refreshIcon->isVisible(), marks.contains(QLatin1Char('r')));
    QCOMPARE(header->titleLabel->palette().color(QPalette::WindowText), modified ? QColor(Qt::red) : titleBlue);
    QCOMPARE(m_menu->calls.join(QStringLiteral("; ")), calls);

    // The open category is marked blue in the list, and only it.
    for (int id = Exit; id <= Audio; ++id) {
        const int state = m_menu->entries->findEntry(id)->state();
        const int expected = id == Audio
            ? QVexmarMenuEntry::Disabled
            : (id == m_menu->currentEntryId ? QVexmarMenuEntry::Current : QVexmarMenuEntry::Normal);
        QCOMPARE(state, expected);
    }
    QTRY_VERIFY(leftPagesDeleted(m_menu));
    for (QVexmarPopup *popup : m_menu->findChildren<QVexmarPopup *>())
        popup->close();
}

void TestVexmarMenuWidget::selectAndOpen_data()
{
    QTest::addColumn<QString>("call"); // "select entry sub" or "path id id ..."
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("pages");
    QTest::addColumn<int>("pendingSubId"); // after "select 2 5" succeeded first
    QTest::addColumn<QString>("calls");

    QTest::newRow("select") << "select 1 26" << true << "Network"
                            << "1" << 26 << "selectEntry 1 26; openEntry 1; entryClicked 1";
    QTest::newRow("select a disabled entry: pending sub-id kept") << "select 3 26" << false << "Coding"
                                                                  << "2" << 5 << "selectEntry 3 26";
    QTest::newRow("select a missing entry") << "select 9 26" << false << "Coding"
                                            << "2" << 5 << "selectEntry 9 26";
    QTest::newRow("an empty path") << "path" << false << "Coding"
                                   << "2" << 5 << "openPath";
    QTest::newRow("a disabled entry first: true, nothing opened") << "path 3 11" << true << "Coding"
                                                                  << "2" << 5 << "openPath; selectEntry 3 -1";
    QTest::newRow("an unknown row: the entry opened, false")
        << "path 1 99" << false << "Network"
        << "1" << -1 << "openPath; selectEntry 1 -1; openEntry 1; entryClicked 1";
    QTest::newRow("a full path") << "path 1 11 21" << true << "Network > SIP > Account 1"
                                 << "1 11 21" << -1
                                 << "openPath; selectEntry 1 -1; openEntry 1; entryClicked 1; menuItemClicked 11; "
                                    "menuItemClicked 21";
    QTest::newRow("a row past the last page") << "path 1 11 21 31 5" << false << "Network > SIP > Account 1"
                                              << "1 11 21" << -1
                                              << "openPath; selectEntry 1 -1; openEntry 1; entryClicked 1; "
                                                 "menuItemClicked 11; menuItemClicked 21; menuItemClicked 31";
    QTest::newRow("locked and plain rows are touched all the same")
        << "path 1 12" << true << "Network > Locked"
        << "1 12" << -1 << "openPath; selectEntry 1 -1; openEntry 1; entryClicked 1; menuItemClicked 12";
}

void TestVexmarMenuWidget::selectAndOpen()
{
    QFETCH(QString, call);
    QFETCH(bool, result);
    QFETCH(QString, title);
    QFETCH(QString, pages);
    QFETCH(int, pendingSubId);
    QFETCH(QString, calls);

    QVERIFY(m_menu->selectEntry(Coding, 5));
    m_menu->calls.clear();
    QStringList words = call.split(QLatin1Char(' '));
    const QString verb = words.takeFirst();
    QList<int> ids;
    for (const QString &word : words)
        ids << word.toInt();
    QCOMPARE(
        verb == QLatin1String("select") ? m_menu->selectEntry(ids.at(0), ids.at(1)) : m_menu->openPath(ids), result);
    QCOMPARE(m_menu->header->titleLabel->text(), title);
    QCOMPARE(m_menu->pages(), pages);
    QCOMPARE(m_menu->pendingSubId, pendingSubId);
    QCOMPARE(m_menu->calls.join(QStringLiteral("; ")), calls);
    QTRY_VERIFY(leftPagesDeleted(m_menu));
}

void TestVexmarMenuWidget::lookups()
{
    // Two pages with one id in different groups, and a widget that is no page on the stack.
    auto *first = new QVexmarMenuItems(170, 4, m_menu);
    auto *second = new QVexmarMenuItems(170, 5, m_menu);
    auto *stranger = new QWidget;
    m_menu->pushItems(first);
    m_menu->pushItems(second);
    QCOMPARE(m_menu->findItems(170), first);
    QCOMPARE(m_menu->findItemsInGroup(170, 5), second);
    QVERIFY(!m_menu->findItemsInGroup(170, 6));
    QVERIFY(!m_menu->findItems(171));
    m_menu->stack->addWidget(stranger);
    m_menu->stack->setCurrentWidget(stranger);
    QVERIFY(!m_menu->currentItems());
    QCOMPARE(m_menu->findItems(170), first);

    // Rows by id and group; a removed row is no longer found, nor is anything that is no row.
    auto *a = new QVexmarMenuItem(186, 4, QVexmarMenuItem::ReadOnly, first);
    auto *b = new QVexmarMenuItem(186, 5, QVexmarMenuItem::ReadOnly, first);
    auto *foreign = new QVexmarMenuItem(187, QVexmarMenuItem::ReadOnly, second);
    first->addItem(a);
    first->addItem(b);
    first->addItem(foreign);
    first->contentLayout->addWidget(new QLabel(QStringLiteral("no row")));
    QCOMPARE(first->items(), (QList<QVexmarMenuItem *> {a, b}));
    QCOMPARE(first->findItem(186), a);
    QCOMPARE(first->findItemInGroup(186, 5), b);
    QVERIFY(!first->findItem(187));
    first->removeItem(a);
    first->removeItem(foreign);
    QCOMPARE(first->findItem(186), b);
    QCOMPARE(first->items(), QList<QVexmarMenuItem *> {b});
    delete a;

    // An entry of another list is neither added nor made current.
    QVexmarMenuEntries otherList(nullptr);
    auto *alien = new QVexmarMenuEntry(8, &otherList);
    m_menu->addEntry(alien);
    QVERIFY(!m_menu->entries->findEntry(8));
    m_menu->entries->setCurrentEntry(m_menu->entries->findEntry(Network));
    m_menu->entries->setCurrentEntry(alien);
    QVERIFY(!m_menu->entries->currentEntry());
    QCOMPARE(m_menu->entries->findEntry(Network)->state(), int(QVexmarMenuEntry::Normal));
    QCOMPARE(alien->state(), int(QVexmarMenuEntry::Normal));
}

void TestVexmarMenuWidget::rowTouches_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("options");
    QTest::addColumn<QString>("opens"); // "keyboard", "keypad", "selection", "hook" or ""

    QTest::newRow("Selection without options") << int(QVexmarMenuItem::Selection) << false << false << "";
    QTest::newRow("Label") << int(QVexmarMenuItem::Label) << false << true << "hook";
    QTest::newRow("ReadOnly") << int(QVexmarMenuItem::ReadOnly) << false << true << "hook";
    QTest::newRow("Switch's title") << int(QVexmarMenuItem::Switch) << false << true << "hook";
    QTest::newRow("Text") << int(QVexmarMenuItem::Text) << false << true << "keyboard";
    QTest::newRow("Password") << int(QVexmarMenuItem::Password) << false << true << "keyboard";
    QTest::newRow("Numeric") << int(QVexmarMenuItem::Numeric) << false << true << "keypad";
    QTest::newRow("Pin") << int(QVexmarMenuItem::Pin) << false << true << "keypad";
    QTest::newRow("Selection") << int(QVexmarMenuItem::Selection) << false << true << "selection";
    QTest::newRow("Wheel") << int(QVexmarMenuItem::Wheel) << false << true << "hook";
    QTest::newRow("LiveWheel") << int(QVexmarMenuItem::LiveWheel) << false << true << "hook";
    QTest::newRow("Action") << int(QVexmarMenuItem::Action) << false << true << "hook";
    for (int kind = QVexmarMenuItem::Label; kind <= QVexmarMenuItem::Action; ++kind)
        QTest::addRow("locked kind %d", kind) << kind << true << true << "";
}

void TestVexmarMenuWidget::rowTouches()
{
    QFETCH(int, kind);
    QFETCH(bool, locked);
    QFETCH(bool, options);
    QFETCH(QString, opens);

    QVexmarMenuItem *row = addEditedRow(kind);
    if (!options)
        row->clearOptions();
    row->setLocked(locked);
    touch(row->page(), row->titleLabel);

    auto *keyboard = row->page()->findChild<QVexmarVirtual *>();
    auto *selection = row->page()->findChild<QVexmarMenuSelect *>();
    QCOMPARE(keyboard != nullptr, opens == QLatin1String("keyboard") || opens == QLatin1String("keypad"));
    QCOMPARE(selection != nullptr, opens == QLatin1String("selection"));
    QCOMPARE(m_menu->calls.contains(QStringLiteral("menuItemClicked %1").arg(Edited)), opens == QLatin1String("hook"));
    if (opens.isEmpty())
        QVERIFY(m_menu->calls.isEmpty());
    if (keyboard) {
        QVERIFY(keyboard->isVisible());
        QCOMPARE(keyboard->alphanumeric, opens == QLatin1String("keyboard"));
        const bool masked = kind == QVexmarMenuItem::Password || kind == QVexmarMenuItem::Pin;
        QCOMPARE(keyboard->lineEdit.echoMode(), masked ? QLineEdit::Password : QLineEdit::Normal);
        QCOMPARE(keyboard->titleLabel.text(), QStringLiteral("Codec"));
        QCOMPARE(keyboard->lineEdit.text(), QStringLiteral("Opus"));
        QCOMPARE(keyboard->windowModality(), Qt::ApplicationModal);
        keyboard->close();
    }
    if (selection) {
        QVERIFY(selection->isVisible());
        QVERIFY(!selection->titleLabel->isVisible());
        QCOMPARE(selection->current(), selection->findSelectable(0));
        QCOMPARE(selection->findSelectable(2)->label->text(), QStringLiteral("PCM"));
        QCOMPARE(selection->windowModality(), Qt::ApplicationModal);
        selection->close();
    }
}

void TestVexmarMenuWidget::pageEditing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("action"); // "type X", "choose N", then "ok" or "cancel"
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("calls");

    const QString keyboardOpened = QStringLiteral("prepareKeyboard 40 \"Opus\"");
    const QString selectionOpened = QStringLiteral("prepareSelection 40 0");
    QTest::newRow("typed, OK") << int(QVexmarMenuItem::Text) << "type 5 ok"
                               << "Opus5" << keyboardOpened + "; itemValueChanged 40";
    QTest::newRow("typed, Cancel") << int(QVexmarMenuItem::Text) << "type 5 cancel"
                                   << "Opus" << keyboardOpened;
    QTest::newRow("OK without a change") << int(QVexmarMenuItem::Text) << "ok"
                                         << "Opus" << keyboardOpened;
    QTest::newRow("typed and taken back, OK") << int(QVexmarMenuItem::Numeric) << "type 5 erase ok"
                                              << "Opus" << keyboardOpened;
    QTest::newRow("PIN typed, OK") << int(QVexmarMenuItem::Pin) << "type 9 ok"
                                   << "Opus9" << keyboardOpened + "; itemValueChanged 40";
    QTest::newRow("another choice, OK") << int(QVexmarMenuItem::Selection) << "choose 2 ok"
                                        << "PCM" << selectionOpened + "; itemValueChanged 40";
    QTest::newRow("another choice, Cancel") << int(QVexmarMenuItem::Selection) << "choose 2 cancel"
                                            << "Opus" << selectionOpened;
    QTest::newRow("the same choice, OK") << int(QVexmarMenuItem::Selection) << "ok"
                                         << "Opus" << selectionOpened;
}

void TestVexmarMenuWidget::pageEditing()
{
    QFETCH(int, kind);
    QFETCH(QString, action);
    QFETCH(QString, value);
    QFETCH(QString, calls);

    QVexmarMenuItem *row = addEditedRow(kind);
    touch(row->page(), row->titleLabel);
    auto *keyboard = row->page()->findChild<QVexmarVirtual *>();
    auto *selection = row->page()->findChild<QVexmarMenuSelect *>();
    QVERIFY(keyboard || selection);
    const QStringList words = action.split(QLatin1Char(' '));
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word == QLatin1String("type"))
            QTest::keyClicks(&keyboard->lineEdit, words.at(++i));
        else if (word == QLatin1String("erase"))
            QTest::mouseClick(keyboard->keys[27], Qt::LeftButton);
        else if (word == QLatin1String("choose"))
            QTest::mouseClick(selection->findSelectable(words.at(++i).toInt())->switchButton, Qt::LeftButton);
        else if (keyboard)
            QTest::mouseClick(keyboard->keys[word == QLatin1String("ok") ? 31 : 28], Qt::LeftButton);
        else
            QTest::mouseClick(
                word == QLatin1String("ok") ? selection->okButton : selection->cancelButton, Qt::LeftButton);
    }
    QCOMPARE(row->valueLabel->text(), value);
    if (selection)
        QCOMPARE(row->options().at(row->currentOption()).text, value);
    QCOMPARE(m_menu->calls.join(QStringLiteral("; ")), calls);
}

QVexmarPopup *TestVexmarMenuWidget::openedPopup(const QString &route, QVexmarMenuItem *row)
{
    if (route == QLatin1String("page keyboard") || route == QLatin1String("page selection")) {
        touch(row->page(), row->titleLabel);
        return row->page()->findChild<QVexmarPopup *>();
    }
    if (route == QLatin1String("menu keyboard"))
        return m_menu->showKeyboardPopup(true, row, true);
    if (route == QLatin1String("menu selection"))
        return m_menu->showSelectionPopup(QStringLiteral("Codec"), row, true);
    return m_menu->showActionPopup(QStringLiteral("Sure?"), row);
}

void TestVexmarMenuWidget::menuPopups_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("withRow");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("calls");

    QTest::newRow("keyboard, OK") << "menu keyboard" << true << true
                                  << "prepareKeyboard 40 \"Opus\"; keyboardAccepted 40 \"Opus5\"";
    QTest::newRow("keyboard, Cancel") << "menu keyboard" << true << false << "prepareKeyboard 40 \"Opus\"";
    QTest::newRow("keyboard without a row, OK") << "menu keyboard" << false << true << "";
    QTest::newRow("selection, OK") << "menu selection" << true << true
                                   << "prepareSelection 40 0; selectionAccepted 40 2";
    QTest::newRow("selection, Cancel") << "menu selection" << true << false << "prepareSelection 40 0";
    QTest::newRow("selection without a row, OK") << "menu selection" << false << true << "";
    QTest::newRow("action, OK") << "action" << true << true << "itemValueChanged 40";
    QTest::newRow("action, Cancel") << "action" << true << false << "";
}

void TestVexmarMenuWidget::menuPopups()
{
    QFETCH(QString, route);
    QFETCH(bool, withRow);
    QFETCH(bool, accept);
    QFETCH(QString, calls);

    QVexmarMenuItem *row = addEditedRow(QVexmarMenuItem::Selection);
    QVexmarPopup *popup = openedPopup(route, withRow ? row : nullptr);
    QCOMPARE(popup->parentWidget(), m_menu);
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->windowModality(), Qt::ApplicationModal);
    QPointer<QVexmarPopup> guard(popup);
    if (auto *keyboard = qobject_cast<QVexmarVirtual *>(popup)) {
        QCOMPARE(keyboard->titleLabel.text(), withRow ? QStringLiteral("Codec") : QString());
        QTest::keyClicks(&keyboard->lineEdit, QStringLiteral("5"));
        QTest::mouseClick(keyboard->keys[accept ? 31 : 28], Qt::LeftButton);
    } else if (auto *selection = qobject_cast<QVexmarMenuSelect *>(popup)) {
        QCOMPARE(selection->titleLabel->text(), QStringLiteral("Codec"));
        if (!withRow)
            selection->addSelectable(new QVexmarMenuSelectable(2));
        selection->setCurrent(selection->findSelectable(2));
        QTest::mouseClick(accept ? selection->okButton : selection->cancelButton, Qt::LeftButton);
    } else {
        auto *message = static_cast<QVexmarMessage *>(popup);
        QTest::mouseClick(accept ? message->okButton : message->cancelButton, Qt::LeftButton);
    }
    // The menu's popups leave the row as it was: the settings page takes the result.
    QCOMPARE(row->valueLabel->text(), QStringLiteral("Opus"));
    QCOMPARE(row->currentOption(), 0);
    QCOMPARE(m_menu->calls.join(QStringLiteral("; ")), calls);
    QTRY_VERIFY(guard.isNull());

    // Unshown on request: no rows, no preparation, for the caller to finish.
    m_menu->calls.clear();
    QVexmarVirtual *keyboard = m_menu->showKeyboardPopup(false, row, false);
    QVexmarMenuSelect *selection = m_menu->showSelectionPopup(QString(), row, false);
    QVERIFY(!keyboard->isVisible());
    QVERIFY(!selection->isVisible());
    QVERIFY(!selection->findSelectable(0));
    QCOMPARE(keyboard->lineEdit.text(), QStringLiteral("Opus"));
    QVERIFY(m_menu->calls.isEmpty());
}

void TestVexmarMenuWidget::rowDeletedUnderPopup_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("kind");

    QTest::newRow("page keyboard") << "page keyboard" << int(QVexmarMenuItem::Text);
    QTest::newRow("page selection") << "page selection" << int(QVexmarMenuItem::Selection);
    QTest::newRow("menu keyboard") << "menu keyboard" << int(QVexmarMenuItem::Text);
    QTest::newRow("menu selection") << "menu selection" << int(QVexmarMenuItem::Selection);
    QTest::newRow("action") << "action" << int(QVexmarMenuItem::Action);
}

void TestVexmarMenuWidget::rowDeletedUnderPopup()
{
    QFETCH(QString, route);
    QFETCH(int, kind);

    QVexmarMenuItem *row = addEditedRow(kind);
    QVexmarPopup *popup = openedPopup(route, row);
    QVERIFY(popup);
    QPointer<QVexmarPopup> guard(popup);
    // A device notice rebuilds the page's rows while the popup is open.
    row->page()->removeItem(row);
    delete row;
    m_menu->calls.clear();
    if (auto *keyboard = qobject_cast<QVexmarVirtual *>(popup)) {
        QTest::keyClicks(&keyboard->lineEdit, QStringLiteral("5"));
        QTest::mouseClick(keyboard->keys[31], Qt::LeftButton);
    } else if (auto *selection = qobject_cast<QVexmarMenuSelect *>(popup)) {
        selection->setCurrent(selection->findSelectable(2));
        QTest::mouseClick(selection->okButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(static_cast<QVexmarMessage *>(popup)->okButton, Qt::LeftButton);
    }
    QCOMPARE(m_menu->calls, QStringList());
    QTRY_VERIFY(guard.isNull());
}

void TestVexmarMenuWidget::centring_data()
{
    QTest::addColumn<QString>("popup");
    QTest::addColumn<bool>("withPage");
    QTest::addColumn<QString>("across"); // the widget the popup is centred on from left to right

    QTest::newRow("message over a page") << "message" << true << "page";
    QTest::newRow("message, no page") << "message" << false << "menu";
    QTest::newRow("action") << "action" << true << "page";
    QTest::newRow("menu selection") << "menu selection" << true << "page";
    QTest::newRow("menu keyboard") << "menu keyboard" << true << "menu";
    QTest::newRow("page selection") << "page selection" << true << "page";
    QTest::newRow("page keyboard") << "page keyboard" << true << "menu";
}

void TestVexmarMenuWidget::centring()
{
    QFETCH(QString, popup);
    QFETCH(bool, withPage);
    QFETCH(QString, across);

    QVexmarMenuItem *row = nullptr;
    if (withPage)
        row = addEditedRow(
            popup.endsWith(QLatin1String("keyboard")) ? QVexmarMenuItem::Text : QVexmarMenuItem::Selection);
    QCoreApplication::processEvents();
    QVexmarPopup *opened = nullptr;
    if (popup == QLatin1String("message")) {
        m_menu->showMessagePopup(QStringLiteral("Applying..."), 0);
        opened = m_menu->messagePopup;
    } else {
        opened = openedPopup(popup, row);
    }
    QVERIFY(opened);
    // The category list narrows the page: across, the page's centre lies right of the menu's.
    QWidget *reference = across == QLatin1String("page") ? static_cast<QWidget *>(m_menu->currentItems()) : m_menu;
    const int left = reference->mapToGlobal(QPoint(0, 0)).x();
    if (across == QLatin1String("page"))
        QVERIFY(left > m_menu->mapToGlobal(QPoint(0, 0)).x() + 300);
    // Where the popup was moved, less the decorations the test platform gives every window.
    const QMargins frame = opened->windowHandle()->frameMargins();
    QCOMPARE(opened->geometry().topLeft() - QPoint(frame.left(), frame.top()),
        QPoint(left + (reference->width() - opened->width()) / 2,
            m_menu->mapToGlobal(QPoint(0, 0)).y() + (676 - opened->height()) / 2));
    opened->close();
}

void TestVexmarMenuWidget::messageReuse_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("msec");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("interval");

    QTest::newRow("the same text keeps the timer") << "Applying..." << 5000 << true << 1000;
    QTest::newRow("a new text restarts it") << "Done" << 5000 << true << 5000;
    QTest::newRow("a new text without a time stops it") << "Failed!" << 0 << false << 1000;
}

void TestVexmarMenuWidget::messageReuse()
{
    QFETCH(QString, second);
    QFETCH(int, msec);
    QFETCH(bool, running);
    QFETCH(int, interval);

    m_menu->showMessagePopup(QStringLiteral("Applying..."), 1000);
    QPointer<QVexmarMessage> first = m_menu->messagePopup;
    QVERIFY(first && first->isVisible());
    QVERIFY(first->timer.isActive());
    m_menu->showMessagePopup(second, msec);
    QCOMPARE(m_menu->messagePopup, first);
    QCOMPARE(m_menu->findChildren<QVexmarMessage *>().size(), 1);
    QCOMPARE(first->label->text(), second);
    QCOMPARE(first->timer.isActive(), running);
    QCOMPARE(first->timer.interval(), interval);

    // Once closed it is forgotten, and the next message is a new one that closes itself.
    m_menu->closeMessagePopup();
    QVERIFY(!m_menu->messagePopup);
    QTRY_VERIFY(first.isNull());
    // Long enough not to run out inside the processing that follows showing it.
    m_menu->showMessagePopup(QStringLiteral("Saved"), 500);
    QPointer<QVexmarMessage> next = m_menu->messagePopup;
    QVERIFY(next);
    QTRY_VERIFY(next.isNull());
    QVERIFY(!m_menu->messagePopup);
}

QTEST_MAIN(TestVexmarMenuWidget)
#include "tst_vexmarmenuwidget.moc"
