#pragma once

#include <functional>
#include <string>

#include "base/MessageBoxes.h"
#include "files/FileChooser.h"

namespace tarvo {

inline constexpr const char* kSavePictureTitle = "Save Picture";
inline constexpr const char* kPictureNotWrittenText = "Cannot write the picture: ";

// Writes a picture to the named file as PNG; false when it could not.
using PngWriter = std::function<bool(const std::string& path)>;

// "Save Picture...": asks for a PNG file through the file dialog and has the
// picture written there. A cancelled dialog writes nothing; a failed write is
// told to the operator with the file's name. True when a picture was written.
bool savePicture(FileChooser& chooser, MessageBoxes& boxes, const PngWriter& write);

}  // namespace tarvo
