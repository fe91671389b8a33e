#include "vexmarmenuwidget.h"

#include "vexmarmenuitem.h"

#include <QBoxLayout>

QVexmarMenuWidget::QVexmarMenuWidget(QWidget *parent) : QVexmarPageWidget(parent) { }

void QVexmarMenuWidget::backClicked() { }

void QVexmarMenuWidget::applyClicked() { }

void QVexmarMenuWidget::refreshClicked() { }

void QVexmarMenuWidget::openEntry(QVexmarMenuEntry *) { }

bool QVexmarMenuWidget::entryClicked(QVexmarMenuEntry *)
{
    return false;
}

void QVexmarMenuWidget::menuItemClicked(QVexmarMenuItem *) { }

void QVexmarMenuWidget::prepareKeyboard(QVexmarMenuItem *, QVexmarVirtual *) { }

void QVexmarMenuWidget::prepareSelection(QVexmarMenuItem *, QVexmarMenuSelect *) { }

void QVexmarMenuWidget::itemValueChanged(QVexmarMenuItem *) { }

void QVexmarMenuWidget::keyboardAccepted(QVexmarMenuItem *, QVexmarVirtual *) { }

void QVexmarMenuWidget::selectionAccepted(QVexmarMenuItem *, QVexmarMenuSelect *) { }

bool QVexmarMenuWidget::selectEntry(int, int)
{
    return false;
}

bool QVexmarMenuWidget::openPath(const QList<int> &)
{
    return false;
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuEntries::QVexmarMenuEntries(QVexmarMenuWidget *menu) : QVexmarSlideWidget(menu), menu(menu) { }

void QVexmarMenuEntries::addEntry(QVexmarMenuEntry *entry)
{
    if (!entry || (entry->owner && entry->owner != this))
        return;
    entry->owner = this;
    contentLayout->addWidget(entry);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuItems::QVexmarMenuItems(int id, QVexmarMenuWidget *menu) : QVexmarMenuItems(id, -1, menu) { }

QVexmarMenuItems::QVexmarMenuItems(int id, int groupId, QVexmarMenuWidget *menu)
    : QVexmarSlideWidget(menu), pageId(id), groupId(groupId), menu(menu)
{
}

void QVexmarMenuItems::addItem(QVexmarMenuItem *item)
{
    if (item && item->page() == this)
        contentLayout->addWidget(item);
}

QList<QVexmarMenuItem *> QVexmarMenuItems::items() const
{
    QList<QVexmarMenuItem *> rows;
    for (int i = 0; i < contentLayout->count(); ++i) {
        QWidget *widget = contentLayout->itemAt(i)->widget();
        // Rows are known by their exact class; anything else a page holds is no row.
        if (widget && qstrcmp(widget->metaObject()->className(), "QVexmarMenuItem") == 0)
            rows.append(static_cast<QVexmarMenuItem *>(widget));
    }
    return rows;
}
