#pragma once

// The device's SIP / audio-over-IP configuration on the "aoip" interface: the default protocol of outgoing
// calls, two SIP accounts and their registration, ports and timers, direct RTP, STUN, packet replication,
// double streaming and the jitter buffer. Texts are held as the UTF-8 bytes the device sent, so that one written
// back unchanged is what the device holds.

#include "controllers/tcomcontroller.h"

#include <string>
#include <vector>

// The controller's keys. "stun_nat_type" and "public_addr" are the vocabulary's (kra::KEY_STUN_NAT_TYPE,
// kra::KEY_PUBLIC_ADDR). The account keys of account 2 carry a "2".
extern const std::string KEY_SIP_STATE;
extern const std::string KEY_SIP_STATE_CAUSE;
extern const std::string KEY_SIP_REGISTRAR;
extern const std::string KEY_SIP_USER;
extern const std::string KEY_SIP_DISPLAY_NAME;
extern const std::string KEY_SIP_AUTH_USER;
extern const std::string KEY_SIP_PASSWORD;
extern const std::string KEY_SIP_STATE2;
extern const std::string KEY_SIP_STATE_CAUSE2;
extern const std::string KEY_SIP_REGISTRAR2;
extern const std::string KEY_SIP_USER2;
extern const std::string KEY_SIP_DISPLAY_NAME2;
extern const std::string KEY_SIP_AUTH_USER2;
extern const std::string KEY_SIP_PASSWORD2;
extern const std::string KEY_AUDIO_MODE;
extern const std::string KEY_DOUBLE_CODEC;
extern const std::string KEY_DOUBLE_STREAM;
extern const std::string KEY_STREAM_PATTERN;
extern const std::string KEY_SIP_MODE;
extern const std::string KEY_SIP_ACC_CALLS;
extern const std::string KEY_SIP_CHK_CALLS;
extern const std::string KEY_SIP_USE_UPORT2;
extern const std::string KEY_SIP_PROXY;
extern const std::string KEY_SIP_KA_INTERVAL;
extern const std::string KEY_SIP_KA_TARGET;
extern const std::string KEY_SIP_DEF_ACCOUNT;
extern const std::string KEY_SIP_RE_REG_TO;
extern const std::string KEY_SIP_UDP_PORT;
extern const std::string KEY_RTP_START_PORT;
extern const std::string KEY_SIP_SESS_TIMERS;
extern const std::string KEY_RTP_TOS;
extern const std::string KEY_STUN_MODE;
extern const std::string KEY_STUN_SERVER;
extern const std::string KEY_DRTP_ACC_CALLS;
extern const std::string KEY_DRTP_SEND_ONLY;
extern const std::string KEY_DRTP_RTP_PORT;
extern const std::string KEY_DRTP_REL_TIMEOUT;
extern const std::string KEY_MP_ECM_BF_SHIFT;
extern const std::string KEY_AOIP_VERSION;
extern const std::string KEY_JITTERAB;

// One SIP account. Its values reach the device only through TComAoIPController::store.
class TComSipAccount final
{
public:
    explicit TComSipAccount(int number);

    void clear();

    int number() const { return m_number; }
    bool registered() const { return m_registered; }
    // The cause of the last INFO, or the state text of a GET other than "registered" / "unregistered".
    const std::string &stateText() const { return m_stateText; }
    const std::string &registrar() const { return m_registrar; }
    const std::string &user() const { return m_user; }
    const std::string &displayName() const { return m_displayName; }
    const std::string &authUser() const { return m_authUser; }
    // Plain text, deciphered.
    const std::string &password() const { return m_password; }

    // The key of this account for the base key of account 1.
    std::string key(const std::string &baseKey) const;

    // UTF-8 texts; send is accepted for the setter convention's sake and never sends.
    bool setRegistrar(const std::string &text, bool send);
    bool setUser(const std::string &text, bool send);
    bool setDisplayName(const std::string &text, bool send);
    bool setAuthUser(const std::string &text, bool send);
    bool setPassword(const std::string &text, bool send);

    // UTF-8 reply texts; the password in its cipher form (kept as received when it does not decipher).
    bool parseRegistrar(const std::string &text);
    bool parseUser(const std::string &text);
    bool parseDisplayName(const std::string &text);
    bool parseAuthUser(const std::string &text);
    bool parsePassword(const std::string &text);

    // From a registration INFO, and from a GET of the account's "sip_state".
    bool setRegistrationState(const std::string &state, const std::string &cause);
    bool applySipState(const std::string &text);

    std::string registrarHost() const;
    // The number after the last ':'; 5060 when there is none or it is no port number.
    int registrarPort() const;

private:
    int m_number;
    bool m_registered = false;
    std::string m_stateText;
    std::string m_registrar;
    std::string m_user;
    std::string m_displayName;
    std::string m_authUser;
    std::string m_password;
};

class TComAoIPController final : public TComNetworkController
{
    Q_OBJECT
public:
    enum AudioMode { AudioModeSip = 0, AudioModeRtp = 1, AudioModeMulticast = 2 };
    enum StreamPattern { Pattern1of1 = 0, Pattern1of2 = 1, Pattern2of3 = 2, Pattern1of3 = 3 };
    enum PacketReplication { ReplicationNone = 0, ReplicationShortDelay = 1, ReplicationInterleaved = 2 };
    enum KeepAliveTarget { KeepAliveUserAgent = 0, KeepAliveServer = 1 };
    enum NatType {
        NatUnknown = 0,
        NatFailure = 1,
        NatOpen = 2,
        NatBlocked = 3,
        NatSymmetricUdp = 4,
        NatFullCone = 5,
        NatSymmetric = 6,
        NatRestricted = 7,
        NatPortRestricted = 8,
    };

    explicit TComAoIPController(kra::CCom *com);

    void reset() override;
    bool fetchAll() override;
    bool fetch(const std::vector<std::string> &names) override;
    bool store(const std::vector<std::string> &names) override;
    bool handleInfo(RpcMessage &msg) override;
    bool handleEvent(RpcMessage &msg) override;
    bool attach(const std::string &name, int flags, bool makeDefault) override;

    int audioMode() const { return m_audioMode; }
    int streamPattern() const { return m_streamPattern; }
    bool doubleCodec() const { return m_doubleCodec; }
    bool doubleStream() const { return m_doubleStream; }
    bool jitterab() const { return m_jitterab; }
    bool sipMode() const { return m_sipMode; }
    bool sipAcceptCalls() const { return m_sipAcceptCalls; }
    bool sipCheckCalls() const { return m_sipCheckCalls; }
    bool sipUseUdpPort2() const { return m_sipUseUdpPort2; }
    bool sipSessionTimers() const { return m_sipSessionTimers; }
    bool drtpAcceptCalls() const { return m_drtpAcceptCalls; }
    bool drtpSendOnly() const { return m_drtpSendOnly; }
    bool stunMode() const { return m_stunMode; }
    int sipDefAccount() const { return m_sipDefAccount; }
    int sipKeepAliveInterval() const { return m_sipKeepAliveInterval; }
    int sipKeepAliveTarget() const { return m_sipKeepAliveTarget; }
    int sipReRegTimeout() const { return m_sipReRegTimeout; }
    int sipUdpPort() const { return m_sipUdpPort; }
    int rtpStartPort() const { return m_rtpStartPort; }
    int drtpRtpPort() const { return m_drtpRtpPort; }
    int drtpRelTimeout() const { return m_drtpRelTimeout; }
    int rtpTos() const { return m_rtpTos; }
    int mpEcmBfShift() const { return m_mpEcmBfShift; }
    int stunNatType() const { return m_stunNatType; }
    TComSipAccount &account1() { return m_account1; }
    const TComSipAccount &account1() const { return m_account1; }
    TComSipAccount &account2() { return m_account2; }
    const TComSipAccount &account2() const { return m_account2; }
    const std::string &aoipVersion() const { return m_aoipVersion; }
    const std::string &stunServer() const { return m_stunServer; }
    const std::string &publicAddr() const { return m_publicAddr; }
    const std::string &sipProxy() const { return m_sipProxy; }

    // With send the value is written first and a refusal keeps the old one; no signal either way.
    bool setAudioMode(int mode, bool send);
    bool setStreamPattern(int pattern, bool send);
    bool setDoubleCodec(bool on, bool send);
    bool setDoubleStream(bool on, bool send);
    bool setJitterab(bool on, bool send);
    bool setSipMode(bool on, bool send);
    bool setSipAcceptCalls(bool on, bool send);
    bool setSipCheckCalls(bool on, bool send);
    bool setSipUseUdpPort2(bool on, bool send);
    bool setSipSessionTimers(bool on, bool send);
    bool setDrtpAcceptCalls(bool on, bool send);
    bool setDrtpSendOnly(bool on, bool send);
    bool setStunMode(bool on, bool send);
    // These ignore values below 1 (setRtpTos negative ones): true, the field kept.
    bool setSipDefAccount(int account, bool send);
    bool setSipKeepAliveInterval(int seconds, bool send);
    bool setSipKeepAliveTarget(int target, bool send);
    bool setSipReRegTimeout(int seconds, bool send);
    bool setSipUdpPort(int port, bool send);
    bool setRtpStartPort(int port, bool send);
    bool setDrtpRtpPort(int port, bool send);
    bool setDrtpRelTimeout(int seconds, bool send);
    bool setRtpTos(int tos, bool send);
    bool setMpEcmBfShift(int shift, bool send);
    // UTF-8 texts.
    bool setStunServer(const std::string &text, bool send);
    bool setSipProxy(const std::string &text, bool send);
    // Read only: kept as the device sent it.
    bool setPublicAddr(const std::string &text);

    static std::string audioModeToText(int mode);
    static std::string streamPatternToText(int pattern);
    static std::string mpEcmBfShiftToText(int shift);

    // Reply texts, applied through the setters without sending.
    bool parseAudioMode(const std::string &text);
    bool parseStreamPattern(const std::string &text);
    bool parseDoubleCodec(const std::string &text);
    bool parseDoubleStream(const std::string &text);
    bool parseJitterab(const std::string &text);
    bool parseSipMode(const std::string &text);
    bool parseSipAcceptCalls(const std::string &text);
    bool parseSipCheckCalls(const std::string &text);
    bool parseSipUseUdpPort2(const std::string &text);
    bool parseSipSessionTimers(const std::string &text);
    bool parseDrtpAcceptCalls(const std::string &text);
    bool parseDrtpSendOnly(const std::string &text);
    bool parseStunMode(const std::string &text);
    bool parseSipDefAccount(const std::string &text);
    bool parseSipKeepAliveInterval(const std::string &text);
    bool parseSipKeepAliveTarget(const std::string &text);
    bool parseSipReRegTimeout(const std::string &text);
    bool parseSipUdpPort(const std::string &text);
    bool parseRtpStartPort(const std::string &text);
    bool parseDrtpRtpPort(const std::string &text);
    bool parseDrtpRelTimeout(const std::string &text);
    bool parseRtpTos(const std::string &text);
    bool parseMpEcmBfShift(const std::string &text);
    bool parseStunServer(const std::string &text);
    bool parseSipProxy(const std::string &text);
    bool parseStunNatType(const std::string &text);

    // One GET of one key each; false when the request fails.
    bool refreshAudioMode();
    bool refreshStreamPattern();
    bool refreshDoubleCodec();
    bool refreshDoubleStream();
    bool refreshJitterab();
    bool refreshSipMode();
    bool refreshSipAcceptCalls();
    bool refreshSipCheckCalls();
    bool refreshSipUseUdpPort2();
    bool refreshSipSessionTimers();
    bool refreshDrtpAcceptCalls();
    bool refreshDrtpSendOnly();
    bool refreshStunMode();
    bool refreshSipDefAccount();
    bool refreshSipKeepAliveInterval();
    bool refreshSipKeepAliveTarget();
    bool refreshSipReRegTimeout();
    bool refreshSipUdpPort();
    bool refreshRtpStartPort();
    bool refreshDrtpRtpPort();
    bool refreshDrtpRelTimeout();
    bool refreshRtpTos();
    bool refreshMpEcmBfShift();
    bool refreshStunNatType();
    bool refreshPublicAddr();
    bool refreshStunServer();
    bool refreshSipProxy();

private:
    struct Binding;
    static const std::vector<Binding> &bindings();
    static const Binding *binding(const std::string &key);
    static bool isStatusKey(const std::string &key);

    bool writeBool(bool &field, const std::string &key, bool on, bool send);
    bool writeInt(int &field, const std::string &key, int value, const std::string &text, bool send);
    bool writeText(std::string &field, const std::string &key, const std::string &text, bool send);
    bool parseInt(bool (TComAoIPController::*setter)(int, bool), const std::string &text, int emptyValue);
    bool refresh(const std::string &key, bool (TComAoIPController::*parser)(const std::string &));
    bool applyStatus(const std::string &key, const std::string &value);

    int m_audioMode = AudioModeSip;
    int m_streamPattern = Pattern1of1;
    bool m_doubleCodec = false;
    bool m_doubleStream = false;
    bool m_jitterab = false;
    bool m_sipMode = false;
    bool m_sipAcceptCalls = false;
    bool m_sipCheckCalls = false;
    bool m_sipUseUdpPort2 = false;
    bool m_sipSessionTimers = false;
    bool m_drtpAcceptCalls = false;
    bool m_drtpSendOnly = false;
    bool m_stunMode = false;
    int m_sipDefAccount = 1;
    int m_sipKeepAliveInterval = 15;
    int m_sipKeepAliveTarget = KeepAliveUserAgent;
    int m_sipReRegTimeout = 300;
    int m_sipUdpPort = 5060;
    int m_rtpStartPort = 5004;
    int m_drtpRtpPort = 9000;
    int m_drtpRelTimeout = 30;
    int m_rtpTos = 0;
    int m_mpEcmBfShift = ReplicationNone;
    int m_stunNatType = NatUnknown;
    TComSipAccount m_account1 {1};
    TComSipAccount m_account2 {2};
    std::string m_aoipVersion;
    std::string m_stunServer;
    std::string m_publicAddr;
    std::string m_sipProxy;
};
