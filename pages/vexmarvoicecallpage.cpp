#include "pages/vexmarvoicecallpage.h"

#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/networkcode.h"
#include "pages/callcontrol.h"
#include "pages/vexmaraoipcallpanel.h"
#include "pages/vexmarvoicecallpanel.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <QCoreApplication>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr int voiceCodec = QVexmar::VoiceCodec;
constexpr int pinTimeoutMs = 15000;
constexpr int selectedBorder = 6;
constexpr int plainBorder = 2;

// The call-state codes in which the line has a call in progress or established.
enum CallStateCode { CodeInProgress = 3, CodeEstablished = 4, CodeSyncLost = 5 };

const QString &noText()
{
    static const QString empty;
    return empty;
}

QVexmarButton *button(QWidget *parent, const char *name, const QRect &geometry, int border, float radius)
{
    auto *button = new QVexmarButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->borderWidth = border;
    button->radius = radius;
    return button;
}

} // namespace

const char *const QVexmarVoiceCallPage::dialKeys[12] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "+", "0", "#"};

QVexmarVoiceCallPage::QVexmarVoiceCallPage(QWidget *parent) : QVexmarPageWidget(parent)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarVoiceCallPage::deviceStateChanged);
}

QVexmarVoiceCallPage::~QVexmarVoiceCallPage() = default;

void QVexmarVoiceCallPage::setupUi()
{
    QWidget *frame = contentFrame;
    const QFont scaleFont = Look::pixelFont(font(), 26);
    const QFont keyFont = Look::pixelFont(font(), 32);

    m_numberLine = new QLineEdit(frame);
    m_numberLine->setObjectName(QStringLiteral("voiceNumberLine"));
    m_numberLine->setGeometry(32, 54, 484, 60);
    m_numberLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_numberLine->setFont(Look::pixelFont(font(), 38));
    connect(m_numberLine, &QLineEdit::textEdited, this, &QVexmarVoiceCallPage::remoteNumberEdited);

    // Keys drawn as white outlines with white text.
    const QBrush outline(Qt::white, Qt::NoBrush);
    for (int i = 0; i < 12; ++i) {
        const QRect geometry(93 + 141 * (i % 3), 154 + 120 * (i / 3), 80, 80);
        auto *key = button(frame, "", geometry, 2, 10.0f);
        key->setObjectName(QStringLiteral("voiceKey") + QLatin1String(dialKeys[i]));
        Look::setFace(key, outline, Qt::white);
        key->setFont(keyFont);
        key->setText(QLatin1String(dialKeys[i]));
        connect(key, &QAbstractButton::clicked, this, &QVexmarVoiceCallPage::dialButtonClicked);
    }
    auto *backspace = button(frame, "voiceBackspaceButton", QRect(550, 514, 180, 80), 2, 10.0f);
    Look::setFace(backspace, outline, Qt::white);
    backspace->setFont(keyFont);
    backspace->setText(QStringLiteral("Backspace"));
    connect(backspace, &QAbstractButton::clicked, this, &QVexmarVoiceCallPage::backspaceButtonClicked);

    m_levels = new QVexmarBarsEx(frame);
    m_levels->setObjectName(QStringLiteral("voiceLevels"));
    m_levels->move(860, 16);
    m_levels->setSide(0);
    m_levels->setState(0);
    for (const auto &[text, y] : {std::pair<const char *, int> {"Tx", 16}, {"Rx", 57}}) {
        auto *scale = new QLabel(QLatin1String(text), frame);
        scale->setGeometry(820, y, 40, 26);
        scale->setAlignment(Qt::AlignCenter);
        scale->setFont(scaleFont);
    }

    m_panel1 = new QVexmarVoiceCallPanel(1, frame);
    m_panel1->setObjectName(QStringLiteral("voicePanel1"));
    m_panel1->setGeometry(774, 110, 462, 190);
    m_panel2 = new QVexmarVoiceCallPanel(2, frame);
    m_panel2->setObjectName(QStringLiteral("voicePanel2"));
    m_panel2->setGeometry(774, 342, 462, 190);
    for (QVexmarVoiceCallPanel *panel : {m_panel1, m_panel2})
        connect(panel, &QVexmarVoiceCallPanel::callPanelClicked, this, &QVexmarVoiceCallPage::callPanelClicked);

    m_homeButton = Look::iconButton(frame, QRect(1154, 548, 120, 90), QStringLiteral(":/images/home.png"));
    m_homeButton->setObjectName(QStringLiteral("voiceHomeButton"));
    connect(m_homeButton, &QAbstractButton::clicked, this, &QVexmarVoiceCallPage::homeButtonClicked);

    using Slot = void (QVexmarVoiceCallPage::*)();
    const struct
    {
        const char *name;
        const char *image;
        Slot slot;
    } column[] = {
        {"voiceHistoryButton", ":/images/call-history.png", &QVexmarVoiceCallPage::historyButtonClicked},
        {"voiceBookButton", ":/images/book.png", &QVexmarVoiceCallPage::bookButtonClicked},
        {"voiceCallButton", ":/images/phone-green.png", &QVexmarVoiceCallPage::callButtonClicked},
    };
    for (int i = 0; i < 3; ++i) {
        QVexmarButton *b
            = Look::iconButton(frame, QRect(550, 34 + 151 * i, 180, 135), QString::fromLatin1(column[i].image));
        b->setObjectName(QLatin1String(column[i].name));
        connect(b, &QAbstractButton::clicked, this, column[i].slot);
        if (i == 2)
            m_callButton = b;
    }
}

QVexmarVoiceCallPanel *QVexmarVoiceCallPage::panel(int module) const
{
    return module == 1 ? m_panel1 : module == 2 ? m_panel2 : nullptr;
}

void QVexmarVoiceCallPage::showSelection()
{
    m_panel1->setBorderWidth(m_selectedModule == 1 ? selectedBorder : plainBorder);
    m_panel2->setBorderWidth(m_selectedModule == 2 ? selectedBorder : plainBorder);
}

void QVexmarVoiceCallPage::selectModule(int module)
{
    if (module != 1 && module != 2)
        return;
    m_selectedModule = module;
    showSelection();
}

void QVexmarVoiceCallPage::handleInfo(kra::CMsg &body)
{
    RpcMessage message = RpcMessage::notification(body);
    m_panel1->handleInfo(message);
    m_panel2->handleInfo(message);
}

void QVexmarVoiceCallPage::handleEvent(kra::CMsg &) { }

void QVexmarVoiceCallPage::resetControls()
{
    m_selectedModule = 1;
    m_panel1->reset();
    m_panel2->reset();
    showSelection();
}

void QVexmarVoiceCallPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::ModelReady || !(getDevice()->deviceOptions() & TComDevice::OptMobile))
        return;
    m_panel1->attachModule();
    m_panel2->attachModule();
    showSelection();
}

void QVexmarVoiceCallPage::setAudioLevels(const int *levels, int count, bool refresh)
{
    // Transmit: output 5 on both bars; receive: input 20 on both.
    if (count > 28)
        m_levels->setLevels(levels[28], levels[28], levels[19], levels[19], refresh);
}

void QVexmarVoiceCallPage::setBatteryInfo(int, int, int) { }

void QVexmarVoiceCallPage::setNetworkType(int, int) { }

void QVexmarVoiceCallPage::setCodecState(int, int) { }

void QVexmarVoiceCallPage::setCodecDescription(int, const QString &) { }

void QVexmarVoiceCallPage::setNetworkUp(bool) { }

void QVexmarVoiceCallPage::setNetworkInfo(int, int) { }

void QVexmarVoiceCallPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarVoiceCallPage::setCallText(int, const QString &) { }

void QVexmarVoiceCallPage::setCallState(int codec, int code)
{
    if (codec != voiceCodec)
        return;
    const bool inCall = code == CodeInProgress || code == CodeEstablished || code == CodeSyncLost;
    if (inCall == m_numberLine->isReadOnly())
        return;
    m_numberLine->setReadOnly(inCall);
    m_callButton->setIcon(
        lazyIcon(inCall ? QStringLiteral(":/images/phone-red.png") : QStringLiteral(":/images/phone-green.png")));
}

void QVexmarVoiceCallPage::setLineEnabled(int, int, bool) { }

void QVexmarVoiceCallPage::setNetQuality(int, int, int, int) { }

void QVexmarVoiceCallPage::setSipState(int, int, int) { }

const QString &QVexmarVoiceCallPage::callPanelText(int codec, int family)
{
    if (codec != voiceCodec)
        return noText();
    return family == TComDevice::FamilyVoice ? m_remoteNumber : m_secondText;
}

void QVexmarVoiceCallPage::setCallPanelText(int codec, const QString &text, int family)
{
    if (codec != voiceCodec)
        return;
    (family == TComDevice::FamilyVoice ? m_remoteNumber : m_secondText) = text;
    // The window shows the number again after each edit: setting the same text would put the cursor at the end.
    if (m_numberLine->text() != text)
        m_numberLine->setText(text);
}

void QVexmarVoiceCallPage::resetCallPanel(int codec)
{
    if (codec != voiceCodec)
        return;
    m_remoteNumber.clear();
    m_secondText.clear();
    m_numberLine->clear();
}

void QVexmarVoiceCallPage::dialButtonClicked()
{
    auto *key = qobject_cast<QVexmarButton *>(sender());
    if (key && !m_numberLine->isReadOnly())
        m_numberLine->insert(key->text());
}

void QVexmarVoiceCallPage::backspaceButtonClicked()
{
    if (!m_numberLine->isReadOnly())
        m_numberLine->backspace();
}

void QVexmarVoiceCallPage::remoteNumberEdited(const QString &text)
{
    m_remoteNumber = text;
    emit remoteNumberChanged(QVexmar::VoiceCodec, text, TComDevice::FamilyVoice);
}

void QVexmarVoiceCallPage::historyButtonClicked()
{
    const TComDevice *device = getDevice();
    if (!device->isReady() || device->audioConnection(voiceCodec))
        return;
    auto *popup = new QVexmarMenuSelect(this);
    popup->placeOver(this);
    fillCallHistory(popup, readCallHistory(kra::LIST_PHONE_ADDR_HISTORY), m_remoteNumber);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarVoiceCallPage::historyPopupClicked);
    popup->show();
}

void QVexmarVoiceCallPage::historyPopupClicked()
{
    auto *popup = qobject_cast<QVexmarMenuSelect *>(sender());
    if (!popup || popup->cancelled || !popup->current())
        return;
    const TComDevice *device = getDevice();
    if (!device->isReady() || device->audioConnection(voiceCodec))
        return;
    const QString text = popup->current()->label->text();
    m_remoteNumber = text;
    m_numberLine->setText(text);
    emit remoteNumberChanged(QVexmar::VoiceCodec, text, TComDevice::FamilyVoice);
}

void QVexmarVoiceCallPage::bookButtonClicked()
{
    emit pageActivated(QVexmar::SettingsCallProfilesVoice);
}

void QVexmarVoiceCallPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}

void QVexmarVoiceCallPage::callPanelClicked(int panelIndex)
{
    QVexmarVoiceCallPanel *touched = panel(panelIndex);
    if (!touched)
        return;
    if (touched->controllerState() == TComMobileController::PinRequired) {
        auto *popup = new QVexmarVirtual(false, this);
        popup->titleLabel.setText(tr("PIN Code"));
        popup->context = touched;
        popup->placeOver(this);
        connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarVoiceCallPage::callPanelPopupClosed);
        popup->show();
        return;
    }
    const int state = touched->controllerState();
    if (panelIndex == m_selectedModule || getDevice()->audioConnection(voiceCodec)
        || (state != TComMobileController::Registered && state != TComMobileController::NotRegistered))
        return;
    selectModule(panelIndex);
}

void QVexmarVoiceCallPage::callPanelPopupClosed()
{
    auto *popup = qobject_cast<QVexmarVirtual *>(sender());
    if (!popup || popup->cancelled || !popup->context)
        return;
    // The PIN goes to the device only: never into a text shown or logged.
    const QString pin = popup->lineEdit.text();
    if (pin.isEmpty())
        return;
    auto *module = static_cast<QVexmarVoiceCallPanel *>(popup->context);
    emit showMessagePopup(tr("Applying PIN code..."), 0);
    const int result = module->applyPin(pin, pinTimeoutMs);
    if (result == TComMobileController::PinAccepted)
        emit hideMessagePopup();
    else if (result == TComMobileController::PinWrong)
        emit showMessagePopup(tr("Wrong PIN code!"), 0);
    else
        emit showMessagePopup(tr("Failed to apply PIN code!"), 0);
}

void QVexmarVoiceCallPage::callButtonClicked()
{
    TComDevice *device = getDevice();
    if (TComAudioConnection *call = device->audioConnection(voiceCodec)) {
        CallControl::askHangUp(this, call, &QVexmarVoiceCallPage::callPopupClosed);
        return;
    }
    if (!device->isReady() || m_remoteNumber.isEmpty())
        return;
    QVexmarVoiceCallPanel *module = panel(m_selectedModule);
    if (!module || module->controllerState() != TComMobileController::Registered)
        return;
    TComAudioConnection *placed = nullptr;
    const int cause = CallControl::placeCall(TComBaseConnection::KindVoiceLine,
        networkNameOfCode(TypeMobile + m_selectedModule - 1), qStringToLatin1(m_remoteNumber), placed);
    if (cause != 0)
        emit showMessagePopup(tr("Failed to initiate call\n(%1)").arg(getLocaleDictionary()->causeText(cause)), 0);
    else if (placed)
        emit audioCallStatusChanged(placed);
}

void QVexmarVoiceCallPage::callPopupClosed()
{
    CallControl::hangUpIfAccepted(sender(), getDevice()->audioConnection(voiceCodec));
}
