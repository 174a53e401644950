#include "AnsweringFileChooser.h"

#include <utility>

namespace tarvo::test {

std::string AnsweringFileChooser::choose(const FileDialogRequest& request) {
    requests.push_back(request);
    if (auto during = std::exchange(during_, nullptr)) {
        during();
    }
    if (answers_.empty()) {
        return {};
    }
    std::string answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

}  // namespace tarvo::test
