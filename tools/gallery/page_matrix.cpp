#include "tools/gallery/gallery.h"

#include "widgets/vexmaraudioknob.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmatrix.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include <memory>

namespace {

constexpr int cellWidth = 104;
constexpr int cellHeight = 74;

QVexmarMatrixNode *makeNode(bool checkable, int mask, bool checked = false, bool enabled = true)
{
    auto *node = new QVexmarMatrixNode(checkable);
    node->setFixedSize(cellWidth, cellHeight);
    node->setLineSides(mask);
    node->setChecked(checked);
    node->setEnabled(enabled);
    return node;
}

QVexmarMatrixLabel *makeLabel(float angle, const QString &text, QWidget *parent)
{
    auto *label = new QVexmarMatrixLabel(angle, parent);
    label->setFont(Look::pixelFont(QFont(), 26));
    label->setWordWrap(true);
    label->setText(text);
    return label;
}

// Grabs a widget laid out by hand on the page's ground.
QImage grabOnPage(QWidget *widget)
{
    std::unique_ptr<QWidget> owner(widget);
    widget->setPalette(pagePalette());
    widget->setAutoFillBackground(true);
    return grabWidget(widget);
}

// The mixer input page in small: column labels turned by -45 degrees over five rows of crosspoints, arrows and
// channel marks on the right; scrolled sideways by one column.
QImage inputGrid()
{
    const QStringList inputs = {"Mic 1", "Mic 2", "Line 1/2", "AES 1/2", "USB 1/2", "Voice"};
    auto *page = new QWidget;
    page->resize(4 * cellWidth + 70, 150 + 5 * cellHeight + 20);
    // As on the page: room for the bar over the grid and for the scroll area's own bar slot under it.
    auto *area = new QVexmarMatrixScrollArea(false, page);
    area->setGeometry(0, 0, 4 * cellWidth, 150 + 5 * cellHeight + 20);
    area->scrollStep = cellWidth;
    auto *grid = new QFrame;
    grid->resize(inputs.size() * cellWidth, 150 + 5 * cellHeight);
    for (int k = 0; k < inputs.size(); ++k) {
        QVexmarMatrixLabel *label = makeLabel(-45, inputs.at(k), grid);
        label->setGeometry(cellWidth * k, 0, cellWidth, 150);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setEnabled(k != 4);
        for (int o = 0; o < 5; ++o) {
            const int mask = o < 4 ? (k == 0 ? 14 : 0) : (k == 0 ? 6 : 7);
            auto *node = new QVexmarMatrixNode(true, grid);
            node->setGeometry(cellWidth * k, 150 + cellHeight * o, cellWidth, cellHeight);
            node->setLineSides(mask);
            node->setChecked((k + o) % 3 == 0);
            node->setEnabled(k != 4);
        }
    }
    area->scrollArea()->setWidget(grid);
    area->scrollBar()->setValue(cellWidth);
    const QStringList sides = {"L", "R", "L", "R"};
    for (int o = 0; o < 5; ++o) {
        const int y = 10 + 150 + cellHeight * o + 24;
        auto *arrow = new QVexmarMatrixArrow(QVexmarMatrixArrow::PointRight, page);
        arrow->setGeometry(4 * cellWidth, y + 3, 26, 20);
        if (o < 4) {
            auto *mark = new QLabel(sides.at(o), page);
            mark->setFont(Look::pixelFont(QFont(), 26));
            mark->setGeometry(4 * cellWidth + 34, y, 26, 26);
        }
    }
    return grabOnPage(page);
}

// The mixer output pages in small: upright row labels, column heads with arrows pointing up, a grid scrolled
// down by two rows; the last column has no right stub and the last row no bottom stub.
QImage outputGrid()
{
    const QStringList rows = {"Mic 1", "Mic 2", "Line 1", "Line 2", "AES 1", "AES 2", "USB 1", "USB 2"};
    const QStringList heads = {"Rec L", "Rec R", "USB L"};
    const int columns = heads.size();
    auto *page = new QWidget;
    page->resize(cellWidth * (columns + 1) + 30, 95 + 4 * cellHeight);
    for (int c = 0; c < columns; ++c) {
        QVexmarMatrixLabel *head = makeLabel(0, heads.at(c), page);
        head->setAlignment(Qt::AlignCenter);
        head->setGeometry(10 + cellWidth + cellWidth * c, 0, cellWidth, 75);
        auto *arrow = new QVexmarMatrixArrow(QVexmarMatrixArrow::PointUp, page);
        arrow->setGeometry(10 + cellWidth + 39 + cellWidth * c, 75, 26, 20);
    }
    auto *area = new QVexmarMatrixScrollArea(true, page);
    area->setGeometry(0, 95, cellWidth * (columns + 1) + 20, 4 * cellHeight);
    area->scrollStep = cellHeight;
    auto *grid = new QFrame;
    grid->resize(cellWidth * (columns + 1), cellHeight * rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        QVexmarMatrixLabel *label = makeLabel(0, rows.at(r), grid);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setGeometry(0, cellHeight * r, cellWidth, cellHeight);
        for (int c = 0; c < columns; ++c) {
            int mask = r + 1 < rows.size() ? 15 : 7;
            if (c + 1 == columns)
                mask &= ~QVexmarMatrixNode::Right;
            auto *node = new QVexmarMatrixNode(true, grid);
            node->setGeometry(cellWidth + cellWidth * c, cellHeight * r, cellWidth, cellHeight);
            node->setLineSides(mask);
            node->setChecked(r % columns == c);
        }
    }
    area->scrollArea()->setWidget(grid);
    area->scrollBar()->setValue(2 * cellHeight);
    return grabOnPage(page);
}

QVexmarMatrixKnob *makeKnob(int minimum, int maximum, int value)
{
    auto *knob = new QVexmarMatrixKnob;
    knob->setFixedSize(100, 100);
    knob->setMinimum(minimum);
    knob->setMaximum(maximum);
    knob->setValue(value);
    return knob;
}

QVexmarAudioPadlock *makePadlock(bool checked)
{
    auto *padlock = new QVexmarAudioPadlock;
    padlock->setFixedSize(60, 60);
    padlock->setChecked(checked);
    return padlock;
}

QVexmarAudioKnob *makeStrip(int panMode, int stereo, int state, const QString &name)
{
    auto *strip = new QVexmarAudioKnob(panMode);
    strip->setText(name);
    strip->setMinimum(-31, QStringLiteral("Off"));
    strip->setMaximum(16, QString());
    strip->setValue(-6);
    strip->setStereo(stereo);
    strip->setState(state);
    strip->setLevels(8, 20, true);
    return strip;
}

QList<GalleryShot> renderMatrix()
{
    QList<GalleryShot> shots;

    QList<GalleryCell> plain;
    QList<GalleryCell> crosspoints;
    for (int mask = 0; mask < 16; ++mask) {
        plain.append({QStringLiteral("mask %1").arg(mask), makeNode(false, mask)});
        crosspoints.append({QStringLiteral("mask %1").arg(mask), makeNode(true, mask)});
    }
    plain.append({QStringLiteral("disabled, mask 0"), makeNode(false, 0, false, false)});
    crosspoints.append({QStringLiteral("checked"), makeNode(true, 0, true)});
    crosspoints.append({QStringLiteral("checked, disabled"), makeNode(true, 0, true, false)});
    crosspoints.append({QStringLiteral("disabled"), makeNode(true, 0, false, false)});
    shots.append({QStringLiteral("nodes-plain"), grabBoard(plain, 6, pagePalette())});
    shots.append({QStringLiteral("nodes-crosspoint"), grabBoard(crosspoints, 7, pagePalette())});

    QList<GalleryCell> arrows;
    for (int direction = 0; direction < 5; ++direction) {
        auto *arrow = new QVexmarMatrixArrow(direction);
        arrow->setFixedSize(26, 20);
        arrows.append({QStringLiteral("direction %1").arg(direction), arrow});
    }
    shots.append({QStringLiteral("arrows"), grabBoard(arrows, 5, pagePalette())});

    QList<GalleryCell> labels;
    const struct
    {
        float angle;
        bool enabled;
        const char *caption;
    } labelKinds[] = {{0, true, "0 degrees"}, {0, false, "0, disabled"}, {-45, true, "-45 degrees"},
        {-45, false, "-45, disabled"}, {90, true, "90 degrees"}};
    for (const auto &kind : labelKinds) {
        QVexmarMatrixLabel *label = makeLabel(kind.angle, QStringLiteral("Line 1/2"), nullptr);
        label->setFixedSize(cellWidth, kind.angle == 0 ? cellHeight : 150);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setEnabled(kind.enabled);
        labels.append({QLatin1String(kind.caption), label});
    }
    shots.append({QStringLiteral("labels"), grabBoard(labels, 5, pagePalette())});

    shots.append({QStringLiteral("grid-input"), inputGrid()});
    shots.append({QStringLiteral("grid-output"), outputGrid()});

    QList<GalleryCell> bars;
    for (const int value : {0, 50, 100}) {
        auto *bar = new QVexmarMatrixScrollBar(true);
        bar->setFixedSize(10, 200);
        bar->setRange(0, 100);
        bar->setValue(value);
        bars.append({QStringLiteral("%1 of 100").arg(value), bar});
    }
    auto *empty = new QVexmarMatrixScrollBar(true);
    empty->setFixedSize(10, 200);
    empty->setRange(0, 0);
    bars.append({QStringLiteral("range 0"), empty});
    auto *across = new QVexmarMatrixScrollBar(false);
    across->setFixedSize(200, 10);
    across->setRange(0, 100);
    across->setValue(25);
    bars.append({QStringLiteral("horizontal, 25"), across});
    shots.append({QStringLiteral("scroll-bars"), grabBoard(bars, 5, pagePalette())});

    auto *disabledKnob = makeKnob(0, 12, 3);
    disabledKnob->setEnabled(false);
    QVexmarMatrixKnob *selected = makeKnob(0, 12, 9);
    selected->setChecked(true);
    shots.append({QStringLiteral("knobs"),
        grabBoard(
            {{QStringLiteral("0 of 12"), makeKnob(0, 12, 0)}, {QStringLiteral("6 of 12"), makeKnob(0, 12, 6)},
                {QStringLiteral("12 of 12"), makeKnob(0, 12, 12)}, {QStringLiteral("empty range"), makeKnob(0, 0, 0)},
                {QStringLiteral("disabled"), disabledKnob}, {QStringLiteral("selected"), selected}},
            6, pagePalette(), selected)});

    shots.append({QStringLiteral("padlocks"),
        grabBoard({{QStringLiteral("checked: open"), makePadlock(true)},
                      {QStringLiteral("unchecked: closed"), makePadlock(false)}},
            2, pagePalette())});

    QList<GalleryCell> strips;
    for (int state = 0; state < 4; ++state)
        strips.append({QStringLiteral("state %1").arg(state), makeStrip(0, 1, state, QStringLiteral("Mic 1"))});
    QVexmarAudioKnob *named = makeStrip(0, 1, 2, QStringLiteral("Mic 1"));
    named->setState(1);
    strips.append({QStringLiteral("state 2, then 1"), named});
    strips.append({QStringLiteral("mono"), makeStrip(0, 0, 0, QStringLiteral("Line Out"))});
    QVexmarAudioKnob *panned = makeStrip(1, 1, 0, QStringLiteral("AES 1/2"));
    panned->setPanning(QVexmar::PanLeftRight);
    strips.append({QStringLiteral("pan L R"), panned});
    QVexmarAudioKnob *texted = makeStrip(0, 0, 0, QStringLiteral("Mic 2"));
    texted->addValueText(-2, QStringLiteral("-8"));
    texted->setMinimum(-3, QString());
    texted->setValue(-2);
    strips.append({QStringLiteral("mono, value text"), texted});
    shots.append({QStringLiteral("strips"), grabBoard(strips, 4, pagePalette())});
    return shots;
}

const GalleryPage page("matrix", &renderMatrix);

} // namespace
