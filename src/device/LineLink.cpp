#include "device/LineLink.h"

#include <array>
#include <utility>

#include "device/LineChoice.h"

namespace tarvo {

namespace {

// One read takes at most this much, so a flood of lines is shown a piece at
// a time between window messages instead of holding the window.
constexpr std::size_t kReadChunk = 1024;

LineSettings eightNoneOne(int baudRate) {
    LineSettings line;
    line.baudRate = baudRate;
    line.dataBits = 8;
    line.parity = Parity::None;
    line.stopBits = StopBits::One;
    return line;
}

// Reads take what is there and never wait; the port's owner is told when to read.
PortTimeouts noWaiting() {
    PortTimeouts timeouts;
    timeouts.readInterval = 0;
    timeouts.readTotalMultiplier = 0;
    timeouts.readTotalConstant = 0;
    return timeouts;
}

}  // namespace

LineLink::LineLink(SerialPortOpener opener) : opener_(std::move(opener)) {}

LineLink::~LineLink() {
    close();
}

int LineLink::open(int comNumber, int baudRate, std::string& message) {
    close();
    failureReason_.clear();
    port_ = opener_ ? opener_(choosePort(comNumber), failureReason_) : nullptr;
    if (!port_) {
        message = cannotOpenText(comNumber);
        return -1;
    }
    port_->setLine(eightNoneOne(baudRate));
    port_->setTimeouts(noWaiting());
    // Half a line sent before the start would only be dropped as noise.
    port_->purge(PurgeMode::ClearQueues);
    parser_.reset();
    lastNumber_ = 0;
    return 0;
}

void LineLink::close() {
    port_.reset();
}

int LineLink::receive() {
    if (!port_) {
        return 0;
    }
    std::array<std::uint8_t, kReadChunk> bytes{};
    const IoResult read = port_->read(bytes.data(), bytes.size());
    if (!read.ok) {
        failureReason_ = port_->name() + ": the line broke";
        return ReadFailed;
    }
    parser_.feed(bytes.data(), read.count);
    return 0;
}

int LineLink::exchange(ReadingValues& values) {
    const std::optional<LineOutcome> reading = parser_.next();
    if (!reading) {
        values[0] = 0;
        return 0;
    }
    values = reading->values;
    values[0] = ++lastNumber_;
    return static_cast<int>(reading->reading);
}

}  // namespace tarvo
