#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/AcquisitionCycle.h"
#include "app/InstrumentReadingLink.h"
#include "app/MainWindowActions.h"
#include "app/journal/JournalFile.h"
#include "device/DeviceProbe.h"
#include "device/NodePortListing.h"
#include "excel/ExcelLink.h"
#include "files/FileChooser.h"
#include "files/OutputFile.h"
#include "files/Printing.h"
#include "gui-qt/ExcelDialogOpener.h"
#include "gui-qt/QtInputWatch.h"
#include "gui-qt/QtPollTimer.h"

namespace tarvo {

class MainDialog;

// The outside world behind the main window's buttons; tests hand in fakes.
struct MainWiringParts {
    std::unique_ptr<DeviceLink> device;
    // The ports of instruments that send their readings unasked ([Instruments]).
    SerialPortOpener linePorts;
    AutomationServerFactory spreadsheetServer;
    // Starts the spreadsheet server ahead of InitEXCEL when the Excel dialog
    // opens; empty: it starts when asked for.
    std::function<void()> prepareSpreadsheetServer;
    // Shown in the Excel dialog while InitEXCEL waits for the server.
    std::string spreadsheetStartingNotice;
    std::filesystem::path journal;  // empty: the table is kept nowhere but in the window
    std::unique_ptr<Beeper> beeper;
    std::unique_ptr<FileChooser> chooser;
    std::unique_ptr<FileCreator> files;
    std::unique_ptr<PrintDialog> printDialog;
    std::unique_ptr<DeviceProbe> probe;
    std::filesystem::path deviceRoot = "/";  // where the Ports window looks for /dev
    std::unique_ptr<JournalFiles> journalFiles;
};

// What the main window's Start Dev., Save, Print and EXCEL buttons drive: the
// densitometer on its serial port, the files, the printer and the spreadsheet;
// and the journal that keeps the table on disk.
class MainWiring {
  public:
    MainWiring(MainDialog& dialog, MainWiringParts parts);
    // Without a journal file the table is kept nowhere but in the window.
    MainWiring(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
               AutomationServerFactory spreadsheetServer, std::filesystem::path journal = {});

    // Once the window is shown: offers the readings the last session did not
    // save, then keeps this session's table in the journal.
    void beginJournal();
    // At start-up: the reference of the settings; one that reads no more is told.
    void loadReference();

    AcquisitionCycle& cycle() { return cycle_; }
    ExcelDialogOpener& excel() { return excel_; }
    const QtPollTimer& timer() const { return timer_; }
    const QtInputWatch& inputWatch() const { return inputWatch_; }

  private:
    void openPorts();
    void installComToolTips();

    MainDialog& dialog_;
    MainWiringParts parts_;
    LineLink lines_;
    InstrumentReadingLink link_;
    NodePortListing portListing_;  // what the Ports window and the COM tooltips ask
    QtPollTimer timer_;
    QtPollTimer gapTimer_;  // one shot: killed by the tick it brings
    QtInputWatch inputWatch_;
    AcquisitionCycle cycle_;
    ExcelDialogOpener excel_;
    MainWindowActions actions_;
};

}  // namespace tarvo
