#pragma once

#include <QString>
#include <memory>

#include "app/DateText.h"
#include "files/IniFile.h"
#include "gui-qt/QtMessageBoxes.h"

namespace tarvo {

class MainDialog;
class MainWiring;

// The program: one main window run modally; when it closes, the program ends.
class ReaderApp {
  public:
    ReaderApp();
    ~ReaderApp();

    int run();
    // Shows the main window and its welcome window, saves a picture of both
    // to a PNG file and ends; for machines without a display.
    int screenshot(const QString& file);
    // Starts acquisition by itself, waits for the given number of rows, prints
    // them, saves a picture of the window and ends: the main job on a machine
    // without a display.
    int demo(int readings, const QString& file);

  private:
    std::unique_ptr<MainWiring> wire(MainDialog& dialog);

    IniFile ini_;
    SystemClock clock_;
    QtMessageBoxes messages_;
};

}  // namespace tarvo
