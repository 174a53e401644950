#include "gui-win32/PlatformParts.h"

#include "app/journal/win32/Win32JournalFiles.h"
#include "device/win32/Win32DeviceLink.h"
#include "excel/com/ComAutomation.h"
#include "files/win32/Win32Files.h"

namespace tarvo::win32 {

MainWiringParts platformParts(const IniFile& settings) {
    MainWiringParts parts;
    parts.device = makeWin32DeviceLink(settings);
    parts.linePorts = win32WatchedPortOpener(settings);
    parts.files = std::make_unique<Win32FileCreator>();
    parts.spreadsheetServer = [](MessageBoxes& boxes) { return makeComAutomation(boxes); };
    parts.journalFiles = std::make_unique<Win32JournalFiles>();
    parts.journal = journalFilePath();
    return parts;
}

}  // namespace tarvo::win32
