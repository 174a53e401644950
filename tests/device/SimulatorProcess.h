#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvo::test {

// One line of the simulator's log: monotonic seconds and what happened.
struct SimEvent {
    double seconds = 0;
    std::string what;  // "cmd XK", "send 31", "junk 41", "hangup"
};

// The densitometer simulator running as a child process on its own pty, for
// tests that need the real serial layer. Stopped (and reaped) when destroyed.
class SimulatorProcess {
  public:
    SimulatorProcess(const std::vector<std::string>& arguments, const std::filesystem::path& log);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    // The terminal the simulator printed, or empty when it printed none in time.
    const std::string& devicePath() const { return devicePath_; }

    std::vector<SimEvent> events() const;
    // Only the commands, e.g. {"XR", "XK", "XD"}.
    std::vector<std::string> commands() const;
    // Waits until the log holds an event starting with prefix.
    bool waitForEvent(const std::string& prefix, std::chrono::milliseconds bound) const;

  private:
    void readDevicePath(int pipe, std::chrono::milliseconds bound);

    pid_t pid_ = -1;
    std::filesystem::path log_;
    std::string devicePath_;
};

}  // namespace tarvo::test
