#pragma once

// The baseline of the round-trip benchmarks: two plain QTcpSockets on loopback trading fixed bytes, driven by
// the same event loop calls as the code under test.

#include <QByteArray>
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <benchmark/benchmark.h>

inline void runTcpPingPong(benchmark::State &state, const QByteArray &ping, const QByteArray &pong)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    while (!server.hasPendingConnections() || client.state() != QAbstractSocket::ConnectedState)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QTcpSocket *peer = server.nextPendingConnection();
    QByteArray atPeer;
    QObject::connect(peer, &QIODevice::readyRead, [&] {
        atPeer += peer->readAll();
        if (atPeer.size() >= ping.size()) {
            atPeer.remove(0, ping.size());
            peer->write(pong);
        }
    });
    QByteArray atClient;
    bool done = false;
    QObject::connect(&client, &QIODevice::readyRead, [&] {
        atClient += client.readAll();
        if (atClient.size() >= pong.size()) {
            atClient.remove(0, pong.size());
            done = true;
        }
    });
    for (auto _ : state) {
        done = false;
        client.write(ping);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    }
}
