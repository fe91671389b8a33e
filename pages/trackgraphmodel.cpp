#include "pages/trackgraphmodel.h"

#include "pages/wavebitmap.h"

#include <algorithm>
#include <cmath>

void TrackRecord::clear()
{
    *this = TrackRecord();
}

TrackGraphModel::TrackGraphModel()
{
    resetModel();
}

int TrackGraphModel::count(List list) const
{
    return int(m_lists[list].size());
}

TrackRecord *TrackGraphModel::record(List list, int index)
{
    return index >= 0 && index < count(list) ? m_lists[list][std::size_t(index)].get() : nullptr;
}

const TrackRecord *TrackGraphModel::record(List list, int index) const
{
    return index >= 0 && index < count(list) ? m_lists[list][std::size_t(index)].get() : nullptr;
}

TrackRecord &TrackGraphModel::appendRecord(List list)
{
    m_lists[list].push_back(std::make_unique<TrackRecord>());
    return *m_lists[list].back();
}

void TrackGraphModel::setTrackRange(List list, int index, qint64 start, qint64 end, int channelSelectB)
{
    if (TrackRecord *r = record(list, index)) {
        r->start = start;
        r->end = end;
        r->channelSelectB = channelSelectB;
    }
}

void TrackGraphModel::setTrackName(List list, int index, const std::string &name)
{
    if (TrackRecord *r = record(list, index))
        r->name = name;
}

void TrackGraphModel::setBitmapPath(List list, int index, const std::string &path)
{
    if (TrackRecord *r = record(list, index))
        r->bitmapPath = path;
}

quint32 TrackGraphModel::upperValue(List list, int recordIndex, int index) const
{
    const TrackRecord *r = record(list, recordIndex);
    return r && index >= 0 && std::size_t(index) < r->upperValues.size() ? r->upperValues[std::size_t(index)] : 0;
}

quint32 TrackGraphModel::lowerValue(List list, int recordIndex, int index) const
{
    const TrackRecord *r = record(list, recordIndex);
    return r && index >= 0 && std::size_t(index) < r->lowerValues.size() ? r->lowerValues[std::size_t(index)] : 0;
}

void TrackGraphModel::addUpperValue(List list, int recordIndex, quint32 value)
{
    if (TrackRecord *r = record(list, recordIndex))
        r->upperValues.push_back(value);
}

void TrackGraphModel::addLowerValue(List list, int recordIndex, quint32 value)
{
    if (TrackRecord *r = record(list, recordIndex))
        r->lowerValues.push_back(value);
}

qint64 TrackGraphModel::trackStart(List list, int index, qint64 fallback) const
{
    const TrackRecord *r = record(list, index);
    return r ? r->start : fallback;
}

qint64 TrackGraphModel::trackEnd(List list, int index, qint64 fallback) const
{
    const TrackRecord *r = record(list, index);
    return r ? r->end : fallback;
}

bool TrackGraphModel::isStereo(List list, int index) const
{
    const TrackRecord *r = record(list, index);
    return r && r->stereo;
}

int TrackGraphModel::channelSelect(List list, int index) const
{
    const TrackRecord *r = record(list, index);
    return r ? (m_channelFlag ? r->channelSelectB : r->channelSelectA) : 0;
}

void TrackGraphModel::setChannelSelect(List list, int index, int select)
{
    if (TrackRecord *r = record(list, index))
        (m_channelFlag ? r->channelSelectB : r->channelSelectA) = select;
}

void TrackGraphModel::resetModel()
{
    for (auto &list : m_lists)
        list.clear();
    m_channelFlag = true;
    m_currentIndex = 0;
    m_zoom = 0;
    m_zoomMove = ZoomToFileSegment;
    m_minimumPixels = 0;
    m_entriesLoaded = 0;
    m_folderPrefix.clear();
}

void TrackGraphModel::loadDisplayRecord(int index)
{
    load(DisplayList, index);
}

void TrackGraphModel::loadTrackRecord(int index)
{
    load(TrackList, index);
}

std::string TrackGraphModel::filePath(const std::string &bitmapPath) const
{
    if (m_folderPrefix.empty())
        return bitmapPath;
    const char last = m_folderPrefix.back();
    return last == '/' || last == '\\' ? m_folderPrefix + bitmapPath : m_folderPrefix + '/' + bitmapPath;
}

void TrackGraphModel::load(List list, int index)
{
    TrackRecord *r = record(list, index);
    if (!r) {
        const bool flag = m_channelFlag;
        resetModel();
        m_channelFlag = flag;
        return;
    }
    // Whatever happens below, no envelope of an earlier zoom stays to be drawn at this one.
    r->upperValues.clear();
    r->lowerValues.clear();
    r->sharedIndex = -1;
    if (r->bitmapPath.empty())
        return;

    WaveBitmap bitmap;
    bitmap.setFilePath(filePath(r->bitmapPath).c_str());
    if (!bitmap.readHeader())
        return;
    r->fileSegment = bitmap.currentSegment();
    const int entryLength = bitmap.isStereo() ? 4 : 2;
    r->fileDurationMs = qint64(bitmap.segmentLength(0) / quint32(entryLength));

    switch (m_zoomMove) {
    case ZoomUp:
        if (m_zoom < r->fileSegment)
            ++m_zoom;
        break;
    case ZoomDown:
        if (m_zoom > 0)
            --m_zoom;
        break;
    case ZoomToFinest:
        m_zoom = 0;
        break;
    case ZoomKeep:
        break;
    default:
        m_zoom = r->fileSegment;
        break;
    }
    m_zoomMove = ZoomKeep;

    r->stereo = bitmap.isStereo();
    if (!r->stereo)
        r->channelSelectA = 0;
    if (!bitmap.readSegment(m_zoom))
        return;
    const std::vector<quint32> &values = *bitmap.segmentValues(m_zoom);
    if (values.empty())
        return;

    int select = m_channelFlag ? r->channelSelectB : r->channelSelectA;
    if (list == TrackList) {
        // Select B decides a track's channel; select A records it for finding a track of the same file and
        // channel, whatever the channel flag.
        select = r->channelSelectB;
        r->channelSelectA = r->stereo && r->channelSelectB != 0 ? 1 : 0;
        r->sharedIndex = findTrackByPath(index, r->channelSelectA, r->bitmapPath);
        if (r->sharedIndex >= 0)
            return;
    }

    const std::size_t channelOffset = r->stereo && select != 0 ? 2 : 0;
    const std::size_t walk
        = std::max(values.size(), std::size_t(std::max(m_minimumPixels, 0)) * std::size_t(entryLength));
    r->upperValues.reserve(walk / std::size_t(entryLength));
    r->lowerValues.reserve(walk / std::size_t(entryLength));
    m_entriesLoaded = 0;
    for (std::size_t i = 0; i < walk; i += std::size_t(entryLength)) {
        if (i < values.size()) {
            r->upperValues.push_back(values[i + channelOffset]);
            r->lowerValues.push_back(values[i + channelOffset + 1]);
            ++m_entriesLoaded;
        } else {
            r->upperValues.push_back(0);
            r->lowerValues.push_back(0);
        }
    }
}

int TrackGraphModel::findTrackByPath(int count, int channel, const std::string &path) const
{
    const int limit = std::min(count, this->count(TrackList));
    for (int i = 0; i < limit; ++i) {
        const TrackRecord &r = *m_lists[TrackList][std::size_t(i)];
        if (r.bitmapPath == path && r.channelSelectA == channel)
            return i;
    }
    return -1;
}

// Bounded positions keep a width within 2^31 pixels, so that a sum of as many as an int counts stays below 2^62.
qint64 TrackGraphModel::trackWidth(List list, int index) const
{
    const TrackRecord *r = record(list, index);
    if (!r)
        return 0;
    const qint64 start = boundedPosition(r->start);
    const qint64 end = boundedPosition(r->end);
    return end > start ? qRound64(double(end - start) / SamplesPerMs / std::ldexp(1.0, m_zoom)) : 0;
}

qint64 TrackGraphModel::totalWidth() const
{
    return widthBefore(count(DisplayList));
}

qint64 TrackGraphModel::widthBefore(int count) const
{
    qint64 width = 0;
    for (int i = 0; i < std::min(count, this->count(DisplayList)); ++i)
        width += trackWidth(DisplayList, i);
    return width;
}

int TrackGraphModel::maxFileSegment(List list) const
{
    int segment = 0;
    for (const auto &r : m_lists[list])
        segment = std::max(segment, r->fileSegment);
    return segment;
}

int TrackGraphModel::trackNumberAt(qint64 ms) const
{
    if (ms < 0 || ms > MaxProjectMs)
        return -1;
    for (int i = 0; i < count(DisplayList); ++i) {
        if (m_lists[DisplayList][std::size_t(i)]->start == ms * SamplesPerMs)
            return i + 1;
    }
    return -1;
}

int TrackGraphModel::zoomForSeconds(qint64 seconds)
{
    for (int level = 14; level >= 3; --level) {
        if (seconds > (qint64(1) << (level - 1)))
            return level;
    }
    if (seconds >= 3)
        return 2;
    return seconds == 2 ? 1 : 0;
}

qint64 TrackGraphModel::zoomFactor(int zoom)
{
    return zoom >= 1 && zoom <= 17 ? qint64(1) << zoom : 1;
}
