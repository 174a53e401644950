#include "base/win32/AnsiPath.h"

#include <windows.h>
// After windows.h.
#include <shlobj.h>

namespace tarvo {

// The ANSI code page is the one those functions use, whatever the program's
// text is: only it names the same file.
std::string ansiName(const std::filesystem::path& path) {
    const std::wstring& wide = path.native();
    const int length = static_cast<int>(wide.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string name(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), length, name.data(), size, nullptr, nullptr);
    return name;
}

std::filesystem::path pathFromAnsi(const std::string& name) {
    const int length = static_cast<int>(name.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, name.data(), length, wide.data(), size);
    return wide;
}

std::filesystem::path shellFolder(int csidl, const char* environmentName) {
    char folder[MAX_PATH + 1] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr,
                                     SHGFP_TYPE_CURRENT, folder)))
        return pathFromAnsi(folder);
    const DWORD length = ::GetEnvironmentVariableA(environmentName, folder, sizeof folder);
    return (length > 0 && length < sizeof folder) ? pathFromAnsi(folder) : ".";
}

}  // namespace tarvo
