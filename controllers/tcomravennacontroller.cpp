#include "controllers/tcomravennacontroller.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <algorithm>
#include <iterator>

const std::string KEY_RAV_MANUFACTURER("rav_manufacturer");
const std::string KEY_RAV_HARDWARE_NAME("rav_hardware_name");
const std::string KEY_RAV_DEVICE_NAME("rav_device_name");
const std::string KEY_RAV_IF_COUNT("rav_if_count");
const std::string KEY_RAV_NET_MODE("rav_net_mode");
const std::string KEY_RAV_SAMPLE_RATE("rav_sample_rate");
const std::string KEY_RAV_RESOLUTION("rav_resolution");
const std::string KEY_RAV_PTP_DOMAIN("rav_ptp_domain");
const std::string KEY_RAV_DHCP[2] = {"rav_dhcp", "rav_dhcp1"};
const std::string KEY_RAV_IP_ADDR[2] = {"rav_ip_addr", "rav_ip_addr1"};
const std::string KEY_RAV_SUBNET[2] = {"rav_subnet", "rav_subnet1"};
const std::string KEY_RAV_GATEWAY[2] = {"rav_gateway", "rav_gateway1"};
const std::string KEY_RAV_HW_ADDR[2] = {"rav_hw_addr", "rav_hw_addr1"};
const std::string KEY_RAV_VLAN_ID[2] = {"rav_vlan_id", "rav_vlan_id1"};
const std::string KEY_RAV_LINK_STATE[2] = {"rav_link_state", "rav_link_state1"};
const std::string KEY_RAV_PTP_STATE[2] = {"rav_ptp_state", "rav_ptp_state1"};
const std::string KEY_RAV_STREAM_IN("rav_stream_in");
const std::string KEY_RAV_STREAM_IN_N[8] = {"rav_stream_in0", "rav_stream_in1", "rav_stream_in2", "rav_stream_in3",
    "rav_stream_in4", "rav_stream_in5", "rav_stream_in6", "rav_stream_in7"};
const std::string KEY_RAV_STATUS_IN_N[8] = {"rav_status_in0", "rav_status_in1", "rav_status_in2", "rav_status_in3",
    "rav_status_in4", "rav_status_in5", "rav_status_in6", "rav_status_in7"};
const std::string KEY_RAV_DELAY_MIN_IN("rav_delay_min_in");
const std::string KEY_RAV_DELAY_MAX_IN("rav_delay_max_in");
const std::string KEY_RAV_DELAY_IN("rav_delay_in");
const std::string KEY_RAV_NAME_OU("rav_name_ou");
const std::string KEY_RAV_MODE_OU("rav_mode_ou");
const std::string KEY_RAV_NETIF_OU("rav_netif_ou");
const std::string KEY_RAV_AUTOCONF_OU[2] = {"rav_autoconf_ou", "rav_autoconf_ou1"};
const std::string KEY_RAV_MC_ADDR_OU[2] = {"rav_mc_addr_ou", "rav_mc_addr_ou1"};
const std::string KEY_RAV_MC_PORT_OU[2] = {"rav_mc_port_ou", "rav_mc_port_ou1"};
const std::string KEY_RAV_CH_COUNT_OU("rav_ch_count_ou");
const std::string KEY_RAV_PTIME_OU("rav_ptime_ou");
const std::string KEY_RAV_SYNC_STATE("rav_sync_state");
const std::string KEY_RAV_LOCK_STATE("rav_lock_state");
const std::string KEY_RAV_HARDWARE_REV("rav_hardware_rev");
const std::string KEY_RAV_FIRMWARE_VER("rav_firmware_ver");
const std::string KEY_RAV_FIRMWARE_REV("rav_firmware_rev");
const std::string KEY_RAV_RESCUEOS_REV("rav_rescueos_rev");

const std::string TComRavennaInputStream::noName("None");

namespace {

constexpr int requestTimeoutMs = 5000;

const std::string streamStatusTexts[] = {"disabled", "idle", "waiting", "transmitting", "receiving",
    "receiving warning", "receiving no sync", "receiving sync err", "addr collision", "not enough dec"};
const std::string ptpStateTexts[] = {"not defined", "initializing", "faulty", "disabled", "listening", "pre master",
    "master", "passive", "not calibrated", "slave"};
// Lock state 0 is unknown and has no text.
const std::string lockStateTexts[] = {"", "unlocked", "locking", "locked"};
const std::string dhcpZeroconf("zeroconf");
const std::string netModeTexts[] = {"switch", "redund"};

// first + the index of text in the table, or fallback; the empty text never matches.
template<size_t N>
int indexOf(const std::string (&table)[N], const std::string &text, int first, int fallback)
{
    if (text.empty())
        return fallback;
    const auto it = std::find(std::begin(table), std::end(table), text);
    return it == std::end(table) ? fallback : first + int(it - std::begin(table));
}

template<size_t N>
const std::string &textOf(const std::string (&table)[N], int value, int first)
{
    return value >= first && value - first < int(N) ? table[value - first] : kra::EMPTY_WORD;
}

// How the answer of each key is applied and whether its value can be stored.
enum class Rule {
    Manufacturer,
    HardwareName,
    DeviceName,
    IfCount,
    NetMode,
    SampleRate,
    Resolution,
    PtpDomain,
    Dhcp,
    IpAddr,
    Subnet,
    Gateway,
    HwAddr,
    VlanId,
    StreamList,
    Stream,
    Status,
    DelayMin,
    DelayMax,
    Delay,
    OutputName,
    OutputMode,
    OutputNetIf,
    Autoconf,
    McAddr,
    McPort,
    ChannelCount,
    PacketTime,
    SyncState,
    LockState,
    LinkState,
    PtpState,
    HardwareRev,
    FirmwareVersion,
    FirmwareRev,
    RescueOsRev,
};

struct KeyRule
{
    Rule rule;
    int index; // interface or stream
    bool storable;
};

// All 61 keys.
const std::map<std::string, KeyRule> &keyRules()
{
    static const std::map<std::string, KeyRule> rules = [] {
        std::map<std::string, KeyRule> r;
        const auto add = [&r](const std::string &key, Rule rule, bool storable, int index = 0) {
            r.emplace(key, KeyRule {rule, index, storable});
        };
        add(KEY_RAV_MANUFACTURER, Rule::Manufacturer, false);
        add(KEY_RAV_HARDWARE_NAME, Rule::HardwareName, false);
        add(KEY_RAV_DEVICE_NAME, Rule::DeviceName, true);
        add(KEY_RAV_IF_COUNT, Rule::IfCount, false);
        add(KEY_RAV_NET_MODE, Rule::NetMode, true);
        add(KEY_RAV_SAMPLE_RATE, Rule::SampleRate, true);
        add(KEY_RAV_RESOLUTION, Rule::Resolution, true);
        add(KEY_RAV_PTP_DOMAIN, Rule::PtpDomain, true);
        for (int i = 0; i < 2; ++i) {
            add(KEY_RAV_DHCP[i], Rule::Dhcp, true, i);
            add(KEY_RAV_IP_ADDR[i], Rule::IpAddr, true, i);
            add(KEY_RAV_SUBNET[i], Rule::Subnet, true, i);
            add(KEY_RAV_GATEWAY[i], Rule::Gateway, true, i);
            add(KEY_RAV_HW_ADDR[i], Rule::HwAddr, false, i);
            add(KEY_RAV_VLAN_ID[i], Rule::VlanId, true, i);
            add(KEY_RAV_AUTOCONF_OU[i], Rule::Autoconf, true, i);
            add(KEY_RAV_MC_ADDR_OU[i], Rule::McAddr, true, i);
            add(KEY_RAV_MC_PORT_OU[i], Rule::McPort, true, i);
            add(KEY_RAV_LINK_STATE[i], Rule::LinkState, false, i);
            add(KEY_RAV_PTP_STATE[i], Rule::PtpState, false, i);
        }
        add(KEY_RAV_STREAM_IN, Rule::StreamList, false);
        for (int n = 0; n < TComRavennaController::streamCount; ++n) {
            add(KEY_RAV_STREAM_IN_N[n], Rule::Stream, true, n);
            add(KEY_RAV_STATUS_IN_N[n], Rule::Status, false, n);
        }
        add(KEY_RAV_DELAY_MIN_IN, Rule::DelayMin, false);
        add(KEY_RAV_DELAY_MAX_IN, Rule::DelayMax, false);
        add(KEY_RAV_DELAY_IN, Rule::Delay, true);
        add(KEY_RAV_NAME_OU, Rule::OutputName, true);
        add(KEY_RAV_MODE_OU, Rule::OutputMode, true);
        add(KEY_RAV_NETIF_OU, Rule::OutputNetIf, true);
        add(KEY_RAV_CH_COUNT_OU, Rule::ChannelCount, false);
        add(KEY_RAV_PTIME_OU, Rule::PacketTime, false);
        add(KEY_RAV_SYNC_STATE, Rule::SyncState, false);
        add(KEY_RAV_LOCK_STATE, Rule::LockState, false);
        add(KEY_RAV_HARDWARE_REV, Rule::HardwareRev, false);
        add(KEY_RAV_FIRMWARE_VER, Rule::FirmwareVersion, false);
        add(KEY_RAV_FIRMWARE_REV, Rule::FirmwareRev, false);
        add(KEY_RAV_RESCUEOS_REV, Rule::RescueOsRev, false);
        return r;
    }();
    return rules;
}

const KeyRule *ruleOf(const std::string &key)
{
    const auto it = keyRules().find(key);
    return it == keyRules().end() ? nullptr : &it->second;
}

// Empty answers (a value the device has not set) give the defaults.
int intOr(const std::string &text, int fallback)
{
    return text.empty() ? fallback : stringToInt(text);
}

kra::CMsg audioRequest()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    return request;
}

} // namespace

bool TComRavennaInputStream::fromText(const std::string &text)
{
    const size_t p1 = text.find('/');
    if (p1 == std::string::npos || p1 == 0 || p1 + 1 == text.size())
        return false;
    const size_t p2 = text.find('/', p1 + 1);
    if (p2 == p1 + 1)
        return false;
    id = stringToInt(text.substr(0, p1));
    channel = stringToInt(text.substr(p1 + 1, p2 == std::string::npos ? std::string::npos : p2 - p1 - 1));
    name = p2 == std::string::npos ? std::string() : text.substr(p2 + 1);
    return true;
}

std::string TComRavennaInputStream::toText() const
{
    return longToString(id) + '/' + longToString(channel) + '/' + name;
}

bool TComRavennaInputStream::sameStream(const TComRavennaInputStream &other) const
{
    return id == other.id && channel == other.channel && name == other.name;
}

TComRavennaController::TComRavennaController(kra::CCom *com) : TComController(com, Generic) { }

int TComRavennaController::streamStatusFromText(const std::string &text)
{
    return indexOf(streamStatusTexts, text, StatusDisabled, StatusUnknown);
}

const std::string &TComRavennaController::streamStatusToText(int status)
{
    return textOf(streamStatusTexts, status, StatusDisabled);
}

int TComRavennaController::ptpStateFromText(const std::string &text)
{
    return indexOf(ptpStateTexts, text, PtpNotDefined, PtpUnknown);
}

const std::string &TComRavennaController::ptpStateToText(int state)
{
    return textOf(ptpStateTexts, state, PtpNotDefined);
}

int TComRavennaController::lockStateFromText(const std::string &text)
{
    return indexOf(lockStateTexts, text, LockUnknown, LockUnknown);
}

const std::string &TComRavennaController::lockStateToText(int state)
{
    return textOf(lockStateTexts, state, LockUnknown);
}

int TComRavennaController::dhcpModeFromText(const std::string &text)
{
    if (text == kra::VAL_ON)
        return DhcpOn;
    return text == dhcpZeroconf ? DhcpZeroconf : DhcpOff;
}

const std::string &TComRavennaController::dhcpModeToText(int mode)
{
    return onOffText(mode != DhcpOff);
}

int TComRavennaController::netModeFromText(const std::string &text)
{
    return text == netModeTexts[NetRedundant] ? NetRedundant : NetSwitched;
}

const std::string &TComRavennaController::netModeToText(int mode)
{
    return netModeTexts[mode == NetRedundant ? NetRedundant : NetSwitched];
}

const TComRavennaInputStream &TComRavennaController::inputStream(int index) const
{
    static const TComRavennaInputStream none;
    return index >= 0 && index < streamCount ? m_inputStreams[index] : none;
}

int TComRavennaController::getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values)
{
    return getTargetParams(kra::TGT_AUDIO, names, values);
}

bool TComRavennaController::listRequest(const std::string &name, std::vector<std::string> &items)
{
    kra::CMsg request = audioRequest();
    request.addList(name);
    return rpc().getList(request, items, requestTimeoutMs);
}

bool TComRavennaController::setStringParam(const std::string &key, const std::string &text)
{
    return setParams({{key, text}});
}

bool TComRavennaController::setIntParam(const std::string &key, int value)
{
    return setStringParam(key, longToString(value));
}

bool TComRavennaController::setParams(const std::map<std::string, std::string> &params)
{
    // A request of nothing but its target would change nothing and still be answered "OK".
    if (params.empty())
        return false;
    kra::CMsg request = audioRequest();
    for (const auto &[key, text] : params)
        request.setParam(key, text, kra::CMsg::Keep);
    return rpc().setParams(request, requestTimeoutMs) == int(request.params.size());
}

bool TComRavennaController::attach(const std::vector<std::string> &names)
{
    if (state() != NotRead)
        reset();
    // The owner hears of the loaded values through the new state, not value by value.
    const bool wasBlocked = blockSignals(true);
    if (!names.empty() && !fetch(names)) {
        blockSignals(wasBlocked);
        return false;
    }
    blockSignals(wasBlocked);
    setState(Loaded);
    return true;
}

bool TComRavennaController::applyParams(const std::map<std::string, std::string> &values)
{
    bool ok = true;
    for (const auto &[key, text] : values) {
        if (!applyValue(key, text))
            ok = false;
    }
    return ok;
}

void TComRavennaController::applyStatus(int index, const std::string &text)
{
    std::array<int, 2> &status = m_inputStreams[index].status;
    const size_t comma = text.find(',');
    if (comma == std::string::npos) {
        status[0] = streamStatusFromText(text);
        status[1] = StatusDisabled;
        return;
    }
    status[0] = streamStatusFromText(text.substr(0, comma));
    if (comma + 1 < text.size())
        status[1] = streamStatusFromText(text.substr(comma + 1));
}

bool TComRavennaController::applyValue(const std::string &key, const std::string &text)
{
    const KeyRule *rule = ruleOf(key);
    if (!rule)
        return true;
    const int i = rule->index;
    switch (rule->rule) {
    case Rule::Manufacturer:
        m_manufacturer = text;
        break;
    case Rule::HardwareName:
        m_hardwareName = text;
        break;
    case Rule::DeviceName:
        setDeviceName(text, false);
        break;
    case Rule::IfCount:
        m_interfaceCount = std::max(1, stringToInt(text));
        break;
    case Rule::NetMode:
        setNetMode(netModeFromText(text), false);
        break;
    case Rule::SampleRate:
        m_sampleRate = intOr(text, 48000);
        break;
    case Rule::Resolution:
        m_resolution = intOr(text, 24);
        break;
    case Rule::PtpDomain:
        m_ptpDomain = intOr(text, 0);
        break;
    case Rule::Dhcp:
        // Kept as read: zeroconf counts as on but stays distinguishable.
        m_interfaces[i].dhcpMode = dhcpModeFromText(text);
        break;
    case Rule::IpAddr:
        setIpAddr(i, text, false);
        break;
    case Rule::Subnet:
        setSubnet(i, text, false);
        break;
    case Rule::Gateway:
        setGateway(i, text, false);
        break;
    case Rule::HwAddr:
        m_interfaces[i].hwAddress = text;
        break;
    case Rule::VlanId:
        m_interfaces[i].vlanId = stringToInt(text);
        break;
    case Rule::StreamList:
        break;
    case Rule::Stream:
        return m_inputStreams[i].fromText(text);
    case Rule::Status:
        applyStatus(i, text);
        break;
    case Rule::DelayMin:
        m_inputDelayMin = intOr(text, m_inputDelayMin);
        break;
    case Rule::DelayMax:
        m_inputDelayMax = intOr(text, m_inputDelayMax);
        break;
    case Rule::Delay:
        m_inputDelay = intOr(text, m_inputDelay);
        break;
    case Rule::OutputName:
        setOutputName(text, false);
        break;
    case Rule::OutputMode:
        setOutputMode(text == kra::VAL_ON, false);
        break;
    case Rule::OutputNetIf:
        m_outputNetIf = stringToInt(text);
        break;
    case Rule::Autoconf:
        setOutputAutoconf(i, text == kra::VAL_ON, false);
        break;
    case Rule::McAddr:
        setOutputMcAddr(i, text, false);
        break;
    case Rule::McPort:
        setOutputMcPort(i, intOr(text, 5004), false);
        break;
    case Rule::ChannelCount:
        m_outputChannelCount = intOr(text, 2);
        break;
    case Rule::PacketTime:
        m_outputPacketTime = text.empty() ? 1.0f : stringToFloat(text);
        break;
    case Rule::SyncState:
        m_syncState = stringToInt(text);
        break;
    case Rule::LockState:
        m_lockState = lockStateFromText(text);
        break;
    case Rule::LinkState:
        m_interfaces[i].linkUp = text == kra::VAL_ON;
        break;
    case Rule::PtpState:
        m_interfaces[i].ptpState = ptpStateFromText(text);
        break;
    case Rule::HardwareRev:
        m_hardwareRev = text;
        break;
    case Rule::FirmwareVersion:
        m_firmwareVersion = text;
        break;
    case Rule::FirmwareRev:
        m_firmwareRev = text;
        break;
    case Rule::RescueOsRev:
        m_rescueOsRev = text;
        break;
    }
    return true;
}

bool TComRavennaController::storeText(const std::string &key, std::string &text) const
{
    const KeyRule *rule = ruleOf(key);
    if (!rule || !rule->storable)
        return false;
    const int i = rule->index;
    switch (rule->rule) {
    case Rule::DeviceName:
        text = m_deviceName;
        break;
    case Rule::NetMode:
        text = netModeToText(m_netMode);
        break;
    case Rule::SampleRate:
        text = longToString(m_sampleRate);
        break;
    case Rule::Resolution:
        text = longToString(m_resolution);
        break;
    case Rule::PtpDomain:
        text = longToString(m_ptpDomain);
        break;
    case Rule::Dhcp:
        text = dhcpModeToText(m_interfaces[i].dhcpMode);
        break;
    case Rule::IpAddr:
        text = m_interfaces[i].ipAddress;
        break;
    case Rule::Subnet:
        text = m_interfaces[i].subnet;
        break;
    case Rule::Gateway:
        text = m_interfaces[i].gateway;
        break;
    case Rule::VlanId:
        text = longToString(m_interfaces[i].vlanId);
        break;
    case Rule::Stream:
        text = m_inputStreams[i].toText();
        break;
    case Rule::Delay:
        text = longToString(m_inputDelay);
        break;
    case Rule::OutputName:
        text = m_outputName;
        break;
    case Rule::OutputMode:
        text = onOffText(m_outputEnabled);
        break;
    case Rule::OutputNetIf:
        text = longToString(m_outputNetIf);
        break;
    case Rule::Autoconf:
        text = onOffText(m_outputs[i].autoconf);
        break;
    case Rule::McAddr:
        text = m_outputs[i].mcAddress;
        break;
    case Rule::McPort:
        text = longToString(m_outputs[i].mcPort);
        break;
    default:
        return false;
    }
    return true;
}

void TComRavennaController::reset()
{
    const bool wasBlocked = blockSignals(true);
    m_interfaceCount = 1;
    m_deviceName.clear();
    m_sampleRate = 48000;
    m_resolution = 24;
    m_ptpDomain = 0;
    for (TComRavennaInterface &netIf : m_interfaces)
        netIf = TComRavennaInterface();
    // All eight: a stream of an earlier connection must not stay on show.
    for (int n = 0; n < streamCount; ++n)
        setStreamIn(n, TComRavennaInputStream(), false);
    m_outputName.clear();
    m_outputNetIf = 0;
    m_outputChannelCount = 2;
    m_outputPacketTime = 1.0f;
    setOutputMode(false, false);
    for (TComRavennaOutput &output : m_outputs)
        output = TComRavennaOutput();
    m_syncState = 0;
    m_lockState = LockUnknown;
    blockSignals(wasBlocked);
    TComController::reset();
}

bool TComRavennaController::fetchAll()
{
    return fetch({KEY_RAV_MANUFACTURER, KEY_RAV_HARDWARE_NAME, KEY_RAV_IF_COUNT, KEY_RAV_DEVICE_NAME,
        KEY_RAV_SAMPLE_RATE, KEY_RAV_RESOLUTION, KEY_RAV_PTP_DOMAIN, KEY_RAV_DHCP[0], KEY_RAV_IP_ADDR[0],
        KEY_RAV_SUBNET[0], KEY_RAV_GATEWAY[0], KEY_RAV_HW_ADDR[0], KEY_RAV_STREAM_IN_N[0], KEY_RAV_STATUS_IN_N[0],
        KEY_RAV_STREAM_IN_N[1], KEY_RAV_STATUS_IN_N[1], KEY_RAV_DELAY_MIN_IN, KEY_RAV_DELAY_MAX_IN, KEY_RAV_DELAY_IN,
        KEY_RAV_NAME_OU, KEY_RAV_MODE_OU, KEY_RAV_AUTOCONF_OU[0], KEY_RAV_MC_ADDR_OU[0], KEY_RAV_MC_PORT_OU[0],
        KEY_RAV_CH_COUNT_OU, KEY_RAV_PTIME_OU, KEY_RAV_SYNC_STATE, KEY_RAV_LINK_STATE[0], KEY_RAV_PTP_STATE[0],
        KEY_RAV_HARDWARE_REV, KEY_RAV_FIRMWARE_REV});
}

bool TComRavennaController::fetch(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> values;
    if (getParams(names, values) < 1 || values.empty())
        return false;
    return applyParams(values);
}

bool TComRavennaController::store(const std::vector<std::string> &names)
{
    if (names.empty())
        return false;
    std::map<std::string, std::string> params;
    std::string text;
    for (const std::string &name : names) {
        if (storeText(name, text))
            params[name] = text;
    }
    return setParams(params);
}

bool TComRavennaController::fetchStreamInList(std::vector<TComRavennaInputStream> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listRequest(KEY_RAV_STREAM_IN, items))
        return false;
    for (const std::string &item : items) {
        TComRavennaInputStream stream;
        if (stream.fromText(item))
            out.push_back(stream);
    }
    return true;
}

bool TComRavennaController::fetchSampleRateList(std::vector<int> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listRequest(KEY_RAV_SAMPLE_RATE, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

bool TComRavennaController::fetchResolutionList(std::vector<int> &out)
{
    out.clear();
    std::vector<std::string> items;
    if (!listRequest(KEY_RAV_RESOLUTION, items))
        return false;
    for (const std::string &item : items)
        out.push_back(stringToInt(item));
    return true;
}

template<typename T>
bool TComRavennaController::changeText(
    T &member, const T &value, bool send, const std::string &key, const std::string &text)
{
    if (member == value)
        return true;
    if (send && !setStringParam(key, text))
        return false;
    member = value;
    return true;
}

bool TComRavennaController::changeInt(int &member, int value, bool send, const std::string &key)
{
    if (member == value)
        return true;
    if (send && !setIntParam(key, value))
        return false;
    member = value;
    return true;
}

bool TComRavennaController::setDeviceName(const std::string &name, bool send)
{
    return changeText(m_deviceName, name, send && !name.empty(), KEY_RAV_DEVICE_NAME, name);
}

bool TComRavennaController::setNetMode(int mode, bool send)
{
    return changeText(m_netMode, mode, send, KEY_RAV_NET_MODE, netModeToText(mode));
}

bool TComRavennaController::setDhcp(int iface, bool on, bool send)
{
    int &mode = m_interfaces[iface & 1].dhcpMode;
    if (on == (mode != DhcpOff))
        return true;
    if (send && !setStringParam(KEY_RAV_DHCP[iface & 1], onOffText(on)))
        return false;
    mode = on ? DhcpOn : DhcpOff;
    return true;
}

void TComRavennaController::restoreDhcpMode(int iface, int mode)
{
    if (mode >= DhcpOff && mode <= DhcpZeroconf)
        m_interfaces[iface & 1].dhcpMode = mode;
}

bool TComRavennaController::setIpAddr(int iface, const std::string &address, bool send)
{
    TComRavennaInterface &netIf = m_interfaces[iface & 1];
    send = send && !address.empty() && netIf.dhcpMode == DhcpOff;
    return changeText(netIf.ipAddress, address, send, KEY_RAV_IP_ADDR[iface & 1], address);
}

bool TComRavennaController::setSubnet(int iface, const std::string &subnet, bool send)
{
    TComRavennaInterface &netIf = m_interfaces[iface & 1];
    send = send && !subnet.empty() && netIf.dhcpMode == DhcpOff;
    return changeText(netIf.subnet, subnet, send, KEY_RAV_SUBNET[iface & 1], subnet);
}

bool TComRavennaController::setGateway(int iface, const std::string &gateway, bool send)
{
    TComRavennaInterface &netIf = m_interfaces[iface & 1];
    // No gateway is a setting of its own: an empty text goes out too.
    send = send && netIf.dhcpMode == DhcpOff;
    return changeText(netIf.gateway, gateway, send, KEY_RAV_GATEWAY[iface & 1], gateway);
}

bool TComRavennaController::setVlanId(int iface, int id, bool send)
{
    return changeInt(m_interfaces[iface & 1].vlanId, id, send, KEY_RAV_VLAN_ID[iface & 1]);
}

bool TComRavennaController::setStreamIn(int index, const TComRavennaInputStream &stream, bool send)
{
    if (index < 0 || index >= streamCount)
        return false;
    TComRavennaInputStream &held = m_inputStreams[index];
    if (held.sameStream(stream))
        return true;
    if (send && !setStringParam(KEY_RAV_STREAM_IN_N[index], stream.toText()))
        return false;
    held.id = stream.id;
    held.channel = stream.channel;
    held.name = stream.name;
    held.status = {{StatusUnknown, StatusUnknown}};
    return true;
}

bool TComRavennaController::setInputDelay(int delay, bool send)
{
    return changeInt(m_inputDelay, delay, send, KEY_RAV_DELAY_IN);
}

bool TComRavennaController::setOutputMode(bool enabled, bool send)
{
    return changeText(m_outputEnabled, enabled, send, KEY_RAV_MODE_OU, onOffText(enabled));
}

bool TComRavennaController::setOutputName(const std::string &name, bool send)
{
    return changeText(m_outputName, name, send && !name.empty(), KEY_RAV_NAME_OU, name);
}

bool TComRavennaController::setOutputNetIf(int netIf, bool send)
{
    return changeInt(m_outputNetIf, netIf, send, KEY_RAV_NETIF_OU);
}

bool TComRavennaController::setOutputAutoconf(int iface, bool on, bool send)
{
    return changeText(m_outputs[iface & 1].autoconf, on, send, KEY_RAV_AUTOCONF_OU[iface & 1], onOffText(on));
}

bool TComRavennaController::setOutputMcAddr(int iface, const std::string &address, bool send)
{
    send = send && !address.empty();
    return changeText(m_outputs[iface & 1].mcAddress, address, send, KEY_RAV_MC_ADDR_OU[iface & 1], address);
}

bool TComRavennaController::setOutputMcPort(int iface, int port, bool send)
{
    return changeInt(m_outputs[iface & 1].mcPort, port, send && port > 0, KEY_RAV_MC_PORT_OU[iface & 1]);
}

bool TComRavennaController::setSampleRate(int rate, bool send)
{
    return changeInt(m_sampleRate, rate, send, KEY_RAV_SAMPLE_RATE);
}

bool TComRavennaController::setResolution(int bits, bool send)
{
    return changeInt(m_resolution, bits, send, KEY_RAV_RESOLUTION);
}

bool TComRavennaController::setPtpDomain(int domain, bool send)
{
    return changeInt(m_ptpDomain, domain, send, KEY_RAV_PTP_DOMAIN);
}
