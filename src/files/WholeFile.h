#pragma once

#include <filesystem>
#include <string>

namespace tarvo {

// Puts the whole new text of a settings file in place as the platform's
// private-profile functions would: a file its owner may not write (a
// read-only file) is never replaced, not even by an administrator; a
// symbolic link is written through to its target; the file keeps its mode
// and owner. Where the folder allows, a temporary file beside it is renamed
// over it, so a failure leaves the old file whole; where the folder takes no
// new files but the file may be written, it is rewritten in place. Missing
// folders are created. False when nothing or not all was written. Each
// platform has its own.
bool replaceWholeFile(const std::filesystem::path& path, const std::string& text);

}  // namespace tarvo
