#pragma once

#include "device/networkcode.h"
#include "rpc/codecformat.h"

#include <QString>

// One call profile of the device's book as the settings page edits it: the page keeps the edited one and the one
// loaded (what its page was built with, the base of the change test).
class TCallProfile
{
public:
    // The first Ethernet interface.
    static constexpr int defaultNetworkCode = TypeEthernet;

    TCallProfile();

    // Back to the defaults, texts emptied.
    void clear();
    // A known network type, a name, and an algorithm or a remote number.
    bool isValid() const;
    // What the user edits: network, name, both remote numbers and the coding. State, entry id, context and codec
    // mode take no part.
    bool operator==(const TCallProfile &other) const;
    bool operator!=(const TCallProfile &other) const { return !(*this == other); }

    int state = -1; // -1 empty, 0 once a profile was read into it
    int entryId = -1; // its row in the call profile list (299 and above), -1 for a new one
    int context = -1; // the pending sub-id of the menu when it was loaded (25-28), or -1
    int networkCode = defaultNetworkCode;
    int codecMode = 0; // the device's double-codec flag when loaded for line 1 or 2, else 0
    CodecFormat coding;
    QString name;
    QString remoteNumber;
    QString remoteNumber2;
};
