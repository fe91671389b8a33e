#include "device/networkcode.h"

#include "rpc/rpcconvert.h"

namespace {

struct Prefix
{
    const char *text;
    size_t length;
    int type;
};

const Prefix prefixes[] = {
    {"eth.", 4, TypeEthernet},
    {"isdn.", 5, TypeIsdn},
    {"mobile.", 7, TypeMobile},
    {"wifi.", 5, TypeWifi},
};

const Prefix *prefixOf(const std::string &name)
{
    for (const Prefix &prefix : prefixes) {
        if (name.compare(0, prefix.length, prefix.text) == 0)
            return &prefix;
    }
    return nullptr;
}

const std::string aoipName("aoip");

} // namespace

int networkTypeOfName(const std::string &name)
{
    if (name == aoipName)
        return 0;
    const Prefix *prefix = prefixOf(name);
    return prefix ? prefix->type : networkCodeNone;
}

int networkCodeOfName(const std::string &name)
{
    const int type = networkTypeOfName(name);
    if (type == networkCodeNone)
        return type;
    const size_t dot = name.find('.');
    if (dot == std::string::npos || dot + 1 >= name.size())
        return type;
    const int index = stringToInt(name.substr(dot + 1));
    // An index that does not fit the low byte would land in another interface family.
    if (index < 0 || index > 0xFF)
        return networkCodeNone;
    return type + index;
}

int networkIndexOfName(const std::string &name)
{
    return networkCodeOfName(name) & 0xFF;
}

std::string networkNameOfCode(int code)
{
    const int type = code & 0xF00;
    if (type == 0)
        return aoipName;
    for (const Prefix &prefix : prefixes) {
        if (prefix.type == type)
            return prefix.text + longToString(code & 0xFF);
    }
    return std::string();
}

int networkTypeOfCode(int code)
{
    const int type = code & 0xF00;
    return type <= 0x400 ? type : networkCodeNone;
}

int networkIndexOfCode(int code)
{
    return code & 0xFF;
}

int networkFamilyOfType(int type)
{
    switch (type & 0xF00) {
    case TypeEthernet:
    case TypeMobile:
    case TypeWifi:
        return 0;
    case TypeIsdn:
        return 1;
    default:
        return -1;
    }
}

int networkFamilyOfCode(int code)
{
    return networkFamilyOfType(code);
}

int networkFamilyOfName(const std::string &name)
{
    const Prefix *prefix = prefixOf(name);
    return prefix ? networkFamilyOfType(prefix->type) : -1;
}
