#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <numeric>
#include <vector>

#include "device/posix/PosixSerialPort.h"

namespace tarvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A fresh pseudo-terminal pair; its terminal side starts as any terminal does,
// echoing, translating line ends and honouring XON/XOFF.
class FreshPty : public ::testing::Test {
  protected:
    void SetUp() override {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        terminal = ::ptsname(master);
        // Opened before the port takes it exclusively, to look at its settings.
        observer = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(observer, 0);
        ASSERT_TRUE(line().c_lflag & ECHO) << "the pty did not start in terminal mode";
    }
    void TearDown() override {
        for (int fd : {observer, master}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }

    termios line() const {
        termios tio{};
        ::tcgetattr(observer, &tio);
        return tio;
    }

    // Everything the master side can read within the bound, up to size bytes.
    Bytes readMaster(std::size_t size) const {
        Bytes got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (got.size() < size && std::chrono::steady_clock::now() < deadline) {
            pollfd ready{master, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0) {
                continue;
            }
            std::uint8_t chunk[512];
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n <= 0) {
                break;
            }
            got.insert(got.end(), chunk, chunk + n);
        }
        return got;
    }

    int master = -1;
    int observer = -1;
    std::string terminal;
};

Bytes everyByteValue() {
    Bytes all(256);
    std::iota(all.begin(), all.end(), 0);
    return all;
}

TEST_F(FreshPty, LineIsRaw4800EightNoneOneWithoutEchoMappingOrXonXoff) {
    auto port = PosixSerialPort::open(terminal);
    ASSERT_NE(port, nullptr);
    port->setLine(LineSettings{4800, 8, Parity::None, StopBits::One});
    const termios tio = line();
    EXPECT_EQ(::cfgetispeed(&tio), B4800);
    EXPECT_EQ(::cfgetospeed(&tio), B4800);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS));
    EXPECT_FALSE(tio.c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN));
    EXPECT_FALSE(tio.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXON | IXOFF | IXANY));
    EXPECT_FALSE(tio.c_oflag & OPOST);
}

TEST_F(FreshPty, EveryByteValueCrossesUnchangedBothWays) {
    auto port = PosixSerialPort::open(terminal);
    ASSERT_NE(port, nullptr);
    port->setLine(LineSettings{4800, 8, Parity::None, StopBits::One});
    port->setTimeouts(PortTimeouts{});
    const Bytes all = everyByteValue();

    const IoResult sent = port->write(all.data(), all.size());
    EXPECT_TRUE(sent.ok);
    EXPECT_EQ(sent.count, all.size());
    EXPECT_EQ(readMaster(all.size()), all) << "bytes to the device were changed";

    ASSERT_EQ(::write(master, all.data(), all.size()), static_cast<ssize_t>(all.size()));
    Bytes got(all.size() + 1);
    const IoResult read = port->read(got.data(), all.size());
    EXPECT_TRUE(read.ok);
    got.resize(read.count);
    EXPECT_EQ(got, all) << "bytes from the device were changed";
    // An echo would reach the device before this marker.
    const std::uint8_t marker = 'X';
    ASSERT_EQ(port->write(&marker, 1).count, 1u);
    EXPECT_EQ(readMaster(1), Bytes{marker}) << "the terminal echoed what it received";
}

}  // namespace
}  // namespace tarvo
