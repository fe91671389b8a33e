#pragma once

#include "widgets/menu/vexmarslidewidget.h"
#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <QLabel>
#include <QList>
#include <QPointer>
#include <QStringList>

class QHBoxLayout;
class QStackedLayout;
class QVexmarMenuEntries;
class QVexmarMenuEntry;
class QVexmarMenuHeader;
class QVexmarMenuItem;
class QVexmarMenuItems;
class QVexmarMenuSelect;
class QVexmarMessage;
class QVexmarPopup;
class QVexmarVirtual;

// The page base of the settings menu: a category list, a header and a stack of item pages. Touches on rows
// become calls of the hooks below, which the settings page overrides; it adds the categories, builds every page
// when it is opened and pushes it. The default hooks only keep the header, the path and the page stack in step.
class QVexmarMenuWidget : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMenuWidget(QWidget *parent = nullptr);

    virtual void backClicked();
    virtual void applyClicked();
    virtual void refreshClicked();
    // Opens the entry found by selectEntry.
    virtual void openEntry(QVexmarMenuEntry *entry);
    // Empties the page stack and makes the entry the open category; false for a disabled entry.
    virtual bool entryClicked(QVexmarMenuEntry *entry);
    // A SubMenu row extends the path; the override builds and pushes its page.
    virtual void menuItemClicked(QVexmarMenuItem *item);
    virtual void prepareKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    virtual void prepareSelection(QVexmarMenuItem *item, QVexmarMenuSelect *selection);
    // A row's value was changed by the user (or its action confirmed); the row already shows the new value.
    virtual void itemValueChanged(QVexmarMenuItem *item);
    // A popup of showKeyboardPopup / showSelectionPopup was accepted; the row is left as it was.
    virtual void keyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    virtual void selectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);
    // False for a missing or disabled entry, which keeps the pending sub-id.
    virtual bool selectEntry(int entryId, int subId);
    // Opens the category ids[0], then touches the rows ids[1..] in turn. False when the list is empty or a
    // row or page is missing; true with nothing opened when the category cannot be opened, so that the screen
    // shows the menu as it was.
    virtual bool openPath(const QList<int> &ids);

    void addEntry(QVexmarMenuEntry *entry);
    // Adds the page on top of the stack and shows it.
    void pushItems(QVexmarMenuItems *page);
    QVexmarMenuItems *currentItems() const;
    QVexmarMenuItems *findItems(int id) const;
    QVexmarMenuItems *findItemsInGroup(int id, int groupId) const;

    // One informative message at a time: while it is open a new call only replaces its text, and a changed
    // text restarts its timer with msec (0: it stays until closed).
    void showMessagePopup(const QString &text, int msec);
    void closeMessagePopup();
    // "Cancel" / "OK"; OK calls itemValueChanged with the row.
    QVexmarMessage *showActionPopup(const QString &text, QVexmarMenuItem *item);
    // Without show the keyboard comes back unshown and unprepared, for the caller to adjust and show.
    QVexmarVirtual *showKeyboardPopup(bool alphanumeric, QVexmarMenuItem *item, bool show);
    // With fill one line per option of the row; without, the popup comes back unshown for the caller to fill.
    QVexmarMenuSelect *showSelectionPopup(const QString &title, QVexmarMenuItem *item, bool fill);

    int exitPage = QVexmar::HomePage; // where the settings page's Exit entry leads
    int currentEntryId = -1;
    int pendingSubId = 0;
    QVexmarMenuHeader *header = nullptr;
    QVexmarMenuEntries *entries = nullptr;
    QStackedLayout *stack = nullptr; // the last pushed page is the current one
    QPointer<QVexmarMessage> messagePopup;
    QStringList path; // from the open category to the current page

signals:
    void pageActivated(QVexmar::Page page);
    void menuItemChanges(QVexmarMenuItem *item, int contextId);

public slots:
    void messagePopupClosed();
    void actionPopupClosed();
    void keyboardPopupClosed();
    void selectionPopupClosed();

private:
    void showPath();
    // Takes the current page out of the stack; the page is deleted later.
    void popPage();
    // What the popups are centred on across: the current page, else the menu.
    QWidget *popupColumn();
};

// The strip above the pages: back icon, the path as title, and the apply (check) and refresh icons.
class QVexmarMenuHeader : public QWidget
{
    Q_OBJECT

public:
    // An icon that reports its release to the header.
    class QMyLabel : public QLabel
    {
    public:
        explicit QMyLabel(QVexmarMenuHeader *header);

        QVexmarMenuHeader *const header;

    protected:
        void mouseReleaseEvent(QMouseEvent *event) override;
    };

    explicit QVexmarMenuHeader(QVexmarMenuWidget *menu);

    // Red title and the check icon while the page has unapplied changes.
    void setModified(bool modified);
    void setRefreshVisible(bool visible);
    void setBackVisible(bool visible);
    void iconClicked(QMyLabel *label);

    bool isModified() const { return m_modified; }
    bool isRefreshVisible() const { return m_refreshVisible; }

    QVexmarMenuWidget *const menu;
    QHBoxLayout *layout = nullptr; // hides QWidget::layout(), which returns the same
    QMyLabel *backIcon = nullptr;
    QLabel *titleLabel = nullptr; // the menu widget writes the path here
    QMyLabel *checkIcon = nullptr;
    QMyLabel *refreshIcon = nullptr;

private:
    bool m_modified = false;
    bool m_refreshVisible = false;
};

// The category list.
class QVexmarMenuEntries : public QVexmarSlideWidget
{
    Q_OBJECT

public:
    explicit QVexmarMenuEntries(QVexmarMenuWidget *menu);

    // Appends an entry that has no list yet or belongs to this one, and makes this list its owner.
    void addEntry(QVexmarMenuEntry *entry);
    QVexmarMenuEntry *findEntry(int id) const;
    // The old current entry turns normal; the new one turns current unless it is disabled or of another list.
    void setCurrentEntry(QVexmarMenuEntry *entry);
    QVexmarMenuEntry *currentEntry() const { return m_current; }

    // Opens the touched category, unless it is the open one or disabled.
    void itemClicked(QWidget *child) override;

    QVexmarMenuWidget *const menu;

private:
    QPointer<QVexmarMenuEntry> m_current;
};

// A page of item rows.
class QVexmarMenuItems : public QVexmarSlideWidget
{
    Q_OBJECT

public:
    QVexmarMenuItems(int id, QVexmarMenuWidget *menu);
    QVexmarMenuItems(int id, int groupId, QVexmarMenuWidget *menu);

    // Appends a row made for this page; rows of other pages are ignored.
    void addItem(QVexmarMenuItem *item);
    // Takes the row off the page without deleting it.
    void removeItem(QVexmarMenuItem *item);
    QVexmarMenuItem *findItem(int id) const;
    QVexmarMenuItem *findItemInGroup(int id, int groupId) const;
    // The rows in the order shown.
    QList<QVexmarMenuItem *> items() const;
    void notifyValueChanged(QVexmarMenuItem *item);

    // Edits the touched row: the keyboard or the selection popup for the kinds edited here, the menu's
    // menuItemClicked for the others. Locked rows ignore touches.
    void itemClicked(QWidget *child) override;

    const int pageId;
    const int groupId;
    QVexmarMenuWidget *const menu;

public slots:
    void editionClosed();
    void selectionClosed();

private:
    void openKeyboard(QVexmarMenuItem *item, bool alphanumeric);
    void openSelection(QVexmarMenuItem *item);
};
