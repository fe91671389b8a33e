// A device that floods while a call waits: 200,000 level snapshots and 2,500 other messages sent as fast as the
// loopback link takes them, through the communication service to the screen window, whose audio page shows the
// levels. The figures are the resident memory the flood adds at its peak and once the window has handled what it
// kept. Beside it, in the same run, the same flood into a bare connection that holds nothing: what the transport
// costs on its own. Last, a device in a thread of its own that sends level snapshots faster than a bare connection
// decodes them, for some seconds: the resident memory the flood adds at its peak and once it is over, the rates
// sent and handled, and how long a call made after the flood takes to be answered.

#include "bench/widgetbench.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "rpc/rpcconnection.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

// The resident memory now, with the peak started again from it; -1, the benchmark skipped, when the peak cannot be
// reset.
qint64 startMeasuring(benchmark::State &state)
{
    const qint64 before = memoryKb("VmRSS");
    if (resetPeak())
        return before;
    state.SkipWithError("the peak of the resident memory cannot be reset");
    return -1;
}

QByteArray frame(const kra::CMsg &body)
{
    return RpcConnection::encode(RpcMessage::notification(body));
}

// Snapshots of all 31 meters, 60 kinds of them.
std::vector<QByteArray> levelSnapshots()
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
    return snapshots;
}

// The snapshots in turn, with an INFO every 81st.
SimDevice::Fault flood()
{
    const std::vector<QByteArray> snapshots = levelSnapshots();
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
        const qint64 before = startMeasuring(state);
        if (before < 0)
            return;
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
        const qint64 before = startMeasuring(state);
        if (before < 0)
            return;
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

// A device on a plain socket, in a thread of its own: it sends at the rate asked for (or as fast as the link takes
// while the reader keeps up less), then answers one request.
class FastDevice
{
public:
    FastDevice() : m_snapshots(levelSnapshots())
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || listen(m_listener, 1) != 0
            || getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
    }
    ~FastDevice()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    quint16 port() const { return m_port; }
    qint64 sent() const { return m_sent; }
    double floodSeconds() const { return m_floodSeconds; }
    bool floodOver() const { return m_floodOver; }
    bool answered() const { return m_answered; }

    void start(int perSecond, int seconds)
    {
        m_thread = std::thread([this, perSecond, seconds] { run(perSecond, seconds); });
    }

private:
    // The whole of size bytes through read or write; false when the link ends first.
    template<typename Byte, typename Transfer>
    static bool transferAll(Transfer transfer, int fd, Byte *data, size_t size)
    {
        while (size > 0) {
            const ssize_t n = transfer(fd, data, size);
            if (n <= 0)
                return false;
            data += n;
            size -= size_t(n);
        }
        return true;
    }
    static bool writeAll(int fd, const char *data, size_t size) { return transferAll(::write, fd, data, size); }
    static bool readAll(int fd, char *data, size_t size) { return transferAll(::read, fd, data, size); }

    void run(int perSecond, int seconds)
    {
        pollfd waiting {m_listener, POLLIN, 0};
        if (poll(&waiting, 1, 10000) != 1)
            return;
        const int fd = accept(m_listener, nullptr, nullptr);
        if (fd < 0)
            return;
        using Clock = std::chrono::steady_clock;
        const auto begin = Clock::now();
        const auto end = begin + std::chrono::seconds(seconds);
        // Batches of a millisecond's worth, so that the link sees a steady stream rather than bursts.
        QByteArray batch;
        for (auto now = begin; now < end; now = Clock::now()) {
            const qint64 due = qint64(std::chrono::duration<double>(now - begin).count() * perSecond);
            if (m_sent >= due) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
                continue;
            }
            batch.clear();
            qint64 next = m_sent;
            for (; next < due && next < m_sent + qMax(perSecond / 1000, 1); ++next)
                batch += m_snapshots[size_t(next % 60)];
            if (!writeAll(fd, batch.constData(), size_t(batch.size())))
                break;
            m_sent = next;
        }
        m_floodSeconds = std::chrono::duration<double>(Clock::now() - begin).count();
        m_floodOver = true;
        char header[RpcConnection::HeaderSize];
        if (readAll(fd, header, sizeof header)) {
            QByteArray request(header, sizeof header);
            const quint32 total = qFromLittleEndian<quint32>(header + 8);
            if (total > sizeof header && total < 4096) {
                request.resize(int(total));
                if (readAll(fd, request.data() + sizeof header, total - sizeof header)) {
                    kra::CMsg body(kra::CMsg::Param);
                    body.setParam("name", "Quorvane");
                    body.setParam(kra::KEY_RETURN, kra::RET_OK);
                    const QByteArray reply
                        = RpcConnection::encode(RpcMessage::reply(RpcConnection::decodeDatagram(request), body));
                    m_answered = writeAll(fd, reply.constData(), size_t(reply.size()));
                }
            }
        }
        // The reader closes first.
        char rest[256];
        while (::read(fd, rest, sizeof rest) > 0) { }
        ::close(fd);
    }

    const std::vector<QByteArray> m_snapshots;
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<qint64> m_sent {0};
    std::atomic<double> m_floodSeconds {0};
    std::atomic<bool> m_floodOver {false};
    std::atomic<bool> m_answered {false};
};

// Arguments: snapshots a second the device sends, seconds it sends them.
void BM_FloodPastTheDecodingRate(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        FastDevice device;
        RpcClientConnection connection;
        qint64 handled = 0;
        QObject::connect(&connection, &RpcConnection::messageReceived,
            [&handled](const RpcMessage &message) { handled += message.body().params.size() > 30 ? 1 : 0; });
        if (!device.port()) {
            state.SkipWithError("no listening socket");
            return;
        }
        device.start(int(state.range(0)), int(state.range(1)));
        connection.connectToHost(QStringLiteral("127.0.0.1"), device.port());
        if (!waitFor([&] { return connection.state() == RpcConnection::ConnectedState; })) {
            state.SkipWithError("no connection");
            return;
        }
        waitFor([] { return false; }, 100);
        const qint64 before = startMeasuring(state);
        if (before < 0)
            return;
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        waitFor([&] { return device.floodOver(); }, int(state.range(1)) * 1000 + 60000);
        const qint64 handledInFlood = handled;
        const double floodSeconds = clock.elapsed() / 1000.0;
        // Asked once the device stops flooding: the answer waits behind whatever the kernel still holds.
        kra::CMsg get(kra::CMsg::Param);
        get.addGet("name");
        QElapsedTimer answer;
        answer.start();
        const RpcAsyncCall call = connection.call(RpcMessage::request(get), 60);
        waitFor([&] { return call.isFinished(); }, 60000);
        const double answerMs = answer.nsecsElapsed() / 1e6;
        state.PauseTiming();
        // What stays resident once the flood is handled and the program idles a moment.
        waitFor([] { return false; }, 1000);
        report(state, before, memoryKb("VmRSS"));
        state.counters["sent_per_s"] = double(device.sent()) / qMax(device.floodSeconds(), 1e-3);
        state.counters["handled_per_s"] = double(handledInFlood) / qMax(floodSeconds, 1e-3);
        state.counters["handled"] = double(handled);
        state.counters["answer_ms"] = answerMs;
        connection.close();
        waitFor([] { return false; }, 100);
        if (!call.isFinished() || call.error() != RpcConnection::NoError || !device.answered()) {
            state.SkipWithError("the call after the flood was not answered");
            break;
        }
        if (handled != device.sent()) {
            state.SkipWithError("snapshots were lost");
            break;
        }
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_FloodIntoABareConnection)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloodThroughTheScreen)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloodPastTheDecodingRate)
    ->Args({250000, 10})
    ->Args({400000, 10})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char **argv)
{
    qInstallMessageHandler(quiet);
    return runWidgetBenchmarks(argc, argv);
}
