// An RPC call's round trip through the SSH tunnel against the same call straight to the simulated device, and the
// CPU the program spends while connected through the tunnel and idle. Needs a real sshd, as the tests have it:
//   tests/peers/sshd-fixture.sh start /tmp/mq-sshd
//   MQ_SSHD_FIXTURE=/tmp/mq-sshd/sshd.env build/rel/bench/bench_sshtunnel
//   tests/peers/sshd-fixture.sh stop /tmp/mq-sshd

#include "rpcconnection.h"
#include "rpcvocabulary.h"
#include "simdevice.h"
#include "sshclient.h"
#include "sshdfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Setup
{
    QThread deviceThread;
    QThread sshThread;
    SimDevice *device = nullptr;
    SshClient *client = nullptr;
    quint16 devicePort = 0;
    quint16 tunnelPort = 0;
};

Setup *setup = nullptr;

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

const RpcMessage &request()
{
    static const RpcMessage message = [] {
        kra::CMsg body(kra::CMsg::Param);
        body.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
        body.addGet("name");
        return RpcMessage::request(body);
    }();
    return message;
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// Connects the way the program does (the device thread answers, the tunnel runs on its own thread) and makes the
// first call, which through the tunnel also opens the channel. The tunnel takes one local connection at a time and
// notices the end of the previous one on its own thread, so a refused attempt is tried again.
bool connectAndCall(RpcClientConnection &client, quint16 port)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        client.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (waitFor([&client] { return client.state() == RpcConnection::ConnectedState; }, 5000)) {
            const RpcAsyncCall call = client.call(request(), 5);
            if (waitFor([&call] { return call.isFinished(); }, 5000) && call.isSucceeded())
                return true;
        }
        client.close();
        QEventLoop pause;
        QTimer::singleShot(100, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return false;
}

void roundTrips(benchmark::State &state, quint16 port)
{
    RpcClientConnection client;
    if (!connectAndCall(client, port)) {
        state.SkipWithError("no answer");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const RpcAsyncCall call = client.call(request(), 5);
        while (!call.isFinished())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!call.isSucceeded()) {
            state.SkipWithError("call failed");
            return;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
    client.close();
}

void BM_RoundTripDirect(benchmark::State &state)
{
    roundTrips(state, setup->devicePort);
}

void BM_RoundTripThroughTunnel(benchmark::State &state)
{
    roundTrips(state, setup->tunnelPort);
}

// CPU of the whole process over 10 s of an idle event loop, with the device connected through the tunnel (its
// 1 ms poll runs) or with the tunnel only listening.
void BM_IdleCpu(benchmark::State &state)
{
    RpcClientConnection client;
    if (state.range(0) != 0 && !connectAndCall(client, setup->tunnelPort)) {
        state.SkipWithError("no answer");
        return;
    }
    double percent = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        const auto begin = std::chrono::steady_clock::now();
        QEventLoop idle;
        QTimer::singleShot(10000, &idle, &QEventLoop::quit);
        idle.exec();
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        percent = 100.0 * (processCpuSeconds() - cpuBefore) / wall;
    }
    state.counters["cpu_percent_of_one_core"] = percent;
    client.close();
}

BENCHMARK(BM_RoundTripDirect)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTripThroughTunnel)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleCpu)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const SshdFixture sshd = SshdFixture::load();
    if (!sshd.isValid()) {
        std::fprintf(stderr, "bench_sshtunnel: set MQ_SSHD_FIXTURE to the sshd.env of a running sshd fixture\n");
        return 1;
    }

    Setup s;
    setup = &s;
    s.deviceThread.start();
    s.sshThread.start();
    QObject deviceContext;
    deviceContext.moveToThread(&s.deviceThread);
    QMetaObject::invokeMethod(
        &deviceContext,
        [&s] {
            s.device = new SimDevice;
            s.device->listen();
            s.device->setParam("general", "name", "codec");
        },
        Qt::BlockingQueuedConnection);
    s.devicePort = s.device->port();

    SshClient::setLocalPortOverride(0);
    s.client = new SshClient(0);
    s.client->host = sshd.host;
    s.client->sshPort = sshd.port;
    s.client->user = sshd.user;
    s.client->password = sshd.password;
    s.client->tunnelPort = s.devicePort;
    s.client->moveToThread(&s.sshThread);
    bool started = false;
    QMetaObject::invokeMethod(s.client, "startSession", Qt::BlockingQueuedConnection, Q_RETURN_ARG(bool, started));
    if (!started) {
        std::fprintf(stderr, "bench_sshtunnel: the SSH session did not start\n");
        return 1;
    }
    s.tunnelPort = s.client->listeningPort();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();

    QMetaObject::invokeMethod(s.client, "stopSession", Qt::BlockingQueuedConnection);
    s.client->deleteLater();
    s.device->deleteLater();
    s.sshThread.quit();
    s.deviceThread.quit();
    s.sshThread.wait();
    s.deviceThread.wait();
    return 0;
}
