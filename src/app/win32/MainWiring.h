#pragma once

#include <memory>

#include "app/AcquisitionCycle.h"
#include "app/DeviceReadingLink.h"
#include "app/win32/ExcelDialog.h"
#include "app/win32/GdiPrinter.h"
#include "app/win32/MainDialog.h"
#include "app/win32/Win32AcquisitionPorts.h"
#include "app/win32/Win32FileChooser.h"
#include "excel/ExcelLink.h"
#include "files/OutputFile.h"
#include "res/MessageBoxes.h"

namespace tarvo::win32 {

// What the platform gives the main window's buttons to drive.
struct MainWiringParts {
    std::unique_ptr<DeviceLink> device;
    std::unique_ptr<FileCreator> files;
    AutomationServerFactory spreadsheetServer;
};

// What the main window's Start Dev., Save, Print and EXCEL buttons drive: the
// densitometer on its serial port, the files, the printer and the spreadsheet.
class MainWiring {
  public:
    MainWiring(MainDialog& dialog, MessageBoxes& messages, MainWiringParts parts);

    AcquisitionCycle& cycle() { return cycle_; }
    ExcelDialogOpener& excel() { return excel_; }

  private:
    void save();
    void print();
    void excelOpened();
    void excelClosed();

    MainDialog& dialog_;
    MessageBoxes& messages_;
    std::unique_ptr<DeviceLink> device_;
    std::unique_ptr<FileCreator> files_;
    DeviceReadingLink link_;
    WindowTimer timer_;
    Win32Beeper beeper_;
    AcquisitionCycle cycle_;
    Win32FileChooser chooser_;
    GdiPrintDialog printDialog_;
    ExcelDialogOpener excel_;
};

}  // namespace tarvo::win32
