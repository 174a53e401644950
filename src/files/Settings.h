#pragma once

#include <cstdint>
#include <string>

#include "files/IniFile.h"

namespace tarvo {

enum class SettingKey { FilePath = 1, FileType = 2, ComNumber = 3, InstantSave = 4, Beep = 5 };

inline constexpr const char* kGenericSection = "Generic";
inline constexpr std::size_t kMaxFilePath = 255;

// The main window's record of the section "Generic". It is the truth for the
// whole run; the file is written on each change but read only at start-up.
struct Settings {
    std::string filePath;  // at most 255 characters
    std::int8_t fileType = 0;
    std::int8_t instantSave = 0;
    std::int8_t comNumber = 0;
    char version = 0;
    std::int8_t beep = 0;

    // Reads the six keys in their fixed order, each with its default, and
    // writes each back at once as read, so the file always holds all of them.
    int load(IniFile& ini);
    // Writes one key from the record.
    int writeKey(IniFile& ini, SettingKey key) const;
};

}  // namespace tarvo
