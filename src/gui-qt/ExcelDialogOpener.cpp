#include "gui-qt/ExcelDialogOpener.h"

#include "excel/transfer/DialogPosition.h"
#include "excel/transfer/Placement.h"
#include "gui-qt/ExcelDialog.h"
#include "gui-qt/WindowPlace.h"

namespace tarvo {

ExcelDialogOpener::ExcelDialogOpener(QWidget* mainWindow, ExcelDialogServices services,
                                     ExcelDialogHooks hooks)
    : mainWindow_(mainWindow), services_(std::move(services)), hooks_(std::move(hooks)) {}

ExcelDialogOpener::~ExcelDialogOpener() {
    if (dialog_) {
        rememberPosition();
    }
    delete dialog_.data();
    session_.client.reset();
}

void ExcelDialogOpener::open() {
    if (dialog_) {
        dialog_->show();
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_ = new ExcelDialog(mainWindow_, session_, services_);
    dialog_->setClosedHandler([this] { closed(); });
    if (hooks_.opened) {
        hooks_.opened();
    }
    placeDialog();
    dialog_->show();
}

void ExcelDialogOpener::placeDialog() {
    dialog_->adjustSize();
    ScreenRect main;
    // The dialog has no frame before it is shown; the window manager will give
    // it one like the main window's.
    QSize frame;
    if (mainWindow_) {
        main = screenRect(mainWindow_->frameGeometry());
        frame = mainWindow_->frameGeometry().size() - mainWindow_->size();
    }
    const QSize outer = dialog_->size() + frame;
    const ScreenPoint at =
        excelDialogPosition(main, outer.width(), outer.height(), availableScreens(),
                            rememberedExcelDialogPosition(services_.ini));
    dialog_->move(at.x, at.y);
}

void ExcelDialogOpener::rememberPosition() {
    rememberExcelDialogPosition(services_.ini, {dialog_->x(), dialog_->y()});
}

void ExcelDialogOpener::closed() {
    rememberPosition();
    dialog_.clear();
    if (hooks_.closed) {
        hooks_.closed();
    }
}

std::function<void(const ReadingTable&, int)> ExcelDialogOpener::placement() {
    return placementWhileOpen(session_, [this] { return !dialog_.isNull(); });
}

}  // namespace tarvo
