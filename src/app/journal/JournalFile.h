#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tarvo {

// The journal's file, open for appending.
class JournalFile {
  public:
    virtual ~JournalFile() = default;
    // Appends the bytes and returns once they are on the disk. Empty when they
    // are, otherwise why not (the system's error text).
    virtual std::string append(std::string_view bytes) = 0;
};

// A journal read back whole at start-up.
struct JournalText {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    std::string bytes;
};

// A journal name held by one running session for as long as the object lives;
// the system lets it go with a session that dies. Letting go removes the lock
// file, so a folder holds the journals alone once no session runs.
class JournalClaim {
  public:
    virtual ~JournalClaim() = default;
};

// The file beside a journal whose lock holds the journal's name.
inline std::filesystem::path journalLockName(const std::filesystem::path& journal) {
    std::filesystem::path lock = journal;
    lock += ".lock";
    return lock;
}

// What renaming a journal aside came to.
enum class Renamed { Done, NameTaken, Failed };

// The journal's file operations on one platform, so tests can fill the disk
// or tear a write.
class JournalFiles {
  public:
    virtual ~JournalFiles() = default;
    // Creates the file and its folders, emptying a file already there. Null
    // with the reason when that is not possible.
    virtual std::unique_ptr<JournalFile> create(const std::filesystem::path& path,
                                                std::string& reason) = 0;
    // The whole file; Missing only when there is no file of that name.
    virtual JournalText read(const std::filesystem::path& path) = 0;
    // Gives the file another name, never that of a file already there
    // (NameTaken); Failed with the reason otherwise.
    virtual Renamed rename(const std::filesystem::path& from, const std::filesystem::path& to,
                           std::string& reason) = 0;
    // Holds the journal of that name for this session; null while another
    // running session holds it. Where the claim cannot be made at all (no
    // folder can be created) it is granted, so the journal's own failure
    // tells the operator.
    virtual std::unique_ptr<JournalClaim> claim(const std::filesystem::path& path) = 0;
    // A journal of that name or a lock on it is in the folder: only such a
    // name can be held by a running session or have readings to offer.
    virtual bool inUse(const std::filesystem::path& path) = 0;
};

}  // namespace tarvo
