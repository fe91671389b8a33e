#pragma once

// What every parameter controller shares: a request helper, a kind, a state with its signal, and for the
// interface controllers the interface they are bound to, the requests on it and the shared value tables.

#include "controllers/tcomrpcaccess.h"
#include "rpc/rpcmessage.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

namespace kra {
class CCom;
}

extern const std::string KEY_NETWORK_QUALITY;
extern const std::string KEY_AJB_PROFILE;

class TComController : public QObject
{
    Q_OBJECT
public:
    enum Kind { Generic = 0, AoIP = 1, Ethernet = 2, Isdn = 3, Mobile = 4, WiFi = 5 };
    // The mobile controller has states of its own beside these.
    enum State { NotRead = -1, Loaded = 0, Attached = 1 };

    TComController(kra::CCom *com, int kind);

    int kind() const { return m_kind; }
    int state() const { return m_state; }
    void setState(int state);
    TComRpcAccess &rpc() { return m_rpc; }

    virtual void reset();
    virtual bool fetchAll() = 0;
    virtual bool fetch(const std::vector<std::string> &names) = 0;
    virtual bool store(const std::vector<std::string> &names) = 0;
    virtual bool handleInfo(RpcMessage &message);
    virtual bool handleEvent(RpcMessage &message);

signals:
    void controllerStateChanged(TComController *sender);

protected:
    // One request reading the named parameters of `target`: the number of values read, below 1 when it failed.
    int getTargetParams(
        const std::string &target, const std::vector<std::string> &names, std::map<std::string, std::string> &values);

private:
    TComRpcAccess m_rpc;
    int m_kind;
    int m_state = NotRead;
};

// A controller of parameters of the target "audio" that follows the device's "audio_changeset" notifications: the
// audio input settings and the routing matrix. Each applies a set of values its own way.
class TComAudioTargetController : public TComController
{
    Q_OBJECT
public:
    TComAudioTargetController(kra::CCom *com, int kind);

    // Reads every parameter when asked to, without reporting them one by one, then follows the device's changes.
    bool attach(bool fetch);
    bool fetch(const std::vector<std::string> &names) override;
    // Nothing is written as a group: each setter sends its own value.
    bool store(const std::vector<std::string> &names) override;
    bool handleInfo(RpcMessage &message) override;

protected:
    virtual void applyParams(const std::map<std::string, std::string> &params) = 0;
};

class TComNetworkController : public TComController
{
    Q_OBJECT
public:
    // Bit 0 of attach's flags reads every parameter; bit 1 is the mobile controller's own.
    enum AttachFlag { AttachFetch = 1, AttachMobileFlag = 2 };

    TComNetworkController(kra::CCom *com, int kind);

    const std::string &interfaceName() const { return m_interfaceName; }

    virtual bool attach(const std::string &name, int flags, bool makeDefault);

    bool getParam(const std::string &name, std::string &value, bool withInterface);
    int getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values,
        std::map<std::string, std::string> &errors, bool withInterface);
    bool setParam(const std::string &name, const std::string &value, bool withInterface);
    bool setParams(const std::map<std::string, std::string> &params, bool withInterface);
    bool getList(const std::string &listName, std::vector<std::string> &items, bool withInterface);
    bool reinitNetwork(const std::string &name, bool resetIfOwn);
    bool makeDefaultNetwork();

    static std::string networkQualityToText(int quality);
    static int networkQualityFromText(const std::string &text);
    static std::string ajbProfileToText(int profile);
    static int ajbProfileFromText(const std::string &text);

signals:
    void controllerParamChanged(TComController *sender, int parameter);

private:
    kra::CMsg networkRequest(bool withInterface) const;

    std::string m_interfaceName;
};

// The small status the mobile controller keeps for SIM, PIN and registration answers.
int causeCodeToStatus(int code);
int causeToStatus(const std::string &value);

// Device texts between QString and the protocol's byte strings. A UTF-8 text is decoded whole, and bytes that are
// not UTF-8 come back unchanged: qStringToUtf8(utf8ToQString(bytes)) == bytes for any bytes.
QString latin1ToQString(const std::string &text);
QString utf8ToQString(const std::string &text);
std::string qStringToLatin1(const QString &text);
std::string qStringToUtf8(const QString &text);
