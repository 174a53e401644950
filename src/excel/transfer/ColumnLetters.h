#pragma once

#include <string>

namespace tarvo {

// The highest column a FirstCell field may name: "GZ".
inline constexpr int kMaxLetterColumn = 208;

// The sheet column named by the letters of a FirstCell column field ("A" is 1,
// "AB" 28), or -1 when the text names none. The text is corrected in place:
// letters are upper-cased, and an invalid text becomes empty. As in the
// dialog's original lettering, the second letter may be any character from
// '@' to 'Z' and a single character above 'Z' counts on ("[" is 27).
int columnFromLetters(std::string& text);

// The text with its ASCII letters upper-cased, nothing else changed.
std::string upperCased(std::string text);

}  // namespace tarvo
