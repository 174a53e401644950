#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace tarvo::calc {

// Puts a deadline on a blocking call that cannot take one itself: when the
// call is still running at its deadline, `onExpiry` runs on the watchdog's
// own thread (it kills the server, which makes the call fail).
class CallWatchdog {
  public:
    explicit CallWatchdog(std::function<void()> onExpiry);
    ~CallWatchdog();
    CallWatchdog(const CallWatchdog&) = delete;
    CallWatchdog& operator=(const CallWatchdog&) = delete;

    // Watches one call for as long as it lives. With `stillAnswering`, a call
    // at its deadline gets another `limit` each time that says so: a call the
    // server answers only once the operator has, is not a hung server.
    class Watch {
      public:
        Watch(CallWatchdog& watchdog, std::chrono::milliseconds limit,
              std::function<bool()> stillAnswering = {});
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

      private:
        CallWatchdog& watchdog_;
    };

    // The deadline of some call has passed since construction.
    bool expired() const;

  private:
    void arm(std::chrono::milliseconds limit, std::function<bool()> stillAnswering);
    bool patient(std::unique_lock<std::mutex>& lock,
                 std::chrono::steady_clock::time_point deadline);
    void disarm();
    void run();

    std::function<void()> onExpiry_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::chrono::steady_clock::time_point> deadline_;
    std::chrono::milliseconds limit_{0};
    std::function<bool()> stillAnswering_;
    bool expired_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace tarvo::calc
