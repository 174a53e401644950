#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tarvo {

// A settings file in the classic private-profile style: "[Section]" lines and
// "key=value" lines. Sections and keys are found case-insensitively; every
// other line, comment and section is kept as it stands. The file is read
// anew for each lookup, as the program's settings are read rarely.
// On Windows, ProfileIniFile (win32/) hands both to the system's own
// private-profile functions instead.
class IniFile {
  public:
    explicit IniFile(std::filesystem::path path);
    virtual ~IniFile() = default;

    const std::filesystem::path& path() const { return path_; }

    // The key's value with surrounding blanks (and one pair of enclosing quotes)
    // removed, or nothing when the file, the section or the key is missing.
    virtual std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The value, or the fallback when the key is missing, cut to bufferSize - 1
    // characters as a caller's fixed buffer would cut it.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback, std::size_t bufferSize) const;

    // The value as GetPrivateProfileIntA converts it (see profileIntValue), or
    // the fallback when the key is missing or its value empty.
    virtual int readInt(std::string_view section, std::string_view key, int fallback) const;

    // Creates the folder, file, section or key as needed, or replaces the key's
    // value in place. The file is replaced atomically (temporary file, then
    // rename) where its folder allows, so a failure leaves the old file whole;
    // a read-only file is left alone (see replaceSettingsText). A new file has
    // CR LF line ends, an existing one keeps its own. False when it could not
    // be written, or when a name or the value holds a line break.
    virtual bool write(std::string_view section, std::string_view key, std::string_view value);

  private:
    std::filesystem::path path_;
};

// GetPrivateProfileIntA's conversion of a value: its first 29 characters,
// leading blanks and control characters skipped, an optional sign, then "0x",
// "0o" or "0b" choosing base 16, 8 or 2 (else 10), and the digits of that base
// up to the first other character (none gives 0), wrapping at 32 bits.
int profileIntValue(std::string_view text);

// Where Tarvo.ini lives: $XDG_CONFIG_HOME/tarvo/Tarvo.ini, else
// $HOME/.config/tarvo/Tarvo.ini; on Windows %APPDATA%\tarvo\Tarvo.ini.
std::filesystem::path settingsFilePath();

}  // namespace tarvo
