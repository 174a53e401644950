#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

#include "app/SoundSink.h"

namespace tarvo::test {

// Records what the beeper plays and fails from a chosen call on.
class FakeSoundSink final : public SoundSink {
  public:
    bool play(const std::vector<std::int16_t>& samples, std::chrono::milliseconds bound) override {
        frames.push_back(samples.size());
        bounds.push_back(bound);
        return static_cast<int>(frames.size()) < failFromCall;
    }

    int failFromCall = 1000;
    std::vector<std::size_t> frames;
    std::vector<std::chrono::milliseconds> bounds;
};

}  // namespace tarvo::test
