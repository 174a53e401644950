#include "gui-win32/ExcelDialogOpener.h"

#include "excel/transfer/Placement.h"

namespace tarvo::win32 {

ExcelDialogOpener::ExcelDialogOpener(HINSTANCE instance, HWND mainWindow, IniFile& ini,
                                     ServerFactoryMaker server, ExcelDialogHooks hooks)
    : instance_(instance),
      mainWindow_(mainWindow),
      services_{ini, messages_, chooser_, server(messages_)},
      hooks_(std::move(hooks)) {
    ownBoxes(mainWindow_);
}

void ExcelDialogOpener::ownBoxes(HWND owner) {
    messages_.setOwner(owner);
    chooser_.setOwner(owner);
}

ExcelDialogOpener::~ExcelDialogOpener() {
    dialog_.reset();
    session_.client.reset();
}

void ExcelDialogOpener::open() {
    if (dialog_) {
        ShowWindow(dialog_->handle(), SW_SHOW);
        SetForegroundWindow(dialog_->handle());
        return;
    }
    dialog_ = std::make_unique<ExcelDialog>(instance_, mainWindow_, session_, services_,
                                            [this] { closed(); });
    ownBoxes(dialog_->handle());
    if (hooks_.opened) {
        hooks_.opened();
    }
    ShowWindow(dialog_->handle(), SW_SHOW);
}

void ExcelDialogOpener::closed() {
    // Called from the window's last message; the object goes after it.
    std::unique_ptr<ExcelDialog> gone = std::move(dialog_);
    ownBoxes(mainWindow_);
    if (hooks_.closed) {
        hooks_.closed();
    }
}

std::function<void(const ReadingTable&, int)> ExcelDialogOpener::placement() {
    return placementWhileOpen(session_, [this] { return dialog_ != nullptr; });
}

}  // namespace tarvo::win32
