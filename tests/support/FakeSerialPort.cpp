#include "FakeSerialPort.h"

#include <algorithm>

namespace tarvo::test {

namespace {

const char* parityName(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return "O";
        case Parity::Even:
            return "E";
        default:
            return "N";
    }
}

const char* stopBitsName(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OnePointFive:
            return "1.5";
        case StopBits::Two:
            return "2";
        default:
            return "1";
    }
}

}  // namespace

void FakeSerialDevice::answer(Bytes bytes) {
    answers_.push_back({std::move(bytes), false});
}

void FakeSerialDevice::breakNextRead() {
    answers_.push_back({{}, true});
}

void FakeSerialDevice::failNextWrite() {
    writeResults_.push_back(std::nullopt);
}

void FakeSerialDevice::shortenNextWrite(std::size_t count) {
    writeResults_.push_back(count);
}

void FakeSerialDevice::deliver(const Bytes& bytes) {
    received_.insert(received_.end(), bytes.begin(), bytes.end());
}

SerialPortOpener FakeSerialDevice::opener() {
    return [this](int comPort, std::string& why) -> std::unique_ptr<SerialPort> {
        if (held_.count(comPort) != 0) {
            record("open COM" + std::to_string(comPort) + " refused");
            why = "COM" + std::to_string(comPort) + ": Device or resource busy";
            return nullptr;
        }
        return std::make_unique<FakeSerialPort>(*this, comPort);
    };
}

std::vector<std::string> FakeSerialDevice::commands() const {
    std::vector<std::string> written;
    for (const auto& event : events_) {
        if (event.rfind("write ", 0) == 0) {
            written.push_back(event.substr(6));
        }
    }
    return written;
}

IoResult FakeSerialDevice::write(const std::uint8_t* data, std::size_t size) {
    record("write " + std::string(data, data + size));
    std::optional<std::size_t> result = size;
    if (!writeResults_.empty()) {
        result = writeResults_.front();
        writeResults_.pop_front();
    }
    if (!result) {
        return IoResult::failed();
    }
    if (!answers_.empty()) {
        const Answer next = answers_.front();
        answers_.pop_front();
        received_.insert(received_.end(), next.bytes.begin(), next.bytes.end());
        readFails_ = next.readFails;
    }
    return IoResult::transferred(std::min(*result, size));
}

IoResult FakeSerialDevice::read(std::uint8_t* data, std::size_t size) {
    record("read " + std::to_string(size));
    if (readFails_ || unplugged_) {
        readFails_ = false;
        return IoResult::failed();
    }
    const std::size_t count = std::min(size, received_.size());
    std::copy_n(received_.begin(), count, data);
    received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(count));
    return IoResult::transferred(count);
}

FakeSerialPort::FakeSerialPort(FakeSerialDevice& device, int comPort)
    : device_(device), comPort_(comPort) {
    ++device_.openPorts_;
    device_.record("open COM" + std::to_string(comPort_));
}

FakeSerialPort::~FakeSerialPort() {
    --device_.openPorts_;
    device_.record("close COM" + std::to_string(comPort_));
}

void FakeSerialPort::setLine(const LineSettings& line) {
    device_.line_ = line;
    device_.record("line " + std::to_string(line.baudRate) + " " + std::to_string(line.dataBits) +
                   parityName(line.parity) + stopBitsName(line.stopBits));
}

void FakeSerialPort::setTimeouts(const PortTimeouts& timeouts) {
    device_.timeouts_ = timeouts;
    device_.record("timeouts");
}

void FakeSerialPort::purge(PurgeMode mode) {
    device_.received_.clear();
    device_.record(mode == PurgeMode::AbortAndClear ? "purge abort" : "purge");
}

IoResult FakeSerialPort::write(const std::uint8_t* data, std::size_t size) {
    return device_.write(data, size);
}

IoResult FakeSerialPort::read(std::uint8_t* data, std::size_t size) {
    return device_.read(data, size);
}

}  // namespace tarvo::test
