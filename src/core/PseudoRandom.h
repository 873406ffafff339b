#pragma once
// The program's pseudo-random numbers (temporary file names): one generator,
// seeded from the system's random source, so that nobody can tell the names
// a run will use from the time it started. Tests seed it themselves.
#include <cstdint>

namespace qv {

class PseudoRandom {
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    void SeedUnpredictably();
    // A whole number in [0, bound); 0 when bound is 0.
    std::uint32_t Below(std::uint32_t bound)
    {
        state_ = state_ * 0x08088405u + 1u;  // linear congruential, period 2^32
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * bound) >> 32);
    }

private:
    std::uint32_t state_ = 0;
};

}  // namespace qv
