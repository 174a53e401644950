// The port an instrument that sends unasked is read through, against the
// simulators of scripts/test-windows (see Win32SerialTest.cpp): its waiting
// read must set the event when bytes come, hand them out without waiting,
// and tell a broken line from a quiet one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "device/win32/Win32WatchedPort.h"

namespace tarvo {
namespace {

constexpr DWORD kAnswerDeadlineMs = 10000;

class Win32Watched : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("TARVO_SIM_LOGS") == nullptr)
            GTEST_SKIP() << "needs the simulators of scripts/test-windows";
    }

    // The simulator on COM4 answers the identify command with '!'.
    std::unique_ptr<Win32WatchedPort> openAsked() {
        auto port = Win32WatchedPort::open("COM4");
        if (port) {
            port->setLine(LineSettings{4800, 8, Parity::None, StopBits::One});
            port->setTimeouts(PortTimeouts{0, 0, 0, 100, 1000});
            port->purge(PurgeMode::ClearQueues);
        }
        return port;
    }

    static IoResult send(SerialPort& port, const char* command) {
        return port.write(reinterpret_cast<const std::uint8_t*>(command), 2);
    }

    static DWORD waitOn(const SerialPort& port, DWORD ms) {
        return WaitForSingleObject(reinterpret_cast<HANDLE>(port.waitHandle()), ms);
    }
};

TEST_F(Win32Watched, ItsEventIsSetWhileBytesWaitAndClearedOnceAllAreRead) {
    auto port = openAsked();
    ASSERT_TRUE(port);
    std::uint8_t bytes[16];
    IoResult quiet = port->read(bytes, sizeof bytes);
    EXPECT_TRUE(quiet.ok);
    EXPECT_EQ(quiet.count, 0u) << "nothing was asked";
    EXPECT_EQ(waitOn(*port, 0), WAIT_TIMEOUT);

    ASSERT_EQ(send(*port, "XR").count, 2u);
    ASSERT_EQ(waitOn(*port, kAnswerDeadlineMs), WAIT_OBJECT_0) << "no wake-up for the answer";
    // Level-triggered: still set for bytes not yet read.
    EXPECT_EQ(waitOn(*port, 0), WAIT_OBJECT_0);
    const IoResult answer = port->read(bytes, sizeof bytes);
    ASSERT_TRUE(answer.ok);
    ASSERT_EQ(answer.count, 1u);
    EXPECT_EQ(bytes[0], '!');
    EXPECT_EQ(waitOn(*port, 0), WAIT_TIMEOUT) << "set with nothing left to read";
}

TEST_F(Win32Watched, AReadTakesNoMoreThanAskedAndLeavesTheRestWaiting) {
    auto port = openAsked();
    ASSERT_TRUE(port);
    ASSERT_EQ(send(*port, "XR").count, 2u);
    ASSERT_EQ(waitOn(*port, kAnswerDeadlineMs), WAIT_OBJECT_0);
    ASSERT_EQ(send(*port, "XR").count, 2u);
    // Both answers, however the waiting read split them.
    std::string got;
    for (int reads = 0; got.size() < 2 && reads < 50; ++reads) {
        ASSERT_EQ(waitOn(*port, kAnswerDeadlineMs), WAIT_OBJECT_0);
        std::uint8_t one = 0;
        const IoResult read = port->read(&one, 1);
        ASSERT_TRUE(read.ok);
        if (read.count == 1)
            got += static_cast<char>(one);
    }
    EXPECT_EQ(got, "!!");
}

TEST_F(Win32Watched, APurgeDropsWhatTheWaitingReadBrought) {
    auto port = openAsked();
    ASSERT_TRUE(port);
    ASSERT_EQ(send(*port, "XR").count, 2u);
    ASSERT_EQ(waitOn(*port, kAnswerDeadlineMs), WAIT_OBJECT_0);
    port->purge(PurgeMode::ClearQueues);
    std::uint8_t bytes[16];
    const IoResult read = port->read(bytes, sizeof bytes);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 0u);
    EXPECT_EQ(waitOn(*port, 0), WAIT_TIMEOUT);
}

// COM5 leads to no device: as on Windows once an adapter is pulled out, the
// read fails, and the event wakes whoever waits, so the break is seen.
TEST_F(Win32Watched, APortWithoutItsDeviceWakesTheWaiterAndReadsAsBroken) {
    auto gone = Win32WatchedPort::open("COM5");
    ASSERT_TRUE(gone);
    EXPECT_EQ(waitOn(*gone, kAnswerDeadlineMs), WAIT_OBJECT_0);
    std::uint8_t bytes[16];
    EXPECT_FALSE(gone->read(bytes, sizeof bytes).ok);
    EXPECT_FALSE(gone->read(bytes, sizeof bytes).ok) << "a broken port stays broken";
}

}  // namespace
}  // namespace tarvo
