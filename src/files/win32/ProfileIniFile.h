#pragma once

#include "files/IniFile.h"

namespace tarvo {

// Tarvo.ini through GetPrivateProfileStringA and WritePrivateProfileStringA,
// always by its full path: a bare name would put it in the Windows folder,
// which needs administrator rights on current systems. Key case, blanks and
// quotes are then exactly the system's.
class ProfileIniFile final : public IniFile {
  public:
    using IniFile::IniFile;

    std::optional<std::string> value(std::string_view section, std::string_view key) const override;
    // GetPrivateProfileIntA itself.
    int readInt(std::string_view section, std::string_view key, int fallback) const override;
    // Creates the file's folder first, which the system does not. False when
    // the system reports the write failed (a read-only file, no right).
    bool write(std::string_view section, std::string_view key, std::string_view value) override;
};

}  // namespace tarvo
