#pragma once

#include "widgets/vexmarpopup.h"

#include <QLabel>
#include <QLineEdit>

class QVexmarButton;

// The on-screen keyboard: a title, one edit line and 32 keys, either the letter pages (lower case, upper case,
// two symbol pages) or the numeric keypad. It neither checks nor limits what is typed; the opener takes the
// text of lineEdit when cancelled is 0 after popupClosed.
class QVexmarVirtual : public QVexmarPopup
{
    Q_OBJECT

public:
    class QMyLineEdit : public QLineEdit
    {
    public:
        using QLineEdit::QLineEdit;
    };

    enum { keyCount = 32 };
    enum KeyPage { LowerCase = 0, UpperCase = 1, Symbols1 = 2, Symbols2 = 3 };

    QVexmarVirtual(bool alphanumeric, QWidget *parent = nullptr);

    // The numeric keypad while not alphanumeric, whatever the index; else letter page 1, 2 or 3, page 0 for
    // any other index.
    void setKeyPage(int index);

    bool alphanumeric;
    int keyPage = LowerCase;
    QLabel titleLabel {this};
    QMyLineEdit lineEdit {this};
    QVexmarButton *keys[keyCount] = {};

public slots:
    void buttonClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setupUi();
};
