#pragma once

#include <string>
#include <vector>

#include "res/MessageBoxes.h"

namespace tarvo::test {

// Answers every box with OK and keeps what it was asked to show.
class RecordingMessageBoxes final : public MessageBoxes {
  public:
    struct Shown {
        std::string text;
        std::string caption;
        MessageButtons buttons;
    };

    MessageAnswer show(std::string_view text, std::string_view caption, MessageButtons buttons,
                       MessageIcon) override {
        shown.push_back({std::string(text), std::string(caption), buttons});
        return MessageAnswer::Ok;
    }

    std::vector<Shown> shown;
};

}  // namespace tarvo::test
