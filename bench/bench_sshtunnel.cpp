// The SSH tunnel beside OpenSSH's own local forward (`ssh -N -L`) to the same sshd and the same simulated device:
// an RPC call's round trip, the time of a 4 MiB reply and the CPU spent while connected and idle, each also
// straight to the device for scale. Needs a real sshd, as the tests have it (as root):
//   tests/peers/sshd-fixture.sh start /tmp/mq-sshd
//   MQ_SSHD_FIXTURE=/tmp/mq-sshd/sshd.env build/rel/bench/bench_sshtunnel
//   tests/peers/sshd-fixture.sh stop /tmp/mq-sshd
// The fixture's user logs in by password only; ssh gets it from an askpass script that reads it from its
// environment. A summary of our figures against OpenSSH's closes the run.

#include "rpc/rpcconnection.h"
#include "rpc/rpcvocabulary.h"
#include "shell/sshclient.h"
#include "tests/peers/simdevice.h"
#include "tests/peers/sshdfixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const int BigReplySize = 4 * 1024 * 1024;
const int IdleMsecs = 10000;
const char BigName[] = "blob";

enum Route { Direct, Ours, OpenSsh };

struct Setup
{
    QThread deviceThread;
    QThread sshThread;
    SimDevice *device = nullptr;
    SshClient *client = nullptr;
    QProcess *openSsh = nullptr;
    quint16 devicePort = 0;
    quint16 tunnelPort = 0;
    quint16 openSshPort = 0;

    quint16 port(Route route) const { return route == Direct ? devicePort : route == Ours ? tunnelPort : openSshPort; }
};

Setup *setup = nullptr;
// Figures for the closing summary, by benchmark and route.
std::map<std::string, std::map<Route, double>> results;

double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Time on the CPU of another (single-threaded) process, in nanoseconds from the scheduler.
double otherProcessCpuSeconds(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/schedstat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().split(' ').value(0).toDouble() / 1e9;
}

RpcMessage getRequest(const char *name)
{
    kra::CMsg body(kra::CMsg::Param);
    body.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    body.addGet(name);
    return RpcMessage::request(body);
}

const RpcMessage &smallRequest()
{
    static const RpcMessage message = getRequest("name");
    return message;
}

const RpcMessage &bigRequest()
{
    static const RpcMessage message = getRequest(BigName);
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

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Connects the way the program does (the device thread answers, the tunnel runs on its own thread) and makes the
// first call, which through a tunnel also opens the channel. Our tunnel takes one local connection at a time and
// notices the end of the previous one on its own thread, so a refused attempt is tried again.
bool connectAndCall(RpcClientConnection &client, quint16 port)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        client.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (waitFor([&client] { return client.state() == RpcConnection::ConnectedState; }, 5000)) {
            const RpcAsyncCall call = client.call(smallRequest(), 5);
            if (waitFor([&call] { return call.isFinished(); }, 5000) && call.isSucceeded())
                return true;
        }
        client.close();
        pause(100);
    }
    return false;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Runs `request` once per iteration; false when a call failed (the state is then marked).
bool timedCalls(benchmark::State &state, RpcClientConnection &client, const RpcMessage &request, int timeoutSeconds,
    std::vector<double> &micros)
{
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        const RpcAsyncCall call = client.call(request, timeoutSeconds);
        while (!call.isFinished())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!call.isSucceeded()) {
            state.SkipWithError("call failed");
            return false;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin).count());
    }
    return !micros.empty();
}

void BM_RoundTrip(benchmark::State &state, Route route)
{
    RpcClientConnection client;
    if (!connectAndCall(client, setup->port(route))) {
        state.SkipWithError("no answer");
        return;
    }
    std::vector<double> micros;
    if (timedCalls(state, client, smallRequest(), 5, micros)) {
        std::vector<double> sorted = micros;
        std::sort(sorted.begin(), sorted.end());
        state.counters["median_us"] = sorted[sorted.size() / 2];
        state.counters["p90_us"] = sorted[sorted.size() * 9 / 10];
        results["round trip, median us"][route] = sorted[sorted.size() / 2];
    }
    client.close();
}

// One GET whose reply carries 4 MiB of value: the device encodes it, the tunnel carries it, the client decodes it.
void BM_BigReply(benchmark::State &state, Route route)
{
    RpcClientConnection client;
    if (!connectAndCall(client, setup->port(route))) {
        state.SkipWithError("no answer");
        return;
    }
    std::vector<double> micros;
    if (timedCalls(state, client, bigRequest(), 120, micros)) {
        const auto mibPerSecond = [](double us) { return double(BigReplySize) / (1024.0 * 1024.0) / (us / 1e6); };
        const double best = *std::min_element(micros.begin(), micros.end());
        state.counters["median_ms"] = median(micros) / 1000.0;
        state.counters["MiB_per_s"] = mibPerSecond(median(micros));
        state.counters["best_MiB_per_s"] = mibPerSecond(best);
        results["4 MiB reply, MiB/s"][route] = mibPerSecond(median(micros));
        // Without the stalls that delayed acknowledgements cause now and then on either route.
        results["4 MiB reply, best, MiB/s"][route] = mibPerSecond(best);
    }
    client.close();
}

// CPU over 10 s of an idle event loop with the device connected, of this process and, through OpenSSH, of ssh too.
void BM_IdleCpu(benchmark::State &state, Route route)
{
    RpcClientConnection client;
    if (!connectAndCall(client, setup->port(route))) {
        state.SkipWithError("no answer");
        return;
    }
    const qint64 sshPid = route == OpenSsh ? setup->openSsh->processId() : 0;
    double percent = 0;
    for (auto _ : state) {
        const double cpuBefore = processCpuSeconds() + (sshPid ? otherProcessCpuSeconds(sshPid) : 0);
        const auto begin = std::chrono::steady_clock::now();
        pause(IdleMsecs);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        const double cpuAfter = processCpuSeconds() + (sshPid ? otherProcessCpuSeconds(sshPid) : 0);
        percent = 100.0 * (cpuAfter - cpuBefore) / wall;
    }
    state.counters["cpu_percent_of_one_core"] = percent;
    results["idle connected, % of a core"][route] = percent;
    client.close();
}

BENCHMARK_CAPTURE(BM_RoundTrip, direct, Direct)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RoundTrip, ours, Ours)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RoundTrip, openssh, OpenSsh)->Iterations(2000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BigReply, direct, Direct)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BigReply, ours, Ours)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BigReply, openssh, OpenSsh)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IdleCpu, direct, Direct)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IdleCpu, ours, Ours)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IdleCpu, openssh, OpenSsh)->Iterations(1)->Unit(benchmark::kMillisecond);

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// OpenSSH's client forwarding a free local port to the device, logged in with the fixture's password.
bool startOpenSsh(Setup &s, const SshdFixture &sshd, const QTemporaryDir &dir)
{
    const QString askPass = dir.filePath(QStringLiteral("askpass.sh"));
    QFile script(askPass);
    if (!script.open(QIODevice::WriteOnly)
        || script.write("#!/bin/sh\nprintf '%s\\n' \"$MQ_BENCH_SSH_PASSWORD\"\n") < 0)
        return false;
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SSH_ASKPASS"), askPass);
    environment.insert(QStringLiteral("SSH_ASKPASS_REQUIRE"), QStringLiteral("force"));
    environment.insert(QStringLiteral("MQ_BENCH_SSH_PASSWORD"), sshd.password);

    s.openSshPort = freePort();
    s.openSsh = new QProcess;
    s.openSsh->setProcessEnvironment(environment);
    s.openSsh->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    s.openSsh->start(QStringLiteral("ssh"),
        {QStringLiteral("-F"), QStringLiteral("/dev/null"), QStringLiteral("-N"), QStringLiteral("-n"),
            QStringLiteral("-p"), QString::number(sshd.port), QStringLiteral("-o"),
            QStringLiteral("StrictHostKeyChecking=no"), QStringLiteral("-o"),
            QStringLiteral("UserKnownHostsFile=/dev/null"), QStringLiteral("-o"), QStringLiteral("LogLevel=ERROR"),
            QStringLiteral("-o"), QStringLiteral("PreferredAuthentications=password"), QStringLiteral("-o"),
            QStringLiteral("ExitOnForwardFailure=yes"), QStringLiteral("-L"),
            QStringLiteral("127.0.0.1:%1:localhost:%2").arg(s.openSshPort).arg(s.devicePort),
            QStringLiteral("%1@%2").arg(sshd.user, sshd.host)});
    if (!s.openSsh->waitForStarted(5000))
        return false;
    // The forward is up once its port takes a connection.
    for (int attempt = 0; attempt < 100 && s.openSsh->state() == QProcess::Running; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, s.openSshPort);
        if (probe.waitForConnected(1000))
            return true;
        pause(100);
    }
    return false;
}

void printSummary()
{
    std::printf("\n%-30s %12s %12s %12s %8s\n", "", "direct", "ours", "OpenSSH", "ratio");
    for (const auto &[name, byRoute] : results) {
        const auto value = [&byRoute = byRoute](Route route) {
            const auto found = byRoute.find(route);
            return found == byRoute.end() ? 0.0 : found->second;
        };
        const double ratio = value(OpenSsh) > 0 ? value(Ours) / value(OpenSsh) : 0;
        std::printf(
            "%-30s %12.3f %12.3f %12.3f %8.2f\n", name.c_str(), value(Direct), value(Ours), value(OpenSsh), ratio);
    }
    std::printf("(ratio: ours / OpenSSH)\n");
}

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
            s.device->setParam(kra::TGT_GENERAL, "name", "codec");
            std::string big(BigReplySize, ' ');
            for (size_t i = 0; i < big.size(); ++i)
                big[i] = char('a' + i % 26);
            s.device->setParam(kra::TGT_GENERAL, BigName, big);
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

    QTemporaryDir dir;
    const bool openSshUp = dir.isValid() && startOpenSsh(s, sshd, dir);
    if (!openSshUp)
        std::fprintf(stderr, "bench_sshtunnel: OpenSSH's forward did not come up\n");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printSummary();

    if (s.openSsh) {
        s.openSsh->terminate();
        s.openSsh->waitForFinished(5000);
        delete s.openSsh;
    }
    QMetaObject::invokeMethod(s.client, "stopSession", Qt::BlockingQueuedConnection);
    s.client->deleteLater();
    s.device->deleteLater();
    s.sshThread.quit();
    s.deviceThread.quit();
    s.sshThread.wait();
    s.deviceThread.wait();
    return openSshUp ? 0 : 1;
}
