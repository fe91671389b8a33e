// Property: a wave-bitmap header and every segment index read from arbitrary bytes: the header reads exactly when
// its 80 bytes are there; a segment reads exactly when its index is 0..14 and its bytes lie inside the input,
// and then holds those bytes in order, completed with zeros to a whole entry.

#include "pages/wavebitmap.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        std::abort();
    WaveBitmap bitmap;
    if (bitmap.readHeader(buffer) != (size >= 80))
        std::abort();
    if (size < 80)
        return 0;
    if (bitmap.currentSegment() < 0 || bitmap.currentSegment() >= WaveBitmap::SegmentCount)
        std::abort();

    const std::uint64_t entryBytes = bitmap.isStereo() ? 4 : 2;
    std::uint64_t offset = WaveBitmap::HeaderSize;
    for (int index = -1; index <= WaveBitmap::SegmentCount; ++index) {
        const std::uint64_t length = bitmap.segmentLength(index);
        const bool fits = index >= 0 && index < WaveBitmap::SegmentCount && length > 0 && offset + length <= size;
        if (bitmap.readSegment(buffer, index) != fits)
            std::abort();
        if (fits) {
            const std::vector<quint32> &values = *bitmap.segmentValues(index);
            if (values.size() != (length + entryBytes - 1) / entryBytes * entryBytes)
                std::abort();
            for (std::size_t i = 0; i < values.size(); ++i) {
                if (values[i] != (i < length ? data[offset + i] : 0u))
                    std::abort();
            }
        }
        if (index >= 0)
            offset += length;
    }
    return 0;
}
