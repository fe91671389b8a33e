#pragma once

#include <QDialog>

// The About dialog: picture, product and version, notice, and a link to the web site.
class QuorvaneDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QuorvaneDialog(QWidget *parent = nullptr);
};
