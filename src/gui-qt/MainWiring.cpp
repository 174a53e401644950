#include "gui-qt/MainWiring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "device/PortsDialogLogic.h"
#include "files/Printing.h"
#include "gui-qt/Cp1252Text.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/PlatformParts.h"
#include "gui-qt/PortsWindow.h"
#include "res/ControlIds.h"

namespace tarvo {

namespace {

// A COM button's tooltip is made when it is asked for, so it tells whether
// the device is there now, not when the window opened.
class ComToolTip final : public QObject {
  public:
    ComToolTip(QAbstractButton* button, int comPort, IniFile& ini, PortListing& listing)
        : QObject(button), comPort_(comPort), ini_(ini), listing_(listing) {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip) {
            return QObject::eventFilter(watched, event);
        }
        const std::string text = comToolTipNow(ini_, listing_, comPort_);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), cp1252::onScreen(text),
                           static_cast<QWidget*>(watched));
        return true;
    }

  private:
    int comPort_;
    IniFile& ini_;
    PortListing& listing_;
};

}  // namespace

MainWiring::MainWiring(MainDialog& dialog, std::unique_ptr<DeviceLink> device,
                       AutomationServerFactory spreadsheetServer, std::filesystem::path journal)
    : MainWiring(dialog, platformParts(dialog, std::move(device), std::move(spreadsheetServer),
                                       std::move(journal))) {}

MainWiring::MainWiring(MainDialog& dialog, MainWiringParts parts)
    : dialog_(dialog),
      parts_(std::move(parts)),
      lines_(std::move(parts_.linePorts)),
      link_(dialog.state().ini(), *parts_.device, lines_),
      portListing_(parts_.deviceRoot, *parts_.probe),
      timer_([this] { cycle_.tick(); }),
      gapTimer_([this] { cycle_.gapPassed(); }),
      inputWatch_([this] { cycle_.inputWaiting(); }),
      cycle_(dialog.state(), link_, timer_, *parts_.beeper, dialog.messages()),
      excel_(&dialog,
             {dialog.state().ini(), dialog.messages(), *parts_.chooser,
              std::move(parts_.spreadsheetServer), std::move(parts_.prepareSpreadsheetServer),
              std::move(parts_.spreadsheetStartingNotice)},
             {[this] { actions_.excelOpened(excel_.placement()); },
              [this] { actions_.excelClosed(); }}),
      actions_(dialog.state(), cycle_,
               {dialog.messages(), *parts_.chooser, *parts_.files, *parts_.printDialog,
                *parts_.journalFiles, parts_.journal, [&dialog](std::function<void()> later) {
                    QTimer::singleShot(0, &dialog, std::move(later));
                }}) {
    cycle_.setInputWatch(inputWatch_, gapTimer_);
    cycle_.setDiagnostics(
        [](const std::string& line) { std::fprintf(stderr, "tarvo: %s\n", line.c_str()); });
    dialog.setButtonHandler(id::kStartDev, [this] { cycle_.startStopClicked(); });
    dialog.setButtonHandler(id::kSave, [this] { actions_.save(); });
    dialog.setButtonHandler(id::kPrint, [this] { actions_.print(); });
    dialog.setButtonHandler(id::kExcel, [this] { excel_.open(); });
    dialog.setPortsHandler([this] { openPorts(); });
    dialog.setExportCgatsHandler([this] { actions_.exportCgats(); });
    dialog.setReferenceHandler(
        [this] { dialog_.state().reference().choose(*parts_.chooser, dialog_.messages()); });
    installComToolTips();
}

void MainWiring::beginJournal() {
    actions_.beginJournal();
}

void MainWiring::loadReference() {
    dialog_.state().reference().load(dialog_.messages());
}

void MainWiring::openPorts() {
    PortsWindow ports(dialog_.state().ini(), portListing_, &dialog_);
    ports.exec();
}

void MainWiring::installComToolTips() {
    const auto buttons = MainWindowState::comButtons();
    for (int com = 1; com <= static_cast<int>(buttons.size()); ++com) {
        new ComToolTip(dialog_.button(buttons[static_cast<std::size_t>(com - 1)]), com,
                       dialog_.state().ini(), portListing_);
    }
}

}  // namespace tarvo
