#include <windows.h>
// After windows.h.
#include <shlobj.h>

#include <string>
#include <system_error>
#include <vector>

#include "base/win32/AnsiPath.h"
#include "files/IniFile.h"
#include "files/WholeFile.h"
#include "files/win32/Win32Files.h"

namespace tarvo {
namespace {

bool writeAndFlush(HANDLE file, const std::string& text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        left -= written;
    }
    return ::FlushFileBuffers(file) != 0;
}

}  // namespace

bool replaceWholeFile(const std::filesystem::path& path, const std::string& text) {
    std::error_code error;
    auto folder = path.parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    std::string target = ansiName(path);
    // The read-only attribute stops every writer, as the profile functions respect it.
    const DWORD attributes = ::GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;
    std::string temp = target + ".new";
    HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = writeAndFlush(file, text);
    ok = ::CloseHandle(file) != 0 && ok;
    ok = ok && ::MoveFileExA(temp.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
        ::DeleteFileA(temp.c_str());
    return ok;
}

bool adoptFormerSettings(const std::filesystem::path& file,
                         const std::vector<std::filesystem::path>& former) {
    std::error_code error;
    if (std::filesystem::exists(file, error))
        return false;
    for (const std::filesystem::path& old : former) {
        if (!std::filesystem::is_regular_file(old, error))
            continue;
        std::filesystem::create_directories(file.parent_path(), error);
        return ::CopyFileA(ansiName(old).c_str(), ansiName(file).c_str(), TRUE) != 0;
    }
    return false;
}

// Where a bare "Tarvo.ini" went: the Windows folder, or for a 32-bit program
// under UAC its VirtualStore copy, which that program saw in its place.
std::vector<std::filesystem::path> formerSettingsFiles() {
    char windows[MAX_PATH + 1] = {};
    std::vector<std::filesystem::path> former{shellFolder(CSIDL_LOCAL_APPDATA, "LOCALAPPDATA") /
                                              "VirtualStore" / "Windows" / "Tarvo.ini"};
    const UINT length = ::GetWindowsDirectoryA(windows, sizeof windows);
    if (length > 0 && length < sizeof windows)
        former.push_back(pathFromAnsi(windows) / "Tarvo.ini");
    return former;
}

// The roaming application-data folder of the user: the Windows folder, where a
// bare "Tarvo.ini" would go, needs administrator rights on current systems.
// Settings kept there by an earlier program start the new file, once.
std::filesystem::path settingsFilePath() {
    const std::filesystem::path file =
        shellFolder(CSIDL_APPDATA, "APPDATA") / "tarvo" / "Tarvo.ini";
    adoptFormerSettings(file, formerSettingsFiles());
    return file;
}

}  // namespace tarvo
