#pragma once

// A relay for the login tests: a TLS server on loopback with a certificate made for this run, which reads the
// login request, checks its uid and upw digests against the devices it knows and answers the way a relay does,
// or in one of its named failure modes. Configuration and the request log may be used from any thread.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

class QSslSocket;

class TlsRelayPeer : public QTcpServer
{
    Q_OBJECT

public:
    enum Mode {
        // "200 OK" and "u=...&p=...&m=..." for a known device, "404 Not Found" for an unknown uid,
        // "403 Forbidden" for a wrong upw, "400 Bad Request" for a request it cannot read.
        Grant,
        UnknownDevice, // "404 Not Found" whatever the request
        OneLineReply, // the status line alone
        MissingMac, // u and p only
        ShortMac, // an m with fewer than six letters and digits
        RepeatedFields, // u twice and p, no m
        CrlfLineEnds, // the grant with CR LF line ends
        PercentEncoded, // the grant with every field percent-encoded
        HoldOpen, // the grant, then the connection stays open and silent
        NeverEnds, // the status line, then a byte every 20 ms, forever
        HugeReply, // the grant after 1 MiB of filler on the last line
        CloseEarly, // closes on receiving the request, without a reply
        CloseTlsOnly, // the grant and the TLS close alert, but the TCP connection stays open
        CloseTlsLater, // the same with a pause between the grant and the alert
    };
    Q_ENUM(Mode)

    static const QString IssuerCommonName;
    static const QString IssuerOrganization;

    explicit TlsRelayPeer(QObject *parent = nullptr);
    ~TlsRelayPeer() override;

    // A fresh self-signed EC P-256 certificate (made with the openssl program) naming these subject alternative
    // names; false, with errorText(), when it could not be made.
    bool generateCertificate(const QString &altNames = QStringLiteral("IP:127.0.0.1,DNS:localhost"));
    bool hasCertificate() const;
    QSslCertificate certificate() const;

    // Listens on 127.0.0.1, port chosen by the system; makes the certificate first when there is none.
    bool start();
    QString errorText() const;

    // A device the relay knows, by the lower-case hex texts of its uid and upw digests.
    void addDevice(const QByteArray &uid, const QByteArray &upw);
    void setGrant(const QString &user, const QString &password, const QString &mac);
    void setMode(Mode mode);

    // Every whole request received (header and body), in order.
    QList<QByteArray> requests() const;
    int connectionCount() const;

signals:
    void requestReceived();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    void readRequest(QSslSocket *socket);
    void answer(QSslSocket *socket, const QByteArray &request);
    QByteArray grantLine(bool encoded) const;

    mutable QMutex m_mutex;
    std::unique_ptr<QTemporaryDir> m_directory;
    QSslCertificate m_certificate;
    QSslKey m_key;
    QString m_errorText;
    QHash<QByteArray, QByteArray> m_devices; // uid -> upw
    QString m_user;
    QString m_password;
    QString m_mac;
    Mode m_mode = Grant;
    QList<QByteArray> m_requests;
    int m_connections = 0;
    QHash<QSslSocket *, QByteArray> m_pending;
    // Duplicates of closed sockets' descriptors: they hold the TCP connections open until the peer goes.
    QList<int> m_heldDescriptors;
};

// Runs a relay peer on a thread of its own, for clients that block in waitFor* on the test's thread.
class TlsRelayPeerThread final
{
public:
    TlsRelayPeerThread();
    ~TlsRelayPeerThread();

    // Configure it before start(); its setters and requests() stay safe to call afterwards.
    TlsRelayPeer &peer() { return *m_peer; }
    bool start();
    quint16 port() const { return m_port; }

private:
    QThread m_thread;
    TlsRelayPeer *m_peer;
    quint16 m_port = 0;
};
