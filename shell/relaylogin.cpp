#include "shell/relaylogin.h"

#include "rpc/passwordcipher.h"
#include "shell/relaykeccak.h"

#include <QAbstractSocket>
#include <QDeadlineTimer>
#include <QSslCertificate>
#include <QSslSocket>
#include <QStringList>
#include <QUrl>

#include <cstdlib>

namespace {

// How soon a relay's TLS close ends the response.
constexpr int RelayClosedCheckMsecs = 50;

const char saltPrefix[4] = {'\x4D', '\x00', '\xE3', '\x29'};
const char saltSuffix[4] = {'\x00', '\xB6', '\x0C', '\x71'};

// The request header, enciphered with the password cipher; %1 is the relay's address, %2 the body length.
// Made with relayheadertool.
const char storedHeader[]
    = "EosuWDSicLY9g67lTU/LfGQ8UCBWu3UdIMQbZ0sk8qpIjR5Ccjn3rsmV8mEzislbsYu1GyOWTxRRZzUBN3fBogJZFVoWem60U0YD"
      "Wz6P+Q5tLCYbDLc7WfNfDrShA1CTFtF+ylDbPjB+OD43TPTqphnc2dYoDJghx2eFW3lkO4IRXqDou7Xj40DHKK3FbRaTWBHUmBW7"
      "3XMzfMBd4qXpCWzRGzmasa8C9gzLtE9ZRYpTzfT9plEIBVKh+nxhZ+Bb4VXyGLKffmQ=";

bool isAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray hexField(const QByteArray &digest)
{
    return QUrl::toPercentEncoding(QString::fromLatin1(digest.toHex()));
}

} // namespace

QByteArray relayDigest(const QByteArray &text)
{
    QByteArray salted;
    salted.reserve(text.size() + 8);
    salted.append(saltPrefix, sizeof saltPrefix).append(text).append(saltSuffix, sizeof saltSuffix);
    return keccak512(salted);
}

int tunnelPortFromMac(const QString &value)
{
    QByteArray text = value.toUtf8();
    for (char &c : text)
        c = isAsciiLetterOrDigit(c) ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) : ':';
    if (text.size() < 6)
        return 0;
    text.replace(":", "");
    if (text.size() < 6)
        return 0;
    int number = 0;
    for (const char c : text.right(6)) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            break;
        number = number * 16 + digit;
    }
    return number + 0x7B00;
}

QByteArray relayRequestBody(const QString &serialno, const QString &password)
{
    int leadingZeros = 0;
    while (leadingZeros < serialno.size() && serialno.at(leadingZeros) == QLatin1Char('0'))
        ++leadingZeros;
    const QByteArray uid = relayDigest(QStringLiteral("QUORVANE_%1").arg(serialno.mid(leadingZeros)).toLatin1());
    const QByteArray upw = relayDigest(password.toLatin1());
    return "uid=" + hexField(uid) + "&upw=" + hexField(upw);
}

QByteArray relayRequestHeader(const QString &relayAddress, int bodyLength)
{
    char *plain = nullptr;
    const int length = decryptPassword(storedHeader, static_cast<int>(sizeof storedHeader - 1), &plain);
    if (length < 0)
        return QByteArray();
    const QString header = QString::fromLatin1(plain, length);
    std::free(plain);
    return header.arg(relayAddress, QString::number(bodyLength)).toLatin1();
}

QByteArray relayRequest(const QString &relayAddress, const QString &serialno, const QString &password)
{
    const QByteArray body = relayRequestBody(serialno, password);
    return relayRequestHeader(relayAddress, body.size()) + body;
}

void prepareRelaySocket(QSslSocket &socket)
{
    socket.setProtocol(QSsl::TlsV1_0OrLater);
}

bool appendRelayResponse(QIODevice &socket, QByteArray &response)
{
    const qint64 room = RelayResponseLimit + 1 - response.size();
    if (room > 0)
        response.append(socket.read(room));
    return response.size() <= RelayResponseLimit;
}

bool readRelayResponse(QAbstractSocket &socket, int waitMsecs, QByteArray &response)
{
    // A relay may send its TLS close alert and wait for ours with TCP still open. The socket reports that only as
    // an error, and its wait goes on until the time-out, so the wait is cut into slices and the flag checked
    // between them.
    bool remoteClosed = false;
    const QObject watch;
    QObject::connect(
        &socket, &QAbstractSocket::errorOccurred, &watch, [&remoteClosed](QAbstractSocket::SocketError error) {
            if (error == QAbstractSocket::RemoteHostClosedError)
                remoteClosed = true;
        });

    const QDeadlineTimer arriving(waitMsecs);
    QDeadlineTimer silence(waitMsecs);
    for (;;) {
        if (!appendRelayResponse(socket, response))
            return false;
        if (remoteClosed || socket.state() != QAbstractSocket::ConnectedState)
            return true;
        const qint64 left = silence.remainingTime(); // -1: no limit
        if (socket.waitForReadyRead(
                left < 0 ? RelayClosedCheckMsecs : int(qMin<qint64>(RelayClosedCheckMsecs, left)))) {
            if (arriving.hasExpired())
                return false;
            silence.setRemainingTime(waitMsecs);
        } else if (silence.hasExpired()) {
            return appendRelayResponse(socket, response);
        }
    }
}

RelayReply parseRelayResponse(
    const QByteArray &response, QString &user, QString &password, QString &macAddress, int &tunnelPort)
{
    if (response.size() > RelayResponseLimit)
        return RelayReply::InvalidResponse;
    const QList<QByteArray> lines = response.trimmed().split('\n');
    if (lines.size() < 2)
        return RelayReply::InvalidResponse;
    if (!lines.first().contains("200 OK"))
        return RelayReply::UnknownDevice;

    int users = 0;
    int passwords = 0;
    int macs = 0;
    QString foundUser;
    QString foundPassword;
    QString foundMac;
    int foundPort = 0;
    const QList<QByteArray> parts = lines.last().trimmed().split('&');
    for (const QByteArray &part : parts) {
        // Decoded before the prefix is read, so an encoded '&' inside a value survives the split.
        const QString field = QUrl::fromPercentEncoding(part);
        if (field.isEmpty())
            continue;
        if (field.startsWith(QLatin1String("u="))) {
            ++users;
            foundUser = field.mid(2);
        } else if (field.startsWith(QLatin1String("p="))) {
            ++passwords;
            foundPassword = field.mid(2);
        } else if (field.startsWith(QLatin1String("m="))) {
            ++macs;
            foundMac = field.mid(2);
            foundPort = tunnelPortFromMac(foundMac);
        }
    }
    if (users != 1 || passwords != 1 || macs != 1 || foundPort < 1 || foundPort > 65535)
        return RelayReply::AuthenticationFailed;

    user = foundUser;
    password = foundPassword;
    macAddress = foundMac;
    tunnelPort = foundPort;
    return RelayReply::Granted;
}

bool sslErrorMatchesTrust(const QSslError &error, int sslError, const QString &organization, const QString &commonName)
{
    const QSslCertificate certificate = error.certificate();
    if (certificate.isNull() || sslError != static_cast<int>(error.error()) || commonName.isEmpty())
        return false;
    if (!certificate.issuerInfo(QSslCertificate::CommonName).contains(commonName))
        return false;
    return organization.isEmpty() || certificate.issuerInfo(QSslCertificate::Organization).contains(organization);
}
