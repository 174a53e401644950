#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo::calc {

// Which process this is: its id and when it started, since an id alone is
// given to another process once its owner is gone.
struct ProcessStamp {
    pid_t pid = 0;
    unsigned long long startTime = 0;

    static ProcessStamp self();
    // Empty when no process has that id.
    static std::optional<ProcessStamp> of(pid_t pid);
    bool operator==(const ProcessStamp&) const = default;
};

// A private folder named `prefix` plus a random part, holding a record of the
// process that owns it; removed with this object. A program that is killed
// leaves its folder behind, which a later one removes with removeAbandoned.
class OwnedFolder {
  public:
    // Throws std::system_error when the folder cannot be made.
    OwnedFolder(const std::filesystem::path& parent, std::string_view prefix,
                ProcessStamp owner = ProcessStamp::self());
    ~OwnedFolder();
    OwnedFolder(const OwnedFolder&) = delete;
    OwnedFolder& operator=(const OwnedFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Another process owns the folder from now on; it stays when this goes.
    void handOver(const ProcessStamp& owner);
    std::string name() const { return path_.filename().string(); }

    // Removes this user's folders under `parent` named `prefix`... whose owner
    // is gone, and answers their names. A folder without a readable record
    // is left alone: it may be one another program is making right now.
    static std::vector<std::string> removeAbandoned(const std::filesystem::path& parent,
                                                    std::string_view prefix);

  private:
    std::filesystem::path path_;
};

}  // namespace tarvo::calc
