// The device's book as the simulated device keeps it: call profiles ("remote_profile"), presets ("local_profile"),
// SIP profiles ("sip_profile") and snapshots ("snapshot"). A record is the store "book:<type>:<id>" with its values
// ("book:remote_profile:12 name=Studio A" in a set-up); LIST <type> on "general" answers "<id>/<name>" in the
// order of the ids, unless a set-up gave that list itself. DO "open", "create", "update", "delete" and "load" take
// the "type" and, but for "create", the "id"; an unknown id is refused with "106-invalid id". A load is noted in
// the store "book:loaded", key the type, value the id (and ",<account>" for a SIP profile).

#include "tests/peers/simdevice.h"

#include "rpc/rpcvocabulary.h"

#include <algorithm>

namespace {

const std::string bookPrefix = "book:";
const std::string loadedStore = "book:loaded";
const std::string sipProfile = "sip_profile";
const std::string accountKey = "account";

bool isBookType(const std::string &type)
{
    return type == "remote_profile" || type == "local_profile" || type == sipProfile || type == "snapshot";
}

void refuse(kra::CMsg &reply, const std::string &cause)
{
    reply.setParam(kra::KEY_RETURN, kra::RET_ERROR, kra::CMsg::Overwrite);
    reply.setParam(kra::KEY_CAUSE, cause, kra::CMsg::Overwrite);
}

std::string recordStore(const std::string &type, const std::string &id)
{
    return bookPrefix + type + ":" + id;
}

// The keys a request carries about the record itself.
bool isRecordValue(const std::string &key)
{
    return key != kra::KEY_TARGET && key != kra::KEY_ACTION && key != kra::KEY_TYPE && key != kra::KEY_ID;
}

} // namespace

std::vector<int> SimDevice::bookIds(const std::string &type) const
{
    std::vector<int> ids;
    const std::string prefix = bookPrefix + type + ":";
    for (const auto &[store, values] : m_stores) {
        bool ok = false;
        const int id = QByteArray::fromStdString(store.substr(std::min(prefix.size(), store.size()))).toInt(&ok);
        if (store.compare(0, prefix.size(), prefix) == 0 && ok)
            ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool SimDevice::bookList(const std::string &type, std::vector<std::string> &items) const
{
    if (!isBookType(type))
        return false;
    items.clear();
    for (int id : bookIds(type))
        items.push_back(std::to_string(id) + "/" + param(recordStore(type, std::to_string(id)), kra::KEY_NAME));
    return true;
}

void SimDevice::learnBook()
{
    using Request = const kra::CMsg &;
    using Reply = kra::CMsg &;

    // The record the request names, or empty with the refusal.
    const auto recordOf = [this](Request r, Reply reply) -> std::string {
        const std::string &type = r.value(kra::KEY_TYPE);
        if (!isBookType(type)) {
            refuse(reply, type.empty() ? kra::ERR_MANDATORY_PARAMETER_MISSING : kra::ERR_INVALID_VALUE);
            return {};
        }
        const std::string &id = r.value(kra::KEY_ID);
        if (id.empty()) {
            refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
            return {};
        }
        if (!m_stores.count(recordStore(type, id))) {
            refuse(reply, kra::ERR_INVALID_ID);
            return {};
        }
        return recordStore(type, id);
    };
    // A SIP profile is made from and loaded into one of the two accounts.
    const auto accountMissing = [](Request r, Reply reply) {
        const std::string &account = r.value(accountKey);
        if (r.value(kra::KEY_TYPE) != sipProfile || account == "1" || account == "2")
            return false;
        refuse(reply, account.empty() ? kra::ERR_MANDATORY_PARAMETER_MISSING : kra::ERR_INVALID_VALUE);
        return true;
    };

    // "open" also serves the recorder's wave data files: those requests keep their handler.
    const Action openDataFile = m_actions[kra::CMD_OPEN];
    setAction(kra::CMD_OPEN, [this, recordOf, openDataFile](Request r, Reply reply) {
        if (!isBookType(r.value(kra::KEY_TYPE)))
            return openDataFile(r, reply);
        const std::string store = recordOf(r, reply);
        if (store.empty())
            return;
        for (const auto &[key, value] : m_stores[store])
            reply.setParam(key, value);
    });
    setAction(kra::CMD_CREATE, [this, accountMissing](Request r, Reply reply) {
        const std::string &type = r.value(kra::KEY_TYPE);
        if (!isBookType(type))
            return refuse(reply, type.empty() ? kra::ERR_MANDATORY_PARAMETER_MISSING : kra::ERR_INVALID_VALUE);
        if (r.value(kra::KEY_NAME).empty())
            return refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
        if (accountMissing(r, reply))
            return;
        const std::vector<int> ids = bookIds(type);
        const std::string id = std::to_string(ids.empty() ? 0 : ids.back() + 1);
        auto &record = m_stores[recordStore(type, id)];
        for (const auto &[key, value] : r.params) {
            if (isRecordValue(key))
                record[key] = value;
        }
        reply.setParam(kra::KEY_ID, id);
    });
    setAction(kra::CMD_UPDATE, [this, recordOf](Request r, Reply reply) {
        const std::string store = recordOf(r, reply);
        if (store.empty())
            return;
        for (const auto &[key, value] : r.params) {
            if (isRecordValue(key))
                m_stores[store][key] = value;
        }
    });
    setAction(kra::CMD_DELETE, [this, recordOf](Request r, Reply reply) {
        const std::string store = recordOf(r, reply);
        if (!store.empty())
            m_stores.erase(store);
    });
    setAction(kra::CMD_LOAD, [this, recordOf, accountMissing](Request r, Reply reply) {
        if (recordOf(r, reply).empty() || accountMissing(r, reply))
            return;
        const std::string &account = r.value(accountKey);
        setParam(loadedStore, r.value(kra::KEY_TYPE), r.value(kra::KEY_ID) + (account.empty() ? "" : "," + account));
    });
}
