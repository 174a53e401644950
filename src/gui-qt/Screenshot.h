#pragma once

#include <QImage>
#include <QString>

namespace tarvo {

class MainDialog;

// Shows the window, waits (with a deadline) until the window system has it
// on screen, and pictures the main window with the welcome window over it,
// as they stand on the screen.
QImage pictureOf(MainDialog& dialog);
// False, with the reason, when the window never came up or the file could not be written.
bool saveScreenshot(MainDialog& dialog, const QString& file, QString& error);

}  // namespace tarvo
