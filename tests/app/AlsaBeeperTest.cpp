#include "app/posix/AlsaBeeper.h"

#include <gtest/gtest.h>

namespace tarvo {
namespace {

// Build machines have no sound card: the beep must still reach the operator
// as the bell, and must not fail.
TEST(AlsaBeeper, WithoutASoundDeviceTheBellRings) {
    int bells = 0;
    AlsaBeeper beeper([&] { ++bells; });
    beeper.beep(1000, std::chrono::milliseconds(50));
    EXPECT_EQ(bells, beeper.hasSound() ? 0 : 1);
}

}  // namespace
}  // namespace tarvo
