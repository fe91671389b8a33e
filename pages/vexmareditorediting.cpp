// The editor page's interactive side: the two views and which of them is active, the cursor, cutting a piece of
// the source into the project, separators and marks, deleting a selection, zoom, speed, and playback on the
// device with a local clock that moves the cursor.

#include "pages/vexmareditorpage.h"

#include "device/accessors.h"
#include "pages/drawbargraph.h"
#include "pages/recordermodel.h"
#include "pages/vexmareditorimages.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace I = EditorImages;

namespace {

constexpr int playTickMs = 100;

std::string decimal(qint64 value)
{
    return QByteArray::number(value).toStdString();
}

} // namespace

QString QVexmarEditorPage::sourceTimeText(qint64 ms)
{
    const long long t = std::max<qint64>(ms, 0);
    return QString::asprintf("%02lld:%02lld:%03lld", t / 60000, t / 1000 % 60, t % 1000);
}

QString QVexmarEditorPage::projectTimeText(qint64 ms)
{
    const long long t = std::max<qint64>(ms, 0);
    return QString::asprintf("%02lld:%02lld:%02lld:%03lld", t / 3600000, t / 60000 % 60, t / 1000 % 60, t % 1000);
}

DrawBarGraph *QVexmarEditorPage::activeGraph() const
{
    return m_sourceView ? graphSource : graphProject;
}

qint64 QVexmarEditorPage::toSamples(qint64 ms)
{
    return qBound(qint64(0), ms, TrackGraphModel::MaxProjectMs) * SamplesPerMs;
}

qint64 QVexmarEditorPage::sourceLength() const
{
    return graphSource->durationMs();
}

qint64 QVexmarEditorPage::projectLength() const
{
    return graphProject->durationMs();
}

// ---------------------------------------------------------------------------------------------------------------
// Views and buttons

void QVexmarEditorPage::updateButtonState(qint64 ms, bool forSourceView)
{
    setButtonState(forSourceView == m_sourceView ? activeGraph()->positionKind(ms) : DrawBarGraph::InsidePosition);
}

void QVexmarEditorPage::setButtonState(int state)
{
    const bool source = m_sourceView;
    switch (state) {
    case DrawBarGraph::InsidePosition:
        Look::setImages({{btn_Add, source ? I::goWhite : I::goGrey}, {btn_AddMark, I::markWhite},
            {btn_DelMark, source ? I::deleteGrey : I::deleteWhite}, {btn_previous, I::previousWhite},
            {btn_Next, I::nextWhite}});
        return;
    case DrawBarGraph::StartPosition:
    case DrawBarGraph::EmptyPosition:
    case DrawBarGraph::EndPosition:
    case DrawBarGraph::MarkPosition: {
        const bool atStart = state == DrawBarGraph::StartPosition || state == DrawBarGraph::EmptyPosition;
        const bool atEnd = state == DrawBarGraph::EmptyPosition || state == DrawBarGraph::EndPosition;
        Look::setImages({{btn_Add, I::goGrey}, {btn_AddMark, I::markGrey},
            {btn_DelMark, state == DrawBarGraph::MarkPosition ? I::deleteWhite : I::deleteGrey},
            {btn_previous, atStart ? I::previousGrey : I::previousWhite},
            {btn_Next, atEnd ? I::nextGrey : I::nextWhite}});
        return;
    }
    default:
        Look::setImages({{btn_previous, I::previousWhite}, {btn_Next, I::nextWhite}});
        return;
    }
}

void QVexmarEditorPage::setZoomIcons(const DrawBarGraph *graph)
{
    const bool content = graph->durationMs() > 0;
    const bool widest = graph == graphSource ? graph->isAtMaxZoom() : graph->isAtMaxTrackZoom();
    Look::setImage(btn_ZoomIn, content && !graph->isAtMinZoom() ? I::zoomInWhite : I::zoomInGrey);
    Look::setImage(btn_ZoomOut, content && !widest ? I::zoomOutWhite : I::zoomOutGrey);
}

void QVexmarEditorPage::showSourceView()
{
    m_sourceView = true;
    graphSource->clearDimmed();
    graphProject->setDimmed();
    setZoomIcons(graphSource);
    if (sourceLength() > 0) {
        Look::setImage(btn_Play, I::playWhite);
        updateButtonState(m_sourceCursor, true);
    } else {
        setButtonState(DrawBarGraph::EmptyPosition);
        Look::setImage(btn_Play, I::playGrey);
    }
    m_saveEnabled = false;
    Look::setImages({{btn_Save, I::saveGrey}, {btn_Trash, I::trashDisable}, {btn_Open, I::openWhite}});
    const bool stereo = graphSource->model().isStereo(TrackGraphModel::DisplayList, 0);
    setChannelSwitch(stereo, stereo && !graphSource->isFirstChannelSelected());
}

void QVexmarEditorPage::showProjectView()
{
    m_sourceView = false;
    graphSource->setDimmed();
    graphProject->clearDimmed();
    setZoomIcons(graphProject);
    if (graphProject->trackCount() == 0) {
        setButtonState(DrawBarGraph::EmptyPosition);
        Look::setImages({{btn_Play, I::playGrey}, {btn_Trash, I::trashDisable}});
    } else {
        Look::setImages({{btn_Play, I::playWhite}, {btn_Trash, I::trashWhite}});
        updateButtonState(m_projectCursor, false);
    }
    m_saveEnabled = projectLength() >= 1;
    Look::setImages(
        {{btn_Save, m_saveEnabled ? I::saveWhite : I::saveGrey}, {btn_Add, I::goGrey}, {btn_Open, I::openGrey}});
    setChannelSwitch(false, switchChan->isChecked());
}

void QVexmarEditorPage::receiveCustomMessage_ChildIsClic(int graphId)
{
    m_userStop = true;
    stopPlayback();
    if (graphId == SourceGraph && !m_sourceView)
        showSourceView();
    else if (graphId != SourceGraph && m_sourceView)
        showProjectView();
    knob->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------------------------
// The cursor

void QVexmarEditorPage::slot_knobChanged(int delta)
{
    receiveCustomMessage_ChildIsWheeled(
        m_sourceView ? SourceGraph : ProjectGraph, delta, int(activeGraph()->currentZoomFactor()));
}

void QVexmarEditorPage::receiveCustomMessage_ChildIsWheeled(int graphId, int delta, int factor)
{
    if (m_requestOut) {
        m_userStop = true;
        stopPlayback();
        return;
    }
    // Only the active view's cursor moves.
    if ((graphId == SourceGraph) == m_sourceView)
        placeCursor(m_sourceView, (m_sourceView ? m_sourceCursor : m_projectCursor) + qint64(delta) * factor * m_speed);
}

void QVexmarEditorPage::placeCursor(bool source, qint64 ms)
{
    if (source) {
        m_sourceCursor = m_sourcePlayStart = std::clamp(ms, qint64(0), sourceLength());
        setSourcePosition(m_sourceCursor);
        updateButtonState(m_sourceCursor, true);
        graphSource->update();
    } else {
        m_projectCursor = m_projectPlayStart = std::clamp(ms, qint64(0), projectLength());
        setProjectPosition(m_projectCursor);
        updateButtonState(m_projectCursor, false);
        graphProject->update();
    }
}

void QVexmarEditorPage::setSourcePosition(qint64 ms)
{
    lbl_SourceCursor->setText(sourceTimeText(ms));
    graphSource->setCursorPosition(ms);
    if (ms == sourceLength()) {
        m_userStop = true;
        stopPlayback();
    }
}

void QVexmarEditorPage::setProjectPosition(qint64 ms)
{
    lbl_ProjectCursor->setText(projectTimeText(ms));
    graphProject->setCursorPosition(ms);
    if (ms == projectLength()) {
        m_userStop = true;
        stopPlayback();
    }
}

void QVexmarEditorPage::sourcePiece(qint64 ms, qint64 &start, qint64 &end) const
{
    const qint64 at = toSamples(ms);
    start = 0;
    end = toSamples(sourceLength());
    for (const ProjectElement &separator : elements(SeparatorElements)) {
        bool ok = false;
        const qint64 position = QByteArray::fromStdString(separator.startValue).toLongLong(&ok, 10);
        if (!ok)
            continue;
        if (position < at)
            start = std::max(start, position);
        else if (position > at)
            end = std::min(end, position);
    }
}

void QVexmarEditorPage::slot_onClicked_btn_previous()
{
    moveToStop(false);
}

void QVexmarEditorPage::slot_onClicked_btn_Next()
{
    moveToStop(true);
}

void QVexmarEditorPage::moveToStop(bool forward)
{
    m_userStop = true;
    stopPlayback();
    if (m_sourceView) {
        qint64 start = 0;
        qint64 end = 0;
        sourcePiece(m_sourceCursor, start, end);
        placeCursor(true, (forward ? end : start) / SamplesPerMs);
    } else {
        placeCursor(
            false, forward ? graphProject->nextStop(m_projectCursor) : graphProject->previousStop(m_projectCursor));
    }
}

void QVexmarEditorPage::slot_onClicked_btn_Step()
{
    m_speed = m_speed == 1 ? 4 : m_speed == 4 ? 16 : 1;
    Look::setImage(btn_Step, m_speed == 1 ? I::speed1 : m_speed == 4 ? I::speed4 : I::speed16);
}

void QVexmarEditorPage::slot_onClicked_btn_ZoomIn()
{
    DrawBarGraph *graph = activeGraph();
    if (graph->durationMs() > 0 && !graph->isAtMinZoom())
        graph->zoomDown();
    setZoomIcons(graph);
}

void QVexmarEditorPage::slot_onClicked_btn_ZoomOut()
{
    DrawBarGraph *graph = activeGraph();
    const bool widest = graph == graphSource ? graph->isAtMaxZoom() : graph->isAtMaxTrackZoom();
    if (graph->durationMs() > 0 && !widest)
        graph->zoomUp();
    setZoomIcons(graph);
}

void QVexmarEditorPage::slot_switchChanClicked()
{
    m_userStop = true;
    stopPlayback();
    if (!graphSource->model().isStereo(TrackGraphModel::DisplayList, 0))
        return;
    graphSource->selectFirstChannel(!switchChan->isChecked());
    graphSource->reload();
}

// ---------------------------------------------------------------------------------------------------------------
// Editing

void QVexmarEditorPage::slot_onClicked_btn_Add()
{
    m_userStop = true;
    stopPlayback();
    if (!m_sourceView || m_sourceFile.empty() || sourceLength() <= 0)
        return;
    qint64 start = 0;
    qint64 end = 0;
    sourcePiece(m_sourceCursor, start, end);
    ProjectElement track;
    track.flag = 1;
    track.source = m_sourceFile;
    track.waveMap = m_waveMap;
    track.channel = graphSource->isFirstChannelSelected() ? "0" : "1";
    track.startValue = decimal(start);
    track.endValue = decimal(end);
    track.startValueH = sourceTimeText(start / SamplesPerMs).toStdString();
    track.endValueH = sourceTimeText(end / SamplesPerMs).toStdString();
    const qint64 before = projectLength();
    loadSettings();
    if (!getDevice()->projectAddTrack(mountPoint(), projectName(), m_projectFile, track))
        return;
    reloadElements(true, TrackElements);
    m_projectCursor = m_projectPlayStart = std::clamp(before, qint64(0), projectLength());
    setProjectPosition(m_projectCursor);
    graphProject->setZoom(graphSource->zoom());
    graphProject->update();
    lbl_ProjectLength->setText(projectTimeText(projectLength()));
}

void QVexmarEditorPage::slot_onClicked_btn_AddMark()
{
    if (m_sourceView) {
        if (m_sourceFile.empty())
            return;
        qint64 ms = m_sourceCursor;
        qint64 samples = toSamples(ms);
        // While the source plays, the device knows best where it is in the file, as long as that is in one.
        const std::uint64_t playing = m_sourcePlaying ? m_recorder->setMark() : 0;
        if (playing > 0 && playing <= std::uint64_t(TrackGraphModel::MaxTrackSamples)) {
            samples = qint64(playing);
            ms = samples / SamplesPerMs;
        }
        addSeparator(samples, ms);
        reloadElements(false, SeparatorElements);
        graphSource->update();
        updateButtonState(m_sourceCursor, true);
    } else {
        // The device's position is one in the file of the track playing, so the project's own cursor counts.
        if (projectLength() <= 0)
            return;
        addMark(toSamples(m_projectCursor), m_projectCursor);
        reloadElements(false, MarkElements);
        graphProject->update();
        updateButtonState(m_projectCursor, false);
    }
}

void QVexmarEditorPage::slot_onClicked_btn_DelMark()
{
    DrawBarGraph *graph = activeGraph();
    const qint64 cursor = m_sourceView ? m_sourceCursor : m_projectCursor;
    const int state = graph->positionKind(cursor);
    if (state == DrawBarGraph::MarkPosition) {
        const int index = graph->markNumberAt(cursor);
        loadSettings();
        if (m_sourceView)
            m_recorder->removeSeparator(m_projectFile, index);
        else
            m_recorder->removeMark(m_projectFile, index);
        reloadElements(false, m_sourceView ? SeparatorElements : MarkElements);
        graph->update();
        updateButtonState(cursor, m_sourceView);
    } else if (state == DrawBarGraph::InsidePosition && !m_sourceView) {
        askToConfirm(tr("Delete this selection."), &QVexmarEditorPage::slot_popupClosed_DeleteSelection);
    }
}

void QVexmarEditorPage::slot_popupClosed_DeleteSelection()
{
    auto *confirm = qobject_cast<QVexmarConfirmAction *>(sender());
    if (confirm && !confirm->isCancelled())
        deleteSelection();
}

int QVexmarEditorPage::trackAt(qint64 ms) const
{
    for (int i = 0; i < graphProject->trackCount(); ++i) {
        if (graphProject->trackEndMs(i) > ms)
            return i;
    }
    return -1;
}

qint64 QVexmarEditorPage::trackStartMs(int index) const
{
    return index <= 0 ? 0 : graphProject->trackEndMs(index - 1);
}

void QVexmarEditorPage::deleteSelection()
{
    qint64 cursor = m_projectPlaying ? clockPosition(false) : m_projectCursor;
    const qint64 length = projectLength();
    if (cursor <= 0 || cursor >= length)
        return;
    const int track = trackAt(cursor);
    const int index = track < 0 ? 1 : track + 1;
    const qint64 offset = track < 0 ? 0 : trackStartMs(track);
    qint64 from = graphProject->previousStop(cursor);
    qint64 to = graphProject->nextStop(cursor);
    // The device cuts one track at a time: a stop of a neighbouring track bounds nothing here.
    if (track >= 0) {
        from = std::max(from, offset);
        to = std::min(to, graphProject->trackEndMs(track));
    }
    loadSettings();
    m_recorder->deleteTrack(m_projectFile, std::uint64_t(toSamples(from - offset)),
        std::uint64_t(toSamples(to - offset)), index, std::uint64_t(toSamples(from)), std::uint64_t(toSamples(to)),
        std::uint64_t(toSamples(length)));
    reloadElements(false, TrackElements);
    reloadElements(false, MarkElements);
    cursor = std::clamp(cursor, qint64(0), projectLength());
    m_projectCursor = cursor;
    if (m_idle)
        m_projectPlayStart = cursor;
    graphProject->setCursorPosition(cursor);
    graphProject->reload();
    lbl_ProjectCursor->setText(projectTimeText(cursor));
    lbl_ProjectLength->setText(projectTimeText(projectLength()));
    graphProject->update();
}

// ---------------------------------------------------------------------------------------------------------------
// Playback

void QVexmarEditorPage::slot_onClicked_btn_Play()
{
    if (!m_idle) {
        m_userStop = true;
        stopPlayback();
    } else if (m_sourceView) {
        if (m_sourceFile.empty() || sourceLength() <= 0)
            return;
        beginPlayback();
    } else {
        if (projectLength() <= 0)
            return;
        int track = trackAt(m_projectCursor);
        if (track < 0) {
            // At the end: the last track from its end, which plays nothing and stops at once.
            track = graphProject->trackCount() - 1;
            m_pendingStart = graphProject->trackDurationMs(track);
        } else {
            m_pendingStart = m_projectCursor - trackStartMs(track);
        }
        graphProject->setCurrentTrack(track);
        beginPlayback();
    }
    knob->setChecked(true);
    knob->setFocus(Qt::OtherFocusReason);
}

void QVexmarEditorPage::beginPlayback()
{
    if (m_requestOut) {
        m_requestOut = false;
        getDevice()->playbackStop();
    }
    m_idle = false;
    m_sourcePlaying = m_sourceView;
    m_projectPlaying = !m_sourceView;
    m_userStop = false;
    startPlayback();
    startPlayTimer();
}

void QVexmarEditorPage::startPlayback()
{
    std::string file;
    bool stereo = false;
    bool left = true;
    qint64 start = 0;
    qint64 end = 0;
    if (m_sourceView) {
        file = m_sourceFile;
        stereo = graphSource->model().isStereo(TrackGraphModel::DisplayList, 0);
        left = graphSource->isFirstChannelSelected();
        start = toSamples(m_sourcePlayStart);
        end = toSamples(sourceLength());
    } else {
        const TrackRecord *track
            = graphProject->model().record(TrackGraphModel::TrackList, graphProject->currentTrack());
        if (track) {
            file = track->name;
            stereo = track->stereo;
            left = !stereo || track->channelSelectB == 0;
            start = toSamples(m_pendingStart) + TrackGraphModel::boundedPosition(track->start);
            end = TrackGraphModel::boundedPosition(track->end);
        }
        m_pendingStart = 0;
    }
    loadSettings();
    m_recorder->playEditorFile(file, "wav", stereo ? "stereo" : "mono", left ? "left" : "right",
        QByteArray::number(start).toStdString(), QByteArray::number(end).toStdString());
    m_requestOut = true;
}

void QVexmarEditorPage::startPlayTimer()
{
    Look::setImage(btn_Play, I::stopWhite);
    m_elapsed = std::make_unique<QElapsedTimer>();
    m_elapsed->start();
    delete m_playTimer;
    m_playTimer = new QTimer(this);
    m_playTimer->setObjectName(QStringLiteral("editorPlayTimer"));
    m_playTimer->setTimerType(Qt::PreciseTimer);
    m_playTimer->setInterval(playTickMs);
    connect(m_playTimer, &QTimer::timeout, this, &QVexmarEditorPage::slot_PlayTimerTicks);
    m_playTimer->start();
    slot_PlayTimerTicks();
}

qint64 QVexmarEditorPage::clockPosition(bool source) const
{
    const qint64 elapsed = m_elapsed ? m_elapsed->elapsed() : 0;
    if (source)
        return std::clamp(m_sourcePlayStart + elapsed, qint64(0), sourceLength());
    return std::clamp(m_projectPlayStart + elapsed, qint64(0), projectLength());
}

void QVexmarEditorPage::continueWithNextTrack(qint64 &position)
{
    const int track = graphProject->currentTrack();
    if (track + 1 >= graphProject->trackCount() || position < graphProject->trackEndMs(track))
        return;
    // The device stopped at the track's end mark; the next track goes on from its start, and the clock with it.
    const qint64 end = graphProject->trackEndMs(track);
    graphProject->setCurrentTrack(track + 1);
    m_projectPlayStart = position = end;
    m_elapsed->restart();
    m_pendingStart = 0;
    if (m_requestOut) {
        m_requestOut = false;
        getDevice()->playbackStop();
    }
    startPlayback();
}

void QVexmarEditorPage::slot_PlayTimerTicks()
{
    if (!m_elapsed)
        return;
    if (!m_sourceView && m_projectPlaying) {
        qint64 position = clockPosition(false);
        continueWithNextTrack(position);
        m_projectCursor = position;
        setProjectPosition(position);
        updateButtonState(m_projectCursor, false);
        graphProject->update();
    } else if (m_sourceView && m_sourcePlaying) {
        m_sourceCursor = clockPosition(true);
        setSourcePosition(m_sourceCursor);
        updateButtonState(m_sourceCursor, true);
        graphSource->update();
    }
}

// The cursor stays where the clock got to, and a later Play goes on from there.
void QVexmarEditorPage::stopPlayback()
{
    if (m_idle && !m_requestOut)
        return;
    const bool source = m_sourcePlaying;
    const bool project = m_projectPlaying;
    const qint64 reached = source ? clockPosition(true) : project ? clockPosition(false) : 0;
    const bool sendStop = m_requestOut;
    m_requestOut = false;
    m_sourcePlaying = false;
    m_projectPlaying = false;
    m_idle = true;
    if (m_playTimer)
        m_playTimer->stop();
    Look::setImage(btn_Play, I::playWhite);
    if (m_elapsed) {
        m_elapsed.reset();
        if (source || project)
            placeCursor(source, reached);
    }
    if (sendStop)
        getDevice()->playbackStop();
}
