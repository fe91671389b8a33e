#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for a relay account's user name and password. The caller reads the line edits.
class ServerInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ServerInfoDialog(QWidget *parent = nullptr);

    QLineEdit *userEdit = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

private slots:
    void okClicked();
    void cancelClicked();

private:
    void setupUi();
};
