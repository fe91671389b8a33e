#pragma once

// One cellular modem interface of the device ("mobile.N"): identity, radio and data-connection settings, SIM
// state, operator and signal. The controller state carries the SIM and registration status.

#include "controllers/tcomcontroller.h"
#include "rpc/rpcvocabulary.h"

#include <string>
#include <vector>

inline const std::string &KEY_MOBILE_MODE = kra::KEY_MODE;
extern const std::string KEY_MOBILE_MANUFACTURER;
extern const std::string KEY_MOBILE_MODEL;
extern const std::string KEY_MOBILE_REVISION;
extern const std::string KEY_MOBILE_IMEI;
extern const std::string KEY_MOBILE_IMSI;
extern const std::string KEY_MOBILE_ECHO_CANCEL;
extern const std::string KEY_MOBILE_NOISE_GATE;
extern const std::string KEY_MOBILE_DIVERSITY;
extern const std::string KEY_MOBILE_RAT;
extern const std::string KEY_MOBILE_PLMN;
extern const std::string KEY_MOBILE_PIN_PERSISTENT;
extern const std::string KEY_MOBILE_APN;
extern const std::string KEY_MOBILE_MSISDN;
extern const std::string KEY_MOBILE_DATA_CONNECTION;
extern const std::string KEY_MOBILE_DATA_CONNECTION_STATE;
extern const std::string KEY_MOBILE_USERNAME;
inline const std::string &KEY_MOBILE_PASSWORD = kra::KEY_PASSWORD;
extern const std::string KEY_MOBILE_AUTHENTICATION;
extern const std::string KEY_MOBILE_REGISTRATION_STATE;
extern const std::string KEY_MOBILE_OPERATOR_LONG;
extern const std::string KEY_MOBILE_OPERATOR_SHORT;
inline const std::string &KEY_MOBILE_SIGNAL_QUALITY = kra::EVT_SIGNAL_QUALITY;
extern const std::string KEY_MOBILE_SIGNAL_QUALITY_DBM;
extern const std::string KEY_MOBILE_TECHNOLOGY;

class TComMobileController final : public TComNetworkController
{
    Q_OBJECT
public:
    enum Mode { ModeUnknown = -1, ModeGsmVoice = 0, ModeData = 1 };
    enum Rat {
        RatUnknown = -1,
        RatAuto = 0,
        RatOnlyUmts = 1,
        RatOnlyGsm = 2,
        RatUmtsFirst = 3,
        RatGsmFirst = 4,
        RatOnlyGsmUmts = 5,
        RatOnlyLte = 6,
        RatOnlyLte5g = 7,
        RatOnly5g = 8
    };
    enum Authentication { AuthenticationNone = 0, AuthenticationPap = 1, AuthenticationChap = 2 };
    enum DataConnectionState { DataIdle = 0, DataFailure = 1, DataProcessing = 2, DataActive = 3 };
    enum Technology { TechnologyUnknown = -1, Technology2G = 0, Technology3G = 1, TechnologyLte = 2, Technology5G = 3 };
    // What the modem offers; the settings screens build their choices from it.
    enum Capability {
        CanEchoCancel = 0x1,
        CanNoiseGate = 0x2,
        CanDiversity = 0x8,
        CanModeGsmVoice = 0x10,
        CanModeData = 0x20,
        CanRatAuto = 0x40, // each further rat one bit higher, in the order of Rat
        CanRatOnly5g = 0x4000,
        CanAuthenticationPap = 0x8000,
        CanAuthenticationChap = 0x10000
    };
    // The controller state: the status of the SIM and registration answers.
    enum State {
        Detached = -1,
        Registered = 0,
        StatusUnknown = 1,
        NotRegistered = 2,
        NotAllowed = 3,
        SimMissing = 4,
        SimLocked = 5,
        PinRequired = 6
    };
    enum PinResult { PinAccepted = 0, PinFailed = -1, PinWrong = -2, PukRequired = -3 };

    explicit TComMobileController(kra::CCom *com);

    int mode() const { return m_mode; }
    const std::string &manufacturer() const { return m_manufacturer; }
    const std::string &model() const { return m_model; }
    const std::string &revision() const { return m_revision; }
    const std::string &imei() const { return m_imei; }
    const std::string &imsi() const { return m_imsi; }
    bool echoCancel() const { return m_echoCancel; }
    bool noiseGate() const { return m_noiseGate; }
    bool diversity() const { return m_diversity; }
    int rat() const { return m_rat; }
    const std::string &plmn() const { return m_plmn; }
    bool pinPersistent() const { return m_pinPersistent; }
    const std::string &apn() const { return m_apn; }
    const std::string &msisdn() const { return m_msisdn; }
    bool dataConnection() const { return m_dataConnection; }
    int dataConnectionState() const { return m_dataConnectionState; }
    const std::string &username() const { return m_username; }
    const std::string &password() const { return m_password; }
    int authentication() const { return m_authentication; }
    const std::string &operatorLong() const { return m_operatorLong; }
    const std::string &operatorShort() const { return m_operatorShort; }
    int signalQuality() const { return m_signalQuality; }
    int technology() const { return m_technology; }
    int networkQuality() const { return m_networkQuality; }
    int ajbProfile() const { return m_ajbProfile; }
    bool widebandVoice() const { return m_widebandVoice; }
    int capabilities() const { return m_capabilities; }

    // With send the key is written first; a refusal keeps the old value. -1 is never written for mode, rat,
    // network quality and jitter-buffer profile.
    bool setMode(int mode, bool send);
    bool setEchoCancel(bool on, bool send);
    bool setNoiseGate(bool on, bool send);
    bool setDiversity(bool on, bool send);
    bool setRat(int rat, bool send);
    // Empty means automatic selection: sent, and then held, as "auto"; without send held as given.
    bool setPlmn(const std::string &plmn, bool send);
    bool setPinPersistent(bool on, bool send);
    bool setApn(const std::string &apn, bool send);
    bool setDataConnection(bool on, bool send);
    bool setUsername(const std::string &username, bool send);
    bool setPassword(const std::string &password, bool send);
    bool setAuthentication(int authentication, bool send);
    bool setNetworkQuality(int quality, bool send);
    bool setAjbProfile(int profile, bool send);

    bool parseMode(const std::string &text, bool send);
    // Reads one writable key or "data_connection_state" again; false for other keys.
    bool refresh(const std::string &key);

    void reset() override;
    bool fetchAll() override;
    bool fetch(const std::vector<std::string> &names) override;
    bool store(const std::vector<std::string> &names) override;
    bool handleInfo(RpcMessage &message) override;
    bool handleEvent(RpcMessage &message) override;
    bool attach(const std::string &name, int flags, bool makeDefault) override;

    // A PinResult.
    int enterPin(const std::string &pin, int timeoutMs);

    bool readModeChoices();
    bool readRatChoices();
    bool readAuthenticationChoices();
    // True when the answer tells a state (then in state), false when it tells nothing.
    bool readSimState(int &state);

private:
    bool applyValue(const std::string &key, const std::string &text);
    bool readChoices(const std::string &listName, const std::string *texts, int count, int firstBit);
    bool isOwnInterface(const std::string &name) const;
    void setCapability(int bit, bool on);

    int m_mode = ModeUnknown;
    std::string m_manufacturer;
    std::string m_model;
    std::string m_revision;
    std::string m_imei;
    std::string m_imsi;
    bool m_echoCancel = false;
    bool m_noiseGate = false;
    bool m_diversity = false;
    int m_rat = RatUnknown;
    std::string m_plmn;
    bool m_pinPersistent = false;
    std::string m_apn;
    std::string m_msisdn;
    bool m_dataConnection = false;
    int m_dataConnectionState = DataIdle;
    std::string m_username;
    std::string m_password;
    int m_authentication = AuthenticationNone;
    std::string m_operatorLong;
    std::string m_operatorShort;
    int m_signalQuality = 0;
    int m_technology = TechnologyUnknown;
    int m_networkQuality = -1;
    int m_ajbProfile = -1;
    bool m_widebandVoice = false;
    int m_capabilities = 0;
};
