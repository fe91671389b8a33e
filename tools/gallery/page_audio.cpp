// The audio page and its settings popup as the screen shows them after a login, against the simulated device run
// in this process: undocked, docked with the AES67 module and MIC 1 in line mode, and the popup over the page.

#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/vexmaraudiopage.h"
#include "pages/vexmaraudiosettingspage.h"
#include "rpc/ccom.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarinterfaces.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QStackedLayout>

#include <functional>
#include <memory>

namespace {

// Levels of a programme on the inputs and outputs that carry one.
void feedLevels(QVexmarAudioPage *page)
{
    int levels[IVexmarAudioLevels::levelCount];
    std::fill(std::begin(levels), std::end(levels), int(IVexmarAudioLevels::noLevel));
    const std::pair<int, int> live[] = {{0, 12}, {1, 20}, {2, 30}, {4, 9}, {5, 11}, {6, 24}, {7, 26}, {14, 18},
        {15, 21}, {24, 8}, {25, 10}, {26, 32}, {27, 30}, {28, 16}, {29, 6}, {30, 40}};
    for (const auto &[index, level] : live)
        levels[index] = level;
    page->setAudioLevels(levels, IVexmarAudioLevels::levelCount, true);
}

struct Session
{
    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    QVexmarAudioPage *page = nullptr;

    ~Session()
    {
        window.reset();
        getCom()->disconnectFromDevice();
    }

    // Logged in and on the audio page.
    bool open(const QByteArray &setup)
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
        window->pageActivated(QVexmar::AudioPage);
        page = window->findChild<QVexmarAudioPage *>();
        feedLevels(page);
        return getAudioSettings()->state() == TComController::Loaded;
    }
};

QList<GalleryShot> renderAudio()
{
    QList<GalleryShot> shots;
    {
        Session session;
        if (!session.open("general docking_detected=no"))
            return shots;
        shots.append({QStringLiteral("undocked-after-login"), grabWidget(session.window.get())});
    }
    {
        Session session;
        if (!session.open("general docking_detected=yes\naudio input1_pad=on\naudio input1_level=-34"))
            return shots;
        QImage page = grabWidget(session.window.get());
        shots.append({QStringLiteral("docked-aes67-mic1-line"), page});

        session.page->settingsButton->click();
        auto *popup = session.page->findChild<QVexmarAudioSettingsPage *>();
        if (!popup)
            return shots;
        popup->setAttribute(Qt::WA_DontShowOnScreen);
        QCoreApplication::processEvents();
        QPainter painter(&page);
        painter.drawImage(
            popup->mapToGlobal(QPoint(0, 0)) - session.window->mapToGlobal(QPoint(0, 0)), popup->grab().toImage());
        painter.end();
        shots.append({QStringLiteral("settings-popup"), page});
        popup->close();
    }
    return shots;
}

const GalleryPage page("audio", renderAudio);

} // namespace
