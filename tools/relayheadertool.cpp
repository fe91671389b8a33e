// Enciphers standard input with the password cipher and prints the text, wrapped for a C++ string literal.
// Made the stored relay request header: printf 'POST ...' | relayheadertool

#include "rpc/passwordcipher.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

int main()
{
    std::vector<unsigned char> plain;
    int c;
    while ((c = std::getchar()) != EOF)
        plain.push_back(static_cast<unsigned char>(c));
    char *text = nullptr;
    const int length = encryptPassword(plain.data(), static_cast<int>(plain.size()), &text);
    if (length < 0) {
        std::fprintf(stderr, "enciphering failed\n");
        return 1;
    }
    for (int i = 0; i < length; i += 100)
        std::printf("\"%.*s\"\n", length - i < 100 ? length - i : 100, text + i);
    std::free(text);
    return 0;
}
