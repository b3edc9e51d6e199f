#pragma once

#include "platform/Random.h"

#include <deque>

// Random numbers for tests: the scripted values first, then a fixed sequence that visits the
// whole interval, so a long draw needs no script.
class FakeRandom final : public platform::Random {
public:
    void reseed() override { ++reseeds; }
    float next() override;

    std::deque<float> values;
    int reseeds = 0;
    int draws = 0;

private:
    unsigned state_ = 12345u;
};
