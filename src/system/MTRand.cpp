#include "system/MTRand.h"

namespace Zorva {

namespace {

constexpr int kShiftDistance = 397;
constexpr uint32_t kMatrixA = 0x9908B0DFu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;

} // namespace

MTRand::MTRand(uint32_t seed)
{
    SRand(seed);
}

void MTRand::SRand(uint32_t seed)
{
    state[0] = seed == 0 ? kDefaultSeed : seed;
    for (int i = 1; i < kStateSize; ++i) {
        state[i] = state[i - 1] * 69069u; // modulo 2^32 by unsigned arithmetic
    }
    index = kStateSize;
}

void MTRand::Regenerate()
{
    for (int i = 0; i < kStateSize; ++i) {
        const uint32_t y = (state[i] & kUpperMask) | (state[(i + 1) % kStateSize] & kLowerMask);
        state[i] = state[(i + kShiftDistance) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    index = 0;
}

uint32_t MTRand::Next()
{
    if (index >= kStateSize) {
        Regenerate();
    }
    uint32_t y = state[index++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y & kLowerMask;
}

uint32_t MTRand::Next(uint32_t n)
{
    const uint32_t value = Next();
    return n == 0 ? 0 : value % n;
}

MTRand& Rand()
{
    static MTRand generator;
    return generator;
}

} // namespace Zorva
