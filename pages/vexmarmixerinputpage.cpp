#include "pages/vexmarmixerinputpage.h"

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "widgets/vexmarbars.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmatrix.h"

#include <QFrame>
#include <QLabel>
#include <QScrollArea>

using QVexmar::Inputs;
using QVexmar::Outputs;

namespace {

constexpr int columnWidth = 104;
constexpr int rowHeight = 74;
constexpr int labelBand = 150;
constexpr int gridWidth = 936;
constexpr int voiceRow = 4;

// The received signal of a stream or of the call on its own output: built without a check.
bool isLoopBack(int input, int output)
{
    static const int loopBacks[QVexmarMixerInputPage::outputRows] = {20, 21, 22, 23, 19};
    return loopBacks[output] == input;
}

// Which input a crosspoint of the column switches on each row: the right input on the right rows.
int crosspointInput(const MixerRow &column, int output)
{
    return output == 1 || output == 3 ? column.in2 : column.in;
}

// On the voice call a stereo column switches both its inputs: the left ones of these pairs.
bool isStereoLeft(int input)
{
    return input == 14 || input == 16 || input == 20 || input == 22;
}

// Wire stubs: the first column has none to the left, the last row none downward.
int lineSides(int column, int output)
{
    using Side = QVexmarMatrixNode::LineSide;
    if (output < voiceRow)
        return column == 0 ? Side::Right | Side::Top | Side::Bottom : 0;
    return column == 0 ? Side::Right | Side::Top : Side::Left | Side::Right | Side::Top;
}

QVexmarBars *addMeter(QWidget *parent, const QRect &geometry, bool stereo, const char *name)
{
    auto *meter = new QVexmarBars(parent);
    meter->setObjectName(QLatin1String(name));
    meter->setGeometry(geometry);
    meter->setStereo(stereo ? 1 : 0);
    if (stereo)
        meter->setLevels(IVexmarAudioLevels::noLevel, IVexmarAudioLevels::noLevel, true);
    else
        meter->setLevel(IVexmarAudioLevels::noLevel, true);
    return meter;
}

} // namespace

QVexmarMixerInputPage::QVexmarMixerInputPage(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerInputPage::deviceStateChanged);
}

QVexmarMixerInputPage::~QVexmarMixerInputPage() = default;

void QVexmarMixerInputPage::setupUi()
{
    QWidget *frame = contentFrame;
    const QFont font = mixerFont();
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    homeButton->setObjectName(QStringLiteral("mixerInputHomeButton"));

    scrollArea = new QVexmarMatrixScrollArea(false, frame);
    scrollArea->setObjectName(QStringLiteral("mixerInputScrollArea"));
    scrollArea->setGeometry(0, 0, gridWidth, 540);
    scrollArea->scrollStep = columnWidth;
    const QVector<MixerRow> &columns = inputPageRows();
    auto *grid = new QFrame;
    grid->setObjectName(QStringLiteral("mixerInputGrid"));
    grid->resize(columnWidth * columns.size(), labelBand + outputRows * rowHeight);

    for (int k = 0; k < columns.size(); ++k) {
        const MixerRow &column = columns.at(k);
        auto *label = new QVexmarMatrixLabel(-45, grid);
        label->setObjectName(QStringLiteral("mixerInputLabel%1").arg(column.in));
        label->setGeometry(columnWidth * k, 0, columnWidth, labelBand);
        label->setAlignment(left);
        label->setWordWrap(true);
        label->setFont(font);
        label->setText(column.label);
        label->input = column.in;
        inputLabels.insert(column.in, label);
    }
    for (int o = 0; o < outputRows; ++o) {
        for (int k = 0; k < columns.size(); ++k) {
            const int input = crosspointInput(columns.at(k), o);
            auto *node = new QVexmarMatrixNode(!isLoopBack(input, o), grid);
            node->setObjectName(QStringLiteral("mixerInputNode%1_%2").arg(input).arg(o));
            node->setGeometry(columnWidth * k, labelBand + rowHeight * o, columnWidth, rowHeight);
            node->setLineSides(lineSides(k, o));
            node->index = k;
            node->input = input;
            node->output = o;
            nodeRows[o].insert(input, node);
            addCrosspoint(node);
        }
    }
    scrollArea->scrollArea()->setWidget(grid);

    const char *const sides[] = {QT_TR_NOOP("L"), QT_TR_NOOP("R"), QT_TR_NOOP("L"), QT_TR_NOOP("R")};
    for (int o = 0; o < outputRows; ++o) {
        const int y = o < voiceRow ? 182 + rowHeight * o : 478;
        auto *arrow = new QVexmarMatrixArrow(QVexmarMatrixArrow::PointRight, frame);
        arrow->setObjectName(QStringLiteral("mixerInputArrow%1").arg(o));
        arrow->setGeometry(gridWidth, y + 3, 26, 20);
        if (o < voiceRow)
            addCaption(
                frame, QRect(970, y, 26, 26), tr(sides[o]), font, left, QStringLiteral("mixerInputSide%1").arg(o));
    }

    stream1Caption = addCaption(
        frame, QRect(1008, 204, 250, 25), tr("Stream 1"), font, left, QStringLiteral("mixerInputStream1Caption"));
    stream1Meter = addMeter(frame, QRect(1008, 234, 250, 25), true, "mixerInputStream1Meter");
    stream2Caption = addCaption(
        frame, QRect(1008, 352, 250, 25), tr("Stream 2"), font, left, QStringLiteral("mixerInputStream2Caption"));
    stream2Meter = addMeter(frame, QRect(1008, 382, 250, 25), true, "mixerInputStream2Meter");
    voiceCallCaption = addCaption(
        frame, QRect(1008, 468, 250, 25), tr("Voice Call"), font, left, QStringLiteral("mixerInputVoiceCallCaption"));
    voiceCallMeter = addMeter(frame, QRect(1008, 498, 250, 12), false, "mixerInputVoiceCallMeter");

    addNavigationRow(QStringLiteral("mixerInput"), QVexmar::MixerInputPage);
    applyAvailability(MixerMoment::Login);
}

void QVexmarMixerInputPage::applyAvailability(MixerMoment moment)
{
    const MixerDeviceFacts facts = mixerDeviceFacts();
    for (QVexmarMatrixLabel *label : qAsConst(inputLabels))
        label->setEnabled(isMixerInputAvailable(label->input, moment, label->isEnabled(), facts));
    for (const QMap<int, QVexmarMatrixNode *> &row : nodeRows) {
        for (QVexmarMatrixNode *node : row)
            node->setEnabled(isMixerInputAvailable(node->input, moment, node->isEnabled(), facts));
    }
}

void QVexmarMixerInputPage::resetControls()
{
    QVexmarMixerBasePage::resetControls();
    applyAvailability(MixerMoment::Login);
}

void QVexmarMixerInputPage::setAudioLevels(const int *levels, int count, bool reset)
{
    // Outputs 1 to 5; a short report has no value for what it lacks.
    const auto level = [levels, count](int index) { return index < count ? levels[index] : int(noLevel); };
    stream1Meter->setLevels(level(24), level(25), reset);
    stream2Meter->setLevels(level(26), level(27), reset);
    voiceCallMeter->setLevel(level(28), reset);
}

void QVexmarMixerInputPage::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::ModelReady)
        return;
    applyAvailability(MixerMoment::DeviceReady);
}

void QVexmarMixerInputPage::writeCrosspoint(QVexmar::Inputs in, QVexmar::Outputs ou, bool checked)
{
    TMatrixSettings *matrix = getMatrixSettings();
    matrix->setNode(in, ou, checked);
    // A stereo source on the mono call: both channels, unless the device refused the left one; a right channel
    // alone would be a route the page cannot show.
    if (ou == voiceRow && isStereoLeft(in) && matrix->node(in, ou).on() == checked)
        matrix->setNode(Inputs(in + 1), ou, checked);
}
