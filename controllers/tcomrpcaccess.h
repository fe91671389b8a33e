#pragma once

// The synchronous request helper of the device model and the controllers: each request goes through
// kra::CCom::sendSyncMsg and is judged by its "return"; the "cause" of a refusal is kept for the caller.

#include "rpc/kramsg.h"

#include <map>
#include <string>
#include <vector>

namespace kra {
class CCom;
}

class TComRpcAccess
{
public:
    explicit TComRpcAccess(kra::CCom *com);

    bool execute(const kra::CMsg &request, int timeoutMs);
    bool call(const kra::CMsg &request, std::map<std::string, std::string> &out, int timeoutMs);
    bool getValue(const kra::CMsg &request, std::string &value, int timeoutMs);
    // The number of entries in values afterwards, or -1.
    int getParams(const kra::CMsg &request, std::map<std::string, std::string> &values,
        std::map<std::string, std::string> &errors, int timeoutMs);
    // The number of request parameters the device accepted, or -1.
    int setParams(const kra::CMsg &request, int timeoutMs);
    bool getList(const kra::CMsg &request, std::vector<std::string> &items, int timeoutMs);
    bool subscribe(const std::string &infoType);
    bool unsubscribe(const std::string &infoType);
    bool setDefaultNetwork(const std::string &name);

    // The "cause" of the last request the device refused; empty after any other outcome.
    const std::string &lastError() const { return m_lastError; }
    kra::CCom *com() const { return m_com; }

private:
    bool send(const kra::CMsg &request, kra::CMsg &reply, int timeoutMs);
    bool takeErrorParams(kra::CMsg &reply);
    void keepCause(const kra::CMsg &reply);

    kra::CCom *m_com;
    std::string m_lastError;
};
