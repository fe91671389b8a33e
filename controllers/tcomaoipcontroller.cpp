#include "controllers/tcomaoipcontroller.h"

#include "rpc/passwordcipher.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>

const std::string KEY_SIP_STATE("sip_state");
const std::string KEY_SIP_STATE_CAUSE("sip_state_cause");
const std::string KEY_SIP_REGISTRAR("sip_registrar");
const std::string KEY_SIP_USER("sip_user");
const std::string KEY_SIP_DISPLAY_NAME("sip_display_name");
const std::string KEY_SIP_AUTH_USER("sip_auth_user");
const std::string KEY_SIP_PASSWORD("sip_password");
const std::string KEY_SIP_STATE2("sip_state2");
const std::string KEY_SIP_STATE_CAUSE2("sip_state_cause2");
const std::string KEY_SIP_REGISTRAR2("sip_registrar2");
const std::string KEY_SIP_USER2("sip_user2");
const std::string KEY_SIP_DISPLAY_NAME2("sip_display_name2");
const std::string KEY_SIP_AUTH_USER2("sip_auth_user2");
const std::string KEY_SIP_PASSWORD2("sip_password2");
const std::string KEY_AUDIO_MODE("audio_mode");
const std::string KEY_DOUBLE_CODEC("double_codec");
const std::string KEY_DOUBLE_STREAM("double_stream");
const std::string KEY_STREAM_PATTERN("stream_pattern");
const std::string KEY_SIP_MODE("sip_mode");
const std::string KEY_SIP_ACC_CALLS("sip_acc_calls");
const std::string KEY_SIP_CHK_CALLS("sip_chk_calls");
const std::string KEY_SIP_USE_UPORT2("sip_use_uport2");
const std::string KEY_SIP_PROXY("sip_proxy");
const std::string KEY_SIP_KA_INTERVAL("SIP_KA_INTERVAL");
const std::string KEY_SIP_KA_TARGET("SIP_KA_TARGET");
const std::string KEY_SIP_DEF_ACCOUNT("sip_def_account");
const std::string KEY_SIP_RE_REG_TO("SIP_RE_REG_TO");
const std::string KEY_SIP_UDP_PORT("SIP_UDP_PORT");
const std::string KEY_RTP_START_PORT("RTP_START_PORT");
const std::string KEY_SIP_SESS_TIMERS("sip_sess_timers");
const std::string KEY_RTP_TOS("rtp_tos");
const std::string KEY_STUN_MODE("stun_mode");
const std::string KEY_STUN_SERVER("stun_server");
const std::string KEY_DRTP_ACC_CALLS("drtp_acc_calls");
const std::string KEY_DRTP_SEND_ONLY("drtp_send_only");
const std::string KEY_DRTP_RTP_PORT("drtp_rtp_port");
const std::string KEY_DRTP_REL_TIMEOUT("drtp_rel_timeout");
const std::string KEY_MP_ECM_BF_SHIFT("MP_ECM_BF_SHIFT");
const std::string KEY_AOIP_VERSION("aoip_version");
const std::string KEY_JITTERAB("jitterab");

namespace {

const std::string stateRegistered("registered");
const std::string stateUnregistered("unregistered");

const std::string audioModeTexts[] = {"SIP", "RTP", "MC"};
const std::string streamPatternTexts[] = {"1-1", "1-2", "2-3", "1-3"};
const std::string mpEcmBfShiftTexts[] = {"0", "1", "2"};
// Index = TComAoIPController::NatType; 0 stands for every other text.
const std::string natTypeTexts[] = {"", "failure", "nat-open", "nat-blocked", "nat-symmetric-udp", "nat-full-cone",
    "nat-symmetric", "nat-restricted", "nat-port-restricted"};

constexpr int defaultSipPort = 5060;
constexpr int highestPort = 65535;

// Only the server is 1; anything else goes out as the user agent.
std::string keepAliveTargetText(int target)
{
    return longToString(target == TComAoIPController::KeepAliveServer ? TComAoIPController::KeepAliveServer
                                                                      : TComAoIPController::KeepAliveUserAgent);
}

template<size_t N>
const std::string &textOf(const std::string (&texts)[N], int value)
{
    return value >= 0 && size_t(value) < N ? texts[value] : texts[0];
}

// Exact and case-sensitive; 0 for anything else.
template<size_t N>
int valueOf(const std::string (&texts)[N], const std::string &text)
{
    for (size_t i = 1; i < N; ++i) {
        if (text == texts[i])
            return int(i);
    }
    return 0;
}

bool setText(std::string &field, const std::string &text)
{
    field = text;
    return true;
}

} // namespace

TComSipAccount::TComSipAccount(int number) : m_number(number) { }

void TComSipAccount::clear()
{
    m_registered = false;
    m_stateText.clear();
    m_registrar.clear();
    m_user.clear();
    m_displayName.clear();
    m_authUser.clear();
    m_password.clear();
}

std::string TComSipAccount::key(const std::string &baseKey) const
{
    return m_number == 2 ? baseKey + "2" : baseKey;
}

bool TComSipAccount::setRegistrar(const std::string &text, bool)
{
    return setText(m_registrar, text);
}

bool TComSipAccount::setUser(const std::string &text, bool)
{
    return setText(m_user, text);
}

bool TComSipAccount::setDisplayName(const std::string &text, bool)
{
    return setText(m_displayName, text);
}

bool TComSipAccount::setAuthUser(const std::string &text, bool)
{
    return setText(m_authUser, text);
}

bool TComSipAccount::setPassword(const std::string &text, bool)
{
    return setText(m_password, text);
}

bool TComSipAccount::parseRegistrar(const std::string &text)
{
    return setRegistrar(text, false);
}

bool TComSipAccount::parseUser(const std::string &text)
{
    return setUser(text, false);
}

bool TComSipAccount::parseDisplayName(const std::string &text)
{
    return setDisplayName(text, false);
}

bool TComSipAccount::parseAuthUser(const std::string &text)
{
    return setAuthUser(text, false);
}

bool TComSipAccount::parsePassword(const std::string &text)
{
    return setPassword(decryptPasswordString(text), false);
}

bool TComSipAccount::setRegistrationState(const std::string &state, const std::string &cause)
{
    m_registered = state == stateRegistered;
    setText(m_stateText, cause);
    return true;
}

bool TComSipAccount::applySipState(const std::string &text)
{
    m_registered = text == stateRegistered;
    setText(m_stateText, text == stateRegistered || text == stateUnregistered ? std::string() : text);
    return true;
}

std::string TComSipAccount::registrarHost() const
{
    const size_t colon = m_registrar.rfind(':');
    return colon == std::string::npos ? m_registrar : m_registrar.substr(0, colon);
}

int TComSipAccount::registrarPort() const
{
    const size_t colon = m_registrar.rfind(':');
    if (colon == std::string::npos)
        return defaultSipPort;
    // Leading blanks, a sign and the digits that follow, as a C reader takes them; but a run of digits too
    // long for any port must not wrap into one.
    size_t i = colon + 1;
    while (i < m_registrar.size() && std::isspace(static_cast<unsigned char>(m_registrar[i])))
        ++i;
    bool negative = false;
    if (i < m_registrar.size() && (m_registrar[i] == '+' || m_registrar[i] == '-'))
        negative = m_registrar[i++] == '-';
    int port = 0;
    for (; i < m_registrar.size() && m_registrar[i] >= '0' && m_registrar[i] <= '9'; ++i) {
        port = port * 10 + (m_registrar[i] - '0');
        if (port > highestPort)
            return defaultSipPort;
    }
    return negative || port < 1 ? defaultSipPort : port;
}

// How one configuration key is read from and written to the device.
struct TComAoIPController::Binding
{
    std::string key;
    std::function<bool(TComAoIPController &, const std::string &)> parse;
    // The wire text of the current value; false when it cannot be made.
    std::function<bool(const TComAoIPController &, std::string &)> text;
};

const std::vector<TComAoIPController::Binding> &TComAoIPController::bindings()
{
    using C = TComAoIPController;
    using Parser = bool (C::*)(const std::string &);
    static const std::vector<Binding> table = [] {
        std::vector<Binding> t;
        const auto flag = [&t](const std::string &key, Parser parse, bool C::*field) {
            t.push_back({key, parse, [field](const C &c, std::string &out) {
                             out = onOffText(c.*field);
                             return true;
                         }});
        };
        const auto number
            = [&t](const std::string &key, Parser parse, int C::*field, std::string (*toText)(int) = nullptr) {
                  t.push_back({key, parse, [field, toText](const C &c, std::string &out) {
                                   out = toText ? toText(c.*field) : longToString(c.*field);
                                   return true;
                               }});
              };
        const auto text = [&t](const std::string &key, Parser parse, std::string C::*field) {
            t.push_back({key, parse, [field](const C &c, std::string &out) {
                             out = c.*field;
                             return true;
                         }});
        };
        number(KEY_AUDIO_MODE, &C::parseAudioMode, &C::m_audioMode, &C::audioModeToText);
        number(KEY_STREAM_PATTERN, &C::parseStreamPattern, &C::m_streamPattern, &C::streamPatternToText);
        flag(KEY_DOUBLE_CODEC, &C::parseDoubleCodec, &C::m_doubleCodec);
        flag(KEY_DOUBLE_STREAM, &C::parseDoubleStream, &C::m_doubleStream);
        flag(KEY_JITTERAB, &C::parseJitterab, &C::m_jitterab);
        flag(KEY_SIP_MODE, &C::parseSipMode, &C::m_sipMode);
        flag(KEY_SIP_ACC_CALLS, &C::parseSipAcceptCalls, &C::m_sipAcceptCalls);
        flag(KEY_SIP_CHK_CALLS, &C::parseSipCheckCalls, &C::m_sipCheckCalls);
        flag(KEY_SIP_USE_UPORT2, &C::parseSipUseUdpPort2, &C::m_sipUseUdpPort2);
        flag(KEY_SIP_SESS_TIMERS, &C::parseSipSessionTimers, &C::m_sipSessionTimers);
        flag(KEY_DRTP_ACC_CALLS, &C::parseDrtpAcceptCalls, &C::m_drtpAcceptCalls);
        flag(KEY_DRTP_SEND_ONLY, &C::parseDrtpSendOnly, &C::m_drtpSendOnly);
        flag(KEY_STUN_MODE, &C::parseStunMode, &C::m_stunMode);
        number(KEY_SIP_DEF_ACCOUNT, &C::parseSipDefAccount, &C::m_sipDefAccount);
        number(KEY_SIP_KA_INTERVAL, &C::parseSipKeepAliveInterval, &C::m_sipKeepAliveInterval);
        number(KEY_SIP_KA_TARGET, &C::parseSipKeepAliveTarget, &C::m_sipKeepAliveTarget, &keepAliveTargetText);
        number(KEY_SIP_RE_REG_TO, &C::parseSipReRegTimeout, &C::m_sipReRegTimeout);
        number(KEY_SIP_UDP_PORT, &C::parseSipUdpPort, &C::m_sipUdpPort);
        number(KEY_RTP_START_PORT, &C::parseRtpStartPort, &C::m_rtpStartPort);
        number(KEY_DRTP_RTP_PORT, &C::parseDrtpRtpPort, &C::m_drtpRtpPort);
        number(KEY_DRTP_REL_TIMEOUT, &C::parseDrtpRelTimeout, &C::m_drtpRelTimeout);
        number(KEY_RTP_TOS, &C::parseRtpTos, &C::m_rtpTos);
        number(KEY_MP_ECM_BF_SHIFT, &C::parseMpEcmBfShift, &C::m_mpEcmBfShift, &C::mpEcmBfShiftToText);
        text(KEY_STUN_SERVER, &C::parseStunServer, &C::m_stunServer);
        text(KEY_SIP_PROXY, &C::parseSipProxy, &C::m_sipProxy);

        using AccountParser = bool (TComSipAccount::*)(const std::string &);
        using AccountText = const std::string &(TComSipAccount::*)() const;
        for (TComSipAccount C::*account : {&C::m_account1, &C::m_account2}) {
            const TComSipAccount keys(account == &C::m_account1 ? 1 : 2);
            const auto accountText
                = [&t, &keys, account](const std::string &baseKey, AccountParser parse, AccountText get) {
                      t.push_back({keys.key(baseKey),
                          [account, parse](C &c, const std::string &value) { return ((c.*account).*parse)(value); },
                          [account, get](const C &c, std::string &out) {
                              out = ((c.*account).*get)();
                              return true;
                          }});
                  };
            accountText(KEY_SIP_REGISTRAR, &TComSipAccount::parseRegistrar, &TComSipAccount::registrar);
            accountText(KEY_SIP_USER, &TComSipAccount::parseUser, &TComSipAccount::user);
            accountText(KEY_SIP_DISPLAY_NAME, &TComSipAccount::parseDisplayName, &TComSipAccount::displayName);
            accountText(KEY_SIP_AUTH_USER, &TComSipAccount::parseAuthUser, &TComSipAccount::authUser);
            accountText(KEY_SIP_PASSWORD, &TComSipAccount::parsePassword, &TComSipAccount::password);
            // Never the plain text: when the password cannot be enciphered, nothing goes out.
            t.back().text = [account](const C &c, std::string &out) {
                return tryEncryptPasswordString((c.*account).password(), out);
            };
        }
        return t;
    }();
    return table;
}

const TComAoIPController::Binding *TComAoIPController::binding(const std::string &key)
{
    const std::vector<Binding> &table = bindings();
    const auto it = std::find_if(table.begin(), table.end(), [&key](const Binding &b) { return b.key == key; });
    return it == table.end() ? nullptr : &*it;
}

// Status values are the device's, not the interface's: they are asked for without naming it.
bool TComAoIPController::isStatusKey(const std::string &key)
{
    return key == KEY_SIP_STATE || key == KEY_SIP_STATE2 || key == kra::KEY_STUN_NAT_TYPE || key == kra::KEY_PUBLIC_ADDR
        || key == KEY_AOIP_VERSION;
}

TComAoIPController::TComAoIPController(kra::CCom *com) : TComNetworkController(com, AoIP) { }

bool TComAoIPController::writeBool(bool &field, const std::string &key, bool on, bool send)
{
    if (field == on)
        return true;
    if (send && !setParam(key, onOffText(on), true))
        return false;
    field = on;
    return true;
}

bool TComAoIPController::writeInt(int &field, const std::string &key, int value, const std::string &text, bool send)
{
    if (field == value)
        return true;
    if (send && !setParam(key, text, true))
        return false;
    field = value;
    return true;
}

bool TComAoIPController::writeText(std::string &field, const std::string &key, const std::string &text, bool send)
{
    if (field == text)
        return true;
    if (send && !setParam(key, text, true))
        return false;
    field = text;
    return true;
}

bool TComAoIPController::setAudioMode(int mode, bool send)
{
    return writeInt(m_audioMode, KEY_AUDIO_MODE, mode, audioModeToText(mode), send);
}

bool TComAoIPController::setStreamPattern(int pattern, bool send)
{
    return writeInt(m_streamPattern, KEY_STREAM_PATTERN, pattern, streamPatternToText(pattern), send);
}

bool TComAoIPController::setDoubleCodec(bool on, bool send)
{
    return writeBool(m_doubleCodec, KEY_DOUBLE_CODEC, on, send);
}

bool TComAoIPController::setDoubleStream(bool on, bool send)
{
    return writeBool(m_doubleStream, KEY_DOUBLE_STREAM, on, send);
}

bool TComAoIPController::setJitterab(bool on, bool send)
{
    return writeBool(m_jitterab, KEY_JITTERAB, on, send);
}

bool TComAoIPController::setSipMode(bool on, bool send)
{
    return writeBool(m_sipMode, KEY_SIP_MODE, on, send);
}

bool TComAoIPController::setSipAcceptCalls(bool on, bool send)
{
    return writeBool(m_sipAcceptCalls, KEY_SIP_ACC_CALLS, on, send);
}

bool TComAoIPController::setSipCheckCalls(bool on, bool send)
{
    return writeBool(m_sipCheckCalls, KEY_SIP_CHK_CALLS, on, send);
}

bool TComAoIPController::setSipUseUdpPort2(bool on, bool send)
{
    return writeBool(m_sipUseUdpPort2, KEY_SIP_USE_UPORT2, on, send);
}

bool TComAoIPController::setSipSessionTimers(bool on, bool send)
{
    return writeBool(m_sipSessionTimers, KEY_SIP_SESS_TIMERS, on, send);
}

bool TComAoIPController::setDrtpAcceptCalls(bool on, bool send)
{
    return writeBool(m_drtpAcceptCalls, KEY_DRTP_ACC_CALLS, on, send);
}

bool TComAoIPController::setDrtpSendOnly(bool on, bool send)
{
    return writeBool(m_drtpSendOnly, KEY_DRTP_SEND_ONLY, on, send);
}

bool TComAoIPController::setStunMode(bool on, bool send)
{
    return writeBool(m_stunMode, KEY_STUN_MODE, on, send);
}

bool TComAoIPController::setSipDefAccount(int account, bool send)
{
    return account < 1 || writeInt(m_sipDefAccount, KEY_SIP_DEF_ACCOUNT, account, longToString(account), send);
}

bool TComAoIPController::setSipKeepAliveInterval(int seconds, bool send)
{
    return seconds < 1 || writeInt(m_sipKeepAliveInterval, KEY_SIP_KA_INTERVAL, seconds, longToString(seconds), send);
}

bool TComAoIPController::setSipKeepAliveTarget(int target, bool send)
{
    return writeInt(m_sipKeepAliveTarget, KEY_SIP_KA_TARGET, target, keepAliveTargetText(target), send);
}

bool TComAoIPController::setSipReRegTimeout(int seconds, bool send)
{
    return seconds < 1 || writeInt(m_sipReRegTimeout, KEY_SIP_RE_REG_TO, seconds, longToString(seconds), send);
}

bool TComAoIPController::setSipUdpPort(int port, bool send)
{
    return port < 1 || writeInt(m_sipUdpPort, KEY_SIP_UDP_PORT, port, longToString(port), send);
}

bool TComAoIPController::setRtpStartPort(int port, bool send)
{
    return port < 1 || writeInt(m_rtpStartPort, KEY_RTP_START_PORT, port, longToString(port), send);
}

bool TComAoIPController::setDrtpRtpPort(int port, bool send)
{
    return port < 1 || writeInt(m_drtpRtpPort, KEY_DRTP_RTP_PORT, port, longToString(port), send);
}

bool TComAoIPController::setDrtpRelTimeout(int seconds, bool send)
{
    return seconds < 1 || writeInt(m_drtpRelTimeout, KEY_DRTP_REL_TIMEOUT, seconds, longToString(seconds), send);
}

bool TComAoIPController::setRtpTos(int tos, bool send)
{
    return tos < 0 || writeInt(m_rtpTos, KEY_RTP_TOS, tos, longToString(tos), send);
}

bool TComAoIPController::setMpEcmBfShift(int shift, bool send)
{
    return writeInt(m_mpEcmBfShift, KEY_MP_ECM_BF_SHIFT, shift, mpEcmBfShiftToText(shift), send);
}

bool TComAoIPController::setStunServer(const std::string &text, bool send)
{
    return writeText(m_stunServer, KEY_STUN_SERVER, text, send);
}

bool TComAoIPController::setSipProxy(const std::string &text, bool send)
{
    return writeText(m_sipProxy, KEY_SIP_PROXY, text, send);
}

bool TComAoIPController::setPublicAddr(const std::string &text)
{
    return setText(m_publicAddr, text);
}

std::string TComAoIPController::audioModeToText(int mode)
{
    return textOf(audioModeTexts, mode);
}

std::string TComAoIPController::streamPatternToText(int pattern)
{
    return textOf(streamPatternTexts, pattern);
}

std::string TComAoIPController::mpEcmBfShiftToText(int shift)
{
    return textOf(mpEcmBfShiftTexts, shift);
}

bool TComAoIPController::parseInt(
    bool (TComAoIPController::*setter)(int, bool), const std::string &text, int emptyValue)
{
    return (this->*setter)(text.empty() ? emptyValue : stringToInt(text), false);
}

bool TComAoIPController::parseAudioMode(const std::string &text)
{
    return setAudioMode(valueOf(audioModeTexts, text), false);
}

bool TComAoIPController::parseStreamPattern(const std::string &text)
{
    return setStreamPattern(valueOf(streamPatternTexts, text), false);
}

bool TComAoIPController::parseDoubleCodec(const std::string &text)
{
    return setDoubleCodec(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseDoubleStream(const std::string &text)
{
    return setDoubleStream(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseJitterab(const std::string &text)
{
    return setJitterab(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipMode(const std::string &text)
{
    return setSipMode(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipAcceptCalls(const std::string &text)
{
    return setSipAcceptCalls(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipCheckCalls(const std::string &text)
{
    return setSipCheckCalls(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipUseUdpPort2(const std::string &text)
{
    return setSipUseUdpPort2(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipSessionTimers(const std::string &text)
{
    return setSipSessionTimers(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseDrtpAcceptCalls(const std::string &text)
{
    return setDrtpAcceptCalls(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseDrtpSendOnly(const std::string &text)
{
    return setDrtpSendOnly(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseStunMode(const std::string &text)
{
    return setStunMode(text == kra::VAL_ON, false);
}

bool TComAoIPController::parseSipDefAccount(const std::string &text)
{
    return parseInt(&TComAoIPController::setSipDefAccount, text, 1);
}

bool TComAoIPController::parseSipKeepAliveInterval(const std::string &text)
{
    return parseInt(&TComAoIPController::setSipKeepAliveInterval, text, 15);
}

bool TComAoIPController::parseSipKeepAliveTarget(const std::string &text)
{
    return setSipKeepAliveTarget(stringToInt(text) == KeepAliveServer ? KeepAliveServer : KeepAliveUserAgent, false);
}

bool TComAoIPController::parseSipReRegTimeout(const std::string &text)
{
    return parseInt(&TComAoIPController::setSipReRegTimeout, text, 300);
}

bool TComAoIPController::parseSipUdpPort(const std::string &text)
{
    return parseInt(&TComAoIPController::setSipUdpPort, text, defaultSipPort);
}

bool TComAoIPController::parseRtpStartPort(const std::string &text)
{
    return parseInt(&TComAoIPController::setRtpStartPort, text, 5004);
}

bool TComAoIPController::parseDrtpRtpPort(const std::string &text)
{
    return parseInt(&TComAoIPController::setDrtpRtpPort, text, 9000);
}

bool TComAoIPController::parseDrtpRelTimeout(const std::string &text)
{
    return parseInt(&TComAoIPController::setDrtpRelTimeout, text, 30);
}

bool TComAoIPController::parseRtpTos(const std::string &text)
{
    return parseInt(&TComAoIPController::setRtpTos, text, 0);
}

bool TComAoIPController::parseMpEcmBfShift(const std::string &text)
{
    return setMpEcmBfShift(valueOf(mpEcmBfShiftTexts, text), false);
}

bool TComAoIPController::parseStunServer(const std::string &text)
{
    return setStunServer(text, false);
}

bool TComAoIPController::parseSipProxy(const std::string &text)
{
    return setSipProxy(text, false);
}

bool TComAoIPController::parseStunNatType(const std::string &text)
{
    m_stunNatType = valueOf(natTypeTexts, text);
    return true;
}

bool TComAoIPController::refresh(const std::string &key, bool (TComAoIPController::*parser)(const std::string &))
{
    std::string value;
    if (!getParam(key, value, !isStatusKey(key)))
        return false;
    return (this->*parser)(value);
}

bool TComAoIPController::refreshAudioMode()
{
    return refresh(KEY_AUDIO_MODE, &TComAoIPController::parseAudioMode);
}

bool TComAoIPController::refreshStreamPattern()
{
    return refresh(KEY_STREAM_PATTERN, &TComAoIPController::parseStreamPattern);
}

bool TComAoIPController::refreshDoubleCodec()
{
    return refresh(KEY_DOUBLE_CODEC, &TComAoIPController::parseDoubleCodec);
}

bool TComAoIPController::refreshDoubleStream()
{
    return refresh(KEY_DOUBLE_STREAM, &TComAoIPController::parseDoubleStream);
}

bool TComAoIPController::refreshJitterab()
{
    return refresh(KEY_JITTERAB, &TComAoIPController::parseJitterab);
}

bool TComAoIPController::refreshSipMode()
{
    return refresh(KEY_SIP_MODE, &TComAoIPController::parseSipMode);
}

bool TComAoIPController::refreshSipAcceptCalls()
{
    return refresh(KEY_SIP_ACC_CALLS, &TComAoIPController::parseSipAcceptCalls);
}

bool TComAoIPController::refreshSipCheckCalls()
{
    return refresh(KEY_SIP_CHK_CALLS, &TComAoIPController::parseSipCheckCalls);
}

bool TComAoIPController::refreshSipUseUdpPort2()
{
    return refresh(KEY_SIP_USE_UPORT2, &TComAoIPController::parseSipUseUdpPort2);
}

bool TComAoIPController::refreshSipSessionTimers()
{
    return refresh(KEY_SIP_SESS_TIMERS, &TComAoIPController::parseSipSessionTimers);
}

bool TComAoIPController::refreshDrtpAcceptCalls()
{
    return refresh(KEY_DRTP_ACC_CALLS, &TComAoIPController::parseDrtpAcceptCalls);
}

bool TComAoIPController::refreshDrtpSendOnly()
{
    return refresh(KEY_DRTP_SEND_ONLY, &TComAoIPController::parseDrtpSendOnly);
}

bool TComAoIPController::refreshStunMode()
{
    return refresh(KEY_STUN_MODE, &TComAoIPController::parseStunMode);
}

bool TComAoIPController::refreshSipDefAccount()
{
    return refresh(KEY_SIP_DEF_ACCOUNT, &TComAoIPController::parseSipDefAccount);
}

bool TComAoIPController::refreshSipKeepAliveInterval()
{
    return refresh(KEY_SIP_KA_INTERVAL, &TComAoIPController::parseSipKeepAliveInterval);
}

bool TComAoIPController::refreshSipKeepAliveTarget()
{
    return refresh(KEY_SIP_KA_TARGET, &TComAoIPController::parseSipKeepAliveTarget);
}

bool TComAoIPController::refreshSipReRegTimeout()
{
    return refresh(KEY_SIP_RE_REG_TO, &TComAoIPController::parseSipReRegTimeout);
}

bool TComAoIPController::refreshSipUdpPort()
{
    return refresh(KEY_SIP_UDP_PORT, &TComAoIPController::parseSipUdpPort);
}

bool TComAoIPController::refreshRtpStartPort()
{
    return refresh(KEY_RTP_START_PORT, &TComAoIPController::parseRtpStartPort);
}

bool TComAoIPController::refreshDrtpRtpPort()
{
    return refresh(KEY_DRTP_RTP_PORT, &TComAoIPController::parseDrtpRtpPort);
}

bool TComAoIPController::refreshDrtpRelTimeout()
{
    return refresh(KEY_DRTP_REL_TIMEOUT, &TComAoIPController::parseDrtpRelTimeout);
}

bool TComAoIPController::refreshRtpTos()
{
    return refresh(KEY_RTP_TOS, &TComAoIPController::parseRtpTos);
}

bool TComAoIPController::refreshMpEcmBfShift()
{
    return refresh(KEY_MP_ECM_BF_SHIFT, &TComAoIPController::parseMpEcmBfShift);
}

bool TComAoIPController::refreshStunNatType()
{
    return refresh(kra::KEY_STUN_NAT_TYPE, &TComAoIPController::parseStunNatType);
}

bool TComAoIPController::refreshPublicAddr()
{
    return refresh(kra::KEY_PUBLIC_ADDR, &TComAoIPController::setPublicAddr);
}

bool TComAoIPController::refreshStunServer()
{
    return refresh(KEY_STUN_SERVER, &TComAoIPController::parseStunServer);
}

bool TComAoIPController::refreshSipProxy()
{
    return refresh(KEY_SIP_PROXY, &TComAoIPController::parseSipProxy);
}

bool TComAoIPController::fetchAll()
{
    // "jitterab" and "aoip_version" are the device model's to fetch.
    static const std::vector<std::string> names
        = {KEY_AUDIO_MODE, KEY_DOUBLE_CODEC, KEY_DOUBLE_STREAM, KEY_SIP_MODE, KEY_SIP_ACC_CALLS, KEY_SIP_PROXY,
            KEY_SIP_KA_INTERVAL, KEY_SIP_RE_REG_TO, KEY_SIP_UDP_PORT, KEY_RTP_START_PORT, KEY_DRTP_ACC_CALLS,
            KEY_DRTP_SEND_ONLY, KEY_DRTP_RTP_PORT, KEY_DRTP_REL_TIMEOUT, KEY_RTP_TOS, KEY_STUN_MODE, KEY_STUN_SERVER,
            kra::KEY_STUN_NAT_TYPE, kra::KEY_PUBLIC_ADDR, KEY_MP_ECM_BF_SHIFT, KEY_SIP_USE_UPORT2, KEY_SIP_CHK_CALLS,
            KEY_SIP_DEF_ACCOUNT, KEY_STREAM_PATTERN, KEY_SIP_SESS_TIMERS, KEY_SIP_KA_TARGET, KEY_SIP_STATE,
            KEY_SIP_REGISTRAR, KEY_SIP_USER, KEY_SIP_DISPLAY_NAME, KEY_SIP_AUTH_USER, KEY_SIP_PASSWORD, KEY_SIP_STATE2,
            KEY_SIP_USER2, KEY_SIP_DISPLAY_NAME2, KEY_SIP_AUTH_USER2, KEY_SIP_PASSWORD2, KEY_SIP_REGISTRAR2};
    return fetch(names);
}

bool TComAoIPController::applyStatus(const std::string &key, const std::string &value)
{
    if (key == KEY_SIP_STATE)
        return m_account1.applySipState(value);
    if (key == KEY_SIP_STATE2)
        return m_account2.applySipState(value);
    if (key == kra::KEY_STUN_NAT_TYPE)
        return parseStunNatType(value);
    if (key == kra::KEY_PUBLIC_ADDR)
        return setPublicAddr(value);
    if (key == KEY_AOIP_VERSION)
        setText(m_aoipVersion, value);
    return true;
}

bool TComAoIPController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::vector<std::string> configNames;
    std::vector<std::string> statusNames;
    for (const std::string &name : names)
        (isStatusKey(name) ? statusNames : configNames).push_back(name);

    std::map<std::string, std::string> configValues;
    std::map<std::string, std::string> statusValues;
    std::map<std::string, std::string> errors;
    bool ok = true;
    if (!configNames.empty())
        ok = getParams(configNames, configValues, errors, true) > 0;
    if (ok && !statusNames.empty())
        ok = getParams(statusNames, statusValues, errors, false) > 0;

    // What did arrive is taken even when the request as a whole failed.
    for (const auto &[key, value] : configValues) {
        if (const Binding *b = binding(key))
            ok = b->parse(*this, value) && ok;
    }
    for (const auto &[key, value] : statusValues)
        ok = applyStatus(key, value) && ok;
    return ok;
}

bool TComAoIPController::store(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> texts;
    for (const std::string &name : names) {
        const Binding *b = binding(name);
        if (!b || texts.count(name))
            continue;
        std::string text;
        if (!b->text(*this, text)) {
            qWarning("TComAoIPController::store(%s) not sent: the password could not be enciphered", name.c_str());
            return false;
        }
        texts.emplace(name, text);
    }
    if (texts.empty())
        return false;
    return setParams(texts, true);
}

bool TComAoIPController::handleInfo(RpcMessage &msg)
{
    const kra::CMsg &body = msg.body();
    const std::string &type = body.value(kra::KEY_INFO_TYPE);
    if (type == kra::EVT_SIP_REGISTRATION)
        return m_account1.setRegistrationState(body.value(KEY_SIP_STATE), body.value(KEY_SIP_STATE_CAUSE));
    if (type == kra::EVT_SIP_REGISTRATION2)
        return m_account2.setRegistrationState(body.value(KEY_SIP_STATE2), body.value(KEY_SIP_STATE_CAUSE2));
    return false;
}

bool TComAoIPController::handleEvent(RpcMessage &)
{
    return false;
}

bool TComAoIPController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (!TComNetworkController::attach(name, flags, makeDefault))
        return false;
    setState(Loaded);
    // A device that does not report registrations still works; the status page then shows the GET view.
    rpc().subscribe(kra::EVT_SIP_REGISTRATION);
    rpc().subscribe(kra::EVT_SIP_REGISTRATION2);
    return true;
}

void TComAoIPController::reset()
{
    if (state() != NotRead) {
        rpc().unsubscribe(kra::EVT_SIP_REGISTRATION);
        rpc().unsubscribe(kra::EVT_SIP_REGISTRATION2);
    }
    const bool wasBlocked = blockSignals(true);
    m_stunNatType = NatUnknown;
    m_publicAddr.clear();
    m_account1.clear();
    m_account2.clear();
    setAudioMode(AudioModeSip, false);
    setStreamPattern(Pattern1of1, false);
    setDoubleCodec(false, false);
    setDoubleStream(false, false);
    setJitterab(false, false);
    setSipMode(false, false);
    setSipAcceptCalls(false, false);
    setSipCheckCalls(false, false);
    setSipUseUdpPort2(false, false);
    setSipProxy(std::string(), false);
    setSipDefAccount(1, false);
    setSipKeepAliveInterval(15, false);
    setSipKeepAliveTarget(KeepAliveUserAgent, false);
    setSipReRegTimeout(300, false);
    setSipUdpPort(defaultSipPort, false);
    // Deliberately not the 5004 of construction and of an empty reply.
    setRtpStartPort(5006, false);
    setSipSessionTimers(false, false);
    setDrtpAcceptCalls(false, false);
    setDrtpSendOnly(false, false);
    setDrtpRtpPort(9000, false);
    setDrtpRelTimeout(30, false);
    setStunMode(false, false);
    setStunServer(std::string(), false);
    setRtpTos(0, false);
    setMpEcmBfShift(ReplicationNone, false);
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}
