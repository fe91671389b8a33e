// Synchronous calls of the communication service against the simulated device on loopback, beside a bare
// QTcpSocket ping-pong of the same bytes in the same process.

#include "bench/pingpong.h"
#include "rpc/ccom.h"
#include "rpc/rpcconnection.h"
#include "tests/peers/simdevice.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

kra::CMsg request()
{
    kra::CMsg body(kra::CMsg::Param);
    body.setParam("target", "audio");
    body.addGet("gain_in1");
    body.addGet("gain_in2");
    return body;
}

void BM_SendSyncMsg(benchmark::State &state)
{
    SimDevice device;
    device.listen();
    device.setParam("audio", "gain_in1", "-6");
    device.setParam("audio", "gain_in2", "0");
    kra::CCom com;
    com.connectToDevice(device.host(), device.port(), 0);
    while (com.state() != RpcConnection::ConnectedState || device.clientCount() != 1)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const kra::CMsg body = request();
    kra::CMsg reply;
    for (auto _ : state) {
        if (com.sendSyncMsg(body, reply, 0, 5000) != RpcConnection::NoError)
            state.SkipWithError("call failed");
        if ((state.iterations() & 1023) == 0)
            device.clearRequests();
    }
    com.disconnectFromDevice();
}

void BM_TcpPingPong(benchmark::State &state)
{
    kra::CMsg answer(kra::CMsg::Param);
    answer.setParam("gain_in1", "-6");
    answer.setParam("gain_in2", "0");
    answer.setParam("return", "OK");
    runTcpPingPong(state, RpcConnection::encode(RpcMessage::request(request(), 1)),
        RpcConnection::encode(RpcMessage(1, 0, RpcMessage::Reply, answer)));
}

} // namespace

BENCHMARK(BM_TcpPingPong)->UseRealTime();
BENCHMARK(BM_SendSyncMsg)->UseRealTime();

int main(int argc, char **argv)
{
    qInstallMessageHandler(quiet);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
