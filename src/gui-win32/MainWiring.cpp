#include "gui-win32/MainWiring.h"

#include "gui-win32/PortsWindow.h"
#include "res/ControlIds.h"

namespace tarvo::win32 {

MainWiring::MainWiring(MainDialog& dialog, MessageBoxes& messages, MainWiringParts parts)
    : dialog_(dialog),
      messages_(messages),
      device_(std::move(parts.device)),
      files_(std::move(parts.files)),
      journalFiles_(std::move(parts.journalFiles)),
      lines_(std::move(parts.linePorts)),
      link_(dialog.state().ini(), *device_, lines_),
      timer_(dialog.handle()),
      gapTimer_(dialog.handle(), WindowTimer::kGapId),
      inputWatch_(dialog.instance(), [this] { cycle_.inputWaiting(); }),
      cycle_(dialog.state(), link_, timer_, beeper_, messages),
      excel_(dialog.instance(), dialog.handle(), dialog.state().ini(),
             std::move(parts.spreadsheetServer),
             {[this] { actions_.excelOpened(excel_.placement()); },
              [this] { actions_.excelClosed(); }}),
      actions_(dialog.state(), cycle_,
               {messages, chooser_, *files_, printDialog_, *journalFiles_, std::move(parts.journal),
                [&dialog](std::function<void()> later) { dialog.post(std::move(later)); }}) {
    chooser_.setOwner(dialog.handle());
    printDialog_.setOwner(dialog.handle());
    cycle_.setInputWatch(inputWatch_, gapTimer_);
    dialog.setTimerHandler(WindowTimer::kId, [this] { cycle_.tick(); });
    dialog.setTimerHandler(WindowTimer::kGapId, [this] { cycle_.gapPassed(); });
    dialog.setButtonHandler(id::kStartDev, [this] { cycle_.startStopClicked(); });
    dialog.setButtonHandler(id::kSave, [this] { actions_.save(); });
    dialog.setButtonHandler(id::kPrint, [this] { actions_.print(); });
    dialog.setButtonHandler(MainDialog::kExportCgatsCommand, [this] { actions_.exportCgats(); });
    dialog.setButtonHandler(id::kExcel, [this] { excel_.open(); });
    IniFile& ini = dialog.state().ini();
    dialog.setButtonHandler(MainDialog::kPortsCommand, [this, &dialog, &ini] {
        PortsWindow(dialog.instance(), dialog.handle(), ini, portListing_).run();
    });
    dialog.setButtonHandler(MainDialog::kStripCommand, [&dialog] { dialog.showStrip(); });
    dialog.setButtonHandler(MainDialog::kReferenceCommand, [this, &dialog, &messages] {
        dialog.state().reference().choose(chooser_, messages);
    });
    dialog.setButtonHandler(MainDialog::kNoReferenceCommand,
                            [&dialog] { dialog.state().reference().drop(); });
    dialog.setComToolTip(
        [this, &ini](int comPort) { return comToolTipNow(ini, portListing_, comPort); });
}

}  // namespace tarvo::win32
