#pragma once

#include "widgets/menu/vexmarslidewidget.h"
#include "widgets/vexmarpopup.h"

class QGridLayout;
class QLabel;
class QVexmarButton;
class QVexmarMenuSelectable;
class QVexmarSwitch;

// The popup for choosing one value out of a list: an optional title, a drag-scrolled list of rows (a switch and
// a text each), "Cancel" and "OK". One row at most is current; its switch is on and cannot be switched off.
// The opener reads cancelled and current() after popupClosed; OK without a current row counts as cancelled.
class QVexmarMenuSelect : public QVexmarPopup
{
    Q_OBJECT

public:
    // A touch on a row's text selects the row as its switch does.
    class QMyVexmarSlideWidget : public QVexmarSlideWidget
    {
    public:
        using QVexmarSlideWidget::QVexmarSlideWidget;
        void itemClicked(QWidget *child) override;
    };

    explicit QVexmarMenuSelect(QWidget *parent = nullptr);

    // The title shows only while it has a text.
    void setTitle(const QString &title);
    // Takes a row that belongs to no popup yet; any other is ignored.
    void addSelectable(QVexmarMenuSelectable *row);
    // A null row or one of another popup leaves no row current.
    void setCurrent(QVexmarMenuSelectable *row);
    QVexmarMenuSelectable *current() const { return m_current; }
    // The first row with this value, null when none.
    QVexmarMenuSelectable *findSelectable(int value) const;

    QMyVexmarSlideWidget *list = nullptr;
    QLabel *titleLabel = nullptr;
    QVexmarButton *cancelButton = nullptr;
    QVexmarButton *okButton = nullptr;

public slots:
    void okClicked();
    void cancelClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QVexmarMenuSelectable *m_current = nullptr;
};

// One row of the selection popup; the opener sets the label's text.
class QVexmarMenuSelectable : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarMenuSelectable(int value, QWidget *parent = nullptr);

    const int value;
    QVexmarMenuSelect *owner = nullptr; // set when added to a popup
    QGridLayout *layout = nullptr; // hides QWidget::layout(), which returns the same
    QLabel *label = nullptr;
    QVexmarSwitch *switchButton = nullptr;

public slots:
    void switchClicked();
};
