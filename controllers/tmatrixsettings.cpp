#include "controllers/tmatrixsettings.h"

#include "controllers/taudiosettings.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <QScopedValueRollback>

#include <algorithm>

using QVexmar::Inputs;
using QVexmar::Outputs;

namespace {

constexpr int requestTimeoutMs = 5000;

constexpr int PairCount = 3;
constexpr int FirstPairOutput = 6;
constexpr int LastPairOutput = 11;
constexpr int MasterOutputs = 5; // outputs 0 to 4
constexpr int FirstMaskOutput = 12;
constexpr int LastMaskOutput = 23;
constexpr int FirstRecordOutput = 24;
constexpr int LastRecordOutput = 25;
constexpr int MaskInputs = 29; // inputs 0 to 28
constexpr int FirstRecordInput = 19;
constexpr int HeadphoneInputs = 30; // inputs 0 to 29
constexpr int UngainedEntries = 4; // inputs 0 to 3 carry no gain bits
constexpr int MaxPosition = 12;
constexpr int CentrePosition = 6;

// The balance sources: the sent (group A, even) and received (group B, odd) signals of the two streams and the
// voice call, by their left and right inputs.
constexpr int SourceCount = 6;
constexpr int sourceLeft[SourceCount] = {24, 20, 26, 22, 28, 19};
constexpr int sourceRight[SourceCount] = {25, 21, 27, 23, 28, 19};
// Per position: the gain of group A, then of group B, in dB.
constexpr float balanceTable[MaxPosition + 1][2] = {{-160, 0}, {-30, -1}, {-24, -2}, {-18, -3}, {-14, -4}, {-10, -5},
    {-6, -6}, {-5, -10}, {-4, -14}, {-3, -18}, {-2, -24}, {-1, -30}, {0, -160}};

bool isPairOutput(int ou)
{
    return ou >= FirstPairOutput && ou <= LastPairOutput;
}

int pairOf(int ou)
{
    return (ou - FirstPairOutput) / 2;
}

int leftOf(int pair)
{
    return FirstPairOutput + 2 * pair;
}

bool validInput(int in)
{
    return in >= QVexmar::FirstInput && in <= QVexmar::LastInput;
}

bool validOutput(int ou)
{
    return ou >= QVexmar::FirstOutput && ou <= QVexmar::LastOutput;
}

quint32 gainBits(float dB)
{
    return dB == TMatrixSettings::MutedGain ? 0u : quint32(int(dB) + 32) & 0x3Fu;
}

float gainFromBits(quint32 bits)
{
    bits &= 0x3Fu;
    return bits == 0 ? TMatrixSettings::MutedGain : float(int(bits) - 32);
}

int masterShift(int ou)
{
    return ou <= 1 ? 0 : ou <= 3 ? 8 : 16;
}

float masterGainOf(quint32 word, int ou)
{
    return float(int((word >> masterShift(ou)) & 0xFFu) - 128);
}

quint32 hexValue(const std::string &text, size_t digits)
{
    return quint32(hexStringToULong(text.substr(0, digits)));
}

std::string hexText(quint32 value, int digits)
{
    return ulongToHexString(value, digits);
}

std::string mixText(const TMatrixSettings::HeadphoneMix &mix)
{
    std::string text;
    for (int in = 0; in < HeadphoneInputs; ++in)
        text += hexText(mix.bytes[size_t(in)], 2);
    return text;
}

std::string numberedKey(const std::string &stem, int number)
{
    return stem + longToString(number);
}

} // namespace

TMatrixSettings::TMatrixSettings(kra::CCom *com) : TComAudioTargetController(com, Generic)
{
    qRegisterMetaType<QVexmar::Inputs>();
    qRegisterMetaType<QVexmar::Outputs>();
    qRegisterMetaType<MatrixOpts>("TMatrixSettings::MatrixOpts");

    const bool wasBlocked = blockSignals(true);
    for (int ou = 6; ou <= 13; ++ou)
        setOutputGain(Outputs(ou), MutedGain);
    const std::pair<int, int> defaultNodes[] = {{24, 29}, {25, 30}, {26, 31}, {27, 32}, {28, 28}, {30, 26}, {31, 27}};
    for (const auto &[in, ou] : defaultNodes)
        switchNode(in, ou, true, true);
    blockSignals(wasBlocked);
}

const TMatrixSettings::Node &TMatrixSettings::node(Inputs in, Outputs ou) const
{
    static const Node none;
    return validInput(in) && validOutput(ou) ? m_nodes[size_t(in)][size_t(ou)] : none;
}

float TMatrixSettings::inputGain(Inputs in) const
{
    return validInput(in) ? m_inputGains[size_t(in)] : 0.0f;
}

QString TMatrixSettings::inputName(Inputs in) const
{
    return validInput(in) ? m_inputNames[size_t(in)] : QString();
}

float TMatrixSettings::outputGain(Outputs ou) const
{
    return validOutput(ou) ? m_outputGains[size_t(ou)] : 0.0f;
}

const TMatrixSettings::InputEntry &TMatrixSettings::inputEntry(Inputs in) const
{
    static const InputEntry none;
    return in >= 0 && in < EntryCount ? m_entries[size_t(in)] : none;
}

quint32 TMatrixSettings::outputMask(Outputs ou) const
{
    if (ou >= FirstMaskOutput && ou <= LastMaskOutput)
        return m_outputMasks[size_t(ou - FirstMaskOutput)];
    if (ou >= FirstRecordOutput && ou <= LastRecordOutput)
        return m_recordMasks[size_t(ou - FirstRecordOutput)];
    return 0;
}

TMatrixSettings::HeadphoneMix TMatrixSettings::headphoneMix(Outputs ou) const
{
    return isPairOutput(ou) ? m_headphones[size_t(pairOf(ou))] : HeadphoneMix();
}

quint16 TMatrixSettings::outputBalance(Outputs ou) const
{
    return isPairOutput(ou) ? m_balances[size_t(pairOf(ou))] : quint16(CentrePosition);
}

bool TMatrixSettings::storeKey(const std::string &key, const std::string &text, bool send)
{
    if (!send || m_quiet > 0 || state() != Loaded)
        return true;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    request.setParam(key, text);
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

// Packing

quint16 TMatrixSettings::buildEntry(int in) const
{
    quint32 word = in < UngainedEntries ? 32u : gainBits(m_inputGains[size_t(in)]);
    for (int ou = 0; ou < MasterOutputs; ++ou) {
        if (m_nodes[size_t(in)][size_t(ou)].on())
            word |= 1u << (6 + ou);
    }
    return quint16(word);
}

quint32 TMatrixSettings::buildMask(int ou) const
{
    quint32 mask = 0;
    for (int in = ou >= FirstRecordOutput ? FirstRecordInput : 0; in < MaskInputs; ++in) {
        if (m_nodes[size_t(in)][size_t(ou)].on())
            mask |= 1u << in;
    }
    return mask;
}

quint8 TMatrixSettings::buildHeadphoneByte(int pair, int in) const
{
    const Node &left = m_nodes[size_t(in)][size_t(leftOf(pair))];
    const Node &right = m_nodes[size_t(in)][size_t(leftOf(pair) + 1)];
    return quint8(gainBits(left.gain) | (left.on() ? 0x40u : 0u) | (right.on() ? 0x80u : 0u));
}

quint16 TMatrixSettings::buildBalanceRouting(int pair) const
{
    quint32 word = m_balances[size_t(pair)] & 0xFu;
    for (int i = 0; i < SourceCount; ++i) {
        if (m_nodes[size_t(sourceLeft[i])][size_t(leftOf(pair))].on())
            word |= 1u << (4 + i);
        if (m_nodes[size_t(sourceRight[i])][size_t(leftOf(pair) + 1)].on())
            word |= 1u << (10 + i);
    }
    return quint16(word);
}

// Refreshing a packed parameter from the nodes: written only when it changed and its family is not being
// applied; a refused write leaves the held value as the device has it.

bool TMatrixSettings::refreshEntry(int in, bool send)
{
    InputEntry &entry = m_entries[size_t(in)];
    const quint16 word = buildEntry(in);
    if (word == entry.config || m_entryBusy)
        return true;
    const QScopedValueRollback<bool> busy(m_entryBusy, true);
    if (!storeKey(numberedKey(KEY_MATRIX_IN, in + 1), hexText(word, 4) + "," + entry.name, send))
        return false;
    entry.config = word;
    return true;
}

bool TMatrixSettings::refreshMask(int ou, bool send)
{
    const bool record = ou >= FirstRecordOutput;
    quint32 &held
        = record ? m_recordMasks[size_t(ou - FirstRecordOutput)] : m_outputMasks[size_t(ou - FirstMaskOutput)];
    bool &familyBusy = record ? m_recordBusy : m_maskBusy;
    const quint32 mask = buildMask(ou);
    if (mask == held || familyBusy)
        return true;
    const QScopedValueRollback<bool> busy(familyBusy, true);
    const std::string key
        = record ? numberedKey(KEY_MATRIX_REC, ou - FirstRecordOutput + 1) : numberedKey(KEY_MATRIX_OU, ou + 1);
    if (!storeKey(key, hexText(mask, 8), send))
        return false;
    held = mask;
    return true;
}

bool TMatrixSettings::refreshHeadphoneByte(int pair, int in, bool send)
{
    HeadphoneMix &mix = m_headphones[size_t(pair)];
    const quint8 byte = buildHeadphoneByte(pair, in);
    if (byte == mix.bytes[size_t(in)])
        return true;
    // An open batch or an applied block: the byte is kept, the block goes out later or not at all.
    if (m_headphoneBusy) {
        mix.bytes[size_t(in)] = byte;
        return true;
    }
    HeadphoneMix next = mix;
    next.bytes[size_t(in)] = byte;
    const QScopedValueRollback<bool> busy(m_headphoneBusy, true);
    if (!storeKey(numberedKey(KEY_MATRIX_HP, pair + 1), mixText(next), send))
        return false;
    mix = next;
    return true;
}

bool TMatrixSettings::refreshBalance(int pair, bool send)
{
    quint16 &word = m_balances[size_t(pair)];
    const quint16 routing = buildBalanceRouting(pair);
    if (routing == word || m_balanceBusy)
        return true;
    const QScopedValueRollback<bool> busy(m_balanceBusy, true);
    const quint16 old = word;
    word = routing;
    applyBalanceGains(pair);
    if (storeKey(numberedKey(KEY_MATRIX_BA, pair + 1), hexText(word, 4), send))
        return true;
    word = old;
    applyBalanceGains(pair);
    return false;
}

bool TMatrixSettings::refreshNode(int in, int ou, bool send)
{
    if (ou < MasterOutputs)
        return in < EntryCount ? refreshEntry(in, send) : true;
    if (ou >= FirstMaskOutput && ou <= LastMaskOutput)
        return in < MaskInputs ? refreshMask(ou, send) : true;
    if (ou >= FirstRecordOutput && ou <= LastRecordOutput)
        return refreshMask(ou, send);
    if (!isPairOutput(ou))
        return true;
    if (headphoneMode())
        return in < HeadphoneInputs ? refreshHeadphoneByte(pairOf(ou), in, send) : true;
    return in >= FirstRecordInput && in < MaskInputs ? refreshBalance(pairOf(ou), send) : true;
}

// Nodes and gains

void TMatrixSettings::switchNode(int in, int ou, bool on, bool send)
{
    Node &node = nodeAt(in, ou);
    if (node.on() == on)
        return;
    const quint32 old = node.flags;
    node.flags = on ? old | 1u : old & ~1u;
    if (!m_suspended && !refreshNode(in, ou, send))
        node.flags = old;
    emit nodeChanged(Inputs(in), Outputs(ou));
}

void TMatrixSettings::changeNodeGain(int in, int ou, float dB, bool send)
{
    Node &node = nodeAt(in, ou);
    if (node.gain == dB)
        return;
    const float old = node.gain;
    node.gain = dB;
    if (!m_suspended && headphoneMode() && isPairOutput(ou) && in < HeadphoneInputs
        && !refreshHeadphoneByte(pairOf(ou), in, send))
        node.gain = old;
    emit nodeChanged(Inputs(in), Outputs(ou));
}

void TMatrixSettings::setNode(Inputs in, Outputs ou, bool on)
{
    if (validInput(in) && validOutput(ou))
        switchNode(in, ou, on, true);
}

void TMatrixSettings::setNodeGain(Inputs in, Outputs ou, float dB)
{
    if (validInput(in) && validOutput(ou))
        changeNodeGain(in, ou, dB, true);
}

TMatrixSettings::HeadphoneMix TMatrixSettings::beginHeadphoneMixChange(Outputs ou)
{
    if (!isPairOutput(ou))
        return HeadphoneMix();
    m_headphoneBusy = true;
    return m_headphones[size_t(pairOf(ou))];
}

bool TMatrixSettings::commitHeadphoneMixChange(Outputs ou, const HeadphoneMix &before)
{
    if (!isPairOutput(ou) || !m_headphoneBusy)
        return true;
    const int pair = pairOf(ou);
    bool stored = true;
    if (m_headphones[size_t(pair)] != before && state() == Loaded) {
        stored = storeKey(numberedKey(KEY_MATRIX_HP, pair + 1), mixText(m_headphones[size_t(pair)]), true);
        // Back to what the device still has, nodes included.
        if (!stored && headphoneMode())
            applyHeadphoneMix(pair, before);
        if (!stored)
            m_headphones[size_t(pair)] = before;
    }
    m_headphoneBusy = false;
    return stored;
}

void TMatrixSettings::setInputGain(Inputs in, float dB)
{
    if (!validInput(in) || m_inputGains[size_t(in)] == dB)
        return;
    const float old = m_inputGains[size_t(in)];
    m_inputGains[size_t(in)] = dB;
    if (in < EntryCount && !refreshEntry(in, true))
        m_inputGains[size_t(in)] = old;
    emit inputGainChanged(in);
}

void TMatrixSettings::setOutputGain(Outputs ou, float dB)
{
    if (!validOutput(ou) || m_outputGains[size_t(ou)] == dB)
        return;
    const float old = m_outputGains[size_t(ou)];
    m_outputGains[size_t(ou)] = dB;
    if (ou < MasterOutputs) {
        const int shift = masterShift(ou);
        const quint32 word = (m_masterGains & ~(0xFFu << shift)) | ((quint32(int(dB) + 128) & 0xFFu) << shift);
        if (!setMasterGains(word, true))
            m_outputGains[size_t(ou)] = old;
    }
    emit outputGainChanged(ou);
}

bool TMatrixSettings::setMasterGains(quint32 word, bool send)
{
    if (word == m_masterGains)
        return true;
    if (!storeKey(KEY_MATRIX_MGN, hexText(word, 8), send))
        return false;
    m_masterGains = word;
    for (int ou = 0; ou < MasterOutputs; ++ou)
        setOutputGain(Outputs(ou), masterGainOf(word, ou));
    return true;
}

bool TMatrixSettings::setOutputBalance(Outputs ou, int position, bool send)
{
    if (!isPairOutput(ou) || position < 0 || position > MaxPosition)
        return true;
    const int pair = pairOf(ou);
    quint16 &word = m_balances[size_t(pair)];
    if ((word & 0xFu) == quint16(position))
        return true;
    const quint16 old = word;
    word = quint16((word & ~0xFu) | quint32(position));
    bool stored = true;
    if (!headphoneMode() && !m_balanceBusy) {
        const QScopedValueRollback<bool> busy(m_balanceBusy, true);
        applyBalanceGains(pair);
        stored = storeKey(numberedKey(KEY_MATRIX_BA, pair + 1), hexText(word, 4), send);
        if (!stored) {
            word = old;
            applyBalanceGains(pair);
        }
    }
    emit outputBalanceChanged(Outputs(leftOf(pair)));
    return stored;
}

bool TMatrixSettings::setMatrixOptions(const MatrixOpts &opts, bool send)
{
    if (opts == m_options)
        return true;
    if (!storeKey(KEY_MATRIX_OPT, hexText(opts, 8), send))
        return false;
    const MatrixOpts old = m_options;
    const bool wasMixes = old & HeadphoneMixes;
    const bool mixes = opts & HeadphoneMixes;
    if (wasMixes && !mixes) {
        // Every headphone node off, the held blocks kept for a later switch back.
        const QScopedValueRollback<bool> suspended(m_suspended, true);
        for (int pair = 0; pair < PairCount; ++pair)
            applyHeadphoneMix(pair, HeadphoneMix());
    }
    m_options = opts;
    if (wasMixes != mixes) {
        for (int pair = 0; pair < PairCount; ++pair) {
            if (mixes)
                applyHeadphoneMix(pair, m_headphones[size_t(pair)]);
            else
                applyBalanceWord(pair);
        }
    }
    emit matrixOptionsChanged(old);
    return true;
}

// Applying packed values to the nodes

void TMatrixSettings::applyEntry(int in, const InputEntry &entry)
{
    m_entries[size_t(in)] = entry;
    if (m_entryBusy)
        return;
    const QScopedValueRollback<bool> busy(m_entryBusy, true);
    for (int ou = 0; ou < MasterOutputs; ++ou)
        switchNode(in, ou, entry.config & (1u << (6 + ou)), false);
    if (in >= UngainedEntries)
        setInputGain(Inputs(in), gainFromBits(entry.config));
}

void TMatrixSettings::applyMask(int ou, quint32 mask)
{
    const bool record = ou >= FirstRecordOutput;
    (record ? m_recordMasks[size_t(ou - FirstRecordOutput)] : m_outputMasks[size_t(ou - FirstMaskOutput)]) = mask;
    const QScopedValueRollback<bool> busy(record ? m_recordBusy : m_maskBusy, true);
    for (int in = 0; in < MaskInputs; ++in)
        switchNode(in, ou, mask & (1u << in), false);
}

void TMatrixSettings::applyHeadphoneByte(int pair, int in, quint8 byte)
{
    const int left = leftOf(pair);
    const float gain = gainFromBits(byte);
    changeNodeGain(in, left, gain, false);
    changeNodeGain(in, left + 1, gain, false);
    switchNode(in, left, byte & 0x40u, false);
    switchNode(in, left + 1, byte & 0x80u, false);
}

void TMatrixSettings::applyHeadphoneMix(int pair, HeadphoneMix mix)
{
    const QScopedValueRollback<bool> busy(m_headphoneBusy, true);
    for (int in = 0; in < HeadphoneInputs; ++in)
        applyHeadphoneByte(pair, in, mix.bytes[size_t(in)]);
}

void TMatrixSettings::receiveHeadphoneMix(int pair, const HeadphoneMix &mix)
{
    HeadphoneMix &held = m_headphones[size_t(pair)];
    const QScopedValueRollback<bool> busy(m_headphoneBusy, true);
    for (int in = 0; in < HeadphoneInputs; ++in) {
        const quint8 byte = mix.bytes[size_t(in)];
        if (byte == held.bytes[size_t(in)])
            continue;
        held.bytes[size_t(in)] = byte;
        if (headphoneMode())
            applyHeadphoneByte(pair, in, byte);
    }
}

void TMatrixSettings::applyBalanceGains(int pair)
{
    const quint32 word = m_balances[size_t(pair)];
    const float *gains = balanceTable[std::min<quint32>(word & 0xFu, MaxPosition)];
    const int left = leftOf(pair);
    for (int i = 0; i < SourceCount; ++i) {
        const float gain = gains[i % 2];
        changeNodeGain(sourceLeft[i], left, word & (1u << (4 + i)) ? gain : 0.0f, false);
        changeNodeGain(sourceRight[i], left + 1, word & (1u << (10 + i)) ? gain : 0.0f, false);
    }
}

void TMatrixSettings::applyBalanceWord(int pair)
{
    const QScopedValueRollback<bool> busy(m_balanceBusy, true);
    const quint32 word = m_balances[size_t(pair)];
    const int left = leftOf(pair);
    for (int i = 0; i < SourceCount; ++i) {
        switchNode(sourceLeft[i], left, word & (1u << (4 + i)), false);
        switchNode(sourceRight[i], left + 1, word & (1u << (10 + i)), false);
    }
    applyBalanceGains(pair);
}

void TMatrixSettings::receiveBalanceWord(int pair, quint16 word)
{
    if ((word & 0xFu) > MaxPosition)
        word = quint16((word & ~0xFu) | MaxPosition);
    m_balances[size_t(pair)] = word;
    if (headphoneMode())
        return;
    applyBalanceWord(pair);
    emit outputBalanceChanged(Outputs(leftOf(pair)));
}

void TMatrixSettings::applyParam(const std::string &key, const std::string &text)
{
    if (key == KEY_MATRIX_OPT) {
        if (text.size() >= 8)
            setMatrixOptions(hexValue(text, 8), false);
        return;
    }
    if (key == KEY_MATRIX_MGN) {
        if (text.size() >= 8)
            setMasterGains(hexValue(text, 8), false);
        return;
    }
    const std::string *const stems[]
        = {&KEY_MATRIX_IN, &KEY_MATRIX_OU, &KEY_MATRIX_HP, &KEY_MATRIX_BA, &KEY_MATRIX_REC};
    const auto stem = std::find_if(std::begin(stems), std::end(stems),
        [&key](const std::string *s) { return key.compare(0, s->size(), *s) == 0; });
    if (stem == std::end(stems))
        return;
    const int index = stringToInt(key.substr((*stem)->size())) - 1;
    if (*stem == &KEY_MATRIX_IN) {
        const size_t comma = text.find(',');
        if (index < 0 || index >= EntryCount || comma == std::string::npos || comma < 4)
            return;
        InputEntry entry;
        entry.config = quint16(hexValue(text, 4));
        entry.name = text.substr(comma + 1);
        applyEntry(index, entry);
    } else if (*stem == &KEY_MATRIX_OU) {
        if (index >= FirstMaskOutput && index <= LastMaskOutput && text.size() >= 8)
            applyMask(index, hexValue(text, 8));
    } else if (*stem == &KEY_MATRIX_HP) {
        if (index < 0 || index >= PairCount || text.size() < 2 * HeadphoneInputs)
            return;
        HeadphoneMix mix;
        for (int in = 0; in < HeadphoneInputs; ++in)
            mix.bytes[size_t(in)] = quint8(hexValue(text.substr(size_t(2 * in)), 2));
        receiveHeadphoneMix(index, mix);
    } else if (*stem == &KEY_MATRIX_BA) {
        if (index >= 0 && index < PairCount && text.size() >= 4)
            receiveBalanceWord(index, quint16(hexValue(text, 4)));
    } else if (index >= 0 && index <= 1 && text.size() >= 8) {
        applyMask(FirstRecordOutput + index, hexValue(text, 8));
    }
}

void TMatrixSettings::applyParams(const std::map<std::string, std::string> &params)
{
    // What the device holds is never written back to it.
    ++m_quiet;
    for (const auto &[key, value] : params)
        applyParam(key, value);
    --m_quiet;
}

// The controller contract

void TMatrixSettings::reset()
{
    rpc().unsubscribe(kra::EVT_AUDIO_CHANGESET);
    const bool wasBlocked = blockSignals(true);
    // Clearing the model must not clear the device, even while the link is still up.
    ++m_quiet;
    applyParam(KEY_MATRIX_OPT, "00000000");
    applyParam(KEY_MATRIX_MGN, "80808080");
    for (int in = 0; in < EntryCount; ++in)
        applyEntry(in, InputEntry());
    // The analog inputs' attenuation lives only here: a new session starts it at 0 dB, not at the last device's.
    for (int in = 0; in < UngainedEntries; ++in)
        m_inputGains[size_t(in)] = 0.0f;
    for (int ou = FirstMaskOutput; ou <= LastMaskOutput; ++ou)
        applyMask(ou, 0);
    for (int pair = 0; pair < PairCount; ++pair)
        receiveHeadphoneMix(pair, HeadphoneMix());
    --m_quiet;
    blockSignals(wasBlocked);
    TComController::reset();
}

bool TMatrixSettings::fetchAll()
{
    std::vector<std::string> names;
    for (int n = 1; n <= EntryCount; ++n)
        names.push_back(numberedKey(KEY_MATRIX_IN, n));
    for (int ou = FirstMaskOutput; ou <= LastMaskOutput; ++ou)
        names.push_back(numberedKey(KEY_MATRIX_OU, ou + 1));
    for (int n = 1; n <= PairCount; ++n) {
        names.push_back(numberedKey(KEY_MATRIX_HP, n));
        names.push_back(numberedKey(KEY_MATRIX_BA, n));
    }
    names.push_back(KEY_MATRIX_OPT);
    names.push_back(KEY_MATRIX_MGN);
    if (!fetch(names))
        return false;
    return fetch({numberedKey(KEY_MATRIX_REC, 1), numberedKey(KEY_MATRIX_REC, 2)});
}
