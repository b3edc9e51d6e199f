#include "support/FakeRandom.h"

float FakeRandom::next()
{
    ++draws;
    if (!values.empty()) {
        const float value = values.front();
        values.pop_front();
        return value;
    }
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<float>((state_ >> 8) & 0xFFFFFFu) / 16777216.0f;
}
