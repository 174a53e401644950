#pragma once

#include <chrono>
#include <string>

#include "table/ReadingKind.h"

namespace tarvo {

// What the acquisition cycle needs of the densitometer link.
class ReadingLink {
  public:
    virtual ~ReadingLink() = default;
    // 0 when a densitometer answered on the port; -1 with the failure text in message.
    virtual int open(int comNumber, std::string& message) = 0;
    virtual void close() = 0;
    // The ReadingKind, or a negative result when the device is lost.
    virtual int exchange(ReadingValues& values) = 0;
    virtual void resetFailureCount() = 0;
    // Why the last open failed (path and reason), for a diagnostic line.
    virtual std::string failureReason() const { return {}; }
};

// The window timer that drives polling. Its ticks arrive on the user-interface
// thread, between window messages, so no two ticks ever overlap.
class PollTimer {
  public:
    virtual ~PollTimer() = default;
    // False when no timer could be installed.
    virtual bool install(std::chrono::milliseconds period) = 0;
    // Does nothing when no timer runs.
    virtual void kill() = 0;
};

class Beeper {
  public:
    virtual ~Beeper() = default;
    // Returns when the tone has sounded (or at once where there is no sound).
    virtual void beep(int frequencyHz, std::chrono::milliseconds duration) = 0;
    virtual void pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace tarvo
