#include "app/infodialoglayout.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void layOutInfoDialog(QDialog *dialog, const QString &header, const QList<QPair<QString, QLineEdit *>> &rows,
    QPushButton *okButton, QPushButton *cancelButton)
{
    auto *grid = new QGridLayout(dialog);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    grid->setAlignment(Qt::AlignTop);
    grid->setColumnStretch(0, 0);
    grid->setColumnStretch(1, 0);

    auto *headerBox = new QHBoxLayout;
    headerBox->setContentsMargins(0, 4, 0, 4);
    headerBox->setSpacing(10);
    headerBox->setAlignment(Qt::AlignVCenter);
    headerBox->addWidget(new QLabel(header, dialog));
    auto *line = new QFrame(dialog);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setLineWidth(2);
    headerBox->addWidget(line, 1);
    grid->addLayout(headerBox, 0, 0, 1, -1);

    int row = 1;
    for (const auto &entry : rows) {
        grid->addWidget(new QLabel(entry.first, dialog), row, 0);
        grid->addWidget(entry.second, row, 1);
        ++row;
    }

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(10);
    buttons->setAlignment(Qt::AlignHCenter);
    okButton->setDefault(true);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    grid->addLayout(buttons, row, 1);
}
