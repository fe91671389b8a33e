#include "rpc/passwordcipher.h"
#include "shell/relaykeccak.h"
#include "shell/relaylogin.h"

#include <QtTest>

#include <openssl/evp.h>

#include <cstdlib>

namespace {

QByteArray sha3_512(const QByteArray &data)
{
    QByteArray digest(64, '\0');
    unsigned int size = 0;
    EVP_Digest(data.constData(), static_cast<size_t>(data.size()), reinterpret_cast<unsigned char *>(digest.data()),
        &size, EVP_sha3_512(), nullptr);
    return size == 64 ? digest : QByteArray();
}

// The same sponge as keccakFinal but with SHA3's padding byte, so that OpenSSL can vouch for the permutation
// and the absorbing.
QByteArray keccakWithSha3Padding(const QByteArray &data)
{
    KeccakContext context;
    keccakInit(context);
    keccakUpdate(context, reinterpret_cast<const std::uint8_t *>(data.constData()), static_cast<size_t>(data.size()));
    context.state[context.position] ^= 0x06;
    context.state[KeccakRate - 1] ^= 0x80;
    keccakPermute(context.state);
    return QByteArray(reinterpret_cast<const char *>(context.state), 64);
}

QByteArray patterned(int length)
{
    QByteArray data(length, '\0');
    for (int i = 0; i < length; ++i)
        data[i] = static_cast<char>(i * 7 + 3);
    return data;
}

const QByteArray salts = QByteArray::fromHex("4d00e329");
const QByteArray suffix = QByteArray::fromHex("00b60c71");

QByteArray storedHeaderPlain()
{
    // relayRequestHeader fills the placeholders; asking for them back shows the template itself.
    return relayRequestHeader(QStringLiteral("%1"), 0).replace("Content-Length: 0", "Content-Length: %2");
}

} // namespace

class TestRelayLogin : public QObject
{
    Q_OBJECT

private slots:
    void keccakVectors_data();
    void keccakVectors();
    void keccakPermutationAgreesWithSha3();
    void keccakIsNotSha3();
    void keccakInPieces();
    void credentialDigests();
    void requestBody_data();
    void requestBody();
    void requestHeader();
    void tunnelPort_data();
    void tunnelPort();
    void response_data();
    void response();
};

void TestRelayLogin::keccakVectors_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("digest");

    QTest::newRow("empty") << QByteArray()
                           << QByteArray("0eab42de4c3ceb9235fc91acffe746b29c29a8c366b7c60e4e67c466f36a4304"
                                         "c00fa9caf9d87976ba469bcbe06713b435f091ef2769fb160cdab33d3670680e");
    // Three blocks (200 bytes of 0xA3) and eight blocks (0..255 twice).
    QTest::newRow("200 x a3") << QByteArray(200, '\xA3')
                              << QByteArray("f4f846d140847539f53c3f082cc4e6810e143a5b4fc62a20597b5d76043246b8"
                                            "6bd7149b906140bb9665a6ce83d991f032f2291d2fae80eedfc6f845cc16d5ae");
    QByteArray counting;
    for (int i = 0; i < 512; ++i)
        counting.append(static_cast<char>(i & 0xFF));
    QTest::newRow("512 counting bytes") << counting
                                        << QByteArray(
                                               "6f317fd02d2e47a9a2e0aef8ad4f18d17656e8bcc2251599a5767a19fbeda91b"
                                               "496fe56b286cdb26d74f42f0226f8f8da2f6c24987e55f1badb02c4b60991785");
}

void TestRelayLogin::keccakVectors()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, digest);
    QCOMPARE(keccak512(input).toHex(), digest);
}

void TestRelayLogin::keccakPermutationAgreesWithSha3()
{
    // Every length around the block edges of one to four blocks.
    for (int length = 0; length <= 4 * KeccakRate + 1; ++length) {
        const QByteArray data = patterned(length);
        QVERIFY2(keccakWithSha3Padding(data) == sha3_512(data), qPrintable(QString::number(length)));
    }
}

void TestRelayLogin::keccakIsNotSha3()
{
    for (const QByteArray &data : {QByteArray(), QByteArray("abc"), patterned(72), patterned(1000)}) {
        QCOMPARE(keccak512(data).size(), 64);
        QVERIFY(keccak512(data) != sha3_512(data));
    }
    QCOMPARE(sha3_512(QByteArray()).toHex().left(16), QByteArray("a69f73cca23a9ac5"));
}

void TestRelayLogin::keccakInPieces()
{
    const QByteArray data = patterned(300);
    for (const int step : {1, 7, 71, 72, 73, 150}) {
        KeccakContext context;
        keccakInit(context);
        for (int offset = 0; offset < data.size(); offset += step) {
            const QByteArray piece = data.mid(offset, step);
            keccakUpdate(
                context, reinterpret_cast<const std::uint8_t *>(piece.constData()), static_cast<size_t>(piece.size()));
        }
        QByteArray digest(64, '\0');
        keccakFinal(context, reinterpret_cast<std::uint8_t *>(digest.data()));
        QCOMPARE(digest, keccak512(data));
    }
}

void TestRelayLogin::credentialDigests()
{
    // The codec password may be empty: the digest is then that of the salts alone.
    QCOMPARE(relayDigest(QByteArray()).toHex(),
        QByteArray("78c315def5a9adf5734f1d64402dfde733c76a9ec2b94b77ff7bf38b250acdcb"
                   "1848dc6cff7b157aa5d09ddc2fa5a876b1c640213afda9a70bc2a8f22bc541ea"));
    QCOMPARE(relayDigest(QByteArray("a\0b", 3)), keccak512(salts + QByteArray("a\0b", 3) + suffix));
}

void TestRelayLogin::requestBody_data()
{
    QTest::addColumn<QString>("serialno");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("uidText");
    QTest::addColumn<QByteArray>("upwText");

    const QString pw = QStringLiteral("pw");
    const QByteArray upw("pw");
    QTest::newRow("leading zeros dropped") << QStringLiteral("000123") << pw << QByteArray("QUORVANE_123") << upw;
    QTest::newRow("no zeros") << QStringLiteral("123") << pw << QByteArray("QUORVANE_123") << upw;
    QTest::newRow("inner zeros kept") << QStringLiteral("0102030") << pw << QByteArray("QUORVANE_102030") << upw;
    QTest::newRow("only zeros") << QStringLiteral("0") << pw << QByteArray("QUORVANE_") << upw;
    QTest::newRow("leading space is not a zero")
        << QStringLiteral(" 0123") << pw << QByteArray("QUORVANE_ 0123") << upw;
    QTest::newRow("empty password") << QStringLiteral("42") << QString() << QByteArray("QUORVANE_42") << QByteArray();
    QTest::newRow("latin-1 password") << QStringLiteral("42") << QString::fromUtf8("p\xC3\xA4ss")
                                      << QByteArray("QUORVANE_42") << QByteArray("p\xE4ss");
}

void TestRelayLogin::requestBody()
{
    QFETCH(QString, serialno);
    QFETCH(QString, password);
    QFETCH(QByteArray, uidText);
    QFETCH(QByteArray, upwText);

    const QByteArray body = relayRequestBody(serialno, password);
    QCOMPARE(body.size(), 265);
    QCOMPARE(body, "uid=" + relayDigest(uidText).toHex() + "&upw=" + relayDigest(upwText).toHex());
}

void TestRelayLogin::requestHeader()
{
    // Written down from an independent Keccak, so a fault shared by the login and the relay peer cannot hide.
    QCOMPARE(relayRequestBody("000123", "secret"),
        QByteArray("uid=8a946ee90a10a8bed5fe67fbe9113a974f11e76e7103cf2a25d230389c4e03ed"
                   "fabf7f9af7c3d18e8b72eefe7d8b1bfde7e82f196760b54fc6aa6d9766d2ff4e"
                   "&upw=469da3fe84ca69e4cd195efa1f6b4ca27d75157634e5f3ce6e5d4b78115d4b4c"
                   "cb8af62945f1d57ac6864f24110f9e0b23fb2237c33051368f09b3d0cc3b1711"));

    const QByteArray header = relayRequestHeader("192.0.2.7", 265);
    QVERIFY(header.startsWith("POST "));
    QVERIFY(header.contains("\r\nHost: 192.0.2.7\r\n"));
    QVERIFY(header.contains("\r\nContent-Length: 265\r\n"));
    QVERIFY(header.endsWith("\r\n\r\n"));
    QCOMPARE(header.count("\r\n\r\n"), 1);
    // An address that looks like a placeholder is not filled in again.
    QVERIFY(relayRequestHeader("%2", 7).contains("Host: %2\r\n"));

    const QByteArray request = relayRequest("127.0.0.1", "7", "pw");
    QCOMPARE(request, relayRequestHeader("127.0.0.1", 265) + relayRequestBody("7", "pw"));
    QVERIFY(storedHeaderPlain().contains("Host: %1\r\n"));
    QVERIFY(storedHeaderPlain().contains("Content-Length: %2\r\n"));
}

void TestRelayLogin::tunnelPort_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("port");

    QTest::newRow("example") << "00-00-00-00-01-2c" << 31788;
    QTest::newRow("colons, upper case") << "00:11:22:00:01:2C" << 31788;
    QTest::newRow("no separators") << "00000000012c" << 31788;
    QTest::newRow("all zeros") << "00-00-00-00-00-00" << 31488;
    QTest::newRow("largest") << "ff-ff-ff" << 0xFFFFFF + 31488;
    QTest::newRow("exactly six") << "00012c" << 31788;
    QTest::newRow("five letters and digits") << "0-1-2-c-d" << 0;
    QTest::newRow("six characters but five usable") << "01:2c3" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("reading stops at a non-hex letter") << "00-00-01-2g-34" << 0x12 + 31488;
    QTest::newRow("non-hex first digit reads none") << "aa-zz-00-12" << 31488;
    QTest::newRow("non-ascii is a separator") << QString::fromUtf8("00\xC3\xA4"
                                                                   "00\xC3\xA4"
                                                                   "01\xC3\xA4"
                                                                   "2c")
                                              << 31788;
    QTest::newRow("spaces around") << "  00 00 01 2c  " << 31788;
}

void TestRelayLogin::tunnelPort()
{
    QFETCH(QString, value);
    QFETCH(int, port);
    QCOMPARE(tunnelPortFromMac(value), port);
}

void TestRelayLogin::response_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("reply");
    QTest::addColumn<QString>("written"); // "user|password|mac|port"; the caller's values stay unless granted

    const int granted = int(RelayReply::Granted);
    const int invalid = int(RelayReply::InvalidResponse);
    const int unknown = int(RelayReply::UnknownDevice);
    const int failed = int(RelayReply::AuthenticationFailed);
    const QString ab12c = QStringLiteral("a|b|0000012c|31788");

    QTest::newRow("granted") << QByteArray("HTTP/1.1 200 OK\n\nu=relayuser&p=s3cret&m=00-00-00-00-01-2c\n") << granted
                             << QStringLiteral("relayuser|s3cret|00-00-00-00-01-2c|31788");
    QTest::newRow("two lines suffice") << QByteArray("200 OK\nm=0000012c&p=b&u=a") << granted << ab12c;
    QTest::newRow("crlf line ends") << QByteArray("HTTP/1.1 200 OK\r\nServer: relay\r\n\r\nu=a&p=b&m=0000012c\r\n")
                                    << granted << ab12c;
    QTest::newRow("percent-encoded values") << QByteArray("200 OK\nu=us%26er&p=%3Dp%25w%C3%A4&m=00%2D00%2D01%2D2c")
                                            << granted << QString::fromUtf8("us&er|=p%w\xC3\xA4|00-00-01-2c|31788");
    QTest::newRow("encoded prefix") << QByteArray("200 OK\nu%3Da&p%3Db&%6D=0000012c") << granted << ab12c;
    QTest::newRow("empty parts skipped") << QByteArray("200 OK\n&&u=a&&p=b&m=0000012c&") << granted << ab12c;
    QTest::newRow("unknown fields ignored")
        << QByteArray("200 OK\nx=1&u=a&U=2&p=b&m=0000012c&mac=1") << granted << ab12c;
    QTest::newRow("empty user and password")
        << QByteArray("200 OK\nu=&p=&m=0000012c") << granted << QStringLiteral("||0000012c|31788");
    QTest::newRow("white space around the response")
        << QByteArray(" \r\n\t200 OK\nu=a&p=b&m=0000012c \n\n") << granted << ab12c;
    QTest::newRow("highest port") << QByteArray("200 OK\nu=a&p=b&m=0084ff") << granted
                                  << QStringLiteral("a|b|0084ff|65535");

    QTest::newRow("empty") << QByteArray() << invalid << QString();
    QTest::newRow("one line") << QByteArray("HTTP/1.1 200 OK\r\n") << invalid << QString();
    QTest::newRow("one line with fields") << QByteArray("200 OK u=a&p=b&m=0000012c") << invalid << QString();
    QTest::newRow("beyond the limit") << "200 OK\nu=a&p=b&m=0000012c&x=" + QByteArray(RelayResponseLimit, 'x')
                                      << invalid << QString();

    QTest::newRow("not found") << QByteArray("HTTP/1.1 404 Not Found\n\nunknown device") << unknown << QString();
    QTest::newRow("200 ok in lower case") << QByteArray("HTTP/1.1 200 ok\nu=a&p=b&m=0000012c") << unknown << QString();
    QTest::newRow("200 OK only on a later line")
        << QByteArray("HTTP/1.1 403 Forbidden\n200 OK\nu=a&p=b&m=0000012c") << unknown << QString();

    QTest::newRow("missing m") << QByteArray("200 OK\nu=a&p=b") << failed << QString();
    QTest::newRow("short m") << QByteArray("200 OK\nu=a&p=b&m=12-34-5") << failed << QString();
    QTest::newRow("port above 65535") << QByteArray("200 OK\nu=a&p=b&m=008500") << failed << QString();
    QTest::newRow("repeated user instead of m") << QByteArray("200 OK\nu=a&u=a&p=b") << failed << QString();
    QTest::newRow("repeated user") << QByteArray("200 OK\nu=a&u=c&p=b&m=0000012c") << failed << QString();
    QTest::newRow("repeated password") << QByteArray("200 OK\nu=a&p=b&p=b&m=0000012c") << failed << QString();
    QTest::newRow("repeated m") << QByteArray("200 OK\nu=a&p=b&m=0000012c&m=0000012d") << failed << QString();
    QTest::newRow("unusable m beside a good one")
        << QByteArray("200 OK\nu=a&p=b&m=1&m=0000012c") << failed << QString();
    QTest::newRow("fields on the first line only")
        << QByteArray("200 OK u=a&p=b&m=0000012c\nbye") << failed << QString();
    QTest::newRow("no fields") << QByteArray("200 OK\n\n&&&") << failed << QString();
    QTest::newRow("prefix case matters") << QByteArray("200 OK\nU=a&P=b&M=0000012c") << failed << QString();
}

void TestRelayLogin::response()
{
    QFETCH(QByteArray, response);
    QFETCH(int, reply);
    QFETCH(QString, written);

    QString user = QStringLiteral("old user");
    QString password = QStringLiteral("old password");
    QString mac = QStringLiteral("old mac");
    int port = 1234;
    QCOMPARE(int(parseRelayResponse(response, user, password, mac, port)), reply);
    QCOMPARE(QStringList({user, password, mac, QString::number(port)}).join(QLatin1Char('|')),
        written.isNull() ? QStringLiteral("old user|old password|old mac|1234") : written);
}

QTEST_GUILESS_MAIN(TestRelayLogin)
#include "tst_relaylogin.moc"
