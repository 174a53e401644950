#pragma once

#include <QStringList>

#include "files/FileChooser.h"

class QFileDialog;
class QWidget;

namespace tarvo {

// Open and Save As through Qt's file dialog, modal to its owner.
class QtFileChooser final : public FileChooser {
  public:
    explicit QtFileChooser(QWidget* owner = nullptr) : owner_(owner) {}

    std::string choose(const FileDialogRequest& request) override;

  private:
    QWidget* owner_;
};

// The dialog's type list. A name that shows its pattern in brackets, as
// " Fiery (*.cm1)" does, is used as it stands; any other gets its pattern added.
QStringList nameFilters(const FileDialogRequest& request);

// Sets a dialog up for a request. A start folder that does not exist here (a
// "C:\" path from a settings file) gives way to the home folder.
void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

}  // namespace tarvo
