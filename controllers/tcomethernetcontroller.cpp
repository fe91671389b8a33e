#include "controllers/tcomethernetcontroller.h"

#include "rpc/rpcvocabulary.h"

#include <algorithm>

const std::string TComEthernetController::KEY_SUBNET("subnet");
const std::string TComEthernetController::KEY_GATEWAY("gateway");
const std::string TComEthernetController::KEY_DNS1("dns1");
const std::string TComEthernetController::KEY_DNS2("dns2");
const std::string TComEthernetController::KEY_LINK_MODE("link_mode");
const std::string TComEthernetController::KEY_LINK_MODE_NEG("link_mode_neg");
const std::string TComEthernetController::KEY_HW_ADDR("hw_addr");
const std::string TComEthernetController::KEY_CABLE("cable");

namespace {

const std::string ipModeTexts[] = {"dhcp", "manual", "pppoe", "bgan"};
const std::string linkModeTexts[] = {"autonegotiation", "10000baseT-FD", "2500baseT-FD", "1000baseT-FD", "1000baseT-HD",
    "100baseT-FD", "100baseT-HD", "10baseT-FD", "10baseT-HD"};
const std::string cablePlugged("plugged");

template<size_t N>
int indexOf(const std::string (&texts)[N], const std::string &text)
{
    const auto it = std::find(std::begin(texts), std::end(texts), text);
    return it == std::end(texts) ? -1 : int(it - std::begin(texts));
}

} // namespace

TComEthernetController::TComEthernetController(kra::CCom *com) : TComNetworkController(com, Ethernet) { }

const std::string &TComEthernetController::paramKey(int param)
{
    static const std::string *const keys[paramCount]
        = {&kra::KEY_MODE, &kra::KEY_LOCAL_ADDR, &KEY_SUBNET, &KEY_GATEWAY, &KEY_DNS1, &KEY_DNS2, &KEY_LINK_MODE,
            &KEY_LINK_MODE_NEG, &KEY_HW_ADDR, &KEY_CABLE, &KEY_NETWORK_QUALITY, &KEY_AJB_PROFILE};
    return param >= 0 && param < paramCount ? *keys[param] : kra::EMPTY_WORD;
}

TComEthernetController::IpMode TComEthernetController::ipModeFromText(const std::string &text)
{
    return IpMode(indexOf(ipModeTexts, text));
}

std::string TComEthernetController::ipModeToText(int mode)
{
    return mode >= Manual && mode <= Bgan ? ipModeTexts[mode] : ipModeTexts[Dhcp];
}

TComEthernetController::LinkMode TComEthernetController::linkModeFromText(const std::string &text)
{
    return LinkMode(indexOf(linkModeTexts, text));
}

std::string TComEthernetController::linkModeToText(int mode)
{
    return mode >= Link10000BaseTFd && mode <= Link10BaseTHd ? linkModeTexts[mode] : linkModeTexts[AutoNegotiation];
}

void TComEthernetController::changed(int param)
{
    emit controllerParamChanged(this, param);
}

template<typename T>
bool TComEthernetController::setEnum(T &member, T value, int param, const std::string &text, bool send)
{
    if (value == member)
        return true;
    if (send && int(value) != -1 && !setParam(paramKey(param), text, true))
        return false;
    member = value;
    changed(param);
    return true;
}

bool TComEthernetController::setIpMode(IpMode mode, bool send)
{
    return setEnum(m_ipMode, mode, ParamMode, ipModeToText(mode), send);
}

bool TComEthernetController::setLinkMode(LinkMode mode, bool send)
{
    return setEnum(m_linkMode, mode, ParamLinkMode, linkModeToText(mode), send);
}

bool TComEthernetController::setNetworkQuality(int quality, bool send)
{
    return setEnum(m_networkQuality, quality, ParamNetworkQuality, networkQualityToText(quality), send);
}

bool TComEthernetController::setAjbProfile(int profile, bool send)
{
    return setEnum(m_ajbProfile, profile, ParamAjbProfile, ajbProfileToText(profile), send);
}

bool TComEthernetController::setAddress(
    std::string &member, const std::string &text, int param, bool send, bool sendEmpty)
{
    if (text == member)
        return true;
    // Outside manual mode the device picks its addresses itself: keep the text for the editor, send nothing.
    if (send && m_ipMode == Manual && (sendEmpty || !text.empty()) && !setParam(paramKey(param), text, true))
        return false;
    member = text;
    changed(param);
    return true;
}

bool TComEthernetController::setLocalAddr(const std::string &text, bool send)
{
    return setAddress(m_localAddr, text, ParamLocalAddr, send, false);
}

bool TComEthernetController::setSubnet(const std::string &text, bool send)
{
    return setAddress(m_subnet, text, ParamSubnet, send, false);
}

bool TComEthernetController::setGateway(const std::string &text, bool send)
{
    return setAddress(m_gateway, text, ParamGateway, send, true);
}

bool TComEthernetController::setDns1(const std::string &text, bool send)
{
    return setAddress(m_dns1, text, ParamDns1, send, true);
}

bool TComEthernetController::setDns2(const std::string &text, bool send)
{
    return setAddress(m_dns2, text, ParamDns2, send, true);
}

void TComEthernetController::setLinkModeNeg(LinkMode mode)
{
    if (mode == m_linkModeNeg)
        return;
    m_linkModeNeg = mode;
    changed(ParamLinkModeNeg);
}

void TComEthernetController::setHwAddr(const std::string &text)
{
    if (text == m_hwAddr)
        return;
    m_hwAddr = text;
    changed(ParamHwAddr);
}

void TComEthernetController::setCable(bool plugged)
{
    if (plugged == m_cable)
        return;
    m_cable = plugged;
    changed(ParamCable);
}

bool TComEthernetController::parseParam(const std::string &key, const std::string &text)
{
    int param = 0;
    while (param < paramCount && paramKey(param) != key)
        ++param;
    switch (param) {
    case ParamMode:
        setIpMode(ipModeFromText(text), false);
        break;
    case ParamLocalAddr:
        setLocalAddr(text, false);
        break;
    case ParamSubnet:
        setSubnet(text, false);
        break;
    case ParamGateway:
        setGateway(text, false);
        break;
    case ParamDns1:
        setDns1(text, false);
        break;
    case ParamDns2:
        setDns2(text, false);
        break;
    case ParamLinkMode:
        setLinkMode(linkModeFromText(text), false);
        break;
    case ParamLinkModeNeg:
        setLinkModeNeg(linkModeFromText(text));
        break;
    case ParamHwAddr:
        setHwAddr(text);
        break;
    case ParamCable:
        setCable(text == cablePlugged);
        break;
    case ParamNetworkQuality:
        setNetworkQuality(networkQualityFromText(text), false);
        break;
    case ParamAjbProfile:
        setAjbProfile(ajbProfileFromText(text), false);
        break;
    default:
        return false;
    }
    return true;
}

bool TComEthernetController::refreshParam(int param)
{
    const std::string &key = paramKey(param);
    std::string value;
    if (key.empty() || !getParam(key, value, true))
        return false;
    parseParam(key, value);
    return true;
}

void TComEthernetController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_ipMode = IpModeUnknown;
    m_localAddr.clear();
    m_subnet.clear();
    m_gateway.clear();
    m_dns1.clear();
    m_dns2.clear();
    m_linkMode = LinkModeUnknown;
    m_linkModeNeg = LinkModeUnknown;
    m_hwAddr.clear();
    m_cable = false;
    m_networkQuality = -1;
    m_ajbProfile = -1;
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComEthernetController::fetchAll()
{
    return fetch({KEY_CABLE, kra::KEY_MODE, kra::KEY_LOCAL_ADDR, KEY_SUBNET, KEY_GATEWAY, KEY_DNS1, KEY_DNS2,
        KEY_LINK_MODE, KEY_LINK_MODE_NEG, KEY_HW_ADDR, KEY_NETWORK_QUALITY, KEY_AJB_PROFILE});
}

bool TComEthernetController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> values, errors;
    if (getParams(names, values, errors, true) < 1)
        return false;
    // In the order asked for, so the changes are reported in that order too.
    for (const std::string &name : names) {
        const auto value = values.find(name);
        if (value != values.end())
            parseParam(name, value->second);
    }
    return true;
}

bool TComEthernetController::store(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> params;
    for (const std::string &name : names) {
        // A value never read (-1) would go out as "dhcp", "autonegotiation", "low" or "standard": a guess that
        // can cut the device off its network. Like the setters, leave it out.
        if (name == kra::KEY_MODE && m_ipMode != IpModeUnknown)
            params[name] = ipModeToText(m_ipMode);
        else if (name == kra::KEY_LOCAL_ADDR)
            params[name] = m_localAddr;
        else if (name == KEY_SUBNET)
            params[name] = m_subnet;
        else if (name == KEY_GATEWAY)
            params[name] = m_gateway;
        else if (name == KEY_DNS1)
            params[name] = m_dns1;
        else if (name == KEY_DNS2)
            params[name] = m_dns2;
        else if (name == KEY_LINK_MODE && m_linkMode != LinkModeUnknown)
            params[name] = linkModeToText(m_linkMode);
        else if (name == KEY_NETWORK_QUALITY && m_networkQuality != -1)
            params[name] = networkQualityToText(m_networkQuality);
        else if (name == KEY_AJB_PROFILE && m_ajbProfile != -1)
            params[name] = ajbProfileToText(m_ajbProfile);
    }
    return !params.empty() && setParams(params, true);
}

bool TComEthernetController::handleEvent(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    const std::string &network = body.value(kra::KEY_NETWORK);
    if (type.empty() || network.empty() || network != interfaceName())
        return false;
    const std::string &mode = body.value(kra::KEY_MODE);
    if (type == kra::EVT_DEFAULT_NETWORK) {
        if (!mode.empty())
            parseParam(kra::KEY_MODE, mode);
        return true;
    }
    if (type != kra::EVT_CONFIG_INFO)
        return false;
    if (!mode.empty())
        parseParam(kra::KEY_MODE, mode);
    for (int param = ParamLocalAddr; param <= ParamDns2; ++param)
        parseParam(paramKey(param), body.value(paramKey(param)));
    const std::string &cable = body.value(KEY_CABLE);
    if (!cable.empty())
        parseParam(KEY_CABLE, cable);
    changed(ParamConfigInfo);
    return true;
}

bool TComEthernetController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (!TComNetworkController::attach(name, flags, makeDefault))
        return false;
    setState(Loaded);
    return true;
}
