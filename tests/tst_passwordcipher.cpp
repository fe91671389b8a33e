#include "rpc/cipherprimitives.h"
#include "rpc/passwordcipher.h"

#include <QtTest>

#include <cstdlib>

namespace {

struct CipherResult
{
    int result = -1;
    QByteArray text;
};

// Takes over the text a cipher function allocated; result -2 when it is not terminated.
CipherResult taken(int result, char *out)
{
    CipherResult r;
    r.result = result;
    if (result >= 0) {
        r.text = QByteArray(out, result);
        if (out[result] != '\0')
            r.result = -2;
        std::free(out);
    }
    return r;
}

CipherResult encrypt(const QByteArray &plain)
{
    char *out = nullptr;
    // The call fills out: it must run before out is read, not as a sibling argument.
    const int result = encryptPassword(reinterpret_cast<const unsigned char *>(plain.constData()), plain.size(), &out);
    return taken(result, out);
}

CipherResult decrypt(const QByteArray &text)
{
    char *out = nullptr;
    const int result = decryptPassword(text.constData(), text.size(), &out);
    return taken(result, out);
}

// Re-encodes a decoded text after changing it, so that only the intended byte differs.
QByteArray reencoded(const QByteArray &text, const std::function<void(QByteArray &)> &change)
{
    QByteArray raw = QByteArray::fromBase64(text);
    change(raw);
    return raw.toBase64();
}

QByteArray bytes(const char *hex)
{
    return QByteArray::fromHex(hex);
}

const auto u8 = [](const QByteArray &b) { return reinterpret_cast<const unsigned char *>(b.constData()); };
const auto mu8 = [](QByteArray &b) { return reinterpret_cast<unsigned char *>(b.data()); };

} // namespace

class TestPasswordCipher : public QObject
{
    Q_OBJECT

private slots:
    void md5KnownAnswers();
    void aesKnownAnswer();
    void aesRefusesBadInput();
    void roundTrip_data();
    void roundTrip();
    void textsDiffer();
    void refusals_data();
    void refusals();
    void everyMacAndCipherByteIsChecked();
    void charactersOutsideAlphabetAreSkipped();
    void storedTextStillDeciphers();
    void badArguments();
};

void TestPasswordCipher::md5KnownAnswers()
{
    QByteArray digest(16, '\0');
    QCOMPARE(cipherMd5(nullptr, 0, nullptr, 0, mu8(digest)), 16);
    QCOMPARE(digest, bytes("d41d8cd98f00b204e9800998ecf8427e"));
    const QByteArray abc("abc");
    QCOMPARE(cipherMd5(u8(abc), 1, u8(abc) + 1, 2, mu8(digest)), 16);
    QCOMPARE(digest, bytes("900150983cd24fb0d6963f7d28e17f72"));

    const QByteArray key = bytes("000102030405060708090a0b0c0d0e0f");
    const QByteArray data("The quick brown fox");
    QCOMPARE(md5WithKey(u8(key), u8(data), data.size(), mu8(digest)), 16);
    QCOMPARE(digest, bytes("667506f88f777b061195bf66841562f8"));
    QCOMPARE(md5WithKey(nullptr, u8(data), data.size(), mu8(digest)), -1);
    QCOMPARE(md5WithKey(u8(key), u8(data), -1, mu8(digest)), -1);
}

void TestPasswordCipher::aesKnownAnswer()
{
    // Two blocks of the published CBC example, then the whole padding block that a block-aligned input gets.
    const QByteArray key = bytes("2b7e151628aed2a6abf7158809cf4f3c");
    const QByteArray iv = bytes("000102030405060708090a0b0c0d0e0f");
    const QByteArray plain = bytes("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51");
    const QByteArray expected = bytes("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
                                      "55e21d7100b988ffec32feeafaf23538");
    QByteArray cipher(48, '\0');
    QCOMPARE(cipherAes128CbcEncrypt(u8(key), u8(iv), u8(plain), plain.size(), mu8(cipher), cipher.size()), 48);
    QCOMPARE(cipher, expected);

    QByteArray back(48, '\0');
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(cipher), cipher.size(), mu8(back), back.size()), 32);
    QCOMPARE(back.left(32), plain);

    QByteArray one(16, '\0');
    QCOMPARE(cipherAes128CbcEncrypt(u8(key), u8(iv), nullptr, 0, mu8(one), one.size()), 16);
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(one), one.size(), mu8(back), back.size()), 0);
}

void TestPasswordCipher::aesRefusesBadInput()
{
    const QByteArray key(16, 'k');
    const QByteArray iv(16, 'v');
    const QByteArray plain(20, 'p');
    QByteArray cipher(32, '\0');
    QCOMPARE(cipherAes128CbcEncrypt(u8(key), u8(iv), u8(plain), plain.size(), mu8(cipher), 31), -1);
    QCOMPARE(cipherAes128CbcEncrypt(u8(key), u8(iv), u8(plain), plain.size(), mu8(cipher), 32), 32);

    QByteArray out(32, '\0');
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(cipher), 31, mu8(out), out.size()), -1);
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(cipher), 0, mu8(out), out.size()), -1);
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(cipher), 32, mu8(out), 19), -1);
    QCOMPARE(cipherAes128CbcDecrypt(u8(key), u8(iv), u8(cipher), 32, mu8(out), 20), 20);

    // A wrong key almost never leaves valid padding; this key and text are known not to.
    const QByteArray otherKey(16, 'K');
    QCOMPARE(cipherAes128CbcDecrypt(u8(otherKey), u8(iv), u8(cipher), 32, mu8(out), out.size()), -1);
}

void TestPasswordCipher::roundTrip_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<int>("textLength");

    QTest::newRow("empty") << QByteArray() << 56;
    QTest::newRow("one byte") << QByteArray("x") << 56;
    QTest::newRow("15 bytes") << QByteArray(15, 'a') << 56;
    QTest::newRow("16 bytes take a padding block") << QByteArray("0123456789abcdef") << 76;
    QTest::newRow("17 bytes") << QByteArray(17, 'b') << 76;
    QTest::newRow("zero bytes inside") << QByteArray("a\0b\0c", 5) << 56;
    QTest::newRow("utf-8") << QString::fromUtf8("p\xC3\xA4ssw\xC3\xB6rd").toUtf8() << 56;
    QTest::newRow("long") << QByteArray(1000, 'z') << 4 * ((24 + 1008 + 2) / 3);
}

void TestPasswordCipher::roundTrip()
{
    QFETCH(QByteArray, plain);
    QFETCH(int, textLength);

    const CipherResult e = encrypt(plain);
    QCOMPARE(e.result, textLength);
    QCOMPARE(e.text.size(), textLength);
    QCOMPARE(QByteArray::fromBase64(e.text, QByteArray::AbortOnBase64DecodingErrors).toBase64(), e.text);
    QCOMPARE(QByteArray::fromBase64(e.text).at(0) & 0xF0, 0x10);

    const CipherResult d = decrypt(e.text);
    QCOMPARE(d.result, plain.size());
    QCOMPARE(d.text, plain);
}

void TestPasswordCipher::textsDiffer()
{
    const CipherResult first = encrypt("secret");
    const CipherResult second = encrypt("secret");
    QVERIFY(first.result > 0 && second.result > 0);
    QVERIFY(first.text != second.text);
    QCOMPARE(decrypt(first.text).text, QByteArray("secret"));
    QCOMPARE(decrypt(second.text).text, QByteArray("secret"));
}

void TestPasswordCipher::refusals_data()
{
    QTest::addColumn<QByteArray>("text");

    const QByteArray valid = encrypt("0123456789abcdef").text; // 76 characters, 32 cipher bytes
    QVERIFY(decrypt(valid).result == 16);

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("52 characters") << QByteArray(52, 'A');
    QTest::newRow("57 characters") << valid.left(56) + "A";
    QTest::newRow("one character short") << valid.left(75);
    QTest::newRow("wrong version") << reencoded(valid, [](QByteArray &raw) { raw[0] = char(0x20 | (raw[0] & 0x0F)); });
    QTest::newRow("version zero") << reencoded(valid, [](QByteArray &raw) { raw[0] = char(raw[0] & 0x0F); });
    QTest::newRow("MAC key offset changed") << reencoded(valid, [](QByteArray &raw) { raw[4] = char(raw[4] ^ 1); });
    QTest::newRow("cipher part not whole blocks") << reencoded(valid, [](QByteArray &raw) { raw.append("abc"); });
    QTest::newRow("last block dropped") << reencoded(valid, [](QByteArray &raw) { raw.chop(16); });
    QTest::newRow("no cipher block") << reencoded(valid, [](QByteArray &raw) { raw.truncate(24); }) + "AAAA";
    // Length and alignment pass the length rule, but the alphabet yields too few bytes to hold header and MAC:
    // these must not be read beyond what was decoded.
    QTest::newRow("padding characters only") << QByteArray(56, '=');
    QTest::newRow("spaces pad the length") << valid.left(20) + QByteArray(36, ' ');
    QTest::newRow("line breaks hide the blocks") << valid.left(32) + QByteArray(44, '\n');
    QTest::newRow("not Base64 at all") << QByteArray(60, '#');
}

void TestPasswordCipher::refusals()
{
    QFETCH(QByteArray, text);
    char *out = reinterpret_cast<char *>(0x1);
    QCOMPARE(decryptPassword(text.constData(), text.size(), &out), -1);
    QVERIFY(out == reinterpret_cast<char *>(0x1));
}

void TestPasswordCipher::everyMacAndCipherByteIsChecked()
{
    const QByteArray valid = encrypt("a password of some length").text;
    const int size = QByteArray::fromBase64(valid).size();
    QCOMPARE(size, 24 + 32);
    for (int index = 8; index < size; ++index) {
        for (const char flip : {char(0x01), char(0x80)}) {
            const QByteArray tampered
                = reencoded(valid, [&](QByteArray &raw) { raw[index] = char(raw[index] ^ flip); });
            QVERIFY2(decrypt(tampered).result == -1, qPrintable(QString::number(index)));
        }
    }
}

void TestPasswordCipher::charactersOutsideAlphabetAreSkipped()
{
    const QByteArray valid = encrypt("hidden").text;
    QCOMPARE(valid.size(), 56);
    // Four inserted characters keep the length a multiple of 4 and are skipped while decoding.
    QByteArray broken = valid;
    broken.insert(20, "\r\n \t");
    QCOMPARE(decrypt(broken).text, QByteArray("hidden"));
    QCOMPARE(decrypt(broken).result, 6);
    // Two inserted characters break the length rule although the content is the same.
    broken = valid;
    broken.insert(20, "\r\n");
    QCOMPARE(decrypt(broken).result, -1);
}

void TestPasswordCipher::storedTextStillDeciphers()
{
    // Made once with this key table; a changed table would no longer read what devices and files hold.
    const QByteArray stored("GShSRF+pyV784f4h20K6wpMEnww0yMjHnuIz4FcCy5u23emjWWZ04w==");
    QCOMPARE(decrypt(stored).text, QByteArray("codec password"));
}

void TestPasswordCipher::badArguments()
{
    char *out = nullptr;
    const unsigned char plain[] = "abc";
    QCOMPARE(encryptPassword(plain, -1, &out), -1);
    QCOMPARE(encryptPassword(nullptr, 3, &out), -1);
    QCOMPARE(encryptPassword(plain, 3, nullptr), -1);
    QVERIFY(out == nullptr);
    QCOMPARE(encryptPassword(nullptr, 0, &out), 56);
    std::free(out);
    out = nullptr;
    QCOMPARE(decryptPassword(nullptr, 56, &out), -1);
    const QByteArray valid = encrypt("x").text;
    QCOMPARE(decryptPassword(valid.constData(), valid.size(), nullptr), -1);
    QCOMPARE(decryptPassword(valid.constData(), -4, &out), -1);
    QVERIFY(out == nullptr);
}

QTEST_GUILESS_MAIN(TestPasswordCipher)
#include "tst_passwordcipher.moc"
