#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "device/win32/Win32SerialPort.h"

namespace tarvo {

// A COM port for an instrument that sends unasked, opened for overlapped
// reading: a read is kept waiting on it at all times, so the system itself
// sets waitHandle() the moment bytes come, and nothing polls. read() never
// waits, whatever time-outs are set: it hands out what the waiting read
// brought (nothing while none came) and fails once the port broke, as when
// its adapter is pulled out. The polled densitometer keeps the synchronous
// Win32SerialPort.
class Win32WatchedPort final : public Win32SerialPort {
  public:
    static std::unique_ptr<Win32WatchedPort> open(const std::string& portName,
                                                  std::string* why = nullptr);

    ~Win32WatchedPort() override;

    // Only the write time-outs count; reads keep their own.
    void setTimeouts(const PortTimeouts& timeouts) override;
    // Also drops what the waiting read brought and has not been handed out.
    void purge(PurgeMode mode) override;
    IoResult write(const std::uint8_t* data, std::size_t size) override;
    IoResult read(std::uint8_t* data, std::size_t size) override;
    // An event, set while bytes wait to be read or the port has broken.
    std::intptr_t waitHandle() const override;

  private:
    Win32WatchedPort(HANDLE handle, std::string path);
    void readAhead();
    void collect();

    OVERLAPPED reading_{};
    std::array<std::uint8_t, 1024> chunk_{};
    std::deque<std::uint8_t> arrived_;
    bool pending_ = false;
    bool broken_ = false;
    HANDLE written_;
};

}  // namespace tarvo
