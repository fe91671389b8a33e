// The folder page as the screen shows it, against the simulated device run in this process: records and a play
// list, a record playing, a play list running, the export popup, the disk manager with a repair confirmed and
// running, the project manager, editor mode with the hand-over to the editor, and the recording lock.

#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/recordermodel.h"
#include "pages/vexmarfolderpage.h"
#include "rpc/ccom.h"
#include "tests/peers/simdevice.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarprojectpopups.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPainter>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QByteArray deviceSetup = R"(
media get_freespace_record=30200
media get_freespace_usb=14800
media get_freespace_sdcard=0
media get_freespace_p_record=61
media get_freespace_p_usb=93
db:ui:quorvane_ui media_dest=usb
db:ui:quorvane_ui project=Morning Show
db:ui:quorvane_ui filename=Take
db:ui:quorvane_ui autorecord=off
db:ui:quorvane_ui media_src=stream1
db:ui:quorvane_ui format=wav
db:ui:quorvane_ui is_ftp=off
general project_list=[Default,Morning Show,Interviews]
)";

// The project's takes: file, index, name, format, length, date, time, channels.
const char *const takes[] = {
    "20240611_0712_001_Opening.wav|001|Opening|wav|00:01:05|2024-06-11|07:12|2",
    "20240611_0731_002_Traffic.wav|002|Traffic|wav|00:00:42|2024-06-11|07:31|1",
    "20240611_0745_003_Weather.mp2|003|Weather|mpg2|00:01:30|2024-06-11|07:45|2",
    ("20240611_0802_004_Interview.wav|004|Interview with the mayor of the town about the new bridge|wav|00:12:48|"
     "2024-06-11|08:02|2"),
    "20240611_0830_005_News.wav|005|News|wav|00:04:10|2024-06-11|08:30|2",
    "20240611_0851_006_Closing.mp2|006|Closing|mpg2|00:00:55|2024-06-11|08:51|1",
};

// Runs the event loop until the test holds or the time is up.
// A click on an item as the list reports it.
void clickItem(QListWidget *list, int row)
{
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

// The screen with the popup drawn where it stands over it.
QImage withPopup(QWidget *screen, QWidget *popup)
{
    QImage image = grabWidget(screen);
    if (!popup)
        return image;
    QPainter painter(&image);
    painter.drawImage(popup->mapToGlobal(QPoint(0, 0)) - screen->mapToGlobal(QPoint(0, 0)), popup->grab().toImage());
    return image;
}

QList<GalleryShot> renderFolder()
{
    QList<GalleryShot> shots;
    SimDevice device;
    device.loadSetup(deviceSetup);
    // A project named with a blank, which a set-up line cannot name.
    const std::string project = "media:usb:Morning Show";
    std::vector<std::string> lines;
    for (const char *take : takes) {
        lines.push_back(take);
        device.setParam(project, lines.back().substr(0, lines.back().find('|')), "100");
    }
    // Enough takes for the list to scroll.
    for (int n = 7; n <= 16; ++n) {
        const std::string index = QString::asprintf("%03d", n).toStdString();
        lines.push_back("20240611_0900_" + index + "_Take.wav|" + index + "|Take " + index
            + "|wav|00:00:" + index.substr(1) + "|2024-06-11|09:00|2");
    }
    device.setList(project, "records_list", lines);
    device.setList(project, "records_plist", {"20240611_0745_003_Weather.mp2", "20240611_0830_005_News.wav"});
    getCom()->initialize("ui", "quorvane_ui");
    if (!connectTo(device))
        return shots;

    std::unique_ptr<QWidget> screen = screenUnderStatusBar();
    auto *page = new QVexmarFolderPage(screen.get());
    page->setGeometry(screen->rect());

    const auto shoot = [&](const char *name) { shots.append({QLatin1String(name), grabWidget(screen.get())}); };
    const auto reshow = [&] {
        page->hide();
        page->show();
    };

    screen->setAttribute(Qt::WA_DontShowOnScreen);
    screen->show();
    clickItem(page->listWidget_Left, 2);
    shoot("records-and-playlist");

    page->btn_LeftPlayPause->click();
    shoot("record-playing");
    page->btn_LeftStop->click();

    clickItem(page->listWidget_Right, 1);
    page->btn_RightPlayPause->click();
    shoot("playlist-running");
    page->btn_RightStop->click();

    const auto shootPopup = [&](const char *name, QWidget *popup) {
        shots.append({QLatin1String(name), withPopup(screen.get(), popup)});
    };
    clickItem(page->listWidget_Left, 3);
    page->btn_share->click();
    auto *exporter = page->findChild<QVexmarExportConfig *>();
    shootPopup("export-sound-file", exporter);
    exporter->cancelButton->click();

    page->btn_edit_drive->click();
    auto *manager = page->findChild<QVexmarManageDrive *>();
    shootPopup("disk-manager", manager);
    manager->repairButton->click();
    auto *confirm = page->findChild<QVexmarConfirmAction *>();
    shootPopup("repair-confirm", confirm);
    // The device takes its time; the progress is shot while it counts.
    SimDevice::Fault slow;
    slow.kind = SimDevice::Fault::Delay;
    slow.value = 3500;
    slow.match = "repair_usb";
    device.addFault(slow);
    QTimer::singleShot(2300, page, [&] { shootPopup("repair-running", page->findChild<QVexmarCountDownPopup *>()); });
    confirm->okButton->click();
    auto *progress = page->findChild<QVexmarCountDownPopup *>();
    shootPopup("repair-done", progress);
    progress->close();

    page->btn_edit_project->click();
    auto *projects = page->findChild<QVexmarManageProject *>();
    shootPopup("project-manager", projects);
    projects->closeButton->click();

    device.setParam("db:ui:quorvane_ui", "is_editor_mode", "on");
    reshow();
    clickItem(page->listWidget_Left, 3);
    shoot("editor-mode");
    page->btn_editWav->click();
    shootPopup("editor-handover", page->findChild<QVexmarMessage *>());
    // The editor takes the recording: the page stops asking.
    device.setParam("db:ui:quorvane_ui", "editor_next_wav", "");
    device.setParam("db:ui:quorvane_ui", "is_editor_mode", "off");

    device.setParam("audio", "recorder_state", "rec");
    reshow();
    shoot("recording-lock");

    screen.reset();
    getCom()->disconnectFromDevice();
    waitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
    getDevice()->reset(true);
    return shots;
}

const GalleryPage page("folder", renderFolder);

} // namespace
