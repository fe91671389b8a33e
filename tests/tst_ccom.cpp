// The communication service against the simulated device: synchronous calls, the rebuilt replies, the "db"
// store, the UDP level filter, and the accessor's one instance.

#include "device/accessors.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "tests/peers/simdevice.h"
#include "tests/rpctesting.h"

#include <QApplication>
#include <QTimer>
#include <QUdpSocket>
#include <QWidget>
#include <QtTest>
#include <qpa/qwindowsysteminterface.h>

using namespace rpctesting;

namespace {

class PressCounter final : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

quint16 freeUdpPort()
{
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return socket.localPort();
}

} // namespace

class TestCCom : public QObject
{
    Q_OBJECT

private slots:
    void syncCallInsideNotificationReceiver();
    void init();
    void cleanup();

    void refusedConnections_data();
    void refusedConnections();
    void notConnectedFailsAtOnce();
    void timeoutInWholeSeconds_data();
    void timeoutInWholeSeconds();
    void rebuiltReplies_data();
    void rebuiltReplies();
    void partialRefusal_data();
    void partialRefusal();
    void nokNeverReachesTheReply();
    void signalsAroundTheWait();
    void nestedCallsAndUserInputWait();
    void waitEndsOnTimeoutAndDrop();
    void dbStore();
    void udpOnlyPassesAudioLevels();
    void disconnectInsideLevelNotification();
    void accessorIsOneInstance();

private:
    bool connectCom()
    {
        return m_com->connectToDevice(m_device->host(), m_device->port(), 0)
            && QTest::qWaitFor([this] { return m_com->state() == RpcConnection::ConnectedState; });
    }

    SimDevice *m_device = nullptr;
    kra::CCom *m_com = nullptr;
    SimDevice m_exitDevice;
};

void TestCCom::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_com = new kra::CCom;
}

void TestCCom::cleanup()
{
    delete m_com;
    delete m_device;
}

void TestCCom::syncCallInsideNotificationReceiver()
{
    // A receiver that waits for a call of its own while the connection is handing it a notification: the reply
    // and the notification that follows must both get through, in order, before the call's time-out.
    m_device->setParam("general", "name", "codec");
    QVERIFY(connectCom());
    int result = 1;
    kra::CMsg reply;
    QStringList seen;
    connect(m_com, &kra::CCom::messageReceived, this, [&](const RpcMessage &message) {
        seen << QString::fromStdString(*message.body().param("info_type", true));
        if (seen.size() == 1)
            result = m_com->sendSyncMsg(body("PARAM;target:general;GET:name;"), reply, 0, 2000);
    });
    QElapsedTimer clock;
    clock.start();
    m_device->notify(body("INFO;info_type:first;"));
    m_device->notify(body("INFO;info_type:second;"));
    QTRY_COMPARE(seen.size(), 2);
    QCOMPARE(result, int(RpcConnection::NoError));
    QVERIFY(clock.elapsed() < 1500);
    QCOMPARE(*reply.param("name", true), std::string("codec"));
    QCOMPARE(seen, (QStringList {"first", "second"}));
}

void TestCCom::refusedConnections_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");

    QTest::newRow("host name") << "localhost" << 7001;
    QTest::newRow("IPv6") << "::1" << 7001;
    QTest::newRow("port 0") << "127.0.0.1" << 0;
    QTest::newRow("empty") << "" << 7001;
}

void TestCCom::refusedConnections()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QSignalSpy states(m_com, &kra::CCom::stateChanged);
    QVERIFY(!m_com->connectToDevice(host, quint16(port), 0));
    QVERIFY(!m_com->connection().isActive());
    QVERIFY(!states.wait(100));
    // One connection at a time.
    QVERIFY(connectCom());
    QVERIFY(!m_com->connectToDevice(m_device->host(), m_device->port(), 0));
}

void TestCCom::notConnectedFailsAtOnce()
{
    QSignalSpy busy(m_com, &kra::CCom::busyStateChanged);
    QSignalSpy completed(m_com, &kra::CCom::sendSyncMsgCompleted);
    kra::CMsg reply = body("PARAM;kept:1;");
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 5000), int(RpcConnection::NotConnectedError));
    QCOMPARE(describe(reply), QByteArray("PARAM|kept=1"));
    QCOMPARE(m_com->sendMsg(body("DO;action:x;"), 0), -1);
    QCOMPARE(busy.count(), 0);
    QCOMPARE(completed.count(), 0);
    QVERIFY(m_com->isReady());
}

void TestCCom::timeoutInWholeSeconds_data()
{
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<qint64>("callTimeout");

    QTest::newRow("300") << 300 << qint64(5000);
    QTest::newRow("1000") << 1000 << qint64(1000);
    QTest::newRow("1999") << 1999 << qint64(1000);
    QTest::newRow("15000") << 15000 << qint64(15000);
    QTest::newRow("0") << 0 << qint64(5000);
    QTest::newRow("negative") << -1 << qint64(5000);
}

void TestCCom::timeoutInWholeSeconds()
{
    QFETCH(int, timeoutMs);
    QFETCH(qint64, callTimeout);

    QVERIFY(connectCom());
    qint64 seen = 0;
    // The device hears the request while the call waits: its time-out is readable there.
    connect(m_device, &SimDevice::requestReceived, this,
        [&](const RpcMessage &request) { seen = m_com->connection().pendingCall(request.id()).timeout(); });
    kra::CMsg reply;
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, timeoutMs), int(RpcConnection::NoError));
    QCOMPARE(seen, callTimeout);
}

void TestCCom::rebuiltReplies_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("errorParams");

    QTest::newRow("GET with a value not set")
        << QByteArray("PARAM;GET:a;GET:b;") << QByteArrayList {"PARAM;return:OK;a:1;b:101-parameter not set;"}
        << QByteArray("none|a=1|b=|return=OK") << QByteArray();
    QTest::newRow("empty values stay") << QByteArray("PARAM;GET:a;") << QByteArrayList {"PARAM;return:OK;a:;"}
                                       << QByteArray("none|a=|return=OK") << QByteArray();
    QTest::newRow("bare transport ERROR stays ERROR")
        << QByteArray("PARAM;GET:a;") << QByteArrayList {"PARAM;return:ERROR;"} << QByteArray("none|return=ERROR")
        << QByteArray();
    QTest::newRow("ERROR with an unknown text stays ERROR")
        << QByteArray("PARAM;GET:a;") << QByteArrayList {"PARAM;return:ERROR;a:broken;"}
        << QByteArray("none|a=broken|return=ERROR") << QByteArray();
    QTest::newRow("DO passes through") << QByteArray("DO;action:x;")
                                       << QByteArrayList {"DO;return:OK;cause:none;v:115-resource busy;"}
                                       << QByteArray("none|cause=none|return=OK|v=115-resource busy") << QByteArray();
    QTest::newRow("DO keeps its own return")
        << QByteArray("DO;action:x;") << QByteArrayList {"DO;return:ERROR;cause:115-resource busy;"}
        << QByteArray("none|cause=115-resource busy|return=ERROR") << QByteArray();
    QTest::newRow("error text in a PARAM reply")
        << QByteArray("PARAM;a:1;b:2;") << QByteArrayList {"PARAM;return:OK;a:1;b:115-resource busy;"}
        << QByteArray("none|a=1|return=PROGRESS") << QByteArray("none|b=115-resource busy|return=ERROR");
}

void TestCCom::rebuiltReplies()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, replies);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, errorParams);

    QVERIFY(connectCom());
    m_device->addFault(script(replies));
    kra::CMsg out;
    QCOMPARE(m_com->sendSyncMsg(body(request), out, 0, 5000), int(RpcConnection::NoError));
    QCOMPARE(describe(out), reply);
    kra::CMsg errors = body("PARAM;untouched:1;");
    QCOMPARE(m_com->getErrorParams(errors, 0), errorParams.isEmpty() ? -1 : 0);
    QCOMPARE(describe(errors), errorParams.isEmpty() ? QByteArray("PARAM|untouched=1") : errorParams);
}

void TestCCom::partialRefusal_data()
{
    QTest::addColumn<QString>("cause");
    QTest::newRow("set error") << QString::fromStdString(kra::ERR_PARAMETER_SET_ERROR);
    QTest::newRow("unknown error") << QString::fromStdString(kra::ERR_UNKNOWN_ERROR);
}

void TestCCom::partialRefusal()
{
    QFETCH(QString, cause);
    m_device->refuseKey("b", cause.toStdString());
    QVERIFY(connectCom());

    kra::CMsg reply;
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;target:audio;a:1;b:2;c:3;"), reply, 0, 5000), int(RpcConnection::NoError));
    QCOMPARE(describe(reply), QByteArray("none|return=PROGRESS"));
    kra::CMsg errors;
    QCOMPARE(m_com->getErrorParams(errors, 0), 0);
    QCOMPARE(describe(errors), "none|b=" + cause.toLatin1() + "|return=ERROR");
    QCOMPARE(m_device->param("audio", "a"), std::string("1"));
    QVERIFY(!m_device->hasParam("audio", "b"));

    m_com->initialize("ui", "quorvane_ui");
    QCOMPARE(m_com->setParams({{"a", "1"}, {"b", "2"}}, 5000), -1);
    QCOMPARE(m_device->param("db:ui:quorvane_ui", "a"), std::string("1"));
}

void TestCCom::nokNeverReachesTheReply()
{
    QVERIFY(connectCom());
    SimDevice::Fault nok = fault(SimDevice::Fault::Nok);
    nok.cause = kra::ERR_RESOURCE_BUSY;
    m_device->addFault(nok);
    QTest::ignoreMessage(QtCriticalMsg,
        QRegularExpression(QStringLiteral("notifyErrorOccurred.*error=%1").arg(int(RpcConnection::BodyError))));
    kra::CMsg reply = body("DO;old:1;");
    QCOMPARE(m_com->sendSyncMsg(body("DO;action:start;"), reply, 0, 5000), int(RpcConnection::BodyError));
    QCOMPARE(describe(reply), QByteArray("none"));
}

// Busy around the wait; notifications that came in meanwhile follow right after the reply.
void TestCCom::signalsAroundTheWait()
{
    m_device->setParam("general", "a", "1");
    QVERIFY(connectCom());
    QStringList seen;
    connect(m_com, &kra::CCom::busyStateChanged, this,
        [&](bool busy) { seen << QStringLiteral("busy %1 ready %2").arg(busy).arg(m_com->isReady()); });
    connect(m_com, &kra::CCom::messageCompleted, this, [&](const RpcMessage &) { seen << "completed"; });
    connect(m_com, &kra::CCom::messageReceived, this,
        [&](const RpcMessage &m) { seen << QString::fromStdString(*m.body().param("n", true)); });
    connect(m_com, &kra::CCom::sendSyncMsgCompleted, this, [&] { seen << "done"; });
    SimDevice::Fault f = fault(SimDevice::Fault::Delay, 100);
    f.before = {body("INFO;n:1;"), body("EVENT;n:2;")};
    m_device->addFault(f);
    kra::CMsg reply;
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 5000), int(RpcConnection::NoError));
    QCOMPARE(seen, (QStringList {"busy 1 ready 1", "completed", "1", "2", "busy 0 ready 1", "done"}));
    QCOMPARE(describe(reply), QByteArray("none|a=1|return=OK"));
}

// While a call waits, a nested call or send from a timer is refused at once and user input waits for the reply.
void TestCCom::nestedCallsAndUserInputWait()
{
    PressCounter widget;
    widget.resize(200, 200);
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    m_device->setParam("general", "a", "outer");
    QVERIFY(connectCom());
    m_device->addFault(fault(SimDevice::Fault::Delay, 300));
    int nested = 1;
    int nestedSend = 1;
    bool ready = true;
    bool posted = false;
    int pressesDuringWait = -1;
    QTimer::singleShot(50, this, [&] {
        ready = m_com->isReady();
        kra::CMsg inner;
        nested = m_com->sendSyncMsg(body("PARAM;GET:a;"), inner, 0, 5000);
        nestedSend = m_com->sendMsg(body("DO;action:x;"), 0);
        // Queued like a real click from the window system.
        posted = QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
            widget.windowHandle(), QPointF(20, 20), widget.mapToGlobal(QPoint(20, 20)), Qt::LeftButton, Qt::LeftButton,
            QEvent::MouseButtonPress);
    });
    connect(m_com, &kra::CCom::messageCompleted, this, [&](const RpcMessage &) { pressesDuringWait = widget.presses; });
    kra::CMsg reply;
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 5000), int(RpcConnection::NoError));
    QCOMPARE(nested, -1);
    QCOMPARE(nestedSend, -1);
    QVERIFY(!ready);
    QCOMPARE(describe(reply), QByteArray("none|a=outer|return=OK"));
    QCOMPARE(m_device->requests().count(), 1);
    QVERIFY(posted);
    QCOMPARE(pressesDuringWait, 0);
    QCOMPARE(widget.presses, 0);
    // Once the call is over the same click arrives, and sending works again.
    QTRY_COMPARE(widget.presses, 1);
    QVERIFY(m_com->isReady());
    QCOMPARE(m_com->sendMsg(body("DO;action:x;"), 0), 0);
    QTRY_COMPARE(m_device->requests().count(), 2);
    QCOMPARE(m_device->requests().last().id(), RpcMessage::NoId);
}

void TestCCom::waitEndsOnTimeoutAndDrop()
{
    QVERIFY(connectCom());
    m_device->addFault(fault(SimDevice::Fault::Silence));
    kra::CMsg reply;
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 1000), int(RpcConnection::TimeoutError));
    m_device->addFault(fault(SimDevice::Fault::ErrorReply, 321));
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 1000), 321);
    m_device->addFault(fault(SimDevice::Fault::Drop));
    QCOMPARE(m_com->sendSyncMsg(body("PARAM;GET:a;"), reply, 0, 5000), int(RpcConnection::CancelledError));
    QCOMPARE(describe(reply), QByteArray("none"));
}

void TestCCom::dbStore()
{
    QVERIFY(connectCom());
    std::map<std::string, std::string> values;
    QCOMPARE(m_com->setParams({}, 5000), 0);
    QCOMPARE(m_com->getParams({}, values, 5000), 0);
    QCOMPARE(m_com->setParams({{"level", "2"}}, 5000), -1);
    QCOMPARE(m_com->getParams({"level"}, values, 5000), -1);
    QCOMPARE(m_device->requests().count(), 0);

    QCOMPARE(m_com->initialize("ui", "quorvane_ui"), 0);
    QCOMPARE(m_com->setParams({{"level", "2"}, {"password", "x"}}, 5000), 0);
    QCOMPARE(m_device->param("db:ui:quorvane_ui", "level"), std::string("2"));
    QCOMPARE(describe(m_device->requests().last().body()),
        QByteArray("PARAM|cat=ui|controller_id=quorvane_ui|level=2|password=x|target=db|type=quorvane_ui"));

    values = {{"level", "old"}};
    QCOMPARE(m_com->getParams({"level", "password", "missing"}, values, 5000), 0);
    QCOMPARE(values, (std::map<std::string, std::string> {{"level", "old"}, {"missing", ""}, {"password", "x"}}));

    m_device->refuseKey("level", kra::ERR_INVALID_VALUE);
    QCOMPARE(m_com->setParams({{"level", "9"}}, 5000), -1);
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QCOMPARE(m_com->getParams({"level"}, values, 1000), int(RpcConnection::TimeoutError));
    // An error reply's code is positive; the store still reports a failure.
    for (const int code : {1, 7}) {
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, code));
        QCOMPARE(m_com->setParams({{"level", "3"}}, 5000), -1);
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, code));
        values.clear();
        QCOMPARE(m_com->getParams({"level"}, values, 5000), -1);
        QVERIFY(values.empty());
    }
}

void TestCCom::udpOnlyPassesAudioLevels()
{
    const quint16 udpPort = freeUdpPort();
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), udpPort));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    QSignalSpy received(m_com, &kra::CCom::messageReceived);

    QVERIFY(m_device->sendDatagram(udpPort, RpcMessage::notification(body("EVENT;event_type:reinit;"))));
    QVERIFY(m_device->sendDatagram(udpPort, RpcMessage::notification(body("INFO;event_type:audio_levels;"))));
    QVERIFY(m_device->sendDatagram(udpPort, RpcMessage::request(body("EVENT;event_type:audio_levels;"))));
    QVERIFY(m_device->sendDatagram(udpPort, QByteArray("not a frame at all, not even close")));
    const QByteArray cut = RpcConnection::encode(RpcMessage::notification(body("EVENT;event_type:audio_levels;")));
    QVERIFY(m_device->sendDatagram(udpPort, cut.left(cut.size() - 1)));
    QVERIFY(m_device->sendDatagram(udpPort, RpcMessage::notification(body("EVENT;event_type:audio_levels;in:1,2;"))));
    QVERIFY(received.wait(2000));
    QVERIFY(!received.wait(200));
    QCOMPARE(received.count(), 1);
    QCOMPARE(describe(received.first().first().value<RpcMessage>().body()),
        QByteArray("EVENT|event_type=audio_levels|in=1,2"));

    m_com->disconnectFromDevice();
    QTRY_COMPARE(m_com->state(), RpcConnection::UnconnectedState);
    QVERIFY(m_device->sendDatagram(udpPort, RpcMessage::notification(body("EVENT;event_type:audio_levels;"))));
    QVERIFY(!received.wait(200));
}

// A receiver that ends the connection on a level notification runs inside the UDP socket's own signal: the socket
// must outlive that signal, and its port must be free again for the next connection.
void TestCCom::disconnectInsideLevelNotification()
{
    const quint16 udpPort = freeUdpPort();
    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), udpPort));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    int levels = 0;
    connect(m_com, &kra::CCom::messageReceived, this, [&](const RpcMessage &) {
        if (++levels == 1)
            m_com->disconnectFromDevice();
    });
    const RpcMessage level = RpcMessage::notification(body("EVENT;event_type:audio_levels;"));
    QVERIFY(m_device->sendDatagram(udpPort, level));
    QVERIFY(m_device->sendDatagram(udpPort, level));
    QTRY_COMPARE(m_com->state(), RpcConnection::UnconnectedState);
    QCOMPARE(levels, 1);

    QVERIFY(m_com->connectToDevice(m_device->host(), m_device->port(), udpPort));
    QTRY_COMPARE(m_com->state(), RpcConnection::ConnectedState);
    QVERIFY(m_device->sendDatagram(udpPort, level));
    QTRY_COMPARE(levels, 2);
}

void TestCCom::accessorIsOneInstance()
{
    kra::CCom *com = getCom();
    QVERIFY(com);
    QCOMPARE(getCom(), com);
    QVERIFY(!com->parent());
    // Left connected on purpose: the application object goes first, and the exit must stay clean.
    QVERIFY(m_exitDevice.listen());
    QVERIFY(com->connectToDevice(m_exitDevice.host(), m_exitDevice.port(), freeUdpPort()));
    QTRY_COMPARE(com->state(), RpcConnection::ConnectedState);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestCCom test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ccom.moc"
