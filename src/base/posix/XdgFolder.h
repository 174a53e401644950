#pragma once

#include <filesystem>

namespace tarvo {

// The folder an XDG base-directory variable names (XDG_CONFIG_HOME, say) when
// it holds an absolute path, else the given default under $HOME (".config"),
// under the current folder where there is no HOME.
std::filesystem::path xdgFolder(const char* variable, const std::filesystem::path& underHome);

}  // namespace tarvo
