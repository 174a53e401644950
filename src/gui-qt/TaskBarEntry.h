#pragma once

class QWidget;

namespace tarvo {

// Asks the window manager to leave a window off the task bar, as a window
// owned by another has no entry of its own on Windows: a hidden window is
// marked before it is shown, a shown one is asked for. Only X11 has the
// request; elsewhere nothing happens.
void keepOffTaskBar(QWidget& window);

}  // namespace tarvo
