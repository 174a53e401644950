#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "files/FileChooser.h"

namespace tarvo::win32 {

// The filter list in the form the common dialogs take it: name and pattern as
// consecutive zero-terminated strings, pair after pair, ended by an empty
// string. Names and patterns are kept as they stand, leading blanks included.
std::string filterList(const std::vector<FileFilter>& filters);

// The common Open and Save As dialogs, GetOpenFileNameA and GetSaveFileNameA,
// owned by the window that raises them; the other windows meanwhile take no input.
class Win32FileChooser final : public FileChooser {
  public:
    void setOwner(HWND owner) { owner_ = owner; }
    std::string choose(const FileDialogRequest& request) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace tarvo::win32
