#include "excel/transfer/ColumnLetters.h"

#include <utility>

namespace tarvo {

namespace {

// Characters count as signed bytes, so nothing beyond 7-bit ASCII ever names
// a column.
int code(char c) {
    return static_cast<signed char>(c);
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int invalid(std::string& text) {
    text.clear();
    return -1;
}

}  // namespace

int columnFromLetters(std::string& text) {
    if (text.empty() || text.size() > 2) {
        return invalid(text);
    }
    const int first = code(upper(text[0])) - 64;
    if (first <= 0) {
        return invalid(text);
    }
    int second = 0;
    int value = first;
    if (text.size() == 2) {
        second = code(upper(text[1])) - 64;
        value = first * 26 + second;
    }
    if (value < 1 || value > kMaxLetterColumn || second < 0 || second > 26) {
        return invalid(text);
    }
    text = upperCased(std::move(text));
    return value;
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        c = upper(c);
    }
    return text;
}

}  // namespace tarvo
