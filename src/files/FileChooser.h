#pragma once

#include <string>
#include <vector>

namespace tarvo {

// One entry of a file dialog's type list. The name is shown as it stands,
// leading blanks included; the pattern selects the files listed.
struct FileFilter {
    std::string name;     // " Fiery (*.cm1)"
    std::string pattern;  // " *.cm1"
};

// What an Open or Save As dialog is asked to show.
struct FileDialogRequest {
    enum class Mode { Open, Save };

    Mode mode = Mode::Save;
    std::string title;
    std::vector<FileFilter> filters;
    int selectedFilter = 0;        // index into filters
    std::string defaultExtension;  // without dot; appended to a name typed without one
    std::string initialFolder;
    std::string initialFileName;   // may be a full path
    bool overwritePrompt = false;  // Save: ask before an existing file is chosen
};

// The operating system's file dialog. The rules ask through this interface so
// tests can answer it without a window.
class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // The chosen full path, or empty when the operator cancelled.
    virtual std::string choose(const FileDialogRequest& request) = 0;
};

}  // namespace tarvo
