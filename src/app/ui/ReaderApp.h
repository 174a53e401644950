#pragma once

#include <QString>

#include "app/DateText.h"
#include "app/ui/QtMessageBoxes.h"
#include "files/IniFile.h"

namespace tarvo {

// The program: one main window run modally; when it closes, the program ends.
class ReaderApp {
  public:
    ReaderApp();

    int run();
    // Shows the main window and its welcome window, saves a picture of both
    // to a PNG file and ends; for machines without a display.
    int screenshot(const QString& file);

  private:
    IniFile ini_;
    SystemClock clock_;
    QtMessageBoxes messages_;
};

}  // namespace tarvo
