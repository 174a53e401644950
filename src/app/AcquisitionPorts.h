#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "device/SerialPort.h"
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

    // Instruments that send their readings unasked are not polled: the cycle
    // is woken when bytes wait on this port (nullptr for a polled device,
    // which the timer drives), calls receive, then exchange until it hands
    // out nothing.
    virtual const SerialPort* unaskedPort() const { return nullptr; }
    // Takes what has come on the port without waiting; negative when the
    // device is lost.
    virtual int receive() { return 0; }
    // While a reading has begun to come without its line end: how long
    // without a byte ends it. Then gapPassed is due.
    virtual std::optional<std::chrono::milliseconds> pendingGap() const { return std::nullopt; }
    virtual void gapPassed() {}
    // Lines received since the open that were no reading, and the last of them.
    virtual int droppedLines() const { return 0; }
    virtual std::string lastDropped() const { return {}; }
};

// Wakes the acquisition cycle when bytes wait on the port of an instrument
// that sends unasked: a socket notifier on Linux, an event-driven read on
// Windows. Its calls come on the user-interface thread between window
// messages, as the timer's ticks do.
class InputWatch {
  public:
    virtual ~InputWatch() = default;
    // From now on calls its owner whenever bytes wait on the port, also for
    // bytes that came before this call.
    virtual void watch(const SerialPort& port) = 0;
    // No calls until the next watch. Allowed inside one of its own calls.
    virtual void unwatch() = 0;
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
