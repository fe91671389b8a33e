#pragma once

// The parts of the relay login that need no window: the salted credential digests, the request, reading and
// judging the relay's reply, and the rule that decides which certificate errors of the handshake are trusted.
// Nothing here logs: the request and the reply carry credentials.

#include <QByteArray>
#include <QList>
#include <QSslError>
#include <QString>

#include <type_traits>

class QAbstractSocket;
class QIODevice;
class QSslSocket;

// The relay used for the login and the tunnel when the configuration names none.
constexpr char RelayDefaultHost[] = "relay.example.com";
constexpr quint16 RelayPort = 443;
constexpr int RelayWaitMsecs = 30000;
// A larger reply is not a relay's answer.
constexpr int RelayResponseLimit = 64 * 1024;

// Where the login reaches the relay and how long it waits. The program keeps the defaults; tests point the
// port at their peer and shorten the waits.
struct RelayLoginOptions
{
    quint16 port = RelayPort;
    int waitMsecs = RelayWaitMsecs;
};

// Keccak-512 of the 4-byte prefix, the text and the 4-byte suffix; 64 raw bytes.
QByteArray relayDigest(const QByteArray &text);

// Port of the tunnel's far end from the relay's "m=" value: the last six hex digits of its letters and digits
// plus 31488; 0 when the value holds fewer than six letters and digits. Not limited to 65535.
int tunnelPortFromMac(const QString &value);

// "uid=" + hex digest of "QUORVANE_" and the serial number without its leading '0's, "&upw=" + hex digest of the
// codec password; always 265 bytes.
QByteArray relayRequestBody(const QString &serialno, const QString &password);

// The stored header, deciphered, with the relay's address and the body length filled in, in Latin-1; empty when
// the stored text does not decipher.
QByteArray relayRequestHeader(const QString &relayAddress, int bodyLength);

// Header followed by body.
QByteArray relayRequest(const QString &relayAddress, const QString &serialno, const QString &password);

// TLS 1.0 or later: the strongest version both ends support (OpenSSL 3 refuses TLS 1.0 alone).
void prepareRelaySocket(QSslSocket &socket);

// Appends what the socket holds, never more than one byte beyond the limit; false once the response exceeds it.
bool appendRelayResponse(QIODevice &socket, QByteArray &response);

// Blocks until the relay closes the connection (with its TLS close alert or at the TCP level), fails or stays
// silent for waitMsecs, and returns true with what arrived. false when the response exceeds RelayResponseLimit or data
// still arrive waitMsecs after reading began: a relay that trickles bytes must not hold the caller for ever.
bool readRelayResponse(QAbstractSocket &socket, int waitMsecs, QByteArray &response);

enum class RelayReply {
    Granted,
    // Fewer than two lines, or beyond RelayResponseLimit.
    InvalidResponse,
    // The first line does not carry "200 OK".
    UnknownDevice,
    // The last line does not carry "u=", "p=" and a usable "m=" exactly once each.
    AuthenticationFailed,
};

// Judges a whole response. Only when granted are user, password, macAddress (the "m=" text) and tunnelPort
// (1..65535) written.
RelayReply parseRelayResponse(
    const QByteArray &response, QString &user, QString &password, QString &macAddress, int &tunnelPort);

// One trusted entry's rule: the same error code, an issuer CommonName equal to commonName (which must not be
// empty) and, when organization is not empty, an issuer Organization equal to it. Errors without a certificate
// never match.
bool sslErrorMatchesTrust(const QSslError &error, int sslError, const QString &organization, const QString &commonName);

// The errors that match one of the trusted entries: only these may be ignored (QSslSocket::ignoreSslErrors(list)),
// so an error that matches none still fails the handshake. Entries are values or pointers of any record with the
// fields sslError, organization and commonName.
template<typename Entries>
QList<QSslError> trustedSslErrors(const QList<QSslError> &errors, const Entries &entries)
{
    QList<QSslError> trusted;
    for (const QSslError &error : errors) {
        for (const auto &item : entries) {
            const auto *entry = [&item] {
                if constexpr (std::is_pointer_v<std::decay_t<decltype(item)>>)
                    return item;
                else
                    return &item;
            }();
            if (entry && sslErrorMatchesTrust(error, entry->sslError, entry->organization, entry->commonName)) {
                trusted.append(error);
                break;
            }
        }
    }
    return trusted;
}
