#pragma once

#include "base/MessageBoxes.h"
#include "gui-win32/MainWiring.h"

namespace tarvo::win32 {

// The Windows layers behind the main window's buttons: the serial ports
// [Ports] of the settings maps COM1..COM4 to, the files that saving creates with CreateFileA, Excel
// over COM (its start-up failures told through the Excel dialog's boxes) and the journal in the
// user's local application data.
MainWiringParts platformParts(const IniFile& settings);

}  // namespace tarvo::win32
