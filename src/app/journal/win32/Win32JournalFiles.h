#pragma once

#include <filesystem>

#include "app/journal/JournalFile.h"

namespace tarvo {

// journal in the user's local application-data folder (%LOCALAPPDATA%\tarvo,
// created if missing): the journal belongs to this computer, not to a roaming
// profile.
std::filesystem::path journalFilePath();

// Journal files through CreateFileA, WriteFile and MoveFileExA; every append
// ends with FlushFileBuffers, so a record is on the disk when it returns.
class Win32JournalFiles final : public JournalFiles {
  public:
    std::unique_ptr<JournalFile> create(const std::filesystem::path& path,
                                        std::string& reason) override;
    JournalText read(const std::filesystem::path& path) override;
    Renamed rename(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::string& reason) override;
    std::unique_ptr<JournalClaim> claim(const std::filesystem::path& path) override;
    bool inUse(const std::filesystem::path& path) override;
};

}  // namespace tarvo
