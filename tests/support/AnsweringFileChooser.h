#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "files/FileChooser.h"

namespace tarvo::test {

// Stands in for the Open and Save As dialogs: keeps every request and answers
// with the queued paths in order. An empty path, or an empty queue, is a
// cancelled dialog.
class AnsweringFileChooser final : public FileChooser {
  public:
    void answerNext(std::string path) { answers_.push_back(std::move(path)); }
    // What the operator does elsewhere while the next dialog is open.
    void duringNext(std::function<void()> action) { during_ = std::move(action); }

    std::string choose(const FileDialogRequest& request) override;

    std::vector<FileDialogRequest> requests;

  private:
    std::deque<std::string> answers_;
    std::function<void()> during_;
};

}  // namespace tarvo::test
