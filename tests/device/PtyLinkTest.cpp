#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "SimulatorProcess.h"
#include "TempDir.h"
#include "device/DeviceLink.h"
#include "device/posix/PosixDeviceLink.h"
#include "device/posix/PosixSerialPort.h"

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::SimulatorProcess;
using ::testing::ElementsAre;

milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// The real serial layer on COM1, pointed at a simulator started with the given script.
class PtyLink : public ::testing::Test {
  protected:
    void start(const std::vector<std::string>& script) {
        simulator = std::make_unique<SimulatorProcess>(script, dir / "sim.log");
        ASSERT_FALSE(simulator->devicePath().empty()) << "the simulator did not start";
        link = std::make_unique<DeviceLink>(
            posixPortOpener({simulator->devicePath(), "/nonexistent/ttyS1", "", ""}), nullptr);
    }
    int openAsStartDev(int comNumber = 1) {
        return link->open(comNumber, 4800, 8, 0, 0, 2, nullptr, message);
    }

    test::TempDir dir;
    std::unique_ptr<SimulatorProcess> simulator;
    std::unique_ptr<DeviceLink> link;
    std::string message;
    ReadingValues values{};
};

TEST_F(PtyLink, ColourReadingArrivesDecoded) {
    start({"colour=7,1234,-200,0,3000,500", "density=1,300,1000"});
    ASSERT_EQ(openAsStartDev(), 0);
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_THAT(values, ElementsAre(7, 1234, -200, 0, 3000, 500));
    EXPECT_EQ(link->exchange(values), 1);
    EXPECT_THAT(values, ElementsAre(1, 300, 1000, 0, 3000, 500));
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_EQ(values[0], 0);
    EXPECT_THAT(simulator->commands(), ElementsAre("XR", "XK", "XD", "XK", "XD", "XK"));
}

TEST_F(PtyLink, WrongFirstIdentifyAnswerThenExclamationOpens) {
    start({"identify-first=3F"});
    EXPECT_EQ(openAsStartDev(), 0);
    EXPECT_THAT(simulator->commands(), ElementsAre("XR", "XR"));
}

TEST_F(PtyLink, SilentDeviceFailsWithE1AfterOneReadTimeout) {
    start({"identify=silent"});
    const auto begin = Clock::now();
    EXPECT_EQ(openAsStartDev(), -1);
    const milliseconds took = since(begin);
    EXPECT_GE(took.count(), 850);
    EXPECT_LE(took.count(), 2000);
    EXPECT_EQ(message,
              "Cannot write to open COM1 ! E1, \rprobably device not connected or switched off.");
    EXPECT_THAT(simulator->commands(), ElementsAre("XR"));
    EXPECT_FALSE(link->isOpen());
}

TEST_F(PtyLink, PortHeldByAnotherOpenerGivesE4) {
    start({});
    auto holder = PosixSerialPort::open(simulator->devicePath());
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(openAsStartDev(), -1);
    EXPECT_EQ(message, "Cannot open COM1 ! E4");
    holder.reset();
    EXPECT_EQ(openAsStartDev(), 0);
}

TEST_F(PtyLink, OpenLinkHoldsThePortAgainstOthers) {
    start({});
    ASSERT_EQ(openAsStartDev(), 0);
    std::string why;
    EXPECT_EQ(PosixSerialPort::open(simulator->devicePath(), &why), nullptr);
    EXPECT_THAT(why, ::testing::HasSubstr("held"));
    link->close();
    EXPECT_NE(PosixSerialPort::open(simulator->devicePath()), nullptr);
}

TEST_F(PtyLink, MissingDeviceGivesE4WithTheNumberPassed) {
    start({});
    EXPECT_EQ(openAsStartDev(2), -1);
    EXPECT_EQ(message, "Cannot open COM2 ! E4");
}

TEST_F(PtyLink, BytesAfterTheIdentifyAnswerArePurgedBeforeThePoll) {
    start({"after-identify=31310007"});
    ASSERT_EQ(openAsStartDev(), 0);
    ASSERT_TRUE(simulator->waitForEvent("send 21", milliseconds(2000)));
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_EQ(values[0], 0);
    EXPECT_THAT(simulator->commands(), ElementsAre("XR", "XK"));
}

TEST_F(PtyLink, UnplugDuringPollingEndsInANegativeResult) {
    start({"hangup-after=2"});
    ASSERT_EQ(openAsStartDev(), 0);
    int result = 0;
    for (int tick = 0; tick < 6 && result >= 0; ++tick) {
        result = link->exchange(values);
    }
    EXPECT_LT(result, 0);
}

TEST_F(PtyLink, FailedStatusReadAfterAMissIsReadFailure) {
    start({"hangup-after=1"});
    ASSERT_EQ(openAsStartDev(), 0);
    ASSERT_EQ(link->exchange(values), 0);
    link->setFailureCount(1);
    const auto begin = Clock::now();
    EXPECT_EQ(link->exchange(values), DeviceLink::ReadFailed);
    // A hang-up is noticed at once, not after the read time-out.
    EXPECT_LT(since(begin).count(), 850);
}

TEST_F(PtyLink, PollWriteAfterHangUpIsWriteFailure) {
    start({"hangup-after=0"});
    ASSERT_EQ(openAsStartDev(), 0);
    link->exchange(values);
    EXPECT_EQ(link->exchange(values), DeviceLink::WriteFailed);
}

TEST_F(PtyLink, ShortReplyEndsAfterTheGapNotTheTotalTimeout) {
    start({"short=11", "colour=7,1234,-200,0,3000,500"});
    ASSERT_EQ(openAsStartDev(), 0);
    const auto begin = Clock::now();
    values = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link->failureCount(), 0);
    const milliseconds took = since(begin);
    EXPECT_GE(took.count(), 190);
    EXPECT_LT(took.count(), 1500);
}

TEST_F(PtyLink, SilentPollsAreLostOnTheFifthTick) {
    start({"silent-after=0"});
    ASSERT_EQ(openAsStartDev(), 0);
    for (int miss = 1; miss <= 4; ++miss) {
        ASSERT_EQ(link->exchange(values), 0);
        ASSERT_EQ(link->failureCount(), miss);
    }
    EXPECT_EQ(link->exchange(values), DeviceLink::DeviceLost);
}

TEST_F(PtyLink, GarbageAnswerIsPurgedAndTheNextPollReadsCleanly) {
    start({"garbage=FF3131", "colour=7,1234,-200,0,3000,500"});
    ASSERT_EQ(openAsStartDev(), 0);
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_EQ(values[0], 0);
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_EQ(values[0], 7);
    EXPECT_THAT(simulator->commands(), ElementsAre("XR", "XK", "XK", "XD"));
}

TEST_F(PtyLink, SimulatorLogsOnTheSameMonotonicClock) {
    start({});
    ASSERT_EQ(openAsStartDev(), 0);
    const double before = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    link->exchange(values);
    const double after = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    double polledAt = 0;
    for (const auto& event : simulator->events()) {
        if (event.what == "cmd XK") {
            polledAt = event.seconds;
        }
    }
    EXPECT_GE(polledAt, before - 0.001);
    EXPECT_LE(polledAt, after + 0.001);
}

TEST_F(PtyLink, PacedColourExchangeTakesAtLeastItsWireTime) {
    start({"--pace", "colour=7,1234,-200,0,3000,500"});
    ASSERT_EQ(openAsStartDev(), 0);
    const auto begin = Clock::now();
    EXPECT_EQ(link->exchange(values), 0);
    const milliseconds took = since(begin);
    EXPECT_EQ(values[0], 7);
    // 17 bytes of 10 bits at 4800 baud.
    EXPECT_GE(took.count(), 35);
    EXPECT_LT(took.count(), 1000);
}

TEST(PosixSerialPortTimeouts, SilentOneByteReadEndsAtItsTotalTimeout) {
    test::TempDir dir;
    SimulatorProcess simulator({"identify=silent"}, dir / "sim.log");
    auto port = PosixSerialPort::open(simulator.devicePath());
    ASSERT_NE(port, nullptr);
    port->setTimeouts(PortTimeouts{});
    std::uint8_t byte = 0;
    const auto begin = Clock::now();
    const IoResult read = port->read(&byte, 1);
    const milliseconds took = since(begin);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 0u);
    EXPECT_GE(took.count(), 850);
    EXPECT_LE(took.count(), 2000);
}

TEST(PosixSerialPortOpen, RegularFileIsNotASerialPort) {
    test::TempDir dir;
    const auto path = dir / "not-a-port";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    std::string why;
    EXPECT_EQ(PosixSerialPort::open(path.string(), &why), nullptr);
    EXPECT_THAT(why, ::testing::HasSubstr("not a serial port"));
}

}  // namespace
}  // namespace tarvo
