// The client connection against the simulated device, over real loopback sockets.

#include "rpc/rpcconnection.h"
#include "rpc/rpcnotificationqueue.h"
#include "rpc/rpcvocabulary.h"
#include "tests/peers/simdevice.h"
#include "tests/rpctesting.h"

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

QByteArray header(quint32 total, quint32 id, qint32 kind, qint32 aux)
{
    QByteArray out("VORNRpcM");
    out.resize(24);
    qToLittleEndian<quint32>(total, out.data() + 8);
    qToLittleEndian<quint32>(id, out.data() + 12);
    qToLittleEndian<quint32>(quint32(kind), out.data() + 16);
    qToLittleEndian<quint32>(quint32(aux), out.data() + 20);
    return out;
}

QByteArray notificationFrame(const QByteArray &text)
{
    return RpcConnection::encode(RpcMessage::notification(body(text)));
}

using Errors = QList<RpcConnection::ConnectionError>;

Errors errorsOf(const QSignalSpy &spy)
{
    Errors out;
    for (const QList<QVariant> &args : spy)
        out.append(args.first().value<RpcConnection::ConnectionError>());
    return out;
}

// The name of a connection error, or the number of any other code.
QString errorName(int code)
{
    const char *name = QMetaEnum::fromType<RpcConnection::ConnectionError>().valueToKey(code);
    return name ? QString::fromLatin1(name) : QString::number(code);
}

using States = QList<RpcConnection::ConnectionState>;

States statesOf(const QSignalSpy &spy)
{
    States out;
    for (const QList<QVariant> &args : spy)
        out.append(args.first().value<RpcConnection::ConnectionState>());
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
    void bodilessFrames_data();
    void bodilessFrames();
    void splitAndCoalescedFrames();
    void receiverRunningAnEventLoop();
    void floodIsReadInTurns_data();
    void floodIsReadInTurns();
    void timeoutBetweenTwoAndThreeSeconds();
    void heldNotifications_data();
    void heldNotifications();
    void requestsFromPeerAreNotHeld();
    void heldNotificationsBound_data();
    void heldNotificationsBound();
    void progressPartsHaveATotalCap_data();
    void progressPartsHaveATotalCap();
    void closeAndCancelFailPendingCalls();
    void watcherSignalsBeforeCompletion();
    void reconnectsEveryTenTicks();
    void idWrapsToZero();
    void oversizedLengthIsRefused();
    void delegateCallRunsSteps();

private:
    // The critical line the connection logs for an error.
    void ignoreError(RpcConnection::ConnectionError error)
    {
        QTest::ignoreMessage(QtCriticalMsg,
            qPrintable(QStringLiteral("RpcConnection::notifyErrorOccurred(address=%1:%2, error=%3)")
                           .arg(m_device->host())
                           .arg(m_device->port())
                           .arg(int(error))));
    }

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
    QCOMPARE(statesOf(states),
        (States {RpcConnection::ConnectingState, RpcConnection::UnconnectedState, RpcConnection::ConnectedState}));
}

void TestRpcConnection::failuresBeforeSending_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<int>("frameKind");
    QTest::addColumn<int>("bodyKind");
    QTest::addColumn<RpcConnection::ConnectionError>("error");

    QTest::newRow("not connected") << false << int(RpcMessage::Request) << int(kra::CMsg::Param)
                                   << RpcConnection::NotConnectedError;
    QTest::newRow("not a request") << true << int(RpcMessage::Notification) << int(kra::CMsg::Param)
                                   << RpcConnection::NotRequestError;
    QTest::newRow("body cannot be written")
        << true << int(RpcMessage::Request) << int(kra::CMsg::None) << RpcConnection::EncodeError;
}

void TestRpcConnection::failuresBeforeSending()
{
    QFETCH(bool, connected);
    QFETCH(int, frameKind);
    QFETCH(int, bodyKind);
    QFETCH(RpcConnection::ConnectionError, error);

    if (connected)
        QVERIFY(connectTo(*m_client, *m_device));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    kra::CMsg request(bodyKind);
    request.addGet("name");
    const RpcAsyncCall call = m_client->call(RpcMessage(RpcMessage::NoId, 0, frameKind, request), 5);
    QCOMPARE(call.error(), int(error));
    QVERIFY(!call.isFinished());
    QCOMPARE(call.message().aux(), int(RpcConnection::NoCallError));
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
    QTest::addColumn<QByteArray>("reply"); // empty: the call fails with a bad body

    const QByteArray list("PARAM;target:network;LIST:list;");
    const QByteArray getAB("PARAM;GET:a;GET:b;");
    const QByteArray action("DO;action:x;");
    const QByteArray progress("PARAM;return:PROGRESS;");
    const QByteArray ext("PARAM;return:PROGRESS;returnFmt:EXT;");
    QTest::newRow("LIST parts joined by ','")
        << list << QByteArrayList {progress + "list:a;", progress + "list:b;", "PARAM;return:OK;list:c;"}
        << QByteArray("PARAM|list=a,b,c|return=OK");
    QTest::newRow("LIST parts joined by 0x1D with EXT")
        << list << QByteArrayList {ext + "list:a;", ext + "list:b;", "PARAM;return:OK;returnFmt:EXT;list:c;"}
        << QByteArray("PARAM|list=a\x1d"
                      "b\x1d"
                      "c|return=OK|returnFmt=EXT");
    QTest::newRow("GET parts keep the first value")
        << QByteArray("PARAM;target:network;GET:list;")
        << QByteArrayList {progress + "list:a;", progress + "list:b;", "PARAM;return:OK;list:c;"}
        << QByteArray("PARAM|list=a|return=OK");
    QTest::newRow("ERROR of 'not set' only is OK")
        << getAB << QByteArrayList {"PARAM;return:ERROR;a:101-parameter not set;b:101-parameter not set;"}
        << QByteArray("PARAM|a=|b=|return=OK");
    QTest::newRow("ERROR with a real error")
        << getAB << QByteArrayList {"PARAM;return:ERROR;a:101-parameter not set;b:103-parameter set error;"}
        << QByteArray("PARAM|a=|b=103-parameter set error|return=ERROR");
    QTest::newRow("bare ERROR stays ERROR")
        << QByteArray("PARAM;GET:a;") << QByteArrayList {"PARAM;return:ERROR;"} << QByteArray("PARAM|return=ERROR");
    QTest::newRow("ERROR keeps values of earlier parts")
        << getAB << QByteArrayList {progress + "a:1;", "PARAM;return:ERROR;a:2;b:101-parameter not set;"}
        << QByteArray("PARAM|a=1|b=|return=ERROR");
    QTest::newRow("reply body kind is the reply's")
        << action << QByteArrayList {"DO;return:OK;v:1;"} << QByteArray("DO|return=OK|v=1");
    QTest::newRow("NOK") << action << QByteArrayList {"DO;return:NOK;cause:115-resource busy;"} << QByteArray();
    QTest::newRow("missing return") << action << QByteArrayList {"DO;v:1;"} << QByteArray();
    QTest::newRow("unparsable reply") << action << QByteArrayList {"HELLO;"} << QByteArray();
}

void TestRpcConnection::replies()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArrayList, replies);
    QFETCH(QByteArray, reply);
    const bool fails = reply.isEmpty();

    QVERIFY(connectTo(*m_client, *m_device));
    SimDevice::Fault answer = fault(SimDevice::Fault::Script);
    for (const QByteArray &text : replies) {
        kra::CMsg part;
        if (kra::parseBody(text.toStdString(), part) != 0) {
            // Unparsable on purpose: sent raw with the id the call will get.
            answer.kind = SimDevice::Fault::Silence;
            connect(m_device, &SimDevice::requestReceived, this, [this, text](const RpcMessage &r) {
                m_device->sendRaw(header(quint32(24 + text.size()), r.id(), RpcMessage::Reply, 0) + text);
            });
            break;
        }
        answer.replies.push_back(part);
    }
    m_device->addFault(answer);
    QSignalSpy errorSpy(m_client, &RpcConnection::errorOccurred);
    if (fails)
        ignoreError(RpcConnection::BodyError);
    const RpcMessage done = callAndWait(*m_client, body(request));
    QCOMPARE(done.kind(), int(fails ? RpcMessage::ErrorReply : RpcMessage::Reply));
    QCOMPARE(done.aux(), int(fails ? RpcConnection::BodyError : RpcConnection::NoError));
    QCOMPARE(done.id(), 1u);
    QCOMPARE(describe(done.body()), fails ? QByteArray("none") : reply);
    QCOMPARE(errorsOf(errorSpy), fails ? Errors {RpcConnection::BodyError} : Errors {});
}

void TestRpcConnection::bodilessFrames_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("total");
    QTest::addColumn<int>("aux");
    QTest::addColumn<bool>("pending"); // the call is still pending afterwards
    QTest::addColumn<int>("callAux"); // else the aux of its completion
    QTest::addColumn<Errors>("errors");

    const int request = RpcMessage::Request;
    const int reply = RpcMessage::Reply;
    const int errorReply = RpcMessage::ErrorReply;
    const int badBody = RpcConnection::BodyError;
    const Errors reported {RpcConnection::BodyError};
    QTest::newRow("request") << request << 24u << 0 << true << 0 << reported;
    QTest::newRow("reply") << reply << 24u << 0 << false << badBody << reported;
    QTest::newRow("reply announcing less than a header") << reply << 3u << 0 << false << badBody << reported;
    // An error reply is valid without a body and carries the peer's code as it is, even one of our own codes.
    QTest::newRow("error reply") << errorReply << 24u << 1234 << false << 1234 << Errors {};
    const int cancelled = RpcConnection::CancelledError;
    QTest::newRow("error reply, negative") << errorReply << 24u << cancelled << false << cancelled << Errors {};
    QTest::newRow("error reply, extreme")
        << errorReply << 24u << int(0x80000000) << false << int(0x80000000) << Errors {};
    QTest::newRow("notification") << int(RpcMessage::Notification) << 24u << 0 << true << 0 << reported;
    QTest::newRow("unknown kind") << 5 << 24u << 0 << true << 0 << Errors {RpcConnection::FrameKindError};
}

void TestRpcConnection::bodilessFrames()
{
    QFETCH(int, kind);
    QFETCH(quint32, total);
    QFETCH(int, aux);
    QFETCH(bool, pending);
    QFETCH(int, callAux);
    QFETCH(Errors, errors);

    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QSignalSpy errorSpy(m_client, &RpcConnection::errorOccurred);
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 0);
    QTRY_COMPARE(m_device->requests().count(), 1);
    m_device->sendRaw(header(total, call.id(), kind, aux));
    // A notification behind it shows the frame was read, and that the stream is still in step.
    m_device->notify(body("INFO;info_type:after;"));
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.first().first().value<RpcMessage>().body().params.at("info_type"), std::string("after"));
    QCOMPARE(errorsOf(errorSpy), errors);
    if (pending) {
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
    QCOMPARE(
        describe(received.first().first().value<RpcMessage>().body()), QByteArray("EVENT|event_type=split|value=a;b"));

    received.clear();
    reads.clear();
    const QByteArray three = notificationFrame("INFO;n:1;") + header(24, 9, RpcMessage::ErrorReply, 0)
        + notificationFrame("INFO;n:2;") + notificationFrame("INFO;n:3;");
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

void TestRpcConnection::floodIsReadInTurns_data()
{
    QTest::addColumn<bool>("nestedLoop");
    QTest::newRow("plain receiver") << false;
    QTest::newRow("a receiver runs an event loop at the first frame") << true;
}

// Megabytes sent at once are read a bounded piece a turn: the socket never holds more than that, other events run
// in between, and everything arrives in order; the connection then answers as before.
void TestRpcConnection::floodIsReadInTurns()
{
    QFETCH(bool, nestedLoop);
    QVERIFY(connectTo(*m_client, *m_device));
    auto *socket = m_client->findChild<QTcpSocket *>();
    QVERIFY(socket);

    constexpr int count = 24000; // about 5 MB, more than sixteen times the bound
    QByteArray flood;
    for (int i = 0; i < count; ++i)
        flood += notificationFrame("INFO;n:" + QByteArray::number(i) + ";pad:" + QByteArray(160, 'x') + ";");
    QVERIFY(flood.size() > 16 * RpcConnection::MaxReadPerTurn);

    int received = 0;
    int inOrder = 0;
    qint64 mostHeld = 0;
    int receivedAtTimer = -1;
    connect(m_client, &RpcConnection::messageReceived, this, [&](const RpcMessage &message) {
        if (*message.body().param("n", true) == std::to_string(received))
            ++inOrder;
        if (++received == 1) {
            QTimer::singleShot(0, this, [&] { receivedAtTimer = received; });
            if (nestedLoop) {
                QEventLoop loop;
                QTimer::singleShot(50, &loop, &QEventLoop::quit);
                loop.exec();
            }
        }
        mostHeld = qMax(mostHeld, socket->bytesAvailable());
    });
    m_device->sendRaw(flood);
    QTRY_COMPARE_WITH_TIMEOUT(received, count, 30000);
    QCOMPARE(inOrder, count);
    QVERIFY2(mostHeld <= RpcConnection::MaxReadPerTurn, QByteArray::number(mostHeld));
    // A timer started at the first frame runs within a few turns, long before the flood is through.
    const int perTurn = int(RpcConnection::MaxReadPerTurn / (flood.size() / count));
    QVERIFY2(receivedAtTimer > 0 && receivedAtTimer <= 4 * perTurn,
        QByteArray::number(receivedAtTimer) + " of " + QByteArray::number(count));

    m_device->setParam(kra::TGT_GENERAL, "name", "after the flood");
    const RpcMessage reply = callAndWait(*m_client, body("PARAM;GET:name;"));
    QCOMPARE(describe(reply.body()), QByteArray("PARAM|name=after the flood|return=OK"));
}

void TestRpcConnection::timeoutBetweenTwoAndThreeSeconds()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    QElapsedTimer clock;
    clock.start();
    const RpcAsyncCall call = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 2);
    QVERIFY(completed.wait(5000));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed > 2000 && elapsed < 3250, qPrintable(QString::number(elapsed)));
    const RpcMessage done = completed.first().first().value<RpcMessage>();
    QCOMPARE(done.kind(), int(RpcMessage::ErrorReply));
    QCOMPARE(done.aux(), int(RpcConnection::TimeoutError));
    QCOMPARE(call.error(), int(RpcConnection::TimeoutError));

    // Late and unknown ids are dropped without a word.
    completed.clear();
    const kra::CMsg ok = body("PARAM;return:OK;a:1;");
    m_device->sendRaw(RpcConnection::encode(RpcMessage(call.id(), 0, RpcMessage::Reply, ok)));
    m_device->sendRaw(RpcConnection::encode(RpcMessage(4711, 0, RpcMessage::Reply, ok)));
    m_device->sendRaw(header(24, 4712, RpcMessage::ErrorReply, 5));
    m_device->notify(body("INFO;info_type:after;"));
    QVERIFY(received.wait(2000));
    QCOMPARE(completed.count(), 0);
    QCOMPARE(errors.count(), 0);
}

void TestRpcConnection::heldNotifications_data()
{
    QTest::addColumn<bool>("hold");
    QTest::addColumn<bool>("drop");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("held") << true << false << QStringList {"completed NoError", "received a", "received b"};
    QTest::newRow("passed on") << false << false << QStringList {"received a", "received b", "completed NoError"};
    QTest::newRow("held, discarded on a drop") << true << true << QStringList {"completed CancelledError"};
}

void TestRpcConnection::heldNotifications()
{
    QFETCH(bool, hold);
    QFETCH(bool, drop);
    QFETCH(QStringList, order);

    m_client->setHoldNotifications(hold);
    QVERIFY(connectTo(*m_client, *m_device));
    QStringList seen;
    connect(m_client, &RpcConnection::messageCompleted, this,
        [&seen](const RpcMessage &m) { seen << QStringLiteral("completed ") + errorName(m.aux()); });
    connect(m_client, &RpcConnection::messageReceived, this, [&seen](const RpcMessage &m) {
        seen << QStringLiteral("received ") + QString::fromStdString(*m.body().param("n", true));
    });
    SimDevice::Fault f = fault(drop ? SimDevice::Fault::Drop : SimDevice::Fault::Delay, 100);
    f.before = {body("INFO;n:a;"), body("EVENT;n:b;")};
    m_device->addFault(f);
    m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    QTRY_COMPARE(seen, order);
    QSignalSpy later(m_client, &RpcConnection::messageReceived);
    QVERIFY(!later.wait(200));
    QCOMPARE(m_client->takeMessage().kind(), int(RpcMessage::None));
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
    QCOMPARE(request.kind(), int(RpcMessage::Request));
    QCOMPARE(request.id(), 8u);
    QCOMPARE(describe(request.body()), QByteArray("DO|action=ping"));
    // The notification is still held; it can be taken out by hand.
    const RpcMessage held = m_client->takeMessage();
    QCOMPARE(held.kind(), int(RpcMessage::Notification));
    QCOMPARE(held.id(), 5u);
    QCOMPARE(m_client->takeMessage().kind(), int(RpcMessage::None));
}

void TestRpcConnection::heldNotificationsBound_data()
{
    // "L<n>" a level snapshot, any other word an INFO; "+" behind a word adds 13 bytes, 15 in all.
    QTest::addColumn<QByteArray>("sent"); // into a queue of at most 3 messages and 40 bytes
    QTest::addColumn<QString>("taken");
    QTest::addColumn<int>("dropped");
    QTest::newRow("a newer snapshot takes the place where it arrived") << QByteArray("L1 a L2 b") << "a L2 b" << 0;
    QTest::newRow("past the cap the oldest go") << QByteArray("a b c d e") << "c d e" << 2;
    QTest::newRow("the snapshot counts once and stays") << QByteArray("L1 a b c d") << "L1 c d" << 2;
    QTest::newRow("drops ahead of the snapshot move it up") << QByteArray("a b L1 c d L2 e") << "d L2 e" << 3;
    QTest::newRow("past the bytes the oldest go") << QByteArray("a+ b+ c+") << "b+ c+" << 1;
}

void TestRpcConnection::heldNotificationsBound()
{
    QFETCH(QByteArray, sent);
    QFETCH(QString, taken);
    QFETCH(int, dropped);
    RpcNotificationQueue queue(3, 40);
    int droppedByAppends = 0;
    for (const QByteArray &word : sent.split(' ')) {
        const QByteArray name = word.endsWith('+') ? word.chopped(1) : word;
        const QByteArray kind = word.startsWith('L') ? "EVENT;event_type:audio_levels;" : "INFO;";
        const QByteArray pad = word.endsWith('+') ? "pad:0123456789;" : "";
        droppedByAppends += queue.append(RpcMessage::notification(body(kind + "n:" + name + ";" + pad)));
        QVERIFY(queue.size() <= 3 && queue.bytes() <= 40);
    }
    QCOMPARE(droppedByAppends, dropped);
    QCOMPARE(queue.dropped(), qint64(dropped));
    QByteArrayList out;
    while (!queue.isEmpty()) {
        const kra::CMsg message = queue.takeFirst().body();
        out << QByteArray::fromStdString(*message.param("n", true)) + (message.param("pad") ? "+" : "");
    }
    QCOMPARE(QString::fromLatin1(out.join(' ')), taken);
    QCOMPARE(queue.bytes() + queue.dropped(), qint64(0));
}

void TestRpcConnection::progressPartsHaveATotalCap_data()
{
    QTest::addColumn<int>("parts"); // of 2 MiB each, before the last
    QTest::addColumn<QString>("error");
    QTest::newRow("under the cap") << 7 << "NoError";
    QTest::newRow("past the cap") << 9 << "ReplyTooLargeError";
}

// However the device cuts a reply, the parts add up to no more than one frame: past that the call fails and the
// connection goes on with the next one.
void TestRpcConnection::progressPartsHaveATotalCap()
{
    QFETCH(int, parts);
    QFETCH(QString, error);
    QVERIFY(connectTo(*m_client, *m_device));
    SimDevice::Fault answer = fault(SimDevice::Fault::Script);
    answer.replies.assign(size_t(parts), body("PARAM;return:PROGRESS;"));
    for (kra::CMsg &part : answer.replies)
        part.setParam("list", std::string(2 * 1024 * 1024, 'x'));
    answer.replies.push_back(body("PARAM;return:OK;list:last;"));
    m_device->addFault(answer);
    if (parts > 8)
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("dispatchReply.*error=-12"));
    const RpcMessage done = callAndWait(*m_client, body("PARAM;target:network;LIST:list;"), 30);
    QCOMPARE(errorName(done.aux()), error);
    QCOMPARE(int(done.body().param("list", true)->size()), parts > 8 ? 0 : parts * (2 * 1024 * 1024 + 1) + 4);

    // The parts still on their way are dropped; the next call is answered.
    m_device->setParam("general", "a", "1");
    QCOMPARE(describe(callAndWait(*m_client, body("PARAM;GET:a;")).body()), QByteArray("PARAM|a=1|return=OK"));
}

void TestRpcConnection::closeAndCancelFailPendingCalls()
{
    QVERIFY(connectTo(*m_client, *m_device));
    for (int i = 0; i < 3; ++i)
        m_device->addFault(fault(SimDevice::Fault::Silence));
    QSignalSpy completed(m_client, &RpcConnection::messageCompleted);
    RpcAsyncCall first = m_client->call(RpcMessage::request(body("PARAM;GET:a;")), 5);
    const RpcAsyncCall second = m_client->call(RpcMessage::request(body("PARAM;GET:b;")), 5);
    const RpcAsyncCall third = m_client->call(RpcMessage::request(body("PARAM;GET:c;")), 5);
    QTRY_COMPARE(m_device->requests().count(), 3);

    m_client->cancelCall(first);
    QCOMPARE(completed.count(), 1);
    QCOMPARE(first.error(), int(RpcConnection::CancelledError));
    m_client->cancelCall(first);
    QCOMPARE(completed.count(), 1);

    m_client->close();
    QCOMPARE(completed.count(), 3);
    QCOMPARE(completed.at(1).first().value<RpcMessage>().id(), second.id());
    QCOMPARE(completed.at(2).first().value<RpcMessage>().id(), third.id());
    QCOMPARE(third.error(), int(RpcConnection::CancelledError));
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
    QCOMPARE(late.message().kind(), int(RpcMessage::Reply));
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
        QTest::ignoreMessage(QtCriticalMsg,
            qPrintable(line.arg("socketError").arg(port).arg(int(QAbstractSocket::ConnectionRefusedError))));
        QTest::ignoreMessage(
            QtCriticalMsg, qPrintable(line.arg("notifyErrorOccurred").arg(port).arg(int(RpcConnection::SocketError))));
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
    QCOMPARE(done.kind(), int(RpcMessage::Reply));
    QCOMPARE(describe(done.body()), QByteArray("PARAM|a=1|return=OK"));
    QCOMPARE(callAndWait(*m_client, body("PARAM;GET:a;")).id(), 1u);
}

void TestRpcConnection::oversizedLengthIsRefused()
{
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->addFault(fault(SimDevice::Fault::OversizedLength));
    QSignalSpy errors(m_client, &RpcConnection::errorOccurred);
    QSignalSpy received(m_client, &RpcConnection::messageReceived);
    ignoreError(RpcConnection::DecoderError);
    const RpcMessage done = callAndWait(*m_client, body("PARAM;GET:a;"), 1);
    QCOMPARE(done.aux(), int(RpcConnection::TimeoutError));
    QCOMPARE(errorsOf(errors), Errors {RpcConnection::DecoderError});
    // Failed until cleared: the bytes that follow are not read as frames.
    m_device->sendRaw(QByteArray(64, 'x'));
    m_device->notify(body("INFO;n:1;"));
    QVERIFY(!received.wait(300));
    QCOMPARE(errors.count(), 1);

    // A new connection starts with a clear decoder.
    m_client->close();
    QTRY_COMPARE(m_device->clientCount(), 0);
    QVERIFY(connectTo(*m_client, *m_device));
    m_device->notify(body("INFO;n:2;"));
    QVERIFY(received.wait(2000));
    QCOMPARE(received.first().first().value<RpcMessage>().body().params.at("n"), std::string("2"));
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
    QCOMPARE(chain.replies, (QStringList {"PARAM|first=second|return=OK", "PARAM|return=OK|second=2"}));
    QVERIFY(chain.isSucceeded());
    QCOMPARE(describe(chain.message().body()), QByteArray("PARAM|return=OK|second=2"));

    ChainedRead orphan(43);
    QSignalSpy orphanFinished(&orphan, &RpcDelegateCall::finished);
    orphan.start(nullptr);
    QCOMPARE(orphanFinished.count(), 1);
    QCOMPARE(orphan.error(), int(RpcConnection::NoCallError));
}

QTEST_MAIN(TestRpcConnection)
#include "tst_rpcconnection.moc"
