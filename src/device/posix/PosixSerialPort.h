#pragma once

#include <memory>
#include <string>
#include <utility>

#include "device/SerialPort.h"

namespace tarvo {

// A serial port (or pseudo-terminal) on termios and poll(). Reads and writes
// keep the time-outs they are given as deadlines; a hang-up or I/O error is a
// failure, distinct from a time-out that moved fewer bytes.
class PosixSerialPort final : public SerialPort {
  public:
    // Opens the path for reading and writing, exclusively: an advisory lock
    // keeps out other programs that lock (and root, whom TIOCEXCL does not stop),
    // TIOCEXCL keeps out those that do not. Empty when the path is missing, is
    // not a terminal, or is held; why then says which.
    static std::unique_ptr<PosixSerialPort> open(const std::string& path,
                                                 std::string* why = nullptr);

    ~PosixSerialPort() override;
    PosixSerialPort(const PosixSerialPort&) = delete;
    PosixSerialPort& operator=(const PosixSerialPort&) = delete;

    void setLine(const LineSettings& line) override;
    void setTimeouts(const PortTimeouts& timeouts) override { timeouts_ = timeouts; }
    void purge(PurgeMode mode) override;
    IoResult write(const std::uint8_t* data, std::size_t size) override;
    IoResult read(std::uint8_t* data, std::size_t size) override;
    std::string name() const override { return path_; }
    std::intptr_t waitHandle() const override { return fd_; }

  private:
    PosixSerialPort(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}

    int fd_;
    std::string path_;
    PortTimeouts timeouts_;
};

}  // namespace tarvo
