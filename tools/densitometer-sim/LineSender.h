#pragma once

#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <optional>

#include "LineFormat.h"
#include "SimLine.h"
#include "SimScript.h"

namespace tarvo::sim {

// Plays an instrument that sends each reading as a line of text unasked.
// Nothing is sent while no client holds the line (the instrument would send
// into an unplugged cable); once one takes it, the scripted readings go out
// one after another, then a made-up one every every= seconds, each byte at
// the line's pace. Readings are numbered from 1 for each client, as the
// client numbers them itself.
class LineSender {
  public:
    using Clock = std::chrono::steady_clock;
    // A client sets its line and drops what waits before it listens.
    static constexpr std::chrono::milliseconds kSettle{300};
    // Longer than a reader's gap, so that CR-ended lines stay apart.
    static constexpr std::chrono::milliseconds kLinePause{300};

    LineSender(SimLine& line, SimScript script, const LineOptions& options, std::FILE* log,
               Clock::duration byteTime, const volatile std::sig_atomic_t& stopRequested);

    // Until stopped or hung up; 0, or 1 when the line failed.
    int run();

  private:
    void followClient();
    void drainInput();
    // When the next reading goes out; nothing while none will.
    std::optional<Clock::time_point> nextDue() const;
    void sendReading();
    // When the last part of the line was handed to the terminal.
    Clock::time_point sendLine(const Bytes& bytes);
    void waitForWork(std::optional<Clock::time_point> due);
    void hangUp();
    void record(const std::string& event, Clock::time_point at = Clock::now());

    SimLine& line_;
    SimScript script_;
    LineOptions options_;
    std::FILE* log_;
    Clock::duration byteTime_;
    const volatile std::sig_atomic_t& stopRequested_;
    Clock::time_point start_ = Clock::now();
    std::deque<SimReading> scripted_;
    bool client_ = false;
    Clock::time_point clientSince_{};
    Clock::time_point lineFree_{};
    int sent_ = 0;       // readings sent to this client
    int sentTotal_ = 0;  // readings sent since the start
};

}  // namespace tarvo::sim
