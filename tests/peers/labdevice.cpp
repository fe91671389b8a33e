// The simulated device as a program of its own, for trying the application without a codec (scripts/lab.sh).
// Listens on 127.0.0.1 at a port of the system's choice, prints "port=<port>" and "mac=<m value>" (the relay's
// "m=" value that leads the tunnel to that port), then logs every request it answers until it is stopped. It
// holds the simulated codec's set-up and audio section, so the device model and the controllers become ready.
// The Operator logs in without a password; the Expert's password is "expert", the Administrator's "admin".

#include "tests/peers/simdevice.h"

#include "rpc/kramsg.h"
#include "rpc/rpcmessage.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// The relay's "m=" value whose last six hex digits plus 0x7B00 give the port.
QString macForPort(quint16 port)
{
    const int offset = port - 0x7B00;
    if (offset < 0)
        return QString();
    return QStringLiteral("00-00-00-%1-%2-%3")
        .arg((offset >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((offset >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(offset & 0xFF, 2, 16, QLatin1Char('0'));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);

    SimDevice device;
    device.loadSetup(SimDevice::codecSetup());
    device.loadSetup(SimDevice::audioSetup());
    device.setAccessPasswords("admin", "expert", "");
    if (!device.listen()) {
        std::fprintf(stderr, "labdevice: cannot listen on 127.0.0.1\n");
        return 1;
    }
    const QString mac = macForPort(device.port());
    if (mac.isEmpty()) {
        std::fprintf(stderr, "labdevice: port %u is below 31488, no relay value leads there\n", device.port());
        return 1;
    }
    out << "port=" << device.port() << "\nmac=" << mac << Qt::endl;

    QObject::connect(&device, &SimDevice::clientConnected, [&out] { out << "client connected" << Qt::endl; });
    QObject::connect(&device, &SimDevice::clientDisconnected, [&out] { out << "client disconnected" << Qt::endl; });
    QObject::connect(&device, &SimDevice::requestReceived, [&out](const RpcMessage &request) {
        std::string text;
        kra::serializeBody(request.body(), text);
        out << "request " << QString::fromStdString(text) << Qt::endl;
    });
    return application.exec();
}
