#include "widgets/menu/vexmarmenuwidget.h"

#include "widgets/menu/vexmarmenuitem.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarplaintext.h"
#include "widgets/vexmarvirtual.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QStackedLayout>

namespace {

const QColor titleBlue(0, 162, 232);
const char pathSeparator[] = " > ";
// The popup's row, guarded: the settings page rebuilds pages on device notices, so the row a popup was opened
// for may be gone by the time the popup closes. Such a popup counts as cancelled.
const char rowProperty[] = "vexmarMenuRow";

bool isExactly(const QWidget *widget, const char *className)
{
    return widget && qstrcmp(widget->metaObject()->className(), className) == 0;
}

QFrame *separator(QFrame::Shape shape, QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameStyle(shape | QFrame::Plain);
    return line;
}

void attachRow(QVexmarPopup *popup, QVexmarMenuItem *item)
{
    popup->context = item;
    popup->setProperty(rowProperty, QVariant::fromValue(QPointer<QObject>(item)));
}

// The row of an accepted popup that still exists; null otherwise.
QVexmarMenuItem *acceptedRow(const QVexmarPopup *popup)
{
    if (!popup || popup->cancelled != 0 || !popup->context)
        return nullptr;
    const QPointer<QObject> row = popup->property(rowProperty).value<QPointer<QObject>>();
    return row ? static_cast<QVexmarMenuItem *>(row.data()) : nullptr;
}

void showAndPaint(QVexmarPopup *popup)
{
    popup->show();
    // Painted now, before the caller's next synchronous request to the device holds up the event loop.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

QString valueText(const QVexmarMenuItem *item)
{
    return item->valueLabel ? item->valueLabel->text() : QString();
}

// One line per option, the row's current option marked.
void fillSelection(QVexmarMenuSelect *popup, const QVexmarMenuItem *item)
{
    const QList<QVexmarMenuItem::Option> &options = item->options();
    const int current = item->currentOption();
    for (int i = 0; i < options.size(); ++i) {
        auto *line = new QVexmarMenuSelectable(options.at(i).value);
        line->label->setText(options.at(i).text);
        popup->addSelectable(line);
        if (current != -1 && options.at(current).value == options.at(i).value)
            popup->setCurrent(line);
    }
}

} // namespace

QVexmarMenuWidget::QVexmarMenuWidget(QWidget *parent) : QVexmarPageWidget(parent)
{
    auto *row = new QHBoxLayout(contentFrame);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->setAlignment(Qt::AlignLeft);

    entries = new QVexmarMenuEntries(this);
    entries->setFixedWidth(300);
    row->addWidget(entries);
    row->addWidget(separator(QFrame::VLine, contentFrame));

    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setAlignment(Qt::AlignTop);
    row->addLayout(column, 1);

    header = new QVexmarMenuHeader(this);
    header->setFixedHeight(80);
    header->layout->setContentsMargins(0, 0, 0, 0);
    header->layout->setSpacing(10);
    header->backIcon->setPixmap(QPixmap(QStringLiteral(":/images/navleft.png")));
    column->addWidget(header);
    column->addWidget(separator(QFrame::HLine, contentFrame));

    stack = new QStackedLayout;
    stack->setStackingMode(QStackedLayout::StackOne);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    column->addLayout(stack);
}

void QVexmarMenuWidget::backClicked()
{
    header->setModified(false);
    header->setRefreshVisible(false);
    if (stack->count() < 2)
        return;
    popPage();
    if (path.size() < 2)
        return;
    path.removeLast();
    showPath();
    if (path.size() == 1)
        header->setBackVisible(false);
}

void QVexmarMenuWidget::applyClicked()
{
    header->setModified(false);
}

void QVexmarMenuWidget::refreshClicked() { }

void QVexmarMenuWidget::openEntry(QVexmarMenuEntry *entry)
{
    entryClicked(entry);
}

bool QVexmarMenuWidget::entryClicked(QVexmarMenuEntry *entry)
{
    if (!entry || entry->state() == QVexmarMenuEntry::Disabled)
        return false;
    currentEntryId = entry->id;
    entries->setCurrentEntry(entry);
    while (stack->count() > 0)
        popPage();
    path = QStringList {entry->titleLabel->text()};
    showPath();
    header->setBackVisible(false);
    header->setModified(false);
    header->setRefreshVisible(false);
    return true;
}

void QVexmarMenuWidget::menuItemClicked(QVexmarMenuItem *item)
{
    if (!item || item->kind() != QVexmarMenuItem::SubMenu)
        return;
    path.append(item->titleLabel->text());
    showPath();
    header->setModified(false);
    header->setRefreshVisible(false);
    if (path.size() == 2)
        header->setBackVisible(true);
}

void QVexmarMenuWidget::prepareKeyboard(QVexmarMenuItem *, QVexmarVirtual *) { }

void QVexmarMenuWidget::prepareSelection(QVexmarMenuItem *, QVexmarMenuSelect *) { }

void QVexmarMenuWidget::itemValueChanged(QVexmarMenuItem *) { }

void QVexmarMenuWidget::keyboardAccepted(QVexmarMenuItem *, QVexmarVirtual *) { }

void QVexmarMenuWidget::selectionAccepted(QVexmarMenuItem *, QVexmarMenuSelect *) { }

bool QVexmarMenuWidget::selectEntry(int entryId, int subId)
{
    QVexmarMenuEntry *entry = entries->findEntry(entryId);
    if (!entry || entry->state() == QVexmarMenuEntry::Disabled)
        return false;
    pendingSubId = subId;
    openEntry(entry);
    return true;
}

bool QVexmarMenuWidget::openPath(const QList<int> &ids)
{
    if (ids.isEmpty())
        return false;
    if (!selectEntry(ids.first(), -1))
        return true;
    for (int i = 1; i < ids.size(); ++i) {
        QVexmarMenuItems *page = currentItems();
        QVexmarMenuItem *item = page ? page->findItem(ids.at(i)) : nullptr;
        if (!item)
            return false;
        menuItemClicked(item);
    }
    return true;
}

void QVexmarMenuWidget::addEntry(QVexmarMenuEntry *entry)
{
    entries->addEntry(entry);
}

void QVexmarMenuWidget::pushItems(QVexmarMenuItems *page)
{
    if (!page)
        return;
    stack->addWidget(page);
    stack->setCurrentWidget(page);
}

QVexmarMenuItems *QVexmarMenuWidget::currentItems() const
{
    QWidget *current = stack->currentWidget();
    return isExactly(current, "QVexmarMenuItems") ? static_cast<QVexmarMenuItems *>(current) : nullptr;
}

QVexmarMenuItems *QVexmarMenuWidget::findItems(int id) const
{
    for (int i = 0; i < stack->count(); ++i) {
        QWidget *widget = stack->widget(i);
        if (isExactly(widget, "QVexmarMenuItems") && static_cast<QVexmarMenuItems *>(widget)->pageId == id)
            return static_cast<QVexmarMenuItems *>(widget);
    }
    return nullptr;
}

QVexmarMenuItems *QVexmarMenuWidget::findItemsInGroup(int id, int groupId) const
{
    for (int i = 0; i < stack->count(); ++i) {
        QWidget *widget = stack->widget(i);
        if (!isExactly(widget, "QVexmarMenuItems"))
            continue;
        auto *page = static_cast<QVexmarMenuItems *>(widget);
        if (page->pageId == id && page->groupId == groupId)
            return page;
    }
    return nullptr;
}

void QVexmarMenuWidget::showMessagePopup(const QString &text, int msec)
{
    QVexmarMessage *popup = QVexmarMessage::showOnce(messagePopup, this, text, msec, popupColumn());
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarMenuWidget::messagePopupClosed, Qt::UniqueConnection);
}

void QVexmarMenuWidget::closeMessagePopup()
{
    if (!messagePopup)
        return;
    QVexmarMessage *popup = messagePopup;
    messagePopup = nullptr;
    popup->hide();
    popup->close();
}

void QVexmarMenuWidget::messagePopupClosed()
{
    messagePopup = nullptr;
}

QVexmarMessage *QVexmarMenuWidget::showActionPopup(const QString &text, QVexmarMenuItem *item)
{
    auto *popup = new QVexmarMessage(text, QVexmarMessage::CancelButton | QVexmarMessage::OkButton, this);
    popup->placeOver(popupColumn(), this);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarMenuWidget::actionPopupClosed);
    attachRow(popup, item);
    showAndPaint(popup);
    return popup;
}

void QVexmarMenuWidget::actionPopupClosed()
{
    if (QVexmarMenuItem *item = acceptedRow(qobject_cast<QVexmarPopup *>(sender())))
        itemValueChanged(item);
}

QVexmarVirtual *QVexmarMenuWidget::showKeyboardPopup(bool alphanumeric, QVexmarMenuItem *item, bool show)
{
    auto *keyboard = new QVexmarVirtual(alphanumeric, this);
    keyboard->placeOver(this, this);
    if (item) {
        attachRow(keyboard, item);
        keyboard->titleLabel.setText(item->titleLabel->text());
        keyboard->lineEdit.setText(valueText(item));
    }
    connect(keyboard, &QVexmarPopup::popupClosed, this, &QVexmarMenuWidget::keyboardPopupClosed);
    if (!show)
        return keyboard;
    if (item)
        prepareKeyboard(item, keyboard);
    showAndPaint(keyboard);
    return keyboard;
}

void QVexmarMenuWidget::keyboardPopupClosed()
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    if (QVexmarMenuItem *item = acceptedRow(keyboard))
        keyboardAccepted(item, keyboard);
}

QVexmarMenuSelect *QVexmarMenuWidget::showSelectionPopup(const QString &title, QVexmarMenuItem *item, bool fill)
{
    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(popupColumn(), this);
    popup->setTitle(title);
    attachRow(popup, item);
    if (item && fill) {
        fillSelection(popup, item);
        prepareSelection(item, popup);
    }
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarMenuWidget::selectionPopupClosed);
    if (fill)
        showAndPaint(popup);
    return popup;
}

void QVexmarMenuWidget::selectionPopupClosed()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    if (QVexmarMenuItem *item = acceptedRow(popup))
        selectionAccepted(item, popup);
}

void QVexmarMenuWidget::showPath()
{
    header->titleLabel->setText(path.join(QLatin1String(pathSeparator)));
}

QWidget *QVexmarMenuWidget::popupColumn()
{
    QVexmarMenuItems *page = currentItems();
    return page ? static_cast<QWidget *>(page) : this;
}

void QVexmarMenuWidget::popPage()
{
    QWidget *page = stack->currentWidget();
    if (!page)
        return;
    stack->removeWidget(page);
    page->deleteLater();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuHeader::QMyLabel::QMyLabel(QVexmarMenuHeader *owner) : QLabel(owner), header(owner) { }

void QVexmarMenuHeader::QMyLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (header)
        header->iconClicked(this);
    event->accept();
}

QVexmarMenuHeader::QVexmarMenuHeader(QVexmarMenuWidget *owner) : QWidget(owner), menu(owner)
{
    layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto makeIcon = [this](int margin, const QString &image) {
        auto *icon = new QMyLabel(this);
        icon->setMargin(margin);
        icon->setFixedSize(80, 80);
        icon->setScaledContents(true);
        if (!image.isEmpty())
            icon->setPixmap(QPixmap(image));
        return icon;
    };

    backIcon = makeIcon(4, QString());
    layout->addWidget(backIcon);

    titleLabel = plainTextLabel(new QLabel(this));
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titleLabel->setWordWrap(true);
    titleLabel->setFont(Look::pixelFont(titleLabel->font(), 32));
    Look::setTextColour(titleLabel, titleBlue);
    layout->addWidget(titleLabel, 1);

    checkIcon = makeIcon(0, QStringLiteral(":/images/check.png"));
    checkIcon->hide();
    layout->addWidget(checkIcon);

    refreshIcon = makeIcon(0, QStringLiteral(":/images/refresh.png"));
    refreshIcon->hide();
    layout->addWidget(refreshIcon);
}

void QVexmarMenuHeader::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    Look::setTextColour(titleLabel, modified ? QColor(Qt::red) : titleBlue);
    checkIcon->setVisible(modified);
}

void QVexmarMenuHeader::setRefreshVisible(bool visible)
{
    if (visible == m_refreshVisible)
        return;
    m_refreshVisible = visible;
    refreshIcon->setVisible(visible);
}

void QVexmarMenuHeader::setBackVisible(bool visible)
{
    backIcon->setVisible(visible);
    layout->setContentsMargins(visible ? 0 : 10, 0, 0, 0);
}

void QVexmarMenuHeader::iconClicked(QMyLabel *label)
{
    if (!menu)
        return;
    if (label == backIcon)
        menu->backClicked();
    else if (label == checkIcon)
        menu->applyClicked();
    else if (label == refreshIcon)
        menu->refreshClicked();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuEntries::QVexmarMenuEntries(QVexmarMenuWidget *owner) : QVexmarSlideWidget(owner), menu(owner) { }

void QVexmarMenuEntries::addEntry(QVexmarMenuEntry *entry)
{
    if (!entry || (entry->owner && entry->owner != this))
        return;
    entry->owner = this;
    contentLayout->addWidget(entry);
}

QVexmarMenuEntry *QVexmarMenuEntries::findEntry(int id) const
{
    for (int i = 0; i < contentLayout->count(); ++i) {
        QWidget *widget = contentLayout->itemAt(i)->widget();
        if (isExactly(widget, "QVexmarMenuEntry") && static_cast<QVexmarMenuEntry *>(widget)->id == id)
            return static_cast<QVexmarMenuEntry *>(widget);
    }
    return nullptr;
}

void QVexmarMenuEntries::setCurrentEntry(QVexmarMenuEntry *entry)
{
    if (entry == m_current)
        return;
    if (m_current)
        m_current->setState(QVexmarMenuEntry::Normal);
    // An entry that cannot be made current leaves none current, rather than an entry shown as normal.
    m_current = nullptr;
    if (entry && entry->owner == this && entry->state() != QVexmarMenuEntry::Disabled) {
        m_current = entry;
        entry->setState(QVexmarMenuEntry::Current);
    }
}

void QVexmarMenuEntries::itemClicked(QWidget *child)
{
    if (!menu || !child)
        return;
    QWidget *parent = child->parentWidget();
    if (!isExactly(parent, "QVexmarMenuEntry"))
        return;
    auto *entry = static_cast<QVexmarMenuEntry *>(parent);
    if (entry->id != menu->currentEntryId && entry->state() != QVexmarMenuEntry::Disabled)
        menu->entryClicked(entry);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuItems::QVexmarMenuItems(int id, QVexmarMenuWidget *owner) : QVexmarMenuItems(id, -1, owner) { }

QVexmarMenuItems::QVexmarMenuItems(int id, int group, QVexmarMenuWidget *owner)
    : QVexmarSlideWidget(owner), pageId(id), groupId(group), menu(owner)
{
}

void QVexmarMenuItems::addItem(QVexmarMenuItem *item)
{
    if (item && item->page() == this)
        contentLayout->addWidget(item);
}

void QVexmarMenuItems::removeItem(QVexmarMenuItem *item)
{
    if (item && item->page() == this)
        contentLayout->removeWidget(item);
}

QVexmarMenuItem *QVexmarMenuItems::findItem(int id) const
{
    const QList<QVexmarMenuItem *> rows = items();
    for (QVexmarMenuItem *row : rows) {
        if (row->id == id)
            return row;
    }
    return nullptr;
}

QVexmarMenuItem *QVexmarMenuItems::findItemInGroup(int id, int group) const
{
    const QList<QVexmarMenuItem *> rows = items();
    for (QVexmarMenuItem *row : rows) {
        if (row->id == id && row->groupId() == group)
            return row;
    }
    return nullptr;
}

QList<QVexmarMenuItem *> QVexmarMenuItems::items() const
{
    QList<QVexmarMenuItem *> rows;
    for (int i = 0; i < contentLayout->count(); ++i) {
        QWidget *widget = contentLayout->itemAt(i)->widget();
        // Rows are known by their exact class; anything else a page holds is no row.
        if (isExactly(widget, "QVexmarMenuItem"))
            rows.append(static_cast<QVexmarMenuItem *>(widget));
    }
    return rows;
}

void QVexmarMenuItems::notifyValueChanged(QVexmarMenuItem *item)
{
    if (menu)
        menu->itemValueChanged(item);
}

void QVexmarMenuItems::itemClicked(QWidget *child)
{
    if (!menu || !child)
        return;
    QWidget *parent = child->parentWidget();
    if (!isExactly(parent, "QVexmarMenuItem"))
        return;
    auto *item = static_cast<QVexmarMenuItem *>(parent);
    if (item->isLocked())
        return;
    switch (item->kind()) {
    case QVexmarMenuItem::Text:
    case QVexmarMenuItem::Password:
        openKeyboard(item, true);
        break;
    case QVexmarMenuItem::Numeric:
    case QVexmarMenuItem::Pin:
        openKeyboard(item, false);
        break;
    case QVexmarMenuItem::Selection:
        if (!item->options().isEmpty())
            openSelection(item);
        break;
    default:
        menu->menuItemClicked(item);
        break;
    }
}

void QVexmarMenuItems::openKeyboard(QVexmarMenuItem *item, bool alphanumeric)
{
    auto *keyboard = new QVexmarVirtual(alphanumeric, this);
    keyboard->placeOver(menu, menu);
    if (item->kind() == QVexmarMenuItem::Password || item->kind() == QVexmarMenuItem::Pin)
        keyboard->lineEdit.setEchoMode(QLineEdit::Password);
    attachRow(keyboard, item);
    keyboard->titleLabel.setText(item->titleLabel->text());
    keyboard->lineEdit.setText(valueText(item));
    menu->prepareKeyboard(item, keyboard);
    connect(keyboard, &QVexmarPopup::popupClosed, this, &QVexmarMenuItems::editionClosed);
    keyboard->show();
}

void QVexmarMenuItems::openSelection(QVexmarMenuItem *item)
{
    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(this, menu);
    attachRow(popup, item);
    fillSelection(popup, item);
    menu->prepareSelection(item, popup);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarMenuItems::selectionClosed);
    popup->show();
}

void QVexmarMenuItems::editionClosed()
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    QVexmarMenuItem *item = acceptedRow(keyboard);
    if (!item || keyboard->lineEdit.text() == valueText(item))
        return;
    item->setValueText(keyboard->lineEdit.text(), false);
    notifyValueChanged(item);
}

void QVexmarMenuItems::selectionClosed()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    QVexmarMenuItem *item = acceptedRow(popup);
    if (!item || !popup->current())
        return;
    const QString chosen = popup->current()->label->text();
    if (chosen == valueText(item))
        return;
    item->selectOptionText(chosen, true, false);
    notifyValueChanged(item);
}
