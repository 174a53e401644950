#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "device/SerialPort.h"

namespace tarvo::test {

using Bytes = std::vector<std::uint8_t>;

// A scripted densitometer behind in-memory serial ports. Each command written
// takes the next scripted answer and puts its bytes in the receive queue; a
// read takes what is queued and "times out" at once when the queue runs dry.
// Every port operation is recorded as a line of events(), so a test can check
// the exact order of purges, commands and reads.
class FakeSerialDevice {
  public:
    // Answers, consumed one per successful write, in order. Writes beyond the
    // script meet silence.
    void answer(Bytes bytes);
    void answer(const std::string& bytes) { answer(Bytes(bytes.begin(), bytes.end())); }
    void silence() { answer(Bytes{}); }
    // The read after the next write fails, as when the device is unplugged.
    void breakNextRead();
    // Every read from now on fails: the adapter was pulled out.
    void unplug() { unplugged_ = true; }

    // Results for the next writes (default: every byte written).
    void failNextWrite();
    void shortenNextWrite(std::size_t count);

    // Bytes in the receive queue before any command, as line noise or a late answer.
    void deliver(const Bytes& bytes);

    // The port cannot be opened (absent or held elsewhere).
    void holdPort(int comPort) { held_.insert(comPort); }

    SerialPortOpener opener();

    const std::vector<std::string>& events() const { return events_; }
    // Only the commands written, e.g. {"XR", "XK", "XD"}.
    std::vector<std::string> commands() const;
    std::size_t pendingBytes() const { return received_.size(); }
    bool portOpen() const { return openPorts_ > 0; }
    std::optional<LineSettings> line() const { return line_; }
    std::optional<PortTimeouts> timeouts() const { return timeouts_; }

  private:
    friend class FakeSerialPort;
    struct Answer {
        Bytes bytes;
        bool readFails = false;
    };
    void record(std::string event) { events_.push_back(std::move(event)); }
    IoResult write(const std::uint8_t* data, std::size_t size);
    IoResult read(std::uint8_t* data, std::size_t size);

    std::deque<Answer> answers_;
    std::deque<std::optional<std::size_t>> writeResults_;  // empty optional: failure
    std::deque<std::uint8_t> received_;
    bool readFails_ = false;
    bool unplugged_ = false;
    std::set<int> held_;
    int openPorts_ = 0;
    std::optional<LineSettings> line_;
    std::optional<PortTimeouts> timeouts_;
    std::vector<std::string> events_;
};

// One open port of the fake device; its events go to the device's record.
class FakeSerialPort final : public SerialPort {
  public:
    FakeSerialPort(FakeSerialDevice& device, int comPort);
    ~FakeSerialPort() override;

    void setLine(const LineSettings& line) override;
    void setTimeouts(const PortTimeouts& timeouts) override;
    void purge(PurgeMode mode) override;
    IoResult write(const std::uint8_t* data, std::size_t size) override;
    IoResult read(std::uint8_t* data, std::size_t size) override;
    std::string name() const override { return "fake COM" + std::to_string(comPort_); }

  private:
    FakeSerialDevice& device_;
    int comPort_;
};

}  // namespace tarvo::test
