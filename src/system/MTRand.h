#pragma once

#include <array>
#include <cstdint>

namespace Zorva {

/// The Mersenne Twister MT19937 with the 1998 reference seeding and results of 31 bits
/// (0..2^31-1). One seed reproduces the whole sequence, which demo playback relies on.
class MTRand
{
public:
    /// The reference generator's seed, also used in place of a seed of 0.
    static constexpr uint32_t kDefaultSeed = 4357;

    explicit MTRand(uint32_t seed = kDefaultSeed);

    void SRand(uint32_t seed);
    /// The next result, 0..2^31-1.
    uint32_t Next();
    /// Next() % n; 0 when n is 0 (a result is still drawn, so the sequence stays in step).
    uint32_t Next(uint32_t n);

private:
    static constexpr int kStateSize = 624;

    void Regenerate();

    std::array<uint32_t, kStateSize> state{};
    int index = kStateSize;
};

/// The process-wide generator. It is seeded once at start-up; every random choice of the
/// program draws from it, on the main thread.
MTRand& Rand();

} // namespace Zorva
