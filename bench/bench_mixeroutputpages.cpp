// The mixer output pages' refresh on a change set of the device: an INFO that changes every "matrix_ou" word, sent
// by the simulated device, routed through the screen window's queue to the matrix settings and from their signals
// to the page's crosspoints, then the page rendered into an image. Beside it, in the same run, the page rendered
// alone: what a change set costs on top of drawing what it changed.

#include "accessors.h"
#include "ccom.h"
#include "kramsg.h"
#include "rpcvocabulary.h"
#include "simdevice.h"
#include "taudiosettings.h"
#include "tmatrixsettings.h"
#include "vexmarmixeroutputpages.h"
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

constexpr int firstOutput = 12; // "matrix_ou13"
constexpr int outputCount = 12; // to "matrix_ou24"
constexpr quint32 allInputs = 0x1FFFFFFF; // inputs 0 to 28

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

using Words = std::array<quint32, outputCount>;

// Two sets of words, each switching every node of outputs 12 to 23 the other way.
Words words(bool second)
{
    Words set {};
    for (int k = 0; k < outputCount; ++k) {
        const quint32 nodes = (quint32(k + 1) * 0x9E3779B1u) & allInputs;
        set[size_t(k)] = second ? nodes ^ allInputs : nodes;
    }
    return set;
}

kra::CMsg changeSet(const Words &set)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    for (int k = 0; k < outputCount; ++k) {
        char word[12];
        std::snprintf(word, sizeof word, "%08X", unsigned(set[size_t(k)]));
        info.setParam(KEY_MATRIX_OU + std::to_string(firstOutput + k + 1), word);
    }
    return info;
}

bool holds(const Words &set)
{
    for (int k = 0; k < outputCount; ++k) {
        if (getMatrixSettings()->outputMask(QVexmar::Outputs(firstOutput + k)) != set[size_t(k)])
            return false;
    }
    return true;
}

template<class Page>
struct Screen
{
    explicit Screen(QVexmar::Page shown)
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
        window->pageActivated(shown);
        page = window->findChild<Page *>();
        image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
        // Laid out once; from here on the image is the only painting.
        window->hide();
        ready = page && window->currentPage() == shown && getMatrixSettings()->state() == 0;
    }

    ~Screen()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    void render() { page->render(&image); }

    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    Page *page = nullptr;
    QImage image;
    bool ready = false;
};

template<class Page>
void changeSetThenRender(benchmark::State &state, QVexmar::Page shown)
{
    Screen<Page> screen(shown);
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

template<class Page>
void renderAlone(benchmark::State &state, QVexmar::Page shown)
{
    Screen<Page> screen(shown);
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    for (auto _ : state)
        screen.render();
}

void BM_MixerOutput1PageChangeSet(benchmark::State &state)
{
    changeSetThenRender<QVexmarMixerOutput1Page>(state, QVexmar::MixerOutput1Page);
}

void BM_MixerOutput1PageRender(benchmark::State &state)
{
    renderAlone<QVexmarMixerOutput1Page>(state, QVexmar::MixerOutput1Page);
}

void BM_MixerOutput2PageChangeSet(benchmark::State &state)
{
    changeSetThenRender<QVexmarMixerOutput2Page>(state, QVexmar::MixerOutput2Page);
}

void BM_MixerOutput2PageRender(benchmark::State &state)
{
    renderAlone<QVexmarMixerOutput2Page>(state, QVexmar::MixerOutput2Page);
}

} // namespace

BENCHMARK(BM_MixerOutput1PageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput1PageRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput2PageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput2PageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
