#include "controllers/tcomrpcaccess.h"

#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"

namespace {

constexpr int requestTimeoutMs = 5000;

const std::string &resultOf(const kra::CMsg &reply)
{
    return reply.value(kra::KEY_RETURN);
}

// With "returnFmt" "EXT" the device separates list items by the group separator, which is also what joins
// its partial replies; items then keep their commas.
void splitReplyList(const kra::CMsg &reply, const std::string &value, std::vector<std::string> &items)
{
    if (reply.value(kra::KEY_RETURN_FMT) != kra::FMT_EXT) {
        kra::splitListValue(value, items);
        return;
    }
    items.clear();
    size_t start = 0;
    for (;;) {
        const size_t stop = value.find(kra::EXT_LIST_SEPARATOR, start);
        items.push_back(value.substr(start, stop == std::string::npos ? std::string::npos : stop - start));
        if (stop == std::string::npos)
            break;
        start = stop + 1;
    }
}

} // namespace

TComRpcAccess::TComRpcAccess(kra::CCom *com) : m_com(com) { }

bool TComRpcAccess::send(const kra::CMsg &request, kra::CMsg &reply, int timeoutMs)
{
    return m_com->sendSyncMsg(request, reply, 1000, timeoutMs) == 0;
}

bool TComRpcAccess::takeErrorParams(kra::CMsg &reply)
{
    kra::CMsg errors;
    if (m_com->getErrorParams(errors, 0) < 0)
        return false;
    reply = errors;
    return true;
}

void TComRpcAccess::keepCause(const kra::CMsg &reply)
{
    m_lastError = reply.value(kra::KEY_CAUSE);
}

bool TComRpcAccess::execute(const kra::CMsg &request, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.params.empty() || !send(request, reply, timeoutMs))
        return false;
    if (resultOf(reply) == kra::RET_OK)
        return true;
    keepCause(reply);
    return false;
}

bool TComRpcAccess::call(const kra::CMsg &request, std::map<std::string, std::string> &out, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.params.empty() || !send(request, reply, timeoutMs))
        return false;
    if (resultOf(reply) != kra::RET_OK) {
        keepCause(reply);
        return false;
    }
    for (const auto &[key, value] : reply.params)
        out.try_emplace(key, value);
    out.erase(kra::KEY_RETURN);
    return true;
}

bool TComRpcAccess::getValue(const kra::CMsg &request, std::string &value, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.getNames.size() != 1 || !send(request, reply, timeoutMs))
        return false;
    if (resultOf(reply) == kra::RET_PROGRESS && !takeErrorParams(reply))
        return false;
    const std::string &result = resultOf(reply);
    const std::string &answer = reply.value(request.getNames.front());
    if (result == kra::RET_OK) {
        value = answer;
        return true;
    }
    if (result == kra::RET_ERROR) {
        if (answer == kra::ERR_PARAMETER_NOT_SET) {
            value.clear();
            return true;
        }
        value = answer;
    }
    return false;
}

int TComRpcAccess::getParams(const kra::CMsg &request, std::map<std::string, std::string> &values,
    std::map<std::string, std::string> &errors, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.getNames.empty() || !send(request, reply, timeoutMs))
        return -1;
    if (resultOf(reply) == kra::RET_PROGRESS) {
        for (const auto &[key, value] : reply.params)
            values.try_emplace(key, value);
        values.erase(kra::KEY_RETURN);
        if (!takeErrorParams(reply))
            return -1;
    }
    const std::string result = resultOf(reply);
    reply.params.erase(kra::KEY_RETURN);
    if (result == kra::RET_OK) {
        for (const auto &[key, value] : reply.params)
            values.try_emplace(key, value);
        return int(values.size());
    }
    // An error that names nothing tells nothing about the values: a failure, not an empty answer.
    if (result != kra::RET_ERROR || reply.params.empty())
        return -1;
    for (const auto &[key, value] : reply.params) {
        if (value == kra::ERR_PARAMETER_NOT_SET)
            values.try_emplace(key, std::string());
        else
            errors[key] = value;
    }
    return int(values.size());
}

int TComRpcAccess::setParams(const kra::CMsg &request, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.kind != kra::CMsg::Param || request.params.empty() || !send(request, reply, timeoutMs))
        return -1;
    if (resultOf(reply) == kra::RET_PROGRESS && !takeErrorParams(reply))
        return -1;
    const std::string result = resultOf(reply);
    if (result == kra::RET_OK)
        return int(request.params.size());
    reply.params.erase(kra::KEY_RETURN);
    // A refusal that names no parameter must not count every parameter as accepted.
    if (result != kra::RET_ERROR || reply.params.empty())
        return -1;
    return int(request.params.size()) - int(reply.params.size());
}

bool TComRpcAccess::getList(const kra::CMsg &request, std::vector<std::string> &items, int timeoutMs)
{
    m_lastError.clear();
    kra::CMsg reply;
    if (!m_com || request.params.empty() || request.listNames.size() != 1 || !send(request, reply, timeoutMs))
        return false;
    const std::string &name = request.listNames.front();
    if (resultOf(reply) == kra::RET_PROGRESS) {
        std::vector<std::string> part;
        const std::string &value = reply.value(name);
        if (!value.empty()) {
            splitReplyList(reply, value, part);
            items.insert(items.end(), part.begin(), part.end());
        }
        if (!takeErrorParams(reply))
            return false;
    }
    if (resultOf(reply) != kra::RET_OK)
        return false;
    const std::string &value = reply.value(name);
    if (!value.empty()) {
        std::vector<std::string> part;
        splitReplyList(reply, value, part);
        items.insert(items.end(), part.begin(), part.end());
    }
    return true;
}

bool TComRpcAccess::subscribe(const std::string &infoType)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_SUBSCRIBE);
    request.setParam(kra::KEY_INFO, infoType);
    return execute(request, requestTimeoutMs);
}

bool TComRpcAccess::unsubscribe(const std::string &infoType)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_UNSUBSCRIBE);
    request.setParam(kra::KEY_INFO, infoType);
    return execute(request, requestTimeoutMs);
}

bool TComRpcAccess::setDefaultNetwork(const std::string &name)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_NETWORK);
    // The event that reports the default network and the parameter that sets it share their word.
    request.setParam(kra::EVT_DEFAULT_NETWORK, name);
    return setParams(request, requestTimeoutMs) == int(request.params.size());
}
