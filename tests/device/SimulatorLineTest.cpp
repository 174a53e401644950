#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "SimulatorProcess.h"
#include "TempDir.h"
#include "device/posix/PosixSerialPort.h"

namespace tarvo {
namespace {

using std::chrono::milliseconds;
using test::SimulatorProcess;

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST(SimulatorLink, RegularFileAtTheLinkPathIsRefusedAndKept) {
    test::TempDir dir;
    const auto victim = dir / "Tarvo.ini";
    std::ofstream(victim) << "[Generic]\nCOMMNO=2\n";
    {
        SimulatorProcess simulator({"--link", victim.string()}, dir / "sim.log");
        EXPECT_TRUE(simulator.devicePath().empty()) << "the simulator started over a file";
    }
    EXPECT_FALSE(std::filesystem::is_symlink(victim));
    EXPECT_EQ(slurp(victim), "[Generic]\nCOMMNO=2\n");
}

TEST(SimulatorLink, OldSymlinkIsReplacedAndRemovedAtTheEnd) {
    test::TempDir dir;
    const auto link = dir / "ttyDENS";
    std::filesystem::create_symlink("/dev/pts/stale", link);
    {
        SimulatorProcess simulator({"--link", link.string()}, dir / "sim.log");
        ASSERT_FALSE(simulator.devicePath().empty());
        EXPECT_EQ(std::filesystem::read_symlink(link), simulator.devicePath());
    }
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
}

// A child that holds the line as tarvo does, until it is killed.
pid_t holdLineInAChild(const std::string& device) {
    int ready[2];
    if (::pipe(ready) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        auto port = PosixSerialPort::open(device);
        const char held = port ? '1' : '0';
        [[maybe_unused]] const ssize_t n = ::write(ready[1], &held, 1);
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    char held = '0';
    if (child < 0 || ::read(ready[0], &held, 1) != 1 || held != '1') {
        ADD_FAILURE() << "the child could not hold the line";
    }
    ::close(ready[0]);
    return child;
}

TEST(SimulatorLine, KilledClientLeavesTheLineOpenForOthers) {
    test::TempDir dir;
    SimulatorProcess simulator({}, dir / "sim.log");
    ASSERT_FALSE(simulator.devicePath().empty());
    const pid_t child = holdLineInAChild(simulator.devicePath());
    ASSERT_GT(child, 0);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(simulator.waitForEvent("unlocked", milliseconds(5000)));
    // Root would get past the exclusive flag, so the flag itself is checked.
    const int fd = ::open(simulator.devicePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    int exclusive = 1;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    EXPECT_EQ(exclusive, 0);
    EXPECT_NE(PosixSerialPort::open(simulator.devicePath()), nullptr);
}

}  // namespace
}  // namespace tarvo
