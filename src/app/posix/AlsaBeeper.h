#pragma once

#include <functional>

#include "app/AcquisitionPorts.h"

struct _snd_pcm;

namespace tarvo {

// Plays the reading beep as a real sine tone through ALSA's default device.
// Where there is no sound device (a server, a CI machine) it falls back to
// the bell it is given, once the device has failed to open; it never fails
// the program.
class AlsaBeeper final : public Beeper {
  public:
    explicit AlsaBeeper(std::function<void()> bell);
    ~AlsaBeeper() override;
    AlsaBeeper(const AlsaBeeper&) = delete;
    AlsaBeeper& operator=(const AlsaBeeper&) = delete;

    void beep(int frequencyHz, std::chrono::milliseconds duration) override;
    void pause(std::chrono::milliseconds duration) override;

    bool hasSound() const { return pcm_ != nullptr; }

  private:
    bool play(int frequencyHz, std::chrono::milliseconds duration);

    std::function<void()> bell_;
    _snd_pcm* pcm_ = nullptr;
};

}  // namespace tarvo
