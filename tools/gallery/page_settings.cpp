// The settings page inside the screen window, logged in against the simulated device run in this process with the
// tests' set-up (tests/settingstesting.h). Shots are named by branch: core-, sip-, ethernet-, isdn-, wifi-,
// network-, mobile-, coding-, codec-, opus-, book-, lists-, audio-, status-, tools-, connections-, aoip-, misc-,
// troubleshooting-, remote-.

#include "gallery.h"

#include "settingstesting.h"

#include <QCoreApplication>

#include <functional>

namespace {

// Logged in at the level, the window on the dark ground of the device and the settings page opened by the page id
// as another page would open it; then the steps, and the window's picture.
QImage settingsShot(int level, QVexmar::Page pageId, const std::function<void(settingstesting::SettingsRig &)> &steps = {})
{
    settingstesting::SettingsRig rig;
    if (!rig.startSettings(level))
        return QImage();
    QPalette palette = rig.window->palette();
    palette.setBrush(QPalette::Window, Qt::black);
    palette.setBrush(QPalette::WindowText, Qt::white);
    rig.window->setPalette(palette);
    rig.window->setAutoFillBackground(true);
    rig.window->statusBar()->show();
    rig.window->applyAccessLevel();
    if (!rig.openPageId(pageId))
        return QImage();
    if (steps)
        steps(rig);
    return grabWidget(rig.window.get());
}

QList<GalleryShot> renderSettings()
{
    return {
        {QStringLiteral("core-top"), settingsShot(2, QVexmar::SettingsNetwork)},
        {QStringLiteral("core-audio-normal"), settingsShot(1, QVexmar::SettingsStatus)},
        {QStringLiteral("core-audio-greyed"), settingsShot(0, QVexmar::SettingsStatus)},
    };
}

const GalleryPage page("settings", renderSettings);

} // namespace
