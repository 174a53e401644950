#pragma once

#include <string_view>

#include "table/ReadingKind.h"

namespace tarvo {

// What one line of text from an instrument that sends its readings unasked
// comes to. A Reading's values are in thousandths as the polled densitometer
// gives them: a colour reading cyan, magenta, yellow and black (the visual
// channel) in [1] to [4], a density reading its one value in [1]; the percent
// is 0 and [0], the reading's number, is left to the link.
struct LineOutcome {
    enum class Kind { Blank, Dropped, Reading };
    Kind kind = Kind::Blank;
    ReadingKind reading = ReadingKind::Colour;
    ReadingValues values{};
};

// The largest density a line may carry, in thousandths: the polled
// densitometer's range, beyond which a number is line noise, not a density.
inline constexpr int kLargestLineValue = 32767;

// Reads one line of X-Rite's 400 or 500 series, or of anything that writes
// fields the same way: a field is a channel letter (V, C, M or Y, in either
// case), optional blanks, and a number with an optional sign and decimal point
// (without a point the digits are hundredths); fields are separated by blanks,
// commas, tabs or CRs, in any order. Four fields V, C, M and Y make a colour
// reading, one field a density reading. A line without a field is Blank;
// anything else (two or three fields, a letter twice, another letter, a
// header, noise) is Dropped whole.
LineOutcome readLine(std::string_view line);

}  // namespace tarvo
