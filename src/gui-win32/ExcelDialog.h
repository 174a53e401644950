#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/ReadingTable.h"
#include "excel/ExcelDialogLogic.h"
#include "excel/TransferSession.h"
#include "gui-win32/Win32FileChooser.h"
#include "gui-win32/Win32MessageBoxes.h"

namespace tarvo::win32 {

// The modeless "Excel Automation" window, template 132, owned by the main
// window. It shows an ExcelDialogLogic and reports the operator's actions to
// it, deciding nothing itself.
class ExcelDialog {
  public:
    // closed is told once the window has agreed to close and is gone; it may
    // destroy this object.
    ExcelDialog(HINSTANCE instance, HWND owner, TransferSession& session,
                ExcelDialogServices services, std::function<void()> closed);
    ~ExcelDialog();
    ExcelDialog(const ExcelDialog&) = delete;
    ExcelDialog& operator=(const ExcelDialog&) = delete;

    HWND handle() const { return window_; }
    ExcelDialogLogic& logic() { return logic_; }

  private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int code);
    void click(int id);
    void closeRequested();
    void showLogic();
    void showSheets();
    void showCursor();

    ExcelDialogLogic logic_;
    std::function<void()> closed_;
    HWND window_ = nullptr;
    bool showing_ = false;
    bool waiting_ = false;  // the wait cursor is shown
};

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
