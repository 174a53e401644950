#include <windows.h>

#include <string>
#include <system_error>

#include "files/IniFile.h"
#include "files/WholeFile.h"
#include "res/win32/AnsiPath.h"

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

// The roaming application-data folder of the user: the Windows folder, where a
// bare "Tarvo.ini" would go, needs administrator rights on current systems.
std::filesystem::path settingsFilePath() {
    char folder[MAX_PATH + 1] = {};
    DWORD length = ::GetEnvironmentVariableA("APPDATA", folder, sizeof folder);
    std::filesystem::path base =
        (length > 0 && length < sizeof folder) ? pathFromAnsi(folder) : std::filesystem::path(".");
    return base / "tarvo" / "Tarvo.ini";
}

}  // namespace tarvo
