#include "gallery.h"

#include "drawbargraph.h"
#include "wavebitmapwriter.h"

#include <QTemporaryDir>

#include <cmath>

namespace {

// Speech-like: phrases of a few seconds with pauses, louder on the first channel.
WaveBitmapContent speech(qint64 durationMs, int lastSegment, double seed)
{
    WaveBitmapContent content;
    content.channels = 2;
    content.durationMs = durationMs;
    content.lastSegment = lastSegment;
    content.envelope = [seed](int segment, qint64 entry, int channel) {
        const double t = double(entry << segment) / 1000.0 + seed;
        const double phrase = std::max(0.0, std::sin(t * 0.9) + 0.3 * std::sin(t * 2.3));
        const double grain = 0.55 + 0.45 * std::abs(std::sin(t * 37.0 + 3.0 * std::sin(t * 11.0)));
        const double level = (channel == 0 ? 62.0 : 40.0) * std::min(1.0, phrase) * grain;
        return std::make_pair(quint8(2 + level), quint8(2 + level * 0.9));
    };
    return content;
}

QList<GalleryShot> renderWaveform()
{
    QList<GalleryShot> shots;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    if (!writeWaveBitmap(dir.filePath(QStringLiteral("interview.wbm")), speech(95000, 9, 0.0))
        || !writeWaveBitmap(dir.filePath(QStringLiteral("studio.wbm")), speech(240000, 10, 40.0)))
        return shots;

    {
        DrawBarGraph graph;
        graph.setSingleFileMode();
        graph.setFolderPrefix(folder);
        graph.addRecord("interview.wbm", 0, 0, 0);
        graph.refresh();
        graph.setCursorPosition(20000);
        shots.append({QStringLiteral("single-file"), grabWidget(&graph)});
        graph.setDimmed();
        shots.append({QStringLiteral("single-file-dimmed"), grabWidget(&graph)});
    }
    {
        DrawBarGraph graph;
        graph.setProjectMode();
        graph.setFolderPrefix(folder);
        graph.addTrack("interview.wbm", 48 * 2000, 48 * 30000, 0);
        graph.addTrack("studio.wbm", 48 * 60000, 48 * 100000, 1);
        graph.addTrack("interview.wbm", 48 * 50000, 48 * 90000, 0);
        graph.refresh();
        graph.addMark(48 * 12000);
        graph.addMark(48 * 55000);
        graph.setCursorPosition(25000);
        shots.append({QStringLiteral("project-marks"), grabWidget(&graph)});
        graph.setZoom(6);
        graph.setCursorPosition(28000);
        shots.append({QStringLiteral("project-zoom6"), grabWidget(&graph)});
        graph.setDimmed();
        shots.append({QStringLiteral("project-dimmed"), grabWidget(&graph)});
    }
    return shots;
}

const GalleryPage page("waveform", &renderWaveform);

} // namespace
