#pragma once

// The device's AES67/RAVENNA module: its "rav_" parameters on the target "audio". Module information, the
// addressing, link and clock state of its two network interfaces, eight receive streams and the one transmit
// stream. No signals of its own: owners hear of new values through controllerStateChanged.

#include "controllers/tcomcontroller.h"

#include <array>
#include <map>
#include <string>
#include <vector>

extern const std::string KEY_RAV_MANUFACTURER;
extern const std::string KEY_RAV_HARDWARE_NAME;
extern const std::string KEY_RAV_DEVICE_NAME;
extern const std::string KEY_RAV_IF_COUNT;
extern const std::string KEY_RAV_NET_MODE;
extern const std::string KEY_RAV_SAMPLE_RATE;
extern const std::string KEY_RAV_RESOLUTION;
extern const std::string KEY_RAV_PTP_DOMAIN;
// Per network interface: the plain key for interface 0, the key with "1" appended for interface 1.
extern const std::string KEY_RAV_DHCP[2];
extern const std::string KEY_RAV_IP_ADDR[2];
extern const std::string KEY_RAV_SUBNET[2];
extern const std::string KEY_RAV_GATEWAY[2];
extern const std::string KEY_RAV_HW_ADDR[2];
extern const std::string KEY_RAV_VLAN_ID[2];
extern const std::string KEY_RAV_LINK_STATE[2];
extern const std::string KEY_RAV_PTP_STATE[2];
// The LIST of the streams on offer; each stream has its own key below.
extern const std::string KEY_RAV_STREAM_IN;
extern const std::string KEY_RAV_STREAM_IN_N[8];
extern const std::string KEY_RAV_STATUS_IN_N[8];
extern const std::string KEY_RAV_DELAY_MIN_IN;
extern const std::string KEY_RAV_DELAY_MAX_IN;
extern const std::string KEY_RAV_DELAY_IN;
extern const std::string KEY_RAV_NAME_OU;
extern const std::string KEY_RAV_MODE_OU;
extern const std::string KEY_RAV_NETIF_OU;
extern const std::string KEY_RAV_AUTOCONF_OU[2];
extern const std::string KEY_RAV_MC_ADDR_OU[2];
extern const std::string KEY_RAV_MC_PORT_OU[2];
extern const std::string KEY_RAV_CH_COUNT_OU;
extern const std::string KEY_RAV_PTIME_OU;
extern const std::string KEY_RAV_SYNC_STATE;
extern const std::string KEY_RAV_LOCK_STATE;
extern const std::string KEY_RAV_HARDWARE_REV;
extern const std::string KEY_RAV_FIRMWARE_VER;
extern const std::string KEY_RAV_FIRMWARE_REV;
extern const std::string KEY_RAV_RESCUEOS_REV;

struct TComRavennaInterface
{
    bool linkUp = false;
    int dhcpMode = 1; // TComRavennaController::DhcpMode
    int vlanId = 1;
    int ptpState = -1; // TComRavennaController::PtpState
    std::string ipAddress;
    std::string subnet;
    std::string gateway;
    std::string hwAddress;
};

// The transmit stream's settings on one interface.
struct TComRavennaOutput
{
    bool autoconf = false;
    int mcPort = 5004;
    std::string mcAddress;
};

struct TComRavennaInputStream
{
    static constexpr int NoStream = 0xFFFF;
    static const std::string noName;

    int id = NoStream;
    int channel = 0;
    // Per interface, a TComRavennaController::StreamStatus.
    std::array<int, 2> status {{-1, -1}};
    std::string name = noName; // UTF-8, as the device sent it

    // "<id>/<channel>/<name>". A malformed text changes nothing and gives false; the statuses are never touched.
    bool fromText(const std::string &text);
    std::string toText() const;
    // Id, channel and name: what the device is told of a stream.
    bool sameStream(const TComRavennaInputStream &other) const;
};

class TComRavennaController final : public TComController
{
    Q_OBJECT
public:
    enum StreamStatus {
        StatusUnknown = -1,
        StatusDisabled = 0,
        StatusIdle = 1,
        StatusWaiting = 2,
        StatusTransmitting = 3,
        StatusReceiving = 4,
        StatusReceivingWarning = 5,
        StatusReceivingNoSync = 6,
        StatusReceivingSyncErr = 7,
        StatusAddrCollision = 8,
        StatusNotEnoughDec = 9,
    };
    enum PtpState {
        PtpUnknown = -1,
        PtpNotDefined = 0,
        PtpInitializing = 1,
        PtpFaulty = 2,
        PtpDisabled = 3,
        PtpListening = 4,
        PtpPreMaster = 5,
        PtpMaster = 6,
        PtpPassive = 7,
        PtpNotCalibrated = 8,
        PtpSlave = 9,
    };
    enum LockState { LockUnknown = 0, Unlocked = 1, Locking = 2, Locked = 3 };
    enum DhcpMode { DhcpOff = 0, DhcpOn = 1, DhcpZeroconf = 2 };
    // Redundant: each interface on a network of its own.
    enum NetMode { NetSwitched = 0, NetRedundant = 1 };
    // The module's "system_update" notifications: how far a firmware update has come.
    enum SystemUpdate { UpdateUploading = 1, UpdateInstalling = 2, UpdateFailed = 3, UpdateFinished = 4 };
    static constexpr int streamCount = 8;

    explicit TComRavennaController(kra::CCom *com);

    // Any other text reads as the unknown value (-1, or 0 for the lock, DHCP and net modes); an unknown value
    // has no text, except the DHCP mode ("on" unless 0) and the net mode ("redund" for 1, else "switch").
    static int streamStatusFromText(const std::string &text);
    static const std::string &streamStatusToText(int status);
    static int ptpStateFromText(const std::string &text);
    static const std::string &ptpStateToText(int state);
    static int lockStateFromText(const std::string &text);
    static const std::string &lockStateToText(int state);
    static int dhcpModeFromText(const std::string &text);
    static const std::string &dhcpModeToText(int mode);
    static int netModeFromText(const std::string &text);
    static const std::string &netModeToText(int mode);

    bool outputEnabled() const { return m_outputEnabled; }
    int interfaceCount() const { return m_interfaceCount; }
    int netMode() const { return m_netMode; }
    int sampleRate() const { return m_sampleRate; }
    int resolution() const { return m_resolution; }
    int ptpDomain() const { return m_ptpDomain; }
    int inputDelayMin() const { return m_inputDelayMin; }
    int inputDelayMax() const { return m_inputDelayMax; }
    int inputDelay() const { return m_inputDelay; }
    int outputNetIf() const { return m_outputNetIf; }
    int outputChannelCount() const { return m_outputChannelCount; }
    float outputPacketTime() const { return m_outputPacketTime; }
    int syncState() const { return m_syncState; }
    int lockState() const { return m_lockState; }
    const std::string &manufacturer() const { return m_manufacturer; }
    const std::string &hardwareName() const { return m_hardwareName; }
    const std::string &deviceName() const { return m_deviceName; }
    const std::string &outputName() const { return m_outputName; }
    const std::string &hardwareRev() const { return m_hardwareRev; }
    const std::string &firmwareVersion() const { return m_firmwareVersion; }
    const std::string &firmwareRev() const { return m_firmwareRev; }
    const std::string &rescueOsRev() const { return m_rescueOsRev; }
    // Only bit 0 of an interface index counts.
    const TComRavennaInterface &netInterface(int index) const { return m_interfaces[index & 1]; }
    const TComRavennaOutput &output(int index) const { return m_outputs[index & 1]; }
    // An index outside 0..7 gives an empty stream.
    const TComRavennaInputStream &inputStream(int index) const;

    // PARAM requests on "audio". The number of values answered, or -1.
    int getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values);
    bool listRequest(const std::string &name, std::vector<std::string> &items);
    bool setStringParam(const std::string &key, const std::string &text);
    bool setIntParam(const std::string &key, int value);
    // True when the device took every parameter; an empty map sends nothing and gives false.
    bool setParams(const std::map<std::string, std::string> &params);

    // Loads the named parameters with signals blocked; the state becomes 0.
    bool attach(const std::vector<std::string> &names);
    // Applies answered texts by their keys' rules; false when a stream text was malformed (the rest applies).
    bool applyParams(const std::map<std::string, std::string> &values);
    bool fetchStreamInList(std::vector<TComRavennaInputStream> &out);
    bool fetchSampleRateList(std::vector<int> &out);
    bool fetchResolutionList(std::vector<int> &out);

    void reset() override;
    bool fetchAll() override;
    bool fetch(const std::vector<std::string> &names) override;
    bool store(const std::vector<std::string> &names) override;

    // Each sent at once when send is true and its condition holds; a refusal keeps the old value and gives
    // false. Texts are UTF-8 and travel as they are held.
    bool setDeviceName(const std::string &name, bool send); // sent when not empty
    bool setNetMode(int mode, bool send);
    bool setDhcp(int iface, bool on, bool send);
    // A mode the controller held before, given back without a request (setDhcp knows only on and off, so that
    // zeroconf would come back as on). A value outside DhcpMode changes nothing.
    void restoreDhcpMode(int iface, int mode);
    // The addresses go out only while the interface's DHCP mode is off; address and subnet only when not empty.
    bool setIpAddr(int iface, const std::string &address, bool send);
    bool setSubnet(int iface, const std::string &subnet, bool send);
    bool setGateway(int iface, const std::string &gateway, bool send);
    bool setVlanId(int iface, int id, bool send);
    // False for an index outside 0..7. A new stream's statuses are unknown until the device reports them.
    bool setStreamIn(int index, const TComRavennaInputStream &stream, bool send);
    bool setInputDelay(int delay, bool send);
    bool setOutputMode(bool enabled, bool send);
    bool setOutputName(const std::string &name, bool send); // sent when not empty
    bool setOutputNetIf(int netIf, bool send);
    bool setOutputAutoconf(int iface, bool on, bool send);
    bool setOutputMcAddr(int iface, const std::string &address, bool send); // sent when not empty
    bool setOutputMcPort(int iface, int port, bool send); // sent when above 0
    bool setSampleRate(int rate, bool send);
    bool setResolution(int bits, bool send);
    bool setPtpDomain(int domain, bool send);

private:
    template<typename T>
    bool changeText(T &member, const T &value, bool send, const std::string &key, const std::string &text);
    bool changeInt(int &member, int value, bool send, const std::string &key);
    bool applyValue(const std::string &key, const std::string &text);
    void applyStatus(int index, const std::string &text);
    // The wire text of a storable key's current value; false for any other key.
    bool storeText(const std::string &key, std::string &text) const;

    bool m_outputEnabled = false;
    int m_interfaceCount = 1;
    int m_netMode = NetSwitched;
    int m_sampleRate = 48000;
    int m_resolution = 24;
    int m_ptpDomain = 0;
    int m_inputDelayMin = 1;
    int m_inputDelayMax = 24000;
    int m_inputDelay = 512;
    int m_outputNetIf = 0;
    int m_outputChannelCount = 2;
    float m_outputPacketTime = 1.0f;
    int m_syncState = 0;
    int m_lockState = LockUnknown;
    std::string m_manufacturer;
    std::string m_hardwareName;
    std::string m_deviceName;
    std::string m_outputName;
    std::string m_hardwareRev;
    std::string m_firmwareVersion;
    std::string m_firmwareRev;
    std::string m_rescueOsRev;
    TComRavennaInterface m_interfaces[2];
    TComRavennaOutput m_outputs[2];
    TComRavennaInputStream m_inputStreams[streamCount];
};
