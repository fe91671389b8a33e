#pragma once

// One Ethernet interface of the device ("eth.N"): address mode and static addresses, configured and negotiated
// link mode, hardware address, cable, and the two stream parameters every interface shares. Every change of a
// value emits controllerParamChanged with its CtlrParam index.

#include "controllers/tcomcontroller.h"

#include <string>
#include <vector>

class TComEthernetController final : public TComNetworkController
{
    Q_OBJECT
public:
    // The index carried by controllerParamChanged; ConfigInfo follows a whole "config info" update.
    enum CtlrParam {
        ParamMode = 0,
        ParamLocalAddr = 1,
        ParamSubnet = 2,
        ParamGateway = 3,
        ParamDns1 = 4,
        ParamDns2 = 5,
        ParamLinkMode = 6,
        ParamLinkModeNeg = 7,
        ParamHwAddr = 8,
        ParamCable = 9,
        ParamNetworkQuality = 10,
        ParamAjbProfile = 11,
        ParamConfigInfo = 12,
    };
    static constexpr int paramCount = 12;

    enum IpMode { IpModeUnknown = -1, Dhcp = 0, Manual = 1, Pppoe = 2, Bgan = 3 };
    enum LinkMode {
        LinkModeUnknown = -1,
        AutoNegotiation = 0,
        Link10000BaseTFd = 1,
        Link2500BaseTFd = 2,
        Link1000BaseTFd = 3,
        Link1000BaseTHd = 4,
        Link100BaseTFd = 5,
        Link100BaseTHd = 6,
        Link10BaseTFd = 7,
        Link10BaseTHd = 8,
    };

    // Parameter keys; the shared two are KEY_NETWORK_QUALITY and KEY_AJB_PROFILE.
    static const std::string KEY_SUBNET;
    static const std::string KEY_GATEWAY;
    static const std::string KEY_DNS1;
    static const std::string KEY_DNS2;
    static const std::string KEY_LINK_MODE;
    static const std::string KEY_LINK_MODE_NEG;
    static const std::string KEY_HW_ADDR;
    static const std::string KEY_CABLE;

    explicit TComEthernetController(kra::CCom *com);

    // The wire key of a parameter index; empty for ParamConfigInfo and anything out of range.
    static const std::string &paramKey(int param);
    static IpMode ipModeFromText(const std::string &text);
    static std::string ipModeToText(int mode);
    static LinkMode linkModeFromText(const std::string &text);
    static std::string linkModeToText(int mode);

    IpMode ipMode() const { return m_ipMode; }
    const std::string &localAddr() const { return m_localAddr; }
    const std::string &subnet() const { return m_subnet; }
    const std::string &gateway() const { return m_gateway; }
    const std::string &dns1() const { return m_dns1; }
    const std::string &dns2() const { return m_dns2; }
    LinkMode linkMode() const { return m_linkMode; }
    LinkMode linkModeNeg() const { return m_linkModeNeg; }
    const std::string &hwAddr() const { return m_hwAddr; }
    bool cable() const { return m_cable; }
    int networkQuality() const { return m_networkQuality; }
    int ajbProfile() const { return m_ajbProfile; }

    // With send, the value is written first and a refusal keeps the old one; unknown (-1) is never sent.
    bool setIpMode(IpMode mode, bool send);
    bool setLinkMode(LinkMode mode, bool send);
    bool setNetworkQuality(int quality, bool send);
    bool setAjbProfile(int profile, bool send);
    // The addresses go out only in manual mode; the address and the subnet also only when not empty.
    bool setLocalAddr(const std::string &text, bool send);
    bool setSubnet(const std::string &text, bool send);
    bool setGateway(const std::string &text, bool send);
    bool setDns1(const std::string &text, bool send);
    bool setDns2(const std::string &text, bool send);
    // What the device reports and nobody writes.
    void setLinkModeNeg(LinkMode mode);
    void setHwAddr(const std::string &text);
    void setCable(bool plugged);

    // Applies a wire text to its parameter without sending; false for a key that is not one of the twelve.
    bool parseParam(const std::string &key, const std::string &text);
    // Reads one parameter from the device; true when it was read.
    bool refreshParam(int param);

    void reset() override;
    bool fetchAll() override;
    bool fetch(const std::vector<std::string> &names) override;
    bool store(const std::vector<std::string> &names) override;
    bool handleEvent(RpcMessage &message) override;
    bool attach(const std::string &name, int flags, bool makeDefault) override;

private:
    template<typename T>
    bool setEnum(T &member, T value, int param, const std::string &text, bool send);
    bool setAddress(std::string &member, const std::string &text, int param, bool send, bool sendEmpty);
    void changed(int param);

    IpMode m_ipMode = IpModeUnknown;
    std::string m_localAddr;
    std::string m_subnet;
    std::string m_gateway;
    std::string m_dns1;
    std::string m_dns2;
    LinkMode m_linkMode = LinkModeUnknown;
    LinkMode m_linkModeNeg = LinkModeUnknown;
    std::string m_hwAddr;
    bool m_cable = false;
    int m_networkQuality = -1;
    int m_ajbProfile = -1;
};
