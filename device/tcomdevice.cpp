#include "device/tcomdevice.h"

#include "controllers/signallevel.h"
#include "device/networkcode.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

namespace {

constexpr int requestTimeoutMs = 5000;

// A value the device sent; an answer "not set" is none.
const std::string *presentValue(const std::map<std::string, std::string> &values, const std::string &key)
{
    const auto it = values.find(key);
    return it == values.end() || it->second.empty() ? nullptr : &it->second;
}

bool takeNumberAfter(const std::string &item, const std::string &prefix, int &number)
{
    if (item.compare(0, prefix.size(), prefix) != 0)
        return false;
    number = stringToInt(item.substr(prefix.size()));
    return true;
}

const CodecFormat &lineVoiceCodec()
{
    static const CodecFormat voice = mobileVoiceCodec();
    return voice;
}

// The channel mode of a codec as the screens count it: 0 mono, 1 stereo, 2 dual mono.
bool screenChannelMode(int mode, int &out)
{
    switch (mode) {
    case 0:
        out = 0;
        return true;
    case 1:
        out = 2;
        return true;
    case 2:
    case 3:
        out = 1;
        return true;
    default:
        return false;
    }
}

bool isAudioKind(int kind)
{
    return kind >= TComBaseConnection::KindLine1 && kind <= TComBaseConnection::KindVoiceLine;
}

} // namespace

int connectionNetworkFamily(const TComBaseConnection *connection)
{
    if (!connection || connection->id() == -1 || connection->networkName().empty())
        return TComDevice::FamilyNone;
    if (isAudioKind(connection->kind())
        && static_cast<const TComAudioConnection *>(connection)->txCodec().algorithm == mobileVoiceAlgorithm)
        return TComDevice::FamilyVoice;
    return networkFamilyOfName(connection->networkName());
}

TComDevice::TComDevice(kra::CCom *com)
    : QObject(nullptr),
      m_rpc(com),
      m_line1Codec(noCodec()),
      m_line2Codec(noCodec()),
      m_aoip(com),
      m_ethernet(com),
      m_mobile(com),
      m_wifi(com)
{
    connect(&m_ethernet, &TComController::controllerStateChanged, this, &TComDevice::ethernetControllerStateChanged,
        Qt::DirectConnection);
    connect(&m_mobile, &TComController::controllerStateChanged, this, &TComDevice::mobileControllerStateChanged,
        Qt::DirectConnection);
    connect(&m_wifi, &TComController::controllerStateChanged, this, &TComDevice::wifiControllerStateChanged,
        Qt::DirectConnection);
}

TComDevice::~TComDevice()
{
    removeAllConnections();
}

void TComDevice::ethernetControllerStateChanged(TComController *)
{
    emit deviceStateChanged(EthernetChanged);
}

void TComDevice::mobileControllerStateChanged(TComController *)
{
    emit deviceStateChanged(MobileChanged);
}

void TComDevice::wifiControllerStateChanged(TComController *)
{
    emit deviceStateChanged(WifiChanged);
}

void TComDevice::reset(bool withConnections)
{
    ++m_resets;
    if (withConnections)
        removeAllConnections();
    m_ready = false;
    m_dockingDetected = false;
    m_aes67Reset = false;
    m_fan = false;
    m_mobileSignalBars = 0;
    m_wifiSignalBars = 0;
    m_clockSource = ClockUnknown;
    m_codecMode = CodecModeSingle;
    m_coordMode = 0;
    m_dualStreamMode = 0;
    m_line1Codec = noCodec();
    m_line2Codec = noCodec();
    m_defaultNetwork.clear();
    m_secondaryNetwork.clear();
    m_availableNetworks.clear();
    m_aoip.reset();
    m_relaysKnown = false;
    for (RelayRecord *relay : {&m_relay1, &m_relay2}) {
        relay->on = false;
        relay->config.clear();
        relay->previousConfig.clear();
    }
}

bool TComDevice::initialize()
{
    const bool wasBlocked = blockSignals(true);
    reset(false);
    // Each request waits, and a drop met in a wait resets the model: what was read before it is gone.
    const unsigned generation = m_resets;
    fetchDeviceOptions();
    if (fetchNetworks()) {
        fetchBattery();
        const bool ready = m_availableNetworks.count(0) > 0 && m_aoip.attach(kra::NET_AOIP, 0, false)
            && m_aoip.fetch({KEY_AOIP_VERSION, KEY_SIP_STATE, KEY_SIP_STATE2, KEY_JITTERAB}) && fetchNetworkAssignment()
            && fetchCodecSetup() && fetchAes67Reset();
        if (ready && generation == m_resets) {
            m_ready = true;
            m_rpc.subscribe(kra::EVT_AUDIO_CHANGESET);
            m_rpc.subscribe(kra::EVT_NETWORK_INFO);
            m_rpc.subscribe(kra::EVT_BATTERY_LEVEL);
        }
    }
    blockSignals(wasBlocked);
    if (!m_ready)
        return false;
    emit deviceStateChanged(ModelReady);
    findDataLinks();
    return m_ready;
}

void TComDevice::findDataLinks()
{
    const unsigned generation = m_resets;
    // A copy: the map may be rebuilt while a request waits.
    const std::map<int, std::string> networks = m_availableNetworks;
    for (const auto &[code, name] : networks) {
        const int type = networkTypeOfCode(code);
        if (type != TypeMobile && type != TypeWifi)
            continue;
        TComDataConnection scratch(m_rpc.com());
        const int id = scratch.fetchLinkId(name);
        if (generation != m_resets)
            return;
        if (id == -1 || connectionById(id))
            continue;
        auto *record = new TComDataConnection(m_rpc.com());
        record->bind(id, name, TComDataConnection::Connected);
        TComBaseConnection::Hold hold(record);
        if (!addConnection(record)) {
            TComBaseConnection::dispose(record);
            continue;
        }
        // A receiver of connectionAdded may have reset the model.
        if (connectionById(id) == record)
            emit dataConnectionStateChanged(record);
        if (generation != m_resets)
            return;
    }
}

bool TComDevice::store(const kra::CMsg &request)
{
    return m_rpc.setParams(request, requestTimeoutMs) == int(request.params.size());
}

void TComDevice::applyDeviceOption(const std::string &item)
{
    int number = 0;
    if (item == kra::OPT_IP_DCODEC) {
        m_deviceOptions |= OptIpDoubleCodec;
    } else if (item == kra::OPT_ISDN_DCODEC) {
        m_deviceOptions |= OptIsdnDoubleCodec;
    } else if (item.compare(0, kra::OPT_MOBILE_PREFIX.size(), kra::OPT_MOBILE_PREFIX) == 0) {
        m_deviceOptions |= OptMobile;
    } else if (item.compare(0, kra::OPT_WIFI_PREFIX.size(), kra::OPT_WIFI_PREFIX) == 0) {
        m_deviceOptions |= OptWifi;
    } else if (item == kra::OPT_RAVENNA) {
        m_deviceOptions |= OptRavenna;
    } else if (takeNumberAfter(item, kra::OPT_RAVENNA_PREFIX, number)) {
        if (number == 2)
            m_deviceOptions |= OptRavenna2;
    } else if (takeNumberAfter(item, kra::OPT_REMOTE_ACCESS_PREFIX, number)) {
        if (number > 0)
            m_deviceOptions |= OptRemoteAccess;
        if (number > 2)
            m_deviceOptions |= OptRemoteAccessMore;
    } else if (takeNumberAfter(item, kra::OPT_IP_DSTREAM_PREFIX, number)) {
        if (number >= 1)
            m_deviceOptions |= OptIpDualStream;
        if (number > 1)
            m_deviceOptions |= OptIpDualStreamMore;
    } else if (takeNumberAfter(item, kra::OPT_RECORD_PREFIX, number)) {
        if (number > 0)
            m_deviceOptions |= OptRecord;
    } else if (takeNumberAfter(item, kra::OPT_HARDWARE_PREFIX, number)) {
        m_hardwareVersion = number;
    }
}

bool TComDevice::fetchDeviceOptions()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.addList(kra::KEY_DEVICE_OPTS);
    std::vector<std::string> items;
    if (!m_rpc.getList(request, items, requestTimeoutMs))
        return false;
    m_deviceOptions = 0;
    m_hardwareVersion = 0;
    for (const std::string &item : items)
        applyDeviceOption(item);
    return true;
}

bool TComDevice::fetchNetworks()
{
    return fetchNetworks(requestTimeoutMs);
}

bool TComDevice::fetchNetworks(int timeoutMs)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.addList(kra::KEY_NETWORK);
    std::vector<std::string> items;
    if (!m_rpc.getList(request, items, timeoutMs))
        return false;
    m_availableNetworks.clear();
    for (const std::string &item : items)
        m_availableNetworks.emplace(networkCodeOfName(item), item);
    return !m_availableNetworks.empty();
}

bool TComDevice::setBatteryStatus(const std::string &word)
{
    const std::string *const words[]
        = {&kra::BATTERY_NOT_DETECTED, &kra::BATTERY_DISCHARGING, &kra::BATTERY_CHARGING, &kra::BATTERY_FULLY_CHARGED};
    for (int status = BatteryNotDetected; status <= BatteryFullyCharged; ++status) {
        if (word == *words[status]) {
            const bool changed = status != m_batteryStatus;
            m_batteryStatus = status;
            return changed;
        }
    }
    return false;
}

bool TComDevice::fetchBattery()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    for (const std::string *name :
        {&kra::KEY_DOCKING_DETECTED, &kra::EVT_BATTERY_LEVEL, &kra::KEY_BATTERY_STATUS, &kra::KEY_BATTERY_REMAINING})
        request.addGet(*name);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != int(request.getNames.size()))
        return false;
    if (const std::string *docking = presentValue(values, kra::KEY_DOCKING_DETECTED))
        m_dockingDetected = *docking == kra::VAL_YES;
    if (const std::string *level = presentValue(values, kra::EVT_BATTERY_LEVEL))
        m_batteryLevel = stringToInt(*level);
    if (const std::string *status = presentValue(values, kra::KEY_BATTERY_STATUS))
        setBatteryStatus(*status);
    if (const std::string *remaining = presentValue(values, kra::KEY_BATTERY_REMAINING))
        m_batteryRemaining = stringToInt(*remaining);
    return true;
}

bool TComDevice::fetchNetworkAssignment()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.addGet(kra::EVT_DEFAULT_NETWORK);
    if (m_deviceOptions & OptIpDualStream)
        request.addGet(kra::EVT_SECONDARY_NETWORK);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != int(request.getNames.size()))
        return false;
    const std::string *defaultNetwork = presentValue(values, kra::EVT_DEFAULT_NETWORK);
    if (!defaultNetwork)
        return false;
    bool ok = setDefaultNetwork(*defaultNetwork, false);
    if (const std::string *secondary = presentValue(values, kra::EVT_SECONDARY_NETWORK))
        ok = setSecondaryNetwork(*secondary, false) && ok;
    return ok;
}

bool TComDevice::fetchCodecSetup()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    for (const std::string *name :
        {&kra::KEY_CODEC_MODE, &kra::KEY_COORD_MODE, &kra::KEY_CODEC, &kra::KEY_DCODEC_1, &kra::KEY_DCODEC_2})
        request.addGet(*name);
    if (m_deviceOptions & OptIpDualStream)
        request.addGet(kra::KEY_DSTREAM_MODE);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != int(request.getNames.size()))
        return false;
    const std::string *codecMode = presentValue(values, kra::KEY_CODEC_MODE);
    if (!codecMode)
        return false;
    const bool doubleCodec = *codecMode == kra::CMODE_DOUBLE;
    if (const std::string *coord = presentValue(values, kra::KEY_COORD_MODE))
        m_coordMode = *coord == kra::VAL_ENABLED ? 1 : 0;
    if (const std::string *dualStream = presentValue(values, kra::KEY_DSTREAM_MODE))
        m_dualStreamMode = *dualStream == kra::VAL_ENABLED ? 1 : 0;
    m_line1Codec = noCodec();
    m_line2Codec = noCodec();
    if (const std::string *line1 = presentValue(values, doubleCodec ? kra::KEY_DCODEC_1 : kra::KEY_CODEC))
        m_line1Codec = parseCodecFormat(*line1);
    if (const std::string *line2 = presentValue(values, kra::KEY_DCODEC_2))
        m_line2Codec = parseCodecFormat(*line2);
    return setCodecMode(doubleCodec ? CodecModeDouble : CodecModeSingle, false);
}

bool TComDevice::fetchAes67Reset()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_AUDIO);
    request.addGet(kra::KEY_AES67_RESET);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) == 1) {
        if (const std::string *value = presentValue(values, kra::KEY_AES67_RESET))
            m_aes67Reset = *value == kra::VAL_ON;
    }
    // A device without the parameter says "not set" or nothing at all; either way it has no reset to restore.
    return true;
}

bool TComDevice::fetchDefaultNetwork()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.addGet(kra::EVT_DEFAULT_NETWORK);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != 1)
        return false;
    const std::string *name = presentValue(values, kra::EVT_DEFAULT_NETWORK);
    return name && setDefaultNetwork(*name, false);
}

bool TComDevice::fetchSecondaryNetwork()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.addGet(kra::EVT_SECONDARY_NETWORK);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != 1)
        return false;
    const std::string *name = presentValue(values, kra::EVT_SECONDARY_NETWORK);
    return name && setSecondaryNetwork(*name, false);
}

void TComDevice::updateMobileSignalBars()
{
    const int q = signalLevel(m_mobile.signalQuality());
    m_mobileSignalBars = q > 25 ? 5 : q > 19 ? 4 : q > 13 ? 3 : q >= 6 ? 2 : q >= 1 ? 1 : 0;
}

void TComDevice::updateWifiSignalBars()
{
    const int q = signalLevel(m_wifi.signal());
    m_wifiSignalBars = q > 28 ? 5 : q > 22 ? 4 : q > 20 ? 3 : q >= 17 ? 2 : q >= 12 ? 1 : 0;
}

// Queries

const CodecFormat &TComDevice::lineCodec(int line) const
{
    if (line == 1)
        return m_line1Codec;
    if (line == 2)
        return m_line2Codec;
    return lineVoiceCodec();
}

int TComDevice::lineChannelMode(int line) const
{
    if (!m_ready || line == 3)
        return 0;
    int mode = 0;
    if (const TComAudioConnection *call = audioConnection(line)) {
        if (call->txCodec().algorithm != -1 && screenChannelMode(call->txCodec().channelMode, mode))
            return mode;
    }
    return screenChannelMode(lineCodec(line).channelMode, mode) ? mode : 0;
}

int TComDevice::lineConfiguredChannelMode(int line) const
{
    int mode = 0;
    return screenChannelMode(lineCodec(line).channelMode, mode) ? mode : 0;
}

int TComDevice::lineNetworkFamily(int line) const
{
    return line == 3 ? FamilyVoice : networkFamilyOfName(m_defaultNetwork);
}

bool TComDevice::hasNetwork(const std::string &name) const
{
    return m_availableNetworks.count(networkCodeOfName(name)) > 0;
}

bool TComDevice::hasNetworkFamily(int family) const
{
    if (family != FamilyIp && family != FamilyIsdn)
        return false;
    for (const auto &entry : m_availableNetworks) {
        if (networkFamilyOfCode(entry.first) == family)
            return true;
    }
    return false;
}

bool TComDevice::hasAudioConnection() const
{
    for (const auto &entry : m_connections) {
        if (isAudioKind(entry.second->kind()))
            return true;
    }
    return false;
}

TComAudioConnection *TComDevice::audioConnection(int line) const
{
    if (line < 1 || line > 3)
        return nullptr;
    return static_cast<TComAudioConnection *>(connectionByKind(line - 1));
}

TComBaseConnection *TComDevice::connectionById(int id) const
{
    const auto it = m_connections.find(id);
    return it == m_connections.end() ? nullptr : it->second;
}

TComBaseConnection *TComDevice::connectionByKind(int kind) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->kind() == kind)
            return entry.second;
    }
    return nullptr;
}

TComBaseConnection *TComDevice::connectionByKindAndNetwork(int kind, const std::string &name) const
{
    for (const auto &entry : m_connections) {
        if (entry.second->kind() == kind && entry.second->networkName() == name)
            return entry.second;
    }
    return nullptr;
}

TComAudioConnection *TComDevice::audioConnectionByNetwork(const std::string &name) const
{
    for (const auto &entry : m_connections) {
        if (isAudioKind(entry.second->kind()) && entry.second->networkName() == name)
            return static_cast<TComAudioConnection *>(entry.second);
    }
    return nullptr;
}

TComAudioConnection *TComDevice::audioConnectionByFamily(int family) const
{
    for (const auto &entry : m_connections) {
        if (isAudioKind(entry.second->kind()) && connectionNetworkFamily(entry.second) == family)
            return static_cast<TComAudioConnection *>(entry.second);
    }
    return nullptr;
}

// Bookkeeping

bool TComDevice::addConnection(TComBaseConnection *record)
{
    if (!record || record->id() == -1 || record->networkName().empty() || m_connections.count(record->id()))
        return false;
    m_connections.emplace(record->id(), record);
    record->attach(this);
    emit connectionAdded(record);
    return true;
}

void TComDevice::removeConnection(int id)
{
    const auto it = m_connections.find(id);
    if (it == m_connections.end())
        return;
    TComBaseConnection *record = it->second;
    record->detach();
    m_connections.erase(it);
    // Receivers hold the record's pointer: they hear of its end even while initialize keeps the model quiet.
    const bool wasBlocked = blockSignals(false);
    emit connectionRemoved(record);
    blockSignals(wasBlocked);
    TComBaseConnection::dispose(record);
}

void TComDevice::removeAllConnections()
{
    // One at a time from the front: a receiver of connectionRemoved may change the map.
    while (!m_connections.empty())
        removeConnection(m_connections.begin()->first);
}

void TComDevice::notifyDataConnectionState(TComDataConnection *sender)
{
    emit dataConnectionStateChanged(sender);
}

void TComDevice::notifyAudioConnectionState(TComAudioConnection *sender)
{
    emit audioConnectionStateChanged(sender);
}

void TComDevice::notifyAudioCallStatus(TComAudioConnection *sender)
{
    emit audioCallStatusChanged(sender);
}

void TComDevice::notifyAudioCallStatistic(TComAudioConnection *sender)
{
    emit audioCallStatisticChanged(sender);
}

void TComDevice::notifyAudioCallRelay(TComAudioConnection *sender)
{
    emit audioCallRelayChanged(sender);
}
