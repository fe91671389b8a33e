#pragma once

// What the mixer pages of the gallery share: the screen window logged in to the simulated device run in this
// process, with the status bar, on one page.

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>
#include <memory>

struct MixerSession
{
    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;

    ~MixerSession()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    // Logged in with this set-up over the codec's and its audio section, and on the page.
    bool open(const QByteArray &setup, QVexmar::Page page)
    {
        device.loadSetup(SimDevice::codecSetup());
        device.loadSetup(SimDevice::audioSetup());
        device.loadSetup(setup);
        window = std::make_unique<QVexmarWindow>();
        setScreenGround(window.get());
        if (!connectTo(device))
            return false;
        window->pageActivated(QVexmar::HomePage);
        window->statusBar()->show();
        window->applyAccessLevel();
        window->pageActivated(page);
        return getMatrixSettings()->state() == TComController::Loaded && window->currentPage() == page;
    }
};
