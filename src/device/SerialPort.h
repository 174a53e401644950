#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarvo {

enum class Parity { None, Odd, Even };
enum class StopBits { One, OnePointFive, Two };

// The four line settings the link chooses; everything else (flow control,
// modem lines) stays as the port reports it.
struct LineSettings {
    int baudRate = 9600;
    int dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
};

// Milliseconds, in the classic order. A read of n bytes ends when n bytes came,
// when readInterval passes after a byte without the next one, or at the latest
// after readTotalMultiplier * n + readTotalConstant; a write of n bytes gives
// up after writeTotalMultiplier * n + writeTotalConstant. An interval of 0
// sets no gap limit; a total of 0 moves only what can move at once, so no
// setting makes a read or write wait forever.
struct PortTimeouts {
    std::uint32_t readInterval = 200;
    std::uint32_t readTotalMultiplier = 400;
    std::uint32_t readTotalConstant = 500;
    std::uint32_t writeTotalMultiplier = 100;
    std::uint32_t writeTotalConstant = 1000;
};

// The outcome of one read or write: failed means the port itself broke (the
// device went away), which is not the same as a time-out that moved fewer
// bytes than asked, or none.
struct IoResult {
    bool ok = false;
    std::size_t count = 0;

    static IoResult failed() { return {false, 0}; }
    static IoResult transferred(std::size_t n) { return {true, n}; }
};

// What a purge does besides dropping both queues: abort also ends pending
// operations (there are none on a synchronous port, but the identify asks for it).
enum class PurgeMode { ClearQueues, AbortAndClear };

// One open serial port, opened exclusively; closed when destroyed.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Neither result is examined by the link: a port that rejects a setting is
    // found out by the identify exchange.
    virtual void setLine(const LineSettings& line) = 0;
    virtual void setTimeouts(const PortTimeouts& timeouts) = 0;

    virtual void purge(PurgeMode mode) = 0;
    virtual IoResult write(const std::uint8_t* data, std::size_t size) = 0;
    virtual IoResult read(std::uint8_t* data, std::size_t size) = 0;

    // The device path, for a diagnostic line; empty where there is none.
    virtual std::string name() const { return {}; }

    // What the system waits on for this port's input (a file descriptor, or
    // a handle on Windows), for a front-end to be told when bytes wait; -1
    // where there is none.
    virtual std::intptr_t waitHandle() const { return -1; }
};

// Opens COM1..COM4 (the number given, 1 to 4); an empty pointer when the port
// is absent or held by another program, with why saying which (path and reason).
using SerialPortOpener = std::function<std::unique_ptr<SerialPort>(int comPort, std::string& why)>;

}  // namespace tarvo
