#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/SerialPort.h"
#include "table/ReadingKind.h"

namespace tarvo {

// The program's one connection to the densitometer: opens a serial port,
// checks that a densitometer answers, and fetches one reading per call of
// exchange. Every failure is an integer result; nothing is shown here.
class DeviceLink {
  public:
    // Results of exchange besides the ReadingKind of a normal return.
    static constexpr int WriteFailed = -1;  // the poll command could not be sent
    static constexpr int ReadFailed = -2;   // the status read failed twice running
    static constexpr int DeviceLost = -3;   // the fifth poll in a row got no answer

    // How long the line is left to settle after its settings change; the
    // program passes a real sleep, tests a recorder.
    using Pause = std::function<void(std::chrono::milliseconds)>;

    DeviceLink(SerialPortOpener opener, Pause pause);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // 0 when the port is open and a densitometer answered the identify command;
    // -1 with the failure text in message otherwise (message is untouched on
    // success). A port still held from an earlier open is closed first.
    int open(int comNumber, int baudRate, int dataBits, int stopBits, int parity,
             int identifyVariant, const PortTimeouts* timeouts, std::string& message);

    // Always 0; does nothing while closed.
    int close();

    // One poll, and one fetch when a reading is ready: the ReadingKind as an
    // int (values[0] != 0 when a new reading came, 0 when nothing new), or a
    // negative result when the device is lost (values untouched then).
    int exchange(ReadingValues& values);

    // Consecutive polls that got no status byte; the acquisition cycle resets it.
    int failureCount() const { return failureCount_; }
    void setFailureCount(int count) { failureCount_ = count; }

    // Why the last open failed, for whoever reads the program's error output:
    // the path and the system's reason, or what the device did not answer.
    const std::string& failureReason() const { return failureReason_; }

    bool isOpen() const { return port_ != nullptr; }
    // COM1..COM4 while open, 0 while closed.
    int portNumber() const { return port_ ? comPort_ : 0; }

  private:
    IoResult sendCommand(std::uint8_t letter);
    bool identify(std::uint8_t letter);
    void explainFailedIdentify(const IoResult& read, std::uint8_t answer);
    int readStatusAndFetch();
    int handleMissingStatus(const IoResult& read);
    void fetchColour();
    int fetchDensity();
    void decodeReply(std::size_t words);
    void handOut(ReadingValues& values);

    SerialPortOpener opener_;
    Pause pause_;
    std::unique_ptr<SerialPort> port_;
    int comPort_ = 0;
    std::string failureReason_;

    std::array<std::uint8_t, 2> command_{};
    std::array<std::uint8_t, 12> reply_{};
    ReadingValues store_{};
    bool newValues_ = false;
    int failureCount_ = 0;
};

}  // namespace tarvo
