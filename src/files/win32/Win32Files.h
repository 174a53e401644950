#pragma once

#include <filesystem>
#include <vector>

#include "files/OutputFile.h"

namespace tarvo {

// Files opened with CreateFileA for writing only and with no sharing, so a
// file another program holds open is refused rather than split between two
// writers; an existing file is emptied (CREATE_ALWAYS).
class Win32FileCreator final : public FileCreator {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override;
};

// Starts the settings file as a copy of the first of the former files that
// exists, untouched, when the file does not exist yet; the former file is
// never written again. True when a copy was made.
bool adoptFormerSettings(const std::filesystem::path& file,
                         const std::vector<std::filesystem::path>& former);

// The folder of the running program (GetModuleFileNameA), where TRWelcome.bmp lies.
std::filesystem::path programFolder();

}  // namespace tarvo
