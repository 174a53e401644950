#pragma once

namespace tarvo {

// Has every top-level window that is a plain QWidget (the Strip and the
// welcome window) report itself to assistive technology as a window (AT-SPI
// "frame"), as dialogs report "dialog": by default Qt gives such a widget the
// role of a client area ("filler"), and a screen reader does not announce it.
// Installed once however often it is called.
void reportPlainWindowsAsWindows();

}  // namespace tarvo
