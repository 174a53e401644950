#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace tarvo {

// A file opened for writing, held for the duration of one save.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    // False unless every byte was written.
    virtual bool write(std::string_view bytes) = 0;
    // Flushes and closes; false when data may not have reached the file.
    virtual bool close() = 0;
};

// Opens the files that saving writes, so tests can make them fail on demand.
class FileCreator {
  public:
    virtual ~FileCreator() = default;
    // Creates the file, or empties an existing one, for writing only; null
    // when that is not possible (missing folder, no access, held by another
    // program).
    virtual std::unique_ptr<OutputFile> create(const std::string& path) = 0;
};

}  // namespace tarvo
