#pragma once

#include <deque>
#include <optional>

#include "SimScript.h"

namespace tarvo::sim {

// What the device does about one command: the bytes to send back, and
// whether it drops the line instead.
struct SimAction {
    Bytes reply;
    bool hangup = false;
};

// The densitometer's side of the protocol: identify, poll and fetch, driven
// by a script. Plain logic; the program around it owns the line and the clock.
class SimDevice {
  public:
    explicit SimDevice(SimScript script);

    // One complete command: 'X' followed by this letter.
    SimAction command(std::uint8_t letter);

    // Queues the timed readings that are due elapsedSeconds after the start.
    void advance(double elapsedSeconds);
    // When the next timed reading is due, in seconds after the start.
    std::optional<double> nextDue() const;

    std::size_t waitingReadings() const { return queue_.size(); }
    // How many timed readings were made ready so far, and the number of the
    // newest one (0 before the first).
    int timedReadings() const { return timedReadings_; }
    int newestTimedNumber() const { return newestTimedNumber_; }

  private:
    SimAction identify();
    SimAction poll();
    SimAction fetch();
    void queueMadeUpReading(bool density);

    SimScript script_;
    std::deque<SimReading> queue_;
    bool announced_ = false;
    int identifies_ = 0;
    int polls_ = 0;
    int fetched_ = 0;
    int timedReadings_ = 0;
    int newestTimedNumber_ = 0;
    std::size_t garbageSent_ = 0;
};

}  // namespace tarvo::sim
