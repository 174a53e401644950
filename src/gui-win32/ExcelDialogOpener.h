#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "excel/transfer/ExcelDialogLogic.h"
#include "excel/transfer/TransferSession.h"
#include "gui-win32/ExcelDialog.h"
#include "gui-win32/Win32FileChooser.h"
#include "gui-win32/Win32MessageBoxes.h"
#include "table/ReadingTable.h"

namespace tarvo::win32 {

// The spreadsheet server, made to tell its start-up failures through the
// boxes it is given: the Excel dialog's, as InitEXCEL's other boxes are.
using ServerFactoryMaker = std::function<AutomationServerFactory(MessageBoxes&)>;

// The main window's EXCEL button. Keeps the transfer session for the whole
// run and at most one open Excel dialog: a second press brings the open one
// to the front instead of building another.
class ExcelDialogOpener {
  public:
    ExcelDialogOpener(HINSTANCE instance, HWND mainWindow, IniFile& ini, ServerFactoryMaker server,
                      ExcelDialogHooks hooks);
    // The spreadsheet goes with the program: its client quits the server.
    ~ExcelDialogOpener();
    ExcelDialogOpener(const ExcelDialogOpener&) = delete;
    ExcelDialogOpener& operator=(const ExcelDialogOpener&) = delete;

    void open();
    ExcelDialog* dialog() const { return dialog_.get(); }
    // What the acquisition cycle calls for each new reading while the dialog
    // is open.
    std::function<void(const ReadingTable&, int)> placement();

  private:
    void closed();
    void ownBoxes(HWND owner);

    HINSTANCE instance_;
    HWND mainWindow_;
    // The dialog's questions and file dialogs are its own, so the operator
    // cannot reach it while one is open; they outlive it, as the spreadsheet
    // client that reports through them does.
    Win32MessageBoxes messages_;
    Win32FileChooser chooser_;
    ExcelDialogServices services_;
    ExcelDialogHooks hooks_;
    TransferSession session_;
    std::unique_ptr<ExcelDialog> dialog_;
};

}  // namespace tarvo::win32
