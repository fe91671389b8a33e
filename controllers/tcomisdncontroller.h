#pragma once

// The device's ISDN interface ("isdn.N"): protocol, SPID, the local numbers and sub-addresses of both channels,
// and the "5as" switch, which the device keeps among its audio parameters. Every change of a value emits
// controllerParamChanged with its CtlrParam index.

#include "controllers/tcomcontroller.h"

#include <string>
#include <vector>

extern const std::string KEY_ISDN_5AS;
extern const std::string KEY_ISDN_PROTOCOL;
extern const std::string KEY_ISDN_SPID;
extern const std::string KEY_ISDN_ADDR_SB0_CH0;
extern const std::string KEY_ISDN_ADDR_SB0_CH1;
extern const std::string KEY_ISDN_SUBADDR_SB0_CH0;
extern const std::string KEY_ISDN_SUBADDR_SB0_CH1;

class TComIsdnController final : public TComNetworkController
{
    Q_OBJECT
public:
    // The index carried by controllerParamChanged, in the order of paramKey.
    enum CtlrParam {
        Param5as = 0,
        ParamProtocol = 1,
        ParamSpid = 2,
        ParamAddrSb0Ch0 = 3,
        ParamAddrSb0Ch1 = 4,
        ParamSubaddrSb0Ch0 = 5,
        ParamSubaddrSb0Ch1 = 6,
    };
    static constexpr int paramCount = 7;

    // NI-1 and NI-2 share one value, written as NI-2.
    enum Protocol { EuroIsdn = 0, NationalIsdn = 1, Ntt = 2 };

    explicit TComIsdnController(kra::CCom *com);

    // Empty for an index out of range.
    static const std::string &paramKey(int param);
    // Unknown texts read as EuroIsdn; values out of range are written as it.
    static Protocol protocolFromText(const std::string &text);
    static const std::string &protocolToText(int protocol);

    bool is5as() const { return m_5as; }
    Protocol protocol() const { return m_protocol; }
    const std::string &spid() const { return m_spid; }
    const std::string &addrSb0Ch0() const { return m_addrSb0Ch0; }
    const std::string &addrSb0Ch1() const { return m_addrSb0Ch1; }
    const std::string &subaddrSb0Ch0() const { return m_subaddrSb0Ch0; }
    const std::string &subaddrSb0Ch1() const { return m_subaddrSb0Ch1; }

    // With send the value is written first; a refusal keeps the old value, emits nothing and gives false. The
    // number texts go out as they are, an empty one too.
    bool set5as(bool on, bool send);
    bool setProtocol(Protocol protocol, bool send);
    bool setSpid(const std::string &text, bool send);
    bool setAddrSb0Ch0(const std::string &text, bool send);
    bool setAddrSb0Ch1(const std::string &text, bool send);
    bool setSubaddrSb0Ch0(const std::string &text, bool send);
    bool setSubaddrSb0Ch1(const std::string &text, bool send);

    // Wire text to value, without sending.
    bool parse5as(const std::string &text);
    bool parseProtocol(const std::string &text);
    bool parseSpid(const std::string &text);
    bool parseAddrSb0Ch0(const std::string &text);
    bool parseAddrSb0Ch1(const std::string &text);
    bool parseSubaddrSb0Ch0(const std::string &text);
    bool parseSubaddrSb0Ch1(const std::string &text);

    // Single reads, each applied through its parser.
    bool fetch5as();
    bool fetchProtocol();
    bool fetchSpid();
    bool fetchAddrSb0Ch0();
    bool fetchAddrSb0Ch1();
    bool fetchSubaddrSb0Ch0();
    bool fetchSubaddrSb0Ch1();

    // The switch lives on "audio", without an interface name.
    bool send5as(bool on);

    void reset() override;
    bool fetchAll() override;
    // "5as" is read on its own; true when the interface read or that one answered.
    bool fetch(const std::vector<std::string> &names) override;
    // One interface write, then "5as" on its own, even when the first failed; true only when both succeeded.
    bool store(const std::vector<std::string> &names) override;
    bool attach(const std::string &name, int flags, bool makeDefault) override;

private:
    bool setText(std::string &member, const std::string &text, int param, bool send);
    bool applyText(const std::string &key, const std::string &text);
    bool fetchText(int param);

    bool m_5as = false;
    Protocol m_protocol = EuroIsdn;
    std::string m_spid;
    std::string m_addrSb0Ch0;
    std::string m_addrSb0Ch1;
    std::string m_subaddrSb0Ch0;
    std::string m_subaddrSb0Ch1;
};
