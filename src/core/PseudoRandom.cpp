#include "core/PseudoRandom.h"

#include <chrono>

namespace qv {

void PseudoRandom::SeedFromClock()
{
    auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    Seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

}  // namespace qv
