#pragma once

#include <filesystem>
#include <string>

namespace tarvo {

// A path as the ANSI functions (CreateFileA, MoveFileExA, ...) read a name:
// in the system's ANSI code page. The library's own narrow form of a path is
// UTF-8, which they would take for other characters.
std::string ansiName(const std::filesystem::path& path);

// A name an ANSI function gave back (GetEnvironmentVariableA, SHGetFolderPathA, ...).
std::filesystem::path pathFromAnsi(const std::string& name);

// A folder of the user's profile as SHGetFolderPathA names it (CSIDL_APPDATA,
// CSIDL_LOCAL_APPDATA, ...), created when missing; else the environment
// variable naming the same folder; else the current folder.
std::filesystem::path shellFolder(int csidl, const char* environmentName);

}  // namespace tarvo
