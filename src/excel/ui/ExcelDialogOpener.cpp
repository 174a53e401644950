#include "excel/ui/ExcelDialogOpener.h"

#include "excel/Placement.h"
#include "excel/ui/ExcelDialog.h"

namespace tarvo {

ExcelDialogOpener::ExcelDialogOpener(QWidget* mainWindow, ExcelDialogServices services,
                                     ExcelDialogHooks hooks)
    : mainWindow_(mainWindow), services_(std::move(services)), hooks_(std::move(hooks)) {}

ExcelDialogOpener::~ExcelDialogOpener() {
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
    dialog_->show();
}

void ExcelDialogOpener::closed() {
    dialog_.clear();
    if (hooks_.closed) {
        hooks_.closed();
    }
}

std::function<void(const ReadingTable&, int)> ExcelDialogOpener::placement() {
    return [this](const ReadingTable& table, int row) {
        if (dialog_) {
            placeReading(session_, table, row);
        }
    };
}

}  // namespace tarvo
