#include "pages/vexmarmixeroutputpages.h"

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmatrix.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QScrollArea>

#include <iterator>

namespace {

constexpr int columnWidth = 104;
constexpr int rowHeight = 74;
constexpr int areaY = 95;
constexpr int visibleRows = 6;
constexpr int playerInputs[] = {16, 17};

bool isUsbInput(int in)
{
    return in == 14 || in == 15;
}

bool isUsbOutput(int ou)
{
    return ou == 22 || ou == 23;
}

// Once the device is ready: docked, the rules of every mixer page. Undocked, only the USB outputs take the
// device's own signals (MIC 1, MIC 2, the calls and the Player); everything else keeps what it shows.
bool isCrosspointAvailable(int in, int ou, bool current, const MixerDeviceFacts &facts)
{
    if (facts.docked)
        return isMixerInputAvailable(in, MixerMoment::DeviceReady, current, facts);
    if (!isUsbOutput(ou) || isDockInput(in) || isUsbInput(in))
        return current;
    return !isPlayerInputDisabled(in);
}

// The scroll area with the grid of row labels and crosspoints: `outputs` left to right, `rows` top down. Only the
// last column may go without a wire stub to the right.
QVexmarMatrixScrollArea *addGrid(QWidget *parent, const QString &prefix, const QVector<MixerRow> &rows,
    const QVector<int> &outputs, bool lastRightStub, const QFont &font, QMap<int, QVexmarMatrixLabel *> &labels,
    QMap<int, QVexmarMatrixNode *> *columns)
{
    auto *area = new QVexmarMatrixScrollArea(true, parent);
    area->setObjectName(prefix + QStringLiteral("ScrollArea"));
    // The bar on the left and the scroll area's own bar slot on the right, 10 px each.
    area->setGeometry(0, areaY, columnWidth * (outputs.size() + 1) + 20, visibleRows * rowHeight);
    area->scrollStep = rowHeight;
    auto *grid = new QFrame;
    grid->setObjectName(prefix + QStringLiteral("Grid"));
    grid->resize(columnWidth * (outputs.size() + 1), rowHeight * rows.size());

    for (int r = 0; r < rows.size(); ++r) {
        const MixerRow &row = rows.at(r);
        auto *label = new QVexmarMatrixLabel(0, grid);
        label->setObjectName(prefix + QStringLiteral("Label%1").arg(row.in));
        label->setGeometry(0, rowHeight * r, columnWidth, rowHeight);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(true);
        label->setFont(font);
        label->setText(row.label);
        label->index = r;
        label->input = row.in;
        labels.insert(row.in, label);
    }
    // Unchecking a button outside a group searches all its siblings for an exclusive partner; in a group it
    // does not. Nothing here is exclusive.
    auto *group = new QButtonGroup(grid);
    group->setExclusive(false);
    using Side = QVexmarMatrixNode::LineSide;
    for (int c = 0; c < outputs.size(); ++c) {
        const int output = outputs.at(c);
        const int across = c + 1 < outputs.size() || lastRightStub ? Side::Left | Side::Right : int(Side::Left);
        for (int r = 0; r < rows.size(); ++r) {
            const int input = rows.at(r).in;
            auto *node = new QVexmarMatrixNode(!(isUsbInput(input) && isUsbOutput(output)), grid);
            node->setObjectName(prefix + QStringLiteral("Node%1_%2").arg(input).arg(output));
            node->setGeometry(columnWidth * (c + 1), rowHeight * r, columnWidth, rowHeight);
            node->setLineSides(across | Side::Top | (r + 1 < rows.size() ? int(Side::Bottom) : 0));
            node->index = r;
            node->input = input;
            node->output = output;
            group->addButton(node);
            columns[c].insert(input, node);
        }
    }
    area->scrollArea()->setWidget(grid);
    return area;
}

// Above each column of the area: its text and an arrow up, the way the signal leaves.
void addColumnHeaders(QWidget *parent, const QString &prefix, const QPoint &area, const QVector<int> &outputs,
    const QStringList &texts, const QFont &font)
{
    for (int c = 0; c < outputs.size(); ++c) {
        auto *arrow = new QVexmarMatrixArrow(QVexmarMatrixArrow::PointUp, parent);
        arrow->setObjectName(prefix + QStringLiteral("Arrow%1").arg(outputs.at(c)));
        arrow->setGeometry(area.x() + 152 + columnWidth * c, area.y() - 20, 26, 20);
        auto *label = new QVexmarMatrixLabel(0, parent);
        label->setObjectName(prefix + QStringLiteral("Header%1").arg(outputs.at(c)));
        label->setGeometry(area.x() + 113 + columnWidth * c, 0, columnWidth, area.y() - 20);
        label->setAlignment(Qt::AlignCenter);
        label->setFont(font);
        label->setText(texts.at(c));
        label->index = c;
        label->output = outputs.at(c);
    }
}

} // namespace

// QVexmarMixerOutput1Page

const int QVexmarMixerOutput1Page::columnOutputs[columnCount] = {12, 13, 22, 23};

QVexmarMixerOutput1Page::QVexmarMixerOutput1Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerOutput1Page::deviceStateChanged);
}

QVexmarMixerOutput1Page::~QVexmarMixerOutput1Page() = default;

void QVexmarMixerOutput1Page::setupUi()
{
    QWidget *frame = contentFrame;
    const QFont font = mixerFont();
    const QString prefix = QStringLiteral("mixerOutput1");
    homeButton->setObjectName(prefix + QStringLiteral("HomeButton"));

    const QVector<int> outputs(std::begin(columnOutputs), std::end(columnOutputs));
    scrollArea = addGrid(frame, prefix, output1PageRows(), outputs, false, font, rowLabels, nodeColumns);
    addColumnHeaders(
        frame, prefix, scrollArea->pos(), outputs, {tr("LINE 1"), tr("LINE 2"), tr("USB L"), tr("USB R")}, font);
    for (const QMap<int, QVexmarMatrixNode *> &column : nodeColumns) {
        for (QVexmarMatrixNode *node : column)
            addCrosspoint(node);
    }
    addNavigationRow(prefix, QVexmar::MixerOutput1Page);

    resetControls();
    for (int in : playerInputs)
        rowLabels.value(in)->setEnabled(!isPlayerInputDisabled(in));
}

void QVexmarMixerOutput1Page::resetControls()
{
    QVexmarMixerBasePage::resetControls();
    for (QVexmarMatrixLabel *label : qAsConst(rowLabels))
        label->setEnabled(!isAes67Input(label->input));
    for (const QMap<int, QVexmarMatrixNode *> &column : nodeColumns) {
        for (QVexmarMatrixNode *node : column)
            node->setEnabled(false);
    }
}

void QVexmarMixerOutput1Page::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state != TComDevice::ModelReady)
        return;
    const MixerDeviceFacts facts = mixerDeviceFacts();
    if (facts.docked && (facts.deviceOptions & TComDevice::OptRavenna)) {
        for (QVexmarMatrixLabel *label : qAsConst(rowLabels))
            label->setEnabled(true);
    }
    for (const QMap<int, QVexmarMatrixNode *> &column : nodeColumns) {
        for (QVexmarMatrixNode *node : column)
            node->setEnabled(isCrosspointAvailable(node->input, node->output, node->isEnabled(), facts));
    }
    for (int in : playerInputs)
        rowLabels.value(in)->setEnabled(!isPlayerInputDisabled(in));
}

// QVexmarMixerOutput2Page

QVexmarMixerOutput2Page::QVexmarMixerOutput2Page(QWidget *parent) : QVexmarMixerBasePage(parent)
{
    setupUi();
    connect(getDevice(), &TComDevice::deviceStateChanged, this, &QVexmarMixerOutput2Page::deviceStateChanged);
}

QVexmarMixerOutput2Page::~QVexmarMixerOutput2Page() = default;

void QVexmarMixerOutput2Page::setupUi()
{
    QWidget *frame = contentFrame;
    const QFont font = mixerFont();
    const QString prefix = QStringLiteral("mixerOutput2");
    homeButton->setObjectName(prefix + QStringLiteral("HomeButton"));

    QVector<int> outputs;
    QStringList headers;
    for (int k = 0; k < columnCount; ++k) {
        outputs << firstOutput + k;
        headers << QStringLiteral("AES67\n%1").arg(k + 1);
    }
    scrollArea = addGrid(frame, prefix, output2PageRows(), outputs, true, font, rowLabels, nodeColumns);
    addColumnHeaders(frame, prefix, scrollArea->pos(), outputs, headers, font);
    for (const QMap<int, QVexmarMatrixNode *> &column : nodeColumns) {
        for (QVexmarMatrixNode *node : column)
            addCrosspoint(node);
    }
    addNavigationRow(prefix, QVexmar::MixerOutput2Page);

    // Before the device's first initialisation its options are empty: the Player rows start disabled.
    applyPlayerRule();
}

void QVexmarMixerOutput2Page::applyPlayerRule()
{
    for (int in : playerInputs) {
        const bool usable = !isPlayerInputDisabled(in);
        rowLabels.value(in)->setEnabled(usable);
        for (const QMap<int, QVexmarMatrixNode *> &column : nodeColumns)
            column.value(in)->setEnabled(usable);
    }
}

void QVexmarMixerOutput2Page::deviceStateChanged(TComDevice::DeviceState state)
{
    if (state == TComDevice::ModelReady)
        applyPlayerRule();
}

void QVexmarMixerOutput2Page::refreshNodeButton(QVexmar::Inputs in, QVexmar::Outputs ou)
{
    if (ou >= firstOutput && ou < firstOutput + columnCount)
        QVexmarMixerBasePage::matrixNodeChanged(in, ou);
}

void QVexmarMixerOutput2Page::matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou)
{
    refreshNodeButton(in, ou);
}
