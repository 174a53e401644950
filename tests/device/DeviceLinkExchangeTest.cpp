#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeSerialPort.h"
#include "device/DeviceLink.h"

namespace tarvo {
namespace {

using test::Bytes;
using test::FakeSerialDevice;
using ::testing::ElementsAre;

const Bytes ColourExample{0x00, 0x07, 0x04, 0xD2, 0xFF, 0x38, 0x00, 0x00, 0x0B, 0xB8, 0x01, 0xF4};
const Bytes DensityExample{0x00, 0x01, 0x01, 0x2C, 0x03, 0xE8};

constexpr int Colour = static_cast<int>(ReadingKind::Colour);
constexpr int Density = static_cast<int>(ReadingKind::Density);

// A link opened on the fake device, with the identify exchange already done.
class DeviceLinkExchange : public ::testing::Test {
  protected:
    void SetUp() override {
        device.answer("!");
        std::string message;
        ASSERT_EQ(link.open(1, 4800, 8, 0, 0, 2, nullptr, message), 0);
        mark = device.events().size();
    }

    void colourReady(const Bytes& reply) {
        device.answer("1");
        device.answer(reply);
    }
    void densityReady(const Bytes& reply) {
        device.answer("!");
        device.answer(reply);
    }
    // Events since the link was opened.
    std::vector<std::string> exchangeEvents() const {
        return {device.events().begin() + static_cast<std::ptrdiff_t>(mark), device.events().end()};
    }

    FakeSerialDevice device;
    DeviceLink link{device.opener(), nullptr};
    ReadingValues values{-1, -1, -1, -1, -1, -1};
    std::size_t mark = 0;
};

TEST_F(DeviceLinkExchange, ColourReplyDecodesBigEndianSignedWords) {
    colourReady(ColourExample);
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_THAT(values, ElementsAre(7, 1234, -200, 0, 3000, 500));
    EXPECT_THAT(exchangeEvents(),
                ElementsAre("purge", "write XK", "read 1", "write XD", "read 12"));
}

TEST_F(DeviceLinkExchange, ExtremeWordsSignExtend) {
    colourReady({0x7F, 0xFF, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x01, 0x00, 0x00, 0x80, 0x01});
    link.exchange(values);
    EXPECT_THAT(values, ElementsAre(32767, -32768, -1, 1, 0, -32767));
}

TEST_F(DeviceLinkExchange, DensityBeforeAnyColourLeavesWordsThreeToFiveZero) {
    densityReady(DensityExample);
    EXPECT_EQ(link.exchange(values), Density);
    EXPECT_THAT(values, ElementsAre(1, 300, 1000, 0, 0, 0));
    EXPECT_THAT(exchangeEvents(), ElementsAre("purge", "write XK", "read 1", "write XD", "read 6"));
}

TEST_F(DeviceLinkExchange, DensityKeepsTheLastColourWordsThreeToFive) {
    colourReady(ColourExample);
    link.exchange(values);
    densityReady(DensityExample);
    EXPECT_EQ(link.exchange(values), Density);
    EXPECT_THAT(values, ElementsAre(1, 300, 1000, 0, 3000, 500));
}

TEST_F(DeviceLinkExchange, ReadingNumberZeroReachesTheCycleAsNoReading) {
    colourReady({0x00, 0x00, 0x04, 0xD2, 0xFF, 0x38, 0x00, 0x00, 0x0B, 0xB8, 0x01, 0xF4});
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 0);
}

TEST_F(DeviceLinkExchange, ShortColourReplyIsDroppedQuietly) {
    link.setFailureCount(2);
    colourReady(Bytes(ColourExample.begin(), ColourExample.end() - 1));
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_THAT(values, ElementsAre(0, -1, -1, -1, -1, -1));
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, FailedColourFetchIsDroppedQuietly) {
    link.setFailureCount(4);
    device.answer("1");
    device.breakNextRead();
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, NotReadyStatusBytesFetchNothing) {
    for (const char* status : {"#", "3", "x", "\x00"}) {
        link.setFailureCount(3);
        device.answer(Bytes{static_cast<std::uint8_t>(status[0])});
        values = {-1, -1, -1, -1, -1, -1};
        EXPECT_EQ(link.exchange(values), Colour);
        EXPECT_THAT(values, ElementsAre(0, -1, -1, -1, -1, -1));
        EXPECT_EQ(link.failureCount(), 0);
    }
    EXPECT_THAT(device.commands(), ::testing::Not(::testing::Contains("XD")));
}

TEST_F(DeviceLinkExchange, StaleBytesArePurgedBeforeThePoll) {
    device.deliver({'1'});
    device.answer("#");
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 0);
    EXPECT_THAT(device.commands(), ElementsAre("XR", "XK"));
}

TEST_F(DeviceLinkExchange, FourMissesThenAReadingDelivers) {
    for (int miss = 1; miss <= 4; ++miss) {
        device.silence();
        EXPECT_EQ(link.exchange(values), Colour);
        EXPECT_EQ(values[0], 0);
        EXPECT_EQ(link.failureCount(), miss);
    }
    colourReady(ColourExample);
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 7);
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, FifthMissInARowMeansDeviceLost) {
    for (int miss = 1; miss <= 4; ++miss) {
        ASSERT_EQ(link.exchange(values), Colour);
    }
    values = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(link.exchange(values), DeviceLink::DeviceLost);
    EXPECT_THAT(values, ElementsAre(9, 9, 9, 9, 9, 9));
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, EveryMissPurgesTheQueues) {
    link.exchange(values);
    EXPECT_THAT(exchangeEvents(), ElementsAre("purge", "write XK", "read 1", "purge"));
}

TEST_F(DeviceLinkExchange, FailedStatusReadAfterAMissIsReadFailure) {
    link.exchange(values);
    ASSERT_EQ(link.failureCount(), 1);
    device.breakNextRead();
    values = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(link.exchange(values), DeviceLink::ReadFailed);
    EXPECT_THAT(values, ElementsAre(9, 9, 9, 9, 9, 9));
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, FirstFailedStatusReadIsCountedNotReported) {
    device.breakNextRead();
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link.failureCount(), 1);
    device.breakNextRead();
    EXPECT_EQ(link.exchange(values), DeviceLink::ReadFailed);
}

TEST_F(DeviceLinkExchange, FailedPollWriteIsReportedAtOnce) {
    link.setFailureCount(2);
    device.failNextWrite();
    values = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(link.exchange(values), DeviceLink::WriteFailed);
    EXPECT_THAT(values, ElementsAre(9, 9, 9, 9, 9, 9));
    EXPECT_EQ(link.failureCount(), 2);
}

TEST_F(DeviceLinkExchange, ShortPollWriteSkipsTheReadAndKeepsTheCount) {
    link.setFailureCount(2);
    device.shortenNextWrite(1);
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link.failureCount(), 2);
    EXPECT_THAT(exchangeEvents(), ElementsAre("purge", "write XK"));
}

TEST_F(DeviceLinkExchange, ShortDensityReplyPurgesAndDeliversNothing) {
    link.setFailureCount(3);
    densityReady(Bytes{0x00, 0x01, 0x01});
    EXPECT_EQ(link.exchange(values), Density);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link.failureCount(), 0);
    EXPECT_EQ(exchangeEvents().back(), "purge");
}

TEST_F(DeviceLinkExchange, ShortDensityReplyAfterFourMissesMeansDeviceLost) {
    link.setFailureCount(4);
    densityReady(Bytes{0x00, 0x01});
    EXPECT_EQ(link.exchange(values), DeviceLink::DeviceLost);
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, FailedDensityFetchIsDroppedQuietly) {
    link.setFailureCount(4);
    device.answer("!");
    device.breakNextRead();
    EXPECT_EQ(link.exchange(values), Density);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link.failureCount(), 0);
}

TEST_F(DeviceLinkExchange, SameReadingTwiceIsDeliveredTwice) {
    colourReady(ColourExample);
    colourReady(ColourExample);
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 7);
    values[0] = 0;
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_EQ(values[0], 7);
}

TEST_F(DeviceLinkExchange, ReadingIsHandedOutOnlyOnce) {
    colourReady(ColourExample);
    link.exchange(values);
    device.answer("#");
    EXPECT_EQ(link.exchange(values), Colour);
    EXPECT_THAT(values, ElementsAre(0, 1234, -200, 0, 3000, 500));
}

TEST(DeviceLinkClosed, ExchangeWithoutAPortFailsInsteadOfCrashing) {
    FakeSerialDevice device;
    DeviceLink link(device.opener(), nullptr);
    ReadingValues values{};
    EXPECT_EQ(link.exchange(values), DeviceLink::WriteFailed);
}

}  // namespace
}  // namespace tarvo
