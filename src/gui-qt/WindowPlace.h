#pragma once

#include <QRect>
#include <QWidget>

#include <vector>

#include "base/ScreenPlace.h"

namespace tarvo {

ScreenRect screenRect(const QRect& rect);

// The available areas of the screens, as the placing rules take them.
std::vector<ScreenRect> availableScreens();

// Moves a window not yet shown beside the main window and gives it the size
// the rule leaves it (shrunkBesideMainWindow), from its own size; the window
// manager is expected to frame it as it framed the main window.
void placeBeside(QWidget& window, const QWidget& mainWindow);

}  // namespace tarvo
