#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "pages/vexmarrecordingpage.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "tests/peers/simdevice.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

namespace {

// Three drives, the recorder set to USB, a project named with a blank on it.
const QByteArray drives = "media get_freespace_record=32100\n"
                          "media get_freespace_usb=1850\n"
                          "media get_freespace_sdcard=300\n"
                          "media get_freespace_p_record=45\n"
                          "media get_freespace_p_usb=62\n"
                          "media get_freespace_p_sdcard=1\n"
                          "general project_list=[Interviews,My Project,Caf\xc3\xa9 talk]\n"
                          "db:ui:quorvane_ui media_dest=usb\n"
                          "db:ui:quorvane_ui project=My Project\n"
                          "db:ui:quorvane_ui filename=Morning show\n"
                          "db:ui:quorvane_ui autorecord=off\n"
                          "db:ui:quorvane_ui media_src=stream2\n"
                          "db:ui:quorvane_ui format=wav\n"
                          "db:ui:quorvane_ui is_ftp=off\n";

// The screen window's place for a page: under the status bar of a 1280 x 720 screen.
struct Screen
{
    Screen()
    {
        QPalette black;
        black.setColor(QPalette::Window, Qt::black);
        black.setColor(QPalette::WindowText, Qt::white);
        window.setPalette(black);
        window.setAutoFillBackground(true);
        QFont screenFont = window.font();
        screenFont.setPixelSize(22);
        window.setFont(screenFont);
        window.setFixedSize(1280, 720);
        window.setAttribute(Qt::WA_DontShowOnScreen);
        page = new QVexmarRecordingPage(&window);
        page->setGeometry(0, 44, 1280, 676);
        window.show();
        QCoreApplication::processEvents();
    }

    QImage shot()
    {
        QCoreApplication::processEvents();
        return page->grab().toImage();
    }

    void click(const char *name) { page->findChild<QAbstractButton *>(QLatin1String(name))->click(); }

    void tick(int times)
    {
        for (QTimer *timer : page->findChildren<QTimer *>()) {
            if (timer->isActive() && timer->interval() == 1000) {
                for (int i = 0; i < times; ++i)
                    QMetaObject::invokeMethod(timer, "timeout");
            }
        }
    }

    QWidget window;
    QVexmarRecordingPage *page = nullptr;
};

QList<GalleryShot> renderRecording()
{
    SimDevice device;
    device.loadSetup(drives);
    // A store name with a blank does not fit a set-up line.
    device.setParam("media:usb:My Project", "take1.wav", "2500000");
    kra::CCom *com = getCom();
    com->initialize(kra::TGT_UI, kra::UI_TYPE_QUORVANE);
    if (!connectTo(device))
        return {};

    QList<GalleryShot> shots;
    {
        Screen screen;
        shots.append({QStringLiteral("idle"), screen.shot()});
        screen.click("recordingRecordButton");
        screen.tick(65);
        shots.append({QStringLiteral("recording"), screen.shot()});
        screen.click("recordingStopButton");
        shots.append({QStringLiteral("stop-confirmation"), screen.shot()});
        screen.click("recordingStopButton");
    }
    {
        // Only the USB drive left, nearly full.
        device.setParam("media", "get_freespace_usb", "12");
        for (const char *word : {"get_freespace_record", "get_freespace_sdcard"})
            device.unsetParam("media", word);
        Screen screen;
        shots.append({QStringLiteral("one-drive-low"), screen.shot()});
    }
    {
        for (const char *word : {"get_freespace_usb", "get_freespace_p_usb"})
            device.unsetParam("media", word);
        Screen screen;
        shots.append({QStringLiteral("no-space"), screen.shot()});
    }
    {
        device.setParam("audio", "recorder_state", "play");
        Screen screen;
        shots.append({QStringLiteral("playback"), screen.shot()});
    }
    com->disconnectFromDevice();
    return shots;
}

const GalleryPage page("recording", renderRecording);

} // namespace
