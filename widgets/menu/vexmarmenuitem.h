#pragma once

#include <QLabel>
#include <QList>
#include <QWidget>

class QGridLayout;
class QVexmarMenuEntries;
class QVexmarMenuItems;
class QVexmarSwitch;
class QVexmarWheel;

// A row of the settings menu: a category in the left-hand list, or one setting on a page. Rows are found by id.
class QVexmarMenuBase : public QWidget
{
    Q_OBJECT

public:
    QVexmarMenuBase(int id, QWidget *parent);

    const int id;
    QGridLayout *layout = nullptr; // the row's grid; hides QWidget::layout(), which returns the same
    QLabel *titleLabel = nullptr; // builders set its text directly
};

// A category row: icon and title. Its title shows whether it is open (blue) or cannot be opened (grey).
class QVexmarMenuEntry : public QVexmarMenuBase
{
    Q_OBJECT

public:
    enum State { Normal = 0, Current = 1, Disabled = 2 };

    QVexmarMenuEntry(int id, QVexmarMenuEntries *owner);

    void setState(int state);
    int state() const { return m_state; }

    QVexmarMenuEntries *owner = nullptr; // the list that shows the row
    QLabel *iconLabel = nullptr; // builders set its pixmap and the row's margins

private:
    int m_state = Normal;
};

// One setting, link or action on a menu page. Its kind decides the widgets it shows and what a touch does; a
// locked row shows its value in grey and ignores touches. The row tells its page's menu widget when the user
// changed its value.
class QVexmarMenuItem : public QVexmarMenuBase
{
    Q_OBJECT

public:
    enum ItemType {
        Label = 0,
        ReadOnly = 1,
        Switch = 2,
        Text = 3,
        Password = 4,
        Numeric = 5,
        Pin = 6,
        Selection = 7,
        SubMenu = 8,
        Wheel = 9, // the wheel's turn counts when the wheel is touched again
        LiveWheel = 10, // every step of the wheel counts
        Action = 11,
    };

    struct Option
    {
        int value;
        QString text;
    };

    QVexmarMenuItem(int id, int kind, QVexmarMenuItems *page);
    QVexmarMenuItem(int id, int groupId, int kind, QVexmarMenuItems *page);

    int kind() const { return m_kind; }
    int groupId() const { return m_groupId; }
    QVexmarMenuItems *page() const { return m_page; }
    bool isLocked() const { return m_locked; }
    int currentOption() const { return m_currentOption; }
    const QList<Option> &options() const { return m_options; }

    // Duplicates are kept; searches take the first match.
    void addOption(int value, const QString &text);
    void clearOptions();
    // Make the first option with this value (text) current and return its index. A miss gives -1 when strict
    // and option 0 when not; an empty list always -1. showText puts the option's text on the value label.
    int selectOption(int value, bool showText, bool strict);
    int selectOptionText(const QString &text, bool showText, bool strict);
    // What the two above would choose, changing nothing.
    int optionIndex(int value, bool strict) const;
    int optionIndexOfText(const QString &text, bool strict) const;

    // A Selection row also makes the option with this text current (option 0 for an unknown text unless strict).
    void setValueText(const QString &text, bool strict = false);
    void setValueTextAndColor(const QString &text, const QColor &color, bool strict = false);
    void setValueTextAndGlobalColor(const QString &text, Qt::GlobalColor color, bool strict = false);
    void setChecked(bool checked);
    // Grey when locking, blue when unlocking.
    void setLocked(bool locked);
    // The colour is applied even when the locked state stays.
    void setLocked(bool locked, const QColor &color);
    void updateSwitchText();
    // Brings the switch text or the wheel in line with the options, the value text and the lock.
    void updateEditor();

    QLabel *valueLabel = nullptr; // masked for Password and Pin; none for Label
    QLabel *iconLabel = nullptr; // SubMenu and Action
    QVexmarSwitch *switchButton = nullptr; // Switch
    QVexmarWheel *wheel = nullptr; // Wheel and LiveWheel

public slots:
    void switchClicked();
    void wheelChanged(int value);
    void wheelToggled(bool checked);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setUpRow();
    void notifyMenu();

    QVexmarMenuItems *const m_page;
    const int m_kind;
    bool m_locked = false;
    const int m_groupId;
    int m_currentOption = -1;
    QList<Option> m_options;
};

// Shows its text as as many '*' as it has characters.
class QPwdLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *event) override;
};
