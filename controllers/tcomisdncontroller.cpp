#include "controllers/tcomisdncontroller.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <map>

const std::string KEY_ISDN_5AS("5as");
const std::string KEY_ISDN_PROTOCOL("protocol");
const std::string KEY_ISDN_SPID("spid");
const std::string KEY_ISDN_ADDR_SB0_CH0("addr_sb0_ch0");
const std::string KEY_ISDN_ADDR_SB0_CH1("addr_sb0_ch1");
const std::string KEY_ISDN_SUBADDR_SB0_CH0("subaddr_sb0_ch0");
const std::string KEY_ISDN_SUBADDR_SB0_CH1("subaddr_sb0_ch1");

namespace {

constexpr int requestTimeoutMs = 5000;

const std::string protocolTexts[] = {"isdn_udss1", "isdn_ni2", "isdn_ntt"};
const std::string protocolNi1("isdn_ni1");

} // namespace

TComIsdnController::TComIsdnController(kra::CCom *com) : TComNetworkController(com, Isdn) { }

const std::string &TComIsdnController::paramKey(int param)
{
    static const std::string *const keys[paramCount] = {&KEY_ISDN_5AS, &KEY_ISDN_PROTOCOL, &KEY_ISDN_SPID,
        &KEY_ISDN_ADDR_SB0_CH0, &KEY_ISDN_ADDR_SB0_CH1, &KEY_ISDN_SUBADDR_SB0_CH0, &KEY_ISDN_SUBADDR_SB0_CH1};
    return param >= 0 && param < paramCount ? *keys[param] : kra::EMPTY_WORD;
}

TComIsdnController::Protocol TComIsdnController::protocolFromText(const std::string &text)
{
    if (text == protocolTexts[NationalIsdn] || text == protocolNi1)
        return NationalIsdn;
    return text == protocolTexts[Ntt] ? Ntt : EuroIsdn;
}

const std::string &TComIsdnController::protocolToText(int protocol)
{
    return protocolTexts[protocol == NationalIsdn || protocol == Ntt ? protocol : EuroIsdn];
}

bool TComIsdnController::send5as(bool on)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    request.setParam(KEY_ISDN_5AS, onOffText(on));
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

bool TComIsdnController::set5as(bool on, bool send)
{
    if (on == m_5as)
        return true;
    if (send && !send5as(on))
        return false;
    m_5as = on;
    emit controllerParamChanged(this, Param5as);
    return true;
}

bool TComIsdnController::setProtocol(Protocol protocol, bool send)
{
    if (protocol == m_protocol)
        return true;
    if (send && !setParam(KEY_ISDN_PROTOCOL, protocolToText(protocol), true))
        return false;
    m_protocol = protocol;
    emit controllerParamChanged(this, ParamProtocol);
    return true;
}

bool TComIsdnController::setText(std::string &member, const std::string &text, int param, bool send)
{
    if (text == member)
        return true;
    if (send && !setParam(paramKey(param), text, true))
        return false;
    member = text;
    emit controllerParamChanged(this, param);
    return true;
}

bool TComIsdnController::setSpid(const std::string &text, bool send)
{
    return setText(m_spid, text, ParamSpid, send);
}

bool TComIsdnController::setAddrSb0Ch0(const std::string &text, bool send)
{
    return setText(m_addrSb0Ch0, text, ParamAddrSb0Ch0, send);
}

bool TComIsdnController::setAddrSb0Ch1(const std::string &text, bool send)
{
    return setText(m_addrSb0Ch1, text, ParamAddrSb0Ch1, send);
}

bool TComIsdnController::setSubaddrSb0Ch0(const std::string &text, bool send)
{
    return setText(m_subaddrSb0Ch0, text, ParamSubaddrSb0Ch0, send);
}

bool TComIsdnController::setSubaddrSb0Ch1(const std::string &text, bool send)
{
    return setText(m_subaddrSb0Ch1, text, ParamSubaddrSb0Ch1, send);
}

bool TComIsdnController::parse5as(const std::string &text)
{
    return set5as(text == kra::VAL_ON, false);
}

bool TComIsdnController::parseProtocol(const std::string &text)
{
    return setProtocol(protocolFromText(text), false);
}

bool TComIsdnController::parseSpid(const std::string &text)
{
    return setSpid(text, false);
}

bool TComIsdnController::parseAddrSb0Ch0(const std::string &text)
{
    return setAddrSb0Ch0(text, false);
}

bool TComIsdnController::parseAddrSb0Ch1(const std::string &text)
{
    return setAddrSb0Ch1(text, false);
}

bool TComIsdnController::parseSubaddrSb0Ch0(const std::string &text)
{
    return setSubaddrSb0Ch0(text, false);
}

bool TComIsdnController::parseSubaddrSb0Ch1(const std::string &text)
{
    return setSubaddrSb0Ch1(text, false);
}

// The interface keys only; "5as" has a request of its own.
bool TComIsdnController::applyText(const std::string &key, const std::string &text)
{
    if (key == KEY_ISDN_PROTOCOL)
        return parseProtocol(text);
    if (key == KEY_ISDN_SPID)
        return parseSpid(text);
    if (key == KEY_ISDN_ADDR_SB0_CH0)
        return parseAddrSb0Ch0(text);
    if (key == KEY_ISDN_ADDR_SB0_CH1)
        return parseAddrSb0Ch1(text);
    if (key == KEY_ISDN_SUBADDR_SB0_CH0)
        return parseSubaddrSb0Ch0(text);
    if (key == KEY_ISDN_SUBADDR_SB0_CH1)
        return parseSubaddrSb0Ch1(text);
    return false;
}

bool TComIsdnController::fetchText(int param)
{
    std::string text;
    return getParam(paramKey(param), text, true) && applyText(paramKey(param), text);
}

bool TComIsdnController::fetch5as()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    request.addGet(KEY_ISDN_5AS);
    std::string text;
    return rpc().getValue(request, text, requestTimeoutMs) && parse5as(text);
}

bool TComIsdnController::fetchProtocol()
{
    return fetchText(ParamProtocol);
}

bool TComIsdnController::fetchSpid()
{
    return fetchText(ParamSpid);
}

bool TComIsdnController::fetchAddrSb0Ch0()
{
    return fetchText(ParamAddrSb0Ch0);
}

bool TComIsdnController::fetchAddrSb0Ch1()
{
    return fetchText(ParamAddrSb0Ch1);
}

bool TComIsdnController::fetchSubaddrSb0Ch0()
{
    return fetchText(ParamSubaddrSb0Ch0);
}

bool TComIsdnController::fetchSubaddrSb0Ch1()
{
    return fetchText(ParamSubaddrSb0Ch1);
}

void TComIsdnController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_5as = false;
    m_protocol = EuroIsdn;
    m_spid.clear();
    m_addrSb0Ch0.clear();
    m_addrSb0Ch1.clear();
    m_subaddrSb0Ch0.clear();
    m_subaddrSb0Ch1.clear();
    blockSignals(wasBlocked);
    TComNetworkController::reset();
}

bool TComIsdnController::fetchAll()
{
    std::vector<std::string> names;
    for (int param = 0; param < paramCount; ++param)
        names.push_back(paramKey(param));
    return fetch(names);
}

bool TComIsdnController::fetch(const std::vector<std::string> &names)
{
    bool with5as = false;
    std::vector<std::string> gets;
    for (const std::string &name : names) {
        if (name == KEY_ISDN_5AS)
            with5as = true;
        else
            gets.push_back(name);
    }
    bool ok = false;
    std::map<std::string, std::string> values, errors;
    if (!gets.empty())
        ok = getParams(gets, values, errors, true) > 0;
    if (with5as)
        ok = fetch5as() || ok;
    for (const auto &[key, text] : values)
        applyText(key, text);
    return ok;
}

bool TComIsdnController::store(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    bool with5as = false;
    std::map<std::string, std::string> params;
    for (const std::string &name : names) {
        if (name == KEY_ISDN_5AS)
            with5as = true;
        else if (name == KEY_ISDN_PROTOCOL)
            params[name] = protocolToText(m_protocol);
        else if (name == KEY_ISDN_SPID)
            params[name] = m_spid;
        else if (name == KEY_ISDN_ADDR_SB0_CH0)
            params[name] = m_addrSb0Ch0;
        else if (name == KEY_ISDN_ADDR_SB0_CH1)
            params[name] = m_addrSb0Ch1;
        else if (name == KEY_ISDN_SUBADDR_SB0_CH0)
            params[name] = m_subaddrSb0Ch0;
        else if (name == KEY_ISDN_SUBADDR_SB0_CH1)
            params[name] = m_subaddrSb0Ch1;
    }
    bool ok = params.empty() ? with5as : setParams(params, true);
    // The switch is written even when the interface refused: the two are set apart on the device too.
    if (with5as)
        ok = send5as(m_5as) && ok;
    return ok;
}

bool TComIsdnController::attach(const std::string &name, int flags, bool makeDefault)
{
    if (!TComNetworkController::attach(name, flags, makeDefault))
        return false;
    setState(Loaded);
    return true;
}
