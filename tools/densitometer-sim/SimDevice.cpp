#include "SimDevice.h"

#include <utility>

namespace tarvo::sim {

namespace {

constexpr std::uint8_t Identified = '!';
constexpr std::uint8_t ColourReady = '1';
constexpr std::uint8_t DensityReady = '!';

}  // namespace

SimDevice::SimDevice(SimScript script) : script_(std::move(script)) {
    queue_.assign(script_.readings.begin(), script_.readings.end());
}

SimAction SimDevice::command(std::uint8_t letter) {
    switch (letter) {
        case 'R':
        case 'A':
            return identify();
        case 'K':
            return poll();
        case 'D':
            return fetch();
        default:
            return {};
    }
}

SimAction SimDevice::identify() {
    ++identifies_;
    if (script_.identifySilent) {
        return {};
    }
    if (identifies_ == 1 && script_.firstIdentifyAnswer) {
        return {{*script_.firstIdentifyAnswer}};
    }
    SimAction action{{Identified}};
    action.reply.insert(action.reply.end(), script_.afterIdentify.begin(),
                        script_.afterIdentify.end());
    return action;
}

SimAction SimDevice::poll() {
    ++polls_;
    if (script_.hangupAfterPolls && polls_ > *script_.hangupAfterPolls) {
        return {{}, true};
    }
    if (script_.silentAfterReadings && fetched_ >= *script_.silentAfterReadings) {
        return {};
    }
    if (garbageSent_ < script_.garbage.size()) {
        return {script_.garbage[garbageSent_++]};
    }
    if (queue_.empty() && script_.endless) {
        queueMadeUpReading(*script_.endless);
    }
    if (queue_.empty()) {
        announced_ = false;
        return {{script_.idleStatus}};
    }
    announced_ = true;
    return {{queue_.front().density ? DensityReady : ColourReady}};
}

// A fetch without a reading announced gets no answer, as the device has
// nothing to send.
SimAction SimDevice::fetch() {
    if (!announced_ || queue_.empty()) {
        return {};
    }
    announced_ = false;
    const SimReading reading = queue_.front();
    queue_.pop_front();
    ++fetched_;
    return {replyBytes(reading)};
}

void SimDevice::advance(double elapsedSeconds) {
    while (const auto due = nextDue()) {
        if (*due > elapsedSeconds) {
            return;
        }
        const int next = timedReadings_ + 1;
        queueMadeUpReading(script_.densityEvery > 0 && next % script_.densityEvery == 0);
    }
}

// Reading numbers run 1..32767 and start again, never 0 (which means "none").
// Like the instrument, the simulator holds one measured reading: a new one
// replaces one nobody fetched, so a demo started long after the simulator
// does not begin with a burst of stale rows.
void SimDevice::queueMadeUpReading(bool density) {
    ++timedReadings_;
    const bool backIsAnnounced = announced_ && queue_.size() == 1;
    if (!queue_.empty() && queue_.back().madeUp && !backIsAnnounced) {
        queue_.pop_back();
    }
    SimReading reading = plausibleReading((timedReadings_ - 1) % 32767 + 1, density);
    reading.madeUp = true;
    newestTimedNumber_ = reading.words.at(0);
    queue_.push_back(reading);
}

std::optional<double> SimDevice::nextDue() const {
    if (script_.everySeconds <= 0) {
        return std::nullopt;
    }
    return script_.everySeconds * (timedReadings_ + 1);
}

}  // namespace tarvo::sim
