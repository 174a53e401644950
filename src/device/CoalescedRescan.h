#pragma once

#include <chrono>
#include <optional>

namespace tarvo {

// Windows tells of one adapter plugged in or out with several device-change
// broadcasts in a row, and each waits until every top-level window has
// answered it. So the Ports window looks at the system's ports once per
// burst, after the broadcasts have stopped for a quiet time, and not while it
// answers one: each announcement sets the wait again, and the look is taken
// when the wait passes with none.
class CoalescedRescan {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuiet{300};

    // An announcement came at now: the wait to set, in place of any earlier one.
    std::chrono::milliseconds announced(Clock::time_point now);
    // The wait is over at now: true once per burst, when the look is due. A
    // timer that came early leaves the look pending for remaining(now) more.
    bool lookNow(Clock::time_point now);
    bool pending() const { return due_.has_value(); }
    std::chrono::milliseconds remaining(Clock::time_point now) const;

  private:
    std::optional<Clock::time_point> due_;
};

}  // namespace tarvo
