#include "rpc/rpcconvert.h"

#include "rpc/rpcvocabulary.h"

#include <cctype>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace {

const char decimalChars[] = "+-.0123456789";
const char hexChars[] = "0123456789ABCDEFabcdef";

bool onlyOf(const std::string &text, const char *allowed)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (c == '\0' || !std::strchr(allowed, c))
            return false;
    }
    return true;
}

// What a formatted stream extraction reads from the start of the text: an optional sign, then the
// longest number; anything after it is left unread. Out of range or nothing read gives 0.
template<typename T>
T readNumber(const std::string &text, const char *allowed, int base = 10)
{
    if (!onlyOf(text, allowed))
        return T(0);
    const char *first = text.data();
    const char *const last = text.data() + text.size();
    // from_chars takes '-' but not '+'.
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-' || *first == '+')
            return T(0);
    }
    T value(0);
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<T>)
        result = std::from_chars(first, last, value, std::chars_format::fixed);
    else
        result = std::from_chars(first, last, value, base);
    if (result.ec != std::errc())
        return T(0);
    return value;
}

} // namespace

int stringToInt(const std::string &text)
{
    return readNumber<int>(text, decimalChars);
}

long stringToLong(const std::string &text)
{
    return readNumber<long>(text, decimalChars);
}

short stringToShort(const std::string &text)
{
    return readNumber<short>(text, decimalChars);
}

float stringToFloat(const std::string &text)
{
    return readNumber<float>(text, decimalChars);
}

long hexStringToLong(const std::string &text)
{
    return readNumber<long>(text, hexChars, 16);
}

unsigned long hexStringToULong(const std::string &text)
{
    return readNumber<unsigned long>(text, hexChars, 16);
}

short fecFromString(const std::string &text)
{
    if (!text.empty() && text[0] == 'P')
        return stringToShort(text.substr(1));
    return stringToShort(text);
}

std::string longToString(long value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string longToString(int value)
{
    return longToString(long(value));
}

std::string ulongToHexString(unsigned long value, int width)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    std::string out(buffer, result.ptr);
    for (char &c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (int(out.size()) < width)
        out.insert(0, size_t(width) - out.size(), '0');
    return out;
}

std::string longToHexString(long value, int width)
{
    // A negative value is written as its two's complement, as a hex stream does.
    return ulongToHexString(static_cast<unsigned long>(value), width);
}

std::string floatToString(float value)
{
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%g", double(value));
    return std::string(buffer, size_t(length > 0 ? length : 0));
}

const std::string &onOffText(bool on)
{
    return on ? kra::VAL_ON : kra::VAL_OFF;
}

int formatDuration(const std::uint64_t &seconds, std::string &out)
{
    const std::uint32_t hours = std::uint32_t(seconds / 3600);
    const std::uint32_t minutes = std::uint32_t((seconds % 3600) / 60);
    const std::uint32_t secs = std::uint32_t(seconds % 60);
    char buffer[32];
    const int length
        = std::snprintf(buffer, sizeof buffer, "%.2" PRIu32 ":%.2" PRIu32 ":%.2" PRIu32, hours, minutes, secs);
    out.assign(buffer, size_t(length > 0 ? length : 0));
    return int(out.size());
}

std::string utf8ToLatin1(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0xBF) {
                out += char(((lead << 6) | (next & 0x3F)) & 0xFF);
                ++i;
                continue;
            }
        }
        out += char(lead);
    }
    return out;
}

std::string latin1ToUtf8(const std::string &text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += char(0xC0 | (b >> 6));
            out += char(0x80 | (b & 0x3F));
        }
    }
    return out;
}
