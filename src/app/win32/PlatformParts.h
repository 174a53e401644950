#pragma once

#include "app/win32/MainWiring.h"
#include "files/IniFile.h"
#include "res/MessageBoxes.h"

namespace tarvo::win32 {

// The Windows layers behind the main window's buttons: the serial ports
// COM1..COM4, the files that saving creates, and Excel over COM.
MainWiringParts platformParts(IniFile& settings, MessageBoxes& messages);

}  // namespace tarvo::win32
