#include "app/journal/win32/Win32JournalFiles.h"

#include <windows.h>
// The shell's folders need the types of windows.h.
#include <shlobj.h>

#include "base/win32/AnsiPath.h"
#include "base/win32/SystemErrorText.h"

namespace tarvo {

namespace {

// Nothing else writes the file (it is shared for reading only), so every
// write lands at its end.
class Win32JournalFile final : public JournalFile {
  public:
    explicit Win32JournalFile(HANDLE handle) : handle_(handle) {}
    ~Win32JournalFile() override { ::CloseHandle(handle_); }
    Win32JournalFile(const Win32JournalFile&) = delete;
    Win32JournalFile& operator=(const Win32JournalFile&) = delete;

    std::string append(std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD chunk =
                bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
            DWORD written = 0;
            if (!::WriteFile(handle_, bytes.data(), chunk, &written, nullptr))
                return systemErrorText(::GetLastError());
            if (written == 0)
                return systemErrorText(ERROR_DISK_FULL);
            bytes.remove_prefix(written);
        }
        // The system's cache is written out, so the record outlives a power cut.
        if (!::FlushFileBuffers(handle_))
            return systemErrorText(::GetLastError());
        return {};
    }

  private:
    HANDLE handle_;
};

// Creates the folder and the ones above it; false with the reason.
bool makeFolders(const std::filesystem::path& folder, std::string& reason) {
    if (folder.empty() || folder == folder.root_path())
        return true;
    const DWORD attributes = ::GetFileAttributesA(ansiName(folder).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    if (!makeFolders(folder.parent_path(), reason))
        return false;
    if (::CreateDirectoryA(ansiName(folder).c_str(), nullptr) ||
        ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    reason = systemErrorText(::GetLastError());
    return false;
}

bool fileExists(const std::filesystem::path& path) {
    return ::GetFileAttributesA(ansiName(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool readAll(HANDLE file, std::string& bytes) {
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        bytes.append(buffer, got);
    }
}

// An open handle that shares nothing keeps every other session's open of the
// lock file out; the system closes it with a session that dies, and deletes
// the file as it closes the handle.
class Win32JournalClaim final : public JournalClaim {
  public:
    explicit Win32JournalClaim(HANDLE handle) : handle_(handle) {}
    ~Win32JournalClaim() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }
    Win32JournalClaim(const Win32JournalClaim&) = delete;
    Win32JournalClaim& operator=(const Win32JournalClaim&) = delete;

  private:
    HANDLE handle_;
};

}  // namespace

std::filesystem::path journalFilePath() {
    const std::filesystem::path folder = shellFolder(CSIDL_LOCAL_APPDATA, "LOCALAPPDATA") / "tarvo";
    std::string ignored;  // told when the journal is created there
    makeFolders(folder, ignored);
    return folder / "journal";
}

std::unique_ptr<JournalFile> Win32JournalFiles::create(const std::filesystem::path& path,
                                                       std::string& reason) {
    if (!makeFolders(path.parent_path(), reason))
        return nullptr;
    // Shared for reading: the operator may copy the journal while measuring.
    HANDLE handle = ::CreateFileA(ansiName(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = systemErrorText(::GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32JournalFile>(handle);
}

JournalText Win32JournalFiles::read(const std::filesystem::path& path) {
    HANDLE handle = ::CreateFileA(ansiName(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return {missing ? JournalText::State::Missing : JournalText::State::Unreadable, {}};
    }
    JournalText text{JournalText::State::Read, {}};
    if (!readAll(handle, text.bytes))
        text = {JournalText::State::Unreadable, {}};
    ::CloseHandle(handle);
    return text;
}

Renamed Win32JournalFiles::rename(const std::filesystem::path& from,
                                  const std::filesystem::path& to, std::string& reason) {
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name, so
    // an older journal kept aside is never replaced.
    if (::MoveFileExA(ansiName(from).c_str(), ansiName(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return Renamed::Done;
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        return Renamed::NameTaken;
    reason = systemErrorText(error);
    return Renamed::Failed;
}

std::unique_ptr<JournalClaim> Win32JournalFiles::claim(const std::filesystem::path& path) {
    std::string ignored;
    makeFolders(path.parent_path(), ignored);
    HANDLE handle = ::CreateFileA(ansiName(journalLockName(path)).c_str(),
                                  GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_SHARING_VIOLATION)
        return nullptr;
    return std::make_unique<Win32JournalClaim>(handle);
}

bool Win32JournalFiles::inUse(const std::filesystem::path& path) {
    return fileExists(path) || fileExists(journalLockName(path));
}

}  // namespace tarvo
