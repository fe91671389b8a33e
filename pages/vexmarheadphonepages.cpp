#include "pages/vexmarmonitoringpages.h"

#include "device/accessors.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"

#include <QScopedValueRollback>

using QVexmar::Inputs;
using QVexmar::Outputs;

namespace {

constexpr int offGain = -31;
constexpr int topGain = 16;
constexpr int headphoneCount = 3;
constexpr int headphoneOutputs[headphoneCount] = {6, 8, 10};
const char *const headphoneNames[headphoneCount] = {"1", "2 / B", "A"};
constexpr QVexmar::Page headphonePages[headphoneCount]
    = {QVexmar::Monitoring2Headphone1Page, QVexmar::Monitoring2Headphone2Page, QVexmar::Monitoring2Headphone3Page};

bool isStereo(const QVexmarAudioKnob *strip)
{
    return strip->levelGraph()->stereo() == 1;
}

} // namespace

QVexmarMixerMonitoring2Page::QVexmarMixerMonitoring2Page(int output, QWidget *parent)
    : QVexmarMixerBasePage(parent), headphoneOutput(output)
{
    setupUi();
    TMatrixSettings *matrix = getMatrixSettings();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerMonitoring2Page::deviceStateChanged);
    connect(matrix, &TMatrixSettings::matrixOptionsChanged, this, &QVexmarMixerMonitoring2Page::matrixOptionsChanged);
}

QVexmarMixerMonitoring2Page::~QVexmarMixerMonitoring2Page() = default;

void QVexmarMixerMonitoring2Page::setupUi()
{
    const QScopedValueRollback<bool> quiet(updating, true);
    QWidget *page = contentFrame;
    const QString prefix = QStringLiteral("headphone%1").arg(headphoneOutput);
    homeButton->setObjectName(prefix + "HomeButton");

    const QVector<MixerStrip> &strips = monitoring2Strips();
    for (int row = 0; row < strips.size(); ++row) {
        const MixerStrip &source = strips.at(row);
        auto *strip = new QVexmarAudioKnob(1, page);
        strip->setObjectName(prefix + QStringLiteral("Strip%1").arg(source.in));
        strip->move(source.x, source.y);
        strip->setStereo(source.stereo);
        strip->index = row;
        strip->input = source.in;
        strip->levelIndex = source.in2;
        strip->setText(source.label);
        // The bottom mutes the source.
        strip->setMinimum(offGain, tr("Off"));
        strip->setMaximum(topGain, QString());
        strip->setValue(offGain);
        connect(strip, &QVexmarAudioKnob::knobGainChanged, this, &QVexmarMixerMonitoring2Page::knobGainChanged);
        connect(strip, &QVexmarAudioKnob::knobPanningChanged, this, &QVexmarMixerMonitoring2Page::knobPanningChanged);
        stripsByInput.insert(source.in, strip);
        stripsByLevel.insert(source.in2, strip);
        if (source.stereo == 1)
            stripsByRightInput.insert(source.in + 1, strip);
    }

    // The other two headphones, each over a switch that would lock this page's strips; they lead nowhere.
    int shown = 0;
    for (int k = 0; k < headphoneCount; ++k) {
        if (headphoneOutputs[k] == headphoneOutput)
            continue;
        const int y = 58 + 170 * shown;
        addMixerButton(QRect(1154, y, 120, 90), QStringLiteral(":/images/headphone-white.png"),
            QLatin1String(headphoneNames[k]), prefix + QStringLiteral("Other%1").arg(headphoneOutputs[k]), Qt::white);
        auto *lock = new QVexmarSwitch(page);
        lock->setObjectName(prefix + QStringLiteral("Switch%1").arg(shown + 1));
        lock->setCheckable(true);
        lock->setGeometry(1178, y + 90, 72, 50);
        lock->setEnabled(false);
        (shown == 0 ? switch1 : switch2) = lock;
        ++shown;
    }
    connect(switch1, &QAbstractButton::clicked, this, &QVexmarMixerMonitoring2Page::switch1Clicked);
    connect(switch2, &QAbstractButton::clicked, this, &QVexmarMixerMonitoring2Page::switch2Clicked);

    radioButton = addRadioSwitch(prefix, false);
    connect(radioButton, &QAbstractButton::clicked, this, &QVexmarMixerMonitoring2Page::mixerRadioClicked);

    void (QVexmarMixerMonitoring2Page::*const headphoneSlots[headphoneCount])()
        = {&QVexmarMixerMonitoring2Page::headphone1Clicked, &QVexmarMixerMonitoring2Page::headphone2Clicked,
            &QVexmarMixerMonitoring2Page::headphone3Clicked};
    QVexmar::Page ownPage = headphonePages[0];
    for (int k = 0; k < headphoneCount; ++k) {
        const bool own = headphoneOutputs[k] == headphoneOutput;
        if (own)
            ownPage = headphonePages[k];
        QVexmarButton *button = addMixerButton(QRect(194 + 160 * k, 548, 120, 90),
            own ? QStringLiteral(":/images/headphone-blue.png") : QStringLiteral(":/images/headphone-white.png"),
            QLatin1String(headphoneNames[k]), prefix + QStringLiteral("Headphone%1").arg(headphoneOutputs[k]),
            own ? currentPageColour() : QColor(Qt::white));
        headphoneButtons[k] = button;
        if (!own)
            connect(button, &QAbstractButton::clicked, this, headphoneSlots[k]);
    }
    addNavigationRow(prefix, ownPage);

    applyAvailability(MixerMoment::Login);
}

void QVexmarMixerMonitoring2Page::applyAvailability(MixerMoment moment)
{
    const MixerDeviceFacts facts = mixerDeviceFacts();
    const bool locked = switch1->isChecked() || switch2->isChecked();
    for (QVexmarAudioKnob *strip : qAsConst(stripsByInput)) {
        if (!isMixerInputAvailable(strip->input, moment, strip->state() != 2, facts)) {
            strip->setState(2);
            continue;
        }
        // Through 0, so that a strip coming back from grey gets its white name.
        strip->setState(0);
        if (locked)
            strip->setState(1);
    }
}

void QVexmarMixerMonitoring2Page::lockStrips(bool locked)
{
    for (QVexmarAudioKnob *strip : qAsConst(stripsByInput)) {
        if (strip->state() != 2)
            strip->setState(locked ? 1 : 0);
    }
}

void QVexmarMixerMonitoring2Page::resetControls()
{
    QVexmarMixerBasePage::resetControls();
    applyAvailability(MixerMoment::Login);
}

void QVexmarMixerMonitoring2Page::setAudioLevels(const int *levels, int count, bool reset)
{
    // A short report has no value for what it lacks.
    const auto level = [levels, count](int index) { return index < count ? levels[index] : int(noLevel); };
    for (auto it = stripsByLevel.constBegin(); it != stripsByLevel.constEnd(); ++it) {
        const int index = it.key();
        it.value()->setLevels(level(index), isStereo(it.value()) ? level(index + 1) : int(noLevel), reset);
    }
}

void QVexmarMixerMonitoring2Page::refreshStrip(QVexmar::Inputs in)
{
    const QScopedValueRollback<bool> quiet(updating, true);
    int left = in;
    QVexmarAudioKnob *strip = stripsByInput.value(in);
    if (!strip) {
        strip = stripsByRightInput.value(in);
        left = in - 1;
    }
    if (!strip)
        return;
    const int right = isStereo(strip) ? left + 1 : left;
    const TMatrixSettings *matrix = getMatrixSettings();
    const TMatrixSettings::Node &node = matrix->node(Inputs(left), Outputs(headphoneOutput));
    // Whole dB toward zero; a muted node (-160 dB) stops at "Off".
    strip->setValue(int(node.gain));
    const int pan = (node.on() ? QVexmar::PanLeft : 0)
        | (matrix->node(Inputs(right), Outputs(headphoneOutput + 1)).on() ? QVexmar::PanRight : 0);
    strip->setPanning(QVexmar::PanCtrl(pan));
}

void QVexmarMixerMonitoring2Page::writeStrip(QVexmarAudioKnob *strip, bool gain)
{
    {
        const QScopedValueRollback<bool> quiet(updating, true);
        TMatrixSettings *matrix = getMatrixSettings();
        const auto left = Outputs(headphoneOutput);
        const auto right = Outputs(headphoneOutput + 1);
        const auto in = Inputs(strip->input);
        const bool stereo = isStereo(strip);
        const TMatrixSettings::HeadphoneMix before = matrix->beginHeadphoneMixChange(left);
        if (gain) {
            const QVexmarKnob *knob = strip->knob();
            const float dB = knob->value() == knob->minimum() ? TMatrixSettings::MutedGain : float(knob->value());
            for (int channel = 0; channel < (stereo ? 2 : 1); ++channel) {
                matrix->setNodeGain(Inputs(in + channel), left, dB);
                matrix->setNodeGain(Inputs(in + channel), right, dB);
            }
        } else {
            const int pan = strip->knob()->panning();
            // A stereo source goes straight, each channel to its own ear; a mono one to either ear or both.
            const auto rightInput = stereo ? Inputs(in + 1) : in;
            matrix->setNode(in, left, pan & QVexmar::PanLeft);
            matrix->setNode(rightInput, right, pan & QVexmar::PanRight);
            if (stereo) {
                matrix->setNode(in, right, false);
                matrix->setNode(rightInput, left, false);
            }
        }
        matrix->commitHeadphoneMixChange(left, before);
    }
    // What the device took, or kept when it refused the mix.
    refreshStrip(Inputs(strip->input));
}

void QVexmarMixerMonitoring2Page::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::ModelReady)
        return;
    applyAvailability(MixerMoment::DeviceReady);
}

void QVexmarMixerMonitoring2Page::matrixControllerStateChanged(TComController *sender)
{
    if (sender->state() != TComController::Loaded)
        return;
    for (const int in : stripsByInput.keys())
        refreshStrip(Inputs(in));
}

void QVexmarMixerMonitoring2Page::matrixOptionsChanged(TMatrixSettings::MatrixOpts old)
{
    const bool mixes = getMatrixSettings()->matrixOptions() & TMatrixSettings::HeadphoneMixes;
    // Only from this page: the others leave the user where he is.
    if (!mixes && (old & TMatrixSettings::HeadphoneMixes) && isShownPage())
        emit pageActivated(QVexmar::Monitoring1Page);
}

void QVexmarMixerMonitoring2Page::matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou)
{
    if (!updating && (ou == headphoneOutput || ou == headphoneOutput + 1))
        refreshStrip(in);
}

void QVexmarMixerMonitoring2Page::knobGainChanged(int)
{
    auto *strip = qobject_cast<QVexmarAudioKnob *>(sender());
    if (!updating && strip)
        writeStrip(strip, true);
}

void QVexmarMixerMonitoring2Page::knobPanningChanged(QVexmar::PanCtrl)
{
    auto *strip = qobject_cast<QVexmarAudioKnob *>(sender());
    if (!updating && strip)
        writeStrip(strip, false);
}

void QVexmarMixerMonitoring2Page::switch1Clicked()
{
    if (switch1->isChecked())
        switch2->setChecked(false);
    lockStrips(switch1->isChecked());
}

void QVexmarMixerMonitoring2Page::switch2Clicked()
{
    if (switch2->isChecked())
        switch1->setChecked(false);
    lockStrips(switch2->isChecked());
}

void QVexmarMixerMonitoring2Page::mixerRadioClicked()
{
    TMatrixSettings *matrix = getMatrixSettings();
    if (matrix->setMatrixOptions(
            matrix->matrixOptions() & ~TMatrixSettings::MatrixOpts(TMatrixSettings::HeadphoneMixes), true)) {
        emit pageActivated(QVexmar::Monitoring1Page);
        return;
    }
    // The device keeps the headphones' own mixes, and so does the screen.
    showApplyFailed(QStringLiteral("headphone%1Message").arg(headphoneOutput));
}

void QVexmarMixerMonitoring2Page::headphone1Clicked()
{
    emit pageActivated(QVexmar::Monitoring2Headphone1Page);
}

void QVexmarMixerMonitoring2Page::headphone2Clicked()
{
    emit pageActivated(QVexmar::Monitoring2Headphone2Page);
}

void QVexmarMixerMonitoring2Page::headphone3Clicked()
{
    // Headphone "A" is on the docking station.
    if (getDevice()->dockingDetected())
        emit pageActivated(QVexmar::Monitoring2Headphone3Page);
}
