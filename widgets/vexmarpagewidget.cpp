#include "widgets/vexmarpagewidget.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

QVexmarPageWidget::QVexmarPageWidget(QWidget *parent) : QWidget(parent)
{
    layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);
    contentFrame = new QFrame(this);
    contentFrame->setFrameStyle(QFrame::NoFrame | QFrame::Plain);
    layout->addWidget(contentFrame, 1);
    setLayout(layout);
}

QVexmarPageWidget::~QVexmarPageWidget() = default;

QVexmarMessage *QVexmarPageWidget::showMessage(const QString &text, int autoCloseMs)
{
    return QVexmarMessage::showOnce(m_message, this, text, autoCloseMs);
}

QVexmarDummyPage::QVexmarDummyPage(const QString &image, QWidget *parent) : QVexmarPageWidget(parent), imagePath(image)
{
    auto *picture = new QLabel(contentFrame);
    picture->setGeometry(0, 0, 1280, 676);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(image));

    homeButton = Look::iconButton(contentFrame, QRect(1154, 548, 120, 90), QStringLiteral(":/images/home.png"));
    connect(homeButton, &QAbstractButton::clicked, this, &QVexmarDummyPage::homeButtonClicked);
}

void QVexmarDummyPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}
