#include "AnsweringFileChooser.h"

namespace tarvo::test {

std::string AnsweringFileChooser::choose(const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers_.empty()) {
        return {};
    }
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

}  // namespace tarvo::test
