// Property: any text either is refused without touching the output or deciphers to a plain text that enciphers
// and deciphers back to itself.

#include "rpc/passwordcipher.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > INT_MAX)
        return 0;
    char *plain = nullptr;
    const int plainLength = decryptPassword(reinterpret_cast<const char *>(data), static_cast<int>(size), &plain);
    if (plainLength < 0) {
        if (plain)
            std::abort();
        return 0;
    }
    if (!plain || plain[plainLength] != '\0' || static_cast<std::size_t>(plainLength) + 24 + 16 > size)
        std::abort();

    char *text = nullptr;
    const int textLength = encryptPassword(reinterpret_cast<const unsigned char *>(plain), plainLength, &text);
    if (textLength < 56)
        std::abort();
    char *again = nullptr;
    if (decryptPassword(text, textLength, &again) != plainLength || std::memcmp(again, plain, plainLength) != 0)
        std::abort();
    std::free(again);
    std::free(text);
    std::free(plain);
    return 0;
}
