#pragma once

namespace tarvo::text {

// Caption of message boxes raised through the main window: the executable's base name.
inline constexpr const char* kProgramName = "tarvo";
// What a message box shows as caption when its owner names none.
inline constexpr const char* kDefaultCaption = "Error";
inline constexpr const char* kMainCaption = "tarvo V 1.22";
inline constexpr const char* kAboutEntry = "&About tarvo...";
inline constexpr const char* kPortsEntry = "&Ports...";
inline constexpr const char* kCopyRowsEntry = "&Copy Rows";
inline constexpr const char* kStripEntry = "&Strip...";
inline constexpr const char* kExportCgatsEntry = "Export CGATS...";
inline constexpr const char* kReferenceEntry = "Reference...";
inline constexpr const char* kNoReferenceEntry = "No reference";
inline constexpr const char* kVersion = "1.22";

}  // namespace tarvo::text
