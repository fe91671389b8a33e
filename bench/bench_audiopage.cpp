// The audio page's refresh on a change set of the device: an INFO that changes every value the page shows, sent
// by the simulated device, routed through the screen window's queue to the audio and matrix settings and from
// their signals to the page, then the page rendered into an image. Beside it, in the same run, the page rendered
// alone: what a change set costs on top of drawing what it changed.

#include "bench/widgetbench.h"
#include "controllers/taudiosettings.h"
#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "pages/vexmaraudiopage.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <benchmark/benchmark.h>

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

// Two change sets, each moving every strip and padlock away from the other's values.
kra::CMsg changeSet(bool second)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    const auto add = [&info](const std::string &key, const char *value) { info.setParam(key, value); };
    add("input_options", second ? "0000000A" : "00000005");
    add("input1_gain", second ? "-12" : "30");
    add("input2_level", second ? "-50" : "4");
    add("input3_gain", second ? "18" : "-20");
    add("input4_gain", second ? "7" : "40");
    add("lineout1_level", second ? "6" : "20");
    add("lineout2_level", second ? "9" : "14");
    for (int n = 5; n <= 16; ++n)
        add("matrix_in" + std::to_string(n), second ? "001A," : "0023,");
    add("matrix_mgn", second ? "80747A8A" : "80868076");
    return info;
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
        window->pageActivated(QVexmar::AudioPage);
        page = window->findChild<QVexmarAudioPage *>();
        image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
        // Laid out once; from here on the image is the only painting.
        window->hide();
        ready = page && getAudioSettings()->state() == 0 && getMatrixSettings()->state() == 0;
    }

    ~Screen()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    void render() { page->render(&image); }

    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    QVexmarAudioPage *page = nullptr;
    QImage image;
    bool ready = false;
};

void BM_AudioPageChangeSet(benchmark::State &state)
{
    Screen screen;
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    const kra::CMsg sets[] = {changeSet(false), changeSet(true)};
    const quint32 words[] = {0x80868076u, 0x80747A8Au};
    const int requests = screen.device.requests().size();
    int turn = 0;
    for (auto _ : state) {
        screen.device.notify(sets[turn]);
        // The master word comes last in the set: once it is in, the page has seen everything.
        if (!waitFor([&] { return getMatrixSettings()->masterGains() == words[turn]; })) {
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

void BM_AudioPageRender(benchmark::State &state)
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

BENCHMARK(BM_AudioPageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AudioPageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
