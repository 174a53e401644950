#include "device/CoalescedRescan.h"

#include <algorithm>

namespace tarvo {

std::chrono::milliseconds CoalescedRescan::announced(Clock::time_point now) {
    due_ = now + kQuiet;
    return kQuiet;
}

bool CoalescedRescan::lookNow(Clock::time_point now) {
    if (!due_ || now < *due_) {
        return false;
    }
    due_.reset();
    return true;
}

std::chrono::milliseconds CoalescedRescan::remaining(Clock::time_point now) const {
    if (!due_) {
        return std::chrono::milliseconds::zero();
    }
    // Rounded up, so a timer set for the rest does not come early once more.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*due_ - now);
    return std::max(left, std::chrono::milliseconds(1));
}

}  // namespace tarvo
