#pragma once

#include <QList>
#include <QPair>
#include <QString>

class QDialog;
class QLineEdit;
class QPushButton;

// The layout the small editors share: a titled separator, one row per labelled line edit, then OK and Cancel.
void layOutInfoDialog(QDialog *dialog, const QString &header, const QList<QPair<QString, QLineEdit *>> &rows,
    QPushButton *okButton, QPushButton *cancelButton);
