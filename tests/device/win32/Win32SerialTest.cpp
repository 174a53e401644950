// The Win32 serial layer against densitometer-sim, run under wine by
// scripts/test-windows, which points the prefix's COM ports at simulators:
//   COM1  colour=7,1234,-200,0,3000,500 density=1,300,1000 silent-after=2
//   COM2  identify=silent
//   COM3  a folder, which CreateFileA refuses as Windows refuses a missing port
//   COM4  --pace endless=colour
//   COM5  a link to nothing: wine opens the port, and every ReadFile on it
//         fails, as on Windows once the port's adapter has been pulled out
// TARVO_SIM_LOGS names the folder (as Windows sees it) of the simulators'
// logs, sim-com1.log and so on: "com1.log" would name the port itself.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "device/DeviceLink.h"
#include "device/win32/Win32DeviceLink.h"
#include "device/win32/Win32SerialPort.h"

namespace tarvo {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using ::testing::ElementsAre;

milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

// Wine applies share modes to files only, so there a second CreateFileA of
// an open COM port succeeds.
bool underWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

int countOf(const std::string& logName, const std::string& what) {
    std::ifstream log(std::string(std::getenv("TARVO_SIM_LOGS")) + "\\sim-" + logName);
    int count = 0;
    for (std::string line; std::getline(log, line);)
        count += line.find(what) != std::string::npos;
    return count;
}

class Win32Link : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("TARVO_SIM_LOGS") == nullptr)
            GTEST_SKIP() << "needs the simulators of scripts/test-windows";
    }
    int openAsStartDev(DeviceLink& target, int comNumber) {
        return target.open(comNumber, 4800, 8, 0, 0, 2, nullptr, message);
    }

    std::unique_ptr<DeviceLink> link = makeWin32DeviceLink();
    std::string message;
    ReadingValues values{};
};

TEST_F(Win32Link, ColourAndDensityExchangesThenTheFifthSilentPollLosesTheDevice) {
    ASSERT_EQ(openAsStartDev(*link, 1), 0) << message;
    EXPECT_EQ(link->exchange(values), 0);
    EXPECT_THAT(values, ElementsAre(7, 1234, -200, 0, 3000, 500));
    EXPECT_EQ(link->exchange(values), 1);
    EXPECT_THAT(values, ElementsAre(1, 300, 1000, 0, 3000, 500));
    for (int silent = 1; silent <= 4; ++silent) {
        EXPECT_EQ(link->exchange(values), 0);
        EXPECT_EQ(values[0], 0);
        EXPECT_EQ(link->failureCount(), silent);
    }
    EXPECT_EQ(link->exchange(values), DeviceLink::DeviceLost);
    EXPECT_EQ(link->failureCount(), 0);
}

TEST_F(Win32Link, SilentDeviceGivesE1AfterOneIdentifyOnly) {
    const auto start = Clock::now();
    EXPECT_EQ(openAsStartDev(*link, 2), -1);
    EXPECT_GE(since(start), milliseconds(850)) << "the 900 ms read time-out was not kept";
    EXPECT_EQ(message,
              "Cannot write to open COM2 ! E1, \rprobably device not connected or switched off.");
    EXPECT_EQ(countOf("com2.log", "cmd XR"), 1);
    EXPECT_FALSE(link->isOpen());
}

TEST_F(Win32Link, SilentTwelveByteReadSucceedsEmptyAtItsTotalTimeout) {
    auto port = Win32SerialPort::open(2);
    ASSERT_TRUE(port);
    port->setTimeouts(PortTimeouts{});
    std::uint8_t reply[12];
    const auto start = Clock::now();
    IoResult read = port->read(reply, sizeof reply);
    const auto took = since(start);
    EXPECT_TRUE(read.ok) << "a time-out must not read as a broken port";
    EXPECT_EQ(read.count, 0u);
    EXPECT_GE(took, milliseconds(5200));
    EXPECT_LT(took, milliseconds(9000));
}

// Windows's own all-zero record would wait until all 12 bytes came, for ever.
TEST_F(Win32Link, ReadTotalsOfZeroReturnAtOnceWithNothingFromASilentDevice) {
    auto port = Win32SerialPort::open(2);
    ASSERT_TRUE(port);
    port->setTimeouts(PortTimeouts{0, 0, 0, 100, 1000});
    std::uint8_t reply[12];
    const auto start = Clock::now();
    const IoResult read = port->read(reply, sizeof reply);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.count, 0u);
    EXPECT_LT(since(start), milliseconds(2000)) << "the read waited";
}

// Where the silent read above is a time-out, this one is a broken line.
TEST_F(Win32Link, FailedReadFileOnAPortWithoutItsDeviceIsABrokenLine) {
    auto gone = Win32SerialPort::open(5);
    ASSERT_TRUE(gone);
    gone->setTimeouts(PortTimeouts{});
    std::uint8_t reply[12];
    const auto start = Clock::now();
    EXPECT_FALSE(gone->read(reply, sizeof reply).ok);
    EXPECT_LT(since(start), milliseconds(5200)) << "a broken line is not waited out";
}

TEST_F(Win32Link, MissingPortGivesE4) {
    EXPECT_EQ(openAsStartDev(*link, 3), -1);
    EXPECT_EQ(message, "Cannot open COM3 ! E4");
}

TEST_F(Win32Link, HeldPortGivesE4UntilItsHolderClosesIt) {
    if (underWine())
        GTEST_SKIP() << "wine does not refuse a second open of a port opened with share mode 0";
    ASSERT_EQ(openAsStartDev(*link, 4), 0) << message;
    auto other = makeWin32DeviceLink();
    EXPECT_EQ(openAsStartDev(*other, 4), -1);
    EXPECT_EQ(message, "Cannot open COM4 ! E4");
    link->close();
    EXPECT_EQ(openAsStartDev(*other, 4), 0) << "a closed port must open again at once";
}

}  // namespace
}  // namespace tarvo
