#include "widgets/menu/vexmarmenuselect.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QShowEvent>

namespace {

bool isSelectable(const QWidget *widget)
{
    return widget && qstrcmp(widget->metaObject()->className(), "QVexmarMenuSelectable") == 0;
}

} // namespace

void QVexmarMenuSelect::QMyVexmarSlideWidget::itemClicked(QWidget *child)
{
    QWidget *parent = child ? child->parentWidget() : nullptr;
    if (!isSelectable(parent))
        return;
    auto *row = static_cast<QVexmarMenuSelectable *>(parent);
    if (row->owner)
        row->owner->setCurrent(row);
}

QVexmarMenuSelect::QVexmarMenuSelect(QWidget *parent) : QVexmarPopup(parent)
{
    Look::frame(this, 600, 450);
    setFont(Look::pixelFont(font(), 28));

    list = new QMyVexmarSlideWidget(this);
    titleLabel = plainTextLabel(new QLabel(this));
    titleLabel->hide();
    titleLabel->setWordWrap(true);
    titleLabel->setMargin(5);
    titleLabel->setAlignment(Qt::AlignHCenter);
    titleLabel->setFrameStyle(QFrame::Panel | QFrame::Plain);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    column->addWidget(titleLabel);
    column->addWidget(list, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 10, 10, 0);
    buttons->setSpacing(20);
    const QPalette buttonPalette = Look::lightButton(palette());
    auto makeButton = [&](const QString &caption) {
        auto *button = new QVexmarButton(this);
        button->setFixedHeight(80);
        button->setText(caption);
        button->setPalette(buttonPalette);
        buttons->addWidget(button);
        return button;
    };
    cancelButton = makeButton(tr("Cancel"));
    okButton = makeButton(tr("OK"));
    connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarMenuSelect::cancelClicked);
    connect(okButton, &QAbstractButton::clicked, this, &QVexmarMenuSelect::okClicked);
    column->addLayout(buttons);
}

void QVexmarMenuSelect::setTitle(const QString &title)
{
    titleLabel->setText(title);
    titleLabel->setVisible(!title.isEmpty());
}

void QVexmarMenuSelect::addSelectable(QVexmarMenuSelectable *row)
{
    if (!row || row->owner)
        return;
    list->contentLayout->addWidget(row);
    row->owner = this;
}

void QVexmarMenuSelect::setCurrent(QVexmarMenuSelectable *row)
{
    if (row == m_current)
        return;
    if (m_current) {
        m_current->switchButton->setChecked(false);
        m_current->switchButton->setEnabled(true);
    }
    // Keeping the old row current here would let OK accept a row that is shown unselected.
    if (!row || row->owner != this) {
        m_current = nullptr;
        return;
    }
    m_current = row;
    row->switchButton->setChecked(true);
    row->switchButton->setEnabled(false);
}

QVexmarMenuSelectable *QVexmarMenuSelect::findSelectable(int value) const
{
    for (int i = 0; i < list->contentLayout->count(); ++i) {
        QWidget *widget = list->contentLayout->itemAt(i)->widget();
        if (isSelectable(widget) && static_cast<QVexmarMenuSelectable *>(widget)->value == value)
            return static_cast<QVexmarMenuSelectable *>(widget);
    }
    return nullptr;
}

void QVexmarMenuSelect::okClicked()
{
    if (m_current)
        cancelled = 0;
    hide();
    close();
}

void QVexmarMenuSelect::cancelClicked()
{
    hide();
    close();
}

void QVexmarMenuSelect::showEvent(QShowEvent *event)
{
    QVexmarPopup::showEvent(event);
    if (event->spontaneous() || !m_current)
        return;
    list->ensureWidgetVisible(m_current, 50, 50);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    list->horizontalScrollBar()->setValue(0);
    list->verticalScrollBar()->setValue(0);
    list->horizontalScrollBar()->hide();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuSelectable::QVexmarMenuSelectable(int optionValue, QWidget *parent) : QWidget(parent), value(optionValue)
{
    layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(15);
    layout->setColumnStretch(0, 0);
    layout->setColumnStretch(1, 1);

    switchButton = new QVexmarSwitch(this);
    switchButton->setFixedSize(72, 50);
    switchButton->setCheckable(true);
    switchButton->setDisabledLook(false);
    connect(switchButton, &QAbstractButton::clicked, this, &QVexmarMenuSelectable::switchClicked);
    layout->addWidget(switchButton, 0, 0);

    label = plainTextLabel(new QLabel(this));
    label->setMinimumHeight(60);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setWordWrap(true);
    Look::setTextColour(label, Qt::white);
    layout->addWidget(label, 0, 1);

    auto *line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    layout->addWidget(line, 1, 0, 1, 2);
}

void QVexmarMenuSelectable::switchClicked()
{
    if (owner)
        owner->setCurrent(this);
}
