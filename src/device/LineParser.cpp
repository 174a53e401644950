#include "device/LineParser.h"

#include <cstdio>

namespace tarvo {

namespace {

constexpr char kLineFeed = '\n';
constexpr std::uint8_t kSevenBits = 0x7F;

std::string printable(const std::string& line) {
    std::string shown;
    for (const char c : line) {
        if (c >= ' ' && c < 0x7F) {
            shown += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            shown += escaped;
        }
    }
    return shown;
}

}  // namespace

void LineParser::feed(const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        take(static_cast<char>(data[i] & kSevenBits));
    }
}

void LineParser::take(char c) {
    if (c == '\0') {
        return;
    }
    if (c == kLineFeed) {
        endLine();
        return;
    }
    if (overlong_) {
        return;
    }
    if (line_.size() == kLongestLine) {
        // The rest of it is not kept: a line that never ends costs no memory.
        overlong_ = true;
        line_.clear();
        return;
    }
    line_ += c;
}

void LineParser::gapPassed() {
    if (lineBegun()) {
        endLine();
    }
}

void LineParser::endLine() {
    if (overlong_) {
        drop("(over " + std::to_string(kLongestLine) + " bytes)");
    } else {
        const LineOutcome outcome = readLine(line_);
        if (outcome.kind == LineOutcome::Kind::Reading) {
            readings_.push_back(outcome);
        } else if (outcome.kind == LineOutcome::Kind::Dropped) {
            drop(printable(line_));
        }
    }
    line_.clear();
    overlong_ = false;
}

void LineParser::drop(std::string shown) {
    ++dropped_;
    lastDropped_ = std::move(shown);
}

std::optional<LineOutcome> LineParser::next() {
    if (readings_.empty()) {
        return std::nullopt;
    }
    const LineOutcome reading = readings_.front();
    readings_.pop_front();
    return reading;
}

}  // namespace tarvo
