// One frame of the waveform view of a 3-hour project of 100 tracks, painted into a 1000 x 150 image, against a
// naive draw of every segment-0 entry of the same project into the same image.

#include "bench/widgetbench.h"
#include "pages/drawbargraph.h"
#include "pages/wavebitmap.h"
#include "tests/peers/wavebitmapwriter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

constexpr int Tracks = 100;
constexpr qint64 TrackMs = 108 * 1000; // 100 tracks: 3 hours
constexpr int Files = 10;

struct Project
{
    QTemporaryDir dir;
    std::vector<std::string> names; // the track's file
    std::vector<qint64> starts; // in samples
};

// Ten recordings of 18 minutes, each cut into ten tracks played in an order of their own.
const Project &project()
{
    static const std::unique_ptr<Project> built = [] {
        auto p = std::make_unique<Project>();
        for (int f = 0; f < Files; ++f) {
            WaveBitmapContent content;
            content.durationMs = TrackMs * (Tracks / Files);
            content.lastSegment = 12;
            content.envelope = [f](int segment, qint64 entry, int) {
                const double t = double(entry << segment) / 1000.0 + 17.0 * f;
                const double level = 60.0 * std::abs(std::sin(t * 0.7)) * (0.6 + 0.4 * std::abs(std::sin(t * 23.0)));
                return std::make_pair(quint8(level), quint8(level * 0.8));
            };
            const QString name = QStringLiteral("rec%1.wbm").arg(f);
            if (!writeWaveBitmap(p->dir.filePath(name), content))
                qFatal("cannot write %s", qPrintable(name));
        }
        for (int t = 0; t < Tracks; ++t) {
            p->names.push_back(QStringLiteral("rec%1.wbm").arg(t % Files).toStdString());
            p->starts.push_back(qint64((t * 7) % (Tracks / Files)) * TrackMs * 48);
        }
        return p;
    }();
    return *built;
}

void openProject(DrawBarGraph &graph)
{
    const Project &p = project();
    graph.setProjectMode();
    graph.setFolderPrefix(p.dir.path().toStdString());
    for (int t = 0; t < Tracks; ++t)
        graph.addTrack(p.names[std::size_t(t)], p.starts[std::size_t(t)], p.starts[std::size_t(t)] + TrackMs * 48, 0);
    graph.refresh();
}

// Arg 0: as the project opens (level 12, 4096 ms per pixel); arg 1: the finest zoom, 1 ms per pixel.
void BM_PaintProject(benchmark::State &state)
{
    DrawBarGraph graph;
    openProject(graph);
    if (state.range(0) == 1)
        graph.setZoom(0);
    graph.resize(1000, 150);
    QImage image(1000, 150, QImage::Format_ARGB32_Premultiplied);
    graph.render(&image); // the first frame lays the project out
    const qint64 duration = graph.durationMs();
    qint64 cursor = 0;
    for (auto _ : state) {
        cursor = (cursor + 40 * graph.currentZoomFactor()) % duration;
        graph.setCursorPosition(cursor);
        graph.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel("zoom " + std::to_string(graph.zoom()));
}

void BM_PaintNaive(benchmark::State &state)
{
    const Project &p = project();
    std::vector<quint32> upper;
    std::vector<quint32> lower;
    for (int t = 0; t < Tracks; ++t) {
        WaveBitmap bitmap;
        bitmap.setFilePath(p.dir.filePath(QString::fromStdString(p.names[std::size_t(t)])).toLocal8Bit().constData());
        if (!bitmap.readHeader() || !bitmap.readSegment(0))
            qFatal("cannot read track %d", t);
        const std::vector<quint32> &values = *bitmap.segmentValues(0);
        const std::size_t first = std::size_t(p.starts[std::size_t(t)] / 48) * 2;
        for (std::size_t i = first; i < first + std::size_t(TrackMs) * 2; i += 2) {
            upper.push_back(values[i]);
            lower.push_back(values[i + 1]);
        }
    }
    QImage image(1000, 150, QImage::Format_ARGB32_Premultiplied);
    const double perPixel = double(upper.size()) / 1000.0;
    // The view's own primitive (one-pixel rectangles, batched), so that only the number of entries differs.
    QVector<QRect> rects;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (std::size_t i = 0; i < upper.size(); ++i) {
            const int x = int(double(i) / perPixel);
            rects.append(QRect(x, 75 - int(upper[i]), 1, int(upper[i] + lower[i]) + 1));
            if (rects.size() == 4096 || i + 1 == upper.size()) {
                painter.drawRects(rects);
                rects.clear();
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(upper.size()) + " entries");
}

} // namespace

BENCHMARK(BM_PaintProject)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintNaive)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
