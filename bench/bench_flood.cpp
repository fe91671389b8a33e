// A device that floods while a call waits: 200,000 level snapshots and 2,500 other messages sent as fast as the
// loopback link takes them, through the communication service to the screen window, whose audio page shows the
// levels. The figures are the resident memory the flood adds at its peak and once the window has handled what it
// kept. Beside it, in the same run, the same flood into a bare connection that holds nothing: what the transport
// costs on its own.

#include "bench/widgetbench.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "rpc/rpcconnection.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"

#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

constexpr int floodLength = 202500; // every 81st an INFO: 200,000 snapshots and 2,500 others

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

bool waitFor(const std::function<bool()> &done, int milliseconds = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// "VmRSS" or "VmHWM" of this process, in kB.
qint64 memoryKb(const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// The peak ("VmHWM") starts again from what is resident now.
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

QByteArray frame(const kra::CMsg &body)
{
    return RpcConnection::encode(RpcMessage::notification(body));
}

// Snapshots of all 31 meters, 60 kinds of them in turn.
SimDevice::Fault flood()
{
    std::vector<QByteArray> snapshots;
    for (int i = 0; i < 60; ++i) {
        kra::CMsg levels(kra::CMsg::Event);
        levels.setParam(kra::KEY_EVENT_TYPE, kra::EVT_AUDIO_LEVELS);
        for (int n = 1; n <= 24; ++n)
            levels.setParam(kra::KEY_LEVEL_IN_PREFIX + std::to_string(n), std::to_string(-(i + n) % 60));
        for (int n = 1; n <= 7; ++n)
            levels.setParam(kra::KEY_LEVEL_OUT_PREFIX + std::to_string(n), std::to_string(-(i + n) % 60));
        snapshots.push_back(frame(levels));
    }
    SimDevice::Fault f;
    f.kind = SimDevice::Fault::Flood;
    f.value = floodLength;
    f.match = "flood";
    f.flood = [snapshots](int i) {
        if (i % 81 != 80)
            return snapshots[size_t(i % 60)];
        kra::CMsg info(kra::CMsg::Info);
        info.setParam(kra::KEY_INFO_TYPE, kra::EVT_BATTERY_LEVEL);
        info.setParam(kra::KEY_REMAINING, std::to_string(i / 81));
        return frame(info);
    };
    return f;
}

kra::CMsg floodRequest()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.addGet("flood");
    return request;
}

void report(benchmark::State &state, qint64 before, qint64 after)
{
    const qint64 peak = memoryKb("VmHWM");
    state.counters["peak_added_MB"] = double(peak - before) / 1024.0;
    state.counters["after_added_MB"] = double(after - before) / 1024.0;
}

void BM_FloodThroughTheScreen(benchmark::State &state)
{
    SimDevice device;
    device.loadSetup(SimDevice::codecSetup());
    auto window = std::make_unique<QVexmarWindow>();
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    if (!device.listen() || !getCom()->connectToDevice(device.host(), device.port(), 0)
        || !waitFor([&] { return getCom()->state() == RpcConnection::ConnectedState && device.clientCount(); })) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    window->applyAccessLevel();
    window->setupTimer()->stop();
    window->keepAliveTimer()->stop();
    window->pageActivated(QVexmar::AudioPage);
    for (auto _ : state) {
        state.PauseTiming();
        device.clearRequests();
        device.addFault(flood());
        waitFor([] { return false; }, 100);
        const qint64 before = memoryKb("VmRSS");
        if (!resetPeak()) {
            state.SkipWithError("the peak of the resident memory cannot be reset");
            return;
        }
        state.ResumeTiming();
        kra::CMsg reply;
        if (getCom()->sendSyncMsg(floodRequest(), reply, 0, 300000) != RpcConnection::NoError)
            state.SkipWithError("the call failed");
        waitFor([&] { return window->deferredMessages() == 0; });
        state.PauseTiming();
        report(state, before, memoryKb("VmRSS"));
        state.ResumeTiming();
    }
    window.reset();
    getCom()->disconnectFromDevice();
}

void BM_FloodIntoABareConnection(benchmark::State &state)
{
    SimDevice device;
    RpcClientConnection connection;
    if (device.listen())
        connection.connectToHost(device.host(), device.port());
    if (!waitFor([&] { return connection.state() == RpcConnection::ConnectedState && device.clientCount(); })) {
        state.SkipWithError("no connection to the simulated device");
        return;
    }
    qint64 received = 0;
    QObject::connect(&connection, &RpcConnection::messageReceived, [&received] { ++received; });
    for (auto _ : state) {
        state.PauseTiming();
        device.addFault(flood());
        received = 0;
        const qint64 before = memoryKb("VmRSS");
        if (!resetPeak()) {
            state.SkipWithError("the peak of the resident memory cannot be reset");
            return;
        }
        state.ResumeTiming();
        const RpcAsyncCall call = connection.call(RpcMessage::request(floodRequest()), 300);
        waitFor([&] { return call.isFinished(); }, 300000);
        state.PauseTiming();
        if (received != floodLength)
            state.SkipWithError("the flood did not arrive whole");
        report(state, before, memoryKb("VmRSS"));
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_FloodIntoABareConnection)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloodThroughTheScreen)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    qInstallMessageHandler(quiet);
    return runWidgetBenchmarks(argc, argv);
}
