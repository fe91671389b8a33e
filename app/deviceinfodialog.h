#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// Asks for one device's name, serial number and codec password. The caller presets and reads the line edits.
class DeviceInfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DeviceInfoDialog(QWidget *parent = nullptr);

    QLineEdit *nameEdit = nullptr;
    QLineEdit *serialEdit = nullptr;
    QLineEdit *passwordEdit = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;

private slots:
    void okClicked();
    void cancelClicked();

private:
    void setupUi();
};
