#include "RecordingMessageBoxes.h"

#include <utility>

namespace tarvo::test {

MessageAnswer RecordingMessageBoxes::show(std::string_view text, std::string_view caption,
                                          MessageButtons buttons, MessageIcon icon) {
    shown.push_back({std::string(text), std::string(caption), buttons, icon});
    if (auto during = std::exchange(during_, nullptr)) {
        during();
    }
    if (answers_.empty()) {
        return MessageAnswer::Ok;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::vector<std::string> RecordingMessageBoxes::texts() const {
    std::vector<std::string> result;
    for (const Shown& box : shown) {
        result.push_back(box.text);
    }
    return result;
}

}  // namespace tarvo::test
