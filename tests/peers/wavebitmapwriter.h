#pragma once

// Writes wave-bitmap files as the device makes them from a recording: a big-endian header (channel count, three
// words, twelve spare bytes, fifteen segment byte lengths, twenty spare bytes) and from byte 100 the segments
// one after the other; segment z holds one entry per 2^z ms, an entry is (upper, lower) per channel.

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

struct WaveBitmapContent
{
    using Envelope = std::function<std::pair<quint8, quint8>(int segment, qint64 entry, int channel)>;

    int channels = 1;
    qint64 durationMs = 0;
    int lastSegment = 0; // segments 0 to lastSegment hold entries; the later ones are empty
    Envelope envelope; // none: 40 above and 30 below on every entry, 20 more on the second channel

    qint64 entries(int segment) const;
};

// The first 100 bytes of a file with these segment lengths (missing ones are 0).
QByteArray waveBitmapHeader(int channels, const std::vector<quint32> &lengths);
QByteArray waveBitmapBytes(const WaveBitmapContent &content);
// Streams the file, so that hours of segment 0 need no buffer of their own.
bool writeWaveBitmap(const QString &path, const WaveBitmapContent &content);
