#include "rpc/passwordcipher.h"

#include "rpc/cipherprimitives.h"
#include "rpc/lazycrypto.h"

#include <climits>
#include <cstdlib>
#include <vector>

namespace {

constexpr int HeaderSize = 8;
constexpr int MacSize = 16;
constexpr int CipherOffset = HeaderSize + MacSize;
constexpr int BlockSize = 16;
constexpr int ShortestText = 56;
constexpr unsigned char Version = 0x10;

// Both ends hold the same table: the keys, vectors and MAC keys are 16-byte windows into it, chosen per text
// by the random offsets in the header (255 + 16 still fits).
// clang-format off
const unsigned char keyTable[288] = {
    0x15, 0x74, 0x28, 0x90, 0x74, 0xce, 0xb5, 0x5e, 0x4f, 0x36, 0xec, 0x13, 0x44, 0x1c, 0xd7, 0xa8,
    0x43, 0x1d, 0x92, 0x92, 0x2c, 0x38, 0x0b, 0xe4, 0x61, 0x91, 0xc9, 0x1b, 0xab, 0xd6, 0x4c, 0x0e,
    0x4e, 0x4e, 0x53, 0xa2, 0x22, 0x34, 0x36, 0x17, 0xa6, 0x48, 0xe0, 0x3a, 0x10, 0xdd, 0xac, 0x50,
    0xdc, 0x42, 0x0a, 0x38, 0x4e, 0x81, 0xbe, 0xd1, 0x4c, 0xff, 0x9b, 0x0d, 0x4f, 0x91, 0xe8, 0x1b,
    0xea, 0x80, 0xb2, 0xde, 0x51, 0xf5, 0xfd, 0x47, 0x1c, 0xca, 0x11, 0x22, 0x10, 0xd4, 0x7a, 0x05,
    0xf3, 0xab, 0x7e, 0x1b, 0x73, 0x49, 0xda, 0xc4, 0x7c, 0xd3, 0x89, 0xae, 0x0f, 0x16, 0xcc, 0x2c,
    0x45, 0x19, 0x5a, 0x52, 0x4d, 0xff, 0x4e, 0xee, 0x58, 0x2f, 0x4f, 0x26, 0x33, 0x7f, 0x77, 0x22,
    0xf4, 0xc8, 0xe8, 0xb9, 0xe8, 0x63, 0x62, 0x20, 0x87, 0x9d, 0x1b, 0x82, 0x55, 0xe0, 0xf4, 0xd3,
    0xab, 0x18, 0x1d, 0x13, 0x02, 0x72, 0x9c, 0xb1, 0xd6, 0x3c, 0xca, 0xe7, 0xae, 0x8b, 0xe1, 0xd6,
    0xba, 0xb6, 0xdc, 0xaa, 0x6e, 0x20, 0xd0, 0xa3, 0x2f, 0x70, 0x3d, 0x13, 0x73, 0x1a, 0xa5, 0xca,
    0xf8, 0x73, 0x70, 0xc4, 0x58, 0xe4, 0xee, 0x0c, 0xaa, 0xee, 0x7b, 0xff, 0xbe, 0x88, 0x7b, 0xa0,
    0x1e, 0xa5, 0x85, 0x2b, 0x10, 0xab, 0x5b, 0x25, 0x47, 0xa6, 0xcb, 0x17, 0xe6, 0x9b, 0xb9, 0xc7,
    0x53, 0x41, 0xc8, 0x67, 0x92, 0xae, 0x01, 0xa4, 0x4a, 0x14, 0xa8, 0x6a, 0x41, 0x74, 0xb3, 0x2f,
    0x73, 0x72, 0x13, 0x18, 0xfd, 0x7e, 0xf9, 0xbd, 0xbb, 0x31, 0x6a, 0xc4, 0x4d, 0xcb, 0xe6, 0x86,
    0xd3, 0x71, 0xc8, 0xac, 0xf8, 0x53, 0xd9, 0xbb, 0x5a, 0xe9, 0xea, 0x92, 0x82, 0x01, 0x9d, 0xab,
    0xc4, 0xfd, 0x33, 0x8a, 0xbd, 0x88, 0x4f, 0xa5, 0x5a, 0xf6, 0x2e, 0x1a, 0xbb, 0x9e, 0x68, 0x4e,
    0x83, 0xd7, 0x6e, 0x9c, 0x32, 0x9f, 0x6d, 0xae, 0x30, 0xda, 0xa0, 0x8b, 0xe8, 0xaf, 0x69, 0x5f,
    0x20, 0x5e, 0x4b, 0xac, 0xb4, 0x29, 0x69, 0x45, 0xe1, 0x08, 0x91, 0x9f, 0xd7, 0xe9, 0xda, 0xa2,
};
// clang-format on

const char base64Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

const unsigned char *keyWindow(unsigned char offset)
{
    return keyTable + offset;
}

int base64Value(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}

void base64Encode(const unsigned char *data, int length, char *out)
{
    int o = 0;
    for (int i = 0; i < length; i += 3) {
        const int remaining = length - i;
        const unsigned int chunk = (static_cast<unsigned int>(data[i]) << 16)
            | (remaining > 1 ? static_cast<unsigned int>(data[i + 1]) << 8 : 0u)
            | (remaining > 2 ? static_cast<unsigned int>(data[i + 2]) : 0u);
        out[o++] = base64Alphabet[(chunk >> 18) & 0x3F];
        out[o++] = base64Alphabet[(chunk >> 12) & 0x3F];
        out[o++] = remaining > 1 ? base64Alphabet[(chunk >> 6) & 0x3F] : '=';
        out[o++] = remaining > 2 ? base64Alphabet[chunk & 0x3F] : '=';
    }
}

// Every character outside the alphabet, padding included, is skipped.
std::vector<unsigned char> base64Decode(const char *text, int length)
{
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<size_t>(length) / 4 * 3);
    unsigned int bits = 0;
    int gathered = 0;
    for (int i = 0; i < length; ++i) {
        const int value = base64Value(text[i]);
        if (value < 0)
            continue;
        bits = (bits << 6) | static_cast<unsigned int>(value);
        gathered += 6;
        if (gathered >= 8) {
            gathered -= 8;
            bytes.push_back(static_cast<unsigned char>((bits >> gathered) & 0xFF));
        }
    }
    return bytes;
}

bool computeMac(const unsigned char *header, const unsigned char *cipher, int cipherLength, unsigned char *mac16)
{
    unsigned char inner[16];
    return md5WithKey(keyWindow(header[4]), cipher, cipherLength, inner) == 16
        && md5WithKey(keyWindow(header[5]), inner, sizeof inner, mac16) == 16;
}

} // namespace

int md5WithKey(const unsigned char *key16, const unsigned char *data, int length, unsigned char *digest16)
{
    if (!key16)
        return -1;
    return cipherMd5(key16, 16, data, length, digest16);
}

int encryptPassword(const unsigned char *plain, int length, char **out)
{
    // The Base64 text of the longest input must still have an int length.
    constexpr int LongestPlain = (INT_MAX - 4) / 4 * 3 - CipherOffset - 2 * BlockSize;
    if (!out || length < 0 || length > LongestPlain || (length > 0 && !plain))
        return -1;
    const int cipherCapacity = BlockSize * (length / BlockSize + 1);
    std::vector<unsigned char> raw(static_cast<size_t>(CipherOffset) + cipherCapacity);
    if (!cipherRandomBytes(raw.data(), HeaderSize))
        return -1;
    raw[0] = Version | (raw[0] & 0x0F);

    const int cipherLength = cipherAes128CbcEncrypt(
        keyWindow(raw[1]), keyWindow(raw[2]), plain, length, raw.data() + CipherOffset, cipherCapacity);
    if (cipherLength < 1 || !computeMac(raw.data(), raw.data() + CipherOffset, cipherLength, raw.data() + HeaderSize))
        return -1;

    const int total = CipherOffset + cipherLength;
    const int encodedLength = 4 * ((total + 2) / 3);
    char *text = static_cast<char *>(std::malloc(static_cast<size_t>(encodedLength) + 1));
    if (!text) {
        *out = nullptr;
        return -1;
    }
    base64Encode(raw.data(), total, text);
    text[encodedLength] = '\0';
    *out = text;
    return encodedLength;
}

int decryptPassword(const char *text, int length, char **out)
{
    if (!text || !out || length < ShortestText || length % 4 != 0)
        return -1;
    const std::vector<unsigned char> raw = base64Decode(text, length);
    // Characters outside the alphabet count for the length rule but yield nothing, so the decoded size must be
    // checked before the header, MAC and blocks are read.
    const int size = static_cast<int>(raw.size());
    if (size < CipherOffset + BlockSize || (size - CipherOffset) % BlockSize != 0)
        return -1;
    if ((raw[0] & 0xF0) != Version)
        return -1;

    const int cipherLength = size - CipherOffset;
    unsigned char mac[MacSize];
    if (!computeMac(raw.data(), raw.data() + CipherOffset, cipherLength, mac)
        || lazycrypto::CRYPTO_memcmp(mac, raw.data() + HeaderSize, MacSize) != 0)
        return -1;

    char *plain = static_cast<char *>(std::malloc(static_cast<size_t>(cipherLength) + 1));
    if (!plain)
        return -1;
    const int plainLength = cipherAes128CbcDecrypt(keyWindow(raw[1]), keyWindow(raw[2]), raw.data() + CipherOffset,
        cipherLength, reinterpret_cast<unsigned char *>(plain), cipherLength);
    if (plainLength < 0) {
        std::free(plain);
        return -1;
    }
    plain[plainLength] = '\0';
    *out = plain;
    return plainLength;
}

bool tryEncryptPasswordString(const std::string &text, std::string &cipher)
{
    if (text.size() > size_t(INT_MAX))
        return false;
    char *out = nullptr;
    const int length = encryptPassword(reinterpret_cast<const unsigned char *>(text.data()), int(text.size()), &out);
    if (length <= 0)
        return false;
    cipher.assign(out, size_t(length));
    std::free(out);
    return true;
}

std::string encryptPasswordString(const std::string &text)
{
    std::string cipher;
    return tryEncryptPasswordString(text, cipher) ? cipher : text;
}

std::string decryptPasswordString(const std::string &text)
{
    if (text.size() > size_t(INT_MAX))
        return text;
    char *out = nullptr;
    const int length = decryptPassword(text.data(), int(text.size()), &out);
    if (length < 0)
        return text;
    std::string plain(out, size_t(length));
    lazycrypto::OPENSSL_cleanse(out, size_t(length));
    std::free(out);
    return plain;
}
