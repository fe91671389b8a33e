#include "controllers/tcommobilecontroller.h"

#include "rpc/ccom.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <iterator>
#include <map>

const std::string KEY_MOBILE_MANUFACTURER("manufacturer");
const std::string KEY_MOBILE_MODEL("model");
const std::string KEY_MOBILE_REVISION("revision");
const std::string KEY_MOBILE_IMEI("imei");
const std::string KEY_MOBILE_IMSI("imsi");
const std::string KEY_MOBILE_ECHO_CANCEL("echo_cancel");
const std::string KEY_MOBILE_NOISE_GATE("noise_gate");
const std::string KEY_MOBILE_DIVERSITY("diversity");
const std::string KEY_MOBILE_RAT("rat");
const std::string KEY_MOBILE_PLMN("plmn");
const std::string KEY_MOBILE_PIN_PERSISTENT("pin_persistent");
const std::string KEY_MOBILE_APN("apn");
const std::string KEY_MOBILE_MSISDN("msisdn");
const std::string KEY_MOBILE_DATA_CONNECTION("data_connection");
const std::string KEY_MOBILE_DATA_CONNECTION_STATE("data_connection_state");
const std::string KEY_MOBILE_USERNAME("username");
const std::string KEY_MOBILE_AUTHENTICATION("authentication");
const std::string KEY_MOBILE_REGISTRATION_STATE("registration_state");
const std::string KEY_MOBILE_OPERATOR_LONG("operator_long");
const std::string KEY_MOBILE_OPERATOR_SHORT("operator_short");
const std::string KEY_MOBILE_SIGNAL_QUALITY_DBM("signal_quality_dbm");
const std::string KEY_MOBILE_TECHNOLOGY("technology");

namespace {

const std::string keyPin("pin");
const std::string keyCodecInfo("codec_info");

const std::string plmnAuto("auto");
const std::string modeTexts[] = {"gsm_voice", "data"};
const std::string ratTexts[] = {
    "auto", "only UMTS", "only GSM", "UMTS first", "GSM first", "only GSM UMTS", "only LTE", "only LTE 5G", "only 5G"};
// Index 0 (no authentication) is written as an empty text and never offered as a choice.
const std::string authenticationTexts[] = {"", "PAP", "CHAP"};
const std::string dataStateTexts[] = {"", "failure", "processing", "active"};
const std::string pinReady("ready");
const std::string technology2G[] = {"GSM", "GSM COMPACT", "GPRS", "EDGE"};
const std::string technologyLte("LTE");
const std::string technology5G("5G");
const std::string signalUnitChars(" dBm");
// Only this modem family reports wideband voice through "codec_info".
const std::string widebandModemPrefix("HE910");
const std::string widebandCodecs[] = {"UAWB", "FAWB"};

constexpr int requestTimeoutMs = 5000;
constexpr int plmnTimeoutMs = 6000;
// Selecting an operator makes the modem search the networks first.
constexpr int storePlmnTimeoutMs = 60000;

bool boolFromText(const std::string &text)
{
    return text == kra::VAL_ON;
}

// The index of text in the table, or fallback.
template<size_t N>
int indexOf(const std::string (&table)[N], const std::string &text, int fallback)
{
    for (size_t i = 0; i < N; ++i) {
        if (table[i] == text)
            return int(i);
    }
    return fallback;
}

const std::string &modeToText(int mode)
{
    return modeTexts[mode == TComMobileController::ModeData ? 1 : 0];
}

const std::string &ratToText(int rat)
{
    return ratTexts[rat >= 0 && rat < int(std::size(ratTexts)) ? rat : 0];
}

const std::string &authenticationToText(int authentication)
{
    return authenticationTexts[authentication == 1 || authentication == 2 ? authentication : 0];
}

int technologyFromText(const std::string &text)
{
    if (text.empty())
        return TComMobileController::TechnologyUnknown;
    if (indexOf(technology2G, text, -1) >= 0)
        return TComMobileController::Technology2G;
    if (text == technologyLte)
        return TComMobileController::TechnologyLte;
    if (text == technology5G)
        return TComMobileController::Technology5G;
    return TComMobileController::Technology3G;
}

// "-85 dBm", "-85dBm" and "-85" all read as -85.
int signalFromText(const std::string &text)
{
    return stringToInt(text.substr(0, text.find_first_of(signalUnitChars)));
}

const std::string *valueOf(const std::map<std::string, std::string> &map, const std::string &key)
{
    const auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

int featureBit(const std::string &key)
{
    if (key == KEY_MOBILE_ECHO_CANCEL)
        return TComMobileController::CanEchoCancel;
    if (key == KEY_MOBILE_NOISE_GATE)
        return TComMobileController::CanNoiseGate;
    if (key == KEY_MOBILE_DIVERSITY)
        return TComMobileController::CanDiversity;
    return 0;
}

// The setter convention: nothing to do for an equal value; with send the key is written first, and a refusal
// keeps the member.
template<typename T>
bool assign(TComNetworkController &controller, T &member, const T &value, const std::string &key,
    const std::string &text, bool send)
{
    if (member == value)
        return true;
    if (send && !controller.setParam(key, text, true))
        return false;
    member = value;
    return true;
}

} // namespace

TComMobileController::TComMobileController(kra::CCom *com) : TComNetworkController(com, Mobile) { }

bool TComMobileController::setMode(int mode, bool send)
{
    return assign(*this, m_mode, mode, KEY_MOBILE_MODE, modeToText(mode), send && mode != ModeUnknown);
}

bool TComMobileController::setEchoCancel(bool on, bool send)
{
    return assign(*this, m_echoCancel, on, KEY_MOBILE_ECHO_CANCEL, onOffText(on), send);
}

bool TComMobileController::setNoiseGate(bool on, bool send)
{
    return assign(*this, m_noiseGate, on, KEY_MOBILE_NOISE_GATE, onOffText(on), send);
}

bool TComMobileController::setDiversity(bool on, bool send)
{
    return assign(*this, m_diversity, on, KEY_MOBILE_DIVERSITY, onOffText(on), send);
}

bool TComMobileController::setRat(int rat, bool send)
{
    return assign(*this, m_rat, rat, KEY_MOBILE_RAT, ratToText(rat), send && rat != RatUnknown);
}

bool TComMobileController::setPlmn(const std::string &plmn, bool send)
{
    if (plmn == m_plmn)
        return true;
    // Unsent, the value is kept as given: an empty selection read from the device, or put back after a refused
    // store, must stay apart from "auto", or a retry would find nothing to send.
    if (!send) {
        m_plmn = plmn;
        return true;
    }
    const std::string &value = plmn.empty() ? plmnAuto : plmn;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, interfaceName());
    request.setParam(KEY_MOBILE_PLMN, value);
    if (rpc().setParams(request, plmnTimeoutMs) != int(request.params.size()))
        return false;
    m_plmn = value;
    return true;
}

bool TComMobileController::setPinPersistent(bool on, bool send)
{
    return assign(*this, m_pinPersistent, on, KEY_MOBILE_PIN_PERSISTENT, onOffText(on), send);
}

bool TComMobileController::setApn(const std::string &apn, bool send)
{
    return assign(*this, m_apn, apn, KEY_MOBILE_APN, apn, send);
}

bool TComMobileController::setDataConnection(bool on, bool send)
{
    return assign(*this, m_dataConnection, on, KEY_MOBILE_DATA_CONNECTION, onOffText(on), send);
}

bool TComMobileController::setUsername(const std::string &username, bool send)
{
    return assign(*this, m_username, username, KEY_MOBILE_USERNAME, username, send);
}

bool TComMobileController::setPassword(const std::string &password, bool send)
{
    return assign(*this, m_password, password, KEY_MOBILE_PASSWORD, password, send);
}

bool TComMobileController::setAuthentication(int authentication, bool send)
{
    return assign(
        *this, m_authentication, authentication, KEY_MOBILE_AUTHENTICATION, authenticationToText(authentication), send);
}

bool TComMobileController::setNetworkQuality(int quality, bool send)
{
    return assign(
        *this, m_networkQuality, quality, KEY_NETWORK_QUALITY, networkQualityToText(quality), send && quality != -1);
}

bool TComMobileController::setAjbProfile(int profile, bool send)
{
    return assign(*this, m_ajbProfile, profile, KEY_AJB_PROFILE, ajbProfileToText(profile), send && profile != -1);
}

bool TComMobileController::parseMode(const std::string &text, bool send)
{
    return setMode(indexOf(modeTexts, text, ModeUnknown), send);
}

bool TComMobileController::applyValue(const std::string &key, const std::string &text)
{
    if (key == KEY_MOBILE_MODE)
        return parseMode(text, false);
    if (const int bit = featureBit(key)) {
        setCapability(bit, true);
        const bool on = boolFromText(text);
        return bit == CanEchoCancel ? setEchoCancel(on, false)
            : bit == CanNoiseGate   ? setNoiseGate(on, false)
                                    : setDiversity(on, false);
    }
    if (key == KEY_MOBILE_RAT)
        return setRat(indexOf(ratTexts, text, RatUnknown), false);
    if (key == KEY_MOBILE_PLMN)
        return setPlmn(text, false);
    if (key == KEY_MOBILE_PIN_PERSISTENT)
        return setPinPersistent(boolFromText(text), false);
    if (key == KEY_MOBILE_APN)
        return setApn(text, false);
    if (key == KEY_MOBILE_DATA_CONNECTION)
        return setDataConnection(boolFromText(text), false);
    if (key == KEY_MOBILE_USERNAME)
        return setUsername(text, false);
    if (key == KEY_MOBILE_PASSWORD)
        return setPassword(text, false);
    if (key == KEY_MOBILE_AUTHENTICATION)
        return setAuthentication(indexOf(authenticationTexts, text, AuthenticationNone), false);
    if (key == KEY_NETWORK_QUALITY)
        return setNetworkQuality(networkQualityFromText(text), false);
    if (key == KEY_AJB_PROFILE)
        return setAjbProfile(ajbProfileFromText(text), false);

    std::string *member = nullptr;
    if (key == KEY_MOBILE_MANUFACTURER)
        member = &m_manufacturer;
    else if (key == KEY_MOBILE_MODEL)
        member = &m_model;
    else if (key == KEY_MOBILE_REVISION)
        member = &m_revision;
    else if (key == KEY_MOBILE_IMEI)
        member = &m_imei;
    else if (key == KEY_MOBILE_IMSI)
        member = &m_imsi;
    else if (key == KEY_MOBILE_MSISDN)
        member = &m_msisdn;
    else if (key == KEY_MOBILE_OPERATOR_LONG || key == KEY_MOBILE_OPERATOR_SHORT)
        member = causeToStatus(text) == 0 ? (key == KEY_MOBILE_OPERATOR_LONG ? &m_operatorLong : &m_operatorShort)
                                          : nullptr;
    if (member) {
        *member = text;
        return true;
    }
    if (key == KEY_MOBILE_DATA_CONNECTION_STATE)
        m_dataConnectionState = indexOf(dataStateTexts, text, DataIdle);
    else if (key == KEY_MOBILE_SIGNAL_QUALITY || key == KEY_MOBILE_SIGNAL_QUALITY_DBM)
        m_signalQuality = signalFromText(text);
    else if (key == KEY_MOBILE_TECHNOLOGY)
        m_technology = technologyFromText(text);
    else
        return false;
    return true;
}

bool TComMobileController::refresh(const std::string &key)
{
    static const std::string *const refreshable[] = {&KEY_MOBILE_MODE, &KEY_MOBILE_ECHO_CANCEL, &KEY_MOBILE_NOISE_GATE,
        &KEY_MOBILE_DIVERSITY, &KEY_MOBILE_RAT, &KEY_MOBILE_PLMN, &KEY_MOBILE_PIN_PERSISTENT, &KEY_MOBILE_APN,
        &KEY_MOBILE_DATA_CONNECTION, &KEY_MOBILE_DATA_CONNECTION_STATE, &KEY_MOBILE_USERNAME, &KEY_MOBILE_PASSWORD,
        &KEY_MOBILE_AUTHENTICATION, &KEY_NETWORK_QUALITY, &KEY_AJB_PROFILE};
    bool known = false;
    for (const std::string *name : refreshable)
        known = known || *name == key;
    if (!known)
        return false;
    std::string value;
    if (!getParam(key, value, true)) {
        setCapability(featureBit(key), false);
        return false;
    }
    applyValue(key, value);
    return true;
}

void TComMobileController::setCapability(int bit, bool on)
{
    m_capabilities = on ? m_capabilities | bit : m_capabilities & ~bit;
}

void TComMobileController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_mode = ModeUnknown;
    for (std::string *text : {&m_manufacturer, &m_model, &m_revision, &m_imei, &m_imsi, &m_plmn, &m_apn, &m_msisdn,
             &m_username, &m_password, &m_operatorLong, &m_operatorShort})
        text->clear();
    m_echoCancel = m_noiseGate = m_diversity = m_pinPersistent = m_dataConnection = m_widebandVoice = false;
    m_rat = RatUnknown;
    m_dataConnectionState = DataIdle;
    m_authentication = AuthenticationNone;
    m_signalQuality = 0;
    m_technology = TechnologyUnknown;
    m_networkQuality = -1;
    m_ajbProfile = -1;
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComMobileController::fetchAll()
{
    // Operator, signal, technology and registration come with "network_info".
    return fetch({KEY_MOBILE_MODE, KEY_MOBILE_MANUFACTURER, KEY_MOBILE_MODEL, KEY_MOBILE_REVISION, KEY_MOBILE_IMEI,
        KEY_MOBILE_IMSI, KEY_MOBILE_ECHO_CANCEL, KEY_MOBILE_NOISE_GATE, KEY_MOBILE_DIVERSITY, KEY_MOBILE_RAT,
        KEY_MOBILE_PLMN, KEY_MOBILE_PIN_PERSISTENT, KEY_MOBILE_APN, KEY_MOBILE_MSISDN, KEY_MOBILE_DATA_CONNECTION,
        KEY_MOBILE_DATA_CONNECTION_STATE, KEY_MOBILE_USERNAME, KEY_MOBILE_PASSWORD, KEY_MOBILE_AUTHENTICATION,
        KEY_NETWORK_QUALITY, KEY_AJB_PROFILE});
}

bool TComMobileController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> values, errors;
    if (getParams(names, values, errors, true) < 1)
        return false;
    for (const auto &[key, text] : values) {
        if (key != KEY_MOBILE_REGISTRATION_STATE)
            applyValue(key, text);
    }
    // The modem answers the features it lacks with an error.
    for (const auto &entry : errors)
        setCapability(featureBit(entry.first), false);
    return true;
}

bool TComMobileController::store(const std::vector<std::string> &names)
{
    std::map<std::string, std::string> texts;
    for (const std::string &name : names) {
        // Values never read stay unwritten: a guessed "gsm_voice" or operator could drop the link or registration.
        if (name == KEY_MOBILE_MODE && m_mode != ModeUnknown)
            texts[name] = modeToText(m_mode);
        else if (name == KEY_MOBILE_RAT && m_rat != RatUnknown)
            texts[name] = ratToText(m_rat);
        else if (name == KEY_NETWORK_QUALITY && m_networkQuality != -1)
            texts[name] = networkQualityToText(m_networkQuality);
        else if (name == KEY_AJB_PROFILE && m_ajbProfile != -1)
            texts[name] = ajbProfileToText(m_ajbProfile);
        else if (name == KEY_MOBILE_PLMN && !m_plmn.empty())
            texts[name] = m_plmn;
        else if (name == KEY_MOBILE_ECHO_CANCEL)
            texts[name] = onOffText(m_echoCancel);
        else if (name == KEY_MOBILE_NOISE_GATE)
            texts[name] = onOffText(m_noiseGate);
        else if (name == KEY_MOBILE_DIVERSITY)
            texts[name] = onOffText(m_diversity);
        else if (name == KEY_MOBILE_PIN_PERSISTENT)
            texts[name] = onOffText(m_pinPersistent);
        else if (name == KEY_MOBILE_DATA_CONNECTION)
            texts[name] = onOffText(m_dataConnection);
        else if (name == KEY_MOBILE_APN)
            texts[name] = m_apn;
        else if (name == KEY_MOBILE_USERNAME)
            texts[name] = m_username;
        else if (name == KEY_MOBILE_PASSWORD)
            texts[name] = m_password;
        else if (name == KEY_MOBILE_AUTHENTICATION)
            texts[name] = authenticationToText(m_authentication);
    }
    if (texts.empty())
        return false;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, interfaceName());
    for (const auto &[key, text] : texts)
        request.setParam(key, text);
    const int timeoutMs = texts.count(KEY_MOBILE_PLMN) ? storePlmnTimeoutMs : requestTimeoutMs;
    return rpc().setParams(request, timeoutMs) == int(request.params.size());
}

bool TComMobileController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (!TComNetworkController::attach(name, flags, makeDefault))
        return false;
    int state = StatusUnknown;
    if (readSimState(state))
        setState(state);
    m_capabilities = 0;
    if (flags & AttachMobileFlag) {
        if (!readModeChoices())
            m_capabilities |= CanModeGsmVoice | CanModeData;
        if (!readRatChoices())
            m_capabilities |= (CanRatAuto << RatAuto) | (CanRatAuto << RatOnlyUmts) | (CanRatAuto << RatOnlyGsm)
                | (CanRatAuto << RatOnlyLte);
        readAuthenticationChoices();
    }
    return true;
}

bool TComMobileController::readChoices(const std::string &listName, const std::string *texts, int count, int firstBit)
{
    std::vector<std::string> items;
    const bool ok = getList(listName, items, true);
    for (const std::string &item : items) {
        for (int i = 0; i < count; ++i) {
            if (item == texts[i])
                setCapability(firstBit << i, true);
        }
    }
    return ok;
}

bool TComMobileController::readModeChoices()
{
    return readChoices(KEY_MOBILE_MODE, modeTexts, int(std::size(modeTexts)), CanModeGsmVoice);
}

bool TComMobileController::readRatChoices()
{
    return readChoices(KEY_MOBILE_RAT, ratTexts, int(std::size(ratTexts)), CanRatAuto);
}

bool TComMobileController::readAuthenticationChoices()
{
    // "No authentication" is always there; only "PAP" and "CHAP" have bits.
    return readChoices(KEY_MOBILE_AUTHENTICATION, authenticationTexts + 1, 2, CanAuthenticationPap);
}

bool TComMobileController::readSimState(int &state)
{
    if (!rpc().com())
        return false;
    std::map<std::string, std::string> values, errors;
    const int result = getParams({keyPin, KEY_MOBILE_REGISTRATION_STATE}, values, errors, true);
    if (result < 1) {
        if (errors.empty())
            return false;
        const std::string *pin = valueOf(errors, keyPin);
        state = pin ? causeToStatus(*pin) : int(StatusUnknown);
        return true;
    }
    const std::string *pin = valueOf(values, keyPin);
    // The service hands error texts back apart from the values: "123-not registered" arrives among the errors.
    const std::string *registration = valueOf(values, KEY_MOBILE_REGISTRATION_STATE);
    if (!registration)
        registration = valueOf(errors, KEY_MOBILE_REGISTRATION_STATE);
    if (!pin || *pin != pinReady || !registration || registration->empty()) {
        state = StatusUnknown;
        return true;
    }
    state = causeToStatus(*registration);
    return true;
}

int TComMobileController::enterPin(const std::string &pin, int timeoutMs)
{
    kra::CCom *com = rpc().com();
    if (!com)
        return PinFailed;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, interfaceName());
    request.setParam(keyPin, pin);
    kra::CMsg reply;
    if (com->sendSyncMsg(request, reply, 1000, timeoutMs) != 0)
        return PinFailed;
    // The service keeps a refusal apart from the reply, which then says "PROGRESS".
    if (reply.value(kra::KEY_RETURN) == kra::RET_PROGRESS && com->getErrorParams(reply, 0) < 0)
        return PinAccepted;
    if (reply.value(kra::KEY_RETURN) == kra::RET_OK)
        return PinAccepted;
    std::string cause = reply.value(keyPin);
    if (cause.empty())
        cause = reply.value(kra::KEY_CAUSE);
    if (cause.empty())
        cause = kra::ERR_UNKNOWN_ERROR;
    if (cause == kra::ERR_WRONG_PASSWORD)
        return PinWrong;
    if (cause == kra::ERR_PUK_REQUIRED) {
        setState(SimLocked);
        return PukRequired;
    }
    return PinFailed;
}

bool TComMobileController::isOwnInterface(const std::string &name) const
{
    // A detached controller has no interface: a message that names none is not its own.
    return !interfaceName().empty() && name == interfaceName();
}

bool TComMobileController::handleInfo(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    if (body.value(kra::KEY_INFO_TYPE) != kra::EVT_NETWORK_INFO || !isOwnInterface(body.value(kra::KEY_INFO_SOURCE)))
        return false;
    const std::string &operatorLong = body.value(KEY_MOBILE_OPERATOR_LONG);
    const std::string &operatorShort = body.value(KEY_MOBILE_OPERATOR_SHORT);
    const std::string &registration = body.value(KEY_MOBILE_REGISTRATION_STATE);
    const std::string &codecInfo = body.value(keyCodecInfo);
    m_technology = technologyFromText(body.value(KEY_MOBILE_TECHNOLOGY));
    m_signalQuality = signalFromText(body.value(KEY_MOBILE_SIGNAL_QUALITY));
    m_widebandVoice = !codecInfo.empty() && m_model.compare(0, widebandModemPrefix.size(), widebandModemPrefix) == 0
        && indexOf(widebandCodecs, codecInfo, -1) >= 0;

    int status = StatusUnknown;
    if (!registration.empty()) {
        status = causeToStatus(registration);
        // A modem may still say "123-not registered" while it names its operator: the name wins.
        if ((status == Registered || status == NotRegistered) && !operatorLong.empty())
            status = causeToStatus(operatorLong);
    }
    if (status == Registered) {
        m_operatorLong = operatorLong;
        m_operatorShort = operatorShort;
    } else {
        m_operatorLong.clear();
        m_operatorShort.clear();
    }
    setState(status);
    return true;
}

bool TComMobileController::handleEvent(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    if (type.empty() || !isOwnInterface(body.value(kra::KEY_NETWORK))
        || (type != kra::EVT_DEFAULT_NETWORK && type != kra::EVT_CONFIG_INFO))
        return false;
    const std::string &mode = body.value(kra::KEY_NETWORK_MODE);
    if (!mode.empty())
        parseMode(mode, false);
    return true;
}
