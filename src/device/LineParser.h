#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "device/ReadingLine.h"

namespace tarvo {

// Turns the bytes an instrument sends unasked into readings, a line at a
// time. A line ends at LF, or when no byte came for kReadingGap (instruments
// set to end their lines with CR alone, or to separate fields with CRs, give
// nothing else to go by); a CR is only a separator. The top bit of every byte
// is dropped (7 data bits with any parity read as 8N1) and NULs are skipped.
// Lines that are no reading, and lines longer than kLongestLine, are dropped
// whole and counted; blank lines are passed over.
class LineParser {
  public:
    static constexpr std::size_t kLongestLine = 256;
    static constexpr std::chrono::milliseconds kReadingGap{150};

    void feed(const std::uint8_t* data, std::size_t size);
    // kReadingGap passed without a byte: what came since the last line end is
    // a whole line.
    void gapPassed();
    // Bytes came since the last line end, so the gap is waited for.
    bool lineBegun() const { return overlong_ || !line_.empty(); }

    // The oldest reading not taken yet.
    std::optional<LineOutcome> next();

    int droppedLines() const { return dropped_; }
    // The last line dropped, control characters shown as \xNN, for a
    // diagnostic line; "(over 256 bytes)" for one that was too long.
    const std::string& lastDropped() const { return lastDropped_; }

    // Forgets everything, as at the start of an acquisition.
    void reset() { *this = LineParser(); }

  private:
    void take(char c);
    void endLine();
    void drop(std::string shown);

    std::string line_;
    bool overlong_ = false;
    std::deque<LineOutcome> readings_;
    int dropped_ = 0;
    std::string lastDropped_;
};

}  // namespace tarvo
