#pragma once

#include <filesystem>
#include <memory>

#include "app/AcquisitionCycle.h"
#include "app/InstrumentReadingLink.h"
#include "app/MainWindowActions.h"
#include "app/journal/JournalFile.h"
#include "app/win32/Win32Beeper.h"
#include "base/MessageBoxes.h"
#include "device/SystemPortListing.h"
#include "device/win32/Win32SystemPorts.h"
#include "excel/ExcelLink.h"
#include "files/OutputFile.h"
#include "gui-win32/ExcelDialogOpener.h"
#include "gui-win32/GdiPrinter.h"
#include "gui-win32/MainDialog.h"
#include "gui-win32/Win32AcquisitionPorts.h"
#include "gui-win32/Win32FileChooser.h"
#include "gui-win32/Win32InputWatch.h"

namespace tarvo::win32 {

// What the platform gives the main window's buttons to drive.
struct MainWiringParts {
    std::unique_ptr<DeviceLink> device;
    SerialPortOpener linePorts;  // for an instrument that sends unasked
    std::unique_ptr<FileCreator> files;
    ServerFactoryMaker spreadsheetServer;
    std::unique_ptr<JournalFiles> journalFiles;
    std::filesystem::path journal;  // empty: the table is kept nowhere but in the window
};

// What the main window's Start Dev., Save, Print and EXCEL buttons drive: the
// instrument [Instruments] puts on the serial port (the polled densitometer,
// or one that sends its readings unasked), the files, the printer and the
// spreadsheet; and the journal that keeps the table on disk.
class MainWiring {
  public:
    MainWiring(MainDialog& dialog, MessageBoxes& messages, MainWiringParts parts);

    // Once the window is shown: offers the readings the last session did not
    // save, then keeps this session's table in the journal.
    void beginJournal() { actions_.beginJournal(); }
    // At start-up: the reference of the settings; one that reads no more is told.
    void loadReference() { dialog_.state().reference().load(messages_); }

    AcquisitionCycle& cycle() { return cycle_; }
    ExcelDialogOpener& excel() { return excel_; }

  private:
    MainDialog& dialog_;
    MessageBoxes& messages_;
    std::unique_ptr<DeviceLink> device_;
    std::unique_ptr<FileCreator> files_;
    std::unique_ptr<JournalFiles> journalFiles_;
    LineLink lines_;
    InstrumentReadingLink link_;
    WindowTimer timer_;
    WindowTimer gapTimer_;
    Win32InputWatch inputWatch_;
    Win32Beeper beeper_;
    AcquisitionCycle cycle_;
    Win32FileChooser chooser_;
    GdiPrintDialog printDialog_;
    ExcelDialogOpener excel_;
    MainWindowActions actions_;
    Win32SystemPorts systemPorts_;
    SystemPortListing portListing_{systemPorts_};
};

}  // namespace tarvo::win32
