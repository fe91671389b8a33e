#include "controllers/tcomwificontroller.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <algorithm>

const std::string TComWifiController::KEY_SSID("ssid");
const std::string TComWifiController::KEY_SSID_CUSTOM("ssid_custom");
const std::string TComWifiController::KEY_AUTHENTICATION("authentication");
const std::string TComWifiController::KEY_AUTHENTICATION_CUSTOM("authentication_custom");
const std::string TComWifiController::KEY_PASSPHRASE("passphrase");
const std::string TComWifiController::KEY_SCAN("scan");
const std::string TComWifiController::KEY_DATA_CONNECTION("data_connection");
const std::string TComWifiController::KEY_DATA_CONNECTION_STATE("data_connection_state");
const std::string &TComWifiController::KEY_SIGNAL_QUALITY = kra::EVT_SIGNAL_QUALITY;
const std::string TComWifiController::KEY_SIGNAL_QUALITY_DBM("signal_quality_dbm");

namespace {

// Index = value; 0 is also what any other text reads as.
const std::string authenticationTexts[] = {"none", "auto", "WEP", "WPA-PSK", "WPA2-PSK"};
const std::string dataConnectionStateTexts[] = {std::string(), "failure", "processing", "active"};
const char dbmChars[] = " dBm";

template<size_t N>
int indexOf(const std::string (&texts)[N], const std::string &text, int otherwise)
{
    // The first entry stands for "anything else" and is never matched.
    const auto it = std::find(std::begin(texts) + 1, std::end(texts), text);
    return it == std::end(texts) ? otherwise : int(it - std::begin(texts));
}

} // namespace

TComWifiController::TComWifiController(kra::CCom *com) : TComNetworkController(com, WiFi) { }

int TComWifiController::authenticationFromText(const std::string &text)
{
    return indexOf(authenticationTexts, text, AuthNone);
}

std::string TComWifiController::authenticationToText(int authentication)
{
    return authentication >= AuthAuto && authentication <= AuthWpa2Psk ? authenticationTexts[authentication]
                                                                       : authenticationTexts[AuthNone];
}

int TComWifiController::dataConnectionStateFromText(const std::string &text)
{
    return indexOf(dataConnectionStateTexts, text, DataIdle);
}

int TComWifiController::signalFromText(const std::string &text)
{
    const size_t unit = text.find_first_of(dbmChars);
    if (unit != std::string::npos)
        return stringToInt(text.substr(0, unit));
    const int level = stringToInt(text);
    return level == 0 ? 0 : (level + 113) / 2;
}

template<typename T>
bool TComWifiController::setValue(T &member, const T &value, const std::string &key, const std::string &text, bool send)
{
    if (value == member)
        return true;
    if (send && !setParam(key, text, true))
        return false;
    member = value;
    return true;
}

bool TComWifiController::setSsid(const std::string &text, bool send)
{
    return setValue(m_ssid, text, KEY_SSID, text, send);
}

bool TComWifiController::setSsidCustom(const std::string &text, bool send)
{
    return setValue(m_ssidCustom, text, KEY_SSID_CUSTOM, text, send);
}

bool TComWifiController::setAuthentication(int authentication, bool send)
{
    return setValue(m_authentication, authentication, KEY_AUTHENTICATION, authenticationToText(authentication), send);
}

bool TComWifiController::setAuthenticationCustom(int authentication, bool send)
{
    return setValue(
        m_authenticationCustom, authentication, KEY_AUTHENTICATION_CUSTOM, authenticationToText(authentication), send);
}

bool TComWifiController::setPassphrase(const std::string &text, bool send)
{
    return setValue(m_passphrase, text, KEY_PASSPHRASE, text, send);
}

bool TComWifiController::setScan(bool on, bool send)
{
    return setValue(m_scan, on, KEY_SCAN, onOffText(on), send);
}

bool TComWifiController::setDataConnection(bool on, bool send)
{
    return setValue(m_dataConnection, on, KEY_DATA_CONNECTION, onOffText(on), send);
}

bool TComWifiController::setNetworkQuality(int quality, bool send)
{
    return setValue(
        m_networkQuality, quality, KEY_NETWORK_QUALITY, networkQualityToText(quality), send && quality != -1);
}

bool TComWifiController::setAjbProfile(int profile, bool send)
{
    return setValue(m_ajbProfile, profile, KEY_AJB_PROFILE, ajbProfileToText(profile), send && profile != -1);
}

bool TComWifiController::parseParam(const std::string &key, const std::string &text)
{
    if (key == KEY_SSID)
        setSsid(text, false);
    else if (key == KEY_SSID_CUSTOM)
        setSsidCustom(text, false);
    else if (key == KEY_AUTHENTICATION)
        setAuthentication(authenticationFromText(text), false);
    else if (key == KEY_AUTHENTICATION_CUSTOM)
        setAuthenticationCustom(authenticationFromText(text), false);
    else if (key == KEY_PASSPHRASE)
        setPassphrase(text, false);
    else if (key == KEY_SCAN)
        setScan(text == kra::VAL_ON, false);
    else if (key == kra::KEY_LOCAL_ADDR)
        m_localAddr = text;
    else if (key == KEY_DATA_CONNECTION)
        setDataConnection(text == kra::VAL_ON, false);
    else if (key == KEY_DATA_CONNECTION_STATE)
        m_dataConnectionState = dataConnectionStateFromText(text);
    else if (key == KEY_SIGNAL_QUALITY || key == KEY_SIGNAL_QUALITY_DBM)
        m_signal = signalFromText(text);
    else if (key == KEY_NETWORK_QUALITY)
        setNetworkQuality(networkQualityFromText(text), false);
    else if (key == KEY_AJB_PROFILE)
        setAjbProfile(ajbProfileFromText(text), false);
    else
        return false;
    return true;
}

bool TComWifiController::wireText(const std::string &key, std::string &text) const
{
    if (key == KEY_SSID)
        text = m_ssid;
    else if (key == KEY_SSID_CUSTOM)
        text = m_ssidCustom;
    else if (key == KEY_AUTHENTICATION)
        text = authenticationToText(m_authentication);
    else if (key == KEY_AUTHENTICATION_CUSTOM)
        text = authenticationToText(m_authenticationCustom);
    else if (key == KEY_PASSPHRASE)
        text = m_passphrase;
    else if (key == KEY_SCAN)
        text = onOffText(m_scan);
    else if (key == KEY_DATA_CONNECTION)
        text = onOffText(m_dataConnection);
    // A value never read (-1) would go out as "low" or "standard", a guess: like the setters, leave it out.
    else if (key == KEY_NETWORK_QUALITY && m_networkQuality != -1)
        text = networkQualityToText(m_networkQuality);
    else if (key == KEY_AJB_PROFILE && m_ajbProfile != -1)
        text = ajbProfileToText(m_ajbProfile);
    else
        return false;
    return true;
}

bool TComWifiController::refreshParam(const std::string &key)
{
    static const std::string *const refreshable[]
        = {&KEY_SSID, &KEY_SSID_CUSTOM, &KEY_AUTHENTICATION, &KEY_AUTHENTICATION_CUSTOM, &KEY_PASSPHRASE, &KEY_SCAN,
            &KEY_DATA_CONNECTION, &KEY_DATA_CONNECTION_STATE, &KEY_NETWORK_QUALITY, &KEY_AJB_PROFILE};
    const auto known = [&key](const std::string *k) { return *k == key; };
    std::string text;
    if (std::none_of(std::begin(refreshable), std::end(refreshable), known) || !getParam(key, text, true))
        return false;
    parseParam(key, text);
    return true;
}

bool TComWifiController::fetchSsidList()
{
    std::vector<std::string> items;
    if (!getList(KEY_SSID, items, true))
        return false;
    m_ssidList = std::move(items);
    return true;
}

void TComWifiController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_ssid.clear();
    m_ssidCustom.clear();
    m_passphrase.clear();
    m_localAddr.clear();
    m_authentication = AuthNone;
    m_authenticationCustom = AuthNone;
    m_dataConnection = false;
    m_scan = false;
    m_dataConnectionState = DataIdle;
    m_signal = 0;
    m_networkQuality = -1;
    m_ajbProfile = -1;
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComWifiController::fetchAll()
{
    return fetch({KEY_SSID, KEY_SSID_CUSTOM, KEY_AUTHENTICATION, KEY_AUTHENTICATION_CUSTOM, KEY_PASSPHRASE, KEY_SCAN,
        KEY_DATA_CONNECTION, KEY_DATA_CONNECTION_STATE, KEY_NETWORK_QUALITY, KEY_AJB_PROFILE});
}

bool TComWifiController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> values, errors;
    if (getParams(names, values, errors, true) < 1)
        return false;
    for (const auto &[key, text] : values)
        parseParam(key, text);
    return true;
}

bool TComWifiController::store(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> params;
    for (const std::string &name : names) {
        std::string text;
        if (wireText(name, text))
            params[name] = text;
    }
    return !params.empty() && setParams(params, true);
}

bool TComWifiController::handleInfo(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &source = body.value(kra::KEY_INFO_SOURCE);
    if (body.value(kra::KEY_INFO_TYPE) != kra::EVT_NETWORK_INFO || source.empty() || source != interfaceName())
        return false;
    m_signal = signalFromText(body.value(KEY_SIGNAL_QUALITY_DBM));
    return true;
}

bool TComWifiController::handleEvent(RpcMessage &message)
{
    // The device model follows these for the interface; this controller has nothing to update.
    const kra::CMsg &body = message.body();
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    const std::string &network = body.value(kra::KEY_NETWORK);
    return !network.empty() && network == interfaceName()
        && (type == kra::EVT_DEFAULT_NETWORK || type == kra::EVT_CONFIG_INFO);
}

bool TComWifiController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (!TComNetworkController::attach(name, flags, makeDefault))
        return false;
    setState(Loaded);
    return true;
}
