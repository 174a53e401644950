#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "excel/calc/OwnedFolder.h"

namespace tarvo::calc {

// One private office process: its own user profile in a fresh temporary
// folder, listening on a named pipe, gone when this object is unless it was
// released. Profiles and pipes that a killed program left behind are removed
// when the next starts. The office is started as the real binary, not the
// launcher script, under a guard process (OfficeGuard.h) whose end is the
// office's end.
class SofficeProcess {
  public:
    struct Launch {
        std::filesystem::path program;
        // Empty: the profile folder's name, so a leftover pipe is known by it.
        std::string pipeName;
        bool headless = true;
    };

    // Throws std::runtime_error when the program cannot be started.
    explicit SofficeProcess(const Launch& launch);
    ~SofficeProcess();
    SofficeProcess(const SofficeProcess&) = delete;
    SofficeProcess& operator=(const SofficeProcess&) = delete;

    const std::string& pipeName() const { return pipeName_; }
    bool running();
    // Waits up to `timeout` for the process to end by itself.
    bool waitForExit(std::chrono::milliseconds timeout);
    // Ends the process now; safe from any thread, any number of times.
    void kill();
    // kill() and reap, so no process is left behind.
    void stop();
    // Lets the office run on after this object and this program are gone,
    // with its profile; it can no longer be killed from here.
    void release();

  private:
    std::vector<std::string> arguments(const Launch& launch) const;
    static std::vector<std::string> environment(const Launch& launch);
    void spawn();
    void reap(bool block);

    std::optional<OwnedFolder> profile_;
    std::string pipeName_;
    std::vector<std::string> arguments_;
    std::vector<std::string> environment_;
    pid_t guard_ = -1;
    std::atomic<bool> reaped_{false};
    std::atomic<bool> released_{false};
};

}  // namespace tarvo::calc
