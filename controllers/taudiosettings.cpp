#include "controllers/taudiosettings.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

const std::string KEY_MATRIX_IN("matrix_in");
const std::string KEY_MATRIX_OU("matrix_ou");
const std::string KEY_MATRIX_HP("matrix_hp");
const std::string KEY_MATRIX_BA("matrix_ba");
const std::string KEY_MATRIX_REC("matrix_rec");
const std::string KEY_MATRIX_MGN("matrix_mgn");
const std::string KEY_MATRIX_OPT("matrix_opt");

namespace {

constexpr int requestTimeoutMs = 5000;

// Phantom power travels as "48V", not as "on".
const std::string powerOn("48V");

// Fields of an input record, in key order; inputs 3 and 4 skip the filter.
enum InputField { FieldState, FieldGain, FieldLevel, FieldPower, FieldLimiter, FieldFilter, FieldPad };

const int inputFirstParam[] = {
    TAudioSettings::Input1State, TAudioSettings::Input2State, TAudioSettings::Input3State, TAudioSettings::Input4State};

TAudioSettings::CtlrParam inputParam(int number, InputField field)
{
    const int offset = number > 2 && field == FieldPad ? FieldFilter : int(field);
    return TAudioSettings::CtlrParam(inputFirstParam[number - 1] + offset);
}

bool isPowerParam(int param)
{
    return param == TAudioSettings::Input1Power || param == TAudioSettings::Input2Power
        || param == TAudioSettings::Input3Power || param == TAudioSettings::Input4Power;
}

std::string wireText(int, quint32 value)
{
    return ulongToHexString(value, 8);
}

std::string wireText(int, int value)
{
    return longToString(value);
}

std::string wireText(int param, bool value)
{
    if (isPowerParam(param))
        return value ? powerOn : kra::VAL_OFF;
    return onOffText(value);
}

std::string wireText(int, float value)
{
    return floatToString(value);
}

} // namespace

const std::vector<std::string> &audioKeyTable()
{
    static const std::vector<std::string> table = [] {
        std::vector<std::string> keys {"input_options", "limiter_threshold"};
        for (int n = 1; n <= 4; ++n) {
            const std::string input = "input" + longToString(n);
            keys.insert(keys.end(), {input, input + "_gain", input + "_level", input + "_power", input + "_limiter"});
            if (n <= 2)
                keys.push_back(input + "_filter");
            keys.push_back(input + "_pad");
        }
        keys.insert(keys.end(),
            {"lineout1_level", "lineout2_level", "drc_state", "drc_lim_threshold", "drc_threshold_cmp", "drc_ratio_cmp",
                "drc_attack"});
        for (int n = 1; n <= 24; ++n)
            keys.push_back(KEY_MATRIX_IN + longToString(n));
        for (int n = 13; n <= 24; ++n)
            keys.push_back(KEY_MATRIX_OU + longToString(n));
        for (const std::string *stem : {&KEY_MATRIX_HP, &KEY_MATRIX_BA}) {
            for (int n = 1; n <= 3; ++n)
                keys.push_back(*stem + longToString(n));
        }
        keys.insert(keys.end(), {KEY_MATRIX_REC + "1", KEY_MATRIX_REC + "2", KEY_MATRIX_MGN, KEY_MATRIX_OPT});
        return keys;
    }();
    return table;
}

TAudioSettings::TAudioSettings(kra::CCom *com) : TComAudioTargetController(com, Generic) { }

const std::string &TAudioSettings::paramKey(int param)
{
    return param >= 0 && param < paramCount ? audioKeyTable()[size_t(param)] : kra::EMPTY_WORD;
}

const TAudioSettings::Input &TAudioSettings::input(int number) const
{
    static const Input none;
    return number >= 1 && number <= 4 ? m_inputs[number - 1] : none;
}

bool TAudioSettings::storeParam(CtlrParam param, const std::string &text)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    request.setParam(paramKey(param), text);
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

template<typename T>
bool TAudioSettings::change(T &member, T value, CtlrParam param, bool send)
{
    if (value == member)
        return true;
    if (send && !storeParam(param, wireText(param, value)))
        return false;
    member = value;
    emit controllerParamChanged(this, param);
    return true;
}

bool TAudioSettings::setInputOptions(quint32 value, bool send)
{
    return change(m_inputOptions, value, InputOptions, send);
}

bool TAudioSettings::setLimiterThreshold(int value, bool send)
{
    return change(m_limiterThreshold, value, LimiterThreshold, send);
}

bool TAudioSettings::setInputState(int number, bool value, bool send)
{
    return change(inputRecord(number).on, value, inputParam(number, FieldState), send);
}

bool TAudioSettings::setInputGain(int number, int value, bool send)
{
    return change(inputRecord(number).gain, value, inputParam(number, FieldGain), send);
}

bool TAudioSettings::setInputLevel(int number, int value, bool send)
{
    return change(inputRecord(number).level, value, inputParam(number, FieldLevel), send);
}

bool TAudioSettings::setInputPower(int number, bool value, bool send)
{
    return change(inputRecord(number).power, value, inputParam(number, FieldPower), send);
}

bool TAudioSettings::setInputLimiter(int number, bool value, bool send)
{
    return change(inputRecord(number).limiter, value, inputParam(number, FieldLimiter), send);
}

bool TAudioSettings::setInputFilter(int number, bool value, bool send)
{
    return change(inputRecord(number).filter, value, inputParam(number, FieldFilter), send);
}

bool TAudioSettings::setInputPad(int number, bool value, bool send)
{
    return change(inputRecord(number).pad, value, inputParam(number, FieldPad), send);
}

// clang-format off
bool TAudioSettings::setInput1State(bool value, bool send) { return setInputState(1, value, send); }
bool TAudioSettings::setInput1Gain(int value, bool send) { return setInputGain(1, value, send); }
bool TAudioSettings::setInput1Level(int value, bool send) { return setInputLevel(1, value, send); }
bool TAudioSettings::setInput1Power(bool value, bool send) { return setInputPower(1, value, send); }
bool TAudioSettings::setInput1Limiter(bool value, bool send) { return setInputLimiter(1, value, send); }
bool TAudioSettings::setInput1Filter(bool value, bool send) { return setInputFilter(1, value, send); }
bool TAudioSettings::setInput1Pad(bool value, bool send) { return setInputPad(1, value, send); }
bool TAudioSettings::setInput2State(bool value, bool send) { return setInputState(2, value, send); }
bool TAudioSettings::setInput2Gain(int value, bool send) { return setInputGain(2, value, send); }
bool TAudioSettings::setInput2Level(int value, bool send) { return setInputLevel(2, value, send); }
bool TAudioSettings::setInput2Power(bool value, bool send) { return setInputPower(2, value, send); }
bool TAudioSettings::setInput2Limiter(bool value, bool send) { return setInputLimiter(2, value, send); }
bool TAudioSettings::setInput2Filter(bool value, bool send) { return setInputFilter(2, value, send); }
bool TAudioSettings::setInput2Pad(bool value, bool send) { return setInputPad(2, value, send); }
bool TAudioSettings::setInput3State(bool value, bool send) { return setInputState(3, value, send); }
bool TAudioSettings::setInput3Gain(int value, bool send) { return setInputGain(3, value, send); }
bool TAudioSettings::setInput3Level(int value, bool send) { return setInputLevel(3, value, send); }
bool TAudioSettings::setInput3Power(bool value, bool send) { return setInputPower(3, value, send); }
bool TAudioSettings::setInput3Limiter(bool value, bool send) { return setInputLimiter(3, value, send); }
bool TAudioSettings::setInput3Pad(bool value, bool send) { return setInputPad(3, value, send); }
bool TAudioSettings::setInput4State(bool value, bool send) { return setInputState(4, value, send); }
bool TAudioSettings::setInput4Gain(int value, bool send) { return setInputGain(4, value, send); }
bool TAudioSettings::setInput4Level(int value, bool send) { return setInputLevel(4, value, send); }
bool TAudioSettings::setInput4Power(bool value, bool send) { return setInputPower(4, value, send); }
bool TAudioSettings::setInput4Limiter(bool value, bool send) { return setInputLimiter(4, value, send); }
bool TAudioSettings::setInput4Pad(bool value, bool send) { return setInputPad(4, value, send); }
// clang-format on

bool TAudioSettings::setLineout1Level(int value, bool send)
{
    return change(m_lineout1Level, value, Lineout1Level, send);
}

bool TAudioSettings::setLineout2Level(int value, bool send)
{
    return change(m_lineout2Level, value, Lineout2Level, send);
}

bool TAudioSettings::setDrcState(bool value, bool send)
{
    return change(m_drcState, value, DrcState, send);
}

bool TAudioSettings::setDrcLimThreshold(int value, bool send)
{
    return change(m_drcLimThreshold, value, DrcLimThreshold, send);
}

bool TAudioSettings::setDrcThresholdCmp(int value, bool send)
{
    return change(m_drcThresholdCmp, value, DrcThresholdCmp, send);
}

bool TAudioSettings::setDrcRatioCmp(float value, bool send)
{
    return change(m_drcRatioCmp, value, DrcRatioCmp, send);
}

bool TAudioSettings::setDrcAttack(int value, bool send)
{
    return change(m_drcAttack, value, DrcAttack, send);
}

bool TAudioSettings::parseParam(const std::string &key, const std::string &text)
{
    int param = 0;
    while (param < paramCount && paramKey(param) != key)
        ++param;
    if (param == paramCount)
        return false;
    const bool on = text == kra::VAL_ON;
    switch (param) {
    case InputOptions:
        setInputOptions(quint32(hexStringToULong(text)), false);
        break;
    case LimiterThreshold:
        setLimiterThreshold(text.empty() ? -9 : stringToInt(text), false);
        break;
    case Lineout1Level:
        setLineout1Level(stringToInt(text), false);
        break;
    case Lineout2Level:
        setLineout2Level(stringToInt(text), false);
        break;
    case DrcState:
        setDrcState(on, false);
        break;
    case DrcLimThreshold:
        setDrcLimThreshold(stringToInt(text), false);
        break;
    case DrcThresholdCmp:
        setDrcThresholdCmp(stringToInt(text), false);
        break;
    case DrcRatioCmp:
        setDrcRatioCmp(text.empty() ? 2.0f : stringToFloat(text), false);
        break;
    case DrcAttack:
        setDrcAttack(text == "1" ? 1 : text == "2" ? 2 : 0, false);
        break;
    default: {
        // One of the four input records.
        int number = 4;
        while (param < inputFirstParam[number - 1])
            --number;
        for (int field = FieldState; field <= FieldPad; ++field) {
            if ((field == FieldFilter && number > 2) || inputParam(number, InputField(field)) != param)
                continue;
            switch (field) {
            case FieldState:
                return setInputState(number, on, false);
            case FieldGain:
                return setInputGain(number, stringToInt(text), false);
            case FieldLevel:
                return setInputLevel(number, stringToInt(text), false);
            case FieldPower:
                return setInputPower(number, text == powerOn, false);
            case FieldLimiter:
                return setInputLimiter(number, on, false);
            case FieldFilter:
                return setInputFilter(number, on, false);
            default:
                return setInputPad(number, on, false);
            }
        }
    }
    }
    return true;
}

void TAudioSettings::applyParams(const std::map<std::string, std::string> &params)
{
    for (const auto &[key, value] : params)
        parseParam(key, value);
}

void TAudioSettings::reset()
{
    rpc().unsubscribe(kra::EVT_AUDIO_CHANGESET);
    const bool wasBlocked = blockSignals(true);
    setInputOptions(0, false);
    setLimiterThreshold(-9, false);
    for (int number = 1; number <= 4; ++number) {
        setInputState(number, false, false);
        setInputGain(number, 0, false);
        setInputLevel(number, 0, false);
        setInputPower(number, false, false);
        setInputLimiter(number, false, false);
        if (number <= 2)
            setInputFilter(number, false, false);
        setInputPad(number, false, false);
    }
    setLineout1Level(16, false);
    setLineout2Level(16, false);
    setDrcState(false, false);
    setDrcLimThreshold(-2, false);
    setDrcThresholdCmp(-3, false);
    setDrcRatioCmp(2.0f, false);
    setDrcAttack(0, false);
    blockSignals(wasBlocked);
    TComController::reset();
}

bool TAudioSettings::fetchAll()
{
    const std::vector<std::string> &table = audioKeyTable();
    return fetch(std::vector<std::string>(table.begin(), table.begin() + paramCount));
}
