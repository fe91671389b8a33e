#pragma once

// The cipher text in which passwords travel to and from the device: Base64 of an 8-byte header (version and
// the offsets of the keys in the key table), a 16-byte MAC and AES-128-CBC cipher text. Buffers handed out
// are allocated with malloc and released by the caller with free.

#include <string>

// On success *out holds the zero-terminated Base64 text and its length is returned; -1 on failure (*out then
// untouched, or null when only its allocation failed).
int encryptPassword(const unsigned char *plain, int length, char **out);

// On success *out holds the zero-terminated plain text and its length (0 allowed) is returned; -1 on failure,
// *out then untouched.
int decryptPassword(const char *text, int length, char **out);

// MD5 over the 16 key bytes followed by the data; 16 or -1.
int md5WithKey(const unsigned char *key16, const unsigned char *data, int length, unsigned char *digest16);

// Byte-string forms of the two cipher functions. Each hands its input back unchanged when the cipher fails.
std::string encryptPasswordString(const std::string &text);
std::string decryptPasswordString(const std::string &text);
// For callers that must never let the plain text through: false on failure, cipher then untouched.
bool tryEncryptPasswordString(const std::string &text, std::string &cipher);
