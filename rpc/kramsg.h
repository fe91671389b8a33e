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

    explicit CMsg(int kind = None);

    void clear(int kind);

    // The stored value; for an absent key a shared empty string when emptyIfMissing, else null.
    const std::string *param(const std::string &key, bool emptyIfMissing = false) const;

    // mode 0 keeps an existing value, 1 overwrites, 2 appends separator + value to a non-empty one.
    void setParam(const std::string &key, const std::string &value, int mode = 0, char separator = ',');
    void addGet(const std::string &name);
    void addList(const std::string &name);

    // 3 LIST request, 1 GET request (or no parameters), 0 addressed by "target"/"cat", 2 setting values.
    int requestType() const;

    int causeCode() const;
    int causeCodeOf(const std::string &key) const;

    // Parameters only; GET and LIST names of other are not taken.
    void merge(const CMsg &other, int mode, char separator);

    int kind;
    std::map<std::string, std::string> params;
    std::vector<std::string> getNames;
    std::vector<std::string> listNames;
};

} // namespace kra

int serializeBody(const kra::CMsg &msg, std::string &out);
// Reads straight from any byte range (a frame buffer, a datagram), so no copy of the text is needed.
int parseBody(std::string_view text, kra::CMsg &out);

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
