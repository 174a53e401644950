#pragma once

#include <filesystem>
#include <string>

namespace tarvo {

// Replaces the file's contents by text atomically (a temporary file beside it,
// then a rename), creating its folder if needed: a failure leaves the old file
// whole. False when it could not be written. Each platform has its own.
bool replaceWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace tarvo
