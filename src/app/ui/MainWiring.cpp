#include "app/ui/MainWiring.h"

#include <QApplication>
#include <cstdio>

#include "app/ui/MainDialog.h"
#include "files/Printing.h"
#include "files/Saving.h"
#include "res/ControlIds.h"

namespace tarvo {

MainWiring::MainWiring(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
                       AutomationServerFactory spreadsheetServer)
    : dialog_(dialog),
      device_(std::move(device)),
      link_(*device_),
      timer_([this] { cycle_.tick(); }),
      beeper_([] { QApplication::beep(); }),
      cycle_(dialog.state(), link_, timer_, beeper_, dialog.messages()),
      chooser_(&dialog),
      excel_(&dialog,
             {dialog.state().ini(), dialog.messages(), chooser_, std::move(spreadsheetServer)},
             {[this] { excelOpened(); }, [this] { excelClosed(); }}) {
    cycle_.setDiagnostics(
        [](const std::string& line) { std::fprintf(stderr, "tarvo: %s\n", line.c_str()); });
    dialog.setButtonHandler(id::kStartDev, [this] { cycle_.startStopClicked(); });
    dialog.setButtonHandler(id::kSave, [this] { save(); });
    dialog.setButtonHandler(id::kPrint, [this] { print(); });
    dialog.setButtonHandler(id::kExcel, [this] { excel_.open(); });
}

void MainWiring::save() {
    MainWindowState& state = dialog_.state();
    saveTable({state.table(), state.settings(), state.ini(), state.dateText(), dialog_.messages(),
               chooser_, files_});
}

void MainWiring::print() {
    MainWindowState& state = dialog_.state();
    printTable(
        {state.table(), state.settings(), state.dateText(), dialog_.messages(), printDialog_});
}

void MainWiring::excelOpened() {
    dialog_.state().excelDialogOpened();
    cycle_.setPlacement(excel_.placement());
}

void MainWiring::excelClosed() {
    dialog_.state().excelDialogClosed();
    cycle_.setPlacement({});
}

}  // namespace tarvo
