#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace tarvo {

// Where the beep's samples go: 16-bit mono at 48 kHz.
class SoundSink {
  public:
    static constexpr unsigned kRate = 48000;

    virtual ~SoundSink() = default;
    // Plays the samples and returns once they have sounded, never later than
    // `bound`; false when the device failed or the bound ran out.
    virtual bool play(const std::vector<std::int16_t>& samples,
                      std::chrono::milliseconds bound) = 0;
};

}  // namespace tarvo
