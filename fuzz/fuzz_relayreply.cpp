// Property: whatever a relay answers, the reply parser and the port rule neither crash nor grant a login
// without one user, one password and a port that fits a TCP port; a granted port is the one its "m=" text gives.

#include "shell/relaylogin.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray response(reinterpret_cast<const char *>(data), static_cast<int>(size));

    const int anyPort = tunnelPortFromMac(QString::fromUtf8(response));
    if (anyPort != 0 && (anyPort < 0x7B00 || anyPort > 0xFFFFFF + 0x7B00))
        std::abort();

    QString user;
    QString password;
    QString mac;
    int port = 0;
    const RelayReply reply = parseRelayResponse(response, user, password, mac, port);
    if (reply == RelayReply::Granted) {
        if (port < 1 || port > 65535 || tunnelPortFromMac(mac) != port || size > std::size_t(RelayResponseLimit))
            std::abort();
    } else if (!user.isNull() || !password.isNull() || !mac.isNull() || port != 0) {
        std::abort();
    }
    return 0;
}
