// Property: a datagram decodes to the empty message unless it holds a whole frame of a known kind; a decoded
// message with a body, written again, decodes to the same message.

#include "rpc/rpcconnection.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool same(const RpcMessage &a, const RpcMessage &b)
{
    return a.id() == b.id() && a.aux() == b.aux() && a.kind() == b.kind() && a.body().kind == b.body().kind
        && a.body().params == b.body().params && a.body().getNames == b.body().getNames
        && a.body().listNames == b.body().listNames;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray datagram(reinterpret_cast<const char *>(data), int(size));
    const RpcMessage message = RpcConnection::decodeDatagram(datagram);
    if (message.kind() == RpcMessage::None) {
        if (message.id() != RpcMessage::NoId || message.aux() != RpcConnection::NoError
            || message.body().kind != kra::CMsg::None)
            std::abort();
        return 0;
    }
    if (size < 24 || std::memcmp(data, "VORNRpcM", 8) != 0 || message.kind() < RpcMessage::Request
        || message.kind() > RpcMessage::Notification)
        std::abort();
    const quint32 total = quint32(data[8]) | quint32(data[9]) << 8 | quint32(data[10]) << 16 | quint32(data[11]) << 24;
    if (total < 24 || total > size)
        std::abort();
    if (message.body().kind != kra::CMsg::None
        && !same(RpcConnection::decodeDatagram(RpcConnection::encode(message)), message))
        std::abort();
    return 0;
}
