#include "files/FilePath.h"

namespace tarvo {

PathParts splitPath(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':') {
        parts.drive = path.substr(0, 2);
        path.remove_prefix(2);
    }
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) {
        parts.folder = path.substr(0, slash + 1);
        path.remove_prefix(slash + 1);
    }
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos) {
        parts.extension = path.substr(dot);
        path = path.substr(0, dot);
    }
    parts.baseName = path;
    return parts;
}

std::string withExtension(const PathParts& parts, std::string_view extension) {
    std::string name = parts.drive + parts.folder + parts.baseName;
    name += '.';
    name += extension;
    return name;
}

}  // namespace tarvo
