#pragma once

// The device's analog audio section on the target "audio": four inputs, the input limiter, the option word in
// which the audio pages keep their padlocks, the two line-out levels and the dynamic range control. Every
// setter writes its one key at once; every change of a value emits controllerParamChanged with its index.

#include "controllers/tcomcontroller.h"

#include <QtGlobal>

#include <map>
#include <string>
#include <vector>

// The keys of the target "audio": the 35 of TAudioSettings in CtlrParam order, then those of TMatrixSettings
// ("matrix_in" 1-24, "matrix_ou" 13-24, "matrix_hp" 1-3, "matrix_ba" 1-3, "matrix_rec" 1-2, "matrix_mgn",
// "matrix_opt").
const std::vector<std::string> &audioKeyTable();

// Stems of the packed matrix keys; the number follows in decimal.
extern const std::string KEY_MATRIX_IN;
extern const std::string KEY_MATRIX_OU;
extern const std::string KEY_MATRIX_HP;
extern const std::string KEY_MATRIX_BA;
extern const std::string KEY_MATRIX_REC;
extern const std::string KEY_MATRIX_MGN;
extern const std::string KEY_MATRIX_OPT;

class TAudioSettings final : public TComAudioTargetController
{
    Q_OBJECT
public:
    // The index of the parameter's key in audioKeyTable().
    enum CtlrParam {
        InputOptions = 0,
        LimiterThreshold = 1,
        Input1State = 2,
        Input1Gain = 3,
        Input1Level = 4,
        Input1Power = 5,
        Input1Limiter = 6,
        Input1Filter = 7,
        Input1Pad = 8,
        Input2State = 9,
        Input2Gain = 10,
        Input2Level = 11,
        Input2Power = 12,
        Input2Limiter = 13,
        Input2Filter = 14,
        Input2Pad = 15,
        Input3State = 16,
        Input3Gain = 17,
        Input3Level = 18,
        Input3Power = 19,
        Input3Limiter = 20,
        Input3Pad = 21,
        Input4State = 22,
        Input4Gain = 23,
        Input4Level = 24,
        Input4Power = 25,
        Input4Limiter = 26,
        Input4Pad = 27,
        Lineout1Level = 28,
        Lineout2Level = 29,
        DrcState = 30,
        DrcLimThreshold = 31,
        DrcThresholdCmp = 32,
        DrcRatioCmp = 33,
        DrcAttack = 34,
    };
    Q_ENUM(CtlrParam)
    static constexpr int paramCount = 35;

    // Gains, levels and thresholds in the device's own units; inputs 3 and 4 have no filter.
    struct Input
    {
        bool on = false;
        int gain = 0;
        int level = 0;
        bool power = false;
        bool limiter = false;
        bool filter = false;
        bool pad = false;
    };

    explicit TAudioSettings(kra::CCom *com);

    // The key of a parameter; empty out of range.
    static const std::string &paramKey(int param);

    quint32 inputOptions() const { return m_inputOptions; }
    int limiterThreshold() const { return m_limiterThreshold; }
    // Inputs 1 to 4; any other number gives an input that is off.
    const Input &input(int number) const;
    int lineout1Level() const { return m_lineout1Level; }
    int lineout2Level() const { return m_lineout2Level; }
    bool drcState() const { return m_drcState; }
    int drcLimThreshold() const { return m_drcLimThreshold; }
    int drcThresholdCmp() const { return m_drcThresholdCmp; }
    float drcRatioCmp() const { return m_drcRatioCmp; }
    int drcAttack() const { return m_drcAttack; }

    // With send the key is written first and a refusal keeps the old value without a signal.
    bool setInputOptions(quint32 value, bool send);
    bool setLimiterThreshold(int value, bool send);
    bool setInput1State(bool value, bool send);
    bool setInput1Gain(int value, bool send);
    bool setInput1Level(int value, bool send);
    bool setInput1Power(bool value, bool send);
    bool setInput1Limiter(bool value, bool send);
    bool setInput1Filter(bool value, bool send);
    bool setInput1Pad(bool value, bool send);
    bool setInput2State(bool value, bool send);
    bool setInput2Gain(int value, bool send);
    bool setInput2Level(int value, bool send);
    bool setInput2Power(bool value, bool send);
    bool setInput2Limiter(bool value, bool send);
    bool setInput2Filter(bool value, bool send);
    bool setInput2Pad(bool value, bool send);
    bool setInput3State(bool value, bool send);
    bool setInput3Gain(int value, bool send);
    bool setInput3Level(int value, bool send);
    bool setInput3Power(bool value, bool send);
    bool setInput3Limiter(bool value, bool send);
    bool setInput3Pad(bool value, bool send);
    bool setInput4State(bool value, bool send);
    bool setInput4Gain(int value, bool send);
    bool setInput4Level(int value, bool send);
    bool setInput4Power(bool value, bool send);
    bool setInput4Limiter(bool value, bool send);
    bool setInput4Pad(bool value, bool send);
    bool setLineout1Level(int value, bool send);
    bool setLineout2Level(int value, bool send);
    bool setDrcState(bool value, bool send);
    bool setDrcLimThreshold(int value, bool send);
    bool setDrcThresholdCmp(int value, bool send);
    bool setDrcRatioCmp(float value, bool send);
    bool setDrcAttack(int value, bool send);

    // Applies a wire text to its parameter without sending; false for a key that is not one of the 35.
    bool parseParam(const std::string &key, const std::string &text);

    void reset() override;
    bool fetchAll() override;

signals:
    void controllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);

private:
    template<typename T>
    bool change(T &member, T value, CtlrParam param, bool send);
    bool storeParam(CtlrParam param, const std::string &text);
    bool setInputState(int number, bool value, bool send);
    bool setInputGain(int number, int value, bool send);
    bool setInputLevel(int number, int value, bool send);
    bool setInputPower(int number, bool value, bool send);
    bool setInputLimiter(int number, bool value, bool send);
    bool setInputFilter(int number, bool value, bool send);
    bool setInputPad(int number, bool value, bool send);
    void applyParams(const std::map<std::string, std::string> &params) override;
    Input &inputRecord(int number) { return m_inputs[number - 1]; }

    quint32 m_inputOptions = 0;
    int m_limiterThreshold = -9;
    Input m_inputs[4];
    int m_lineout1Level = 16;
    int m_lineout2Level = 16;
    bool m_drcState = false;
    int m_drcLimThreshold = -2;
    int m_drcThresholdCmp = -3;
    float m_drcRatioCmp = 2.0f;
    int m_drcAttack = 0;
};
