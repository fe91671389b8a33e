#include "relaylogin.h"
#include "tlsrelay.h"

#include <QtTest>

#include <QSslSocket>

namespace {

// The shape of a configured trusted entry.
struct Trusted
{
    int sslError;
    QString organization;
    QString commonName;
};
using TrustList = QVector<Trusted>;

const QString Serial = QStringLiteral("000123");
const QString Password = QStringLiteral("secret");
const QString User = QStringLiteral("relayuser");
const QString SshPassword = QStringLiteral("s3cret");
const QString Mac = QStringLiteral("00-00-00-00-01-2c");

Trusted selfSignedTrust()
{
    return {int(QSslError::SelfSignedCertificate), TlsRelayPeer::IssuerOrganization, TlsRelayPeer::IssuerCommonName};
}

struct Exchange
{
    bool encrypted = false;
    QSsl::SslProtocol protocol = QSsl::UnknownProtocol;
    QList<QSslError> errors;
    bool withinLimit = true;
    bool ended = false;
    QByteArray response;
};

// A login client driven by the socket's signals, so that a relay on this thread can answer it.
Exchange exchange(
    quint16 port, const TrustList &trusted, const QString &serial = Serial, const QString &password = Password)
{
    Exchange result;
    QSslSocket socket;
    prepareRelaySocket(socket);
    QObject::connect(
        &socket, QOverload<const QList<QSslError> &>::of(&QSslSocket::sslErrors), [&](const QList<QSslError> &errors) {
            result.errors = errors;
            const QList<QSslError> ignored = trustedSslErrors(errors, trusted);
            if (!ignored.isEmpty())
                socket.ignoreSslErrors(ignored);
        });
    QSignalSpy encrypted(&socket, &QSslSocket::encrypted);
    socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), port);
    const bool settled = QTest::qWaitFor(
        [&] { return encrypted.count() > 0 || socket.state() == QAbstractSocket::UnconnectedState; }, 10000);
    if (!settled || encrypted.isEmpty())
        return result;
    result.encrypted = true;
    result.protocol = socket.sessionProtocol();

    QObject::connect(&socket, &QIODevice::readyRead, [&] {
        if (result.withinLimit && !appendRelayResponse(socket, result.response)) {
            result.withinLimit = false;
            socket.abort();
        }
    });
    socket.write(relayRequest(socket.peerAddress().toString(), serial, password));
    result.ended = QTest::qWaitFor(
        [&] { return !result.withinLimit || socket.state() == QAbstractSocket::UnconnectedState; }, 10000);
    if (result.withinLimit)
        result.withinLimit = appendRelayResponse(socket, result.response);
    return result;
}

QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages.append(message);
}

} // namespace

Q_DECLARE_METATYPE(TlsRelayPeer::Mode)
Q_DECLARE_METATYPE(TrustList)

class TestTlsRelay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exchange_data();
    void exchange();
    void requestAsTheRelaySeesIt();
    void certificateTrust_data();
    void certificateTrust();
    void unrelatedSecondErrorIsNotIgnored();
    void trustedErrorsOfEntries();
    void blockingRead_data();
    void blockingRead();

private:
    void knowDevice(TlsRelayPeer &peer) const;

    TlsRelayPeer m_peer;
};

void TestTlsRelay::knowDevice(TlsRelayPeer &peer) const
{
    peer.addDevice(relayDigest("QUORVANE_123").toHex(), relayDigest(Password.toLatin1()).toHex());
}

void TestTlsRelay::initTestCase()
{
    QVERIFY(QSslSocket::supportsSsl());
    QVERIFY2(m_peer.start(), qPrintable(m_peer.errorText()));
    knowDevice(m_peer);
    const QSslCertificate certificate = m_peer.certificate();
    QCOMPARE(certificate.issuerInfo(QSslCertificate::CommonName), QStringList {TlsRelayPeer::IssuerCommonName});
    QCOMPARE(certificate.subjectAlternativeNames().values(QSsl::IpAddressEntry), QList<QString> {"127.0.0.1"});
    QCOMPARE(certificate.subjectAlternativeNames().values(QSsl::DnsEntry), QList<QString> {"localhost"});
}

void TestTlsRelay::exchange_data()
{
    QTest::addColumn<TlsRelayPeer::Mode>("mode");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QStringList>("grant");
    QTest::addColumn<int>("reply");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("port");

    const QStringList grant {User, SshPassword, Mac};
    const QStringList nothing;
    const int granted = int(RelayReply::Granted);
    const int invalid = int(RelayReply::InvalidResponse);
    const int unknown = int(RelayReply::UnknownDevice);
    const int failed = int(RelayReply::AuthenticationFailed);

    QTest::newRow("grant") << TlsRelayPeer::Grant << Serial << Password << grant << granted << grant << 31788;
    QTest::newRow("serial without zeros")
        << TlsRelayPeer::Grant << "123" << Password << grant << granted << grant << 31788;
    QTest::newRow("unknown serial") << TlsRelayPeer::Grant << "124" << Password << grant << unknown << nothing << 0;
    QTest::newRow("wrong password") << TlsRelayPeer::Grant << Serial << "Secret" << grant << unknown << nothing << 0;
    QTest::newRow("unknown device") << TlsRelayPeer::UnknownDevice << Serial << Password << grant << unknown << nothing
                                    << 0;
    QTest::newRow("one-line reply") << TlsRelayPeer::OneLineReply << Serial << Password << grant << invalid << nothing
                                    << 0;
    QTest::newRow("missing m") << TlsRelayPeer::MissingMac << Serial << Password << grant << failed << nothing << 0;
    QTest::newRow("short m") << TlsRelayPeer::ShortMac << Serial << Password << grant << failed << nothing << 0;
    QTest::newRow("repeated fields") << TlsRelayPeer::RepeatedFields << Serial << Password << grant << failed << nothing
                                     << 0;
    QTest::newRow("crlf line ends") << TlsRelayPeer::CrlfLineEnds << Serial << Password << grant << granted << grant
                                    << 31788;
    const QStringList awkward {"relay user&1", QString::fromUtf8("p=w%&\xC3\xA4"), "00:00:00:00:01:2C"};
    QTest::newRow("percent-encoded values")
        << TlsRelayPeer::PercentEncoded << Serial << Password << awkward << granted << awkward << 31788;
    QTest::newRow("huge reply") << TlsRelayPeer::HugeReply << Serial << Password << grant << invalid << nothing << 0;
    QTest::newRow("closing early") << TlsRelayPeer::CloseEarly << Serial << Password << grant << invalid << nothing
                                   << 0;
}

void TestTlsRelay::exchange()
{
    QFETCH(TlsRelayPeer::Mode, mode);
    QFETCH(QString, serial);
    QFETCH(QString, password);
    QFETCH(QStringList, grant);
    QFETCH(int, reply);
    QFETCH(QStringList, written);
    QFETCH(int, port);

    m_peer.setMode(mode);
    m_peer.setGrant(grant.at(0), grant.at(1), grant.at(2));
    const Exchange result = ::exchange(m_peer.serverPort(), {selfSignedTrust()}, serial, password);
    QVERIFY(result.encrypted);
    QVERIFY(result.ended);
    QCOMPARE(result.withinLimit, mode != TlsRelayPeer::HugeReply);

    QString user;
    QString sshPassword;
    QString mac;
    int tunnelPort = 0;
    QCOMPARE(int(parseRelayResponse(result.response, user, sshPassword, mac, tunnelPort)), reply);
    const QStringList expected = written.isEmpty() ? QStringList {QString(), QString(), QString()} : written;
    QCOMPARE((QStringList {user, sshPassword, mac}), expected);
    QCOMPARE(tunnelPort, port);
}

void TestTlsRelay::requestAsTheRelaySeesIt()
{
    m_peer.setMode(TlsRelayPeer::Grant);
    QSignalSpy received(&m_peer, &TlsRelayPeer::requestReceived);
    const Exchange result = ::exchange(m_peer.serverPort(), {selfSignedTrust()});
    QVERIFY(result.encrypted);
    // Not pinned to TLS 1.0, which OpenSSL 3 refuses: the strongest version both ends know.
    QCOMPARE(result.protocol, QSsl::TlsV1_3);
    QCOMPARE(received.count(), 1);
    const QByteArray request = m_peer.requests().last();
    QCOMPARE(request, relayRequest("127.0.0.1", Serial, Password));
    QVERIFY(request.contains("\r\nHost: 127.0.0.1\r\n"));
    QVERIFY(request.contains("\r\nContent-Length: 265\r\n"));
    QCOMPARE(request.mid(request.indexOf("\r\n\r\n") + 4).size(), 265);
}

void TestTlsRelay::certificateTrust_data()
{
    QTest::addColumn<TrustList>("trusted");
    QTest::addColumn<bool>("accepted");

    const int selfSigned = int(QSslError::SelfSignedCertificate);
    const QString cn = TlsRelayPeer::IssuerCommonName;
    const QString org = TlsRelayPeer::IssuerOrganization;

    QTest::newRow("no entries") << TrustList {} << false;
    QTest::newRow("code and issuer") << TrustList {{selfSigned, org, cn}} << true;
    QTest::newRow("common name alone") << TrustList {{selfSigned, QString(), cn}} << true;
    QTest::newRow("second entry matches")
        << TrustList {{selfSigned, org, "Other Relay"}, {selfSigned, org, cn}} << true;
    QTest::newRow("other error code") << TrustList {{int(QSslError::CertificateExpired), org, cn}} << false;
    QTest::newRow("other common name") << TrustList {{selfSigned, org, "Other Relay"}} << false;
    QTest::newRow("common name in other case") << TrustList {{selfSigned, org, cn.toLower()}} << false;
    QTest::newRow("other organization") << TrustList {{selfSigned, "Other Org", cn}} << false;
    QTest::newRow("organization alone") << TrustList {{selfSigned, org, QString()}} << false;
}

void TestTlsRelay::certificateTrust()
{
    QFETCH(TrustList, trusted);
    QFETCH(bool, accepted);

    m_peer.setMode(TlsRelayPeer::Grant);
    const Exchange result = ::exchange(m_peer.serverPort(), trusted);
    QCOMPARE(result.errors.size(), 1);
    QCOMPARE(result.errors.first().error(), QSslError::SelfSignedCertificate);
    QCOMPARE(result.encrypted, accepted);
}

void TestTlsRelay::unrelatedSecondErrorIsNotIgnored()
{
    TlsRelayPeer elsewhere;
    QVERIFY2(elsewhere.generateCertificate("DNS:relay.invalid"), qPrintable(elsewhere.errorText()));
    QVERIFY(elsewhere.start());
    knowDevice(elsewhere);
    elsewhere.setGrant(User, SshPassword, Mac);

    Exchange result = ::exchange(elsewhere.serverPort(), {selfSignedTrust()});
    QCOMPARE(result.errors.size(), 2);
    QCOMPARE(trustedSslErrors(result.errors, TrustList {selfSignedTrust()}).size(), 1);
    QVERIFY(!result.encrypted);
    QCOMPARE(elsewhere.requests().size(), 0);

    const Trusted wrongName {int(QSslError::HostNameMismatch), QString(), TlsRelayPeer::IssuerCommonName};
    result = ::exchange(elsewhere.serverPort(), {selfSignedTrust(), wrongName});
    QVERIFY(result.encrypted);
    QCOMPARE(elsewhere.requests().size(), 1);
}

void TestTlsRelay::trustedErrorsOfEntries()
{
    const QSslCertificate certificate = m_peer.certificate();
    const QSslError selfSigned(QSslError::SelfSignedCertificate, certificate);
    const QSslError expired(QSslError::CertificateExpired, certificate);
    const QSslError withoutCertificate(QSslError::SelfSignedCertificate);
    const QList<QSslError> errors {selfSigned, expired, withoutCertificate};

    // Held by pointer, as the configuration holds them; a null entry is passed over.
    Trusted entry = selfSignedTrust();
    const QList<Trusted *> pointers {nullptr, &entry};
    QCOMPARE(trustedSslErrors(errors, pointers), QList<QSslError> {selfSigned});

    const TrustList both {
        selfSignedTrust(), {int(QSslError::CertificateExpired), QString(), TlsRelayPeer::IssuerCommonName}};
    QCOMPARE(trustedSslErrors(errors, both), (QList<QSslError> {selfSigned, expired}));
    QCOMPARE(trustedSslErrors(errors, TrustList {}), QList<QSslError> {});
    QCOMPARE(trustedSslErrors(QList<QSslError> {}, both), QList<QSslError> {});
}

void TestTlsRelay::blockingRead_data()
{
    QTest::addColumn<TlsRelayPeer::Mode>("mode");
    QTest::addColumn<int>("waitMsecs");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("reply");

    QTest::newRow("grant, relay closes") << TlsRelayPeer::Grant << 10000 << true << int(RelayReply::Granted);
    QTest::newRow("held open, ends on silence") << TlsRelayPeer::HoldOpen << 300 << true << int(RelayReply::Granted);
    QTest::newRow("never ends") << TlsRelayPeer::NeverEnds << 1000 << false << int(RelayReply::AuthenticationFailed);
    QTest::newRow("huge reply") << TlsRelayPeer::HugeReply << 10000 << false << int(RelayReply::InvalidResponse);
    QTest::newRow("closing early") << TlsRelayPeer::CloseEarly << 10000 << true << int(RelayReply::InvalidResponse);
}

void TestTlsRelay::blockingRead()
{
    QFETCH(TlsRelayPeer::Mode, mode);
    QFETCH(int, waitMsecs);
    QFETCH(bool, complete);
    QFETCH(int, reply);

    // The login blocks in waitFor*, so its relay runs on another thread.
    TlsRelayPeerThread relay;
    knowDevice(relay.peer());
    relay.peer().setGrant(User, SshPassword, Mac);
    relay.peer().setMode(mode);
    QVERIFY2(relay.start(), qPrintable(relay.peer().errorText()));

    capturedMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    QSslSocket socket;
    prepareRelaySocket(socket);
    const TrustList trusted {selfSignedTrust()};
    connect(&socket, QOverload<const QList<QSslError> &>::of(&QSslSocket::sslErrors),
        [&](const QList<QSslError> &errors) { socket.ignoreSslErrors(trustedSslErrors(errors, trusted)); });
    socket.connectToHostEncrypted(QStringLiteral("127.0.0.1"), relay.port());
    const bool encrypted = socket.waitForEncrypted(10000);
    QByteArray response;
    bool read = false;
    if (encrypted) {
        const QByteArray request = relayRequest(socket.peerAddress().toString(), Serial, Password);
        if (socket.write(request) == request.size())
            read = readRelayResponse(socket, waitMsecs, response);
    }
    qInstallMessageHandler(previous);
    QVERIFY(encrypted);
    QCOMPARE(read, complete);
    QCOMPARE(response.size() > RelayResponseLimit, mode == TlsRelayPeer::HugeReply);
    QVERIFY(response.size() <= RelayResponseLimit + 1);

    QString user;
    QString sshPassword;
    QString mac;
    int port = 0;
    QCOMPARE(int(parseRelayResponse(response, user, sshPassword, mac, port)), reply);

    // Nothing that the exchange carries reaches the log.
    const QString log = capturedMessages.join('\n');
    for (const QString &secret : {Password, SshPassword, QString::fromLatin1(relayDigest(Password.toLatin1()).toHex()),
             QString::fromLatin1(relayDigest("QUORVANE_123").toHex())})
        QVERIFY(!log.contains(secret));
}

QTEST_GUILESS_MAIN(TestTlsRelay)
#include "tst_tlsrelay.moc"
