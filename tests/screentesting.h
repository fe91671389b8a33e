#pragma once

// The screen window against the simulated device: the codec with its audio section and AES67 module, the
// process-wide services connected to it, a page that writes down what the window tells it, and the colours of
// the status bar's line indicators read back as call-state codes.

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "tests/peers/simdevice.h"
#include "tests/pixeltesting.h"
#include "tests/rpctesting.h"
#include "widgets/vexmarinterfaces.h"

#include <QPointer>
#include <QStackedLayout>
#include <QtTest>

#include <memory>

namespace screentesting {

using rpctesting::body;
using rpctesting::fault;

// Every call the window makes on the visible page, as a line: "<operation> <arguments>".
class SpyPage : public QWidget, public IVexmarAudioLevels, public IVexmarStatusPanel
{
public:
    QByteArrayList calls;

    // The calls whose operation is one of these, in order.
    QByteArrayList only(const QByteArrayList &operations) const
    {
        QByteArrayList picked;
        for (const QByteArray &call : calls) {
            if (operations.contains(call.left(call.indexOf(' '))))
                picked << call;
        }
        return picked;
    }

    void setAudioLevels(const int *levels, int count, bool refresh) override
    {
        QByteArray line = "levels" + QByteArray(refresh ? " refresh" : "");
        for (int i = 0; i < count; ++i)
            line += " " + QByteArray::number(levels[i]);
        calls << line;
    }
    void setBatteryInfo(int level, int status, int remaining) override { add("battery", {level, status, remaining}); }
    void setNetworkType(int type, int index) override
    {
        calls << "networkType 0x" + QByteArray::number(type, 16) + " " + QByteArray::number(index);
    }
    void setCodecState(int codec, int channelMode) override { add("codecState", {codec, channelMode}); }
    void setCodecDescription(int codec, const QString &text) override
    {
        calls << "description " + QByteArray::number(codec) + " " + text.toUtf8();
    }
    void setNetworkUp(bool up) override { add("networkUp", {up}); }
    void setNetworkInfo(int controllerState, int signalBars) override
    {
        add("networkInfo", {controllerState, signalBars});
    }
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override
    {
        add("codecLevels", {codec, txLeft, txRight, rxLeft, rxRight, refresh});
    }
    void setCallText(int codec, const QString &text) override
    {
        calls << "callText " + QByteArray::number(codec) + " " + text.toUtf8();
    }
    void setCallState(int codec, int code) override { add("callState", {codec, code}); }
    void setLineEnabled(int codec, int line, bool on) override { add("line", {codec, line, on}); }
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override
    {
        add("quality", {codec, line, transmitQuality, receiveQuality});
    }
    void setSipState(int codec, int account, int state) override { add("sip", {codec, account, state}); }
    const QString &callPanelText(int, int) override
    {
        static const QString none;
        return none;
    }
    void setCallPanelText(int codec, const QString &text, int family) override
    {
        calls << "panelText " + QByteArray::number(codec) + " " + text.toUtf8() + " " + QByteArray::number(family);
    }
    void resetCallPanel(int codec) override { add("resetPanel", {codec}); }

private:
    void add(const char *operation, std::initializer_list<int> values)
    {
        QByteArray line = operation;
        for (int value : values)
            line += " " + QByteArray::number(value);
        calls << line;
    }
};

// The call-state code a line indicator of the status bar shows by its colour; -1 for another colour.
inline int indicatorCode(QVexmarStatusBar *bar, const char *name)
{
    auto *indicator = bar->findChild<QWidget *>(QLatin1String(name));
    const QRgb face = pixelAt(indicator->grab().toImage(), 2, indicator->height() / 2);
    const QRgb colours[] = {rgb(127, 127, 127), rgb(170, 255, 170), rgb(0, 255, 0), rgb(255, 255, 0), rgb(255, 0, 0),
        rgb(240, 101, 101), rgb(234, 177, 102)};
    for (int code = 0; code < 7; ++code) {
        if (face == colours[code])
            return code;
    }
    return -1;
}

// "S1 S2 Vo" as their three codes.
inline QByteArray barCodes(QVexmarStatusBar *bar)
{
    QByteArrayList codes;
    for (const char *name : {"s1Indicator", "s2Indicator", "voiceIndicator"})
        codes << QByteArray::number(indicatorCode(bar, name));
    return codes.join(' ');
}

class ScreenRig
{
public:
    ScreenRig()
    {
        qRegisterMetaType<RpcConnection::ConnectionState>();
        device.loadSetup(SimDevice::codecSetup());
        device.loadSetup(SimDevice::audioSetup());
        device.loadSetup(SimDevice::ravennaSetup());
        QObject::connect(&device, &SimDevice::requestReceived,
            [this](const RpcMessage &request) { log << describe(request.body()); });
    }

    ~ScreenRig()
    {
        // The window disconnects the service and resets the model as it goes.
        window.reset();
        getCom()->disconnectFromDevice();
    }

    bool start()
    {
        if (!device.listen())
            return false;
        window = std::make_unique<QVexmarWindow>();
        return connect();
    }

    bool connect()
    {
        if (!getCom()->connectToDevice(device.host(), device.port(), 0))
            return false;
        return waitConnected();
    }

    bool waitConnected()
    {
        QSignalSpy states(getCom(), &kra::CCom::stateChanged);
        for (int i = 0; i < 100 && (getCom()->state() != RpcConnection::ConnectedState || device.clientCount() != 1);
             ++i)
            states.wait(50);
        return getCom()->state() == RpcConnection::ConnectedState && device.clientCount() == 1;
    }

    // Connected, on the home page, the first set-up over and the log empty.
    bool startSetUp()
    {
        if (!start())
            return false;
        window->pageActivated(QVexmar::HomePage);
        window->startInitialization();
        takeFrames();
        return getDevice()->isReady() && window->setupTimer()->isActive();
    }

    // A page that records what the window tells the visible page; the window owns it.
    SpyPage *showSpy()
    {
        auto *spy = new SpyPage;
        window->pageStack()->addWidget(spy);
        window->pageStack()->setCurrentWidget(spy);
        return spy;
    }

    QByteArrayList takeFrames() { return std::exchange(log, {}); }

    // The device's request log once a request of the test's own has been answered: everything sent before it has
    // arrived. That request is left out.
    QByteArrayList framesAfterRoundTrip()
    {
        kra::CMsg probe(kra::CMsg::Param);
        probe.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
        probe.addGet("round_trip");
        TComRpcAccess(getCom()).execute(probe, 5000);
        QByteArrayList frames = takeFrames();
        if (!frames.isEmpty() && frames.last() == "PARAM|target=general|GET round_trip")
            frames.removeLast();
        return frames;
    }

    // Plays the bodies, then a last one whose effect tells that the window has handled them all: the battery's
    // remaining minutes, a number no other message gives.
    bool deliver(const QByteArrayList &bodies)
    {
        std::vector<kra::CMsg> messages;
        for (const QByteArray &text : bodies)
            messages.push_back(body(text));
        static int marker = 5000;
        ++marker;
        messages.push_back(body("INFO;info_type:battery_level;remaining:" + QByteArray::number(marker) + ";"));
        device.play(messages);
        for (int i = 0; i < 250 && getDevice()->batteryRemaining() != marker; ++i)
            QTest::qWait(20);
        return getDevice()->batteryRemaining() == marker;
    }

    SimDevice device;
    std::unique_ptr<QVexmarWindow> window;
    QByteArrayList log;
};

} // namespace screentesting
