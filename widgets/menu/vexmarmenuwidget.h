#pragma once

#include "vexmarpageid.h"
#include "vexmarpagewidget.h"
#include "vexmarslidewidget.h"

#include <QList>

class QVexmarMenuEntry;
class QVexmarMenuItem;
class QVexmarMenuSelect;
class QVexmarVirtual;

// The page base of the settings menu: a category list, a header and a stack of item pages. Touches on rows
// become calls of the hooks below, which the settings page overrides.
// So far only the hooks and the signals exist: the list, header, page stack and popups are not built yet, and
// every hook does nothing (those returning bool open nothing and return false).
class QVexmarMenuWidget : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarMenuWidget(QWidget *parent = nullptr);

    virtual void backClicked();
    virtual void applyClicked();
    virtual void refreshClicked();
    virtual void openEntry(QVexmarMenuEntry *entry);
    virtual bool entryClicked(QVexmarMenuEntry *entry);
    virtual void menuItemClicked(QVexmarMenuItem *item);
    virtual void prepareKeyboard(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    virtual void prepareSelection(QVexmarMenuItem *item, QVexmarMenuSelect *selection);
    // A row's value was changed by the user; the row already shows the new value.
    virtual void itemValueChanged(QVexmarMenuItem *item);
    virtual void keyboardAccepted(QVexmarMenuItem *item, QVexmarVirtual *keyboard);
    virtual void selectionAccepted(QVexmarMenuItem *item, QVexmarMenuSelect *selection);
    virtual bool selectEntry(int entryId, int subId);
    virtual bool openPath(const QList<int> &ids);

signals:
    void pageActivated(QVexmar::Page page);
    void menuItemChanges(QVexmarMenuItem *item, int contextId);
};

// The category list.
class QVexmarMenuEntries : public QVexmarSlideWidget
{
    Q_OBJECT

public:
    explicit QVexmarMenuEntries(QVexmarMenuWidget *menu);

    // Appends an entry that has no list yet or belongs to this one, and makes this list its owner.
    void addEntry(QVexmarMenuEntry *entry);

    QVexmarMenuWidget *const menu;
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
    // The rows in the order shown.
    QList<QVexmarMenuItem *> items() const;

    const int pageId;
    const int groupId;
    QVexmarMenuWidget *const menu;
};
