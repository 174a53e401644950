#include "app/posix/AlsaBeeper.h"

#include <alsa/asoundlib.h>

#include <cmath>
#include <numbers>
#include <thread>
#include <vector>

namespace tarvo {
namespace {

constexpr unsigned kRate = 48000;
// Enough buffer for the tone; small enough that drain returns soon after it.
constexpr unsigned kLatencyMicroseconds = 60000;

std::vector<std::int16_t> sine(int frequencyHz, std::chrono::milliseconds duration) {
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

}  // namespace

AlsaBeeper::AlsaBeeper(std::function<void()> bell) : bell_(std::move(bell)) {
    // Opened non-blocking so a device held by another program cannot stall start-up.
    snd_lib_error_set_handler(quiet);
    if (snd_pcm_open(&pcm_, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pcm_ = nullptr;
        return;
    }
    if (snd_pcm_nonblock(pcm_, 0) < 0 ||
        snd_pcm_set_params(pcm_, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kRate, 1,
                           kLatencyMicroseconds) < 0) {
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
}

AlsaBeeper::~AlsaBeeper() {
    if (pcm_)
        snd_pcm_close(pcm_);
}

void AlsaBeeper::beep(int frequencyHz, std::chrono::milliseconds duration) {
    if (play(frequencyHz, duration))
        return;
    if (bell_)
        bell_();
}

bool AlsaBeeper::play(int frequencyHz, std::chrono::milliseconds duration) {
    if (!pcm_)
        return false;
    auto samples = sine(frequencyHz, duration);
    snd_pcm_prepare(pcm_);
    snd_pcm_sframes_t written = snd_pcm_writei(pcm_, samples.data(), samples.size());
    if (written < 0)
        written = snd_pcm_recover(pcm_, static_cast<int>(written), 1);
    if (written < 0)
        return false;
    snd_pcm_drain(pcm_);
    return true;
}

void AlsaBeeper::pause(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

}  // namespace tarvo
