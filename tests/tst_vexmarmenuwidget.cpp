#include "tests/pixeltesting.h"
#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <QStackedLayout>
#include <QWindow>
#include <QtTest>

namespace {

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
    QString takeCalls() { return std::exchange(calls, {}).join(QStringLiteral("; ")); }

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
    tap(list->viewport(), target);
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
    void popups_data();
    void popups();
    void unshownPopups();
    void messageCentring();
    void messageReuse_data();
    void messageReuse();
    void deviceTexts_data();
    void deviceTexts();

private:
    QVexmarMenuItem *addEditedRow(int kind);
    QVexmarPopup *openedPopup(const QString &route, QVexmarMenuItem *row);
    void checkCentred(QWidget *popup, QWidget *across);

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
    QTest::addColumn<QString>("pages");
    QTest::addColumn<QString>("marks"); // b: back icon shown, m: title red and check icon shown, r: refresh icon
    QTest::addColumn<QString>("calls");

    const QString opened = QStringLiteral("entryClicked 1; menuItemClicked 11");
    const QString deep = opened + QStringLiteral("; menuItemClicked 21");
    dataRow("nothing open", "", "", "", "b", "");
    dataRow("a category", "e1", "Network", "1", "", "entryClicked 1");
    dataRow("three levels", "e1 r11 r21", "Network > SIP > Account 1", "1 11 21", "b", deep);
    dataRow("back once", "e1 r11 r21 b", "Network > SIP", "1 11", "b", deep + "; back");
    dataRow("back twice", "e1 r11 r21 b b", "Network", "1", "", deep + "; back; back");
    dataRow("back on the category page only clears the marks", "e1 m b", "Network", "1", "", "entryClicked 1; back");
    dataRow("the open category again: nothing", "e1 r11 m e1", "Network > SIP", "1 11", "bmr", opened);
    dataRow("a disabled category: nothing", "e1 r11 e3", "Network > SIP", "1 11", "b", opened);
    dataRow("another category starts afresh", "e1 r11 r21 m e2", "Coding", "2", "", deep + "; entryClicked 2");
    dataRow("a sub-page clears the marks", "e1 m r11", "Network > SIP", "1 11", "b", opened);
    dataRow("apply clears only the modified mark", "e1 r11 m a", "Network > SIP", "1 11", "br", opened + "; apply");
    dataRow("the refresh icon", "e1 m f", "Network", "1", "mr", "entryClicked 1; refresh");
    dataRow("a locked link ignores touches", "e1 r12", "Network", "1", "", "entryClicked 1");
    dataRow(
        "a text row opens no page", "e1 r13", "Network", "1", "", "entryClicked 1; prepareKeyboard 13 \"Studio 1\"");
}

void TestVexmarMenuWidget::navigation()
{
    QFETCH(QString, steps);
    QFETCH(QString, title);
    QFETCH(QString, pages);
    QFETCH(QString, marks);
    QFETCH(QString, calls);

    QVexmarMenuHeader *header = m_menu->header;
    for (const QString &step : steps.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const int id = step.mid(1).toInt();
        const char letter = step.at(0).toLatin1();
        if (letter == 'e') {
            touch(m_menu->entries, m_menu->entries->findEntry(id)->titleLabel);
        } else if (letter == 'r') {
            touch(m_menu->currentItems(), m_menu->currentItems()->findItem(id)->titleLabel);
        } else if (letter == 'm') {
            header->setModified(true);
            header->setRefreshVisible(true);
        } else {
            QLabel *icon = letter == 'b' ? header->backIcon : letter == 'a' ? header->checkIcon : header->refreshIcon;
            QTest::mouseRelease(icon, Qt::LeftButton, Qt::NoModifier, icon->rect().center());
        }
    }
    QCOMPARE(header->titleLabel->text(), title);
    QCOMPARE(m_menu->pages(), pages);
    if (!pages.isEmpty())
        QCOMPARE(m_menu->currentItems()->pageId, pages.section(QLatin1Char(' '), -1).toInt());
    QString shown;
    shown += header->backIcon->isVisible() ? "b" : "";
    shown += header->checkIcon->isVisible() ? "m" : "";
    shown += header->refreshIcon->isVisible() ? "r" : "";
    QCOMPARE(shown, marks);
    QCOMPARE(header->titleLabel->palette().color(QPalette::WindowText) == Qt::red, marks.contains('m'));
    QCOMPARE(m_menu->takeCalls(), calls);

    // The open category is marked in the list, and only it.
    for (int id = Exit; id <= Audio; ++id) {
        const int expected = id == Audio   ? QVexmarMenuEntry::Disabled
            : id == m_menu->currentEntryId ? QVexmarMenuEntry::Current
                                           : QVexmarMenuEntry::Normal;
        QCOMPARE(m_menu->entries->findEntry(id)->state(), expected);
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

    const QString opened = QStringLiteral("openPath; selectEntry 1 -1; openEntry 1; entryClicked 1");
    dataRow("select", "select 1 26", true, "Network", "1", 26, "selectEntry 1 26; openEntry 1; entryClicked 1");
    dataRow("select a disabled entry: pending sub-id kept", "select 3 26", false, "Coding", "2", 5, "selectEntry 3 26");
    dataRow("select a missing entry", "select 9 26", false, "Coding", "2", 5, "selectEntry 9 26");
    dataRow("an empty path", "path", false, "Coding", "2", 5, "openPath");
    dataRow("a disabled entry first: true, nothing opened", "path 3 11", true, "Coding", "2", 5,
        "openPath; selectEntry 3 -1");
    dataRow("an unknown row: the entry opened, false", "path 1 99", false, "Network", "1", -1, opened);
    dataRow("a full path", "path 1 11 21", true, "Network > SIP > Account 1", "1 11 21", -1,
        opened + "; menuItemClicked 11; menuItemClicked 21");
    dataRow("a row past the last page", "path 1 11 21 31 5", false, "Network > SIP > Account 1", "1 11 21", -1,
        opened + "; menuItemClicked 11; menuItemClicked 21; menuItemClicked 31");
    dataRow("locked and plain rows are touched all the same", "path 1 12", true, "Network > Locked", "1 12", -1,
        opened + "; menuItemClicked 12");
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
    QCOMPARE(m_menu->takeCalls(), calls);
    QTRY_VERIFY(leftPagesDeleted(m_menu));
}

void TestVexmarMenuWidget::lookups()
{
    // Two pages with one id in different groups, and a widget on the stack that is no page.
    auto *first = new QVexmarMenuItems(170, 4, m_menu);
    auto *second = new QVexmarMenuItems(170, 5, m_menu);
    m_menu->pushItems(first);
    m_menu->pushItems(second);
    QCOMPARE(m_menu->findItemsInGroup(170, 5), second);
    QVERIFY(!m_menu->findItemsInGroup(170, 6));
    auto *stranger = new QWidget;
    m_menu->stack->addWidget(stranger);
    m_menu->stack->setCurrentWidget(stranger);
    QVERIFY(!m_menu->currentItems());
    QCOMPARE(m_menu->findItems(170), first);

    // Rows by id and group; neither a removed row nor anything that is no row of the page is found.
    auto *a = new QVexmarMenuItem(186, 4, QVexmarMenuItem::ReadOnly, first);
    auto *b = new QVexmarMenuItem(186, 5, QVexmarMenuItem::ReadOnly, first);
    auto *foreign = new QVexmarMenuItem(187, QVexmarMenuItem::ReadOnly, second);
    for (QVexmarMenuItem *row : {a, b, foreign})
        first->addItem(row);
    first->contentLayout->addWidget(new QLabel(QStringLiteral("no row")));
    QCOMPARE(first->items(), (QList<QVexmarMenuItem *> {a, b}));
    QCOMPARE(first->findItemInGroup(186, 5), b);
    QVERIFY(!first->findItem(187));
    first->removeItem(a);
    QCOMPARE(first->findItem(186), b);
    delete a;

    // An entry of another list is neither added nor made current.
    QVexmarMenuEntries otherList(nullptr);
    auto *alien = new QVexmarMenuEntry(8, &otherList);
    m_menu->addEntry(alien);
    QVERIFY(!m_menu->entries->findEntry(8));
    m_menu->entries->setCurrentEntry(m_menu->entries->findEntry(Network));
    m_menu->entries->setCurrentEntry(alien);
    QVERIFY(!m_menu->entries->currentEntry());
    QCOMPARE(alien->state(), int(QVexmarMenuEntry::Normal));
}

QVexmarPopup *TestVexmarMenuWidget::openedPopup(const QString &route, QVexmarMenuItem *row)
{
    if (route.startsWith(QLatin1String("page"))) {
        touch(row->page(), row->titleLabel);
        return row->page()->findChild<QVexmarPopup *>();
    }
    if (route.startsWith(QLatin1String("menu keyboard")))
        return m_menu->showKeyboardPopup(true, row, true);
    if (route.startsWith(QLatin1String("menu selection")))
        return m_menu->showSelectionPopup(QStringLiteral("Codec"), row, true);
    return m_menu->showActionPopup(QStringLiteral("Sure?"), row);
}

void TestVexmarMenuWidget::popups_data()
{
    QTest::addColumn<QString>("route"); // the page's popups by a touch, or the menu's, with the row or none
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("actions"); // "lock" or "clear" (the options) before a touch opens the page's popup;
                                          // "delete" (the row), "type X", "erase", "choose N", "ok", "cancel"
    QTest::addColumn<QString>("value"); // of the row afterwards, if it matters
    QTest::addColumn<QString>("calls");

    const int text = QVexmarMenuItem::Text;
    const int selection = QVexmarMenuItem::Selection;
    const QString keyboard = QStringLiteral("prepareKeyboard 40 \"Opus\"");
    const QString choice = QStringLiteral("prepareSelection 40 0");
    // A touch on a row of kinds 3-7 opens the page's keyboard or selection (below); on the others but SubMenu
    // (the navigation's) it calls the hook; on a locked row, or on a selection without options, it does nothing.
    const QString page = QStringLiteral("page");
    for (int kind = QVexmarMenuItem::Label; kind <= QVexmarMenuItem::Action; ++kind) {
        if (kind < QVexmarMenuItem::Text || kind > QVexmarMenuItem::SubMenu)
            QTest::addRow("page, kind %d: the hook", kind)
                << page << kind << QStringLiteral("touch") << QString() << QStringLiteral("menuItemClicked 40");
        QTest::addRow("page, kind %d locked", kind)
            << page << kind << QStringLiteral("lock touch") << QString() << QString();
    }
    dataRow("page: a selection without options", "page", selection, "clear touch", "", "");
    // The page's popups change the row, and tell the menu only of a change.
    dataRow("page: typed, OK", "page", text, "touch type 5 ok", "Opus5", keyboard + "; itemValueChanged 40");
    dataRow("page: typed, Cancel", "page", text, "touch type 5 cancel", "Opus", keyboard);
    dataRow("page: OK without a change", "page", text, "touch ok", "Opus", keyboard);
    dataRow("page: password, OK", "page", int(QVexmarMenuItem::Password), "touch ok", "Opus", keyboard);
    dataRow("page: typed and taken back, OK", "page", int(QVexmarMenuItem::Numeric), "touch type 5 erase ok", "Opus",
        keyboard);
    dataRow("page: PIN typed, OK", "page", int(QVexmarMenuItem::Pin), "touch type 9 ok", "Opus9",
        keyboard + "; itemValueChanged 40");
    dataRow(
        "page: another choice, OK", "page", selection, "touch choose 2 ok", "PCM", choice + "; itemValueChanged 40");
    dataRow("page: another choice, Cancel", "page", selection, "touch choose 2 cancel", "Opus", choice);
    dataRow("page: the same choice, OK", "page", selection, "touch ok", "Opus", choice);
    // The menu's popups leave the row as it was: the settings page takes the result.
    dataRow(
        "keyboard, OK", "menu keyboard", selection, "type 5 ok", "Opus", keyboard + "; keyboardAccepted 40 \"Opus5\"");
    dataRow("keyboard, Cancel", "menu keyboard", selection, "type 5 cancel", "Opus", keyboard);
    dataRow("keyboard without a row, OK", "menu keyboard, no row", selection, "type 5 ok", "Opus", "");
    dataRow("selection, OK", "menu selection", selection, "choose 2 ok", "Opus", choice + "; selectionAccepted 40 2");
    dataRow("selection, Cancel", "menu selection", selection, "choose 2 cancel", "Opus", choice);
    dataRow("selection without a row, OK", "menu selection, no row", selection, "choose 2 ok", "Opus", "");
    dataRow("action, OK", "action", selection, "ok", "Opus", "itemValueChanged 40");
    dataRow("action, Cancel", "action", selection, "cancel", "Opus", "");
    // A device notice rebuilds the page's rows while the popup is open: no hook sees the deleted row.
    dataRow("row deleted under the page keyboard", "page", text, "touch delete type 5 ok", "", "");
    dataRow("row deleted under the page selection", "page", selection, "touch delete choose 2 ok", "", "");
    dataRow("row deleted under the menu keyboard", "menu keyboard", text, "delete type 5 ok", "", "");
    dataRow("row deleted under the menu selection", "menu selection", selection, "delete choose 2 ok", "", "");
    dataRow("row deleted under the action popup", "action", int(QVexmarMenuItem::Action), "delete ok", "", "");
}

void TestVexmarMenuWidget::popups()
{
    QFETCH(QString, route);
    QFETCH(int, kind);
    QFETCH(QString, actions);
    QFETCH(QString, value);
    QFETCH(QString, calls);

    QPointer<QVexmarMenuItem> row = addEditedRow(kind);
    const bool withRow = !route.endsWith(QLatin1String("no row"));
    QPointer<QVexmarPopup> popup;
    QVexmarVirtual *keyboard = nullptr;
    QVexmarMenuSelect *selection = nullptr;
    const auto opened = [&](QVexmarPopup *shown) {
        popup = shown;
        QVERIFY(popup && popup->isVisible());
        keyboard = qobject_cast<QVexmarVirtual *>(shown);
        selection = qobject_cast<QVexmarMenuSelect *>(shown);
        // Keyboards across the menu, the other popups across the page.
        checkCentred(shown, keyboard ? static_cast<QWidget *>(m_menu) : m_menu->currentItems());
        // Filled from the row: its title, its value or options; a password or PIN masked.
        if (keyboard) {
            QCOMPARE(keyboard->titleLabel.text(), withRow ? row->titleLabel->text() : QString());
            QCOMPARE(keyboard->lineEdit.text(), withRow ? QStringLiteral("Opus") : QString());
            const bool keypad = kind == QVexmarMenuItem::Numeric || kind == QVexmarMenuItem::Pin;
            QCOMPARE(keyboard->alphanumeric, !keypad);
            const bool masked = kind == QVexmarMenuItem::Password || kind == QVexmarMenuItem::Pin;
            QCOMPARE(keyboard->lineEdit.echoMode(), masked ? QLineEdit::Password : QLineEdit::Normal);
        }
        if (selection) {
            QCOMPARE(selection->titleLabel->text().isEmpty(), route == QLatin1String("page"));
            if (withRow && kind == QVexmarMenuItem::Selection) {
                QCOMPARE(selection->current(), selection->findSelectable(0));
                QCOMPARE(selection->findSelectable(2)->label->text(), QStringLiteral("PCM"));
            }
        }
    };
    if (route != QLatin1String("page"))
        opened(openedPopup(route, withRow ? row.data() : nullptr));
    const QStringList words = actions.split(QLatin1Char(' '));
    for (int i = 0; i < words.size(); ++i) {
        const QString &word = words.at(i);
        if (word == QLatin1String("lock")) {
            row->setLocked(true);
        } else if (word == QLatin1String("clear")) {
            row->clearOptions();
        } else if (word == QLatin1String("touch")) {
            touch(row->page(), row->titleLabel);
            if (auto *shown = row->page()->findChild<QVexmarPopup *>())
                opened(shown);
        } else if (word == QLatin1String("delete")) {
            row->page()->removeItem(row);
            delete row;
            m_menu->calls.clear();
        } else if (word == QLatin1String("type")) {
            QTest::keyClicks(&keyboard->lineEdit, words.at(++i));
        } else if (word == QLatin1String("erase")) {
            QTest::mouseClick(keyboard->keys[27], Qt::LeftButton);
        } else if (word == QLatin1String("choose")) {
            const int option = words.at(++i).toInt();
            if (!selection->findSelectable(option))
                selection->addSelectable(new QVexmarMenuSelectable(option));
            QTest::mouseClick(selection->findSelectable(option)->switchButton, Qt::LeftButton);
        } else {
            const bool ok = word == QLatin1String("ok");
            auto *message = qobject_cast<QVexmarMessage *>(popup);
            QTest::mouseClick(keyboard ? keyboard->keys[ok ? 31 : 28]
                    : selection        ? (ok ? selection->okButton : selection->cancelButton)
                                       : (ok ? message->okButton : message->cancelButton),
                Qt::LeftButton);
        }
    }
    if (!value.isEmpty()) {
        QCOMPARE(row->valueLabel->text(), value);
        if (!row->options().isEmpty())
            QCOMPARE(row->options().at(row->currentOption()).text, value);
    }
    QCOMPARE(m_menu->takeCalls(), calls);
    QTRY_VERIFY(m_menu->findChildren<QVexmarPopup *>().isEmpty());
}

// Unshown on request: no rows, no preparation, for the caller to finish.
void TestVexmarMenuWidget::unshownPopups()
{
    QVexmarMenuItem *row = addEditedRow(QVexmarMenuItem::Selection);
    QVexmarVirtual *keyboard = m_menu->showKeyboardPopup(false, row, false);
    QVexmarMenuSelect *selection = m_menu->showSelectionPopup(QString(), row, false);
    QVERIFY(!keyboard->isVisible() && !selection->isVisible());
    QVERIFY(!selection->findSelectable(0));
    QCOMPARE(keyboard->lineEdit.text(), QStringLiteral("Opus"));
    QVERIFY(m_menu->calls.isEmpty());
}

// Where the popup was moved, less the decorations the test platform gives every window: centred across the given
// widget, and down the menu.
void TestVexmarMenuWidget::checkCentred(QWidget *popup, QWidget *across)
{
    const QMargins frame = popup->windowHandle()->frameMargins();
    QCOMPARE(popup->geometry().topLeft() - QPoint(frame.left(), frame.top()),
        QPoint(across->mapToGlobal(QPoint(0, 0)).x() + (across->width() - popup->width()) / 2,
            m_menu->mapToGlobal(QPoint(0, 0)).y() + (676 - popup->height()) / 2));
}

// Across the page when there is one; the category list narrows it, so its centre lies right of the menu's.
void TestVexmarMenuWidget::messageCentring()
{
    m_menu->showMessagePopup(QStringLiteral("Applying..."), 0);
    checkCentred(m_menu->messagePopup, m_menu);
    m_menu->closeMessagePopup();
    addEditedRow(QVexmarMenuItem::Text);
    QVERIFY(m_menu->currentItems()->mapTo(m_menu, QPoint(0, 0)).x() > 300);
    m_menu->showMessagePopup(QStringLiteral("Applying..."), 0);
    checkCentred(m_menu->messagePopup, m_menu->currentItems());
    m_menu->closeMessagePopup();
}

void TestVexmarMenuWidget::messageReuse_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("msec");
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("interval");

    dataRow("the same text keeps the timer", "Applying...", 5000, true, 1000);
    dataRow("a new text restarts it", "Done", 5000, true, 5000);
    dataRow("a new text without a time stops it", "Failed!", 0, false, 1000);
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

void TestVexmarMenuWidget::deviceTexts_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("text"); // as the device sends it
    QTest::addColumn<QString>("shown"); // the label's whole text
    QTest::addColumn<QByteArrayList>("looks");
    const QString bold = QStringLiteral("<b>x</b>");
    const QString img = QString::fromLatin1(pictureMarkup);
    const QByteArrayList rowLabel = {"QVexmarMenuItem label: plain"};
    dataRow("row title", QStringLiteral("title"), bold, bold, rowLabel);
    dataRow("row value", QStringLiteral("value"), img, img, rowLabel);
    dataRow("header path", QStringLiteral("path"), bold, QStringLiteral("Coding > ") + bold,
        QByteArrayList {"QVexmarMenuHeader label: plain"});
    dataRow(
        "selection option", QStringLiteral("option"), img, img, QByteArrayList {"QVexmarMenuSelectable label: plain"});
    dataRow(
        "selection title", QStringLiteral("selection"), img, img, QByteArrayList {"QVexmarMenuSelect label: plain"});
    // A row titled by the device (a profile, stream or host name) that opens the keyboard.
    dataRow("keyboard title", QStringLiteral("keyboard"), img, img,
        QByteArrayList {"QVexmarMenuItem label: plain", "QVexmarVirtual label: plain"});
}

// Names the device sends (profiles, networks, operators, streams, hosts) show in rows, the path and the selection
// as the text they are.
void TestVexmarMenuWidget::deviceTexts()
{
    QFETCH(QString, where);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QByteArrayList, looks);
    const int kind = where == QLatin1String("path") ? QVexmarMenuItem::SubMenu
        : where == QLatin1String("option")          ? QVexmarMenuItem::Selection
                                                    : QVexmarMenuItem::Text;
    QVexmarMenuItem *row = addEditedRow(kind);
    if (where == QLatin1String("title") || where == QLatin1String("path") || where == QLatin1String("keyboard"))
        row->titleLabel->setText(text);
    if (where == QLatin1String("value"))
        row->setValueText(text);
    if (where == QLatin1String("option"))
        row->addOption(3, text);
    if (where == QLatin1String("path"))
        touch(row->page(), row->titleLabel);
    if (where == QLatin1String("option") || where == QLatin1String("selection"))
        m_menu->showSelectionPopup(where == QLatin1String("selection") ? text : QStringLiteral("Codec"), row, true);
    if (where == QLatin1String("keyboard"))
        m_menu->showKeyboardPopup(true, row, true);
    QCOMPARE(textLook(m_menu, shown), looks);
}

QTEST_MAIN(TestVexmarMenuWidget)
#include "tst_vexmarmenuwidget.moc"
