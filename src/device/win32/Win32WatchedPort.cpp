#include "device/win32/Win32WatchedPort.h"

#include <algorithm>
#include <utility>

namespace tarvo {

namespace {

// The waiting read waits for its first byte as long as it takes, then ends
// once the line pauses: an interval time-out alone, no total. A line's last
// byte is handed on a millisecond after it came.
constexpr DWORD kReadAheadPause = 1;

void setReadAheadTimeouts(HANDLE handle, COMMTIMEOUTS record) {
    record.ReadIntervalTimeout = kReadAheadPause;
    record.ReadTotalTimeoutMultiplier = 0;
    record.ReadTotalTimeoutConstant = 0;
    ::SetCommTimeouts(handle, &record);
}

}  // namespace

std::unique_ptr<Win32WatchedPort> Win32WatchedPort::open(const std::string& portName,
                                                         std::string* why) {
    std::string path;
    HANDLE handle = openHandle(portName, FILE_FLAG_OVERLAPPED, path, why);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    std::unique_ptr<Win32WatchedPort> port(new Win32WatchedPort(handle, std::move(path)));
    COMMTIMEOUTS record{};
    ::GetCommTimeouts(handle, &record);
    setReadAheadTimeouts(handle, record);
    port->readAhead();
    return port;
}

Win32WatchedPort::Win32WatchedPort(HANDLE handle, std::string path)
    : Win32SerialPort(handle, std::move(path)),
      written_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    reading_.hEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

// The waiting read writes into this object: it must have ended before the
// object goes.
Win32WatchedPort::~Win32WatchedPort() {
    if (pending_) {
        ::CancelIoEx(handle(), &reading_);
        DWORD ignored = 0;
        ::GetOverlappedResult(handle(), &reading_, &ignored, TRUE);
    }
    ::CloseHandle(reading_.hEvent);
    ::CloseHandle(written_);
}

void Win32WatchedPort::setTimeouts(const PortTimeouts& timeouts) {
    setReadAheadTimeouts(handle(), commTimeouts(handle(), timeouts));
}

void Win32WatchedPort::purge(PurgeMode mode) {
    ::PurgeComm(handle(), purgeFlags(mode));
    collect();
    arrived_.clear();
    if (!pending_ && !broken_)
        readAhead();
}

IoResult Win32WatchedPort::write(const std::uint8_t* data, std::size_t size) {
    OVERLAPPED writing{};
    writing.hEvent = written_;
    DWORD count = 0;
    if (!::WriteFile(handle(), data, chunkOf(size), &count, &writing) &&
        (::GetLastError() != ERROR_IO_PENDING ||
         !::GetOverlappedResult(handle(), &writing, &count, TRUE)))
        return IoResult::failed();
    return IoResult::transferred(count);
}

IoResult Win32WatchedPort::read(std::uint8_t* data, std::size_t size) {
    collect();
    if (arrived_.empty() && broken_)
        return IoResult::failed();
    const std::size_t count = std::min(size, arrived_.size());
    std::copy_n(arrived_.begin(), count, data);
    arrived_.erase(arrived_.begin(), arrived_.begin() + static_cast<std::ptrdiff_t>(count));
    // While bytes are left the event stays set, so the owner comes back for them.
    if (arrived_.empty() && !pending_ && !broken_)
        readAhead();
    return IoResult::transferred(count);
}

std::intptr_t Win32WatchedPort::waitHandle() const {
    return reinterpret_cast<std::intptr_t>(reading_.hEvent);
}

// Issuing the read clears the event; its end, or its failure, sets it.
void Win32WatchedPort::readAhead() {
    DWORD ignored = 0;
    pending_ = ::ReadFile(handle(), chunk_.data(), static_cast<DWORD>(chunk_.size()), &ignored,
                          &reading_) ||
               ::GetLastError() == ERROR_IO_PENDING;
    if (!pending_) {
        broken_ = true;
        ::SetEvent(reading_.hEvent);
    }
}

// Takes what the waiting read brought once it has ended; a read that a purge
// aborted brought nothing, and is no break.
void Win32WatchedPort::collect() {
    if (!pending_)
        return;
    DWORD count = 0;
    if (!::GetOverlappedResult(handle(), &reading_, &count, FALSE)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_INCOMPLETE)
            return;
        pending_ = false;
        broken_ = error != ERROR_OPERATION_ABORTED;
        return;
    }
    pending_ = false;
    arrived_.insert(arrived_.end(), chunk_.begin(), chunk_.begin() + count);
}

}  // namespace tarvo
