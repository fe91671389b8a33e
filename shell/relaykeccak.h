#pragma once

// Keccak-512 as its authors first defined it (rate 72 bytes, padding byte 0x01), which the relay expects; it is
// not SHA3-512, whose padding byte is 0x06.

#include <QByteArray>

#include <cstddef>
#include <cstdint>

struct KeccakContext
{
    // 25 lanes of 64 bits, lane i little-endian at bytes 8i..8i+7.
    std::uint8_t state[200];
    // Absorb position inside the current 72-byte block.
    int position;
};

constexpr int KeccakRate = 72;
constexpr int Keccak512Size = 64;

void keccakInit(KeccakContext &context);
void keccakUpdate(KeccakContext &context, const std::uint8_t *data, std::size_t length);
void keccakFinal(KeccakContext &context, std::uint8_t *out64);
// Keccak-f[1600] over a 200-byte state.
void keccakPermute(std::uint8_t *state);

// The 64 raw digest bytes.
QByteArray keccak512(const QByteArray &data);
