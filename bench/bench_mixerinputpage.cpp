// The mixer input page's refresh on a change set of the device: an INFO that changes every "matrix_in" word, sent
// by the simulated device, routed through the screen window's queue to the matrix settings and from their signals
// to the page's crosspoints, then the page rendered into an image. Beside it, in the same run, the page rendered
// alone: what a change set costs on top of drawing what it changed.

#include "accessors.h"
#include "ccom.h"
#include "kramsg.h"
#include "rpcvocabulary.h"
#include "simdevice.h"
#include "tmatrixsettings.h"
#include "vexmarmixerinputpage.h"
#include "vexmarwindow.h"
#include "widgetbench.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

using Words = std::array<quint16, TMatrixSettings::EntryCount>;

// Two sets of words at 0 dB, each switching every node of outputs 0 to 4 the other way.
Words words(bool second)
{
    Words set {};
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        const quint16 nodes = quint16((in * 7 + 1) % 32);
        set[size_t(in)] = quint16(0x20 | ((second ? nodes ^ 0x1F : nodes) << 6));
    }
    return set;
}

kra::CMsg changeSet(const Words &set)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        char word[8];
        std::snprintf(word, sizeof word, "%04X,", unsigned(set[size_t(in)]));
        info.setParam("matrix_in" + std::to_string(in + 1), word);
    }
    return info;
}

bool holds(const Words &set)
{
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        if (getMatrixSettings()->inputEntry(QVexmar::Inputs(in)).config != set[size_t(in)])
            return false;
    }
    return true;
}

struct Screen
{
    Screen()
    {
        device.loadSetup(SimDevice::codecSetup());
        device.loadSetup(SimDevice::audioSetup());
        window = std::make_unique<QVexmarWindow>();
        // The screen's colours, as the main window gives them.
        QPalette palette = window->palette();
        palette.setBrush(QPalette::Window, Qt::black);
        palette.setBrush(QPalette::WindowText, Qt::white);
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        window->setAttribute(Qt::WA_DontShowOnScreen);
        window->show();
        ready = device.listen() && getCom()->connectToDevice(device.host(), device.port(), 0)
            && waitFor([this] { return getCom()->state() == RpcConnection::ConnectedState && device.clientCount(); });
        if (!ready)
            return;
        window->applyAccessLevel();
        // Their requests would stand among the page's.
        window->setupTimer()->stop();
        window->keepAliveTimer()->stop();
        window->pageActivated(QVexmar::MixerInputPage);
        page = window->findChild<QVexmarMixerInputPage *>();
        image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
        // Laid out once; from here on the image is the only painting.
        window->hide();
        ready = page && getMatrixSettings()->state() == 0;
    }

    ~Screen()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    void render() { page->render(&image); }

    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    QVexmarMixerInputPage *page = nullptr;
    QImage image;
    bool ready = false;
};

void BM_MixerInputPageChangeSet(benchmark::State &state)
{
    Screen screen;
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    const Words sets[] = {words(false), words(true)};
    const kra::CMsg messages[] = {changeSet(sets[0]), changeSet(sets[1])};
    const int requests = screen.device.requests().size();
    int turn = 0;
    for (auto _ : state) {
        screen.device.notify(messages[turn]);
        if (!waitFor([&] { return holds(sets[turn]); })) {
            state.SkipWithError("the change set did not arrive");
            return;
        }
        screen.render();
        turn = 1 - turn;
    }
    // Nothing shown goes back to the device.
    if (screen.device.requests().size() != requests)
        state.SkipWithError("the refresh sent requests");
}

void BM_MixerInputPageRender(benchmark::State &state)
{
    Screen screen;
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    for (auto _ : state)
        screen.render();
}

} // namespace

BENCHMARK(BM_MixerInputPageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerInputPageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
