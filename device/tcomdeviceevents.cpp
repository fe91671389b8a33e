// The device model's EVENT and INFO handling: interface and codec reports, relays, battery, registrations, and
// the call and link events that create, update and remove connection records.

#include "device/tcomdevice.h"

#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <algorithm>

namespace {

bool isOutgoingCallEvent(const std::string &type)
{
    return type == kra::EVT_CALL_AUTO_REDIAL || type == kra::EVT_CALL_PROCEEDING || type == kra::EVT_CALL_ACTIVE
        || type == kra::EVT_DSP_STATUS;
}

bool isIncomingCallEvent(const std::string &type)
{
    return type == kra::EVT_CALL_RECEIVED || type == kra::EVT_CALL_RING;
}

} // namespace

bool TComDevice::handleEvent(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string type = body.value(kra::KEY_EVENT_TYPE);
    if (type.empty())
        return false;

    if (type == kra::EVT_DEFAULT_NETWORK) {
        setDefaultNetwork(body.value(kra::KEY_NETWORK), false);
        return true;
    }
    if (type == kra::EVT_SECONDARY_NETWORK) {
        setSecondaryNetwork(body.value(kra::KEY_NETWORK), false);
        return true;
    }
    if (type == kra::EVT_DEFAULT_CODEC) {
        handleDefaultCodec(body);
        return true;
    }
    if (type == kra::EVT_CODEC_CHANGE) {
        handleCodecChange(body);
        return true;
    }
    if (type == kra::EVT_CONFIG_INFO) {
        if (m_ethernet.handleEvent(message))
            emit deviceStateChanged(EthernetChanged);
        if (m_mobile.handleEvent(message))
            emit deviceStateChanged(MobileChanged);
        if (m_wifi.handleEvent(message))
            emit deviceStateChanged(WifiChanged);
        return true;
    }
    if (type == kra::EVT_AOIP_CONFIG) {
        m_aoip.setJitterab(body.value(kra::KEY_AUTO_JBUFFER) == kra::VAL_ON, false);
        return true;
    }
    if (isOutgoingCallEvent(type) || isIncomingCallEvent(type) || type == kra::EVT_DATA_CONNECTED)
        return handleConnectionEvent(message, type);
    if (type == kra::EVT_RELAY_IN) {
        handleRelays(body);
        return true;
    }

    const std::string &idText = body.value(kra::KEY_ID);
    if (idText.empty())
        return false;
    const int id = stringToInt(idText);
    TComBaseConnection *record = connectionById(id);
    if (!record)
        return false;
    TComBaseConnection::Hold hold(record);
    // The record may have left the model while its receivers waited: then it is not the model's to remove.
    if (record->handleEvent(message) && record->state() == TComBaseConnection::EndedState
        && connectionById(id) == record)
        removeConnection(id);
    return true;
}

bool TComDevice::handleConnectionEvent(RpcMessage &message, const std::string &type)
{
    const kra::CMsg &body = message.body();
    const int id = stringToInt(body.value(kra::KEY_ID));
    TComBaseConnection *record = connectionById(id);
    const bool created = !record;
    if (created) {
        const std::string &network = body.value(kra::KEY_NETWORK);
        if (type == kra::EVT_DATA_CONNECTED) {
            auto *link = new TComDataConnection(m_rpc.com());
            link->bind(id, network, TComDataConnection::Connecting);
            record = link;
        } else {
            const std::string &commLink = body.value(kra::KEY_COMM_LINK);
            const int line = commLink == kra::LINK_AUDIO2 ? 1 : commLink == kra::KEY_COORD_LINE ? 2 : 0;
            auto *call = new TComAudioConnection(m_rpc.com(), line);
            call->bind(
                isIncomingCallEvent(type) ? TComAudioConnection::Incoming : TComAudioConnection::Outgoing, id, network);
            if (type == kra::EVT_DSP_STATUS)
                call->parseRemoteAddresses(message);
            record = call;
        }
    }

    TComBaseConnection::Hold hold(record);
    if (created) {
        if (!addConnection(record)) {
            TComBaseConnection::dispose(record);
            return true;
        }
        // Each receiver may have reset the model and so removed the record.
        if (connectionById(id) != record)
            return true;
        if (record->kind() != TComBaseConnection::KindDataLink)
            emit audioConnectionStateChanged(static_cast<TComAudioConnection *>(record));
        if (connectionById(id) != record)
            return true;
    }
    if (record->handleEvent(message) && record->state() == TComBaseConnection::EndedState
        && connectionById(id) == record)
        removeConnection(id);
    return true;
}

void TComDevice::handleRelays(const kra::CMsg &body)
{
    // The relays of a call on another line are that call's.
    const std::string &id = body.value(kra::KEY_ID);
    if (!id.empty()) {
        const TComBaseConnection *record = connectionById(stringToInt(id));
        if (record && record->kind() != TComBaseConnection::KindLine1)
            return;
    }
    const bool on1 = body.value(kra::KEY_RELAY1) == kra::VAL_ON;
    const bool on2 = body.value(kra::KEY_RELAY2) == kra::VAL_ON;
    const std::string &config1 = body.value(kra::KEY_CONFIG1);
    const std::string &config2 = body.value(kra::KEY_CONFIG2);
    if (m_relaysKnown && on1 == m_relay1.on && on2 == m_relay2.on && config1 == m_relay1.config
        && config2 == m_relay2.config)
        return;
    m_relaysKnown = true;
    m_relay1.previousConfig = m_relay1.config;
    m_relay2.previousConfig = m_relay2.config;
    m_relay1.on = on1;
    m_relay2.on = on2;
    m_relay1.config = config1;
    m_relay2.config = config2;
    emit deviceStateChanged(RelaysChanged);
}

void TComDevice::handleDefaultCodec(const kra::CMsg &body)
{
    const std::string &mode = body.value(kra::KEY_CODEC_MODE);
    if (mode == kra::CMODE_NORMAL) {
        if (body.value(kra::KEY_TYPE) == kra::VAL_IP) {
            const std::string &dualStream = body.value(kra::KEY_DSTREAM_MODE);
            if (dualStream == kra::VAL_DISABLED)
                setDualStreamMode(0);
            else if (dualStream == kra::VAL_ENABLED)
                setDualStreamMode(1);
        }
        const std::string &coord = body.value(kra::KEY_COORD_MODE);
        if (coord == kra::VAL_DISABLED)
            setCoordMode(0, false);
        else if (coord == kra::VAL_ENABLED)
            setCoordMode(1, false);
        setCodecMode(CodecModeSingle, false);
        const std::string &codec = body.value(kra::KEY_CODEC);
        if (!codec.empty())
            setLineCodec(1, codec, false);
    } else if (mode == kra::CMODE_DOUBLE) {
        setDualStreamMode(0);
        setCoordMode(0, false);
        setCodecMode(CodecModeDouble, false);
        const std::string &codec1 = body.value(kra::KEY_DCODEC_1);
        if (!codec1.empty())
            setLineCodec(1, codec1, false);
        const std::string &codec2 = body.value(kra::KEY_DCODEC_2);
        if (!codec2.empty())
            setLineCodec(2, codec2, false);
    }
}

void TComDevice::handleCodecChange(const kra::CMsg &body)
{
    if (body.value(kra::KEY_TYPE) != kra::VAL_IP)
        return;
    const std::string &mode = body.value(kra::KEY_CODEC_MODE);
    if (mode == kra::CMODE_NORMAL) {
        const std::string &dualStream = body.value(kra::KEY_DSTREAM_MODE);
        if (dualStream == kra::VAL_ENABLED)
            setDualStreamMode(1);
        else if (dualStream == kra::VAL_DISABLED)
            setDualStreamMode(0);
    } else if (mode == kra::CMODE_DOUBLE) {
        setDualStreamMode(0);
    }
}

bool TComDevice::handleInfo(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string type = body.value(kra::KEY_INFO_TYPE);
    if (type.empty())
        return false;

    if (type == kra::EVT_NETWORK_INFO) {
        if (m_mobile.handleInfo(message)) {
            updateMobileSignalBars();
            emit deviceStateChanged(MobileNetworkInfo);
        } else if (m_wifi.handleInfo(message)) {
            updateWifiSignalBars();
            emit deviceStateChanged(WifiNetworkInfo);
        }
        return true;
    }
    if (type == kra::EVT_BATTERY_LEVEL) {
        handleBattery(body);
        return true;
    }
    if (type == kra::EVT_SIP_REGISTRATION) {
        handleSipRegistration(message, m_aoip.account1(), SipAccount1Changed);
        return true;
    }
    if (type == kra::EVT_SIP_REGISTRATION2) {
        handleSipRegistration(message, m_aoip.account2(), SipAccount2Changed);
        return true;
    }
    if (type == kra::EVT_AUDIO_CHANGESET) {
        if (const std::string *reset = body.param(kra::KEY_AES67_RESET))
            setAes67Reset(*reset == kra::VAL_ON, false, false);
        return true;
    }
    return false;
}

void TComDevice::handleBattery(const kra::CMsg &body)
{
    bool changed = false;
    // A report without a value leaves that value: an absent level is no empty battery.
    const std::string &level = body.value(kra::KEY_LEVEL);
    if (!level.empty()) {
        const int percent = std::clamp(stringToInt(level), 0, 100);
        changed = percent != m_batteryLevel;
        m_batteryLevel = percent;
    }
    const std::string &status = body.value(kra::KEY_STATUS);
    if (!status.empty() && setBatteryStatus(status))
        changed = true;
    const std::string &remaining = body.value(kra::KEY_REMAINING);
    if (!remaining.empty()) {
        const int minutes = stringToInt(remaining);
        changed = changed || minutes != m_batteryRemaining;
        m_batteryRemaining = minutes;
    }
    if (changed)
        emit deviceStateChanged(BatteryChanged);
}

void TComDevice::handleSipRegistration(RpcMessage &message, const TComSipAccount &account, DeviceState state)
{
    const bool wasRegistered = account.registered();
    const std::string stateText = account.stateText();
    if (m_aoip.handleInfo(message) && (account.registered() != wasRegistered || account.stateText() != stateText))
        emit deviceStateChanged(state);
}
