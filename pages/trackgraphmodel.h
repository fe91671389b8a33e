#pragma once

#include <QtGlobal>

#include <memory>
#include <string>
#include <vector>

// One track of a project, or one recording: its slice of a source recording in samples (48 per ms) and the
// envelope read from the recording's wave-bitmap file.
struct TrackRecord
{
    std::vector<quint32> upperValues; // extent above the centre line, one per entry
    std::vector<quint32> lowerValues; // extent below
    std::string name;
    std::string bitmapPath; // relative to the model's folder prefix
    bool stereo = false;
    // Non-zero: the second channel of a stereo file. The model's channel flag picks which select applies.
    int channelSelectA = 0;
    int channelSelectB = 0;
    int fileSegment = 0; // the file's current segment at the last load
    qint64 start = 0;
    qint64 end = 0;
    qint64 fileDurationMs = 0; // entries of the file's segment 0, one per ms
    int sharedIndex = -1; // an earlier track record holding this track's envelope; -1: its own

    void clear();
};

// What the waveform view shows: display records (drawn), track records (a project's tracks), boundary records
// (one per track, its start holding the track's width in pixels), and the zoom: level z is 2^z ms per pixel and
// the segment of the wave-bitmap files that is read.
class TrackGraphModel final
{
public:
    enum List { DisplayList, TrackList, BoundaryList };
    // How the next load moves the zoom.
    enum ZoomMove { ZoomToFileSegment = 0, ZoomDown = 1, ZoomUp = 2, ZoomToFinest = 3, ZoomKeep = 4 };
    static constexpr int SamplesPerMs = 48;
    // A track, recording or separator lies within 2^31 ms (24.8 days): far past the longest file the device
    // writes (a WAV file holds 12.4 hours of 48 kHz mono), and short enough that a sum of as many tracks as an int
    // counts stays below 2^62 ms.
    static constexpr qint64 MaxTrackSamples = (qint64(1) << 31) * SamplesPerMs;
    // The most tracks, marks or separators a project holds here; the marks lie within as many longest tracks.
    static constexpr int MaxElements = 1000;
    static constexpr qint64 MaxProjectSamples = MaxTrackSamples * MaxElements;
    static constexpr qint64 MaxProjectMs = MaxProjectSamples / SamplesPerMs;

    TrackGraphModel();

    static qint64 boundedPosition(qint64 samples) { return qBound(qint64(0), samples, MaxTrackSamples); }

    // Records
    int count(List list) const;
    TrackRecord *record(List list, int index);
    const TrackRecord *record(List list, int index) const;
    TrackRecord &appendRecord(List list);
    void clearDisplayRecords() { m_lists[DisplayList].clear(); }
    void clearTrackRecords() { m_lists[TrackList].clear(); }
    void clearBoundaryRecords() { m_lists[BoundaryList].clear(); }
    void setTrackRange(List list, int index, qint64 start, qint64 end, int channelSelectB);
    void setTrackName(List list, int index, const std::string &name);
    void setBitmapPath(List list, int index, const std::string &path);
    quint32 upperValue(List list, int recordIndex, int index) const;
    quint32 lowerValue(List list, int recordIndex, int index) const;
    void addUpperValue(List list, int recordIndex, quint32 value);
    void addLowerValue(List list, int recordIndex, quint32 value);
    qint64 trackStart(List list, int index, qint64 fallback) const;
    qint64 trackEnd(List list, int index, qint64 fallback) const;
    bool isStereo(List list, int index) const;
    // The select that applies by the channel flag: non-zero means the second channel.
    int channelSelect(List list, int index) const;
    void setChannelSelect(List list, int index, int select);

    // State
    int zoom() const { return m_zoom; }
    void setZoom(int zoom) { m_zoom = zoom; }
    int zoomMove() const { return m_zoomMove; }
    void setZoomMove(ZoomMove move) { m_zoomMove = move; }
    int currentIndex() const { return m_currentIndex; }
    void setCurrentIndex(int index) { m_currentIndex = index; }
    int minimumPixels() const { return m_minimumPixels; }
    void setMinimumPixels(int pixels) { m_minimumPixels = pixels; }
    bool channelFlag() const { return m_channelFlag; }
    void setChannelFlag(bool flag) { m_channelFlag = flag; }
    const std::string &folderPrefix() const { return m_folderPrefix; }
    void setFolderPrefix(const std::string &prefix) { m_folderPrefix = prefix; }
    // Entries taken from the file at the last load (padding excluded).
    qint64 entriesLoaded() const { return m_entriesLoaded; }

    void resetModel();

    // Read a record's envelope from its bitmap file at the zoom, after moving the zoom by the zoom move.
    void loadDisplayRecord(int index);
    void loadTrackRecord(int index);
    int findTrackByPath(int count, int channel, const std::string &path) const;
    // The file a record's bitmap path names: the folder prefix joined with it.
    std::string filePath(const std::string &bitmapPath) const;

    qint64 trackWidth(List list, int index) const;
    qint64 totalWidth() const;
    qint64 widthBefore(int count) const;
    int maxFileSegment(List list) const;
    bool hasTrackAt(qint64 ms) const { return trackNumberAt(ms) > 0; }
    int trackNumberAt(qint64 ms) const;

    static int zoomForSeconds(qint64 seconds);
    static qint64 zoomFactor(int zoom);
    static qint64 toPixels(qint64 value, int zoom) { return value / zoomFactor(zoom); }

private:
    void load(List list, int index);

    std::vector<std::unique_ptr<TrackRecord>> m_lists[3];
    int m_currentIndex = 0;
    int m_zoom = 0;
    int m_zoomMove = ZoomToFileSegment;
    int m_minimumPixels = 0;
    qint64 m_entriesLoaded = 0;
    bool m_channelFlag = true;
    std::string m_folderPrefix;
};
