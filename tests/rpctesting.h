#pragma once

// Small helpers shared by the tests that talk to the simulated device.

#include "ccom.h"
#include "kramsg.h"
#include "msgdescribe.h"
#include "rpcconnection.h"
#include "simdevice.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

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

inline SimDevice::Fault fault(SimDevice::Fault::Kind kind, int value = 0)
{
    SimDevice::Fault f;
    f.kind = kind;
    f.value = value;
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
