#include "tools/gallery/gallery.h"

#include "pages/drawbargraph.h"
#include "tests/peers/wavebitmapwriter.h"

#include <QTemporaryDir>

namespace {

QList<GalleryShot> renderWaveform()
{
    QList<GalleryShot> shots;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    if (!writeWaveBitmap(dir.filePath(QStringLiteral("interview.wbm")), speechRecording(95000, 9, 0.0))
        || !writeWaveBitmap(dir.filePath(QStringLiteral("studio.wbm")), speechRecording(240000, 10, 40.0)))
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
