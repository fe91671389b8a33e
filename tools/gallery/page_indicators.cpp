#include "tools/gallery/gallery.h"

#include "widgets/vexmarbars.h"
#include "widgets/vexmarindicators.h"
#include "widgets/vexmarpanels.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>

namespace {

QVexmarBars *makeBars(QSize size, bool vertical, int stereo, const QList<QPair<int, int>> &levels)
{
    auto *bars = new QVexmarBars;
    bars->setFixedSize(size);
    bars->setVertical(vertical);
    bars->setStereo(stereo);
    for (const auto &level : levels)
        bars->setLevels(level.first, level.second, false);
    return bars;
}

// Loud, then quieter for 14 updates: the peak held 10 updates and has fallen 8 dB since.
QList<QPair<int, int>> fallingPeak()
{
    QList<QPair<int, int>> levels {{4, 8}};
    for (int i = 0; i < 14; ++i)
        levels.append({30, 40});
    return levels;
}

QList<GalleryShot> renderLevels()
{
    QList<GalleryShot> shots;
    const QSize wide(325, 25);
    auto *disabled = makeBars(wide, false, 0, {{10, 10}});
    disabled->setEnabled(false);
    shots.append({QStringLiteral("bars"),
        grabBoard({{QStringLiteral("full scale (0)"), makeBars(wide, false, 0, {{0, 0}})},
                      {QStringLiteral("-20"), makeBars(wide, false, 0, {{20, 20}})},
                      {QStringLiteral("-8"), makeBars(wide, false, 0, {{8, 8}})},
                      {QStringLiteral("no value (99)"), makeBars(wide, false, 0, {{99, 99}})},
                      {QStringLiteral("peak falling"), makeBars(wide, false, 0, fallingPeak())},
                      {QStringLiteral("two bars, peaks falling"), makeBars(wide, false, 1, fallingPeak())},
                      {QStringLiteral("two bars -1 / -25"), makeBars(wide, false, 1, {{1, 25}})},
                      {QStringLiteral("disabled"), disabled}},
            2, pagePalette())});

    const QSize strip(25, 100);
    const QSize monoStrip(15, 100);
    shots.append({QStringLiteral("bars-vertical"),
        grabBoard({{QStringLiteral("two, -2 / -20"), makeBars(strip, true, 1, {{2, 20}})},
                      {QStringLiteral("two, peaks"), makeBars(strip, true, 1, fallingPeak())},
                      {QStringLiteral("one, -6"), makeBars(monoStrip, true, 0, {{6, 6}})},
                      {QStringLiteral("one, peak"), makeBars(monoStrip, true, 0, fallingPeak())},
                      {QStringLiteral("one, 99"), makeBars(monoStrip, true, 0, {{99, 99}})}},
            5, pagePalette())});

    auto *mono = new QVexmarBarsEx;
    mono->setLevels(6, 6, 18, 18, false);
    auto *stereo = new QVexmarBarsEx;
    stereo->setState(1);
    stereo->setLevels(3, 10, 14, 22, false);
    shots.append({QStringLiteral("bars-ex"),
        grabBoard({{QStringLiteral("state 0: one bar each"), mono}, {QStringLiteral("state 1: two bars each"), stereo}},
            2, pagePalette())});
    return shots;
}

QVexmarBattery *makeBattery(int state, int level)
{
    auto *battery = new QVexmarBattery;
    battery->setState(state);
    battery->setLevel(level);
    return battery;
}

QVexmarNetQuality *makeGauge(int quality, int direction, bool enabled)
{
    auto *gauge = new QVexmarNetQuality;
    gauge->setValue(quality);
    gauge->setDirection(direction);
    gauge->setEnabled(enabled);
    return gauge;
}

QVexmarSigQuality *makeSignal(int state, int bars)
{
    auto *signal = new QVexmarSigQuality;
    signal->setSignal(state, bars);
    return signal;
}

QList<GalleryShot> renderIndicators()
{
    QList<GalleryShot> shots;
    QList<GalleryCell> batteries;
    for (const auto &look : QList<QPair<int, int>> {
             {0, 80}, {1, 0}, {1, 20}, {1, 21}, {1, 40}, {1, 41}, {1, 100}, {2, 60}, {2, 15}, {3, 100}, {3, 10}}) {
        batteries.append(
            {QStringLiteral("%1 / %2%").arg(look.first).arg(look.second), makeBattery(look.first, look.second)});
    }
    shots.append({QStringLiteral("battery"), grabBoard(batteries, 11, statusBarPalette())});

    QList<GalleryCell> gauges;
    for (int quality : {100, 85, 84, 69, 54, 39, 24, 10, 9, -7})
        gauges.append({QString::number(quality), makeGauge(quality, 0, true)});
    gauges.append({QStringLiteral("down 60"), makeGauge(60, 1, true)});
    gauges.append({QStringLiteral("disabled"), makeGauge(100, 0, false)});
    shots.append({QStringLiteral("net-quality"), grabBoard(gauges, 12, pagePalette())});

    QList<GalleryCell> signal;
    for (const auto &look : QList<QPair<int, int>> {{0, 0}, {0, 1}, {0, 3}, {0, 5}, {1, 2}, {4, 3}, {5, 3}, {6, 5}})
        signal.append(
            {QStringLiteral("%1 / %2").arg(look.first).arg(look.second), makeSignal(look.first, look.second)});
    signal.append({QStringLiteral("data"), new QVexmarDataActive});
    shots.append({QStringLiteral("signal"), grabBoard(signal, 9, statusBarPalette())});

    auto *closedLeft = new QVexmarToolbar(true);
    closedLeft->setFixedSize(120, 500);
    auto *closedRight = new QVexmarToolbar(false);
    closedRight->setFixedSize(120, 500);
    auto *open = new QVexmarToolbar(true);
    open->setFixedSize(120, 500);
    // A swipe of 40 pixels toward the centre.
    for (int x : {10, 50}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 250), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(open, &move);
    }
    shots.append({QStringLiteral("toolbars"),
        grabBoard({{QStringLiteral("left, closed"), closedLeft}, {QStringLiteral("left, open"), open},
                      {QStringLiteral("right, closed"), closedRight}},
            3, pagePalette())});

    QList<GalleryCell> tiles;
    for (int state = 0; state <= 6; ++state) {
        auto *tile = new QVexmarConnInfo;
        tile->setFixedSize(180, 120);
        tile->setState(state);
        tile->textLabel1->setText(QStringLiteral("Studio B"));
        tile->textLabel2->setText(QStringLiteral("48 kHz stereo"));
        tiles.append({QStringLiteral("state %1").arg(state), tile});
    }
    shots.append({QStringLiteral("conn-info"), grabBoard(tiles, 4, pagePalette())});
    return shots;
}

QList<GalleryShot> renderPanels()
{
    QList<GalleryShot> shots;
    QList<GalleryCell> sip;
    for (int state = 0; state <= 3; ++state) {
        auto *panel = new QVexmarSipPanel;
        panel->setState(state);
        if (state > 0) {
            panel->setGaugesEnabled(true);
            panel->setQuality(90 - 25 * state, state == 3 ? -1 : 40);
        }
        sip.append({QStringLiteral("state %1").arg(state), panel});
    }
    shots.append({QStringLiteral("sip"), grabBoard(sip, 4, pagePalette())});

    auto *normal = new QVexmarStreamerPanel;
    normal->setTitle(QStringLiteral("Stream 1"));
    normal->setSipState(1, 1);
    normal->setLineEnabled(1, true);
    normal->setNetQuality(1, 88, 72);
    normal->setLevels(8, 8, 20, 20, false);
    auto *mirrored = new QVexmarStreamerPanel;
    mirrored->setSide(1);
    mirrored->setTitle(QStringLiteral("Stream 2"));
    mirrored->setState(2);
    mirrored->setSipState(2, 3);
    mirrored->setLevels(2, 12, 30, 45, false);
    shots.append({QStringLiteral("streamer"),
        grabBoard({{QStringLiteral("side 0"), normal}, {QStringLiteral("side 1"), mirrored}}, 1, pagePalette())});

    auto *status = new QVexmarStatusPanel(0);
    status->setCodecState(1, 1);
    status->setSipState(1, 1, 2);
    status->setLineEnabled(1, 1, true);
    status->setNetQuality(1, 1, 95, 60);
    status->setCodecLevels(1, 5, 9, 14, 16, false);
    status->setSipState(2, 2, 1);
    status->setLineEnabled(2, 7, true);
    status->setNetQuality(2, 2, -1, 30);
    status->setCodecLevels(2, 99, 99, 25, 25, false);
    shots.append(
        {QStringLiteral("status-panel"), grabBoard({{QStringLiteral("status panel"), status}}, 1, pagePalette())});
    return shots;
}

const GalleryPage levels("levels", &renderLevels);
const GalleryPage indicators("indicators", &renderIndicators);
const GalleryPage panels("panels", &renderPanels);

} // namespace
