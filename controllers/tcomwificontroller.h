#pragma once

// One Wi-Fi interface of the device ("wifi.N"): the network it joins, its security, the scan switch, the data
// connection, the received signal and the names of the networks the device found. Network names and the
// passphrase are held as the UTF-8 bytes the device sent, so that a name picked from the list goes back as the device
// wrote it. The setters emit no signal.

#include "controllers/tcomcontroller.h"

#include <string>
#include <vector>

class TComWifiController final : public TComNetworkController
{
    Q_OBJECT
public:
    enum Authentication { AuthNone = 0, AuthAuto = 1, AuthWep = 2, AuthWpaPsk = 3, AuthWpa2Psk = 4 };
    enum DataConnectionState { DataIdle = 0, DataFailure = 1, DataProcessing = 2, DataActive = 3 };

    // Parameter keys; "local_addr" is the vocabulary's, the shared two are KEY_NETWORK_QUALITY and KEY_AJB_PROFILE.
    static const std::string KEY_SSID;
    static const std::string KEY_SSID_CUSTOM;
    static const std::string KEY_AUTHENTICATION;
    static const std::string KEY_AUTHENTICATION_CUSTOM;
    static const std::string KEY_PASSPHRASE;
    static const std::string KEY_SCAN;
    static const std::string KEY_DATA_CONNECTION;
    static const std::string KEY_DATA_CONNECTION_STATE;
    static const std::string &KEY_SIGNAL_QUALITY;
    static const std::string KEY_SIGNAL_QUALITY_DBM;

    explicit TComWifiController(kra::CCom *com);

    static int authenticationFromText(const std::string &text);
    static std::string authenticationToText(int authentication);
    static int dataConnectionStateFromText(const std::string &text);
    // A text ending in dBm (" dBm", "dBm") is kept as dBm; a bare number v is a level, (v + 113) / 2.
    static int signalFromText(const std::string &text);

    const std::string &ssid() const { return m_ssid; }
    const std::string &ssidCustom() const { return m_ssidCustom; }
    int authentication() const { return m_authentication; }
    int authenticationCustom() const { return m_authenticationCustom; }
    const std::string &passphrase() const { return m_passphrase; }
    bool scan() const { return m_scan; }
    const std::string &localAddr() const { return m_localAddr; }
    bool dataConnection() const { return m_dataConnection; }
    int dataConnectionState() const { return m_dataConnectionState; }
    // dBm when the device reported dBm, else 0..31 (see signalLevel()).
    int signal() const { return m_signal; }
    int networkQuality() const { return m_networkQuality; }
    int ajbProfile() const { return m_ajbProfile; }
    // In the device's order.
    const std::vector<std::string> &ssidList() const { return m_ssidList; }

    // With send, the value is written first and a refusal keeps the old one. Texts are UTF-8.
    bool setSsid(const std::string &text, bool send);
    bool setSsidCustom(const std::string &text, bool send);
    bool setAuthentication(int authentication, bool send);
    bool setAuthenticationCustom(int authentication, bool send);
    bool setPassphrase(const std::string &text, bool send);
    bool setScan(bool on, bool send);
    bool setDataConnection(bool on, bool send);
    // Unknown (-1) is never sent.
    bool setNetworkQuality(int quality, bool send);
    bool setAjbProfile(int profile, bool send);

    // Applies a wire text to its parameter without sending; false for a key this controller does not hold.
    bool parseParam(const std::string &key, const std::string &text);
    // Reads one writable parameter, or "data_connection_state", from the device; true when it was read.
    bool refreshParam(const std::string &key);
    // Asks the device for the networks it found; on failure the previous list stays.
    bool fetchSsidList();

    void reset() override;
    bool fetchAll() override;
    bool fetch(const std::vector<std::string> &names) override;
    bool store(const std::vector<std::string> &names) override;
    bool handleInfo(RpcMessage &message) override;
    bool handleEvent(RpcMessage &message) override;
    bool attach(const std::string &name, int flags, bool makeDefault) override;

private:
    template<typename T>
    bool setValue(T &member, const T &value, const std::string &key, const std::string &text, bool send);
    // The wire text of a writable parameter; false when the key is none or its value is unknown (-1).
    bool wireText(const std::string &key, std::string &text) const;

    std::string m_ssid;
    std::string m_ssidCustom;
    int m_authentication = AuthNone;
    int m_authenticationCustom = AuthNone;
    std::string m_passphrase;
    bool m_scan = false;
    std::string m_localAddr;
    bool m_dataConnection = false;
    int m_dataConnectionState = DataIdle;
    int m_signal = 0;
    int m_networkQuality = -1;
    int m_ajbProfile = -1;
    std::vector<std::string> m_ssidList;
};
