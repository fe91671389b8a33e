#include "app/quorvane.h"

#include <QHostAddress>
#include <QLabel>
#include <QScopedPointer>
#include <QSslSocket>

// Nothing here logs: the request, the reply and the settings it fills carry credentials.
bool Quorvane::requestRelayAccess(const QString &host, KnownDevice &device)
{
    if (!m_settings.knownDevices.contains(device.id))
        return false;

    showStatus(tr("Connecting to server <%1>...").arg(host), Qt::red);
    m_statusLabel->repaint(); // the waits below hold the event loop

    QScopedPointer<QSslSocket> socket(new QSslSocket(this));
    connect(socket.data(), &QSslSocket::stateChanged, this, &Quorvane::sslStateChanged);
    connect(socket.data(), &QSslSocket::encrypted, this, &Quorvane::sslEncrypted);
    connect(socket.data(), &QSslSocket::errorOccurred, this, &Quorvane::sslError);
    connect(socket.data(), QOverload<const QList<QSslError> &>::of(&QSslSocket::sslErrors), this, &Quorvane::sslErrors);
    m_sslSocket = socket.data();

    prepareRelaySocket(*socket);
    socket->connectToHostEncrypted(host, m_relayLoginOptions.port);
    const bool encrypted = socket->waitForEncrypted(m_relayLoginOptions.waitMsecs);
    m_sslSocket = nullptr;
    if (!encrypted) {
        showStatus(tr("Failure to connect to server <%1>").arg(host), Qt::red);
        return false;
    }

    const QByteArray request = relayRequest(socket->peerAddress().toString(), device.serialno, device.password);
    showStatus(tr("Requesting authentication for device <%1>...").arg(device.name), Qt::red);
    m_statusLabel->repaint();
    if (socket->write(request) != request.size()) {
        showStatus(tr("Failure to send request to server <%1>").arg(host), Qt::red);
        return false;
    }

    QByteArray response;
    QString user;
    QString password;
    QString macAddress;
    int tunnelPort = 0;
    const RelayReply reply = readRelayResponse(*socket, m_relayLoginOptions.waitMsecs, response)
        ? parseRelayResponse(response, user, password, macAddress, tunnelPort)
        : RelayReply::InvalidResponse;
    switch (reply) {
    case RelayReply::InvalidResponse:
        showStatus(tr("Received an invalid response from server <%1>").arg(host), Qt::red);
        return false;
    case RelayReply::UnknownDevice:
        showStatus(tr("Device <%1> is either unknown or unreachable").arg(device.name), Qt::red);
        return false;
    case RelayReply::AuthenticationFailed:
        showStatus(tr("Authentication failed for device <%1>").arg(device.name), Qt::red);
        return false;
    case RelayReply::Granted:
        break;
    }
    m_settings.sshUser = user;
    m_settings.sshPassword = password;
    device.macAddress = macAddress;
    device.tunnelPort = tunnelPort;
    showStatus(tr("No active connection"), Qt::red);
    return true;
}

void Quorvane::sslErrors(const QList<QSslError> &errors)
{
    if (errors.isEmpty())
        return;
    // Only what the user chose to trust is ignored: any other error still fails the handshake.
    const QList<QSslError> trusted = trustedSslErrors(errors, m_settings.trustedCertificates);
    if (m_sslSocket && !trusted.isEmpty())
        m_sslSocket->ignoreSslErrors(trusted);
}
