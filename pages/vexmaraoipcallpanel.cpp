#include "pages/vexmaraoipcallpanel.h"

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "pages/vexmaraoipcallpage.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int historyTimeoutMs = 5000;
const QColor grey(0x7f, 0x7f, 0x7f);

QColor callStateColour(int state)
{
    switch (state) {
    case 1:
        return QColor(0xaa, 0xff, 0xaa);
    case 2:
        return QColor(0x00, 0xff, 0x00);
    case 3:
        return QColor(0xff, 0xff, 0x00);
    case 4:
        return QColor(0xff, 0x00, 0x00);
    case 5:
        return QColor(0xf0, 0x65, 0x65);
    case 6:
        return QColor(0xea, 0xb1, 0x66);
    default:
        return grey;
    }
}

QColor sipStateColour(int state)
{
    switch (state) {
    case 1:
        return QColor(0x00, 0xff, 0x00);
    case 2:
        return QColor(0x00, 0x92, 0x40);
    case 3:
        return QColor(0xff, 0x00, 0x00);
    default:
        return grey;
    }
}

QLabel *panelLabel(QWidget *parent, const QFont &font)
{
    auto *label = plainTextLabel(new QLabel(parent));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(font);
    return label;
}

} // namespace

QVexmarAoIPCallPanel::QVexmarAoIPCallPanel(QWidget *parent) : QWidget(parent)
{
    setupUi();
}

void QVexmarAoIPCallPanel::setupUi()
{
    Look::setFace(this, QBrush(grey), Qt::black);
    const QFont panelFont = Look::pixelFont(font(), 32);
    setFont(panelFont);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    m_upper = panelLabel(this, panelFont);
    m_upper->setObjectName(QStringLiteral("remoteNumberLabel"));
    m_lower = panelLabel(this, panelFont);
    m_lower->setObjectName(QStringLiteral("callPanelLabel"));
    column->addWidget(m_upper);
    column->addWidget(m_lower);
}

void QVexmarAoIPCallPanel::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    Look::setFace(this, QBrush(callStateColour(state)), Qt::black);
}

const QString &QVexmarAoIPCallPanel::text(int which) const
{
    static const QString none;
    return which >= 0 && which < 3 ? m_texts[which] : none;
}

void QVexmarAoIPCallPanel::setText(const QString &text, int which)
{
    if (which >= 0 && which < 3)
        m_texts[which] = text;
    m_lower->setText(text);
}

void QVexmarAoIPCallPanel::reset()
{
    for (QString &text : m_texts)
        text.clear();
    m_lower->clear();
}

void QVexmarAoIPCallPanel::setRemoteNumber(const QString &text)
{
    m_upper->setText(text);
}

void QVexmarAoIPCallPanel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit callPanelClicked();
}

void QVexmarAoIPCallPanel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        Look::paintFace(painter, this, borderWidth, radius);
    }
    QWidget::paintEvent(event);
    const QString icon = Look::callStateImage(m_state);
    if (!icon.isEmpty()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QImage image(icon);
        painter.drawImage(QRect(5, 5, 80, 80), image, image.rect());
    }
}

QVexmarSipAccountPanel::QVexmarSipAccountPanel(int number, QWidget *parent) : QFrame(parent), account(number)
{
    setupUi();
}

void QVexmarSipAccountPanel::setupUi()
{
    setFixedSize(1178, 60);
    auto *name = new QLabel(account == 1 ? tr("Primary") : tr("Secondary"), this);
    name->setGeometry(0, 10, 200, 40);
    name->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_address = plainTextLabel(new QLabel(this));
    m_address->setObjectName(QStringLiteral("addressLabel"));
    m_address->setGeometry(200, 10, 732, 40);
    m_address->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_address->setAutoFillBackground(true);
    Look::setFace(m_address, QBrush(QColor(0x50, 0x50, 0x50)), Qt::white);

    QVexmarButton *settings = Look::iconButton(this, QRect(960, 0, 60, 60), QStringLiteral(":/images/settings.png"));
    settings->setObjectName(QStringLiteral("settingsButton"));
    connect(settings, &QAbstractButton::clicked, this, &QVexmarSipAccountPanel::accountSettingsClicked);

    m_stateButton = new QVexmarButton(this);
    m_stateButton->setObjectName(QStringLiteral("sipButton"));
    m_stateButton->setGeometry(width() - 80, 10, 80, 40);
    m_stateButton->borderWidth = 1;
    m_stateButton->radius = 5.0f;
    Look::setFace(m_stateButton, QBrush(grey), Qt::black);
    m_stateButton->setText(QStringLiteral("SIP"));
}

void QVexmarSipAccountPanel::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    Look::setFace(m_stateButton, QBrush(sipStateColour(state)), Qt::black);
}

void QVexmarSipAccountPanel::setAddress(const QString &address)
{
    if (m_address)
        m_address->setText(address);
}

void QVexmarSipAccountPanel::accountSettingsClicked()
{
    // The panel sits in the page's content frame: the page is an ancestor, not always the parent.
    QWidget *ancestor = parentWidget();
    while (ancestor && !qobject_cast<QVexmarAoIPCallPage *>(ancestor))
        ancestor = ancestor->parentWidget();
    auto *page = qobject_cast<QVexmarAoIPCallPage *>(ancestor);
    if (!page)
        return;
    if (page->codec == 1)
        emit page->pageActivated(account == 1 ? QVexmar::SettingsSipPrimary : QVexmar::SettingsSipSecondary);
    else if (account == 1)
        emit page->pageActivated(QVexmar::SettingsSipSecondary);
}

std::vector<std::string> readCallHistory(const std::string &listName)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_DB);
    request.addList(listName);
    std::vector<std::string> entries;
    if (!TComRpcAccess(getCom()).getList(request, entries, historyTimeoutMs))
        entries.clear();
    return entries;
}

void fillCallHistory(QVexmarMenuSelect *popup, const std::vector<std::string> &entries, const QString &current)
{
    QVexmarMenuSelectable *first = nullptr;
    QVexmarMenuSelectable *match = nullptr;
    for (size_t i = 0; i < entries.size(); ++i) {
        auto *row = new QVexmarMenuSelectable(int(i));
        row->label->setText(latin1ToQString(entries[i]));
        popup->addSelectable(row);
        if (!first)
            first = row;
        if (row->label->text() == current)
            match = row;
    }
    popup->setCurrent(match ? match : first);
}
