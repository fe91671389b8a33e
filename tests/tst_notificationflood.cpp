// The screen window and the communication service while a call waits and the device floods them with notifications.

#include "tests/screentesting.h"

#include <QtTest>

using namespace screentesting;

class TestNotificationFlood : public QObject
{
    Q_OBJECT

private slots:
    void floodWhileACallWaits();
};

// A device that floods while calls wait: the level snapshots held come down to the newest, the other messages to
// the last that fit in each holding place, in the order sent, and the meters show the newest levels once the call
// returns. The second call comes right after the first, so that the window still holds what the first left it.
void TestNotificationFlood::floodWhileACallWaits()
{
    ScreenRig rig;
    QVERIFY(rig.startSetUp());
    rig.window->setupTimer()->stop();
    rig.window->keepAliveTimer()->stop();
    SpyPage *spy = rig.showSpy();
    const int cap = RpcNotificationQueue::MaxMessages;
    const auto frame
        = [](const QByteArray &text) { return RpcConnection::encode(RpcMessage::notification(body(text))); };
    // Battery reports, numbered, carry the order of the other messages.
    const auto report
        = [&](int n) { return frame("INFO;info_type:battery_level;remaining:" + QByteArray::number(n) + ";"); };
    const QByteArray older = frame("EVENT;event_type:audio_levels;in1:-1;in2:-2;ou7:-3;");
    const QByteArray newest = frame("EVENT;event_type:audio_levels;in1:-19;in2:-62;ou7:-24;");
    // 200,000 snapshots with a report after every 80 of them.
    SimDevice::Fault first = fault(SimDevice::Fault::Flood, 202500, "flood1");
    first.flood = [&](int i) { return i % 81 == 80 ? report(1000 + i / 81) : i == 202498 ? newest : older; };
    SimDevice::Fault second = fault(SimDevice::Fault::Flood, cap + cap / 2, "flood2");
    second.flood = [&](int i) { return report(3500 + i); };
    rig.device.addFault(first);
    rig.device.addFault(second);
    const auto range = [](int from, int to) {
        QList<int> numbers;
        for (int n = from; n < to; ++n)
            numbers << n;
        return numbers;
    };

    QList<int> passedOn; // by the connection
    int snapshotsPassedOn = 0;
    QList<int> handled; // by the window
    int mostHeld = 0;
    QObject context;
    connect(getCom(), &kra::CCom::messageReceived, &context, [&](const RpcMessage &message) {
        if (const std::string *remaining = message.body().param("remaining"))
            passedOn << std::stoi(*remaining);
        else
            ++snapshotsPassedOn;
    });
    connect(getDevice(), &TComDevice::deviceStateChanged, &context, [&](TComDevice::DeviceState state) {
        if (state == TComDevice::BatteryChanged)
            handled << getDevice()->batteryRemaining();
    });
    QTimer sample;
    connect(&sample, &QTimer::timeout, &context,
        [&] { mostHeld = qMax(mostHeld, getCom()->connection().heldNotifications()); });
    sample.start(5);
    // For each call the connection reports the overflow, and the count when it delivers; the window reports once.
    for (int i = 0; i < 2; ++i) {
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("notifyErrorOccurred.*error=-11"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("deliverQueuedMessages.*dropped="));
    }
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QVexmarWindow::messageReceived.*the oldest are dropped"));
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);

    request.addGet("flood1");
    TComRpcAccess(getCom()).execute(request, 120000);
    // The newest snapshot and the reports that fit beside it, in order; the window handles them after the call.
    QCOMPARE(spy->only({"levels"}).last(), "levels -19 -62" + QByteArray(" 99").repeated(28) + " -24");
    QCOMPARE(snapshotsPassedOn, 1);
    QCOMPARE(passedOn, range(3500 - (cap - 1), 3500));
    QVERIFY(handled.isEmpty());
    QCOMPARE(rig.window->deferredMessages(), cap - 1);

    // Right after: the window still holds the first call's reports when the second's come, and the oldest go.
    request.getNames = {"flood2"};
    TComRpcAccess(getCom()).execute(request, 120000);
    QCOMPARE(passedOn.mid(cap - 1), range(3500 + cap / 2, 3500 + cap + cap / 2));
    QCOMPARE(rig.window->deferredMessages(), cap);
    QTRY_COMPARE(handled, range(3500 + cap / 2, 3500 + cap + cap / 2));
    QVERIFY2(mostHeld > cap / 2 && mostHeld <= cap, QByteArray::number(mostHeld));
}

QTEST_MAIN(TestNotificationFlood)
#include "tst_notificationflood.moc"
