#pragma once

// The live links of the device: a call on codec line 1, line 2 or the voice line, or a mobile / Wi-Fi data
// link. The device model keeps them by id, hands them the events that carry their id and tells the rest of the
// program about their changes; a record reports to the model only while it is attached.
//
// A record's notifications run receivers that may wait for the device, and a drop of the connection met in
// such a wait resets the model with its records. So records are never deleted straight away but disposed of:
// code that may wait or notify holds its record, and a record disposed of while held goes when the last hold
// ends.

#include "rpc/codecformat.h"
#include "rpc/rpcmessage.h"

#include <string>

namespace kra {
class CCom;
}
class TComDevice;

class TComBaseConnection
{
public:
    enum Kind { KindLine1 = 0, KindLine2 = 1, KindVoiceLine = 2, KindDataLink = 3 };
    // The state in which both kinds of record are done with; the model then removes them.
    static constexpr int EndedState = 4;

    TComBaseConnection(kra::CCom *com, int kind);
    TComBaseConnection(const TComBaseConnection &) = delete;
    TComBaseConnection &operator=(const TComBaseConnection &) = delete;

    virtual void attach(TComDevice *device);
    virtual void detach();
    virtual ~TComBaseConnection();
    virtual void reset();
    virtual bool handleEvent(RpcMessage &message) = 0;

    kra::CCom *com() const { return m_com; }
    TComDevice *observer() const { return m_observer; }
    int kind() const { return m_kind; }
    int state() const { return m_state; }
    int id() const { return m_id; }
    const std::string &networkName() const { return m_networkName; }

    // Deletes the record now, or when the last hold on it ends.
    static void dispose(TComBaseConnection *record);

    class Hold
    {
    public:
        explicit Hold(TComBaseConnection *record);
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        TComBaseConnection *m_record;
    };

protected:
    kra::CCom *m_com;
    TComDevice *m_observer = nullptr;
    int m_kind;
    int m_state = 0;
    int m_id = -1;
    std::string m_networkName;

private:
    int m_holds = 0;
    bool m_disposed = false;
};

class TComDataConnection final : public TComBaseConnection
{
public:
    enum State { Idle = 0, Connecting = 1, Connected = 2, Disconnecting = 3, Disconnected = 4 };

    explicit TComDataConnection(kra::CCom *com);

    void reset() override;
    bool handleEvent(RpcMessage &message) override;

    // Tells the model even when the state stays the same.
    void setState(int state);
    void changeState(int state);
    // False unless idle.
    bool bind(int id, const std::string &network, int state);
    // The id of the interface's data link, -1 when the device names none. The record stays as it is.
    int fetchLinkId(const std::string &network);

    // Requests; each changes the record only when the device accepted it.
    bool connect(const std::string &network);
    // Binds an idle record to the link the device already runs on the interface.
    bool fetchLink(const std::string &network);
    bool disconnect();
};

class TComAudioConnection final : public TComBaseConnection
{
public:
    enum State { Idle = 0, SettingUp = 1, Connected = 2, Disconnecting = 3, Ended = 4 };
    enum CallStatus {
        StatusNone = 0,
        StatusOutgoing = 1,
        StatusAccepted = 2,
        StatusAutoRedial = 3,
        StatusProceeding = 4,
        StatusRinging = 5,
        StatusActive = 6,
        StatusNegotiating = 7,
        StatusWaitingForSync = 8,
        StatusInSync = 9,
        StatusSyncLost = 10,
        StatusDisconnected = 11,
        StatusReleased = 12,
        StatusError = 13,
        StatusLost = 14,
    };
    enum Direction { DirectionUnknown = -1, Outgoing = 0, Incoming = 1 };

    // Receive quality of one stream; the wire keys carry the same names.
    struct RxReport
    {
        int netQuality = -1;
        int duration = 0;
        int pktsTotal = 0;
        int pktsLost = 0;
        int pktsDiscarded = 0;
        int pktsDuplicated = 0;
        int pktsReorderd = 0;
        int jtrAvg = 0;
        int jtrMax = 0;
        int jbCurr = 0;
        int jbMark = 0;
    };
    struct TxReport
    {
        int netQuality = -1;
        int duration = 0;
        int pktsTotal = 0;
        int pktsLost = 0;
        int jtrAvg = 0;
        int jtrMax = 0;
    };

    // Line 0 is codec line 1, line 1 codec line 2, any other the voice line.
    TComAudioConnection(kra::CCom *com, int line);

    void attach(TComDevice *device) override;
    void reset() override;
    bool handleEvent(RpcMessage &message) override;

    // Statuses 5 (each ring) and 9 (each sync report) are told every time they are set.
    void setCallState(int state, int status);
    bool bind(int direction, int id, const std::string &network);
    bool bindIfIdle(int direction, int id, const std::string &network);
    // Up to four comma-separated addresses.
    void setRemoteNumber(const std::string &text);
    void clearRemoteAddresses();
    void parseRemoteAddresses(RpcMessage &message);

    // Requests; each changes the record only when the device accepted it. connect gives 0, or the code of the
    // device's cause (200 when there is none, the record is not idle or the request failed).
    int connect(const std::string &network, const std::string &remoteNumber);
    bool accept(int id, const std::string &network);
    bool disconnect();
    // Ends any call of the device; this record stays as it is.
    bool disconnectCall(int id, const std::string &network);

    int direction() const { return m_direction; }
    int callStatus() const { return m_callStatus; }
    int previousCallStatus() const { return m_previousCallStatus; }
    bool doubleCodec() const { return m_doubleCodec; }
    bool streamAddresses() const { return m_streamAddresses; }
    bool syncRelay() const { return m_syncRelay; }
    bool autoBitrate() const { return m_autoBitrate; }
    int ringCount() const { return m_ringCount; }
    const std::string &causeText() const { return m_causeText; }
    const std::string &remoteNumber() const { return m_remoteNumber; }
    // Addresses 1..4; empty for any other number.
    const std::string &remoteAddress(int number) const;
    const CodecFormat &rxCodec() const { return m_rxCodec; }
    const CodecFormat &txCodec() const { return m_txCodec; }
    // Stream 0 or 1.
    const RxReport &rxReport(int stream) const { return m_rxReports[stream == 1 ? 1 : 0]; }
    const TxReport &txReport(int stream) const { return m_txReports[stream == 1 ? 1 : 0]; }
    bool relayReportKnown() const { return m_relayReportKnown; }
    bool relay1Out() const { return m_relay1Out; }
    bool relay2Out() const { return m_relay2Out; }

private:
    void takeCodecs(const kra::CMsg &body);
    void joinRemoteNumber();

    int m_direction = DirectionUnknown;
    int m_callStatus = StatusNone;
    int m_previousCallStatus = StatusNone;
    bool m_doubleCodec = false;
    bool m_streamAddresses = false;
    bool m_syncRelay = false;
    bool m_autoBitrate = false;
    int m_ringCount = 0;
    std::string m_causeText;
    std::string m_remoteNumber;
    std::string m_remoteAddresses[4];
    CodecFormat m_rxCodec;
    CodecFormat m_txCodec;
    RxReport m_rxReports[2];
    TxReport m_txReports[2];
    bool m_relayReportKnown = false;
    bool m_relay1Out = false;
    bool m_relay2Out = false;
};

// The codec algorithm of a mobile voice call.
constexpr int mobileVoiceAlgorithm = 17;

// The codec block of no codec: algorithm -1, channel mode 0, everything else -1.
CodecFormat noCodec();
// The codec block of the voice line: algorithm 17 (mobile voice), channel mode 0, everything else -1.
CodecFormat mobileVoiceCodec();
