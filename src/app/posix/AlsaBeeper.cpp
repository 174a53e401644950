#include "app/posix/AlsaBeeper.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr unsigned kRate = SoundSink::kRate;
// Enough buffer for the tone; small enough that it has sounded soon after it.
constexpr unsigned kLatencyMicroseconds = 60000;
constexpr milliseconds kLatency(kLatencyMicroseconds / 1000);

std::vector<std::int16_t> sine(int frequencyHz, milliseconds duration) {
    const auto frames = static_cast<std::size_t>(kRate * duration.count() / 1000);
    std::vector<std::int16_t> samples(frames);
    const std::size_t fade = kRate / 1000 * 3;  // 3 ms ramps avoid clicks
    for (std::size_t i = 0; i < frames; ++i) {
        double envelope = 1.0;
        if (i < fade)
            envelope = double(i) / fade;
        if (frames - i < fade)
            envelope = double(frames - i) / fade;
        double phase = 2 * std::numbers::pi * frequencyHz * double(i) / kRate;
        samples[i] = static_cast<std::int16_t>(12000 * envelope * std::sin(phase));
    }
    return samples;
}

// ALSA prints every failed open to stderr; a machine without sound is normal here.
void quiet(const char*, int, const char*, int, const char*, ...) {}

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 0));
}

// ALSA's default device, kept non-blocking: a device that stalls (a sound
// server gone away, a USB card pulled) costs the bound, never the tick.
class AlsaSink final : public SoundSink {
  public:
    explicit AlsaSink(snd_pcm_t* pcm) : pcm_(pcm) {}
    ~AlsaSink() override { snd_pcm_close(pcm_); }
    AlsaSink(const AlsaSink&) = delete;
    AlsaSink& operator=(const AlsaSink&) = delete;

    bool play(const std::vector<std::int16_t>& samples, milliseconds bound) override {
        const auto deadline = Clock::now() + bound;
        const bool sounded =
            snd_pcm_prepare(pcm_) >= 0 && write(samples, deadline) && waitUntilPlayed(deadline);
        if (!sounded)
            snd_pcm_drop(pcm_);
        return sounded;
    }

  private:
    bool write(const std::vector<std::int16_t>& samples, Clock::time_point deadline) {
        std::size_t done = 0;
        while (done < samples.size()) {
            const snd_pcm_sframes_t written =
                snd_pcm_writei(pcm_, samples.data() + done, samples.size() - done);
            if (written == -EAGAIN) {
                if (millisecondsLeft(deadline) == 0 ||
                    snd_pcm_wait(pcm_, millisecondsLeft(deadline)) < 0)
                    return false;
            } else if (written < 0) {
                return false;
            } else {
                done += static_cast<std::size_t>(written);
            }
        }
        return true;
    }

    bool waitUntilPlayed(Clock::time_point deadline) {
        // A tone shorter than the buffer never reaches the start threshold by itself.
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED && snd_pcm_start(pcm_) < 0)
            return false;
        snd_pcm_sframes_t delay = 0;
        while (snd_pcm_delay(pcm_, &delay) == 0 && delay > 0) {
            if (millisecondsLeft(deadline) == 0)
                return false;
            std::this_thread::sleep_for(milliseconds(std::min(5, millisecondsLeft(deadline))));
        }
        return true;
    }

    snd_pcm_t* pcm_;
};

std::unique_ptr<SoundSink> openAlsaSink() {
    snd_lib_error_set_handler(quiet);
    snd_pcm_t* pcm = nullptr;
    // Non-blocking, so a device held by another program cannot stall start-up.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                           kLatencyMicroseconds) < 0) {
        snd_pcm_close(pcm);
        return nullptr;
    }
    return std::make_unique<AlsaSink>(pcm);
}

}  // namespace

AlsaBeeper::AlsaBeeper(std::function<void()> bell) : AlsaBeeper(openAlsaSink(), std::move(bell)) {}

AlsaBeeper::AlsaBeeper(std::unique_ptr<SoundSink> sink, std::function<void()> bell)
    : sink_(std::move(sink)), bell_(std::move(bell)) {}

void AlsaBeeper::beep(int frequencyHz, milliseconds duration) {
    // The tone plus the device's buffer is as long as a beep may hold the tick.
    if (sink_ && sink_->play(sine(frequencyHz, duration), duration + kLatency))
        return;
    // A device that failed once is not waited on again: every later beep is the bell.
    sink_.reset();
    if (bell_)
        bell_();
}

void AlsaBeeper::pause(milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace tarvo
