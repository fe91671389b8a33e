// The TLS relay peer as a program of its own, for trying the application without a codec (scripts/lab.sh).
//
//   labrelay <port>
//
// Knows one device and grants it the tunnel; everything comes from the environment, so that no secret shows in the
// process list: LAB_SERIAL and LAB_PASSWORD (the codec's serial number and password as the application's
// configuration holds them), LAB_SSH_USER, LAB_SSH_PASSWORD and LAB_MAC (the grant). Listens on 127.0.0.1 and
// prints the issuer of its certificate ("organization=", "commonName=") so that the lab can trust it.

#include "shell/relaylogin.h"
#include "tests/peers/tlsrelay.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    bool ok = false;
    const int port = argc == 2 ? QString::fromLocal8Bit(argv[1]).toInt(&ok) : 0;
    const QString serial = qEnvironmentVariable("LAB_SERIAL");
    const QString password = qEnvironmentVariable("LAB_PASSWORD");
    if (!ok || port < 1 || port > 65535 || serial.isEmpty()) {
        std::fprintf(stderr,
            "usage: LAB_SERIAL=... LAB_PASSWORD=... LAB_SSH_USER=... LAB_SSH_PASSWORD=... "
            "LAB_MAC=... labrelay <port>\n");
        return 2;
    }

    int zeros = 0;
    while (zeros < serial.size() && serial.at(zeros) == QLatin1Char('0'))
        ++zeros;
    TlsRelayPeer relay;
    relay.addDevice(relayDigest(QStringLiteral("QUORVANE_%1").arg(serial.mid(zeros)).toLatin1()).toHex(),
        relayDigest(password.toLatin1()).toHex());
    relay.setGrant(qEnvironmentVariable("LAB_SSH_USER"), qEnvironmentVariable("LAB_SSH_PASSWORD"),
        qEnvironmentVariable("LAB_MAC"));
    if (!relay.generateCertificate() || !relay.listen(QHostAddress::LocalHost, quint16(port))) {
        std::fprintf(stderr, "labrelay: %s\n",
            qPrintable(relay.errorText().isEmpty() ? relay.errorString() : relay.errorText()));
        return 1;
    }
    out << "organization=" << TlsRelayPeer::IssuerOrganization << "\ncommonName=" << TlsRelayPeer::IssuerCommonName
        << Qt::endl;
    QObject::connect(&relay, &TlsRelayPeer::requestReceived, [&out] { out << "login request" << Qt::endl; });
    return application.exec();
}
