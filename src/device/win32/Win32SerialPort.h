#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "device/SerialPort.h"

namespace tarvo {

// A COM port through the Win32 communications functions, synchronous (not
// overlapped), so each read and write ends within the port's own time-outs.
class Win32SerialPort : public SerialPort {
  public:
    // "\\.\COMn", which also reaches COM10 and above.
    static std::string devicePath(int comPort);
    // The device path of a system port's name ("COM7"); a name that already
    // is a device path ("\\.\COM7") stays as it is.
    static std::string devicePath(const std::string& portName);

    // Opens the system's COMn, or the port of the given name, exclusively
    // (share mode 0): empty when the port is absent or held by another
    // program, with why giving path and reason.
    static std::unique_ptr<Win32SerialPort> open(int comPort, std::string* why = nullptr);
    static std::unique_ptr<Win32SerialPort> open(const std::string& portName,
                                                 std::string* why = nullptr);

    ~Win32SerialPort() override;
    Win32SerialPort(const Win32SerialPort&) = delete;
    Win32SerialPort& operator=(const Win32SerialPort&) = delete;

    void setLine(const LineSettings& line) override;
    void setTimeouts(const PortTimeouts& timeouts) override;
    void purge(PurgeMode mode) override;
    IoResult write(const std::uint8_t* data, std::size_t size) override;
    IoResult read(std::uint8_t* data, std::size_t size) override;
    std::string name() const override { return path_; }

  protected:
    Win32SerialPort(HANDLE handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    // CreateFileA of the port's device path with the flags given (0: synchronous);
    // INVALID_HANDLE_VALUE with why filled when it cannot be opened.
    static HANDLE openHandle(const std::string& portName, DWORD flags, std::string& path,
                             std::string* why);
    // The record SetCommTimeouts takes for the time-outs: read totals of 0
    // mean "return at once with what waits", which Windows spells with an
    // interval of MAXDWORD (its own all-zero means "wait for all").
    static COMMTIMEOUTS commTimeouts(HANDLE handle, const PortTimeouts& timeouts);
    HANDLE handle() const { return handle_; }
    static DWORD purgeFlags(PurgeMode mode);
    // The most one ReadFile or WriteFile moves.
    static DWORD chunkOf(std::size_t size);

  private:
    HANDLE handle_;
    std::string path_;
};

}  // namespace tarvo
