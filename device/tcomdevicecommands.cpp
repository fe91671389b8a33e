// The device model's own setters: AES67 reset, clock, fan, the codec, coordination and dual-stream modes, the
// line codecs and the default and secondary network. With send the device is asked first; a refusal leaves
// the model as it was. Then the commands: codec choice lists, reboot and shutdown, the recorder's transport,
// and the requests of the call and link records.

#include "device/tcomdevice.h"

#include "device/networkcode.h"
#include "rpc/ccom.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

namespace {

constexpr int requestTimeoutMs = 5000;

kra::CMsg paramRequest(const std::string &target)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, target);
    return request;
}

} // namespace

bool TComDevice::storeParam(const std::string &target, const std::string &key, const std::string &text)
{
    kra::CMsg request = paramRequest(target);
    request.setParam(key, text);
    return store(request);
}

bool TComDevice::setAes67Reset(bool on, bool send, bool force)
{
    if (on == m_aes67Reset && !force)
        return true;
    if (send && !storeParam(kra::TGT_AUDIO, kra::KEY_AES67_RESET, onOffText(on)))
        return false;
    m_aes67Reset = on;
    emit deviceStateChanged(Aes67ResetStored);
    return true;
}

bool TComDevice::setClockSource(int source, bool send)
{
    if (source == m_clockSource)
        return true;
    if (send
        && !storeParam(kra::TGT_GENERAL, kra::KEY_CLK_SOURCE, source == ClockAes67 ? kra::CLK_AES67 : kra::CLK_TCXO))
        return false;
    m_clockSource = source;
    return true;
}

bool TComDevice::setFan(bool on, bool send)
{
    if (on == m_fan)
        return true;
    if (send && !storeParam(kra::TGT_GENERAL, kra::KEY_FAN, onOffText(on)))
        return false;
    m_fan = on;
    return true;
}

bool TComDevice::setDualStreamMode(int mode)
{
    if (mode == m_dualStreamMode)
        return true;
    m_dualStreamMode = mode;
    emit deviceStateChanged(DualStreamModeChanged);
    return true;
}

bool TComDevice::setCoordMode(int mode, bool send)
{
    if (mode == m_coordMode)
        return true;
    if (send && !storeParam(kra::TGT_AUDIO, kra::KEY_COORD_MODE, mode == 1 ? kra::VAL_ENABLED : kra::VAL_DISABLED))
        return false;
    m_coordMode = mode;
    emit deviceStateChanged(CoordModeChanged);
    return true;
}

bool TComDevice::setLineCodec(int line, const std::string &codecText, bool send)
{
    // The voice line's codec is the device's own.
    if (line == 3)
        return false;
    const CodecFormat format = parseCodecFormat(codecText);
    if (format.algorithm == -1 || format == lineCodec(line))
        return true;
    if (send) {
        const std::string &key = line == 2                ? kra::KEY_DCODEC_2
            : line == 1 && m_codecMode == CodecModeDouble ? kra::KEY_DCODEC_1
                                                          : kra::KEY_CODEC;
        if (!storeParam(kra::TGT_AUDIO, key, codecText))
            return false;
    }
    if (line == 2) {
        m_line2Codec = format;
        emit deviceStateChanged(Line2CodecChanged);
    } else {
        m_line1Codec = format;
        emit deviceStateChanged(Line1CodecChanged);
    }
    return true;
}

bool TComDevice::setCodecMode(int mode, bool send)
{
    if (mode == m_codecMode)
        return true;
    if (send) {
        const bool doubleCodec = mode == CodecModeDouble;
        kra::CMsg aoip = paramRequest(kra::TGT_NETWORK);
        aoip.setParam(kra::KEY_NETWORK, kra::NET_AOIP);
        aoip.setParam(KEY_DOUBLE_CODEC, onOffText(doubleCodec));
        if (doubleCodec)
            aoip.setParam(KEY_AUDIO_MODE, TComAoIPController::audioModeToText(TComAoIPController::AudioModeSip));
        if (!store(aoip))
            return false;

        const std::string &codecMode = doubleCodec ? kra::CMODE_DOUBLE : kra::CMODE_NORMAL;
        kra::CMsg audio = paramRequest(kra::TGT_AUDIO);
        audio.setParam(kra::KEY_IP_CODEC_MODE, codecMode);
        if (m_deviceOptions & OptIsdnDoubleCodec)
            audio.setParam(kra::KEY_ISDN_CODEC_MODE, codecMode);
        if (!store(audio))
            return false;

        kra::CMsg reinit(kra::CMsg::Do);
        reinit.setParam(kra::KEY_ACTION, kra::CMD_REINIT);
        reinit.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
        reinit.setParam(kra::KEY_NETWORK, kra::NET_AOIP);
        if (!m_rpc.execute(reinit, requestTimeoutMs))
            return false;
    }
    m_codecMode = mode;
    emit deviceStateChanged(CodecModeChanged);
    return true;
}

bool TComDevice::setDefaultNetwork(const std::string &name, bool send)
{
    if (name == m_defaultNetwork)
        return true;
    if (send && !m_rpc.setDefaultNetwork(name))
        return false;
    m_defaultNetwork = name;
    emit deviceStateChanged(DefaultNetworkChanged);

    // The new default interface's controller follows it; its own reports stay quiet until it is read.
    DeviceState follow;
    const bool wasBlocked = blockSignals(true);
    switch (networkTypeOfName(name)) {
    case TypeEthernet:
        m_ethernet.attach(name, 0, false);
        m_ethernet.fetch({kra::KEY_MODE, TComEthernetController::KEY_CABLE});
        follow = EthernetChanged;
        break;
    case TypeMobile:
        m_mobile.attach(name, 0, false);
        m_mobile.fetch({KEY_MOBILE_MODE, KEY_MOBILE_SIGNAL_QUALITY});
        updateMobileSignalBars();
        follow = MobileChanged;
        break;
    case TypeWifi:
        m_wifi.attach(name, 0, false);
        m_wifi.fetch({TComWifiController::KEY_SIGNAL_QUALITY});
        updateWifiSignalBars();
        follow = WifiChanged;
        break;
    default:
        blockSignals(wasBlocked);
        return true;
    }
    blockSignals(wasBlocked);
    emit deviceStateChanged(follow);
    return true;
}

bool TComDevice::setSecondaryNetwork(const std::string &name, bool send)
{
    if (name == m_secondaryNetwork)
        return true;
    if (send && !storeParam(kra::TGT_NETWORK, kra::EVT_SECONDARY_NETWORK, name))
        return false;
    m_secondaryNetwork = name;
    emit deviceStateChanged(SecondaryNetworkChanged);
    return true;
}

// Codec choice lists

namespace {

kra::CMsg codecListRequest(int codecMode, int networkType)
{
    kra::CMsg request = paramRequest(kra::TGT_AUDIO);
    // "double_codec" is also the word of the AoIP interface's parameter.
    request.setParam(
        kra::KEY_CODEC_MODE, codecMode == TComDevice::CodecModeDouble ? KEY_DOUBLE_CODEC : kra::VAL_SINGLE_CODEC);
    if (networkType == TypeEthernet || networkType == TypeMobile || networkType == TypeWifi)
        request.setParam(kra::KEY_NETWORK, kra::VAL_IP);
    else if (networkType == TypeIsdn)
        request.setParam(kra::KEY_NETWORK, kra::VAL_ISDN);
    return request;
}

} // namespace

bool TComDevice::getCodecAlgorithms(int codecMode, std::vector<int> &out, int networkType)
{
    kra::CMsg request = codecListRequest(codecMode, networkType);
    return readCodecList(request, kra::KEY_ALG, out, codecAlgorithmFromString);
}

bool TComDevice::getCodecModes(int codecMode, int algorithm, std::vector<int> &out, int networkType)
{
    kra::CMsg request = codecListRequest(codecMode, networkType);
    request.setParam(kra::KEY_ALG, codecAlgorithmToString(algorithm));
    return readCodecList(request, kra::KEY_MODE, out, channelModeFromString);
}

bool TComDevice::getCodecSampleRates(
    int codecMode, int algorithm, int channelMode, std::vector<int> &out, int networkType)
{
    kra::CMsg request = codecListRequest(codecMode, networkType);
    request.setParam(kra::KEY_ALG, codecAlgorithmToString(algorithm));
    request.setParam(kra::KEY_MODE, channelModeToString(channelMode));
    return readCodecList(request, kra::KEY_SAMPLERATE, out, stringToInt);
}

bool TComDevice::getCodecBitrates(
    int codecMode, int algorithm, int channelMode, int sampleRate, std::vector<int> &out, int networkType)
{
    kra::CMsg request = codecListRequest(codecMode, networkType);
    request.setParam(kra::KEY_ALG, codecAlgorithmToString(algorithm));
    request.setParam(kra::KEY_MODE, channelModeToString(channelMode));
    request.setParam(kra::KEY_SAMPLERATE, longToString(sampleRate));
    return readCodecList(request, kra::KEY_BITRATE, out, stringToInt);
}

bool TComDevice::readCodecList(
    kra::CMsg &request, const std::string &name, std::vector<int> &out, int (*convert)(const std::string &))
{
    out.clear();
    request.addList(name);
    std::vector<std::string> items;
    if (!m_rpc.getList(request, items, requestTimeoutMs))
        return false;
    for (const std::string &item : items)
        out.push_back(convert(item));
    return true;
}

// System

bool TComDevice::systemAction(const std::string &action)
{
    kra::CCom *com = m_rpc.com();
    if (!com)
        return false;
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, action);
    kra::CMsg reply;
    // Asked for 300 ms, which the service reads as its 5 s.
    const int result = com->sendSyncMsg(request, reply, 1000, 300);
    // The device goes down while it acts, and may take the link with it before it answers. A link that was
    // already down took nothing to the device.
    if (result == RpcConnection::CancelledError)
        return true;
    return result == RpcConnection::NoError && reply.value(kra::KEY_RETURN) == kra::RET_OK;
}

bool TComDevice::reboot()
{
    return systemAction(kra::CMD_REBOOT);
}

bool TComDevice::shutdown()
{
    return systemAction(kra::CMD_SHUTDOWN);
}

// Recorder transport

bool TComDevice::recorderAction(const kra::CMsg &request)
{
    TComRpcAccess rpc(m_rpc.com());
    return rpc.execute(request, requestTimeoutMs);
}

namespace {

kra::CMsg actionRequest(const std::string &action)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, action);
    return request;
}

} // namespace

bool TComDevice::recordStart(const std::string &uri, const std::string &source, const std::string &format)
{
    if (uri.empty())
        return false;
    kra::CMsg request = actionRequest(kra::ACT_RECORD_START);
    request.setParam(kra::ACT_RECORD_FORMAT, format);
    request.setParam(kra::ACT_GENERIC_URI, uri);
    request.setParam(kra::ACT_RECORD_SOURCE, source);
    return recorderAction(request);
}

bool TComDevice::recordStop()
{
    return recorderAction(actionRequest(kra::ACT_RECORD_STOP));
}

bool TComDevice::playbackStart(const std::string &uri, const std::string &format)
{
    if (uri.empty())
        return false;
    kra::CMsg request = actionRequest(kra::ACT_PLAYBACK_START);
    request.setParam(kra::ACT_RECORD_FORMAT, format);
    request.setParam(kra::ACT_GENERIC_URI, uri);
    return recorderAction(request);
}

bool TComDevice::playbackStartEditor(const std::string &uri, const std::string &mode, const std::string &channel,
    const std::string &startMark, const std::string &endMark)
{
    if (uri.empty())
        return false;
    kra::CMsg request = actionRequest(kra::ACT_PLAYBACK_START);
    request.setParam(kra::ACT_GENERIC_URI, uri);
    request.setParam(kra::KEY_MODE, mode);
    // The editor plays the project's own files, which are always at 48 kHz.
    request.setParam(kra::KEY_SAMPLERATE, kra::RATE_48000);
    request.setParam(kra::CMD_PLAYBACK_MODE, kra::PLAYBACK_EDITOR);
    request.setParam(kra::CMD_CHANNEL, channel);
    request.setParam(kra::CMD_START_MARK, startMark);
    request.setParam(kra::CMD_END_MARK, endMark);
    return recorderAction(request);
}

bool TComDevice::playbackStop()
{
    return recorderAction(actionRequest(kra::ACT_PLAYBACK_STOP));
}

bool TComDevice::playbackPause()
{
    return recorderAction(actionRequest(kra::ACT_PLAYBACK_PAUSE));
}

bool TComDevice::playbackUnpause()
{
    return recorderAction(actionRequest(kra::ACT_PLAYBACK_UNPAUSE));
}

bool TComDevice::projectNew(const char *mountPoint, const char *project, const char *uri)
{
    const auto text = [](const char *s) { return s ? std::string(s) : std::string(); };
    kra::CMsg request = actionRequest(kra::CMD_PROJECT_NEW);
    request.setParam(kra::CMD_RECORD_MOUNT_POINT, text(mountPoint));
    request.setParam(kra::CMD_RECORD_PROJECT, text(project));
    request.setParam(kra::ACT_GENERIC_URI, text(uri));
    return recorderAction(request);
}

std::string TComDevice::getRecorderState()
{
    kra::CMsg request = paramRequest(kra::TGT_AUDIO);
    request.addGet(kra::KEY_RECORDER_STATE);
    std::map<std::string, std::string> values, errors;
    if (m_rpc.getParams(request, values, errors, requestTimeoutMs) != 1)
        return std::string();
    const auto it = values.find(kra::KEY_RECORDER_STATE);
    return it == values.end() ? std::string() : it->second;
}

// Calls and data links

namespace {

const std::string &linkWord(int kind)
{
    switch (kind) {
    case TComBaseConnection::KindLine1:
        return kra::LINK_AUDIO;
    case TComBaseConnection::KindLine2:
        return kra::LINK_AUDIO2;
    default:
        return kra::LINK_COORD_LINE;
    }
}

const std::string &dataLinkMode(const std::string &network)
{
    return networkTypeOfName(network) == TypeWifi ? kra::LINK_WIFI : kra::LINK_DATA;
}

bool accepted(int result, const kra::CMsg &reply)
{
    return result == RpcConnection::NoError && reply.value(kra::KEY_RETURN) == kra::RET_OK;
}

kra::CMsg hangUpRequest(int id, const std::string &network)
{
    kra::CMsg request = actionRequest(kra::CMD_DCON);
    request.setParam(kra::KEY_NETWORK, network);
    request.setParam(kra::KEY_ID, longToString(id));
    return request;
}

} // namespace

int TComAudioConnection::connect(const std::string &network, const std::string &remoteNumber)
{
    constexpr int unknownCause = 200;
    if (!m_com || m_state != Idle)
        return unknownCause;
    Hold hold(this);
    setRemoteNumber(remoteNumber);
    kra::CMsg request = actionRequest(kra::CMD_CON);
    request.setParam(kra::KEY_COMM_LINK, linkWord(m_kind));
    request.setParam(kra::KEY_REMOTE_ADDR, m_remoteAddresses[0]);
    request.setParam(kra::KEY_NETWORK, network);
    // Further addresses only in an unbroken row after the first.
    const std::string *const keys[] = {&kra::KEY_REMOTE_ADDR2, &kra::KEY_REMOTE_ADDR3, &kra::KEY_REMOTE_ADDR4};
    for (int i = 1; i < 4 && !m_remoteAddresses[i].empty(); ++i)
        request.setParam(*keys[i - 1], m_remoteAddresses[i]);
    // The device reports the addresses of the running call itself.
    clearRemoteAddresses();

    kra::CMsg reply;
    if (m_com->sendSyncMsg(request, reply, 1000, requestTimeoutMs) != RpcConnection::NoError)
        return unknownCause;
    if (reply.value(kra::KEY_RETURN) != kra::RET_OK)
        return reply.causeCode();
    m_id = stringToInt(reply.value(kra::KEY_ID));
    m_direction = Outgoing;
    m_ringCount = 0;
    m_networkName = network;
    if (m_kind == KindVoiceLine) {
        m_rxCodec = mobileVoiceCodec();
        m_txCodec = mobileVoiceCodec();
    }
    setCallState(SettingUp, StatusOutgoing);
    return 0;
}

bool TComAudioConnection::accept(int id, const std::string &network)
{
    if (!m_com || m_state != Idle)
        return false;
    Hold hold(this);
    kra::CMsg request = actionRequest(kra::CMD_CONACC);
    request.setParam(kra::KEY_ID, longToString(id));
    request.setParam(kra::KEY_NETWORK, network);
    kra::CMsg reply;
    if (!accepted(m_com->sendSyncMsg(request, reply, 1000, requestTimeoutMs), reply))
        return false;
    // A reply that does not name the call leaves it the call that was accepted, not call 0.
    const std::string &replyId = reply.value(kra::KEY_ID);
    m_id = replyId.empty() ? id : stringToInt(replyId);
    m_direction = Incoming;
    m_ringCount = 0;
    m_networkName = network;
    if (m_kind == KindVoiceLine) {
        m_rxCodec = mobileVoiceCodec();
        m_txCodec = mobileVoiceCodec();
    }
    setCallState(SettingUp, StatusAccepted);
    return true;
}

bool TComAudioConnection::disconnect()
{
    if (!m_com || (m_state != SettingUp && m_state != Connected))
        return false;
    Hold hold(this);
    kra::CMsg reply;
    if (!accepted(m_com->sendSyncMsg(hangUpRequest(m_id, m_networkName), reply, 1000, requestTimeoutMs), reply))
        return false;
    setCallState(Disconnecting, StatusDisconnected);
    return true;
}

bool TComAudioConnection::disconnectCall(int id, const std::string &network)
{
    if (!m_com)
        return false;
    Hold hold(this);
    kra::CMsg reply;
    return accepted(m_com->sendSyncMsg(hangUpRequest(id, network), reply, 1000, requestTimeoutMs), reply);
}

bool TComDataConnection::connect(const std::string &network)
{
    if (!m_com || m_state != Idle)
        return false;
    Hold hold(this);
    kra::CMsg request = actionRequest(kra::CMD_CON);
    request.setParam(kra::KEY_COMM_LINK, kra::LINK_DATA);
    request.setParam(kra::KEY_MODE, dataLinkMode(network));
    request.setParam(kra::KEY_NETWORK, network);
    kra::CMsg reply;
    if (!accepted(m_com->sendSyncMsg(request, reply, 1000, requestTimeoutMs), reply))
        return false;
    m_id = stringToInt(reply.value(kra::KEY_ID));
    m_networkName = network;
    changeState(Connecting);
    return true;
}

bool TComDataConnection::fetchLink(const std::string &network)
{
    if (m_state != Idle)
        return false;
    Hold hold(this);
    const int id = fetchLinkId(network);
    return id != -1 && bind(id, network, Connected);
}

bool TComDataConnection::disconnect()
{
    if (!m_com || (m_state != Connecting && m_state != Connected))
        return false;
    Hold hold(this);
    kra::CMsg reply;
    if (!accepted(m_com->sendSyncMsg(hangUpRequest(m_id, m_networkName), reply, 1000, requestTimeoutMs), reply))
        return false;
    changeState(Disconnecting);
    return true;
}
