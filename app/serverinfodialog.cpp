#include "app/serverinfodialog.h"

#include "app/infodialoglayout.h"

#include <QLineEdit>
#include <QPushButton>

ServerInfoDialog::ServerInfoDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Server Authentication"));
    setupUi();
    setFixedSize(269, 132);
}

void ServerInfoDialog::setupUi()
{
    userEdit = new QLineEdit(this);
    passwordEdit = new QLineEdit(this);
    okButton = new QPushButton(tr("OK"), this);
    cancelButton = new QPushButton(tr("Cancel"), this);
    layOutInfoDialog(this, tr("Account Information"), {{tr("User Name"), userEdit}, {tr("Password"), passwordEdit}},
        okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &ServerInfoDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &ServerInfoDialog::cancelClicked);
}

void ServerInfoDialog::okClicked()
{
    accept();
}

void ServerInfoDialog::cancelClicked()
{
    reject();
}
