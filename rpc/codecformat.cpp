#include "rpc/codecformat.h"

#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <array>
#include <list>

namespace {

using namespace kra;

const std::array<const std::string *, 29> algorithms = {&CODEC_PCMA, &CODEC_PCMU, &CODEC_G711, &CODEC_G722,
    &CODEC_G722_SRT, &CODEC_G722_H242, &CODEC_G722_H221, &CODEC_4SB, &CODEC_MPA2, &CODEC_MPA2P, &CODEC_TDAC,
    &CODEC_TDAC_G722, &CODEC_G722_TDAC, &CODEC_CELP, &CODEC_AAC_LBR, &CODEC_AAC_HE, &CODEC_AAC_HEV2, &CODEC_GSM,
    &CODEC_PHONE, &CODEC_OPUS, &CODEC_L16, &CODEC_L20, &CODEC_L24, &CODEC_AAC_LBR_LOAS, &CODEC_AAC_HE_LOAS,
    &CODEC_AAC_HEV2_LOAS, &CODEC_MPA3, &CODEC_AAC_LD, &CODEC_AAC_ELD};

const std::array<const std::string *, 4> channelModes = {&CHMODE_MONO, &CHMODE_DMONO, &CHMODE_STEREO, &CHMODE_JSTEREO};

enum Algorithm { G722H221 = 6, Mpa2 = 8, Mpa2P = 9, Tdac = 10, TdacG722 = 11, G722Tdac = 12, Celp = 13 };

// Algorithms written with rate, mode and bit rate; CELP only when it carries its option value.
bool hasFullForm(const CodecFormat &format)
{
    switch (format.algorithm) {
    case 7:
    case Mpa2:
    case Mpa2P:
    case 14:
    case 15:
    case 16:
        return true;
    case Celp:
        return format.fec >= 0;
    default:
        return format.algorithm >= 19 && format.algorithm <= 28;
    }
}

} // namespace

int codecAlgorithmFromString(const std::string &keyword)
{
    for (size_t i = 0; i < algorithms.size(); ++i) {
        if (*algorithms[i] == keyword)
            return int(i);
    }
    return -1;
}

const std::string &codecAlgorithmToString(int algorithm)
{
    if (algorithm < 0 || algorithm >= int(algorithms.size()))
        return EMPTY_WORD;
    return *algorithms[size_t(algorithm)];
}

int channelModeFromString(const std::string &keyword)
{
    for (size_t i = 0; i < channelModes.size(); ++i) {
        if (*channelModes[i] == keyword)
            return int(i);
    }
    return -1;
}

const std::string &channelModeToString(int mode)
{
    if (mode < 0 || mode >= int(channelModes.size()))
        return EMPTY_WORD;
    return *channelModes[size_t(mode)];
}

CodecFormat parseCodecFormat(const std::string &text)
{
    CodecFormat format;
    format.channelMode = 0;
    std::list<std::string> fields;
    if (kra::splitStringToList(text, fields, "/") == 0)
        return format;
    auto field = fields.begin();
    format.algorithm = codecAlgorithmFromString(*field);
    if (format.algorithm >= 0 && format.algorithm <= G722H221) {
        format.sampleRate = 48000;
        format.bitRate = 64000;
    } else if (format.algorithm == Tdac) {
        format.sampleRate = 32000;
        format.bitRate = 64000;
    } else if (format.algorithm == TdacG722 || format.algorithm == G722Tdac) {
        format.bitRate = 64000;
    } else if (format.algorithm == Celp) {
        format.sampleRate = 16000;
        format.bitRate = 24000;
    }
    if (fields.size() < 4 || format.algorithm < 0)
        return format;
    format.sampleRate = int(stringToLong(*++field));
    format.channelMode = channelModeFromString(*++field);
    format.bitRate = int(stringToLong(*++field));
    if (++field != fields.end())
        format.fec = format.algorithm == Celp ? stringToShort(field->substr(1)) : stringToShort(*field);
    return format;
}

std::string CodecFormat::codecFormatToString(const CodecFormat &format)
{
    std::string out = codecAlgorithmToString(format.algorithm);
    if (out.empty())
        return out;
    if (hasFullForm(format)) {
        out += '/';
        out += longToString(format.sampleRate);
        out += '/';
        out += channelModeToString(format.channelMode);
        out += '/';
        out += longToString(format.bitRate);
    }
    if (format.algorithm == Mpa2) {
        out += '/';
        out += longToString(int(format.fec));
    } else if (format.algorithm == Celp && format.fec >= 0) {
        // Without an option value CELP is the bare keyword; "CELP/P-1" would be no codec text at all.
        out += "/P";
        out += longToString(int(format.fec));
    } else if (format.algorithm == Mpa2P && format.fec >= 1) {
        out += '/';
        out += longToString(int(format.fec));
    }
    return out;
}
