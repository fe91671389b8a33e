// The call pages of the codec lines inside the screen window, against the simulated device run in this process:
// idle, a number ready, an Opus call established, and the popups over the page. The voice call page likewise: both
// modules ready with the second one chosen, a module asking for its PIN, and a call established.

#include "tools/gallery/gallery.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmaraoipcallpanel.h"
#include "pages/vexmarvoicecallpage.h"
#include "pages/vexmarvoicecallpanel.h"
#include "rpc/ccom.h"
#include "rpc/rpcmessage.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"
#include "widgets/menu/vexmarmenuselect.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarvirtual.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>

#include <functional>
#include <memory>

namespace {

const QByteArray deviceSetup = R"(
network:aoip sip_user=studio-a
network:aoip sip_registrar=sip.example.org
network:aoip sip_user2=studio-b
network:aoip sip_registrar2=
network sip_state2=registered
audio dstream_mode=enabled
db addr-history=[sip:newsroom@example.org,0049301234567,sip:studio-b@example.org]
audio bitrate=[32000,64000,96000,128000,192000]
)";

kra::CMsg body(const QByteArray &text)
{
    kra::CMsg msg;
    kra::parseBody(text.toStdString(), msg);
    return msg;
}

// The device's events, and a battery report last whose number tells that the window has handled them all.
bool play(SimDevice &device, const QByteArrayList &events)
{
    static int marker = 300;
    ++marker;
    std::vector<kra::CMsg> bodies;
    for (const QByteArray &text : events)
        bodies.push_back(body(text));
    bodies.push_back(body("INFO;info_type:battery_level;remaining:" + QByteArray::number(marker) + ";"));
    device.play(bodies);
    return waitFor([] { return getDevice()->batteryRemaining() == marker; });
}

// The screen with the popup that is open over it, where it stands.
QImage withPopup(QWidget *screen, QWidget *page)
{
    QImage image = grabWidget(screen);
    QPainter painter(&image);
    for (QVexmarPopup *popup : page->findChildren<QVexmarPopup *>()) {
        if (popup->isVisible())
            painter.drawImage(popup->pos() - screen->mapToGlobal(QPoint(0, 0)), popup->grab().toImage());
    }
    return image;
}

template<class Popup>
Popup *openPopup(QWidget *page)
{
    for (Popup *popup : page->findChildren<Popup *>()) {
        if (popup->isVisible())
            return popup;
    }
    return nullptr;
}

void tapPanel(QWidget *page)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(300, 200), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page->findChild<QVexmarAoIPCallPanel *>(), &release);
}

void closeAll(QWidget *page)
{
    for (QVexmarPopup *popup : page->findChildren<QVexmarPopup *>())
        popup->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QList<GalleryShot> renderAoipCall()
{
    QList<GalleryShot> shots;
    SimDevice device;
    device.loadSetup(SimDevice::codecSetup());
    device.loadSetup(SimDevice::audioSetup());
    device.loadSetup(deviceSetup);
    auto window = std::make_unique<QVexmarWindow>();
    setScreenGround(window.get());
    if (!connectTo(device))
        return shots;
    window->pageActivated(QVexmar::HomePage);
    window->startInitialization();
    window->statusBar()->show();
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    const auto shoot = [&](const char *name, QWidget *page) {
        shots.append({QLatin1String(name), withPopup(window.get(), page)});
        closeAll(page);
    };
    const auto button
        = [](QWidget *page, const char *name) { page->findChild<QVexmarButton *>(QLatin1String(name))->click(); };

    // The modem's report: its data link, up since the start, lights the secondary interface.
    play(device, {"INFO;info_type:network_info;info_source:mobile.0;registration_state:home;"});
    QVexmarAoIPCallPage *page = window->aoipCallPage(1);
    window->pageActivated(QVexmar::AoipCall1Page);
    shoot("stream1-idle", page);

    button(page, "dialButton");
    if (auto *pad = openPopup<QVexmarVirtual>(page)) {
        pad->lineEdit.setText(QStringLiteral("sip:studio-c@example.org"));
        shoot("dial-pad", page);
    }
    page->setCallPanelText(1, QStringLiteral("sip:studio-c@example.org"), TComDevice::FamilyIp);
    window->updateStatusPanel();
    shoot("number-ready", page);

    button(page, "historyButton");
    shoot("history", page);
    button(page, "primaryInterfaceButton");
    shoot("primary-network", page);

    // An Opus call, dialled from the panel and established with its levels.
    tapPanel(page);
    const QByteArray call = "id:21;network:eth.0;remote_addr:sip:studio-c@example.org;";
    play(device,
        {"EVENT;event_type:1000-call active;codec_tx:OPUS/48000/stereo/128000;codec_rx:OPUS/48000/stereo/128000;"
                + call,
            "EVENT;event_type:dsp_status;state:sync;codec_tx:OPUS/48000/stereo/128000;" + call,
            "EVENT;event_type:audio_levels;in21:14;in22:18;ou1:8;ou2:11;"});
    shoot("call-established", page);
    button(page, "codingButton");
    shoot("coding", page);
    tapPanel(page);
    shoot("hang-up", page);

    window->pageActivated(QVexmar::AoipCall2Page);
    shoot("stream2-idle", window->aoipCallPage(2));

    window.reset();
    getCom()->disconnectFromDevice();
    waitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
    getDevice()->reset(true);
    return shots;
}

const GalleryPage aoipPage("aoipcall", renderAoipCall);

const QByteArray voiceSetup = R"(
network network=[aoip,eth.0,mobile.0,mobile.1,wifi.0]
network:mobile.0 operator_long=Telco One
network:mobile.0 msisdn=+491701234567
network:mobile.1 pin=ready
network:mobile.1 registration_state=home
network:mobile.1 operator_long=Net Two
network:mobile.1 msisdn=+491607654321
db phone-addr-history=[+4930123456,+4940987654]
)";

void touchModule(QWidget *page, int module)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(200, 100), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(
        page->findChild<QVexmarVoiceCallPanel *>(QStringLiteral("voicePanel%1").arg(module)), &release);
}

QList<GalleryShot> renderVoiceCall()
{
    QList<GalleryShot> shots;
    SimDevice device;
    device.loadSetup(SimDevice::codecSetup());
    device.loadSetup(SimDevice::audioSetup());
    device.loadSetup(voiceSetup);
    auto window = std::make_unique<QVexmarWindow>();
    setScreenGround(window.get());
    if (!connectTo(device))
        return shots;
    window->pageActivated(QVexmar::HomePage);
    window->startInitialization();
    window->statusBar()->show();
    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    QVexmarVoiceCallPage *page = window->voiceCallPage();
    window->pageActivated(QVexmar::VoiceCallPage);
    const auto shoot = [&](const char *name) {
        shots.append({QLatin1String(name), withPopup(window.get(), page)});
        closeAll(page);
    };

    // The number typed on the keypad; the second module chosen.
    for (const char key : QByteArray("+4930123456"))
        page->findChild<QVexmarButton *>(QStringLiteral("voiceKey") + QLatin1Char(key))->click();
    touchModule(page, 2);
    shoot("voice-ready");

    // The second module's SIM asks for its PIN: the first one places calls again.
    touchModule(page, 1);
    play(device, {"INFO;info_type:network_info;info_source:mobile.1;registration_state:122-pin required;"});
    shoot("voice-pin-required");
    touchModule(page, 2);
    if (auto *pad = openPopup<QVexmarVirtual>(page)) {
        pad->lineEdit.setText(QStringLiteral("1234"));
        shoot("voice-pin-popup");
    }

    page->findChild<QVexmarButton *>(QStringLiteral("voiceCallButton"))->click();
    play(device,
        {"EVENT;event_type:1000-call active;id:21;network:mobile.0;remote_addr:+4930123456;",
            "EVENT;event_type:audio_levels;in20:12;ou5:9;"});
    shoot("voice-call-established");
    page->findChild<QVexmarButton *>(QStringLiteral("voiceCallButton"))->click();
    shoot("voice-hang-up");

    window.reset();
    getCom()->disconnectFromDevice();
    waitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
    getDevice()->reset(true);
    return shots;
}

const GalleryPage voicePage("voicecall", renderVoiceCall);

} // namespace
