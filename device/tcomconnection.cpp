#include "device/tcomconnection.h"

#include "device/networkcode.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <vector>

namespace {

constexpr int requestTimeoutMs = 5000;

} // namespace

CodecFormat noCodec()
{
    CodecFormat format;
    format.channelMode = 0;
    return format;
}

CodecFormat mobileVoiceCodec()
{
    CodecFormat format = noCodec();
    format.algorithm = mobileVoiceAlgorithm;
    return format;
}

// The base

TComBaseConnection::TComBaseConnection(kra::CCom *com, int kind) : m_com(com), m_kind(kind) { }

TComBaseConnection::~TComBaseConnection() = default;

void TComBaseConnection::attach(TComDevice *device)
{
    m_observer = device;
}

void TComBaseConnection::detach()
{
    m_observer = nullptr;
}

void TComBaseConnection::reset()
{
    m_id = -1;
    m_networkName.clear();
}

void TComBaseConnection::dispose(TComBaseConnection *record)
{
    if (!record)
        return;
    if (record->m_holds > 0)
        record->m_disposed = true;
    else
        delete record;
}

TComBaseConnection::Hold::Hold(TComBaseConnection *record) : m_record(record)
{
    ++m_record->m_holds;
}

TComBaseConnection::Hold::~Hold()
{
    if (--m_record->m_holds == 0 && m_record->m_disposed)
        delete m_record;
}

// Data links

TComDataConnection::TComDataConnection(kra::CCom *com) : TComBaseConnection(com, KindDataLink) { }

void TComDataConnection::setState(int state)
{
    Hold hold(this);
    m_state = state;
    if (m_observer)
        m_observer->notifyDataConnectionState(this);
}

void TComDataConnection::changeState(int state)
{
    if (state != m_state)
        setState(state);
}

void TComDataConnection::reset()
{
    Hold hold(this);
    TComBaseConnection::reset();
    changeState(Idle);
}

bool TComDataConnection::bind(int id, const std::string &network, int state)
{
    if (m_state != Idle)
        return false;
    Hold hold(this);
    m_id = id;
    m_networkName = network;
    changeState(state);
    return true;
}

bool TComDataConnection::handleEvent(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    const std::string &id = body.value(kra::KEY_ID);
    const std::string &network = body.value(kra::KEY_NETWORK);
    if (type.empty() || id.empty() || network.empty() || stringToInt(id) != m_id || network != m_networkName)
        return false;
    if (type == kra::EVT_DATA_CONNECTED)
        changeState(Connected);
    else if (type == kra::EVT_DATA_DISCONNECTED)
        changeState(Disconnected);
    else
        return false;
    return true;
}

int TComDataConnection::fetchLinkId(const std::string &network)
{
    if (!m_com)
        return -1;
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    request.setParam(kra::KEY_NETWORK, network);
    request.setParam(kra::KEY_MODE, networkTypeOfName(network) == TypeWifi ? kra::LINK_WIFI : kra::LINK_DATA);
    request.addGet(kra::KEY_ID);
    kra::CMsg reply;
    Hold hold(this);
    if (m_com->sendSyncMsg(request, reply, 1000, requestTimeoutMs) != 0 || reply.value(kra::KEY_RETURN) != kra::RET_OK)
        return -1;
    const std::string &id = reply.value(kra::KEY_ID);
    return id.empty() ? -1 : stringToInt(id);
}

// Calls

TComAudioConnection::TComAudioConnection(kra::CCom *com, int line)
    : TComBaseConnection(com,
        line == 0       ? KindLine1
            : line == 1 ? KindLine2
                        : KindVoiceLine),
      m_rxCodec(noCodec()),
      m_txCodec(noCodec())
{
}

void TComAudioConnection::attach(TComDevice *device)
{
    TComBaseConnection::attach(device);
    m_doubleCodec = device && device->codecMode() == TComDevice::CodecModeDouble;
}

void TComAudioConnection::setCallState(int state, int status)
{
    Hold hold(this);
    if (status == m_callStatus && status != StatusRinging && status != StatusInSync) {
        if (state != m_state) {
            m_state = state;
            if (m_observer)
                m_observer->notifyAudioConnectionState(this);
        }
        return;
    }
    const bool stateChanged = state != m_state;
    m_previousCallStatus = m_callStatus;
    m_callStatus = status;
    m_state = state;
    if (status == StatusRinging)
        ++m_ringCount;
    if (m_observer)
        m_observer->notifyAudioCallStatus(this);
    // A receiver of the status may have taken the record from the model; then it no longer reports.
    if (stateChanged && m_observer)
        m_observer->notifyAudioConnectionState(this);
}

bool TComAudioConnection::bind(int direction, int id, const std::string &network)
{
    Hold hold(this);
    m_ringCount = 0;
    m_id = id;
    m_direction = direction;
    m_networkName = network;
    if (m_kind == KindVoiceLine) {
        m_rxCodec = mobileVoiceCodec();
        m_txCodec = mobileVoiceCodec();
    }
    setCallState(SettingUp, StatusNone);
    return true;
}

bool TComAudioConnection::bindIfIdle(int direction, int id, const std::string &network)
{
    if (m_state != Idle)
        return false;
    return bind(direction, id, network);
}

void TComAudioConnection::reset()
{
    Hold hold(this);
    TComBaseConnection::reset();
    m_syncRelay = false;
    m_autoBitrate = false;
    m_streamAddresses = false;
    m_direction = DirectionUnknown;
    m_ringCount = 0;
    m_rxCodec = noCodec();
    m_txCodec = noCodec();
    for (RxReport &report : m_rxReports)
        report = RxReport();
    for (TxReport &report : m_txReports)
        report = TxReport();
    m_relayReportKnown = false;
    m_relay1Out = false;
    m_relay2Out = false;
    m_causeText.clear();
    clearRemoteAddresses();
    setCallState(Idle, StatusNone);
}

const std::string &TComAudioConnection::remoteAddress(int number) const
{
    return number >= 1 && number <= 4 ? m_remoteAddresses[number - 1] : kra::EMPTY_WORD;
}

void TComAudioConnection::clearRemoteAddresses()
{
    m_remoteNumber.clear();
    for (std::string &address : m_remoteAddresses)
        address.clear();
}

void TComAudioConnection::setRemoteNumber(const std::string &text)
{
    clearRemoteAddresses();
    std::vector<std::string> parts;
    if (kra::splitString(text, parts, ",") == 0)
        return;
    m_remoteNumber = text;
    for (size_t i = 0; i < parts.size() && i < 4; ++i)
        m_remoteAddresses[i] = parts[i];
}

void TComAudioConnection::joinRemoteNumber()
{
    m_remoteNumber.clear();
    for (const std::string &address : m_remoteAddresses) {
        if (address.empty())
            continue;
        if (!m_remoteNumber.empty())
            m_remoteNumber += ',';
        m_remoteNumber += address;
    }
}

void TComAudioConnection::parseRemoteAddresses(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &address = body.value(kra::KEY_REMOTE_ADDR);
    if (address.empty())
        return;
    const std::string &channel = body.value(kra::KEY_BCHANNELNO);
    const std::string &stream = body.value(kra::KEY_STREAM_ID);
    const auto fillEmpty = [&address](std::string &slot) {
        if (slot.empty())
            slot = address;
    };
    if (!channel.empty()) {
        // An ISDN call: each B channel brings its own number.
        if (m_doubleCodec) {
            fillEmpty(m_remoteAddresses[0]);
        } else if (body.value(kra::KEY_SB) == "1") {
            if (channel == "1")
                fillEmpty(m_remoteAddresses[2]);
            else if (channel == "2")
                fillEmpty(m_remoteAddresses[3]);
        } else {
            if (channel == "2")
                fillEmpty(m_remoteAddresses[1]);
            else if (channel == "1")
                fillEmpty(m_remoteAddresses[0]);
        }
    } else if (!stream.empty()) {
        m_streamAddresses = true;
        m_remoteAddresses[stream == "2" ? 1 : 0] = address;
    } else {
        m_remoteAddresses[0] = address;
        const std::string *const keys[] = {&kra::KEY_REMOTE_ADDR2, &kra::KEY_REMOTE_ADDR3, &kra::KEY_REMOTE_ADDR4};
        for (int i = 0; i < 3; ++i) {
            const std::string &further = body.value(*keys[i]);
            if (!further.empty())
                m_remoteAddresses[i + 1] = further;
        }
    }
    joinRemoteNumber();
}

void TComAudioConnection::takeCodecs(const kra::CMsg &body)
{
    const std::string &rx = body.value(kra::KEY_CODEC_RX);
    if (!rx.empty())
        m_rxCodec = parseCodecFormat(rx);
    const std::string &tx = body.value(kra::KEY_CODEC_TX);
    if (!tx.empty())
        m_txCodec = parseCodecFormat(tx);
}

bool TComAudioConnection::handleEvent(RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    const std::string &type = body.value(kra::KEY_EVENT_TYPE);
    const std::string &id = body.value(kra::KEY_ID);
    if (type.empty() || id.empty() || stringToInt(id) != m_id)
        return false;
    Hold hold(this);

    // The relay report names the call but not always its network.
    if (type == kra::EVT_RELAY_OUT) {
        const bool on1 = body.value(kra::KEY_RELAY1) == kra::VAL_ON;
        const bool on2 = body.value(kra::KEY_RELAY2) == kra::VAL_ON;
        if (m_relayReportKnown && on1 == m_relay1Out && on2 == m_relay2Out)
            return true;
        m_relayReportKnown = true;
        m_relay1Out = on1;
        m_relay2Out = on2;
        if (m_observer)
            m_observer->notifyAudioCallRelay(this);
        return true;
    }

    const std::string &network = body.value(kra::KEY_NETWORK);
    if (network.empty() || network != m_networkName)
        return false;

    if (type == kra::EVT_CALL_RECEIVED) {
        setCallState(SettingUp, StatusRinging);
    } else if (type == kra::EVT_CALL_RING) {
        parseRemoteAddresses(message);
        setCallState(SettingUp, StatusRinging);
    } else if (type == kra::EVT_CALL_INFO) {
        parseRemoteAddresses(message);
    } else if (type == kra::EVT_CALL_AUTO_REDIAL) {
        setCallState(SettingUp, StatusAutoRedial);
    } else if (type == kra::EVT_CALL_PROCEEDING) {
        setCallState(SettingUp, StatusProceeding);
    } else if (type == kra::EVT_CALL_ACTIVE) {
        parseRemoteAddresses(message);
        if (m_kind != KindVoiceLine) {
            takeCodecs(body);
            if (const std::string *autoBitrate = body.param(kra::KEY_AUTO_BITRATE))
                m_autoBitrate = *autoBitrate == kra::VAL_ON;
        }
        setCallState(Connected, StatusActive);
        // The voice line has no synchronisation of its own: active is in sync.
        if (m_kind == KindVoiceLine)
            setCallState(Connected, StatusInSync);
    } else if (type == kra::EVT_DSP_STATUS) {
        parseRemoteAddresses(message);
        const std::string &state = body.value(kra::KEY_STATE);
        if (state == kra::DSP_NEGOTIATING) {
            setCallState(Connected, StatusNegotiating);
        } else if (state == kra::DSP_WAITING_FOR_SYNC) {
            setCallState(Connected, StatusWaitingForSync);
        } else if (state == kra::DSP_SYNC) {
            takeCodecs(body);
            if (const std::string *relay = body.param(kra::KEY_RELAY))
                m_syncRelay = *relay == kra::VAL_ON;
            setCallState(Connected, StatusInSync);
        } else if (state == kra::DSP_SYNC_LOST) {
            setCallState(Connected, StatusSyncLost);
        }
    } else if (type == kra::EVT_CALL_DISCONNECTED) {
        setCallState(Disconnecting, StatusDisconnected);
    } else if (type == kra::EVT_CALL_RELEASED) {
        m_causeText = body.value(kra::KEY_CAUSE);
        setCallState(Ended, StatusReleased);
    } else if (type == kra::EVT_CALL_ERROR) {
        m_causeText = body.value(kra::KEY_CAUSE);
        setCallState(Ended, StatusError);
    } else if (type == kra::EVT_CALL_LOST) {
        m_causeText = body.value(kra::KEY_CAUSE);
        setCallState(Ended, StatusLost);
    } else if (type == kra::EVT_TX_QUALITY_REPORT || type == kra::EVT_RX_QUALITY_REPORT) {
        const std::string &quality = body.value(kra::KEY_NET_QUALITY);
        if (quality.empty())
            return true;
        const int stream = body.value(kra::KEY_STREAM_ID) == "2" ? 1 : 0;
        const auto take = [&body](const std::string &key, int &field) {
            const std::string &text = body.value(key);
            if (!text.empty())
                field = stringToInt(text);
        };
        if (type == kra::EVT_TX_QUALITY_REPORT) {
            TxReport &report = m_txReports[stream];
            report.netQuality = stringToInt(quality);
            take(kra::KEY_DURATION, report.duration);
            take(kra::KEY_PKTS_TOTAL, report.pktsTotal);
            take(kra::KEY_PKTS_LOST, report.pktsLost);
            take(kra::KEY_JTR_AVG, report.jtrAvg);
            take(kra::KEY_JTR_MAX, report.jtrMax);
        } else {
            RxReport &report = m_rxReports[stream];
            report.netQuality = stringToInt(quality);
            take(kra::KEY_DURATION, report.duration);
            take(kra::KEY_PKTS_TOTAL, report.pktsTotal);
            take(kra::KEY_PKTS_LOST, report.pktsLost);
            take(kra::KEY_PKTS_DISCARDED, report.pktsDiscarded);
            take(kra::KEY_PKTS_DUPLICATED, report.pktsDuplicated);
            take(kra::KEY_PKTS_REORDERD, report.pktsReorderd);
            take(kra::KEY_JTR_AVG, report.jtrAvg);
            take(kra::KEY_JTR_MAX, report.jtrMax);
            take(kra::KEY_JB_MARK, report.jbMark);
            take(kra::KEY_JB_CURR, report.jbCurr);
        }
        if (m_observer)
            m_observer->notifyAudioCallStatistic(this);
    } else {
        return false;
    }
    return true;
}
