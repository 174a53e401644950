#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// A stored path taken apart the way the file dialogs need it. Both "/" and
// "\" end a folder, so paths written on either kind of system split alike.
struct PathParts {
    std::string drive;      // "C:" when the second character is a colon, else empty
    std::string folder;     // up to and including the last "/" or "\"
    std::string baseName;   // between the folder and the extension's dot
    std::string extension;  // from the last dot after the folder, dot included
};

PathParts splitPath(std::string_view path);

// The stored path with its extension replaced: "D:\data\strip1.txt" and "den"
// give "D:\data\strip1.den".
std::string withExtension(const PathParts& parts, std::string_view extension);

}  // namespace tarvo
