#pragma once

#include "platform/MessageBoxes.h"

#include <QList>
#include <deque>
#include <functional>

// Message boxes for tests: records every box and answers from a script. A box with no answer
// queued fails the running test (a real box would wait for a user who is not there).
class FakeMessageBoxes final : public platform::MessageBoxes {
public:
    // Queues the answer for the next box; whileOpen runs while that box is "open", as a user's
    // wait would let timer ticks run.
    void answer(platform::Answer answer, std::function<void()> whileOpen = {});

    platform::Answer show(const platform::MessageBox& box) override;

    QList<platform::MessageBox> shown;
    qsizetype unanswered() const { return static_cast<qsizetype>(script_.size()); }
    // Boxes that came with no answer queued.
    int unexpected = 0;

private:
    struct Scripted {
        platform::Answer answer;
        std::function<void()> whileOpen;
    };
    std::deque<Scripted> script_;
};
