#include "screen/vexmarmainpage.h"

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "device/vexmarsoftkeys.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarpanels.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>

namespace {

const QColor keyBlue(0, 204, 255);
const QColor greyText(127, 127, 127);

// Window without fill (the frame alone is drawn) and WindowText solid, in every colour group.
QPalette outlinePalette(QPalette palette, const QColor &colour)
{
    palette.setBrush(QPalette::Window, QBrush(colour, Qt::NoBrush));
    palette.setBrush(QPalette::WindowText, QBrush(colour));
    return palette;
}

} // namespace

QVexmarMainPage::QVexmarMainPage(QVexmarWindow *screen) : QVexmarPageWidget(screen), window(screen)
{
    setupUi();
    TComDevice *device = getDevice();
    connect(device, &TComDevice::deviceStateChanged, this, &QVexmarMainPage::deviceStateChanged);
    TAudioSettings *audio = getAudioSettings();
    connect(audio, &TComController::controllerStateChanged, this, &QVexmarMainPage::audioControllerStateChanged);
    connect(audio, &TAudioSettings::controllerParamChanged, this, &QVexmarMainPage::audioControllerParamChanged);
    TMatrixSettings *matrix = getMatrixSettings();
    connect(matrix, &TMatrixSettings::audioConfigChanged, this, &QVexmarMainPage::matrixAudioConfigChanged);
    connect(matrix, &TMatrixSettings::inputNameChanged, this, &QVexmarMainPage::matrixInputNameChanged);
    connect(getSoftkeys(), &QVexmarSoftkeys::softKeyFunctionChanged, this, &QVexmarMainPage::softKeyFunctionChanged);
}

QVexmarMainPage::~QVexmarMainPage() = default;

void QVexmarMainPage::setupUi()
{
    statusPanel = new QVexmarStatusPanel(0, this);
    statusPanel->move((1280 - statusPanel->width()) / 2, 7);
    statusPanel->setCodecState(1, 0);
    statusPanel->setCodecState(2, 0);

    (new QVexmarToolbar(true, contentFrame))->setGeometry(0, 88, 120, 500);
    (new QVexmarToolbar(false, contentFrame))->setGeometry(1160, 88, 120, 500);

    const QPalette whitePalette = outlinePalette(palette(), Qt::white);
    const struct
    {
        QVexmarButton **button;
        const char *text;
        int x;
    } relays[] = {{&info1Button, QT_TR_NOOP("Info 1"), 469}, {&info2Button, QT_TR_NOOP("Info 2"), 661},
        {&contact1Button, QT_TR_NOOP("Contact 1"), 295}, {&contact2Button, QT_TR_NOOP("Contact 2"), 835}};
    for (const auto &relay : relays) {
        auto *button = new QVexmarButton(this);
        button->setGeometry(relay.x, 120, 150, 45);
        button->borderWidth = 2;
        button->radius = 4.0f;
        button->setPalette(whitePalette);
        button->setFont(Look::pixelFont(font(), 24));
        button->setText(tr(relay.text));
        *relay.button = button;
    }

    const QPalette bluePalette = outlinePalette(palette(), keyBlue);
    using Slot = void (QVexmarMainPage::*)();
    const Slot clicked[] = {&QVexmarMainPage::function11Clicked, &QVexmarMainPage::function12Clicked,
        &QVexmarMainPage::function13Clicked, &QVexmarMainPage::function14Clicked};
    const Slot pressed[] = {&QVexmarMainPage::function21Pressed, &QVexmarMainPage::function22Pressed,
        &QVexmarMainPage::function23Pressed, &QVexmarMainPage::function24Pressed};
    const Slot released[] = {&QVexmarMainPage::function21Released, &QVexmarMainPage::function22Released,
        &QVexmarMainPage::function23Released, &QVexmarMainPage::function24Released};
    for (int key = 0; key < functionKeys; ++key) {
        for (QVexmarButton **variant : {&softKeyClick[key], &softKeyPush[key]}) {
            auto *button = new QVexmarButton(contentFrame);
            button->setGeometry(200 + 230 * key, 586, 180, 64);
            button->borderWidth = 2;
            button->radius = 10.0f;
            button->setPalette(bluePalette);
            button->setFont(Look::pixelFont(font(), 28));
            button->setText(QStringLiteral("F%1").arg(key + 1));
            *variant = button;
        }
        connect(softKeyClick[key], &QAbstractButton::clicked, this, clicked[key]);
        connect(softKeyPush[key], &QAbstractButton::pressed, this, pressed[key]);
        connect(softKeyPush[key], &QAbstractButton::released, this, released[key]);
        softKeyPush[key]->setEnabled(false);
        softKeyPush[key]->hide();
        softKeyButtons.insert(key, softKeyClick[key]);
    }

    const QPalette blackPalette = outlinePalette(palette(), Qt::black);
    const struct
    {
        int x;
        int y;
        const char *image;
        const char *text;
        Slot slot;
    } pages[pageButtonCount] = {
        {145, 220, ":/images/network.png", QT_TR_NOOP("Stream 1"), &QVexmarMainPage::page1Clicked},
        {311, 220, ":/images/voice-call.png", QT_TR_NOOP("Voice"), &QVexmarMainPage::page2Clicked},
        {477, 220, ":/images/mixer.png", QT_TR_NOOP("Mixer"), &QVexmarMainPage::page3Clicked},
        {643, 220, ":/images/audio.png", QT_TR_NOOP("Audio"), &QVexmarMainPage::page4Clicked},
        {809, 220, ":/images/settings.png", QT_TR_NOOP("Settings"), &QVexmarMainPage::page5Clicked},
        {975, 220, ":/images/tools.png", QT_TR_NOOP("Tools"), &QVexmarMainPage::page6Clicked},
        {145, 382, ":/images/network.png", QT_TR_NOOP("Stream 2"), &QVexmarMainPage::page7Clicked},
        {477, 382, nullptr, nullptr, nullptr},
        {643, 382, nullptr, nullptr, nullptr},
        {809, 382, nullptr, nullptr, nullptr},
        {975, 382, ":/images/status.png", QT_TR_NOOP("Status"), &QVexmarMainPage::page12Clicked},
    };
    const QFont labelFont = Look::pixelFont(font(), 34);
    for (int i = 0; i < pageButtonCount; ++i) {
        auto *button = new QVexmarButton(contentFrame);
        button->setGeometry(pages[i].x, pages[i].y, 160, 90);
        button->borderWidth = 1;
        button->radius = 0.0f;
        button->setPalette(blackPalette);
        if (pages[i].image)
            button->setIcon(lazyIcon(QString::fromLatin1(pages[i].image)));
        if (pages[i].slot)
            connect(button, &QAbstractButton::clicked, this, pages[i].slot);
        auto *label = new QLabel(pages[i].text ? tr(pages[i].text) : QString(), contentFrame);
        label->setGeometry(pages[i].x, pages[i].y + 106, 160, 45);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(labelFont);
        pageButtons[i] = button;
        pageLabels[i] = label;
    }
    pageButtons[1]->hide();
    pageLabels[1]->hide();
}

void QVexmarMainPage::showEvent(QShowEvent *event)
{
    const bool enabled = g_accessLevel != 0;
    for (const int i : {2, 3}) {
        pageButtons[i]->setEnabled(enabled);
        Look::setTextColour(pageLabels[i], enabled ? QColor(Qt::white) : greyText);
    }
    QVexmarPageWidget::showEvent(event);
}

void QVexmarMainPage::resetControls()
{
    setVoiceVisible(false);
    setInfoActive(0, false);
    setInfoActive(1, false);
    setContactActive(0, false);
    setContactActive(1, false);
}

void QVexmarMainPage::setIndicator(QVexmarButton *button, bool active)
{
    const QColor colour = active ? QColor(Qt::red) : QColor(Qt::white);
    if (button->palette().color(QPalette::WindowText) == colour)
        return;
    button->setPalette(outlinePalette(button->palette(), colour));
}

void QVexmarMainPage::setInfoActive(int which, bool active)
{
    setIndicator(which == 1 ? info2Button : info1Button, active);
}

void QVexmarMainPage::setContactActive(int which, bool active)
{
    setIndicator(which == 1 ? contact2Button : contact1Button, active);
}

bool QVexmarMainPage::isInfoActive(int which) const
{
    return (which == 1 ? info2Button : info1Button)->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

void QVexmarMainPage::setVoiceVisible(bool visible)
{
    pageButtons[1]->setVisible(visible);
    pageLabels[1]->setVisible(visible);
}

bool QVexmarMainPage::isSoftKeyActive(int key) const
{
    // Black text on the filled key, as setSoftKeyActive gives it; the keys never have white text.
    QVexmarButton *button = softKeyButtons.value(key);
    return button && button->palette().color(QPalette::WindowText) == QColor(Qt::black);
}

void QVexmarMainPage::setSoftKeyActive(int key, bool active)
{
    QVexmarButton *button = softKeyButtons.value(key);
    if (!button)
        return;
    Look::setFace(
        button, QBrush(keyBlue, active ? Qt::SolidPattern : Qt::NoBrush), active ? QColor(Qt::black) : keyBlue);
}

void QVexmarMainPage::refreshStream2()
{
    const bool visible = getDevice()->codecMode() == TComDevice::CodecModeDouble;
    pageButtons[6]->setVisible(visible);
    pageLabels[6]->setVisible(visible);
}

void QVexmarMainPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::ModelReady)
        refreshStream2();
}

void QVexmarMainPage::audioControllerStateChanged(TComController *sender)
{
    if (sender->state() != TComController::Loaded)
        return;
    const TAudioSettings *audio = getAudioSettings();
    window->statusBar()->setMicState(0, audio->input(1).on);
    window->statusBar()->setMicState(1, audio->input(2).on);
}

void QVexmarMainPage::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam parameter)
{
    if (parameter == TAudioSettings::Input1State)
        window->statusBar()->setMicState(0, getAudioSettings()->input(1).on);
    else if (parameter == TAudioSettings::Input2State)
        window->statusBar()->setMicState(1, getAudioSettings()->input(2).on);
}

void QVexmarMainPage::matrixAudioConfigChanged(QVexmar::Inputs) { }

void QVexmarMainPage::matrixInputNameChanged(QVexmar::Inputs) { }

void QVexmarMainPage::softKeyFunctionChanged(QVexmarSoftkey *softKey)
{
    // Undocked the device's F1-F4 are keys 0-3; in the docking station keys 4-7 take their place.
    const int index = softKey->index();
    const bool docked = getDevice()->dockingDetected();
    if (index < 0 || index > 9 || (index < 4) == docked)
        return;
    const int key = index < 4 ? index : index - 4;
    if (!softKeyButtons.contains(key))
        return;
    const int category = softKey->category();
    const bool talk = category == QVexmarSoftkey::TalkToStream || category == QVexmarSoftkey::TalkToSpeaker
        || category == QVexmarSoftkey::TalkToOutput;
    QVexmarButton *shown = talk ? softKeyPush[key] : softKeyClick[key];
    QVexmarButton *hidden = talk ? softKeyClick[key] : softKeyPush[key];
    hidden->setEnabled(false);
    hidden->hide();
    shown->setEnabled(true);
    shown->show();
    softKeyButtons.remove(key);
    softKeyButtons.insert(key, shown);
    QString text;
    if (softKey->function() != 0)
        text = QVexmarSoftkey::functionName(category, softKey->function());
    shown->setText(text.isEmpty() ? QStringLiteral("F%1").arg(key + 1) : text);
}

void QVexmarMainPage::function11Clicked() { }
void QVexmarMainPage::function12Clicked() { }
void QVexmarMainPage::function13Clicked() { }
void QVexmarMainPage::function14Clicked() { }
void QVexmarMainPage::function21Pressed() { }
void QVexmarMainPage::function22Pressed() { }
void QVexmarMainPage::function23Pressed() { }
void QVexmarMainPage::function24Pressed() { }
void QVexmarMainPage::function21Released() { }
void QVexmarMainPage::function22Released() { }
void QVexmarMainPage::function23Released() { }
void QVexmarMainPage::function24Released() { }

void QVexmarMainPage::page1Clicked()
{
    window->pageActivated(QVexmar::AoipCall1Page);
}

void QVexmarMainPage::page2Clicked()
{
    window->pageActivated(QVexmar::VoiceCallPage);
}

void QVexmarMainPage::page3Clicked()
{
    window->pageActivated(QVexmar::MixerInputPage);
}

void QVexmarMainPage::page4Clicked()
{
    window->pageActivated(QVexmar::AudioPage);
}

void QVexmarMainPage::page5Clicked()
{
    window->pageActivated(QVexmar::SettingsNetwork);
}

void QVexmarMainPage::page6Clicked()
{
    window->pageActivated(QVexmar::SettingsTools);
}

void QVexmarMainPage::page7Clicked()
{
    window->pageActivated(QVexmar::AoipCall2Page);
}

void QVexmarMainPage::page9Clicked() { }
void QVexmarMainPage::page10Clicked() { }
void QVexmarMainPage::page11Clicked() { }

void QVexmarMainPage::page12Clicked()
{
    window->pageActivated(QVexmar::SettingsStatus);
}

void QVexmarMainPage::setAudioLevels(const int *levels, int count, bool refresh)
{
    if (count < IVexmarAudioLevels::levelCount)
        return;
    // Stream 1 sends outputs 1 and 2 and receives inputs 21 and 22; stream 2 outputs 3 and 4, inputs 23 and 24.
    statusPanel->setCodecLevels(1, levels[24], levels[25], levels[20], levels[21], refresh);
    statusPanel->setCodecLevels(2, levels[26], levels[27], levels[22], levels[23], refresh);
}

void QVexmarMainPage::setBatteryInfo(int level, int status, int remaining)
{
    statusPanel->setBatteryInfo(level, status, remaining);
}

void QVexmarMainPage::setNetworkType(int type, int index)
{
    statusPanel->setNetworkType(type, index);
}

void QVexmarMainPage::setCodecState(int codec, int channelMode)
{
    refreshStream2();
    statusPanel->setCodecState(codec, channelMode);
}

void QVexmarMainPage::setCodecDescription(int codec, const QString &text)
{
    statusPanel->setCodecDescription(codec, text);
}

void QVexmarMainPage::setNetworkUp(bool up)
{
    statusPanel->setNetworkUp(up);
}

void QVexmarMainPage::setNetworkInfo(int controllerState, int signalBars)
{
    statusPanel->setNetworkInfo(controllerState, signalBars);
}

void QVexmarMainPage::setCodecLevels(int, int, int, int, int, bool) { }

void QVexmarMainPage::setCallText(int codec, const QString &text)
{
    statusPanel->setCallText(codec, text);
}

void QVexmarMainPage::setCallState(int codec, int code)
{
    statusPanel->setCallState(codec, code);
    window->statusBar()->setCallState(codec, code);
}

void QVexmarMainPage::setLineEnabled(int codec, int line, bool on)
{
    statusPanel->setLineEnabled(codec, line, on);
}

void QVexmarMainPage::setNetQuality(int codec, int line, int transmitQuality, int receiveQuality)
{
    statusPanel->setNetQuality(codec, line, transmitQuality, receiveQuality);
}

void QVexmarMainPage::setSipState(int codec, int account, int state)
{
    statusPanel->setSipState(codec, account, state);
}

const QString &QVexmarMainPage::callPanelText(int, int)
{
    static const QString empty;
    return empty;
}

void QVexmarMainPage::setCallPanelText(int, const QString &, int) { }

void QVexmarMainPage::resetCallPanel(int) { }
