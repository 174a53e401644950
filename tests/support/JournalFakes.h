#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/journal/JournalFile.h"

namespace tarvo::test {

// Journal files on the real disk whose space runs out on demand: a write that
// does not fit is cut where the space ends (a torn record) and fails as a full
// disk does. create() can be refused, as in a read-only folder. Otherwise they
// behave as the platform's own (the same suite checks both).
class FillingJournalFiles final : public JournalFiles {
  public:
    std::unique_ptr<JournalFile> create(const std::filesystem::path& path,
                                        std::string& reason) override;
    JournalText read(const std::filesystem::path& path) override;
    Renamed rename(const std::filesystem::path& from, const std::filesystem::path& to,
                   std::string& reason) override;
    std::unique_ptr<JournalClaim> claim(const std::filesystem::path& path) override;
    bool inUse(const std::filesystem::path& path) override;

    std::set<std::filesystem::path> claimed;  // held by a claim that lives
    std::vector<std::filesystem::path> claimsAsked;
    std::optional<std::size_t> spaceLeft;  // bytes; unlimited when empty
    std::string refuseCreate;              // the reason create() gives, when not empty
    int creates = 0;
    int appends = 0;
};

}  // namespace tarvo::test
