#include "app/posix/AlsaBeeper.h"

#include <gtest/gtest.h>

#include "FakeSoundSink.h"

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

TEST(AlsaBeeper, ToneIsPlayedWithABoundOfTheToneAndTheDeviceBufferOnly) {
    auto sink = std::make_unique<test::FakeSoundSink>();
    auto* played = sink.get();
    int bells = 0;
    AlsaBeeper beeper(std::move(sink), [&] { ++bells; });
    beeper.beep(1000, std::chrono::milliseconds(100));
    EXPECT_EQ(bells, 0);
    ASSERT_EQ(played->frames.size(), 1u);
    EXPECT_EQ(played->frames[0], 4800u);
    EXPECT_LE(played->bounds[0], std::chrono::milliseconds(160));
    EXPECT_GE(played->bounds[0], std::chrono::milliseconds(100));
}

TEST(AlsaBeeper, DeviceFailingMidWayRingsTheBellAndIsNotWaitedOnAgain) {
    auto sink = std::make_unique<test::FakeSoundSink>();
    auto* played = sink.get();
    played->failFromCall = 2;
    int bells = 0;
    AlsaBeeper beeper(std::move(sink), [&] { ++bells; });
    beeper.beep(1000, std::chrono::milliseconds(50));
    EXPECT_EQ(bells, 0);
    beeper.beep(1000, std::chrono::milliseconds(50));
    EXPECT_EQ(bells, 1);
    EXPECT_FALSE(beeper.hasSound());
    beeper.beep(1000, std::chrono::milliseconds(50));
    EXPECT_EQ(bells, 2);
}

}  // namespace
}  // namespace tarvo
