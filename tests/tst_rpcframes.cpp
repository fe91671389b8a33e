// Frames byte for byte: hand-written golden frames against the encoder and both decoders, the datagram decoder's
// refusals, and the stream decoder's states.

#include "rpcconnection.h"
#include "rpctesting.h"
#include "simdevice.h"

#include <QTcpSocket>
#include <QtEndian>
#include <QtTest>

using namespace rpctesting;

namespace {

class FeedConnection : public RpcConnection
{
public:
    using RpcConnection::clearDecoder;
    using RpcConnection::decodeFrames;
    using RpcConnection::registerCall;

    int feed(const QByteArray &bytes) { return decodeFrames(bytes.constData(), bytes.size()); }
};

QByteArray withWord(QByteArray frame, int offset, quint32 value)
{
    qToLittleEndian<quint32>(value, frame.data() + offset);
    return frame;
}

} // namespace

class TestRpcFrames : public QObject
{
    Q_OBJECT

private slots:
    void goldenFramesMatchEncoder_data();
    void goldenFramesMatchEncoder();
    void goldenFramesThroughStreamDecoder();
    void deviceAnswersGoldenRequestWithGoldenReply();
    void datagrams_data();
    void datagrams();
    void decoderStates();
    void lengthCap_data();
    void lengthCap();
    void messageConstructors();
};

void TestRpcFrames::goldenFramesMatchEncoder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("aux");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("request") << "request" << 1u << 1 << 0 << QByteArray("PARAM;target:general;GET:name;");
    QTest::newRow("reply") << "reply" << 1u << 2 << 0 << QByteArray("PARAM;return:OK;name:Quorvane;");
    QTest::newRow("error reply") << "errorreply" << 2u << 3 << -5 << QByteArray();
    QTest::newRow("notification") << "notification" << 0xFFFFFFFFu << 4 << 0 << QByteArray("EVENT;event_type:reinit;");
}

void TestRpcFrames::goldenFramesMatchEncoder()
{
    QFETCH(QString, name);
    QFETCH(quint32, id);
    QFETCH(int, kind);
    QFETCH(int, aux);
    QFETCH(QByteArray, text);

    const QByteArray golden = goldenFrame(name);
    QVERIFY(golden.size() >= 24);
    const kra::CMsg msg = text.isEmpty() ? kra::CMsg() : body(text);
    QCOMPARE(RpcConnection::encode(RpcMessage(id, aux, kind, msg)).toHex(' '), golden.toHex(' '));

    const RpcMessage decoded = RpcConnection::decodeDatagram(golden);
    QCOMPARE(decoded.id(), id);
    QCOMPARE(decoded.kind(), kind);
    QCOMPARE(decoded.aux(), aux);
    QCOMPARE(describe(decoded.body()), describe(msg));
}

void TestRpcFrames::goldenFramesThroughStreamDecoder()
{
    FeedConnection connection;
    const RpcAsyncCall first = connection.registerCall(1, body("PARAM;GET:name;"), 0);
    const RpcAsyncCall second = connection.registerCall(2, body("PARAM;GET:name;"), 0);
    QSignalSpy completed(&connection, &RpcConnection::messageCompleted);
    QSignalSpy received(&connection, &RpcConnection::messageReceived);
    const QByteArray stream
        = goldenFrame("reply") + goldenFrame("errorreply") + goldenFrame("notification") + goldenFrame("request");
    QCOMPARE(connection.feed(stream), 0);

    QCOMPARE(completed.count(), 2);
    QVERIFY(first.isSucceeded());
    QCOMPARE(describe(first.message().body()), QByteArray("1|name=Quorvane|return=OK"));
    QCOMPARE(second.error(), -5);
    QCOMPARE(received.count(), 2);
    const RpcMessage notification = received.at(0).first().value<RpcMessage>();
    QCOMPARE(notification.kind(), 4);
    QCOMPARE(notification.id(), 0xFFFFFFFFu);
    QCOMPARE(describe(notification.body()), QByteArray("4|event_type=reinit"));
    const RpcMessage request = received.at(1).first().value<RpcMessage>();
    QCOMPARE(request.kind(), 1);
    QCOMPARE(describe(request.body()), QByteArray("1|target=general|GET name"));
}

void TestRpcFrames::deviceAnswersGoldenRequestWithGoldenReply()
{
    SimDevice device;
    QVERIFY(device.listen());
    device.setParam("general", "name", "Quorvane");
    QTcpSocket socket;
    socket.connectToHost(device.host(), device.port());
    QTRY_COMPARE(device.clientCount(), 1);
    socket.write(goldenFrame("request"));
    const QByteArray golden = goldenFrame("reply");
    QByteArray answer;
    QTRY_VERIFY((answer += socket.readAll()).size() >= golden.size());
    QCOMPARE(answer.toHex(' '), golden.toHex(' '));
    QCOMPARE(device.requests().count(), 1);
    QCOMPARE(describe(device.requests().first().body()), QByteArray("1|target=general|GET name"));
}

void TestRpcFrames::datagrams_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("kind");
    QTest::addColumn<quint32>("id");
    QTest::addColumn<int>("aux");
    QTest::addColumn<QByteArray>("body");

    const QByteArray note = goldenFrame("notification");
    const QByteArray reply = goldenFrame("reply");
    QTest::newRow("notification") << note << 4 << 0xFFFFFFFFu << 0 << QByteArray("4|event_type=reinit");
    QTest::newRow("trailing bytes ignored")
        << note + "junk" << 4 << 0xFFFFFFFFu << 0 << QByteArray("4|event_type=reinit");
    QTest::newRow("error reply, header only") << goldenFrame("errorreply") << 3 << 2u << -5 << QByteArray("0");
    QTest::newRow("23 bytes") << note.left(23) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("wrong magic") << withWord(note, 0, 0x4e524f57) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("total below a header") << withWord(note, 8, 23) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("kind 0") << withWord(note, 16, 0) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("kind 5") << withWord(note, 16, 5) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("shorter than announced") << reply.left(reply.size() - 1) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("announces far more") << withWord(note, 8, 0x7FFFFFFF) << 0 << 0xFFFFFFFFu << 0 << QByteArray("0");
    QTest::newRow("body does not parse") << withWord(withWord(note, 12, 9), 20, 3).replace("EVENT;", "EVENTS") << 4
                                         << 9u << 3 << QByteArray("0");
    QTest::newRow("read only up to the announced length")
        << withWord(note, 8, 24 + 6) << 4 << 0xFFFFFFFFu << 0 << QByteArray("4");
}

void TestRpcFrames::datagrams()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, kind);
    QFETCH(quint32, id);
    QFETCH(int, aux);
    QFETCH(QByteArray, body);

    const RpcMessage message = RpcConnection::decodeDatagram(datagram);
    QCOMPARE(message.kind(), kind);
    QCOMPARE(message.id(), id);
    QCOMPARE(message.aux(), aux);
    QCOMPARE(describe(message.body()), body);
}

void TestRpcFrames::decoderStates()
{
    FeedConnection connection;
    QSignalSpy received(&connection, &RpcConnection::messageReceived);
    QSignalSpy errors(&connection, &RpcConnection::errorOccurred);
    const QByteArray note = goldenFrame("notification");

    QCOMPARE(connection.feed(QByteArray()), 0);
    QCOMPARE(connection.feed(note.left(10)), 1);
    QCOMPARE(connection.feed(note.mid(10, 14)), 2);
    QCOMPARE(connection.feed(note.mid(24, 5)), 2);
    QCOMPARE(connection.feed(note.mid(29) + note.left(3)), 1);
    QCOMPARE(received.count(), 1);
    QCOMPARE(connection.feed(note.mid(3)), 0);
    QCOMPARE(received.count(), 2);

    QTest::ignoreMessage(QtCriticalMsg, "RpcConnection::notifyErrorOccurred(address=0.0.0.0:0, error=-8)");
    QCOMPARE(connection.feed(QByteArray("XXXXXXXX") + note.mid(8) + note), -2);
    QCOMPARE(connection.feed(note), -2);
    QCOMPARE(received.count(), 2);
    QCOMPARE(errors.count(), 1);

    connection.clearDecoder();
    QCOMPARE(connection.feed(note), 0);
    QCOMPARE(received.count(), 3);
}

void TestRpcFrames::lengthCap_data()
{
    QTest::addColumn<quint32>("total");
    QTest::addColumn<int>("state");

    QTest::newRow("16 MiB is taken") << 16u * 1024 * 1024 << 2;
    QTest::newRow("one byte more is refused") << 16u * 1024 * 1024 + 1 << -1;
    QTest::newRow("4 GiB is refused") << 0xFFFFFFFFu << -1;
}

void TestRpcFrames::lengthCap()
{
    QFETCH(quint32, total);
    QFETCH(int, state);

    FeedConnection connection;
    QSignalSpy errors(&connection, &RpcConnection::errorOccurred);
    if (state < 0)
        QTest::ignoreMessage(QtCriticalMsg, "RpcConnection::notifyErrorOccurred(address=0.0.0.0:0, error=-8)");
    QCOMPARE(connection.feed(withWord(goldenFrame("notification"), 8, total).left(24)), state);
    QCOMPARE(errors.count(), state < 0 ? 1 : 0);
    // Refused: nothing more is taken until the decoder is cleared.
    QCOMPARE(connection.feed(goldenFrame("notification")), state);
}

void TestRpcFrames::messageConstructors()
{
    // A reply answers its request's id; a message without a kind or body kind is never encoded.
    const RpcMessage request = RpcMessage::request(body("INFO;a:1;"), 5);
    const RpcMessage reply = RpcMessage::reply(request, body("INFO;b:2;"));
    QCOMPARE(reply.id(), 5u);
    QCOMPARE(reply.kind(), 2);
    const RpcMessage error = RpcMessage::errorReply(request, -6);
    QCOMPARE(error.id(), 5u);
    QCOMPARE(error.aux(), -6);
    QVERIFY(RpcConnection::encode(RpcMessage()).isEmpty());
    QVERIFY(RpcConnection::encode(RpcMessage::request(kra::CMsg(9))).isEmpty());
}

QTEST_MAIN(TestRpcFrames)
#include "tst_rpcframes.moc"
