#include "pages/vexmarmonitoringpages.h"

#include "device/accessors.h"
#include "pages/vexmaraudioscale.h"
#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmatrix.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QScopedValueRollback>

using QVexmar::Outputs;
using namespace AudioGains;

namespace {

constexpr int columnCount = 6;
constexpr int columnWidth = 104;
constexpr int rowHeight = 74;
constexpr int gridLeft = 250;
// The sources of the columns: sent and received signals of Stream 1, Stream 2 and the voice call, by the input
// of the left and of the right ear.
constexpr int leftInputs[columnCount] = {24, 20, 26, 22, 28, 19};
constexpr int rightInputs[columnCount] = {25, 21, 27, 23, 28, 19};
constexpr int pairLeftOutputs[3] = {6, 8, 10};
constexpr int dockOutput = 10;
constexpr int balanceBits = 0xF;

// The option bit that holds a padlock open: 0x20 for headphone "2 / B", 0x10 for "A".
quint32 padlockBit(const QVexmarAudioPadlock *padlock)
{
    return padlock->output == dockOutput ? 0x10u : 0x20u;
}

int lineSides(int row, int column)
{
    using Side = QVexmarMatrixNode::LineSide;
    int sides = Side::Left | Side::Right | Side::Top | Side::Bottom;
    if (column == columnCount - 1)
        sides &= ~Side::Right;
    if (row == QVexmarMixerMonitoring1Page::outputRows - 1)
        sides &= ~Side::Bottom;
    return sides;
}

} // namespace

QVexmarMixerMonitoring1Page::QVexmarMixerMonitoring1Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    setupUi();
    resetControls();
    TAudioSettings *audio = getAudioSettings();
    TMatrixSettings *matrix = getMatrixSettings();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerMonitoring1Page::deviceStateChanged);
    connect(audio, &TComController::controllerStateChanged, this,
        &QVexmarMixerMonitoring1Page::audioControllerStateChanged);
    connect(audio, &TAudioSettings::controllerParamChanged, this,
        &QVexmarMixerMonitoring1Page::audioControllerParamChanged);
    connect(matrix, &TMatrixSettings::matrixOptionsChanged, this, &QVexmarMixerMonitoring1Page::matrixOptionsChanged);
    connect(matrix, &TMatrixSettings::outputBalanceChanged, this, &QVexmarMixerMonitoring1Page::matrixBalanceChanged);
}

QVexmarMixerMonitoring1Page::~QVexmarMixerMonitoring1Page() = default;

void QVexmarMixerMonitoring1Page::setupUi()
{
    const QScopedValueRollback<bool> quiet(updating, true);
    QWidget *page = contentFrame;
    const QFont font = mixerFont();
    const QFont headerFont = Look::pixelFont(font, 34);
    homeButton->setObjectName(QStringLiteral("monitoring1HomeButton"));
    const QString prefix = QStringLiteral("monitoring1");

    const char *const headers[] = {QT_TR_NOOP("Stream 1"), QT_TR_NOOP("Stream 2"), QT_TR_NOOP("Voice")};
    for (int k = 0; k < 3; ++k) {
        addCaption(page, QRect(gridLeft + 2 * columnWidth * k, 15, 2 * columnWidth, 30), tr(headers[k]), headerFont,
            Qt::AlignCenter, prefix + QStringLiteral("Header%1").arg(k));
        addCaption(page, QRect(gridLeft + 2 * columnWidth * k, 65, columnWidth, 25), tr("Tx"), font, Qt::AlignCenter,
            prefix + QStringLiteral("TxHeader%1").arg(k));
        addCaption(page, QRect(gridLeft + 2 * columnWidth * k + columnWidth, 65, columnWidth, 25), tr("Rx"), font,
            Qt::AlignCenter, prefix + QStringLiteral("RxHeader%1").arg(k));
    }
    addCaption(page, QRect(868, 15, 340, 30), tr("Balance"), headerFont, Qt::AlignCenter, prefix + "BalanceHeader");
    addCaption(page, QRect(868, 65, 150, 25), tr("Virtual"), font, Qt::AlignCenter, prefix + "VirtualHeader");
    auto *potentiometer = new QLabel(page);
    potentiometer->setObjectName(prefix + "Potentiometer");
    potentiometer->setGeometry(1074, 65, 75, 75);
    potentiometer->setPixmap(QPixmap(QStringLiteral(":/images/potentiometer.png"))
                                 .scaled(potentiometer->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    auto *frame = new QFrame(page);
    frame->setObjectName(prefix + "Grid");
    frame->setGeometry(0, 100, 1160, 444);
    for (int r = 0; r < outputRows; ++r) {
        const int output = firstOutput + r;
        for (int c = 0; c < columnCount; ++c) {
            const int input = r % 2 == 0 ? leftInputs[c] : rightInputs[c];
            auto *node = new QVexmarMatrixNode(true, frame);
            node->setObjectName(prefix + QStringLiteral("Node%1_%2").arg(input).arg(output));
            node->setGeometry(gridLeft + columnWidth * c, rowHeight * r, columnWidth, rowHeight);
            node->setLineSides(lineSides(r, c));
            node->index = c;
            node->input = input;
            node->output = output;
            nodeRows[r].insert(input, node);
            addCrosspoint(node);
        }
        auto *arrow = new QVexmarMatrixArrow(QVexmarMatrixArrow::PointLeft, frame);
        arrow->setObjectName(prefix + QStringLiteral("Arrow%1").arg(output));
        arrow->setGeometry(224, 26 + rowHeight * r, 26, 20);
        addCaption(frame, QRect(190, 23 + rowHeight * r, 26, 26), r % 2 == 0 ? tr("L") : tr("R"), font,
            Qt::AlignRight | Qt::AlignVCenter, prefix + QStringLiteral("Side%1").arg(output));
    }

    const char *const headphones[] = {"1", "2 / B", "A"};
    for (int k = 0; k < 3; ++k) {
        const int left = pairLeftOutputs[k];
        // They name the rows beside them and lead nowhere.
        addMixerButton(QRect(20, frame->y() + 28 + 147 * k, 160, 90), QStringLiteral(":/images/headphone-white.png"),
            QLatin1String(headphones[k]), prefix + QStringLiteral("Headphone%1").arg(left), Qt::white);
        const int y = 48 + 148 * k;
        auto *knob = new QVexmarMatrixKnob(frame);
        knob->setObjectName(prefix + QStringLiteral("Balance%1").arg(left));
        knob->setGeometry(900, y - 28, 100, 100);
        knob->setFont(font);
        knob->setMinimum(0);
        knob->setMaximum(12);
        knob->setValue(6);
        knob->output = left;
        balanceKnobs.insert(left, knob);
        connect(knob, &QVexmarMatrixKnob::valueChanged, this, &QVexmarMixerMonitoring1Page::knobValueChanged);
        // Down to the received signals alone, up to the sent ones alone.
        addCaption(frame, QRect(858, y + 42, 40, 25), tr("Rx"), font, Qt::AlignRight | Qt::AlignBottom,
            prefix + QStringLiteral("BalanceRx%1").arg(left));
        addCaption(frame, QRect(1000, y + 42, 40, 25), tr("Tx"), font, Qt::AlignLeft | Qt::AlignBottom,
            prefix + QStringLiteral("BalanceTx%1").arg(left));
        if (k == 0)
            continue;
        auto *padlock = new QVexmarAudioPadlock(frame);
        padlock->setObjectName(prefix + QStringLiteral("Padlock%1").arg(left));
        padlock->setGeometry(1094, y, 60, 60);
        padlock->output = left;
        padlocks.insert(left, padlock);
        connect(padlock, &QAbstractButton::clicked, this, &QVexmarMixerMonitoring1Page::padlockClicked);
    }

    radioButton = addRadioSwitch(prefix, true);
    connect(radioButton, &QAbstractButton::clicked, this, &QVexmarMixerMonitoring1Page::mixerRadioClicked);
    addNavigationRow(prefix, QVexmar::Monitoring1Page);
}

void QVexmarMixerMonitoring1Page::resetControls()
{
    QVexmarMixerBasePage::resetControls();
    for (int r = 4; r < outputRows; ++r) {
        for (QVexmarMatrixNode *node : qAsConst(nodeRows[r]))
            node->setEnabled(false);
    }
    for (QVexmarAudioPadlock *padlock : qAsConst(padlocks)) {
        setLocked(padlock, true);
        applyPadlock(padlock, true);
    }
    padlocks.value(dockOutput)->setEnabled(false);
}

void QVexmarMixerMonitoring1Page::applyPadlock(QVexmarAudioPadlock *padlock, bool locked)
{
    if (QVexmarMatrixKnob *knob = balanceKnobs.value(padlock->output))
        knob->setEnabled(!locked);
}

void QVexmarMixerMonitoring1Page::showBalance(int left, bool withNodes)
{
    const QScopedValueRollback<bool> quiet(updating, true);
    const quint16 word = getMatrixSettings()->outputBalance(Outputs(left));
    if (QVexmarMatrixKnob *knob = balanceKnobs.value(left))
        knob->setValue(word & balanceBits);
    if (!withNodes)
        return;
    const int row = left - firstOutput;
    for (int c = 0; c < columnCount; ++c) {
        if (QVexmarMatrixNode *node = nodeRows[row].value(leftInputs[c]))
            node->setChecked(word & (1u << (4 + c)));
        if (QVexmarMatrixNode *node = nodeRows[row + 1].value(rightInputs[c]))
            node->setChecked(word & (1u << (10 + c)));
    }
}

void QVexmarMixerMonitoring1Page::readPadlocks()
{
    const quint32 options = getAudioSettings()->inputOptions();
    for (QVexmarAudioPadlock *padlock : qAsConst(padlocks)) {
        const bool locked = !(options & padlockBit(padlock));
        setLocked(padlock, locked);
        applyPadlock(padlock, locked);
    }
}

void QVexmarMixerMonitoring1Page::deviceStateChanged(TComDevice::DeviceState state)
{
    const MixerDeviceFacts facts = mixerDeviceFacts();
    if (state != TComDevice::ModelReady || !facts.docked)
        return;
    for (int r = 4; r < outputRows; ++r) {
        for (QVexmarMatrixNode *node : qAsConst(nodeRows[r]))
            node->setEnabled(true);
    }
    padlocks.value(dockOutput)->setEnabled(true);
}

void QVexmarMixerMonitoring1Page::audioControllerStateChanged(TComController *sender)
{
    if (sender->state() == TComController::Loaded)
        readPadlocks();
}

void QVexmarMixerMonitoring1Page::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam parameter)
{
    if (parameter == TAudioSettings::InputOptions)
        readPadlocks();
}

void QVexmarMixerMonitoring1Page::matrixControllerStateChanged(TComController *sender)
{
    QVexmarMixerBasePage::matrixControllerStateChanged(sender);
    if (sender->state() != TComController::Loaded)
        return;
    for (const int left : pairLeftOutputs)
        showBalance(left, true);
}

void QVexmarMixerMonitoring1Page::matrixOptionsChanged(TMatrixSettings::MatrixOpts old)
{
    const bool mixes = getMatrixSettings()->matrixOptions() & TMatrixSettings::HeadphoneMixes;
    // Only from this page: the option word arrives at every login, wherever the user is.
    if (mixes && !(old & TMatrixSettings::HeadphoneMixes) && isShownPage())
        emit pageActivated(QVexmar::Monitoring2Headphone1Page);
}

void QVexmarMixerMonitoring1Page::matrixBalanceChanged(QVexmar::Outputs ou)
{
    if (ou >= firstOutput && ou < firstOutput + outputRows)
        showBalance(firstOutput + 2 * ((ou - firstOutput) / 2), false);
}

void QVexmarMixerMonitoring1Page::padlockClicked(bool)
{
    auto *padlock = qobject_cast<QVexmarAudioPadlock *>(sender());
    if (!padlock)
        return;
    const bool locked = isLocked(padlock);
    TAudioSettings *audio = getAudioSettings();
    // Until the device's word is known a write would put guesses in its other bits: closing needs none, opening
    // waits.
    if (audio->state() != TComController::Loaded) {
        setLocked(padlock, true);
        applyPadlock(padlock, true);
        return;
    }
    applyPadlock(padlock, locked);
    const quint32 bit = padlockBit(padlock);
    const quint32 options = audio->inputOptions();
    // A set bit is an open padlock.
    if (bool(options & bit) != locked)
        return;
    // A refused opening closes again as the device has it; a refused closing stays closed.
    if (!audio->setInputOptions(locked ? options & ~bit : options | bit, true) && !locked) {
        setLocked(padlock, true);
        applyPadlock(padlock, true);
    }
}

void QVexmarMixerMonitoring1Page::knobValueChanged(int value)
{
    auto *knob = qobject_cast<QVexmarMatrixKnob *>(sender());
    if (updating || !knob)
        return;
    getMatrixSettings()->setOutputBalance(Outputs(knob->output), value, true);
    // A refused balance springs back to what the device has.
    showBalance(knob->output, false);
}

void QVexmarMixerMonitoring1Page::mixerRadioClicked()
{
    TMatrixSettings *matrix = getMatrixSettings();
    if (matrix->setMatrixOptions(matrix->matrixOptions() | TMatrixSettings::HeadphoneMixes, true)) {
        emit pageActivated(QVexmar::Monitoring2Headphone1Page);
        return;
    }
    // The device keeps the monitoring mix, and so does the screen.
    showApplyFailed(QStringLiteral("monitoring1Message"));
}
