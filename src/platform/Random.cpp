#include "platform/Random.h"

#include <chrono>

namespace platform {

void ClockRandom::reseed()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    std::seed_seq seed{static_cast<unsigned>(ticks), static_cast<unsigned>(ticks >> 32)};
    engine_.seed(seed);
}

float ClockRandom::next()
{
    // 24 random bits give every float in [0, 1) on an even grid, never 1 itself.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

} // namespace platform
