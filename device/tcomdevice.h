#pragma once

// The local model of the one remote codec: readiness, option bits, battery and docking, the interfaces it has,
// default and secondary network, the configured codecs of the two codec lines, the codec, coordination and
// dual-stream modes, AES67 reset, clock source, fan, relays, and the live calls and data links. It embeds the
// SIP/AoIP, Ethernet, Mobile and Wi-Fi controllers and tells the rest of the program what changed through
// deviceStateChanged and the connection signals.

#include "controllers/tcomaoipcontroller.h"
#include "controllers/tcomethernetcontroller.h"
#include "controllers/tcommobilecontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "controllers/tcomwificontroller.h"
#include "device/tcomconnection.h"
#include "rpc/codecformat.h"
#include "rpc/rpcmessage.h"

#include <QObject>
#include <QStringList>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kra {
class CCom;
}

// One element of a project as projectAddElement sends it; flag is not sent.
struct ProjectElement
{
    int flag = 0;
    std::string source;
    std::string waveMap;
    std::string channel;
    std::string startValue;
    std::string endValue;
    std::string startValueH;
    std::string endValueH;
};

// The source of a project; valid says whether the three texts mean anything.
struct ProjectSource
{
    bool valid = false;
    std::string uri;
    std::string channel;
    std::string waveMap;
};

class TComDevice final : public QObject
{
    Q_OBJECT
public:
    // What changed; the argument of deviceStateChanged.
    enum DeviceState {
        ModelReady = 0,
        DefaultNetworkChanged = 1,
        SecondaryNetworkChanged = 2,
        Line1CodecChanged = 3,
        Line2CodecChanged = 4,
        CodecModeChanged = 5,
        CoordModeChanged = 6,
        DualStreamModeChanged = 7,
        EthernetChanged = 8,
        MobileChanged = 9,
        MobileNetworkInfo = 10,
        WifiChanged = 11,
        WifiNetworkInfo = 12,
        SipAccount1Changed = 13,
        SipAccount2Changed = 14,
        RelaysChanged = 15,
        BatteryChanged = 16,
        Aes67ResetStored = 17,
    };
    Q_ENUM(DeviceState)

    // 2 is given only to a call on the voice line.
    enum NetworkFamily { FamilyNone = -1, FamilyIp = 0, FamilyIsdn = 1, FamilyVoice = 2 };

    // The bits of the device's "device_opts" list.
    enum DeviceOption : unsigned {
        OptIpDoubleCodec = 0x1,
        OptIsdnDoubleCodec = 0x2,
        OptMobile = 0x4,
        OptWifi = 0x8,
        OptRavenna = 0x10,
        OptRemoteAccess = 0x20,
        OptRemoteAccessMore = 0x40,
        OptIpDualStream = 0x80,
        OptIpDualStreamMore = 0x100,
        OptRecord = 0x400,
        OptRavenna2 = 0x1000,
    };

    enum BatteryStatus { BatteryNotDetected = 0, BatteryDischarging = 1, BatteryCharging = 2, BatteryFullyCharged = 3 };
    enum CodecMode { CodecModeSingle = 0, CodecModeDouble = 1 };
    enum ClockSource { ClockUnknown = -1, ClockTcxo = 0, ClockAes67 = 1 };

    struct RelayRecord
    {
        explicit RelayRecord(int number) : relay(number) { }
        int relay;
        bool on = false;
        std::string config;
        std::string previousConfig;
    };

    explicit TComDevice(kra::CCom *com);
    ~TComDevice() override;

    bool initialize();
    void reset(bool withConnections);
    bool handleEvent(RpcMessage &message);
    bool handleInfo(RpcMessage &message);

    // Setters take (value, send): an unchanged value returns true without traffic; with send a refusal returns
    // false and keeps the model as it was.
    bool setAes67Reset(bool on, bool send, bool force);
    bool setClockSource(int source, bool send);
    bool setFan(bool on, bool send);
    bool setDualStreamMode(int mode);
    bool setCoordMode(int mode, bool send);
    // Lines 1 and 2; a text that is no codec is taken as no change.
    bool setLineCodec(int line, const std::string &codecText, bool send);
    bool setCodecMode(int mode, bool send);
    // A new default network also attaches its interface controller; the result tells only of the name.
    bool setDefaultNetwork(const std::string &name, bool send);
    bool setSecondaryNetwork(const std::string &name, bool send);

    bool fetchDeviceOptions();
    // Also the keep-alive request: true when the device lists at least one interface.
    bool fetchNetworks();
    bool fetchNetworks(int timeoutMs);
    bool fetchBattery();
    bool fetchNetworkAssignment();
    bool fetchCodecSetup();
    bool fetchAes67Reset();
    bool fetchDefaultNetwork();
    bool fetchSecondaryNetwork();

    void updateMobileSignalBars();
    void updateWifiSignalBars();

    // The choices the device offers for a codec setting, in its order; networkType is a network type code.
    // The output is emptied first and filled only when the device answered.
    bool getCodecAlgorithms(int codecMode, std::vector<int> &out, int networkType);
    bool getCodecModes(int codecMode, int algorithm, std::vector<int> &out, int networkType);
    bool getCodecSampleRates(int codecMode, int algorithm, int channelMode, std::vector<int> &out, int networkType);
    bool getCodecBitrates(
        int codecMode, int algorithm, int channelMode, int sampleRate, std::vector<int> &out, int networkType);

    // The device drops the link while it acts: true also when the link went down during the request.
    bool reboot();
    bool shutdown();

    // Recorder transport; an empty uri is refused at once.
    bool recordStart(const std::string &uri, const std::string &source, const std::string &format);
    bool recordStop();
    bool playbackStart(const std::string &uri, const std::string &format);
    bool playbackStartEditor(const std::string &uri, const std::string &mode, const std::string &channel,
        const std::string &startMark, const std::string &endMark);
    bool playbackStop();
    bool playbackPause();
    bool playbackUnpause();
    // A null text is sent empty.
    bool projectNew(const char *mountPoint, const char *project, const char *uri);
    // Empty when the device did not tell.
    std::string getRecorderState();

    // Recordings, projects and files on the device's media. Each is one request; a failure gives the failure
    // value named (-1, 0, false or an empty text).
    int deleteRecordDir(const std::string &mountPoint, const std::string &project); // 1 or -1
    int emptyRecordDir(const std::string &mountPoint, const std::string &project); // 1 or -1
    std::uint64_t setMark(); // 0
    int getRecordIndex(const std::string &mountPoint, const std::string &project); // 0
    int getProjectSize(const std::string &mountPoint, const std::string &project); // -1
    // On failure a cause the device gave is copied into error.
    bool sendRecord(
        const std::string &mountPoint, const std::string &project, const std::string &userFileName, std::string &error);
    bool getRecordFolder(
        const std::string &mountPoint, const std::string &project, const std::string &type, std::string &error);
    bool projectBuildWav(const std::string &mountPoint, const std::string &project, const std::string &uri);
    bool savePlaylist(const std::string &mountPoint, const std::string &project, const std::string &uri);
    int deleteRecordFile(const std::string &mountPoint, const std::string &project, const std::string &uri); // -1
    int getFileSize(const std::string &mountPoint, const std::string &project, const std::string &uri); // -1
    // True when the device reports the recording's data file as processed.
    bool openRecord(const std::string &mountPoint, const std::string &project, const std::string &userFileName);
    bool projectSetSource(
        const std::string &mountPoint, const std::string &project, const std::string &uri, const ProjectSource &source);
    // Copies what the reply carries; true when the call succeeded and all three texts came, not empty.
    bool projectGetSource(
        const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectSource &source);
    // Sends the element's source and wave map by their last path component, and leaves them so in the record.
    bool projectAddElement(const std::string &mountPoint, const std::string &project, const std::string &uri,
        ProjectElement &element, const std::string &elementWord);
    bool projectRemoveElement(const std::string &mountPoint, const std::string &project, const std::string &uri,
        int index, const std::string &elementWord);
    bool projectDeleteTrack(const std::string &mountPoint, const std::string &project, const std::string &uri,
        int index, std::uint64_t start, std::uint64_t end, std::uint64_t startH, std::uint64_t endH,
        std::uint64_t endMark);
    std::string getProjectList(const std::string &mountPoint, const std::string &project);
    std::string getRecordFullpath(const std::string &mountPoint, const std::string &project, const std::string &index,
        const std::string &userFileName, const std::string &extension);
    std::string getPlaybackFullpath(const std::string &mountPoint, const std::string &project, const std::string &uri);
    // The copies: on failure a cause the device gave is copied into error, when given.
    bool recordCopyTo(const std::string &mountPoint, const std::string &project, const std::string &uri,
        std::string *error = nullptr);
    bool recordFileCopyTo(const std::string &mountPoint, const std::string &project, const std::string &userFileName,
        const std::string &uri, std::string *error = nullptr);
    bool recordCopyFrom(const std::string &mountPoint, const std::string &project, const std::string &uri);
    std::string wavToData(const std::string &mountPoint, const std::string &project, const std::string &userFileName);
    std::string getProjectPath(const std::string &mountPoint, const std::string &project);
    int getFreespace(const std::string &command, int defaultValue);
    // The cities joined by ','.
    std::string getTimezoneCityList(const std::string &region);
    // Every item of the device's list, in order; an empty list and false when the exchange failed.
    bool getProjectElements(const std::string &mountPoint, const std::string &project, const std::string &uri,
        QStringList &items, const std::string &elementWord);

    int getFreespaceRecord();
    int getFreespaceUsb();
    int getFreespaceSdcard();
    int getFreespacePRecord();
    int getFreespacePUsb();
    int getFreespacePSdcard();
    bool projectAddTrack(
        const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element);
    bool projectAddSeparator(
        const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element);
    bool projectAddMark(
        const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element);
    bool projectRemoveTrack(
        const std::string &mountPoint, const std::string &project, const std::string &uri, int index);
    bool projectRemoveSeparator(
        const std::string &mountPoint, const std::string &project, const std::string &uri, int index);
    bool projectRemoveMark(
        const std::string &mountPoint, const std::string &project, const std::string &uri, int index);
    bool getProjectTracks(
        const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items);
    bool getProjectSeparators(
        const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items);
    bool getProjectMarks(
        const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items);

    bool isReady() const { return m_ready; }
    bool dockingDetected() const { return m_dockingDetected; }
    bool aes67Reset() const { return m_aes67Reset; }
    bool fan() const { return m_fan; }
    int mobileSignalBars() const { return m_mobileSignalBars; }
    int wifiSignalBars() const { return m_wifiSignalBars; }
    int batteryLevel() const { return m_batteryLevel; }
    int batteryStatus() const { return m_batteryStatus; }
    int batteryRemaining() const { return m_batteryRemaining; }
    unsigned deviceOptions() const { return m_deviceOptions; }
    int hardwareVersion() const { return m_hardwareVersion; }
    int clockSource() const { return m_clockSource; }
    int codecMode() const { return m_codecMode; }
    int coordMode() const { return m_coordMode; }
    int dualStreamMode() const { return m_dualStreamMode; }
    const std::string &defaultNetwork() const { return m_defaultNetwork; }
    const std::string &secondaryNetwork() const { return m_secondaryNetwork; }
    // Network code -> interface name.
    const std::map<int, std::string> &availableNetworks() const { return m_availableNetworks; }
    const std::map<int, TComBaseConnection *> &connections() const { return m_connections; }
    bool relaysKnown() const { return m_relaysKnown; }
    const RelayRecord &relay1() const { return m_relay1; }
    const RelayRecord &relay2() const { return m_relay2; }

    TComAoIPController &aoipController() { return m_aoip; }
    const TComAoIPController &aoipController() const { return m_aoip; }
    TComEthernetController &ethernetController() { return m_ethernet; }
    const TComEthernetController &ethernetController() const { return m_ethernet; }
    TComMobileController &mobileController() { return m_mobile; }
    const TComMobileController &mobileController() const { return m_mobile; }
    TComWifiController &wifiController() { return m_wifi; }
    const TComWifiController &wifiController() const { return m_wifi; }

    const CodecFormat &lineCodec(int line) const;
    int lineChannelMode(int line) const;
    int lineConfiguredChannelMode(int line) const;
    int lineNetworkFamily(int line) const;
    bool hasNetwork(const std::string &name) const;
    bool hasNetworkFamily(int family) const;
    bool hasAudioConnection() const;
    TComAudioConnection *audioConnection(int line) const;
    TComBaseConnection *connectionById(int id) const;
    TComBaseConnection *connectionByKind(int kind) const;
    TComBaseConnection *connectionByKindAndNetwork(int kind, const std::string &name) const;
    TComAudioConnection *audioConnectionByNetwork(const std::string &name) const;
    TComAudioConnection *audioConnectionByFamily(int family) const;

    // The model owns an added record; a refused one stays with its creator.
    bool addConnection(TComBaseConnection *record);
    void removeConnection(int id);
    void removeAllConnections();

    // Called by the records.
    void notifyDataConnectionState(TComDataConnection *sender);
    void notifyAudioConnectionState(TComAudioConnection *sender);
    void notifyAudioCallStatus(TComAudioConnection *sender);
    void notifyAudioCallStatistic(TComAudioConnection *sender);
    void notifyAudioCallRelay(TComAudioConnection *sender);

signals:
    void deviceStateChanged(TComDevice::DeviceState state);
    void connectionAdded(TComBaseConnection *sender);
    void connectionRemoved(TComBaseConnection *sender);
    void dataConnectionStateChanged(TComDataConnection *sender);
    void audioConnectionStateChanged(TComAudioConnection *sender);
    void audioCallStatusChanged(TComAudioConnection *sender);
    void audioCallStatisticChanged(TComAudioConnection *sender);
    void audioCallRelayChanged(TComAudioConnection *sender);

private slots:
    void ethernetControllerStateChanged(TComController *sender);
    void mobileControllerStateChanged(TComController *sender);
    void wifiControllerStateChanged(TComController *sender);

private:
    bool handleConnectionEvent(RpcMessage &message, const std::string &type);
    void handleRelays(const kra::CMsg &body);
    void handleDefaultCodec(const kra::CMsg &body);
    void handleCodecChange(const kra::CMsg &body);
    void handleBattery(const kra::CMsg &body);
    void handleSipRegistration(RpcMessage &message, const TComSipAccount &account, DeviceState state);
    void applyDeviceOption(const std::string &item);
    bool setBatteryStatus(const std::string &word);
    void findDataLinks();
    // True when the device took every parameter of the request.
    bool store(const kra::CMsg &request);
    // One parameter of the target, the setters' request before they hold a new value.
    bool storeParam(const std::string &target, const std::string &key, const std::string &text);
    // One of the codec choice lists the request qualifies, each item converted.
    bool readCodecList(
        kra::CMsg &request, const std::string &name, std::vector<int> &out, int (*convert)(const std::string &));
    bool systemAction(const std::string &action);
    bool recorderAction(const kra::CMsg &request);
    // A DO request of the recorder's files; the reply's values when the device said "OK". A cause of a refusal
    // goes to error when one is given.
    bool fileCall(const kra::CMsg &request, std::map<std::string, std::string> &values, int timeoutMs = 5000,
        std::string *error = nullptr);

    TComRpcAccess m_rpc;
    // Counts the resets, so that code that waited can tell whether the model was reset meanwhile.
    unsigned m_resets = 0;
    bool m_ready = false;
    bool m_dockingDetected = false;
    bool m_aes67Reset = false;
    bool m_fan = false;
    int m_mobileSignalBars = 0;
    int m_wifiSignalBars = 0;
    int m_batteryLevel = 0;
    int m_batteryStatus = BatteryNotDetected;
    int m_batteryRemaining = -1;
    unsigned m_deviceOptions = 0;
    int m_hardwareVersion = 0;
    int m_clockSource = ClockUnknown;
    int m_codecMode = CodecModeSingle;
    int m_coordMode = 0;
    int m_dualStreamMode = 0;
    std::string m_defaultNetwork;
    std::string m_secondaryNetwork;
    std::map<int, std::string> m_availableNetworks;
    std::map<int, TComBaseConnection *> m_connections;
    CodecFormat m_line1Codec;
    CodecFormat m_line2Codec;
    TComAoIPController m_aoip;
    TComEthernetController m_ethernet;
    TComMobileController m_mobile;
    TComWifiController m_wifi;
    bool m_relaysKnown = false;
    RelayRecord m_relay1 {1};
    RelayRecord m_relay2 {2};
};

// -1 for no record, no id or no network; 2 for a mobile voice call; else the family of its network.
int connectionNetworkFamily(const TComBaseConnection *connection);
