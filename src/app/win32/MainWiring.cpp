#include "app/win32/MainWiring.h"

#include "files/Printing.h"
#include "files/Saving.h"
#include "res/ControlIds.h"

namespace tarvo::win32 {

MainWiring::MainWiring(MainDialog& dialog, MessageBoxes& messages, MainWiringParts parts)
    : dialog_(dialog),
      messages_(messages),
      device_(std::move(parts.device)),
      files_(std::move(parts.files)),
      link_(*device_),
      timer_(dialog.handle()),
      cycle_(dialog.state(), link_, timer_, beeper_, messages),
      excel_(dialog.instance(), dialog.handle(),
             {dialog.state().ini(), messages, chooser_, std::move(parts.spreadsheetServer)},
             {[this] { excelOpened(); }, [this] { excelClosed(); }}) {
    chooser_.setOwner(dialog.handle());
    dialog.setTimerHandler([this] { cycle_.tick(); });
    dialog.setButtonHandler(id::kStartDev, [this] { cycle_.startStopClicked(); });
    dialog.setButtonHandler(id::kSave, [this] { save(); });
    dialog.setButtonHandler(id::kPrint, [this] { print(); });
    dialog.setButtonHandler(id::kExcel, [this] { excel_.open(); });
}

void MainWiring::save() {
    MainWindowState& state = dialog_.state();
    saveTable({state.table(), state.settings(), state.ini(), state.dateText(), messages_, chooser_,
               *files_});
}

void MainWiring::print() {
    MainWindowState& state = dialog_.state();
    printTable({state.table(), state.settings(), state.dateText(), messages_, printDialog_});
}

void MainWiring::excelOpened() {
    dialog_.state().excelDialogOpened();
    cycle_.setPlacement(excel_.placement());
}

void MainWiring::excelClosed() {
    dialog_.state().excelDialogClosed();
    cycle_.setPlacement({});
}

}  // namespace tarvo::win32
