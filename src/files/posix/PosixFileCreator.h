#pragma once

#include "files/OutputFile.h"

namespace tarvo {

// Files on a POSIX system. An exclusive lock stands in for the "no sharing"
// open of the original platform: a file that another program holds locked is
// refused before it is emptied.
class PosixFileCreator final : public FileCreator {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override;
};

}  // namespace tarvo
