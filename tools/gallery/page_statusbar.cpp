#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/tcomconnection.h"
#include "device/tcomdevice.h"
#include "rpc/kramsg.h"
#include "screen/vexmarstatusbar.h"
#include "widgets/vexmarbutton.h"

#include <QLabel>

#include <functional>
#include <memory>

namespace {

kra::CMsg body(const char *text)
{
    kra::CMsg message;
    kra::parseBody(text, message);
    return message;
}

// The network indicators attached as after a device-model initialisation (no device here, so they read
// nothing), a mobile data link up, and what the device would say about its interfaces.
void networksUp(QVexmarStatusBar &bar)
{
    emit getDevice()->deviceStateChanged(TComDevice::ModelReady);
    if (!getDevice()->connectionByKindAndNetwork(TComBaseConnection::KindDataLink, "mobile.0")) {
        auto *link = new TComDataConnection(getCom());
        link->bind(12, "mobile.0", TComDataConnection::Connected);
        if (!getDevice()->addConnection(link))
            delete link;
    }
    bar.handleEvent(body("EVENT;event_type:config info;network:eth.0;cable:plugged;"));
    bar.handleInfo(body("INFO;info_type:network_info;info_source:mobile.0;signal_quality:-75 dBm;technology:LTE;"
                        "registration_state:home;"));
    bar.handleInfo(body("INFO;info_type:network_info;info_source:wifi.0;signal_quality_dbm:-80 dBm;"));
}

QImage grabBar(const std::function<void(QVexmarStatusBar &)> &setUp)
{
    auto bar = std::make_unique<QVexmarStatusBar>();
    bar->setFixedWidth(1280);
    setUp(*bar);
    return grabWidget(bar.get());
}

QWidget *iconCell(const char *path, const QColor &face, QSize size)
{
    auto *button = new QVexmarButton;
    button->setFixedSize(size * 3);
    button->radius = 0.0f;
    button->setIconSize(size * 3);
    QPalette palette = button->palette();
    palette.setBrush(QPalette::Window, face);
    button->setPalette(palette);
    const QPixmap icon(QString::fromLatin1(path));
    button->setIcon(QIcon(icon.scaled(icon.size() * 3)));
    return button;
}

QList<GalleryShot> renderStatusBar()
{
    QList<GalleryShot> shots;
    shots.append({QStringLiteral("start"), grabBar([](QVexmarStatusBar &) {})});
    shots.append({QStringLiteral("after-login"), grabBar([](QVexmarStatusBar &bar) {
                      bar.setBatteryInfo(87, 1, 240);
                      bar.setCallState(1, 1);
                      bar.setCallState(2, 2);
                      emit getDevice()->deviceStateChanged(TComDevice::ModelReady);
                      bar.handleEvent(body("EVENT;event_type:config info;network:eth.0;cable:plugged;"));
                  })});
    shots.append({QStringLiteral("in-call"), grabBar([](QVexmarStatusBar &bar) {
                      bar.setBatteryInfo(64, 1, 125);
                      bar.setVoiceIndicatorVisible(true);
                      bar.setCallState(1, 4);
                      bar.setCallState(2, 3);
                      bar.setCallState(3, 5);
                      bar.setMicState(0, true);
                      networksUp(bar);
                  })});
    shots.append({QStringLiteral("charging"), grabBar([](QVexmarStatusBar &bar) {
                      bar.setBatteryInfo(40, 2, 0);
                      bar.setCallState(1, 6);
                      bar.setCallState(2, 1);
                      bar.setMicState(0, true);
                      bar.setMicState(1, true);
                      networksUp(bar);
                  })});
    shots.append({QStringLiteral("ftp-running"), grabBar([](QVexmarStatusBar &bar) {
                      bar.setBatteryInfo(100, 3, 300);
                      bar.setCallState(1, 1);
                      bar.handleEvent(body("EVENT;event_type:upload_state;state:started;"));
                      bar.handleInfo(body("INFO;info_type:upload_progress;percent:42;"));
                  })});
    shots.append({QStringLiteral("ftp-error"), grabBar([](QVexmarStatusBar &bar) {
                      bar.setBatteryInfo(15, 1, 9);
                      bar.handleEvent(body("EVENT;event_type:upload_state;state:started;"));
                      bar.handleEvent(body("EVENT;event_type:upload_state;state:error;"));
                  })});

    const QColor grey(127, 127, 127);
    const QColor green(Qt::green);
    QList<GalleryCell> icons;
    for (const char *path :
        {":/images/mic1_off.png", ":/images/mic1_on.png", ":/images/mic2_off.png", ":/images/mic2_on.png"})
        icons.append({QString::fromLatin1(path + 9), iconCell(path, Qt::white, QSize(32, 36))});
    for (const char *path :
        {":/images/eth1.png", ":/images/eth2.png", ":/images/mobile1.png", ":/images/mobile2.png"}) {
        icons.append({QString::fromLatin1(path + 9), iconCell(path, grey, QSize(44, 36))});
        icons.append({QStringLiteral("up"), iconCell(path, green, QSize(44, 36))});
    }
    for (const char *path : {":/images/wifi_0bar.png", ":/images/wifi_1bar.png", ":/images/wifi_2bar.png",
             ":/images/wifi_3bar.png", ":/images/wifi_4bar.png"}) {
        icons.append({QString::fromLatin1(path + 9), iconCell(path, grey, QSize(44, 36))});
        icons.append({QStringLiteral("up"), iconCell(path, green, QSize(44, 36))});
    }
    shots.append({QStringLiteral("icons"), grabBoard(icons, 6, statusBarPalette())});
    return shots;
}

const GalleryPage page("statusbar", renderStatusBar);

} // namespace
