#pragma once

// What the fuzz targets that feed pages with the device's lists share: the input's lines made into lists, the check
// that ends a run, and the one application of the process.
//
// Lines are "<kind> <item>"; "<kind>*<n> <item>" repeats the item n times (n at most maxRepeat), each '#' in it
// replaced by the repetition's number. A list stops growing at maxBytes.

#include <QApplication>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace fuzzlists {

inline void check(bool ok)
{
    if (!ok)
        std::abort();
}

struct Lists
{
    std::size_t maxBytes = 0;
    std::map<char, std::vector<std::string>> rows;
    std::map<char, std::size_t> bytes;

    const std::vector<std::string> &of(char kind) const
    {
        static const std::vector<std::string> none;
        const auto found = rows.find(kind);
        return found == rows.end() ? none : found->second;
    }
    std::size_t size(char kind) const
    {
        const auto found = bytes.find(kind);
        return found == bytes.end() ? 0 : found->second;
    }
    void add(char kind, const std::string &row)
    {
        if (bytes[kind] + row.size() + 1 > maxBytes)
            return;
        bytes[kind] += row.size() + 1;
        rows[kind].push_back(row);
    }
};

// The lines of the kinds named; an item keeps the bytes from 0x20 to 0x7e, and from 0x80 up when highBytes.
inline Lists readLists(
    const std::string &text, const std::string &kinds, std::size_t maxBytes, long maxRepeat, bool highBytes = false)
{
    Lists lists;
    lists.maxBytes = maxBytes;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() < 2 || kinds.find(line[0]) == std::string::npos)
            continue;
        long repeat = 1;
        std::size_t from = 2;
        if (line[1] == '*') {
            const std::size_t blank = line.find(' ');
            if (blank == std::string::npos)
                continue;
            repeat = std::clamp(std::strtol(line.substr(2, blank - 2).c_str(), nullptr, 10), 0L, maxRepeat);
            from = blank + 1;
        } else if (line[1] != ' ') {
            continue;
        }
        std::string row;
        for (std::size_t i = from; i < line.size(); ++i) {
            const auto byte = static_cast<unsigned char>(line[i]);
            if ((byte >= 0x20 && byte < 0x7f) || (highBytes && byte >= 0x80))
                row += line[i];
        }
        for (long n = 0; n < repeat && lists.bytes[line[0]] < maxBytes; ++n) {
            std::string numbered;
            for (const char c : row)
                numbered += c == '#' ? std::to_string(n) : std::string(1, c);
            lists.add(line[0], numbered);
        }
    }
    return lists;
}

inline void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

// Made on first use, on the offscreen platform unless another is set, with Qt's messages silenced. Never torn down:
// Qt's own statics go at exit in an order a widget destroyed then could not rely on.
inline QApplication &application(const char *name)
{
    static int argc = 1;
    static std::string kept = name;
    static char *argv[] = {kept.data(), nullptr};
    static const bool prepared = [] {
        qInstallMessageHandler(quiet);
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }();
    static QApplication *const app = new QApplication(argc, argv);
    (void)prepared;
    return *app;
}

} // namespace fuzzlists
