#pragma once

// One codec setting and its text form algorithm[/samplerate/mode/bitrate[/fec]].

#include <string>

struct CodecFormat
{
    int algorithm = -1; // 0..28, -1 none
    int sampleRate = -1; // Hz, -1 none
    int channelMode = -1; // 0 mono, 1 dmono, 2 stereo, 3 jstereo, -1 unknown
    int bitRate = -1; // bit/s, -1 none
    short fec = -1; // error correction or option value of the algorithm, -1 none

    static std::string codecFormatToString(const CodecFormat &format);

    friend bool operator==(const CodecFormat &a, const CodecFormat &b)
    {
        return a.algorithm == b.algorithm && a.sampleRate == b.sampleRate && a.channelMode == b.channelMode
            && a.bitRate == b.bitRate && a.fec == b.fec;
    }
    friend bool operator!=(const CodecFormat &a, const CodecFormat &b) { return !(a == b); }
};

CodecFormat parseCodecFormat(const std::string &text);

int codecAlgorithmFromString(const std::string &keyword);
const std::string &codecAlgorithmToString(int algorithm);
int channelModeFromString(const std::string &keyword);
const std::string &channelModeToString(int mode);
