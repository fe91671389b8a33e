// The editor page as the screen shows it, against the simulated device run in this process: empty with the
// project selector, a source cut at its separators, the project's tracks with marks, and the project playing.

#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/drawbargraph.h"
#include "pages/vexmareditorpage.h"
#include "rpc/ccom.h"
#include "tests/peers/simdevice.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarprojectpopups.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace {

const QByteArray deviceSetup = R"(
db:ui:quorvane_ui media_dest=usb
db:ui:quorvane_ui project=Morning Show
db:ui:quorvane_ui filename=Take
db:ui:quorvane_ui autorecord=off
db:ui:quorvane_ui media_src=stream1
db:ui:quorvane_ui format=wav
db:ui:quorvane_ui is_ftp=off
)";

const std::string project = "Morning Show";
const std::string interview = "20240611_0802_004_Interview.wav";
const std::string opening = "20240611_0712_001_Opening.wav";

std::string position(qint64 ms)
{
    return "|||" + std::to_string(ms * 48) + "||" + std::to_string(ms) + "|";
}

std::string track(const std::string &wav, qint64 fromMs, qint64 toMs)
{
    return wav + "|" + wav.substr(0, wav.size() - 4) + ".dat|0|" + std::to_string(fromMs * 48) + "|"
        + std::to_string(toMs * 48) + "||";
}

QImage withPopup(QWidget *screen, QWidget *popup)
{
    QImage image = grabWidget(screen);
    if (!popup)
        return image;
    QPainter painter(&image);
    painter.drawImage(popup->mapToGlobal(QPoint(0, 0)) - screen->mapToGlobal(QPoint(0, 0)), popup->grab().toImage());
    return image;
}

QList<GalleryShot> renderEditor()
{
    QList<GalleryShot> shots;
    QTemporaryDir waveMaps;
    const QString folder = waveMaps.path() + QStringLiteral("/mnt/usb/") + QString::fromStdString(project);
    if (!QDir().mkpath(folder)
        || !writeWaveBitmap(
            folder + QStringLiteral("/20240611_0802_004_Interview.dat"), speechRecording(768000, 12, 3.0))
        || !writeWaveBitmap(
            folder + QStringLiteral("/20240611_0712_001_Opening.dat"), speechRecording(65000, 12, 20.0)))
        return shots;

    SimDevice device;
    device.loadSetup(deviceSetup);
    const std::string media = "media:usb:" + project;
    // The recordings come after the selector's shot: it lists every file of the project.
    for (const std::string &file : {std::string("kra.prjt"), std::string("002.prjt"), std::string("003.prjt")})
        device.setParam(media, file, "100");
    const std::string source = "source:usb:" + project + ":kra.prjt";
    device.setParam(source, "generic_uri", interview);
    device.setParam(source, "project_channel", "0");
    device.setParam(source, "project_wavmap", "20240611_0802_004_Interview.dat");
    const std::string elements = "project:usb:" + project + ":kra.prjt";
    device.setList(
        elements, "project_separators", {position(95000), position(212000), position(340000), position(515000)});
    device.setList(elements, "project_element_tracks",
        {track(opening, 0, 65000), track(interview, 95000, 212000), track(interview, 340000, 515000)});
    device.setList(elements, "project_element_marks", {position(30000), position(150000)});

    getCom()->initialize("ui", "quorvane_ui");
    if (!connectTo(device))
        return shots;

    std::unique_ptr<QWidget> screen = screenUnderStatusBar();
    auto *page = new QVexmarEditorPage(screen.get());
    page->setWaveMapRoot(waveMaps.path());
    page->setGeometry(screen->rect());
    const auto shoot = [&](const char *name) { shots.append({QLatin1String(name), grabWidget(screen.get())}); };

    // The page is shown in a window already up, as the screen shows it: the selector stays open over it.
    page->hide();
    screen->setAttribute(Qt::WA_DontShowOnScreen);
    screen->show();
    QCoreApplication::processEvents();
    page->show();
    shoot("empty");
    auto *selector = page->findChild<QVexmarProjectSelector *>();
    shots.append({QStringLiteral("project-selector"), withPopup(screen.get(), selector)});
    if (!selector)
        return shots;
    for (const std::string &file : {interview, opening})
        device.setParam(media, file, "100");
    selector->selectButton->click();
    waitFor([page] { return !page->findChild<QVexmarProjectSelector *>(); });

    // Into the second piece of the interview: a separator and a knob step past it.
    page->btn_Next->click();
    page->slot_knobChanged(1);
    shoot("source-separators");

    page->receiveCustomMessage_ChildIsClic(QVexmarEditorPage::ProjectGraph);
    page->btn_Next->click();
    page->btn_Next->click();
    page->slot_knobChanged(1);
    shoot("project-marks");

    page->btn_Play->click();
    QElapsedTimer played;
    played.start();
    waitFor([&played] { return played.elapsed() >= 1500; }, 2000);
    shoot("playing");
    page->btn_Play->click();

    screen.reset();
    getCom()->disconnectFromDevice();
    waitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
    getDevice()->reset(true);
    return shots;
}

const GalleryPage page("editor", renderEditor);

} // namespace
