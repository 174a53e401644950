#include "device/win32/Win32SerialPort.h"

#include <utility>

#include "base/win32/SystemErrorText.h"

namespace tarvo {

namespace {

BYTE parityByte(Parity parity) {
    switch (parity) {
        case Parity::Odd:
            return ODDPARITY;
        case Parity::Even:
            return EVENPARITY;
        case Parity::None:
            break;
    }
    return NOPARITY;
}

BYTE stopBitsByte(StopBits stopBits) {
    switch (stopBits) {
        case StopBits::OnePointFive:
            return ONE5STOPBITS;
        case StopBits::Two:
            return TWOSTOPBITS;
        case StopBits::One:
            break;
    }
    return ONESTOPBIT;
}

}  // namespace

std::string Win32SerialPort::devicePath(int comPort) {
    return devicePath("COM" + std::to_string(comPort));
}

std::string Win32SerialPort::devicePath(const std::string& portName) {
    const std::string prefix = "\\\\.\\";
    return portName.rfind(prefix, 0) == 0 ? portName : prefix + portName;
}

std::unique_ptr<Win32SerialPort> Win32SerialPort::open(int comPort, std::string* why) {
    return open("COM" + std::to_string(comPort), why);
}

std::unique_ptr<Win32SerialPort> Win32SerialPort::open(const std::string& portName,
                                                       std::string* why) {
    std::string path;
    HANDLE handle = openHandle(portName, 0, path, why);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::unique_ptr<Win32SerialPort>(new Win32SerialPort(handle, std::move(path)));
}

HANDLE Win32SerialPort::openHandle(const std::string& portName, DWORD flags, std::string& path,
                                   std::string* why) {
    path = devicePath(portName);
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE && why != nullptr)
        *why = path + ": " + systemErrorText(::GetLastError());
    return handle;
}

Win32SerialPort::~Win32SerialPort() {
    ::CloseHandle(handle_);
}

// Only the four fields are replaced: flow control and the modem lines stay as
// the port reports them.
void Win32SerialPort::setLine(const LineSettings& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ::GetCommState(handle_, &dcb);
    dcb.BaudRate = static_cast<DWORD>(line.baudRate);
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = parityByte(line.parity);
    dcb.StopBits = stopBitsByte(line.stopBits);
    ::SetCommState(handle_, &dcb);
}

COMMTIMEOUTS Win32SerialPort::commTimeouts(HANDLE handle, const PortTimeouts& timeouts) {
    COMMTIMEOUTS record{};
    ::GetCommTimeouts(handle, &record);
    const bool noWaiting = timeouts.readTotalMultiplier == 0 && timeouts.readTotalConstant == 0;
    record.ReadIntervalTimeout = noWaiting ? MAXDWORD : timeouts.readInterval;
    record.ReadTotalTimeoutMultiplier = timeouts.readTotalMultiplier;
    record.ReadTotalTimeoutConstant = timeouts.readTotalConstant;
    record.WriteTotalTimeoutMultiplier = timeouts.writeTotalMultiplier;
    record.WriteTotalTimeoutConstant = timeouts.writeTotalConstant;
    return record;
}

void Win32SerialPort::setTimeouts(const PortTimeouts& timeouts) {
    COMMTIMEOUTS record = commTimeouts(handle_, timeouts);
    ::SetCommTimeouts(handle_, &record);
}

DWORD Win32SerialPort::chunkOf(std::size_t size) {
    return size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
}

DWORD Win32SerialPort::purgeFlags(PurgeMode mode) {
    DWORD flags = PURGE_TXCLEAR | PURGE_RXCLEAR;
    if (mode == PurgeMode::AbortAndClear)
        flags |= PURGE_TXABORT | PURGE_RXABORT;
    return flags;
}

void Win32SerialPort::purge(PurgeMode mode) {
    ::PurgeComm(handle_, purgeFlags(mode));
}

IoResult Win32SerialPort::write(const std::uint8_t* data, std::size_t size) {
    DWORD written = 0;
    if (!::WriteFile(handle_, data, chunkOf(size), &written, nullptr))
        return IoResult::failed();
    return IoResult::transferred(written);
}

// A read that times out still succeeds and reports what came, none included;
// only a failed ReadFile means the port broke.
IoResult Win32SerialPort::read(std::uint8_t* data, std::size_t size) {
    DWORD received = 0;
    if (!::ReadFile(handle_, data, chunkOf(size), &received, nullptr))
        return IoResult::failed();
    return IoResult::transferred(received);
}

}  // namespace tarvo
