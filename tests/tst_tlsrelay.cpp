#include "shell/relaylogin.h"
#include "tests/peers/tlsrelay.h"

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

Trusted selfSignedTrust()
{
    return {int(QSslError::SelfSignedCertificate), TlsRelayPeer::IssuerOrganization, TlsRelayPeer::IssuerCommonName};
}

struct Exchange
{
    bool encrypted = false;
    QSsl::SslProtocol protocol = QSsl::UnknownProtocol;
    QList<QSslError> errors;
    bool answered = false;
};

// A login client driven by the socket's signals, so that a relay on this thread can answer it.
Exchange exchange(quint16 port, const TrustList &trusted)
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
    socket.write(relayRequest(socket.peerAddress().toString(), Serial, Password));
    // The relay closes once it has answered.
    result.answered = QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 10000);
    return result;
}

} // namespace

Q_DECLARE_METATYPE(TrustList)

class TestTlsRelay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void requestAsTheRelaySeesIt();
    void certificateTrust_data();
    void certificateTrust();
    void trustedErrorsOfEntries();

private:
    TlsRelayPeer m_peer;
};

void TestTlsRelay::initTestCase()
{
    QVERIFY(QSslSocket::supportsSsl());
    QVERIFY2(m_peer.start(), qPrintable(m_peer.errorText()));
    m_peer.addDevice(relayDigest("QUORVANE_123").toHex(), relayDigest(Password.toLatin1()).toHex());
    const QSslCertificate certificate = m_peer.certificate();
    QCOMPARE(certificate.issuerInfo(QSslCertificate::CommonName), QStringList {TlsRelayPeer::IssuerCommonName});
    QCOMPARE(certificate.subjectAlternativeNames().values(QSsl::IpAddressEntry), QList<QString> {"127.0.0.1"});
    QCOMPARE(certificate.subjectAlternativeNames().values(QSsl::DnsEntry), QList<QString> {"localhost"});
}

void TestTlsRelay::requestAsTheRelaySeesIt()
{
    QSignalSpy received(&m_peer, &TlsRelayPeer::requestReceived);
    const Exchange result = ::exchange(m_peer.serverPort(), {selfSignedTrust()});
    QVERIFY(result.encrypted);
    QVERIFY(result.answered);
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
    const Exchange result = ::exchange(m_peer.serverPort(), trusted);
    QCOMPARE(result.errors.size(), 1);
    QCOMPARE(result.errors.first().error(), QSslError::SelfSignedCertificate);
    QCOMPARE(result.encrypted, accepted);
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

QTEST_GUILESS_MAIN(TestTlsRelay)
#include "tst_tlsrelay.moc"
