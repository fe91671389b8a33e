#include "pages/wavebitmap.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int FixedHeaderBytes = 20;
constexpr qint64 ChunkBytes = 64 * 1024;

bool readExactly(QIODevice &device, char *data, qint64 size)
{
    return device.read(data, size) == size;
}

} // namespace

WaveBitmap::WaveBitmap()
{
    setError(NoError);
}

void WaveBitmap::setFilePath(const char *path)
{
    m_filePath = path ? path : "";
}

bool WaveBitmap::readHeader()
{
    QFile file(QFile::decodeName(m_filePath.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        return fail(CannotReadData);
    return readHeader(file);
}

bool WaveBitmap::readHeader(QIODevice &device)
{
    if (!device.isSequential() && !device.seek(0))
        return fail(CannotReadData);
    uchar fixed[FixedHeaderBytes];
    if (!readExactly(device, reinterpret_cast<char *>(fixed), FixedHeaderBytes))
        return fail(InvalidHeader);
    uchar lengthBytes[SegmentCount * 4];
    if (!readExactly(device, reinterpret_cast<char *>(lengthBytes), sizeof lengthBytes))
        return fail(InvalidHeader);

    m_channels = qFromBigEndian<quint16>(fixed);
    for (std::size_t i = 0; i < m_headerWords.size(); ++i)
        m_headerWords[i] = qFromBigEndian<quint16>(fixed + 2 * (i + 1));
    for (int i = 0; i < SegmentCount; ++i) {
        m_segmentLengths[std::size_t(i)] = qFromBigEndian<quint32>(lengthBytes + 4 * i);
        if (m_segmentLengths[std::size_t(i)] != 0)
            ++m_filledSegments;
    }
    // An empty first segment says nothing about the file: the previous choice stands.
    if (m_segmentLengths[0] != 0) {
        m_currentSegment = 0;
        for (int i = 1; i < SegmentCount; ++i) {
            if (m_segmentLengths[std::size_t(i)] == 0) {
                m_currentSegment = i - 1;
                break;
            }
        }
    }
    return true;
}

bool WaveBitmap::readSegment(int index)
{
    if (index < 0 || index >= SegmentCount || m_segmentLengths[std::size_t(index)] == 0)
        return fail(InvalidData);
    QFile file(QFile::decodeName(m_filePath.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        return fail(CannotReadData);
    return readSegment(file, index);
}

bool WaveBitmap::readSegment(QIODevice &device, int index)
{
    if (index < 0 || index >= SegmentCount)
        return fail(InvalidData);
    const quint64 length = m_segmentLengths[std::size_t(index)];
    if (length == 0)
        return fail(InvalidData);
    quint64 offset = HeaderSize;
    for (int i = 0; i < index; ++i)
        offset += m_segmentLengths[std::size_t(i)];
    const qint64 size = device.size();
    if (size < 0 || offset + length > quint64(size) || !device.seek(qint64(offset)))
        return fail(InvalidData);

    // A short tail entry is completed with zeros.
    const quint64 entryBytes = isStereo() ? 4 : 2;
    auto values = std::make_unique<std::vector<quint32>>();
    values->reserve(std::size_t((length + entryBytes - 1) / entryBytes * entryBytes));
    std::vector<uchar> chunk(std::size_t(qMin<quint64>(quint64(ChunkBytes), length)));
    for (quint64 done = 0; done < length;) {
        const qint64 want = qint64(qMin<quint64>(chunk.size(), length - done));
        if (!readExactly(device, reinterpret_cast<char *>(chunk.data()), want))
            return fail(InvalidData);
        values->insert(values->end(), chunk.begin(), chunk.begin() + want);
        done += quint64(want);
    }
    values->resize(values->size() + std::size_t((entryBytes - length % entryBytes) % entryBytes), 0);
    m_segments[std::size_t(index)] = std::move(values);
    return true;
}

quint32 WaveBitmap::segmentLength(int index) const
{
    return index >= 0 && index < SegmentCount ? m_segmentLengths[std::size_t(index)] : 0;
}

const std::vector<quint32> *WaveBitmap::segmentValues(int index) const
{
    return index >= 0 && index < SegmentCount ? m_segments[std::size_t(index)].get() : nullptr;
}

void WaveBitmap::setError(int code)
{
    m_errorCode = code;
    switch (code) {
    case NoError:
        m_errorText = "WaveBitmap: No error";
        break;
    case CannotReadData:
        m_errorText = "WaveBitmap: cannot read wave data";
        break;
    case InvalidHeader:
        m_errorText = "WaveBitmap: cannot read wave header or invalid format";
        break;
    case InvalidData:
        m_errorText = "WaveBitmap: invalid data";
        break;
    case CannotWriteBitmap:
        m_errorText = "WaveBitmap: cannot write bitmap of wave";
        break;
    default:
        m_errorText = "WaveBitmap: error 42";
        break;
    }
}

bool WaveBitmap::fail(int code)
{
    setError(code);
    return false;
}
