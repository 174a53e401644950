#pragma once

#include <functional>
#include <memory>

#include "app/AcquisitionPorts.h"
#include "app/SoundSink.h"

namespace tarvo {

// Plays the reading beep as a real sine tone through ALSA's default device.
// Where there is no sound device (a server, a CI machine) it falls back to
// the bell it is given, once the device has failed to open or fails mid-way;
// it never fails the program, and never holds the caller much beyond the tone.
class AlsaBeeper final : public Beeper {
  public:
    explicit AlsaBeeper(std::function<void()> bell);
    // A null sink stands for a machine without sound.
    AlsaBeeper(std::unique_ptr<SoundSink> sink, std::function<void()> bell);

    void beep(int frequencyHz, std::chrono::milliseconds duration) override;
    void pause(std::chrono::milliseconds duration) override;

    bool hasSound() const { return sink_ != nullptr; }

  private:
    std::unique_ptr<SoundSink> sink_;
    std::function<void()> bell_;
};

}  // namespace tarvo
