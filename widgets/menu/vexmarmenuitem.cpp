#include "widgets/menu/vexmarmenuitem.h"

#include "widgets/menu/vexmarmenuwidget.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QShowEvent>

namespace {

const QColor valueBlue(0, 162, 232);
const QColor lockedGrey(127, 127, 127);

QFrame *separator(QWidget *row)
{
    auto *line = new QFrame(row);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    return line;
}

template<class Match>
int findOption(const QList<QVexmarMenuItem::Option> &options, bool strict, Match match)
{
    if (options.isEmpty())
        return -1;
    for (int i = 0; i < options.size(); ++i) {
        if (match(options.at(i)))
            return i;
    }
    return strict ? -1 : 0;
}

} // namespace

QVexmarMenuBase::QVexmarMenuBase(int menuId, QWidget *parent) : QWidget(parent), id(menuId)
{
    layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuEntry::QVexmarMenuEntry(int entryId, QVexmarMenuEntries *entries)
    : QVexmarMenuBase(entryId, entries), owner(entries)
{
    layout->setColumnStretch(0, 0);
    layout->setColumnStretch(1, 1);

    iconLabel = new QLabel(this);
    iconLabel->setMargin(5);
    iconLabel->setFixedSize(80, 80);
    iconLabel->setScaledContents(true);
    layout->addWidget(iconLabel, 0, 0);

    titleLabel = plainTextLabel(new QLabel(this));
    titleLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    titleLabel->setFont(Look::pixelFont(font(), 32));
    Look::setTextColour(titleLabel, Qt::white);
    layout->addWidget(titleLabel, 0, 1);

    layout->addWidget(separator(this), 1, 0, 1, 2);
}

void QVexmarMenuEntry::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    Look::setTextColour(titleLabel, state == Current ? valueBlue : state == Disabled ? lockedGrey : QColor(Qt::white));
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarMenuItem::QVexmarMenuItem(int itemId, int kind, QVexmarMenuItems *page) : QVexmarMenuItem(itemId, -1, kind, page)
{
}

QVexmarMenuItem::QVexmarMenuItem(int itemId, int groupId, int kind, QVexmarMenuItems *page)
    : QVexmarMenuBase(itemId, page), m_page(page), m_kind(kind), m_groupId(groupId)
{
    setUpRow();
}

void QVexmarMenuItem::setUpRow()
{
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 0);

    titleLabel = plainTextLabel(new QLabel(this));
    titleLabel->setFixedHeight(42);
    titleLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titleLabel->setFont(Look::pixelFont(font(), 32));
    Look::setTextColour(titleLabel, Qt::white);
    layout->addWidget(titleLabel, 0, 0);

    if (m_kind != Label) {
        valueLabel = plainTextLabel(m_kind == Password || m_kind == Pin ? new QPwdLabel(this) : new QLabel(this));
        valueLabel->setMinimumHeight(36);
        valueLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        valueLabel->setWordWrap(true);
        valueLabel->setFont(Look::pixelFont(font(), 28));
        Look::setTextColour(valueLabel, valueBlue);
        layout->addWidget(valueLabel, 1, 0);
    }

    QWidget *editor = nullptr;
    if (m_kind == SubMenu || m_kind == Action) {
        iconLabel = new QLabel(this);
        iconLabel->setFixedSize(72, 72);
        iconLabel->setScaledContents(true);
        iconLabel->setPixmap(QPixmap(
            m_kind == SubMenu ? QStringLiteral(":/images/navright.png") : QStringLiteral(":/images/action.png")));
        editor = iconLabel;
    } else if (m_kind == Switch) {
        switchButton = new QVexmarSwitch(this);
        switchButton->setFixedSize(72, 50);
        switchButton->setCheckable(true);
        connect(switchButton, &QAbstractButton::clicked, this, &QVexmarMenuItem::switchClicked);
        editor = switchButton;
    } else if (m_kind == Wheel || m_kind == LiveWheel) {
        wheel = new QVexmarWheel(this);
        wheel->setFixedSize(72, 72);
        wheel->setFont(Look::pixelFont(font(), 22));
        connect(wheel, &QVexmarWheel::valueChanged, this, &QVexmarMenuItem::wheelChanged);
        connect(wheel, &QAbstractButton::toggled, this, &QVexmarMenuItem::wheelToggled);
        editor = wheel;
    }
    if (editor)
        layout->addWidget(editor, 0, 1, 2, 1);

    layout->addWidget(separator(this), 2, 0, 1, 2);
}

void QVexmarMenuItem::addOption(int value, const QString &text)
{
    m_options.append({value, text});
}

void QVexmarMenuItem::clearOptions()
{
    m_options.clear();
    m_currentOption = -1;
}

int QVexmarMenuItem::optionIndex(int value, bool strict) const
{
    return findOption(m_options, strict, [value](const Option &option) { return option.value == value; });
}

int QVexmarMenuItem::optionIndexOfText(const QString &text, bool strict) const
{
    return findOption(m_options, strict, [&text](const Option &option) { return option.text == text; });
}

int QVexmarMenuItem::selectOption(int value, bool showText, bool strict)
{
    m_currentOption = optionIndex(value, strict);
    if (m_currentOption != -1 && valueLabel && showText) {
        valueLabel->setText(m_options.at(m_currentOption).text);
        if ((m_kind == Wheel || m_kind == LiveWheel) && isVisible())
            updateEditor();
    }
    return m_currentOption;
}

int QVexmarMenuItem::selectOptionText(const QString &text, bool showText, bool strict)
{
    m_currentOption = optionIndexOfText(text, strict);
    if (m_currentOption != -1 && valueLabel && showText) {
        valueLabel->setText(m_options.at(m_currentOption).text);
        if ((m_kind == Wheel || m_kind == LiveWheel) && isVisible())
            updateEditor();
    }
    return m_currentOption;
}

void QVexmarMenuItem::setValueText(const QString &text, bool strict)
{
    if (!valueLabel)
        return;
    valueLabel->setText(text);
    if (m_kind == Selection)
        selectOptionText(text, false, strict);
}

void QVexmarMenuItem::setValueTextAndColor(const QString &text, const QColor &color, bool strict)
{
    setValueText(text, strict);
    if (valueLabel && color.isValid() && color != Look::textColour(valueLabel))
        Look::setTextColour(valueLabel, color);
}

void QVexmarMenuItem::setValueTextAndGlobalColor(const QString &text, Qt::GlobalColor color, bool strict)
{
    setValueTextAndColor(text, QColor(color), strict);
}

void QVexmarMenuItem::setChecked(bool checked)
{
    if (!switchButton)
        return;
    switchButton->setChecked(checked);
    updateSwitchText();
}

void QVexmarMenuItem::setLocked(bool locked)
{
    setLocked(locked, locked ? lockedGrey : valueBlue);
}

void QVexmarMenuItem::setLocked(bool locked, const QColor &color)
{
    if (valueLabel && color.isValid() && color != Look::textColour(valueLabel))
        Look::setTextColour(valueLabel, color);
    if (locked == m_locked)
        return;
    m_locked = locked;
    if (switchButton)
        switchButton->setEnabled(!locked);
    updateEditor();
}

void QVexmarMenuItem::updateSwitchText()
{
    if (m_kind != Switch || !valueLabel)
        return;
    const bool on = switchButton->isChecked();
    if (m_options.size() < 2) {
        valueLabel->setText(on ? tr("Active") : tr("Disabled"));
        return;
    }
    m_currentOption = on ? 1 : 0;
    valueLabel->setText(m_options.at(m_currentOption).text);
}

void QVexmarMenuItem::updateEditor()
{
    if (m_kind == Switch) {
        // A held value that neither option stands for (none current) stays until the switch is set or turned.
        if (m_options.size() < 2 || m_currentOption != -1)
            updateSwitchText();
        return;
    }
    if (!wheel)
        return;
    wheel->revertOnFocusOut = m_kind == Wheel;
    if (m_options.isEmpty()) {
        wheel->setCheckable(false);
    } else {
        wheel->setCheckable(!m_locked);
        wheel->setMaximum(m_options.size() - 1);
        const int shown = optionIndexOfText(valueLabel->text(), true);
        if (shown != -1)
            wheel->setValue(shown);
    }
    wheel->update();
}

void QVexmarMenuItem::notifyMenu()
{
    if (m_page && m_page->menu)
        m_page->menu->itemValueChanged(this);
}

void QVexmarMenuItem::switchClicked()
{
    updateSwitchText();
    notifyMenu();
}

void QVexmarMenuItem::wheelChanged(int value)
{
    // The options may have been cleared or shortened since the wheel last took its maximum from them.
    if (!valueLabel || value < 0 || value >= m_options.size())
        return;
    valueLabel->setText(m_options.at(value).text);
    if (m_kind == LiveWheel) {
        m_currentOption = value;
        notifyMenu();
    }
}

void QVexmarMenuItem::wheelToggled(bool checked)
{
    if (!valueLabel)
        return;
    if (m_kind == Wheel)
        Look::setTextColour(valueLabel, checked ? QColor(Qt::red) : valueBlue);
    if (checked || !m_page)
        return;
    const int chosen = wheel->value();
    if (chosen < 0 || chosen >= m_options.size())
        return;
    const int before = m_currentOption;
    m_currentOption = chosen;
    valueLabel->setText(m_options.at(chosen).text);
    wheel->setValue(chosen);
    if (m_kind == LiveWheel || chosen != before)
        notifyMenu();
}

void QVexmarMenuItem::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        updateEditor();
    QVexmarMenuBase::showEvent(event);
}

// ---------------------------------------------------------------------------------------------------------------

void QPwdLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawText(QRect(0, 0, width(), height()), int(alignment()), QString(text().size(), QLatin1Char('*')));
}
