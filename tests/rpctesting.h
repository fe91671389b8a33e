#pragma once

// Small helpers shared by the tests that talk to the simulated device.

#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconnection.h"
#include "tests/msgdescribe.h"
#include "tests/peers/simdevice.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

#include <string>
#include <utility>
#include <vector>

namespace rpctesting {

using ::describe;

inline kra::CMsg body(const QByteArray &text)
{
    kra::CMsg msg;
    kra::parseBody(text.toStdString(), msg);
    return msg;
}

// Connects and waits until both ends see the connection.
inline bool connectTo(RpcClientConnection &client, SimDevice &device)
{
    client.connectToHost(device.host(), device.port());
    QSignalSpy up(&client, &RpcConnection::stateChanged);
    for (int i = 0; i < 100 && (client.state() != RpcConnection::ConnectedState || device.clientCount() != 1); ++i)
        up.wait(50);
    return client.state() == RpcConnection::ConnectedState && device.clientCount() == 1;
}

// Makes the call and waits for its completion; an error reply with aux 1 when it never completes.
inline RpcMessage callAndWait(RpcConnection &connection, const kra::CMsg &request, int timeoutSeconds = 5)
{
    QSignalSpy completed(&connection, &RpcConnection::messageCompleted);
    const RpcAsyncCall call = connection.call(RpcMessage::request(request), timeoutSeconds);
    if (call.error() != RpcConnection::NoError)
        return call.message();
    if (!completed.wait(timeoutSeconds * 1000 + 3000))
        return RpcMessage(call.id(), 1, RpcMessage::ErrorReply, kra::CMsg());
    return completed.first().first().value<RpcMessage>();
}

// The fault for the first request that holds match (any request when empty).
inline SimDevice::Fault fault(SimDevice::Fault::Kind kind, int value = 0, const std::string &match = {})
{
    SimDevice::Fault f;
    f.kind = kind;
    f.value = value;
    f.match = match;
    return f;
}

// The device answers the next request with these bodies, in order.
inline SimDevice::Fault script(const QByteArrayList &replies)
{
    SimDevice::Fault f = fault(SimDevice::Fault::Script);
    for (const QByteArray &text : replies)
        f.replies.push_back(body(text));
    return f;
}

// The device sends the body as a notification; the service's message, as the device model would get it.
// A message of kind None when none arrived.
inline RpcMessage notifyAndReceive(kra::CCom &com, SimDevice &device, const QByteArray &text)
{
    QSignalSpy received(&com, &kra::CCom::messageReceived);
    device.notify(body(text));
    if (!received.wait(5000))
        return RpcMessage();
    return received.first().first().value<RpcMessage>();
}

// "a,b,c" as the names a controller takes; "" none.
inline std::vector<std::string> names(const QByteArray &list)
{
    std::vector<std::string> out;
    for (const QByteArray &name : list.split(','))
        out.push_back(name.toStdString());
    return list.isEmpty() ? std::vector<std::string>() : out;
}

// The GET names of the described frames, in order: what the device was asked for.
inline QByteArrayList askedNames(const QByteArrayList &frames)
{
    QByteArrayList names;
    for (const QByteArray &frame : frames) {
        for (const QByteArray &part : frame.split('|')) {
            if (part.startsWith("GET "))
                names << part.mid(4);
        }
    }
    return names;
}

// The frame of one write: the request's addressing ("target:audio;" ...) and the key with its text.
inline QByteArray writeFrame(const QByteArray &addressing, const QByteArray &key, const QByteArray &text)
{
    kra::CMsg msg = body("PARAM;" + addressing);
    msg.setParam(key.toStdString(), text.toStdString());
    return describe(msg);
}

// The parameter indexes a controller reported, in order; Index is the signal's type of them.
template<typename Index = int>
QList<int> indices(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << int(args.at(1).value<Index>());
    return out;
}

// The simulated device and one communication service on it; the time-out of each request while it was pending.
class DeviceBench
{
public:
    DeviceBench()
    {
        QObject::connect(&device, &SimDevice::requestReceived,
            [this](const RpcMessage &request) { timeouts << com.connection().pendingCall(request.id()).timeout(); });
    }

    bool connect()
    {
        if (!device.listen() || !com.connectToDevice(device.host(), device.port(), 0))
            return false;
        QSignalSpy up(&com, &kra::CCom::stateChanged);
        for (int i = 0; i < 100 && (com.state() != RpcConnection::ConnectedState || device.clientCount() != 1); ++i)
            up.wait(50);
        return com.state() == RpcConnection::ConnectedState && device.clientCount() == 1;
    }

    // The frames the device received since the last call.
    QByteArrayList takeFrames()
    {
        QByteArrayList frames;
        for (const RpcMessage &request : device.requests())
            frames << describe(request.body());
        device.clearRequests();
        return frames;
    }

    // In ms.
    QList<qint64> takeTimeouts() { return std::exchange(timeouts, {}); }

    // The device sends the body as a notification; the message as the service hands it on.
    RpcMessage notify(const QByteArray &text) { return notifyAndReceive(com, device, text); }

    QList<qint64> timeouts;
    SimDevice device;
    kra::CCom com;
};

// A port on which nothing listens.
inline quint16 closedPort(const QHostAddress &address = QHostAddress(QHostAddress::LocalHost))
{
    QTcpServer server;
    server.listen(address, 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace rpctesting
