#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "device/vexmarsoftkeys.h"
#include "screen/vexmarloginpage.h"
#include "screen/vexmarmainpage.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "widgets/vexmarcontrols.h"

#include <QStackedLayout>

#include <memory>

namespace {

// The screen as the main window holds it: black, white text, no device behind it.
std::unique_ptr<QVexmarWindow> screen()
{
    auto window = std::make_unique<QVexmarWindow>();
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window, Qt::black);
    palette.setBrush(QPalette::WindowText, Qt::white);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    return window;
}

QImage home(int level)
{
    g_accessLevel = level;
    auto window = screen();
    QVexmarMainPage *page = window->mainPage();
    window->statusBar()->show();
    window->statusBar()->setBatteryInfo(87, 1, 240);
    window->statusBar()->setCallState(1, 4);
    window->statusBar()->setCallState(2, 1);
    page->setCodecState(1, 1);
    page->setCodecDescription(1, QStringLiteral("OPUS 48 kHz stereo 128 kbit/s"));
    page->setCodecDescription(2, QStringLiteral("G.722"));
    page->setCallState(1, 4);
    page->setCallState(2, 1);
    int levels[IVexmarAudioLevels::levelCount];
    std::fill(std::begin(levels), std::end(levels), int(IVexmarAudioLevels::noLevel));
    const int stream[] = {12, 8, 20, 16, 6, 9}; // inputs 21-24, outputs 1 and 2
    for (int i = 0; i < 4; ++i)
        levels[20 + i] = stream[i];
    levels[24] = stream[4];
    levels[25] = stream[5];
    page->setAudioLevels(levels, IVexmarAudioLevels::levelCount, true);
    if (level > 0) {
        page->setVoiceVisible(true);
        page->setInfoActive(0, true);
        page->setContactActive(1, true);
    }
    // The device's soft keys, undocked: keys 1 to 4 are F1 to F4. The model outlives the window: from none, so
    // that every key tells this page.
    const char *const keys[] = {"C00F01B03", "C01F01B02", level > 0 ? "C03F05B01" : "", "C02F02B00"};
    for (int n = 0; n < 4; ++n) {
        getSoftkeys()->applyValue("softkey" + std::to_string(n + 1), "");
        getSoftkeys()->applyValue("softkey" + std::to_string(n + 1), keys[n]);
    }
    window->pageStack()->setCurrentWidget(page);
    const QImage image = grabWidget(window.get());
    g_accessLevel = 0;
    return image;
}

QList<GalleryShot> renderScreen()
{
    QList<GalleryShot> shots;
    {
        auto window = screen();
        shots.append({QStringLiteral("login"), grabWidget(window.get())});
        window->loginPage()->expertSwitch->click();
        shots.append({QStringLiteral("login-expert"), grabWidget(window.get())});
    }
    shots.append({QStringLiteral("home-operator"), home(0)});
    shots.append({QStringLiteral("home-expert"), home(1)});
    return shots;
}

const GalleryPage page("screen", renderScreen);

} // namespace
