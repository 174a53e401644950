#include "res/win32/AnsiPath.h"

#include <windows.h>

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

}  // namespace tarvo
