#include "app/quorvanedialog.h"

#include "app/quorvaneversion.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

QLabel *centredLabel(QWidget *parent, bool bold)
{
    auto *label = new QLabel(parent);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    // The dialog's width is fixed; a long line in a large font breaks rather than being cut.
    label->setWordWrap(true);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

QuorvaneDialog::QuorvaneDialog(QWidget *parent)
    : QDialog(parent, Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    const QString product = QStringLiteral(QUORVANE_PRODUCT_TITLE);
    setWindowTitle(tr("About %1").arg(product));
    setFixedSize(350, 272);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(3);
    // The labels take the whole width and centre their text: a label that breaks its line needs the width it is
    // measured for.
    layout->setAlignment(Qt::AlignTop);

    QLabel *picture = centredLabel(this, false);
    picture->setPixmap(QPixmap(QStringLiteral(":/images/MyQuorvaneRE.png")));
    layout->addWidget(picture);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    layout->addWidget(line);

    QLabel *version = centredLabel(this, true);
    version->setText(QStringLiteral("%1 - Version %2").arg(product, QStringLiteral(QUORVANE_PRODUCT_VERSION)));
    layout->addWidget(version);

    QLabel *notice = centredLabel(this, true);
    notice->setText(tr("Copyright \u00a9 MyQuorvaneRE"));
    layout->addWidget(notice);

    QLabel *link = centredLabel(this, true);
    link->setTextFormat(Qt::RichText);
    link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    link->setOpenExternalLinks(true);
    link->setText(QStringLiteral("<a href=\"https://www.example.com/\">www.example.com</a>"));
    layout->addWidget(link);
}
