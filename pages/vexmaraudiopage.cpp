#include "pages/vexmaraudiopage.h"

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "pages/vexmaraudioscale.h"
#include "pages/vexmaraudiosettingspage.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QScopedValueRollback>

using QVexmar::Inputs;
using QVexmar::Outputs;
using namespace AudioGains;

namespace {

// One channel strip: where it stands, its knob's range and start, what it shows of the matrix (input, output;
// -1 for none) and which of the 31 levels feed its graph (two from levelIndex on when stereo is 1).
struct AudioChannelRow
{
    int x, y;
    int minimum, maximum, initial;
    int input, output;
    int levelIndex;
    int stereo;
    const char *label;
};

// clang-format off
const AudioChannelRow audioPageChannels[] = {
    {0, 42, -10, 42, 0, 0, -1, 0, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "MIC 1")},
    {160, 42, -10, 42, 0, 1, -1, 1, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "MIC 2")},
    {320, 42, -10, 42, 0, 2, -1, 2, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "MIC A")},
    {480, 42, -10, 42, 0, 3, -1, 3, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "MIC B")},
    {960, 42, 4, 22, 16, -1, 12, 29, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "LINE 1")},
    {1120, 42, 4, 22, 16, -1, 13, 30, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "LINE 2")},
    {0, 282, -30, 16, 0, 4, -1, 4, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES3 L")},
    {160, 282, -30, 16, 0, 5, -1, 5, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES3 R")},
    {320, 282, -30, 16, 0, 14, -1, 14, 1, QT_TRANSLATE_NOOP("QVexmarAudioPage", "USB")},
    {480, 282, -30, 16, 0, 6, -1, 6, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 1")},
    {640, 282, -30, 16, 0, 7, -1, 7, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 2")},
    {800, 282, -30, 16, 0, 8, -1, 8, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 3")},
    {960, 282, -30, 16, 0, 9, -1, 9, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 4")},
    {1120, 282, -30, 16, 0, 10, -1, 10, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 5")},
    {0, 444, -30, 16, 0, 11, -1, 11, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 6")},
    {160, 444, -30, 16, 0, 12, -1, 12, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 7")},
    {320, 444, -30, 16, 0, 13, -1, 13, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "AES67 8")},
    {640, 502, -12, 12, 0, -1, 0, 24, 1, QT_TRANSLATE_NOOP("QVexmarAudioPage", "Stream 1")},
    {800, 502, -12, 12, 0, -1, 2, 26, 1, QT_TRANSLATE_NOOP("QVexmarAudioPage", "Stream 2")},
    {960, 502, -12, 12, 0, -1, 4, 28, 0, QT_TRANSLATE_NOOP("QVexmarAudioPage", "Voice")},
};
// clang-format on
constexpr int channelCount = int(sizeof(audioPageChannels) / sizeof(audioPageChannels[0]));

constexpr int analogInputs = 4;
constexpr int firstDigitalInput = 4;
constexpr int firstAes67Input = 6;
constexpr int lastAes67Input = 13;
constexpr int usbInput = 14;
constexpr int line1Output = 12;
constexpr int line2Output = 13;
constexpr int lastMasterOutput = 4;
const QColor masterPink(0xff, 0x99, 0xcc);

QLabel *addLabel(QWidget *parent, const QRect &geometry, Qt::Alignment alignment, const QString &text, int pixels)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setFont(Look::pixelFont(parent->font(), pixels));
    return label;
}

bool isAnalog(int input)
{
    return input >= 0 && input < analogInputs;
}

// The gain or level of analog input 0-3 by the input's mode.
bool storeAnalog(TAudioSettings *audio, int input, bool line, int value)
{
    using Setter = bool (TAudioSettings::*)(int, bool);
    static const Setter gains[] = {&TAudioSettings::setInput1Gain, &TAudioSettings::setInput2Gain,
        &TAudioSettings::setInput3Gain, &TAudioSettings::setInput4Gain};
    static const Setter levels[] = {&TAudioSettings::setInput1Level, &TAudioSettings::setInput2Level,
        &TAudioSettings::setInput3Level, &TAudioSettings::setInput4Level};
    return (audio->*(line ? levels : gains)[input])(value, true);
}

} // namespace

QVexmarAudioPage::QVexmarAudioPage(QWidget *parent) : QVexmarPageWidget(parent)
{
    setupUi();
    resetControls();
    TAudioSettings *audio = getAudioSettings();
    TMatrixSettings *matrix = getMatrixSettings();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarAudioPage::deviceStateChanged);
    connect(audio, &TComController::controllerStateChanged, this, &QVexmarAudioPage::audioControllerStateChanged);
    connect(audio, &TAudioSettings::controllerParamChanged, this, &QVexmarAudioPage::audioControllerParamChanged);
    connect(matrix, &TComController::controllerStateChanged, this, &QVexmarAudioPage::matrixControllerStateChanged);
    connect(matrix, &TMatrixSettings::inputGainChanged, this, &QVexmarAudioPage::matrixInputGainChanged);
    connect(matrix, &TMatrixSettings::outputGainChanged, this, &QVexmarAudioPage::matrixOutputGainChanged);
}

QVexmarAudioPage::~QVexmarAudioPage() = default;

void QVexmarAudioPage::setupUi()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    QWidget *frame = contentFrame;
    addLabel(frame, QRect(0, 0, 340, 40), Qt::AlignLeft | Qt::AlignVCenter, tr("Analog Input Gains"), 34);
    addLabel(frame, QRect(900, 0, 380, 40), Qt::AlignRight | Qt::AlignVCenter, tr("Analog Output Levels"), 34);
    addLabel(frame, QRect(940, 240, 340, 40), Qt::AlignRight | Qt::AlignVCenter, tr("Digital Input Gains"), 34);
    QLabel *masters
        = addLabel(frame, QRect(640, 460, 340, 40), Qt::AlignLeft | Qt::AlignVCenter, tr("Master Gains"), 34);
    QPalette pink = palette();
    pink.setColor(QPalette::WindowText, masterPink);
    masters->setPalette(pink);

    auto *line = new QFrame(frame);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setGeometry(107, 251, 544, 3);

    for (int input = 0; input < analogInputs; ++input) {
        const AudioChannelRow &row = audioPageChannels[input];
        auto *padlock = new QVexmarAudioPadlock(frame);
        padlock->setGeometry(row.x + 70, row.y + 170, 60, 60);
        padlock->input = row.input;
        connect(padlock, &QAbstractButton::clicked, this, &QVexmarAudioPage::padlockClicked);
        padlocks.insert(row.input, padlock);
    }

    settingsButton = Look::iconButton(frame, QRect(632, 52, 150, 90), QStringLiteral(":/images/input-settings.png"));
    connect(settingsButton, &QAbstractButton::clicked, this, &QVexmarAudioPage::settingsButtonClicked);
    addLabel(frame, QRect(632, 182, 150, 30), Qt::AlignCenter, tr("Hardware"), 26);
    auto *potentiometer = new QLabel(frame);
    potentiometer->setGeometry(670, 212, 75, 75);
    potentiometer->setPixmap(QPixmap(QStringLiteral(":/images/potentiometer.png"))
                                 .scaled(potentiometer->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));

    for (int index = 0; index < channelCount; ++index) {
        const AudioChannelRow &row = audioPageChannels[index];
        auto *strip = new QVexmarAudioKnob(0, frame);
        strip->move(row.x, row.y);
        strip->setStereo(row.stereo);
        strip->index = index;
        strip->input = row.input;
        strip->output = row.output;
        strip->levelIndex = row.levelIndex;
        strip->setText(tr(row.label));
        strip->setMinimum(row.minimum, QString());
        strip->setMaximum(row.maximum, QString());
        strip->setValue(row.initial);
        if (row.output >= 0 && row.output <= lastMasterOutput) {
            QPalette stripPalette = palette();
            stripPalette.setColor(QPalette::WindowText, masterPink);
            strip->setPalette(stripPalette);
        }
        if (isAnalog(row.input)) {
            const AnalogScale mic = AnalogScale::of(false);
            for (int position = mic.bottom - 1; position >= mic.minimum; --position)
                strip->addValueText(position, QString::number(mic.deviceValue(position)));
        }
        connect(strip, &QVexmarAudioKnob::knobGainChanged, this, &QVexmarAudioPage::knobGainChanged);
        if (row.input >= 0)
            inputKnobs.insert(row.input, strip);
        else if (row.output >= 0)
            outputKnobs.insert(row.output, strip);
        if (row.levelIndex >= 0)
            levelKnobs.insert(row.levelIndex, strip);
    }

    homeButton = Look::iconButton(frame, QRect(1154, 548, 120, 90), QStringLiteral(":/images/home.png"));
    connect(homeButton, &QAbstractButton::clicked, this, &QVexmarAudioPage::homeButtonClicked);
}

void QVexmarAudioPage::resetControls()
{
    for (int index = 0; index < channelCount; ++index) {
        const int input = audioPageChannels[index].input;
        m_available[index]
            = input == 0 || input == 1 || (input < 0 && audioPageChannels[index].output <= lastMasterOutput);
    }
    for (QVexmarAudioPadlock *padlock : qAsConst(padlocks)) {
        setLocked(padlock, true);
        padlock->setEnabled(padlock->input == 0 || padlock->input == 1);
    }
    for (QVexmarAudioKnob *strip : findChildren<QVexmarAudioKnob *>())
        applyState(strip);
}

void QVexmarAudioPage::setAudioLevels(const int *levels, int count, bool refresh)
{
    for (auto it = levelKnobs.constBegin(); it != levelKnobs.constEnd(); ++it) {
        const int index = it.key();
        if (index >= count)
            continue;
        const bool stereo = it.value()->levelGraph()->stereo() == 1 && index + 1 < count;
        it.value()->setLevels(levels[index], stereo ? levels[index + 1] : int(noLevel), refresh);
    }
}

void QVexmarAudioPage::applyState(QVexmarAudioKnob *strip)
{
    if (!m_available[strip->index]) {
        strip->setState(2);
        return;
    }
    const QVexmarAudioPadlock *padlock = isAnalog(strip->input) ? padlocks.value(strip->input) : nullptr;
    // Through 0, so that a strip coming back from grey gets its white name.
    strip->setState(0);
    if (padlock && isLocked(padlock))
        strip->setState(1);
}

void QVexmarAudioPage::setValueQuietly(QVexmarAudioKnob *strip, int position)
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    strip->setValue(position);
}

void QVexmarAudioPage::updateAnalogInput(int input, bool line)
{
    QVexmarAudioKnob *strip = isAnalog(input) ? inputKnobs.value(input) : nullptr;
    const TAudioSettings::Input &values = getAudioSettings()->input(input + 1);
    if (!strip || values.pad != line)
        return;
    setValueQuietly(strip, AnalogScale::of(line).position(line ? values.level : values.gain));
}

void QVexmarAudioPage::setupAnalogKnob(int input)
{
    QVexmarAudioKnob *strip = isAnalog(input) ? inputKnobs.value(input) : nullptr;
    if (!strip)
        return;
    const TAudioSettings::Input &values = getAudioSettings()->input(input + 1);
    const AnalogScale scale = AnalogScale::of(values.pad);
    const QScopedValueRollback<bool> updating(m_updating, true);
    strip->clearValueTexts();
    strip->setMinimum(scale.minimum, QString());
    strip->setMaximum(scale.maximum, QString());
    for (int position = scale.bottom - 1; position >= scale.minimum; --position)
        strip->addValueText(position, QString::number(scale.deviceValue(position)));
    strip->setValue(scale.position(values.pad ? values.level : values.gain));
    // The pointer stands elsewhere on the new range even where the value stayed.
    strip->knob()->update();
}

void QVexmarAudioPage::lockKnob(QVexmarAudioPadlock *padlock, bool locked)
{
    QVexmarAudioKnob *strip = inputKnobs.value(padlock->input);
    setLocked(padlock, locked);
    if (strip)
        applyState(strip);
}

void QVexmarAudioPage::readPadlocks()
{
    const quint32 options = getAudioSettings()->inputOptions();
    for (QVexmarAudioPadlock *padlock : qAsConst(padlocks))
        lockKnob(padlock, !(options & (1u << padlock->input)));
}

void QVexmarAudioPage::showLineout(int output)
{
    QVexmarAudioKnob *strip = outputKnobs.value(output);
    if (!strip)
        return;
    const TAudioSettings *audio = getAudioSettings();
    const int level = output == line1Output ? audio->lineout1Level() : audio->lineout2Level();
    setValueQuietly(strip, gainPosition(level, strip->knob()->minimum(), strip->knob()->maximum()));
    // The matrix keeps the line's level as its gain below the top; it is carried by no device parameter.
    getMatrixSettings()->setOutputGain(Outputs(output), float(level - strip->knob()->maximum()));
}

void QVexmarAudioPage::showInputGain(int input)
{
    if (QVexmarAudioKnob *strip = inputKnobs.value(input))
        setValueQuietly(strip,
            gainPosition(
                getMatrixSettings()->inputGain(Inputs(input)), strip->knob()->minimum(), strip->knob()->maximum()));
}

void QVexmarAudioPage::showOutputGain(int output)
{
    if (QVexmarAudioKnob *strip = outputKnobs.value(output))
        setValueQuietly(strip,
            gainPosition(
                getMatrixSettings()->outputGain(Outputs(output)), strip->knob()->minimum(), strip->knob()->maximum()));
}

void QVexmarAudioPage::deviceStateChanged(TComDevice::DeviceState state)
{
    const TComDevice *device = getDevice();
    if (state != TComDevice::ModelReady || !device->dockingDetected())
        return;
    const bool aes67 = device->deviceOptions() & TComDevice::OptRavenna;
    for (int index = 0; index < channelCount; ++index) {
        const int input = audioPageChannels[index].input;
        if (input >= 0 && input < firstAes67Input)
            m_available[index] = true;
        else if (input >= firstAes67Input && input <= lastAes67Input)
            m_available[index] = aes67;
        else if (input == usbInput)
            m_available[index] = false;
        else if (audioPageChannels[index].output == line1Output || audioPageChannels[index].output == line2Output)
            m_available[index] = true;
    }
    for (QVexmarAudioPadlock *padlock : qAsConst(padlocks))
        padlock->setEnabled(true);
    // The device's own padlocks once they are known, whichever came first; closed until then.
    if (getAudioSettings()->state() == TComController::Loaded) {
        readPadlocks();
    } else {
        for (QVexmarAudioPadlock *padlock : qAsConst(padlocks))
            setLocked(padlock, true);
    }
    for (QVexmarAudioKnob *strip : findChildren<QVexmarAudioKnob *>())
        applyState(strip);
}

void QVexmarAudioPage::audioControllerStateChanged(TComController *sender)
{
    if (sender->state() != TComController::Loaded)
        return;
    for (int input = 0; input < analogInputs; ++input)
        setupAnalogKnob(input);
    readPadlocks();
    showLineout(line1Output);
    showLineout(line2Output);
}

void QVexmarAudioPage::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam parameter)
{
    switch (parameter) {
    case TAudioSettings::InputOptions:
        readPadlocks();
        break;
    case TAudioSettings::Input1Gain:
    case TAudioSettings::Input2Gain:
    case TAudioSettings::Input3Gain:
    case TAudioSettings::Input4Gain:
    case TAudioSettings::Input1Level:
    case TAudioSettings::Input2Level:
    case TAudioSettings::Input3Level:
    case TAudioSettings::Input4Level: {
        const bool line = parameter == TAudioSettings::Input1Level || parameter == TAudioSettings::Input2Level
            || parameter == TAudioSettings::Input3Level || parameter == TAudioSettings::Input4Level;
        const int input = parameter < TAudioSettings::Input2State ? 0
            : parameter < TAudioSettings::Input3State             ? 1
            : parameter < TAudioSettings::Input4State             ? 2
                                                                  : 3;
        updateAnalogInput(input, line);
        break;
    }
    case TAudioSettings::Input1Pad:
        setupAnalogKnob(0);
        break;
    case TAudioSettings::Input2Pad:
        setupAnalogKnob(1);
        break;
    case TAudioSettings::Input3Pad:
        setupAnalogKnob(2);
        break;
    case TAudioSettings::Input4Pad:
        setupAnalogKnob(3);
        break;
    case TAudioSettings::Lineout1Level:
        showLineout(line1Output);
        break;
    case TAudioSettings::Lineout2Level:
        showLineout(line2Output);
        break;
    default:
        break;
    }
}

void QVexmarAudioPage::matrixControllerStateChanged(TComController *sender)
{
    if (sender->state() != TComController::Loaded)
        return;
    for (int input = firstDigitalInput; input <= usbInput; ++input)
        showInputGain(input);
    for (int output = 0; output <= lastMasterOutput; ++output)
        showOutputGain(output);
}

void QVexmarAudioPage::matrixInputGainChanged(QVexmar::Inputs in)
{
    if (in >= firstDigitalInput && in <= usbInput)
        showInputGain(in);
}

void QVexmarAudioPage::matrixOutputGainChanged(QVexmar::Outputs ou)
{
    if (ou >= 0 && ou <= lastMasterOutput)
        showOutputGain(ou);
}

void QVexmarAudioPage::knobGainChanged(int value)
{
    auto *strip = qobject_cast<QVexmarAudioKnob *>(sender());
    if (m_updating || !strip)
        return;
    TAudioSettings *audio = getAudioSettings();
    TMatrixSettings *matrix = getMatrixSettings();
    if (strip->input < 0) {
        // A refused write leaves the model as the device has it; the strip shows that again.
        switch (strip->output) {
        case line1Output:
            if (!audio->setLineout1Level(value, true))
                showLineout(line1Output);
            break;
        case line2Output:
            if (!audio->setLineout2Level(value, true))
                showLineout(line2Output);
            break;
        case 0:
        case 2:
        case 4: {
            const auto output = Outputs(strip->output);
            matrix->setOutputGain(output, float(value));
            // Stereo masters share one byte of the word: the right side follows in the same write.
            if (matrix->outputGain(output) == float(value) && output != 4)
                matrix->setOutputGain(Outputs(output + 1), float(value));
            showOutputGain(output);
            break;
        }
        default:
            break;
        }
        return;
    }
    if (isAnalog(strip->input)) {
        const int input = strip->input;
        const bool line = audio->input(input + 1).pad;
        const AnalogScale scale = AnalogScale::of(line);
        if (storeAnalog(audio, input, line, scale.deviceValue(value)))
            matrix->setInputGain(Inputs(input), float(scale.attenuation(value)));
        else
            updateAnalogInput(input, line);
        return;
    }
    const auto input = Inputs(strip->input);
    matrix->setInputGain(input, float(value));
    // USB is a stereo pair on one strip.
    if (matrix->inputGain(input) == float(value) && strip->levelGraph()->stereo() == 1)
        matrix->setInputGain(Inputs(input + 1), float(value));
    showInputGain(input);
}

void QVexmarAudioPage::padlockClicked(bool)
{
    auto *padlock = qobject_cast<QVexmarAudioPadlock *>(sender());
    if (!padlock || !isAnalog(padlock->input))
        return;
    const bool locked = isLocked(padlock);
    TAudioSettings *audio = getAudioSettings();
    // Until the device's word is known a write would put guesses in its other bits: closing needs none, opening
    // waits.
    if (audio->state() != TComController::Loaded) {
        lockKnob(padlock, true);
        return;
    }
    lockKnob(padlock, locked);
    const quint32 bit = 1u << padlock->input;
    const quint32 options = audio->inputOptions();
    // A set bit is an open padlock.
    if (bool(options & bit) != locked)
        return;
    // A refused opening closes again as the device has it; a refused closing stays closed: the knob stays still.
    if (!audio->setInputOptions(locked ? options & ~bit : options | bit, true) && !locked)
        lockKnob(padlock, true);
}

void QVexmarAudioPage::settingsButtonClicked()
{
    auto *popup = new QVexmarAudioSettingsPage(this);
    popup->placeOver(contentFrame);
    connect(popup, &QVexmarAudioSettingsPage::padSwitched, this, &QVexmarAudioPage::padSwitched);
    popup->show();
}

void QVexmarAudioPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}

void QVexmarAudioPage::padSwitched(int input)
{
    QVexmarAudioKnob *strip = isAnalog(input) ? inputKnobs.value(input) : nullptr;
    if (!strip)
        return;
    const AnalogScale scale = AnalogScale::of(getAudioSettings()->input(input + 1).pad);
    getMatrixSettings()->setInputGain(Inputs(input), float(scale.attenuation(strip->knob()->value())));
}
