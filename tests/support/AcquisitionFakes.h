#pragma once

#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include "app/AcquisitionPorts.h"
#include "app/DateText.h"

namespace tarvo::test {

// A link whose every exchange result is scripted; an exhausted script means
// "nothing new".
class ScriptedLink final : public ReadingLink {
  public:
    struct Step {
        int result = 0;
        ReadingValues values{};
    };

    int open(int comNumber, std::string& message) override;
    void close() override;
    int exchange(ReadingValues& values) override;
    void resetFailureCount() override { ++failureResets; }
    std::string failureReason() const override { return openReason; }

    void queueReading(ReadingKind kind, ReadingValues values) {
        steps.push_back({static_cast<int>(kind), values});
    }
    void queueNothing(int ticks = 1) {
        for (int i = 0; i < ticks; ++i)
            steps.push_back({0, {}});
    }
    void queueFailure(int result) { steps.push_back({result, {}}); }

    std::deque<int> openResults;  // results of the coming opens; 0 once empty
    std::string openMessage = "Cannot open COM1 ! E4";
    std::string openReason = "/dev/ttyUSB0: Permission denied";
    std::deque<Step> steps;
    std::vector<int> openedComNumbers;
    int closes = 0;
    int failureResets = 0;
    int exchanges = 0;
    bool isOpen = false;
};

class ManualTimer final : public PollTimer {
  public:
    bool install(std::chrono::milliseconds period) override;
    void kill() override;

    bool running = false;
    bool failInstall = false;
    int installs = 0;
    int kills = 0;
    std::chrono::milliseconds period{0};
};

// Stands for the socket notifier: the test calls the cycle's inputWaiting
// itself, and asks this whether a real watch would have called it now.
class RecordingInputWatch final : public InputWatch {
  public:
    void watch(const SerialPort& watched) override;
    void unwatch() override;

    bool watching = false;
    const SerialPort* port = nullptr;
    int watches = 0;
    int unwatches = 0;
};

class RecordingBeeper final : public Beeper {
  public:
    void beep(int frequencyHz, std::chrono::milliseconds duration) override;
    void pause(std::chrono::milliseconds duration) override;

    // "beep 1000/50", "pause 50", in order.
    std::vector<std::string> events;
};

class ManualClock final : public Clock {
  public:
    LocalTime now() const override { return time; }
    LocalTime time{2026, 12, 6, 14, 5, 9};
};

}  // namespace tarvo::test
