#include "device/CoalescedRescan.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

using std::chrono::milliseconds;
const CoalescedRescan::Clock::time_point kStart{};

CoalescedRescan::Clock::time_point at(int ms) {
    return kStart + milliseconds(ms);
}

// A burst of broadcasts, each within the quiet time of the one before, is
// looked at once, a quiet time after the last; the timer set by the first
// comes too early and is set again for the rest.
TEST(CoalescedRescan, ABurstOfBroadcastsGivesOneLookAQuietTimeAfterTheLast) {
    CoalescedRescan rescan;
    for (int ms : {0, 100, 250}) {
        EXPECT_EQ(rescan.announced(at(ms)), CoalescedRescan::kQuiet);
        EXPECT_FALSE(rescan.lookNow(at(ms))) << "looked while answering the broadcast";
    }
    EXPECT_FALSE(rescan.lookNow(at(300)));
    EXPECT_TRUE(rescan.pending());
    EXPECT_EQ(rescan.remaining(at(300)), milliseconds(250));
    EXPECT_TRUE(rescan.lookNow(at(550)));
    EXPECT_FALSE(rescan.pending());
    EXPECT_FALSE(rescan.lookNow(at(560))) << "one burst looked at twice";
    EXPECT_FALSE(rescan.lookNow(at(2000)));
}

TEST(CoalescedRescan, ABroadcastAfterTheLookStartsANewBurst) {
    CoalescedRescan rescan;
    rescan.announced(at(0));
    ASSERT_TRUE(rescan.lookNow(at(300)));
    rescan.announced(at(301));
    EXPECT_FALSE(rescan.lookNow(at(400)));
    EXPECT_TRUE(rescan.lookNow(at(601)));
}

// A timer a fraction of a millisecond early must not be set for nothing,
// which would fire at once and find the look still not due.
TEST(CoalescedRescan, TheWaitLeftIsNeverZeroWhileTheLookIsPending) {
    CoalescedRescan rescan;
    rescan.announced(at(0));
    const auto almost = at(300) - std::chrono::microseconds(200);
    EXPECT_FALSE(rescan.lookNow(almost));
    EXPECT_EQ(rescan.remaining(almost), milliseconds(1));
    EXPECT_EQ(CoalescedRescan().remaining(at(0)), milliseconds(0)) << "nothing pending";
}

}  // namespace
}  // namespace tarvo
