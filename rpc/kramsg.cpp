#include "rpc/kramsg.h"

#include "rpc/rpcvocabulary.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace kra {

namespace {

const std::string &kindWord(int kind)
{
    switch (kind) {
    case CMsg::Param:
        return WORD_PARAM;
    case CMsg::Do:
        return WORD_DO;
    case CMsg::Info:
        return WORD_INFO;
    default:
        return WORD_EVENT;
    }
}

int kindOfWord(std::string_view word)
{
    if (word == WORD_PARAM)
        return CMsg::Param;
    if (word == WORD_EVENT)
        return CMsg::Event;
    if (word == WORD_INFO)
        return CMsg::Info;
    if (word == WORD_DO)
        return CMsg::Do;
    return CMsg::None;
}

inline bool isSeparator(char c, const char *separators)
{
    // strchr would find the terminator for a NUL byte.
    return c != '\0' && std::strchr(separators, c) != nullptr;
}

// Short runs are scanned inline; long ones with memchr.
inline const char *findByte(const char *p, const char *end, char c)
{
    if (end - p < 32) {
        for (; p < end; ++p) {
            if (*p == c)
                return p;
        }
        return end;
    }
    const void *found = std::memchr(p, c, size_t(end - p));
    return found ? static_cast<const char *>(found) : end;
}

// First byte that a writer must escape: the separator or a backslash.
inline const char *findEscapable(const char *p, const char *end, char separator)
{
    const char *sep = findByte(p, end, separator);
    return findByte(p, sep, '\\');
}

struct BodyItem
{
    std::string_view name;
    std::string_view value;
    unsigned order;
};

inline bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Sorts by name, then by arrival, so that the first occurrence of a name comes first.
inline bool itemBefore(const BodyItem &a, const BodyItem &b)
{
    const size_t n = std::min(a.name.size(), b.name.size());
    for (size_t i = 0; i < n; ++i) {
        if (a.name[i] != b.name[i])
            return static_cast<unsigned char>(a.name[i]) < static_cast<unsigned char>(b.name[i]);
    }
    if (a.name.size() != b.name.size())
        return a.name.size() < b.name.size();
    return a.order < b.order;
}

// Name and value of one item; GET and LIST names go straight to their lists. False for an item without name.
bool splitToken(std::string_view token, CMsg &out, BodyItem &item)
{
    const size_t n = token.find_first_not_of(':');
    if (n == std::string_view::npos)
        return false; // a token of ':' only names nothing
    const size_t c = token.find(':', n);
    const std::string_view name = token.substr(n, c == std::string_view::npos ? std::string_view::npos : c - n);
    const std::string_view value = c == std::string_view::npos ? token : token.substr(c + 1);
    if (name == WORD_GET) {
        if (!value.empty())
            out.getNames.emplace_back(value);
        return false;
    }
    if (name == WORD_LIST) {
        if (!value.empty())
            out.listNames.emplace_back(value);
        return false;
    }
    item.name = name;
    item.value = value;
    return true;
}

void splitEscapedItems(const std::string &text, std::vector<std::string> &items, char separator)
{
    items.clear();
    if (text.empty())
        return;
    std::string item;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (++i < text.size())
                item += text[i];
        } else if (c == separator) {
            items.push_back(std::move(item));
            item.clear();
        } else {
            item += c;
        }
    }
    items.push_back(std::move(item));
}

void joinEscapedItems(const std::vector<std::string> &items, std::string &out, const char *separator)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += *separator;
        escapeString(items[i], out, separator);
    }
}

} // namespace

CMsg::CMsg(int messageKind) : kind(messageKind) { }

void CMsg::clear(int newKind)
{
    kind = newKind;
    params.clear();
    getNames.clear();
    listNames.clear();
}

const std::string *CMsg::param(const std::string &key, bool emptyIfMissing) const
{
    const auto it = params.find(key);
    if (it != params.end())
        return &it->second;
    return emptyIfMissing ? &EMPTY_WORD : nullptr;
}

void CMsg::setParam(const std::string &key, const std::string &value, MergeMode mode, char separator)
{
    if (mode == Keep) {
        params.try_emplace(key, value);
        return;
    }
    const auto [it, inserted] = params.try_emplace(key, value);
    if (inserted)
        return;
    if (mode == Append && !it->second.empty()) {
        if (&it->second == &value) {
            const std::string copy = value;
            it->second += separator;
            it->second += copy;
        } else {
            it->second += separator;
            it->second += value;
        }
    } else {
        it->second = value;
    }
}

void CMsg::addGet(const std::string &name)
{
    if (!name.empty())
        getNames.push_back(name);
}

void CMsg::addList(const std::string &name)
{
    if (!name.empty())
        listNames.push_back(name);
}

CMsg::RequestType CMsg::requestType() const
{
    if (!listNames.empty())
        return ListRequest;
    if (!getNames.empty() || params.empty())
        return GetRequest;
    if (params.count(KEY_TARGET) || params.count(KEY_CAT))
        return AddressedRequest;
    return SetRequest;
}

int CMsg::causeCode() const
{
    return causeCodeOf(KEY_CAUSE);
}

int CMsg::causeCodeOf(const std::string &key) const
{
    const std::string *value = param(key);
    return value ? causeCodeFromText(*value) : 200;
}

void CMsg::merge(const CMsg &other, MergeMode mode, char separator)
{
    if (&other == this) {
        const CMsg copy(other);
        merge(copy, mode, separator);
        return;
    }
    for (const auto &[key, value] : other.params)
        setParam(key, value, mode, separator);
}

int serializeBody(const CMsg &msg, std::string &out)
{
    if (msg.kind < CMsg::Param || msg.kind > CMsg::Event)
        return -1;
    // Names are escaped like values: a name that holds ';' or '\' (only ever one read from a peer)
    // would otherwise come back as other parameters.
    static const char separators[] = ";";
    out.clear();
    out += kindWord(msg.kind);
    out += ';';
    for (const auto &[key, value] : msg.params) {
        // The reader skips a backslash that opens an item, but not a ':' in front of a name.
        if (!key.empty() && (key[0] == ';' || key[0] == '\\'))
            out += ':';
        escapeString(key, out, separators);
        out += ':';
        escapeString(value, out, separators);
        out += ';';
    }
    for (const std::string &name : msg.getNames) {
        out += WORD_GET;
        out += ':';
        escapeString(name, out, separators);
        out += ';';
    }
    for (const std::string &name : msg.listNames) {
        out += WORD_LIST;
        out += ':';
        escapeString(name, out, separators);
        out += ';';
    }
    return 0;
}

int parseBody(std::string_view text, CMsg &out)
{
    // The old map's nodes are reused for the new parameters: a parse into a record that is read over and
    // over (one per frame) then allocates nothing.
    std::map<std::string, std::string> recycled;
    recycled.swap(out.params);
    out.clear(CMsg::None);
    const size_t a = text.find_first_not_of(';');
    if (a == std::string::npos)
        return -1;
    const size_t b = text.find(';', a);
    if (b == std::string::npos)
        return -1;
    const int kind = kindOfWord(std::string_view(text).substr(a, b - a));
    if (kind == CMsg::None)
        return -1;
    out.kind = kind;

    constexpr size_t inlineItems = 64;
    BodyItem inlineBuffer[inlineItems];
    std::vector<BodyItem> heapBuffer;
    BodyItem *items = inlineBuffer;
    size_t count = 0;
    std::string unescaped; // reserved once, so views into it stay valid

    const char *p = text.data() + b + 1;
    const char *const end = text.data() + text.size();
    for (;;) {
        // Runs of ';' between items, and backslashes in front of an item, are skipped.
        while (p < end && (*p == ';' || *p == '\\'))
            ++p;
        if (p == end)
            break;
        const char *start = p;
        const char *semicolon = findByte(p, end, ';');
        const char *backslash = findByte(p, semicolon, '\\');
        std::string_view token;
        if (backslash == semicolon) {
            token = std::string_view(start, size_t(semicolon - start));
            p = semicolon;
        } else {
            // Rare: the item holds escapes, so it is copied without them.
            if (unescaped.capacity() < text.size())
                unescaped.reserve(text.size());
            const size_t tokenStart = unescaped.size();
            p = backslash;
            unescaped.append(start, size_t(p - start));
            while (p < end && *p != ';') {
                if (*p == '\\') {
                    if (++p == end)
                        break; // a lone backslash at the very end is dropped
                    unescaped += *p++;
                    continue;
                }
                semicolon = findByte(p, end, ';');
                const char *stop = findByte(p, semicolon, '\\');
                unescaped.append(p, size_t(stop - p));
                p = stop;
            }
            token = std::string_view(unescaped).substr(tokenStart);
        }
        BodyItem item;
        if (!splitToken(token, out, item))
            continue;
        item.order = unsigned(count);
        if (count == inlineItems && heapBuffer.empty()) {
            heapBuffer.assign(inlineBuffer, inlineBuffer + inlineItems);
            items = nullptr;
        }
        if (items)
            items[count] = item;
        else
            heapBuffer.push_back(item);
        ++count;
    }
    if (!items)
        items = heapBuffer.data();

    // Sorted first, each parameter goes to the end of the map with a single comparison.
    std::sort(items, items + count, [](const BodyItem &x, const BodyItem &y) { return itemBefore(x, y); });
    for (size_t i = 0; i < count; ++i) {
        const BodyItem &item = items[i];
        if (i > 0 && sameName(items[i - 1].name, item.name))
            continue; // the first occurrence of a name wins
        if (recycled.empty()) {
            out.params.emplace_hint(out.params.end(), std::piecewise_construct, std::forward_as_tuple(item.name),
                std::forward_as_tuple(item.value));
        } else {
            auto node = recycled.extract(recycled.begin());
            node.key().assign(item.name);
            node.mapped().assign(item.value);
            out.params.insert(out.params.end(), std::move(node));
        }
    }
    return 0;
}

void escapeString(const std::string &text, std::string &out, const char *separators)
{
    if (separators[0] != '\0' && separators[1] == '\0') {
        // One separator (the usual case): copy the runs between escapable bytes whole.
        const char *p = text.data();
        const char *const end = p + text.size();
        while (p < end) {
            const char *stop = findEscapable(p, end, separators[0]);
            out.append(p, size_t(stop - p));
            if (stop == end)
                break;
            out += '\\';
            out += *stop;
            p = stop + 1;
        }
        return;
    }
    for (const char c : text) {
        if (c == '\\' || isSeparator(c, separators))
            out += '\\';
        out += c;
    }
}

size_t readEscaped(const std::string &text, std::string &out, size_t pos, const char *separators)
{
    if (pos == std::string::npos)
        return std::string::npos;
    for (size_t i = pos; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            if (++i < text.size())
                out += text[i];
        } else if (isSeparator(c, separators)) {
            return i + 1;
        } else {
            out += c;
        }
    }
    return std::string::npos;
}

int splitString(const std::string &text, std::vector<std::string> &parts, const char *separators)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t stop = start;
        while (stop < text.size() && !isSeparator(text[stop], separators))
            ++stop;
        if (stop > start)
            parts.emplace_back(text, start, stop - start);
        start = stop + 1;
    }
    return int(parts.size());
}

int splitStringToList(const std::string &text, std::list<std::string> &parts, const char *separators)
{
    std::vector<std::string> found;
    splitString(text, found, separators);
    for (std::string &part : found)
        parts.push_back(std::move(part));
    return int(parts.size());
}

void splitListValue(const std::string &text, std::vector<std::string> &items)
{
    splitEscapedItems(text, items, ',');
}

void joinListValue(const std::vector<std::string> &items, std::string &out)
{
    joinEscapedItems(items, out, ",");
}

void splitSlashValue(const std::string &text, std::vector<std::string> &items)
{
    splitEscapedItems(text, items, '/');
}

void joinSlashValue(const std::vector<std::string> &items, std::string &out)
{
    joinEscapedItems(items, out, "/");
}

} // namespace kra
