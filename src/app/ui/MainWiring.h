#pragma once

#include <filesystem>
#include <memory>

#include "app/AcquisitionCycle.h"
#include "app/DeviceReadingLink.h"
#include "app/ReadingJournal.h"
#include "app/posix/AlsaBeeper.h"
#include "app/posix/PosixJournalFiles.h"
#include "app/ui/QtPollTimer.h"
#include "device/posix/PosixDeviceProbe.h"
#include "excel/ExcelLink.h"
#include "excel/ui/ExcelDialogOpener.h"
#include "files/posix/PosixFileCreator.h"
#include "files/ui/QtFileChooser.h"
#include "files/ui/QtPrinter.h"

namespace tarvo {

class MainDialog;

// What the main window's Start Dev., Save, Print and EXCEL buttons drive: the
// densitometer on its serial port, the files, the printer and the spreadsheet;
// and the journal that keeps the table on disk.
class MainWiring {
  public:
    // Without a journal file the table is kept nowhere but in the window.
    MainWiring(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
               AutomationServerFactory spreadsheetServer, std::filesystem::path journal = {});

    // Once the window is shown: offers the readings the last session did not
    // save, then keeps this session's table in the journal.
    void beginJournal();

    AcquisitionCycle& cycle() { return cycle_; }
    ExcelDialogOpener& excel() { return excel_; }

  private:
    void save();
    void print();
    void excelOpened();
    void excelClosed();
    void openPorts();
    void installComToolTips();

    MainDialog& dialog_;
    std::unique_ptr<DeviceLink> device_;
    DeviceReadingLink link_;
    QtPollTimer timer_;
    AlsaBeeper beeper_;
    AcquisitionCycle cycle_;
    QtFileChooser chooser_;
    PosixFileCreator files_;
    QtPrintDialog printDialog_;
    ExcelDialogOpener excel_;
    PosixDeviceProbe probe_;
    PosixJournalFiles journalFiles_;
    std::unique_ptr<ReadingJournal> journal_;
};

}  // namespace tarvo
