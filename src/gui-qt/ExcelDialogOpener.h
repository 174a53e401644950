#pragma once

#include <QPointer>
#include <functional>

#include "excel/transfer/ExcelDialogLogic.h"
#include "excel/transfer/TransferSession.h"
#include "gui-qt/ExcelDialog.h"
#include "table/ReadingTable.h"

class QWidget;

namespace tarvo {

// The main window's EXCEL button. Keeps the transfer session for the whole
// run and at most one open Excel dialog: a second press brings the open one
// to the front instead of building another.
class ExcelDialogOpener {
  public:
    ExcelDialogOpener(QWidget* mainWindow, ExcelDialogServices services, ExcelDialogHooks hooks);
    // The spreadsheet goes with the program: its client quits the server.
    ~ExcelDialogOpener();
    ExcelDialogOpener(const ExcelDialogOpener&) = delete;
    ExcelDialogOpener& operator=(const ExcelDialogOpener&) = delete;

    void open();
    // The open dialog, null while none is open.
    ExcelDialog* dialog() const { return dialog_; }
    TransferSession& session() { return session_; }

    // What the acquisition cycle calls for each new reading while the dialog
    // is open.
    std::function<void(const ReadingTable&, int)> placement();

  private:
    // Beside the main window, or where the operator left it last time.
    void placeDialog();
    void rememberPosition();
    void closed();

    QWidget* mainWindow_;
    ExcelDialogServices services_;
    ExcelDialogHooks hooks_;
    TransferSession session_;
    QPointer<ExcelDialog> dialog_;
};

}  // namespace tarvo
