#include "files/win32/ProfileIniFile.h"

#include <windows.h>

#include <system_error>
#include <vector>

#include "base/win32/AnsiPath.h"

namespace tarvo {

namespace {

// Returned for a missing key: no line of an INI file can hold this byte alone.
constexpr const char* kMissing = "\x01";

}  // namespace

std::optional<std::string> ProfileIniFile::value(std::string_view section,
                                                 std::string_view key) const {
    const std::string sectionName(section), keyName(key), file = ansiName(path());
    std::vector<char> buffer(256);
    for (;;) {
        DWORD length = ::GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), kMissing,
                                                  buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  file.c_str());
        // A full buffer may have cut the value: ask again with more room.
        if (length + 1 < buffer.size() || buffer.size() >= 65536) {
            std::string text(buffer.data(), length);
            if (text == kMissing)
                return std::nullopt;
            return text;
        }
        buffer.resize(buffer.size() * 4);
    }
}

int ProfileIniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
    const std::string sectionName(section), keyName(key), file = ansiName(path());
    return static_cast<int>(
        ::GetPrivateProfileIntA(sectionName.c_str(), keyName.c_str(), fallback, file.c_str()));
}

bool ProfileIniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    std::error_code ignored;
    if (!path().parent_path().empty())
        std::filesystem::create_directories(path().parent_path(), ignored);
    const std::string sectionName(section), keyName(key), text(value), file = ansiName(path());
    // Windows refuses every writer of a read-only file; wine lets an
    // administrator (root) through, so the attribute is checked here too.
    DWORD attributes = ::GetFileAttributesA(file.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return false;
    return ::WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), text.c_str(),
                                        file.c_str()) != 0;
}

}  // namespace tarvo
