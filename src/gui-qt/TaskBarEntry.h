#pragma once

class QWidget;

namespace tarvo {

// Asks the window manager to leave a shown window off the task bar, as a
// window owned by another has no entry of its own on Windows. Only X11 has
// the request; elsewhere nothing happens.
void keepOffTaskBar(QWidget& window);

}  // namespace tarvo
