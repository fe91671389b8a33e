// A small message's round trip through the SSH tunnel against the same round trip straight to the peer, and the CPU
// the program spends while the tunnel is idle. Needs a real sshd, as the tests have it:
//   tests/peers/sshd-fixture.sh start /tmp/mq-sshd
//   MQ_SSHD_FIXTURE=/tmp/mq-sshd/sshd.env build/rel/bench/bench_sshtunnel
//   tests/peers/sshd-fixture.sh stop /tmp/mq-sshd

#include "sshclient.h"
#include "sshdfixture.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {

const int MessageSize = 64;

// The device's port: echoes on a thread of its own, so that the measuring thread may block.
class EchoServer final : public QTcpServer
{
public:
    EchoServer() { listen(QHostAddress::LocalHost, 0); }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->write(socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
};

struct Setup
{
    QThread echoThread;
    QThread sshThread;
    EchoServer *echo = nullptr;
    SshClient *client = nullptr;
    quint16 echoPort = 0;
    quint16 tunnelPort = 0;
};

Setup *setup = nullptr;

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

bool roundTrip(QTcpSocket &socket, const QByteArray &message)
{
    socket.write(message);
    QByteArray answer;
    while (answer.size() < message.size()) {
        if (!socket.waitForReadyRead(5000))
            return false;
        answer += socket.readAll();
    }
    return answer == message;
}

void roundTrips(benchmark::State &state, quint16 port)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    const QByteArray message(MessageSize, 'r');
    // The first trip through the tunnel also opens its channel.
    if (!socket.waitForConnected(5000) || !roundTrip(socket, message)) {
        state.SkipWithError("no echo");
        return;
    }
    std::vector<double> micros;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        if (!roundTrip(socket, message)) {
            state.SkipWithError("echo lost");
            return;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p90_us"] = micros[micros.size() * 9 / 10];
}

void BM_RoundTripDirect(benchmark::State &state)
{
    roundTrips(state, setup->echoPort);
}

void BM_RoundTripThroughTunnel(benchmark::State &state)
{
    roundTrips(state, setup->tunnelPort);
}

// CPU of the whole process over 10 s while nothing moves, with a local connection open (the 1 ms poll runs) or
// with the tunnel only listening.
void BM_IdleCpu(benchmark::State &state)
{
    const bool connected = state.range(0) != 0;
    QTcpSocket socket;
    if (connected) {
        socket.connectToHost(QHostAddress::LocalHost, setup->tunnelPort);
        if (!socket.waitForConnected(5000) || !roundTrip(socket, QByteArray(MessageSize, 'i'))) {
            state.SkipWithError("no echo");
            return;
        }
    }
    double percent = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds();
        const auto begin = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        percent = 100.0 * (processCpuSeconds() - cpuBefore) / wall;
    }
    state.counters["cpu_percent_of_one_core"] = percent;
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
    s.echoThread.start();
    s.sshThread.start();
    QObject echoContext;
    echoContext.moveToThread(&s.echoThread);
    QMetaObject::invokeMethod(
        &echoContext, [&s] { s.echo = new EchoServer; }, Qt::BlockingQueuedConnection);
    s.echoPort = s.echo->serverPort();

    SshClient::setLocalPortOverride(0);
    s.client = new SshClient(0);
    s.client->host = sshd.host;
    s.client->sshPort = sshd.port;
    s.client->user = sshd.user;
    s.client->password = sshd.password;
    s.client->tunnelPort = s.echoPort;
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
    s.echo->deleteLater();
    s.sshThread.quit();
    s.echoThread.quit();
    s.sshThread.wait();
    s.echoThread.wait();
    return 0;
}
