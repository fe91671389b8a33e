#include "pages/vexmarvoicecallpanel.h"

#include "device/accessors.h"
#include "device/networkcode.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

const QColor grey(0x7f, 0x7f, 0x7f);
const QColor green(0x00, 0xff, 0x00);
const QColor red(0xff, 0x00, 0x00);
const QString blank = QStringLiteral(" ");

QLabel *centredLabel(QWidget *parent, const QString &text)
{
    auto *label = plainTextLabel(new QLabel(text, parent));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

QVexmarVoiceCallPanel::QVexmarVoiceCallPanel(int module, QWidget *parent)
    : QWidget(parent), m_module(module), m_controller(getCom())
{
    setupUi();
}

void QVexmarVoiceCallPanel::setupUi()
{
    const QFont panelFont = Look::pixelFont(font(), 32);
    setFont(panelFont);
    Look::setFace(this, QBrush(grey, Qt::NoBrush), Qt::white);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(0);
    column->addWidget(centredLabel(this, tr("Module %1").arg(m_module)));
    m_stateLabel = centredLabel(this, blank);
    m_stateLabel->setObjectName(QStringLiteral("voiceModule%1State").arg(m_module));
    m_simLabel = centredLabel(this, blank);
    m_simLabel->setObjectName(QStringLiteral("voiceModule%1Sim").arg(m_module));
    column->addWidget(m_stateLabel);
    column->addWidget(m_simLabel);
}

void QVexmarVoiceCallPanel::setBorderWidth(int width)
{
    if (width == m_borderWidth)
        return;
    m_borderWidth = width;
    update();
}

void QVexmarVoiceCallPanel::reset()
{
    m_controller.reset();
    updateState(m_controller.state());
}

void QVexmarVoiceCallPanel::attachModule()
{
    if (m_module != 1 && m_module != 2)
        return;
    if (!m_controller.attach(networkNameOfCode(TypeMobile + m_module - 1), 0, false))
        return;
    if (m_controller.state() == TComMobileController::Registered)
        fetchOperator();
    updateState(m_controller.state());
}

void QVexmarVoiceCallPanel::fetchOperator()
{
    m_controller.fetch({KEY_MOBILE_OPERATOR_LONG, KEY_MOBILE_OPERATOR_SHORT, KEY_MOBILE_MSISDN});
}

bool QVexmarVoiceCallPanel::handleInfo(RpcMessage &message)
{
    const int before = m_controller.state();
    if (!m_controller.handleInfo(message))
        return false;
    // Registered again: the operator and the number may have changed with the SIM or the network.
    if (before != TComMobileController::Registered && m_controller.state() == TComMobileController::Registered)
        fetchOperator();
    updateState(m_controller.state());
    return true;
}

int QVexmarVoiceCallPanel::applyPin(const QString &pin, int timeoutMs)
{
    if (m_controller.state() != TComMobileController::PinRequired)
        return -1;
    const int result = m_controller.enterPin(qStringToLatin1(pin), timeoutMs);
    if (result == TComMobileController::PinAccepted)
        updateState(TComMobileController::NotRegistered);
    else
        // A PUK answer locks the SIM: the panel says so at once instead of still asking for the PIN.
        updateState(m_controller.state());
    return result;
}

void QVexmarVoiceCallPanel::updateState(int state)
{
    const bool ready = state == TComMobileController::Registered;
    Look::setFace(this,
        QBrush(ready || m_controller.state() == TComMobileController::NotRegistered ? green : grey, Qt::NoBrush),
        Qt::white);
    Look::setFace(m_stateLabel, QBrush(palette().color(QPalette::Window), Qt::NoBrush), ready ? Qt::white : red);

    const std::string &msisdn = m_controller.msisdn();
    const QString sim = msisdn.empty() ? blank : QStringLiteral("SIM ") + latin1ToQString(msisdn);
    QString text = blank;
    switch (state) {
    case TComMobileController::Registered:
        text = latin1ToQString(m_controller.operatorLong());
        break;
    case TComMobileController::NotRegistered:
        text = tr("NOT REGISTERED");
        break;
    case TComMobileController::NotAllowed:
        text = tr("NOT ALLOWED");
        break;
    case TComMobileController::SimMissing:
        text = tr("SIM MISSING");
        break;
    case TComMobileController::SimLocked:
        text = tr("SIM LOCKED");
        break;
    case TComMobileController::PinRequired:
        text = tr("PIN REQUIRED");
        break;
    default:
        break;
    }
    const bool registration = state == TComMobileController::Registered || state == TComMobileController::NotRegistered
        || state == TComMobileController::NotAllowed;
    m_stateLabel->setText(text);
    m_simLabel->setText(registration ? sim : blank);
    update();
}

void QVexmarVoiceCallPanel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    emit callPanelClicked(m_module);
}

void QVexmarVoiceCallPanel::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        Look::paintFace(painter, this, m_borderWidth, m_radius);
    }
    QWidget::paintEvent(event);
}
