#pragma once

// What the mixer page benchmarks share: the screen window logged in to the simulated device and showing one page,
// the change sets of the device played on it in turn, and the page rendered into an image.

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QStackedLayout>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

inline bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

struct MixerScreen
{
    // Logged in with this set-up over the codec's and its audio section, on the page.
    explicit MixerScreen(QVexmar::Page shown, const QByteArray &setup = QByteArray())
    {
        device.loadSetup(SimDevice::codecSetup());
        device.loadSetup(SimDevice::audioSetup());
        device.loadSetup(setup);
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
        page = window->pageStack()->currentWidget();
        ready = page && getMatrixSettings()->state() == 0 && window->currentPage() == shown;
        if (!ready)
            return;
        image = QImage(page->size(), QImage::Format_ARGB32_Premultiplied);
        // Laid out once; from here on the image is the only painting.
        window->hide();
    }

    ~MixerScreen()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    void render() { page->render(&image); }

    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    QWidget *page = nullptr;
    QImage image;
    bool ready = false;
};

// The two change sets in turn, each waited for until the model holds it (`holds` with the set's number), then the
// page rendered. Nothing shown may go back to the device.
inline void runChangeSets(
    benchmark::State &state, MixerScreen &screen, const kra::CMsg (&messages)[2], const std::function<bool(int)> &holds)
{
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    const int requests = screen.device.requests().size();
    int turn = 0;
    for (auto _ : state) {
        screen.device.notify(messages[turn]);
        if (!waitFor([&] { return holds(turn); })) {
            state.SkipWithError("the change set did not arrive");
            return;
        }
        screen.render();
        turn = 1 - turn;
    }
    if (screen.device.requests().size() != requests)
        state.SkipWithError("the refresh sent requests");
}

// The page rendered alone: what drawing costs without a change.
inline void runRender(benchmark::State &state, MixerScreen &screen)
{
    if (!screen.ready) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    for (auto _ : state)
        screen.render();
}
