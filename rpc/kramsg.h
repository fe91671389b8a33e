#pragma once

// The text body of an RPC frame: a kind word, then name:value pairs, GET names and LIST names, each ended by ';'.

#include <list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kra {

class CMsg
{
public:
    enum Kind { None = 0, Param = 1, Do = 2, Info = 3, Event = 4 };
    // What setParam and merge do with a key that is already present.
    enum MergeMode { Keep = 0, Overwrite = 1, Append = 2 };
    // What a request asks for; the call bookkeeping keys its handling of partial replies on it.
    enum RequestType { AddressedRequest = 0, GetRequest = 1, SetRequest = 2, ListRequest = 3 };

    explicit CMsg(int kind = None);

    void clear(int kind);

    // The stored value; for an absent key a shared empty string when emptyIfMissing, else null.
    const std::string *param(const std::string &key, bool emptyIfMissing = false) const;
    // The stored value, empty for an absent key.
    const std::string &value(const std::string &key) const { return *param(key, true); }

    // Append puts separator + value behind a non-empty value and overwrites an empty one.
    void setParam(const std::string &key, const std::string &value, MergeMode mode = Keep, char separator = ',');
    void addGet(const std::string &name);
    void addList(const std::string &name);

    // LIST names win over GET names; no parameters at all is a GET; else "target" or "cat" makes it addressed.
    RequestType requestType() const;

    int causeCode() const;
    int causeCodeOf(const std::string &key) const;

    // Parameters only; GET and LIST names of other are not taken.
    void merge(const CMsg &other, MergeMode mode, char separator);

    int kind;
    std::map<std::string, std::string> params;
    std::vector<std::string> getNames;
    std::vector<std::string> listNames;
};

int serializeBody(const CMsg &msg, std::string &out);
// Reads straight from any byte range (a frame buffer, a datagram), so no copy of the text is needed.
int parseBody(std::string_view text, CMsg &out);

// Backslash escaping of the given separator characters (and of the backslash itself).
void escapeString(const std::string &text, std::string &out, const char *separators);
size_t readEscaped(const std::string &text, std::string &out, size_t pos, const char *separators);

int splitString(const std::string &text, std::vector<std::string> &parts, const char *separators);
int splitStringToList(const std::string &text, std::list<std::string> &parts, const char *separators);

// Item lists of LIST replies: ',' between items (or '/'), backslash escapes; empty items are kept.
void splitListValue(const std::string &text, std::vector<std::string> &items);
void joinListValue(const std::vector<std::string> &items, std::string &out);
void splitSlashValue(const std::string &text, std::vector<std::string> &items);
void joinSlashValue(const std::vector<std::string> &items, std::string &out);

} // namespace kra
