#pragma once

#include "widgets/vexmarpageid.h"

#include <QWidget>

class QFrame;
class QVBoxLayout;
class QVexmarButton;

// Base of the device pages: derived pages place their widgets at absolute positions in contentFrame.
class QVexmarPageWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarPageWidget(QWidget *parent = nullptr);

    QVBoxLayout *layout = nullptr; // the page's layout; hides QWidget::layout(), which returns the same
    QFrame *contentFrame = nullptr;
};

// A page that shows one full-page picture and a home button.
class QVexmarDummyPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    explicit QVexmarDummyPage(const QString &imagePath, QWidget *parent = nullptr);

    QString imagePath;
    QVexmarButton *homeButton = nullptr;

signals:
    void pageActivated(QVexmar::Page page);

public slots:
    void homeButtonClicked();
};
