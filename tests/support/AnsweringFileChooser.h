#pragma once

#include <deque>
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

    std::string choose(const FileDialogRequest& request) override;

    std::vector<FileDialogRequest> requests;

  private:
    std::deque<std::string> answers_;
};

}  // namespace tarvo::test
