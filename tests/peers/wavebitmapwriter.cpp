#include "tests/peers/wavebitmapwriter.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int SegmentCount = 15;

std::pair<quint8, quint8> flat(int, qint64, int channel)
{
    return {quint8(40 + 20 * channel), quint8(30 + 20 * channel)};
}

template<typename Sink>
void emitFile(const WaveBitmapContent &content, Sink &&sink)
{
    std::vector<quint32> lengths;
    for (int z = 0; z <= content.lastSegment && z < SegmentCount; ++z)
        lengths.push_back(quint32(content.entries(z) * 2 * content.channels));
    sink(waveBitmapHeader(content.channels, lengths));
    const WaveBitmapContent::Envelope envelope = content.envelope ? content.envelope : flat;
    QByteArray chunk;
    for (int z = 0; z < int(lengths.size()); ++z) {
        for (qint64 entry = 0; entry < content.entries(z); ++entry) {
            for (int channel = 0; channel < content.channels; ++channel) {
                const auto [upper, lower] = envelope(z, entry, channel);
                chunk.append(char(upper));
                chunk.append(char(lower));
            }
            if (chunk.size() >= 1 << 16) {
                sink(chunk);
                chunk.clear();
            }
        }
    }
    sink(chunk);
}

} // namespace

qint64 WaveBitmapContent::entries(int segment) const
{
    const qint64 perEntry = qint64(1) << segment;
    return (durationMs + perEntry - 1) / perEntry;
}

QByteArray waveBitmapHeader(int channels, const std::vector<quint32> &lengths)
{
    QByteArray header(100, '\0');
    qToBigEndian<quint16>(quint16(channels), header.data());
    for (std::size_t i = 0; i < lengths.size() && i < SegmentCount; ++i)
        qToBigEndian<quint32>(lengths[i], header.data() + 20 + 4 * i);
    return header;
}

QByteArray waveBitmapBytes(const WaveBitmapContent &content)
{
    QByteArray bytes;
    emitFile(content, [&](const QByteArray &part) { bytes += part; });
    return bytes;
}

bool writeWaveBitmap(const QString &path, const WaveBitmapContent &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    bool ok = true;
    emitFile(content, [&](const QByteArray &part) { ok = ok && file.write(part) == part.size(); });
    return ok;
}
