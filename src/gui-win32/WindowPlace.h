#pragma once

#include <windows.h>

#include <vector>

#include "base/ScreenPlace.h"

namespace tarvo::win32 {

// Centres the window over the other one, or with none on the working area
// of the monitor it is on, as the dialog framework of the Parts places an
// ownerless dialog; it is kept inside that working area.
void centreWindow(HWND window, HWND over);

// The working areas of the monitors, as the placing rules take them.
std::vector<ScreenRect> screenWorkAreas();

// Moves the window beside the other one and gives it the size the rule
// leaves it (shrunkBesideMainWindow), from the size it has now.
void placeBeside(HWND window, HWND mainWindow);

}  // namespace tarvo::win32
