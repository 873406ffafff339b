#include "core/PseudoRandom.h"

#include <chrono>
#include <random>

namespace qv {

void PseudoRandom::SeedUnpredictably()
{
    // The system's random source (RtlGenRandom on Windows), not the clock.
    // Should it be missing, the clock still gives a seed: the names are then
    // easier to guess, but a guessed name is only ever skipped, never used.
    try {
        Seed(std::random_device{}());
    } catch (...) {
        auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
        Seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
    }
}

}  // namespace qv
