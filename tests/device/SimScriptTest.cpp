#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "SimDevice.h"
#include "SimScript.h"

namespace tarvo::sim {
namespace {

using ::testing::ElementsAre;

SimScript scriptOf(const std::string& text) {
    SimScript script;
    std::string error;
    EXPECT_TRUE(applyScriptText(script, text, error)) << error;
    return script;
}

TEST(SimScript, ReadingsQueueInOrderWithTheirWords) {
    const SimScript script = scriptOf("colour=7,1234,-200,0,3000,500 # first\ndensity=1,300,1000");
    ASSERT_EQ(script.readings.size(), 2u);
    EXPECT_FALSE(script.readings[0].density);
    EXPECT_THAT(script.readings[0].words, ElementsAre(7, 1234, -200, 0, 3000, 500));
    EXPECT_TRUE(script.readings[1].density);
}

TEST(SimScript, BadItemsAreRejectedByName) {
    for (const char* item : {"colour=1,2,3", "density=1,2,3,4", "colour=1,2,3,4,5,99999", "idle=zz",
                             "every=-1", "frobnicate", "garbage=123"}) {
        SimScript script;
        std::string error;
        EXPECT_FALSE(applyScriptItem(script, item, error)) << item;
        EXPECT_THAT(error, ::testing::HasSubstr(item));
    }
}

// A period shorter than a poll made the device build millions of readings in
// one second, which no poll could ever fetch.
TEST(SimScript, PeriodShorterThanAPollIsRefusedWithTheReason) {
    for (const char* item : {"every=.0000000637155515848172795", "every=1e-8", "every=0.2499"}) {
        SimScript script;
        std::string error;
        EXPECT_FALSE(applyScriptItem(script, item, error)) << item;
        EXPECT_THAT(error, ::testing::HasSubstr("between two polls")) << item;
    }
    EXPECT_EQ(scriptOf("every=0.25").everySeconds, 0.25);
}

TEST(SimScript, BurstQueuesMadeUpReadingsNumberedAfterTheScriptedOnes) {
    const SimScript script = scriptOf("colour=7,1,2,3,4,5 density-every=2 burst=3");
    ASSERT_EQ(script.readings.size(), 4u);
    EXPECT_EQ(script.readings[1].words[0], 2);
    EXPECT_TRUE(script.readings[1].density);
    EXPECT_FALSE(script.readings[2].density);
    EXPECT_EQ(script.readings[3].words[0], 4);
}

TEST(SimScript, ShortCutsOnlyTheNextReadingsReply) {
    const SimScript script = scriptOf("short=5 colour=1,2,3,4,5,6 colour=1,2,3,4,5,6");
    EXPECT_EQ(replyBytes(script.readings[0]).size(), 5u);
    EXPECT_EQ(replyBytes(script.readings[1]).size(), 12u);
}

TEST(SimScript, RepliesAreBigEndianTwosComplement) {
    const SimScript script = scriptOf("density=1,-200,1000");
    EXPECT_THAT(replyBytes(script.readings[0]), ElementsAre(0x00, 0x01, 0xFF, 0x38, 0x03, 0xE8));
}

TEST(SimDevice, PollAnnouncesTheWaitingReadingAndFetchSendsIt) {
    SimDevice device(scriptOf("density=1,300,1000"));
    EXPECT_THAT(device.command('D').reply, ElementsAre());
    EXPECT_THAT(device.command('K').reply, ElementsAre('!'));
    EXPECT_EQ(device.command('D').reply.size(), 6u);
    EXPECT_THAT(device.command('K').reply, ElementsAre('#'));
}

TEST(SimDevice, IdentifyFaultsComeBeforeTheExclamation) {
    SimDevice device(scriptOf("identify-first=3F after-identify=3131"));
    EXPECT_THAT(device.command('R').reply, ElementsAre('?'));
    EXPECT_THAT(device.command('R').reply, ElementsAre('!', '1', '1'));
}

TEST(SimDevice, SilentAfterKReadingsStopsAnsweringPolls) {
    SimDevice device(scriptOf("silent-after=1 colour=1,0,0,0,0,0 colour=2,0,0,0,0,0"));
    device.command('K');
    device.command('D');
    EXPECT_TRUE(device.command('K').reply.empty());
}

TEST(SimDevice, HangUpComesOnThePollAfterK) {
    SimDevice device(scriptOf("hangup-after=2"));
    EXPECT_FALSE(device.command('K').hangup);
    EXPECT_FALSE(device.command('K').hangup);
    EXPECT_TRUE(device.command('K').hangup);
}

TEST(SimDevice, TimedReadingsAreNumberedFromOneAndMixDensity) {
    SimDevice device(scriptOf("every=2 density-every=3"));
    device.advance(1.9);
    EXPECT_EQ(device.waitingReadings(), 0u);
    std::vector<std::uint8_t> statuses;
    for (int i = 1; i <= 3; ++i) {
        device.advance(2.0 * i);
        statuses.push_back(device.command('K').reply.at(0));
        const auto reply = device.command('D').reply;
        EXPECT_EQ(reply.at(1), i);
    }
    EXPECT_EQ(*device.nextDue(), 8.0);
    EXPECT_THAT(statuses, ElementsAre('1', '1', '!'));
}

TEST(SimDevice, UnfetchedTimedReadingIsReplacedNotQueued) {
    SimDevice device(scriptOf("every=1"));
    device.advance(30.0);
    EXPECT_EQ(device.waitingReadings(), 1u);
    device.command('K');
    EXPECT_EQ(device.command('D').reply.at(1), 30);
}

TEST(SimDevice, AnnouncedReadingIsNotReplacedBeforeItsFetch) {
    SimDevice device(scriptOf("every=1"));
    device.advance(1.0);
    device.command('K');
    device.advance(2.0);
    EXPECT_EQ(device.command('D').reply.at(1), 1);
    EXPECT_EQ(device.waitingReadings(), 1u);
}

}  // namespace
}  // namespace tarvo::sim
