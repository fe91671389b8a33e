#pragma once

#include <QtGlobal>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QIODevice;

// Reads the device's wave-bitmap files: a big-endian header with fifteen segment byte lengths, then the
// segments one after the other from byte 100. Segment z holds one entry per 2^z ms; an entry is one pair
// (mono) or two pairs (stereo) of unsigned bytes: the extent above and below the centre line.
// Only reads; opens the file anew for each read.
class WaveBitmap final
{
public:
    enum Error {
        NoError = 0,
        CannotReadData = 1,
        InvalidHeader = 2,
        InvalidData = 3,
        CannotWriteBitmap = 4, // the device's code; the reader never raises it
    };

    static constexpr int HeaderSize = 100;
    static constexpr int SegmentCount = 15;

    WaveBitmap();

    void setFilePath(const char *path);
    const std::string &filePath() const { return m_filePath; }

    bool readHeader();
    bool readSegment(int index);
    // The same on an open device (what the file versions run after opening); for in-memory input.
    bool readHeader(QIODevice &device);
    bool readSegment(QIODevice &device, int index);

    // The last segment before the first empty one (0 when none is empty); an empty segment 0 keeps the earlier value.
    int currentSegment() const { return m_currentSegment; }
    bool isStereo() const { return m_channels == 2; }
    int channels() const { return m_channels; }
    // Header words 2 to 4 as read; their meaning is the device's.
    int headerWord(int n) const { return n >= 2 && n <= 4 ? m_headerWords[std::size_t(n - 2)] : 0; }
    quint32 segmentLength(int index) const;
    int filledSegments() const { return m_filledSegments; }
    // Null before the segment is read.
    const std::vector<quint32> *segmentValues(int index) const;

    void setError(int code);
    int errorCode() const { return m_errorCode; }
    const std::string &errorText() const { return m_errorText; }

private:
    bool fail(int code);

    int m_channels = 0;
    std::array<int, 3> m_headerWords {};
    std::array<quint32, SegmentCount> m_segmentLengths {};
    int m_filledSegments = 0; // counts over every header read
    int m_currentSegment = 0;
    std::string m_filePath;
    std::string m_errorText;
    int m_errorCode = NoError;
    std::array<std::unique_ptr<std::vector<quint32>>, SegmentCount> m_segments;
};
