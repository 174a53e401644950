#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/MessageBoxes.h"

namespace tarvo::test {

// Keeps every box it is asked to show and answers from a queue of answers,
// OK once the queue is empty.
class RecordingMessageBoxes final : public MessageBoxes {
  public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
        MessageIcon icon;
    };

    MessageAnswer show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon icon) override;

    // The answer to give to the next box not yet answered.
    void answerNext(MessageAnswer answer) { answers_.push_back(answer); }
    // What the operator does elsewhere while the next box is open.
    void duringNext(std::function<void()> action) { during_ = std::move(action); }
    // The texts shown so far, in order.
    std::vector<std::string> texts() const;

    std::vector<Shown> shown;

  private:
    std::deque<MessageAnswer> answers_;
    std::function<void()> during_;
};

}  // namespace tarvo::test
