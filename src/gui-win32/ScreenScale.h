#pragma once

namespace tarvo::win32 {

// Pixels at 96 dots per inch as pixels of this screen, so the windows laid out
// in code grow with the system's font as the dialogs of templates do (where
// the program is not aware of the screen's DPI, Windows answers 96).
int scaled(int pixels);

}  // namespace tarvo::win32
