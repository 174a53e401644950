#include "device/LineLink.h"

#include <gtest/gtest.h>

#include "FakeSerialPort.h"

namespace tarvo {
namespace {

using test::Bytes;
using Strings = std::vector<std::string>;

Bytes text(std::string_view line) {
    return Bytes(line.begin(), line.end());
}

class LineLinkTest : public ::testing::Test {
  protected:
    // The kind and number of every reading received so far.
    std::vector<std::pair<int, int>> handedOut() {
        std::vector<std::pair<int, int>> readings;
        ReadingValues values{};
        for (int kind = link.exchange(values); values[0] != 0; kind = link.exchange(values)) {
            readings.emplace_back(kind, values[0]);
        }
        return readings;
    }

    test::FakeSerialDevice device;
    LineLink link{device.opener()};
};

TEST_F(LineLinkTest, OpenSetsTheLineAndAsksTheInstrumentNothing) {
    device.deliver(text("C1.38 M1.4"));  // half a line from before the start
    std::string message = "untouched";
    ASSERT_EQ(link.open(2, 1200, message), 0);
    EXPECT_EQ(message, "untouched");
    EXPECT_EQ(device.events(), (Strings{"open COM2", "line 1200 8N1", "timeouts", "purge"}));
    EXPECT_TRUE(device.commands().empty());
    EXPECT_EQ(device.pendingBytes(), 0u);
    // Reads take what is there: nothing in them may wait.
    EXPECT_EQ(device.timeouts()->readInterval, 0u);
    EXPECT_EQ(device.timeouts()->readTotalMultiplier, 0u);
    EXPECT_EQ(device.timeouts()->readTotalConstant, 0u);
    ASSERT_NE(link.port(), nullptr);
}

TEST_F(LineLinkTest, APortThatCannotOpenGivesE4WithTheNumberAskedFor) {
    device.holdPort(1);
    std::string message;
    EXPECT_EQ(link.open(7, 9600, message), -1);
    EXPECT_EQ(message, "Cannot open COM7 ! E4");
    EXPECT_EQ(link.failureReason(), "COM1: Device or resource busy");
    EXPECT_EQ(link.port(), nullptr);
}

TEST_F(LineLinkTest, ReadingsAreNumberedFromOneAtEveryOpen) {
    std::string message;
    ASSERT_EQ(link.open(1, 1200, message), 0);
    device.deliver(text("V1.45 C1.38 M1.41 Y1.02 \r\nV0.50\r\n"));
    ASSERT_EQ(link.receive(), 0);
    device.deliver(text("V1.45 C1.38 M1.41 Y1.02 \r\n"));
    ASSERT_EQ(link.receive(), 0);
    EXPECT_EQ(handedOut(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}, {0, 3}}));
    link.close();
    ASSERT_EQ(link.open(1, 1200, message), 0);
    device.deliver(text("V0.50\r\n"));
    ASSERT_EQ(link.receive(), 0);
    EXPECT_EQ(handedOut(), (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST_F(LineLinkTest, AReadingLeftInTheLinkAtCloseIsNotHandedOutAfterTheNextOpen) {
    std::string message;
    ASSERT_EQ(link.open(1, 1200, message), 0);
    device.deliver(text("V0.50\r\nV0.6"));
    ASSERT_EQ(link.receive(), 0);
    link.close();
    ASSERT_EQ(link.open(1, 1200, message), 0);
    device.deliver(text("V0.70\r\n"));
    ASSERT_EQ(link.receive(), 0);
    ReadingValues values{};
    EXPECT_EQ(link.exchange(values), 1);
    EXPECT_EQ(values, (ReadingValues{1, 700, 0, 0, 0, 0}));
    EXPECT_EQ(link.exchange(values), 0);
    EXPECT_EQ(values[0], 0);
}

TEST_F(LineLinkTest, AReadThatFailsIsTheLinePulledOut) {
    std::string message;
    ASSERT_EQ(link.open(1, 1200, message), 0);
    device.unplug();
    EXPECT_EQ(link.receive(), LineLink::ReadFailed);
    EXPECT_EQ(link.failureReason(), "fake COM1: the line broke");
}

TEST_F(LineLinkTest, AClosedLinkReceivesAndHandsOutNothing) {
    ReadingValues values{9, 9, 9, 9, 9, 9};
    EXPECT_EQ(link.receive(), 0);
    EXPECT_EQ(link.exchange(values), 0);
    EXPECT_EQ(values[0], 0);
}

}  // namespace
}  // namespace tarvo
