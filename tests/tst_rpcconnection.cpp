// The client connection against the simulated device, over real loopback sockets.

#include "rpcconnection.h"
#include "rpctesting.h"
#include "rpcvocabulary.h"
#include "simdevice.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

using namespace rpctesting;

namespace {

class ProbeConnection : public RpcClientConnection
{
public:
    using RpcClientConnection::setLastId;
    using RpcClientConnection::timer;
};

QByteArray header(quint32 total, quint32 id, quint32 kind, quint32 aux)
{
    QByteArray out("VORNRpcM");
    out.resize(24);
    qToLittleEndian<quint32>(total, out.data() + 8);
    qToLittleEndian<quint32>(id, out.data() + 12);
    qToLittleEndian<quint32>(kind, out.data() + 16);
    qToLittleEndian<quint32>(aux, out.data() + 20);
    return out;
}

QByteArray notificationFrame(const QByteArray &text)
{
    return RpcConnection::encode(RpcMessage::notification(body(text)));
}

SimDevice::Fault fault(SimDevice::Fault::Kind kind, int value = 0)
{
    SimDevice::Fault f;
    f.kind = kind;
    f.value = value;
    return f;
}

QList<int> errorsOf(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out.append(int(args.first().value<RpcConnection::ConnectionError>()));
    return out;
}

} // namespace

class TestRpcConnection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void stateSequenceOnConnect();
    void failuresBeforeSending_data();
    void failuresBeforeSending();
    void replies_data();
    void replies();
    void deviceProgress_data();
    void deviceProgress();
    void errorReplyCarriesPeerCode_data();
    void errorReplyCarriesPeerCode();
    void bodilessFrames_data();
    void bodilessFrames();
    void splitAndCoalescedFrames();
    void unknownAndLateIdsAreIgnored();
    void receiverRunningAnEventLoop();
    void timeoutBetweenTwoAndThreeSeconds();
    void heldNotifications_data();
    void heldNotifications();
    void heldNotificationsDiscardedOnDrop();
    void requestsFromPeerAreNotHeld();
    void closeAndCancelFailPendingCalls();
    void watcherSignalsBeforeCompletion();
    void reconnectsEveryTenTicks();
    void idWrapsToZero();
    void badMagicLeavesDecoderDeaf();
    void oversizedLengthIsRefused();
    void delegateCallRunsSteps();

private:
    SimDevice *m_device = nullptr;
    ProbeConnection *m_client = nullptr;
};

void TestRpcConnection::init()
{
    m_device = new SimDevice;
    QVERIFY(m_device->listen());
    m_client = new ProbeConnection;
}

void TestRpcConnection::cleanup()
{
    delete m_client;
    delete m_device;
}

void TestRpcConnection::stateSequenceOnConnect()
{
    QSignalSpy states(m_client, &RpcConnection::stateChanged);
    m_client->connectToHost(m_device->host(), m_device->port());
    QTRY_COMPARE(states.count(), 3);
    QCOMPARE(states.at(0).first().toInt(), 2);
    QCOMPARE(states.at(1).first().toInt(), 0);
    QCOMPARE(states.at(2).first().toInt(), 3);
    QCOMPARE(m_client->address(), m_device->host());
    QCOMPARE(m_client->port(), m_device->port());
}

void TestRpcConnection::failuresBeforeSending_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("frameKind");
    QTest::addColumn<int>("bodyKind");
    QTest::addColumn<int>("error");

    QTest::newRow("not connected") << false << 1 << 1 << -3;
    QTest::newRow("not a request") << true << 4 << 1 << -2;
    QTest::newRow("body cannot be written") << true << 1 << 0 << -7;
}

void TestRpcConnection::failuresBeforeSending()
{
    QFETCH(bool, connected);
    QFETCH(int, frameKind);
    QFETCH(int, bodyKind);
    QFETCH(int, error);

    if (connected)
        QVERIFY(connectTo(*m_client, *m_device));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    kra::CMsg request(bodyKind);
    request.addGet("name");
    const RpcAsyncCall call = m_client->call(RpcMessage(RpcMessage::NoId, 0, frameKind, request), 5);
    QCOMPARE(call.error(), error);
    QVERIFY(!call.isFinished());
    QCOMPARE(call.message().aux(), -1);
    QCOMPARE(m_client->pendingCall(call.id()).id(), RpcMessage::NoId);
    // Nothing reaches the device, nothing is signalled.
    QVERIFY(!completed.wait(200));
    QCOMPARE(errors.count(), 0);
    QCOMPARE(m_device->requests().count(), 0);
}

void TestRpcConnection::replies_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArrayList>("replies");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("aux");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QList<int>>("errors");

    const QByteArray list("PARAM;target:network;LIST:list;");
    QTest::newRow("LIST parts joined by ','")
        << list
        << QByteArrayList {"PARAM;return:PROGRESS;list:a;", "PARAM;return:PROGRESS;list:b;", "PARAM;return:OK;list:c;"}
        << 2 << 0 << QByteArray("1|list=a,b,c|return=OK") << QList<int> {};
    QTest::newRow("LIST parts joined by 0x1D with EXT")
        << list
        << QByteArrayList {"PARAM;return:PROGRESS;returnFmt:EXT;list:a;", "PARAM;return:PROGRESS;returnFmt:EXT;list:b;",
               "PARAM;return:OK;returnFmt:EXT;list:c;"}
        << 2 << 0
        << QByteArray("1|list=a\x1d"
                      "b\x1d"
                      "c|return=OK|returnFmt=EXT")
        << QList<int> {};
    QTest::newRow("GET parts keep the first value")
        << QByteArray("PARAM;target:network;GET:list;")
        << QByteArrayList {"PARAM;return:PROGRESS;list:a;", "PARAM;return:PROGRESS;list:b;", "PARAM;return:OK;list:c;"}
        << 2 << 0 << QByteArray("1|list=a|return=OK") << QList<int> {};
    QTest::newRow("ERROR of 'not set' only is OK")
        << QByteArray("PARAM;GET:a;GET:b;")
        << QByteArrayList {"PARAM;return:ERROR;a:101-parameter not set;b:101-parameter not set;"} << 2 << 0
        << QByteArray("1|a=|b=|return=OK") << QList<int> {};
    QTest::newRow("ERROR with a real error")
        << QByteArray("PARAM;GET:a;GET:b;")
        << QByteArrayList {"PARAM;return:ERROR;a:101-parameter not set;b:103-parameter set error;"} << 2 << 0
        << QByteArray("1|a=|b=103-parameter set error|return=ERROR") << QList<int> {};
    QTest::newRow("bare ERROR stays ERROR") << QByteArray("PARAM;GET:a;") << QByteArrayList {"PARAM;return:ERROR;"} << 2
                                            << 0 << QByteArray("1|return=ERROR") << QList<int> {};
    QTest::newRow("ERROR keeps values of earlier parts")
        << QByteArray("PARAM;GET:a;GET:b;")
        << QByteArrayList {"PARAM;return:PROGRESS;a:1;", "PARAM;return:ERROR;a:2;b:101-parameter not set;"} << 2 << 0
        << QByteArray("1|a=1|b=|return=ERROR") << QList<int> {};
    QTest::newRow("reply body kind is the reply's")
        << QByteArray("DO;action:x;") << QByteArrayList {"DO;return:OK;v:1;"} << 2 << 0 << QByteArray("2|return=OK|v=1")
        << QList<int> {};
    QTest::newRow("NOK fails with -10") << QByteArray("DO;action:x;")
                                        << QByteArrayList {"DO;return:NOK;cause:115-resource busy;"} << 3 << -10
                                        << QByteArray("0") << QList<int> {-10};
    QTest::newRow("missing return fails with -10")
        << QByteArray("DO;action:x;") << QByteArrayList {"DO;v:1;"} << 3 << -10 << QByteArray("0") << QList<int> {-10};
    QTest::newRow("unparsable reply fails with -10")
        << QByteArray("DO;action:x;") << QByteArrayList {"HELLO;"} << 3 << -10 << QByteArray("0") << QList<int> {-10};
}

void TestRpcConnection::replies()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, replies);
    QFETCH(int, kind);
    QFETCH(int, aux);
    QFETCH(QByteArray, reply);
    QFETCH(QList<int>, errors);

    QVERIFY(connectTo(*m_client, *m_device));
    SimDevice::Fault script = fault(SimDevice::Fault::Script);
    for (const QByteArray &text : replies) {
        kra::CMsg part(7);
        if (parseBody(text.toStdString(), part) != 0) {
            // Unparsable on purpose: sent raw with the id the call will get.
            script.kind = SimDevice::Fault::Silence;
            connect(m_device, &SimDevice::requestReceived, this, [this, text](const RpcMessage &r) {
                m_device->sendRaw(header(quint32(24 + text.size()), r.id(), 2, 0) + text);
            });
            break;
        }
        script.replies.push_back(part);
    }
    m_device->addFault(script);
    QSignalSpy errorSpy(m_client, &RpcConnection::errorOccurred);
    for (int e : qAsConst(errors)) {
        QTest::ignoreMessage(QtCriticalMsg,
            qPrintable(QStringLiteral("RpcConnection::notifyErrorOccurred(address=%1:%2, error=%3)")
                           .arg(m_device->host())
                           .arg(m_device->port())
                           .arg(e)));
    }
    const RpcMessage done = callAndWait(*m_client, body(request));
    QCOMPARE(done.kind(), kind);
    QCOMPARE(done.aux(), aux);
    QCOMPARE(done.id(), 1u);
    QCOMPARE(describe(done.body()), reply);
    QCOMPARE(errorsOf(errorSpy), errors);
}

void TestRpcConnection::deviceProgress_data()
{
    QTest::addColumn<bool>("ext");
    QTest::addColumn<QByteArray>("reply");

    QTest::newRow("plain") << false << QByteArray("1|ifaces=eth.0,eth.1,wi\\,fi|name=box|return=OK");
    QTest::newRow("EXT") << true
                         << QByteArray("1|ifaces=eth.0\x1d"
                                       "eth.1\x1d"
                                       "wi,fi|name=box|return=OK|returnFmt=EXT");
}

void TestRpcConnection::deviceProgress()
{
    QFETCH(bool, ext);
    QFETCH(QByteArray, reply);

    m_device->setList("network", "ifaces", {"eth.0", "eth.1", "wi,fi"});
    m_device->setParam("network", "name", "box");
    QVERIFY(connectTo(*m_client, *m_device));
    SimDevice::Fault progress = fault(SimDevice::Fault::Progress, 2);
    progress.ext = ext;
    m_device->addFault(progress);
    const RpcMessage done = callAndWait(*m_client, body("PARAM;target:network;LIST:ifaces;GET:name;"));
    QCOMPARE(done.kind(), 2);
    QCOMPARE(describe(done.body()), reply);
}

void TestRpcConnection::errorReplyCarriesPeerCode_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("device code") << 1234;
    QTest::newRow("negative") << -6;
    QTest::newRow("extreme") << int(0x80000000);
}

void TestRpcConnection::errorReplyCarriesPeerCode()
{
    QFETCH(int, code);
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::ErrorReply, code));
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    const RpcMessage done = callAndWait(*m_client, body("PARAM;GET:a;"));
    QCOMPARE(done.kind(), 3);
    QCOMPARE(done.aux(), code);
    QCOMPARE(errors.count(), 0);
}

void TestRpcConnection::bodilessFrames_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("total");
    QTest::addColumn<int>("callAux");
    QTest::addColumn<QList<int>>("errors");

    QTest::newRow("request") << 1 << 24u << 1 << QList<int> {-10};
    QTest::newRow("reply") << 2 << 24u << -10 << QList<int> {-10};
    QTest::newRow("reply announcing less than a header") << 2 << 3u << -10 << QList<int> {-10};
    QTest::newRow("error reply is valid") << 3 << 24u << 77 << QList<int> {};
    QTest::newRow("notification") << 4 << 24u << 1 << QList<int> {-10};
    QTest::newRow("unknown kind") << 5 << 24u << 1 << QList<int> {-9};
}

void TestRpcConnection::bodilessFrames()
{
    QFETCH(int, kind);
    QFETCH(quint32, total);
    QFETCH(int, callAux);
    QFETCH(QList<int>, errors);

    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QSignalSpy errorSpy(m_client, &RpcConnection::errorOccurred);
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 0);
    QTRY_COMPARE(m_device->requests().count(), 1);
    m_device->sendRaw(header(total, call.id(), quint32(kind), 77));
    // A notification behind it shows the frame was read, and that the stream is still in step.
    m_device->notify(body("INFO;info_type:after;"));
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.first().first().value<RpcMessage>().body().params.at("info_type"), std::string("after"));
    QCOMPARE(errorsOf(errorSpy), errors);
    if (callAux == 1) {
        QVERIFY(!call.isFinished());
        QCOMPARE(completed.count(), 0);
    } else {
        QCOMPARE(completed.count(), 1);
        QCOMPARE(completed.first().first().value<RpcMessage>().aux(), callAux);
    }
}

void TestRpcConnection::splitAndCoalescedFrames()
{
    QVERIFY(connectTo(*m_client, *m_device));
    auto *socket = m_client->findChild<QTcpSocket *>();
    QVERIFY(socket);
    QSignalSpy reads(socket, &QIODevice::readyRead);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);

    const QByteArray frame = notificationFrame("EVENT;event_type:split;value:a\\;b;");
    for (int i = 0; i < frame.size(); i += 5) {
        m_device->sendRaw(frame.mid(i, 5));
        QVERIFY(reads.wait(2000));
    }
    QCOMPARE(reads.count(), (frame.size() + 4) / 5);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(describe(received.first().first().value<RpcMessage>().body()), QByteArray("4|event_type=split|value=a;b"));

    received.clear();
    reads.clear();
    const QByteArray three = notificationFrame("INFO;n:1;") + header(24, 9, 3, 0) + notificationFrame("INFO;n:2;")
        + notificationFrame("INFO;n:3;");
    m_device->sendRaw(three);
    QTRY_COMPARE(received.count(), 3);
    QCOMPARE(reads.count(), 1);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(received.at(i).first().value<RpcMessage>().body().params.at("n"), std::to_string(i + 1));
}

void TestRpcConnection::receiverRunningAnEventLoop()
{
    // A receiver that runs an event loop (a dialog, say) while later frames arrive: they are decoded once it
    // returns, in order, without waiting for more traffic; a call timed out meanwhile is still reported.
    QVERIFY(connectTo(*m_client, *m_device));
    m_client->timer()->setInterval(50);
    m_device->addFault(fault(SimDevice::Fault::Silence));
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 1);
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QStringList seen;
    connect(m_client, &RpcConnection::messageReceived, this, [&](const RpcMessage &message) {
        seen << QString::fromStdString(*message.body().param("n", true));
        if (seen.size() == 1) {
            m_device->notify(body("INFO;n:2;"));
            m_device->notify(body("INFO;n:3;"));
            QEventLoop loop;
            QTimer::singleShot(1300, &loop, &QEventLoop::quit);
            loop.exec();
            QCOMPARE(completed.count(), 1); // the time-out was seen inside the loop
        }
    });
    m_device->notify(body("INFO;n:1;"));
    QTRY_COMPARE(seen, (QStringList {"1", "2", "3"}));
    QCOMPARE(call.error(), int(RpcConnection::TimeoutError));
}

void TestRpcConnection::unknownAndLateIdsAreIgnored()
{
    QVERIFY(connectTo(*m_client, *m_device));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);

    m_device->addFault(fault(SimDevice::Fault::Silence));
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 1);
    QVERIFY(completed.wait(3000));
    QCOMPARE(completed.first().first().value<RpcMessage>().aux(), -5);
    completed.clear();

    const kra::CMsg ok = body("PARAM;return:OK;a:1;");
    m_device->sendRaw(RpcConnection::encode(RpcMessage(call.id(), 0, RpcMessage::Reply, ok)));
    m_device->sendRaw(RpcConnection::encode(RpcMessage(4711, 0, RpcMessage::Reply, ok)));
    m_device->sendRaw(header(24, 4712, 3, 5));
    m_device->notify(body("INFO;info_type:after;"));
    QVERIFY(received.wait(2000));
    QCOMPARE(completed.count(), 0);
    QCOMPARE(errors.count(), 0);
}

void TestRpcConnection::timeoutBetweenTwoAndThreeSeconds()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    QElapsedTimer clock;
    clock.start();
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 2);
    QCOMPARE(call.timeout(), 2000);
    QVERIFY(completed.wait(5000));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed > 2000 && elapsed < 3250, qPrintable(QString::number(elapsed)));
    const RpcMessage done = completed.first().first().value<RpcMessage>();
    QCOMPARE(done.kind(), 3);
    QCOMPARE(done.aux(), -5);
    QCOMPARE(call.error(), -5);
    QVERIFY(call.isFailed());
    QCOMPARE(call.errorString(), QStringLiteral("errorCode -5"));
    QCOMPARE(errors.count(), 0);
}

void TestRpcConnection::heldNotifications_data()
{
    QTest::addColumn<bool>("hold");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("held") << true << QStringList {"completed 1", "received a", "received b"};
    QTest::newRow("passed on") << false << QStringList {"received a", "received b", "completed 1"};
}

void TestRpcConnection::heldNotifications()
{
    QFETCH(bool, hold);
    QFETCH(QStringList, order);

    m_client->setHoldNotifications(hold);
    QVERIFY(connectTo(*m_client, *m_device));
    QStringList seen;
    connect(m_client, &RpcConnection::messageCompleted, this,
        [&seen](const RpcMessage &m) { seen << QStringLiteral("completed %1").arg(m.id()); });
    connect(m_client, &RpcConnection::messageReceived, this, [&seen](const RpcMessage &m) {
        seen << QStringLiteral("received ") + QString::fromStdString(*m.body().param("n", true));
    });
    SimDevice::Fault f = fault(SimDevice::Fault::Delay, 100);
    f.before = {body("INFO;n:a;"), body("EVENT;n:b;")};
    m_device->addFault(f);
    m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    QTRY_COMPARE(seen.count(), 3);
    QCOMPARE(seen, order);
    QCOMPARE(m_client->takeMessage().kind(), 0);
}

void TestRpcConnection::heldNotificationsDiscardedOnDrop()
{
    m_client->setHoldNotifications(true);
    QVERIFY(connectTo(*m_client, *m_device));
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    SimDevice::Fault f = fault(SimDevice::Fault::Drop);
    f.before = {body("INFO;n:a;")};
    m_device->addFault(f);
    m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    QTRY_COMPARE(completed.count(), 1);
    QCOMPARE(completed.first().first().value<RpcMessage>().aux(), -6);
    QCOMPARE(m_client->state(), RpcConnection::UnconnectedState);
    QVERIFY(!received.wait(200));
    QCOMPARE(m_client->takeMessage().kind(), 0);
}

void TestRpcConnection::requestsFromPeerAreNotHeld()
{
    m_client->setHoldNotifications(true);
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    QTRY_COMPARE(m_device->requests().count(), 1);
    m_device->sendRaw(RpcConnection::encode(RpcMessage::notification(body("INFO;n:held;"), 5)));
    m_device->sendRaw(RpcConnection::encode(RpcMessage::request(body("DO;action:ping;"), 8)));
    QVERIFY(received.wait(2000));
    const RpcMessage request = received.first().first().value<RpcMessage>();
    QCOMPARE(request.kind(), 1);
    QCOMPARE(request.id(), 8u);
    QCOMPARE(describe(request.body()), QByteArray("2|action=ping"));
    // The notification is still held; it can be taken out by hand.
    const RpcMessage held = m_client->takeMessage();
    QCOMPARE(held.kind(), 4);
    QCOMPARE(held.id(), 5u);
    QCOMPARE(m_client->takeMessage().kind(), 0);
}

void TestRpcConnection::closeAndCancelFailPendingCalls()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    RpcAsyncCall first = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    const RpcAsyncCall second = m_client->call(RpcMessage::request(body("PARAM;GET:b;")), 5);
    const RpcAsyncCall third = m_client->call(RpcMessage::request(body("PARAM;GET:c;")), 5);
    QTRY_COMPARE(m_device->requests().count(), 3);

    m_client->cancelCall(first);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(first.error(), -6);
    m_client->cancelCall(first);
    QCOMPARE(completed.count(), 1);

    QSignalSpy states(m_client, &RpcConnection::stateChanged);
    m_client->close();
    QCOMPARE(completed.count(), 3);
    QCOMPARE(completed.at(1).first().value<RpcMessage>().id(), second.id());
    QCOMPARE(completed.at(2).first().value<RpcMessage>().id(), third.id());
    QCOMPARE(third.error(), -6);
    QTRY_COMPARE(m_client->state(), RpcConnection::UnconnectedState);
    QVERIFY(!m_client->isActive());
    QTRY_COMPARE(m_device->clientCount(), 0);
}

void TestRpcConnection::watcherSignalsBeforeCompletion()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->setParam("general", "a", "1");
    QStringList seen;
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    RpcAsyncCallWatcher first(call);
    RpcAsyncCallWatcher second(call);
    connect(&first, &RpcAsyncCallWatcher::finished, this, [&](RpcAsyncCallWatcher *w) {
        QCOMPARE(w, &first);
        QVERIFY(w->isSucceeded());
        seen << "first";
    });
    connect(&second, &RpcAsyncCallWatcher::finished, this, [&](RpcAsyncCallWatcher *) { seen << "second"; });
    connect(m_client, &RpcConnection::messageCompleted, this, [&](const RpcMessage &) { seen << "completed"; });
    QTRY_COMPARE(seen.count(), 3);
    QCOMPARE(seen, (QStringList {"first", "second", "completed"}));

    // A watcher of a call that has already ended reports once control is back in the event loop.
    RpcAsyncCallWatcher late(RpcAsyncCall::fromReply(body("PARAM;return:OK;")));
    QSignalSpy lateSpy(&late, &RpcAsyncCallWatcher::finished);
    QCOMPARE(lateSpy.count(), 0);
    QVERIFY(lateSpy.wait(1000));
    QCOMPARE(lateSpy.count(), 1);
    QCOMPARE(late.message().kind(), 2);
    QCOMPARE(RpcAsyncCall::fromError(-7).message().aux(), -7);
    QCOMPARE(RpcAsyncCall().message().aux(), -1);
    QCOMPARE(RpcAsyncCall().error(), -1);
    QVERIFY(RpcAsyncCall().isFailed());
}

void TestRpcConnection::reconnectsEveryTenTicks()
{
    const quint16 port = closedPort();
    m_client->timer()->setInterval(40);
    int ticks = 0;
    connect(m_client->timer(), &QTimer::timeout, this, [&ticks] { ++ticks; });
    QList<int> attempts;
    connect(m_client, &RpcConnection::stateChanged, this, [&](RpcConnection::ConnectionState s) {
        if (s == RpcConnection::ConnectingState)
            attempts << ticks;
    });
    const QString line = QStringLiteral("RpcConnection::%1(address=127.0.0.1:%2, error=%3)");
    for (int i = 0; i < 3; ++i) {
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(line.arg("socketError").arg(port).arg(0)));
        QTest::ignoreMessage(QtCriticalMsg, qPrintable(line.arg("notifyErrorOccurred").arg(port).arg(-4)));
    }
    m_client->connectToHost(QStringLiteral("127.0.0.1"), port);
    QTRY_COMPARE_WITH_TIMEOUT(attempts.count(), 3, 5000);
    // The connection handles a tick after the timer's signal has returned, so this counter has seen the 10th tick.
    QCOMPARE(attempts, (QList<int> {0, 10, 20}));
    QTRY_COMPARE(m_client->state(), RpcConnection::UnconnectedState);

    m_client->close();
    QSignalSpy states(m_client, &RpcConnection::stateChanged);
    QVERIFY(!states.wait(40 * 25));
    QCOMPARE(attempts.count(), 3);
}

void TestRpcConnection::idWrapsToZero()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->setParam("general", "a", "1");
    m_client->setLastId(2147483646);
    RpcMessage done = callAndWait(*m_client, body("PARAM;GET:a;"));
    QCOMPARE(done.id(), 2147483647u);
    done = callAndWait(*m_client, body("PARAM;GET:a;"));
    QCOMPARE(done.id(), 0u);
    QCOMPARE(done.kind(), 2);
    QCOMPARE(describe(done.body()), QByteArray("1|a=1|return=OK"));
    QCOMPARE(callAndWait(*m_client, body("PARAM;GET:a;")).id(), 1u);
}

void TestRpcConnection::badMagicLeavesDecoderDeaf()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::BadMagic));
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QTest::ignoreMessage(QtCriticalMsg,
        qPrintable(QStringLiteral("RpcConnection::notifyErrorOccurred(address=%1:%2, error=-8)")
                       .arg(m_device->host())
                       .arg(m_device->port())));
    const RpcMessage done = callAndWait(*m_client, body("PARAM;GET:a;"), 1);
    QCOMPARE(done.aux(), -5);
    QCOMPARE(errorsOf(errors), QList<int> {-8});
    m_device->notify(body("INFO;n:1;"));
    QVERIFY(!received.wait(300));

    m_client->close();
    QTRY_COMPARE(m_device->clientCount(), 0);
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->notify(body("INFO;n:2;"));
    QVERIFY(received.wait(2000));
    QCOMPARE(received.first().first().value<RpcMessage>().body().params.at("n"), std::string("2"));
}

void TestRpcConnection::oversizedLengthIsRefused()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::OversizedLength));
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QTest::ignoreMessage(QtCriticalMsg,
        qPrintable(QStringLiteral("RpcConnection::notifyErrorOccurred(address=%1:%2, error=-8)")
                       .arg(m_device->host())
                       .arg(m_device->port())));
    const RpcMessage done = callAndWait(*m_client, body("PARAM;GET:a;"), 1);
    QCOMPARE(done.aux(), -5);
    QCOMPARE(errorsOf(errors), QList<int> {-8});
    // Failed until cleared: the bytes that follow are not read as frames.
    m_device->sendRaw(QByteArray(64, 'x'));
    m_device->notify(body("INFO;n:1;"));
    QVERIFY(!received.wait(300));
    QCOMPARE(errors.count(), 1);
}

namespace {

// Reads "first", then the key that "first" names.
class ChainedRead final : public RpcDelegateCall
{
public:
    using RpcDelegateCall::RpcDelegateCall;
    QStringList replies;

protected:
    bool prepareRequest(kra::CMsg &request, int &timeoutSeconds) override
    {
        request.clear(kra::CMsg::Param);
        request.addGet(m_next);
        timeoutSeconds = 5;
        return true;
    }
    void handleReply(const RpcMessage &reply) override
    {
        replies << QString::fromStdString(describe(reply.body()).toStdString());
        if (reply.kind() != RpcMessage::Reply) {
            fail(reply.aux());
            return;
        }
        if (m_next == "first") {
            m_next = *reply.body().param("first", true);
            return;
        }
        succeed(reply.body());
    }

private:
    std::string m_next = "first";
};

} // namespace

void TestRpcConnection::delegateCallRunsSteps()
{
    m_device->setParam("general", "first", "second");
    m_device->setParam("general", "second", "2");
    QVERIFY(connectTo(*m_client, *m_device));
    ChainedRead chain(42);
    QSignalSpy finished(&chain, &RpcDelegateCall::finished);
    chain.start(m_client);
    QVERIFY(finished.wait(3000));
    QCOMPARE(chain.replies, (QStringList {"1|first=second|return=OK", "1|return=OK|second=2"}));
    QVERIFY(chain.isSucceeded());
    QCOMPARE(chain.id(), 42u);
    QCOMPARE(describe(chain.message().body()), QByteArray("1|return=OK|second=2"));

    ChainedRead orphan(43);
    QSignalSpy orphanFinished(&orphan, &RpcDelegateCall::finished);
    orphan.start(nullptr);
    QCOMPARE(orphanFinished.count(), 1);
    QCOMPARE(orphan.error(), -1);
    orphan.abort(-6);
    QCOMPARE(orphan.error(), -1);
}

QTEST_MAIN(TestRpcConnection)
#include "tst_rpcconnection.moc"
