#include "shell/relaykeccak.h"

#include <cstring>

namespace {

// clang-format off
constexpr std::uint64_t roundConstants[24] = {
    0x0000000000000001ULL, 0x0000000000008082ULL, 0x800000000000808AULL, 0x8000000080008000ULL,
    0x000000000000808BULL, 0x0000000080000001ULL, 0x8000000080008081ULL, 0x8000000000008009ULL,
    0x000000000000008AULL, 0x0000000000000088ULL, 0x0000000080008009ULL, 0x000000008000000AULL,
    0x000000008000808BULL, 0x800000000000008BULL, 0x8000000000008089ULL, 0x8000000000008003ULL,
    0x8000000000008002ULL, 0x8000000000000080ULL, 0x000000000000800AULL, 0x800000008000000AULL,
    0x8000000080008081ULL, 0x8000000000008080ULL, 0x0000000080000001ULL, 0x8000000080008008ULL,
};

// The rho offsets and pi destinations, in the order in which the combined rho-pi step walks the lanes.
constexpr int rotations[24] = {1, 3, 6, 10, 15, 21, 28, 36, 45, 55, 2, 14, 27, 41, 56, 8, 25, 43, 62, 18, 39, 61, 20, 44};
constexpr int piLanes[24] = {10, 7, 11, 17, 18, 3, 5, 16, 8, 21, 24, 4, 15, 23, 19, 13, 12, 2, 20, 14, 22, 9, 6, 1};
// clang-format on

inline std::uint64_t rotateLeft(std::uint64_t value, int count)
{
    return (value << count) | (value >> (64 - count));
}

} // namespace

void keccakPermute(std::uint8_t *state)
{
    std::uint64_t lanes[25];
    for (int i = 0; i < 25; ++i) {
        std::uint64_t lane = 0;
        for (int b = 7; b >= 0; --b)
            lane = (lane << 8) | state[8 * i + b];
        lanes[i] = lane;
    }

    for (const std::uint64_t roundConstant : roundConstants) {
        std::uint64_t columns[5];
        for (int x = 0; x < 5; ++x)
            columns[x] = lanes[x] ^ lanes[x + 5] ^ lanes[x + 10] ^ lanes[x + 15] ^ lanes[x + 20];
        for (int x = 0; x < 5; ++x) {
            const std::uint64_t d = columns[(x + 4) % 5] ^ rotateLeft(columns[(x + 1) % 5], 1);
            for (int y = 0; y < 25; y += 5)
                lanes[y + x] ^= d;
        }

        std::uint64_t carried = lanes[1];
        for (int i = 0; i < 24; ++i) {
            const int target = piLanes[i];
            const std::uint64_t next = lanes[target];
            lanes[target] = rotateLeft(carried, rotations[i]);
            carried = next;
        }

        for (int y = 0; y < 25; y += 5) {
            std::uint64_t row[5];
            for (int x = 0; x < 5; ++x)
                row[x] = lanes[y + x];
            for (int x = 0; x < 5; ++x)
                lanes[y + x] = row[x] ^ (~row[(x + 1) % 5] & row[(x + 2) % 5]);
        }

        lanes[0] ^= roundConstant;
    }

    for (int i = 0; i < 25; ++i) {
        for (int b = 0; b < 8; ++b)
            state[8 * i + b] = static_cast<std::uint8_t>(lanes[i] >> (8 * b));
    }
}

void keccakInit(KeccakContext &context)
{
    std::memset(context.state, 0, sizeof context.state);
    context.position = 0;
}

void keccakUpdate(KeccakContext &context, const std::uint8_t *data, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i) {
        context.state[context.position++] ^= data[i];
        if (context.position == KeccakRate) {
            keccakPermute(context.state);
            context.position = 0;
        }
    }
}

void keccakFinal(KeccakContext &context, std::uint8_t *out64)
{
    context.state[context.position] ^= 0x01;
    context.state[KeccakRate - 1] ^= 0x80;
    keccakPermute(context.state);
    std::memcpy(out64, context.state, Keccak512Size);
}

QByteArray keccak512(const QByteArray &data)
{
    KeccakContext context;
    keccakInit(context);
    keccakUpdate(
        context, reinterpret_cast<const std::uint8_t *>(data.constData()), static_cast<std::size_t>(data.size()));
    QByteArray digest(Keccak512Size, '\0');
    keccakFinal(context, reinterpret_cast<std::uint8_t *>(digest.data()));
    return digest;
}
