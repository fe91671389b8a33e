#pragma once

// The TLS crypto library's functions this program calls, loaded on first use.

#include "rpc/lazylibrary.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

namespace lazycrypto {

MQ_LAZY_FUNCTION(libcrypto, CRYPTO_memcmp)
MQ_LAZY_FUNCTION(libcrypto, OPENSSL_cleanse)
MQ_LAZY_FUNCTION(libcrypto, OPENSSL_thread_stop)
MQ_LAZY_FUNCTION(libcrypto, RAND_bytes)
MQ_LAZY_FUNCTION(libcrypto, EVP_aes_128_cbc)
MQ_LAZY_FUNCTION(libcrypto, EVP_CIPHER_CTX_new)
MQ_LAZY_FUNCTION(libcrypto, EVP_CIPHER_CTX_free)
MQ_LAZY_FUNCTION(libcrypto, EVP_CIPHER_CTX_set_padding)
MQ_LAZY_FUNCTION(libcrypto, EVP_CipherInit_ex)
MQ_LAZY_FUNCTION(libcrypto, EVP_CipherUpdate)
MQ_LAZY_FUNCTION(libcrypto, EVP_CipherFinal_ex)
MQ_LAZY_FUNCTION(libcrypto, EVP_md5)
MQ_LAZY_FUNCTION(libcrypto, EVP_MD_CTX_new)
MQ_LAZY_FUNCTION(libcrypto, EVP_MD_CTX_free)
MQ_LAZY_FUNCTION(libcrypto, EVP_DigestInit_ex)
MQ_LAZY_FUNCTION(libcrypto, EVP_DigestUpdate)
MQ_LAZY_FUNCTION(libcrypto, EVP_DigestFinal_ex)

} // namespace lazycrypto
