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

// Opens journal files, so tests can fill the disk or tear a write.
class JournalFiles {
  public:
    virtual ~JournalFiles() = default;
    // Creates the file and its folders, emptying a file already there. Null
    // with the reason when that is not possible.
    virtual std::unique_ptr<JournalFile> create(const std::filesystem::path& path,
                                                std::string& reason) = 0;
};

}  // namespace tarvo
