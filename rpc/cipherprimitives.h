#pragma once

// The few cryptographic operations the password cipher needs, in the shape it expects them: random bytes,
// MD5 and AES-128-CBC with PKCS #7 padding of the final block under a raw 16-byte key. Each returns -1 or
// false on failure and never logs.

// Fills the buffer with cryptographically random bytes.
bool cipherRandomBytes(unsigned char *buffer, int length);

// MD5 over the first part followed by the second; 16 (the digest length) or -1.
int cipherMd5(const unsigned char *first, int firstLength, const unsigned char *second, int secondLength,
    unsigned char *digest16);

// Enciphers length plain bytes into out; the result is the cipher length, 16 x (length / 16 + 1), or -1 when
// outSize is smaller than that.
int cipherAes128CbcEncrypt(const unsigned char *key16, const unsigned char *iv16, const unsigned char *plain,
    int length, unsigned char *out, int outSize);

// Deciphers a whole number of blocks into out; the result is the plain length, or -1 on a bad length, bad
// padding or an out buffer too small for the plain text.
int cipherAes128CbcDecrypt(const unsigned char *key16, const unsigned char *iv16, const unsigned char *cipher,
    int length, unsigned char *out, int outSize);
