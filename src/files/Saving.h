#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/MessageBoxes.h"
#include "files/FileChooser.h"
#include "files/IniFile.h"
#include "files/OutputFile.h"
#include "files/Settings.h"
#include "table/ReadingTable.h"

namespace tarvo {

inline constexpr const char* kSaveTitle = "Save File";
inline constexpr const char* kNotSupportedText = "This Filetype is not supported yet !";
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kWrongPathText = "Wrong Path or no Space: ";  // then the name
inline constexpr const char* kWriteFailedText = "Write file failed!";
// The stored path when the settings file has no FILEPATH, and the longest one read.
inline constexpr const char* kStoredPathFallback = "C:\\";
inline constexpr std::size_t kStoredPathBuffer = 260;

// The Save As dialog's type list for a FILETYPE value: the format's own
// filter first, then the other two families. Values outside 0 to 5 get the
// Display list.
std::vector<FileFilter> saveFilters(int fileType);
// "cm1", "den" or "txt"; "txt" for values outside 0 to 4.
std::string defaultSaveExtension(int fileType);

// Asks for the file to save. storedPath comes in as the last saved file and
// leaves with its extension replaced by the format's, as the dialog offered
// it. Returns the chosen full path, empty when the operator cancelled.
std::string chooseSaveFile(std::string& storedPath, int fileType, std::string_view title,
                           FileChooser& chooser);

enum class FileWrite { NotCreated, Failed, Empty, Written };

// Creates the chosen file and writes the text render gives, rendered only now
// that the file is open. A file that cannot be created (or a name with a line
// break) and a failed write are shown to the operator; Empty is a file
// created and left empty because render gave nothing.
FileWrite writeChosenFile(const std::string& path, const std::function<std::string()>& render,
                          FileCreator& files, MessageBoxes& boxes);

// Everything one press of Save works with. The settings record gives the
// format and VERSION letter and takes the new FILEPATH.
struct SaveContext {
    const ReadingTable& table;
    Settings& settings;
    IniFile& ini;
    std::string_view dateText;
    MessageBoxes& boxes;
    FileChooser& chooser;
    FileCreator& files;
};

// Writes the table in the current layout to a file the operator chooses and
// remembers the file as FILEPATH. Every failure is shown to the operator.
// True only when a file was created and the whole text reached it.
bool saveTable(const SaveContext& context);

}  // namespace tarvo
