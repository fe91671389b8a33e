#pragma once

#include "widgets/vexmarpageid.h"

#include <QPointer>
#include <QWidget>

class QFrame;
class QVBoxLayout;
class QVexmarButton;
class QVexmarMessage;

// Base of the device pages: derived pages place their widgets at absolute positions in contentFrame.
class QVexmarPageWidget : public QWidget
{
    Q_OBJECT

public:
    explicit QVexmarPageWidget(QWidget *parent = nullptr);
    ~QVexmarPageWidget() override;

    // What the page tells the user: one message over the page at a time (QVexmarMessage::showOnce). 0 ms keeps it
    // until it is touched. Returns the message shown.
    QVexmarMessage *showMessage(const QString &text, int autoCloseMs);

    QVBoxLayout *layout = nullptr; // the page's layout; hides QWidget::layout(), which returns the same
    QFrame *contentFrame = nullptr;

protected:
    QPointer<QVexmarMessage> m_message;
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
