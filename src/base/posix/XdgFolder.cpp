#include "base/posix/XdgFolder.h"

#include <cstdlib>

namespace tarvo {

std::filesystem::path xdgFolder(const char* variable, const std::filesystem::path& underHome) {
    const char* folder = std::getenv(variable);
    if (folder != nullptr && *folder == '/')
        return folder;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / underHome;
}

}  // namespace tarvo
