#pragma once

#include <filesystem>

#include "app/journal/JournalFile.h"

namespace tarvo {

// $XDG_STATE_HOME/tarvo/journal, else ~/.local/state/tarvo/journal.
std::filesystem::path journalFilePath();

// Journal files opened for appending; every append ends with fdatasync, so a
// record is on the disk when it returns.
class PosixJournalFiles final : public JournalFiles {
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
