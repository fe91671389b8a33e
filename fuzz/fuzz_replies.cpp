// Property: whatever reply body the device sends, kra::CCom sorts it into the reply and the refused parameters,
// and TComRpcAccess reads values, refusals, counts and list items from them, exactly as a plain reading of that body
// says. The reading below is written apart from the product code and checked against it.
//
// Input: one byte, then the request body text, a line feed, and the reply body text. The byte's low two bits choose
// what reads the reply (0 kra::CCom::sendSyncMsg itself, 1 getParams, 2 setParams, 3 getList), bit 2 whether the
// caller's containers already hold something. A reply text that does not parse gives a call that failed before it
// was sent.

#include "controllers/tcomrpcaccess.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

enum Operation { SyncCall = 0, GetParams = 1, SetParams = 2, GetList = 3 };

using Map = std::map<std::string, std::string>;
using Items = std::vector<std::string>;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// Answers every synchronous request with a call that has already ended.
class ReplayCom final : public kra::CCom
{
public:
    RpcAsyncCall outcome;
    int calls = 0;
    kra::CMsg sent;

protected:
    RpcAsyncCall startCall(const RpcMessage &request, int) override
    {
        ++calls;
        sent = request.body();
        return outcome;
    }
};

bool isErrorText(const std::string &value)
{
    static const std::set<std::string> texts = [] {
        std::set<std::string> all;
        for (int code = 1; code <= 204; ++code)
            all.insert(causeTextFromCode(code));
        return all;
    }();
    return texts.count(value) > 0;
}

std::string valueOf(const Map &map, const std::string &key)
{
    const auto it = map.find(key);
    return it == map.end() ? std::string() : it->second;
}

// What the caller gets back: the reply's values (error texts of a PARAM reply taken out into the refusals) and its
// verdict.
struct Sorted
{
    Map reply;
    Map refused; // empty, or the refused parameters with "return" "ERROR"
};

Sorted sortReply(const kra::CMsg &body)
{
    Sorted out;
    const bool param = body.kind == kra::CMsg::Param;
    for (const auto &[key, value] : body.params) {
        if (key == kra::KEY_RETURN)
            continue;
        if (value.empty() || value == kra::ERR_PARAMETER_NOT_SET)
            out.reply[key] = std::string();
        else if (param && isErrorText(value))
            out.refused[key] = value;
        else
            out.reply[key] = value;
    }
    const std::string result = valueOf(body.params, kra::KEY_RETURN);
    if (!param) {
        out.reply[kra::KEY_RETURN] = result.empty() ? kra::RET_ERROR : result;
    } else if (!out.refused.empty()) {
        out.reply[kra::KEY_RETURN] = kra::RET_PROGRESS;
        out.refused[kra::KEY_RETURN] = kra::RET_ERROR;
    } else {
        out.reply[kra::KEY_RETURN] = result == kra::RET_ERROR ? kra::RET_ERROR : kra::RET_OK;
    }
    return out;
}

Map withoutReturn(Map map)
{
    map.erase(kra::KEY_RETURN);
    return map;
}

void addMissing(Map &into, const Map &from)
{
    for (const auto &[key, value] : from) {
        if (!into.count(key))
            into[key] = value;
    }
}

// A list value: items between group separators with "EXT", else between commas with backslash escapes.
Items listItems(const std::string &value, bool ext)
{
    Items items(1);
    for (size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (ext) {
            if (c == kra::EXT_LIST_SEPARATOR)
                items.emplace_back();
            else
                items.back() += c;
        } else if (c == '\\') {
            if (i + 1 < value.size())
                items.back() += value[++i];
        } else if (c == ',') {
            items.emplace_back();
        } else {
            items.back() += c;
        }
    }
    return items;
}

void appendList(Items &items, const Map &reply, const std::string &name)
{
    const std::string value = valueOf(reply, name);
    if (value.empty())
        return;
    const Items part = listItems(value, valueOf(reply, kra::KEY_RETURN_FMT) == kra::FMT_EXT);
    items.insert(items.end(), part.begin(), part.end());
}

// The reply as the helper reads it after a partial answer: the refusals, when there are any.
bool afterProgress(const Sorted &sorted, Map &reply)
{
    if (valueOf(reply, kra::KEY_RETURN) != kra::RET_PROGRESS)
        return true;
    if (sorted.refused.empty())
        return false;
    reply = sorted.refused;
    return true;
}

void checkSyncCall(ReplayCom &com, const kra::CMsg &request, bool failed, int error, const Sorted &sorted)
{
    kra::CMsg reply(kra::CMsg::Event);
    reply.setParam("stale", "x");
    const int result = com.sendSyncMsg(request, reply, 0, 5000);
    if (failed) {
        // Nothing was waited for: the reply is left as it was.
        check(result == error);
        check(reply.kind == kra::CMsg::Event && reply.params == Map {{"stale", "x"}});
        return;
    }
    check(result == RpcConnection::NoError);
    check(reply.kind == kra::CMsg::None);
    check(reply.getNames.empty() && reply.listNames.empty());
    check(reply.params == sorted.reply);
}

void checkGetParams(TComRpcAccess &access, const kra::CMsg &request, bool prefill, bool failed, const Sorted &sorted)
{
    Map values;
    Map errors;
    if (prefill) {
        values = {{"a", "old"}};
        errors = {{"e", "old"}};
    }
    Map expectedValues = values;
    Map expectedErrors = errors;
    int expected = -1;
    Map reply = sorted.reply;
    if (!request.getNames.empty() && !failed) {
        const bool partial = valueOf(reply, kra::KEY_RETURN) == kra::RET_PROGRESS;
        if (partial) {
            addMissing(expectedValues, reply);
            expectedValues.erase(kra::KEY_RETURN);
        }
        if (afterProgress(sorted, reply)) {
            const std::string result = valueOf(reply, kra::KEY_RETURN);
            const Map named = withoutReturn(reply);
            if (result == kra::RET_OK) {
                addMissing(expectedValues, named);
                expected = int(expectedValues.size());
            } else if (result == kra::RET_ERROR && !named.empty()) {
                for (const auto &[key, value] : named) {
                    if (value == kra::ERR_PARAMETER_NOT_SET)
                        addMissing(expectedValues, {{key, std::string()}});
                    else
                        expectedErrors[key] = value;
                }
                expected = int(expectedValues.size());
            }
        }
    }
    check(access.getParams(request, values, errors, 5000) == expected);
    check(values == expectedValues);
    check(errors == expectedErrors);
}

void checkSetParams(TComRpcAccess &access, const kra::CMsg &request, bool failed, const Sorted &sorted)
{
    int expected = -1;
    Map reply = sorted.reply;
    if (request.kind == kra::CMsg::Param && !request.params.empty() && !failed && afterProgress(sorted, reply)) {
        const std::string result = valueOf(reply, kra::KEY_RETURN);
        const Map refused = withoutReturn(reply);
        if (result == kra::RET_OK)
            expected = int(request.params.size());
        else if (result == kra::RET_ERROR && !refused.empty())
            expected = int(request.params.size()) - int(refused.size());
    }
    check(access.setParams(request, 5000) == expected);
}

void checkGetList(TComRpcAccess &access, const kra::CMsg &request, bool prefill, bool failed, const Sorted &sorted)
{
    Items items;
    if (prefill)
        items = {"old", ""};
    Items expectedItems = items;
    bool expected = false;
    Map reply = sorted.reply;
    if (!request.params.empty() && request.listNames.size() == 1 && !failed) {
        const std::string &name = request.listNames.front();
        if (valueOf(reply, kra::KEY_RETURN) == kra::RET_PROGRESS)
            appendList(expectedItems, reply, name);
        if (afterProgress(sorted, reply) && valueOf(reply, kra::KEY_RETURN) == kra::RET_OK) {
            appendList(expectedItems, reply, name);
            expected = true;
        }
    }
    check(access.getList(request, items, 5000) == expected);
    check(items == expectedItems);
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_replies";
    static char *argv[] = {name, nullptr};
    static const bool installed = (qInstallMessageHandler(quiet), true);
    static QCoreApplication app(argc, argv);
    static ReplayCom com;
    (void)installed;
    if (size < 1)
        return 0;

    const Operation operation = Operation(data[0] & 3);
    const bool prefill = (data[0] & 4) != 0;
    const std::string text(reinterpret_cast<const char *>(data) + 1, size - 1);
    const size_t cut = text.find('\n');
    kra::CMsg request;
    kra::parseBody(text.substr(0, cut), request);
    kra::CMsg body;
    const bool failed = cut == std::string::npos || kra::parseBody(text.substr(cut + 1), body) != 0;
    const int error = RpcConnection::BodyError;
    com.outcome = failed ? RpcAsyncCall::fromError(error) : RpcAsyncCall::fromReply(body);
    com.calls = 0;
    const Sorted sorted = failed ? Sorted() : sortReply(body);

    TComRpcAccess access(&com);
    switch (operation) {
    case SyncCall:
        checkSyncCall(com, request, failed, error, sorted);
        break;
    case GetParams:
        checkGetParams(access, request, prefill, failed, sorted);
        break;
    case SetParams:
        checkSetParams(access, request, failed, sorted);
        break;
    case GetList:
        checkGetList(access, request, prefill, failed, sorted);
        break;
    }
    check(com.isReady());
    check(access.lastError().empty());
    if (com.calls > 0) {
        check(com.calls == 1);
        check(com.sent.kind == request.kind && com.sent.params == request.params
            && com.sent.getNames == request.getNames && com.sent.listNames == request.listNames);
    }
    if (com.calls > 0 && !failed) {
        // The refusals stay available until the next call.
        kra::CMsg refused(kra::CMsg::Event);
        const int found = com.getErrorParams(refused, 0);
        check(found == (sorted.refused.empty() ? -1 : 0));
        check(sorted.refused.empty() ? refused.kind == kra::CMsg::Event : refused.params == sorted.refused);
    }
    // The watcher of the call is deleted later; here is later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
