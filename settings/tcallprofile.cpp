#include "settings/tcallprofile.h"

#include "device/networkcode.h"

TCallProfile::TCallProfile()
{
    clear();
}

void TCallProfile::clear()
{
    state = -1;
    entryId = -1;
    context = -1;
    networkCode = defaultNetworkCode;
    codecMode = 0;
    coding = CodecFormat();
    coding.channelMode = 0;
    name.clear();
    remoteNumber.clear();
    remoteNumber2.clear();
}

bool TCallProfile::isValid() const
{
    return networkTypeOfCode(networkCode) != networkCodeNone && !name.isEmpty()
        && (coding.algorithm != -1 || !remoteNumber.isEmpty());
}

bool TCallProfile::operator==(const TCallProfile &other) const
{
    return networkCode == other.networkCode && name == other.name && remoteNumber == other.remoteNumber
        && remoteNumber2 == other.remoteNumber2 && coding == other.coding;
}
