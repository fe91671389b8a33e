#pragma once

// What the widget benchmarks share: a count of what was painted, and a main on the offscreen platform.

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <cstdint>

// Installed as an event filter: counts the paint events a widget receives and the pixels it was asked to paint.
struct PaintCounter : QObject
{
    std::int64_t paints = 0;
    std::int64_t pixels = 0;

    void clear() { paints = pixels = 0; }

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                pixels += std::int64_t(r.width()) * r.height();
        }
        return false;
    }
};

// The benchmarks paint into the offscreen platform's window images unless another platform is asked for.
inline int runWidgetBenchmarks(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
