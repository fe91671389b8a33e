#include "device/vexmaraccess.h"

#include <cstdlib>

int g_accessLevel = 0;
unsigned g_deviceFirmwareVersion = 0xFFFFFF;

unsigned parseFirmwareVersion(const char *text)
{
    unsigned version = 0;
    if (!text)
        return version;
    const char *field = text;
    for (int shift = 16; shift >= 0; shift -= 8) {
        char *end = nullptr;
        const unsigned long number = std::strtoul(field, &end, 10);
        if (end == field)
            break;
        version |= (unsigned(number) & 0xFFu) << shift;
        if (*end == '\0')
            break;
        field = end + 1;
    }
    return version;
}
