#include "pages/drawbargraph.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int SamplesPerMs = TrackGraphModel::SamplesPerMs;

// The page's slots, connected by name so that any page offering them hears this view.
void connectToPage(DrawBarGraph *graph, QWidget *parent)
{
    if (!parent)
        return;
    const QMetaObject *meta = parent->metaObject();
    if (meta->indexOfSlot("receiveCustomMessage_ChildIsClic(int)") >= 0)
        QObject::connect(
            graph, SIGNAL(sendCustomMessage_IsClic(int)), parent, SLOT(receiveCustomMessage_ChildIsClic(int)));
    if (meta->indexOfSlot("receiveCustomMessage_ChildIsWheeled(int,int,int)") >= 0)
        QObject::connect(graph, SIGNAL(sendCustomMessage_IsWheel(int, int, int)), parent,
            SLOT(receiveCustomMessage_ChildIsWheeled(int, int, int)));
}

qint64 scaled(double ms, int zoom)
{
    return qRound64(ms / double(TrackGraphModel::zoomFactor(zoom)));
}

} // namespace

DrawBarGraph::DrawBarGraph(int zoom, QWidget *parent) : DrawBarGraph(parent)
{
    m_model.setZoom(zoom);
    m_model.setZoomMove(TrackGraphModel::ZoomToFileSegment);
}

DrawBarGraph::DrawBarGraph(QWidget *parent) : QWidget(parent)
{
    reset();
    setMouseTracking(true);
    connectToPage(this, parent);
}

void DrawBarGraph::reset()
{
    resetState(false);
}

void DrawBarGraph::softReset()
{
    resetState(true);
}

void DrawBarGraph::resetState(bool keepIdAndLook)
{
    const bool marksFlag = m_marks.channelFlag();
    m_model.resetModel();
    m_marks.resetModel();
    m_marks.setChannelFlag(marksFlag);
    m_autoZoomLevel = -1;
    m_autoZoomDone = false;
    m_contentStartX = 0;
    m_hasContent = false;
    m_cursorMs = 0;
    m_folderPrefix.clear();
    if (!keepIdAndLook) {
        m_graphId = 0;
        m_dimmed = false;
    }
    m_projectDisplayStale = true;
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Minimum);
    setMinimumSize(m_viewWidth + 2 * m_margin, m_viewHeight);
    update();
}

void DrawBarGraph::setProjectMode()
{
    m_singleFileMode = false;
    m_model.setMinimumPixels(m_viewWidth);
    m_projectDisplayStale = true;
    update();
}

void DrawBarGraph::setSingleFileMode()
{
    m_singleFileMode = true;
    m_model.setMinimumPixels(m_viewWidth);
    m_projectDisplayStale = true;
    update();
}

void DrawBarGraph::setDimmed()
{
    m_dimmed = true;
    update();
}

void DrawBarGraph::clearDimmed()
{
    m_dimmed = false;
    update();
}

void DrawBarGraph::setCursorPosition(qint64 ms)
{
    m_cursorMs = qBound(qint64(0), ms, TrackGraphModel::MaxProjectMs);
    update();
}

bool DrawBarGraph::isAtMaxZoom() const
{
    return m_model.zoom() >= m_model.maxFileSegment(TrackGraphModel::DisplayList);
}

bool DrawBarGraph::isAtMaxTrackZoom() const
{
    return m_model.zoom() >= m_model.maxFileSegment(TrackGraphModel::TrackList);
}

void DrawBarGraph::zoomToFileSegment()
{
    zoomBy(TrackGraphModel::ZoomToFileSegment);
}

void DrawBarGraph::zoomDown()
{
    zoomBy(TrackGraphModel::ZoomDown);
}

void DrawBarGraph::zoomUp()
{
    zoomBy(TrackGraphModel::ZoomUp);
}

void DrawBarGraph::reload()
{
    zoomBy(TrackGraphModel::ZoomKeep);
}

void DrawBarGraph::zoomBy(TrackGraphModel::ZoomMove move)
{
    m_model.setZoomMove(move);
    refresh();
    update();
}

TrackGraphModel::List DrawBarGraph::contentList() const
{
    return m_singleFileMode ? TrackGraphModel::DisplayList : TrackGraphModel::TrackList;
}

void DrawBarGraph::loadContent()
{
    m_model.setFolderPrefix(m_folderPrefix);
    if (m_singleFileMode) {
        m_model.loadDisplayRecord(0);
    } else {
        for (int i = 0; i < trackCount(); ++i)
            m_model.loadTrackRecord(i);
    }
    m_projectDisplayStale = true;
}

void DrawBarGraph::refresh()
{
    loadContent();
    const qint64 duration = durationMs();
    if (m_autoZoomDone || duration <= 0)
        return;
    m_autoZoomLevel = TrackGraphModel::zoomForSeconds(duration / 1000);
    m_autoZoomDone = true;
    // Never past the coarsest segment the files hold: there would be nothing to read.
    const int level = std::min(m_autoZoomLevel + 1, m_model.maxFileSegment(contentList()));
    if (level != m_model.zoom()) {
        m_model.setZoom(level);
        m_model.setZoomMove(TrackGraphModel::ZoomKeep);
        loadContent();
    }
}

void DrawBarGraph::setZoom(int zoom)
{
    const int current = m_model.zoom();
    // Finer as asked; coarser only as far as the files go.
    const int level
        = zoom < current ? std::max(zoom, 0) : std::max(current, std::min(zoom, m_model.maxFileSegment(contentList())));
    if (level == current)
        return;
    m_model.setZoom(level);
    m_model.setZoomMove(TrackGraphModel::ZoomKeep);
    loadContent();
    update();
}

void DrawBarGraph::clearAllRecords()
{
    m_model.clearDisplayRecords();
    m_model.clearTrackRecords();
    m_model.clearBoundaryRecords();
    m_projectDisplayStale = true;
    update();
}

void DrawBarGraph::setCurrentTrack(int index)
{
    if (!m_singleFileMode)
        m_model.setCurrentIndex(index);
}

void DrawBarGraph::selectFirstChannel(bool first)
{
    m_model.setChannelSelect(TrackGraphModel::DisplayList, currentTrack(), first ? 0 : 1);
}

bool DrawBarGraph::isFirstChannelSelected() const
{
    return m_model.channelSelect(TrackGraphModel::DisplayList, currentTrack()) == 0;
}

void DrawBarGraph::addRecord(const std::string &bitmapPath, qint64 start, qint64 end, int channel)
{
    m_model.setMinimumPixels(m_viewWidth);
    if (m_singleFileMode) {
        m_model.clearDisplayRecords();
        start = 0;
        end = -1;
        channel = 0;
    }
    TrackRecord &record = m_model.appendRecord(TrackGraphModel::DisplayList);
    record.bitmapPath = bitmapPath;
    record.start = start;
    record.end = end;
    record.channelSelectB = channel;
    m_projectDisplayStale = true;
}

void DrawBarGraph::addTrack(const std::string &bitmapPath, qint64 start, qint64 end, int channel)
{
    m_model.setMinimumPixels(m_viewWidth);
    TrackRecord &record = m_model.appendRecord(TrackGraphModel::TrackList);
    record.bitmapPath = bitmapPath;
    record.start = start;
    record.end = end;
    record.channelSelectB = channel;
    m_projectDisplayStale = true;
}

void DrawBarGraph::setBitmapPathAt(int index, const std::string &path)
{
    m_model.setBitmapPath(contentList(), index, path);
}

void DrawBarGraph::setNameAt(int index, const std::string &name)
{
    m_model.setTrackName(contentList(), index, name);
}

void DrawBarGraph::addMark(qint64 position)
{
    if (position < 0 || position > TrackGraphModel::MaxProjectSamples)
        return;
    TrackRecord &mark = m_marks.appendRecord(TrackGraphModel::DisplayList);
    mark.start = position;
    update();
}

bool DrawBarGraph::addMarkText(const QString &text)
{
    bool ok = false;
    const qint64 position = text.trimmed().toLongLong(&ok, 10);
    if (!ok || position < 0 || position > TrackGraphModel::MaxProjectSamples)
        return false;
    addMark(position);
    return true;
}

void DrawBarGraph::clearMarks()
{
    m_marks.clearDisplayRecords();
    update();
}

int DrawBarGraph::markNumberAt(qint64 ms) const
{
    if (ms == 0 || ms == durationMs())
        return -1;
    return m_marks.trackNumberAt(ms);
}

qint64 DrawBarGraph::durationMs() const
{
    if (m_singleFileMode) {
        const TrackRecord *record = m_model.record(TrackGraphModel::DisplayList, 0);
        if (!record)
            return 0;
        if (record->fileDurationMs > 0)
            return record->fileDurationMs;
        return m_model.entriesLoaded() * TrackGraphModel::zoomFactor(m_model.zoom());
    }
    qint64 duration = 0;
    for (int i = 0; i < trackCount(); ++i)
        duration += trackDurationMs(i);
    return duration;
}

qint64 DrawBarGraph::trackDurationMs(int index) const
{
    const TrackRecord *track = m_model.record(TrackGraphModel::TrackList, index);
    if (!track)
        return 0;
    // Bounded, a track is at most 2^31 ms: no sum of as many tracks as an int counts reaches 2^62.
    const qint64 start = TrackGraphModel::boundedPosition(track->start);
    const qint64 end = TrackGraphModel::boundedPosition(track->end);
    return end > start ? (end - start) / SamplesPerMs : 0;
}

qint64 DrawBarGraph::trackEndMs(int index) const
{
    if (index < 0 || index >= trackCount())
        return 0;
    qint64 end = 0;
    for (int i = 0; i <= index; ++i)
        end += trackDurationMs(i);
    return end;
}

int DrawBarGraph::positionKind(qint64 ms) const
{
    const qint64 duration = durationMs();
    if (ms == 0)
        return duration > 0 ? StartPosition : EmptyPosition;
    if (ms == duration)
        return EndPosition;
    return m_marks.hasTrackAt(ms) ? MarkPosition : InsidePosition;
}

std::vector<qint64> DrawBarGraph::collectStops() const
{
    std::vector<qint64> stops;
    for (int i = 0; i < markCount(); ++i)
        stops.push_back(m_marks.trackStart(TrackGraphModel::DisplayList, i, 0) / SamplesPerMs);
    qint64 end = 0;
    for (int i = 0; i < trackCount(); ++i) {
        end += trackDurationMs(i);
        stops.push_back(end);
    }
    std::sort(stops.begin(), stops.end());
    return stops;
}

qint64 DrawBarGraph::previousStop(qint64 ms) const
{
    const std::vector<qint64> stops = collectStops();
    if (stops.empty())
        return 0;
    const auto below = std::lower_bound(stops.begin(), stops.end(), ms);
    return below == stops.begin() ? 0 : *(below - 1);
}

qint64 DrawBarGraph::nextStop(qint64 ms) const
{
    const std::vector<qint64> stops = collectStops();
    if (stops.empty())
        return 0;
    const auto above = std::upper_bound(stops.begin(), stops.end(), ms);
    return above == stops.end() ? stops.back() : *above;
}

int DrawBarGraph::stopCountUpTo(qint64 ms, qint64 offset) const
{
    const std::vector<qint64> stops = collectStops();
    return int(std::upper_bound(stops.begin(), stops.end(), ms + offset) - stops.begin());
}

std::string DrawBarGraph::currentFileName() const
{
    const TrackRecord *record = m_model.record(TrackGraphModel::DisplayList, 0);
    if (!m_singleFileMode || !record)
        return std::string();
    const std::size_t separator = record->bitmapPath.find_last_of("\\/");
    return separator == std::string::npos ? record->bitmapPath : record->bitmapPath.substr(separator + 1);
}

// The project's tracks laid end to end at the zoom, in display record 0 from pixel `first` of the project on, as far
// as the view reaches; one boundary record per track. Only what the view shows is built: the longest track alone is
// 2^31 pixels at 1 ms per pixel.
void DrawBarGraph::rebuildProjectDisplay(qint64 first)
{
    m_projectDisplayStale = false;
    m_displayWindow = first;
    m_displayFirst = std::max<qint64>(first, 0);
    m_projectWidth = 0;
    m_model.clearDisplayRecords();
    m_model.clearBoundaryRecords();
    // Tracks whose files are all missing have no content: the view shows nothing and the project no width. An
    // empty display record keeps the tracks (none would start afresh).
    bool anyEnvelope = false;
    for (int k = 0; k < trackCount() && !anyEnvelope; ++k) {
        const TrackRecord &track = *m_model.record(TrackGraphModel::TrackList, k);
        anyEnvelope = !track.upperValues.empty() || track.sharedIndex >= 0;
    }
    if (!anyEnvelope) {
        if (trackCount() > 0)
            m_model.appendRecord(TrackGraphModel::DisplayList);
        return;
    }
    TrackRecord &display = m_model.appendRecord(TrackGraphModel::DisplayList);
    display.upperValues.reserve(std::size_t(m_viewWidth));
    display.lowerValues.reserve(std::size_t(m_viewWidth));
    const qint64 last = first + m_viewWidth;
    const double factor = std::ldexp(1.0, m_model.zoom());
    qint64 offset = 0; // the track's first pixel in the project
    for (int k = 0; k < trackCount(); ++k) {
        const TrackRecord &track = *m_model.record(TrackGraphModel::TrackList, k);
        const qint64 width = m_model.trackWidth(TrackGraphModel::TrackList, k);
        m_model.appendRecord(TrackGraphModel::BoundaryList).start = width;
        const qint64 from = std::max(offset, m_displayFirst);
        const qint64 to = std::min(offset + width, last);
        if (from < to) {
            const TrackRecord *envelope = &track;
            if (const TrackRecord *shared = m_model.record(TrackGraphModel::TrackList, track.sharedIndex))
                envelope = shared;
            const qint64 entry
                = qRound64(double(TrackGraphModel::boundedPosition(track.start)) / SamplesPerMs / factor);
            const qint64 size = qint64(std::min(envelope->upperValues.size(), envelope->lowerValues.size()));
            for (qint64 j = entry + from - offset; j < entry + to - offset; ++j) {
                const bool inside = j >= 0 && j < size;
                display.upperValues.push_back(inside ? envelope->upperValues[std::size_t(j)] : 0);
                display.lowerValues.push_back(inside ? envelope->lowerValues[std::size_t(j)] : 0);
            }
        }
        offset += width;
    }
    m_projectWidth = offset;
}

void DrawBarGraph::paintEnvelope(QPainter &painter)
{
    m_hasContent = false;
    const QRect view(0, 0, m_viewWidth, m_viewHeight);
    const qint64 centre = scaled(double(m_cursorMs), m_model.zoom());
    const qint64 first = centre - m_viewWidth / 2;
    if (!m_singleFileMode && (m_projectDisplayStale || first != m_displayWindow))
        rebuildProjectDisplay(first);
    const TrackRecord *envelope = m_model.record(TrackGraphModel::DisplayList, 0);
    if (!envelope) {
        // An empty view starts afresh with the next content.
        const bool flag = m_model.channelFlag();
        m_model.resetModel();
        m_model.setChannelFlag(flag);
    }
    painter.fillRect(view, m_dimmed ? QColor(202, 202, 202) : QColor(Qt::white));
    if (!envelope || (m_singleFileMode ? envelope->upperValues.empty() : m_projectWidth <= 0))
        return;

    const int middle = m_viewHeight / 2;
    const qint64 entries = qint64(std::min(envelope->upperValues.size(), envelope->lowerValues.size()));
    // A file's envelope starts at its first pixel; a project's holds the pixels shown, from m_displayFirst on.
    const qint64 offset = m_singleFileMode ? 0 : m_displayFirst;
    const qint64 width = m_singleFileMode ? entries : m_projectWidth;
    // One-pixel rectangles cover exactly the pixels of one-pixel lines and dots, at a fraction of their cost.
    // The dots of the columns outside the content make at most two runs, one each side.
    QVector<QRect> lines;
    QVector<QRect> outside;
    lines.reserve(m_viewWidth);
    for (int x = 0; x < m_viewWidth; ++x) {
        const qint64 index = first + x;
        const qint64 entry = index - offset;
        if (index < 0 || index >= width || entry < 0 || entry >= entries) {
            if (!outside.isEmpty() && outside.last().right() == x - 1)
                outside.last().setRight(x);
            else
                outside.append(QRect(x, middle, 1, 1));
        } else {
            const int upper = int(envelope->upperValues[std::size_t(entry)]);
            const int lower = int(envelope->lowerValues[std::size_t(entry)]);
            lines.append(QRect(x, middle - upper, 1, upper + lower + 1));
        }
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::magenta);
    painter.drawRects(outside);
    painter.setBrush(Qt::black);
    painter.drawRects(lines);
    painter.setBrush(Qt::NoBrush);
    m_contentStartX = m_viewWidth / 2 - centre;
    m_hasContent = true;

    if (!m_singleFileMode) {
        QVector<QRect> boundaries;
        qint64 x = m_contentStartX;
        for (int i = 0; i < m_model.count(TrackGraphModel::BoundaryList) && x < m_viewWidth; ++i) {
            x += m_model.trackStart(TrackGraphModel::BoundaryList, i, 0);
            if (x >= 1 && x < m_viewWidth)
                boundaries.append(QRect(int(x), 0, 1, m_viewHeight + 1));
        }
        painter.setBrush(Qt::magenta);
        painter.drawRects(boundaries);
        painter.setBrush(Qt::NoBrush);
    }
}

void DrawBarGraph::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintEnvelope(painter);

    if (m_hasContent) {
        painter.setPen(QPen(Qt::blue, 5));
        const auto line = [&](qint64 x) { painter.drawLine(int(x) - 2, 0, int(x) - 2, m_viewHeight); };
        if (m_contentStartX >= 0 && m_contentStartX < m_viewWidth)
            line(m_contentStartX);
        const qint64 endX = m_contentStartX + scaled(double(durationMs()), m_model.zoom());
        if (endX >= 1 && endX <= m_viewWidth)
            line(endX);
        for (int i = 0; i < markCount(); ++i) {
            const double ms = double(m_marks.trackStart(TrackGraphModel::DisplayList, i, 0)) / SamplesPerMs;
            const qint64 x = m_contentStartX + scaled(ms, m_model.zoom());
            if (x >= 0 && x < m_viewWidth)
                line(x);
        }
    }

    painter.setPen(QPen(Qt::red, 5));
    painter.drawLine(m_viewWidth / 2 - 2, 0, m_viewWidth / 2 - 2, m_viewHeight);
}

void DrawBarGraph::mousePressEvent(QMouseEvent *event)
{
    emit sendCustomMessage_IsClic(m_graphId);
    event->accept();
}

void DrawBarGraph::wheelEvent(QWheelEvent *event)
{
    // Pixel deltas come from touchpads, which scroll rather than step.
    const QPoint degrees = event->angleDelta() / 8;
    const QPoint steps = degrees / 15;
    const int reported = event->pixelDelta().isNull() && !event->angleDelta().isNull() ? steps.y() : 0;
    emit sendCustomMessage_IsWheel(m_graphId, reported, int(TrackGraphModel::zoomFactor(m_model.zoom())));
    event->accept();
}
