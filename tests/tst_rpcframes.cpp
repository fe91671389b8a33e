// Frames byte for byte: hand-written golden frames against the encoder and both decoders, the datagram decoder's
// refusals, and the stream decoder's states.

#include "rpc/rpcconnection.h"
#include "tests/peers/simdevice.h"
#include "tests/rpctesting.h"

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

    DecoderState feed(const QByteArray &bytes) { return decodeFrames(bytes.constData(), bytes.size()); }
};

// The line the connection logs when it reports an error.
QByteArray errorLine(RpcConnection::ConnectionError error)
{
    return "RpcConnection::notifyErrorOccurred(address=0.0.0.0:0, error=" + QByteArray::number(int(error)) + ")";
}

// What a connection reported, one line an event: "received <kind> <body>", "completed <id> <kind> <aux> <body>",
// "error <code>".
struct EventLog
{
    explicit EventLog(RpcConnection &connection)
    {
        QObject::connect(&connection, &RpcConnection::messageReceived, [this](const RpcMessage &m) {
            lines << "received " + QByteArray::number(m.kind()) + " " + describe(m.body());
        });
        QObject::connect(&connection, &RpcConnection::messageCompleted, [this](const RpcMessage &m) {
            lines << "completed " + QByteArray::number(m.id()) + " " + QByteArray::number(m.kind()) + " "
                    + QByteArray::number(m.aux()) + " " + describe(m.body());
        });
        QObject::connect(&connection, &RpcConnection::errorOccurred,
            [this](RpcConnection::ConnectionError e) { lines << "error " + QByteArray::number(int(e)); });
    }
    QByteArrayList lines;
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
    void cutAtEveryPoint_data();
    void cutAtEveryPoint();
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

    QTest::newRow("request") << "request" << 1u << int(RpcMessage::Request) << 0
                             << QByteArray("PARAM;target:general;GET:name;");
    QTest::newRow("reply") << "reply" << 1u << int(RpcMessage::Reply) << 0
                           << QByteArray("PARAM;return:OK;name:Quorvane;");
    QTest::newRow("error reply") << "errorreply" << 2u << int(RpcMessage::ErrorReply)
                                 << int(RpcConnection::TimeoutError) << QByteArray();
    QTest::newRow("notification") << "notification" << RpcMessage::NoId << int(RpcMessage::Notification) << 0
                                  << QByteArray("EVENT;event_type:reinit;");
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
    QCOMPARE(connection.feed(stream), RpcConnection::DecoderIdle);

    QCOMPARE(completed.count(), 2);
    QVERIFY(first.isSucceeded());
    QCOMPARE(describe(first.message().body()), QByteArray("PARAM|name=Quorvane|return=OK"));
    QCOMPARE(second.error(), int(RpcConnection::TimeoutError));
    QCOMPARE(received.count(), 2);
    const RpcMessage notification = received.at(0).first().value<RpcMessage>();
    QCOMPARE(notification.kind(), int(RpcMessage::Notification));
    QCOMPARE(notification.id(), RpcMessage::NoId);
    QCOMPARE(describe(notification.body()), QByteArray("EVENT|event_type=reinit"));
    const RpcMessage request = received.at(1).first().value<RpcMessage>();
    QCOMPARE(request.kind(), int(RpcMessage::Request));
    QCOMPARE(describe(request.body()), QByteArray("PARAM|target=general|GET name"));
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
    QCOMPARE(describe(device.requests().first().body()), QByteArray("PARAM|target=general|GET name"));
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
    const int notification = RpcMessage::Notification;
    const int none = RpcMessage::None;
    const quint32 noId = RpcMessage::NoId;
    QTest::newRow("notification") << note << notification << noId << 0 << QByteArray("EVENT|event_type=reinit");
    QTest::newRow("trailing bytes ignored")
        << note + "junk" << notification << noId << 0 << QByteArray("EVENT|event_type=reinit");
    QTest::newRow("error reply, header only") << goldenFrame("errorreply") << int(RpcMessage::ErrorReply) << 2u
                                              << int(RpcConnection::TimeoutError) << QByteArray("none");
    QTest::newRow("23 bytes") << note.left(23) << none << noId << 0 << QByteArray("none");
    QTest::newRow("wrong magic") << withWord(note, 0, 0x4e524f57) << none << noId << 0 << QByteArray("none");
    QTest::newRow("total below a header") << withWord(note, 8, 23) << none << noId << 0 << QByteArray("none");
    QTest::newRow("kind 0") << withWord(note, 16, RpcMessage::None) << none << noId << 0 << QByteArray("none");
    QTest::newRow("kind 5") << withWord(note, 16, 5) << none << noId << 0 << QByteArray("none");
    QTest::newRow("shorter than announced") << reply.left(reply.size() - 1) << none << noId << 0 << QByteArray("none");
    QTest::newRow("announces far more") << withWord(note, 8, 0x7FFFFFFF) << none << noId << 0 << QByteArray("none");
    QTest::newRow("body does not parse") << withWord(withWord(note, 12, 9), 20, 3).replace("EVENT;", "EVENTS")
                                         << notification << 9u << 3 << QByteArray("none");
    QTest::newRow("read only up to the announced length")
        << withWord(note, 8, 24 + 6) << notification << noId << 0 << QByteArray("EVENT");
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

    QCOMPARE(connection.feed(QByteArray()), RpcConnection::DecoderIdle);
    QCOMPARE(connection.feed(note.left(10)), RpcConnection::DecoderHeader);
    QCOMPARE(connection.feed(note.mid(10, 14)), RpcConnection::DecoderBody);
    QCOMPARE(connection.feed(note.mid(24, 5)), RpcConnection::DecoderBody);
    QCOMPARE(connection.feed(note.mid(29) + note.left(3)), RpcConnection::DecoderHeader);
    QCOMPARE(received.count(), 1);
    QCOMPARE(connection.feed(note.mid(3)), RpcConnection::DecoderIdle);
    QCOMPARE(received.count(), 2);

    QTest::ignoreMessage(QtCriticalMsg, errorLine(RpcConnection::DecoderError).constData());
    QCOMPARE(connection.feed(QByteArray("XXXXXXXX") + note.mid(8) + note), RpcConnection::DecoderBadMagic);
    QCOMPARE(connection.feed(note), RpcConnection::DecoderBadMagic);
    QCOMPARE(received.count(), 2);
    QCOMPARE(errors.count(), 1);

    connection.clearDecoder();
    QCOMPARE(connection.feed(note), RpcConnection::DecoderIdle);
    QCOMPARE(received.count(), 3);
}

void TestRpcFrames::cutAtEveryPoint_data()
{
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QByteArrayList>("events");

    const QByteArray notification = "received 4 EVENT|event_type=reinit";
    QTest::newRow("one frame") << goldenFrame("notification") << QByteArrayList {notification};
    QTest::newRow("two back to back") << goldenFrame("reply") + goldenFrame("notification")
                                      << QByteArrayList {"completed 1 2 0 PARAM|name=Quorvane|return=OK", notification};
    QTest::newRow("a header alone, then a frame")
        << goldenFrame("errorreply") + goldenFrame("request")
        << QByteArrayList {"completed 2 3 -5 none", "received 1 PARAM|target=general|GET name"};
}

// However one read ends, even one byte before a frame's end, every frame arrives whole and the decoder is ready for
// the next one.
void TestRpcFrames::cutAtEveryPoint()
{
    QFETCH(QByteArray, stream);
    QFETCH(QByteArrayList, events);

    for (int cut = 0; cut <= stream.size(); ++cut) {
        FeedConnection connection;
        connection.registerCall(1, body("PARAM;GET:name;"), 0);
        connection.registerCall(2, body("PARAM;GET:name;"), 0);
        EventLog log(connection);
        connection.feed(stream.left(cut));
        const RpcConnection::DecoderState state = connection.feed(stream.mid(cut));
        const QByteArray where = "cut at " + QByteArray::number(cut) + " of " + QByteArray::number(stream.size());
        QVERIFY2(log.lines == events, where + ": " + log.lines.join(" | "));
        QVERIFY2(state == RpcConnection::DecoderIdle, where);
        connection.feed(goldenFrame("notification"));
        QVERIFY2(log.lines.size() == events.size() + 1 && log.lines.last() == "received 4 EVENT|event_type=reinit",
            where + ": " + log.lines.join(" | "));
    }
}

void TestRpcFrames::lengthCap_data()
{
    QTest::addColumn<quint32>("total");
    QTest::addColumn<RpcConnection::DecoderState>("state");

    QTest::newRow("16 MiB is taken") << 16u * 1024 * 1024 << RpcConnection::DecoderBody;
    QTest::newRow("one byte more is refused") << 16u * 1024 * 1024 + 1 << RpcConnection::DecoderNoMemory;
    QTest::newRow("4 GiB is refused") << 0xFFFFFFFFu << RpcConnection::DecoderNoMemory;
}

void TestRpcFrames::lengthCap()
{
    QFETCH(quint32, total);
    QFETCH(RpcConnection::DecoderState, state);

    FeedConnection connection;
    QSignalSpy errors(&connection, &RpcConnection::errorOccurred);
    const bool refused = state == RpcConnection::DecoderNoMemory;
    if (refused)
        QTest::ignoreMessage(QtCriticalMsg, errorLine(RpcConnection::DecoderError).constData());
    QCOMPARE(connection.feed(withWord(goldenFrame("notification"), 8, total).left(24)), state);
    QCOMPARE(errors.count(), refused ? 1 : 0);
    // Refused: nothing more is taken until the decoder is cleared.
    QCOMPARE(connection.feed(goldenFrame("notification")), state);
}

// A message without a kind or body kind is never encoded.
void TestRpcFrames::messageConstructors()
{
    QVERIFY(RpcConnection::encode(RpcMessage()).isEmpty());
    QVERIFY(RpcConnection::encode(RpcMessage::request(kra::CMsg(9))).isEmpty());
}

QTEST_MAIN(TestRpcFrames)
#include "tst_rpcframes.moc"
