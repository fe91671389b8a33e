#include "rpc/cipherprimitives.h"
#include "rpc/lazycrypto.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace {

constexpr int BlockSize = 16;

struct CipherContextDeleter
{
    void operator()(EVP_CIPHER_CTX *context) const { lazycrypto::EVP_CIPHER_CTX_free(context); }
};
struct DigestContextDeleter
{
    void operator()(EVP_MD_CTX *context) const { lazycrypto::EVP_MD_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextDeleter>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, DigestContextDeleter>;

// Runs one whole AES-128-CBC operation through a scratch buffer, so that out receives only what fits and the
// scratch copy of the plain text is wiped afterwards.
int runAes128Cbc(bool encrypt, const unsigned char *key16, const unsigned char *iv16, const unsigned char *in,
    int length, unsigned char *out, int outSize)
{
    if (!key16 || !iv16 || !out || length < 0 || (length > 0 && !in) || outSize < 0 || length > INT_MAX - 2 * BlockSize)
        return -1;
    if (!encrypt && (length == 0 || length % BlockSize != 0))
        return -1;
    CipherContext context(lazycrypto::EVP_CIPHER_CTX_new());
    if (!context)
        return -1;
    if (lazycrypto::EVP_CipherInit_ex(
            context.get(), lazycrypto::EVP_aes_128_cbc(), nullptr, key16, iv16, encrypt ? 1 : 0)
            != 1
        || lazycrypto::EVP_CIPHER_CTX_set_padding(context.get(), 1) != 1)
        return -1;

    std::vector<unsigned char> scratch(static_cast<size_t>(length) + 2 * BlockSize);
    int written = 0;
    int finalWritten = 0;
    bool ok = lazycrypto::EVP_CipherUpdate(context.get(), scratch.data(), &written, in, length) == 1
        && lazycrypto::EVP_CipherFinal_ex(context.get(), scratch.data() + written, &finalWritten) == 1;
    const int total = written + finalWritten;
    if (ok && total > outSize)
        ok = false;
    if (ok)
        std::copy(scratch.data(), scratch.data() + total, out);
    lazycrypto::OPENSSL_cleanse(scratch.data(), scratch.size());
    return ok ? total : -1;
}

} // namespace

bool cipherRandomBytes(unsigned char *buffer, int length)
{
    if (length < 0 || (length > 0 && !buffer))
        return false;
    return length == 0 || lazycrypto::RAND_bytes(buffer, length) == 1;
}

int cipherMd5(
    const unsigned char *first, int firstLength, const unsigned char *second, int secondLength, unsigned char *digest16)
{
    if (!digest16 || firstLength < 0 || secondLength < 0 || (firstLength > 0 && !first)
        || (secondLength > 0 && !second))
        return -1;
    DigestContext context(lazycrypto::EVP_MD_CTX_new());
    if (!context)
        return -1;
    unsigned int size = 0;
    if (lazycrypto::EVP_DigestInit_ex(context.get(), lazycrypto::EVP_md5(), nullptr) != 1
        || lazycrypto::EVP_DigestUpdate(context.get(), first, static_cast<size_t>(firstLength)) != 1
        || lazycrypto::EVP_DigestUpdate(context.get(), second, static_cast<size_t>(secondLength)) != 1
        || lazycrypto::EVP_DigestFinal_ex(context.get(), digest16, &size) != 1 || size != 16)
        return -1;
    return static_cast<int>(size);
}

int cipherAes128CbcEncrypt(const unsigned char *key16, const unsigned char *iv16, const unsigned char *plain,
    int length, unsigned char *out, int outSize)
{
    if (length < 0 || length > INT_MAX - 2 * BlockSize || outSize < BlockSize * (length / BlockSize + 1))
        return -1;
    return runAes128Cbc(true, key16, iv16, plain, length, out, outSize);
}

int cipherAes128CbcDecrypt(const unsigned char *key16, const unsigned char *iv16, const unsigned char *cipher,
    int length, unsigned char *out, int outSize)
{
    return runAes128Cbc(false, key16, iv16, cipher, length, out, outSize);
}
