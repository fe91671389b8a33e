// Property: how the stream is cut into reads changes nothing. The same bytes fed whole and in pieces make a
// connection emit the same completions, messages and errors, and leave its decoder in the same state.
// The first two bytes choose the piece sizes and whether notifications are held; calls 1 to 4 (GET, LIST with
// its merge, DO, setting values) wait for replies.

#include "rpc/rpcconnection.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <cstdlib>

namespace {

class FuzzConnection : public RpcConnection
{
public:
    using RpcConnection::decodeFrames;
    using RpcConnection::registerCall;
};

QByteArray describe(const char *tag, const RpcMessage &m)
{
    std::string body;
    if (m.body().kind != kra::CMsg::None)
        kra::serializeBody(m.body(), body);
    return QByteArray(tag) + ' ' + QByteArray::number(m.id()) + ' ' + QByteArray::number(m.kind()) + ' '
        + QByteArray::number(m.aux()) + ' ' + QByteArray::fromStdString(body);
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

struct Run
{
    QList<QByteArray> events;
    RpcConnection::DecoderState state = RpcConnection::DecoderIdle;
};

kra::CMsg request(const char *text)
{
    kra::CMsg msg;
    kra::parseBody(text, msg);
    return msg;
}

Run feed(const std::uint8_t *data, std::size_t size, std::uint32_t seed, bool pieces, bool hold)
{
    Run run;
    FuzzConnection connection;
    connection.setHoldNotifications(hold);
    QObject::connect(&connection, &RpcConnection::messageCompleted,
        [&run](const RpcMessage &m) { run.events.append(describe("completed", m)); });
    QObject::connect(&connection, &RpcConnection::messageReceived,
        [&run](const RpcMessage &m) { run.events.append(describe("received", m)); });
    QObject::connect(&connection, &RpcConnection::errorOccurred,
        [&run](RpcConnection::ConnectionError e) { run.events.append("error " + QByteArray::number(e)); });
    connection.registerCall(1, request("PARAM;GET:a;GET:b;"), 0);
    connection.registerCall(2, request("PARAM;target:network;LIST:list;"), 0);
    connection.registerCall(3, request("DO;action:start;"), 0);
    connection.registerCall(4, request("PARAM;a:1;b:2;"), 0);
    const char *bytes = reinterpret_cast<const char *>(data);
    if (!pieces) {
        run.state = connection.decodeFrames(bytes, qint64(size));
        return run;
    }
    std::size_t at = 0;
    std::uint32_t x = seed | 1u;
    while (at < size) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        // Mostly short pieces, now and then a long one.
        const std::size_t n = (x & 0x300) ? 1 + (x % 29) : 1 + (x % 4096);
        const std::size_t take = n < size - at ? n : size - at;
        run.state = connection.decodeFrames(bytes + at, qint64(take));
        at += take;
    }
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const bool installed = (qInstallMessageHandler(quiet), true);
    (void)installed;
    if (size < 2)
        return 0;
    const std::uint32_t seed = std::uint32_t(data[0]) << 8 | data[1];
    const bool hold = (data[0] & 0x80) != 0;
    const Run whole = feed(data + 2, size - 2, seed, false, hold);
    const Run cut = feed(data + 2, size - 2, seed, true, hold);
    if (whole.events != cut.events || whole.state != cut.state)
        std::abort();
    if (whole.state < RpcConnection::DecoderBadMagic || whole.state > RpcConnection::DecoderBody)
        std::abort();
    return 0;
}
