#include "vexmarpagewidget.h"

#include "vexmarbutton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QIcon>
#include <QLabel>

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

QVexmarDummyPage::QVexmarDummyPage(const QString &imagePath, QWidget *parent)
    : QVexmarPageWidget(parent), imagePath(imagePath)
{
    auto *picture = new QLabel(contentFrame);
    picture->setGeometry(0, 0, 1280, 676);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(imagePath));

    homeButton = new QVexmarButton(contentFrame);
    homeButton->setGeometry(1154, 548, 120, 90);
    homeButton->borderWidth = 1;
    homeButton->radius = 0.0f;
    QPalette buttonPalette = homeButton->palette();
    buttonPalette.setBrush(QPalette::Window, QBrush(Qt::black, Qt::NoBrush));
    buttonPalette.setBrush(QPalette::WindowText, QBrush(Qt::black));
    homeButton->setPalette(buttonPalette);
    homeButton->setIcon(QIcon(QStringLiteral(":/images/home.png")));
    connect(homeButton, &QAbstractButton::clicked, this, &QVexmarDummyPage::homeButtonClicked);
}

void QVexmarDummyPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}
