#pragma once

// The device's routing matrix on the target "audio": 32 inputs by 34 outputs of nodes (on, gain in dB), input
// and output gains, and the packed parameters the device keeps them in. A change of a node or gain repacks and
// writes the one parameter that carries it; values from the device are unpacked into the nodes without being
// written back. A write the device refuses puts back what it changed.

#include "controllers/tcomcontroller.h"
#include "controllers/vexmarmatrixindex.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <map>
#include <string>
#include <vector>

class TMatrixSettings final : public TComAudioTargetController
{
    Q_OBJECT
public:
    // The option word: with HeadphoneMixes the headphone pairs are fed by their own mixes, else by the balance
    // between the sent and the received call signals. Other bits are kept as the device sends them.
    using MatrixOpts = quint32;
    enum MatrixOpt : quint32 { HeadphoneMixes = 0x1 };

    struct Node
    {
        quint32 flags = 0; // bit 0: on
        float gain = 0.0f;
        bool on() const { return flags & 1u; }
    };

    // Inputs 0 to 23: bits 0-5 input gain + 32 dB (0: -160 dB; 32 for inputs 0 to 3), bits 6-10 the nodes to
    // outputs 0 to 4; the name as the device sent it, so that a rewritten word sends it back unchanged.
    struct InputEntry
    {
        quint16 config = 0x0020;
        std::string name;
        bool operator==(const InputEntry &other) const { return config == other.config && name == other.name; }
    };

    // One byte per input 0 to 29: bits 0-5 the gain of the node to the left output + 32 dB (0: -160 dB),
    // bit 6 the node to the left output on, bit 7 the node to the right output on.
    struct HeadphoneMix
    {
        std::array<quint8, 32> bytes {};
        bool operator==(const HeadphoneMix &other) const { return bytes == other.bytes; }
        bool operator!=(const HeadphoneMix &other) const { return bytes != other.bytes; }
    };

    static constexpr int EntryCount = 24;
    static constexpr float MutedGain = -160.0f;

    explicit TMatrixSettings(kra::CCom *com);

    // Read access; out-of-range indexes give an off node at 0 dB, 0 dB gains and empty values.
    const Node &node(QVexmar::Inputs in, QVexmar::Outputs ou) const;
    float inputGain(QVexmar::Inputs in) const;
    QString inputName(QVexmar::Inputs in) const;
    float outputGain(QVexmar::Outputs ou) const;
    quint32 masterGains() const { return m_masterGains; }
    MatrixOpts matrixOptions() const { return m_options; }
    const InputEntry &inputEntry(QVexmar::Inputs in) const;
    // Outputs 12 to 25: the input mask of an output or record output.
    quint32 outputMask(QVexmar::Outputs ou) const;
    // The block of the headphone pair of an output 6 to 11; all zero for others.
    HeadphoneMix headphoneMix(QVexmar::Outputs ou) const;
    // The balance word of the headphone pair of an output 6 to 11; a word holding the centre for others.
    quint16 outputBalance(QVexmar::Outputs ou) const;

    void setNode(QVexmar::Inputs in, QVexmar::Outputs ou, bool on);
    void setNodeGain(QVexmar::Inputs in, QVexmar::Outputs ou, float dB);
    // Node changes of the pair between these two are written as one block at the commit.
    HeadphoneMix beginHeadphoneMixChange(QVexmar::Outputs ou);
    bool commitHeadphoneMixChange(QVexmar::Outputs ou, const HeadphoneMix &before);
    void setInputGain(QVexmar::Inputs in, float dB);
    void setOutputGain(QVexmar::Outputs ou, float dB);
    bool setMasterGains(quint32 word, bool send);
    // Positions 0 (sent signals only) to 12 (received signals only), 6 the centre.
    bool setOutputBalance(QVexmar::Outputs ou, int position, bool send);
    bool setMatrixOptions(const MatrixOpts &opts, bool send);

    void reset() override;
    bool fetchAll() override;

signals:
    void nodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou);
    void nodeCopyChanged(QVexmar::Outputs src, QVexmar::Outputs dst);
    void inputNameChanged(QVexmar::Inputs in);
    void inputGainChanged(QVexmar::Inputs in);
    void outputGainChanged(QVexmar::Outputs ou);
    void outputBalanceChanged(QVexmar::Outputs ou);
    void audioConfigChanged(QVexmar::Inputs in);
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts old);

private:
    bool headphoneMode() const { return m_options & HeadphoneMixes; }
    Node &nodeAt(int in, int ou) { return m_nodes[size_t(in)][size_t(ou)]; }
    bool storeKey(const std::string &key, const std::string &text, bool send);

    // A node's on bit or gain with the refresh of the packed parameter that carries it. A refused write puts the
    // node back; nodeChanged follows either way.
    void switchNode(int in, int ou, bool on, bool send);
    void changeNodeGain(int in, int ou, float dB, bool send);
    bool refreshNode(int in, int ou, bool send);

    quint16 buildEntry(int in) const;
    quint32 buildMask(int ou) const;
    quint8 buildHeadphoneByte(int pair, int in) const;
    quint16 buildBalanceRouting(int pair) const;
    bool refreshEntry(int in, bool send);
    bool refreshMask(int ou, bool send);
    bool refreshHeadphoneByte(int pair, int in, bool send);
    bool refreshBalance(int pair, bool send);

    void applyEntry(int in, const InputEntry &entry);
    void applyMask(int ou, quint32 mask);
    void applyHeadphoneByte(int pair, int in, quint8 byte);
    void applyHeadphoneMix(int pair, HeadphoneMix mix);
    void receiveHeadphoneMix(int pair, const HeadphoneMix &mix);
    void applyBalanceGains(int pair);
    void applyBalanceWord(int pair);
    void receiveBalanceWord(int pair, quint16 word);
    void applyParams(const std::map<std::string, std::string> &params) override;
    void applyParam(const std::string &key, const std::string &text);

    std::array<std::array<Node, QVexmar::OutputCount>, QVexmar::InputCount> m_nodes {};
    std::array<float, QVexmar::InputCount> m_inputGains {};
    std::array<QString, QVexmar::InputCount> m_inputNames;
    std::array<float, QVexmar::OutputCount> m_outputGains {};
    quint32 m_masterGains = 0x80808080u;
    MatrixOpts m_options = 0;
    std::array<InputEntry, EntryCount> m_entries;
    std::array<quint32, 12> m_outputMasks {};
    std::array<HeadphoneMix, 3> m_headphones {};
    std::array<quint16, 3> m_balances {{6, 6, 6}};
    std::array<quint32, 2> m_recordMasks {};

    // Set while a family's packed parameter is being applied or batched, so that the node changes it causes are
    // not written back on their own.
    bool m_entryBusy = false;
    bool m_maskBusy = false;
    bool m_headphoneBusy = false;
    bool m_balanceBusy = false;
    bool m_recordBusy = false;
    // Node changes touch no packed parameter.
    bool m_suspended = false;
    // Device values are being applied, or the model reset: nothing goes to the device.
    int m_quiet = 0;
};
