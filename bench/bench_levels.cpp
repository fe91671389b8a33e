// Level meters of a full screen on a live level update: the 31 graphs of one "audio_levels" notification set
// and painted into the offscreen platform's window image, as the screen does it (update of what changed, one
// repaint by the backing store). Beside them, in the same run, a baseline graph that repaints all of itself on
// every change and draws frame, zones and fills every time.

#include "bench/widgetbench.h"
#include "widgets/vexmarbars.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int meterCount = 31;
constexpr int frameCount = 256;

// The same peak hold as the screen's graph, painted the plain way.
class BaselineBars : public QWidget
{
public:
    explicit BaselineBars(QWidget *parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

    bool vertical = false;
    int stereo = 0;

    void setLevels(int a, int b, bool reset)
    {
        const bool changedA = apply(m_a, a, reset);
        const bool changedB = apply(m_b, b, reset) && stereo != 0;
        if (changedA || changedB)
            update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.eraseRect(rect());
        painter.setPen(QColor(127, 127, 127));
        painter.drawRect(QRect(QPoint(0, 0), QPoint(width() - 2, height() - 2)));
        const int x2 = vertical ? width() - 3 : width() - 2;
        const int y2 = vertical ? height() - 2 : height() - 3;
        if (stereo == 0) {
            bar(painter, 1, 1, x2, y2, m_a);
        } else if (vertical) {
            const int half = (x2 - 2) / 2;
            bar(painter, 1, 1, x2 - half - 3, y2, m_a);
            bar(painter, half + 4, 1, x2, y2, m_b);
        } else {
            const int half = (y2 - 2) / 2;
            bar(painter, 1, 1, x2, y2 - half - 3, m_a);
            bar(painter, 1, half + 4, x2, y2, m_b);
        }
    }

private:
    struct Channel
    {
        int level = 0;
        int peak = 50;
        int hold = 0;
    };

    static bool apply(Channel &c, int level, bool reset)
    {
        if (level == c.level && level == c.peak && !reset)
            return false;
        const int v = std::clamp(level, 0, 50);
        const Channel before = c;
        if (v > c.peak && !reset) {
            c.hold = std::min(c.hold + 1, 11);
            if (c.hold > 10)
                c.peak = std::min(c.peak + 2, 50);
            c.level = v;
        } else {
            c.hold = 0;
            c.level = c.peak = v;
        }
        return c.level != before.level || c.peak != before.peak;
    }

    void bar(QPainter &painter, int x1, int y1, int x2, int y2, const Channel &c) const
    {
        const int length = vertical ? height() - 2 : width() - 2;
        const int zg = length * 38 / 50;
        const int zy = length * 9 / 50;
        const int zr = length - zg - zy;
        const auto span = [&](int from, int count, Qt::GlobalColor colour) {
            if (count <= 0)
                return;
            if (vertical)
                painter.fillRect(QRect(x1, y2 - from - count + 1, x2 + 2 - x1, count), colour);
            else
                painter.fillRect(QRect(x1 + from, y1, count, y2 + 2 - y1), colour);
        };
        if (vertical) {
            painter.drawLine(x1, y1 + zr - 1, x2 + 1, y1 + zr - 1);
            painter.drawLine(x1, y1 + zr + zy - 1, x2 + 1, y1 + zr + zy - 1);
        } else {
            painter.drawLine(x2 - zr + 1, y1, x2 - zr + 1, y2 + 1);
            painter.drawLine(x2 - zr - zy + 1, y1, x2 - zr - zy + 1, y2 + 1);
        }
        const int n = (50 - c.level) * length / 50;
        const int p = (50 - c.peak) * length / 50;
        span(0, std::min(n, zg), Qt::green);
        span(zg, std::min(n - zg, zy), Qt::yellow);
        span(zg + zy, std::min(n - zg - zy, zr), Qt::red);
        if (p > std::max(n, 3))
            span(p - 4, 4, zg > p - 4 ? Qt::green : zg + zy > p - 4 ? Qt::yellow : Qt::red);
    }

    Channel m_a;
    Channel m_b;
};

// Levels as a program moves them: a random walk of a few dB per update, now and then a loud hit or no value.
const std::vector<int> &levelTable()
{
    static const std::vector<int> table = [] {
        std::mt19937 random(2024);
        std::vector<int> levels(std::size_t(frameCount) * meterCount * 2);
        std::vector<int> current(meterCount * 2, 20);
        for (int frame = 0; frame < frameCount; ++frame) {
            for (int channel = 0; channel < meterCount * 2; ++channel) {
                int &level = current[std::size_t(channel)];
                level = std::clamp(level + int(random() % 13) - 6, 0, 50);
                if (random() % 40 == 0)
                    level = int(random() % 6);
                const bool silent = random() % 100 == 0;
                levels[(std::size_t(frame) * meterCount * 2) + std::size_t(channel)] = silent ? 99 : level;
            }
        }
        return levels;
    }();
    return table;
}

// Layout 0: the audio page's strips, two-channel 25 x 100 graphs, 8 to a row. Layout 1: 325 x 25 one-bar
// graphs as on the home page, in three columns.
QRect meterPlace(int layout, int i)
{
    if (layout == 0)
        return QRect(10 + 150 * (i % 8), 60 + 160 * (i / 8), 25, 100);
    return QRect(10 + 420 * (i % 3), 10 + 60 * (i / 3), 325, 25);
}

struct Screen
{
    PaintCounter counter;
    std::unique_ptr<QWidget> window;
    std::vector<QVexmarBars *> meters;
    std::vector<BaselineBars *> baseline;
};

void buildScreen(Screen &screen, int layout, bool cached)
{
    screen.window = std::make_unique<QWidget>();
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(24, 24, 24));
    screen.window->setPalette(palette);
    screen.window->setAutoFillBackground(true);
    screen.window->setFixedSize(1280, 720);
    for (int i = 0; i < meterCount; ++i) {
        if (cached) {
            auto *meter = new QVexmarBars(screen.window.get());
            meter->setVertical(layout == 0);
            meter->setStereo(layout == 0 ? 1 : 0);
            meter->setGeometry(meterPlace(layout, i));
            meter->installEventFilter(&screen.counter);
            screen.meters.push_back(meter);
        } else {
            auto *meter = new BaselineBars(screen.window.get());
            meter->vertical = layout == 0;
            meter->stereo = layout == 0 ? 1 : 0;
            meter->setGeometry(meterPlace(layout, i));
            meter->installEventFilter(&screen.counter);
            screen.baseline.push_back(meter);
        }
    }
    screen.window->show();
    QCoreApplication::processEvents();
}

// Paints what the updates asked for into the window's image, now.
void paintFrame(QWidget *window)
{
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

template<class Meter>
void runFrames(benchmark::State &state, Screen &screen, const std::vector<Meter *> &meters, bool whole = false)
{
    QWidget *window = screen.window.get();
    screen.counter.clear();
    const std::vector<int> &levels = levelTable();
    int frame = 0;
    for (auto _ : state) {
        const int *row = levels.data() + (std::size_t(frame) * meterCount * 2);
        for (int i = 0; i < meterCount; ++i)
            meters[std::size_t(i)]->setLevels(row[2 * i], row[2 * i + 1], false);
        if (whole) {
            for (Meter *meter : meters)
                meter->update();
        }
        paintFrame(window);
        frame = (frame + 1) % frameCount;
    }
    state.SetLabel(state.range(0) == 0 ? "31 strips 25x100, two bars" : "31 graphs 325x25");
    const double frames = double(state.iterations());
    state.counters["paints/frame"] = double(screen.counter.paints) / frames;
    state.counters["pixels/frame"] = double(screen.counter.pixels) / frames;
}

void BM_LevelMeters(benchmark::State &state)
{
    Screen screen;
    buildScreen(screen, int(state.range(0)), true);
    runFrames(state, screen, screen.meters);
}

// The cached background alone: every graph repainted whole, every frame.
void BM_LevelMetersWholeRepaint(benchmark::State &state)
{
    Screen screen;
    buildScreen(screen, int(state.range(0)), true);
    runFrames(state, screen, screen.meters, true);
}

void BM_LevelMetersBaseline(benchmark::State &state)
{
    Screen screen;
    buildScreen(screen, int(state.range(0)), false);
    runFrames(state, screen, screen.baseline);
}

} // namespace

BENCHMARK(BM_LevelMeters)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelMetersWholeRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LevelMetersBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
