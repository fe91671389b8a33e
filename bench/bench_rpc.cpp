// The transport's two costs: decoding a large frame (against memcpy of the same bytes), and a whole call over
// loopback (against a bare QTcpSocket ping-pong of the same bytes, in the same event loop).

#include "bench/pingpong.h"
#include "rpc/rpcconnection.h"
#include "tests/peers/simdevice.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

namespace {

class FeedConnection : public RpcConnection
{
public:
    using RpcConnection::decodeFrames;
};

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

QByteArray largeFrame()
{
    kra::CMsg body(kra::CMsg::Event);
    body.setParam("event_type", "blob");
    body.setParam("data", std::string(1024 * 1024, 'x'));
    return RpcConnection::encode(RpcMessage::notification(body));
}

void BM_Memcpy1MiB(benchmark::State &state)
{
    const QByteArray frame = largeFrame();
    std::unique_ptr<char[]> target(new char[size_t(frame.size())]);
    for (auto _ : state) {
        std::memcpy(target.get(), frame.constData(), size_t(frame.size()));
        benchmark::DoNotOptimize(target.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * frame.size());
}

void BM_DecodeFrame1MiB(benchmark::State &state)
{
    const QByteArray frame = largeFrame();
    FeedConnection connection;
    size_t seen = 0;
    QObject::connect(
        &connection, &RpcConnection::messageReceived, [&seen](const RpcMessage &m) { seen += m.body().params.size(); });
    // 0: the frame arrives in one read; otherwise in reads of that many bytes, as from a socket.
    const qint64 piece = state.range(0) > 0 ? state.range(0) : frame.size();
    for (auto _ : state) {
        for (qint64 at = 0; at < frame.size(); at += piece)
            benchmark::DoNotOptimize(connection.decodeFrames(frame.constData() + at, qMin(piece, frame.size() - at)));
    }
    if (seen != size_t(state.iterations()) * 2)
        state.SkipWithError("frames were not decoded");
    state.SetBytesProcessed(state.iterations() * frame.size());
}

const kra::CMsg &roundTripRequest()
{
    static const kra::CMsg body = [] {
        kra::CMsg b(kra::CMsg::Param);
        b.setParam("target", "general");
        b.addGet("name");
        return b;
    }();
    return body;
}

void BM_CallRoundTrip(benchmark::State &state)
{
    SimDevice device;
    device.listen();
    device.setParam("general", "name", "Quorvane");
    RpcClientConnection client;
    client.connectToHost(device.host(), device.port());
    while (client.state() != RpcConnection::ConnectedState || device.clientCount() != 1)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bool done = false;
    QObject::connect(&client, &RpcConnection::messageCompleted, [&done](const RpcMessage &) { done = true; });
    const RpcMessage request = RpcMessage::request(roundTripRequest());
    for (auto _ : state) {
        done = false;
        const RpcAsyncCall call = client.call(request, 5);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!call.isSucceeded())
            state.SkipWithError("call failed");
        if ((state.iterations() & 1023) == 0)
            device.clearRequests();
    }
    client.close();
}

void BM_TcpPingPong(benchmark::State &state)
{
    // The very bytes of the call above: its request frame, and the device's reply frame.
    kra::CMsg answer(kra::CMsg::Param);
    answer.setParam("name", "Quorvane");
    answer.setParam("return", "OK");
    runTcpPingPong(state, RpcConnection::encode(RpcMessage::request(roundTripRequest(), 1)),
        RpcConnection::encode(RpcMessage(1, 0, RpcMessage::Reply, answer)));
}

} // namespace

BENCHMARK(BM_Memcpy1MiB);
BENCHMARK(BM_DecodeFrame1MiB)->Arg(0)->Arg(65536);
BENCHMARK(BM_TcpPingPong)->UseRealTime();
BENCHMARK(BM_CallRoundTrip)->UseRealTime();

int main(int argc, char **argv)
{
    qInstallMessageHandler(quiet);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
