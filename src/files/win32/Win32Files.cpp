#include "files/win32/Win32Files.h"

#include <windows.h>

#include "base/win32/AnsiPath.h"

namespace tarvo {

namespace {

class Win32OutputFile final : public OutputFile {
  public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
    ~Win32OutputFile() override { close(); }

    bool write(std::string_view bytes) override {
        while (!bytes.empty()) {
            DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (handle_ == INVALID_HANDLE_VALUE ||
                !::WriteFile(handle_, bytes.data(), chunk, &written, nullptr) || written == 0)
                return false;
            bytes.remove_prefix(written);
        }
        return true;
    }

    bool close() override {
        if (handle_ == INVALID_HANDLE_VALUE)
            return true;
        bool flushed = ::FlushFileBuffers(handle_) != 0;
        bool closed = ::CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return flushed && closed;
    }

  private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<OutputFile> Win32FileCreator::create(const std::string& path) {
    HANDLE handle = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32OutputFile>(handle);
}

std::filesystem::path programFolder() {
    char path[MAX_PATH + 1] = {};
    DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return ".";
    return pathFromAnsi(std::string(path, length)).parent_path();
}

}  // namespace tarvo
