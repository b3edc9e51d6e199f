#pragma once

#include <random>

namespace platform {

// Uniform random numbers for drawing questions.
class Random {
public:
    virtual ~Random() = default;
    // Seeds the generator afresh from the clock.
    virtual void reseed() = 0;
    // The next number, uniform from 0 (inclusive) to 1 (exclusive).
    virtual float next() = 0;
};

class ClockRandom final : public Random {
public:
    void reseed() override;
    float next() override;

private:
    std::mt19937 engine_;
};

} // namespace platform
